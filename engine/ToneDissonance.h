#pragma once
// Tone dissonance of a block: the tonal components of a tone list rated pairwise by the
// Hutchinson-Knopoff and the Sethares models (engine/DissonanceCurves.h). Every ordered pair
// counts, each tone with itself included; the Hutchinson-Knopoff rating is half the
// amplitude-weighted mean of the curve, the Sethares rating the full double sum with weights of
// level / 20, each pair scaled by its first tone. Both are dimensionless; 0 for fewer than two
// tones.
#include <array>

#include "engine/RunState.h"

namespace oxw::engine {

// Divisor that turns a tone's level into its Sethares weight.
inline constexpr double kToneSetharesFactor = 20.0;

// Working values per tone, kept so that a block allocates nothing.
struct ToneDissonanceWork {
    std::array<double, MAXTONES> A{}, w{}, s{}, reach{};
};

struct ToneDissonanceRating {
    double S = 0, HK = 0;
};

// Rates tones 1..n of the list (frequencies F in Hz, levels L in dB); n is limited to
// MAXTONES - 1.
ToneDissonanceRating RateTones(const double* F, const double* L, int n, ToneDissonanceWork& work);

}  // namespace oxw::engine
