// A sum rounded at every step in order equals the unrounded sum of its terms rounded to the
// unit of the running sum, as long as the running sum stays in one binade [2^e, 2^(e+1)) and no
// term lies exactly halfway between two multiples of that unit (where the rounding of each step
// would look at the sum's last bit). Such a run of terms can be summed in any order: their
// rounded values are multiples of the unit whose sum is exact. PowerSum takes runs of 64 terms
// that way, four at a time, and adds a run term by term where a term or the sum does not allow
// it. This file is compiled without floating-point contraction.
#include "engine/PowerSums.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "numeric/Processor.h"

namespace oxw::engine {

namespace {

// v^2 / 1e6 for every magnitude of a 16-bit sample.
const std::array<double, 32769>& SquaresOverMillion() {
    static const auto table = [] {
        std::array<double, 32769> t{};
        for (int v = 0; v <= 32768; ++v)
            t[static_cast<std::size_t>(v)] = v * static_cast<double>(v) / 1e6;
        return t;
    }();
    return table;
}

double InOrder(const int* samples, int from, int to, double sum) {
    const std::array<double, 32769>& square = SquaresOverMillion();
    for (int i = from; i < to; ++i) sum += square[static_cast<std::size_t>(std::abs(samples[i]))];
    return sum;
}

constexpr int kRun = 64;

#if defined(__x86_64__)
using V = __m256d;

// The terms of samples p[0..3]: the quotient of the exact square by 1e6, corrected once by its
// exact remainder, which gives the correctly rounded quotient for every 16-bit sample (the
// tests compare all of them with the table).
[[gnu::target("avx2,fma"), gnu::always_inline]] inline V Terms(const int* p) {
    const V v = _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    const V square = _mm256_mul_pd(v, v);
    const V inverse = _mm256_set1_pd(1.0 / 1e6);
    const V q = _mm256_mul_pd(square, inverse);
    const V remainder = _mm256_fnmadd_pd(q, _mm256_set1_pd(1e6), square);
    return _mm256_fmadd_pd(remainder, inverse, q);
}

// The terms of samples[0..kRun) each rounded to a multiple of unit (half to even), summed; false
// when a term lies halfway between two multiples or is not below 2^51 units (where adding and
// taking away 1.5 2^52 units would not round it to the unit). The sum is exact when it lies below
// 2^53 units, and not below that when the exact one is not. No term reaches 32768^2 / 1e6 < 2^11:
// from a unit of 2^-40 on, the limit need not be checked.
template <bool kLimit>
[[gnu::target("avx2,fma")]] bool RoundedRun(const int* samples, double unit, double& sum) {
    const V shift = _mm256_set1_pd(0x1.8p52 * unit), half = _mm256_set1_pd(0.5 * unit);
    const V limit = _mm256_set1_pd(0x1p51 * unit), sign = _mm256_set1_pd(-0.0);
    V total = _mm256_setzero_pd(), refused = _mm256_setzero_pd();
    for (int i = 0; i < kRun; i += 4) {
        const V t = Terms(samples + i);
        const V r = _mm256_sub_pd(_mm256_add_pd(t, shift), shift);
        refused = _mm256_or_pd(
            refused, _mm256_cmp_pd(_mm256_andnot_pd(sign, _mm256_sub_pd(t, r)), half, _CMP_EQ_OQ));
        if constexpr (kLimit) refused = _mm256_or_pd(refused, _mm256_cmp_pd(t, limit, _CMP_GE_OQ));
        total = _mm256_add_pd(total, r);
    }
    const __m128d pair = _mm_add_pd(_mm256_castpd256_pd128(total), _mm256_extractf128_pd(total, 1));
    sum = _mm_cvtsd_f64(_mm_add_sd(pair, _mm_unpackhi_pd(pair, pair)));
    return _mm256_movemask_pd(refused) == 0;
}

[[gnu::target("avx2,fma")]] void StoreTerms(const int* p, double* out) {
    _mm256_storeu_pd(out, Terms(p));
}

bool LanesAvailable() {
    static const bool available = numeric::HasAvx2() && numeric::HasFma();
    return available;
}
#endif

}  // namespace

double PowerSumInOrder(const int* samples, int n) { return InOrder(samples, 0, n, 0.0); }

double PowerSum(const int* samples, int n) {
#if defined(__x86_64__)
    if (!LanesAvailable()) return PowerSumInOrder(samples, n);
    double sum = 0;
    int i = 0;
    while (i < n) {
        const int end = std::min(i + kRun, n);
        // The sum's binade [2^e, 2^(e+1)) and its unit 2^(e-52), for a normal sum.
        const double binade = std::bit_cast<double>(std::bit_cast<std::uint64_t>(sum) &
                                                    (std::uint64_t{0x7ff} << 52));
        const double unit = binade * 0x1p-52;
        double run;
        if (end - i == kRun && binade >= 0x1p-900 &&
            (unit >= 0x1p-40 ? RoundedRun<false>(samples + i, unit, run)
                             : RoundedRun<true>(samples + i, unit, run)) &&
            sum + run < 2 * binade) {
            sum += run;  // exact
        } else {
            sum = InOrder(samples, i, end, sum);
        }
        i = end;
    }
    return sum;
#else
    return PowerSumInOrder(samples, n);
#endif
}

void LaneSquaresOverMillion(double* out) {
#if defined(__x86_64__)
    if (!LanesAvailable()) return;
    std::vector<int> v(32772, 0);
    for (int i = 0; i <= 32768; ++i) v[static_cast<std::size_t>(i)] = i;
    double last[4];
    for (int i = 0; i <= 32768; i += 4) StoreTerms(v.data() + i, i + 4 <= 32769 ? out + i : last);
    out[32768] = last[0];
#else
    (void)out;
#endif
}

}  // namespace oxw::engine
