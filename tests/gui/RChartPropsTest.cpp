// The chart's properties: the axes of the higher layers, the seven standard layouts, the setters'
// rules (store only, repaint with AutoRedraw, always repaint for axis settings) and their limits,
// settings replaced as a whole, and the keys a focused chart keeps.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

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

// How many full renders a change of a shown chart causes.
template <class Change>
int FullRenders(TCustomRChart& chart, Change change)
{
    const int before = chart.FullRenderCount();
    change();
    QApplication::processEvents();
    return chart.FullRenderCount() - before;
}

// The three setter rules on a shown chart: item attributes only store; style properties repaint
// with AutoRedraw; axis settings always repaint.
TEST(RChartProps, WhichSettersRepaint)
{
    TRChart chart;
    chart.show();
    QApplication::processEvents();
    auto renders = [&](auto change) { return FullRenders(chart, change); };
    EXPECT_EQ(renders([&] { chart.SetDataColor(clRed); chart.SetFillColor(clRed); chart.SetClassDefault(3); }), 0);
    EXPECT_EQ(renders([&] { chart.SetChartColor(clYellow); chart.SetGridStyle(gsLines); }), 1);
    chart.SetAutoRedraw(false);
    EXPECT_EQ(renders([&] { chart.SetChartColor(clAqua); }), 0);
    EXPECT_EQ(renders([&] { chart.GetScalePropsX1()->SetCaption("s"); }), 1);
    chart.SetAutoRedraw(true);
    EXPECT_EQ(renders([&] { chart.SetSuppressPaint(true); chart.SetCaption("x"); }), 0);
    EXPECT_EQ(renders([&] { chart.SetSuppressPaint(false); }), 1);
}

// Axis settings replaced as a whole: the chart keeps its own objects, takes every setting, and
// lays out (hidden scale, mapping, joined layers) and repaints as after one axis setting.
TEST(RChartProps, ReplacedAxisSettings)
{
    TRChart chart;
    chart.show();
    QApplication::processEvents();
    chart.SetAutoRedraw(false);  // axis settings repaint regardless
    chart.JointLayers().SetControlledLayerX(3, 2);
    TScalePropsHoriz* owned = chart.GetScalePropsX2();
    TScalePropsHoriz src;
    src.SetScaleLocation(slTop);
    src.SetRangeHigh(8);
    src.SetRangeLow(2);
    src.SetCaption("Hz");
    src.SetColorScale(clRed);
    src.SetDecPlaces(1);
    src.SetVisible(true);
    EXPECT_EQ(FullRenders(chart, [&] { chart.SetScale2X(src); }), 1);
    src.SetCaption("later");  // a copy, not the given object
    EXPECT_EQ(chart.GetScalePropsX2(), owned);
    EXPECT_EQ(std::tuple(owned->ScaleLocation(), owned->ScaleType(), owned->RangeLow(), owned->RangeHigh(), owned->Caption(),
                         owned->ColorScale(), owned->DecPlaces(), owned->Visible()),
              std::tuple(slTop, sctXB, 2.0, 8.0, QString("Hz"), clRed, 1, true));
    EXPECT_EQ(std::pair(chart.HelperScaleX(2).Caption(), chart.HelperScaleX(2).RangeLow()), std::pair(QString("Hz"), 2.0));
    int x = 0, y = 0;
    chart.R2M(2, 8, 0, x, y);
    EXPECT_EQ(x, 260);  // the right edge of the data area
    EXPECT_EQ(std::pair(chart.GetScalePropsX(3)->RangeLow(), chart.GetScalePropsX(3)->RangeHigh()), std::pair(2.0, 8.0));
    EXPECT_EQ(FullRenders(chart, [&] { owned->SetCaption("again"); }), 1);  // the owned object still reports

    // Each setter replaces its own layer's axis.
    const struct { void (TCustomRChart::*set)(const TScalePropsHoriz&); int layer; } xs[] = {
        {&TCustomRChart::SetScale1X, 1}, {&TCustomRChart::SetScale2X, 2}, {&TCustomRChart::SetScale3X, 3}, {&TCustomRChart::SetScale4X, 4}};
    const struct { void (TCustomRChart::*set)(const TScalePropsVert&); int layer; } ys[] = {
        {&TCustomRChart::SetScale1Y, 1}, {&TCustomRChart::SetScale2Y, 2}, {&TCustomRChart::SetScale3Y, 3}, {&TCustomRChart::SetScale4Y, 4}};
    for (const auto& c : xs) {
        src.SetCaption("x" + QString::number(c.layer));
        (chart.*c.set)(src);
    }
    TScalePropsVert srcY;
    srcY.SetScaleLocation(slRight);
    for (const auto& c : ys) {
        srcY.SetCaption("y" + QString::number(c.layer));
        (chart.*c.set)(srcY);
    }
    for (int L = 1; L <= 5; ++L) {
        EXPECT_EQ(chart.GetScalePropsX(L)->Caption(), L <= 4 ? "x" + QString::number(L) : QString()) << L;
        EXPECT_EQ(chart.GetScalePropsY(L)->Caption(), L <= 4 ? "y" + QString::number(L) : QString()) << L;
    }
    EXPECT_EQ(std::pair(chart.GetScalePropsY3()->ScaleLocation(), chart.GetScalePropsY3()->ScaleType()), std::pair(slRight, sctYL));
}

