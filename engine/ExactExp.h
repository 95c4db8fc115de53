#pragma once
// The exponential of many arguments at a time, bit for bit what std::exp returns.
//
// Four arguments share the lanes of an AVX2 register, where the processor has it (with fused
// multiply-add). Each lane computes exp to about 2^-61 relative, from the 2^(j / 256) table of the
// level conversions and a short polynomial, and keeps its double only when the value lies
// clearly away from every midpoint between adjacent doubles: there the library's exp, whose
// error stays below 0.51 ulp, rounds to the same double. Otherwise, and outside the lanes' range
// (|x| > 700, NaN), std::exp decides.
#include <cstddef>
#include <cstdint>

namespace oxw::engine {

// out[i] = std::exp(x[i]) for i < n, bit for bit; x and out must not overlap.
void Exp(const double* x, double* out, std::size_t n);

// How many arguments within the lanes' range the lanes have left to std::exp since the start of
// the process.
std::uint64_t ExpFallbacks();

}  // namespace oxw::engine
