// Percentile statistics: the worked series, the rank rule p·E/100 on counts around every
// remainder (arrays exactly E + 1 long, so a read past the end shows under the sanitizers), the
// bounds that leave the results alone, the descending sort against the standard one on awkward
// orders, and the sort progress bar.
#include "engine/Percentiles.h"
#include "support/EngineRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace oxw::engine {
namespace {

using Rig = test::EngineRig<>;

// values[0] unused, then the values in a shuffled order.
std::vector<double> Shuffled(std::vector<double> values, unsigned seed) {
    std::shuffle(values.begin(), values.end(), std::mt19937(seed));
    values.insert(values.begin(), 0.0);
    return values;
}

// E, E - 1, ..., 1 times `scale`.
std::vector<double> Descending(int E, double scale) {
    std::vector<double> v;
    for (int k = E; k >= 1; --k) v.push_back(k * scale);
    return v;
}

struct Results { double p1, p5, p10, p20, p50, p80, p90; };

// The level samples `values` (any order) of a run of values.size() blocks, rated.
RunState& Rate(Rig& r, const std::vector<double>& values, unsigned seed = 1) {
    RunState& s = r.e.S();
    s.Elements = static_cast<int>(values.size());
    s.Larray = Shuffled(values, seed);
    s.Narray = Shuffled(values, seed + 1);
    s.DLarray = Shuffled(values, seed + 2);
    s.LAmax = s.Nmax = s.DLmax = *std::max_element(values.begin(), values.end());
    r.host.log.clear();
    r.e.CalculatePercentiles();
    return s;
}

TEST(Percentiles, WorkedSeries) {
    const double kMax = std::numeric_limits<double>::quiet_NaN();  // "the maximum"
    std::vector<double> step(10, 80.0);
    step.insert(step.end(), 90, 50.0);
    const struct { const char* name; std::vector<double> values; Results want; } cases[] = {
        {"21..1", Descending(21, 1), {kMax, 20.95, 19.9, 17.8, 11, 5.2, 3.1}},
        {"22..1", Descending(22, 1), {kMax, 21.9, 20.8, 18.6, 11.5, 5.4, 3.2}},
        {"100..1", Descending(100, 1), {100, 96, 91, 81, 50.5, 21, 11}},
        {"10 at 80, 90 at 50", step, {80, 80, 80, 50, 50, 50, 50}},
        {"all equal", std::vector<double>(57, 42.0), {42, 42, 42, 42, 42, 42, 42}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        const RunState& s = Rate(r, c.values);
        const double max = *std::max_element(c.values.begin(), c.values.end());
        const Results want = c.want;
        const double p1 = std::isnan(want.p1) ? max : want.p1;
        // Level, loudness and level difference follow the same rules (no 1 % and 5 % for DL).
        for (const Results& got :
             {Results{s.LA1, s.LA5, s.LA10, s.LA20, s.LA50, s.LA80, s.LA90}, Results{s.No1, s.N5, s.N10, s.N20, s.N50, s.N80, s.N90},
              Results{p1, want.p5, s.DL10, s.DL20, s.DL50, s.DL80, s.DL90}}) {
            const double g[] = {got.p1, got.p5, got.p10, got.p20, got.p50, got.p80, got.p90};
            const double w[] = {p1, want.p5, want.p10, want.p20, want.p50, want.p80, want.p90};
            for (int k = 0; k < 7; ++k) EXPECT_NEAR(g[k], w[k], 1e-9) << k;
        }
    }
}

// For values E, E - 1, ..., 1 the value at rank r is E + 1 - r, so the p % value is
// E + 1 - p·E/100 exactly; the 80 % and 90 % values once sat a rank too high and jumped with E.
TEST(Percentiles, EveryValueSitsAtRankPTimesEOver100) {
    for (int E : {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 99, 100, 101, 119, 999, 1000, 1001}) {
        SCOPED_TRACE(E);
        std::vector<double> a = Descending(E, 1);
        a.insert(a.begin(), 0.0);
        const Exceedance x = ExceedanceValues(a, E, E);
        const auto at = [E](double p) { return E + 1 - p * E / 100; };
        EXPECT_NEAR(x.p1, E >= 100 ? at(1) : E, 1e-9);
        EXPECT_NEAR(x.p5, at(5), 1e-9);
        EXPECT_NEAR(x.p10, at(10), 1e-9);
        EXPECT_NEAR(x.p20, at(20), 1e-9);
        EXPECT_NEAR(x.p50, E % 2 == 0 ? at(50) - 0.5 : E + 1 - (E + 1) / 2, 1e-9);
        EXPECT_NEAR(x.p80, at(80), 1e-9);
        EXPECT_NEAR(x.p90, at(90), 1e-9);
    }
}

// Runs of 20 blocks or fewer, and of PERCENTILEARRAYMAX or more, record no samples: nothing is
// sorted and every result keeps its value; 21 and PERCENTILEARRAYMAX - 1 blocks are rated.
TEST(Percentiles, OnlyRunsWithinTheBoundsAreRated) {
    for (int E : {0, 20, 21, 479999, 480000, 480001}) {
        SCOPED_TRACE(E);
        const bool rated = E == 21 || E == 479999;
        Rig r;
        RunState& s = r.e.S();
        s.Elements = E;
        s.Larray = s.Narray = s.DLarray = std::vector<double>(480001, 3.0);
        for (double* v : {&s.LA1, &s.LA50, &s.LA90, &s.No1, &s.N10, &s.DL10, &s.DL90}) *v = 7.0;
        r.e.CalculatePercentiles();
        for (double v : {s.LA50, s.LA90, s.N10, s.DL10, s.DL90}) EXPECT_EQ(v, rated ? 3.0 : 7.0);
        EXPECT_EQ(r.host.sortBar.empty(), !rated);
    }
}

// The sort against the standard one: orders that defeat a middle pivot, ties, NaNs (which may
// land anywhere, but the sort stays within its range and sorts the rest).
TEST(Percentiles, SortDescendingOnAwkwardOrders) {
    std::mt19937 gen(7);
    const int n = 5000;
    const std::function<double(int)> orders[] = {
        [](int i) { return i; },                                   // ascending
        [](int i) { return -i; },                                  // already descending
        [](int) { return 1.0; },                                   // all equal
        [](int i) { return i % 3; },                               // few distinct values
        [](int i) { return i < n / 2 ? i : n - i; },               // organ pipe
        [](int i) { return i % 64; },                              // saw tooth
        [&gen](int) { return std::uniform_real_distribution<>(-90, 90)(gen); },
    };
    for (std::size_t o = 0; o < std::size(orders); ++o) {
        SCOPED_TRACE(o);
        std::vector<double> a(n + 2, -1e300);  // guards around 1..n
        for (int i = 1; i <= n; ++i) a[static_cast<std::size_t>(i)] = orders[o](i);
        std::vector<double> want(a.begin() + 1, a.end() - 1);
        std::sort(want.begin(), want.end(), std::greater<>());
        std::vector<int> reached;
        SortDescending(a, 1, n, [&](int i) { reached.push_back(i); });
        EXPECT_TRUE(std::equal(want.begin(), want.end(), a.begin() + 1));
        EXPECT_EQ(a.front() + a.back(), -2e300);
        EXPECT_TRUE(std::is_sorted(reached.begin(), reached.end()));
        EXPECT_EQ(reached.back(), n + 1);
    }
    // NaNs in every fifth entry.
    std::vector<double> a(1002);
    for (int i = 1; i <= 1000; ++i) a[i] = i % 5 == 0 ? std::nan("") : i;
    a[0] = a[1001] = 12345;
    SortDescending(a, 1, 1000, [](int) {});
    EXPECT_EQ(a[0] + a[1001], 2 * 12345);
    EXPECT_EQ(std::count_if(a.begin(), a.end(), [](double v) { return std::isnan(v); }), 200);
}

// The bar is shown from the first sort to the end of the third, spans 1 .. E + 10, only moves
// forward within a sort, and moves at most about a hundred times per sort.
TEST(Percentiles, SortProgressBarShownOnlyDuringTheThreeSorts) {
    Rig r;
    const int E = 9600;
    std::vector<double> values(E);
    std::mt19937 gen(3);
    for (double& v : values) v = std::uniform_real_distribution<>(30, 90)(gen);
    Rate(r, values);
    const auto& log = r.host.log;
    const std::vector<test::LogLine> want = {
        {"S", "CalculatePercentiles"},     {"S", "SortRealArray for Narray"},
        {"E", "SortRealArray for Narray"}, {"S", "SortRealArray for Larray"},
        {"E", "SortRealArray for Larray"}, {"S", "SortRealArray for DLarray"},
        {"E", "SortRealArray for DLarray"}, {"E", "CalculatePercentiles"}};
    ASSERT_EQ(log, want);
    const auto& bar = r.host.sortBar;
    ASSERT_GE(bar.size(), 4u);
    EXPECT_LE(bar.size(), 3u * 110);
    for (std::size_t i = 0; i < bar.size(); ++i) {
        EXPECT_EQ(std::tuple(bar[i].minimum, bar[i].maximum, bar[i].visible),
                  std::tuple(1, E + 10, i + 1 < bar.size())) << i;
        // Shown after "S SortRealArray for Narray", hidden before "E SortRealArray for DLarray".
        EXPECT_TRUE(bar[i].logLines >= 2u && bar[i].logLines <= 6u) << i;
        if (i > 0 && bar[i].logLines == bar[i - 1].logLines) { EXPECT_GE(bar[i].position, bar[i - 1].position); }
    }
    EXPECT_EQ(bar.front().position, 1);
}

}  // namespace
}  // namespace oxw::engine
