// Intensity <-> level: the extended-precision result, as a rule without its library calls.
//
// The extended path rounds twice: the libm result and the product to 64 bits, then to 53 bits.
// The fast paths compute the exact value to about 2^-68 relative; libm's logl and expl are
// within about one 64-bit ulp (2^-63), so the extended path's 64-bit value lies within 2^-61 of
// the exact one. When the fast value is farther than 2^-59 from every midpoint between adjacent
// doubles, both round to the same double; otherwise the extended path decides.
//
// This file is compiled without floating-point contraction: the exact sums and products below
// depend on every operation being rounded on its own.
#include "engine/LevelConversions.h"

#include "engine/Conversions.h"
#include "numeric/Processor.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <limits>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace oxw::engine {

namespace {
using ld = long double;
__extension__ typedef __float128 quad;

constexpr ld kTenOverLn10 = 4.342944819032518L;  // 10 / ln 10
constexpr ld kLn10 = 2.302585092994045684L;
// kLn10 as hi + lo, exactly (64 bits = 53 + 11).
constexpr double kLn10Hi = static_cast<double>(kLn10);
constexpr double kLn10Lo = static_cast<double>(kLn10 - kLn10Hi);
// kTenOverLn10 as hi + lo, exactly (64 bits = 53 + 11).
constexpr double kKHi = static_cast<double>(kTenOverLn10);
constexpr double kKLo = static_cast<double>(kTenOverLn10 - kKHi);

constexpr std::uint64_t kMantissa = (std::uint64_t{1} << 52) - 1;
constexpr std::uint64_t kOneBits = std::uint64_t{1023} << 52;
constexpr std::uint64_t kHead26 = ~((std::uint64_t{1} << 27) - 1);  // sign, exponent, 25 bits
constexpr double kMidpointMargin = 0x1p-59;  // relative
constexpr double kRoundShift = 0x1.8p52;     // adding it rounds |v| < 2^51 to an integer
constexpr int kTableBits = 8;
constexpr int kTableSize = 1 << kTableBits;
constexpr double kMaxFastdB = 3000;  // |ln 10 dB / 10| <= 690.8: a normal double either way

std::atomic<std::uint64_t> fallbacks{0};

struct DD {
    double hi, lo;
};
// The lanes load an entry's hi and lo as one pair, and SharedExpSteps hands the exp2 table out
// as 2 j + 0 / 1.
static_assert(sizeof(DD) == 2 * sizeof(double));

[[gnu::always_inline]] inline DD TwoSum(double a, double b) {
    const double s = a + b;
    const double bv = s - a;
    return {s, (a - (s - bv)) + (b - bv)};
}

[[gnu::always_inline]] inline DD Veltkamp(double a) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double hi = c - (c - a);
    return {hi, a - hi};
}

// The arithmetic of the fast paths in two builds: with the processor's fused multiply-add, and
// without it (Dekker's exact product) for processors that lack it.
template <bool kFma>
struct Arith {
    // a * b + c, rounded once or twice
    [[gnu::always_inline]] static double Mad(double a, double b, double c) {
        if constexpr (kFma) return std::fma(a, b, c);
        return a * b + c;
    }
    // a * b = hi + lo exactly
    [[gnu::always_inline]] static DD TwoProd(double a, double b) {
        const double p = a * b;
        if constexpr (kFma) return {p, std::fma(a, b, -p)};
        const DD x = Veltkamp(a), y = Veltkamp(b);
        return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
    }
    // m s - 1 for a mantissa m in [1, 2) and an s of at most 10 bits whose product lies within
    // 2^-8 of 1: a double, so exact
    [[gnu::always_inline]] static double ProductMinusOne(std::uint64_t mBits, double s) {
        const double m = std::bit_cast<double>(mBits);
        if constexpr (kFma) return std::fma(m, s, -1.0);
        const double head = std::bit_cast<double>(mBits & kHead26);  // 26 bits: head s exact
        return (head * s - 1.0) + (m - head) * s;
    }
};

DD SplitQuad(quad v) {
    const double hi = static_cast<double>(v);
    return {hi, static_cast<double>(v - hi)};
}

// v rounded to a multiple of 2^-bits (v > 0).
double RoundToBits(quad v, int bits) {
    const quad scaled = v * static_cast<quad>(std::ldexp(1.0, bits)) + static_cast<quad>(0.5);
    return std::ldexp(static_cast<double>(static_cast<long long>(scaled)), -bits);
}

