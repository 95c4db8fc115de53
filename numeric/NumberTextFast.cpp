// Fast number texts: one std::to_chars call for the digits, rounding on the decimal digits and
// the layout written straight into the caller's buffer. Rules in NumberFormat.h.
#include "numeric/NumberTextFast.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace oxw::numeric::fasttext {
namespace {

// |x| = 0.d[0] d[1] ... d[count-1] x 10^point; count 0 is zero. No trailing zeros.
struct Digits {
    char d[20];
    int count = 0;
    int point = 0;
};

// The shortest round-trip digits of |x| (x finite), from its scientific text "-d.ddde-05": at
// most 17 digits, the exponent two or three digits after its sign.
Digits Shortest(double x) {
    Digits g;
    if (x == 0.0) return g;
    char buf[40];
    const char* end = std::to_chars(buf, buf + 32, x, std::chars_format::scientific).ptr;
    const char* p = buf + (buf[0] == '-' ? 1 : 0);
    const char* e = end[-4] == 'e' ? end - 4 : end - 5;
    int exponent = (e[2] - '0') * 10 + (e[3] - '0');
    if (e + 5 == end) exponent = exponent * 10 + (e[4] - '0');
    g.point = (e[1] == '-' ? -exponent : exponent) + 1;
    // The digits after the point are copied as one block of 16 (both buffers have room).
    g.d[0] = p[0];
    std::memcpy(g.d + 1, p + 2, 16);
    int count = p[1] == '.' ? static_cast<int>(e - p) - 1 : 1;
    while (count > 0 && g.d[count - 1] == '0') --count;
    g.count = count;
    return g;
}

// Exact powers 10^0 .. 10^27 in extended precision (5^27 < 2^64).
struct PowersOfTen {
    long double p[28];
    constexpr PowersOfTen() : p() {
        p[0] = 1;
        for (int i = 1; i < 28; ++i) p[i] = p[i - 1] * 10;
    }
};
constexpr PowersOfTen kTen;

// Rounds y = |x| 10^k to the 15-digit whole number n in [1e14, 1e15) that the shortest decimal
// of x rounds to, where that is sure: the shortest decimal lies within half a unit in the last
// place of x (at most y 2^-53) from the exact product, so when no rounding tie n + 0.5 and no
// power of ten lies within that distance of y, both round alike. Returns false where it is not
// sure. Two ways: for k in 0..27, exactly, with the product m 5^k 2^(e + k) of the mantissa m and
// the binary exponent e in 128-bit integers, which also settles the ties within that distance
// (see RoundExactly); for other k in -27..54, in extended precision (an error below y 2^-63,
// counted in the margin), which leaves about one value in ten to the shortest decimal.
struct Rounded15 {
    std::uint64_t n = 0;
    int k = 0;
};

__extension__ typedef unsigned __int128 u128;  // GCC and Clang on 64-bit targets

constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << 52;

// Exact powers base^0 .. base^(N-1) in 64 bits.
template <std::uint64_t base, int N>
struct WholePowers {
    std::uint64_t p[N];
    constexpr WholePowers() : p() {
        p[0] = 1;
        for (int i = 1; i < N; ++i) p[i] = p[i - 1] * base;
    }
};
constexpr WholePowers<5, 28> kFive;  // 5^27 < 2^63

// The rounding of y 2^-down = |x| 10^k (whole part `whole`) to the whole number n that the
// shortest decimal of x rounds to, for the mantissa m, where unit = 5^k is a unit in the last
// place of x in units of 2^-down: the shortest decimal lies within half of it from y, so where
// no tie lies within that distance both round alike. With `within` (whole parts of 15 digits,
// from 1e14 + 1 to 1e15 - 2, only) the ties within it are settled too, as below. F holds the
// fraction (64 bits where down < 64). False where the shortest decimal has to decide.
template <class F>
bool Settle(u128 y, int down, std::uint64_t whole, std::uint64_t m, std::uint64_t unit,
            bool within, std::uint64_t& n) {
    const F one = F{1} << down;
    const F fraction = static_cast<F>(y) & (one - 1);
    const F half = one >> 1;
    const F distance = fraction > half ? fraction - half : half - fraction;
    bool up = fraction > half;
    if (2 * distance <= unit) {
        // The tie lies within the rounding interval of x (the decimals that read back as x),
        // which is narrower than half a unit here: no whole number lies in it, so the shortest
        // decimal has 16 digits, the tenth nearest to y. It rounds up from whole + 0.5, that is
        // when y lies above whole + 0.45 (y never equals it). On the interval's edge, and below
        // a power of two (where its lower half is halved), the shortest decimal decides.
        if (!within || 2 * distance == unit || m == kHiddenBit) return false;
        up = static_cast<u128>(fraction) * 20 > static_cast<u128>(one) * 9;
    }
    n = whole + (up ? 1 : 0);
    return true;
}

// The exact way; `m` and `e` with |x| = m 2^e, m < 2^53; k the first guess of the scale.
bool RoundExactly(std::uint64_t m, int e, int k, Rounded15& r) {
    for (int tries = 0; tries < 2; ++tries) {
        if (k < 0 || k > 27) return false;
        const u128 y = static_cast<u128>(m) * kFive.p[k];  // |x| 10^k = y 2^shift
        const int shift = e + k;
        if (shift >= 0 || shift < -120) return false;  // no fraction to round, or y below 1
        const int down = -shift;
        const u128 whole = y >> down;
        if (whole >= 1000000000000000u) {
            --k;
            continue;
        }
        if (whole < 100000000000000u) {
            ++k;
            continue;
        }
        if (whole < 100000000000001u || whole > 999999999999998u) return false;
        const auto w = static_cast<std::uint64_t>(whole);
        if (!(down < 64 ? Settle<std::uint64_t>(y, down, w, m, kFive.p[k], true, r.n)
                        : Settle<u128>(y, down, w, m, kFive.p[k], true, r.n)))
            return false;
        r.k = k;
        return true;
    }
    return false;
}

constexpr WholePowers<10, 19> kWholeTen;  // 10^0 .. 10^18

// |x| 10^decimals (x finite, decimals 0..18) rounded half away from zero as its shortest decimal
// rounds, into n below 10^precision - 1 (precision 1..18; so that it does not cut), from the exact
// product as in RoundExactly; false where the product has no fraction or a tie lies within half a
// unit in the last place of x.
bool RoundAtDecimals(double x, int decimals, int precision, std::uint64_t& n) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    const int down = 1075 - biased - decimals;  // |x| 10^decimals = y 2^-down
    if (biased == 0 || down <= 0 || down > 120) return false;
    const std::uint64_t m = (bits & (kHiddenBit - 1)) | kHiddenBit;
    const u128 y = static_cast<u128>(m) * kFive.p[decimals];
    const u128 whole = y >> down;
    if (whole + 2 > kWholeTen.p[precision]) return false;
    const auto w = static_cast<std::uint64_t>(whole);
    return down < 64 ? Settle<std::uint64_t>(y, down, w, m, kFive.p[decimals], false, n)
                     : Settle<u128>(y, down, w, m, kFive.p[decimals], false, n);
}

