#pragma once
// Tick steps and label decimals of the library's linear scales (charts, meter, 3-D plot).
#include <cstdint>

namespace oxw::numeric {

// The labelled tick step for about `Ntick` intervals over LowVal..HighVal: 1, 2 or 5 times a
// power of ten (a quotient on a boundary takes the smaller step), negative when LowVal >= HighVal.
// Divi is the number of short intervals per step: 5 for steps of 1 and 5, 4 for steps of 2.
// LowTick is the first multiple of the step at or beyond LowVal (within a thousandth of a step).
// Equal ends, an end or span that is not finite, a step too small for a double, or Ntick < 1
// give LowTick = LowVal, Distance 0 and Divi 1.
void CalcScalePars(int Ntick, long double LowVal, long double HighVal, long double& LowTick,
                   long double& Distance, std::uint16_t& Divi);

// Decimals of the labels of a linear scale over lo..hi: DecPlaces itself, except -2, which is
// automatic: with d = |lo - hi|, d >= 1e6 or d <= 1e-4 (or d not finite) gives -1 (exponent
// form), d >= 100 gives 0, else 2 - Round(ln d / 2.5) (d = 1: 2 decimals, 10: 1, 0.1: 3).
int CalcM(int DecPlaces, double lo, double hi);

}  // namespace oxw::numeric
