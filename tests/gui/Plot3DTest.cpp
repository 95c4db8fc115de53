// TPlot3D: setters, the rotation matrix and projection worked by hand at X 60, Z 15 (R11
// 0.965926, R12 -0.258819, R21 0.129410, R22 0.482963, R23 -0.866025 on the 650 x 500 control,
// centre (325, 250)), painting order, colour coding, box shading, axes, the mouse modes and the
// cell under the pointer.
#include "controls/Plot3D.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Box point (x, y, z) on the default control at X 60, Z 15, from the matrix worked by hand.
QPoint Hand(double x, double y, double z)
{
    return {static_cast<int>(std::nearbyint(x * 0.965926 + y * -0.258819 + 325)),
            static_cast<int>(std::nearbyint(x * 0.129410 + y * 0.482963 + z * -0.866025 + 250))};
}

// The box corner k: x = bit 2, y = bit 1, z = bit 0 of k.
QPoint HandCorner(int k) { return Hand(k & 4 ? 150 : -150, k & 2 ? 150 : -150, k & 1 ? 150 : -150); }

QColor At(const QImage& im, QPoint p) { return QColor(im.pixel(p)); }

// A grid of nc x nr zeros, painting held while it is filled.
void Grid(TPlot3D& plot, int nc, int nr, double value = 0.0)
{
    plot.SetSuppressPaint(true);
    plot.GridMat.Resize(nc, nr);
    plot.GridMat.Fill(value);
    plot.SetSuppressPaint(false);
}

struct Mouse {
    TPlot3D& plot;
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, QPointF(at), plot.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&plot, &e);
    }
    void Press(QPoint at, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonPress, at, b, b); }
    void Move(QPoint at, Qt::MouseButtons held = Qt::NoButton) { Send(QEvent::MouseMove, at, Qt::NoButton, held); }
    void Release(QPoint at, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, at, b, Qt::NoButton); }
    void Drag(QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton)
    {
        Press(from, b);
        Move(to, b);
        Release(to, b);
    }
};

// Each setter's wrap, refusal or limit, the last value taken and the first refused together.
TEST(Plot3D, SetterEdgeCases)
{
    TPlot3D plot;
    auto steps = [&](const char* what, auto set, auto get, std::initializer_list<std::pair<double, double>> list) {
        for (const auto& [in, out] : list) {
            (plot.*set)(in);
            EXPECT_DOUBLE_EQ((plot.*get)(), out) << what << " " << in;
        }
    };
    steps("ViewAngleX", &TPlot3D::SetViewAngleX, &TPlot3D::ViewAngleX, {{360, 0}, {-30, 330}, {725, 5}, {kNaN, 5}});
    steps("ViewAngleZ", &TPlot3D::SetViewAngleZ, &TPlot3D::ViewAngleZ, {{-30, 330}});
    steps("RangeZHigh", &TPlot3D::SetRangeZHigh, &TPlot3D::RangeZHigh, {{5, 5}});
    steps("RangeZLow at high 5", &TPlot3D::SetRangeZLow, &TPlot3D::RangeZLow, {{5, 4}, {kNaN, 4}});
    steps("RangeZHigh at low 4", &TPlot3D::SetRangeZHigh, &TPlot3D::RangeZHigh, {{4, 5}});
    steps("RangeXLow above high", &TPlot3D::SetRangeXLow, &TPlot3D::RangeXLow, {{3, 3}});
    steps("Magnification", &TPlot3D::SetMagnification, &TPlot3D::Magnification,
          {{0.0005, 0.001}, {0.001, 0.001}, {100, 100}, {100.5, 100}, {kNaN, 100}});
    steps("ScaleFactX", &TPlot3D::SetScaleFactX, &TPlot3D::ScaleFactX, {{2, 2}, {kNaN, 2}});
    steps("ScaleFactY", &TPlot3D::SetScaleFactY, &TPlot3D::ScaleFactY, {{kInf, 1}});
    steps("MinTickX", &TPlot3D::SetMinTickX, &TPlot3D::MinTickX, {{1, 2}, {2, 2}, {20, 20}, {21, 20}});
    steps("DecPlaceZ", &TPlot3D::SetDecPlaceZ, &TPlot3D::DecPlaceZ, {{-3, -2}, {-2, -2}, {12, 12}, {13, 12}});
    steps("ColorScaleHigh", &TPlot3D::SetColorScaleHigh, &TPlot3D::ColorScaleHigh, {{0, 100}});
    steps("ColorScaleLow", &TPlot3D::SetColorScaleLow, &TPlot3D::ColorScaleLow, {{100, 0}, {kNaN, 0}});
    steps("ColorScaleHigh", &TPlot3D::SetColorScaleHigh, &TPlot3D::ColorScaleHigh, {{50, 50}});
    // Centres -Width..2 Width and -Height..2 Height (650 x 500).
    steps("CentX", &TPlot3D::SetCentX, &TPlot3D::CentX, {{1300, 1300}, {1301, 1300}, {-650, -650}, {-651, -650}});
    steps("CentY", &TPlot3D::SetCentY, &TPlot3D::CentY, {{-500, -500}, {-501, -500}, {1000, 1000}, {1001, 1000}});
    // Equal z ends are widened by 0.5 each way: Zk = 300 / 1, Zd = -150 - Zk * low.
    plot.SetRange(-1, 1, -1, 1, 5, 5);
    EXPECT_EQ(std::tuple(plot.RangeZLow(), plot.RangeZHigh(), plot.CalibZk(), plot.CalibZd()),
              std::tuple(4.5, 5.5, 300.0, -150 - 300 * 4.5));
    plot.SetRange(kNaN, 1, -1, 1, 0, 2);  // refused as a whole
    EXPECT_EQ(plot.RangeZLow(), 4.5);
    plot.Reset();
    EXPECT_EQ(std::tuple(plot.CentX(), plot.CentY(), plot.ViewAngleX(), plot.ViewAngleZ(), plot.Magnification(),
                         plot.ScaleFactX()),
              std::tuple(325, 250, 66.0, 135.0, 1.0, 1.0));
}

