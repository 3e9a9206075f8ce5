#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sysinfo/QDX_Common.h"

namespace zentrix {

// The lines of /proc/meminfo that the memory figures come from, in bytes.
struct TMemInfo {
  std::uint64_t MemTotal = 0;
  std::uint64_t MemFree = 0;
  std::optional<std::uint64_t> MemAvailable;  // absent before Linux 3.14
  std::uint64_t Buffers = 0;
  std::uint64_t Cached = 0;
  std::uint64_t SwapTotal = 0;
  std::uint64_t SwapFree = 0;
};

// Parses /proc/meminfo text ("MemTotal:  24683612 kB" lines). Unknown lines are skipped; false
// when MemTotal is missing, since no figure makes sense without it.
bool ParseMemInfo(std::string_view text, TMemInfo& info);

// The process's virtual size in bytes from /proc/self/statm text (its first field, in pages).
std::optional<std::uint64_t> ParseStatmSize(std::string_view text, std::uint64_t pageSize);

// What the memory component shows, derived from the Linux figures:
//   PhysicalTotal  = MemTotal
//   PhysicalFree   = MemAvailable (the kernel's estimate of memory usable without swapping);
//                    MemFree + Buffers + Cached on kernels without it
//   MemoryLoad     = the used share of physical memory, (total - free) / total, in percent
//   PageFileTotal  = MemTotal + SwapTotal: like the system commit limit it stands for, the
//                    page file figure counts physical memory plus swap
//   PageFileFree   = PhysicalFree + SwapFree
//   MinAppAddress  = vm.mmap_min_addr, the lowest address a process may map
//   MaxAppAddress  = the last byte of the user half of the address space
//   VirtualTotal   = MaxAppAddress + 1 - MinAppAddress, or the address-space limit
//                    (RLIMIT_AS) of the process when that is smaller
//   VirtualFree    = VirtualTotal less the process's mapped size (/proc/self/statm)
//   PageSize, AllocGranularity = the page size (mmap works in whole pages)
struct TMemoryStatus {
  std::int64_t PhysicalTotal = 0;
  std::int64_t PhysicalFree = 0;
  std::int64_t VirtualTotal = 0;
  std::int64_t VirtualFree = 0;
  std::int64_t PageFileTotal = 0;
  std::int64_t PageFileFree = 0;
  std::int32_t MemoryLoad = 0;
  std::int32_t AllocGranularity = 0;
  std::int64_t MaxAppAddress = 0;
  std::int64_t MinAppAddress = 0;
  std::int32_t PageSize = 0;
};

struct TAddressSpace {
  std::uint64_t MinAppAddress = 65536;
  std::uint64_t MaxAppAddress = 0;
  std::uint64_t Limit = UINT64_MAX;  // RLIMIT_AS
  std::uint64_t MappedSize = 0;      // the process's current virtual size
  std::uint64_t PageSize = 4096;
};

TMemoryStatus BuildMemoryStatus(const TMemInfo& info, const TAddressSpace& space);

// The highest user address of this machine's processes (the top of the user half less a guard
// page on x86-64).
std::uint64_t UserAddressTop();

// Memory figures of the machine and the process, read from /proc under `root`.
class TValtri_Memory : public TValtri_Component {
public:
  explicit TValtri_Memory(std::string root = {});

  void RefreshData() override;
  void Clear() override {}

  const TMemoryStatus& Status() const { return FStatus; }
  std::int64_t PhysicalTotal() const { return FStatus.PhysicalTotal; }
  std::int64_t PhysicalFree() const { return FStatus.PhysicalFree; }
  std::int64_t VirtualTotal() const { return FStatus.VirtualTotal; }
  std::int64_t VirtualFree() const { return FStatus.VirtualFree; }
  std::int64_t PageFileTotal() const { return FStatus.PageFileTotal; }
  std::int64_t PageFileFree() const { return FStatus.PageFileFree; }
  std::int32_t MemoryLoad() const { return FStatus.MemoryLoad; }
  std::int32_t AllocGranularity() const { return FStatus.AllocGranularity; }
  std::int64_t MaxAppAddress() const { return FStatus.MaxAppAddress; }
  std::int64_t MinAppAddress() const { return FStatus.MinAppAddress; }
  std::int32_t PageSize() const { return FStatus.PageSize; }

private:
  std::string FRoot;
  std::string FMemInfoPath, FStatmPath;
  TMemoryStatus FStatus;
  TAddressSpace FSpace;
  std::string FBuffer;
};

}  // namespace zentrix
