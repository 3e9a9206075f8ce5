#include "astro/MoonComp.h"

#include <cmath>

#include "astro/AstroTables.h"

namespace zentrix {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180;
constexpr double kSynodicMonth = 29.530589;

// Every iteration below is bounded, so that no input (NaN, a far-away year) can hang a caller.
constexpr int kMaxAgeIterations = 100;
constexpr int kMaxSearchSteps = 16;
constexpr int kMaxLongitudeIterations = 100;
constexpr int kMaxTermMonths = 14;

[[noreturn]] void NoDateTime() { throw E_OutOfAlgorithmRange("No TDateTime possible"); }

// Searches run only where their answer can be a date of years 1 to 9999 (with a month's margin);
// far outside, every step costs as much and none can succeed.
constexpr TDateTime kFirstSearchDay = -693593 - 60;
constexpr TDateTime kLastSearchDay = 2958465 + 60;
void CheckSearchDay(TDateTime day) {
  if (!(day >= kFirstSearchDay && day <= kLastSearchDay)) NoDateTime();
}

double SinDeg(double degrees) { return std::sin(degrees * kRad); }
double CosDeg(double degrees) { return std::cos(degrees * kRad); }

// Brings an angle into (-180, 180].
long double Signed(long double degrees) {
  long double x = std::fmod(degrees, 360.0L);
  if (x > 180) x -= 360;
  if (x <= -180) x += 360;
  return x;
}

double SumCorrections(const astro::TPhaseCorrections& table, double E, double M, double Mp, double F,
                      double Om) {
  double sum = 0;
  for (int i = 0; i < table.Count; ++i) {
    const astro::TPhaseCorrection& c = table.Terms[i];
    const double e = c.EPow == 1 ? E : c.EPow == 2 ? E * E : 1.0;
    sum += c.Coefficient * e * SinDeg(c.M * M + c.Mp * Mp + c.F * F + c.Om * Om);
  }
  return sum;
}

TDateTime PrincipalPhaseInstant(int phase, TDateTime day) {
  const double T0 = (day - 36526) / 36525;
  const double k = std::round(1236.85 * T0) + phase / 8.0;
  const double T = k / 1236.85;
  const double T2 = T * T;
  const double T3 = T2 * T;
  const double T4 = T3 * T;
  double jde = 2451550.09765 + 29.530588853 * k + 0.0001337 * T2 - 0.00000015 * T3 + 0.00000000073 * T4;
  const double M = 2.5534 + 29.10535669 * k - 0.0000218 * T2 - 0.00000011 * T3;
  const double Mp = 201.5643 + 385.81693528 * k + 0.0107438 * T2 + 0.00001239 * T3 - 0.000000058 * T4;
  const double F = 160.7108 + 390.67050274 * k - 0.0016341 * T2 - 0.00000227 * T3 + 0.000000011 * T4;
  const double Om = 124.7746 - 1.5637558 * k + 0.0020691 * T2 + 0.00000215 * T3;
  const double E = 1 - 0.002516 * T - 0.0000074 * T2;

  switch (phase) {
    case 0:
      jde += SumCorrections(astro::kPhaseCorrectionsNew, E, M, Mp, F, Om);
      break;
    case 4:
      jde += SumCorrections(astro::kPhaseCorrectionsFull, E, M, Mp, F, Om);
      break;
    default: {
      const double W = 0.00306 - 0.00038 * E * CosDeg(M) + 0.00026 * CosDeg(Mp) - 0.00002 * CosDeg(Mp - M) +
                       0.00002 * CosDeg(Mp + M) + 0.00002 * CosDeg(2 * F);
      jde += SumCorrections(astro::kPhaseCorrectionsQuarter, E, M, Mp, F, Om) + (phase == 2 ? W : -W);
    }
  }
  for (const astro::TPlanetaryCorrection& p : astro::kPlanetaryCorrections)
    jde += p.Coefficient * SinDeg(p.A0 + p.A1 * k + p.A2 * T2);
  return JDToDay(jde);
}

TDateTime IntermediatePhaseInstant(int phase, TDateTime day) {
  CheckSearchDay(day);
  const double target = phase * kSynodicMonth / 8;
  double x = day;
  for (int i = 0; i < kMaxAgeIterations; ++i) {
    double d = MoonAge(x) - target;
    if (d > kSynodicMonth / 2) d -= kSynodicMonth;
    x -= d;
    if (std::fabs(d) < 1e-7) return x;
  }
  NoDateTime();
}

bool ValidPhase(int phase) { return phase >= 0 && phase <= 7; }

struct TSunEquatorial {
  double Alpha = 0;
  double Delta = 0;
};

TSunEquatorial SunEquatorial(TDateTime day) {
  const CelestialPos p = SunPosition(day);
  return {static_cast<double>(p.RightAscension), static_cast<double>(p.Declination)};
}

// Three-point interpolation at n; a jump of the right ascension through 360 is unwrapped.
double Interpolate(double y1, double y2, double y3, double n) {
  double a = y2 - y1;
  double b = y3 - y2;
  if (a > 100) a -= 360;
  if (a < -100) a += 360;
  if (b > 100) b -= 360;
  if (b < -100) b += 360;
  return y2 + n / 2 * (a + b + n * (b - a));
}

double Fraction01(double m) {
  double f = m - std::floor(m);
  if (f >= 1) f = 0;
  return f;
}

TDateTime RiseOrSet(double longitudeWest, double latitude, TDateTime day, bool rise) {
  constexpr double h0 = -0.8333;
  const double d0 = std::floor(day);
  const double theta0 = SiderealTime(d0);
  const TSunEquatorial s1 = SunEquatorial(d0 - 1);
  const TSunEquatorial s2 = SunEquatorial(d0);
  const TSunEquatorial s3 = SunEquatorial(d0 + 1);
  const double phi = latitude * kRad;
  const double cosH0 = (SinDeg(h0) - std::sin(phi) * SinDeg(s2.Delta)) / (std::cos(phi) * CosDeg(s2.Delta));
  if (std::isnan(cosH0) || !std::isfinite(longitudeWest)) NoDateTime();
  if (cosH0 < -1 || cosH0 > 1) throw E_NoRiseSet("No rises or sets calculable");
  const double H0 = std::acos(cosH0) / kRad;

  const double m0 = Fraction01((s2.Alpha + longitudeWest - theta0) / 360);
  const double m = Fraction01(rise ? m0 - H0 / 360 : m0 + H0 / 360);
  const double theta = theta0 + 360.985647 * m;
  const double alpha = Interpolate(s1.Alpha, s2.Alpha, s3.Alpha, m);
  const double delta = Interpolate(s1.Delta, s2.Delta, s3.Delta, m);
  double H = std::fmod(theta - longitudeWest - alpha, 360.0);
  if (H > 180) H -= 360;
  if (H <= -180) H += 360;
  const double h = std::asin(std::sin(phi) * SinDeg(delta) + std::cos(phi) * CosDeg(delta) * CosDeg(H)) / kRad;
  const double dm = (h - h0) / (360 * CosDeg(delta) * std::cos(phi) * SinDeg(H));
  const TDateTime result = d0 + m + dm;
  if (!std::isfinite(result)) NoDateTime();
  return result;
}

// The major term of a calendar month: January 300 degrees ... December 270 degrees.
TDateTime MonthTerm(int year, int month) { return SolarLongitudeTime(year, (2 * month + 18) % 24); }

}  // namespace

