#pragma once
// The pairwise sensory-dissonance models shared by the spectral and the tone dissonance: the
// Hutchinson-Knopoff rating (Plomp and Levelt's consonance curve over the critical bandwidth,
// amplitude-weighted) and the Sethares rating (a difference of two exponentials in the frequency
// distance, level-weighted). Frequencies in Hz, levels in dB.
#include <algorithm>
#include <cmath>

#include "engine/Conversions.h"

namespace oxw::engine::dissonance {

// Critical bandwidth (Hz) at the mean frequency m of a pair: 1.72 m^0.65.
inline double CriticalBandwidth(double m) { return 1.72 * std::pow(m, 0.65); }

// Distance of two partials in critical bandwidths: |f1 - f2| / CBW((f1 + f2) / 2).
inline double PairDistance(double f1, double f2) {
    return std::fabs(f1 - f2) / CriticalBandwidth((f1 + f2) / 2);
}

// Dissonance of a pair x critical bandwidths apart: a fifth-order fit of Plomp and Levelt's
// curve, held at 1 near its maximum (x = 0.217 .. 0.264, a quarter of a critical band) and 0
// from 1.2 on; 0.005012466409 at x = 0.
inline double HKCurve(double x) {
    if (!(x < 1.2)) return 0.0;
    const double x2 = x * x, x3 = x2 * x;
    const double g = 5.439061859 * (x3 * x2) - 25.24247636 * (x2 * x2) + 44.07577904 * x3 -
                     34.4678618 * x2 + 10.2345604 * x + 0.005012466409;
    return std::min(g, 1.0);
}

// Squared amplitude weight of a partial: its intensity above the threshold in quiet, scaled so
// that 40 dB above threshold gives 1.
inline double AmplitudeSquared(double levelDb, double Hz) {
    return dB2I(levelDb - Threshold(Hz)) / 10000;
}

// Sethares weight of a partial from its squared amplitude weight: its level in dB over
// `factor`, 0 below 40 dB above threshold.
inline double SetharesWeight(double amplitudeSquared, double factor) {
    return std::max(I2dB(amplitudeSquared + 1E-32) / factor, 0.0);
}

// Sethares scale of the lower partial of a pair at Hz: 0.24 / (0.0207 Hz + 18.96).
inline double SetharesScale(double Hz) { return 0.24 / (0.0207 * Hz + 18.96); }

// Sethares dissonance of a pair at distance d Hz with scale s: e^(-3.5 s d) - e^(-5.75 s d),
// greatest at s d = ln(5.75 / 3.5) / 2.25.
inline double SetharesTerm(double s, double d) {
    return std::exp(-3.5 * s * d) - std::exp(-5.75 * s * d);
}

}  // namespace oxw::engine::dissonance