TEST(Plot3D, SettersPaintOnceEachAndNotWhileSuppressed)
{
    TPlot3D plot;
    plot.show();
    const int start = plot.PaintCount();
    plot.SetViewAngleX(30);
    EXPECT_EQ(plot.PaintCount(), start + 1);
    plot.SetViewAngleX(30);  // the current value again: nothing
    plot.SetColorScaleHigh(0);  // refused: nothing
    plot.SetMinTickX(3);
    EXPECT_EQ(plot.PaintCount(), start + 1);
    plot.SetSuppressPaint(true);
    for (int i = 1; i <= 10; ++i) plot.GridMat.Resize(i, 3);
    plot.SetViewAngleZ(40);
    EXPECT_EQ(plot.PaintCount(), start + 1);
    plot.SetSuppressPaint(false);
    EXPECT_EQ(plot.PaintCount(), start + 2);
    EXPECT_EQ(plot.ProjMapX.NrOfColumns(), 10);
}

TEST(Plot3D, RotationMatrixWorkedByHand)
{
    TPlot3D plot;
    const double expected[3][3] = {{0.965926, -0.258819, 0}, {0.129410, 0.482963, -0.866025}, {0.224144, 0.836516, 0.5}};
    for (int i = 1; i <= 3; ++i) {
        for (int k = 1; k <= 3; ++k) EXPECT_NEAR(plot.RotMat(i, k), expected[i - 1][k - 1], 5e-7) << i << k;
    }
    plot.SetViewAngleX(90);  // cos 90 degrees is not exactly 0 in doubles: set to 0
    EXPECT_EQ(plot.RotMat(3, 3), 0.0);
    EXPECT_EQ(plot.RotMat(2, 2), 0.0);
}