std::string MoonPhaseName(int phase, const TInterfaceTexts& texts) {
  static const char* const kNames[] = {"New Moon",       "Waxing Crescent", "First Quarter", "Waxing Gibbous",
                                       "Full Moon",      "Waning Gibbous",  "Last Quarter",  "Waning Crescent"};
  if (!ValidPhase(phase)) return {};
  return texts.Get("mp_" + std::to_string(phase), kNames[phase]);
}

TDateTime PhaseInstant(int phase, TDateTime day) {
  if (!ValidPhase(phase)) return 0;
  return phase % 2 == 0 ? PrincipalPhaseInstant(phase, day) : IntermediatePhaseInstant(phase, day);
}

TDateTime PhaseAtOrAfter(int phase, TDateTime day) {
  CheckSearchDay(day);
  TDateTime b = day - 28;
  for (int i = 0; i < kMaxSearchSteps; ++i) {
    const TDateTime r = PhaseInstant(phase, b);
    if (r == 0) break;
    if (r >= day) return r;
    b += 28;
  }
  NoDateTime();
}

TDateTime PhaseAtOrBefore(int phase, TDateTime day) {
  CheckSearchDay(day);
  TDateTime b = day + 28;
  for (int i = 0; i < kMaxSearchSteps; ++i) {
    const TDateTime r = PhaseInstant(phase, b);
    if (r == 0) break;
    if (r <= day) return r;
    b -= 28;
  }
  NoDateTime();
}

TDateTime SunriseTime(double longitudeWest, double latitude, TDateTime day) {
  return RiseOrSet(longitudeWest, latitude, day, true);
}

TDateTime SunsetTime(double longitudeWest, double latitude, TDateTime day) {
  return RiseOrSet(longitudeWest, latitude, day, false);
}

TDateTime SolarLongitudeTime(int year, int n) {
  if (year < 1 || year > 9999) throw EConvertError("Invalid year");
  if (n < 0 || n > 23) throw E_OutOfAlgorithmRange("Out of range of the algorithm");
  const long double target = 15.0L * n;
  const double b = n * 15.218424583333333 + 80;
  TDateTime x = b > 365 ? CalendarToDay(year - 1, 1, 1) + b : CalendarToDay(year, 1, 1) + b;
  for (int i = 0; i < kMaxLongitudeIterations; ++i) {
    const long double diff = Signed(target - SunPosition(x).Longitude);
    x += 58 * std::sin(static_cast<double>(diff) * kRad);
    if (std::fabs(diff) <= 3e-10L) return x;
  }
  NoDateTime();
}

TDateTime SeasonStart(int year, int season) {
  static const int kTerms[] = {18, 0, 6, 12};
  if (season < 0 || season > 3) throw E_OutOfAlgorithmRange("Out of range of the algorithm");
  return SolarLongitudeTime(year, kTerms[season]);
}

TDateTime MajorTermAfter(TDateTime day) {
  const TCalendarDate date = JDToCalendar(DayToJD(day));
  int year = date.Year;
  int month = date.Month;
  for (int i = 0; i < kMaxTermMonths; ++i) {
    const TDateTime r = MonthTerm(year, month);
    if (r >= day) return r;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  NoDateTime();
}

TDateTime MajorTermBefore(TDateTime day) {
  const TCalendarDate date = JDToCalendar(DayToJD(day));
  int year = date.Year;
  int month = date.Month;
  for (int i = 0; i < kMaxTermMonths; ++i) {
    const TDateTime r = MonthTerm(year, month);
    if (r < day) return r;
    if (--month < 1) {
      month = 12;
      --year;
    }
  }
  NoDateTime();
}

}  // namespace zentrix
