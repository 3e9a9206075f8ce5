#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "core/Exceptions.h"

namespace zentrix {

struct TCPUIDResult {
  std::uint32_t EAX = 0;
  std::uint32_t EBX = 0;
  std::uint32_t ECX = 0;
  std::uint32_t EDX = 0;
  bool operator==(const TCPUIDResult&) const = default;
};

// A recorded register dump that cannot be read.
class ECpuidDump : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

// The processor-identification instruction and the set of logical processors it runs on. The
// identification asks only this seam, so tests replay recorded register dumps.
class TCpuidSource {
public:
  virtual ~TCpuidSource() = default;
  // Whether the instruction exists.
  virtual bool Supported() const = 0;
  // Logical processors of the machine.
  virtual unsigned ProcessorCount() const = 0;
  // Runs leaf/subleaf on logical processor `index`, or wherever the thread is when index < 0.
  virtual TCPUIDResult Execute(int index, std::uint32_t leaf, std::uint32_t subleaf) const = 0;
};

// This machine's processor. Pinned execution restricts the process to the one logical processor
// for the instruction and restores the previous set afterwards.
class TNativeCpuid final : public TCpuidSource {
public:
  bool Supported() const override;
  unsigned ProcessorCount() const override;
  TCPUIDResult Execute(int index, std::uint32_t leaf, std::uint32_t subleaf) const override;
};

// A recorded dump. Text format, one record a line ('#' starts a comment):
//   processors N
//   LEAF SUBLEAF EAX EBX ECX EDX          (hexadecimal; valid on every processor)
//   @CPU LEAF SUBLEAF EAX EBX ECX EDX     (only on logical processor CPU, decimal)
// A leaf missing from the dump reads as zeros, as a reserved leaf does.
class TRecordedCpuid final : public TCpuidSource {
public:
  static TRecordedCpuid Parse(std::string_view text);  // raises ECpuidDump

  bool Supported() const override { return true; }
  unsigned ProcessorCount() const override { return FProcessors; }
  TCPUIDResult Execute(int index, std::uint32_t leaf, std::uint32_t subleaf) const override;

private:
  unsigned FProcessors = 1;
  // (processor or -1, leaf, subleaf)
  std::map<std::tuple<int, std::uint32_t, std::uint32_t>, TCPUIDResult> FRecords;
};

// A dump of every leaf the processor reports, in the format TRecordedCpuid reads; leaves 1 and
// 0xB are added per logical processor since they carry its APIC ID.
std::string FormatCpuidDump(const TCpuidSource& source);

}  // namespace zentrix
