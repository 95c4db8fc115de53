// Transforms that must give the same bits: TFastFourier::TransformReal (a real series in, split
// spectrum out) and the component's Transform of the same points, for every size and window, the
// data left alone, with the lines' powers; and the FFT plan's two builds of the transform
// (baseline and AVX2, which takes the butterflies in another order and the split from an
// unscrambled copy), for complex and real data of every size, interleaved and split, with the
// lines' powers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "numeric/FastFourier.h"
#include "numeric/FftPlan.h"
#include "support/Doubles.h"

namespace {

std::vector<double> Series(std::size_t n, unsigned seed) {
    return oxw::test::Uniform(-1, 1, n, seed);
}

// Index of the first entry whose bits differ, or -1.
long FirstDifference(const std::vector<double>& a, const std::vector<double>& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(double)) != 0) return static_cast<long>(i);
    return -1;
}

struct Case {
    TFastFourierWgtWin window;
    // For fwUserDef: a weight that replaces every seventh one (0 = none).
    double oddWeight;
    int largest;  // sizes 2 .. largest
};

// Every size up to 65536 for the plain and the user's window, the other windows (the same
// weighting code) up to 1024.
TEST(FastFourierRealSeries, SameBitsAsTransformForEverySizeAndWindow) {
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {fwRectangle, 0, 65536}, {fwTriangle, 0, 1024},     {fwCos2, 0, 1024},
        {fwGauss, 0, 1024},      {fwHamming, 0, 1024},      {fwBlackman, 0, 1024},
        {fwBlkmHarris, 0, 1024}, {fwBlkmNuttall, 0, 1024},  {fwUserDef, -0.75, 65536},
        {fwUserDef, inf, 65536},  // NaN imaginary parts: the full complex transform
    };
    for (const Case& c : cases) {
        for (int n = 2; n <= c.largest; n *= 2) {
            const auto un = static_cast<std::size_t>(n);
            const std::vector<double> x = Series(un, static_cast<unsigned>(n) + c.window);
            TFastFourier plain, split;
            for (TFastFourier* ff : {&plain, &split}) {
                ff->SetNumData(n);
                ff->SetWgtWin(c.window);
                for (int i = 1; i <= n; ++i)
                    ff->SetUserWgt(i, i % 7 == 3 && c.oddWeight != 0 ? c.oddWeight : 0.5 + i % 5);
            }
            for (std::size_t i = 0; i < un; ++i) plain.SetRealVal(static_cast<int>(i + 1), x[i]);
            plain.Transform();
            std::vector<double> plainRe(un + 1, 7.0), plainIm(un + 1, 7.0);
            for (std::size_t k = 0; k < static_cast<std::size_t>(plain.SpectrumSize()); ++k) {
                plainRe[k] = plain.GetRealVal(static_cast<int>(k) + 1);
                plainIm[k] = plain.GetImagVal(static_cast<int>(k) + 1);
            }

            split.SetRealVal(1, 123.0);  // the data stay as they were
            std::vector<double> re(un + 1, 7.0), im(un + 1, 7.0), power(un, 7.0);
            split.TransformReal(x, re, im, 0.5, power);
            const std::string what = "window " + std::to_string(c.window) + " weight " +
                                     std::to_string(c.oddWeight) + " n " + std::to_string(n);
            // The same spectrum, nothing written past it, the data as they were.
            EXPECT_EQ(std::pair(FirstDifference(plainRe, re), FirstDifference(plainIm, im)),
                      std::pair(-1L, -1L)) << what;
            EXPECT_EQ(std::pair(split.GetRealVal(1), split.GetImagVal(2)), std::pair(123.0, 0.0))
                << what;
            // The lines' powers as a loop over the spectrum works them out; line 0 is left.
            EXPECT_EQ(power[0], 7.0) << what;
            for (std::size_t k = 1; k < un; ++k) {
                const double p = 0.5 * (re[k] * re[k] + im[k] * im[k]);
                if (std::memcmp(&p, &power[k], sizeof p) != 0) {
                    ADD_FAILURE() << what << " power of line " << k;
                    break;
                }
            }
        }
    }
}

TEST(FastFourierRealSeries, RefusesShortSpans) {
    TFastFourier ff;
    ff.SetNumData(8);
    std::vector<double> x(8, 1.0), re(8), im(8), shortOne(7);
    EXPECT_THROW(ff.TransformReal(shortOne, re, im), EVKRFourierError);  // one short each
    EXPECT_THROW(ff.TransformReal(x, shortOne, im), EVKRFourierError);
    EXPECT_THROW(ff.TransformReal(x, re, shortOne), EVKRFourierError);
    EXPECT_THROW(ff.TransformReal(x, re, im, 1.0, shortOne), EVKRFourierError);
    ff.TransformReal(x, re, im);  // 8 each: accepted
    EXPECT_EQ(re[0], 8.0);
}

enum class Data { Complex, Real, RealSplit, RealSplitWeighted };

std::vector<double> Transformed(std::size_t n, Data data, bool wide, unsigned seed) {
    FftPlan plan;
    plan.Build(n);
    plan.UseWideKernels(wide);
    std::vector<double> d = Series(2 * n, seed);
    switch (data) {
        case Data::Complex:
            plan.TransformComplex(d.data());
            return d;
        case Data::Real:
            for (std::size_t i = 0; i < n; ++i) d[2 * i + 1] = 0.0;
            EXPECT_TRUE(plan.TransformReal(d.data()));
            return d;
        case Data::RealSplit:
        case Data::RealSplitWeighted: {
            const std::vector<double> x(d.begin(), d.begin() + static_cast<long>(n));
            const std::vector<double> w = Series(n, seed + 1);
            std::vector<double> re(n), im(n), power(n, -1.0);
            plan.TransformReal(x.data(), data == Data::RealSplit ? nullptr : w.data(), re.data(),
                               im.data(), 0.37, power.data());
            for (std::size_t k = 0; k < n; ++k) {
                d[2 * k] = re[k];
                d[2 * k + 1] = im[k];
            }
            EXPECT_EQ(power[0], -1.0);  // line 0 is left
            d.insert(d.end(), power.begin(), power.end());
            return d;
        }
    }
    return d;
}

TEST(FftPlanKernels, WideAndPlainButterfliesGiveTheSameBits) {
    if (!FftPlan::WideKernelsAvailable()) GTEST_SKIP() << "no AVX2 on this processor";
    for (const Data data : {Data::Complex, Data::Real, Data::RealSplit, Data::RealSplitWeighted}) {
        for (std::size_t n = 2; n <= 65536; n *= 2) {
            const auto seed = static_cast<unsigned>(n);
            EXPECT_EQ(FirstDifference(Transformed(n, data, false, seed),
                                      Transformed(n, data, true, seed)),
                      -1)
                << "data " << static_cast<int>(data) << " n " << n;
        }
    }
}

}  // namespace
