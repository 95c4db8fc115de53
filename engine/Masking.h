#pragma once
// Masking and tone levels above masking: the first stage of Terhardt's virtual-pitch model.
// For every tonal component of a block (frequency f in Hz, level L in dB) the masked threshold is
// made of three parts, added as intensities:
// - the masking by the other components, summed as amplitudes 10^(Lji / 20): a lower component j
//   reaches component i at Lji = Lj - (zj - zi) s dB with its upper slope
//   s = -24 - 0.23 / fj(kHz) + 0.2 Lj dB per Bark, a higher one at Lj - 27 (zj - zi) dB;
// - the noise of the FFT lines within half a Bark (intensity), the component's own line and the
//   two lines on each side of it left out;
// - the threshold in quiet.
// The level above masking LX (dB) gives the spectral-pitch weight
// WS = (1 - e^(-LX / 15)) (1 + 0.07 (f / 700 - 700 / f)^2)^(-1/2) (dimensionless, 0..1, the
// frequency factor 1 at 700 Hz) and, with pitch shifts, Terhardt's relative shift V of the
// spectral pitch FX = (1 + V) f (Hz).
#include <array>

#include "engine/RunState.h"

namespace oxw::engine {

// Bark values of the FFT lines 1..NCOMPS of a block of `points` lines (line j at j SR / points
// Hz), worked out once per block length.
class LineBarks {
public:
    const std::array<double, NCOMPS + 1>& For(int points);

private:
    int points_ = 0;
    std::array<double, NCOMPS + 1> bark_{};
};

// Intensity of the lines j = 1..NCOMPS with |z - lineBark[j]| <= 0.5 and |ref - j| > 2.
double NoiseNear(const Spectrum& Intensity, const std::array<double, NCOMPS + 1>& lineBark,
                 double z, double ref);

// Masking amplitudes at a component from the components below it (lo) and above it (hi); both
// start at 1e-10, so that their logarithms stay finite.
struct MaskingSums {
    double lo = 1e-10, hi = 1e-10;
};

// The working values of one block's components (entries 1..n): Bark values and upper slopes.
struct MaskingWork {
    LineBarks lines;
    std::array<double, MAXTONES> z{}, slope{};
    // Fills z and slope for components 1..n of the list (F in Hz, L in dB).
    void Prepare(const double* F, const double* L, int n);
    // The masking of component i by the other components 1..n.
    MaskingSums At(int i, int n, const double* L) const;
};

// Spectral-pitch weight of a component at f Hz, LX dB above its masked threshold.
double SpectralPitchWeight(double LX, double f);

// Terhardt's relative pitch shift of a component of level L dB at fk kHz under masking m:
// 0.0002 (L - 60)(fk - 2) + 0.015 e^(-LXlo / 20)(3 - ln fk) + 0.03 e^(-LXhi / 20)(0.36 + ln fk),
// LXlo and LXhi being L less the masking from below and from above (dB).
double RelativePitchShift(double L, double fk, const MaskingSums& m);

}  // namespace oxw::engine