// atanh(z) for |z| <= 1/3, to the precision of quad.
quad Atanh(quad z) {
    const quad z2 = z * z;
    quad power = z, sum = 0;
    for (int n = 1; n < 80; n += 2) {
        sum += power / n;
        power *= z2;
    }
    return sum;
}

// exp(a) for 0 <= a < 1, to the precision of quad.
quad ExpQuad(quad a) {
    quad term = 1, sum = 1;
    for (int n = 1; n < 30; ++n) {
        term = term * a / n;
        sum += term;
    }
    return sum;
}

// ln m = -ln s + ln(1 + u), u = m s - 1, for the mantissas m of one 1/256 of [1, 2). s has at
// most 9 bits after the point and |u| <= 2^-8, so m s - 1 is a double. The first interval takes
// s = 1 and the last s = 1/2 with one more power of two, so that an x near 1 on either side keeps
// its full relative precision (ln x = ln(1 + u)).
struct LogEntry {
    double s;
    DD minusLnS;  // hi a multiple of 2^-42
    int twos;
};

struct Tables {
    LogEntry log[kTableSize];
    DD exp2[kTableSize];  // 2^(j / 256)
    double ln2Hi;         // 42 bits: e ln2Hi is exact
    double ln2Lo;
    double step1, step2, step3;  // ln 2 / 256 in three pieces: N step1 and N step2 exact
    double stepsPerUnit;         // 256 / ln 2
    bool fma;                    // the processor has fused multiply-add
    bool lanes;                  // ... and AVX2: the array forms take four values at a time
    // log's entries as rows of four doubles (s, -ln s as hi and lo, twos), for the lanes
    alignas(32) double logRow[kTableSize][4];
};

Tables Build() {
    Tables t{};
    const quad ln2 = 2 * Atanh(static_cast<quad>(1) / 3);
    t.ln2Hi = RoundToBits(ln2, 42);
    t.ln2Lo = static_cast<double>(ln2 - t.ln2Hi);
    const quad step = ln2 / kTableSize;
    t.step1 = RoundToBits(step, 40);
    t.step2 = RoundToBits(step - t.step1, 72);
    t.step3 = static_cast<double>(step - t.step1 - t.step2);
    t.stepsPerUnit = static_cast<double>(kTableSize / ln2);
    t.fma = numeric::HasFma();
    t.lanes = t.fma && numeric::HasAvx2();
    for (int i = 0; i < kTableSize; ++i) {
        LogEntry& e = t.log[i];
        if (i == 0) {
            e = {1.0, {0, 0}, 0};
        } else if (i == kTableSize - 1) {
            e = {0.5, {0, 0}, 1};
        } else {
            const double mid = 1 + (i + 0.5) / kTableSize;
            e.s = std::round(2 * kTableSize / mid) / (2 * kTableSize);
            const quad s = e.s;
            const quad minusLnS = -2 * Atanh((s - 1) / (s + 1));
            const double hi = RoundToBits(minusLnS, 42);
            e.minusLnS = {hi, static_cast<double>(minusLnS - hi)};
            e.twos = 0;
        }
        t.exp2[i] = SplitQuad(ExpQuad(ln2 * i / kTableSize));
        t.logRow[i][0] = e.s;
        t.logRow[i][1] = e.minusLnS.hi;
        t.logRow[i][2] = e.minusLnS.lo;
        t.logRow[i][3] = e.twos;
    }
    return t;
}

[[gnu::always_inline]] inline const Tables& Table() {
    static const Tables tables = Build();
    return tables;
}

// The double nearest to hi + lo, when hi + lo lies farther than kMidpointMargin (relative) from
// every midpoint between adjacent doubles; false when it does not, or when the result is zero,
// subnormal or near the ends of the range.
inline bool RoundClearOfMidpoints(double hi, double lo, double& out) {
    const DD y = TwoSum(hi, lo);
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(y.hi) & ~(std::uint64_t{1} << 63);
    const int field = static_cast<int>(bits >> 52);
    if (field < 64 || field > 2000) return false;
    // Half the spacing of the doubles on y.lo's side of y.hi: below a power of two it halves.
    double half = std::bit_cast<double>(static_cast<std::uint64_t>(field - 53) << 52);
    if ((bits & kMantissa) == 0 && y.lo != 0 && (y.lo < 0) != (y.hi < 0)) half *= 0.5;
    if (!(std::fabs(y.lo) < half - std::fabs(y.hi) * kMidpointMargin)) return false;
    out = y.hi;
    return true;
}

