// The readers of /proc, /sys and /etc text: each parser gets the same bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "sysinfo/PowerStatus.h"
#include "sysinfo/QDX_CPU.h"
#include "sysinfo/QDX_CPUUsage.h"
#include "sysinfo/QDX_Memory.h"
#include "sysinfo/QDX_OS.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zentrix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  ParseProcStat(text, 100);
  ParseProcStat(text, 3);

  TMemInfo info;
  ParseMemInfo(text, info);
  TAddressSpace space;
  space.MaxAppAddress = UserAddressTop();
  if (const auto mapped = ParseStatmSize(text, 4096)) space.MappedSize = *mapped;
  BuildMemoryStatus(info, space);

  // Several supplies: the input split at NUL bytes, one uevent file each.
  std::vector<TPowerSupplyInfo> supplies;
  std::size_t start = 0;
  while (start <= text.size() && supplies.size() < 8) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    supplies.push_back(ParsePowerSupplyUevent(text.substr(start, end - start)));
    start = end + 1;
  }
  PowerCaption(PowerStatusFromSupplies(supplies), EnglishTexts());

  ParseCpuInfo(text);
  TSystemFacts facts;
  facts.OsRelease = std::string(text);
  facts.SambaConf = std::string(text);
  facts.HostName = std::string(text.substr(0, 64));
  BuildStartupValues(facts);
  FormatMacAddress(text);
  return 0;
}
