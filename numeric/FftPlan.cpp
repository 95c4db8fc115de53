#include "numeric/FftPlan.h"

#include "numeric/FftPlanWide.h"
#include "numeric/Processor.h"

#include <cmath>
#include <numbers>

namespace {

// exp(+2 pi i k / n) for k = 0..n-1, from the first quadrant in long double and the exact
// quarter-turn symmetry, so that 1, i, -1 and -i come out exact.
void UnitCircle(std::size_t n, std::vector<double>& c, std::vector<double>& s)
{
    c.assign(n, 0.0);
    s.assign(n, 0.0);
    c[0] = 1.0;
    if (n < 4) {
        c[1] = -1.0; // n = 2
        return;
    }
    const std::size_t q = n / 4;
    const long double step = 2.0L * std::numbers::pi_v<long double> / static_cast<long double>(n);
    for (std::size_t k = 1; k < q; ++k) {
        const long double a = step * static_cast<long double>(k);
        c[k] = static_cast<double>(std::cos(a));
        s[k] = static_cast<double>(std::sin(a));
    }
    s[q] = 1.0;
    for (std::size_t k = q + 1; k < n; ++k) { // times i: (c, s) -> (-s, c)
        c[k] = -s[k - q];
        s[k] = c[k - q];
    }
}

std::vector<std::uint32_t> BitReversal(std::size_t n)
{
    std::size_t bits = 0;
    while ((std::size_t{1} << bits) < n)
        ++bits;
    std::vector<std::uint32_t> rev(n, 0);
    for (std::size_t i = 1; i < n; ++i) // rev(i) from rev(i/2): shift in the low bit at the top
        rev[i] = static_cast<std::uint32_t>((rev[i / 2] >> 1) | ((i & 1U) << (bits - 1)));
    return rev;
}

// The butterflies of one block, over j < h, decimation in frequency. The parts of a block
// never overlap, which the restrict qualifiers tell the compiler so that it vectorises the loop.
// Splits a transform of length 2h into two of length h: (a, b) -> (a + b, (a - b) w),
// w = e^{i pi j/h}.
[[gnu::always_inline]] inline void Radix2Kernel(std::size_t h, double* __restrict ar,
                                                double* __restrict ai, double* __restrict br,
                                                double* __restrict bi,
                                                const double* __restrict wr,
                                                const double* __restrict wi)
{
    for (std::size_t j = 0; j < h; ++j) {
        const double dr = ar[j] - br[j], di = ai[j] - bi[j];
        ar[j] += br[j];
        ai[j] += bi[j];
        br[j] = wr[j] * dr - wi[j] * di;
        bi[j] = wr[j] * di + wi[j] * dr;
    }
}

// Splits a transform of length 4h into four of length h (the stages over 2h and h at once).
// With s = x0 + x2, d = x0 - x2, p = x1 + x3, q = x1 - x3 and w1 = e^{i pi j/h},
// w2 = e^{i pi j/2h}, w3 = w1 w2: y0 = s + p, y1 = (s - p) w1, y2 = (d + i q) w2,
// y3 = (d - i q) w3.
[[gnu::always_inline]] inline void
Radix4Kernel(std::size_t h, double* __restrict r0, double* __restrict i0, double* __restrict r1,
             double* __restrict i1, double* __restrict r2, double* __restrict i2,
             double* __restrict r3, double* __restrict i3, const double* __restrict w1r,
             const double* __restrict w1i, const double* __restrict w2r,
             const double* __restrict w2i, const double* __restrict w3r,
             const double* __restrict w3i)
{
    for (std::size_t j = 0; j < h; ++j) {
        const double sr = r0[j] + r2[j], si = i0[j] + i2[j];
        const double dr = r0[j] - r2[j], di = i0[j] - i2[j];
        const double pr = r1[j] + r3[j], pi = i1[j] + i3[j];
        const double qr = r1[j] - r3[j], qi = i1[j] - i3[j];
        const double ar = sr - pr, ai = si - pi;
        const double br = dr - qi, bi = di + qr; // d + i q
        const double cr = dr + qi, ci = di - qr; // d - i q
        r0[j] = sr + pr;
        i0[j] = si + pi;
        r1[j] = w1r[j] * ar - w1i[j] * ai;
        i1[j] = w1r[j] * ai + w1i[j] * ar;
        r2[j] = w2r[j] * br - w2i[j] * bi;
        i2[j] = w2r[j] * bi + w2i[j] * br;
        r3[j] = w3r[j] * cr - w3i[j] * ci;
        i3[j] = w3r[j] * ci + w3i[j] * cr;
    }
}

// The two last stages in one pass over groups of four (all twiddles 1).
[[gnu::always_inline]] inline void LastRadix4Pass(std::size_t m, double* re, double* im)
{
    for (std::size_t s = 0; s < m; s += 4) {
        const double sr = re[s] + re[s + 2], si = im[s] + im[s + 2];
        const double dr = re[s] - re[s + 2], di = im[s] - im[s + 2];
        const double pr = re[s + 1] + re[s + 3], pi = im[s + 1] + im[s + 3];
        const double qr = re[s + 1] - re[s + 3], qi = im[s + 1] - im[s + 3];
        re[s] = sr + pr;
        im[s] = si + pi;
        re[s + 1] = sr - pr;
        im[s + 1] = si - pi;
        re[s + 2] = dr - qi; // d + i q
        im[s + 2] = di + qr;
        re[s + 3] = dr + qi; // d - i q
        im[s + 3] = di - qr;
    }
}

// z[j] = x[2j] w[2j] + i x[2j+1] w[2j+1] (without the weights when w is null), j < m.
void GatherWeighted(std::size_t m, const double* __restrict x, const double* __restrict w,
                    double* __restrict re, double* __restrict im)
{
    if (w) {
        for (std::size_t j = 0; j < m; ++j) {
            re[j] = x[2 * j] * w[2 * j];
            im[j] = x[2 * j + 1] * w[2 * j + 1];
        }
    } else {
        for (std::size_t j = 0; j < m; ++j) {
            re[j] = x[2 * j];
            im[j] = x[2 * j + 1];
        }
    }
}

} // namespace

