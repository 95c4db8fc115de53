// TProgBar: the bar gauge; see ProgBar.h.
#include "controls/ProgBar.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numeric/NumberFormat.h"
#include "numeric/Rounding.h"
#include "platform/Canvas.h"
#include "controls/StoreChanged.h"

using oxw::controls::Store;

using oxw::numeric::RoundChecked;
using oxw::numeric::RoundClamped;
using oxw::platform::Canvas;

namespace {

using oxw::platform::FarClamp;

}  // namespace

TColor InterpolateColor(TColor Cl1, TColor Cl2, double Level)
{
    if (!(Level > 0.0))
        Level = 0.0;  // also NaN
    if (Level >= 1.0)
        Level = 1.0;
    const QRgb c1 = ColorToRGB(Cl1), c2 = ColorToRGB(Cl2);
    auto channel = [Level](int a, int b) { return static_cast<int>(std::trunc((b - a) * Level + a)); };
    return RGB(channel(qRed(c1), qRed(c2)), channel(qGreen(c1), qGreen(c2)), channel(qBlue(c1), qBlue(c2)));
}

TProgBar::TProgBar(QWidget* parent) : QWidget(parent)
{
    resize(300, 28);
    FBarColorArray[0] = clBlue;
    FBarColorArray[MAXBARCOLORS] = clRed;
    RebuildGradient();
}

void TProgBar::Changed()
{
    ++paintRequests_;
    update();
}

void TProgBar::RebuildGradient()
{
    for (int i = 1; i < MAXBARCOLORS; ++i)
        FBarColorArray[i] = InterpolateColor(FBarColorArray[0], FBarColorArray[MAXBARCOLORS], double(i) / MAXBARCOLORS);
}

void TProgBar::SetValue(double v) { if (Store(FProgValue, v)) Changed(); }
void TProgBar::SetMin(double v) { if (Store(FProgMin, v)) Changed(); }
void TProgBar::SetMax(double v) { if (Store(FProgMax, v)) Changed(); }

void TProgBar::SetColorMin(TColor c)
{
    FBarColorArray[0] = c;
    RebuildGradient();
    Changed();
}

void TProgBar::SetColorMax(TColor c)
{
    FBarColorArray[MAXBARCOLORS] = c;
    RebuildGradient();
    Changed();
}

void TProgBar::SetColorMargin(TColor c) { if (Store(FColorMargin, c)) Changed(); }
void TProgBar::SetColorBackGnd(TColor c) { if (Store(FColorBakG, c)) Changed(); }
void TProgBar::SetColorGrid(TColor c) { if (Store(FColorGrid, c)) Changed(); }
void TProgBar::SetGridDist(int d) { if (Store(FGridDist, d)) Changed(); }
void TProgBar::SetMarginLeft(int m) { if (Store(FMarginLeft, m)) Changed(); }
void TProgBar::SetMarginRight(int m) { if (Store(FMarginRight, m)) Changed(); }
void TProgBar::SetMarginTop(int m) { if (Store(FMarginTop, m)) Changed(); }
void TProgBar::SetMarginBottom(int m) { if (Store(FMarginBottom, m)) Changed(); }
void TProgBar::SetShowColorGradient(bool on) { if (Store(FColorGrad, on)) Changed(); }
void TProgBar::SetFrameStyleOuter(TFrameStyle s) { if (Store(FOuterFrameSt, s)) Changed(); }
void TProgBar::SetFrameStyleInner(TFrameStyle s) { if (Store(FInnerFrameSt, s)) Changed(); }
void TProgBar::SetColorMapMode(TColorMapping m) { if (Store(FColorMapMode, m)) Changed(); }
void TProgBar::SetDirection(TDirection d) { if (Store(FDirection, d)) Changed(); }
void TProgBar::SetTextAlignment(TAlignment a) { if (Store(FAlignment, a)) Changed(); }

void TProgBar::SetColorScheme(TColorScheme s)
{
    if (!Store(FColorScheme, s))
        return;
    FColGrayLine = s == csBWG ? clGray : clBtnShadow;
    FColWhiteLine = s == csBWG ? clWhite : clBtnHighlight;
    Changed();
}

