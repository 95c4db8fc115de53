// k-nearest-neighbour search and estimation, against hand-worked cases and a brute-force
// reference (every distance, sorted; later rows first among equals).
#include "numeric/NearestNeighbors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

namespace {

// Rows of points and their targets.
struct Data { TMatrix m; TVector t; };

void Fill(Data& d, const std::vector<std::vector<double>>& rows, const std::vector<double>& t) {
    d.m.Resize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    d.t.Resize(static_cast<int>(t.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            d.m.SetVal(static_cast<int>(c + 1), static_cast<int>(r + 1), rows[r][c]);
        d.t.SetVal(static_cast<int>(r + 1), t[r]);
    }
}

TVector Point(const std::vector<double>& p) {
    TVector v;
    v.Resize(static_cast<int>(p.size()));
    for (std::size_t i = 0; i < p.size(); ++i) v.SetVal(static_cast<int>(i + 1), p[i]);
    return v;
}

// The six rows of the worked example, targets 10 .. 60.
void Six(Data& d) {
    Fill(d, {{0, 0}, {1, 0}, {0, 2}, {3, 0}, {0, 4}, {5, 5}}, {10, 20, 30, 40, 50, 60});
}

// Object numbers of KNNList rows 1..n.
std::vector<int> Objects(const TMatrix& knn, int n) {
    std::vector<int> v;
    for (int i = 1; i <= n; ++i) v.push_back(static_cast<int>(knn.GetVal(1, i)));
    return v;
}

// The brute-force reference: (distance, row) of rows first..last, nearest first, later rows
// first among equal distances; the k first.
std::vector<std::pair<double, int>> Reference(const std::vector<double>& dist, int first,
                                              int last, int k) {
    std::vector<std::pair<double, int>> v;
    for (int r = first; r <= last; ++r) v.emplace_back(dist[static_cast<std::size_t>(r - 1)], r);
    std::sort(v.begin(), v.end(), [](auto a, auto b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    v.resize(std::min<std::size_t>(v.size(), static_cast<std::size_t>(k)));
    return v;
}

double Estimate(const Data& d, int kn, TKnnWMode mode, double smooth, const TVector& p,
                double* meanDist = nullptr) {
    double est = -1, md = -1;
    EstimateByKNN(d.m, d.t, kn, mode, smooth, p, est, md);
    if (meanDist) *meanDist = md;
    return est;
}

// The six rows of the worked example, scaled: distances from the origin 0, 1, 2 (times the scale)
// for the three nearest, mean distance 1 (times the scale). The weights use d / mean d, so every
// scale gives the same estimates: Gauss weights exp(-(d s)^2), linear weights 1 - d / s.
TEST(NearestNeighbors, WorkedExampleInEveryModeAtEveryScale) {
    const struct {
        TKnnWMode mode;
        double smooth, expected;
    } cases[] = {
        {kwmGauss, 1, 12.918137},    // (10 + 20 e^-1 + 30 e^-4) / (1 + e^-1 + e^-4)
        {kwmGauss, 2, 10.179864},    // (10 + 20 e^-4 + 30 e^-16) / (1 + e^-4 + e^-16)
        {kwmAverage, 1, 20}, {kwmMedian, 1, 20},
        {kwmLinear, 1, 10},          // weights 1, 0, -1: only row 1 counts
        {kwmLinear, 2, 13.333333},   // weights 1, 0.5, 0
    };
    for (double scale : {1.0, 3.0}) {
        Data d;
        Fill(d, {{0, 0}, {scale, 0}, {0, 2 * scale}, {3 * scale, 0}, {0, 4 * scale}, {5, 5}},
             {10, 20, 30, 40, 50, 60});
        const TVector origin = Point({0, 0});
        TMatrix knn;
        knn.Resize(2, 3);
        FindNearestNeighbors(3, d.m, 1, 6, origin, knn);
        EXPECT_EQ(Objects(knn, 3), (std::vector{1, 2, 3}));
        EXPECT_EQ(std::vector({knn.GetVal(2, 1), knn.GetVal(2, 2), knn.GetVal(2, 3)}),
                  std::vector({0.0, scale, 2 * scale}));
        for (const auto& c : cases) {
            double meanDist = -1;
            EXPECT_NEAR(Estimate(d, 3, c.mode, c.smooth, origin, &meanDist), c.expected, 5e-7)
                << c.mode << " " << c.smooth << " scale " << scale;
            EXPECT_EQ(meanDist, scale);
        }
    }
    // At (1, 1): row 2 at 1; rows 1 and 3 tie at sqrt 2, and the later row ranks first.
    Data d;
    Six(d);
    TMatrix knn;
    knn.Resize(2, 3);
    FindNearestNeighbors(3, d.m, 1, 6, Point({1, 1}), knn);
    EXPECT_EQ(Objects(knn, 3), (std::vector{2, 3, 1}));
    EXPECT_DOUBLE_EQ(knn.GetVal(2, 3), std::sqrt(2.0));
}

TEST(NearestNeighbors, OwnDistanceAndSubRangeMatchTheReference) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<> u(-3, 3);
    std::vector<std::vector<double>> rows(40, std::vector<double>(3));
    for (auto& r : rows)
        for (auto& x : r) x = std::round(u(gen) * 2) / 2;  // half steps: many equal distances
    Data d;
    Fill(d, rows, std::vector<double>(40, 1.0));
    // A city-block distance from (0.5, 0, -1).
    const std::vector<double> p = {0.5, 0, -1};
    std::vector<double> dist;
    for (const auto& r : rows)
        dist.push_back(std::fabs(r[0] - p[0]) + std::fabs(r[1] - p[1]) + std::fabs(r[2] - p[2]));
    const TCalcDistFunc cityBlock = [&](int row) { return dist[static_cast<std::size_t>(row - 1)]; };

    for (auto [first, last, k] : {std::tuple{1, 40, 7}, {5, 30, 10}, {12, 12, 1}, {3, 39, 40}}) {
        TMatrix knn;
        knn.Resize(2, k);
        FindNearestNeighbors(k, d.m, first, last, Point(p), knn, cityBlock);
        const auto ref = Reference(dist, first, last, k);
        for (int i = 1; i <= static_cast<int>(ref.size()); ++i) {
            EXPECT_EQ(knn.GetVal(1, i), ref[static_cast<std::size_t>(i - 1)].second)
                << first << ".." << last << " #" << i;
            EXPECT_EQ(knn.GetVal(2, i), ref[static_cast<std::size_t>(i - 1)].first);
        }
    }

    // A sub-range shorter than k reports object 0 at 1.7e38 behind its rows; KNNList is not
    // resized, so a list of 2 rows takes the 2 nearest.
    TMatrix knn;
    knn.Resize(2, 4);
    FindNearestNeighbors(4, d.m, 10, 11, Point(p), knn, cityBlock);
    EXPECT_EQ(std::pair(knn.GetVal(1, 3), knn.GetVal(2, 4)), std::pair(0.0, 1.7e38));
    knn.Resize(2, 2);
    FindNearestNeighbors(5, d.m, 1, 40, Point(p), knn, cityBlock);
    EXPECT_EQ(knn.NrOfRows(), 2);
    EXPECT_EQ(knn.GetVal(1, 2), Reference(dist, 1, 40, 2)[1].second);
}

// 400 rows on a line holding 1 .. 400, targets equal to the row number.
TEST(NearestNeighbors, NeighbourCountLimitsAndDistancesBehindTheList) {
    std::vector<std::vector<double>> rows;
    std::vector<double> t;
    for (int r = 1; r <= 400; ++r) {
        rows.push_back({static_cast<double>(r)});
        t.push_back(r);
    }
    Data d;
    Fill(d, rows, t);
    // At 200.2: kn 50 and beyond take the 50 nearest, rows 176 .. 225.
    const TVector at = Point({200.2});
    std::vector<double> dist;
    for (int r = 1; r <= 400; ++r) dist.push_back(std::fabs(r - 200.2));
    const auto ref = Reference(dist, 1, 400, 50);
    double sumT = 0, sumD = 0;
    for (auto [dd, r] : ref) {
        sumT += r;
        sumD += dd;
    }
    double meanDist = 0;
    for (int kn : {50, 51, 100}) {
        EXPECT_NEAR(Estimate(d, kn, kwmAverage, 1, at, &meanDist), sumT / 50, 1e-9) << kn;
        EXPECT_NEAR(meanDist, sumD / 50, 1e-9) << kn;
    }
    EXPECT_NEAR(Estimate(d, 49, kwmAverage, 1, at), (sumT - ref[49].second) / 49, 1e-9);
    EXPECT_NEAR(Estimate(d, 100, kwmMedian, 1, at), 200.5, 1e-9);
    EXPECT_NEAR(Estimate(d, 100, kwmGauss, 0, at), sumT / 50, 1e-9);  // smoothing 0: equal weights

    // At 0 the distances grow with the row: from some row on each lies behind the list, and
    // neither it nor its row number may enter.
    EXPECT_DOUBLE_EQ(Estimate(d, 5, kwmAverage, 1, Point({0}), &meanDist), 3.0);
    EXPECT_DOUBLE_EQ(meanDist, 3.0);
    for (int k : {5, 50}) {
        TMatrix knn;
        knn.Resize(2, k);
        FindNearestNeighbors(k, d.m, 1, 400, Point({0}), knn);
        std::vector<int> want(static_cast<std::size_t>(k));
        std::iota(want.begin(), want.end(), 1);
        EXPECT_EQ(Objects(knn, k), want);
        EXPECT_EQ(knn.GetVal(2, k), k);
    }

    // kn above the row count uses every row; every distance 0: mean distance 0, the Gauss weights
    // all 1, the plain mean.
    Data six;
    Six(six);
    EXPECT_DOUBLE_EQ(Estimate(six, 10, kwmAverage, 1, Point({0, 0})), 35.0);
    Data same;
    Fill(same, {{2, 3}, {2, 3}, {2, 3}}, {1, 2, 6});
    EXPECT_DOUBLE_EQ(Estimate(same, 3, kwmGauss, 1.5, Point({2, 3}), &meanDist), 3.0);
    EXPECT_EQ(meanDist, 0.0);
}

TEST(NearestNeighbors, NothingToWeighGivesZero) {
    Data six;
    Six(six);
    const TVector p = Point({1, 1});
    double meanDist = -1;
    for (int kn : {0, -3})
        EXPECT_EQ(std::pair(Estimate(six, kn, kwmGauss, 1, p, &meanDist), meanDist), std::pair(0.0, 0.0));
    EXPECT_EQ(Estimate(six, 3, kwmLinear, 0, p, &meanDist), 0.0);  // smoothing 0
    Data empty;
    Six(empty);
    empty.m.Resize(2, 0);
    EXPECT_EQ(std::pair(Estimate(empty, 3, kwmMedian, 1, p, &meanDist), meanDist), std::pair(0.0, 0.0));
    // Far neighbours under a strong smoothing still weigh: no 0 / 0.
    EXPECT_NEAR(Estimate(six, 3, kwmGauss, 40, Point({100, 100})), 60.0, 1e-9);
}

}  // namespace
