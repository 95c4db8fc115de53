// The audibility window: its reference data, typed here from the window's data sheet and checked
// against ISO 226:2003; the ambient conversion against hand-worked cases; and the chart it builds:
// the item list (Hoerl lines, discs, splines), the spline sample table, the audible-range
// hatching and the rendered picture, for ambient spectra set in the hand-off array. Pixels are
// read at positions worked out from the design: a 609 x 417 chart, margins 50/20/20/40, so x
// 1..26 spans pixels 50..589 and y 90..-10 pixels 20..377.
#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "ChartTestSupport.h"
#include "views/AudibilityChart.h"
#include "views/AudibilityData.h"

namespace {

using namespace oxw::views;
using namespace oxw::views::frmAudibility;
using charttest::At;

// The eighteen reference contours as the data sheet lists them: level, first band, levels up to
// band 26.
struct Contour { int level, first; std::vector<double> levels; };
const Contour kContours[18] = {
{95, 17, {90, 89.5, 89, 88.7, 88.3, 88, 88, 87.8, 87.7, 87.7}},
{90, 6, {89.7, 89.3, 88.8, 88.5, 88.3, 88, 87.5, 87, 86.6, 86.1, 85.8, 85.4, 85, 84.5, 84, 83.7, 83.5, 83.2,
     83.1, 83, 83}},
{85, 2, {89.4, 88, 86.9, 85.9, 85.1, 84.7, 84.4, 84, 83.6, 83.4, 82.7, 82.2, 81.6, 81.2, 80.8, 80.5, 80.1, 79.9,
     79.5, 79, 79, 78.8, 78.6, 78.5, 78.5}},
{80, 1, {85.6, 84.2, 83, 81.8, 81, 80.5, 80.1, 79.9, 79.5, 79, 78.4, 77.8, 77.2, 76.8, 76.3, 75.8, 75.5, 75.1,
     74.8, 74.5, 74.2, 74, 74, 73.9, 73.9, 74}},
{75, 1, {81, 79.5, 78.2, 77.4, 76.5, 76, 75.5, 75, 74.6, 74, 73.5, 73, 72.4, 71.8, 71.3, 71, 70.6, 70.2, 69.9,
     69.6, 69.3, 69, 69, 69, 69, 69}},
{70, 1, {75.6, 74.5, 73.5, 72.6, 72, 71.4, 71, 70.4, 69.9, 69, 68.5, 67.8, 67.2, 66.8, 66.3, 65.8, 65.5, 65,
     64.8, 64.5, 64.3, 64.2, 64.1, 64, 64, 64}},
{65, 1, {70.8, 69.9, 68.9, 68, 67.4, 66.8, 66.2, 65.7, 65, 64.1, 63.5, 62.9, 62.4, 61.8, 61.4, 61, 60.5, 60.2,
     59.9, 59.7, 59.4, 59.2, 59.1, 59, 59, 59}},
{60, 1, {66, 65, 64.2, 63.5, 62.6, 62, 61.3, 60.5, 59.9, 59.1, 58.5, 57.8, 57.4, 56.8, 56.4, 56, 55.6, 55.1,
     54.8, 54.6, 54.3, 54.2, 54.1, 54, 54, 54}},
{55, 1, {61.5, 60.5, 59.8, 58.8, 57.9, 57.1, 56.5, 55.6, 55, 54.2, 53.5, 52.9, 52.5, 51.9, 51.5, 51, 50.7, 50.3,
     49.9, 49.6, 49.5, 49.2, 49.1, 49, 49, 49}},
{50, 1, {57, 56, 54.9, 54, 53.1, 52.4, 51.5, 50.6, 50, 49.2, 48.6, 48, 47.4, 46.8, 46.4, 46, 45.6, 45.2, 44.9,
     44.6, 44.5, 44.3, 44.1, 44, 44, 44}},
{45, 1, {52, 51, 49.9, 49, 48.1, 47.4, 46.5, 45.6, 45, 44.2, 43.6, 43, 42.4, 41.8, 41.4, 41, 40.6, 40.2, 39.9,
     39.6, 39.5, 39.3, 39.1, 39, 39, 39}},
{40, 1, {47, 46, 44.9, 44, 43.1, 42.4, 41.5, 40.6, 40, 39.2, 38.6, 38, 37.4, 36.8, 36.4, 36, 35.6, 35.2, 34.9,
     34.6, 34.5, 34.3, 34.2, 34.2, 34.2, 34.2}},
{35, 1, {42, 41, 39.9, 39, 38.1, 37.4, 36.5, 35.6, 35, 34.2, 33.6, 33, 32.4, 31.8, 31.4, 31, 30.6, 30.2, 29.9,
     29.6, 29.3, 29.1, 29, 29, 29, 29}},
{30, 1, {37, 36, 35, 34.2, 33.1, 32.2, 31.5, 30.6, 30, 29.4, 28.6, 28, 27.4, 26.8, 26.4, 26, 25.6, 25.2, 24.9,
     24.6, 24.5, 24.3, 24.2, 24.2, 24.2, 24.2}},
{25, 1, {32, 30.9, 30, 29, 28, 27, 26.4, 25.5, 24.9, 24.2, 23.6, 23, 22.4, 21.8, 21.2, 20.8, 20.5, 20, 19.8,
     19.5, 19.3, 19.1, 19, 19, 19, 19}},
{20, 1, {26.7, 25.8, 24.9, 23.9, 23, 22, 21.4, 20.5, 19.9, 19.2, 18.6, 18, 17.4, 16.8, 16.1, 15.7, 15.4, 14.9,
     14.6, 14.3, 14.1, 14, 14, 14, 14, 14}},
{15, 1, {21.6, 20.8, 19.9, 18.9, 18, 17, 16.1, 15.4, 14.7, 14, 13.5, 12.9, 12.3, 11.7, 11, 10.7, 10.4, 10, 9.7,
     9.4, 9.1, 9, 9, 9, 9, 9}},
{10, 1, {16.6, 15.8, 14.9, 14, 13, 12.1, 11.3, 10.5, 9.8, 9.1, 8.5, 7.9, 7.2, 6.6, 6.2, 5.8, 5.5, 5, 4.8, 4.5,
     4.2, 4, 4, 4, 4, 4}},
};

// ISO 226:2003, Table 1, at the chart's 26 bands (31.5 Hz .. 10 kHz): exponent af, magnitude
// Lu of the linear transfer function, and threshold of hearing Tf.
constexpr double kAf[26] = {0.480, 0.455, 0.432, 0.409, 0.387, 0.367, 0.349, 0.330, 0.315,
                            0.301, 0.288, 0.276, 0.267, 0.259, 0.253, 0.250, 0.246, 0.244,
                            0.243, 0.243, 0.243, 0.242, 0.242, 0.245, 0.254, 0.271};
constexpr double kLu[26] = {-23.0, -19.1, -15.9, -13.0, -10.3, -8.1, -6.2, -4.5, -3.1,
                            -2.0,  -1.1,  -0.4,  0.0,   0.3,   0.5,  0.0,  -2.7, -4.1,
                            -1.0,  1.7,   2.5,   1.2,   -2.1,  -7.1, -11.2, -10.7};
constexpr double kTf[26] = {59.5, 51.1, 44.0, 37.5, 31.5, 26.5, 22.1, 17.9, 14.4, 11.4, 8.6, 6.2, 4.4,
                            3.0,  2.2,  2.4,  3.5,  1.7,  -1.3, -4.2, -6.0, -5.4, -1.5, 6.0,  12.6, 13.9};

// The ISO 226:2003 equal-loudness level at band index i for loudness level LN phon.
double Iso226(int i, double LN)
{
    const double Af = 4.47e-3 * (std::pow(10.0, 0.025 * LN) - 1.15) +
                      std::pow(0.4 * std::pow(10.0, (kTf[i] + kLu[i]) / 10.0 - 9.0), kAf[i]);
    return 10.0 / kAf[i] * std::log10(Af) - kLu[i] + 94.0;
}

TEST(AudibilityData, TablesAsListedAndAgainstIso226)
{
    for (int i = 0; i < NumBands; ++i) {
        EXPECT_EQ(HearingThresholdLevels[i], kTf[i]) << i;
        // Every entry within 0.05 dB: a wrong tenth shows.
        EXPECT_LT(std::abs(LL20Levels[i] - Iso226(i, 20.0)), 0.05) << i;
    }
    EXPECT_EQ(HzTable, (std::array<double, NumBands>{31.5, 40, 50, 63, 80, 100, 125, 160, 200, 250, 315, 400, 500,
                                                     630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300,
                                                     8000, 10000}));
    // The contours and the conversion rows, whole, as the data sheet lists them.
    for (const Contour& c : kContours) {
        const ReferenceContour& got = AudibilityReferenceContours[static_cast<std::size_t>(&c - kContours)];
        EXPECT_TRUE(got.Level == c.level && got.FirstBand == c.first) << c.level;
        EXPECT_EQ(std::vector<double>(got.Levels.begin(), got.Levels.end()), c.levels) << c.level;
        EXPECT_EQ(c.first + got.NumPoints() - 1, 26) << c.level;
    }
    const ConvertRow rows[19] = {
    {90, 90, 90, 87.7, 1250, 10000}, {90, 85, 87.7, 83, 100, 10000}, {85, 80, 83, 78.5, 40, 10000},
    {80, 75, 78.5, 74, 31.5, 10000}, {75, 70, 74, 69, 31.5, 10000}, {70, 65, 69, 64, 31.5, 10000},
    {65, 60, 64, 59, 31.5, 10000}, {60, 55, 59, 54, 31.5, 10000}, {55, 50, 54, 49, 31.5, 10000},
    {50, 45, 49, 44, 31.5, 10000}, {45, 40, 44, 39, 31.5, 10000}, {40, 35, 39, 34.2, 31.5, 10000},
    {35, 30, 34.2, 29, 31.5, 10000}, {30, 25, 29, 24.2, 31.5, 10000}, {25, 20, 24.2, 19, 31.5, 10000},
    {20, 15, 19, 14, 31.5, 10000}, {15, 10, 14, 9, 31.5, 10000}, {10, 5, 9, 4, 31.5, 10000},
    {5, 0, 4, 0.1, 31.5, 1250},
    };
    for (int r = 0; r < 19; ++r) {
        const ConvertRow& got = ConvertYAxis[static_cast<std::size_t>(r)];
        EXPECT_EQ(std::vector<double>({got.U, got.D, got.TU, got.TD, got.FLo, got.FHi}),
                  std::vector<double>({rows[r].U, rows[r].D, rows[r].TU, rows[r].TD, rows[r].FLo, rows[r].FHi}))
            << "row " << r + 1;
    }
}

TEST(AudibilityData, I2dBOfBadIntensitiesIsZero)
{
    EXPECT_NEAR(I2dB(1e6), 60.0, 1e-12);
    EXPECT_NEAR(I2dB(3.7), 10 * std::log10(3.7), 1e-12);
    for (double bad : {0.0, -1.0, -1e-300, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()})
        EXPECT_EQ(I2dB(bad), 0.0) << bad;
}

TEST(AudibilityData, AmbientConversionHandCases)
{
    struct Case { double L, f, expected; };
    const Case cases[] = {
        {60, 1000, 59.0},       {60, 125, 59.0},          {60, 10000, 59.0},  // row 7's lower end
        {62.5, 1000, 61.5},     {87, 1000, 84.88},        {87, 80, 0.0},      // row 2 from 100 Hz only
        {82.5, 40, 80.75},      {82.5, 31.5, 0.0},        // row 3 from 40 Hz only
        {5, 1250, 4.0},         {5, 1600, 4.0},           {5, 10000, 4.0},    // row 18 at any band
        {4.999, 1250, 3.99922}, {4.999, 1600, 0.0},       // row 19 only up to 1250 Hz
        {0, 125, 0.1},          {0, 1250, 0.1},           {0, 1600, 0.0},     {-0.1, 1000, 0.0},
        {-30, 125, 0.0},        {89.99, 1000, 87.6906},   {90, 1000, 87.7},   {90, 125, 87.7},
        {95, 10000, 87.7},      {120, 1000, 87.7},        {std::nan(""), 1000, 0.0},
    };
    for (const Case& c : cases) EXPECT_NEAR(ConvertAmbientLevel(c.L, c.f), c.expected, 1e-9) << c.L << " dB at " << c.f;
}

constexpr int kContourItems = 18 * 101;  // a move and 100 steps per contour

// Ordinary least squares of ln y on (1, x, ln x): returns (ln k0, ln k1, k2).
std::array<double, 3> HoerlReference(const Contour& c)
{
    double a[3][4] = {};
    for (std::size_t n = 0; n < c.levels.size(); ++n) {
        const double x = c.first + static_cast<double>(n), row[3] = {1.0, x, std::log(x)}, ly = std::log(c.levels[n]);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) a[i][j] += row[i] * row[j];
            a[i][3] += row[i] * ly;
        }
    }
    for (int p = 0; p < 3; ++p)  // Gauss-Jordan; the normal matrix is positive definite
        for (int r = 0; r < 3; ++r) {
            if (r == p) continue;
            const double f = a[r][p] / a[p][p];
            for (int k = p; k < 4; ++k) a[r][k] -= f * a[p][k];
        }
    return {a[0][3] / a[0][0], a[1][3] / a[1][1], a[2][3] / a[2][2]};
}

