#pragma once
// Exceedance percentiles of per-block values (A-weighted level in dB, loudness in sone, level
// difference between the channels in dB): the value exceeded by 1, 5, 10, 20, 50, 80 and 90 % of
// the blocks. Of E values sorted largest first, the p % value lies at rank p·E/100, read by
// linear interpolation between the two neighbouring ranks (the median of an even count is the
// mean of the two middle values). Also the descending sort behind them.
#include <functional>
#include <span>

namespace oxw::engine {

struct Exceedance {
    double p1 = 0, p5 = 0, p10 = 0, p20 = 0, p50 = 0, p80 = 0, p90 = 0;
};

// The percentiles of sorted[1..E] (largest first; sorted[0] is not used), E > 20. With fewer
// than 100 values the 1 % value is `maximum`.
Exceedance ExceedanceValues(std::span<const double> sorted, int E, double maximum);

// Sorts a[first..last] largest first, in place and not stable, in O(n log n) whatever the
// order of the values (NaNs included, which end up anywhere). As the sort moves on it calls
// reached(i): every entry before i is then in its final place; i never decreases and the last
// call is reached(last + 1).
void SortDescending(std::span<double> a, int first, int last,
                    const std::function<void(int)>& reached);

}  // namespace oxw::engine
