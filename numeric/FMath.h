#pragma once
// Guarded elementary functions: logarithms, powers of ten and powers that never raise.
// On a domain error, a pole, an overflow or an underflow they return a fixed default value
// and record an error code in MathError. Arguments and results are double; the arithmetic
// inside runs in long double (x87 extended precision on x86), so that exact cases stay
// exact after the final rounding (Power(10, 2) is exactly 100).

namespace fmath {

// Error codes kept in MathError.
inline constexpr int FN_OK = 0;         // no error
inline constexpr int FN_DOMAIN = -1;    // argument outside the domain (also a NaN argument)
inline constexpr int FN_SING = -2;      // singularity
inline constexpr int FN_OVERFLOW = -3;  // result above MAXNUM
inline constexpr int FN_UNDERFLOW = -4; // result below the smallest normal double
inline constexpr int FN_TLOSS = -5;     // declared, never set
inline constexpr int FN_PLOSS = -6;     // declared, never set

// Bounds, in extended precision.
inline constexpr long double MAXNUM = 1.797693134862315e308L;  // slightly below the largest double
inline constexpr long double MAXLOG = 709.782712893384L;       // ln(MAXNUM)
inline constexpr long double MINLOG = -708.3964185322641L;     // ln(smallest normal double)
inline constexpr long double LN10 = 2.302585092994045684017991454684364208L;
inline constexpr long double INVLN10 = 0.434294481903251827651128918916605082L;
inline constexpr long double INVLN2 = 1.442695040888963407359924681001892137L;

// Error code of the last guarded function that set one; 0 at start. One per thread, so that
// two analyses can run side by side. Log, Log10, Log2 and Exp10 clear it at entry; IntPower
// and Power only set it on failure (clear it before calling them to test it afterwards).
extern thread_local int MathError;

// Sign of zero: true gives Sgn(0) = 1.
extern thread_local bool SgnZeroIsOne;

// Sets MathError to ErrCode and returns Default.
double DefaultVal(int ErrCode, double Default);

// 1 for X > 0, -1 for X < 0, 1 (SgnZeroIsOne) or 0 for X = 0.
int Sgn(double X);

// 10^X; below MINLOG (in ln) 0 with FN_UNDERFLOW, above MAXLOG MAXNUM with FN_OVERFLOW.
double Exp10(double X);

// Natural, decimal and binary logarithms: X < 0 gives -MAXNUM with FN_DOMAIN,
// X = 0 gives -MAXNUM with FN_SING.
double Log(double X);
double Log10(double X);
double Log2(double X);

// The special cases shared by the powers (X = 0, Y = 0, Y = 1); true when Res holds the answer.
bool PowerTests(double X, double Y, double& Res);

// X^N by repeated squaring on a base of magnitude at most 1.
double IntPower(double X, int N);

// X^N (integer exponent) = IntPower(X, N).
double Power(double X, int N);

// X^Y (real exponent): integral Y goes to IntPower; X <= 0 otherwise gives 0 with FN_DOMAIN.
double Power(double X, double Y);

} // namespace fmath