double HoerlAt(const std::array<double, 3>& b, double x) { return std::exp(b[0] + b[1] * x + b[2] * std::log(x)); }

class AudibilityChart : public ::testing::Test {
protected:
    void SetUp() override { saved = ThirdOct_S; }
    void TearDown() override { ThirdOct_S = saved; }
    void Show(double intensity)
    {
        ThirdOct_S.fill(intensity);
        form.hide();
        form.show();
    }
    std::vector<TrcChartItem> Items() const
    {
        std::vector<TrcChartItem> items;
        for (int i = 0; i < form.RChart1->NumItems(); ++i) items.push_back(form.RChart1->GetItemParams(i));
        return items;
    }
    std::vector<double> RedDiscs() const  // their heights at bands 7..26
    {
        std::vector<double> discs;
        for (const TrcChartItem& it : Items())
            if (it.ItemKind == tkMarkAt && it.Color == clRed) discs.push_back(it.y);
        return discs;
    }
    // The rows i of the audible-range segments: blue lines from (i/4, threshold) up.
    std::vector<int> SegmentRows() const
    {
        std::vector<int> rows;
        const auto items = Items();
        for (std::size_t k = 1; k < items.size(); ++k)
            if (items[k].ItemKind == tkLineto && items[k].Color == clBlue) {
                EXPECT_TRUE(items[k - 1].ItemKind == tkMoveTo && items[k - 1].x == items[k].x);
                rows.push_back(static_cast<int>(std::lround(items[k].x * 4)));
            }
        return rows;
    }
    double Cell(int col, int row) const { return form.SplineCoordinates->GetElem(col, row); }