// |x| x 10^k with at most two roundings of extended precision (k in -27..54).
long double ScaledExtended(double a, int k) {
    if (k < 0) return a / kTen.p[-k];
    if (k <= 27) return a * kTen.p[k];
    return a * kTen.p[27] * kTen.p[k - 27];
}

// The extended-precision way.
bool RoundInExtended(double a, int k, Rounded15& r) {
    static_assert(std::numeric_limits<long double>::digits >= 64);
    if (k < -26 || k > 53) return false;  // corrected by one either way: within -27..54
    long double y = ScaledExtended(a, k);
    if (y >= 1e15L) {
        --k;
        y = ScaledExtended(a, k);
    } else if (y < 1e14L) {
        ++k;
        y = ScaledExtended(a, k);
    }
    const long double margin = y * 0x1.1p-53L;
    if (y - margin < 1e14L || y + margin >= 1e15L - 0.5L) return false;
    // The nearest whole number (y < 2^50: adding 2^63 leaves whole numbers only).
    const long double nearest = (y + 0x1p63L) - 0x1p63L;
    const long double off = y - nearest;  // in [-0.5, 0.5]
    if (0.5L - std::fabs(off) <= margin) return false;
    r.n = static_cast<std::uint64_t>(static_cast<double>(nearest));
    r.k = k;
    return true;
}

// 10^(15 - k) for k in 0..27, the nearest doubles (exact down to 1).
struct NextPowersOfTen {
    double p[28];
    constexpr NextPowersOfTen() : p() {
        double ten = 1;
        for (int i = 15; i >= 0; --i, ten *= 10) p[i] = ten;
        ten = 10;
        for (int i = 16; i < 28; ++i, ten *= 10) p[i] = 1 / ten;
    }
};
constexpr NextPowersOfTen kNextTen;

