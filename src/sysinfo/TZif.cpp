#include "sysinfo/TZif.h"

#include <cctype>

#include "core/TimeZoneRule.h"

namespace zentrix {
namespace {

class TReader {
public:
  explicit TReader(std::string_view bytes) : FBytes(bytes) {}
  std::size_t Left() const { return FBytes.size() - FPos; }
  void Need(std::uint64_t count) const {
    if (count > Left()) throw ETimeZone("The time-zone file is truncated");
  }
  std::string_view Take(std::size_t count) {
    Need(count);
    const std::string_view part = FBytes.substr(FPos, count);
    FPos += count;
    return part;
  }
  std::uint32_t U32() {
    const std::string_view b = Take(4);
    std::uint32_t v = 0;
    for (const char c : b) v = (v << 8) | static_cast<unsigned char>(c);
    return v;
  }
  std::int64_t I64() {
    const std::string_view b = Take(8);
    std::uint64_t v = 0;
    for (const char c : b) v = (v << 8) | static_cast<unsigned char>(c);
    return static_cast<std::int64_t>(v);
  }
  std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)[0]); }
  std::string_view Rest() { return Take(Left()); }

private:
  std::string_view FBytes;
  std::size_t FPos = 0;
};

struct THeader {
  int Version = 1;
  std::uint32_t IsUtCount, IsStdCount, LeapCount, TimeCount, TypeCount, CharCount;
};

THeader ReadHeader(TReader& r) {
  if (r.Left() < 44 || r.Take(4) != "TZif") throw ETimeZone("Not a TZif time-zone file");
  THeader h;
  const std::uint8_t version = r.U8();
  if (version == 0) h.Version = 1;
  else if (version >= '2' && version <= '9') h.Version = version - '0';
  else throw ETimeZone("Unknown TZif version");
  r.Take(15);
  h.IsUtCount = r.U32();
  h.IsStdCount = r.U32();
  h.LeapCount = r.U32();
  h.TimeCount = r.U32();
  h.TypeCount = r.U32();
  h.CharCount = r.U32();
  if (h.TypeCount == 0 || h.TypeCount > 256) throw ETimeZone("The time-zone file has no valid local time types");
  if ((h.IsUtCount != 0 && h.IsUtCount != h.TypeCount) || (h.IsStdCount != 0 && h.IsStdCount != h.TypeCount))
    throw ETimeZone("The time-zone file's indicator counts do not match its types");
  return h;
}

// One data block; timeSize is 4 in the version-1 block and 8 in the later one.
TTZif ReadBlock(TReader& r, const THeader& h, int timeSize) {
  const std::uint64_t size = std::uint64_t{h.TimeCount} * timeSize + h.TimeCount + std::uint64_t{h.TypeCount} * 6 +
                             h.CharCount + std::uint64_t{h.LeapCount} * (timeSize + 4) + h.IsStdCount + h.IsUtCount;
  r.Need(size);
  TTZif z;
  z.Version = h.Version;
  z.Transitions.reserve(h.TimeCount);
  for (std::uint32_t i = 0; i < h.TimeCount; ++i) {
    const std::int64_t t = timeSize == 4 ? static_cast<std::int32_t>(r.U32()) : r.I64();
    if (!z.Transitions.empty() && t <= z.Transitions.back()) throw ETimeZone("The time-zone file's transitions are out of order");
    z.Transitions.push_back(t);
  }
  for (std::uint32_t i = 0; i < h.TimeCount; ++i) {
    const std::uint8_t type = r.U8();
    if (type >= h.TypeCount) throw ETimeZone("The time-zone file names a local time type it does not have");
    z.TransitionTypes.push_back(type);
  }
  std::vector<std::uint8_t> abbreviationIndex;
  for (std::uint32_t i = 0; i < h.TypeCount; ++i) {
    TTZifType type;
    type.UtOffset = static_cast<std::int32_t>(r.U32());
    if (type.UtOffset == INT32_MIN) throw ETimeZone("The time-zone file has an invalid UTC offset");
    const std::uint8_t dst = r.U8();
    if (dst > 1) throw ETimeZone("The time-zone file has an invalid daylight flag");
    type.IsDst = dst == 1;
    abbreviationIndex.push_back(r.U8());
    z.Types.push_back(type);
  }
  const std::string_view chars = r.Take(h.CharCount);
  for (std::size_t i = 0; i < z.Types.size(); ++i) {
    const std::size_t at = abbreviationIndex[i];
    if (at >= chars.size()) throw ETimeZone("The time-zone file's abbreviation index is out of range");
    const std::size_t end = chars.find('\0', at);
    if (end == std::string_view::npos) throw ETimeZone("The time-zone file's abbreviation is not terminated");
    z.Types[i].Abbreviation = std::string(chars.substr(at, end - at));
  }
  r.Take(static_cast<std::size_t>(std::uint64_t{h.LeapCount} * (timeSize + 4)));
  r.Take(h.IsStdCount);
  r.Take(h.IsUtCount);
  return z;
}

