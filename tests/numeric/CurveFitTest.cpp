// The curve fitter against published references: Anscombe's quartet I (1973) for the line, an
// exact Hoerl curve, the natural spline through e^x of Burden and Faires (Numerical Analysis,
// section 3.5), and Reinsch's smoothing spline (1967) whose residual must meet its allowance.

#include <gtest/gtest.h>

#include <bit>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "numeric/CurveFit.h"

namespace {

using Pairs = std::vector<std::pair<double, double>>;

void Enter(TCurveFit& fit, const Pairs& pairs)
{
    fit.Init();
    for (const auto& [x, y] : pairs) fit.EnterStatValue(x, y);
}

// The message of the EVKRMath2Error that f raises; empty when it raises none.
template <typename F>
std::string Raised(F f)
{
    try {
        f();
    } catch (const EVKRMath2Error& e) {
        return e.what();
    }
    return {};
}

// Two fitters holding the same pairs entered two ways: the same count, extremes (with the signs
// of zeros), mean and line, to the last bit. The mean and line need two pairs at least.
void ExpectSameSums(const TCurveFit& a, const TCurveFit& b)
{
    ASSERT_EQ(a.NumData(), b.NumData());
    for (auto [u, v] : {std::pair{a.MinX(), b.MinX()}, {a.MaxX(), b.MaxX()},
                        {a.MinY(), b.MinY()}, {a.MaxY(), b.MaxY()}}) {
        EXPECT_EQ(u, v);
        EXPECT_EQ(std::signbit(u), std::signbit(v));
    }
    if (a.NumData() < 2) return;
    EXPECT_EQ(a.MeanY(), b.MeanY());
    double k1, d1, q1, k2, d2, q2;
    a.CalcLinFit(k1, d1, q1);
    b.CalcLinFit(k2, d2, q2);
    EXPECT_EQ(k1, k2);
    EXPECT_EQ(d1, d2);
    EXPECT_EQ(q1, q2);
}

const Pairs kAnscombeI{{10, 8.04}, {8, 6.95},  {13, 7.58}, {9, 8.81}, {11, 8.33}, {14, 9.96},
                       {6, 7.24},  {4, 4.26},  {12, 10.84}, {7, 4.82}, {5, 5.68}};
const Pairs kSmoothingData{{0, 0}, {1, 0.8}, {2, 0.9}, {3, 0.1}, {4, -0.8}, {5, -1.0}, {6, -0.3}};

}  // namespace

// Pairs entered as one run agree with pairs entered one by one to the last bit: the sums, the
// extremes, the stored pairs (over the growth of the store by 1000 rows) and every fit; a run
// entered after single pairs goes on from them. A borrowed run serves the same: its pairs are
// copied in when read, or when more pairs follow it.
TEST(CurveFit, RunOfPairsEntersLikeSinglePairs)
{
    std::vector<double> x(2500), y(2500);
    std::uint32_t seed = 3;
    for (std::size_t i = 0; i < x.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        x[i] = 0.1 + i * 1.3458251953125;
        y[i] = 40 + std::ldexp(static_cast<double>(seed), -28) - (i % 7 == 0 ? 20 : 0);
    }
    for (const bool borrow : {false, true})
    for (const int single : {0, 1, 999, 1700}) {
        SCOPED_TRACE(testing::Message() << "single " << single << " borrow " << borrow);
        TCurveFit one, run;
        one.Init();
        run.Init();
        auto enterRun = [&](int from, int n) {
            if (borrow)
                run.BorrowStatValues(x.data() + from, y.data() + from, n);
            else
                run.EnterStatValues(x.data() + from, y.data() + from, n);
        };
        for (std::size_t i = 0; i < x.size(); ++i) one.EnterStatValue(x[i], y[i]);
        for (int i = 0; i < single; ++i) run.EnterStatValue(x[i], y[i]);
        // Two runs: the second takes over from the first (a borrowed one is copied in then).
        enterRun(single, (2500 - single) / 2);
        enterRun(single + (2500 - single) / 2, 2500 - single - (2500 - single) / 2);
        enterRun(0, 0);
        ExpectSameSums(one, run);
        double h1[4], h2[4];
        one.CalcHoerlFit(h1[0], h1[1], h1[2], h1[3]);
        run.CalcHoerlFit(h2[0], h2[1], h2[2], h2[3]);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(h1[i], h2[i]) << i;
        for (int i : {1, 1000, 1001, 2500, 2501}) {
            EXPECT_EQ(one.DataX(i), run.DataX(i)) << i;
            EXPECT_EQ(one.DataY(i), run.DataY(i)) << i;
        }
        EXPECT_EQ(one.CubicSpline(1000.5), run.CubicSpline(1000.5));
        // A new point set after Init: the stored pairs of the run are gone.
        run.Init();
        EXPECT_EQ(0.0, run.DataX(1));
        enterRun(0, 1);
        EXPECT_EQ(x[0], run.DataX(1));
        EXPECT_EQ(0.0, run.DataX(2));
    }
}

