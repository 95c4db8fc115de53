// TProgBar: pixels of the bar at positions worked out from the margins, the bar length
// Round(E * q) and the gradient entries InterpolateColor(blue, red, k / 1023).
#include "controls/ProgBar.h"

#include <QColor>

#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "support/TempDir.h"

namespace {

QColor At(const QImage& im, int x, int y) { return QColor(im.pixel(x, y)); }
QColor Rgb(int r, int g, int b) { return QColor(r, g, b); }
const QColor kBlue = Rgb(0, 0, 255), kRed = Rgb(255, 0, 0), kSilver = Rgb(192, 192, 192),
             kGrey = Rgb(128, 128, 128);

// A bar of Value 10 on 0..100, text off; horizontal bars 300 x 28, vertical ones 28 x 300.
struct Bar : TProgBar {
    explicit Bar(TDirection d)
    {
        SetTextVisible(false);
        SetDirection(d);
        if (d == dirUpward || d == dirDownward) resize(28, 300);
    }
};

// Along the bar the area is 4..295 (E = 292 pixels) and the bar 29 pixels long. Positions are
// counted along the direction: `edge` the first bar pixel, step +1 or -1.
struct BarRun { TDirection dir; int edge, step; };
constexpr BarRun kRuns[] = {
    {dirRightward, 4, +1}, {dirLeftward, 295, -1}, {dirDownward, 4, +1}, {dirUpward, 295, -1},
};

QColor AlongBar(const QImage& im, const BarRun& r, int i)
{
    const int pos = r.edge + r.step * i;
    return r.dir == dirRightward || r.dir == dirLeftward ? At(im, pos, 14) : At(im, 14, pos);
}

TEST(ProgBar, PlainBarBetweenTheFramesInEveryDirection)
{
    Bar bar(dirRightward);
    const QImage right = bar.PaintImage();
    EXPECT_EQ(At(right, 4, 14), kGrey);               // the inner frame
    EXPECT_EQ(At(right, 5, 14), QColor(Qt::black));
    EXPECT_EQ(At(right, 32, 14), kBlue);
    EXPECT_EQ(At(right, 33, 14), kSilver);
    EXPECT_EQ(At(right, 0, 14), kGrey);               // the raised outer frame
    EXPECT_EQ(At(right, 1, 14), QColor(Qt::white));
    EXPECT_EQ(At(right, 298, 14), kGrey);
    EXPECT_EQ(At(right, 299, 14), QColor(Qt::black));
    EXPECT_EQ(At(right, 299, 0), kSilver);            // the corner pixels in the margin colour
    EXPECT_EQ(At(right, 0, 27), kSilver);
    for (const BarRun& r : kRuns) {
        Bar b(r.dir);
        const QImage im = b.PaintImage();
        EXPECT_EQ(AlongBar(im, r, 2), kBlue) << r.dir;
        EXPECT_EQ(AlongBar(im, r, 28), kBlue) << r.dir;
        EXPECT_EQ(AlongBar(im, r, 29), kSilver) << r.dir;
    }
}

TEST(ProgBar, GradientEntriesByMapping)
{
    // The last bar pixel (i = 28 of L = 29): stretch Round(28 * 1023 / 29) = 988, cover
    // Round(28 * 1023 / 292) = 98, move 98 + 1023 - 98 = 1023.
    const struct { TColorMapping mode; QColor color; int entry; } cases[] = {
        {cgmStretch, Rgb(246, 0, 8), 988}, {cgmCover, Rgb(24, 0, 230), 98}, {cgmMove, kRed, 1023},
    };
    for (const auto& c : cases) {
        for (const BarRun& r : kRuns) {
            Bar bar(r.dir);
            bar.SetShowColorGradient(true);
            bar.SetColorMapMode(c.mode);
            EXPECT_EQ(QColor::fromRgb(ColorToRGB(bar.BarColors(c.entry))), c.color);
            const QImage im = bar.PaintImage();
            EXPECT_EQ(AlongBar(im, r, 28), c.color) << c.mode << " dir " << r.dir;
            EXPECT_EQ(AlongBar(im, r, 29), kSilver) << c.mode << " dir " << r.dir;
        }
    }
}

// Grid lines every GridDist pixels from the starting edge, from a distance of 2 on.
TEST(ProgBar, GridLinesEveryGridDistFromTheStartingEdge)
{
    const QColor green(Qt::green);
    const struct { TDirection dir; int dist; int along; QColor color; } cases[] = {
        {dirRightward, 5, 9, green}, {dirRightward, 5, 10, kBlue}, {dirRightward, 5, 29, green},
        {dirRightward, 5, 34, kSilver},  // beyond the tip at 33
        {dirRightward, 2, 6, green},     {dirRightward, 2, 7, kBlue},  {dirRightward, 1, 6, kBlue},
        {dirUpward, 5, 290, green},      {dirUpward, 5, 291, kBlue},   // 295 - 5
    };
    for (const auto& c : cases) {
        Bar bar(c.dir);
        bar.SetGridDist(c.dist);
        bar.SetColorGrid(clLime);
        const QImage im = bar.PaintImage();
        EXPECT_EQ(c.dir == dirRightward ? At(im, c.along, 14) : At(im, 14, c.along), c.color)
            << c.dir << " dist " << c.dist << " at " << c.along;
    }
}

TEST(ProgBar, SettersStoreLimitAndPaintAsListed)
{
    TProgBar bar;
    int requests = bar.PaintRequests();
    bar.SetValue(10);  // unchanged: no paint
    bar.SetMarginLeft(4);
    EXPECT_EQ(bar.PaintRequests(), requests);
    bar.SetValue(250);  // no clamping
    EXPECT_EQ(bar.Value(), 250);
    EXPECT_EQ(bar.PaintRequests(), ++requests);
    // Each limit: the last value taken and the first refused (held at the limit), at both ends.
    const struct { const char* what; void (TProgBar::*set)(int); int (TProgBar::*get)() const; int lo, hi; } limits[] = {
        {"DecPlaces", &TProgBar::SetTextDecPlaces, &TProgBar::TextDecPlaces, -2, 10},
        {"Angle", &TProgBar::SetTextAngle, &TProgBar::TextAngle, 0, 360},
        {"PosX", &TProgBar::SetTextPosX, &TProgBar::TextPosX, 0, 300},
        {"PosY", &TProgBar::SetTextPosY, &TProgBar::TextPosY, 0, 28},
    };
    for (const auto& l : limits) {
        for (const auto& [in, kept] : {std::pair{l.lo - 1, l.lo}, {l.lo, l.lo}, {l.hi, l.hi}, {l.hi + 1, l.hi}}) {
            (bar.*l.set)(in);
            EXPECT_EQ((bar.*l.get)(), kept) << l.what << " " << in;
        }
    }
    bar.SetColorMin(clLime);  // entry 1023 stays, 1..1022 between green and red
    EXPECT_EQ(bar.BarColors(0), clLime);
    EXPECT_EQ(bar.BarColors(1023), clRed);
    EXPECT_EQ(bar.BarColors(512), RGB(127, 127, 0));
}

TEST(ProgBar, InterpolateColorPerChannelTruncated)
{
    const struct { double level; TColor color; } cases[] = {
        {0, clBlue}, {1, clRed}, {0.5, RGB(127, 0, 127)}, {-1, clBlue}, {1.25, clRed}, {2, clRed},
        {std::numeric_limits<double>::quiet_NaN(), clBlue},
    };
    for (const auto& c : cases) EXPECT_EQ(InterpolateColor(clBlue, clRed, c.level), c.color) << c.level;
}

TEST(ProgBar, BackgroundThatFailsToLoadLeavesTheNameUnchanged)
{
    oxw::test::TempDir dir("progbar");
    const QString good = QString::fromStdString((dir.Path() / "bg.png").string());
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    ASSERT_TRUE(picture.save(good));
    TProgBar bar;
    bar.SetTextVisible(false);
    bar.SetValue(0);
    bar.SetBackGroundImg(good);
    EXPECT_EQ(bar.BackGroundImg(), good);
    bar.SetBackGroundImg(QString::fromStdString((dir.Path() / "missing.png").string()));
    EXPECT_EQ(bar.BackGroundImg(), good);
    EXPECT_EQ(At(bar.PaintImage(), 150, 14), QColor(Qt::yellow));
    bar.SetBackGroundImg("");
    EXPECT_EQ(bar.BackGroundImg(), "");
    EXPECT_EQ(At(bar.PaintImage(), 150, 14), kSilver);
}

TEST(ProgBar, ValueTextAsStrffWithSwappedExponentForms)
{
    const struct { int decPlaces; double value; QString text; } cases[] = {
        {0, 42, "42"}, {2, 2.5, "2.50"}, {-1, 42, " 4.2E+01"}, {-2, 42, " 4.2E+0001"},
    };
    for (const auto& c : cases) {
        TProgBar bar;
        bar.SetValue(c.value);
        bar.SetTextDecPlaces(c.decPlaces);
        QString shown;
        bar.OnShowValue = [&shown](TProgBar*, QString& text) { shown = text; text = "##"; };
        bar.PaintImage();
        EXPECT_EQ(shown, c.text) << c.decPlaces;
    }
}

// Values far beyond the range fill the whole area with bar in every mapping and direction (huge
// and undefined values in general are swept by the extremes suite); Min = Max shows no bar.
TEST(ProgBar, FullAndEmptyBars)
{
    for (TColorMapping mode : {cgmCover, cgmStretch, cgmMove}) {
        for (const BarRun& r : kRuns) {
            Bar bar(r.dir);
            bar.SetShowColorGradient(true);
            bar.SetColorMapMode(mode);
            bar.SetGridDist(2);
            bar.SetValue(1e300);
            EXPECT_NE(AlongBar(bar.PaintImage(), r, 287), kSilver) << mode << " dir " << r.dir;
        }
    }
    Bar flat(dirRightward);
    flat.SetMax(0);
    EXPECT_EQ(At(flat.PaintImage(), 10, 14), kSilver);
}

}  // namespace
