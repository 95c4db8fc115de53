#pragma once
// Virtual pitch and the compound pitch pattern: the second stage of Terhardt's virtual-pitch
// model. The strongest audible components (by spectral-pitch weight WS; every one down to the
// first below 70 % of the strongest) are bases; base i at subharmonic m (1..12) has the virtual
// pitch FX_i / m (Hz), with pitch shifts also shifted by Terhardt's rule, and the weight
//   VW = sum over the other components j of sqrt(WS_i WS_j / (m n)) (1 - gamma / 0.08)
//        / (1 + (FX_i(kHz) / 0.8 / m)^4),
// where n is the harmonic of FX_i / m nearest to FX_j (n <= 20) and gamma = |n FX_i / (m FX_j) - 1|
// its mistuning (within 0.08). The compound pattern holds the spectral pitches of weight
// WS >= 0.2 at half their weight and the virtual pitches of weight >= 0.1 below 500 Hz, never
// merged; it is then sorted by weight, heaviest first. Weights are dimensionless.
#include "engine/RunState.h"

namespace oxw::engine {

// MaxPitches of components sorted by weight (WS[1..n], n >= 1): the first k that is n or whose
// weight falls below 70 % of WS[1].
int BaseCount(const double* WS, int n);

// Coincidence weight of base i at subharmonic m with the other components 1..n (before the
// factor of the base's height).
double Coincidence(int i, int m, const double* WS, const double* FX, int n);

// The virtual pitch (Hz) of base FX (Hz) at subharmonic m; with pitch shifts, shifted by the
// base's relative shift V and Terhardt's subharmonic term.
double VirtualPitchOf(double FX, double V, int m, bool pitchShift);

}  // namespace oxw::engine
