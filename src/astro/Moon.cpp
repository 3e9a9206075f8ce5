#include "astro/Moon.h"

#include <cmath>

#include "astro/AstroTables.h"
#include "astro/Vsop.h"

namespace zentrix {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180;
constexpr double kGregorianStartJD = 2299160.5;
constexpr double kSynodicMonth = 29.530589;
constexpr double kAuKm = 149597869.0;

// Julian centuries from JD 2451545.0.
double Centuries(TDateTime day) { return (DayToJD(day) - 2451545.0) / 36525.0; }

bool IsJulianLeap(int year) { return year % 4 == 0; }

int MonthLength(int year, int month, bool julian) {
  static const int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && (julian ? IsJulianLeap(year) : IsLeapYear(year))) return 29;
  return kLengths[month - 1];
}

// fmod is exact, so a huge or odd input cannot leave a remainder that a loop would chase.
long double NormalizeLong(long double degrees) {
  long double x = std::fmod(degrees, 360.0L);
  if (x < 0) x += 360.0L;
  if (x >= 360.0L) x = 0;
  return x;
}

}  // namespace

double CalendarToJD(int year, int month, int day) {
  if (year < 1 || year > 9999) throw EConvertError("Invalid year");
  if (month < 1 || month > 12) throw EConvertError("Invalid month");
  const bool julian = year < 1582 || (year == 1582 && (month < 10 || (month == 10 && day < 15)));
  if (day < 1 || day > MonthLength(year, month, julian)) throw EConvertError("Invalid day");

  int y = year;
  int m = month;
  if (m <= 2) {
    y -= 1;
    m += 12;
  }
  const double jd = std::trunc(365.25 * (y + 4716)) + std::trunc(30.6001 * (m + 1)) + day - 1524.5;
  if (jd < kGregorianStartJD) return jd;
  const int a = y / 100;
  const double gregorian = jd + 2 - a + a / 4;
  if (gregorian < kGregorianStartJD) throw EConvertError("Date invalid due to calendar change");
  return gregorian;
}

TCalendarDate JDToCalendar(double jd) {
  if (std::isnan(jd)) throw EConvertError("Invalid julian date");
  if (jd < 0) throw EConvertError("Negative julian dates not supported");
  // Far beyond any calendar year we can name; keeps the arithmetic below in range.
  if (jd > 1e9) throw EConvertError("Invalid year");
  const double z = std::trunc(jd + 0.5);
  double a = z;
  if (jd >= kGregorianStartJD) {
    const double alpha = std::trunc((z - 1867216.25) / 36524.25);
    a = z + 1 + alpha - std::trunc(alpha / 4);
  }
  const double b = a + 1524;
  const double c = std::trunc((b - 122.1) / 365.25);
  const double d = std::trunc(365.25 * c);
  const double e = std::trunc((b - d) / 30.6001);
  TCalendarDate result;
  result.Day = static_cast<int>(b - d - std::trunc(30.6001 * e));
  result.Month = static_cast<int>(e < 14 ? e - 1 : e - 13);
  result.Year = static_cast<int>(result.Month > 2 ? c - 4716 : c - 4715);
  return result;
}

TDateTime CalendarToDay(int year, int month, int day) { return JDToDay(CalendarToJD(year, month, day)); }

double NormalizeDegrees(double degrees) { return static_cast<double>(NormalizeLong(degrees)); }

TNutation Nutation(TDateTime day) {
  const double T = Centuries(day);
  const double T2 = T * T;
  const double T3 = T2 * T;
  const double D = NormalizeDegrees(297.85036 + 445267.111480 * T - 0.0019142 * T2 + T3 / 189474);
  const double M = NormalizeDegrees(357.52772 + 35999.050340 * T - 0.0001603 * T2 - T3 / 300000);
  const double Mp = NormalizeDegrees(134.96298 + 477198.867398 * T + 0.0086972 * T2 + T3 / 56250);
  const double F = NormalizeDegrees(93.27191 + 483202.017538 * T - 0.0036825 * T2 + T3 / 327270);
  const double Om = NormalizeDegrees(125.04452 - 1934.136261 * T + 0.0020708 * T2 + T3 / 450000);
  double psi = 0;
  double eps = 0;
  // The first 31 rows: the rest change the result by less than 0.0003".
  for (int i = 0; i < 31; ++i) {
    const astro::TNutationRow& r = astro::kNutationRows[i];
    const double arg = (r.D * D + r.M * M + r.Mp * Mp + r.F * F + r.Om * Om) * kRad;
    psi += (r.PsiSin + r.PsiSinT * T) * std::sin(arg);
    eps += (r.EpsCos + r.EpsCosT * T) * std::cos(arg);
  }
  TNutation n;
  n.DeltaPsi = psi * 0.0001 / 3600;
  n.Obliquity = (84381.448 - 46.815 * T - 0.00059 * T2 + 0.001813 * T3 + eps * 0.0001) / 3600;
  return n;
}

double SiderealTime(TDateTime day) {
  const double jd = DayToJD(day);
  const double T = Centuries(day);
  const double theta0 =
      280.46061837 + 360.98564736629 * (jd - 2451545.0) + 0.000387933 * T * T - T * T * T / 38710000;
  const TNutation n = Nutation(day);
  return NormalizeDegrees(theta0 + n.DeltaPsi * std::cos(n.Obliquity * kRad));
}

