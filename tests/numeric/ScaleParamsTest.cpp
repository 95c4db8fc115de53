// Tick steps, label decimals and the rounding helper of the library.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

#include "numeric/Rounding.h"
#include "numeric/ScaleParams.h"

namespace {

using namespace oxw::numeric;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ScaleParams, CalcScaleParsOneTwoFiveSteps) {
    const struct { int ticks; double low, high, first, distance; int divi; } cases[] = {
        {3, 0, 1, 0, 0.2, 4}, {10, 0, 1, 0, 0.1, 5},
        {5, 0, 1, 0, 0.1, 5},       // a quotient of exactly 2 x 10^n takes the smaller step
        {3, 0, 10, 0, 2, 4}, {5, 0, 100, 0, 10, 5}, {4, 0, 100, 0, 20, 4}, {3, 0, 100, 0, 20, 4},
        {5, 100, 0, 100, -10, 5}, {3, -1, 1, -1, 0.5, 5}, {3, 0.3, 7.7, 2, 2, 4},
        {3, 0, 3, 0, 1, 5}, {3, 1, 0, 1, -0.2, 4}, {3, -7.5, -0.5, -6, 2, 4}, {4, -3, 7, -2, 2, 4},
        {3, 4, 4, 4, 0, 1}, {5, 3, 3, 3, 0, 1},  // equal ends
        {1, 0, 1, 0, 1, 5}, {0, 0, 1, 0, 0, 1},  // one interval wanted, and none
        {5, 0.13, 0.97, 0.2, 0.1, 5},  // the first tick is the first step inside the range
    };
    for (const auto& c : cases) {
        long double first = -99, distance = -99;
        std::uint16_t divi = 99;
        CalcScalePars(c.ticks, c.low, c.high, first, distance, divi);
        EXPECT_NEAR(static_cast<double>(first), c.first, 1e-12) << c.ticks << ": " << c.low << ".." << c.high;
        EXPECT_NEAR(static_cast<double>(distance), c.distance, 1e-12) << c.ticks << ": " << c.low << ".." << c.high;
        EXPECT_EQ(divi, c.divi) << c.ticks << ": " << c.low << ".." << c.high;
    }
}

TEST(ScaleParams, CalcScaleParsNonFiniteAndTinyStepsEnd) {
    const struct { double low, high; } flat[] = {
        {kNan, 1}, {0, kNan}, {0, kInf}, {-kInf, kInf}, {kInf, kInf},
    };
    for (const auto& c : flat) {
        long double first = -99, distance = -99;
        std::uint16_t divi = 99;
        CalcScalePars(3, c.low, c.high, first, distance, divi);
        EXPECT_EQ(distance, 0.0L) << c.low << ".." << c.high;
        EXPECT_EQ(divi, 1) << c.low << ".." << c.high;
        if (!std::isnan(c.low)) {
            EXPECT_EQ(first, static_cast<long double>(c.low));
        }
    }
    // A step far below the spacing of the numbers at the low end: the search for the first tick
    // still ends, next to the low end.
    const long double low = 1e30L;
    const long double high = std::nextafter(low, 2e30L);
    long double first = 0, distance = 0;
    std::uint16_t divi = 0;
    CalcScalePars(1000, low, high, first, distance, divi);
    EXPECT_GT(distance, 0.0L);
    EXPECT_LT(distance, high - low);
    EXPECT_LE(std::fabs(first - low), high - low);
}

TEST(ScaleParams, CalcMAutomaticDecimalsOnlyForMinusTwo) {
    const struct { int dp; double lo, hi; int m; } cases[] = {
        {-2, 0, 1, 2},     {-2, 0, 10, 1},     {-2, 0, 0.1, 3},    {-2, 0, 0.01, 4},
        {-2, 0, 100, 0},   {-2, 0, 50, 0},     {-2, 0, 3.4, 2},    {-2, 0, 3.5, 1},
        {-2, 0, 1e6, -1},  {-2, 0, 1e-4, -1},  {-2, 5, 5, -1},     {-2, 1e-3, 0, 5},
        {-2, 0, kNan, -1}, {-2, -kInf, 0, -1},
        {-3, 0, 1, -3},    {-1, 0, 1, -1},     {0, 0, 1e9, 0},     {4, 0, 1, 4},
    };
    for (const auto& c : cases) EXPECT_EQ(CalcM(c.dp, c.lo, c.hi), c.m) << c.dp << ": " << c.lo << ".." << c.hi;
}

TEST(Rounding, HalvesToEvenAndNothingWithoutAnInteger) {
    const struct { double x; std::optional<int> checked; int clamped; } cases[] = {
        {2.5, 2, 2},       {3.5, 4, 4},          {-2.5, -2, -2},        {-0.5, 0, 0},
        {1.4999, 1, 1},    {2147483647.4, INT_MAX, INT_MAX},
        {2147483647.5, std::nullopt, INT_MAX},   {-2147483648.5, INT_MIN, INT_MIN},
        {-2147483649.0, std::nullopt, INT_MIN},  {1e300, std::nullopt, INT_MAX},
        {kNan, std::nullopt, 0},                 {-kInf, std::nullopt, INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundChecked<int>(c.x), c.checked) << c.x;
        EXPECT_EQ(RoundClamped<int>(c.x), c.clamped) << c.x;
    }
    EXPECT_EQ(RoundChecked<std::int64_t>(9.2233720368547758e18), std::nullopt);  // 2^63
    EXPECT_EQ(RoundChecked<std::int64_t>(9.2233720368547748e18), 9223372036854774784);
    EXPECT_EQ(RoundChecked<std::int64_t>(-9.2233720368547758e18), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(RoundChecked<std::uint32_t>(4294967295.0), 4294967295u);
    EXPECT_EQ(RoundChecked<std::uint32_t>(-0.6), std::nullopt);
}

}  // namespace
