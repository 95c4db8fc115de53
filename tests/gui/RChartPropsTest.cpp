// The chart's properties: the axes of the higher layers, the seven standard layouts, the setters'
// rules (store only, repaint with AutoRedraw, always repaint for axis settings) and their limits.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

#include "ChartTestSupport.h"
#include "controls/RChart.h"

namespace {

// Axes beyond the layout's four layers: odd layers below and left, even ones above and right,
// 30 (x) and 50 (y) pixels further out per pair; each in its colour of the table.
TEST(RChartProps, AxesOfTheHigherLayers)
{
    TRChart chart;
    for (int L = 1; L <= 16; ++L) {
        const TScalePropsHoriz& x = *chart.GetScalePropsX(L);
        const TScalePropsVert& y = *chart.GetScalePropsY(L);
        EXPECT_EQ(x.Visible() + y.Visible(), L == 1 ? 2 : 0) << L;
        EXPECT_EQ(chart.HelperScaleX(L).objectName(), "RC_FScale_X_" + QString::number(L));
        if (L > 4) {
            EXPECT_EQ(x.ScaleType(), L % 2 ? sctXT : sctXB) << L;
            EXPECT_EQ(y.ScaleType(), L % 2 ? sctYR : sctYL) << L;
            EXPECT_EQ(std::pair(x.ScalePos(), y.ScalePos()), std::pair((L - 1) / 2 * 30, (L - 1) / 2 * 50)) << L;
        }
    }
}

TEST(RChartProps, StandardLayouts)
{
    struct Axis { int layer; bool x; TScaleType type; int pos, capX, capY; TAlignment align; };
    struct Case {
        TrcLayout layout;
        int l, r, t, b, capY;
        TAlignment capAlign;
        TCaptionAnchorHoriz anchor;
        std::vector<Axis> visible;
    };
    const Case cases[] = {
        {rcl_X1Bottom_Y1Left, 50, 20, 20, 40, -16, taRightJustify, cahChartRight,
         {{1, true, sctXT, 0, 0, 22, taCenter}, {1, false, sctYR, 0, 0, -16, taLeftJustify}}},
        {rcl_X1Bottom_Y2Left, 100, 20, 24, 40, -16, taRightJustify, cahChartRight,
         {{1, true, sctXT, 0, 0, 22, taCenter}, {1, false, sctYR, 0, 0, -23, taRightJustify},
          {2, false, sctYR, 50, 0, -23, taRightJustify}}},
        {rcl_X1Bottom_Y3Left, 150, 20, 24, 40, -16, taRightJustify, cahChartRight,
         {{1, true, sctXT, 0, 0, 22, taCenter}, {1, false, sctYR, 0, 0, -23, taRightJustify},
          {2, false, sctYR, 50, 0, -23, taRightJustify}, {3, false, sctYR, 100, 0, -23, taRightJustify}}},
        {rcl_X1Bottom_Y4Left, 200, 20, 24, 40, -16, taRightJustify, cahChartRight,
         {{1, true, sctXT, 0, 0, 22, taCenter}, {1, false, sctYR, 0, 0, -23, taRightJustify},
          {2, false, sctYR, 50, 0, -23, taRightJustify}, {3, false, sctYR, 100, 0, -23, taRightJustify},
          {4, false, sctYR, 150, 0, -23, taRightJustify}}},
        {rcl_X1Bottom_Y2Both, 50, 50, 24, 40, -20, taCenter, cahChartCenter,
         {{1, true, sctXT, 0, 0, 22, taCenter}, {1, false, sctYR, 0, 0, -23, taRightJustify},
          {2, false, sctYL, 0, 0, -23, taLeftJustify}}},
        {rcl_X2Bottom_Y2Left, 100, 20, 24, 70, -16, taRightJustify, cahChartRight,
         {{1, true, sctXT, 0, -20, 7, taRightJustify}, {2, true, sctXT, 30, -20, 7, taRightJustify},
          {1, false, sctYR, 0, 0, -23, taRightJustify}, {2, false, sctYR, 50, 0, -23, taRightJustify}}},
        {rcl_X2Both_Y2Both, 50, 50, 48, 40, -46, taCenter, cahChartCenter,
         {{1, true, sctXT, 0, -20, 7, taRightJustify}, {2, true, sctXB, 0, -20, -24, taRightJustify},
          {1, false, sctYR, 0, 0, -40, taRightJustify}, {2, false, sctYL, 0, 0, -40, taLeftJustify}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        TRChart chart;
        chart.SetStdLayout(rcl_X2Both_Y2Both);  // from another layout
        chart.SetStdLayout(c.layout);
        EXPECT_EQ(std::tuple(chart.StandardLayout(), chart.MarginLeft(), chart.MarginRight(), chart.MarginTop(),
                             chart.MarginBottom(), chart.CaptionPosY(), chart.CaptionAlignment(), chart.CaptionAnchorHoriz()),
                  std::tuple(c.layout, c.l, c.r, c.t, c.b, c.capY, c.capAlign, c.anchor));
        int visible = 0;
        for (int L = 1; L <= 16; ++L)
            visible += chart.GetScalePropsX(L)->Visible() + chart.GetScalePropsY(L)->Visible();
        EXPECT_EQ(visible, static_cast<int>(c.visible.size()));
        for (const Axis& a : c.visible) {
            const TScaleProps& p = a.x ? static_cast<const TScaleProps&>(*chart.GetScalePropsX(a.layer))
                                       : *chart.GetScalePropsY(a.layer);
            SCOPED_TRACE(testing::Message() << (a.x ? "x" : "y") << a.layer);
            EXPECT_EQ(std::tuple(p.Visible(), p.ScaleType(), p.ScalePos(), p.CaptionPosX(), p.CaptionPosY(), p.CaptionAlignment()),
                      std::tuple(true, a.type, a.pos, a.capX, a.capY, a.align));
        }
    }
    // Invisible axes of layers 1..4 get the caption (10, 100), except Y3 and Y4 of the last layout.
    TRChart chart;
    chart.SetStdLayout(rcl_X1Bottom_Y2Left);
    EXPECT_EQ(chart.GetScalePropsY3()->CaptionPosX(), 10);
    EXPECT_EQ(chart.GetScalePropsX2()->CaptionPosY(), 100);
    chart.SetStdLayout(rcl_X2Both_Y2Both);
    EXPECT_EQ(chart.GetScalePropsY4()->CaptionPosY(), -23);
}

TEST(RChartProps, SetterLimits)
{
    TRChart chart;
    chart.setObjectName("Chart9");
    // Shadow 0..32, margins 0..2^24: the last value taken and the first refused at each end.
    const int big = 1 << 24;
    const struct { void (TCustomRChart::*set)(int); int (TCustomRChart::*get)() const; int lo, hi; } limits[] = {
        {&TCustomRChart::SetShadowWidth, &TCustomRChart::ShadowWidth, 0, 32},
        {&TCustomRChart::SetMarginTop, &TCustomRChart::MarginTop, 0, big},
        {&TCustomRChart::SetMarginRight, &TCustomRChart::MarginRight, 0, big}};
    for (const auto& l : limits) {
        for (const auto& [in, kept] : {std::pair{l.lo - 1, l.lo}, {l.lo, l.lo}, {l.hi, l.hi}, {l.hi + 1, l.hi}}) {
            (chart.*l.set)(in);
            EXPECT_EQ((chart.*l.get)(), kept) << in;
        }
    }
    chart.SetShadowWidth(0);
    chart.SetMargins(50, 20, 20, 40);
    chart.SetBounds(5, 6, 10, 10);  // at least 50 + 20 + 80 by 20 + 40 + 20
    EXPECT_EQ(chart.geometry(), QRect(5, 6, 150, 80));
    for (double d : {-4.0, std::nan(""), HUGE_VAL}) {
        chart.SetGridDx(d);
        chart.SetGridDy(d);
    }
    EXPECT_EQ(chart.GridDx(), 0);
    chart.SetGridDx(-3);
    EXPECT_EQ(chart.GridDx(), -3);
    for (int ix : {0, 1, 30, 31}) {  // labels 1..30
        try {
            chart.TextLabels(ix);
            EXPECT_TRUE(ix == 1 || ix == 30) << ix;
        } catch (const EVKRRChartError& e) {
            EXPECT_TRUE(ix == 0 || ix == 31) << ix;
            EXPECT_STREQ(e.what(), "Component \"Chart9\": invalid index into TextLabel array");
        }
    }
    // Margins move the data area and the mapping; they are held to 0..2^24.
    chart.SetMarginLeft(70);
    int x = 0, y = 0;
    chart.R2M(1, 0, 0, x, y);
    EXPECT_EQ(x, 70);
    chart.SetMarginRight(2147483647);
    chart.R2M(1, 1, 1, x, y);  // no data area: everything in the middle
    EXPECT_EQ(x, chart.width() / 2);

    // Axis settings.
    TScalePropsHoriz& ax = *chart.GetScalePropsX1();
    ax.SetScaleLocation(slTop);
    TScalePropsVert& ay = *chart.GetScalePropsY1();
    ay.SetScaleLocation(slRight);
    EXPECT_EQ(std::pair(ax.ScaleType(), ay.ScaleType()), std::pair(sctXB, sctYL));
    ax.SetDecPlaces(20);
    EXPECT_EQ(ax.DecPlaces(), 12);
    ax.SetLabelType(ftTime);
    EXPECT_EQ(ax.DecPlaces(), 4);
    ax.SetRangeLow(1);
    ax.SetRangeHigh(100);
    ax.SetLogarithmic(true);
    EXPECT_TRUE(ax.Logarithmic());
    ax.SetLabelType(ftDateTime);
    EXPECT_FALSE(ax.Logarithmic());
    ax.SetLogarithmic(true);  // not on date-time labels
    EXPECT_FALSE(ax.Logarithmic());

    // The background's file name without its folder, unless IncludePath.
    TBakGndImg& bg = chart.BackGroundImg();
    bg.SetName("/tmp/pictures/sky.bmp");
    EXPECT_EQ(bg.Name(), "sky.bmp");
    bg.SetIncludePath(true);
    bg.SetName("/tmp/pictures/sky.bmp");
    EXPECT_EQ(bg.Name(), "/tmp/pictures/sky.bmp");
    bg.SetIncludePath(false);
    EXPECT_EQ(bg.Name(), "sky.bmp");
}

// The three setter rules on a shown chart: item attributes only store; style properties repaint
// with AutoRedraw; axis settings always repaint.
TEST(RChartProps, WhichSettersRepaint)
{
    TRChart chart;
    charttest::Standard(chart);
    chart.show();
    QApplication::processEvents();
    auto renders = [&](auto change) {
        const int before = chart.FullRenderCount();
        change();
        QApplication::processEvents();
        return chart.FullRenderCount() - before;
    };
    EXPECT_EQ(renders([&] { chart.SetDataColor(clRed); chart.SetFillColor(clRed); chart.SetClassDefault(3); }), 0);
    EXPECT_EQ(renders([&] { chart.SetChartColor(clYellow); chart.SetGridStyle(gsLines); }), 1);
    chart.SetAutoRedraw(false);
    EXPECT_EQ(renders([&] { chart.SetChartColor(clAqua); }), 0);
    EXPECT_EQ(renders([&] { chart.GetScalePropsX1()->SetCaption("s"); }), 1);
    chart.SetAutoRedraw(true);
    EXPECT_EQ(renders([&] { chart.SetSuppressPaint(true); chart.SetCaption("x"); }), 0);
    EXPECT_EQ(renders([&] { chart.SetSuppressPaint(false); }), 1);

    // Settings replaced as a whole: copied into the chart's own objects, laid out, same rules.
    chart.SetAutoRedraw(false);
    TJointLayers joins(nullptr);
    joins.SetControlledLayerX(3, 2);
    joins.SetControlledLayerY(4, 1);
    EXPECT_EQ(renders([&] { chart.SetJointLayers(joins); }), 0);
    EXPECT_EQ(chart.GetScalePropsY(4)->RangeHigh(), 100);  // a follower takes its master's range at once
    TScalePropsHoriz src;
    TScalePropsVert srcY;
    src.SetScaleLocation(slTop);
    src.SetRangeHigh(8);
    src.SetRangeLow(2);
    src.SetMinTicks(9);
    srcY.SetMinTicks(9);
    TScalePropsHoriz* owned = chart.GetScalePropsX2();  // kept, taking the settings
    EXPECT_EQ(renders([&] { chart.SetScale2X(src); }), 1);
    int x = 0, y = 0;
    chart.R2M(2, 8, 0, x, y);  // 8 at the right edge of the data area; layer 3 follows layer 2's x
    EXPECT_EQ(std::tuple(owned->ScaleType(), x, chart.GetScalePropsX(3)->RangeLow()), std::tuple(sctXB, 260, 2.0));
    EXPECT_EQ(renders([&] { owned->SetCaption("again"); }), 1);  // still reporting its changes
    // Each setter into its own layer: layers 1..4 take 9 ticks on both axes, layer 5 keeps 3.
    for (auto set : {&TCustomRChart::SetScale1X, &TCustomRChart::SetScale2X, &TCustomRChart::SetScale3X, &TCustomRChart::SetScale4X}) (chart.*set)(src);
    for (auto set : {&TCustomRChart::SetScale1Y, &TCustomRChart::SetScale2Y, &TCustomRChart::SetScale3Y, &TCustomRChart::SetScale4Y}) (chart.*set)(srcY);
    for (int L = 1; L <= 5; ++L) EXPECT_EQ(chart.GetScalePropsX(L)->MinTicks() + chart.GetScalePropsY(L)->MinTicks(), L <= 4 ? 18 : 6) << L;

    // No picture, no grid: the data area left of x = 5 (pixel 155 of x 2..8) in the area colour.
    QApplication::processEvents();
    chart.SetGridStyle(gsNone);
    TBakGndImg bg;
    bg.SetAreaMode(bamLeft);
    bg.SetAreaColor(clRed);
    bg.SetAreaLeft(5);
    chart.SetAutoRedraw(true);
    EXPECT_EQ(renders([&] { chart.SetBackGroundImg(bg); }), 1);
    EXPECT_EQ(std::pair(charttest::At(chart.Picture(), 154, 100), charttest::At(chart.Picture(), 155, 100)), std::pair(clRed, clAqua));
}

// A focused chart keeps the arrow keys and Tab: they reach its key handler, are taken, and the
// focus stays; other keys are not taken.
TEST(RChartProps, FocusedChartKeepsArrowsAndTab)
{
    struct KeyChart : TRChart {
        std::vector<int> Keys;
        void keyPressEvent(QKeyEvent* event) override { Keys.push_back(event->key()); TRChart::keyPressEvent(event); }
    };
    QWidget window;
    auto* chart = new KeyChart;
    chart->setParent(&window);
    new QLineEdit(&window);  // where Tab would move the focus
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    chart->setFocus();
    const std::vector<int> keys = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_A};
    for (int key : keys) {
        QKeyEvent event(QEvent::KeyPress, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        QApplication::sendEvent(chart, &event);
        EXPECT_TRUE(event.isAccepted() == (key != Qt::Key_A) && chart->hasFocus()) << key;
    }
    EXPECT_EQ(chart->Keys, keys);
}

}  // namespace
