// Drawing primitives of the component library; see DrawBase.h.
#include "controls/DrawBase.h"

#include <QString>

#include <array>
#include <vector>

#include "platform/Canvas.h"

using oxw::platform::Canvas;

namespace {

// 7 x 7 bit patterns of the pixel marks, one byte per row from the top, bit 0 the rightmost
// column.
using Pattern = std::array<std::uint8_t, 7>;
constexpr Pattern kCross5 = {0, 0, 8, 28, 8, 0, 0};
constexpr Pattern kCross7 = {0, 8, 8, 62, 8, 8, 0};
constexpr Pattern kCross9 = {8, 8, 8, 127, 8, 8, 8};
constexpr Pattern kDiag5 = {0, 0, 20, 8, 20, 0, 0};
constexpr Pattern kDiag7 = {0, 34, 20, 8, 20, 34, 0};
constexpr Pattern kDiag9 = {65, 34, 20, 8, 20, 34, 65};
constexpr Pattern kChecker = {85, 42, 85, 42, 85, 42, 85};
constexpr Pattern kThickDiag = {99, 119, 62, 28, 62, 119, 99};

void DrawPattern(Canvas& cv, const Pattern& rows, int x, int y)
{
    for (int i = 1; i <= 7; ++i)
        for (int j = 1; j <= 7; ++j)
            if (rows[i - 1] >> (j - 1) & 1)
                cv.SetPixel(x + 4 - j, y - 4 + i, cv.Pen.Color);
}

void Line(Canvas& cv, int x0, int y0, int x1, int y1)
{
    cv.MoveTo(x0, y0);
    cv.LineTo(x1, y1);
}

void Lines(Canvas& cv, std::vector<QPoint> points) { cv.Polyline(points); }

// A figure filled in the pen colour.
void Filled(Canvas& cv, auto draw)
{
    cv.Brush.Color = cv.Pen.Color;
    draw();
}

// A figure with its outline only; the brush is solid again afterwards.
void Hollow(Canvas& cv, auto draw)
{
    cv.Brush.Style = bsClear;
    draw();
    cv.Brush.Style = bsSolid;
}

void Square(Canvas& cv, int x, int y, int a) { cv.Rectangle(x - a, y - a, x + a + 1, y + a + 1); }
void Circle(Canvas& cv, int x1, int y1, int x2, int y2) { cv.Ellipse(x1, y1, x2, y2); }
void Polygon(Canvas& cv, std::vector<QPoint> points) { cv.Polygon(points); }

// The pixel-pattern marks on a printer's canvas, drawn with the pen: crosses of half-size a,
// the checkerboard as 25 dots, the thick cross as six lines. False for the other marks.
bool DrawPrinterMark(Canvas& cv, std::uint8_t mark, int x, int y)
{
    if (mark >= 1 && mark <= 3) {
        const int a = mark + 1;
        Lines(cv, {{x - a, y}, {x + a, y}});
        Lines(cv, {{x, y - a}, {x, y + a}});
    } else if (mark >= 4 && mark <= 6) {
        const int a = mark - 2;
        Lines(cv, {{x - a, y - a}, {x + a, y + a}});
        Lines(cv, {{x - a, y + a}, {x + a, y - a}});
    } else if (mark == 18) {
        for (int i = 1; i <= 7; ++i)
            for (int j = 1; j <= 7; ++j)
                if ((i + j) % 2 == 0)
                    Lines(cv, {{x + i - 4, y + j - 4}, {x + i - 4, y + j - 4}});
    } else if (mark == 25) {
        Lines(cv, {{x - 3, y - 3}, {x + 3, y + 3}});
        Lines(cv, {{x - 3, y - 2}, {x + 2, y + 3}});
        Lines(cv, {{x - 2, y - 3}, {x + 3, y + 2}});
        Lines(cv, {{x - 3, y + 3}, {x + 3, y - 3}});
        Lines(cv, {{x - 3, y + 2}, {x + 2, y - 3}});
        Lines(cv, {{x - 2, y + 3}, {x + 3, y - 2}});
    } else {
        return false;
    }
    return true;
}

void DrawShape(Canvas& cv, std::uint8_t mark, int x, int y)
{
    if (cv.IsPrinter() && DrawPrinterMark(cv, mark, x, y))
        return;
    switch (mark) {
    case 0: cv.SetPixel(x, y, cv.Pen.Color); break;
    case 1: DrawPattern(cv, kCross5, x, y); break;
    case 2: DrawPattern(cv, kCross7, x, y); break;
    case 3: DrawPattern(cv, kCross9, x, y); break;
    case 4: DrawPattern(cv, kDiag5, x, y); break;
    case 5: DrawPattern(cv, kDiag7, x, y); break;
    case 6: DrawPattern(cv, kDiag9, x, y); break;
    case 7: case 8: case 9: {
        const int a = mark - 6;
        Filled(cv, [&] { Square(cv, x, y, a); });
        break;
    }
    case 10: case 11: case 12: {
        const int a = mark - 9;
        Lines(cv, {{x - a, y - a}, {x - a, y + a}, {x + a, y + a}, {x + a, y - a}, {x - a, y - a}});
        break;
    }
    case 13: case 14: case 15: {
        const int a = mark - 12;
        Filled(cv, [&] { Polygon(cv, {{x - a, y}, {x, y + a}, {x + a, y}, {x, y - a}}); });
        break;
    }
    case 16: case 17: {
        const int a = mark - 14;
        Hollow(cv, [&] { Circle(cv, x - a, y - a, x + a + 1, y + a + 1); });
        break;
    }
    case 18: DrawPattern(cv, kChecker, x, y); break;
    case 19: Lines(cv, {{x - 3, y}, {x, y + 3}, {x + 3, y}, {x, y - 3}, {x - 3, y}}); break;
    case 20: case 21: {
        const int a = mark - 17;
        Line(cv, x, y, x - a, y + a);
        Line(cv, x, y, x + a, y + a);
        break;
    }
    case 22: case 23: {
        const int a = mark - 19;
        Line(cv, x, y, x - a, y - a);
        Line(cv, x, y, x + a, y - a);
        break;
    }
    case 24: Filled(cv, [&] { Circle(cv, x - 3, y - 3, x + 4, y + 4); }); break;
    case 25: DrawPattern(cv, kThickDiag, x, y); break;
    case 26: Filled(cv, [&] { Circle(cv, x - 2, y - 2, x + 3, y + 3); }); break;
    case 27: Hollow(cv, [&] { Circle(cv, x - 2, y - 2, x + 2, y + 2); }); break;
    case 28: Filled(cv, [&] { Circle(cv, x - 2, y - 2, x + 2, y + 2); }); break;
    case 29: case 30: case 31: case 32: {
        const int a = mark <= 30 ? mark - 27 : mark - 29;
        const std::vector<QPoint> half = {{x - a, y}, {x, y + a}, {x + a, y}};
        if (mark <= 30)
            Filled(cv, [&] { Polygon(cv, half); });
        else
            Hollow(cv, [&] { Polygon(cv, half); });
        break;
    }
    case 33: Hollow(cv, [&] { Polygon(cv, {{x - 4, y - 3}, {x, y + 4}, {x + 4, y - 3}}); }); break;
    case 34: Filled(cv, [&] { Polygon(cv, {{x - 4, y - 3}, {x, y + 4}, {x + 4, y - 3}}); }); break;
    case 35: Hollow(cv, [&] { Polygon(cv, {{x - 4, y + 3}, {x, y - 4}, {x + 4, y + 3}}); }); break;
    case 36: Filled(cv, [&] { Polygon(cv, {{x - 4, y + 3}, {x, y - 4}, {x + 4, y + 3}}); }); break;
    case 37:
        Line(cv, x - 3, y, x + 4, y);
        Line(cv, x, y, x, y - 8);
        break;
    case 38:
        Line(cv, x - 3, y - 2, x + 4, y - 2);
        Line(cv, x - 3, y + 2, x + 4, y + 2);
        Line(cv, x, y - 2, x, y + 2);
        break;
    case 39:
        Hollow(cv, [&] { Circle(cv, x - 3, y - 3, x + 4, y + 4); });
        Line(cv, x - 3, y, x + 4, y);
        Line(cv, x, y - 3, x, y + 4);
        break;
    default: {  // 40..47: triangles pointing left (40..43) and right (44..47), hollow then filled
        const bool small = mark == 40 || mark == 41 || mark == 44 || mark == 45;
        const bool left = mark <= 43;
        const int tip = small ? 2 : 3, back = small ? 3 : 4, half = small ? 2 : 3;
        const std::vector<QPoint> tri = left
            ? std::vector<QPoint>{{x + back, y - half}, {x - tip, y}, {x + back, y + half}}
            : std::vector<QPoint>{{x - back, y - half}, {x + tip, y}, {x - back, y + half}};
        if (mark % 2 == 0)
            Hollow(cv, [&] { Polygon(cv, tri); });
        else
            Filled(cv, [&] { Polygon(cv, tri); });
        break;
    }
    }
}

}  // namespace

