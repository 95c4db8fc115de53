// exp of four arguments at a time, kept only where it is the library's double.
//
// x = N ln 2 / 256 + r with |r| <= ln 2 / 512, so exp(x) = 2^(N >> 8) 2^(j / 256) exp(r),
// j = N & 255. The reduction is exact up to two roundings of r (below 2^-62 each), the polynomial
// of exp(r) - 1 stops below 2^-66, and the table holds 2^(j / 256) as hi + lo to about 2^-106:
// the value hi + s below lies within 2^-60 of the true one, at most 0.008 of the spacing of the
// doubles beside it. The library's exp is documented within 0.509 ulp, so within 0.009 of the
// spacing before its final rounding. Where our value lies farther than 1/32 of the spacing from
// the midpoints, nearly twice the two errors together, both round to the same double.
//
// This file is compiled without floating-point contraction: the fused multiply-adds below are
// the only ones, written out.
#include "engine/ExactExp.h"

#include <atomic>
#include <cmath>

#include "engine/LevelConversions.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace oxw::engine {

namespace {

constexpr double kMaxLaneArgument = 700;  // e^700 and e^-700 are normal doubles
constexpr double kRoundShift = 0x1.8p52;  // adding it rounds |v| < 2^51 to an integer
constexpr double kKeep = 0.5 - 1.0 / 32;  // kept within this share of the spacing of doubles

std::atomic<std::uint64_t> fallbacks{0};

#if defined(__x86_64__)
#define OXW_LANE [[gnu::target("avx2,fma"), gnu::always_inline]] inline

using V = __m256d;

OXW_LANE V Splat(double x) { return _mm256_set1_pd(x); }

// The constants of the lanes, kept in registers across a loop.
struct Lanes {
    V stepsPerUnit, step1, step2, step3, shift, c120, c24, c6, half, one, keepAbove, keepBelow,
        maxArgument, sign;
    const double* twoToJ;
};

OXW_LANE Lanes LanesOf(const ExpSteps& t) {
    return {Splat(t.stepsPerUnit), Splat(t.step1), Splat(t.step2), Splat(t.step3),
            Splat(kRoundShift), Splat(1.0 / 120), Splat(1.0 / 24), Splat(1.0 / 6), Splat(0.5),
            Splat(1.0), Splat(0x1p-52 * kKeep), Splat(0x1p-53 * kKeep),
            Splat(kMaxLaneArgument), Splat(-0.0), t.twoToJ};
}

// exp of the four lanes of x; bit j of the result: lane j is kept.
OXW_LANE int ExpLanes(V x, const Lanes& c, V& result) {
    // N = round(x 256 / ln 2), in the low bits of shifted and as an integer in n
    const V shifted = _mm256_fmadd_pd(x, c.stepsPerUnit, c.shift);
    const V minusN = _mm256_sub_pd(c.shift, shifted);
    const __m256i n =
        _mm256_sub_epi64(_mm256_castpd_si256(shifted), _mm256_castpd_si256(c.shift));
    // x - N step1 is exact (N step1 is a double within a factor 2 of x, or 0)
    const V r1 = _mm256_fmadd_pd(minusN, c.step1, x);
    const V r = _mm256_fmadd_pd(minusN, c.step3, _mm256_fmadd_pd(minusN, c.step2, r1));
    // exp(r) - 1 = r + r^2 (1/2 + r/6 + r^2/24 + r^3/120)
    const V q = _mm256_fmadd_pd(
        _mm256_fmadd_pd(_mm256_fmadd_pd(r, c.c120, c.c24), r, c.c6), r, c.half);
    const V p = _mm256_fmadd_pd(_mm256_mul_pd(r, r), q, r);
    // 2^(j / 256) = hi + lo of the four lanes, j = N & 255: lanes 0 and 2, 1 and 3 loaded together
    alignas(32) long long lane[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lane), n);
    const auto entry = [&](int k) { return _mm_loadu_pd(c.twoToJ + 2 * (lane[k] & 255)); };
    const V even = _mm256_set_m128d(entry(2), entry(0)), odd = _mm256_set_m128d(entry(3), entry(1));
    const V hi = _mm256_unpacklo_pd(even, odd), lo = _mm256_unpackhi_pd(even, odd);
    // (hi + lo)(1 + p) = hi + s; y is its double and d the rounding error of y (hi - y is exact)
    const V s = _mm256_fmadd_pd(hi, p, _mm256_fmadd_pd(lo, p, lo));
    const V y = _mm256_add_pd(hi, s);
    const V d = _mm256_add_pd(_mm256_sub_pd(hi, y), s);
    // y lies within 0.3 % of hi in [1, 2): the spacing is 2^-52 above 1, 2^-53 below; at 1 itself
    // the spacing differs on the two sides, and std::exp decides.
    const V limit = _mm256_blendv_pd(c.keepBelow, c.keepAbove,
                                     _mm256_cmp_pd(y, c.one, _CMP_GT_OQ));
    const V clear = _mm256_and_pd(_mm256_cmp_pd(_mm256_andnot_pd(c.sign, d), limit, _CMP_LT_OQ),
                                  _mm256_cmp_pd(y, c.one, _CMP_NEQ_OQ));
    const V inRange =
        _mm256_cmp_pd(_mm256_andnot_pd(c.sign, x), c.maxArgument, _CMP_LE_OQ);
    // times 2^(N >> 8), added to the exponent field: exact, the result being a normal double
    const __m256i twos = _mm256_and_si256(_mm256_slli_epi64(n, 44),
                                          _mm256_set1_epi64x(static_cast<long long>(0xfffULL << 52)));
    result = _mm256_castsi256_pd(_mm256_add_epi64(_mm256_castpd_si256(y), twos));
    return _mm256_movemask_pd(_mm256_and_pd(clear, inRange));
}

