// A recorded CPUID dump, then the whole identification run on it: a hostile dump must not make
// the topology or cache walks crash, divide by zero or loop.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sysinfo/CpuidSource.h"
#include "sysinfo/QDX_CPU.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zentrix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const TRecordedCpuid dump = TRecordedCpuid::Parse(text);
    TValtri_CPU cpu(dump, "/nonexistent", [](int) { return 2000u; });
    cpu.RefreshData();
    FormatCpuidDump(dump);
  } catch (const ECpuidDump&) {
  }
  return 0;
}
