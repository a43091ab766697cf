#pragma once
// Twips: 1440 to the inch, the unit of margins and picture sizes.

#include <QtGlobal>

inline constexpr double kTwipsPerMm = 56.692913385827;

// Whole twips, to the nearest.
inline int MmToTwips(double mm) { return qRound(mm * kTwipsPerMm); }
inline double TwipsToMm(double twips) { return twips / kTwipsPerMm; }
