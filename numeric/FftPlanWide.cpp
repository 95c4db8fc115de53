#include "numeric/FftPlanWide.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace fftwide {

namespace {

#define OXW_WIDE [[gnu::target("avx2"), gnu::always_inline]] inline

using V = __m256d;

OXW_WIDE V Load(const double* p) { return _mm256_loadu_pd(p); }
OXW_WIDE void Store(double* p, V v) { _mm256_storeu_pd(p, v); }
OXW_WIDE V Add(V a, V b) { return _mm256_add_pd(a, b); }
OXW_WIDE V Sub(V a, V b) { return _mm256_sub_pd(a, b); }
OXW_WIDE V Mul(V a, V b) { return _mm256_mul_pd(a, b); }
OXW_WIDE V Neg(V a) { return _mm256_xor_pd(a, _mm256_set1_pd(-0.0)); }
// Lanes in the opposite order.
OXW_WIDE V Reverse(V a) { return _mm256_permute4x64_pd(a, 0x1b); }

// (a, b) w with w = wr + i wi: re = wr a - wi b, im = wr b + wi a, as the baseline rounds them.
OXW_WIDE void Twiddle(V a, V b, const double* wr, const double* wi, V& outRe, V& outIm) {
    const V r = Load(wr), i = Load(wi);
    outRe = Sub(Mul(r, a), Mul(i, b));
    outIm = Add(Mul(r, b), Mul(i, a));
}

// Where a first pass reads its points: from re and im, from the samples x (z[j] = x[2j] +
// i x[2j+1]) or from the samples under the weights w (z[j] = x[2j] w[2j] + i x[2j+1] w[2j+1]).
enum class Source { Points, Samples, WeightedSamples };

// Four points z[j..j+3] made from the samples.
template <Source kSource>
OXW_WIDE void Gathered(const double* x, const double* w, std::size_t j, V& re, V& im) {
    V lo = Load(x + 2 * j), hi = Load(x + 2 * j + 4);  // (r0, i0, r1, i1), (r2, i2, r3, i3)
    if constexpr (kSource == Source::WeightedSamples) {
        lo = Mul(lo, Load(w + 2 * j));
        hi = Mul(hi, Load(w + 2 * j + 4));
    }
    re = _mm256_permute4x64_pd(_mm256_unpacklo_pd(lo, hi), 0xd8);
    im = _mm256_permute4x64_pd(_mm256_unpackhi_pd(lo, hi), 0xd8);
}

// The radix-2 split of one transform of length 2h (h >= 4): (a, b) -> (a + b, (a - b) w).
template <Source kSource>
[[gnu::target("avx2")]] void Radix2(std::size_t h, double* re, double* im, const double* wr,
                                    const double* wi, const double* x, const double* w) {
    for (std::size_t j = 0; j < h; j += 4) {
        V ar, ai, br, bi;
        if constexpr (kSource != Source::Points) {
            Gathered<kSource>(x, w, j, ar, ai);
            Gathered<kSource>(x, w, j + h, br, bi);
        } else {
            ar = Load(re + j), ai = Load(im + j), br = Load(re + h + j), bi = Load(im + h + j);
        }
        Store(re + j, Add(ar, br));
        Store(im + j, Add(ai, bi));
        V yr, yi;
        Twiddle(Sub(ar, br), Sub(ai, bi), wr + j, wi + j, yr, yi);
        Store(re + h + j, yr);
        Store(im + h + j, yi);
    }
}

// The radix-4 butterfly of four columns of points x0..x3 (see Radix4Kernel in FftPlan.cpp),
// the results in place of the inputs; w1, w2, w3 point at the columns' twiddles.
struct Radix4Twiddles {
    const double *w1r, *w1i, *w2r, *w2i, *w3r, *w3i;
};

OXW_WIDE void Radix4Columns(V& r0, V& i0, V& r1, V& i1, V& r2, V& i2, V& r3, V& i3,
                            const Radix4Twiddles& t, std::size_t j) {
    const V sr = Add(r0, r2), si = Add(i0, i2);
    const V dr = Sub(r0, r2), di = Sub(i0, i2);
    const V pr = Add(r1, r3), pi = Add(i1, i3);
    const V qr = Sub(r1, r3), qi = Sub(i1, i3);
    r0 = Add(sr, pr);
    i0 = Add(si, pi);
    Twiddle(Sub(sr, pr), Sub(si, pi), t.w1r + j, t.w1i + j, r1, i1);
    Twiddle(Sub(dr, qi), Add(di, qr), t.w2r + j, t.w2i + j, r2, i2);  // d + i q
    Twiddle(Add(dr, qi), Sub(di, qr), t.w3r + j, t.w3i + j, r3, i3);  // d - i q
}

// The radix-4 split of the transforms of length 4h (h >= 4) that start at s = 0, 4h, ... < end.
template <Source kSource>
[[gnu::target("avx2")]] void Radix4(std::size_t h, std::size_t end, double* re, double* im,
                                    const double* const* tw, const double* x, const double* w) {
    const Radix4Twiddles t{tw[0] + h, tw[1] + h, tw[0] + 2 * h, tw[1] + 2 * h, tw[2] + h, tw[3] + h};
    for (std::size_t s = 0; s < end; s += 4 * h) {
        double* r = re + s;
        double* i = im + s;
        for (std::size_t j = 0; j < h; j += 4) {
            V r0, i0, r1, i1, r2, i2, r3, i3;
            if constexpr (kSource != Source::Points) {
                Gathered<kSource>(x, w, s + j, r0, i0);
                Gathered<kSource>(x, w, s + j + h, r1, i1);
                Gathered<kSource>(x, w, s + j + 2 * h, r2, i2);
                Gathered<kSource>(x, w, s + j + 3 * h, r3, i3);
            } else {
                r0 = Load(r + j), i0 = Load(i + j), r1 = Load(r + h + j), i1 = Load(i + h + j);
                r2 = Load(r + 2 * h + j), i2 = Load(i + 2 * h + j);
                r3 = Load(r + 3 * h + j), i3 = Load(i + 3 * h + j);
            }
            Radix4Columns(r0, i0, r1, i1, r2, i2, r3, i3, t, j);
            Store(r + j, r0), Store(i + j, i0), Store(r + h + j, r1), Store(i + h + j, i1);
            Store(r + 2 * h + j, r2), Store(i + 2 * h + j, i2);
            Store(r + 3 * h + j, r3), Store(i + 3 * h + j, i3);
        }
    }
}

// Rows a, b, c, d of four values into their columns, in place.
OXW_WIDE void Transpose(V& a, V& b, V& c, V& d) {
    const V ab02 = _mm256_unpacklo_pd(a, b), ab13 = _mm256_unpackhi_pd(a, b);
    const V cd02 = _mm256_unpacklo_pd(c, d), cd13 = _mm256_unpackhi_pd(c, d);
    a = _mm256_permute2f128_pd(ab02, cd02, 0x20);
    b = _mm256_permute2f128_pd(ab13, cd13, 0x20);
    c = _mm256_permute2f128_pd(ab02, cd02, 0x31);
    d = _mm256_permute2f128_pd(ab13, cd13, 0x31);
}

// The last three stages of the transforms of length 16 starting at 0, 16, ... < end: the
// radix-4 split of each into four of length 4, then the last pass (see LastRadix4Pass), which
// works on the four points of each column after a transpose.
[[gnu::target("avx2")]] void Last16(std::size_t end, double* re, double* im,
                                    const double* const* tw) {
    const Radix4Twiddles t{tw[0] + 4, tw[1] + 4, tw[0] + 8, tw[1] + 8, tw[2] + 4, tw[3] + 4};
    for (std::size_t s = 0; s < end; s += 16) {
        double* r = re + s;
        double* i = im + s;
        V r0 = Load(r), i0 = Load(i), r1 = Load(r + 4), i1 = Load(i + 4);
        V r2 = Load(r + 8), i2 = Load(i + 8), r3 = Load(r + 12), i3 = Load(i + 12);
        Radix4Columns(r0, i0, r1, i1, r2, i2, r3, i3, t, 0);
        // Row g holds the transform of length 4 at s + 4g; its points become columns 0..3.
        Transpose(r0, r1, r2, r3);
        Transpose(i0, i1, i2, i3);
        const V sr = Add(r0, r2), si = Add(i0, i2);
        const V dr = Sub(r0, r2), di = Sub(i0, i2);
        const V pr = Add(r1, r3), pi = Add(i1, i3);
        const V qr = Sub(r1, r3), qi = Sub(i1, i3);
        r0 = Add(sr, pr), i0 = Add(si, pi);
        r1 = Sub(sr, pr), i1 = Sub(si, pi);
        r2 = Sub(dr, qi), i2 = Add(di, qr);  // d + i q
        r3 = Add(dr, qi), i3 = Sub(di, qr);  // d - i q
        Transpose(r0, r1, r2, r3);
        Transpose(i0, i1, i2, i3);
        Store(r, r0), Store(i, i0), Store(r + 4, r1), Store(i + 4, i1);
        Store(r + 8, r2), Store(i + 8, i2), Store(r + 12, r3), Store(i + 12, i3);
    }
}

// The last pass alone over groups of four (m = 4 or 8, whose passes never reach a length 16).
void LastPass(std::size_t m, double* re, double* im) {
    for (std::size_t s = 0; s < m; s += 4) {
        const double sr = re[s] + re[s + 2], si = im[s] + im[s + 2];
        const double dr = re[s] - re[s + 2], di = im[s] - im[s + 2];
        const double pr = re[s + 1] + re[s + 3], pi = im[s + 1] + im[s + 3];
        const double qr = re[s + 1] - re[s + 3], qi = im[s + 1] - im[s + 3];
        re[s] = sr + pr, im[s] = si + pi;
        re[s + 1] = sr - pr, im[s + 1] = si - pi;
        re[s + 2] = dr - qi, im[s + 2] = di + qr;
        re[s + 3] = dr + qi, im[s + 3] = di - qr;
    }
}

// Transforms of at most this many points are finished one by one: their data (16 bytes a
// point) and twiddles stay in the first-level cache.
constexpr std::size_t kCachedPoints = 1024;

#undef OXW_WIDE

}  // namespace

