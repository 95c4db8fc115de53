// The exponential of arrays against std::exp, bit for bit, and the excitation pattern that uses it
// against the plain per-tap formula with std::exp, bit for bit.
#include "engine/ExactExp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "engine/Conversions.h"
#include "engine/Excitation.h"
#include "support/Doubles.h"

namespace oxw::engine {
namespace {

using Args = std::vector<double>;
constexpr double kInf = std::numeric_limits<double>::infinity();

using test::AddNeighbours;
using test::Uniform;

// Arguments whose exponentials lie on or next to the table's powers 2^(j / 256), where the
// reduced argument is near 0 and the result near an entry, and arguments near 0 (results near 1,
// where the spacing of the doubles changes).
Args TableSteps() {
    Args v;
    for (int k = -70000; k <= 70000; k += 97) AddNeighbours(v, k * std::numbers::ln2 / 256, 3);
    for (int k = 0; k <= 256; ++k) AddNeighbours(v, (k + 0.5) * std::numbers::ln2 / 256, 3);
    for (int e = 1; e <= 80; ++e) {
        v.push_back(std::ldexp(1.0, -e));
        v.push_back(-std::ldexp(1.0, -e));
    }
    AddNeighbours(v, 0.0, 40);
    return v;
}

// The edges of the lanes' range and what lies beyond it.
Args Edges() {
    Args v;
    for (double x : {700.0, -700.0, 708.0, -708.0, 709.78, -745.0, -746.0}) AddNeighbours(v, x, 4);
    for (double x : {710.0, -750.0, 1e300, -1e300, kInf, -kInf, 5e-324, -5e-324,
                     std::numeric_limits<double>::quiet_NaN(), -0.0, 0.0})
        v.push_back(x);
    return v;
}

bool SameBits(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) ||
           std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(ExactExp, EqualsStdExpBitForBit) {
    struct Case {
        const char* name;
        Args args;
    };
    const Case cases[] = {
        {"excitation skirts, -110..0", Uniform(-110, 0, 200'000, 1)},
        {"whole lane range", Uniform(-700, 700, 100'000, 2)},
        {"small arguments", Uniform(-0.01, 0.01, 30'000, 3)},
        {"table steps and near 0", TableSteps()},
        {"edges and beyond", Edges()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Args out(c.args.size());
        Exp(c.args.data(), out.data(), c.args.size());
        int wrong = 0;
        for (std::size_t i = 0; i < c.args.size() && wrong < 5; ++i)
            if (!SameBits(out[i], std::exp(c.args[i]))) {
                ++wrong;
                ADD_FAILURE() << "exp(" << c.args[i] << ") = " << out[i];
            }
    }
}

// Every length, so that each lane position and the leftover arguments are checked, with the
// values that the lanes do not keep scattered among them.
TEST(ExactExp, EveryLengthAndPosition) {
    const Args pool = {-1.5, 0.0, -30.25, kInf, -3.0, std::numeric_limits<double>::quiet_NaN(),
                       -700.5, 2.0, -0.001, 1e-300, -99.0};
    for (std::size_t n = 0; n <= pool.size(); ++n) {
        Args out(n + 1, 7.0);
        Exp(pool.data(), out.data(), n);
        for (std::size_t i = 0; i < n; ++i)
            EXPECT_TRUE(SameBits(out[i], std::exp(pool[i]))) << n << " " << i;
        EXPECT_EQ(out[n], 7.0) << "written past the end, n = " << n;
    }
}

// std::exp decides only near midpoints: the lanes leave a value to it when theirs lies within
// 1/32 of the spacing of the doubles of a midpoint, 1/16 of the values of a smooth spread. A
// narrower band would no longer cover the errors of both exponentials, and the bit-for-bit cases
// above are too few to show it; a wider one costs time.
TEST(ExactExp, FallsBackWithinTheMarginAlone) {
    const Args args = Uniform(-110, 0, 400'000, 4);
    Args out(args.size());
    const std::uint64_t before = ExpFallbacks();
    Exp(args.data(), out.data(), args.size());
    const auto share = static_cast<double>(ExpFallbacks() - before) / args.size();
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma")) GTEST_SKIP();
    EXPECT_GT(share, 0.055) << share;
    EXPECT_LT(share, 0.070) << share;
}

// The excitation pattern of random spectra on a grid of 150 bins from 25 Hz to 18 kHz (and on
// the same grid with two bins swapped, so that the bins below a centre do not all follow each
// other), with component levels from far below to far above 51 dB (so that the lower slopes are
// clamped at 0.1 too), against the taps summed one by one in their order with std::exp.
TEST(ExactExp, ExcitationEqualsThePlainTapSums) {
    const int n = 150;
    for (const bool swapped : {false, true}) {
        SCOPED_TRACE(swapped ? "two bins swapped" : "rising grid");
        Compact F{}, I{};
        for (int i = 1; i <= n; ++i) F[i] = 25 * std::pow(720.0, (i - 1.0) / (n - 1));
        if (swapped) std::swap(F[40], F[90]);
        std::mt19937_64 gen(5);
        std::uniform_real_distribution<> level(-100, 250);
        RoexFilters roex;
        roex.For(F, n);
        for (int round = 0; round < 10; ++round) {
            std::vector<double> RoexL(COMPACT_SIZE, 0.0);
            for (int i = 1; i <= n; ++i) {
                I[i] = dB2I(level(gen) * 0.5);
                RoexL[i] = level(gen);
            }
            ErbPattern Esig{};
            roex.Excitation(I, RoexL.data(), Esig);
            for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
                const double f = ErbGridHz(e), p51 = 4 * f / ERBandwidth(f);
                const double shift = 0.35 * (p51 / 30.2012922);
                double sum = 0;
                for (int i = 1; i <= n; ++i) {
                    const double g = (F[i] - f) / f;
                    if (g >= 0) continue;
                    const double pg = std::max(p51 - shift * (RoexL[i] - 51.0), 0.1) * -g;
                    sum += (1 + pg) * std::exp(-pg) * I[i];
                }
                for (int i = 1; i <= n; ++i) {
                    const double g = (F[i] - f) / f;
                    if (g < 0 || g >= 2) continue;
                    const double pg = p51 * g;
                    sum += (1 + pg) * std::exp(-pg) * I[i];
                }
                ASSERT_TRUE(SameBits(Esig[e], std::max(sum, 1e-10)))
                    << "round " << round << ", e = " << e << ": " << Esig[e] << " vs " << sum;
            }
        }
    }
}

}  // namespace
}  // namespace oxw::engine
