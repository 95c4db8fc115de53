#pragma once
// Tables and work space of the FFT behind TFastFourier (power-of-two sizes, decimation in
// frequency, radix-4 passes with one radix-2 stage where needed, on split real and imaginary
// arrays), for one size n (a power of two from 2 up). Built once per size; a transform then
// allocates nothing.
//
// Both transforms compute, in place on n interleaved complex points (re, im, re, im, ...),
//     X[k] = sum_{j=0}^{n-1} x[j] * exp(+2 pi i j k / n),   k = 0..n-1,
// with the positive exponent and without scaling.

#include <cstddef>
#include <cstdint>
#include <vector>

class FftPlan {
public:
    // Prepares the tables for n points; n must be a power of two >= 2. May throw std::bad_alloc.
    void Build(std::size_t n);
    std::size_t Size() const { return fN; }

    // Transform of arbitrary complex data.
    void TransformComplex(double* data);
    // Transform of data whose imaginary parts are all zero: an n/2-point complex transform of
    // the even and odd samples, then a split into the full spectrum. Returns false, with the
    // data untouched, when an imaginary part is not zero.
    bool TransformReal(double* data);
    // The same transform of the n real values x[i] * w[i] (x[i] when w is null), read straight
    // from x and w: the spectrum goes to re[0..n-1] and im[0..n-1]. Gives the same bits as
    // TransformReal of the interleaved points (x[i] * w[i], 0). With power given, also the
    // lines' powers power[k] = scale (re[k]^2 + im[k]^2), k = 1..n-1 (power[0] is left).
    void TransformReal(const double* x, const double* w, double* re, double* im,
                       double scale = 1.0, double* power = nullptr);

    // Whether the transform may take its AVX2 build (FftPlanWide.h; the processor has AVX2), and
    // the choice for a plan: on by default where available. Either build gives the same bits.
    static bool WideKernelsAvailable();
    void UseWideKernels(bool wide);

private:
    // The arrays kept in the arena, in this order.
    enum Array { kRe, kIm, kTwRe, kTwIm, kTw3Re, kTw3Im, kArrays };

    double* At(Array a) { return fArena.data() + fOffset[a]; }
    const double* At(Array a) const { return fArena.data() + fOffset[a]; }
    void Butterflies(std::size_t m);
    // Writes X[k] to re[k * stride] and im[k * stride], k < n.
    template <std::size_t stride>
    void SplitRealSpectrum(double* re, double* im) const;

    std::size_t fN = 0;
    bool fWide = WideKernelsAvailable();
    // One block for all arrays of n doubles: the work space in split form (kRe, kIm) and the
    // twiddles. Entry h + j of kTwRe/kTwIm (h = 1, 2, 4, ..., n/2; j < h) holds
    // exp(+i pi j / h), the twiddle of the stage that joins transforms of length h; entry h + j
    // of kTw3Re/kTw3Im holds exp(+i 3 pi j / (2h)) for the radix-4 stage over h and 2h.
    // The arrays start a different number of cache lines past a 4 KiB boundary, so that the
    // streams of one butterfly loop, which lie multiples of 4 KiB apart for large strides, do
    // not all fall into the same cache set.
    std::vector<double> fArena;
    std::size_t fOffset[kArrays] = {};
    // Bit reversal over log2(n) bits; over log2(n/2) bits it is fRev[i] / 2 for i < n/2.
    // The butterflies leave X[k] at entry rev(k).
    std::vector<std::uint32_t> fRev;
};
