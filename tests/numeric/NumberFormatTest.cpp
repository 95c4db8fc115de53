// Number texts of the reports, the display controls and the table editor, and the number readers
// of the numeric input. Every expected text is worked out by hand from the decimal value of the
// literal; the texts are checked on the fast path and on the plain one.
#include "numeric/NumberFormat.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace {

using namespace oxw::numeric;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

// A value, a width (or precision) and a number of decimals, and the text they give.
struct FieldCase {
    double x;
    int width, decimals;
    std::string text;
};

// The texts of `write` against the cases on the plain path and on the fast one (the default
// again afterwards).
template <std::size_t N>
void ExpectTexts(const FieldCase (&cases)[N], const std::function<std::string(const FieldCase&)>& write) {
    for (const auto path : {NumberTextPath::Plain, NumberTextPath::Fast}) {
        SetNumberTextPath(path);
        for (const auto& c : cases)
            EXPECT_EQ(write(c), c.text) << (path == NumberTextPath::Fast ? "fast " : "plain ") << c.x
                                        << " W/P=" << c.width << " D=" << c.decimals;
    }
}

TEST(NumberFormat, FixedFieldRoundsHalfAwayOnTheDecimalValue) {
    // The largest double, 1.7976931348623157e308: 17 significant digits and 292 zeros.
    const std::string maxDouble = "17976931348623157" + std::string(292, '0');
    const FieldCase cases[] = {
        // Ties: away from zero, never to even; 0.125 is exact, 2.675 and 1.005 lie just below.
        {0.125, 0, 2, "0.13"}, {-0.125, 0, 2, "-0.13"}, {2.675, 0, 2, "2.68"},
        {1.005, 0, 2, "1.01"}, {0.5, 0, 0, "1"}, {2.5, 0, 0, "3"}, {-2.5, 0, 0, "-3"},
        {0.0005, 0, 3, "0.001"}, {0.00049, 0, 3, "0.000"}, {1234567.25, 0, 1, "1234567.3"},
        // Carries through every digit.
        {9.995, 0, 2, "10.00"}, {99.96, 5, 1, "100.0"}, {-9.5, 0, 0, "-10"},
        // Zero, values that round to zero (the sign of a negative value stays).
        {0.0, 6, 3, " 0.000"}, {0.004, 5, 2, " 0.00"}, {-0.004, 5, 2, "-0.00"},
        {-0.005, 0, 2, "-0.01"}, {5e-324, 0, 2, "0.00"},
        // Right alignment; too narrow a field is widened, never cut.
        {62.5, 8, 1, "    62.5"}, {100.0, 5, 2, "100.00"}, {-12.345, 3, 2, "-12.35"},
        {41.0, 0, -2, "41"},
        // Large and long values keep every digit.
        {1e20, 0, 2, "100000000000000000000.00"}, {123456789012.0, 14, 1, "123456789012.0"},
        {0.1 + 0.2, 0, 17, "0.30000000000000004"}, {0.1, 0, 20, "0.10000000000000000000"},
        {kMax, 5, 1, maxDouble + ".0"}, {-kMax, 0, 0, "-" + maxDouble},
        {kNan, 5, 2, "  Nan"}, {kInf, 6, 2, "  +Inf"}, {-kInf, 2, 1, "-Inf"},
    };
    ExpectTexts(cases, [](const FieldCase& c) { return fixedField(c.x, c.width, c.decimals); });
}