void TProgBar::SetTextVisible(bool on)
{
    FShowValue = on;
    Changed();
}

void TProgBar::SetTextPosX(int x)
{
    FTextPosX = std::clamp(x, 0, std::max(width(), 0));
    Changed();
}

void TProgBar::SetTextPosY(int y)
{
    FTextPosY = std::clamp(y, 0, std::max(height(), 0));
    Changed();
}

void TProgBar::SetTextDecPlaces(int d)
{
    FTextDecPlaces = std::clamp(d, -2, 10);
    Changed();
}

void TProgBar::SetTextAngle(int a)
{
    FTextAngle = std::clamp(a, 0, 360);
    Changed();
}

void TProgBar::SetBackGroundImg(const QString& fileName)
{
    if (fileName.isEmpty()) {
        FBakGndFile.clear();
    } else {
        QImage picture;
        if (picture.load(fileName)) {
            AuxBmp = picture;
            FBakGndFile = fileName;
        }
    }
    Changed();
}

void TProgBar::Assign(const TProgBar& s)
{
    FOuterFrameSt = s.FOuterFrameSt;
    FInnerFrameSt = s.FInnerFrameSt;
    FProgValue = s.FProgValue;
    FProgMin = s.FProgMin;
    FProgMax = s.FProgMax;
    FDirection = s.FDirection;
    FBarColorArray = s.FBarColorArray;
    FColorMargin = s.FColorMargin;
    FColorBakG = s.FColorBakG;
    FColorGrad = s.FColorGrad;
    FColorGrid = s.FColorGrid;
    FGridDist = s.FGridDist;
    FColBlackLine = s.FColBlackLine;
    FColGrayLine = s.FColGrayLine;
    FColWhiteLine = s.FColWhiteLine;
    FColorScheme = s.FColorScheme;
    FColorMapMode = s.FColorMapMode;
    FMarginLeft = s.FMarginLeft;
    FMarginRight = s.FMarginRight;
    FMarginTop = s.FMarginTop;
    FMarginBottom = s.FMarginBottom;
    FBakGndFile = s.FBakGndFile;
    FTextPosX = s.FTextPosX;
    FTextPosY = s.FTextPosY;
    FTextDecPlaces = s.FTextDecPlaces;
    FTextAngle = s.FTextAngle;
    FAlignment = s.FAlignment;
    OnShowValue = s.OnShowValue;
    FShowValue = s.FShowValue;
    Changed();
}

// The bar area's edges; margins of any size (what lies beyond 2^24 pixels looks the same).
TProgBar::Area TProgBar::BarArea() const
{
    return {FarClamp(FMarginLeft), FarClamp(0LL + width() - FMarginRight), FarClamp(FMarginTop),
            FarClamp(0LL + height() - FMarginBottom)};
}

QImage TProgBar::PaintImage()
{
    const int w = width(), h = height();
    const Area a = BarArea();
    QImage image(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    {
        Canvas cv(image);
        cv.Pen.Color = cv.Brush.Color = FColorMargin;
        cv.Rectangle(0, 0, w, h);
        cv.Brush.Color = FColorBakG;
        cv.FillRect(a.left, a.top, a.right, a.bottom);
        if (!FBakGndFile.isEmpty())
            cv.StretchDraw(a.left, a.top, a.right, a.bottom, AuxBmp);
        PaintBar(cv);
        DrawFrame(cv, FInnerFrameSt, a.left, a.right, a.top, a.bottom);
        DrawFrame(cv, FOuterFrameSt, 0, w, 0, h);
        if (FShowValue)
            PaintText(cv);
    }
    return image;
}

void TProgBar::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    p.drawImage(0, 0, PaintImage());
}