double Pow2(int n) { return std::bit_cast<double>(static_cast<std::uint64_t>(n + 1023) << 52); }

// I2dB of a positive normal intensity; false when the extended path must decide.
template <bool kFma>
[[gnu::always_inline]] inline bool FastI2dB(double intensity, const Tables& t, double& dB) {
    using A = Arith<kFma>;
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(intensity);
    const LogEntry& entry = t.log[(bits >> (52 - kTableBits)) & (kTableSize - 1)];
    const int e = static_cast<int>(bits >> 52) - 1023 + entry.twos;
    const double u = A::ProductMinusOne((bits & kMantissa) | kOneBits, entry.s);
    // ln(1 + u) = u - u^2 / 2 + u^3 (1/3 - u/4 + ... + u^6 / 9); the next term is below 2^-75 u.
    const DD u2 = A::TwoProd(u, u);
    // (in pairs of terms, so that the steps need not wait for each other)
    const double uu = u2.hi, u4 = uu * uu;
    const double poly = A::Mad(A::Mad(uu, 1.0 / 9, A::Mad(u, -0.125, 1.0 / 7)), u4,
                               A::Mad(A::Mad(u, -1.0 / 6, 0.2), uu, A::Mad(u, -0.25, 1.0 / 3)));
    const double tail = (u * u2.hi) * poly;
    // ln x = e ln 2 - ln s + u - u^2 / 2 + tail: the large terms summed exactly (the first two
    // are multiples of 2^-42 below 2^10, so their sum is a double).
    const double a = e * t.ln2Hi + entry.minusLnS.hi;
    const DD b = TwoSum(a, u);
    const DD c = TwoSum(b.hi, -0.5 * u2.hi);
    const double lnLo =
        b.lo + c.lo + (A::Mad(e, t.ln2Lo, entry.minusLnS.lo) + A::Mad(-0.5, u2.lo, tail));
    // times the constant, which is kKHi + kKLo exactly
    const DD p = A::TwoProd(c.hi, kKHi);
    const double rest = p.lo + A::Mad(c.hi, kKLo, lnLo * kKHi);
    return RoundClearOfMidpoints(p.hi, rest, dB);
}

// The extended path's argument ln 10 dB / 10 as xHi + xLo, exactly.
[[gnu::always_inline]] inline void ArgumentOf(double dB, double& xHi, double& xLo) {
    const ld x = kLn10 * static_cast<ld>(dB) / 10.0L;
    xHi = static_cast<double>(x);
    xLo = static_cast<double>(x - xHi);
}

// The mantissa of dB2I and its power of two, for |dB| <= kMaxFastdB; false when the extended
// path must decide.
template <bool kFma>
[[gnu::always_inline]] inline bool FastdB2I(double dB, const Tables& t, double& mantissa,
                                            int& twos) {
    using A = Arith<kFma>;
    // The extended path's argument, exactly, as xHi + xLo: exp(x) = 2^(N / 256) exp(r),
    // |r| <= ln 2 / 512.
    double xHi, xLo;
    ArgumentOf(dB, xHi, xLo);
    const double N = (xHi * t.stepsPerUnit + kRoundShift) - kRoundShift;
    const DD r = TwoSum(xHi - N * t.step1, -N * t.step2);  // the first difference is exact
    const double rLo = r.lo + A::Mad(-N, t.step3, xLo);
    // exp(r) - 1 = r.hi + q: q to the sixth power of r; the next term is below 2^-78.
    const double rh = r.hi;
    const double rr = rh * rh;
    const double poly = A::Mad(A::Mad(rh, 1.0 / 720, 1.0 / 120), rr * rh,
                               A::Mad(rh, 1.0 / 24, 1.0 / 6) * rh + 0.5);
    // exp(rh + rLo) = exp(rh) (1 + rLo): rLo (up to 2^-44 with the argument's own tail) times
    // 1 + rh + rh^2 / 2
    const double q = A::Mad(rr, poly, A::Mad(rLo, A::Mad(0.5, rr, rh), rLo));
    const int n = static_cast<int>(N);
    const DD& twoToJ = t.exp2[n & (kTableSize - 1)];
    const DD p = A::TwoProd(twoToJ.hi, rh);
    const DD y = TwoSum(twoToJ.hi, p.hi);
    const double rest = y.lo + p.lo + twoToJ.lo + A::Mad(twoToJ.hi, q, twoToJ.lo * (rh + q));
    twos = n >> kTableBits;
    return RoundClearOfMidpoints(y.hi, rest, mantissa);
}

