#pragma once

#include "core/DateTime.h"
#include "core/Exceptions.h"

namespace zentrix {

// The Sun never rises or never sets that day (polar day or night).
class E_NoRiseSet : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

// An input the algorithm cannot turn into an answer (a year before its range, a search that
// finds no instant).
class E_OutOfAlgorithmRange : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

// Ecliptic longitude and latitude and equatorial right ascension and declination in degrees,
// distance in kilometres.
struct CelestialPos {
  long double Longitude = 0;
  long double Latitude = 0;
  long double Distance = 0;
  long double RightAscension = 0;
  long double Declination = 0;
};

enum class TMoonPhase {
  Newmoon,
  WaxingCrescrent,
  FirstQuarter,
  WaxingGibbous,
  Fullmoon,
  WaningGibbous,
  LastQuarter,
  WaningCrescent
};

struct TCalendarDate {
  int Year = 0;
  int Month = 0;
  int Day = 0;
};

struct TNutation {
  double DeltaPsi = 0;   // nutation in longitude, degrees
  double Obliquity = 0;  // true obliquity of the ecliptic, degrees
};

// Days since 1899-12-30 and Julian Days.
inline constexpr double kDayToJD = 2415018.5;
constexpr double DayToJD(TDateTime day) { return day + kDayToJD; }
constexpr TDateTime JDToDay(double jd) { return jd - kDayToJD; }

// Julian calendar before 15 October 1582, Gregorian from then on. Raise EConvertError.
double CalendarToJD(int year, int month, int day);
TCalendarDate JDToCalendar(double jd);
// The midnight of a calendar date as a day number (the same switch).
TDateTime CalendarToDay(int year, int month, int day);

// Reduces an angle into [0, 360).
double NormalizeDegrees(double degrees);

TNutation Nutation(TDateTime day);
// Apparent sidereal time at Greenwich, degrees.
double SiderealTime(TDateTime day);
// Adds the nutation in longitude and fills the right ascension and declination.
void ToEquatorial(CelestialPos& pos, TDateTime day);

// Apparent geocentric positions (day numbers are taken as dynamical time).
CelestialPos SunPosition(TDateTime day);
CelestialPos MoonPosition(TDateTime day);

// The Moon's phase angle in degrees, negative while waning.
double PhaseAngle(TDateTime day);
double IlluminatedFraction(TDateTime day);
// Days since the last new moon, from the elongation.
double MoonAge(TDateTime day);

}  // namespace zentrix
