// Field texts of the display controls and the table editor, built on the report fields
// (fixedField, expField); rules in NumberFormat.h.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "numeric/NumberFormat.h"

namespace oxw::numeric {
namespace {

// Widths beyond this are no use on a screen and would only cost memory.
constexpr int kMaxFieldWidth = 1000;

int limitedWidth(long long width)
{
    return static_cast<int>(std::min<long long>(std::llabs(width), kMaxFieldWidth));
}

// Drops the first two of the four exponent digits of an exponent field; an exponent that does
// not fit in the remaining two turns the whole text into stars.
std::string cutExponent(std::string s)
{
    const std::size_t e = s.rfind('E');
    if (e == std::string::npos || s.size() != e + 6)
        return s;
    const bool fits = s[e + 2] == '0' && s[e + 3] == '0';
    s.erase(e + 2, 2);
    if (!fits)
        s.assign(s.size(), '*');
    return s;
}

// Leading blanks become '0'; a minus sign after them moves to the front.
void zeroFill(std::string& s)
{
    std::size_t i = 0;
    for (; i < s.size() && s[i] == ' '; ++i)
        s[i] = '0';
    if (i < s.size() && s[i] == '-') {
        s[i] = '0';
        s[0] = '-';
    }
}

}  // namespace

std::string strff(double r, int FieldWidth, int DecP)
{
    const int w = limitedWidth(FieldWidth);
    if (!std::isfinite(r))
        return fixedField(r, w, 0);
    std::string s;
    if (DecP == -2)
        s = cutExponent(expField(r, w + 2));
    else if (DecP < 0 || std::fabs(r) >= 1e36)
        s = expField(r, w);
    else
        s = fixedField(r, w, std::min(DecP, kMaxFieldWidth));
    if (FieldWidth < 0)
        zeroFill(s);
    return s;
}

std::string FormatData(double data, int NumWidth, int NDecP)
{
    // Bounds of the fixed form: at most 9 significant digits for whole numbers, 8 otherwise.
    static constexpr double kUpper[9] = {999999999,  9999999.9,  999999.99,  99999.999, 9999.9999,
                                         999.99999,  99.999999,  9.9999999,  0.99999999};
    static constexpr double kLower[9] = {1, 0.1, 0.01, 0.001, 0.0001, 0.00001, 0.000001, 0.0000001,
                                         0.00000001};
    const int expWidth = static_cast<int>(std::clamp<long long>(NumWidth + 6LL, -kMaxFieldWidth, kMaxFieldWidth));
    if (NDecP < 0 || NDecP > 8)
        return strff(data, expWidth, -2);
    const double a = std::fabs(data);
    if (data == 0.0 || (a >= kLower[NDecP] && a <= kUpper[NDecP]))
        return strff(data, NumWidth, NDecP);
    return strff(data, expWidth, -2);
}

std::string ReplaceCharInString(std::string_view text, char OldChar, char NewChar)
{
    std::string s(text);
    std::replace(s.begin(), s.end(), OldChar, NewChar);
    return s;
}

}  // namespace oxw::numeric