template <bool kFma>
double I2dBWith(double intensity, const Tables& t) {
    double dB;
    if (FastI2dB<kFma>(intensity, t, dB)) return dB;
    fallbacks.fetch_add(1, std::memory_order_relaxed);
    return ExtendedI2dB(intensity);
}

template <bool kFma>
double dB2IWith(double dB, const Tables& t) {
    double mantissa;
    int twos;
    if (FastdB2I<kFma>(dB, t, mantissa, twos)) return mantissa * Pow2(twos);
    fallbacks.fetch_add(1, std::memory_order_relaxed);
    return ExtendeddB2I(dB);
}

[[gnu::target("fma")]] double I2dBFma(double intensity, const Tables& t) {
    return I2dBWith<true>(intensity, t);
}
[[gnu::target("fma")]] double dB2IFma(double dB, const Tables& t) { return dB2IWith<true>(dB, t); }

bool PositiveNormal(double x) {
    const auto field = std::bit_cast<std::uint64_t>(x) >> 52;  // the sign bit too
    return field != 0 && field < 0x7ff;
}

#if defined(__x86_64__)
// The array forms' lanes: four values side by side in AVX2 registers. Each lane does the
// operations of FastI2dB<true> or FastdB2I<true> in their order (the same fused multiply-adds,
// every other operation rounded on its own), so it accepts exactly when the scalar fast path
// accepts, with the same double. A lane that is not accepted is left to the scalar code.
#define OXW_LANE [[gnu::target("avx2,fma"), gnu::always_inline]] inline

using V = __m256d;

struct VDD {
    V hi, lo;
};

OXW_LANE V Splat(double x) { return _mm256_set1_pd(x); }
OXW_LANE V FromBits(std::uint64_t bits) {
    return _mm256_castsi256_pd(_mm256_set1_epi64x(static_cast<long long>(bits)));
}
// Rows a, b, c, d of four values into their columns: column j holds value j of a, b, c, d.
OXW_LANE void Transpose(V a, V b, V c, V d, V column[4]) {
    const V ab02 = _mm256_unpacklo_pd(a, b), ab13 = _mm256_unpackhi_pd(a, b);
    const V cd02 = _mm256_unpacklo_pd(c, d), cd13 = _mm256_unpackhi_pd(c, d);
    column[0] = _mm256_permute2f128_pd(ab02, cd02, 0x20);
    column[1] = _mm256_permute2f128_pd(ab13, cd13, 0x20);
    column[2] = _mm256_permute2f128_pd(ab02, cd02, 0x31);
    column[3] = _mm256_permute2f128_pd(ab13, cd13, 0x31);
}

OXW_LANE V Mad(V a, V b, V c) { return _mm256_fmadd_pd(a, b, c); }

OXW_LANE VDD TwoSum(V a, V b) {
    const V s = _mm256_add_pd(a, b);
    const V bv = _mm256_sub_pd(s, a);
    return {s, _mm256_add_pd(_mm256_sub_pd(a, _mm256_sub_pd(s, bv)), _mm256_sub_pd(b, bv))};
}

OXW_LANE VDD TwoProd(V a, V b) {
    const V p = _mm256_mul_pd(a, b);
    return {p, _mm256_fmsub_pd(a, b, p)};
}

// RoundClearOfMidpoints lane by lane; bit j of the result: lane j is accepted.
OXW_LANE int RoundClearOfMidpoints(V hi, V lo, V& out) {
    const VDD y = TwoSum(hi, lo);
    const V absHi = _mm256_andnot_pd(Splat(-0.0), y.hi);
    const V twoToField = _mm256_and_pd(absHi, FromBits(std::uint64_t{0x7ff} << 52));
    // exponent fields 64 .. 2000
    const V inRange = _mm256_and_pd(_mm256_cmp_pd(twoToField, Splat(0x1p-959), _CMP_GE_OQ),
                                    _mm256_cmp_pd(twoToField, Splat(0x1p977), _CMP_LE_OQ));
    V half = _mm256_mul_pd(twoToField, Splat(0x1p-53));
    const V zero = _mm256_setzero_pd();
    const V otherSide = _mm256_xor_pd(_mm256_cmp_pd(y.lo, zero, _CMP_LT_OQ),
                                      _mm256_cmp_pd(y.hi, zero, _CMP_LT_OQ));
    const V belowPower = _mm256_and_pd(_mm256_cmp_pd(absHi, twoToField, _CMP_EQ_OQ),
                                       _mm256_and_pd(_mm256_cmp_pd(y.lo, zero, _CMP_NEQ_UQ),
                                                     otherSide));
    half = _mm256_blendv_pd(half, _mm256_mul_pd(half, Splat(0.5)), belowPower);
    const V limit = _mm256_sub_pd(half, _mm256_mul_pd(absHi, Splat(kMidpointMargin)));
    const V clear = _mm256_cmp_pd(_mm256_andnot_pd(Splat(-0.0), y.lo), limit, _CMP_LT_OQ);
    out = y.hi;
    return _mm256_movemask_pd(_mm256_and_pd(inRange, clear));
}

