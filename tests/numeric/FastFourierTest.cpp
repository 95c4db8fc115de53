// TFastFourier: transform against a direct DFT evaluated in long double, Parseval's identity,
// hand-worked signals, the windows, FreqOfLine and the sizes
// the component accepts.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "numeric/FastFourier.h"

namespace {

using cld = std::complex<long double>;

std::vector<cld> RandomSignal(int n, bool real, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<cld> x(static_cast<size_t>(n));
    for (auto& v : x) v = cld(u(rng), real ? 0.0 : u(rng));
    return x;
}

// Puts x into the component's points 1..N (imaginary parts through the data array).
void Load(TFastFourier& ff, const std::vector<cld>& x) {
    ff.Clear();
    auto d = ff.FData();
    for (size_t i = 0; i < x.size(); ++i) {
        d[2 * i] = static_cast<double>(x[i].real());
        d[2 * i + 1] = static_cast<double>(x[i].imag());
    }
}

cld Point(const TFastFourier& ff, int ix) { return {ff.GetRealVal(ix), ff.GetImagVal(ix)}; }

// X[k] = sum_n x[n] exp(+2 pi i n k / N), straight from the definition, in long double.
cld DirectDft(const std::vector<cld>& x, size_t k) {
    const size_t n = x.size();
    const long double step = 2.0L * std::numbers::pi_v<long double> / static_cast<long double>(n);
    cld sum = 0;
    for (size_t j = 0; j < n; ++j) {
        const long double a = step * static_cast<long double>((j * k) % n);
        sum += x[j] * cld(std::cos(a), std::sin(a));
    }
    return sum;
}

// Bins to compare: all of them for small sizes, the edges and a few random ones beyond.
std::vector<size_t> BinsToCheck(int n, unsigned seed) {
    std::vector<size_t> bins;
    if (n <= 512) {
        for (size_t k = 0; k < static_cast<size_t>(n); ++k) bins.push_back(k);
        return bins;
    }
    const auto h = static_cast<size_t>(n / 2);
    bins = {0, 1, h - 1, h, h + 1, 2 * h - 1};
    std::mt19937 rng(seed);
    std::uniform_int_distribution<size_t> pick(0, static_cast<size_t>(n - 1));
    for (int i = 0; i < 6; ++i) bins.push_back(pick(rng));
    return bins;
}

TFastFourier Sized(int n, TFastFourierWgtWin ww = fwRectangle) {
    TFastFourier ff;
    ff.SetName("FastFourier4096");
    ff.SetNumData(n);
    ff.SetWgtWin(ww);
    return ff;
}

// The transform of x by a component of size n (or of a window's weights on all ones).
TFastFourier Transformed(int n, const std::vector<cld>& x, TFastFourierWgtWin ww = fwRectangle) {
    TFastFourier ff = Sized(n, ww);
    Load(ff, x);
    ff.Transform();
    return ff;
}

void ExpectNear(cld expected, cld got, double tol, const std::string& what) {
    EXPECT_NEAR(static_cast<double>(expected.real()), static_cast<double>(got.real()), tol) << what;
    EXPECT_NEAR(static_cast<double>(expected.imag()), static_cast<double>(got.imag()), tol) << what;
}

} // namespace

TEST(FastFourier, MatchesDirectDftAndParsevalForAllSizes) {
    for (bool real : {true, false}) { // real input takes the half-size path
        for (int n = 2; n <= 32768; n *= 2) {
            const auto x = RandomSignal(n, real, static_cast<unsigned>(n));
            const TFastFourier ff = Transformed(n, x);
            // DC and Nyquist of real input are exactly real.
            EXPECT_TRUE(!real || (ff.GetImagVal(1) == 0.0 && ff.GetImagVal(n / 2 + 1) == 0.0)) << n;
            // Parseval, unscaled: sum |X[k]|^2 = N sum |x[n]|^2.
            long double energy = 0, spectral = 0;
            for (int i = 0; i < n; ++i) energy += std::norm(x[i]), spectral += std::norm(Point(ff, i + 1));
            EXPECT_NEAR(1.0, static_cast<double>(spectral / (n * energy)), 1e-13) << n;
            // Rounding error of the FFT grows like sqrt(N) log N for inputs of unit size; this
            // bound is about ten times the error of accurate twiddles.
            const double tol = 4e-16 * std::sqrt(n) * std::log2(n) + 1e-15;
            for (size_t k : BinsToCheck(n, static_cast<unsigned>(n)))
                ExpectNear(DirectDft(x, k), Point(ff, static_cast<int>(k + 1)), tol,
                           "N=" + std::to_string(n) + " bin " + std::to_string(k) + (real ? " real" : " complex"));
        }
    }
}