namespace {

// The first pass, from the points' source: the radix-2 one when the count of stages is odd,
// else a radix-4 one (m >= 64). Returns the length of the transforms it leaves.
template <Source kSource>
std::size_t FirstPass(std::size_t m, bool radix2, double* re, double* im,
                      const double* const* tw, const double* x, const double* w) {
    if (radix2) {
        Radix2<kSource>(m / 2, re, im, tw[0] + m / 2, tw[1] + m / 2, x, w);
        return m / 2;
    }
    Radix4<kSource>(m / 4, m, re, im, tw, x, w);
    return m / 4;
}

}  // namespace

void Butterflies(std::size_t m, double* re, double* im, const double* const* tw,
                 const double* x, const double* w) {
    if (x && m <= 16) {  // too short for a first pass over columns of four: gather first
        for (std::size_t j = 0; j < m; ++j) {
            re[j] = w ? x[2 * j] * w[2 * j] : x[2 * j];
            im[j] = w ? x[2 * j + 1] * w[2 * j + 1] : x[2 * j + 1];
        }
        x = nullptr;
    }
    std::size_t stages = 0;  // half lengths m/2 down to 4, as in the baseline build
    for (std::size_t t = 4; t < m; t *= 2) ++stages;
    const bool radix2 = stages % 2 == 1;
    std::size_t len = m;  // length of the transforms being split
    if (x && w)
        len = FirstPass<Source::WeightedSamples>(m, radix2, re, im, tw, x, w);
    else if (x)
        len = FirstPass<Source::Samples>(m, radix2, re, im, tw, x, w);
    else if (radix2)
        len = FirstPass<Source::Points>(m, radix2, re, im, tw, x, w);
    for (; len > kCachedPoints; len /= 4) Radix4<Source::Points>(len / 4, m, re, im, tw, x, w);
    if (len < 16) {  // m = 4 or 8
        LastPass(m, re, im);
        return;
    }
    for (std::size_t s = 0; s < m; s += len) {
        double* r = re + s;
        double* i = im + s;
        for (std::size_t l = len; l > 16; l /= 4)
            Radix4<Source::Points>(l / 4, len, r, i, tw, nullptr, nullptr);
        Last16(len, r, i, tw);
    }
}