// FastI2dB<true> of four intensities; bit j: lane j is a positive normal and accepted.
OXW_LANE int FastI2dB(const double* intensities, const Tables& t, V& dB) {
    const V intensity = _mm256_loadu_pd(intensities);
    const __m256i bits = _mm256_castpd_si256(intensity);
    // the table rows of the four lanes, turned into s, -ln s (hi, lo) and twos
    V row[4];
    for (int j = 0; j < 4; ++j) {
        const auto i = std::bit_cast<std::uint64_t>(intensities[j]) >> (52 - kTableBits);
        row[j] = _mm256_load_pd(t.logRow[i & (kTableSize - 1)]);
    }
    V column[4];
    Transpose(row[0], row[1], row[2], row[3], column);
    const V s = column[0], minusLnSHi = column[1], minusLnSLo = column[2], twos = column[3];
    // the exponent field as a double: 2^52 + field - 2^52
    const V field = _mm256_sub_pd(
        _mm256_castsi256_pd(_mm256_or_si256(_mm256_srli_epi64(bits, 52),
                                            _mm256_set1_epi64x(0x4330000000000000))),
        Splat(0x1p52));
    const V e = _mm256_add_pd(_mm256_sub_pd(field, Splat(1023)), twos);
    const V m = _mm256_or_pd(_mm256_and_pd(intensity, FromBits(kMantissa)), FromBits(kOneBits));
    const V u = _mm256_fmsub_pd(m, s, Splat(1.0));
    const VDD u2 = TwoProd(u, u);
    const V uu = u2.hi, u4 = _mm256_mul_pd(uu, uu);
    const V poly = Mad(Mad(uu, Splat(1.0 / 9), Mad(u, Splat(-0.125), Splat(1.0 / 7))), u4,
                       Mad(Mad(u, Splat(-1.0 / 6), Splat(0.2)), uu,
                           Mad(u, Splat(-0.25), Splat(1.0 / 3))));
    const V tail = _mm256_mul_pd(_mm256_mul_pd(u, u2.hi), poly);
    const V a = _mm256_add_pd(_mm256_mul_pd(e, Splat(t.ln2Hi)), minusLnSHi);
    const VDD b = TwoSum(a, u);
    const VDD c = TwoSum(b.hi, _mm256_mul_pd(Splat(-0.5), u2.hi));
    const V lnLo = _mm256_add_pd(_mm256_add_pd(b.lo, c.lo),
                                 _mm256_add_pd(Mad(e, Splat(t.ln2Lo), minusLnSLo),
                                               Mad(Splat(-0.5), u2.lo, tail)));
    const VDD p = TwoProd(c.hi, Splat(kKHi));
    const V rest = _mm256_add_pd(p.lo, Mad(c.hi, Splat(kKLo), _mm256_mul_pd(lnLo, Splat(kKHi))));
    // positive normal: 2^-1022 <= x <= the greatest double (false for NaN)
    const V normal =
        _mm256_and_pd(_mm256_cmp_pd(intensity, Splat(0x1p-1022), _CMP_GE_OQ),
                      _mm256_cmp_pd(intensity, Splat(std::numeric_limits<double>::max()),
                                    _CMP_LE_OQ));
    return RoundClearOfMidpoints(p.hi, rest, dB) & _mm256_movemask_pd(normal);
}