TEST(FastFourier, OneImaginaryPartInTheLastPointCounts) {
    // Real samples but for the last point's imaginary part: the data are complex.
    for (int n : {2, 8, 64}) {
        auto x = RandomSignal(n, true, 5);
        x.back() = cld(x.back().real(), 0.75);
        const TFastFourier ff = Transformed(n, x);
        for (int k = 0; k < n; ++k)
            ExpectNear(DirectDft(x, static_cast<size_t>(k)), Point(ff, k + 1), 1e-13, std::to_string(n) + " " + std::to_string(k));
    }
}

TEST(FastFourier, HandWorkedSignals) {
    // Unit impulse at point 1: every X[k] = 1. Constant 1: N at point 1, 0 elsewhere.
    // cos(2 pi c t / N): real N/2 at points c+1 and N-c+1. sin: with the positive exponent,
    // imaginary +N/2 at point c+1 and -N/2 at point N-c+1.
    const int n = 4096, c = 5;
    const double w = 2.0 * std::numbers::pi * c / n;
    enum Signal { kImpulse, kConstant, kCos, kSin };
    for (Signal sig : {kImpulse, kConstant, kCos, kSin}) {
        std::vector<cld> x(n);
        for (int i = 0; i < n; ++i)
            x[i] = sig == kImpulse ? (i == 0) : sig == kConstant ? 1.0 : sig == kCos ? std::cos(w * i) : std::sin(w * i);
        const TFastFourier ff = Transformed(n, x);
        const cld up = sig == kSin ? cld(0, n / 2.0) : cld(n / 2.0, 0);
        for (int k = 1; k <= n; ++k) {
            const cld expected = sig == kImpulse ? cld(1) : sig == kConstant ? cld(k == 1 ? n : 0)
                                 : k == c + 1 ? up : k == n - c + 1 ? std::conj(up) : cld(0);
            ExpectNear(expected, Point(ff, k), 1e-9, std::to_string(sig) + " point " + std::to_string(k));
        }
    }
}

TEST(FastFourier, WindowSumsAgreeWithHandWorkedValues) {
    // The transform of all ones gives the window's sum at point 1. Over i = 1..N the cosine
    // terms cos(2 pi m x), x = (i - N/2)/N, m = 1..3, sum to zero for N = 4, 8, 1024..., so a
    // cosine-sum window sums to N a0; the triangle gives N/2 + 1; cos^2 gives N/2.
    const double gauss4 = 1.0 + 2.0 * std::exp(-1.125) + std::exp(-4.5); // x = -1/4, 0, 1/4, 1/2
    const struct { TFastFourierWgtWin ww; int n; double sum; } cases[] = {
        {fwRectangle, 8, 8.0},         {fwRectangle, 1024, 1024.0},
        {fwTriangle, 4, 3.0},          {fwTriangle, 1024, 513.0},
        {fwCos2, 4, 2.0},              {fwCos2, 1024, 512.0},
        {fwGauss, 4, gauss4},
        {fwHamming, 4, 4 * 0.543478261}, {fwHamming, 1024, 1024 * 0.543478261},
        {fwBlackman, 4, 4 * 0.42659},  {fwBlackman, 1024, 1024 * 0.42659},
        {fwBlkmHarris, 8, 8 * 0.35875}, {fwBlkmHarris, 1024, 1024 * 0.35875},
        {fwBlkmNuttall, 8, 8 * 0.3635819}, {fwBlkmNuttall, 1024, 1024 * 0.3635819},
    };
    for (const auto& c : cases) {
        const TFastFourier ff = Transformed(c.n, std::vector<cld>(c.n, 1.0), c.ww);
        EXPECT_NEAR(c.sum, ff.GetRealVal(1), 1e-12 * c.n) << "window " << int(c.ww) << " N=" << c.n;
        EXPECT_NEAR(0.0, ff.GetImagVal(1), 1e-12 * c.n);
    }
}

TEST(FastFourier, WindowWeightsOfFourPoints) {
    // x = -1/4, 0, 1/4, 1/2 for i = 1..4.
    const struct { TFastFourierWgtWin ww; std::vector<double> w; } cases[] = {
        {fwTriangle, {0.5, 1.0, 1.0, 0.5}},
        {fwCos2, {0.5, 1.0, 0.5, 0.0}},
        {fwHamming, {0.543478261, 1.0, 0.543478261, 0.543478261 - 0.456521739}},
        {fwBlackman, {0.42659 - 0.076848, 0.42659 + 0.49656 + 0.076848, 0.42659 - 0.076848,
                      0.42659 - 0.49656 + 0.076848}},
    };
    for (const auto& c : cases) {
        const auto w = WindowWeights(c.ww, 4);
        ASSERT_EQ(4u, w.size());
        for (size_t i = 0; i < 4; ++i)
            EXPECT_NEAR(c.w[i], w[i], 1e-15) << "window " << int(c.ww) << " point " << i + 1;
    }
}

