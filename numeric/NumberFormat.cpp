// Number-to-text conversions of the reports; rules in NumberFormat.h. The fast path lives in
// NumberTextFast.cpp; the plain one below is its reference.
#include "numeric/NumberFormat.h"

#include "numeric/NumberTextFast.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace oxw::numeric {
namespace {

// Magnitude of a finite double as a decimal: value = 0.d1 d2 ... dn * 10^point.
// `count` == 0 means zero. Digits carry no leading and no trailing zeros.
struct Decimal {
    char digits[24];
    int count = 0;
    int point = 0;

    char digitAt(int i) const { return (i >= 0 && i < count) ? digits[i] : '0'; }
};

// Shortest round-trip decimal of |x| (x finite).
Decimal shortestDecimal(double x)
{
    Decimal d;
    if (x == 0.0)
        return d;
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific);
    const char* p = buf;
    for (; p != res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            d.digits[d.count++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exponent);
    d.point = exponent + 1;
    while (d.count > 0 && d.digits[d.count - 1] == '0')
        --d.count;
    return d;
}

// Keeps the first `keep` significant digits, rounding half away from zero on
// the decimal digits; keep <= 0 reaches before the first digit.
void roundTo(Decimal& d, int keep)
{
    if (keep >= d.count)
        return;
    if (keep < 0) {
        d.count = 0;  // the first dropped digit is a leading zero: below a half
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.count = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9')
            --i;
        if (i < 0) {  // all nines (or nothing kept): carry into a new digit
            d.digits[0] = '1';
            d.count = 1;
            ++d.point;
        } else {
            ++d.digits[i];
            d.count = i + 1;
        }
    }
    while (d.count > 0 && d.digits[d.count - 1] == '0')
        --d.count;
}

// Digits after the point that can still change a rounding: beyond this a
// shortest decimal (at most 17 digits, point >= -323) has only zeros.
constexpr int kMaxRoundingDecimals = 400;

void padLeft(std::string& s, int width)
{
    if (width > static_cast<int>(s.size()))
        s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
}

std::string fieldNonFinite(double x, int width)
{
    std::string s = std::isnan(x) ? "Nan" : (x > 0 ? "+Inf" : "-Inf");
    padLeft(s, width);
    return s;
}

std::string textNonFinite(double x)
{
    return std::isnan(x) ? "NAN" : (x > 0 ? "INF" : "-INF");
}

// Fixed-point text of d with exactly `decimals` decimals (d already rounded).
void appendFixed(std::string& out, const Decimal& d, int decimals)
{
    if (d.count == 0 || d.point <= 0)
        out += '0';
    else
        for (int i = 0; i < d.point; ++i)
            out += d.digitAt(i);
    if (decimals <= 0)
        return;
    out += '.';
    for (int i = 0; i < decimals; ++i)
        out += d.digitAt(d.point + i);
}

// General exponent text of d (non-zero): "1.2346E5", "1E-5".
void appendGeneralExponent(std::string& out, const Decimal& d)
{
    out += d.digits[0];
    if (d.count > 1) {
        out += '.';
        out.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
    }
    out += 'E';
    char buf[8];
    const auto res = std::to_chars(buf, buf + sizeof buf, d.point - 1);
    out.append(buf, res.ptr);
}

// The plain path: each text built digit by digit from the Decimal above.

std::string PlainFixedField(double x, int width, int decimals)
{
    if (!std::isfinite(x))
        return fieldNonFinite(x, width);
    decimals = std::max(decimals, 0);
    Decimal d = shortestDecimal(x);
    roundTo(d, d.point + std::min(decimals, kMaxRoundingDecimals));
    std::string s;
    if (x < 0)
        s += '-';
    appendFixed(s, d, decimals);
    padLeft(s, width);
    return s;
}

std::string PlainExpField(double x, int width)
{
    if (!std::isfinite(x))
        return fieldNonFinite(x, width);
    const int n = std::clamp(width - 8, 2, 18);
    Decimal d = shortestDecimal(x);
    roundTo(d, n);
    const int exponent = d.count == 0 ? 0 : d.point - 1;
    std::string s;
    s += x < 0 ? '-' : ' ';
    s += d.digitAt(0);
    s += '.';
    for (int i = 1; i < n; ++i)
        s += d.digitAt(i);
    s += 'E';
    s += exponent < 0 ? '-' : '+';
    const int e = std::abs(exponent);  // at most 324 for a double
    s += static_cast<char>('0' + e / 1000 % 10);
    s += static_cast<char>('0' + e / 100 % 10);
    s += static_cast<char>('0' + e / 10 % 10);
    s += static_cast<char>('0' + e % 10);
    padLeft(s, width);
    return s;
}

std::string PlainFloatToStrF(double x, int precision, int decimals)
{
    if (!std::isfinite(x))
        return textNonFinite(x);
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);
    Decimal d = shortestDecimal(x);
    roundTo(d, std::min(precision, d.point + decimals));
    std::string s;
    if (x < 0)
        s += '-';
    if (d.count > 0 && d.point > precision)
        appendGeneralExponent(s, d);
    else
        appendFixed(s, d, decimals);
    return s;
}