// The mantissa field of v's lanes lies within margin of neither end of its binade.
OXW_LANE V InsideBinade(V v, long long margin) {
    const __m256i m = _mm256_and_si256(_mm256_castpd_si256(v),
                                       _mm256_set1_epi64x(static_cast<long long>(kMantissa)));
    const __m256i low = _mm256_cmpgt_epi64(_mm256_set1_epi64x(margin), m);
    const __m256i high = _mm256_cmpgt_epi64(
        m, _mm256_set1_epi64x(static_cast<long long>(kMantissa) - margin));
    return _mm256_castsi256_pd(_mm256_andnot_si256(_mm256_or_si256(low, high),
                                                   _mm256_set1_epi64x(-1)));
}

// 2^e of the lanes' binades [2^e, 2^(e+1)), and whether 2^-900 <= 2^e <= 2^900.
OXW_LANE V Binade(V v, V& inRange) {
    const V twoToE = _mm256_and_pd(v, FromBits(std::uint64_t{0x7ff} << 52));
    inRange = _mm256_and_pd(_mm256_cmp_pd(twoToE, Splat(0x1p-900), _CMP_GE_OQ),
                            _mm256_cmp_pd(twoToE, Splat(0x1p900), _CMP_LE_OQ));
    return twoToE;
}

// v rounded to a multiple of 2^-63 twoToE (half to even), and whether v lies clear of the
// midpoints between such multiples by margin of that unit; |v| < 2^-13 twoToE.
OXW_LANE V RoundTo64Bits(V v, V twoToE, double margin, V& clear) {
    const V shift = _mm256_mul_pd(twoToE, Splat(0x1.8p-11));  // 1.5 2^52 units
    const V r = _mm256_sub_pd(_mm256_add_pd(v, shift), shift);
    const V unit = _mm256_mul_pd(twoToE, Splat(0x1p-63));
    const V distance = _mm256_andnot_pd(Splat(-0.0), _mm256_sub_pd(v, r));
    clear = _mm256_cmp_pd(distance, _mm256_mul_pd(unit, Splat(0.5 - margin)), _CMP_LT_OQ);
    return r;
}

// ArgumentOf of four levels, without extended precision; bit j: lane j was worked out (the
// others are left to ArgumentOf). The extended path rounds twice to 64 bits: P = ln 10 dB, then
// x = P / 10. Here ln 10 dB = a + b + c + d exactly (ln 10 = kLn10Hi + kLn10Lo), and P = a + r
// with r the rest rounded to 64 bits in a's binade (computed to 2^-40 of the unit: lanes
// closer to a midpoint are left out). Then x = q + (t / 10 rounded to 64 bits in q's binade),
// q = a / 10 rounded anyhow, t = P - 10 q exactly: a 64-bit P / 10 lies at least a tenth of
// x's unit from every midpoint, so t / 10 need only be near. x = xHi + xLo by an exact sum.
// Lanes near the ends of their binades are left out, so that the binades are those of P and x.
OXW_LANE int ArgumentLanes(V dB, V& xHi, V& xLo) {
    const V a = _mm256_mul_pd(dB, Splat(kLn10Hi));
    const V b = _mm256_fmsub_pd(dB, Splat(kLn10Hi), a);
    const V c = _mm256_mul_pd(dB, Splat(kLn10Lo));
    const V d = _mm256_fmsub_pd(dB, Splat(kLn10Lo), c);
    V aInRange, rClear;
    const V aBinade = Binade(a, aInRange);
    const V r = RoundTo64Bits(_mm256_add_pd(_mm256_add_pd(b, c), d), aBinade, 0x1p-30, rClear);
    const V q = _mm256_mul_pd(a, Splat(0.1));
    const V t = _mm256_add_pd(_mm256_fnmadd_pd(Splat(10.0), q, a), r);  // exact
    V qInRange, xClear;
    const V qBinade = Binade(q, qInRange);
    const V rest = RoundTo64Bits(_mm256_mul_pd(t, Splat(0.1)), qBinade, 0x1p-8, xClear);
    const VDD x = TwoSum(q, rest);
    xHi = x.hi;
    xLo = x.lo;
    const V ok = _mm256_and_pd(_mm256_and_pd(_mm256_and_pd(aInRange, qInRange),
                                             _mm256_and_pd(rClear, xClear)),
                               _mm256_and_pd(InsideBinade(a, 2), InsideBinade(q, 4)));
    return _mm256_movemask_pd(ok);
}

