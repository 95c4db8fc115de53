// TScaleProps: axis ranges with their minimum span, notices and the logarithmic rule.
#include "controls/RChart.h"

#include <gtest/gtest.h>

namespace {

// Setting one end closer than the minimum range to the other moves the other end.
TEST(ScaleProps, RangeEndsKeepTheMinimumDistance)
{
    const struct { double low, high, minRange; bool setLow; double value, expectLow, expectHigh; } cases[] = {
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

}  // namespace