// Away from decimal ties, and within 15 significant digits, the exact binary value and its shortest
// decimal round alike, so the C library's correctly rounded "%.*f" is an independent reference
// there. Ties (the shortest decimal ends in a 5 one place beyond the decimals kept) are left to
// the hand-worked table above.
TEST(NumberFormat, FixedFieldMatchesCorrectRoundingAwayFromTies) {
    std::mt19937_64 gen(20240601);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> power(-6, 8);  // at most 15 digits in all
    std::uniform_int_distribution<int> places(0, 6);
    int compared = 0;
    for (int i = 0; i < 3000; ++i) {
        const double x = mantissa(gen) * std::pow(10.0, power(gen));
        const int decimals = places(gen);
        char shortest[40];
        *std::to_chars(shortest, shortest + 39, x, std::chars_format::fixed).ptr = '\0';
        const char* point = std::strchr(shortest, '.');
        const std::size_t fraction = point ? std::strlen(point + 1) : 0;
        if (fraction == static_cast<std::size_t>(decimals) + 1 && point[fraction] == '5') continue;
        char reference[400];
        std::snprintf(reference, sizeof reference, "%.*f", decimals, x);
        std::string expected = reference;
        if (expected.find_first_not_of("-0.") == std::string::npos && x < 0 && expected[0] != '-')
            expected.insert(0, "-");
        EXPECT_EQ(fixedField(x, 0, decimals), expected) << shortest << " D=" << decimals;
        ++compared;
    }
    EXPECT_GT(compared, 2900);
}

TEST(NumberFormat, IntFieldRightAligns) {
    const struct { long long v; int width; const char* text; } cases[] = {
        {0, 0, "0"}, {42, 5, "   42"}, {-99, 5, "  -99"}, {123456, 3, "123456"}, {7, -3, "7"},
        {LLONG_MIN, 0, "-9223372036854775808"}, {LLONG_MAX, 21, "  9223372036854775807"},
    };
    for (const auto& c : cases) EXPECT_EQ(intField(c.v, c.width), c.text) << c.v << " W=" << c.width;
}

TEST(NumberFormat, ExpFieldHasMantissaOfWidthMinusEightDigits) {
    const std::string mantissa18 = "1." + std::string(17, '0') + "E+0100";
    const FieldCase cases[] = {
        {12.3, 10, 0, " 1.2E+0001"}, {12.3, 5, 0, " 1.2E+0001"},  // at least two digits
        {-12345.678, 10, 0, "-1.2E+0004"}, {-12345.678, 14, 0, "-1.23457E+0004"},
        {0.0, 10, 0, " 0.0E+0000"}, {-0.0, 10, 0, " 0.0E+0000"}, {1e-300, 10, 0, " 1.0E-0300"},
        {0.125, 10, 0, " 1.3E-0001"}, {9.95, 10, 0, " 1.0E+0001"},  // ties away from zero
        {0.0999, 11, 0, " 9.99E-0002"}, {0.09999, 11, 0, " 1.00E-0001"},
        {kMax, 10, 0, " 1.8E+0308"},
        // At most 18 mantissa digits: a wider field is padded with blanks.
        {1e100, 26, 0, " " + mantissa18}, {1e100, 27, 0, "  " + mantissa18},
        {kNan, 10, 0, "       Nan"}, {kInf, 10, 0, "      +Inf"}, {-kInf, 0, 0, "-Inf"},
    };
    ExpectTexts(cases, [](const FieldCase& c) { return expField(c.x, c.width); });
}

TEST(NumberFormat, FloatToStrFRoundsToPrecisionAndDecimals) {
    // (x, precision, decimals, text)
    const FieldCase cases[] = {
        {0.125, 15, 2, "0.13"}, {41.0, 10, 3, "41.000"}, {123.456, 15, 6, "123.456000"},
        {12.34567, 7, 4, "12.3457"}, {0.000123456, 15, 6, "0.000123"},
        {-1234567.25, 10, 1, "-1234567.3"},
        // Fewer significant digits than decimals: the rest are zeros.
        {123.456789, 5, 3, "123.460"}, {1234.5, 4, 1, "1235.0"},
        // More digits before the point than the precision: exponent form.
        {123456.7, 5, 1, "1.2346E5"}, {99999.96, 5, 1, "1E5"}, {-1e20, 15, 6, "-1E20"},
        {99999.4, 5, 1, "99999.0"},
        // At most 18 decimals.
        {0.1, 18, 18, "0.1" + std::string(17, '0')},
        {0.1, 25, 19, "0.1" + std::string(17, '0')},
        {-0.0, 15, 2, "0.00"}, {-0.004, 15, 2, "-0.00"}, {0.00005, 7, 4, "0.0001"},
        {kNan, 15, 6, "NAN"}, {-kInf, 15, 6, "-INF"},
    };
    ExpectTexts(cases, [](const FieldCase& c) { return floatToStrF(c.x, c.width, c.decimals); });
}