TEST(FastFourier, WindowWeighsImaginaryPartsAndUserWeights) {
    // Hamming on 1 + i in every point: both parts carry the weights.
    ExpectNear(cld(16 * 0.543478261, 16 * 0.543478261),
               Point(Transformed(16, std::vector<cld>(16, cld(1, 1)), fwHamming), 1), 1e-12, "1 + i");

    // A new component has user weights 1.0; after a resize they are 0 until set.
    TFastFourier fresh;
    fresh.SetWgtWin(fwUserDef);
    for (int i = 1; i <= defFFTSize; ++i) fresh.SetRealVal(i, 1.0);
    fresh.Transform();
    EXPECT_NEAR(defFFTSize, fresh.GetRealVal(1), 1e-10);

    EXPECT_EQ(0.0, Transformed(8, std::vector<cld>(8, 1.0), fwUserDef).GetRealVal(1));
    TFastFourier user = Sized(8, fwUserDef);
    for (int i = 1; i <= 8; ++i) {
        user.SetUserWgt(i, i);
        user.SetRealVal(i, 1.0);
    }
    user.Transform();
    EXPECT_NEAR(36.0, user.GetRealVal(1), 1e-12);
}

TEST(FastFourier, FreqOfLine) {
    const struct { int n, ix; double dt, hz; } cases[] = {
        {4096, 1, 1.0 / 44100, 10.7666015625},
        {4096, 2048, 1.0 / 44100, 22050.0},
        {4096, 0, 1.0 / 44100, 0.0},
        {4096, 2049, 1.0 / 44100, 0.0},
        {32768, 1, 1.0 / 44100, 1.3458251953125},
        {32768, 100, 1.0 / 48000, 146.484375},
        {2, 1, 0.5, 1.0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.hz, Sized(c.n).FreqOfLine(c.ix, c.dt)) << c.n << " line " << c.ix;
}

// The message of the error SetNumData(n) throws, "" when n is accepted.
static std::string Refusal(TFastFourier& ff, int n) {
    try {
        ff.SetNumData(n);
    } catch (const EVKRError& e) {
        EXPECT_NE(nullptr, dynamic_cast<const EVKRFourierError*>(&e)) << n;
        return e.what();
    }
    return "";
}

TEST(FastFourier, RefusesSizesOtherThanPowersOfTwoFrom2To2Pow23) {
    // 2^24 and beyond have no bit among the low 24 bits: the plain message. Size 1 is a power
    // of two but no transform: the message names the range.
    const std::string plain = "Component \"FastFourier4096\": data length must be power of 2";
    TFastFourier ff = Sized(8);
    ff.SetRealVal(3, 2.5);
    for (int n : {0, 1, 3, 3000, 4095, 1 << 24, (1 << 24) + 4096, (1 << 23) + 1, 1 << 30, -1, -4096, INT_MIN}) {
        EXPECT_EQ(Refusal(ff, n), n == 1 ? plain + " between 2 and 8388608" : plain) << n;
        EXPECT_EQ(8, ff.SpectrumSize()) << n; // the refused size leaves the data as they were
        EXPECT_EQ(2.5, ff.GetRealVal(3)) << n;
    }
    TFastFourier named;
    named.SetName("FastFourier32768");
    EXPECT_EQ(Refusal(named, 3000), "Component \"FastFourier32768\": data length must be power of 2");
}

TEST(FastFourier, AcceptsPowersOfTwoFrom2To2Pow23) {
    for (int n : {2, 4, 4096, 32768, 1 << 23}) {
        TFastFourier ff;
        ff.SetRealVal(1, 1.0);
        ff.SetNumData(n);
        EXPECT_EQ(n, ff.SpectrumSize());
        EXPECT_EQ(2 * static_cast<size_t>(n), ff.FData().size());
        EXPECT_EQ(0.0, ff.GetRealVal(1)); // zeroed
        EXPECT_EQ(0.0, ff.GetUserWgt(n)); // user window zeroed
    }
}

TEST(FastFourier, PointsOutsideOneToNReadZeroAndIgnoreWrites) {
    TFastFourier ff = Sized(4);
    ff.SetRealVal(0, 9.0);
    ff.SetRealVal(5, 9.0);
    EXPECT_EQ(std::vector<double>(8, 0.0), std::vector<double>(ff.FData().begin(), ff.FData().end()));
    ff.SetRealVal(4, 1.5);
    ff.FData()[1] = ff.FData()[7] = 2.0;
    EXPECT_EQ(1.5, ff.GetRealVal(4));
    EXPECT_EQ(0.0, ff.GetRealVal(0) + ff.GetRealVal(5) + ff.GetImagVal(0) + ff.GetImagVal(5));
    ff.SetNumData(4); // same size: zeroed again
    EXPECT_EQ(0.0, ff.GetRealVal(4));
    EXPECT_EQ(fwRectangle, ff.WeightingWindow());
    ff.SetWgtWin(fwBlackman);
    ff.SetWgtWin(static_cast<TFastFourierWgtWin>(9)); // not a window: ignored
    EXPECT_EQ(fwBlackman, ff.WeightingWindow());
}
