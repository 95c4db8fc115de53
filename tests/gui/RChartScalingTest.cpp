// The chart's world-to-pixel mapping on a 280 x 200 chart with margins 50/20/20/40 (data area
// x 50..260, y 160..20), the range chain with MinRange, Isometric and joined layers, the zoom
// history, and ranges that are not finite.
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

#include "ChartTestSupport.h"
#include "controls/RChart.h"

namespace {

using charttest::Standard;
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(RChartScaling, WorldToPixelsAndBack)
{
    struct Case { const char* what; bool logX; double xLo, xHi, x, y; int px, py; };
    const Case cases[] = {
        {"origin", false, 0, 10, 0, 0, 50, 160},
        {"middle: 50 + 5 * 21, 160 - 50 * 1.4", false, 0, 10, 5, 50, 155, 90},
        {"top right", false, 0, 10, 10, 100, 260, 20},
        {"log: 50 + 210 / 3", true, 1, 1000, 10, 100, 120, 20},
        {"log: 50 + 2 * 70", true, 1, 1000, 100, 0, 190, 160},
        {"log: 0 at the control's edge", true, 1, 1000, 0, 0, 0, 160},
        {"log reversed: 0 at the other edge", true, 1000, 1, 0, 0, 280, 160},
        {"beyond the pixel range", false, 0, 10, 1e12, -1e300, 2147483647, 2147483647},
        {"below it", false, 0, 10, -1e12, 1e300, -2147483647, -2147483647},
        {"not a number", false, 0, 10, std::nan(""), 50, 0, 90},
    };
    for (const Case& c : cases) {
        TRChart chart;
        Standard(chart, c.xLo, c.xHi);
        chart.GetScalePropsX1()->SetLogarithmic(c.logX);
        int px = 0, py = 0;
        chart.R2M(1, c.x, c.y, px, py);
        EXPECT_EQ(QPoint(px, py), QPoint(c.px, c.py)) << c.what;
        if (std::abs(c.x) > 0 && std::abs(c.x) < 1e6) {
            double x = 0, y = 0;
            chart.M2R(1, px, py, x, y);
            EXPECT_NEAR(x, c.x, 1e-9 * std::abs(c.x)) << c.what;
            EXPECT_NEAR(y, c.y, 1e-9) << c.what;
        }
    }
}

TEST(RChartScaling, SetRangeOnAllLayersFillsTheHistoryOnce)
{
    TRChart chart;
    const int start = chart.ZoomStackPointer();
    chart.SetRange(0, 0, 0, 10, 10);
    EXPECT_EQ(chart.ZoomStackPointer(), start);  // 16 entries: round once
    // Entry i was written when layer i + 1 took its range: the layers after it still read 0..1.
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(std::pair(chart.GetScalePropsX(i + 1)->RangeHigh(), chart.GetScalePropsY(i + 1)->RangeLow()),
                  std::pair(10.0, 0.0)) << i;
        const int slot = (start - 1 + i) % 16 + 1;
        const TRectDouble set = chart.ZoomStack(slot, i + 1);
        EXPECT_EQ(std::tuple(set.Left, set.Top, set.Right, set.Bottom), std::tuple(0.0, 10.0, 10.0, 0.0)) << i;
        if (i < 15) {
            EXPECT_EQ(chart.ZoomStack(slot, i + 2).Right, 1) << i;
        }
    }
    chart.SetRange(17, 1, 1, 2, 2);  // no such layer: nothing
    EXPECT_EQ(chart.ZoomStackPointer(), start);
}