// The bar: its length is Round(E * q) pixels along the direction, E the bar area's extent.
void TProgBar::PaintBar(Canvas& cv)
{
    const int w = width(), h = height();
    const double q = (FProgValue - FProgMin) / (FProgMax - FProgMin);
    if (FProgMax == FProgMin || !std::isfinite(q))
        return;
    const bool vertical = FDirection == dirUpward || FDirection == dirDownward;
    const long long extent = vertical ? 0LL + h - FMarginBottom - FMarginTop : 0LL + w - FMarginRight - FMarginLeft;
    // Beyond 1E15 pixels nothing visible changes; the limit keeps the length a safe integer.
    const long long length = *RoundChecked<long long>(std::clamp(extent * q, -1e15, 1e15));
    long long l = FMarginLeft, r = 0LL + w - FMarginRight, t = FMarginTop, b = 0LL + h - FMarginBottom;
    long long edge = 0;  // the starting edge's coordinate
    switch (FDirection) {
    case dirUpward: t = b - length; edge = b; break;
    case dirDownward: b = length + t; edge = t; break;
    case dirLeftward: l = r - length; edge = r; break;
    default: r = length + l; edge = l; break;
    }
    if (FColorGrad) {
        PaintGradient(cv, length, extent, edge);
    } else {
        cv.Pen.Color = cv.Brush.Color = ColorMin();
        cv.Rectangle(FarClamp(l), FarClamp(t), FarClamp(r), FarClamp(b));
    }
    if (FGridDist >= 2)
        PaintGrid(cv, vertical ? (FDirection == dirUpward ? t : b) : (FDirection == dirLeftward ? l : r));
}

// One line across the bar per pixel step i = 0..length-1 from the starting edge, visiting only
// the steps that lie inside the control.
void TProgBar::PaintGradient(Canvas& cv, long long length, long long extent, long long edge)
{
    if (length <= 0 || extent == 0)
        return;
    const int w = width(), h = height();
    const bool vertical = FDirection == dirUpward || FDirection == dirDownward;
    const bool backwards = FDirection == dirUpward || FDirection == dirLeftward;
    const long long size = vertical ? h : w;
    // Position of step i: edge - i - 1 backwards, edge + i forwards.
    long long first = backwards ? edge - size : -edge;
    long long last = backwards ? edge - 1 : size - 1 - edge;
    first = std::max(first, 0LL);
    last = std::min(last, length - 1);
    const double perPixel = double(MAXBARCOLORS) / double(extent);
    const long long moveShift = MAXBARCOLORS - RoundClamped<long long>((length - 1) * perPixel);
    for (long long i = first; i <= last; ++i) {
        long long k = 0;
        switch (FColorMapMode) {
        case cgmCover: k = RoundClamped<long long>(i * perPixel); break;
        case cgmStretch: k = RoundClamped<long long>(i * double(MAXBARCOLORS) / double(length)); break;
        default: k = RoundClamped<long long>(i * perPixel) + moveShift; break;
        }
        cv.Pen.Color = FBarColorArray[std::clamp<long long>(k, 0, MAXBARCOLORS)];
        const int pos = static_cast<int>(backwards ? edge - i - 1 : edge + i);
        Across(cv, vertical, pos);
    }
}

// Grid lines across the bar every GridDist pixels from the starting edge up to the tip, only
// those inside the control.
void TProgBar::PaintGrid(Canvas& cv, long long tip)
{
    const int w = width(), h = height();
    const bool vertical = FDirection == dirUpward || FDirection == dirDownward;
    const bool backwards = FDirection == dirUpward || FDirection == dirLeftward;
    const long long size = vertical ? h : w;
    long long start = 0;
    switch (FDirection) {
    case dirUpward: start = 0LL + h - FMarginBottom - 1; break;
    case dirDownward: start = FMarginTop; break;
    case dirLeftward: start = 0LL + w - FMarginRight; break;
    default: start = FMarginLeft; break;
    }
    const long long g = FGridDist;
    // Lines at start -/+ k*g while not past the tip and inside 0..size-1.
    const long long nearSide = backwards ? start - (size - 1) : -start;  // steps to enter the control
    const long long farSide = backwards ? start - std::max(tip, 0LL) : std::min(tip, size - 1) - start;
    if (farSide < 0)
        return;
    const long long kFirst = nearSide > 0 ? (nearSide + g - 1) / g : 0;
    const long long kLast = farSide / g;
    cv.Pen.Color = FColorGrid;
    for (long long k = kFirst; k <= kLast; ++k) {
        const int pos = static_cast<int>(backwards ? start - k * g : start + k * g);
        Across(cv, vertical, pos);
    }
}

