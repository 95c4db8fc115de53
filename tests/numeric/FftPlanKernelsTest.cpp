// The FFT plan's two builds of the transform (baseline and AVX2, which takes the butterflies in
// another order and the split from an unscrambled copy) give the same bits, for complex and real
// data of every size, interleaved and split, with the lines' powers.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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
