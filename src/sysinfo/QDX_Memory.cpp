#include "sysinfo/QDX_Memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include "sysinfo/QDX_CPUUsage.h"
#include "sysinfo/SysText.h"

namespace zentrix {
namespace {

std::int64_t ToSigned(std::uint64_t value) {
  return static_cast<std::int64_t>(std::min<std::uint64_t>(value, INT64_MAX));
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

}  // namespace

bool ParseMemInfo(std::string_view text, TMemInfo& info) {
  info = TMemInfo{};
  bool haveTotal = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, colon);
    std::string_view rest;
    const auto value = systext::ParseUnsigned(line.substr(colon + 1), &rest);
    if (!value) continue;
    // Sizes are in kB; a line without a unit (none of ours) would be a count.
    const std::string_view unit = systext::Trim(rest);
    std::uint64_t bytes = *value;
    if (unit == "kB") {
      if (bytes > UINT64_MAX / 1024) continue;
      bytes *= 1024;
    } else if (!unit.empty()) {
      continue;
    }
    if (key == "MemTotal") {
      info.MemTotal = bytes;
      haveTotal = true;
    } else if (key == "MemFree") {
      info.MemFree = bytes;
    } else if (key == "MemAvailable") {
      info.MemAvailable = bytes;
    } else if (key == "Buffers") {
      info.Buffers = bytes;
    } else if (key == "Cached") {
      info.Cached = bytes;
    } else if (key == "SwapTotal") {
      info.SwapTotal = bytes;
    } else if (key == "SwapFree") {
      info.SwapFree = bytes;
    }
  }
  return haveTotal;
}

std::optional<std::uint64_t> ParseStatmSize(std::string_view text, std::uint64_t pageSize) {
  const auto pages = systext::ParseUnsigned(text);
  if (!pages || (pageSize != 0 && *pages > UINT64_MAX / pageSize)) return std::nullopt;
  return *pages * pageSize;
}

TMemoryStatus BuildMemoryStatus(const TMemInfo& info, const TAddressSpace& space) {
  TMemoryStatus s;
  const std::uint64_t total = info.MemTotal;
  std::uint64_t available =
      info.MemAvailable ? *info.MemAvailable : SaturatingAdd(SaturatingAdd(info.MemFree, info.Buffers), info.Cached);
  available = std::min(available, total);
  s.PhysicalTotal = ToSigned(total);
  s.PhysicalFree = ToSigned(available);
  s.MemoryLoad = total == 0 ? 0
                            : RoundHalfEven(static_cast<double>(total - available) * 100.0 / static_cast<double>(total));
  s.PageFileTotal = ToSigned(SaturatingAdd(total, info.SwapTotal));
  s.PageFileFree = ToSigned(SaturatingAdd(available, std::min(info.SwapFree, info.SwapTotal)));

  s.MinAppAddress = ToSigned(space.MinAppAddress);
  s.MaxAppAddress = ToSigned(space.MaxAppAddress);
  std::uint64_t virtualTotal =
      space.MaxAppAddress >= space.MinAppAddress ? space.MaxAppAddress - space.MinAppAddress + 1 : 0;
  virtualTotal = std::min(virtualTotal, space.Limit);
  s.VirtualTotal = ToSigned(virtualTotal);
  s.VirtualFree = ToSigned(virtualTotal > space.MappedSize ? virtualTotal - space.MappedSize : 0);
  s.PageSize = static_cast<std::int32_t>(std::min<std::uint64_t>(space.PageSize, INT32_MAX));
  s.AllocGranularity = s.PageSize;
  return s;
}

std::uint64_t UserAddressTop() {
  const auto page = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
#if defined(__x86_64__)
  // 47-bit user half; the kernel keeps the last page unmapped.
  return (std::uint64_t{1} << 47) - page - 1;
#elif defined(__aarch64__)
  (void)page;
  return (std::uint64_t{1} << 48) - 1;
#else
  (void)page;
  return static_cast<std::uint64_t>(UINTPTR_MAX);
#endif
}

TValtri_Memory::TValtri_Memory(std::string root)
    : FRoot(std::move(root)), FMemInfoPath(FRoot + "/proc/meminfo"), FStatmPath(FRoot + "/proc/self/statm") {
  FSpace.PageSize = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  FSpace.MaxAppAddress = UserAddressTop();
  // A system setting, not a live figure: read once.
  if (const auto text = systext::ReadFile(FRoot + "/proc/sys/vm/mmap_min_addr", 4096))
    if (const auto value = systext::ParseUnsigned(*text)) FSpace.MinAppAddress = *value;
}

void TValtri_Memory::RefreshData() {
  TValtri_Component::RefreshData();
  TMemInfo info;
  if (systext::ReadFileInto(FMemInfoPath, FBuffer)) ParseMemInfo(FBuffer, info);
  if (systext::ReadFileInto(FStatmPath, FBuffer))
    if (const auto size = ParseStatmSize(FBuffer, FSpace.PageSize)) FSpace.MappedSize = *size;
  rlimit limit{};
  FSpace.Limit = getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                     ? static_cast<std::uint64_t>(limit.rlim_cur)
                     : UINT64_MAX;
  FStatus = BuildMemoryStatus(info, FSpace);
  FDA = true;
}

}  // namespace zentrix