// A borrowed run read first by the spline or by the flags: the pairs are there for them.
TEST(CurveFit, BorrowedPairsServeTheSplinesAndFlags)
{
    const std::vector<double> x{1, 2, 3, 4}, y{std::exp(1.0), std::exp(2.0), -1, std::exp(4.0)};
    TCurveFit one, run;
    for (int i = 0; i < 4; ++i) one.EnterStatValue(x[i], y[i]);
    run.BorrowStatValues(x.data(), y.data(), 4);
    EXPECT_EQ(one.CubicSpline(2.5), run.CubicSpline(2.5));
    TCurveFit flags;
    flags.BorrowStatValues(x.data(), y.data(), 4);
    EXPECT_EQ(cfeYLE0, flags.ErrIndic());
    TCurveFit smooth, smoothOne;
    for (int i = 0; i < 4; ++i) smoothOne.EnterStatValue(x[i], y[i]);
    smooth.BorrowStatValues(x.data(), y.data(), 4);
    double q1 = 0, q2 = 0;
    bool v1 = false, v2 = false;
    EXPECT_EQ(smoothOne.SmoothedSpline(2.5, q1, v1), smooth.SmoothedSpline(2.5, q2, v2));
    EXPECT_EQ(q1, q2);
    EXPECT_TRUE(v2);
}