TEST(RChartScaling, EqualBoundsIsometricAndBoundsThatAreNotFinite)
{
    TRChart chart;
    Standard(chart);
    chart.SetRange(1, 5, 5, 5, 5);
    EXPECT_DOUBLE_EQ(chart.GetScalePropsX1()->RangeLow(), 5 - 0.5e-10);
    EXPECT_DOUBLE_EQ(chart.GetScalePropsY1()->RangeHigh(), 5 + 0.5e-10);

    // A bound that is not finite leaves its axis as it was; the other axis takes its range.
    Standard(chart);
    chart.SetRange(1, 0, 10, kInf, 20);
    chart.SetRange(1, std::nan(""), 10, 5, 30);
    EXPECT_EQ(std::pair(chart.GetScalePropsX1()->RangeHigh(), chart.GetScalePropsY1()->RangeHigh()), std::pair(10.0, 30.0));
    TScaleProps& x = *chart.GetScalePropsX1();
    x.SetRangeLow(-kInf);
    x.SetRangeHigh(std::nan(""));
    x.SetMinRange(kInf);
    EXPECT_EQ(std::pair(x.RangeLow(), x.RangeHigh()), std::pair(0.0, 10.0));
    x.SetRangeHigh(1.7e308);
    int px = 0, py = 0;
    chart.R2M(1, 1.7e308, 0, px, py);
    EXPECT_EQ(px, 260);
    x.SetRangeLow(1.6e308);
    x.SetMinRange(1e308);  // widening about 1.65e308 would pass the largest double
    EXPECT_EQ(x.RangeLow(), 1.6e308);
    EXPECT_EQ(x.MinRange(), 1e-10);
    x.SetRangeLow(-1.7e308);  // a span beyond the largest double still maps
    chart.R2M(1, 0, 0, px, py);
    EXPECT_EQ(px, 155);

    // Isometric: y high follows from the data area's proportions (141 / 211 pixels).
    const QImage aux(10, 10, QImage::Format_RGB32);
    const double aspect = static_cast<double>(aux.logicalDpiX()) / aux.logicalDpiY();
    chart.SetIsometric(true);
    chart.SetRange(1, 0, 0, 100, 999);
    EXPECT_NEAR(chart.GetScalePropsY1()->RangeHigh(), 100.0 * 141 / 211 * aspect, 1e-9);
}

TEST(RChartScaling, JoinedLayers)
{
    TRChart chart;
    Standard(chart);
    TJointLayers& joins = chart.JointLayers();
    chart.SetRange(2, 0, 0, 50, 50);
    joins.SetControlledLayerX(2, 1);  // layer 2's x follows layer 1's: it takes it at once
    auto highs = [&] { return std::pair(chart.GetScalePropsX(2)->RangeHigh(), chart.GetScalePropsY(2)->RangeHigh()); };
    EXPECT_EQ(highs(), std::pair(10.0, 50.0));
    chart.SetRange(2, 0, 0, 70, 70);  // its x stays, its y changes
    EXPECT_EQ(highs(), std::pair(10.0, 70.0));
    chart.SetRange(1, 0, 0, 20, 30);  // the master moves the follower's x
    EXPECT_EQ(highs(), std::pair(20.0, 70.0));

    // Destination layers 1..16: 0 and 17 are the first refused; 16 is taken below.
    const struct { int layer, dest; const char* message; } refusals[] = {
        {3, 2, "Destination layer 2 is already joined"}, {1, 4, "Layer 1 is joined by other layers (2, 3)"},
        {5, 17, "Destination layer 17 is out of range"}, {5, 0, "Destination layer 0 is out of range"}};
    joins.SetControlledLayerX(3, 1);
    for (const auto& c : refusals) {
        try {
            joins.SetControlledLayerX(c.layer, c.dest);
            ADD_FAILURE() << "no error for " << c.layer << " -> " << c.dest;
        } catch (const EVKRRChartError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(joins.ControlledLayerX(3), 1);
    joins.SetControlledLayerX(3, 3);  // free again
    EXPECT_EQ(joins.ControlledLayerX(3), 3);
    joins.SetControlledLayerX(5, 16);
    EXPECT_EQ(joins.ControlledLayerX(5), 16);

    // y joins mirror x.
    joins.SetControlledLayerY(4, 2);
    EXPECT_EQ(chart.GetScalePropsY(4)->RangeHigh(), 70);
    chart.SetRange(2, 0, 0, 0, 90);
    EXPECT_EQ(chart.GetScalePropsY(4)->RangeHigh(), 90);
}

}  // namespace
