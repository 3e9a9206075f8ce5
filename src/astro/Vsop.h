#pragma once

#include "astro/AstroTables.h"
#include "core/DateTime.h"

namespace zentrix {

// One term of a VSOP87 series: A·cos(B + C·t), A in 1e-8 (rad or au).
struct TVSOPTerm {
  long double A = 0;
  long double B = 0;
  long double C = 0;
};

// A body's heliocentric ecliptic coordinates of date from the VSOP87 series (version D). A
// subclass supplies the terms; the sums are taken in extended precision because the longitude
// grows to tens of thousands of radians far from 2000, which a double would blur.
class TVSOP {
public:
  virtual ~TVSOP() = default;

  void SetDate(TDateTime day) { FDate = day; }
  TDateTime Date() const { return FDate; }

  // Radians, radians, astronomical units.
  long double Longitude() const;
  long double Latitude() const;
  long double Radius() const;

  // Heliocentric coordinates (radians) converted to the FK5 frame.
  void DynamicToFK5(long double& longitude, long double& latitude) const;

  // The index-th term of the series of the given power, or all zeros past its end.
  virtual TVSOPTerm LongitudeTerm(int index, int power) const = 0;
  virtual TVSOPTerm LatitudeTerm(int index, int power) const = 0;
  virtual TVSOPTerm RadiusTerm(int index, int power) const = 0;

protected:
  // Julian millennia from 2000-01-01 12:00.
  long double Millennia() const;

  // A subclass whose series sit in plain tables may hand them out; the sums then read them
  // directly instead of making one virtual call per term, which halves the cost of a position.
  struct TSeriesTable {
    const astro::TVsopTermData* Terms = nullptr;
    int Count = 0;
  };
  enum class TSeries { serLongitude, serLatitude, serRadius };
  virtual bool Table(TSeries series, int power, TSeriesTable& table) const;

private:
  using TTermFn = TVSOPTerm (TVSOP::*)(int, int) const;
  long double Sum(TSeries series, TTermFn term) const;

  TDateTime FDate = 0;
};

// The Earth, with the complete VSOP87D series (2,425 terms).
class TVSOPEarth : public TVSOP {
public:
  TVSOPTerm LongitudeTerm(int index, int power) const override;
  TVSOPTerm LatitudeTerm(int index, int power) const override;
  TVSOPTerm RadiusTerm(int index, int power) const override;

protected:
  bool Table(TSeries series, int power, TSeriesTable& table) const override;
};

}  // namespace zentrix
