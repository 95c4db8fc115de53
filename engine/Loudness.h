#pragma once
// Specific loudness and loudness after Moore, Glasberg and Baer (1997): the excitation on the
// ERB-number grid (intensity) becomes specific loudness N' = C ((G E + A)^alpha - A^alpha) in
// sone per ERB for both ears (with C = 0.047, a reduced value near threshold and a square-root
// law above 100 dB), and the loudness in sone is its integral over 2 to 39 ERB. Below 500 Hz the
// threshold excitation, gain and exponents follow the rise of the threshold in quiet.
// A 1 kHz tone at 40 dB in a free field gives about 1 sone.
#include "engine/Excitation.h"

namespace oxw::engine {

// The out-of-range marker of the loudness (sone): values of 1079 sone and above.
inline constexpr double kLoudnessOutOfRange = 9999.9;

// The model's parameters at Hz: threshold excitation (intensity), gain G, A and alpha; fixed
// from 500 Hz up (2.31, 1, 4.62, 0.2), below following the threshold in quiet.
struct LoudnessParameters {
    double Ethrq, G, A, alpha;
};
LoudnessParameters LoudnessParametersAt(double Hz);

// Specific loudness (sone per ERB, both ears) of excitation Es at grid index e.
double SpecificLoudness(int e, double Es);

// SpecLoud[e] for e = 8..156 from the excitation; returns the loudness in sone (9999.9 when 1079
// or more).
double LoudnessOf(const ErbPattern& Esig, double* SpecLoud);

}  // namespace oxw::engine
