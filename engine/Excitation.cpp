#include "engine/Excitation.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "engine/Conversions.h"
#include "engine/Engine.h"
#include "engine/ExactExp.h"
#include "engine/HearingWork.h"
#include "numeric/Processor.h"

namespace oxw::engine {

namespace {

constexpr double kFloor = 1e-10;          // smallest filtered intensity (-100 dB)
constexpr double kP51At1k = 30.2012922;   // filter slope p at 1 kHz
constexpr double kReferenceLevel = 51.0;  // dB at which the lower skirt keeps the upper slope
constexpr double kMinSlope = 0.1;

// Slope of the roex filter at centre frequency f: 4 f / ERB(f).
double Slope(double f) { return 4 * f / ERBandwidth(f); }

// Weight (1 + p g) e^(-p g) of a roex filter at relative distance g >= 0 and slope p.
double Roex(double pg) { return (1 + pg) * std::exp(-pg); }

struct ErbGrid {
    ErbPattern Hz{}, p51{}, lowerShift{};  // lowerShift: 0.35 p51 / p51(1 kHz) per dB
    ErbGrid() {
        for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
            Hz[e] = Erb2Fq(e * ESTEP);
            p51[e] = Slope(Hz[e]);
            lowerShift[e] = 0.35 * (p51[e] / kP51At1k);
        }
    }
};

const ErbGrid& Grid() {
    static const ErbGrid grid;
    return grid;
}

// The lower skirt's exponent -p g of a tap at distance g from a grid point with slope p51 and
// lower shift, below a component of level L: p = max(p51 - shift (L - 51), 0.1).
double SkirtExponent(double p51, double shift, double L, double g) {
    return -(std::max(p51 - shift * (L - kReferenceLevel), kMinSlope) * g);
}

// The share (1 + p g) e^(-p g) I of a tap, from -p g and e^(-p g).
double SkirtShare(double skirt, double weight, double I) { return ((1 - skirt) * weight) * I; }

// The same for m taps at bins in a row (L, g, I side by side), four at a time in AVX2 lanes
// where the processor has it: the same operations on every tap (no fused multiply-add).
#if defined(__x86_64__)
[[gnu::target("avx2")]] int SkirtExponentsLanes(double p51, double shift, const double* L,
                                                const double* g, int m, double* skirt) {
    const __m256d slope = _mm256_set1_pd(p51), lowerShift = _mm256_set1_pd(shift);
    const __m256d reference = _mm256_set1_pd(kReferenceLevel);
    const __m256d minSlope = _mm256_set1_pd(kMinSlope), sign = _mm256_set1_pd(-0.0);
    int j = 0;
    for (; j + 4 <= m; j += 4) {
        const __m256d fall =
            _mm256_mul_pd(lowerShift, _mm256_sub_pd(_mm256_loadu_pd(L + j), reference));
        // max_pd(m, v) is m > v ? m : v, as std::max(v, m) is v < m ? m : v
        const __m256d p = _mm256_max_pd(minSlope, _mm256_sub_pd(slope, fall));
        const __m256d pg = _mm256_mul_pd(p, _mm256_loadu_pd(g + j));
        _mm256_storeu_pd(skirt + j, _mm256_xor_pd(pg, sign));
    }
    return j;
}

[[gnu::target("avx2")]] int SkirtSharesLanes(const double* skirt, const double* I, int m,
                                             double* share) {
    const __m256d one = _mm256_set1_pd(1.0);
    int j = 0;
    for (; j + 4 <= m; j += 4) {
        const __m256d rise = _mm256_sub_pd(one, _mm256_loadu_pd(skirt + j));
        const __m256d roex = _mm256_mul_pd(rise, _mm256_loadu_pd(share + j));
        _mm256_storeu_pd(share + j, _mm256_mul_pd(roex, _mm256_loadu_pd(I + j)));
    }
    return j;
}
#endif

void SkirtExponents(double p51, double shift, const double* L, const double* g, int m,
                    double* skirt) {
    int j = 0;
#if defined(__x86_64__)
    if (numeric::HasAvx2()) j = SkirtExponentsLanes(p51, shift, L, g, m, skirt);
#endif
    for (; j < m; ++j) skirt[j] = SkirtExponent(p51, shift, L[j], g[j]);
}

void SkirtShares(const double* skirt, const double* I, int m, double* share) {
    int j = 0;
#if defined(__x86_64__)
    if (numeric::HasAvx2()) j = SkirtSharesLanes(skirt, I, m, share);
#endif
    for (; j < m; ++j) share[j] = SkirtShare(skirt[j], share[j], I[j]);
}

}  // namespace

double ErbGridHz(int e) { return Grid().Hz[static_cast<std::size_t>(e)]; }