namespace {

constexpr std::uint32_t kRev3[8] = {0, 4, 2, 6, 1, 5, 3, 7};

// One tile of Unscramble: rows c = 0..7 of eight doubles of the tile are rows rev3(c) of from,
// their transpose goes to rows rev3(0..7) of to; rows lie rowStep doubles apart.
[[gnu::target("avx2"), gnu::always_inline]] inline void UnscrambleTile(const double* from,
                                                                      double* to,
                                                                      std::size_t rowStep) {
    V a[8][2];
    for (int c = 0; c < 8; ++c) {
        const double* row = from + kRev3[c] * rowStep;
        a[c][0] = Load(row), a[c][1] = Load(row + 4);
    }
    Transpose(a[0][0], a[1][0], a[2][0], a[3][0]);
    Transpose(a[0][1], a[1][1], a[2][1], a[3][1]);
    Transpose(a[4][0], a[5][0], a[6][0], a[7][0]);
    Transpose(a[4][1], a[5][1], a[6][1], a[7][1]);
    for (int r = 0; r < 4; ++r) {
        double* row = to + kRev3[r] * rowStep;
        Store(row, a[r][0]), Store(row + 4, a[4 + r][0]);
        row = to + kRev3[4 + r] * rowStep;
        Store(row, a[r][1]), Store(row + 4, a[4 + r][1]);
    }
}

// Z[k] = (re, im)[rev(k)] to (outRe, outIm)[k], k < m. With k = (hi, mid, lo) in bits 3,
// log2(m) - 6, 3: rev(k) = (rev lo, rev mid, rev hi). The entries of one mid form a tile of
// eight rows (hi) of eight (lo), which goes to rows rev lo of columns rev hi: each row is read
// and written whole, at once, so rows that lie in the same cache set (they are 2^(log2(m) - 3)
// entries apart) do not push each other out.
[[gnu::target("avx2")]] void Unscramble(std::size_t m, const double* re, const double* im,
                                        const std::uint32_t* rev, double* outRe,
                                        double* outIm) {
    if (m < 64) {
        for (std::size_t p = 0; p < m; ++p) {
            const std::size_t k = rev[p] / 2;
            outRe[k] = re[p], outIm[k] = im[p];
        }
        return;
    }
    const std::size_t rowStep = m / 8;
    for (std::size_t mid = 0; mid < m / 64; ++mid) {
        const std::size_t from = mid * 8, to = rev[from] / 2;  // (0, rev mid, 0)
        UnscrambleTile(re + from, outRe + to, rowStep);
        UnscrambleTile(im + from, outIm + to, rowStep);
    }
}

}  // namespace

