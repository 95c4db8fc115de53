// The audibility window as it builds its chart: the item list (Hoerl lines, discs, splines), the
// spline sample table, the audible-range hatching and the rendered picture, for ambient spectra
// set in the hand-off array. Pixels are read at positions worked out from the design: a 609 x 417
// chart, margins 50/20/20/40, so x 1..26 spans pixels 50..589 and y 90..-10 pixels 20..377.
#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "ChartTestSupport.h"
#include "views/AudibilityChart.h"

namespace {

using namespace oxw::views;
using namespace oxw::views::frmAudibility;
using charttest::At;

constexpr int kContourItems = 18 * 101;  // a move and 100 steps per contour

struct Point {
    double x, y;
};

// Ordinary least squares of ln y on (1, x, ln x): returns (ln k0, ln k1, k2).
std::array<double, 3> HoerlReference(const ReferenceContour& c)
{
    double a[3][4] = {};
    for (int n = 0; n < c.NumPoints(); ++n) {
        const double x = c.FirstBand + n, row[3] = {1.0, x, std::log(x)}, ly = std::log(c.Levels[n]);
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
    void TearDown() override
    {
        ThirdOct_S = saved;
        form.hide();
    }
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
    std::vector<Point> Marks(TColor colour) const
    {
        std::vector<Point> marks;
        for (const TrcChartItem& it : Items())
            if (it.ItemKind == tkMarkAt && it.Color == colour) marks.push_back({it.x, it.y});
        return marks;
    }
    // The rows i of the audible-range segments: blue lines from (i/4, threshold) up.
    std::vector<int> SegmentRows() const
    {
        std::vector<int> rows;
        const auto items = Items();
        for (std::size_t k = 1; k < items.size(); ++k)
            if (items[k].ItemKind == tkLineto && items[k].Color == clBlue) {
                EXPECT_EQ(items[k - 1].ItemKind, tkMoveTo);
                EXPECT_EQ(items[k - 1].x, items[k].x);
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
    for (std::size_t c = 0; c < AudibilityReferenceContours.size(); ++c) {
        const ReferenceContour& contour = AudibilityReferenceContours[c];
        const auto ref = HoerlReference(contour);
        const int row = contour.Level / 5 + 7;
        EXPECT_EQ(form.RightYIntercepts[row][1], contour.Level);
        EXPECT_NEAR(form.RightYIntercepts[row][2], HoerlAt(ref, 26), 1e-7) << contour.Level;
        const TrcChartItem& move = items[c * 101];
        EXPECT_EQ(move.ItemKind, tkMoveTo);
        EXPECT_EQ(move.x, 1.0);
        EXPECT_NEAR(move.y, HoerlAt(ref, 1), 1e-7);
        for (int i = 1; i <= 100; ++i) {
            const TrcChartItem& step = items[c * 101 + i];
            ASSERT_EQ(step.ItemKind, tkLineto);
            ASSERT_EQ(step.x, 1 + 0.25 * i);
            ASSERT_NEAR(step.y, HoerlAt(ref, step.x), 1e-7);  // sums against a direct solve
            ASSERT_EQ(step.Color, clBlack);
            ASSERT_EQ(step.LWid, 1);
            ASSERT_EQ(step.ItemClass, 0);
        }
    }
    // Worked out by hand from the same regression.
    const auto r95 = HoerlReference(AudibilityReferenceContours[0]);
    EXPECT_NEAR(std::exp(r95[0]), 182.755, 0.001);
    EXPECT_NEAR(std::exp(r95[1]), 1.012474, 1e-6);
    EXPECT_NEAR(r95[2], -0.32431, 1e-5);
    EXPECT_NEAR(items[0].y, 185.03, 0.005);
    EXPECT_NEAR(form.RightYIntercepts[26][2], 87.693, 0.0005);
    EXPECT_NEAR(form.RightYIntercepts[19][2], 52.950, 0.0005);
    EXPECT_NEAR(form.RightYIntercepts[9][2], 3.378, 0.0005);
    EXPECT_EQ(form.RightYIntercepts[8][2], 0.0);  // no contour of level 5
}

TEST_F(AudibilityChart, AmbientDiscsAndSplines)
{
    struct Case {
        double intensity;
        double disc7_17, disc18_26;
    };
    // A flat 60 dB spectrum; no analysis yet.
    for (const Case c : {Case{1e6, 59.0, 59.0}, Case{0.0, 0.1, 0.0}}) {
        Show(c.intensity);
        const auto discs = Marks(clRed);
        ASSERT_EQ(discs.size(), 20u);
        for (int i = 0; i < 20; ++i) {
            const int band = i + 7;
            EXPECT_EQ(discs[i].x, band);
            EXPECT_NEAR(discs[i].y, band <= 17 ? c.disc7_17 : c.disc18_26, 1e-9) << band;
            // The natural spline passes through its points.
            EXPECT_NEAR(Cell(4, 4 * band), discs[i].y, 1e-9) << band;
            EXPECT_NEAR(Cell(3, 4 * band), HearingThresholdLevels[band - 1], 1e-9) << band;
        }
        for (int row = 1; row <= 400; ++row) {
            ASSERT_EQ(Cell(1, row), row >= 28 ? 1.0 : 0.0) << row;
            ASSERT_EQ(Cell(2, row), row) << row;
        }
    }
    // The splines as items: the ambient from band 7 in red, the threshold and the 20-phon curve
    // from a move to x = 0 over 400 quarter-band steps, thick, class 100.
    const auto items = Items();
    ASSERT_EQ(items.size(), static_cast<std::size_t>(kContourItems + 20 + 374 + 2 * (26 + 401)));
    int k = kContourItems + 20;
    EXPECT_EQ(items[k].ItemKind, tkMoveTo);
    EXPECT_EQ(items[k].x, 7.0);
    EXPECT_EQ(items[k + 1].x, 7.0);
    EXPECT_EQ(items[k + 1].Color, clRed);
    EXPECT_EQ(items[k + 373].x, 100.0);
    k += 374;
    for (const auto& [levels, colour] : {std::pair{&HearingThresholdLevels, clPurple}, std::pair{&LL20Levels, clWhite}}) {
        for (int b = 1; b <= 26; ++b) {
            EXPECT_EQ(items[k + b - 1].ItemKind, tkMarkAt);
            EXPECT_EQ(items[k + b - 1].Color, colour);
            EXPECT_EQ(items[k + b - 1].y, (*levels)[b - 1]);
        }
        k += 26;
        EXPECT_EQ(items[k].ItemKind, tkMoveTo);
        EXPECT_EQ(items[k].x, 0.0);
        EXPECT_EQ(items[k].y, (*levels)[0]);
        for (int i = 1; i <= 400; ++i) {
            ASSERT_EQ(items[k + i].ItemKind, tkLineto);
            ASSERT_EQ(items[k + i].x, i / 4.0);
            ASSERT_EQ(items[k + i].LWid, 3);
            ASSERT_EQ(items[k + i].ItemClass, 100);
            ASSERT_EQ(items[k + i].Color, colour);
        }
        EXPECT_NEAR(items[k + 4 * 16].y, (*levels)[15], 1e-9);
        k += 401;
    }
}

TEST_F(AudibilityChart, AudibleRange)
{
    Show(0.0);
    form.WhatRangeMightIHearClick();
    const auto before = SegmentRows();
    EXPECT_NE(std::find(before.begin(), before.end(), 76), before.end());  // band 19: -1.3 up to 0
    EXPECT_EQ(std::find(before.begin(), before.end(), 64), before.end());  // band 16: 0.1 below 2.4
    for (int row : before) {
        EXPECT_GE(row, 28);
        EXPECT_LE(row, 120);
        EXPECT_GT(Cell(4, row) - Cell(3, row), 0.0) << row;
    }
    const auto items = Items();
    for (std::size_t k = 0; k < items.size(); ++k)
        if (items[k].ItemKind == tkLineto && items[k].Color == clBlue && items[k].x == 19.0) {
            EXPECT_NEAR(items[k - 1].y, -1.3, 1e-9);
            EXPECT_NEAR(items[k].y, 0.0, 1e-9);
        }
    // Flat 60 dB: every quarter band from band 7 until the continued threshold passes the ambient.
    Show(1e6);
    form.WhatRangeMightIHearClick();
    std::vector<int> expected;
    for (int row = 28; row <= 117; ++row) expected.push_back(row);
    EXPECT_EQ(SegmentRows(), expected);
    for (int row = 1; row <= 120; ++row) EXPECT_NEAR(Cell(5, row), Cell(4, row) - Cell(3, row), 1e-12);
}

TEST_F(AudibilityChart, LookAfterABuild)
{
    Show(1e6);
    TRChart& chart = *form.RChart1;
    EXPECT_EQ(chart.width(), 609);
    EXPECT_EQ(chart.height(), 417);
    EXPECT_EQ(chart.GetScalePropsY1()->RangeLow(), -10);
    EXPECT_EQ(chart.GetScalePropsY1()->RangeHigh(), 90);
    EXPECT_EQ(chart.GetScalePropsX1()->RangeLow(), 1);
    EXPECT_EQ(chart.GetScalePropsX1()->RangeHigh(), 26);
    EXPECT_EQ(chart.GridStyle(), gsHorizDotLines);
    const QImage im = chart.PaintImage();
    auto px = [](double band) { return static_cast<int>(std::lround(50 + (band - 1) * 539.0 / 25.0)); };
    auto py = [](double level) { return static_cast<int>(std::lround(20 + (90 - level) * 357.0 / 100.0)); };
    EXPECT_EQ(At(im, px(3), py(-5)), clMoneyGreen);
    EXPECT_EQ(At(im, px(16), py(59)), clRed);      // the ambient disc at 1 kHz
    EXPECT_EQ(At(im, px(20), py(59)), clRed);
    EXPECT_EQ(At(im, px(16), py(2.4)), clPurple);  // the threshold at 1 kHz
    EXPECT_EQ(At(im, px(4), py(37.5)), clPurple);
    EXPECT_EQ(At(im, px(16), py(20)), clWhite);    // the 20-phon curve
    EXPECT_EQ(At(im, px(4), py(58.6)), clWhite);
    // The thin black contours cross band 10 at their Hoerl values.
    for (int level : {70, 40, 15}) {
        const ReferenceContour& c = AudibilityReferenceContours[(95 - level) / 5];
        const int y = py(HoerlAt(HoerlReference(c), 10));
        bool black = false;
        for (int dy = -1; dy <= 1; ++dy) black |= At(im, px(10), y + dy) == clBlack;
        EXPECT_TRUE(black) << level;
    }
    for (QLabel* l : {form.RedLineDescription, form.PurpleLineDescription, form.SpecialLineDescription})
        EXPECT_TRUE(l->isVisible()) << l->text().toStdString();
    // The 26 band labels under the axis, each centred on its band.
    const auto labels = form.Panel3->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 26);
    EXPECT_EQ(labels.front()->text(), "31.5");
    EXPECT_EQ(labels.back()->text(), "10000");
    for (int b = 1; b <= 26; ++b) {
        const QLabel* l = labels[b - 1];
        EXPECT_TRUE(l->isVisible());
        const QPoint centre = l->mapTo(&form, l->rect().center());
        EXPECT_NEAR(centre.x(), chart.x() + px(b), 1) << b;
        EXPECT_GT(centre.y(), chart.y() + 377) << b;
    }
}

TEST_F(AudibilityChart, EveryShowingStartsAfresh)
{
    Show(1e6);
    const auto first = Items();
    const QImage firstImage = form.RChart1->PaintImage();
    form.WhatRangeMightIHearClick();
    Show(1e6);
    const auto second = Items();
    ASSERT_EQ(second.size(), first.size());
    for (std::size_t k = 0; k < first.size(); ++k) {
        ASSERT_EQ(second[k].ItemKind, first[k].ItemKind) << k;
        ASSERT_EQ(second[k].x, first[k].x) << k;
        ASSERT_EQ(second[k].y, first[k].y) << k;
        ASSERT_EQ(second[k].Color, first[k].Color) << k;
        ASSERT_EQ(second[k].LWid, first[k].LWid) << k;
        ASSERT_EQ(second[k].ItemClass, first[k].ItemClass) << k;
    }
    EXPECT_EQ(form.RChart1->PaintImage(), firstImage);
    EXPECT_EQ(form.RChart1->ClassDefault(), 100);  // left by the splines, reset by the next showing
}

// A negative or non-finite intensity counts as 0 dB (0.1 up to 1250 Hz, 0 above), and a band
// of 95 dB sits at 87.7, the top of the table, not at 0 below the threshold.
TEST_F(AudibilityChart, DamagedOrLoudBands)
{
    ThirdOct_S.fill(1e6);
    ThirdOct_S[9] = -5.0;                  // band 16, 1 kHz
    ThirdOct_S[12] = std::nan("");        // band 19
    ThirdOct_S[13] = INFINITY;             // band 20
    ThirdOct_S[15] = std::pow(10.0, 9.5);  // band 22, 95 dB
    form.show();
    const auto discs = Marks(clRed);
    ASSERT_EQ(discs.size(), 20u);
    EXPECT_NEAR(discs[9].y, 0.1, 1e-9);
    EXPECT_EQ(discs[12].y, 0.0);
    EXPECT_EQ(discs[13].y, 0.0);
    EXPECT_NEAR(discs[15].y, 87.7, 1e-9);
    for (int row = 28; row <= 400; ++row) ASSERT_TRUE(std::isfinite(Cell(4, row))) << row;
    form.WhatRangeMightIHearClick();
    const auto rows = SegmentRows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), 4 * 22), rows.end());
}

}  // namespace