void FftPlan::Build(std::size_t n)
{
    std::vector<double> c, s;
    UnitCircle(n, c, s);
    std::vector<std::uint32_t> rev = BitReversal(n);

    constexpr std::size_t kPage = 512; // doubles in 4 KiB
    constexpr std::size_t kLine = 8;   // doubles in a 64-byte cache line
    const std::size_t span = (n + kPage - 1) / kPage * kPage + kPage;
    std::vector<double> arena(kArrays * span, 0.0);
    for (std::size_t a = 0; a < kArrays; ++a)
        fOffset[a] = a * span + a * kLine;
    fArena.swap(arena);
    fRev.swap(rev);
    fN = n;

    double* twRe = At(kTwRe);
    double* twIm = At(kTwIm);
    double* tw3Re = At(kTw3Re);
    double* tw3Im = At(kTw3Im);
    for (std::size_t h = 1; h < n; h *= 2) {
        const std::size_t stride = n / (2 * h); // pi j / h = 2 pi (j stride) / n
        for (std::size_t j = 0; j < h; ++j) {
            twRe[h + j] = c[j * stride];
            twIm[h + j] = s[j * stride];
            if (stride % 2 == 0) { // 3 pi j / (2h) = 2 pi (3 j stride / 2) / n
                tw3Re[h + j] = c[3 * j * (stride / 2)];
                tw3Im[h + j] = s[3 * j * (stride / 2)];
            }
        }
    }
}

void FftPlan::TransformComplex(double* data)
{
    const std::size_t n = fN;
    double* re = At(kRe);
    double* im = At(kIm);
    for (std::size_t i = 0; i < n; ++i) {
        re[i] = data[2 * i];
        im[i] = data[2 * i + 1];
    }
    Butterflies(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t p = fRev[k];
        data[2 * k] = re[p];
        data[2 * k + 1] = im[p];
    }
}

bool FftPlan::TransformReal(double* data)
{
    // z[j] = x[2j] + i x[2j+1], j < n/2; the imaginary parts are checked on the way.
    const std::size_t m = fN / 2;
    double* re = At(kRe);
    double* im = At(kIm);
    bool real = true;
    for (std::size_t j = 0; j < m; ++j) {
        re[j] = data[4 * j];
        im[j] = data[4 * j + 2];
        real &= (data[4 * j + 1] == 0.0) & (data[4 * j + 3] == 0.0);
    }
    if (!real)
        return false;
    Butterflies(m);
    SplitRealSpectrum<2>(data, data + 1);
    return true;
}

void FftPlan::TransformReal(const double* x, const double* w, double* outRe, double* outIm,
                            double scale, double* power)
{
    const std::size_t m = fN / 2;
    if (fWide && m >= 8) {
        const double* tw[] = {At(kTwRe), At(kTwIm), At(kTw3Re), At(kTw3Im)};
        fftwide::Butterflies(m, At(kRe), At(kIm), tw, x, w);
        fftwide::SplitRealSpectrum(m, At(kRe), At(kIm), At(kTwRe) + m, At(kTwIm) + m,
                                   fRev.data(), outRe, outIm, scale, power);
        return;
    }
    GatherWeighted(m, x, w, At(kRe), At(kIm));
    Butterflies(m);
    SplitRealSpectrum<1>(outRe, outIm);
    if (power)
        for (std::size_t k = 1; k < fN; ++k)
            power[k] = scale * (outRe[k] * outRe[k] + outIm[k] * outIm[k]);
}

