#include "core/DateTime.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "core/Exceptions.h"

namespace zentrix {
namespace {

// Days from 0001-01-01 to 1899-12-30 in the proleptic Gregorian calendar.
constexpr std::int64_t kEpochOrdinal = 693593;

std::int64_t DaysBeforeYear(int year) {
  const std::int64_t y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

int DaysBeforeMonth(int year, int month) {
  static constexpr int kCumulative[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  return kCumulative[month - 1] + ((month > 2 && IsLeapYear(year)) ? 1 : 0);
}

// Ordinal day (0001-01-01 = 0) to year, month, day.
void OrdinalToDate(std::int64_t ordinal, int& year, int& month, int& day) {
  std::int64_t n = ordinal;
  const std::int64_t n400 = n / 146097;
  n %= 146097;
  std::int64_t n100 = n / 36524;
  if (n100 == 4) n100 = 3;
  n -= n100 * 36524;
  const std::int64_t n4 = n / 1461;
  n %= 1461;
  std::int64_t n1 = n / 365;
  if (n1 == 4) n1 = 3;
  n -= n1 * 365;
  year = static_cast<int>(n400 * 400 + n100 * 100 + n4 * 4 + n1 + 1);
  month = 1;
  while (month < 12 && n >= DaysBeforeMonth(year, month + 1)) ++month;
  day = static_cast<int>(n - DaysBeforeMonth(year, month)) + 1;
}

constexpr double kMinDay = -693593.0;  // 0001-01-01
constexpr double kMaxDay = 2958466.0;  // 10000-01-01

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return false;
  result = static_cast<double>(DaysBeforeYear(year) + DaysBeforeMonth(year, month) + day - 1 - kEpochOrdinal);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime result = 0;
  if (!TryEncodeDate(year, month, day, result)) throw EConvertError("Invalid argument to date encode");
  return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    throw EConvertError("Invalid argument to time encode");
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / kMillisecondsPerDay;
}

TDateTime EncodeDateTime(const TDateParts& parts) {
  return EncodeDate(parts.Year, parts.Month, parts.Day) +
         EncodeTime(parts.Hour, parts.Minute, parts.Second, parts.Millisecond);
}

TDateParts DecodeDateTime(TDateTime value) {
  if (!std::isfinite(value) || value < kMinDay || value >= kMaxDay)
    throw EConvertError("Invalid date-time value");
  const double totalMs = std::round(value * kMillisecondsPerDay);
  const auto ms = static_cast<std::int64_t>(totalMs);
  std::int64_t days = ms / 86400000;
  std::int64_t rest = ms % 86400000;
  if (rest < 0) {
    rest += 86400000;
    --days;
  }
  TDateParts parts;
  OrdinalToDate(days + kEpochOrdinal, parts.Year, parts.Month, parts.Day);
  parts.Hour = static_cast<int>(rest / 3600000);
  parts.Minute = static_cast<int>(rest / 60000 % 60);
  parts.Second = static_cast<int>(rest / 1000 % 60);
  parts.Millisecond = static_cast<int>(rest % 1000);
  return parts;
}

int DayOfWeek(TDateTime value) {
  // Day 0 (1899-12-30) was a Saturday.
  const auto days = static_cast<std::int64_t>(std::floor(value));
  return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

int IsoDayOfWeek(TDateTime value) {
  const int sundayFirst = DayOfWeek(value);
  return sundayFirst == 1 ? 7 : sundayFirst - 1;
}

int DayOfYear(TDateTime value) {
  const TDateParts parts = DecodeDateTime(DateOf(value));
  return DaysBeforeMonth(parts.Year, parts.Month) + parts.Day;
}

TDateTime DateOf(TDateTime value) { return std::floor(value); }

TDateTime UnixToDateTime(double unixSeconds) { return unixSeconds / kSecondsPerDay + kUnixEpochDay; }

double DateTimeToUnix(TDateTime value) { return (value - kUnixEpochDay) * kSecondsPerDay; }

TDateTime UtcToLocal(TDateTime utc) {
  const double unix = DateTimeToUnix(utc);
  const std::time_t whole = static_cast<std::time_t>(std::floor(unix));
  std::tm tm{};
  if (localtime_r(&whole, &tm) == nullptr) return utc;
  return utc + static_cast<double>(tm.tm_gmtoff) / kSecondsPerDay;
}

TDateTime LocalToUtc(TDateTime local) {
  const TDateParts p = DecodeDateTime(local);
  std::tm tm{};
  tm.tm_year = p.Year - 1900;
  tm.tm_mon = p.Month - 1;
  tm.tm_mday = p.Day;
  tm.tm_hour = p.Hour;
  tm.tm_min = p.Minute;
  tm.tm_sec = p.Second;
  tm.tm_isdst = -1;
  const std::time_t t = mktime(&tm);
  if (t == static_cast<std::time_t>(-1)) return local;
  return local - static_cast<double>(tm.tm_gmtoff) / kSecondsPerDay;
}

std::string FormatIsoUtc(TDateTime utc) {
  const TDateParts p = DecodeDateTime(std::round(utc * kSecondsPerDay) / kSecondsPerDay);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02dZ", p.Year, p.Month, p.Day, p.Hour, p.Minute,
                p.Second);
  return buffer;
}

std::string FormatIsoDate(TDateTime value) {
  const TDateParts p = DecodeDateTime(DateOf(value));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
  return buffer;
}

std::string FormatDateTimeText(TDateTime value) {
  const TDateParts p = DecodeDateTime(std::round(value * kSecondsPerDay) / kSecondsPerDay);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour, p.Minute,
                p.Second);
  return buffer;
}

namespace {

bool ReadFixed(const std::string& text, std::size_t& pos, std::size_t digits, int& value) {
  if (pos + digits > text.size()) return false;
  int v = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  value = v;
  pos += digits;
  return true;
}

bool Expect(const std::string& text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

bool TryParseDateTime(const std::string& text, TDateTime& result) {
  std::size_t pos = 0;
  TDateParts p;
  if (ReadFixed(text, pos, 4, p.Year) && Expect(text, pos, '-') && ReadFixed(text, pos, 2, p.Month) &&
      Expect(text, pos, '-') && ReadFixed(text, pos, 2, p.Day)) {
    TDateTime date = 0;
    if (!TryEncodeDate(p.Year, p.Month, p.Day, date)) return false;
    if (pos == text.size()) {
      result = date;
      return true;
    }
    if (text[pos] != 'T' && text[pos] != ' ') return false;
    ++pos;
    if (!ReadFixed(text, pos, 2, p.Hour) || !Expect(text, pos, ':') || !ReadFixed(text, pos, 2, p.Minute))
      return false;
    double seconds = 0;
    if (pos < text.size() && text[pos] == ':') {
      ++pos;
      if (!ReadFixed(text, pos, 2, p.Second)) return false;
      seconds = p.Second;
      if (pos < text.size() && text[pos] == '.') {
        ++pos;
        double scale = 0.1;
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
          seconds += (text[pos] - '0') * scale;
          scale /= 10;
          ++pos;
        }
        if (pos == start) return false;
      }
    }
    if (pos < text.size() && text[pos] == 'Z') ++pos;
    if (pos != text.size() || p.Hour > 23 || p.Minute > 59 || p.Second > 59) return false;
    result = date + ((p.Hour * 60.0 + p.Minute) * 60.0 + seconds) / kSecondsPerDay;
    return true;
  }
  // A plain day number.
  double value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last || text.empty() || !std::isfinite(value) || value < kMinDay ||
      value >= kMaxDay)
    return false;
  result = value;
  return true;
}

}  // namespace zentrix
