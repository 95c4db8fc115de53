// The chart's picture, read at pixels worked out from the layout: a 280 x 200 chart with margins
// 50/20/20/40, so the data area covers x 50..260 and y 20..160 (its frame included), x 0..10 at
// 21 px per unit and y 0..100 at 1.4 px per unit. Polylines are recorded through a canvas handed
// in by OnBeforeRenderData.
#include <QApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "ChartTestSupport.h"
#include "controls/RChart.h"

namespace {

using charttest::At;
using charttest::PolylineRecorder;
using charttest::Standard;

// Rows y0..y1 of column x all in colour c.
bool Column(const QImage& im, int x, int y0, int y1, TColor c)
{
    for (int y = y0; y <= y1; ++y)
        if (At(im, x, y) != c)
            return false;
    return true;
}

// The bounding box of the pixels that differ from `background` inside `area`.
QRect Ink(const QImage& im, QRect area, TColor background)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (At(im, x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(RChartRender, TicksAndFrameOfTheBottomAxis)
{
    TRChart chart;
    Standard(chart);
    const QImage im = chart.PaintImage();
    // The long tick of 2 at 50 + 2 * 21 over rows 161..166, the short tick of 2.5 at 102.5
    // (halves to even) over 161..163, the frame's bottom row and left column.
    EXPECT_TRUE(Column(im, 92, 161, 166, clBlack) && Column(im, 102, 161, 163, clBlack));
    EXPECT_NE(At(im, 92, 167), clBlack);
    EXPECT_NE(At(im, 102, 164), clBlack);
    for (int x = 50; x <= 260; ++x)
        ASSERT_EQ(At(im, x, 160), clBlack) << x;
    EXPECT_TRUE(Column(im, 50, 20, 160, clBlack));
    EXPECT_EQ(At(im, 150, 90), clWhite);
    EXPECT_EQ(At(im, 270, 100), FromQColor(ToQColor(clBtnFace)));
}

TEST(RChartRender, ShadowBands)
{
    struct Case { TShadowStyle style; TColor corner; };
    const TColor bak = FromQColor(ToQColor(clBtnFace));
    for (const Case c : {Case{ssBox, clBlack}, Case{ssFlying, bak}}) {
        TRChart chart;
        Standard(chart);
        chart.SetShadowWidth(5);
        chart.SetShadowStyle(c.style);
        chart.SetShadowColor(clRed);
        const QImage im = chart.PaintImage();
        // The box's bottom band starts at (0, 195) and its right band ends at (275, 0): their
        // slanted black ends pass (2, 197) and (277, 2); the flying shadow's square ends leave
        // those pixels in the background of the shadow.
        // The outline at Width - ShadowWidth and Height - ShadowWidth.
        const struct { int x, y; TColor c; } pixels[] = {
            {2, 197, c.corner}, {277, 2, c.corner}, {150, 197, clRed}, {277, 100, clRed},
            {275, 100, clBlack}, {150, 195, clBlack}};
        for (const auto& p : pixels)
            EXPECT_EQ(At(im, p.x, p.y), p.c) << c.style << " " << p.x << "," << p.y;
    }
}

// The chart caption at its anchor (axes hidden, shadow 5): the text's ink lies in the cell whose
// top-left corner the anchor and alignment give.
TEST(RChartRender, CaptionAnchors)
{
    struct Case { TCaptionAnchorHoriz h; TCaptionAnchorVert v; TAlignment align; int posY; int left, top; };
    TRChart probe;
    QImage device(1, 1, QImage::Format_RGB32);
    const QFontMetrics fm(probe.font(), &device);
    const int tw = fm.horizontalAdvance("HHH"), th = fm.height();
    const Case cases[] = {
        {cahControlLeft, cavControlTop, taLeftJustify, 0, 0, 0},
        {cahChartLeft, cavControlTop, taLeftJustify, 0, 50, 0},
        {cahChartCenter, cavControlTop, taCenter, 0, 50 + 102 - tw / 2, 0},
        {cahChartRight, cavChartTop, taRightJustify, -16, 255 - tw, 4},
        {cahControlRight, cavControlTop, taRightJustify, 0, 280 - tw, 0},
        {cahControlLeft, cavChartCenter, taLeftJustify, 0, 0, 20 + 67},
        {cahControlLeft, cavChartBottom, taLeftJustify, 0, 0, 160},  // Height - BRim: no shadow taken off
    };
    for (const Case& c : cases) {
        TRChart chart;
        Standard(chart);
        chart.GetScalePropsX1()->SetVisible(false);
        chart.GetScalePropsY1()->SetVisible(false);
        const TColor face = FromQColor(ToQColor(clBtnFace));
        chart.SetShadowWidth(5);
        chart.SetShadowColor(face);
        chart.SetChartColor(face);  // the data area blends in: only the caption shows
        chart.SetChartFrameColor(face);
        chart.SetCaption("HHH");
        chart.SetCaptionAnchorHoriz(c.h);
        chart.SetCaptionAnchorVert(c.v);
        chart.SetCaptionAlignment(c.align);
        chart.SetCaptionPosY(c.posY);
        const QImage im = chart.PaintImage();
        const QRect cell(c.left, c.top, tw, th);
        const QRect ink = Ink(im, cell.adjusted(-6, -6, 6, 6) & QRect(1, 1, 274, 194), face);
        SCOPED_TRACE(testing::Message() << c.h << "/" << c.v);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(cell.contains(ink)) << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
        EXPECT_LE(ink.left(), cell.left() + 3);
    }
}

// 450 line-to items after a move: polylines of 200, 200 and 53 vertices, each starting where the
// one before ended.
TEST(RChartRender, LineToRunsBecomePolylinesOf200Vertices)
{
    TRChart chart;
    Standard(chart, 0, 450, 0, 100);
    chart.MoveTo(0, 50);
    for (int i = 1; i <= 450; ++i)
        chart.DrawTo(i, 50 + i % 7);
    PolylineRecorder rec(chart);
    chart.PaintImage();
    const auto& p = rec.canvas.Polylines;
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(std::tuple(p[0].size(), p[1].size(), p[2].size()), std::tuple(200u, 200u, 53u));
    EXPECT_EQ(p[1].front(), p[0].back());
    EXPECT_EQ(p[2].front(), p[1].back());
    // The last point (450, 50 + 450 mod 7 = 52) in the data bitmap: (210, 140 - 52 * 1.4 = 67.2).
    EXPECT_EQ(p[2].back(), QPoint(210, 67));
}

// Where runs end and start: a hidden item or one without a pixel does not end a run; a mark
// ends it and the next run starts at the last line-to point; a separate line does not move the
// start; a colour change ends the run.
TEST(RChartRender, PolylineRunsAroundOtherItems)
{
    TRChart chart;
    Standard(chart);
    auto pix = [&](double x, double y) {
        int px = 0, py = 0;
        chart.R2M(1, x, y, px, py);
        return QPoint(px - 50, py - 20);
    };
    chart.SetClassVisible(5, false);
    chart.MoveTo(1, 10);
    chart.DrawTo(2, 20);
    chart.SetClassDefault(5);
    chart.DrawTo(3, 90);  // hidden
    chart.SetClassDefault(0);
    chart.DrawTo(std::nan(""), 30);  // no pixel
    chart.DrawTo(4, 40);
    chart.MarkAt(9, 90, 1);
    chart.DrawTo(5, 50);
    chart.Line(1, 1, 9, 9);
    chart.DrawTo(6, 60);
    chart.SetDataColor(clRed);
    chart.DrawTo(7, 70);
    PolylineRecorder rec(chart);
    chart.PaintImage();
    const std::vector<std::vector<QPoint>> expect = {
        {pix(1, 10), pix(2, 20), pix(4, 40)},
        {pix(4, 40), pix(5, 50)},
        {pix(5, 50), pix(6, 60)},
        {pix(6, 60), pix(7, 70)},
    };
    EXPECT_EQ(rec.canvas.Polylines, expect);
}

TEST(RChartRender, ItemShapes)
{
    TRChart chart;
    Standard(chart);
    chart.SetDataColor(clRed);
    chart.SetFillColor(clLime);
    chart.Rectangle(1, 90, 1.01, 90.1);  // both corners on pixel (71, 34): that pixel alone
    chart.Rectangle(8, 80, 9, 70);       // corners (218, 48) and (239, 62): covers both
    chart.Bar3D(2, 20, 4, 60, 10, 135);  // front x 92..134, y 76..132
    const QImage im = chart.PaintImage();
    // The bar at 135 degrees, depth 10: dx = dy = -7; its side face (x 85..92) lies left of the
    // front, its top face (y 69..76) above it, nothing right of the front.
    const struct { int x, y; TColor c; } pixels[] = {
        {71, 34, clRed},    {72, 34, clWhite},   {218, 48, clRed}, {239, 62, clRed}, {240, 55, clWhite},
        {228, 55, clLime},  {113, 100, clLime},  {88, 100, clLime}, {84, 100, clWhite}, {110, 72, clLime},
        {110, 68, clWhite}, {137, 100, clWhite}};
    for (const auto& p : pixels)
        EXPECT_EQ(At(im, p.x, p.y), p.c) << p.x << "," << p.y;
}

// A logarithmic x axis 3..1000 with GridDx -2: lines at 5, 10, 20, 50, 100, 200, 500.
TEST(RChartRender, LogGridInTheOneTwoFiveSeries)
{
    TRChart chart;
    Standard(chart, 3, 1000);
    chart.GetScalePropsX1()->SetLogarithmic(true);
    chart.SetGridStyle(gsVertLines);
    chart.SetGridColor(clRed);
    chart.SetGridDx(-2);
    const QImage im = chart.PaintImage();
    std::vector<int> red;
    for (int x = 51; x < 260; ++x)
        if (At(im, x, 90) == clRed)
            red.push_back(x);
    std::vector<int> expect;  // 50 + 210 ln(v / 3) / ln(1000 / 3)
    for (double v : {5, 10, 20, 50, 100, 200, 500})
        expect.push_back(static_cast<int>(std::lround(50 + 210 * std::log(v / 3) / std::log(1000.0 / 3))));
    EXPECT_EQ(red, expect);
    EXPECT_TRUE(Column(im, expect[0], 21, 159, clRed));
}

// A two-line label placed by pixels with its bottom at 100: the lines' tops at 100 - 2 th and
// 100 - th.
TEST(RChartRender, TwoLineTextLabel)
{
    TRChart chart;
    Standard(chart);
    TTextLabel& label = chart.TextLabels(1);
    label.SetCaption("Hb\nHd");
    label.SetAttachToData(tlamNone);
    label.SetMode(tlsimple);
    label.SetTransparent(true);
    label.SetPosX(150);
    label.SetPosY(100);
    label.SetVisible(true);
    const QImage im = chart.PaintImage();
    QImage device(1, 1, QImage::Format_RGB32);
    const int th = QFontMetrics(label.Font().Font, &device).height();
    const QRect column(130, 100 - 2 * th - 10, 40, 2 * th + 20);
    const QRect first = Ink(im, QRect(130, 100 - 2 * th, 40, th), clWhite);
    const QRect second = Ink(im, QRect(130, 100 - th, 40, th), clWhite);
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_EQ(Ink(im, column, clWhite), first | second);  // nothing above or below the two cells
    EXPECT_EQ(first.left(), second.left());
}

// A cross-hair on the data area's edge (widened by half its width) is not drawn in that
// direction.
TEST(RChartRender, CrossHairAtTheDataEdge)
{
    struct Case { double x, y; int width; bool vertical, horizontal; };
    const Case cases[] = {
        {0, 50, 1, false, true},   // x on the left edge (50)
        {0.1, 50, 1, true, true},  // 52
        {0.05, 50, 3, false, true},  // 51 = 50 + 3 div 2
        {5, 100, 1, true, false},  // y on the top edge (20)
        {10, 0, 1, false, false},  // both edges
    };
    for (const Case& c : cases) {
        TRChart chart;
        Standard(chart);
        TCrossHair& ch = chart.CrossHair(2);
        ch.SetLayer(1);
        ch.SetColor(clBlue);
        ch.SetLineWid(c.width);
        ch.SetMode(chBoth);
        ch.SetPosX(c.x);
        ch.SetPosY(c.y);
        const QImage im = chart.PaintImage();
        int sx = 0, sy = 0;
        chart.R2M(1, c.x, c.y, sx, sy);
        const int h = c.width / 2;
        EXPECT_EQ(At(im, sx, 120) == clBlue, c.vertical) << c.x;
        EXPECT_EQ(At(im, 200, sy) == clBlue, c.horizontal) << c.y;
        if (c.vertical) {
            EXPECT_TRUE(Column(im, sx, 20 + h + 1, 159 - h, clBlue));
        }
    }
}

// An item far outside the data area is drawn as a line towards its clamped pixel; values that
// are not finite draw nothing and stop nothing.
TEST(RChartRender, FarAndNonFiniteItems)
{
    const double inf = std::numeric_limits<double>::infinity();
    TRChart chart;
    Standard(chart);
    chart.SetDataColor(clRed);
    chart.MoveTo(5, 50);
    chart.DrawTo(1e12, 50);  // to (30000, 90)
    chart.MoveTo(0, 0);
    chart.DrawTo(5, -1e12);  // to (155, 30000): off the bottom
    chart.Line(-inf, 0, 5, 5);
    chart.Rectangle(0, 0, std::nan(""), 10);
    chart.MarkAt(inf, inf, 26);
    chart.Bar3D(1, 1, 2, 2, 2147483647, 90);
    chart.Bar3D(1, 1, 2, 2, -2147483647 - 1, 45);
    const QImage im = chart.PaintImage();
    for (int x = 155; x < 260; ++x)
        ASSERT_EQ(At(im, x, 90), clRed) << x;
    EXPECT_EQ(At(im, 155, 89), clWhite);
}

// A background file that cannot be read is dropped inside the render; the repaint that asks
// for runs after it, with no second painter on a bitmap in use.
TEST(RChartRender, FailedBackgroundRepaintsAfterTheRender)
{
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler old = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
        if (type != QtDebugMsg)
            warnings << m;
    });
    TRChart chart;
    Standard(chart);
    chart.SetChartColor(clYellow);
    chart.BackGroundImg().SetIncludePath(true);
    chart.BackGroundImg().SetName("/nonexistent/background.bmp");
    const int before = chart.FullRenderCount();
    const QImage im = chart.PaintImage();
    qInstallMessageHandler(old);
    EXPECT_EQ(chart.BackGroundImg().Name(), "");
    EXPECT_EQ(chart.FullRenderCount() - before, 2);
    EXPECT_EQ(At(im, 150, 90), clYellow);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join("\n").toStdString();
}

// ShowGraf on a shown chart only asks for the data area: 100 calls cost one render, and the
// picture is the one a full paint gives.
TEST(RChartRender, ShowGrafDefersTheDataAreaToThePaint)
{
    TRChart chart;
    Standard(chart);
    chart.show();
    QApplication::processEvents();
    chart.MoveTo(0, 0);
    const int full = chart.FullRenderCount(), data = chart.DataRenderCount();
    for (int i = 1; i <= 100; ++i) {
        chart.DrawTo(i / 10.0, 50 + 40 * std::sin(i / 5.0));
        chart.ShowGraf();
    }
    EXPECT_EQ(chart.DataRenderCount(), data);
    EXPECT_EQ(chart.LastElemOnShow(), 100);
    QApplication::processEvents();
    EXPECT_EQ(chart.DataRenderCount(), data + 1);
    EXPECT_EQ(chart.FullRenderCount(), full);
    EXPECT_EQ(chart.PaintImage(), chart.Picture());  // a full render of the same state
}

}  // namespace