TEST(Plot3D, TwoByTwoGridProjectsToTheHandWorkedCorners)
{
    TPlot3D plot;
    Grid(plot, 2, 2);
    plot.SetColorLow(RGB(0, 160, 0));
    const QImage im = plot.PaintImage();
    const struct {
        int col, row;
        QPoint at;
        int rank;
    } corners[] = {{1, 1, {219, 158}, 1}, {2, 1, {509, 197}, 2}, {2, 2, {431, 342}, 4}, {1, 2, {141, 303}, 3}};
    for (const auto& c : corners) {
        EXPECT_EQ(QPoint(plot.ProjMapX.GetVal(c.col, c.row), plot.ProjMapY.GetVal(c.col, c.row)), c.at)
            << c.col << "," << c.row;
        EXPECT_EQ(Hand(c.col == 1 ? -150 : 150, c.row == 1 ? -150 : 150, 0), c.at);
        EXPECT_EQ(plot.ProjMapZ.GetVal(c.col, c.row), c.rank);
    }
    EXPECT_EQ(At(im, {325, 250}), QColor(0, 160, 0));  // the cell's colour (value 0: ColorLow)
    EXPECT_EQ(At(im, {219, 158}), QColor(Qt::black));  // its outline in ColorMesh

    plot.GridMat.SetVal(1, 1, 1.0);  // z = 150: straight up by 150 sin 60
    plot.PaintImage();
    EXPECT_EQ(QPoint(plot.ProjMapX.GetVal(1, 1), plot.ProjMapY.GetVal(1, 1)), QPoint(219, 28));
    EXPECT_EQ(Hand(-150, -150, 150), QPoint(219, 28));
    EXPECT_EQ(std::pair(plot.MinZ(), plot.MaxZ()), std::pair(0.0, 1.0));
}

TEST(Plot3D, CellsArePaintedFromFarToNear)
{
    using Order = std::vector<std::pair<int, int>>;
    const struct { double x, z; Order order; } cases[] = {
        {60, 15, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},    // rows and columns rising
        {60, 135, {{1, 2}, {2, 2}, {1, 1}, {2, 1}}},   // rows falling
        {200, 15, {{2, 2}, {1, 2}, {2, 1}, {1, 1}}},   // rows and columns falling
    };
    for (const auto& c : cases) {
        TPlot3D plot;
        Grid(plot, 3, 3);
        plot.SetViewAngleX(c.x);
        plot.SetViewAngleZ(c.z);
        Order painted;
        plot.OnBeforeRenderPolygon = [&](TPlot3D*, oxw::platform::Canvas&, bool&, int cx, int cy, const TQuad&,
                                         TColor&) { painted.emplace_back(cx, cy); };
        plot.PaintImage();
        EXPECT_EQ(painted, c.order) << c.x << "/" << c.z;
    }
}

TEST(Plot3D, ColourCodingAtTheEndsAndTheMiddle)
{
    TPlot3D plot;
    plot.SetColorLow(RGB(0, 0, 0));
    plot.SetColorMid(RGB(0, 0, 200));
    plot.SetColorHigh(RGB(255, 255, 0));
    const struct { TColorCodingMode mode; double v; TColor expected; } cases[] = {
        {ccmTwoColors, 0, RGB(0, 0, 0)},        {ccmTwoColors, 100, RGB(255, 255, 0)},
        {ccmTwoColors, 50, RGB(128, 128, 0)},   // 127.5 rounds to the even 128
        {ccmTwoColors, -20, RGB(0, 0, 0)},      {ccmTwoColors, 250, RGB(255, 255, 0)},
        {ccmTwoColors, kNaN, RGB(0, 0, 0)},     {ccmThreeColors, 0, RGB(0, 0, 0)},
        {ccmThreeColors, 50, RGB(0, 0, 200)},   {ccmThreeColors, 100, RGB(255, 255, 0)},
        {ccmThreeColors, 25, RGB(0, 0, 100)},   {ccmThreeColors, 75, RGB(128, 128, 100)},
    };
    for (const auto& c : cases) {
        plot.SetColorCodingMode(c.mode);
        EXPECT_EQ(plot.CalcColorCoding(c.v), c.expected) << c.mode << " " << c.v;
    }
    // On the picture: the top of a 2 x 2 grid at ColorScaleHigh on a z range 0..100.
    plot.SetColorCodingMode(ccmTwoColors);
    plot.SetRange(-1, 1, -1, 1, 0, 100);
    Grid(plot, 2, 2, 100.0);
    const QImage im = plot.PaintImage();
    EXPECT_EQ(At(im, Hand(0, 0, 150)), QColor(255, 255, 0));
    // The mean of the corners instead of their largest value.
    plot.GridMat.SetVal(1, 1, 0.0);
    TColor given = 0;
    plot.OnBeforeRenderPolygon = [&](TPlot3D*, oxw::platform::Canvas&, bool&, int, int, const TQuad&,
                                     TColor& color) { given = color; };
    plot.PaintImage();
    EXPECT_EQ(given, RGB(255, 255, 0));
    plot.SetColorCodeAvg(true);
    plot.PaintImage();
    EXPECT_EQ(given, plot.CalcColorCoding(75));
}