// Runs summed side by side give each run's sums to the last bit, as the run entered alone into
// an empty fitter: seeded runs of many lengths (the longer of two going on alone), overlapping
// and of equal starts, with repeated values, signed zeros and extremes on the first or last
// pair; a fitter that takes the sums fits as one that summed the pairs itself.
TEST(CurveFit, RunsSummedSideBySideAsEachAlone)
{
    std::vector<double> x(6000), y(6000);
    std::uint32_t seed = 17;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = i * 1.3458251953125 + std::ldexp(static_cast<double>(next()), -40);
        y[i] = 40 + std::ldexp(static_cast<double>(next()), -19) - 16;
        if (next() % 50 == 0) y[i] = next() % 2 ? 0.0 : -0.0;
        if (next() % 70 == 0) y[i] = 40;
    }
    std::vector<TCurveFit::Run> runs;
    for (int r = 0; r < 301; ++r) {
        const int start = static_cast<int>(next() % 4000);
        int n = static_cast<int>(next() % 1900);
        if (r % 10 == 0) n = r % 3;  // empty, single and two-pair runs
        runs.push_back({x.data() + start, y.data() + start, n});
    }
    // Runs whose x is known to rise take the extremes of x from their ends: the same sums.
    {
        std::vector<TCurveFit::Run> rising = runs;
        for (TCurveFit::Run& run : rising) run.xRises = true;
        std::vector<TCurveFit::RunSums> plain(runs.size()), ends(runs.size());
        TCurveFit::SumRuns(runs, plain);
        TCurveFit::SumRuns(rising, ends);
        for (std::size_t r = 0; r < runs.size(); ++r)
            ASSERT_EQ(0, std::memcmp(&plain[r], &ends[r], sizeof plain[r])) << r;
        // Line-only runs: the same sums of the line, the rest left out; their line is the one
        // CalcLinFit gives the run alone, and a fitter handed them sums the pairs itself.
        for (TCurveFit::Run& run : rising) run.lineOnly = true;
        TCurveFit::SumRuns(rising, ends);
        for (std::size_t r = 0; r < runs.size(); ++r) {
            SCOPED_TRACE(r);
            const TCurveFit::RunSums &p = plain[r], &e = ends[r];
            for (auto [a, b] : {std::pair{p.x, e.x}, {p.y, e.y}, {p.xq, e.xq}, {p.xy, e.xy},
                                {p.minX, e.minX}, {p.maxX, e.maxX}})
                ASSERT_EQ(std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b));
            EXPECT_TRUE(std::isnan(e.yq) && std::isnan(e.minY) && std::isnan(e.maxY));
            TCurveFit alone, handed;
            alone.EnterStatValues(runs[r].x, runs[r].y, runs[r].n);
            handed.BorrowStatValues(rising[r], e);
            ExpectSameSums(alone, handed);
            if (runs[r].n < 2) {
                double k, d;
                EXPECT_THROW(TCurveFit::LineFit(e, runs[r].n, k, d), EVKRMath2Error);
                continue;
            }
            double k1, d1, q1, k3, d3;
            alone.CalcLinFit(k1, d1, q1);
            TCurveFit::LineFit(e, runs[r].n, k3, d3);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(k1), std::bit_cast<std::uint64_t>(k3));
            EXPECT_EQ(std::bit_cast<std::uint64_t>(d1), std::bit_cast<std::uint64_t>(d3));
        }
    }
    runs.push_back({y.data(), x.data(), 1500});  // decreasing and increasing roles swapped
    // Few runs as well (some share no register, some two lanes only) as many.
    for (const std::size_t few : {1u, 2u, 3u, 5u, 6u, 7u}) {
        std::vector<TCurveFit::RunSums> some(few), all(runs.size());
        TCurveFit::SumRuns({runs.data() + 20, few}, some);
        TCurveFit::SumRuns(runs, all);
        for (std::size_t r = 0; r < few; ++r)
            EXPECT_EQ(0, std::memcmp(&some[r], &all[20 + r], sizeof some[r])) << few << " " << r;
    }
    std::vector<TCurveFit::RunSums> sums(runs.size());
    TCurveFit::SumRuns(runs, sums);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        SCOPED_TRACE(r);
        TCurveFit alone, taken;
        alone.EnterStatValues(runs[r].x, runs[r].y, runs[r].n);
        taken.BorrowStatValues(runs[r], sums[r]);
        ExpectSameSums(alone, taken);
        if (runs[r].n < 2) continue;
        EXPECT_EQ(alone.DataY(runs[r].n), taken.DataY(runs[r].n));
    }
    // A fitter that holds pairs already sums the run itself, going on from its own sums.
    TCurveFit held, plain;
    for (TCurveFit* f : {&held, &plain}) f->EnterStatValue(3, 4);
    held.BorrowStatValues(runs[1], sums[1]);
    plain.EnterStatValues(runs[1].x, runs[1].y, runs[1].n);
    EXPECT_EQ(plain.NumData(), held.NumData());
    EXPECT_EQ(plain.MeanY(), held.MeanY());
    EXPECT_EQ(plain.MinX(), held.MinX());
}

TEST(CurveFit, LinePowerSumsAndHoerlAgainstReferences)
{
    TCurveFit fit;
    double k = 0, d = 0, q = 0;
    Enter(fit, kAnscombeI);
    fit.CalcLinFit(k, d, q);
    EXPECT_NEAR(0.5000909, k, 1e-7);
    EXPECT_NEAR(3.0000909, d, 1e-7);
    EXPECT_NEAR(0.6665425, q, 1e-7);

    Enter(fit, {{1, 3}, {2, 5}, {3, 7}});
    fit.CalcLinFit(k, d, q);
    EXPECT_DOUBLE_EQ(2, k);
    EXPECT_DOUBLE_EQ(1, d);
    EXPECT_DOUBLE_EQ(1, q);
    // The power sums of these three pairs (the quartet's cleared by Init): element i of
    // SumXArray is 1 + 2^(i-1) + 3^(i-1) (3 .. 129271236), of RHS 3 + 5 2^(i-1) + 7 3^(i-1)
    // (15 .. 47210); there is no element 0, 19 or, for RHS, 10.
    double p2 = 1, p3 = 1;
    for (int i = 1; i <= 18; ++i, p2 *= 2, p3 *= 3) {
        EXPECT_EQ(1 + p2 + p3, fit.SumXArrayElem(i)) << i;
        if (i <= 9) {
            EXPECT_EQ(3 + 5 * p2 + 7 * p3, fit.RHSElem(i)) << i;
        }
    }
    EXPECT_EQ(129271236.0, fit.SumXArrayElem(18));
    EXPECT_EQ(47210.0, fit.RHSElem(9));
    for (const double outside : {fit.SumXArrayElem(0), fit.SumXArrayElem(19), fit.RHSElem(0), fit.RHSElem(10)})
        EXPECT_EQ(0.0, outside);
    // Each power is the one before times x, rounded at every step: to the bit for x = 1.1.
    Enter(fit, {{1.1, 0.7}});
    double t = 1;
    for (int i = 1; i <= 18; ++i, t *= 1.1) {
        EXPECT_EQ(t, fit.SumXArrayElem(i)) << i;
        if (i <= 9) {
            EXPECT_EQ(t * 0.7, fit.RHSElem(i)) << i;
        }
    }

    Pairs hoerl;
    for (int x = 1; x <= 5; ++x) hoerl.emplace_back(x, 2 * std::pow(1.5, x) * std::sqrt(x));
    Enter(fit, hoerl);
    double k0 = 0, k1 = 0, k2 = 0;
    fit.CalcHoerlFit(k0, k1, k2, q);
    EXPECT_NEAR(2, k0, 1e-12);
    EXPECT_NEAR(1.5, k1, 1e-12);
    EXPECT_NEAR(0.5, k2, 1e-12);
    EXPECT_NEAR(1, q, 1e-12);
}

