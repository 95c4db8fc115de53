// Canvas: the desktop's pixel rules on a QImage, checked pixel by pixel on small images.
#include "platform/Canvas.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <climits>
#include <algorithm>
#include <string>
#include <tuple>

namespace {

using oxw::platform::Canvas;

QImage White(int w = 16, int h = 12)
{
    QImage im(w, h, QImage::Format_RGB32);
    im.fill(Qt::white);
    return im;
}

// The image as text: '#' black, '.' white, 'o' any other colour; one line per row.
std::string Picture(const QImage& im)
{
    std::string s;
    for (int y = 0; y < im.height(); ++y) {
        for (int x = 0; x < im.width(); ++x) {
            const QRgb p = im.pixel(x, y) & 0xFFFFFF;
            s += p == 0 ? '#' : (p == 0xFFFFFF ? '.' : 'o');
        }
        s += '\n';
    }
    return s;
}

TEST(Canvas, LinesCoverTheirStartAndLeaveOutTheirEnd)
{
    const struct { int x0, y0, x1, y1; const char* picture; } cases[] = {
        {1, 1, 5, 1, "......\n.####.\n......\n"},   // rightward
        {5, 1, 1, 1, "......\n..####\n......\n"},   // leftward: the start pixel 5 is drawn, 1 is not
        {1, 0, 1, 3, ".#....\n.#....\n.#....\n"},   // downward
        {4, 2, 4, -1, "....#.\n....#.\n....#.\n"},  // upward
        {0, 0, 3, 3, "#.....\n.#....\n..#...\n"},   // diagonal
        {2, 2, 2, 2, "......\n......\n......\n"},   // a point: nothing
    };
    for (const auto& c : cases) {
        QImage im = White(6, 3);
        {
            Canvas cv(im);
            cv.MoveTo(c.x0, c.y0);
            cv.LineTo(c.x1, c.y1);
            EXPECT_EQ(cv.PenPos(), QPoint(c.x1, c.y1));
        }
        EXPECT_EQ(Picture(im), c.picture) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
    }
}

TEST(Canvas, RectanglesCoverLeftAndTopEdgesOnly)
{
    QImage im = White(8, 6);
    {
        Canvas cv(im);
        cv.Brush.Color = clRed;
        cv.Rectangle(1, 1, 6, 5);  // outline x 1..5, y 1..4, red inside
        cv.Pen.Style = psClear;
        cv.Brush.Color = clBlack;
        cv.Rectangle(7, 0, 9, 9);  // without a pen one pixel smaller: column 7 only, rows 0..7
        cv.Brush.Style = bsClear;
        cv.FillRect(0, 0, 8, 6);   // a clear brush fills nothing
    }
    EXPECT_EQ(Picture(im), ".......#\n.#####.#\n.#ooo#.#\n.#ooo#.#\n.#####.#\n.......#\n");
    QImage filled = White(4, 3);
    {
        Canvas cv(filled);
        cv.Brush.Color = clBlack;
        cv.FillRect(3, 2, 1, 0);   // corners in any order
    }
    EXPECT_EQ(Picture(filled), ".##.\n.##.\n....\n");
}

TEST(Canvas, PolygonOutlinesEveryEdgeAndFillsInside)
{
    QImage im = White(7, 6);
    {
        Canvas cv(im);
        cv.Brush.Color = clRed;
        cv.Polygon({{1, 1}, {5, 1}, {5, 4}, {1, 4}});
        cv.Pen.Color = clBlue;
        cv.Polyline({{0, 5}, {3, 5}, {3, 5}, {6, 5}});  // the last point is left out
    }
    EXPECT_EQ(Picture(im), ".......\n.#####.\n.#ooo#.\n.#ooo#.\n.#####.\noooooo.\n");
}

TEST(Canvas, NotModeInvertsAndXorCombines)
{
    QImage im = White(6, 2);
    {
        Canvas cv(im);
        cv.SetPixel(1, 0, RGB(0x12, 0x34, 0x56));
        cv.Pen.Mode = pmNot;
        cv.MoveTo(0, 0);
        cv.LineTo(3, 0);
        cv.MoveTo(0, 1);
        cv.LineTo(3, 1);
        cv.MoveTo(0, 1);  // twice inverted is the original
        cv.LineTo(2, 1);
        cv.Pen.Mode = pmXor;
        cv.Pen.Color = RGB(0xFF, 0, 0);
        cv.MoveTo(4, 0);
        cv.LineTo(5, 0);
        EXPECT_EQ(cv.Pixel(1, 0), RGB(0xED, 0xCB, 0xA9));
        EXPECT_EQ(cv.Pixel(4, 0), RGB(0, 0xFF, 0xFF));
        EXPECT_EQ(cv.Pixel(99, 0), clBlack);
    }
    EXPECT_EQ(Picture(im), "#o#.o.\n..#...\n");
}

TEST(Canvas, LinesOfAnyLengthDrawOnlyTheirVisiblePart)
{
    QImage im = White(8, 4);
    {
        Canvas cv(im);
        cv.MoveTo(INT_MIN, 1);
        cv.LineTo(INT_MAX, 1);           // across the image
        cv.MoveTo(3, -2000000000);
        cv.LineTo(3, 2000000000);
        cv.MoveTo(-1000000000, -1000000000);  // a diagonal through (0, 0) .. (7, 7)
        cv.LineTo(1000000000, 1000000000);
        cv.SetClipRect(QRect(0, 3, 4, 1));
        cv.MoveTo(0, 3);
        cv.LineTo(8, 3);
    }
    EXPECT_EQ(Picture(im), "#..#....\n########\n..##....\n####....\n");
}

TEST(Canvas, BoxesOfAnySizeFillTheImage)
{
    QImage im = White(6, 4);
    {
        Canvas cv(im);
        cv.Brush.Color = clRed;
        cv.Pen.Color = clRed;
        cv.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        cv.Pie(INT_MAX, INT_MAX, INT_MIN, INT_MIN, 0, 0, 5, 5);
        cv.Arc(INT_MIN, 0, INT_MAX, 3, 0, 0, 1, 1);
        cv.Brush.Color = clBlack;
        cv.Pen.Color = clBlack;
        cv.Rectangle(INT_MIN, INT_MIN, 3, INT_MAX);
        cv.StretchDraw(INT_MIN, INT_MIN, INT_MAX, INT_MAX, QImage());
        cv.TextRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MIN, "x");
    }
    EXPECT_EQ(Picture(im), "###ooo\n###ooo\n###ooo\n###ooo\n");
}