// FastdB2I<true> of four levels, from their arguments xHi + xLo, times the power of two; bit
// j: lane j lies within the fast range and is accepted.
OXW_LANE int FastdB2I(V dB, V xHi, V xLo, const Tables& t, V& intensity) {
    const V N = _mm256_sub_pd(
        _mm256_add_pd(_mm256_mul_pd(xHi, Splat(t.stepsPerUnit)), Splat(kRoundShift)),
        Splat(kRoundShift));
    const V minusN = _mm256_xor_pd(N, Splat(-0.0));
    const VDD r = TwoSum(_mm256_sub_pd(xHi, _mm256_mul_pd(N, Splat(t.step1))),
                         _mm256_mul_pd(minusN, Splat(t.step2)));
    const V rLo = _mm256_add_pd(r.lo, Mad(minusN, Splat(t.step3), xLo));
    const V rh = r.hi;
    const V rr = _mm256_mul_pd(rh, rh);
    const V poly =
        Mad(Mad(rh, Splat(1.0 / 720), Splat(1.0 / 120)), _mm256_mul_pd(rr, rh),
            _mm256_add_pd(_mm256_mul_pd(Mad(rh, Splat(1.0 / 24), Splat(1.0 / 6)), rh),
                          Splat(0.5)));
    const V q = Mad(rr, poly, Mad(rLo, Mad(Splat(0.5), rr, rh), rLo));
    const __m128i n = _mm256_cvttpd_epi32(N);
    // 2^(j / 256) of the four lanes: lanes 0 and 2, 1 and 3 loaded together as (hi, lo)
    alignas(16) int lane[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lane), n);
    const auto entry = [&](int k) {
        return _mm_loadu_pd(&t.exp2[lane[k] & (kTableSize - 1)].hi);
    };
    const V even = _mm256_set_m128d(entry(2), entry(0)), odd = _mm256_set_m128d(entry(3), entry(1));
    const V twoToJHi = _mm256_unpacklo_pd(even, odd), twoToJLo = _mm256_unpackhi_pd(even, odd);
    const VDD p = TwoProd(twoToJHi, rh);
    const VDD y = TwoSum(twoToJHi, p.hi);
    const V rest = _mm256_add_pd(
        _mm256_add_pd(_mm256_add_pd(y.lo, p.lo), twoToJLo),
        Mad(twoToJHi, q, _mm256_mul_pd(twoToJLo, _mm256_add_pd(rh, q))));
    V mantissa;
    const int clear = RoundClearOfMidpoints(y.hi, rest, mantissa);
    const __m256i twos = _mm256_cvtepi32_epi64(_mm_srai_epi32(n, kTableBits));
    const V pow2 = _mm256_castsi256_pd(
        _mm256_slli_epi64(_mm256_add_epi64(twos, _mm256_set1_epi64x(1023)), 52));
    intensity = _mm256_mul_pd(mantissa, pow2);
    const V inRange =
        _mm256_cmp_pd(_mm256_andnot_pd(Splat(-0.0), dB), Splat(kMaxFastdB), _CMP_LE_OQ);
    return clear & _mm256_movemask_pd(inRange);
}

#undef OXW_LANE

// A value the lanes did not accept: the scalar fast path would not accept it either (it does
// the same operations), so the extended path decides, counted as a fallback when the value lay
// within the fast path's range.
double I2dBLeftOver(double intensity) {
    if (PositiveNormal(intensity)) fallbacks.fetch_add(1, std::memory_order_relaxed);
    return ExtendedI2dB(intensity);
}

double dB2ILeftOver(double dB) {
    if (std::fabs(dB) <= kMaxFastdB) fallbacks.fetch_add(1, std::memory_order_relaxed);
    return ExtendeddB2I(dB);
}

// I2dB of in[0..3] into out[0..3]; in may be out. The lanes read the values straight from in
// before out is written; the copy serves the values left over.
[[gnu::target("avx2,fma"), gnu::always_inline]] inline void I2dBFour(const double* in,
                                                                   double* out,
                                                                   const Tables& t) {
    alignas(32) double x[4];
    _mm256_store_pd(x, _mm256_loadu_pd(in));
    V dB;
    const int accepted = FastI2dB(in, t, dB);
    _mm256_storeu_pd(out, dB);
    if (accepted == 0xf) return;
    for (int j = 0; j < 4; ++j)
        if (!(accepted >> j & 1)) out[j] = I2dBLeftOver(x[j]);
}