// The first 15 digits of the shortest decimal of |x| (x finite, not zero), rounded half away
// from zero, without the shortest decimal itself (see Rounded15); false where that is not sure.
bool FifteenDigits(double x, Rounded15& r) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased == 0) return false;  // subnormal
    // floor(lg |x|) or one less (78913 / 2^18 is lg 2 to seven digits); corrected once.
    const int exponent10 = ((biased - 1023) * 78913) >> 18;
    int k = 14 - exponent10;
    if (k < 0 || k > 27) return RoundInExtended(std::fabs(x), k, r);
    // One less where |x| reaches the next power of ten, without a branch (RoundExactly still
    // corrects a guess the rounded powers below one get wrong).
    k -= std::fabs(x) >= kNextTen.p[k] ? 1 : 0;
    const std::uint64_t m = (bits & (kHiddenBit - 1)) | kHiddenBit;
    return RoundExactly(m, biased - 1075, k, r);
}

// The eight decimal digits of v < 10^8 as numbers 0..9, one a byte, the first in the lowest
// byte: the four-digit halves, their two-digit halves and their digits, each step in every lane
// at once (x 10486 / 2^20 is / 100 below 10^4, x 103 / 2^10 is / 10 below 100).
std::uint64_t EightDigits(std::uint64_t v) {
    const std::uint64_t fours = v / 10000 | (v % 10000) << 32;
    const std::uint64_t hundreds = ((fours * 10486) >> 20) & 0x0000007F0000007Full;
    const std::uint64_t twos = hundreds | (fours - 100 * hundreds) << 16;
    const std::uint64_t tens = ((twos * 103) >> 10) & 0x000F000F000F000Full;
    return tens | (twos - 10 * tens) << 8;
}

// The 16 bytes of v at out.
void Store16(char* out, u128 v) { std::memcpy(out, &v, sizeof v); }

// floatToStr's text of |x| = 0.d1 .. d15 x 10^point for n = d1 .. d15 in [10^14, 10^15),
// trailing zeros dropped. The digits stay in a register and go out 16 bytes at a time (out has
// room for 34 characters).
char* PutFifteen(char* out, std::uint64_t n, int point) {
    static_assert(std::endian::native == std::endian::little);
    const std::uint64_t high = EightDigits(n / 100000000), low = EightDigits(n % 100000000);
    // A zero digit is a zero byte; the last digits are the highest bytes (high is not zero).
    const int count = 15 - (low != 0 ? __builtin_clzll(low) / 8 : 8 + __builtin_clzll(high) / 8);
    constexpr std::uint64_t kZeros = 0x3030303030303030ull;
    // d1 in the lowest byte, d15 in the fifteenth (high's first digit is the zero before d1).
    const u128 digits = static_cast<u128>(low + kZeros) << 56 | (high + kZeros) >> 8;
    if (point > 0 && point <= 15) {
        Store16(out, digits);
        Store16(out + point + 1, digits >> (8 * point));
        out[point] = '.';
        return out + (count > point ? count + 1 : point);
    }
    if (point <= 0 && point >= -3) {
        std::memcpy(out, "0.000", 5);
        Store16(out + 2 - point, digits);
        return out + 2 - point + count;
    }
    out[0] = static_cast<char>(digits);
    out[1] = '.';
    Store16(out + 2, digits >> 8);
    out += count > 1 ? count + 1 : 1;
    *out++ = 'E';
    return std::to_chars(out, out + 8, point - 1).ptr;
}

// Keeps the first `keep` digits, rounding half away from zero on the decimal digits; keep <= 0
// reaches before the first digit (keep 0 rounds 0.5 and above up to one unit at the point).
void Round(Digits& g, int keep) {
    int count = g.count;
    if (keep >= count) return;
    if (keep < 0) {
        g.count = 0;
        return;
    }
    const bool up = g.d[keep] >= '5';
    count = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && g.d[i] == '9') --i;
        if (i < 0) {
            g.d[0] = '1';
            count = 1;
            ++g.point;
        } else {
            ++g.d[i];
            count = i + 1;
        }
    }
    while (count > 0 && g.d[count - 1] == '0') --count;
    g.count = count;
}

char* Put(char* out, const char* text) {
    const std::size_t n = std::strlen(text);
    std::memcpy(out, text, n);
    return out + n;
}

// The texts are short: plain loops beat library calls here.
char* PutZeros(char* out, int n) {
    for (int i = 0; i < n; ++i) out[i] = '0';
    return n > 0 ? out + n : out;
}

char* PutDigitsOf(char* out, const Digits& g, int from, int n) {
    const char* d = g.d + from;
    for (int i = 0; i < n; ++i) out[i] = d[i];
    return n > 0 ? out + n : out;
}

// Fixed-point text of g with exactly `decimals` decimals.
char* PutFixed(char* out, const Digits& g, int decimals) {
    const int count = g.count, point = g.point;
    if (count == 0 || point <= 0) {
        *out++ = '0';
    } else {
        const int n = std::min(count, point);
        out = PutZeros(PutDigitsOf(out, g, 0, n), point - n);
    }
    if (decimals > 0) {
        *out++ = '.';
        const int lead = std::clamp(-point, 0, decimals);  // zeros between the point and d[0]
        const int from = std::max(point, 0);
        const int n = std::clamp(count - from, 0, decimals - lead);
        out = PutZeros(PutDigitsOf(PutZeros(out, lead), g, from, n), decimals - lead - n);
    }
    return out;
}