namespace {

// The split itself, with the line powers when kPowers.
template <bool kPowers>
[[gnu::target("avx2")]] void SplitInPlace(std::size_t m, const double* wr, const double* wi,
                                          double* outRe, double* outIm, double scale,
                                          double* power) {
    const std::size_t n = 2 * m;
    const double z0r = outRe[0], z0i = outIm[0];
    outRe[0] = z0r + z0i, outIm[0] = 0.0;
    outRe[m] = z0r - z0i, outIm[m] = 0.0;
    if constexpr (kPowers) power[m] = scale * (outRe[m] * outRe[m] + 0.0 * 0.0);
    const V half = _mm256_set1_pd(0.5), minusHalf = _mm256_set1_pd(-0.5);
    const V s = _mm256_set1_pd(scale);
    for (std::size_t k = 1; k <= m / 2; k += 4) {
        const V ar = Load(outRe + k), ai = Load(outIm + k);
        const V br = Reverse(Load(outRe + m - k - 3)), bi = Neg(Reverse(Load(outIm + m - k - 3)));
        const V er = Mul(half, Add(ar, br)), ei = Mul(half, Add(ai, bi));
        const V orr = Mul(half, Sub(ai, bi)), oi = Mul(minusHalf, Sub(ar, br));
        V tr, ti;  // w O
        Twiddle(orr, oi, wr + k, wi + k, tr, ti);
        const V xr = Add(er, tr), xi = Add(ei, ti);       // X[k]
        const V yr = Sub(er, tr), yi = Neg(Sub(ei, ti));  // X[m-k]
        // In the baseline's order, which matters only at k = m / 2, where m - k = k.
        Store(outRe + k, xr), Store(outIm + k, xi);
        Store(outRe + n - k - 3, Reverse(xr)), Store(outIm + n - k - 3, Reverse(Neg(xi)));
        Store(outRe + m - k - 3, Reverse(yr)), Store(outIm + m - k - 3, Reverse(yi));
        Store(outRe + m + k, yr), Store(outIm + m + k, Neg(yi));
        if constexpr (kPowers) {
            // A line and its conjugate have the same power, bit for bit.
            const V px = Mul(s, Add(Mul(xr, xr), Mul(xi, xi)));
            const V py = Mul(s, Add(Mul(yr, yr), Mul(yi, yi)));
            Store(power + k, px), Store(power + n - k - 3, Reverse(px));
            Store(power + m - k - 3, Reverse(py)), Store(power + m + k, py);
        }
    }
}

}  // namespace

void SplitRealSpectrum(std::size_t m, const double* re, const double* im, const double* wr,
                       const double* wi, const std::uint32_t* rev, double* outRe, double* outIm,
                       double scale, double* power) {
    Unscramble(m, re, im, rev, outRe, outIm);
    // In place: lines k and m - k are worked out from Z[k] and Z[m-k] alone, four pairs at a
    // time, and written over them (and into m + k, 2m - k), so every Z is read before its entry
    // is written.
    if (power)
        SplitInPlace<true>(m, wr, wi, outRe, outIm, scale, power);
    else
        SplitInPlace<false>(m, wr, wi, outRe, outIm, scale, power);
}

}  // namespace fftwide

#else

namespace fftwide {
void Butterflies(std::size_t, double*, double*, const double* const*, const double*,
                 const double*) {}
void SplitRealSpectrum(std::size_t, const double*, const double*, const double*, const double*,
                       const std::uint32_t*, double*, double*, double, double*) {}
}  // namespace fftwide

#endif
