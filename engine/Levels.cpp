// Sound levels of the compact spectra: the A-weighted level of every block, and per output line
// the linear, A-, B- and C-weighted levels, the spectral centroid and the octave and
// third-octave band levels of the line's mean compact spectrum. Sums are of linear intensities
// (1.0 = 0 dB after calibration); levels are 10 log10 of the sums.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "engine/Conversions.h"
#include "engine/Convert.h"
#include "engine/Engine.h"
#include "engine/SpectrumWork.h"
#include "engine/Weighting.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

namespace {

// Start value of every sum: an empty sum reads -990 dB instead of minus infinity.
constexpr double kEmpty = 1e-99;

// Number of bins 1..n that exist in a compact array.
int ClampBins(int n) { return std::clamp(n, 0, COMPACT_SIZE - 1); }

using Gain = const WeightingGain& (BinWeightings::*)(int bin) const;

// Weighted intensity sum of bins 1..n of a compact spectrum whose bin levels are `level` (dB),
// with the weighting `gain` of each bin. A bin without energy adds nothing (its level is minus
// infinity, whatever the weighting).
double WeightedSum(const Compact& S, const Compact& level, int n, const BinWeightings& w,
                   Gain gain) {
    // The weighted levels of the bins with energy, their intensities at once, then the sum in
    // the order of the bins.
    std::array<double, COMPACT_SIZE> weighted{};
    int m = 0;
    for (int i = 1; i <= n; ++i)
        if (S[i] > 0) weighted[static_cast<std::size_t>(m++)] = (w.*gain)(i).Apply(level[i]);
    dB2I(weighted.data(), weighted.data(), static_cast<std::size_t>(m));
    double sum = kEmpty;
    for (int k = 0; k < m; ++k) sum += weighted[static_cast<std::size_t>(k)];
    return sum;
}

// The levels (dB) of the bins 1..n of S that hold energy; n is clamped to the bins that exist.
int BinLevels(const Compact& S, int n, Compact& level) {
    n = ClampBins(n);
    for (int i = 1; i <= n; ++i)
        if (S[i] > 0) level[i] = I2dB(S[i]);
    return n;
}

// The A-weighted level of bins 1..n of S on the grid F.
double ALevel(const Compact& S, const Compact& F, int n, BinWeightings& w) {
    Compact level;
    n = BinLevels(S, n, level);
    w.Prepare(F.data(), n);
    return I2dB(WeightedSum(S, level, n, w, &BinWeightings::A));
}

// Bands of equal relative width: centre = first x 2^(j / perOctave), edges rounded to whole Hz.
struct BandTable {
    int count;
    std::array<double, 22> lower{}, upper{};
    BandTable(double firstCentre, int perOctave, int bands) : count(bands) {
        const double half = std::pow(2.0, 0.5 / perOctave);
        for (int j = 0; j < bands; ++j) {
            const double centre = firstCentre * std::pow(2.0, static_cast<double>(j) / perOctave);
            lower[j] = static_cast<double>(RoundHalfEven(centre / half));
            upper[j] = static_cast<double>(RoundHalfEven(centre * half));
        }
    }
};

const BandTable& Octaves() {
    static const BandTable t(31.25, 1, 10);  // 31.25 Hz .. 16 kHz
    return t;
}

const BandTable& ThirdOctaves() {
    static const BandTable t(125.0, 3, 22);  // 125 Hz .. 16 kHz
    return t;
}

// Adds every bin 1..n to the band whose edges hold its centre frequency (lower <= F < upper, so
// a bin on an edge belongs to the upper band); bins below the first band or at or above the
// last band's upper edge are not used. Leaves band levels in dB.
void BandLevels(const Compact& S, const Compact& F, int n, const BandTable& t,
                std::vector<double>& out) {
    out.assign(static_cast<std::size_t>(t.count), kEmpty);
    int j = 0;
    for (int i = 1; i <= ClampBins(n); ++i) {
        while (j < t.count - 1 && F[i] >= t.upper[j]) ++j;
        if (F[i] >= t.lower[j] && F[i] < t.upper[j]) out[j] += S[i];
    }
    for (double& band : out) band = I2dB(band);
}

std::string Db3(double x) { return numeric::floatToStrF(x, 10, 3); }

}  // namespace

void Engine::CalculateLA() {
    RunState& s = S();
    Log("S", "CalculateLA");
    const std::string mode = host_.GetText("CurrentProcessingMode");
    SpectrumWork& w = Work();
    if (mode == "Standard") {
        s.LA = ALevel(s.CompactI, s.CompactF, s.DravolekSizeOfCompactSpectrum, w.pass1Weights);
        Log("D", "6192 CalculateLA LA, " + Db3(s.LA));
    } else if (mode == "Extended") {
        const int n108 = StrToInt(host_.GetText("MusicBinCount"));
        s.LA_Nordic108 =
            ALevel(s.CompactINewBins, s.CompactF_Nordic108, n108, w.nordic108Weights);
        Log("D", "6223 CalculateLA LA_Nordic108 " + Db3(s.LA_Nordic108));
        const int n121 = StrToInt(host_.GetText("QualityBinCount"));
        s.LA_Nordic121 =
            ALevel(s.DeepCompactINewBins, s.CompactF_Nordic121, n121, w.nordic121Weights);
        Log("D", "6242 CalculateLA LA_Nordic121, " + Db3(s.LA_Nordic121));
    }
    Log("E", "CalculateLA");
}

void Engine::CalculateLevels() {
    RunState& s = S();
    Log("S", "CalculateLevels");
    Log("D", " Calculate Oct_T using CompactI_T");
    Log("D", " Calculate ThirdOct_T using CompactI_T");
    const int n = ClampBins(s.DravolekSizeOfCompactSpectrum);

    s.Int_T = kEmpty;
    double moment = 0;  // sum of intensity x frequency in kHz
    for (int i = 1; i <= n; ++i) {
        s.Int_T += s.CompactI_T[i];
        moment += s.CompactI_T[i] * s.CompactF[i] / 1000;
    }
    // Each bin's level once, weighted three ways.
    Compact level;
    BinLevels(s.CompactI_T, n, level);
    BinWeightings& w = Work().pass1Weights;
    w.Prepare(s.CompactF.data(), n);
    s.IntA_T = WeightedSum(s.CompactI_T, level, n, w, &BinWeightings::A);
    s.IntB_T = WeightedSum(s.CompactI_T, level, n, w, &BinWeightings::B);
    s.IntC_T = WeightedSum(s.CompactI_T, level, n, w, &BinWeightings::C);
    s.SPL_T = I2dB(s.Int_T);
    s.LA_T = I2dB(s.IntA_T);
    s.LB_T = I2dB(s.IntB_T);
    s.LC_T = I2dB(s.IntC_T);
    s.Centroid_T = moment / s.Int_T * 1000;

    BandLevels(s.CompactI_T, s.CompactF, n, ThirdOctaves(), s.ThirdOct_T);
    BandLevels(s.CompactI_T, s.CompactF, n, Octaves(), s.Oct_T);
    Log("E", "CalculateLevels");
}

}  // namespace oxw::engine
