#pragma once

#include <string>

#include "astro/Moon.h"
#include "core/InterfaceTexts.h"

namespace zentrix {

// The phase's display name ("mp_0" ... "mp_7"), or an empty text for a value outside 0 to 7.
std::string MoonPhaseName(int phase, const TInterfaceTexts& texts);

// The instant of the phase nearest `day` (the principal phases from the mean lunation and its
// corrections, the others by iterating on the Moon's age); 0 for a phase outside 0 to 7.
// The age iteration raises E_OutOfAlgorithmRange when it does not settle.
TDateTime PhaseInstant(int phase, TDateTime day);
// The first instant of the phase at or after / at or before `day`. Raise E_OutOfAlgorithmRange.
TDateTime PhaseAtOrAfter(int phase, TDateTime day);
TDateTime PhaseAtOrBefore(int phase, TDateTime day);

// Universal time of sunrise and sunset on the day of `day`; longitude positive west. Raise
// E_NoRiseSet on polar days and nights.
TDateTime SunriseTime(double longitudeWest, double latitude, TDateTime day);
TDateTime SunsetTime(double longitudeWest, double latitude, TDateTime day);

// When the Sun's apparent longitude reaches 15·n degrees (n = 0 to 23) in `year`.
TDateTime SolarLongitudeTime(int year, int n);
// 0 = winter solstice (December), 1 = spring equinox, 2 = summer solstice, 3 = autumn equinox.
TDateTime SeasonStart(int year, int season);

// The first major solar term at or after `day`, and the last one before it.
TDateTime MajorTermAfter(TDateTime day);
TDateTime MajorTermBefore(TDateTime day);

}  // namespace zentrix
