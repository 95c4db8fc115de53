#pragma once
// The AVX2 build of FftPlan's transform: the same butterflies as the baseline build, each
// product and sum rounded on its own (no fused multiply-add), so the bits are the same; only
// the order in which the butterflies are taken and the number of entries per instruction
// differ. Called only where the processor has AVX2 (FftPlan::WideKernelsAvailable).

#include <cstddef>
#include <cstdint>

namespace fftwide {

// The butterflies of FftPlan over the first m (a power of two >= 4) entries of re and im,
// leaving X[k] at entry rev(k) as the baseline build does. The large transforms are split pass
// by pass over the whole array; once a transform fits in the first-level cache, all its
// remaining passes are done before the next. When x is given, the input points are not read
// from re and im but made as z[j] = x[2j] w[2j] + i x[2j+1] w[2j+1] (x[2j] + i x[2j+1] when w
// is null) by the first pass. tw holds the plan's arrays kTwRe, kTwIm, kTw3Re and kTw3Im.
void Butterflies(std::size_t m, double* re, double* im, const double* const* tw,
                 const double* x, const double* w);

// FftPlan::SplitRealSpectrum<1> (m = n / 2 >= 8) with the same operations: Z is first put in
// natural order into outRe and outIm, then split there four pairs of lines at a time. rev is the
// plan's bit reversal over log2(n) bits, wr and wi its exp(+2 pi i k / n). With power given, the
// lines' powers scale (re^2 + im^2) go to power[1..n-1] on the way.
void SplitRealSpectrum(std::size_t m, const double* re, const double* im, const double* wr,
                       const double* wi, const std::uint32_t* rev, double* outRe, double* outIm,
                       double scale, double* power);

}  // namespace fftwide