    std::array<double, 22> saved{};
    TFrmAudibilityChart form;
};

TEST_F(AudibilityChart, HoerlLinesOfTheContours)
{
    Show(0.0);
    const auto items = Items();
    ASSERT_GT(static_cast<int>(items.size()), kContourItems);
    for (std::size_t c = 0; c < 18; ++c) {
        const auto ref = HoerlReference(kContours[c]);
        const int row = kContours[c].level / 5 + 7;
        EXPECT_EQ(form.RightYIntercepts[row][1], kContours[c].level);
        EXPECT_NEAR(form.RightYIntercepts[row][2], HoerlAt(ref, 26), 1e-7) << kContours[c].level;
        EXPECT_TRUE(items[c * 101].ItemKind == tkMoveTo && items[c * 101].x == 1.0);
        EXPECT_NEAR(items[c * 101].y, HoerlAt(ref, 1), 1e-7);
        for (int i = 1; i <= 100; ++i) {
            const TrcChartItem& step = items[c * 101 + i];
            ASSERT_TRUE(step.ItemKind == tkLineto && step.x == 1 + 0.25 * i && step.Color == clBlack &&
                        step.LWid == 1 && step.ItemClass == 0) << c << " " << i;
            ASSERT_NEAR(step.y, HoerlAt(ref, step.x), 1e-7);  // sums against a direct solve
        }
    }
    // Worked out by hand from the same regression.
    const auto r95 = HoerlReference(kContours[0]);
    EXPECT_NEAR(std::exp(r95[0]), 182.755, 0.001);
    EXPECT_NEAR(std::exp(r95[1]), 1.012474, 1e-6);
    EXPECT_NEAR(r95[2], -0.32431, 1e-5);
    EXPECT_NEAR(items[0].y, 185.03, 0.005);
    EXPECT_NEAR(form.RightYIntercepts[26][2], 87.693, 0.0005);
    EXPECT_NEAR(form.RightYIntercepts[19][2], 52.950, 0.0005);
    EXPECT_NEAR(form.RightYIntercepts[9][2], 3.378, 0.0005);
    EXPECT_EQ(form.RightYIntercepts[8][2], 0.0);  // no contour of level 5
}