TEST(CurveFit, FitsRaiseInsteadOfReturningNaN)
{
    TCurveFit fit;
    double a = 0, b = 0, c = 0, q = 0;
    struct Case {
        Pairs pairs;
        bool hoerl;
        std::string message;
    };
    const std::string notDetermined =
        "CalcHoerlFit: x values must take at least three different values";
    const Case cases[] = {
        {{{1, 1}}, false, "CalcLinFit: not enough data points"},
        {{{0.1, 1}, {0.1, 2}, {0.1, 4}}, false, "CalcLinFit: x values are all equal"},
        {{{1, 1}, {2, 2}}, true, "CalcHoerlFit: not enough data points"},
        {{{1, 0}, {2, 1}, {0, 2}}, true, "CalcHoerlFit: y values must not be negative or zero"},
        {{{0, 1}, {2, 1}, {3, 2}}, true, "CalcHoerlFit: x values must not be negative or zero"},
        {{{2, 1}, {2, 3}, {2, 4}}, true, notDetermined},
        {{{2, 1}, {3, 3}, {2, 4}, {3, 2}}, true, notDetermined},
    };
    for (const Case& c0 : cases) {
        Enter(fit, c0.pairs);
        const std::string m = Raised([&] {
            if (c0.hoerl)
                fit.CalcHoerlFit(a, b, c, q);
            else
                fit.CalcLinFit(a, b, q);
        });
        EXPECT_EQ(c0.message, m);
        EXPECT_EQ(0, a);
        EXPECT_EQ(0, q);
    }
    // All y equal: a horizontal line that fits perfectly.
    Enter(fit, {{1, 0.3}, {2, 0.3}, {5, 0.3}});
    fit.CalcLinFit(a, b, q);
    EXPECT_EQ(0, a);
    EXPECT_DOUBLE_EQ(0.3, b);
    EXPECT_EQ(1, q);
}

TEST(CurveFit, StoredPairsGrowByChunks)
{
    TCurveFit fit;
    for (int i = 1; i <= 1001; ++i) fit.EnterStatValue(i, -i);
    EXPECT_EQ(1001, fit.NumData());
    EXPECT_EQ(1001, fit.DataX(1001));
    EXPECT_EQ(-1001, fit.DataY(1001));
    EXPECT_EQ(0, fit.DataX(0));
    EXPECT_EQ(0, fit.DataX(1002));
    EXPECT_EQ(cfeYLE0, fit.ErrIndic() & cfeYLE0);
    fit.Init();
    EXPECT_EQ(0, fit.NumData());
    fit.EnterStatValue(3, 4);
    EXPECT_EQ(0, fit.DataX(2));  // earlier pairs are gone
    EXPECT_EQ(3, fit.MinX());
    EXPECT_EQ(4, fit.MaxY());
}

TEST(CurveFit, NaturalSplineThroughExp)
{
    TCurveFit fit;
    // Entered out of order: the spline sorts the pairs and keeps them together.
    Enter(fit, {{3, std::exp(3.0)}, {0, 1}, {2, std::exp(2.0)}, {1, std::exp(1.0)}});
    EXPECT_NEAR(1.76453, fit.CubicSpline(0.5), 5e-6);
    EXPECT_NEAR(4.23030, fit.CubicSpline(1.5), 5e-6);
    EXPECT_NEAR(13.00854, fit.CubicSpline(2.5), 5e-6);
    EXPECT_DOUBLE_EQ(std::exp(2.0), fit.CubicSpline(2));

    Enter(fit, {{0, 0}, {1, 1}, {2, 0}});
    EXPECT_DOUBLE_EQ(0.6875, fit.CubicSpline(0.5));
    EXPECT_DOUBLE_EQ(-1, fit.CubicSpline(-1));  // the first interval's cubic goes on
}

