// Number-to-text conversions of the reports. Every expected text below is
// worked out by hand from the decimal value of the literal.
#include "numeric/NumberFormat.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

using namespace oxw::numeric;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumberFormat, FixedFieldRoundsHalfAwayOnTheDecimalValue) {
    // The largest double, 1.7976931348623157e308: 17 significant digits and 292 zeros.
    const std::string maxDouble = "17976931348623157" + std::string(292, '0');
    const struct { double x; int width, decimals; std::string text; } cases[] = {
        // Ties: away from zero, never to even; 0.125 is exact, 2.675 and 1.005 lie just below.
        {0.125, 0, 2, "0.13"},
        {-0.125, 0, 2, "-0.13"},
        {2.675, 0, 2, "2.68"},
        {1.005, 0, 2, "1.01"},
        {0.5, 0, 0, "1"},
        {2.5, 0, 0, "3"},
        {-2.5, 0, 0, "-3"},
        {0.0005, 0, 3, "0.001"},
        {0.00049, 0, 3, "0.000"},
        {1234567.25, 0, 1, "1234567.3"},
        // Carries through every digit.
        {9.995, 0, 2, "10.00"},
        {99.96, 5, 1, "100.0"},
        {-9.5, 0, 0, "-10"},
        // Zero, values that round to zero (the sign of a negative value stays).
        {0.0, 6, 3, " 0.000"},
        {0.004, 5, 2, " 0.00"},
        {-0.004, 5, 2, "-0.00"},
        {-0.005, 0, 2, "-0.01"},
        {5e-324, 0, 2, "0.00"},
        // Right alignment; too narrow a field is widened, never cut.
        {62.5, 8, 1, "    62.5"},
        {100.0, 5, 2, "100.00"},
        {-12.345, 3, 2, "-12.35"},
        {41.0, 0, -2, "41"},
        // Large and long values keep every digit.
        {1e20, 0, 2, "100000000000000000000.00"},
        {123456789012.0, 14, 1, "123456789012.0"},
        {0.1 + 0.2, 0, 17, "0.30000000000000004"},
        {0.1, 0, 20, "0.10000000000000000000"},
        {std::numeric_limits<double>::max(), 5, 1, maxDouble + ".0"},
        {-std::numeric_limits<double>::max(), 0, 0, "-" + maxDouble},
        // Not finite.
        {kNan, 5, 2, "  Nan"},
        {kInf, 6, 2, "  +Inf"},
        {-kInf, 2, 1, "-Inf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixedField(c.x, c.width, c.decimals), c.text) << c.x << " W=" << c.width << " D=" << c.decimals;
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
        {0, 0, "0"},
        {42, 5, "   42"},
        {-99, 5, "  -99"},
        {123456, 3, "123456"},
        {7, -3, "7"},
        {LLONG_MIN, 0, "-9223372036854775808"},
        {LLONG_MAX, 21, "  9223372036854775807"},
    };
    for (const auto& c : cases) EXPECT_EQ(intField(c.v, c.width), c.text) << c.v << " W=" << c.width;
}

TEST(NumberFormat, ExpFieldHasMantissaOfWidthMinusEightDigits) {
    const struct { double x; int width; const char* text; } cases[] = {
        {12.3, 10, " 1.2E+0001"},
        {12.3, 5, " 1.2E+0001"},  // at least two mantissa digits, never cut
        {-12345.678, 10, "-1.2E+0004"},
        {-12345.678, 14, "-1.23457E+0004"},
        {0.0, 10, " 0.0E+0000"},
        {-0.0, 10, " 0.0E+0000"},
        {1e-300, 10, " 1.0E-0300"},
        {0.125, 10, " 1.3E-0001"},  // tie, away from zero
        {9.95, 10, " 1.0E+0001"},
        {0.0999, 11, " 9.99E-0002"},
        {0.09999, 11, " 1.00E-0001"},
        {std::numeric_limits<double>::max(), 10, " 1.8E+0308"},
        // Mantissa limited to 18 digits; the rest of the field is blanks.
        {1e100, 30, "     1.00000000000000000E+0100"},
        {kNan, 10, "       Nan"},
        {kInf, 10, "      +Inf"},
        {-kInf, 0, "-Inf"},
    };
    for (const auto& c : cases) EXPECT_EQ(expField(c.x, c.width), c.text) << "x=" << c.x << " W=" << c.width;
}

TEST(NumberFormat, FloatToStrFRoundsToPrecisionAndDecimals) {
    const struct { double x; int precision, decimals; const char* text; } cases[] = {
        {0.125, 15, 2, "0.13"},
        {41.0, 10, 3, "41.000"},
        {123.456, 15, 6, "123.456000"},
        {12.34567, 7, 4, "12.3457"},
        {0.000123456, 15, 6, "0.000123"},
        {-1234567.25, 10, 1, "-1234567.3"},
        // Fewer significant digits than decimals: the rest are zeros.
        {123.456789, 5, 3, "123.460"},
        {1234.5, 4, 1, "1235.0"},
        // More digits before the point than the precision: exponent form.
        {123456.7, 5, 1, "1.2346E5"},
        {99999.96, 5, 1, "1E5"},
        {-1e20, 15, 6, "-1E20"},
        {99999.4, 5, 1, "99999.0"},
        // Zero and values rounding to zero.
        {-0.0, 15, 2, "0.00"},
        {-0.004, 15, 2, "-0.00"},
        {0.00005, 7, 4, "0.0001"},
        // Not finite.
        {kNan, 15, 6, "NAN"},
        {-kInf, 15, 6, "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(floatToStrF(c.x, c.precision, c.decimals), c.text) << c.x << " P=" << c.precision << " D=" << c.decimals;
}

TEST(NumberFormat, FloatToStrIsShortestWithFifteenDigits) {
    const struct { double x; const char* text; } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {123456789012345.0, "123456789012345"},
        {999999999999999.9, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        // Shortest decimals on the 15-digit tie, although the doubles lie just below it.
        {0.1234567890123455, "0.123456789012346"},
        {2.000000000000005, "2.00000000000001"},
        {-0.0006543210987654325, "-0.000654321098765433"},
        {123456789012345.45, "123456789012345"},
        {0.0001, "0.0001"},
        {-0.00012345, "-0.00012345"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {1e300, "1E300"},
        {-1e-300, "-1E-300"},
        {kNan, "NAN"},
        {-kInf, "-INF"},
    };
    for (const auto& c : cases) EXPECT_EQ(floatToStr(c.x), c.text) << "x=" << c.x;
}

}  // namespace
