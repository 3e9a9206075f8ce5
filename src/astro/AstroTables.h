#pragma once

// The published coefficient tables of the astronomy engine. AstroTables.cpp is generated from
// the tab-separated tables by gen/make_astro_tables.py and committed; the build never reads them.

namespace zentrix::astro {

// One VSOP87 term A·cos(B + C·t): A in 1e-8 rad or au, B in rad, C in rad per Julian millennium.
struct TVsopTermData {
  double A;
  double B;
  double C;
};

struct TVsopSeries {
  const TVsopTermData* Terms;
  int Count;
};

// VSOP87D Earth, powers 0 to 5 of t; the latitude has no power-5 series (Count 0).
extern const TVsopSeries kVsopEarthL[6];
extern const TVsopSeries kVsopEarthB[6];
extern const TVsopSeries kVsopEarthR[6];

// IAU 1980 nutation: multipliers of D, M, M', F, Omega; coefficients in 0.0001 arcsecond, the T
// parts per Julian century.
struct TNutationRow {
  int D, M, Mp, F, Om;
  double PsiSin, PsiSinT, EpsCos, EpsCosT;
};
inline constexpr int kNutationRowCount = 63;
extern const TNutationRow kNutationRows[kNutationRowCount];

// The Moon's periodic terms: sigma-l and sigma-b in 1e-6 degree, sigma-r in 0.001 km.
struct TMoonLrRow {
  int D, M, Mp, F;
  int SigmaL, SigmaR;
};
struct TMoonBRow {
  int D, M, Mp, F;
  int SigmaB;
};
inline constexpr int kMoonRowCount = 60;
extern const TMoonLrRow kMoonLrRows[kMoonRowCount];
extern const TMoonBRow kMoonBRows[kMoonRowCount];

// Coefficient · E^EPow · sin(m·M + mp·M' + f·F + om·Omega), in days.
struct TPhaseCorrection {
  double Coefficient;
  int EPow, M, Mp, F, Om;
};
struct TPhaseCorrections {
  const TPhaseCorrection* Terms;
  int Count;
};
extern const TPhaseCorrections kPhaseCorrectionsNew;
extern const TPhaseCorrections kPhaseCorrectionsFull;
extern const TPhaseCorrections kPhaseCorrectionsQuarter;

// Coefficient · sin(A0 + A1·k + A2·T²), in days.
struct TPlanetaryCorrection {
  double Coefficient, A0, A1, A2;
};
inline constexpr int kPlanetaryCorrectionCount = 14;
extern const TPlanetaryCorrection kPlanetaryCorrections[kPlanetaryCorrectionCount];

}  // namespace zentrix::astro