TEST(NumberFormat, FloatToStrIsShortestWithFifteenDigits) {
    const FieldCase cases[] = {  // (x, -, -, text)
        {0.0, 0, 0, "0"}, {-0.0, 0, 0, "0"}, {-2.5, 0, 0, "-2.5"}, {0.1, 0, 0, "0.1"},
        {0.1 + 0.2, 0, 0, "0.3"}, {1.0 / 3.0, 0, 0, "0.333333333333333"},
        {123456789012345.0, 0, 0, "123456789012345"}, {999999999999999.9, 0, 0, "1E15"},
        {1234567890123456.0, 0, 0, "1.23456789012346E15"},
        // Shortest decimals on the 15-digit tie, although the doubles lie just below it.
        {0.1234567890123455, 0, 0, "0.123456789012346"}, {2.000000000000005, 0, 0, "2.00000000000001"},
        {-0.0006543210987654325, 0, 0, "-0.000654321098765433"},
        {123456789012345.45, 0, 0, "123456789012345"},
        // Fixed from 1e-4 up, exponent form below.
        {0.0001, 0, 0, "0.0001"}, {-0.00012345, 0, 0, "-0.00012345"}, {0.00001, 0, 0, "1E-5"},
        {1.5e-7, 0, 0, "1.5E-7"}, {1e300, 0, 0, "1E300"}, {-1e-300, 0, 0, "-1E-300"},
        {kNan, 0, 0, "NAN"}, {-kInf, 0, 0, "-INF"},
    };
    ExpectTexts(cases, [](const FieldCase& c) { return floatToStr(c.x); });
}

TEST(NumberFormat, StrffFixedExponentZeroFillAndNotFinite) {
    // (r, FieldWidth, DecP, text)
    const FieldCase cases[] = {
        {2.5, 6, 2, "  2.50"}, {2.5, -6, 2, "002.50"}, {-3.5, -6, 1, "-003.5"},
        {3.14159, 8, 2, "    3.14"}, {-5, -5, 0, "-0005"}, {7, 1, 0, "7"},
        {-12.345, 2, 2, "-12.35"},  // never cut, half away from zero
        {123456.7, 7, -2, " 1.2E+05"}, {-0.000123, 7, -2, "-1.2E-04"},  // two-digit exponent
        {0.0, 7, -2, " 0.0E+00"}, {99.96, 7, -2, " 1.0E+02"},
        {1e150, 7, -2, "********"}, {1e-100, 7, -2, "********"},  // three exponent digits
        {123456.7, 1, -1, " 1.2E+0005"}, {123456.7, 12, -3, " 1.235E+0005"},  // uncut exponent
        {1e36, 9, 2, " 1.0E+0036"}, {-2e40, 12, 0, "-2.000E+0040"},  // 1E36 and beyond
        {9.99e35, 1, 0, "999" + std::string(33, '0')},
        {1.5, -10, -2, "01.500E+00"}, {-1.5, -10, -2, "-1.500E+00"},  // zero-filled exponent
        // Not finite: never cut, starred or zero-filled.
        {kNan, 6, 2, "   Nan"}, {kNan, -6, 2, "   Nan"}, {kInf, 1, -2, "+Inf"},
        {-kInf, 7, -2, "   -Inf"}, {-kInf, -2, -1, "-Inf"}, {kInf, 3, 0, "+Inf"},
    };
    ExpectTexts(cases, [](const FieldCase& c) { return strff(c.x, c.width, c.decimals); });
    // Huge widths and decimals stay bounded.
    EXPECT_EQ(strff(1, INT_MAX, 0).size(), 1000u);
    EXPECT_EQ(strff(1, INT_MIN, 0), std::string(999, '0') + "1");
    EXPECT_EQ(strff(1, 1, INT_MAX).size(), 1002u);
    EXPECT_EQ(FormatData(1e300, INT_MAX, -1).size(), 1000u);
}