// The ambient discs at bands 7..26 for a flat 60 dB spectrum and before any analysis, their
// spline through them from band 7, and the threshold and 20-phon splines from x = 0.
TEST_F(AudibilityChart, AmbientDiscsAndSplines)
{
    for (const auto& [intensity, low, high] : {std::tuple{1e6, 59.0, 59.0}, {0.0, 0.1, 0.0}}) {
        Show(intensity);
        const auto discs = RedDiscs();
        ASSERT_EQ(discs.size(), 20u);
        for (int band = 7; band <= 26; ++band) {
            EXPECT_NEAR(discs[band - 7], band <= 17 ? low : high, 1e-9) << band;
            EXPECT_NEAR(Cell(4, 4 * band), discs[band - 7], 1e-9) << band;  // through its points
            EXPECT_NEAR(Cell(3, 4 * band), kTf[band - 1], 1e-9) << band;
        }
        for (int row = 1; row <= 400; ++row)
            ASSERT_TRUE(Cell(1, row) == (row >= 28 ? 1.0 : 0.0) && Cell(2, row) == row) << row;
    }
    // Items: the ambient (a move and 373 steps from x = 7), then for the threshold and the
    // 20-phon curve 26 marks, a move to x = 0 and 400 thick quarter-band steps of class 100.
    const auto items = Items();
    ASSERT_EQ(items.size(), static_cast<std::size_t>(kContourItems + 20 + 374 + 2 * (26 + 401)));
    const int ambient = kContourItems + 20;
    EXPECT_TRUE(items[ambient].ItemKind == tkMoveTo && items[ambient].x == 7.0 && items[ambient + 1].x == 7.0 &&
                items[ambient + 1].Color == clRed && items[ambient + 373].x == 100.0);
    for (const auto& [k, colour, at0, at16] : {std::tuple{ambient + 374 + 26, clPurple, 59.5, 2.4},
                                               {ambient + 374 + 427 + 26, clWhite, 76.0, 20.0}}) {
        EXPECT_TRUE(items[k - 1].ItemKind == tkMarkAt && items[k - 1].Color == colour);
        EXPECT_TRUE(items[k].ItemKind == tkMoveTo && items[k].x == 0.0 && items[k].y == at0);
        for (int i = 1; i <= 400; ++i)
            ASSERT_TRUE(items[k + i].ItemKind == tkLineto && items[k + i].x == i / 4.0 && items[k + i].LWid == 3 &&
                        items[k + i].ItemClass == 100 && items[k + i].Color == colour) << i;
        EXPECT_NEAR(items[k + 4 * 16].y, at16, 1e-9);
    }
}

