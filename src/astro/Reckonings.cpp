#include "astro/Reckonings.h"

#include <cmath>
#include <cstdint>

#include "astro/Moon.h"
#include "astro/MoonComp.h"

namespace zentrix {
namespace {

constexpr double kSynodicMonth = 29.530589;
constexpr int kYearLengths[6] = {353, 354, 355, 383, 384, 385};
// Month lengths, Nisan (1) to Adar 2 (13), for each year type.
constexpr int kMonthLengths[13][6] = {
    {30, 30, 30, 30, 30, 30}, {29, 29, 29, 29, 29, 29}, {30, 30, 30, 30, 30, 30}, {29, 29, 29, 29, 29, 29},
    {30, 30, 30, 30, 30, 30}, {29, 29, 29, 29, 29, 29}, {30, 30, 30, 30, 30, 30}, {29, 29, 30, 29, 29, 30},
    {29, 30, 30, 29, 30, 30}, {29, 29, 29, 29, 29, 29}, {30, 30, 30, 30, 30, 30}, {29, 29, 29, 30, 30, 30},
    {0, 0, 0, 29, 29, 29}};

// Beijing adopted UTC+8 in 1929; before that its local mean time, 7 h 45 min 40 s ahead.
constexpr double kBeijingZone = 8.0 / 24;
constexpr double kBeijingMeanTime = 0.32337962962962963;
// 1929-01-01 as a day number.
constexpr double kBeijingZoneStart = 10594;

double BeijingOffset(TDateTime t) { return t >= kBeijingZoneStart ? kBeijingZone : kBeijingMeanTime; }

// The Beijing civil day of an instant.
double BeijingDay(TDateTime utc) { return std::floor(ToBeijingTime(utc)); }

double NewMoonOnOrAfter(double beijingDay) { return BeijingDay(PhaseAtOrAfter(0, FromBeijingTime(beijingDay))); }
double NewMoonOnOrBefore(double beijingDay) { return BeijingDay(PhaseAtOrBefore(0, FromBeijingTime(beijingDay))); }
double TermOnOrAfter(double beijingDay) { return BeijingDay(MajorTermAfter(FromBeijingTime(beijingDay))); }
double TermBefore(double beijingDay) { return BeijingDay(MajorTermBefore(FromBeijingTime(beijingDay))); }

// A month that starts on `beijingDay` and contains no major solar term.
bool LacksMajorTerm(double beijingDay) {
  return TermBefore(beijingDay) == TermBefore(NewMoonOnOrAfter(beijingDay + 2));
}

}  // namespace

TDateTime PassoverDate(int year) {
  if (year < 359) throw E_OutOfAlgorithmRange("Out of range of the algorithm");
  if (year > 9999) throw EConvertError("Invalid year");
  const std::int64_t y = year;
  const std::int64_t S = y > 1582 ? (3 * (y / 100) - 5) / 4 : 0;
  const std::int64_t a = (12 * y + 12) % 19;
  const std::int64_t b = y % 4;
  const double Q = a * 1.554241796621 - 1.904412361576 + b * 0.25 - y * 0.003177794022 + S;
  // The whole days of Q are its floor: before 1583 Q can be negative, and truncating it there
  // would put Passover a day or two late in about one year in seventy.
  const auto I = static_cast<std::int64_t>(std::floor(Q));
  const double f = Q - static_cast<double>(I);
  const std::int64_t w = ((I + 3 * y + 5 * b - S + 2) % 7 + 7) % 7;
  int r = 22;
  if (w == 2 || w == 4 || w == 6)
    r = 23;
  else if (w == 1 && a > 6 && f >= 0.63287037)
    r = 24;
  else if (w == 0 && a > 11 && f >= 0.897723765)
    r = 23;
  // "March t" counted from 1 March, so that a t past April (far future years) stays a real date.
  const std::int64_t t = I + r;
  return CalendarToDay(year, 3, 1) + static_cast<double>(t - 1);
}

int HebrewYearType(int hebrewYear) {
  // Years whose Passovers lie before the algorithm's range (and far below, where H - 3761
  // would not fit an int).
  if (hebrewYear < 359 + 3761) throw E_OutOfAlgorithmRange("Out of range of the algorithm");
  const double length =
      std::round(PassoverDate(hebrewYear - 3760) - PassoverDate(hebrewYear - 3761));
  for (int type = 0; type < 6; ++type)
    if (length == kYearLengths[type]) return type;
  return 0;
}

THebrewDate HebrewDate(TDateTime day) {
  // Round first, so that the evening before 1 Tishri belongs to the new year as a whole, not to
  // a 1 Tishri of the old one.
  const double x = std::floor(day + 0.5);
  const TCalendarDate civil = JDToCalendar(DayToJD(x));
  double newYear = PassoverDate(civil.Year) + 163;
  THebrewDate result;
  if (x < newYear) {
    newYear = PassoverDate(civil.Year - 1) + 163;
    result.Year = civil.Year + 3760;
  } else {
    result.Year = civil.Year + 3761;
  }
  const int type = HebrewYearType(result.Year);
  int month = 7;
  auto d = static_cast<int>(x - newYear + 1);
  // Adar 2 has no days in a common year and is skipped.
  while (kMonthLengths[month - 1][type] < d) {
    d -= kMonthLengths[month - 1][type];
    month = month % 13 + 1;
  }
  result.Month = month;
  result.Day = d;
  return result;
}

std::string HebrewMonthName(int month, const TInterfaceTexts& texts) {
  static const char* const kNames[] = {"Nisan",   "Iyar",   "Sivan", "Tammuz", "Av",     "Elul",  "Tishri",
                                       "Heshvan", "Kislev", "Tevet", "Shevat", "Adar", "Adar 2"};
  if (month < 1 || month > 13) return {};
  return texts.Get("lc_HebrewMonth" + std::to_string(month), kNames[month - 1]);
}

std::string HebrewWeekdayName(int weekday, const TInterfaceTexts& texts) {
  static const char* const kNames[] = {"Yom Rishon",   "Yom Sheni",  "Yom Shlishi", "Yom Revi",
                                       "Yom Chamishi", "Yom Shishi", "Yom Shabbat"};
  if (weekday < 1 || weekday > 7) return {};
  return texts.Get("lc_HebrewDay" + std::to_string(weekday), kNames[weekday - 1]);
}

std::string HebrewDateText(TDateTime day, const TInterfaceTexts& texts) {
  const THebrewDate h = HebrewDate(day);
  return HebrewWeekdayName(DayOfWeek(std::floor(day + 0.5)), texts) + ", " + std::to_string(h.Day) + ". " +
         HebrewMonthName(h.Month, texts) + ' ' + std::to_string(h.Year);
}

TDateTime ToBeijingTime(TDateTime utc) { return utc + BeijingOffset(utc); }
TDateTime FromBeijingTime(TDateTime beijing) { return beijing - BeijingOffset(beijing); }

TDateTime ChineseNewYearDate(int year) {
  if (year < 1 || year > 9999) throw EConvertError("Invalid year");
  // The two winter solstices around the year, then the months after the first one.
  const double s1 = TermOnOrAfter(CalendarToDay(year - 1, 12, 15));
  const double s2 = TermOnOrAfter(CalendarToDay(year, 12, 15));
  const double m12 = NewMoonOnOrAfter(s1 + 1);
  const double m1 = NewMoonOnOrAfter(m12 + 4);
  const double months = std::round((NewMoonOnOrBefore(s2 + 1) - m12) / kSynodicMonth);
  // Thirteen months between the solstices: the first one without a major term is the leap month.
  if (months == 12 && (LacksMajorTerm(m12) || LacksMajorTerm(m1))) return NewMoonOnOrAfter(m1 + 1);
  return m1;
}

TDateTime EasterSunday(int year) {
  if (year < 1 || year > 9999) throw EConvertError("Invalid year");
  const int y = year;
  const int c = y / 100;
  const int n = y % 19;
  int i = (c - c / 4 - (8 * c + 13) / 25 + 19 * n + 15) % 30;
  i = i - (i / 28) * (1 - (i / 28) * (29 / (i + 1)) * ((21 - n) / 11));
  const int j = (y + y / 4 + i + 2 - c + c / 4) % 7;
  const int l = i - j;
  const int month = 3 + (l + 40) / 44;
  const int day = l + 28 - 31 * (month / 4);
  return EncodeDate(y, month, day);
}

}  // namespace zentrix