void ToEquatorial(CelestialPos& pos, TDateTime day) {
  const TNutation n = Nutation(day);
  pos.Longitude = NormalizeLong(pos.Longitude + n.DeltaPsi);
  const double lambda = static_cast<double>(pos.Longitude) * kRad;
  const double beta = static_cast<double>(pos.Latitude) * kRad;
  const double eps = n.Obliquity * kRad;
  const double y = std::sin(lambda) * std::cos(eps) - std::tan(beta) * std::sin(eps);
  const double x = std::cos(lambda);
  double alpha = std::atan(y / x) / kRad;
  if (x < 0) alpha += 180;
  pos.RightAscension = alpha;
  pos.Declination =
      std::asin(std::sin(beta) * std::cos(eps) + std::cos(beta) * std::sin(eps) * std::sin(lambda)) / kRad;
}

CelestialPos SunPosition(TDateTime day) {
  TVSOPEarth earth;
  earth.SetDate(day);
  const long double L = earth.Longitude() * 180.0L / static_cast<long double>(kPi);
  const long double B = earth.Latitude() * 180.0L / static_cast<long double>(kPi);
  const long double R = earth.Radius();
  const double T = Centuries(day);

  CelestialPos pos;
  pos.Longitude = L + 180;
  pos.Latitude = -B;
  // FK5 correction in its geocentric form, once.
  const double lp = static_cast<double>(NormalizeLong(pos.Longitude - 1.397L * T - 0.00031L * T * T)) * kRad;
  pos.Longitude -= 0.09033L / 3600;
  pos.Latitude += 0.03916L / 3600 * (std::cos(lp) - std::sin(lp));
  // Aberration.
  pos.Longitude = NormalizeLong(pos.Longitude - 20.4898L / 3600 / R);
  pos.Distance = R * kAuKm;
  ToEquatorial(pos, day);
  return pos;
}

CelestialPos MoonPosition(TDateTime day) {
  const double T = Centuries(day);
  const double T2 = T * T;
  const double T3 = T2 * T;
  const double T4 = T3 * T;
  const double Lp = NormalizeDegrees(218.3164591 + 481267.88134236 * T - 0.0013268 * T2 + T3 / 538841 -
                                     T4 / 65194000);
  const double D = NormalizeDegrees(297.8502042 + 445267.1115168 * T - 0.0016300 * T2 + T3 / 545868 -
                                    T4 / 113065000);
  const double M = NormalizeDegrees(357.5291092 + 35999.0502909 * T - 0.0001536 * T2 + T3 / 24490000);
  const double Mp = NormalizeDegrees(134.9634114 + 477198.8676313 * T + 0.0089970 * T2 + T3 / 69699 -
                                     T4 / 14712000);
  const double F = NormalizeDegrees(93.2720993 + 483202.0175273 * T - 0.0034029 * T2 - T3 / 3526000 +
                                    T4 / 863310000);
  const double E = 1 - 0.002516 * T - 0.0000074 * T2;
  const double A1 = NormalizeDegrees(119.75 + 131.849 * T);
  const double A2 = NormalizeDegrees(53.09 + 479264.290 * T);
  const double A3 = NormalizeDegrees(313.45 + 481266.484 * T);

  auto eccentricity = [E](int m) {
    const int a = m < 0 ? -m : m;
    return a == 1 ? E : a == 2 ? E * E : 1.0;
  };
  double sl = 0;
  double sr = 0;
  double sb = 0;
  for (int i = 0; i < astro::kMoonRowCount; ++i) {
    const astro::TMoonLrRow& r = astro::kMoonLrRows[i];
    const double arg = (r.D * D + r.M * M + r.Mp * Mp + r.F * F) * kRad;
    const double e = eccentricity(r.M);
    sl += r.SigmaL * e * std::sin(arg);
    sr += r.SigmaR * e * std::cos(arg);
    const astro::TMoonBRow& b = astro::kMoonBRows[i];
    sb += b.SigmaB * eccentricity(b.M) * std::sin((b.D * D + b.M * M + b.Mp * Mp + b.F * F) * kRad);
  }
  sl += 3958 * std::sin(A1 * kRad) + 1962 * std::sin((Lp - F) * kRad) + 318 * std::sin(A2 * kRad);
  sb += -2235 * std::sin(Lp * kRad) + 382 * std::sin(A3 * kRad) + 175 * std::sin((A1 - F) * kRad) +
        175 * std::sin((A1 + F) * kRad) + 127 * std::sin((Lp - Mp) * kRad) - 115 * std::sin((Lp + Mp) * kRad);

  CelestialPos pos;
  pos.Longitude = NormalizeLong(Lp + sl / 1e6);
  pos.Latitude = sb / 1e6;
  pos.Distance = 385000.56 + sr / 1000;
  ToEquatorial(pos, day);
  return pos;
}

double PhaseAngle(TDateTime day) {
  const CelestialPos sun = SunPosition(day);
  const CelestialPos moon = MoonPosition(day);
  const double elongation = static_cast<double>(moon.Longitude - sun.Longitude);
  const double psi = std::acos(std::cos(static_cast<double>(moon.Latitude) * kRad) * std::cos(elongation * kRad));
  const double R = static_cast<double>(sun.Distance);
  const double delta = static_cast<double>(moon.Distance);
  double i = std::atan(R * std::sin(psi) / (delta - R * std::cos(psi))) / kRad;
  if (i < 0) i += 180;
  return NormalizeDegrees(elongation) > 180 ? -i : i;
}

double IlluminatedFraction(TDateTime day) { return (1 + std::cos(PhaseAngle(day) * kRad)) / 2; }

double MoonAge(TDateTime day) {
  const long double elongation = MoonPosition(day).Longitude - SunPosition(day).Longitude;
  return static_cast<double>(NormalizeLong(elongation)) / 360 * kSynodicMonth;
}

}  // namespace zentrix