TEST(Plot3D, BoxFacesAreShadedByDepthAndAOneByOneGridPaintsBoxAndAxesOnly)
{
    TPlot3D plot;
    int cells = 0;
    plot.OnBeforeRenderPolygon = [&](TPlot3D*, oxw::platform::Canvas&, bool&, int, int, const TQuad&, TColor&) {
        ++cells;
    };
    const QImage im = plot.PaintImage();
    EXPECT_EQ(cells, 0);
    // Faces f0 (z high), f4 (x high), f1 (y high) meet at the nearest corner 7; their shades fc
    // are 100, 45 and 167 of 200 between 0xC0C0C0 and 0xFEEEEE.
    const struct { int corners[4]; QColor color; } faces[] = {{{1, 5, 7, 3}, QColor(215, 215, 223)},
                 {{4, 5, 7, 6}, QColor(202, 202, 205)},
                 {{2, 3, 7, 6}, QColor(230, 230, 243)}};
    for (const auto& f : faces) {
        QPoint sum;
        for (int k : f.corners) sum += HandCorner(k);
        EXPECT_EQ(At(im, sum / 4), f.color) << f.corners[0];
    }
    // The box frame from the nearest corner 7 (431, 212) straight down to corner 6 (431, 472);
    // the lowered outer frame grey at the top-left, white at the bottom-right.
    EXPECT_EQ(std::pair(HandCorner(7), HandCorner(6)), std::pair(QPoint(431, 212), QPoint(431, 472)));
    for (const auto& [p, c] : {std::pair{QPoint(431, 280), QColor(0x40, 0x40, 0x40)}, {QPoint(0, 100), QColor(0x80, 0x80, 0x80)},
                               {QPoint(649, 100), QColor(Qt::white)}})
        EXPECT_EQ(At(im, p), c) << p.x() << "," << p.y();
    // Values do not matter to a 1 x 1 grid.
    plot.GridMat.SetVal(1, 1, 7.0);
    EXPECT_EQ(plot.PaintImage(), im);
}

TEST(Plot3D, HandledCellsAndCellsThatAreNotFiniteAreNotDrawn)
{
    TPlot3D empty;
    const QImage backdrop = empty.PaintImage();
    const QPoint centre(325, 250);
    for (double bad : {kNaN, kInf, -kInf, 1e308}) {
        TPlot3D plot;
        Grid(plot, 2, 2);
        plot.SetColorLow(RGB(0, 160, 0));
        plot.GridMat.SetVal(2, 2, bad);
        const QImage im = plot.PaintImage();
        EXPECT_EQ(At(im, centre), At(backdrop, centre)) << bad;
        bool over = true;
        plot.OnMouseMoveOverPlot = [&](TPlot3D*, bool o, TPlot3D::TShift, int, int) { over = o; };
        Mouse{plot}.Move(centre);
        EXPECT_FALSE(over) << bad;
    }
    TPlot3D plot;
    Grid(plot, 2, 2);
    plot.SetColorLow(RGB(0, 160, 0));
    plot.OnBeforeRenderPolygon = [](TPlot3D*, oxw::platform::Canvas&, bool& handled, int, int, const TQuad&,
                                    TColor&) { handled = true; };
    EXPECT_EQ(At(plot.PaintImage(), centre), At(backdrop, centre));
    plot.OnBeforeRenderPolygon = [](TPlot3D*, oxw::platform::Canvas&, bool&, int, int, const TQuad&,
                                    TColor& color) { color = RGB(200, 0, 0); };
    EXPECT_EQ(At(plot.PaintImage(), centre), QColor(200, 0, 0));
}