// dB2I of in[0..3] into out[0..3]; in may be out.
[[gnu::target("avx2,fma"), gnu::always_inline]] inline void dB2IFour(const double* in,
                                                                   double* out,
                                                                   const Tables& t) {
    alignas(32) double x[4];
    const V v = _mm256_loadu_pd(in);
    _mm256_store_pd(x, v);
    V xHi, xLo;
    const int exact = ArgumentLanes(v, xHi, xLo);
    if (exact != 0xf) {
        alignas(32) double hi[4], lo[4];
        _mm256_store_pd(hi, xHi);
        _mm256_store_pd(lo, xLo);
        for (int j = 0; j < 4; ++j)
            if (!(exact >> j & 1)) ArgumentOf(x[j], hi[j], lo[j]);
        xHi = _mm256_load_pd(hi);
        xLo = _mm256_load_pd(lo);
    }
    V intensity;
    const int accepted = FastdB2I(v, xHi, xLo, t, intensity);
    _mm256_storeu_pd(out, intensity);
    if (accepted == 0xf) return;
    for (int j = 0; j < 4; ++j)
        if (!(accepted >> j & 1)) out[j] = dB2ILeftOver(x[j]);
}

// Groups of four; the values after the last whole group go through the lanes too, padded with
// 1.0 (whose results nobody reads).
template <void (*kFour)(const double*, double*, const Tables&)>
[[gnu::target("avx2,fma"), gnu::always_inline]] inline void InLanes(const double* in,
                                                                  double* out, std::size_t n,
                                                                  const Tables& t) {
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) kFour(in + i, out + i, t);
    if (i == n) return;
    double rest[4] = {1.0, 1.0, 1.0, 1.0};
    std::copy(in + i, in + n, rest);
    kFour(rest, rest, t);
    std::copy(rest, rest + (n - i), out + i);
}

[[gnu::target("avx2,fma")]] void I2dBLanes(const double* in, double* out, std::size_t n,
                                           const Tables& t) {
    InLanes<I2dBFour>(in, out, n, t);
}

[[gnu::target("avx2,fma")]] void dB2ILanes(const double* in, double* out, std::size_t n,
                                           const Tables& t) {
    InLanes<dB2IFour>(in, out, n, t);
}
#endif

}  // namespace

double ExtendedI2dB(double intensity) {
    if (!(intensity > 0)) return 0.0;
    return static_cast<double>(std::log(static_cast<ld>(intensity)) * kTenOverLn10);
}

double ExtendeddB2I(double dB) {
    return static_cast<double>(std::exp(kLn10 * static_cast<ld>(dB) / 10.0L));
}

std::uint64_t LevelConversionFallbacks() { return fallbacks.load(std::memory_order_relaxed); }

const ExpSteps& SharedExpSteps() {
    static const ExpSteps steps = [] {
        const Tables& t = Table();
        return ExpSteps{&t.exp2[0].hi, t.step1, t.step2, t.step3, t.stepsPerUnit, t.lanes};
    }();
    return steps;
}

double I2dB(double intensity) {
    if (!PositiveNormal(intensity)) return ExtendedI2dB(intensity);  // 0 for 0, negative, NaN
    const Tables& t = Table();
    return t.fma ? I2dBFma(intensity, t) : I2dBWith<false>(intensity, t);
}

double dB2I(double dB) {
    if (!(std::fabs(dB) <= kMaxFastdB)) return ExtendeddB2I(dB);  // NaN, infinite, far out
    const Tables& t = Table();
    return t.fma ? dB2IFma(dB, t) : dB2IWith<false>(dB, t);
}

void I2dB(const double* intensity, double* dB, std::size_t n) {
    const Tables& t = Table();
#if defined(__x86_64__)
    if (t.lanes) return I2dBLanes(intensity, dB, n, t);
#endif
    for (std::size_t i = 0; i < n; ++i) dB[i] = I2dB(intensity[i]);
}

void dB2I(const double* dB, double* intensity, std::size_t n) {
    const Tables& t = Table();
#if defined(__x86_64__)
    if (t.lanes) return dB2ILanes(dB, intensity, n, t);
#endif
    for (std::size_t i = 0; i < n; ++i) intensity[i] = dB2I(dB[i]);
}

double PortableI2dB(double intensity) {
    if (!PositiveNormal(intensity)) return ExtendedI2dB(intensity);
    return I2dBWith<false>(intensity, Table());
}

double PortabledB2I(double dB) {
    if (!(std::fabs(dB) <= kMaxFastdB)) return ExtendeddB2I(dB);
    return dB2IWith<false>(dB, Table());
}

}  // namespace oxw::engine
