#pragma once
// Spectral dissonance of a block: every bin of a compact spectrum is a partial, rated pairwise
// by the Hutchinson-Knopoff and the Sethares models (engine/DissonanceCurves.h). Bin i pairs
// with bins j = i .. n - 1 (itself included, each unordered pair once); the Hutchinson-Knopoff
// rating is the amplitude-weighted mean of the curve (no factor of one half), the Sethares
// rating the plain sum with weights of level / 100. Both are dimensionless.
//
// Pair distances, curve values, Sethares terms and threshold factors depend only on the bin
// grid: they are worked out once per grid, leaving a few multiply-adds per pair and block.
#include <vector>

#include "engine/RunState.h"

namespace oxw::engine {

// Divisor that turns a bin's level into its Sethares weight.
inline constexpr double kSpectralSetharesFactor = 100.0;

struct DissonanceRating {
    double S = 0, HK = 0;
    double lastX = 0, lastG = 0;  // distance and curve value of the last pair rated
};

class DissonancePairs {
public:
    // Rebuilds the pair factors when the grid (bins 1..n at centre frequencies F) changes.
    void For(const Compact& F, int n);
    // Rates bins 1..n of the intensities I (1.0 = 0 dB; a bin without energy reads 0 dB).
    DissonanceRating Rate(const Compact& I) const;

private:
    struct Pair {
        int j;
        double value;
    };
    int n_ = -1;
    Compact F_{};
    Compact threshold_{};  // dB2I(-Threshold(F[i])) / 10000: the amplitude weight of 0 dB
    // Curve values of bin i with j = i .., where not 0: curve_[curveStart_[i] .. [i + 1]).
    std::vector<int> curveStart_;
    std::vector<Pair> curve_;
    // Sethares terms of bin i with j = i .. n - 1: sethares_[setharesStart_[i] + j - i].
    std::vector<int> setharesStart_;
    std::vector<double> sethares_;
    DissonanceRating empty_;  // distance and curve of the last pair, for every spectrum
};

}  // namespace oxw::engine
