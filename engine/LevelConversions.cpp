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

#include <atomic>
#include <bit>
#include <cmath>

namespace oxw::engine {

namespace {
using ld = long double;
__extension__ typedef __float128 quad;

constexpr ld kTenOverLn10 = 4.342944819032518L;  // 10 / ln 10
constexpr ld kLn10 = 2.302585092994045684L;
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
    __builtin_cpu_init();
    t.fma = __builtin_cpu_supports("fma");
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

// The mantissa of dB2I and its power of two, for |dB| <= kMaxFastdB; false when the extended
// path must decide.
template <bool kFma>
[[gnu::always_inline]] inline bool FastdB2I(double dB, const Tables& t, double& mantissa,
                                            int& twos) {
    using A = Arith<kFma>;
    // The extended path's argument, exactly, as xHi + xLo: exp(x) = 2^(N / 256) exp(r),
    // |r| <= ln 2 / 512.
    const ld x = kLn10 * static_cast<ld>(dB) / 10.0L;
    const double xHi = static_cast<double>(x);
    const double xLo = static_cast<double>(x - xHi);
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

}  // namespace

double ExtendedI2dB(double intensity) {
    if (!(intensity > 0)) return 0.0;
    return static_cast<double>(std::log(static_cast<ld>(intensity)) * kTenOverLn10);
}

double ExtendeddB2I(double dB) {
    return static_cast<double>(std::exp(kLn10 * static_cast<ld>(dB) / 10.0L));
}

std::uint64_t LevelConversionFallbacks() { return fallbacks.load(std::memory_order_relaxed); }

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

double PortableI2dB(double intensity) {
    if (!PositiveNormal(intensity)) return ExtendedI2dB(intensity);
    return I2dBWith<false>(intensity, Table());
}

double PortabledB2I(double dB) {
    if (!(std::fabs(dB) <= kMaxFastdB)) return ExtendeddB2I(dB);
    return dB2IWith<false>(dB, Table());
}

}  // namespace oxw::engine
