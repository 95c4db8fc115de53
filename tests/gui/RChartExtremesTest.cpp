// Bad input: every value an adder or setter of the chart accepts, NaN, infinities and the
// integer limits included, renders and handles the mouse without a crash, a hang or undefined
// behaviour (the sanitizer build runs this), and leaves the ranges finite.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ChartTestSupport.h"
#include "controls/RChart.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

TEST(RChartExtremes, ExtremeValuesEverywhere)
{
    const double values[] = {std::nan(""), kInf, -kInf, 1.7e308, -1.7e308, 1e-320, 0, -1};
    const int ints[] = {kIntMin, kIntMax, -1, 0};
    for (double v : values) {
        for (int n : ints) {
            SCOPED_TRACE(testing::Message() << v << " / " << n);
            TRChart chart;
            charttest::Standard(chart);
            chart.SetRange(1, v, v, 10, v);
            chart.GetScalePropsX1()->SetRangeLow(v);
            chart.GetScalePropsY1()->SetRangeHigh(v);
            chart.GetScalePropsY1()->SetMinRange(v);
            chart.GetScalePropsX1()->SetScalePos(n);
            chart.GetScalePropsX1()->SetCaptionPosX(n);
            chart.GetScalePropsY1()->SetMinTicks(n);
            chart.GetScalePropsY1()->SetDecPlaces(n);
            chart.SetCaption("C");
            chart.SetCaptionPosY(n);
            chart.SetCaptionAnchorHoriz(cahControlRight);
            chart.SetShadowWidth(n);
            chart.SetMarginTop(n == kIntMax ? 30 : n);
            chart.SetGridStyle(gsPoints);
            chart.SetGridDx(v);
            chart.SetGridDy(-3);
            chart.BackGroundImg().SetAreaMode(bamRect);
            chart.BackGroundImg().SetAreaLeft(v);
            TCrossHair& ch = chart.CrossHair(1);
            ch.SetMode(chBoth);
            ch.SetPosX(v);
            ch.SetPosY(v);
            ch.SetLineWid(n);
            TTextLabel& label = chart.TextLabels(1);
            label.SetVisible(true);
            label.SetMode(tlShadow);
            label.SetAttachToData(tlamXOnly);
            label.SetPosX(v);
            label.SetPosY(v);
            label.SetShadowDx(n);
            label.SetCaption("a\nb");

            chart.MoveTo(v, v);
            chart.DrawTo(v, 5);
            chart.DrawTo(5, v);
            chart.MarkAt(v, 1, 26);
            chart.Line(v, v, 1, 1);
            chart.Rectangle(v, 1, 2, v);
            chart.Bar3D(v, 1, 2, 3, n, n);
            chart.Bar3D(1, 1, 2, 3, n, 135);
            chart.PaintImage();
            double dist = 0;
            chart.FindNearestItemScreen(v, v, tkEverything, 255, dist);

            for (TMouseActMode mode : {maPan, maZoomDrag, maZoomWind, maDragCrossH, maDragLabel}) {
                chart.SetMouseAction(mode);
                chart.MouseDown(mbLeft, ssLeft, 100, 90);
                chart.MouseMove(ssLeft, 100, 90);
                chart.MouseMove(ssLeft, 200, 30);
                chart.MouseUp(mbLeft, 0, 200, 30);
                chart.MouseMove(0, 200, 30);
                chart.MouseMoveInChart(0, n, n);
            }
            chart.SetIsometric(true);
            chart.SetRange(0, v, 0, 1, v);
            chart.PaintImage();
            for (int L = 1; L <= 16; ++L) {
                EXPECT_TRUE(std::isfinite(chart.GetScalePropsX(L)->RangeLow())) << L;
                EXPECT_TRUE(std::isfinite(chart.GetScalePropsY(L)->RangeHigh())) << L;
            }
        }
    }
}

}  // namespace