void RoexFilters::For(const Compact& F, int n) {
    n = std::clamp(n, 0, COMPACT_SIZE - 1);
    if (n == n_ && std::equal(F.begin() + 1, F.begin() + 1 + n, F_.begin() + 1)) return;
    n_ = n;
    F_ = F;
    roexStart_.assign(static_cast<std::size_t>(n + 2), 0);
    roex_.clear();
    for (int c = 1; c <= n; ++c) {
        roexStart_[static_cast<std::size_t>(c)] = static_cast<int>(roex_.size());
        const double p = Slope(F[c]);
        for (int i = 1; i <= n; ++i) {
            const double g = std::fabs((F[i] - F[c]) / F[c]);
            if (g <= 2) roex_.push_back({i, Roex(p * g)});
        }
    }
    roexStart_[static_cast<std::size_t>(n + 1)] = static_cast<int>(roex_.size());

    const ErbGrid& grid = Grid();
    lowerStart_.assign(SPECLOUD_SIZE + 1, 0);
    upperStart_.assign(SPECLOUD_SIZE + 1, 0);
    lowerBin_.clear();
    lowerG_.clear();
    upper_.clear();
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
        lowerStart_[static_cast<std::size_t>(e)] = static_cast<int>(lowerBin_.size());
        upperStart_[static_cast<std::size_t>(e)] = static_cast<int>(upper_.size());
        const double f = grid.Hz[e];
        for (int i = 1; i <= n; ++i) {
            const double g = (F[i] - f) / f;
            if (g >= 2) continue;  // no lower limit: every component below the centre counts
            if (g < 0) {
                lowerBin_.push_back(i);
                lowerG_.push_back(-g);
            } else {
                upper_.push_back({i, Roex(grid.p51[e] * g)});
            }
        }
    }
    lowerStart_[SPECLOUD_LAST + 1] = static_cast<int>(lowerBin_.size());
    upperStart_[SPECLOUD_LAST + 1] = static_cast<int>(upper_.size());
    lowerInARow_ = true;
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e)
        for (int k = lowerStart_[e] + 1; k < lowerStart_[e + 1]; ++k)
            lowerInARow_ = lowerInARow_ && lowerBin_[k] == lowerBin_[k - 1] + 1;
    skirt_.resize(lowerBin_.size());
    skirtShare_.resize(lowerBin_.size());
}

void RoexFilters::ComponentLevels(const Compact& I, double* RoexL) const {
    for (int c = 1; c <= n_; ++c) {
        double sum = 0;
        const Tap* end = roex_.data() + roexStart_[static_cast<std::size_t>(c + 1)];
        for (const Tap* t = roex_.data() + roexStart_[static_cast<std::size_t>(c)]; t != end; ++t)
            sum += t->value * I[static_cast<std::size_t>(t->bin)];
        RoexL[c] = I2dB(std::max(sum, kFloor));
    }
}

void RoexFilters::Excitation(const Compact& I, const double* RoexL, ErbPattern& Esig) const {
    const ErbGrid& grid = Grid();
    // The lower skirts' exponents -p g of the whole pattern, their exponentials at once, then
    // each tap's share (1 + p g) e^(-p g) I, which the grid points sum in the order of their taps.
    double* skirt = skirt_.data();
    double* share = skirtShare_.data();
    const int* bin = lowerBin_.data();
    const double* g = lowerG_.data();
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
        const auto ue = static_cast<std::size_t>(e);
        const double p51 = grid.p51[ue], shift = grid.lowerShift[ue];
        const int from = lowerStart_[ue], m = lowerStart_[ue + 1] - from;
        if (lowerInARow_)
            SkirtExponents(p51, shift, RoexL + (m > 0 ? bin[from] : 0), g + from, m, skirt + from);
        else
            for (int k = from; k < from + m; ++k)
                skirt[k] = SkirtExponent(p51, shift, RoexL[bin[k]], g[k]);
    }
    Exp(skirt, share, skirt_.size());
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
        const auto ue = static_cast<std::size_t>(e);
        const int from = lowerStart_[ue], m = lowerStart_[ue + 1] - from;
        if (lowerInARow_)
            SkirtShares(skirt + from, I.data() + (m > 0 ? bin[from] : 0), m, share + from);
        else
            for (int k = from; k < from + m; ++k)
                share[k] = SkirtShare(skirt[k], share[k], I[static_cast<std::size_t>(bin[k])]);
    }
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
        const auto ue = static_cast<std::size_t>(e);
        double sum = 0;
        for (int k = lowerStart_[ue]; k < lowerStart_[ue + 1]; ++k) sum += share[k];
        const Tap* end = upper_.data() + upperStart_[ue + 1];
        for (const Tap* t = upper_.data() + upperStart_[ue]; t != end; ++t)
            sum += t->value * I[static_cast<std::size_t>(t->bin)];
        Esig[ue] = std::max(sum, kFloor);
    }
}

void Engine::FindRoexComponentLevels() {
    Log("S", "FindRoexComponentLevels");
    Log("D", " Calculate RoexL using Intensity");
    for (HearingSet& set : Hearing().Sets(*this)) {
        set.roex.For(*set.F, set.n);
        set.roex.ComponentLevels(*set.CompInt, set.RoexL->data());
    }
    Log("E", "FindRoexComponentLevels");
}

void Engine::FindExcitation() {
    Log("S", "FindExcitation");
    Log("D", " Calculate Esig using variable intensity");
    for (HearingSet& set : Hearing().Sets(*this)) {
        set.roex.For(*set.F, set.n);
        set.roex.Excitation(*set.CompInt, set.RoexL->data(), *set.Esig);
    }
    Log("E", "FindExcitation");
}

}  // namespace oxw::engine
