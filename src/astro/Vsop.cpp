#include "astro/Vsop.h"

#include <cmath>

#include "astro/AstroTables.h"

namespace zentrix {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kArcsecond = kPi / (180.0L * 3600.0L);

TVSOPTerm TermOf(const astro::TVsopSeries* series, int index, int power) {
  if (power < 0 || power > 5 || index < 0 || index >= series[power].Count) return {};
  const astro::TVsopTermData& t = series[power].Terms[index];
  return {t.A, t.B, t.C};
}

}  // namespace

long double TVSOP::Millennia() const { return (static_cast<long double>(FDate) - 36526.5L) / 365250.0L; }

bool TVSOP::Table(TSeries, int, TSeriesTable&) const { return false; }

long double TVSOP::Sum(TSeries series, TTermFn term) const {
  const long double t = Millennia();
  const double td = static_cast<double>(t);
  long double result = 0;
  long double tp = 1;
  for (int power = 0; power <= 5; ++power) {
    // The cosines are taken in double, whose argument error stays far below the terms' own
    // accuracy; the powers of t and the total in extended precision.
    double sum = 0;
    TSeriesTable table;
    if (Table(series, power, table)) {
      for (int index = 0; index < table.Count; ++index) {
        const astro::TVsopTermData& x = table.Terms[index];
        sum += x.A * std::cos(x.B + x.C * td);
      }
    } else {
      // Each series ends with its first all-zero term. The end is recognised by the term
      // itself, not by its contribution: for a NaN date every contribution is NaN and the sum
      // would never end.
      for (int index = 0;; ++index) {
        const TVSOPTerm x = (this->*term)(index, power);
        if (x.A == 0) break;
        sum += static_cast<double>(x.A) * std::cos(static_cast<double>(x.B) + static_cast<double>(x.C) * td);
      }
    }
    result += sum * tp;
    tp *= t;
  }
  return result * 1e-8L;
}

long double TVSOP::Longitude() const { return Sum(TSeries::serLongitude, &TVSOP::LongitudeTerm); }
long double TVSOP::Latitude() const { return Sum(TSeries::serLatitude, &TVSOP::LatitudeTerm); }
long double TVSOP::Radius() const { return Sum(TSeries::serRadius, &TVSOP::RadiusTerm); }

void TVSOP::DynamicToFK5(long double& longitude, long double& latitude) const {
  const long double T = 10 * Millennia();
  const long double l = longitude - (1.397L * T + 0.00031L * T * T) * kPi / 180;
  const long double c = std::cos(l);
  const long double s = std::sin(l);
  longitude += (-0.09033L + 0.03916L * (c + s) * std::tan(latitude)) * kArcsecond;
  latitude += 0.03916L * (c - s) * kArcsecond;
}

TVSOPTerm TVSOPEarth::LongitudeTerm(int index, int power) const { return TermOf(astro::kVsopEarthL, index, power); }
TVSOPTerm TVSOPEarth::LatitudeTerm(int index, int power) const { return TermOf(astro::kVsopEarthB, index, power); }
TVSOPTerm TVSOPEarth::RadiusTerm(int index, int power) const { return TermOf(astro::kVsopEarthR, index, power); }

bool TVSOPEarth::Table(TSeries series, int power, TSeriesTable& table) const {
  const astro::TVsopSeries* all = series == TSeries::serLongitude ? astro::kVsopEarthL
                                  : series == TSeries::serLatitude ? astro::kVsopEarthB
                                                                   : astro::kVsopEarthR;
  if (power < 0 || power > 5) return false;
  table.Terms = all[power].Terms;
  table.Count = all[power].Count;
  return true;
}

}  // namespace zentrix
