#include "sysinfo/CpuidSource.h"

#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "sysinfo/SysText.h"

namespace zentrix {
namespace {

// Restricts the process to one logical processor while alive, then puts the old set back.
class TPinnedProcessor {
public:
  explicit TPinnedProcessor(int index) {
    if (index < 0 || index >= CPU_SETSIZE) return;
    if (sched_getaffinity(0, sizeof(FOld), &FOld) != 0) return;
    cpu_set_t wanted;
    CPU_ZERO(&wanted);
    CPU_SET(index, &wanted);
    if (CPU_EQUAL(&wanted, &FOld)) return;
    if (sched_setaffinity(0, sizeof(wanted), &wanted) != 0) return;
    FRestore = true;
    sched_yield();  // move onto the processor now
  }
  ~TPinnedProcessor() {
    if (FRestore) sched_setaffinity(0, sizeof(FOld), &FOld);
  }
  TPinnedProcessor(const TPinnedProcessor&) = delete;
  TPinnedProcessor& operator=(const TPinnedProcessor&) = delete;

private:
  cpu_set_t FOld{};
  bool FRestore = false;
};

std::uint32_t ParseHex(std::string_view text, int lineNo) {
  if (text.empty() || text.size() > 8) throw ECpuidDump("Bad cpuid dump value on line " + std::to_string(lineNo));
  std::uint32_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else throw ECpuidDump("Bad cpuid dump value on line " + std::to_string(lineNo));
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

}  // namespace

bool TNativeCpuid::Supported() const {
#if defined(__x86_64__)
  return true;  // every x86-64 processor has it
#elif defined(__i386__)
  return __get_cpuid_max(0, nullptr) != 0;
#else
  return false;
#endif
}

unsigned TNativeCpuid::ProcessorCount() const {
  const long count = sysconf(_SC_NPROCESSORS_ONLN);
  return count > 0 ? static_cast<unsigned>(count) : 1;
}

TCPUIDResult TNativeCpuid::Execute(int index, std::uint32_t leaf, std::uint32_t subleaf) const {
  TCPUIDResult r;
#if defined(__x86_64__) || defined(__i386__)
  const TPinnedProcessor pin(index);
  __cpuid_count(leaf, subleaf, r.EAX, r.EBX, r.ECX, r.EDX);
#else
  (void)index;
  (void)leaf;
  (void)subleaf;
#endif
  return r;
}

TRecordedCpuid TRecordedCpuid::Parse(std::string_view text) {
  TRecordedCpuid dump;
  bool any = false;
  int lineNo = 0;
  for (std::string_view line : systext::SplitLines(text)) {
    ++lineNo;
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;
    if (words[0] == "processors") {
      std::string_view rest;
      const auto n = words.size() == 2 ? systext::ParseUnsigned(words[1], &rest) : std::nullopt;
      if (!n || !rest.empty() || *n == 0 || *n > 4096)
        throw ECpuidDump("Bad processor count on line " + std::to_string(lineNo));
      dump.FProcessors = static_cast<unsigned>(*n);
      continue;
    }
    std::size_t first = 0;
    int cpu = -1;
    if (words[0].front() == '@') {
      std::string_view rest;
      const auto n = systext::ParseUnsigned(words[0].substr(1), &rest);
      if (!n || !rest.empty() || *n > 4095) throw ECpuidDump("Bad processor number on line " + std::to_string(lineNo));
      cpu = static_cast<int>(*n);
      first = 1;
    }
    if (words.size() != first + 6) throw ECpuidDump("Expected LEAF SUBLEAF EAX EBX ECX EDX on line " + std::to_string(lineNo));
    const std::uint32_t leaf = ParseHex(words[first], lineNo);
    const std::uint32_t subleaf = ParseHex(words[first + 1], lineNo);
    const TCPUIDResult r{ParseHex(words[first + 2], lineNo), ParseHex(words[first + 3], lineNo),
                         ParseHex(words[first + 4], lineNo), ParseHex(words[first + 5], lineNo)};
    dump.FRecords[{cpu, leaf, subleaf}] = r;
    any = true;
  }
  if (!any) throw ECpuidDump("The cpuid dump holds no registers");
  return dump;
}

TCPUIDResult TRecordedCpuid::Execute(int index, std::uint32_t leaf, std::uint32_t subleaf) const {
  if (index >= 0) {
    // A processor number past the last runs on processor 0, as pinning does.
    const int cpu = static_cast<unsigned>(index) < FProcessors ? index : 0;
    if (const auto it = FRecords.find({cpu, leaf, subleaf}); it != FRecords.end()) return it->second;
  }
  if (const auto it = FRecords.find({-1, leaf, subleaf}); it != FRecords.end()) return it->second;
  if (const auto it = FRecords.find({0, leaf, subleaf}); it != FRecords.end()) return it->second;
  return {};
}

std::string FormatCpuidDump(const TCpuidSource& source) {
  std::string out;
  char line[96];
  const auto add = [&](int cpu, std::uint32_t leaf, std::uint32_t subleaf) {
    const TCPUIDResult r = source.Execute(cpu < 0 ? 0 : cpu, leaf, subleaf);
    if (cpu >= 0) std::snprintf(line, sizeof line, "@%d ", cpu), out += line;
    std::snprintf(line, sizeof line, "%08x %x %08x %08x %08x %08x\n", leaf, subleaf, r.EAX, r.EBX, r.ECX, r.EDX);
    out += line;
    return r;
  };
  const unsigned count = source.ProcessorCount();
  out += "processors " + std::to_string(count) + "\n";
  if (!source.Supported()) return out;
  for (const std::uint32_t base : {0u, 0x80000000u, 0x80860000u}) {
    const std::uint32_t max = source.Execute(0, base, 0).EAX;
    if (max < base || max - base > 0x40) continue;  // the range is absent
    for (std::uint32_t leaf = base; leaf <= max; ++leaf) {
      // Leaves with sub-leaves: the deterministic cache leaves and the topology leaf.
      const bool walk = leaf == 4 || leaf == 0xB || leaf == 0x8000001D;
      for (std::uint32_t sub = 0; sub < (walk ? 16u : 1u); ++sub) {
        const TCPUIDResult r = add(-1, leaf, sub);
        if (walk && (leaf == 0xB ? (r.EBX & 0xFFFF) == 0 : (r.EAX & 0x1F) == 0)) break;
      }
    }
  }
  const std::uint32_t maxBasic = source.Execute(0, 0, 0).EAX;
  for (unsigned cpu = 1; cpu < count && cpu < 256 && maxBasic >= 1; ++cpu) {
    add(static_cast<int>(cpu), 1, 0);
    if (maxBasic < 0xB) continue;
    for (std::uint32_t sub = 0; sub < 4; ++sub)
      if ((add(static_cast<int>(cpu), 0xB, sub).EBX & 0xFFFF) == 0) break;
  }
  return out;
}

}  // namespace zentrix
