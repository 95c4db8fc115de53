// TScale: the value-to-pixel mapping and the setters' rules as tables, tick pixels worked out
// from the mapping (400 pixels with margins 20: L = 359, k = 3.59 for 0..100), captions against
// text drawn at their worked-out places, painting onto a foreign canvas.
#include "controls/Scale.h"

#include <QColor>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "ChartTestSupport.h"
#include "platform/Canvas.h"

namespace {

using oxw::platform::Canvas;

TColor At(const QImage& im, int x, int y) { return FromQColor(QColor(im.pixel(x, y))); }
TColor Rgb(TColor c) { return FromQColor(ToQColor(c)); }

// A scale of the given type and size over lo..hi.
struct Scale : TScale {
    Scale(TScaleType type, int w, int h, double lo = 0, double hi = 100)
    {
        SetScaleType(type);
        SetBounds(0, 0, w, h);
        SetRangeLow(lo);
        SetRangeHigh(hi);
    }
};

TEST(Scale, MapsValuesToPixels)
{
    auto logScale = [](TScaleType t, double lo, double hi) {
        auto s = std::make_unique<Scale>(t, 400, 400, lo, hi);
        s->SetLogarithmic(true);
        return s;
    };
    const struct { const char* what; std::unique_ptr<Scale> scale; double v; int pixel; } cases[] = {
        {"0..100: 20 + 3.59 * 20 = 91.8", std::make_unique<Scale>(sctXB, 400, 400), 20, 92},
        {"0..100: the low end", std::make_unique<Scale>(sctXT, 400, 400), 0, 20},
        {"0..100: the high end", std::make_unique<Scale>(sctXB, 400, 400), 100, 379},
        {"0..718: 20.5 to even", std::make_unique<Scale>(sctXB, 400, 400, 0, 718), 1, 20},
        {"0..718: 21.5 to even", std::make_unique<Scale>(sctXB, 400, 400, 0, 718), 3, 22},
        {"log 1..1000: 139.67", logScale(sctXB, 1, 1000), 10, 140},
        {"log: 0 to the start", logScale(sctXB, 1, 1000), 0, 0},
        {"log reversed: 0 to the width", logScale(sctXB, 1000, 1), 0, 400},
        {"vertical: high end at the top", std::make_unique<Scale>(sctYL, 400, 400), 100, 20},
        {"vertical: low end at the bottom", std::make_unique<Scale>(sctYR, 400, 400), 0, 379},
        {"vertical: 20 at 379 - 71.8", std::make_unique<Scale>(sctYL, 400, 400), 20, 307},
        {"vertical log", logScale(sctYL, 1, 1000), 10, 259},
        {"too short: the middle", std::make_unique<Scale>(sctXB, 30, 100), 77, 15},
        {"too short vertically", std::make_unique<Scale>(sctYL, 400, 41), -5, 20},
        {"far beyond", std::make_unique<Scale>(sctXB, 400, 400), 1e300, 2147483647},
        {"far below", std::make_unique<Scale>(sctXB, 400, 400), -1e300, -2147483647},
        {"not a number", std::make_unique<Scale>(sctXB, 400, 400), std::nan(""), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.scale->R2M(c.v), c.pixel) << c.what;
}

TEST(Scale, SetterRules)
{
    Scale s(sctXB, 400, 100);
    s.SetRangeHigh(0);  // equal to the low end: the scale turns round
    EXPECT_EQ(s.RangeLow(), 1.0);
    EXPECT_EQ(s.RangeHigh(), 0.0);
    EXPECT_EQ(s.R2M(1), 20);
    s.SetRangeLow(0);  // equal to the high end: the high end moves up
    EXPECT_EQ(s.RangeHigh(), 1.0);

    s.SetLogarithmic(true);  // refused with a low end of 0
    EXPECT_FALSE(s.Logarithmic());
    s.BeginLoading();
    s.SetLogarithmic(true);  // the form loader's value is taken as it is
    EXPECT_TRUE(s.Logarithmic());
    s.Loaded();
    s.SetRangeLow(1);
    s.SetRangeHigh(1000);
    s.SetLogarithmic(false);
    s.SetLabelType(ftDateTime);
    s.SetLogarithmic(true);  // refused on a date-time scale
    EXPECT_FALSE(s.Logarithmic());
    s.SetLabelType(ftNum);
    s.SetLogarithmic(true);
    s.SetLabelType(ftDateTime);  // switches it off
    EXPECT_FALSE(s.Logarithmic());
    s.SetLabelType(ftTime);
    EXPECT_EQ(s.DecPlaces(), 4);

    // MinTicks keeps 2..10 and DecPlaces -3..12: the last value taken and the first refused.
    const struct { int in, minTicks, decPlaces; } clamps[] = {
        {-4, 2, -3}, {-3, 2, -3}, {1, 2, 1}, {2, 2, 2}, {10, 10, 10}, {11, 10, 11}, {12, 10, 12}, {13, 10, 12}};
    for (const auto& c : clamps) {
        s.SetMinTicks(c.in);
        s.SetDecPlaces(c.in);
        EXPECT_EQ(s.MinTicks(), c.minTicks) << c.in;
        EXPECT_EQ(s.DecPlaces(), c.decPlaces) << c.in;
    }
    s.SetMarginLeft(-4);
    EXPECT_EQ(s.MarginLeft(), 0);
}

TEST(Scale, NumericTickPixels)
{
    // Base line at row 100 - 20 - 1 = 79; the long tick of 20 at column 92 covers rows 73..79.
    Scale s(sctXB, 400, 100);
    const TColor bg = Rgb(clBtnFace);
    QImage im = s.PaintImage();
    // (x, y, colour): the long tick's ends, the base line beside it, the short tick of 5 at
    // 20 + 17.95 over rows 76..79, the lowered frame.
    const struct { int x, y; TColor c; } pixels[] = {
        {92, 73, clBlack}, {92, 79, clBlack}, {92, 72, bg}, {93, 78, bg}, {93, 79, clBlack},
        {38, 76, clBlack}, {38, 75, bg}, {0, 50, Rgb(clGray)}, {399, 50, clWhite}};
    for (const auto& p : pixels)
        EXPECT_EQ(At(im, p.x, p.y), p.c) << p.x << "," << p.y;
    EXPECT_EQ(s.NumTicks(), 21);
    EXPECT_EQ(s.TickPos(1), 0.0);
    EXPECT_EQ(s.TickPos(21), 100.0);
    EXPECT_EQ(s.TickPos(22), 0.0);

    s.SetShortTicks(false);
    s.SetShowBaseLine(false);
    s.SetColorScale(clRed);
    im = s.PaintImage();
    EXPECT_EQ(At(im, 38, 79), bg);
    EXPECT_EQ(At(im, 93, 79), bg);
    EXPECT_EQ(At(im, 92, 79), clRed);
    EXPECT_EQ(s.NumTicks(), 6);

    Scale v(sctYL, 100, 400);  // vertical: short positions, then the labelled ones
    v.PaintImage();
    EXPECT_EQ(v.NumTicks(), 27);
    EXPECT_EQ(v.TickPos(21), 100.0);
    EXPECT_EQ(v.TickPos(22), 0.0);
    EXPECT_EQ(v.TickPos(27), 100.0);
    const QImage vi = v.PaintImage();
    EXPECT_EQ(At(vi, 25, 307), clBlack);  // the tick of 20, 6 pixels to the right
    EXPECT_EQ(At(vi, 26, 307), Rgb(clBtnFace));
}

TEST(Scale, TickEventsAndManyTicks)
{
    Scale s(sctXB, 400, 100);
    std::vector<double> values;
    s.OnScaleTickDrawn = [&](TScale*, Canvas&, TScaleType type, double v, int x, int y) {
        EXPECT_EQ(type, sctXB);
        EXPECT_EQ(y, 79);
        EXPECT_EQ(x, s.R2M(v));
        values.push_back(v);
    };
    s.PaintImage();
    EXPECT_EQ(values.size(), 27u);  // 21 short and 6 labelled ticks
    // More than 50 ticks are drawn but not recorded.
    s.SetMinTicks(10);
    s.SetRangeHigh(1000);
    values.clear();
    s.PaintImage();
    EXPECT_GT(values.size(), 50u);
    EXPECT_EQ(s.NumTicks(), 50);
}

// The image of a transparent scale without caption, with `caption` drawn at (x, y) on top.
QImage WithCaptionAt(TScale& s, const QString& caption, int x, int y)
{
    const QString saved = s.Caption();
    s.SetCaption(QString());
    QImage im = s.PaintImage();
    s.SetCaption(saved);
    Canvas cv(im);
    cv.Font.Font = s.font();
    cv.Brush.Style = bsClear;
    cv.TextOut(x, y, caption);
    return im;
}

TEST(Scale, CaptionPlaces)
{
    const QString text = "Hz";
    const struct { TScaleType type; TScaleUnitAnchor anchor; TAlignment align; int x, y; } cases[] = {
        // Horizontal at the top: y = 4 + 20; x = 4 + 20, 4 + 20 + 180, 4 + 400 - 20.
        {sctXT, uaSclTopLft, taLeftJustify, 24, 24},
        {sctXT, uaSclCenter, taLeftJustify, 204, 24},
        {sctXT, uaSclBotRgt, taLeftJustify, 384, 24},
        // Vertical at the right: x = 4 + 400 - 20 - 1; y from the top margin.
        {sctYR, uaSclTopLft, taLeftJustify, 383, 24},
        {sctYR, uaSclCenter, taLeftJustify, 383, 204},
        {sctYR, uaSclBotRgt, taLeftJustify, 383, 384},
    };
    for (const auto& c : cases) {
        for (TAlignment align : {taLeftJustify, taRightJustify, taCenter}) {
            Scale s(c.type, 400, 400);
            s.SetTransparent(true);
            s.SetLabelType(ftNoFigs);
            s.SetCaptionAnchor(c.anchor);
            s.SetCaptionAlignment(align);
            s.SetCaption(text);
            QImage tmp(1, 1, QImage::Format_RGB32);
            Canvas measure(tmp);
            measure.Font.Font = s.font();
            const int w = measure.TextWidth(text);
            const int x = align == taLeftJustify ? c.x : align == taRightJustify ? c.x - w : c.x - w / 2;
            const QImage withCaption = s.PaintImage();
            EXPECT_EQ(withCaption, WithCaptionAt(s, text, x, c.y)) << c.type << " " << c.anchor << " " << align;
            EXPECT_NE(withCaption, WithCaptionAt(s, "", x, c.y));
        }
    }
}

TEST(Scale, PaintsOnAForeignCanvas)
{
    QImage target(600, 300, QImage::Format_RGB32);
    target.fill(Qt::red);
    Canvas cv(target);
    Scale s(sctXB, 400, 100);
    const QImage own = s.PaintImage();
    s.UseForeignCanvas(&cv, 50, 60);
    s.ForcePaint();
    // The opaque scale is one bitmap at (50, 60).
    EXPECT_EQ(target.copy(50, 60, 400, 100), own);
    EXPECT_EQ(At(target, 450, 100), clRed);

    // A transparent scale draws straight onto the target, moved only across the scale: the base
    // line at row 40 + 79, the tick of 20 still at column 92.
    QImage other(600, 300, QImage::Format_RGB32);
    other.fill(Qt::red);
    Canvas otherCv(other);
    s.SetTransparent(true);
    s.SetShortTicks(false);
    s.UseForeignCanvas(&otherCv, 30, 40);
    s.ForcePaint();
    EXPECT_EQ(At(other, 92, 113), clBlack);
    EXPECT_EQ(At(other, 122, 113), clRed);
    EXPECT_EQ(At(other, 20, 119), clBlack);
    EXPECT_EQ(At(other, 19, 119), clRed);
    EXPECT_EQ(At(other, 200, 60), clRed);  // no background
    EXPECT_EQ(At(other, 30, 40), clRed);   // no frame

    // On a printer the labels keep the control font's size in points: 10 pt at 600 dpi are 83 pixels
    // (83.3), 16 pixels at the offscreen screen's 96 dpi (12 pt) 100 pixels; a screen keeps the font.
    EXPECT_EQ(otherCv.Font.Font.pixelSize(), -1);
    charttest::PdfPage page(600);
    Canvas paper(page.writer);
    QFont pixels;
    pixels.setPixelSize(16);
    for (const auto& [type, font, size] : {std::tuple{sctXB, QFont(QString(), 10), 83}, {sctYR, pixels, 100}}) {
        Scale p(type, 400, 400);
        p.setFont(font);
        p.SetTransparent(true);
        p.UseForeignCanvas(&paper, 0, 0);
        p.ForcePaint();
        EXPECT_EQ(paper.Font.Font.pixelSize(), size) << type;
    }
}

TEST(Scale, RepaintRules)
{
    QImage target(400, 100, QImage::Format_RGB32);
    Canvas cv(target);
    Scale s(sctXB, 400, 100);
    s.UseForeignCanvas(&cv, 0, 0);
    s.SetIsHelperComponent(true);
    const int start = s.PaintCount();
    s.SetCaption("a");
    EXPECT_EQ(s.PaintCount(), start + 1);
    s.SetShortTicks(true);  // unchanged: no paint
    EXPECT_EQ(s.PaintCount(), start + 1);
    s.SetSuppressPaint(true);
    s.SetRangeHigh(50);
    s.DateFormat().SetDateOrder(doYYMMDD);
    EXPECT_EQ(s.PaintCount(), start + 1);
    s.ForcePaint();
    EXPECT_EQ(s.PaintCount(), start + 2);
    EXPECT_TRUE(s.SuppressPaint());
    s.SetSuppressPaint(false);
    EXPECT_EQ(s.PaintCount(), start + 3);
    s.SetVisible(false);
    s.SetCaption("b");
    EXPECT_EQ(s.PaintCount(), start + 3);
    s.SetVisible(true);
    s.SetTransparent(true);  // a helper still paints at once
    EXPECT_EQ(s.PaintCount(), start + 5);

    Scale copy(sctYL, 10, 10);
    copy.Assign(s);
    EXPECT_EQ(std::tuple(copy.ScaleType(), copy.RangeHigh(), copy.Caption(), copy.DateFormat().DateOrder(),
                         copy.Transparent()),
              std::tuple(sctXB, 50.0, QString("b"), doYYMMDD, true));
}

}  // namespace