// A line across the bar area at `pos` along the direction.
void TProgBar::Across(Canvas& cv, bool vertical, int pos) const
{
    const Area a = BarArea();
    if (vertical) {
        cv.MoveTo(a.left, pos);
        cv.LineTo(a.right, pos);
    } else {
        cv.MoveTo(pos, a.top);
        cv.LineTo(pos, a.bottom);
    }
}

void TProgBar::PaintText(Canvas& cv)
{
    cv.Font.Font = font();
    cv.Font.Color = clBlack;
    if (const QColor fc = palette().color(QPalette::WindowText); fc.isValid())
        cv.Font.Color = FromQColor(fc);
    cv.Font.Orientation = FTextAngle * 10;
    cv.Brush.Style = bsClear;
    const int decimals = FTextDecPlaces == -1 ? -2 : (FTextDecPlaces == -2 ? -1 : FTextDecPlaces);
    QString text = QString::fromStdString(oxw::numeric::strff(FProgValue, 1, decimals));
    if (OnShowValue)
        OnShowValue(this, text);
    const int w2 = cv.TextWidth(text) / 2;
    const int h2 = cv.TextHeight(text) / 2;
    const double a = FTextAngle * std::numbers::pi / 180.0;
    const double sa = std::sin(a), ca = std::cos(a);
    double dx = 0, dy = 0;  // the drawing origin relative to the anchor
    switch (FAlignment) {
    case taLeftJustify: dx = -h2 * sa; dy = -h2 * ca; break;
    case taRightJustify: dx = -2.0 * w2 * ca - h2 * sa; dy = 2.0 * w2 * sa - h2 * ca; break;
    default: dx = -w2 * ca - h2 * sa; dy = w2 * sa - h2 * ca; break;
    }
    cv.TextOut(RoundClamped<int>(dx) + FTextPosX, RoundClamped<int>(dy) + FTextPosY, text);
}

// The bar's frame: grey, white and black lines of the colour scheme; the 3-D styles finish with
// the two corner pixels in the margin colour.
void TProgBar::DrawFrame(Canvas& cv, TFrameStyle style, int left, int right, int top, int bottom)
{
    cv.Brush.Style = bsClear;
    auto lines = [&cv](TColor c, std::vector<QPoint> pts) {
        cv.Pen.Color = c;
        cv.Polyline(pts);
    };
    auto rect = [&cv](TColor c, int x1, int y1, int x2, int y2) {
        cv.Pen.Color = c;
        cv.Rectangle(x1, y1, x2, y2);
    };
    switch (style) {
    case fsNone:
        break;
    case fsSimple:
        rect(FColGrayLine, left, top, right, bottom);
        break;
    case fsRaised:
    case fsLowered: {
        const TColor upper = style == fsRaised ? FColWhiteLine : FColBlackLine;
        const TColor lower = style == fsRaised ? FColBlackLine : FColWhiteLine;
        lines(upper, {{left + 1, bottom - 3}, {left + 1, top + 1}, {right - 1, top + 1}});
        lines(lower, {{left + 1, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top}});
        rect(FColGrayLine, left, top, right - 1, bottom - 1);
        break;
    }
    case fsEmbossed:
    case fsEngraved: {
        const TColor first = style == fsEmbossed ? FColGrayLine : FColWhiteLine;
        const TColor second = style == fsEmbossed ? FColWhiteLine : FColGrayLine;
        rect(first, left + 1, top + 1, right, bottom);
        rect(second, left, top, right - 1, bottom - 1);
        break;
    }
    }
    if (style != fsNone && style != fsSimple) {
        cv.SetPixel(left, bottom - 1, FColorMargin);
        cv.SetPixel(right - 1, top, FColorMargin);
    }
    cv.Brush.Style = bsSolid;
}
