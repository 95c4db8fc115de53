// TRChart and TScaleProps: axis ranges with their minimum span, the item list and its drawing.
#include "controls/RChart.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// Setting one end closer than the minimum range to the other moves the other end.
TEST(ScaleProps, RangeEndsKeepTheMinimumDistance)
{
    const struct {
        double low, high, minRange;
        bool setLow;
        double value, expectLow, expectHigh;
    } cases[] = {
        {0, 1, 1e-10, true, -3, -3, 1},           {0, 1, 1e-10, false, 26, 0, 26},
        {0, 1, 1e-10, true, 5, 5, 1},             // a low end above the high end is kept
        {0, 5.00000000001, 1e-10, true, 5, 5, 5 + 1e-10},
        {0, 1, 0.5, true, 1, 1, 1.5},             {2, 3, 0.5, false, 2.2, 2.2 - 0.5, 2.2},
        {4, 9, 1, false, 4, 3, 4},
    };
    for (const auto& c : cases) {
        TScaleProps s;  // 0..1, minimum range 1e-10
        s.SetRangeHigh(c.high);
        s.SetRangeLow(c.low);
        s.SetMinRange(c.minRange);
        c.setLow ? s.SetRangeLow(c.value) : s.SetRangeHigh(c.value);
        EXPECT_DOUBLE_EQ(s.RangeLow(), c.expectLow) << c.low << ".." << c.high << " set " << c.value;
        EXPECT_DOUBLE_EQ(s.RangeHigh(), c.expectHigh) << c.low << ".." << c.high << " set " << c.value;
    }
}

TEST(ScaleProps, MinRangeWidensANarrowSpanAboutItsMiddleAndSettersNotify)
{
    TScaleProps s;
    int changes = 0;
    s.SetOnChange([&] { ++changes; });
    s.SetMinRange(2);
    EXPECT_DOUBLE_EQ(s.RangeLow(), -0.5);
    EXPECT_DOUBLE_EQ(s.RangeHigh(), 1.5);
    EXPECT_EQ(changes, 1);
    s.SetMinRange(1);  // already wide enough: stored, no event
    s.SetMinRange(1e-101);  // ignored
    EXPECT_EQ(s.MinRange(), 1);
    EXPECT_EQ(changes, 1);
    s.SetRangeLow(-1);
    s.SetRangeHigh(3);
    s.SetCaption("dB(A)");
    s.SetVisible(true);
    EXPECT_EQ(changes, 5);
}

TEST(ScaleProps, LogarithmicAxisRefusesTinyValues)
{
    TScaleProps s;
    s.SetLogarithmic(true);  // low end 0: stays linear
    EXPECT_FALSE(s.Logarithmic());
    s.SetRangeHigh(1000);
    s.SetRangeLow(1);
    s.SetLogarithmic(true);
    s.SetRangeLow(1e-200);
    s.SetRangeHigh(0);
    EXPECT_TRUE(s.Logarithmic());
    EXPECT_EQ(s.RangeLow(), 1);
    EXPECT_EQ(s.RangeHigh(), 1000);
}

TEST(RChart, PaintsThePolylineInTheDataColourUntilCleared)
{
    TRChart chart;
    chart.resize(280, 200);
    // One axis unit per pixel: data area 50..260 x 20..160.
    chart.GetScalePropsX1()->SetRangeHigh(210);
    chart.GetScalePropsY1()->SetRangeHigh(140);
    chart.SetDataColor(clRed);
    chart.MoveTo(0, 70);
    chart.DrawTo(210, 70);  // a horizontal line through the middle
    chart.ShowGraf();
    EXPECT_EQ(chart.NumItems(), 2);
    const QImage image = chart.grab().toImage();
    int x = 0, y = 0;
    chart.R2M(1, 100, 70, x, y);
    ASSERT_EQ(QPoint(x, y), QPoint(150, 90));
    EXPECT_EQ(QColor(image.pixel(x, y)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(x, y - 10)), QColor(Qt::white));

    chart.ClearGraf();
    EXPECT_EQ(chart.NumItems(), 0);
    const QImage cleared = chart.grab().toImage();
    EXPECT_EQ(QColor(cleared.pixel(x, y)), QColor(Qt::white));
}

}  // namespace
