// Guarded elementary functions: values against correctly rounded references (hand-worked,
// decimal literals parsed by the compiler, or long double arithmetic) and the error code
// on each edge of the domain.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <tuple>

#include "numeric/FMath.h"

using namespace fmath;

namespace {

const double kMax = static_cast<double>(MAXNUM);
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Same value, NaN matching NaN, and the sign of zero ignored.
void ExpectSame(double expected, double actual, const std::string& what) {
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(actual)) << what << " gave " << actual;
    else
        EXPECT_EQ(expected, actual) << what;
}

// 10^k as the correctly rounded double, parsed from its decimal text.
double DecimalPowerOfTen(int k) {
    char text[16];
    std::snprintf(text, sizeof text, "1e%d", k);
    return std::strtod(text, nullptr);
}

struct UnaryCase { const char* name; std::function<double(double)> fn; double x, expected; int code; };

} // namespace

TEST(FMath, LogarithmsAndExp10OnTheirDomainEdges) {
    // ln(2^-1074), the smallest subnormal, from ln 2 in long double.
    const double lnMinSub = static_cast<double>(-1074.0L * 0.693147180559945309417232121458176568L);
    const UnaryCase cases[] = {
        {"Log10", Log10, 0.0, -kMax, FN_SING}, {"Log10", Log10, -1.0, -kMax, FN_DOMAIN},
        {"Log10", Log10, 100.0, 2.0, FN_OK}, {"Log10", Log10, 1e-300, -300.0, FN_OK},
        {"Log10", Log10, kNaN, kNaN, FN_DOMAIN}, {"Log", Log, 0.0, -kMax, FN_SING},
        {"Log", Log, -1e-300, -kMax, FN_DOMAIN}, {"Log", Log, 1.0, 0.0, FN_OK},
        {"Log", Log, 2.0, 0.6931471805599453, FN_OK}, {"Log", Log, kInf, kInf, FN_OK},
        {"Log", Log, 4.9406564584124654e-324, lnMinSub, FN_OK}, {"Log2", Log2, 0.0, -kMax, FN_SING},
        {"Log2", Log2, -8.0, -kMax, FN_DOMAIN}, {"Log2", Log2, 8.0, 3.0, FN_OK},
        {"Log2", Log2, 4.9406564584124654e-324, -1074.0, FN_OK},
        {"Exp10", Exp10, 0.5, 3.1622776601683795, FN_OK},
        {"Exp10", Exp10, 400.0, kMax, FN_OVERFLOW}, {"Exp10", Exp10, -400.0, 0.0, FN_UNDERFLOW},
        // ln(10^x) against MAXLOG = 709.78...: x = 308.2547... is the edge.
        {"Exp10", Exp10, 308.2547155599167, 1.7976931348620926e308, FN_OK},
        {"Exp10", Exp10, 308.25471555991675, kMax, FN_OVERFLOW},
        // ln(10^x) against MINLOG = -708.39...: x = -307.6526... is the edge.
        {"Exp10", Exp10, -307.65, 2.2387211385684567e-308, FN_OK},
        {"Exp10", Exp10, -307.66, 0.0, FN_UNDERFLOW},
        {"Exp10", Exp10, kInf, kMax, FN_OVERFLOW}, {"Exp10", Exp10, -kInf, 0.0, FN_UNDERFLOW},
        {"Exp10", Exp10, kNaN, kNaN, FN_DOMAIN},
    };
    for (const auto& c : cases) {
        MathError = 99; // these functions clear it at entry
        const std::string what = std::string(c.name) + "(" + std::to_string(c.x) + ")";
        ExpectSame(c.expected, c.fn(c.x), what);
        EXPECT_EQ(c.code, MathError) << what;
    }
}

TEST(FMath, PowersOfTenAreCorrectlyRounded) {
    // Up to 10^22 the powers (positive ones exact doubles) must be the nearest double to the
    // decimal value, as the extended-precision arithmetic gives them; beyond, within one ulp.
    for (int k = -307; k <= 308; ++k) {
        const double expected = DecimalPowerOfTen(k);
        const double ulp = std::abs(k) <= 22 ? 0.0 : std::nextafter(expected, kInf) - expected;
        MathError = FN_OK;
        EXPECT_NEAR(expected, Exp10(k), ulp) << "Exp10(" << k << ")";
        EXPECT_NEAR(expected, Power(10.0, k), ulp) << "Power(10, " << k << ")";
        EXPECT_NEAR(expected, Power(10.0, static_cast<double>(k)), std::abs(k) <= 22 ? 0.0 : 4 * ulp) << k << ".0";
        EXPECT_EQ(FN_OK, MathError) << k;
    }
    EXPECT_EQ(10.0, Power(100.0, 0.5)); // real-exponent path through exp and ln
}