// The fixed text of n 10^-decimals with exactly `decimals` decimals ("0.050" for 50 at 3).
char* PutScaled(char* out, std::uint64_t n, int decimals) {
    char digits[24];
    const int count = static_cast<int>(std::to_chars(digits, digits + 24, n).ptr - digits);
    const int before = count - decimals;  // digits before the point
    if (before > 0) {
        std::memcpy(out, digits, static_cast<std::size_t>(before));
        out += before;
    } else {
        *out++ = '0';
    }
    if (decimals == 0) return out;
    *out++ = '.';
    out = PutZeros(out, -before);
    const int from = std::max(before, 0);
    std::memcpy(out, digits + from, static_cast<std::size_t>(count - from));
    return out + (count - from);
}

// General exponent text of g (non-zero): "1.2346E5", "1E-5".
char* PutGeneralExponent(char* out, const Digits& g) {
    const int count = g.count, point = g.point;
    *out++ = g.d[0];
    if (count > 1) {
        *out++ = '.';
        out = PutDigitsOf(out, g, 1, count - 1);
    }
    *out++ = 'E';
    return std::to_chars(out, out + 8, point - 1).ptr;
}

char* FieldNonFinite(char* out, double x) {
    return Put(out, std::isnan(x) ? "Nan" : (x > 0 ? "+Inf" : "-Inf"));
}

char* TextNonFinite(char* out, double x) {
    return Put(out, std::isnan(x) ? "NAN" : (x > 0 ? "INF" : "-INF"));
}

}  // namespace

char* FixedText(char* out, double x, int decimals) {
    if (!std::isfinite(x)) return FieldNonFinite(out, x);
    decimals = std::max(decimals, 0);
    if (decimals > kFastDigits) return nullptr;
    std::uint64_t n;
    if (decimals <= 18 && RoundAtDecimals(x, decimals, 18, n)) {
        if (x < 0) *out++ = '-';
        return PutScaled(out, n, decimals);
    }
    Digits g = Shortest(x);
    Round(g, g.point + decimals);
    if (g.point > kFastDigits) return nullptr;
    if (x < 0) *out++ = '-';
    return PutFixed(out, g, decimals);
}

char* ExpText(char* out, double x, int n) {
    if (!std::isfinite(x)) return FieldNonFinite(out, x);
    Digits g = Shortest(x);
    Round(g, n);
    const int exponent = g.count == 0 ? 0 : g.point - 1;
    *out++ = x < 0 ? '-' : ' ';
    *out++ = g.count > 0 ? g.d[0] : '0';
    *out++ = '.';
    const int kept = std::clamp(g.count - 1, 0, n - 1);
    out = PutZeros(PutDigitsOf(out, g, 1, kept), n - 1 - kept);
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    const int e = std::abs(exponent);  // at most 324 for a double
    *out++ = static_cast<char>('0' + e / 1000 % 10);
    *out++ = static_cast<char>('0' + e / 100 % 10);
    *out++ = static_cast<char>('0' + e / 10 % 10);
    *out++ = static_cast<char>('0' + e % 10);
    return out;
}

char* FloatToStrF(char* out, double x, int precision, int decimals) {
    if (!std::isfinite(x)) return TextNonFinite(out, x);
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);
    std::uint64_t n;
    if (RoundAtDecimals(x, decimals, precision, n)) {
        if (x < 0) *out++ = '-';
        return PutScaled(out, n, decimals);
    }
    Digits g = Shortest(x);
    Round(g, std::min(precision, g.point + decimals));
    if (x < 0) *out++ = '-';
    if (g.count > 0 && g.point > precision) return PutGeneralExponent(out, g);
    return PutFixed(out, g, decimals);
}

char* FloatToStr(char* out, double x) {
    if (!std::isfinite(x)) return TextNonFinite(out, x);
    Rounded15 r;
    if (x != 0.0 && FifteenDigits(x, r)) {
        if (x < 0) *out++ = '-';
        return PutFifteen(out, r.n, 15 - r.k);
    }
    Digits g = Shortest(x);
    Round(g, 15);
    if (g.count == 0) {
        *out++ = '0';
        return out;
    }
    if (x < 0) *out++ = '-';
    if (g.point > 15 || g.point < -3) return PutGeneralExponent(out, g);
    return PutFixed(out, g, std::max(g.count - g.point, 0));
}

}  // namespace oxw::numeric::fasttext
