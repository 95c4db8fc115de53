#pragma once
// Excitation pattern after Moore and Glasberg's rounded-exponential (roex) auditory filters.
// Component levels: the level (dB) that a roex filter centred on each compact bin passes of the
// block's ear-filtered spectrum. Excitation: the intensity a roex filter centred on each point
// of the ERB-number grid (2 to 39 ERB in steps of 0.25) passes, with a lower skirt that flattens
// as the level of the component below the centre rises (51 dB at 1 kHz keeps the upper slope).
// Intensities are the calibrated intensities of the block spectrum (1.0 = 0 dB).
//
// The filter weights depend only on the bin grid, so they are worked out once per grid; per
// block only the lower skirts of the excitation, which follow the component levels, need an
// exponential.
#include <vector>

#include "engine/RunState.h"

namespace oxw::engine {

// Excitation values on the ERB grid, indexed by grid index e = 8..156 (ERB number e x ESTEP).
using ErbPattern = std::array<double, SPECLOUD_SIZE>;

// Centre frequency (Hz) of grid index e.
double ErbGridHz(int e);

class RoexFilters {
public:
    // Rebuilds the weights when the grid (bins 1..n at centre frequencies F) changes.
    void For(const Compact& F, int n);
    int Bins() const { return n_; }

    // RoexL[c], c = 1..n: I2dB of the filtered intensity, at least 1e-10 (-100 dB).
    void ComponentLevels(const Compact& I, double* RoexL) const;
    // Esig[e], e = 8..156: the excitation (intensity), at least 1e-10.
    void Excitation(const Compact& I, const double* RoexL, ErbPattern& Esig) const;

private:
    struct Tap {
        int bin;
        double value;  // a weight, or |g| on a lower skirt
    };
    int n_ = -1;
    Compact F_{};
    // Component filters: the taps of filter c are roex_[roexStart_[c] .. roexStart_[c + 1]).
    std::vector<int> roexStart_;
    std::vector<Tap> roex_;
    // Excitation filters of grid index e: lower-skirt taps k = lowerStart_[e] .. at bins
    // lowerBin_[k] and distances |g| = lowerG_[k], then fixed upper-skirt weights
    // upper_[upperStart_[e] ..).
    std::vector<int> lowerStart_, upperStart_;
    std::vector<int> lowerBin_;
    bool lowerInARow_ = true;  // every grid point's lower-skirt bins follow each other
    std::vector<double> lowerG_;
    std::vector<Tap> upper_;
    // Work space of Excitation: the lower skirts' exponents -p g, tap by tap, and their shares.
    mutable std::vector<double> skirt_, skirtShare_;
};

}  // namespace oxw::engine
