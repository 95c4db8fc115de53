// Fast number texts: one std::to_chars call for the digits, rounding on the decimal digits and
// the layout written straight into the caller's buffer. Rules in NumberFormat.h.
#include "numeric/NumberTextFast.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace oxw::numeric::fasttext {
namespace {

// |x| = 0.d[0] d[1] ... d[count-1] x 10^point; count 0 is zero. No trailing zeros.
struct Digits {
    char d[32];  // room for fixed-size copies of 16 digits from any of the first 16 places
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

// "00" .. "99".
struct DigitPairs {
    char d[200];
    constexpr DigitPairs() : d() {
        for (int i = 0; i < 100; ++i) {
            d[2 * i] = static_cast<char>('0' + i / 10);
            d[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr DigitPairs kPairs;

// The 2n decimal digits of v < 100^n.
void PutPairs(char* out, std::uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) {
        std::memcpy(out + 2 * i, kPairs.d + 2 * (v % 100), 2);
        v /= 100;
    }
}

// Rounds y = |x| 10^k to the 15-digit whole number n in [1e14, 1e15) that the shortest decimal
// of x rounds to, where that is sure: the shortest decimal lies within half a unit in the last
// place of x (at most y 2^-53) from the exact product, so when no rounding tie n + 0.5 and no
// power of ten lies within that distance of y, both round alike. Returns 0 where it is not sure.
// Two ways: for k in 0..27, exactly, with the product m 5^k 2^(e + k) of the mantissa m and the
// binary exponent e in 128-bit integers; for other k in -27..54, in extended precision (an error
// below y 2^-63, counted in the margin). About one value in ten is left to the shortest decimal.
struct Rounded15 {
    std::uint64_t n = 0;
    int k = 0;
};

// Exact powers 5^0 .. 5^27 (5^27 < 2^63).
struct PowersOfFive {
    std::uint64_t p[28];
    constexpr PowersOfFive() : p() {
        p[0] = 1;
        for (int i = 1; i < 28; ++i) p[i] = p[i - 1] * 5;
    }
};
constexpr PowersOfFive kFive;

// The exact way; `m` and `e` with |x| = m 2^e, m < 2^53; k the first guess of the scale.
bool RoundExactly(std::uint64_t m, int e, int k, Rounded15& r) {
    __extension__ typedef unsigned __int128 u128;  // GCC and Clang on 64-bit targets
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
        // Fraction and the half in units of 2^shift; half a unit in the last place of x is
        // 5^k / 2 of those units.
        const u128 fraction = y & ((u128{1} << down) - 1);
        const u128 half = u128{1} << (down - 1);
        const u128 distance = fraction > half ? fraction - half : half - fraction;
        if (2 * distance <= kFive.p[k]) return false;
        r.n = static_cast<std::uint64_t>(whole) + (fraction > half ? 1 : 0);
        r.k = k;
        return true;
    }
    return false;
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

// The first 15 digits of the shortest decimal of |x|, rounded half away from zero, without the
// shortest decimal itself (see Rounded15); false where that is not sure.
bool FifteenDigits(double x, Digits& g) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased == 0 || biased == 0x7ff) return false;  // zero, subnormal or not finite
    // floor(lg |x|) or one less (78913 / 2^18 is lg 2 to seven digits); corrected once.
    const int exponent10 = ((biased - 1023) * 78913) >> 18;
    const int k = 14 - exponent10;
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    Rounded15 r;
    if (!(k >= 0 && k <= 27 ? RoundExactly(m, biased - 1075, k, r)
                            : RoundInExtended(std::fabs(x), k, r)))
        return false;
    const auto high = static_cast<std::uint32_t>(r.n / 100000000);  // 7 digits
    const auto low = static_cast<std::uint32_t>(r.n % 100000000);   // 8 digits
    g.d[0] = static_cast<char>('0' + high / 1000000);
    PutPairs(g.d + 1, high % 1000000, 3);
    PutPairs(g.d + 7, low, 4);
    std::memset(g.d + 15, '0', sizeof g.d - 15);  // read, never shown, by the fixed-size copies
    int count = 15;
    while (g.d[count - 1] == '0') --count;
    g.count = count;
    g.point = 15 - r.k;
    return true;
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

// FloatToStr's fixed-point text of 15 digits g (non-zero) with -3 <= point <= 15, in copies of
// 16 digits (stores past the end of the text stay within kBufferSize): the whole part is the
// first `point` digits (those past the count are zeros), the fraction the rest of the count.
char* PutFifteenFixed(char* out, const Digits& g) {
    const int count = g.count, point = g.point;
    if (point <= 0) {
        std::memcpy(out, "0.000", 5);
        std::memcpy(out + 2 - point, g.d, 16);
        return out + 2 - point + count;
    }
    std::memcpy(out, g.d, 16);
    out += point;
    if (count <= point) return out;
    *out = '.';
    std::memcpy(out + 1, g.d + point, 16);
    return out + 1 + (count - point);
}

}  // namespace

char* FixedText(char* out, double x, int decimals) {
    if (!std::isfinite(x)) return FieldNonFinite(out, x);
    decimals = std::max(decimals, 0);
    if (decimals > kFastDigits) return nullptr;
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
    Digits g = Shortest(x);
    Round(g, std::min(precision, g.point + decimals));
    if (x < 0) *out++ = '-';
    if (g.count > 0 && g.point > precision) return PutGeneralExponent(out, g);
    return PutFixed(out, g, decimals);
}

char* FloatToStr(char* out, double x) {
    if (!std::isfinite(x)) return TextNonFinite(out, x);
    Digits g;
    const bool fifteen = x != 0.0 && FifteenDigits(x, g);
    if (!fifteen) {
        g = Shortest(x);
        Round(g, 15);
    }
    if (g.count == 0) {
        *out++ = '0';
        return out;
    }
    if (x < 0) *out++ = '-';
    if (g.point > 15 || g.point < -3) return PutGeneralExponent(out, g);
    if (fifteen) return PutFifteenFixed(out, g);
    return PutFixed(out, g, std::max(g.count - g.point, 0));
}

}  // namespace oxw::numeric::fasttext