// From Z, the m-point transform of z (m = n/2), to the n-point spectrum X of the real x:
// E[k] = (Z[k] + conj Z[m-k]) / 2 and O[k] = (Z[k] - conj Z[m-k]) / 2i are the transforms of
// the even and odd samples, X[k] = E[k] + exp(+2 pi i k / n) O[k], and X[n-k] = conj X[k].
// Lines k and m - k share their two Z values and are done together: E[m-k] = conj E[k],
// O[m-k] = -conj O[k] and exp(+2 pi i (m-k) / n) = -conj exp(+2 pi i k / n).
template <std::size_t stride>
void FftPlan::SplitRealSpectrum(double* outRe, double* outIm) const
{
    const std::size_t n = fN;
    const std::size_t m = n / 2;
    const double* re = At(kRe);
    const double* im = At(kIm);
    const double* wr = At(kTwRe) + m; // exp(+i pi k / m) = exp(+2 pi i k / n)
    const double* wi = At(kTwIm) + m;
    auto put = [outRe, outIm](std::size_t k, double xr, double xi) {
        outRe[k * stride] = xr;
        outIm[k * stride] = xi;
    };
    // Z[k] lies at rev(k) over log2(m) bits, which is fRev[k] / 2.
    const double z0r = re[0], z0i = im[0];
    put(0, z0r + z0i, 0.0);
    put(m, z0r - z0i, 0.0);
    for (std::size_t k = 1; k <= m / 2; ++k) {
        const std::size_t pk = fRev[k] / 2, pm = fRev[m - k] / 2;
        const double ar = re[pk], ai = im[pk];
        const double br = re[pm], bi = -im[pm];
        const double er = 0.5 * (ar + br), ei = 0.5 * (ai + bi);
        const double orr = 0.5 * (ai - bi), oi = -0.5 * (ar - br);
        const double tr = wr[k] * orr - wi[k] * oi; // w O
        const double ti = wr[k] * oi + wi[k] * orr;
        const double xr = er + tr, xi = ei + ti;      // X[k]
        const double yr = er - tr, yi = -(ei - ti);   // X[m-k] = conj E[k] - conj(w O)
        put(k, xr, xi);
        put(n - k, xr, -xi);
        put(m - k, yr, yi);
        put(m + k, yr, -yi);
    }
}

namespace {

// Decimation-in-frequency butterflies over the first m entries of re and im, in natural order
// on entry; on return X[k] lies at entry rev(k) (bit reversal over log2(m) bits). Radix-4
// passes split two stages each, with one radix-2 stage first when the count of stages between
// the largest and the last two is odd; the last two stages (twiddles 1 and i) form one pass.
// tw holds the arrays kTwRe, kTwIm, kTw3Re and kTw3Im.
[[gnu::always_inline]] inline void ButterflyPasses(std::size_t m, double* re, double* im,
                                                   const double* const* tw)
{
    const double* twRe = tw[0];
    const double* twIm = tw[1];
    const double* tw3Re = tw[2];
    const double* tw3Im = tw[3];
    std::size_t stages = 0; // half lengths m/2 down to 4
    for (std::size_t t = 4; t < m; t *= 2)
        ++stages;
    std::size_t len = m; // length of the transforms being split
    if (stages % 2 == 1) {
        const std::size_t h = len / 2;
        Radix2Kernel(h, re, im, re + h, im + h, twRe + h, twIm + h);
        len = h;
    }
    for (; len > 4; len /= 4) {
        const std::size_t h = len / 4;
        for (std::size_t s = 0; s < m; s += len) {
            double* r = re + s;
            double* i = im + s;
            Radix4Kernel(h, r, i, r + h, i + h, r + 2 * h, i + 2 * h, r + 3 * h, i + 3 * h,
                         twRe + h, twIm + h, twRe + 2 * h, twIm + 2 * h, tw3Re + h, tw3Im + h);
        }
    }
    LastRadix4Pass(m, re, im);
}

// The baseline build: pass by pass over the whole array. fftwide::Butterflies gives the same
// bits with AVX2.
void ButterfliesPlain(std::size_t m, double* re, double* im, const double* const* tw)
{
    ButterflyPasses(m, re, im, tw);
}

} // namespace

bool FftPlan::WideKernelsAvailable()
{
    return oxw::numeric::HasAvx2();
}

void FftPlan::UseWideKernels(bool wide)
{
    fWide = wide && WideKernelsAvailable();
}

void FftPlan::Butterflies(std::size_t m)
{
    double* re = At(kRe);
    double* im = At(kIm);
    if (m < 4) {
        if (m == 2) {
            const double r0 = re[0], i0 = im[0];
            re[0] = r0 + re[1];
            im[0] = i0 + im[1];
            re[1] = r0 - re[1];
            im[1] = i0 - im[1];
        }
        return;
    }
    const double* tw[] = {At(kTwRe), At(kTwIm), At(kTw3Re), At(kTw3Im)};
    if (fWide)
        fftwide::Butterflies(m, re, im, tw, nullptr, nullptr);
    else
        ButterfliesPlain(m, re, im, tw);
}
