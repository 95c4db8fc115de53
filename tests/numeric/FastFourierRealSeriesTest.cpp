// TFastFourier::TransformReal (a real series in, split spectrum out) against the component's
// Transform of the same points: the same bits for every size and window, the data left alone.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "numeric/FastFourier.h"
#include "support/Doubles.h"

namespace {

std::vector<double> Series(std::size_t n, unsigned seed) {
    return oxw::test::Uniform(-1, 1, n, seed);
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Case {
    TFastFourierWgtWin window;
    // For fwUserDef: a weight that replaces every seventh one (0 = none).
    double oddWeight;
};

// Point k + 1 of `plain` after Transform against re[k], im[k] of the split form, bit for bit.
void ExpectSameSpectrum(const TFastFourier& plain, const std::vector<double>& re,
                        const std::vector<double>& im, const std::string& what) {
    const int n = plain.SpectrumSize();
    int wrong = 0;
    for (int k = 0; k < n && wrong < 3; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (!SameBits(plain.GetRealVal(k + 1), re[i]) ||
            !SameBits(plain.GetImagVal(k + 1), im[i])) {
            ADD_FAILURE() << what << " line " << k << ": " << plain.GetRealVal(k + 1) << ", "
                          << plain.GetImagVal(k + 1) << " vs " << re[i] << ", " << im[i];
            ++wrong;
        }
    }
}

TEST(FastFourierRealSeries, SameBitsAsTransformForEverySizeAndWindow) {
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {fwRectangle, 0},  {fwTriangle, 0},    {fwCos2, 0},
        {fwGauss, 0},      {fwHamming, 0},     {fwBlackman, 0},
        {fwBlkmHarris, 0}, {fwBlkmNuttall, 0}, {fwUserDef, -0.75},
        {fwUserDef, inf},  // NaN imaginary parts: the full complex transform
    };
    for (const Case& c : cases) {
        for (int n = 2; n <= 65536; n *= 2) {
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

            split.SetRealVal(1, 123.0);  // the data stay as they were
            std::vector<double> re(un + 1, 7.0), im(un + 1, 7.0), power(un, 7.0);
            split.TransformReal(x, re, im, 0.5, power);
            const std::string what = "window " + std::to_string(c.window) + " weight " +
                                     std::to_string(c.oddWeight) + " n " + std::to_string(n);
            ExpectSameSpectrum(plain, re, im, what);
            // The lines' powers as a loop over the spectrum works them out; line 0 is left.
            EXPECT_EQ(power[0], 7.0) << what;
            for (std::size_t k = 1; k < un; ++k) {
                const double p = 0.5 * (re[k] * re[k] + im[k] * im[k]);
                if (std::memcmp(&p, &power[k], sizeof p) != 0) {
                    ADD_FAILURE() << what << " power of line " << k;
                    break;
                }
            }
            EXPECT_EQ(re[un], 7.0) << what;
            EXPECT_EQ(im[un], 7.0) << what;
            EXPECT_EQ(split.GetRealVal(1), 123.0) << what;
            EXPECT_EQ(split.GetImagVal(2), 0.0) << what;
        }
    }
}

TEST(FastFourierRealSeries, RefusesShortSpans) {
    TFastFourier ff;
    ff.SetNumData(8);
    std::vector<double> x(8, 1.0), re(8), im(8), shortOne(7);
    EXPECT_THROW(ff.TransformReal(shortOne, re, im), EVKRFourierError);
    EXPECT_THROW(ff.TransformReal(x, shortOne, im), EVKRFourierError);
    EXPECT_THROW(ff.TransformReal(x, re, shortOne), EVKRFourierError);
    EXPECT_THROW(ff.TransformReal(x, re, im, 1.0, shortOne), EVKRFourierError);
    EXPECT_NO_THROW(ff.TransformReal(x, re, im));
    EXPECT_EQ(re[0], 8.0);
}

}  // namespace