TEST_F(AudibilityChart, AudibleRange)
{
    // No analysis: segments only where the ambient lies above the threshold, from band 7 on and
    // up to row 120; band 19 from -1.3 up to 0, none at band 16 (0.1 below 2.4).
    Show(0.0);
    form.WhatRangeMightIHearClick();
    const auto rows = SegmentRows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), 76), rows.end());
    EXPECT_EQ(std::find(rows.begin(), rows.end(), 64), rows.end());
    for (int row : rows) EXPECT_TRUE(row >= 28 && row <= 120 && Cell(4, row) > Cell(3, row)) << row;
    const auto items = Items();
    for (std::size_t k = 1; k < items.size(); ++k)
        EXPECT_TRUE(items[k].ItemKind != tkLineto || items[k].Color != clBlue || items[k].x != 19.0 ||
                    (std::abs(items[k - 1].y + 1.3) < 1e-9 && std::abs(items[k].y) < 1e-9));
    // Flat 60 dB: every quarter band from band 7 until the continued threshold passes the ambient.
    Show(1e6);
    const auto fresh = Items().size();
    const QImage image = form.RChart1->PaintImage();
    form.WhatRangeMightIHearClick();
    std::vector<int> expected;
    for (int row = 28; row <= 117; ++row) expected.push_back(row);
    EXPECT_EQ(SegmentRows(), expected);
    for (int row = 1; row <= 120; ++row) EXPECT_NEAR(Cell(5, row), Cell(4, row) - Cell(3, row), 1e-12);
    // The next showing starts afresh: the items and picture of the first.
    Show(1e6);
    EXPECT_EQ(Items().size(), fresh);
    EXPECT_EQ(form.RChart1->PaintImage(), image);
}