std::string PlainFloatToStr(double x)
{
    if (!std::isfinite(x))
        return textNonFinite(x);
    Decimal d = shortestDecimal(x);
    roundTo(d, 15);
    if (d.count == 0)
        return "0";
    std::string s;
    if (x < 0)
        s += '-';
    if (d.point > 15 || d.point < -3)
        appendGeneralExponent(s, d);
    else
        appendFixed(s, d, std::max(d.count - d.point, 0));
    return s;
}

NumberTextPath gPath = NumberTextPath::Fast;  // the program is single-threaded

// The text of a fast writer, padded on the left to `width`, into s; false when the writer
// declines (the text would not fit its buffer) and the plain path has to write it.
template <class Writer>
bool FastField(std::string& s, int width, Writer write)
{
    char buf[fasttext::kBufferSize];
    const char* end = write(buf);
    if (end == nullptr)
        return false;
    const auto n = static_cast<std::size_t>(end - buf);
    const std::size_t padding = width > static_cast<int>(n) ? static_cast<std::size_t>(width) - n : 0;
    s.reserve(n + padding);
    s.assign(padding, ' ');
    s.append(buf, n);
    return true;
}

}  // namespace

void SetNumberTextPath(NumberTextPath path) { gPath = path; }

NumberTextPath GetNumberTextPath() { return gPath; }

std::string fixedField(double x, int width, int decimals)
{
    std::string s;
    if (gPath == NumberTextPath::Fast &&
        FastField(s, width, [&](char* out) { return fasttext::FixedText(out, x, decimals); }))
        return s;
    return PlainFixedField(x, width, decimals);
}

std::string intField(long long v, int width)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, res.ptr);
    padLeft(s, width);
    return s;
}

std::string expField(double x, int width)
{
    std::string s;
    const int n = std::clamp(width - 8, 2, 18);
    if (gPath == NumberTextPath::Fast &&
        FastField(s, width, [&](char* out) { return fasttext::ExpText(out, x, n); }))
        return s;
    return PlainExpField(x, width);
}

std::string floatToStrF(double x, int precision, int decimals)
{
    std::string s;
    if (gPath == NumberTextPath::Fast &&
        FastField(s, 0, [&](char* out) { return fasttext::FloatToStrF(out, x, precision, decimals); }))
        return s;
    return PlainFloatToStrF(x, precision, decimals);
}

std::string floatToStr(double x)
{
    std::string s;
    if (gPath == NumberTextPath::Fast &&
        FastField(s, 0, [&](char* out) { return fasttext::FloatToStr(out, x); }))
        return s;
    return PlainFloatToStr(x);
}

char* writeFloatToStr(char* out, double x)
{
    static_assert(kFloatToStrRoom >= fasttext::kBufferSize);
    if (gPath == NumberTextPath::Fast) return fasttext::FloatToStr(out, x);
    const std::string text = PlainFloatToStr(x);  // at most 24 characters
    return std::copy(text.begin(), text.end(), out);
}

std::string formatGeneral(double x, int precision)
{
    if (!std::isfinite(x))
        return fieldNonFinite(x, 0);
    precision = std::clamp(precision, 1, 18);
    Decimal d = shortestDecimal(x);
    roundTo(d, precision);
    if (d.count == 0)
        return "0";
    std::string s;
    if (x < 0)
        s += '-';
    if (d.point > precision || d.point < -4)  // below 0.00001 or too many digits before the point
        appendGeneralExponent(s, d);
    else
        appendFixed(s, d, std::max(d.count - d.point, 0));
    return s;
}

std::string formatExponent(double x, int precision)
{
    if (!std::isfinite(x))
        return fieldNonFinite(x, 0);
    precision = std::clamp(precision, 1, 18);
    Decimal d = shortestDecimal(x);
    roundTo(d, precision);
    const int exponent = d.count == 0 ? 0 : d.point - 1;
    std::string s;
    if (x < 0)
        s += '-';
    s += d.digitAt(0);
    if (precision > 1) {
        s += '.';
        for (int i = 1; i < precision; ++i)
            s += d.digitAt(i);
    }
    s += 'E';
    s += exponent < 0 ? '-' : '+';
    const int e = std::abs(exponent);  // at most 324 for a double
    s += static_cast<char>('0' + e / 100 % 10);
    s += static_cast<char>('0' + e / 10 % 10);
    s += static_cast<char>('0' + e % 10);
    return s;
}

}  // namespace oxw::numeric
