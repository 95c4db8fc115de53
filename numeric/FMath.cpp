#include "numeric/FMath.h"

#include <cmath>
#include <limits>

namespace fmath {

thread_local int MathError = FN_OK;
thread_local bool SgnZeroIsOne = true;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// 1/MAXNUM: a product below it would overflow once inverted.
constexpr long double InverseMaxNum = 1.0L / MAXNUM;

// e^XLn with the range checks shared by Exp10 and the real power. The upper check also
// catches the sliver between ln(MAXNUM) and MAXLOG where the double would round to infinity.
double GuardedExp(long double XLn)
{
    if (std::isnan(XLn))
        return DefaultVal(FN_DOMAIN, kNaN);
    if (XLn < MINLOG)
        return DefaultVal(FN_UNDERFLOW, 0.0);
    if (XLn > MAXLOG)
        return DefaultVal(FN_OVERFLOW, static_cast<double>(MAXNUM));
    const long double r = std::exp(XLn);
    if (r > MAXNUM)
        return DefaultVal(FN_OVERFLOW, static_cast<double>(MAXNUM));
    return static_cast<double>(r);
}

// ln X times Scale, with the checks shared by the logarithms (which clear MathError).
double GuardedLog(double X, long double Scale)
{
    MathError = FN_OK;
    if (std::isnan(X))
        return DefaultVal(FN_DOMAIN, kNaN);
    if (X < 0.0)
        return DefaultVal(FN_DOMAIN, static_cast<double>(-MAXNUM));
    if (X == 0.0)
        return DefaultVal(FN_SING, static_cast<double>(-MAXNUM));
    return static_cast<double>(std::log(static_cast<long double>(X)) * Scale);
}

} // namespace

double DefaultVal(int ErrCode, double Default)
{
    MathError = ErrCode;
    return Default;
}

int Sgn(double X)
{
    if (X > 0.0)
        return 1;
    if (X < 0.0)
        return -1;
    return SgnZeroIsOne ? 1 : 0;
}

double Exp10(double X)
{
    MathError = FN_OK;
    return GuardedExp(LN10 * static_cast<long double>(X));
}

double Log(double X) { return GuardedLog(X, 1.0L); }
double Log10(double X) { return GuardedLog(X, INVLN10); }
double Log2(double X) { return GuardedLog(X, INVLN2); }

bool PowerTests(double X, double Y, double& Res)
{
    if (X == 0.0) {
        if (Y == 0.0)
            Res = 1.0;
        else if (Y > 0.0)
            Res = 0.0;
        else
            Res = DefaultVal(FN_SING, static_cast<double>(MAXNUM));
        return true;
    }
    if (Y == 0.0) {
        Res = 1.0;
        return true;
    }
    if (Y == 1.0) {
        Res = X;
        return true;
    }
    return false;
}

double IntPower(double X, int N)
{
    double Res = 0.0;
    if (PowerTests(X, N, Res))
        return Res;
    if (std::isnan(X))
        return DefaultVal(FN_DOMAIN, kNaN);
    bool Invert = N < 0;
    long double T = X;
    if (std::fabs(T) > 1.0L) { // work on a base of magnitude at most 1
        T = 1.0L / T;
        Invert = !Invert;
    }
    long double R = 1.0L;
    for (unsigned long long M = N < 0 ? -static_cast<long long>(N) : N; M > 0; M /= 2) {
        if (M % 2 == 1)
            R *= T;
        T *= T;
    }
    if (Invert) {
        // The sign of the default follows the product's own sign, also when the product
        // has underflowed to a signed zero.
        if (std::fabs(R) < InverseMaxNum)
            return DefaultVal(FN_OVERFLOW, std::signbit(R) ? -static_cast<double>(MAXNUM)
                                                           : static_cast<double>(MAXNUM));
        R = 1.0L / R;
    }
    return static_cast<double>(R);
}

double Power(double X, int N) { return IntPower(X, N); }

double Power(double X, double Y)
{
    double Res = 0.0;
    if (PowerTests(X, Y, Res))
        return Res;
    if (std::isnan(Y))
        return DefaultVal(FN_DOMAIN, kNaN);
    if (std::fabs(Y) < 2147483647.0 && std::trunc(Y) == Y)
        return IntPower(X, static_cast<int>(Y));
    if (X <= 0.0)
        return DefaultVal(FN_DOMAIN, 0.0);
    return GuardedExp(static_cast<long double>(Y) * std::log(static_cast<long double>(X)));
}

} // namespace fmath
