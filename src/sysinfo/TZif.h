#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/DateTime.h"
#include "core/Exceptions.h"

namespace zentrix {

// A time-zone file or rule that cannot be read.
class ETimeZone : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

struct TTZifType {
  std::int32_t UtOffset = 0;  // seconds east of UTC
  bool IsDst = false;
  std::string Abbreviation;
};

// The parts of a compiled zone file (TZif, versions 1 to 4) the time zone needs.
struct TTZif {
  int Version = 1;
  std::vector<std::int64_t> Transitions;  // Unix seconds, ascending
  std::vector<std::uint8_t> TransitionTypes;
  std::vector<TTZifType> Types;
  std::string Footer;  // the POSIX rule for times after the last transition; empty in version 1
};

// Raises ETimeZone for a file that is not a well-formed TZif file.
TTZif ParseTZif(std::string_view bytes);

// A date of a POSIX rule: Mm.w.d (week w of month m, day d, 0 = Sunday, week 5 = last),
// Jn (day 1..365, never counting 29 February) or n (day 0..365, counting it).
struct TPosixDate {
  enum TKind { pdMonthWeekDay, pdJulian1, pdJulian0 } Kind = pdMonthWeekDay;
  int Month = 0, Week = 0, Day = 0;
  int Number = 0;
  std::int32_t Time = 7200;  // seconds after local midnight; may be negative or over a day
};

// A POSIX TZ rule such as "CET-1CEST,M3.5.0,M10.5.0/3". Offsets are seconds to add to local
// time to get UTC (positive west of Greenwich), as the rule writes them.
struct TPosixTZ {
  std::string StdName;
  std::int32_t StdOffset = 0;
  bool HasDst = false;
  std::string DstName;
  std::int32_t DstOffset = 0;
  bool HasRules = false;
  TPosixDate Start, End;
};

// Raises ETimeZone for text that is not a POSIX rule.
TPosixTZ ParsePosixTZ(std::string_view text);

// The local date-time at which the date of a rule falls in `year`.
TDateTime PosixTransition(const TPosixDate& date, int year);

}  // namespace zentrix