#undef OXW_LANE

[[gnu::target("avx2,fma")]] void ExpInLanes(const double* x, double* out, std::size_t n,
                                            const ExpSteps& t) {
    // The groups with lanes not kept are noted without a branch and finished afterwards, a
    // chunk at a time.
    constexpr std::size_t kChunk = 64;  // groups of four
    struct Group {
        std::size_t at;
        int kept;
    };
    Group left[kChunk];
    const Lanes c = LanesOf(t);
    std::uint64_t fellBack = 0;  // arguments within the lanes' range left to std::exp
    std::size_t i = 0;
    while (i + 4 <= n) {
        std::size_t count = 0;
        for (std::size_t g = 0; g < kChunk && i + 4 <= n; ++g, i += 4) {
            V e;
            const int kept = ExpLanes(_mm256_loadu_pd(x + i), c, e);
            _mm256_storeu_pd(out + i, e);
            left[count] = {i, kept};
            count += kept != 0xf;
        }
        for (std::size_t k = 0; k < count; ++k)
            for (int j = 0; j < 4; ++j) {
                const std::size_t at = left[k].at + static_cast<std::size_t>(j);
                if (left[k].kept >> j & 1) continue;
                out[at] = std::exp(x[at]);
                fellBack += std::fabs(x[at]) <= kMaxLaneArgument;
            }
    }
    for (; i < n; ++i) out[i] = std::exp(x[i]);
    if (fellBack > 0) fallbacks.fetch_add(fellBack, std::memory_order_relaxed);
}
#endif

}  // namespace

void Exp(const double* x, double* out, std::size_t n) {
#if defined(__x86_64__)
    const ExpSteps& t = SharedExpSteps();
    if (t.lanes) return ExpInLanes(x, out, n, t);
#endif
    for (std::size_t i = 0; i < n; ++i) out[i] = std::exp(x[i]);
}

std::uint64_t ExpFallbacks() { return fallbacks.load(std::memory_order_relaxed); }

}  // namespace oxw::engine
