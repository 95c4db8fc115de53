// Readers of numbers inside texts (the numeric input and the table editor); rules in
// NumberFormat.h. Positions are 1-based, as the callers count them.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "numeric/NumberFormat.h"
#include "numeric/UnivConst.h"

namespace oxw::numeric {
namespace {

constexpr double kMaxDouble = static_cast<double>(uc_MaxDouble);  // the largest number read from text
constexpr int kExponentLimit = 4201;    // exponent digits beyond this are read but not kept

enum class Phase { Start, Sign, IntDigits, AfterPoint, Fraction, AfterE, ExpSign, ExpDigits, End, Error };

struct FpScanner {
    bool allowExp;
    int decPChar;

    bool isPoint(char c) const
    {
        if (decPChar == 1)
            return c == '.';
        if (decPChar == 2)
            return c == ',';
        return c == '.' || c == ',';
    }

    // Next phase after character c (already upper-cased) in phase p.
    Phase next(Phase p, char c) const
    {
        const bool digit = c >= '0' && c <= '9';
        const bool sign = c == '-' || c == '+';
        const Phase afterE = allowExp ? Phase::AfterE : Phase::End;
        switch (p) {
        case Phase::Start:
            if (isPoint(c)) return Phase::AfterPoint;
            if (digit) return Phase::IntDigits;
            if (c == ' ') return Phase::Start;
            return sign ? Phase::Sign : Phase::Error;
        case Phase::Sign:
            if (isPoint(c)) return Phase::AfterPoint;
            return digit ? Phase::IntDigits : Phase::Error;
        case Phase::IntDigits:
            if (isPoint(c)) return Phase::AfterPoint;
            if (digit) return Phase::IntDigits;
            return c == 'E' ? afterE : Phase::End;
        case Phase::AfterPoint:
            if (isPoint(c)) return Phase::Error;
            if (digit) return Phase::Fraction;
            return c == 'E' ? afterE : Phase::End;
        case Phase::Fraction:
            if (isPoint(c)) return decPChar == 1 || decPChar == 2 ? Phase::Error : Phase::End;
            if (digit) return Phase::Fraction;
            return c == 'E' ? afterE : Phase::End;
        case Phase::AfterE:
            if (digit) return Phase::ExpDigits;
            return sign ? Phase::ExpSign : Phase::Error;
        case Phase::ExpSign:
            return digit ? Phase::ExpDigits : Phase::Error;
        case Phase::ExpDigits:
            return digit ? Phase::ExpDigits : Phase::End;
        default:
            return Phase::Error;
        }
    }
};

// Decade of the first non-zero digit of a work text ("-012.5E3" -> 5, "0.004" -> -3), with the
// text's exponent part `exponent` included; tells an overflow from an underflow.
int leadingDecade(const std::string& work, int exponent)
{
    const std::size_t mantissaEnd = std::min(work.find('E'), work.size());
    const std::size_t point = std::min(work.find('.'), mantissaEnd);
    for (std::size_t i = 0; i < mantissaEnd; ++i) {
        if (work[i] < '1' || work[i] > '9')
            continue;
        const long long decade = i < point ? static_cast<long long>(point - i)
                                           : -static_cast<long long>(i - point);
        return static_cast<int>(exponent + decade);
    }
    return 0;
}

// Converts a work text of the scanner: [sign] [digits] [. digits] [E [sign] digits].
double convertWork(std::string work, int exponent)
{
    if (!work.empty() && work.back() == '.')
        work += '0';
    std::size_t start = 0;
    bool negative = false;
    if (!work.empty() && (work[0] == '-' || work[0] == '+')) {
        negative = work[0] == '-';
        start = 1;
    }
    if (start < work.size() && work[start] == '.')
        work.insert(start, 1, '0');
    double v = 0.0;
    const char* first = work.data() + start;
    const auto res = std::from_chars(first, work.data() + work.size(), v);
    if (res.ec == std::errc::result_out_of_range)
        v = leadingDecade(work, exponent) > 0 ? kMaxDouble : 0.0;
    else if (res.ec != std::errc())
        v = 0.0;
    v = std::min(v, kMaxDouble);
    return negative ? -v : v;
}

char upperAt(std::string_view text, int idx)
{
    if (idx < 1 || idx > static_cast<int>(text.size()))
        return 'Z';  // past the end: a letter that stops every number
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[idx - 1])));
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// Unsigned digits of base 2, 8 or 16 while the value fits 32 bits, as a two's complement int.
std::int32_t scanBase(std::string_view text, int& Idx, unsigned base, char prefix)
{
    while (upperAt(text, Idx) == ' ')
        ++Idx;
    if (prefix != 0 && upperAt(text, Idx) == prefix)
        ++Idx;
    std::uint64_t v = 0;
    for (;;) {
        const int d = digitValue(upperAt(text, Idx));
        if (d >= static_cast<int>(base) || v * base + static_cast<unsigned>(d) > 0xFFFFFFFFull)
            break;
        v = v * base + static_cast<unsigned>(d);
        ++Idx;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

}  // namespace

double ScanFPNum(std::string_view text, bool AllowExp, int DecPChar, int& Idx)
{
    const FpScanner scanner{AllowExp, DecPChar};
    std::string work;
    int exponent = 0;
    int expSign = 1;
    Phase phase = Phase::Start;
    for (;;) {
        const char c = upperAt(text, Idx);
        const Phase nextPhase = scanner.next(phase, c);
        if (nextPhase == Phase::End || nextPhase == Phase::Error) {
            phase = nextPhase;
            break;
        }
        if (nextPhase == Phase::ExpDigits) {
            const int d = c - '0';
            if (exponent * 10 + d < kExponentLimit) {
                exponent = exponent * 10 + d;
                work += c;
            }
        } else if (nextPhase == Phase::ExpSign) {
            expSign = c == '-' ? -1 : 1;
            work += c;
        } else if (c != ' ') {
            work += scanner.isPoint(c) ? '.' : c;
        }
        phase = nextPhase;
        ++Idx;  // only characters inside the text are ever accepted
    }
    if (phase == Phase::Error)
        return 0.0;
    return convertWork(std::move(work), expSign * exponent);
}

std::int32_t ScanDecimal(std::string_view text, int& Idx)
{
    while (upperAt(text, Idx) == ' ')
        ++Idx;
    const char sign = upperAt(text, Idx);
    const bool negative = sign == '-';
    if (sign == '-' || sign == '+')
        ++Idx;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t v = 0;
    for (;;) {
        const int d = digitValue(upperAt(text, Idx));
        if (d > 9 || v * 10 + d > limit)
            break;
        v = v * 10 + d;
        ++Idx;
    }
    return static_cast<std::int32_t>(negative ? -v : v);
}

std::int32_t ScanHex(std::string_view text, int& Idx) { return scanBase(text, Idx, 16, '$'); }
std::int32_t ScanOctal(std::string_view text, int& Idx) { return scanBase(text, Idx, 8, 0); }
std::int32_t ScanBin(std::string_view text, int& Idx) { return scanBase(text, Idx, 2, 0); }

}  // namespace oxw::numeric

namespace oxw::numeric {

std::optional<double> TextToFloat(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only a digit or a point may start the number: from_chars would also take "inf" and "nan".
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.'))
        return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                           std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    if (negative) value = -value;
    return value;
}

}  // namespace oxw::numeric