TEST(CurveFit, RepeatedXRaisesForEitherSpline)
{
    TCurveFit fit;
    fit.SetName("CurveFit1");
    const std::string notDistinct =
        "Component \"CurveFit1\": the tabulated values are not distinct";
    double q = 0;
    bool valid = true;
    for (const Pairs& pairs : {Pairs{{1, 1}, {1, 2}}, Pairs{{0, 0}, {1, 1}, {1, 3}, {2, 0}},
                               Pairs{{2, 0}, {1, 1}, {2, 5}}, Pairs{{4, 1}}}) {
        Enter(fit, pairs);
        EXPECT_EQ(notDistinct, Raised([&] { fit.CubicSpline(1.5); })) << pairs.size();
    }
    Enter(fit, {{0, 0}, {1, 1}, {1, 3}});
    EXPECT_EQ("PenalizedCubicSpline: two or more x-values are identical",
              Raised([&] { fit.SmoothedSpline(0.5, q, valid); }));
    std::vector<double> x{0, 2, 1}, y{0, 1, 2}, dy{1, 1, 1}, a(3), b(3), c(3), d(3);
    EXPECT_EQ("PenalizedCubicSpline: x-values must be increasing",
              Raised([&] { PenalizedCubicSpline(0, 2, 0, x, y, dy, a, b, c, d); }));
    EXPECT_EQ("PenalizedCubicSpline: n1 must not be greater than n2",
              Raised([&] { PenalizedCubicSpline(2, 2, 0, x, y, dy, a, b, c, d); }));
}

TEST(CurveFit, SmoothingSplineMeetsItsAllowance)
{
    TCurveFit fit;
    Enter(fit, kSmoothingData);
    double k = 0, d = 0, q = 0;
    fit.CalcLinFit(k, d, q);
    const double lineRss = 1.8042857142857143;
    struct Case {
        double factor;
        double rss;      // residual sum of squares at the knots
        double fitQual;  // NaN: not checked
    };
    const Case cases[] = {
        {0.5, 0.5 * lineRss, 0.71605},
        {0.0, 0.0, 1.0},  // the interpolating spline
        {1.0, lineRss, NAN},
        {3.0, lineRss, NAN},  // more allowance than the line needs: still the line
    };
    for (const Case& c : cases) {
        fit.SetSplineSmoothing(c.factor);
        double fq = 0;
        bool valid = false;
        // Defined from the first knot up to, not including, the last one.
        fit.SmoothedSpline(0, fq, valid);
        EXPECT_TRUE(valid);
        EXPECT_EQ(0, fit.SmoothedSpline(6, fq, valid));
        EXPECT_FALSE(valid);
        fit.SmoothedSpline(-0.1, fq, valid);
        EXPECT_FALSE(valid);
        // Residuals at the knots; the last one as the limit of the last interval's cubic.
        double rss = 0;
        for (const auto& [x, y] : kSmoothingData) {
            const double s = fit.SmoothedSpline(x < 6 ? x : 6 - 1e-12, fq, valid);
            rss += (s - y) * (s - y);
        }
        EXPECT_NEAR(c.rss, rss, c.rss == 0 ? 1e-20 : 1e-6 * c.rss) << c.factor;
        if (!std::isnan(c.fitQual)) {
            EXPECT_NEAR(c.fitQual, fq, 5e-6) << c.factor;
        }
        for (double x = 0; c.factor >= 1 && x < 6; x += 0.25)
            EXPECT_NEAR(k * x + d, fit.SmoothedSpline(x, fq, valid), 1e-6) << c.factor << " " << x;
    }
}

TEST(CurveFit, SmoothingOfEqualValuesFitsPerfectly)
{
    TCurveFit fit;
    Enter(fit, {{0, 0.3}, {1, 0.3}, {2, 0.3}, {3, 0.3}});
    double q = 0;
    bool valid = false;
    EXPECT_DOUBLE_EQ(0.3, fit.SmoothedSpline(1.5, q, valid));
    EXPECT_TRUE(valid);
    EXPECT_EQ(1, q);
}