class TPosixParser {
public:
  explicit TPosixParser(std::string_view text) : FText(text) {}

  TPosixTZ Parse() {
    TPosixTZ tz;
    tz.StdName = Name();
    tz.StdOffset = Offset(false);
    if (AtEnd()) return tz;
    tz.HasDst = true;
    tz.DstName = Name();
    tz.DstOffset = tz.StdOffset - 3600;
    if (!AtEnd() && Peek() != ',') tz.DstOffset = Offset(false);
    if (AtEnd()) return tz;  // the C library would use its built-in rules; we report none
    Expect(',');
    tz.Start = Date();
    Expect(',');
    tz.End = Date();
    tz.HasRules = true;
    if (!AtEnd()) Fail();
    return tz;
  }

private:
  [[noreturn]] void Fail() const { throw ETimeZone("Invalid time-zone rule \"" + std::string(FText) + "\""); }
  bool AtEnd() const { return FPos >= FText.size(); }
  char Peek() const { return AtEnd() ? '\0' : FText[FPos]; }
  void Expect(char c) {
    if (Peek() != c) Fail();
    ++FPos;
  }
  int Number(int max) {
    if (!std::isdigit(static_cast<unsigned char>(Peek()))) Fail();
    int value = 0;
    while (std::isdigit(static_cast<unsigned char>(Peek()))) {
      value = value * 10 + (FText[FPos++] - '0');
      if (value > max) Fail();
    }
    return value;
  }
  std::string Name() {
    std::string name;
    if (Peek() == '<') {
      ++FPos;
      while (!AtEnd() && Peek() != '>') {
        const char c = FText[FPos++];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-') Fail();
        name += c;
      }
      Expect('>');
    } else {
      while (std::isalpha(static_cast<unsigned char>(Peek()))) name += FText[FPos++];
    }
    if (name.size() < 3 || name.size() > 64) Fail();
    return name;
  }
  // [+-]hh[:mm[:ss]]; a transition time may run to 167 hours.
  std::int32_t Offset(bool transitionTime) {
    int sign = 1;
    if (Peek() == '+' || Peek() == '-') sign = FText[FPos++] == '-' ? -1 : 1;
    std::int32_t seconds = Number(transitionTime ? 167 : 24) * 3600;
    if (Peek() == ':') {
      ++FPos;
      seconds += Number(59) * 60;
      if (Peek() == ':') {
        ++FPos;
        seconds += Number(59);
      }
    }
    return sign * seconds;
  }
  TPosixDate Date() {
    TPosixDate d;
    if (Peek() == 'M') {
      ++FPos;
      d.Kind = TPosixDate::pdMonthWeekDay;
      d.Month = Number(12);
      Expect('.');
      d.Week = Number(5);
      Expect('.');
      d.Day = Number(6);
      if (d.Month < 1 || d.Week < 1) Fail();
    } else if (Peek() == 'J') {
      ++FPos;
      d.Kind = TPosixDate::pdJulian1;
      d.Number = Number(365);
      if (d.Number < 1) Fail();
    } else {
      d.Kind = TPosixDate::pdJulian0;
      d.Number = Number(365);
    }
    if (Peek() == '/') {
      ++FPos;
      d.Time = Offset(true);
    }
    return d;
  }

  std::string_view FText;
  std::size_t FPos = 0;
};

}  // namespace

TTZif ParseTZif(std::string_view bytes) {
  TReader r(bytes);
  const THeader first = ReadHeader(r);
  TTZif v1 = ReadBlock(r, first, 4);
  if (first.Version < 2) return v1;
  const THeader second = ReadHeader(r);
  TTZif z = ReadBlock(r, second, 8);
  // The footer: a newline, the rule (possibly empty), a newline.
  const std::string_view rest = r.Rest();
  if (rest.size() < 2 || rest.front() != '\n') throw ETimeZone("The time-zone file's footer is missing");
  const std::size_t end = rest.find('\n', 1);
  if (end == std::string_view::npos) throw ETimeZone("The time-zone file's footer is not terminated");
  z.Footer = std::string(rest.substr(1, end - 1));
  return z;
}

TPosixTZ ParsePosixTZ(std::string_view text) { return TPosixParser(text).Parse(); }

TDateTime PosixTransition(const TPosixDate& date, int year) {
  TDateTime day = 0;
  switch (date.Kind) {
    case TPosixDate::pdMonthWeekDay:
      day = TransitionDate(TTimeZoneRule{0, date.Month, date.Week, date.Day, 0, 0, 0, 0}, year);
      break;
    case TPosixDate::pdJulian1:
      day = EncodeDate(year, 1, 1) + (date.Number - 1) + (IsLeapYear(year) && date.Number >= 60 ? 1 : 0);
      break;
    case TPosixDate::pdJulian0:
      day = EncodeDate(year, 1, 1) + date.Number;
      break;
  }
  return day + date.Time / kSecondsPerDay;
}

}  // namespace zentrix