TEST(Canvas, EllipsePieAndArcStayInTheirBox)
{
    QImage im = White(12, 12);
    {
        Canvas cv(im);
        cv.Brush.Color = clBlack;
        cv.Pen.Color = clBlack;
        cv.Ellipse(1, 1, 11, 11);
    }
    // Row 6 and column 6 through the box 1..10: inside black, outside white.
    EXPECT_EQ(Picture(im.copy(0, 6, 12, 1)), ".##########.\n");
    EXPECT_EQ(Picture(im.copy(6, 9, 1, 3)), "#\n#\n.\n");

    QImage pie = White(41, 41);
    {
        Canvas cv(pie);
        cv.Brush.Color = clRed;
        cv.Pen.Color = clRed;
        // Counter-clockwise from the radial to the right (0 degrees) to the one straight up.
        cv.Pie(0, 0, 40, 40, 40, 20, 20, 0);
        cv.Pen.Color = clBlue;
        cv.Arc(0, 0, 40, 40, 20, 40, 40, 20);  // the lower right quarter of the rim
    }
    // Only the upper right quarter is inside; the arc has no inside.
    for (const auto& [x, y, c] : {std::tuple{30, 10, Qt::red}, {10, 10, Qt::white}, {10, 30, Qt::white}, {30, 30, Qt::white}})
        EXPECT_EQ(QColor(pie.pixel(x, y)), QColor(c)) << x << "," << y;
    int arcLowerRight = 0, arcElsewhere = 0;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x)
            if (QColor(pie.pixel(x, y)) == QColor(Qt::blue)) ++(x >= 19 && y >= 19 ? arcLowerRight : arcElsewhere);
    EXPECT_GT(arcLowerRight, 25);
    EXPECT_EQ(arcElsewhere, 0);
}

TEST(Canvas, TextWithSolidOrClearBrushAndRotation)
{
    QImage im = White(60, 60);
    int width = 0, height = 0;
    {
        Canvas cv(im);
        cv.Font.Font = QFont("Liberation Sans");
        cv.Font.Font.setPixelSize(12);
        width = cv.TextWidth("MM");
        height = cv.TextHeight("MM");
        cv.Brush.Color = clYellow;
        cv.TextOut(2, 2, "MM");   // yellow cell behind the text
        cv.Brush.Style = bsClear;
        cv.Font.Orientation = 900;  // upward from (40, 58)
        cv.TextOut(40, 58, "MM");
    }
    ASSERT_GT(std::min(width, height), 10);
    EXPECT_EQ(QColor(im.pixel(2, 2)), QColor(Qt::yellow));
    EXPECT_EQ(QColor(im.pixel(2 + width - 1, 2 + height - 1)), QColor(Qt::yellow));
    EXPECT_EQ(QColor(im.pixel(2 + width, 2)), QColor(Qt::white));
    int ink = 0;  // the rotated text lies in the column right of x = 40, above y = 58
    for (int y = 58 - width; y < 58; ++y)
        for (int x = 40; x < 40 + height; ++x)
            ink += QColor(im.pixel(x, y)) == QColor(Qt::black);
    EXPECT_GT(ink, 10);
    EXPECT_EQ(QColor(im.pixel(20, 40)), QColor(Qt::white));
}

TEST(Canvas, BitmapsCopiedStretchedAndMasked)
{
    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage mask(2, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, 0xFF000000);
    mask.setPixel(1, 0, 0xFFFFFFFF);
    QImage im = White(8, 4);
    {
        Canvas cv(im);
        cv.Draw(0, 0, red);
        cv.StretchDraw(4, 0, 8, 4, red);
        cv.DrawAnd(2, 3, mask);  // black where the mask is black, the image kept where white
        cv.DrawOr(4, 3, mask);
    }
    EXPECT_EQ(Picture(im), "oo..oooo\noo..oooo\n....oooo\n..#.o.oo\n");  // OR with white gives white
    EXPECT_EQ(QColor(im.pixel(4, 3)), QColor(Qt::red));
}

TEST(Colors, SystemColoursFollowThePaletteOthersTheirBytes)
{
    EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), qRgb(1, 2, 3));
    EXPECT_EQ(ColorToRGB(clNavy), qRgb(0, 0, 0x80));
    EXPECT_EQ(ColorToRGB(0x1FFFFFFF), qRgb(255, 255, 255));  // the "none" colour
    EXPECT_EQ(ColorToRGB(clBtnFace), QGuiApplication::palette().color(QPalette::Button).rgb());
    EXPECT_EQ(ColorToRGB(clBtnHighlight), QGuiApplication::palette().color(QPalette::Light).rgb());
    EXPECT_EQ(ColorToRGB(clSystemColor | 200), qRgb(0, 0, 0));
    EXPECT_EQ(FromQColor(QColor(0x10, 0x20, 0x30)), 0x302010u);
}

}  // namespace