TEST(Plot3D, AxisLabels)
{
    TPlot3D plot;
    std::vector<QString> labels[3];
    plot.OnBeforeDrawScaleLabel = [&](TPlot3D*, oxw::platform::Canvas&, TP3ScaleKind kind, QString& text, int,
                                      int) { labels[kind].push_back(text); };
    plot.SetRange(0, 1, -1, 1, -300000, 300000);
    plot.SetDecPlaceZ(1);
    plot.PaintImage();
    EXPECT_EQ(labels[p3skX], (std::vector<QString>{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
    EXPECT_EQ(labels[p3skY], (std::vector<QString>{"-1.0", "-0.5", "0.0", "0.5", "1.0"}));
    const auto has = [](const std::vector<QString>& list, const char* text) {
        return std::find(list.begin(), list.end(), QString(text)) != list.end();
    };
    EXPECT_TRUE(has(labels[p3skZ], "0.0"));  // zero on a span above 100000, with decimals
    EXPECT_TRUE(has(labels[p3skZ], "200000.0"));
    // A value within 1e-14 of the span is written as 0; on a span above 100000 as "0.0" or "0".
    const struct {
        double t, low, high;
        int m;
        const char* text;
    } cases[] = {{1e-16, 0, 1, 2, "0.00"},          {-1e-16, 0, 1, -1, " 0.0E+0000"},
                 {0.25, 0, 1, 2, "0.25"},           {1e-9, 0, 300000, 2, "0.0"},
                 {1e-9, 0, 300000, 0, "0"},         {1e-10, 0, 100000, 2, "0.00"},
                 {1e-10, 0, 100001, 2, "0.0"},
                 {123456789.5, 0, 1e9, 5, "123456789.5000"}};
    for (const auto& c : cases) EXPECT_EQ(P3AxisLabel(c.t, c.low, c.high, c.m).toStdString(), c.text) << c.t;
    // Hidden axes draw no labels.
    for (auto& l : labels) l.clear();
    plot.SetVisibleXCoords(false);
    plot.SetVisibleZCoords(false);
    plot.PaintImage();
    EXPECT_EQ(std::tuple(labels[p3skX].empty(), labels[p3skY].empty(), labels[p3skZ].empty()), std::tuple(true, false, true));
}

TEST(Plot3D, MouseModes)
{
    const struct {
        const char* name;
        TMouseActMode mode;
        QPoint from, to;
        Qt::MouseButton button;
        double x, z, mag;
        int cx, cy;
    } cases[] = {
        {"rotate: full width left", maRotate, {650, 250}, {0, 250}, Qt::LeftButton, 60, 15, 1, 325, 250},
        {"rotate: half width left", maRotate, {600, 250}, {275, 250}, Qt::LeftButton, 60, 195, 1, 325, 250},
        {"rotate: up", maRotate, {300, 400}, {300, 275}, Qt::LeftButton, 150, 15, 1, 325, 250},
        {"rotate: right button", maRotate, {600, 250}, {275, 250}, Qt::RightButton, 60, 15, 1, 325, 250},
        {"rotate X only: down", maRotXOnly, {300, 275}, {300, 400}, Qt::LeftButton, 150, 15, 1, 325, 250},
        {"rotate X only: up wraps", maRotXOnly, {300, 400}, {300, 0}, Qt::LeftButton, 132, 15, 1, 325, 250},
        {"rotate Z only", maRotZOnly, {600, 100}, {275, 300}, Qt::LeftButton, 60, 195, 1, 325, 250},
        {"zoom", maZoom, {300, 400}, {300, 150}, Qt::LeftButton, 60, 15, 25.99975, 325, 250},
        {"zoom out to the least", maZoom, {300, 0}, {300, 500}, Qt::LeftButton, 60, 15, 0.001, 325, 250},
        {"pan", maPan, {100, 100}, {130, 80}, Qt::LeftButton, 60, 15, 1, 355, 230},
        {"rotate and zoom: left", maRotAndZoom, {300, 400}, {300, 275}, Qt::LeftButton, 150, 15, 1, 325, 250},
        {"rotate and zoom: right", maRotAndZoom, {300, 400}, {300, 150}, Qt::RightButton, 60, 15, 25.99975, 325, 250},
        {"none", maNone, {300, 400}, {100, 150}, Qt::LeftButton, 60, 15, 1, 325, 250},
        {"outside", maPan, {100, 100}, {700, 80}, Qt::LeftButton, 60, 15, 1, 325, 250},
    };
    for (const auto& c : cases) {
        TPlot3D plot;
        plot.SetMouseAction(c.mode);
        int actions = 0;
        plot.OnMouseAction = [&](TPlot3D*, int&, int&, double&, double&, double&, TPlot3D::TShift) { ++actions; };
        Mouse{plot}.Drag(c.from, c.to, c.button);
        EXPECT_NEAR(plot.ViewAngleX(), c.x, 1e-9) << c.name;
        EXPECT_NEAR(plot.ViewAngleZ(), c.z, 1e-9) << c.name;
        EXPECT_NEAR(plot.Magnification(), c.mag, 1e-9) << c.name;
        EXPECT_EQ(std::pair(plot.CentX(), plot.CentY()), std::pair(c.cx, c.cy)) << c.name;
        const bool changed = c.x != 60 || c.z != 15 || c.mag != 1 || c.cx != 325 || c.name == std::string("rotate: full width left");
        EXPECT_EQ(actions, changed ? 1 : 0) << c.name;
    }
    TPlot3D plot;
    plot.SetMouseAction(maZoom);
    plot.SetMagnification(60);
    Mouse{plot}.Drag({300, 500}, {300, 0});
    EXPECT_EQ(plot.Magnification(), 100.0);
}

// The contour view holds the X angle within 0..90 through OnMouseAction and snaps it after each
// release; a second drag must start from where the view is, not from the first drag's anchors.
TEST(Plot3D, DragAnchorsAreTakenWhenTheButtonGoesDown)
{
    TPlot3D plot;
    plot.OnMouseAction = [](TPlot3D*, int&, int&, double& x, double&, double&, TPlot3D::TShift) {
        x = std::clamp(x, 0.0, 90.0);
    };
    Mouse mouse{plot};
    mouse.Drag({300, 300}, {300, 200});  // X 60 + 72 = 132, held at 90
    EXPECT_EQ(plot.ViewAngleX(), 90.0);
    mouse.Press({300, 200});  // no move without a button before
    mouse.Move({300, 240}, Qt::LeftButton);
    EXPECT_NEAR(plot.ViewAngleX(), 90.0 - 40 * 0.72, 1e-9);
    mouse.Release({300, 240});
}

TEST(Plot3D, TheCellUnderThePointer)
{
    TPlot3D plot;
    Grid(plot, 2, 2);
    plot.PaintImage();
    struct Report { bool over; int x, y; } last{true, -1, -1};
    int reports = 0;
    plot.OnMouseMoveOverPlot = [&](TPlot3D*, bool over, TPlot3D::TShift, int x, int y) {
        last = {over, x, y};
        ++reports;
    };
    Mouse mouse{plot};
    mouse.Move({325, 250});
    EXPECT_EQ(std::tuple(last.over, last.x, last.y), std::tuple(true, 1, 1));
    mouse.Move({20, 20});
    EXPECT_EQ(std::tuple(last.over, last.x, last.y, reports), std::tuple(false, 0, 0, 2));

    // Two cells covering the same square: the one of the higher painting rank wins.
    Grid(plot, 3, 2);
    plot.SetSuppressPaint(true);
    const QPoint at[4] = {{0, 0}, {0, 100}, {100, 100}, {100, 0}};
    const int cols[6] = {1, 1, 2, 2, 3, 3}, rows[6] = {1, 2, 2, 1, 2, 1};
    const QPoint spots[6] = {at[0], at[1], at[2], at[3], at[1], at[0]};
    for (int i = 0; i < 6; ++i) {
        plot.ProjMapX.SetVal(cols[i], rows[i], spots[i].x());
        plot.ProjMapY.SetVal(cols[i], rows[i], spots[i].y());
    }
    for (const auto& [rank1, rank2, winner] : {std::tuple{5, 9, 2}, std::tuple{9, 5, 1}}) {
        plot.ProjMapZ.SetVal(1, 1, rank1);
        plot.ProjMapZ.SetVal(2, 1, rank2);
        mouse.Move({50, 50});
        EXPECT_EQ(std::tuple(last.over, last.x, last.y), std::tuple(true, winner, 1));
    }
}

}  // namespace
