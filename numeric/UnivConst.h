#pragma once
// Shared constants of the component library, in extended precision.

// Natural logarithm of 10.
inline constexpr long double uc_ln10 = 2.302585092994045684017991454684364208L;
// Practical infinity of the numeric containers: start value of minimum searches,
// stand-in for 1/0 in the curve fitter.
inline constexpr long double uc_MaxReal = 1.7e38L;
// Largest double used as a bound.
inline constexpr long double uc_MaxDouble = 1.7e308L;