TEST(NumberFormat, FormatDataFixedWithinBoundsElseExponent) {
    // (data, NumWidth, NDecP, text)
    const FieldCase cases[] = {
        {1234.5678, 1, 3, "1234.568"}, {123456.7, 1, 3, " 1.2E+05"}, {0.0004, 1, 3, " 4.0E-04"},
        {0, 1, 3, "0.000"}, {-0.001, 1, 3, "-0.001"},
        // The bounds at three decimals: last fixed and first exponent values.
        {99999.999, 1, 3, "99999.999"}, {100000, 1, 3, " 1.0E+05"},
        {0.001, 1, 3, "0.001"}, {0.0009, 1, 3, " 9.0E-04"},
        {999999999, 1, 0, "999999999"}, {0.5, 1, 0, " 5.0E-01"},
        {0.99999999, 1, 8, "0.99999999"}, {1, 1, 8, " 1.0E+00"},
        // Decimals outside 0..8: always the exponent form, max(NumWidth, 2) significant digits.
        {2.5, 1, -1, " 2.5E+00"}, {2.5, 4, 9, " 2.500E+00"}, {-2.5, 6, -1, "-2.50000E+00"},
        {12.5, 8, 2, "   12.50"}, {kNan, 1, 3, "    Nan"}, {-kInf, 1, -1, "   -Inf"},
    };
    ExpectTexts(cases, [](const FieldCase& c) { return FormatData(c.x, c.width, c.decimals); });
}

