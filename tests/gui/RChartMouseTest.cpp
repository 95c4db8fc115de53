// The chart's mouse: pan, zoom by dragging, zoom window, cross-hair and label dragging, the zoom
// history, and the position report, on the 280 x 200 chart (x 0..10 over pixels 50..260,
// y 0..100 over 160..20).
#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "ChartTestSupport.h"
#include "controls/RChart.h"

namespace {

using charttest::Standard;

struct Range { double xLo, xHi, yLo, yHi; };

Range RangeOf(TRChart& chart, int layer = 1)
{
    return {chart.GetScalePropsX(layer)->RangeLow(), chart.GetScalePropsX(layer)->RangeHigh(),
            chart.GetScalePropsY(layer)->RangeLow(), chart.GetScalePropsY(layer)->RangeHigh()};
}

void ExpectRange(const Range& r, const Range& e, const char* what)
{
    const double tol = 1e-9 * (std::abs(e.xHi) + std::abs(e.yHi) + 1);
    for (auto end : {&Range::xLo, &Range::xHi, &Range::yLo, &Range::yHi})
        EXPECT_NEAR(r.*end, e.*end, tol) << what;
}

// A left-button drag through the given points: the first move only takes the anchors.
void Drag(TRChart& chart, std::initializer_list<QPoint> points)
{
    const QPoint first = *points.begin();
    chart.MouseDown(mbLeft, ssLeft, first.x(), first.y());
    for (const QPoint p : points)
        chart.MouseMove(ssLeft, p.x(), p.y());
    const QPoint last = *(points.end() - 1);
    chart.MouseUp(mbLeft, 0, last.x(), last.y());
    chart.MouseMove(0, last.x(), last.y());
}

TEST(RChartMouse, PanAndZoomDrags)
{
    struct Case { const char* what; TMouseActMode mode; bool logX; std::initializer_list<QPoint> path; Range expect; };
    const Case cases[] = {
        // 21 px right and 14 px down: the content follows the mouse.
        {"pan", maPan, false, {{150, 90}, {160, 95}, {171, 104}}, {-1, 9, 10, 110}},
        {"pan x only", maPanHoriz, false, {{150, 90}, {171, 104}}, {-1, 9, 0, 100}},
        {"pan y only", maPanVert, false, {{150, 90}, {171, 104}}, {0, 10, 10, 110}},
        // Log 1..1000 over 210 px: 70 px right is a decade down.
        {"log pan", maPan, true, {{150, 90}, {220, 90}}, {0.1, 100, 0, 100}},
        {"pan outside the data area changes nothing", maPan, false, {{150, 90}, {30, 90}}, {0, 10, 0, 100}},
        // 28 px right (a tenth of the width) and 20 px down (a tenth of the height).
        {"zoom drag", maZoomDrag, false, {{150, 90}, {178, 110}}, {0.5, 9.5, -5, 105}},
        {"no action", maNone, false, {{150, 90}, {178, 110}}, {0, 10, 0, 100}},
    };
    for (const Case& c : cases) {
        TRChart chart;
        Standard(chart, c.logX ? 1 : 0, c.logX ? 1000 : 10);
        chart.GetScalePropsX1()->SetLogarithmic(c.logX);
        chart.SetMouseAction(c.mode);
        const int history = chart.ZoomStackPointer();
        Drag(chart, c.path);
        ExpectRange(RangeOf(chart), c.expect, c.what);
        // One history entry per pan or zoom drag, however many moves it had.
        const bool drags = c.mode == maPan || c.mode == maPanHoriz || c.mode == maPanVert || c.mode == maZoomDrag;
        EXPECT_EQ(chart.ZoomStackPointer(), drags ? history % 16 + 1 : history) << c.what;
        if (drags) {
            EXPECT_NEAR(chart.ZoomStack(history, 1).Right, c.expect.xHi, 1e-9) << c.what;
        }
    }
}

TEST(RChartMouse, ZoomWindow)
{
    struct Case { const char* what; TMouseActMode mode; QPoint from, to; Range expect; };
    const Case cases[] = {
        // From (6, 70) to (4, 30): drawn right to left and downwards.
        {"mirrors the axes", maZoomWind, {176, 62}, {134, 118}, {6, 4, 70, 30}},
        {"keeps their direction", maZoomWindPos, {176, 62}, {134, 118}, {4, 6, 30, 70}},
        {"zero width changes nothing", maZoomWind, {176, 62}, {176, 118}, {0, 10, 0, 100}},
        {"the corner is held in the data area", maZoomWind, {176, 62}, {400, 300}, {6, 10, 70, 0}},
    };
    for (const Case& c : cases) {
        TRChart chart;
        Standard(chart);
        chart.SetMouseAction(c.mode);
        const int history = chart.ZoomStackPointer();
        chart.MouseDown(mbLeft, ssLeft, c.from.x(), c.from.y());
        EXPECT_EQ(chart.ZoomState(), zsDrawWin) << c.what;
        chart.MouseMove(ssLeft, c.to.x(), c.to.y());
        chart.MouseUp(mbLeft, 0, c.to.x(), c.to.y());
        EXPECT_EQ(chart.ZoomState(), zsNormal) << c.what;
        ExpectRange(RangeOf(chart), c.expect, c.what);
        EXPECT_EQ(chart.ZoomStackPointer() != history, c.from.x() != c.to.x()) << c.what;
    }
    // A right release closes the window without zooming; a press outside the data area opens none.
    TRChart chart;
    Standard(chart);
    chart.SetMouseAction(maZoomWind);
    chart.MouseDown(mbLeft, ssLeft, 176, 62);
    chart.MouseMove(ssLeft, 134, 118);
    chart.MouseUp(mbRight, 0, 134, 118);
    EXPECT_EQ(chart.ZoomState(), zsNormal);
    ExpectRange(RangeOf(chart), {0, 10, 0, 100}, "right release");
    chart.MouseDown(mbLeft, ssLeft, 20, 62);
    EXPECT_EQ(chart.ZoomState(), zsNormal);
}

// The rubber-band box, started by setting msFirstCorner: the second corner is held in the data
// area (pixels 50..260 x 20..160), a right button cancels, the ranges never change; while drawn the
// box shows by exclusive or on the picture (its left edge through (134, 90)), and goes on release.
TEST(RChartMouse, RubberBandBox)
{
    const struct { TMouseButton press, release; QPoint to; TMouseBoxState state; QPoint corner; } cases[] = {
        {mbLeft, mbLeft, {134, 118}, msFinished, {134, 118}}, {mbLeft, mbLeft, {400, 5}, msFinished, {260, 20}},
        {mbLeft, mbRight, {134, 118}, msNormal, {134, 118}}, {mbRight, mbLeft, {134, 118}, msNormal, {}}};
    for (const auto& c : cases) {
        TRChart chart;
        Standard(chart);
        const QRgb before = chart.grab().toImage().pixel(134, 90);
        chart.MouseBoxState = msFirstCorner;
        chart.MouseDown(c.press, ssLeft, 176, 62);
        chart.MouseMove(ssLeft, c.to.x(), c.to.y());
        EXPECT_EQ(chart.grab().toImage().pixel(134, 90), c.press == mbLeft && c.to.x() == 134 ? before ^ 0x00FFFFFFu : before);
        chart.MouseUp(c.release, 0, c.to.x(), c.to.y());
        EXPECT_EQ(std::pair(chart.MouseBoxState, chart.grab().toImage().pixel(134, 90)), std::pair(c.state, before)) << c.to.x();
        EXPECT_EQ(QRect(QPoint(chart.MouseBoxX1, chart.MouseBoxY1), QPoint(chart.MouseBoxX2, chart.MouseBoxY2)),
                  QRect(c.press == mbLeft ? QPoint(176, 62) : QPoint(), c.corner)) << c.to.x();  // none on a right press
        ExpectRange(RangeOf(chart), {0, 10, 0, 100}, "a box zooms nothing");
    }
}

// Only the layers the mouse affects move; with none, a pan still reports itself.
TEST(RChartMouse, AffectedLayersOnly)
{
    TRChart chart;
    Standard(chart);
    chart.SetRange(2, 0, 0, 10, 100);
    chart.SetMouseAction(maPan);
    chart.SetMouseAffectsLayer(1, false);
    int zoomPans = 0;
    chart.OnZoomPan = [&](TCustomRChart*) { ++zoomPans; };
    Drag(chart, {{150, 90}, {171, 90}});
    ExpectRange(RangeOf(chart, 1), {0, 10, 0, 100}, "layer 1");
    EXPECT_EQ(zoomPans, 1);
    chart.SetMouseAffectsLayer(2, true);
    Drag(chart, {{150, 90}, {171, 90}});
    ExpectRange(RangeOf(chart, 2), {-1, 9, 0, 100}, "layer 2");
    ExpectRange(RangeOf(chart, 1), {0, 10, 0, 100}, "layer 1 still");
}

// Panning a logarithmic axis 1e-100..1e100 by the data width twice: the second step would pass
// the largest double, so the axis stays where the first put it. A data area under one pixel is
// neither panned nor zoomed.
TEST(RChartMouse, PanAndZoomStayFinite)
{
    TRChart chart;
    Standard(chart, 1e-100, 1e100);
    chart.GetScalePropsX1()->SetLogarithmic(true);
    chart.SetMouseAction(maPanHoriz);
    for (const char* step : {"first", "second"}) {
        Drag(chart, {{260, 90}, {50, 90}});
        ExpectRange(RangeOf(chart), {1e100, 1e300, 0, 100}, step);
    }

    TRChart narrow;
    Standard(narrow);
    narrow.resize(70, 200);  // data width 70 - 50 - 20 = 0: only column 50 is inside
    for (TMouseActMode mode : {maPan, maZoomDrag, maZoomWind}) {
        narrow.SetMouseAction(mode);
        narrow.MouseDown(mbLeft, ssLeft, 50, 90);
        narrow.MouseMove(ssLeft, 50, 90);
        narrow.MouseMove(ssLeft, 50, 100);
        narrow.MouseUp(mbLeft, 0, 50, 100);
        ExpectRange(RangeOf(narrow), {0, 10, 0, 100}, "narrow");
    }
}

TEST(RChartMouse, CrossHairPicking)
{
    struct Case { const char* what; TCrossHMode modes[4]; QPoint press; int picked; };
    // Cross-hair 1 at x 2 (column 92), 2 at y 50 (row 90), 3 at (8, 20) = (218, 132), 4 at (5, 50).
    const Case cases[] = {
        {"tie: the earlier one", {chVert, chHoriz, chBoth, chOff}, {94, 88}, 1},
        {"a horizontal line competes down only", {chVert, chHoriz, chBoth, chOff}, {150, 91}, 2},
        {"both lines compete", {chVert, chHoriz, chBoth, chOff}, {217, 20}, 3},
        {"switched off: never", {chOff, chOff, chOff, chOff}, {155, 90}, 1},
        {"the one on the mouse", {chVert, chHoriz, chBoth, chBoth}, {155, 150}, 4},
    };
    const double pos[4][2] = {{2, 0}, {0, 50}, {8, 20}, {5, 50}};
    for (const Case& c : cases) {
        TRChart chart;
        Standard(chart);
        chart.SetMouseAction(maDragCrossH);
        for (int i = 0; i < 4; ++i) {
            TCrossHair& ch = chart.CrossHair(i + 1);
            ch.SetLayer(1);
            ch.SetMode(c.modes[i]);
            ch.SetPosX(pos[i][0]);
            ch.SetPosY(pos[i][1]);
        }
        int moved = 0;
        chart.OnCrossHairMove = [&](TCustomRChart*, int which) { moved = which; };
        Drag(chart, {c.press, {176, 20}});
        EXPECT_EQ(moved, c.picked) << c.what;
        EXPECT_NEAR(chart.CrossHair(c.picked).PosX(), 6, 1e-12) << c.what;
        EXPECT_NEAR(chart.CrossHair(c.picked).PosY(), 100, 1e-12) << c.what;
    }
}

TEST(RChartMouse, TextLabelPicking)
{
    TRChart chart;
    Standard(chart);
    chart.SetMouseAction(maDragLabel);
    struct L { int ix; TTxtLblAttachMode attach; double x, y; bool visible; };
    // Labels 2 and 5 at the same distance from (100, 100): label 2 at pixel (108, 104), label 5
    // at world (2, 40) = pixel (92, 104); label 7 nearer but invisible.
    for (const L& l : {L{2, tlamNone, 108, 104, true}, L{5, tlamBoth, 2, 40, true}, L{7, tlamNone, 100, 100, false}}) {
        TTextLabel& label = chart.TextLabels(l.ix);
        label.SetAttachToData(l.attach);
        label.SetPosX(l.x);
        label.SetPosY(l.y);
        label.SetMode(tlsimple);
        label.SetVisible(l.visible);
    }
    int moved = 0;
    chart.OnTextLabelMove = [&](TCustomRChart*, int which) { moved = which; };
    Drag(chart, {{100, 100}, {120, 62}});
    EXPECT_EQ(moved, 2);
    EXPECT_EQ(std::pair(chart.TextLabels(2).PosX(), chart.TextLabels(2).PosY()), std::pair(120.0, 62.0));  // pixels
    Drag(chart, {{92, 104}, {176, 62}});
    EXPECT_EQ(moved, 5);
    EXPECT_NEAR(chart.TextLabels(5).PosX(), 6, 1e-12);  // world units
    EXPECT_NEAR(chart.TextLabels(5).PosY(), 70, 1e-12);
}

// The position report through Qt's mouse messages: over the margins InChart is False and the
// world values lie beyond the range; the last position inside stays readable.
TEST(RChartMouse, PositionReport)
{
    TRChart chart;
    Standard(chart);
    struct Report { bool inChart; double x, y; };
    std::vector<Report> reports;
    chart.OnMouseMoveInChart = [&](TCustomRChart*, bool in, TShiftState, double x, double y) { reports.push_back({in, x, y}); };
    // The edges 50, 260, 20 and 160 belong to the data area; one pixel beyond each, one at a time,
    // does not.
    const struct { QPoint p; bool in; } moves[] = {
        {{155, 90}, true}, {{20, 90}, false}, {{50, 20}, true},  {{49, 90}, false},  {{261, 90}, false},
        {{155, 19}, false}, {{155, 161}, false}, {{260, 160}, true}};
    for (const auto& m : moves) {
        QMouseEvent move(QEvent::MouseMove, m.p, chart.mapToGlobal(m.p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&chart, &move);
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.back().inChart, m.in) << m.p.x() << "," << m.p.y();
    }
    EXPECT_EQ(std::pair(reports[0].x, reports[0].y), std::pair(5.0, 50.0));
    EXPECT_NEAR(reports[1].x, -30.0 / 21, 1e-12);  // world values beyond the range over the margin
    EXPECT_EQ(std::pair(chart.MousePosX(), chart.MousePosY()), std::pair(10.0, 0.0));
}

}  // namespace