TEST_F(AudibilityChart, LookAfterABuild)
{
    Show(1e6);
    TRChart& chart = *form.RChart1;
    EXPECT_TRUE(chart.size() == QSize(609, 417) && chart.GridStyle() == gsHorizDotLines);
    const QImage im = chart.PaintImage();
    auto px = [](double band) { return static_cast<int>(std::lround(50 + (band - 1) * 539.0 / 25.0)); };
    auto py = [](double level) { return static_cast<int>(std::lround(20 + (90 - level) * 357.0 / 100.0)); };
    const std::tuple<double, double, TColor> pixels[] = {
        {3, -5, clMoneyGreen}, {16, 59, clRed}, {20, 59, clRed},  // the ambient discs
        {16, 2.4, clPurple},   {4, 37.5, clPurple},                // the threshold
        {16, 20, clWhite},     {4, 58.6, clWhite}};                // the 20-phon curve
    for (const auto& [band, level, colour] : pixels) EXPECT_EQ(At(im, px(band), py(level)), colour) << band;
    // The thin black contours cross band 10 at their Hoerl values.
    for (int level : {70, 40, 15}) {
        const int y = py(HoerlAt(HoerlReference(kContours[(95 - level) / 5]), 10));
        EXPECT_TRUE(At(im, px(10), y - 1) == clBlack || At(im, px(10), y) == clBlack ||
                    At(im, px(10), y + 1) == clBlack) << level;
    }
    EXPECT_TRUE(form.RedLineDescription->isVisible() && form.PurpleLineDescription->isVisible() &&
                form.SpecialLineDescription->isVisible());
    // The 26 band labels under the axis, each centred on its band.
    const auto labels = form.Panel3->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 26);
    EXPECT_TRUE(labels.front()->text() == "31.5" && labels.back()->text() == "10000");
    for (int b = 1; b <= 26; ++b) {
        const QPoint centre = labels[b - 1]->mapTo(&form, labels[b - 1]->rect().center());
        EXPECT_TRUE(std::abs(centre.x() - chart.x() - px(b)) <= 1 && centre.y() > chart.y() + 377) << b;
    }
    // Clearing empties the fitter and the chart: the discs and the threshold are gone.
    form.SBClearClick();
    const QImage cleared = chart.PaintImage();
    EXPECT_EQ(std::pair(chart.NumItems(), form.Stats1.NumData()), std::pair(0, 0));
    for (const auto& [band, level, colour] : pixels) EXPECT_EQ(At(cleared, px(band), py(level)), clMoneyGreen) << band;
}

// A negative or non-finite intensity counts as 0 dB (0.1 up to 1250 Hz, 0 above), and a band
// of 95 dB sits at 87.7, the top of the table, not at 0 below the threshold.
TEST_F(AudibilityChart, DamagedOrLoudBands)
{
    ThirdOct_S.fill(1e6);
    ThirdOct_S[9] = -5.0;                  // band 16, 1 kHz
    ThirdOct_S[12] = std::nan("");         // band 19
    ThirdOct_S[13] = INFINITY;             // band 20
    ThirdOct_S[15] = std::pow(10.0, 9.5);  // band 22, 95 dB
    form.show();
    const auto discs = RedDiscs();
    ASSERT_EQ(discs.size(), 20u);
    EXPECT_EQ(std::vector<double>({discs[9], discs[12], discs[13], discs[15]}),
              std::vector<double>({0.1, 0.0, 0.0, 87.7}));
    for (int row = 28; row <= 400; ++row) ASSERT_TRUE(std::isfinite(Cell(4, row))) << row;
    form.WhatRangeMightIHearClick();
    const auto rows = SegmentRows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), 4 * 22), rows.end());
}

}  // namespace