TEST(NumberFormat, GeneralAndExponentTexts) {
    const struct { double x; int p; std::string general, exponent; } cases[] = {
        {3.14159, 3, "3.14", "3.14E+000"}, {3.14159, 0, "3", "3E+000"},
        {100, 2, "1E2", "1.0E+002"},  // three digits before the point need precision 3
        {100, 3, "100", "1.00E+002"}, {123456, 3, "1.23E5", "1.23E+005"},
        {0.00001, 2, "0.00001", "1.0E-005"}, {0.0000099, 2, "9.9E-6", "9.9E-006"},
        {-2.5, 15, "-2.5", "-2.50000000000000E+000"},
        {0.125, 2, "0.13", "1.3E-001"},  // half away from zero on the decimal value
        {0, 4, "0", "0.000E+000"}, {1e300, 2, "1E300", "1.0E+300"}, {kNan, 3, "Nan", "Nan"},
        {-kInf, 3, "-Inf", "-Inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatGeneral(c.x, c.p), c.general) << c.x << " p=" << c.p;
        EXPECT_EQ(formatExponent(c.x, c.p), c.exponent) << c.x << " p=" << c.p;
    }
}

TEST(NumberFormat, ScanFPNumPhaseTable) {
    const struct { std::string text; bool allowExp; int decPChar, idx; double value; int idxAfter; } cases[] = {
        {"12.5e3", true, 3, 1, 12500, 7},    // Idx after the 3
        {"7,", true, 3, 1, 7, 3},            // a trailing point: past the end
        {"- ", true, 3, 1, 0.0, 2},          // error on the blank
        {"1,5,7", true, 3, 1, 1.5, 4},       // a second point ends the number
        {"1.5.7", true, 1, 1, 0.0, 4},       // ... but is an error for a single point character
        {"1,5", true, 1, 1, 1, 2},           // ',' is another character with DecPChar 1
        {"1.5", true, 2, 1, 1, 2},           // '.' with DecPChar 2
        {"1e999", true, 3, 1, 1.7e308, 6},   // limited to the largest number
        {"-1E999", true, 1, 1, -1.7e308, 7}, {"1e-999", true, 1, 1, 0.0, 7},
        {"2e5", false, 1, 1, 2, 2},          // no exponent: 'e' ends the number
        {"  -.5x", true, 1, 1, -0.5, 6},     // blanks, sign, point first
        {"+3", true, 1, 1, 3, 3}, {".", true, 1, 1, 0.0, 2},
        {"e5", true, 1, 1, 0.0, 1},          // an 'E' first is an error
        {"1e", true, 1, 1, 0.0, 3}, {"1e+", true, 1, 1, 0.0, 4},  // exponent without digits
        {"1e+x", true, 1, 1, 0.0, 4}, {"1.e2", true, 1, 1, 100, 5}, {"3E-2;", true, 1, 1, 0.03, 5},
        {"4E2.", true, 1, 1, 400, 4},        // a point ends the exponent
        {"ab12.5", true, 1, 3, 12.5, 7},     // starting inside the text
        {"12", true, 1, 0, 0.0, 0}, {"12", true, 1, 3, 0.0, 3},  // an Idx outside reads nothing
        {"12", true, 1, -7, 0.0, -7}, {"", true, 1, 1, 0.0, 1},
        {"1e" + std::string(30, '0') + "5", true, 1, 1, 100000, 34},  // leading exponent zeros
        {"0." + std::string(29, '0') + "1e30", true, 1, 1, 1, 36},
        {std::string(400, '9'), true, 1, 1, 1.7e308, 401},
    };
    for (const auto& c : cases) {
        int idx = c.idx;
        EXPECT_DOUBLE_EQ(ScanFPNum(c.text, c.allowExp, c.decPChar, idx), c.value) << '"' << c.text << '"';
        EXPECT_EQ(idx, c.idxAfter) << '"' << c.text << '"';
    }
}

TEST(NumberFormat, IntegerReadersRejectDigitsBeyond32Bits) {
    enum Reader { Dec, Hex, Oct, Bin };
    std::int32_t (*const read[])(std::string_view, int&) = {ScanDecimal, ScanHex, ScanOctal, ScanBin};
    const struct { Reader reader; std::string text; std::int32_t value; int idxAfter; } cases[] = {
        {Dec, "  -42x", -42, 6}, {Dec, "+7", 7, 3}, {Dec, "2147483647", 2147483647, 11},
        {Dec, "-2147483648", -2147483647 - 1, 12},
        {Dec, "2147483648", 214748364, 10},    // the last digit does not fit
        {Dec, "4294967301", 429496730, 10},    // 2^32 + 5 is never read as 5
        {Dec, "-", 0, 2}, {Hex, "$ff", 255, 4},
        {Hex, "FFFFFFFF", -1, 9},              // two's complement
        {Hex, "7fffffffG", 2147483647, 9},
        {Hex, "100000000", 268435456, 9},      // a ninth significant digit does not fit
        {Hex, "000000000001", 1, 13},          // leading zeros do
        {Oct, "17", 15, 3}, {Oct, "37777777777", -1, 12}, {Oct, "40000000000", 0x20000000, 11},
        {Oct, "18", 1, 2}, {Bin, "101", 5, 4}, {Bin, std::string(32, '1'), -1, 33},
        {Bin, "1" + std::string(32, '0'), std::int32_t(0x80000000u), 33}, {Bin, "102", 2, 3},
    };
    for (const auto& c : cases) {
        int idx = 1;
        EXPECT_EQ(read[c.reader](c.text, idx), c.value) << c.text;
        EXPECT_EQ(idx, c.idxAfter) << c.text;
    }
}

// A whole text as one number, as typed into a cell or a name edit.
TEST(NumberFormat, TextToFloatTakesOnlyAWholeFiniteDecimalNumber) {
    const struct { const char* text; std::optional<double> value; } cases[] = {
        {"2.5", 2.5},    {" -1e2 ", -100.0}, {"+7", 7.0},       {".5", 0.5},   {"5.", 5.0},
        {"1E30", 1e30},  {"\t3\t", 3.0},    {"1e-5", 1e-5},    {"", {}},      {" ", {}},
        {"abc", {}},     {"12abc", {}},      {"1.2.3", {}},     {"2,5", {}},   {"inf", {}},
        {"-inf", {}},    {"nan", {}},        {"Infinity", {}},  {"0x10", {}},  {"1e400", {}},
        {"+-1", {}},     {"- 1", {}},        {"1 2", {}},       {".", {}},     {"e5", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToFloat(c.text), c.value) << "'" << c.text << "'";
    EXPECT_EQ(ReplaceCharInString("1,5,7", ',', '.'), "1.5.7");
}

}  // namespace