void DrawRectangle(Canvas& cv, int Left, int Top, int Right, int Bottom)
{
    cv.MoveTo(Left, Top);
    cv.LineTo(Left, Bottom);
    cv.LineTo(Right, Bottom);
    cv.LineTo(Right, Top);
    cv.LineTo(Left, Top);
}

void DrawFrame(Canvas& cv, TFrameStyle fs, int Left, int Top, int Right, int Bottom, TColor White,
               TColor Silver, TColor Gray, TColor Black, TColor SimpleFCol)
{
    if (fs == fsNone)
        return;
    using oxw::platform::FarClamp;  // beyond this nothing drawn changes, and +-1 cannot overflow
    Left = FarClamp(Left), Top = FarClamp(Top), Right = FarClamp(Right), Bottom = FarClamp(Bottom);
    if (fs == fsSimple) {
        cv.Pen.Color = SimpleFCol;
        DrawRectangle(cv, Left, Top, Right, Bottom);
        return;
    }
    struct Colors { TColor outTopLeft, outBottomRight, inTopLeft, inBottomRight; };
    const Colors c = fs == fsLowered  ? Colors{Gray, White, Black, Silver}
                   : fs == fsRaised   ? Colors{White, Black, Silver, Gray}
                   : fs == fsEmbossed ? Colors{White, Gray, Gray, White}
                                      : Colors{Gray, White, White, Gray};
    cv.Pen.Color = c.outTopLeft;
    cv.MoveTo(Left, Bottom);
    cv.LineTo(Left, Top);
    cv.LineTo(Right + 1, Top);
    cv.MoveTo(Right, Top + 1);
    cv.Pen.Color = c.outBottomRight;
    cv.LineTo(Right, Bottom);
    cv.LineTo(Left - 1, Bottom);
    cv.Pen.Color = c.inTopLeft;
    cv.MoveTo(Left + 1, Bottom - 1);
    cv.LineTo(Left + 1, Top + 1);
    cv.LineTo(Right, Top + 1);
    cv.MoveTo(Right - 1, Top + 2);
    cv.Pen.Color = c.inBottomRight;
    cv.LineTo(Right - 1, Bottom - 1);
    cv.LineTo(Left, Bottom - 1);
}

void DrawMarkOnCanvas(Canvas& canv, std::uint8_t Mark, int x, int y)
{
    x = oxw::platform::FarClamp(x);
    y = oxw::platform::FarClamp(y);
    if (Mark >= 48) {
        const QString text(QChar::fromLatin1(static_cast<char>(Mark)));
        canv.TextOut(x - canv.TextWidth(text) / 2, y - canv.TextHeight(text) / 2, text);
        return;
    }
    const TColor brush = canv.Brush.Color;
    DrawShape(canv, Mark, x, y);
    canv.Brush.Color = brush;
}