// Joins and background replaced as a whole follow the style rule; followers take their masters'
// ranges at once and keep following.
TEST(RChartProps, ReplacedJoinsAndBackground)
{
    TRChart chart;
    charttest::Standard(chart, 0, 10, 0, 100);
    chart.show();
    QApplication::processEvents();
    auto renders = [&](auto change) { return FullRenders(chart, change); };
    TJointLayers joins(nullptr);
    joins.SetControlledLayerX(3, 1);
    joins.SetControlledLayerY(4, 1);
    EXPECT_EQ(renders([&] { chart.SetJointLayers(joins); }), 1);
    auto range = [&](int L) {
        return std::tuple(chart.GetScalePropsX(L)->RangeLow(), chart.GetScalePropsX(L)->RangeHigh(),
                          chart.GetScalePropsY(L)->RangeLow(), chart.GetScalePropsY(L)->RangeHigh());
    };
    EXPECT_EQ(std::pair(chart.JointLayers().ControlledLayerX(3), chart.JointLayers().ControlledLayerY(4)), std::pair(1, 1));
    EXPECT_EQ(range(3), std::tuple(0.0, 10.0, 0.0, 1.0));
    EXPECT_EQ(range(4), std::tuple(0.0, 1.0, 0.0, 100.0));
    EXPECT_EQ(renders([&] { chart.SetRange(1, 5, 20, 6, 30); }), 1);
    EXPECT_EQ(range(3), std::tuple(5.0, 6.0, 0.0, 1.0));
    EXPECT_EQ(range(4), std::tuple(0.0, 1.0, 20.0, 30.0));
    chart.SetAutoRedraw(false);
    EXPECT_EQ(renders([&] { chart.SetJointLayers(TJointLayers(nullptr)); }), 0);
    EXPECT_EQ(chart.JointLayers().ControlledLayerX(3), 3);

    // The background: every setting taken, the name with its folder as given; without a
    // picture, the data area left of x = 5.5 in the area colour at the next render.
    TBakGndImg bg;
    bg.SetIncludePath(true);
    bg.SetName("/tmp/pictures/sky.bmp");
    bg.SetFillMode(bfTile);
    bg.SetAreaMode(bamLeft);
    bg.SetAreaColor(clRed);
    bg.SetAreaLeft(5.5);
    EXPECT_EQ(renders([&] { chart.SetBackGroundImg(bg); }), 0);
    const TBakGndImg& got = chart.BackGroundImg();
    EXPECT_EQ(std::tuple(got.Name(), got.IncludePath(), got.AreaMode(), got.AreaColor(), got.AreaLeft(), got.FillMode()),
              std::tuple(QString("/tmp/pictures/sky.bmp"), true, bamLeft, clRed, 5.5, bfTile));
    bg.SetName(QString());
    chart.SetAutoRedraw(true);
    EXPECT_EQ(renders([&] { chart.SetBackGroundImg(bg); }), 1);
    const QImage picture = chart.Picture();
    EXPECT_EQ(charttest::At(picture, 100, 100), clRed);   // x = 5.24
    EXPECT_EQ(charttest::At(picture, 200, 100), clWhite);  // x = 5.71
}

// A chart that records the keys reaching its key handler.
class KeyChart : public TRChart {
public:
    std::vector<int> Keys;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        Keys.push_back(event->key());
        TRChart::keyPressEvent(event);
    }
};

// A focused chart keeps the arrow keys and Tab: they reach its key handler, are taken there,
// and the focus stays. The same Tab moves the focus on from a line edit.
TEST(RChartProps, FocusedChartKeepsArrowsAndTab)
{
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* chart = new KeyChart;
    chart->setParent(&window);
    auto* after = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    for (QWidget* w : std::initializer_list<QWidget*>{before, chart, after})
        layout->addWidget(w);
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    auto press = [](QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &event);
        return event.isAccepted();
    };
    before->setFocus();
    press(before, Qt::Key_Tab);
    ASSERT_TRUE(after->hasFocus());  // Tab moves on from other controls (and past the chart)

    chart->setFocus();
    ASSERT_TRUE(chart->hasFocus());
    const struct { int key; Qt::KeyboardModifiers mods; } keys[] = {{Qt::Key_Left, Qt::NoModifier}, {Qt::Key_Right, Qt::NoModifier},
        {Qt::Key_Up, Qt::NoModifier}, {Qt::Key_Down, Qt::NoModifier}, {Qt::Key_Tab, Qt::NoModifier},
        {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Tab, Qt::ShiftModifier}};
    for (const auto& k : keys) {
        EXPECT_TRUE(press(chart, k.key, k.mods)) << k.key;
        EXPECT_TRUE(chart->hasFocus()) << k.key;
    }
    EXPECT_EQ(chart->Keys, std::vector<int>({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Tab,
                                             Qt::Key_Backtab, Qt::Key_Tab}));
    EXPECT_FALSE(press(chart, Qt::Key_A));  // other keys are not taken
}

}  // namespace