TEST(FMath, PowerSpecialCasesAndErrorCodes) {
    constexpr int kUnchanged = 7; // MathError after the call starts at this sentinel
    const struct { double x, y, expected; int code; } cases[] = {
        {0.0, 0.0, 1.0, kUnchanged}, {0.0, -1.0, kMax, FN_SING}, {0.0, 2.5, 0.0, kUnchanged},
        {-8.0, 1.0 / 3.0, 0.0, FN_DOMAIN},    // non-integral exponent of a negative base
        {-2.0, 3.0, -8.0, kUnchanged},        // integral exponent: repeated squaring
        {10.0, 400.0, kMax, FN_OVERFLOW},     // (0.1)^400 falls below 1/MAXNUM
        {10.0, -400.0, 0.0, kUnchanged},      // underflow of the product, no code
        {-10.0, 401.0, -kMax, FN_OVERFLOW},   // odd power of a negative base keeps its sign
        {2.0, 1023.0, 8.98846567431158e307, kUnchanged}, {2.0, 1024.0, kMax, FN_OVERFLOW},
        {2.0, -1074.0, 4.9406564584124654e-324, kUnchanged},
        {2.0, 0.5, 1.4142135623730951, kUnchanged}, {4.0, 0.5, 2.0, kUnchanged},
        {10.0, 308.5, kMax, FN_OVERFLOW},     // real exponent: y ln x above MAXLOG
        {10.0, -400.5, 0.0, FN_UNDERFLOW},    // real exponent: y ln x below MINLOG
        // y ln x lies between ln(MAXNUM) and MAXLOG: e^(y ln x) would exceed MAXNUM.
        {1.5000023, 1750.5329424192644, kMax, FN_OVERFLOW},
        {-2.0, 3e9, 0.0, FN_DOMAIN},          // integral but beyond Integer: negative base refused
        {1.0, kInf, kNaN, FN_DOMAIN}, {2.0, kNaN, kNaN, FN_DOMAIN}, {kNaN, 2.5, kNaN, FN_DOMAIN},
        {kNaN, 2.0, kNaN, FN_DOMAIN}, {kNaN, 0.0, 1.0, kUnchanged},
    };
    for (const auto& c : cases) {
        MathError = kUnchanged;
        const std::string what = "Power(" + std::to_string(c.x) + ", " + std::to_string(c.y) + ")";
        ExpectSame(c.expected, Power(c.x, c.y), what);
        EXPECT_EQ(c.code, MathError) << what;
    }
}

TEST(FMath, PowerOfOneIsTheBaseAndIntegerOverloadMatchesIntPower) {
    for (double x : {-3.5, -1e300, 0.1, 4.9406564584124654e-324, 1e308, -kInf})
        EXPECT_TRUE(x == Power(x, 1.0) && x == Power(x, 1)) << x;
    for (int n : {-1000, -7, -1, 0, 1, 2, 13, 1000}) {
        MathError = FN_OK;
        const double viaInt = IntPower(-1.5, n);
        const int codeInt = MathError;
        MathError = FN_OK;
        EXPECT_EQ(viaInt, Power(-1.5, n)) << n;
        EXPECT_EQ(codeInt, MathError) << n;
    }
    MathError = FN_OK;
    EXPECT_EQ(0.0, IntPower(0.5, std::numeric_limits<int>::max())); // underflow, no code
    EXPECT_EQ(kMax, IntPower(0.5, std::numeric_limits<int>::min()));
    EXPECT_EQ(FN_OVERFLOW, MathError);
}

TEST(FMath, ErrorCodeIsClearedByLogsOnlyAndKeptPerThread) {
    MathError = FN_SING;
    EXPECT_EQ(8.0, Power(2.0, 3.0));
    EXPECT_EQ(FN_SING, MathError); // powers leave it as it was
    Log(2.0);
    EXPECT_EQ(FN_OK, MathError);   // logarithms clear it

    Log(-1.0);
    int otherThreadCode = 99;
    std::thread([&] {
        otherThreadCode = MathError; // a fresh thread starts at 0
        Log(0.0);
    }).join();
    EXPECT_EQ(FN_OK, otherThreadCode);
    EXPECT_EQ(FN_DOMAIN, MathError);
}

TEST(FMath, SgnAndDefaultVal) {
    EXPECT_EQ(std::tuple(1, -1, 1), std::tuple(Sgn(2.5), Sgn(-1e-300), Sgn(-0.0)));
    SgnZeroIsOne = false;
    EXPECT_EQ(0, Sgn(0.0));
    SgnZeroIsOne = true;
    MathError = FN_OK;
    EXPECT_EQ(-4.5, DefaultVal(FN_UNDERFLOW, -4.5));
    EXPECT_EQ(FN_UNDERFLOW, MathError);
}
