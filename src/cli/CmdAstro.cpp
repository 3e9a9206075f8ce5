#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "astro/Moon.h"
#include "astro/MoonComp.h"
#include "astro/Reckonings.h"
#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "core/InterfaceTexts.h"
#include "core/TimeZoneRule.h"

namespace zentrix::cli {
namespace {

// Command-line names of the eight phases, in phase order.
const char* const kPhaseWords[] = {"new",  "waxing-crescent", "first-quarter", "waxing-gibbous",
                                   "full", "waning-gibbous",  "last-quarter",  "waning-crescent"};

std::string Fixed(double value, int digits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", digits, value);
  return buffer;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

int ParseYear(const std::string& text) {
  const std::int64_t year = ParseInteger(text, "YEAR");
  if (year < std::numeric_limits<int>::min() || year > std::numeric_limits<int>::max())
    throw EUsage("YEAR out of range: '" + text + "'");
  return static_cast<int>(year);
}

int ParsePhase(const std::string& text) {
  for (int i = 0; i < 8; ++i)
    if (text == kPhaseWords[i]) return i;
  const std::int64_t phase = ParseInteger(text, "PHASE");
  if (phase < 0 || phase > 7) throw EUsage("PHASE must be 0 to 7 or a phase name: '" + text + "'");
  return static_cast<int>(phase);
}

void PrintPosition(const CelestialPos& pos, TDateTime day, bool json, std::ostream& out) {
  const std::pair<const char*, double> values[] = {{"longitude", static_cast<double>(pos.Longitude)},
                                                   {"latitude", static_cast<double>(pos.Latitude)},
                                                   {"distance", static_cast<double>(pos.Distance)},
                                                   {"ra", static_cast<double>(pos.RightAscension)},
                                                   {"dec", static_cast<double>(pos.Declination)}};
  if (!json) {
    for (const auto& [name, value] : values) out << name << ' ' << Fixed(value, 6) << '\n';
    return;
  }
  out << "{\"instant\": " << Quoted(FormatIsoUtc(day)) << ", \"day\": " << Fixed(day, 8)
      << ", \"jd\": " << Fixed(DayToJD(day), 8);
  for (const auto& [name, value] : values) out << ", " << Quoted(name) << ": " << Fixed(value, 9);
  out << ", \"units\": {\"angles\": \"degrees\", \"distance\": \"km\"}}\n";
}

void PrintInstants(const std::vector<std::pair<std::string, TDateTime>>& rows, bool json, std::ostream& out) {
  if (!json) {
    for (const auto& [name, t] : rows) out << name << ' ' << FormatIsoUtc(t) << '\n';
    return;
  }
  out << "[";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    out << (i ? ",\n " : "") << "{\"name\": " << Quoted(rows[i].first)
        << ", \"instant\": " << Quoted(FormatIsoUtc(rows[i].second)) << ", \"day\": " << Fixed(rows[i].second, 8)
        << '}';
  }
  out << "]\n";
}

int RunSunOrMoon(std::vector<std::string>& args, TCliIo& io, bool json, bool sun) {
  ExpectArgCount(args, 1, 1);
  const TDateTime day = ParseInstant(args[0], "INSTANT");
  PrintPosition(sun ? SunPosition(day) : MoonPosition(day), day, json, io.Out);
  return 0;
}

int RunSeasons(std::vector<std::string>& args, TCliIo& io, bool json) {
  ExpectArgCount(args, 1, 1);
  const int year = ParseYear(args[0]);
  const char* const names[] = {"winter", "spring", "summer", "autumn"};
  std::vector<std::pair<std::string, TDateTime>> rows;
  for (int s = 0; s < 4; ++s) rows.emplace_back(names[s], SeasonStart(year, s));
  PrintInstants(rows, json, io.Out);
  return 0;
}

int RunTerms(std::vector<std::string>& args, TCliIo& io, bool json) {
  ExpectArgCount(args, 1, 1);
  const int year = ParseYear(args[0]);
  std::vector<std::pair<std::string, TDateTime>> rows;
  for (int n = 0; n < 24; ++n) rows.emplace_back(std::to_string(n), SolarLongitudeTime(year, n));
  PrintInstants(rows, json, io.Out);
  return 0;
}

int RunPhases(std::vector<std::string>& args, TCliIo& io, bool json) {
  ExpectArgCount(args, 1, 1);
  const int year = ParseYear(args[0]);
  const TDateTime first = EncodeDate(year, 1, 1);
  const TDateTime next = year < 9999 ? EncodeDate(year + 1, 1, 1) : first + 365;
  std::vector<std::pair<TDateTime, int>> found;
  for (int phase = 0; phase < 8; phase += 2) {
    for (TDateTime t = PhaseAtOrAfter(phase, first); t < next; t = PhaseAtOrAfter(phase, t + 1))
      found.emplace_back(t, phase);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::pair<std::string, TDateTime>> rows;
  for (const auto& [t, phase] : found) rows.emplace_back(kPhaseWords[phase], t);
  PrintInstants(rows, json, io.Out);
  return 0;
}

int RunPhase(std::vector<std::string>& args, TCliIo& io, bool json) {
  ExpectArgCount(args, 2, 2);
  const int phase = ParsePhase(args[0]);
  const TDateTime t = PhaseAtOrAfter(phase, ParseInstant(args[1], "INSTANT"));
  if (!json) {
    io.Out << FormatIsoUtc(t) << '\n';
  } else {
    io.Out << "{\"phase\": " << phase << ", \"name\": " << Quoted(MoonPhaseName(phase, EnglishTexts()))
           << ", \"instant\": " << Quoted(FormatIsoUtc(t)) << ", \"day\": " << Fixed(t, 8) << "}\n";
  }
  return 0;
}

int RunIllum(std::vector<std::string>& args, TCliIo& io, bool json) {
  ExpectArgCount(args, 1, 1);
  const TDateTime day = ParseInstant(args[0], "INSTANT");
  const double angle = PhaseAngle(day);
  const double fraction = (1 + std::cos(angle * 3.14159265358979323846 / 180)) / 2;
  const double age = MoonAge(day);
  if (!json) {
    io.Out << "fraction " << Fixed(fraction, 6) << "\nangle " << Fixed(angle, 6) << "\nage " << Fixed(age, 6)
           << '\n';
  } else {
    io.Out << "{\"instant\": " << Quoted(FormatIsoUtc(day)) << ", \"fraction\": " << Fixed(fraction, 9)
           << ", \"angle\": " << Fixed(angle, 9) << ", \"age\": " << Fixed(age, 9)
           << ", \"waning\": " << (angle < 0 ? "true" : "false") << "}\n";
  }
  return 0;
}

int RunRiseSet(std::vector<std::string>& args, TCliIo& io, bool json, bool rise) {
  ExpectArgCount(args, 3, 3);
  const double latitude = ParseReal(args[0], "LAT");
  const double longitudeEast = ParseReal(args[1], "LON_EAST");
  if (latitude < -90 || latitude > 90) throw EUsage("LAT must be -90 to 90");
  if (longitudeEast < -180 || longitudeEast > 180) throw EUsage("LON_EAST must be -180 to 180");
  const TDateTime day = ParseInstant(args[2], "DATE");
  const TDateTime t = rise ? SunriseTime(-longitudeEast, latitude, day) : SunsetTime(-longitudeEast, latitude, day);
  if (!json) {
    io.Out << FormatIsoUtc(t) << '\n';
  } else {
    io.Out << "{\"event\": " << (rise ? "\"sunrise\"" : "\"sunset\"") << ", \"latitude\": " << Fixed(latitude, 6)
           << ", \"longitude_east\": " << Fixed(longitudeEast, 6) << ", \"date\": " << Quoted(FormatIsoDate(day))
           << ", \"instant\": " << Quoted(FormatIsoUtc(t)) << ", \"day\": " << Fixed(t, 8) << "}\n";
  }
  return 0;
}

int RunAstro(const std::vector<std::string>& input, TCliIo& io) {
  std::vector<std::string> args = input;
  const bool json = TakeFlag(args, "--json");
  if (args.empty()) throw EUsage("missing subcommand");
  const std::string sub = args[0];
  args.erase(args.begin());
  if (sub == "sun") return RunSunOrMoon(args, io, json, true);
  if (sub == "moon") return RunSunOrMoon(args, io, json, false);
  if (sub == "seasons") return RunSeasons(args, io, json);
  if (sub == "terms") return RunTerms(args, io, json);
  if (sub == "phases") return RunPhases(args, io, json);
  if (sub == "phase") return RunPhase(args, io, json);
  if (sub == "illum") return RunIllum(args, io, json);
  if (sub == "sunrise") return RunRiseSet(args, io, json, true);
  if (sub == "sunset") return RunRiseSet(args, io, json, false);
  throw EUsage("unknown subcommand '" + sub + "'");
}

int RunHebrew(const std::vector<std::string>& input, TCliIo& io) {
  std::vector<std::string> args = input;
  const bool json = TakeFlag(args, "--json");
  ExpectArgCount(args, 1, 1);
  const TDateTime day = ParseInstant(args[0], "DATE");
  const THebrewDate h = HebrewDate(day);
  const std::string month = HebrewMonthName(h.Month, EnglishTexts());
  const std::string text = HebrewDateText(day, EnglishTexts());
  if (!json) {
    io.Out << h.Year << ' ' << month << ' ' << h.Day << '\n' << text << '\n';
  } else {
    io.Out << "{\"year\": " << h.Year << ", \"month\": " << h.Month << ", \"month_name\": " << Quoted(month)
           << ", \"day\": " << h.Day << ", \"year_type\": " << HebrewYearType(h.Year)
           << ", \"text\": " << Quoted(text) << "}\n";
  }
  return 0;
}

int RunDateOfYear(const std::vector<std::string>& input, TCliIo& io, TDateTime (*reckoning)(int)) {
  std::vector<std::string> args = input;
  const bool json = TakeFlag(args, "--json");
  ExpectArgCount(args, 1, 1);
  const int year = ParseYear(args[0]);
  const TDateTime day = reckoning(year);
  if (!json)
    io.Out << FormatIsoDate(day) << '\n';
  else
    io.Out << "{\"year\": " << year << ", \"date\": " << Quoted(FormatIsoDate(day)) << ", \"day\": " << Fixed(day, 0)
           << ", \"weekday\": " << DayOfWeek(day) << "}\n";
  return 0;
}

int RunPassover(const std::vector<std::string>& args, TCliIo& io) { return RunDateOfYear(args, io, PassoverDate); }
int RunEaster(const std::vector<std::string>& args, TCliIo& io) { return RunDateOfYear(args, io, EasterSunday); }
int RunCny(const std::vector<std::string>& args, TCliIo& io) { return RunDateOfYear(args, io, ChineseNewYearDate); }

int RunTzTransition(const std::vector<std::string>& input, TCliIo& io) {
  std::vector<std::string> args = input;
  const bool json = TakeFlag(args, "--json");
  ExpectArgCount(args, 5, 5);
  const auto small = [](const std::string& text, const char* what, int min, int max) {
    const std::int64_t v = ParseInteger(text, what);
    if (v < min || v > max) throw EUsage(std::string(what) + " out of range: '" + text + "'");
    return static_cast<int>(v);
  };
  TTimeZoneRule rule;
  rule.Month = small(args[0], "MONTH", 0, 12);
  rule.Day = small(args[1], "WEEK", 1, 5);
  rule.DayOfWeek = small(args[2], "WEEKDAY", 0, 6);
  const std::string& time = args[3];
  const std::size_t colon = time.find(':');
  if (colon == std::string::npos) throw EUsage("invalid HH:MM: '" + time + "'");
  rule.Hour = small(time.substr(0, colon), "HH", 0, 23);
  rule.Minute = small(time.substr(colon + 1), "MM", 0, 59);
  const int year = ParseYear(args[4]);
  const TDateTime t = TransitionDate(rule, year);
  // The rule's own wall-clock time: no zone designator.
  const std::string text = t == 0 ? "0" : FormatIsoUtc(t).substr(0, 19);
  if (!json)
    io.Out << text << '\n';
  else
    io.Out << "{\"instant\": " << Quoted(text) << ", \"day\": " << Fixed(t, 8) << "}\n";
  return 0;
}

const TCliRegistrar kAstro({"astro",
                            "sun|moon|illum INSTANT, seasons|terms|phases YEAR, phase PHASE INSTANT, "
                            "sunrise|sunset LAT LON_EAST DATE [--json]",
                            "Sun and Moon positions, seasons, solar terms, moon phases, sunrise and sunset (UTC).",
                            RunAstro});
const TCliRegistrar kHebrew({"hebrew", "DATE [--json]", "The Hebrew date of a day and the bar's Hebrew date text.",
                             RunHebrew});
const TCliRegistrar kPassover({"passover", "YEAR [--json]", "The date of Passover (15 Nisan) in a year.",
                               RunPassover});
const TCliRegistrar kEaster({"easter", "YEAR [--json]", "Gregorian Easter Sunday of a year.", RunEaster});
const TCliRegistrar kCny({"cny", "YEAR [--json]", "The date of the Chinese New Year in a year.", RunCny});
const TCliRegistrar kTzTransition({"tz-transition", "MONTH WEEK WEEKDAY HH:MM YEAR [--json]",
                                   "When a time-zone rule (WEEK 5 = last, WEEKDAY 0 = Sunday) takes effect; 0 "
                                   "for month 0.",
                                   RunTzTransition});

}  // namespace
}  // namespace zentrix::cli
