// Canvas: drawing into a QImage with the desktop's pixel rules; see Canvas.h.
#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPen>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

namespace oxw::platform {
namespace {

// Coordinates up to this size run through exact integer line stepping; larger ones are first
// clipped to the image in floating point.
constexpr std::int64_t kExactLimit = 1 << 28;

// Floor of a / b for b > 0.
std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

Qt::PenStyle QtPenStyle(TPenStyle s)
{
    switch (s) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

// Angle of (x, y) from the centre in 1/16 degrees, counter-clockwise on screen from 3 o'clock.
int ScreenAngle16(double cx, double cy, int x, int y)
{
    double deg = std::atan2(-(y - cy), x - cx) * 180.0 / std::numbers::pi;
    if (deg < 0)
        deg += 360.0;
    return static_cast<int>(std::lround(deg * 16.0));
}

// Box corners farther out than 2^24 are pulled in to it: Qt's rasterizer works within about
// 2^23 pixels, and the differences of the corners must fit an int.
int BoxCoord(int v) { return FarClamp(v); }

// The rectangle whose Qt outline covers x1..x2-1, y1..y2-1 (Qt strokes a rectangle of width w
// over w + 1 pixels; its fill alone covers x1..x2-2, as the desktop fills without a pen).
QRect OutlineBox(int x1, int y1, int x2, int y2) { return QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1); }

// Corners in order and within the box limit.
void NormaliseBox(int& x1, int& y1, int& x2, int& y2)
{
    x1 = BoxCoord(x1);
    y1 = BoxCoord(y1);
    x2 = BoxCoord(x2);
    y2 = BoxCoord(y2);
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
}

}  // namespace

Canvas::Canvas(QImage& image) : image_(&image), device_(image)
{
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    Begin();
}

Canvas::Canvas(QPagedPaintDevice& printer) : device_(printer) { Begin(); }

void Canvas::Begin()
{
    painter_.begin(&device_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
}

Canvas::~Canvas() { painter_.end(); }

QRect Canvas::Visible() const
{
    const QRect all(0, 0, Width(), Height());
    return clip_ ? clip_->intersected(all) : all;
}

void Canvas::SetFontSizeFrom(const QFont& source)
{
    double points = source.pointSizeF();
    if (points <= 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        points = source.pixelSize() * 72.0 / (screen != nullptr ? screen->logicalDotsPerInchY() : 96.0);
    }
    Font.Font.setPixelSize(std::max(1, static_cast<int>(std::nearbyint(points * PixelsPerInchY() / 72.0))));
}

void Canvas::Compose(QPainter::CompositionMode mode)
{
    painter_.setCompositionMode(IsPrinter() ? QPainter::CompositionMode_SourceOver : mode);
}

void Canvas::SetClipRect(std::optional<QRect> clip)
{
    clip_ = clip;
    if (clip_)
        painter_.setClipRect(*clip_);
    else
        painter_.setClipping(false);
}

void Canvas::ApplyMode()
{
    switch (Pen.Mode) {
    case pmNot: Compose(QPainter::RasterOp_NotDestination); break;
    case pmXor: Compose(QPainter::RasterOp_SourceXorDestination); break;
    default: Compose(QPainter::CompositionMode_SourceOver); break;
    }
}

void Canvas::ApplyPen()
{
    ApplyMode();
    if (Pen.Style == psClear) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(Pen.Color), Pen.Width <= 1 ? 0 : Pen.Width, QtPenStyle(Pen.Style));
    pen.setCapStyle(Pen.Width <= 1 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(pen);
}

void Canvas::ApplyBrush()
{
    if (Brush.Style == bsClear)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(ToQColor(Brush.Color));
}

void Canvas::Plot(int x, int y, QRgb rgb)
{
    auto* line = reinterpret_cast<QRgb*>(image_->scanLine(y));
    switch (Pen.Mode) {
    case pmNot: line[x] = ~line[x] | 0xFF000000u; break;
    case pmXor: line[x] ^= rgb & 0x00FFFFFFu; break;
    default: line[x] = rgb; break;
    }
}

void Canvas::Segment(QPoint from, QPoint to)
{
    if (Pen.Style == psClear)
        return;
    if (IsPrinter() && from == to) {  // a dot of the pen's width
        ApplyPen();
        painter_.drawPoint(from);
        return;
    }
    if (!ThinSolidPen() || IsPrinter()) {
        ApplyPen();
        painter_.drawLine(from, to);
        return;
    }
    std::int64_t x0 = from.x(), y0 = from.y(), x1 = to.x(), y1 = to.y();
    const QRect vis = Visible();
    if (vis.isEmpty())
        return;
    if (std::max({std::llabs(x0), std::llabs(y0), std::llabs(x1), std::llabs(y1)}) > kExactLimit) {
        // Clip to the visible area widened by two pixels (Liang-Barsky), so that the end pixel
        // left out of a clipped line lies outside the image anyway.
        const double dx = static_cast<double>(x1 - x0), dy = static_cast<double>(y1 - y0);
        double t0 = 0.0, t1 = 1.0;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {x0 - (vis.left() - 2.0), (vis.right() + 2.0) - x0, y0 - (vis.top() - 2.0),
                             (vis.bottom() + 2.0) - y0};
        for (int k = 0; k < 4; ++k) {
            if (p[k] == 0.0) {
                if (q[k] < 0.0)
                    return;
                continue;
            }
            const double t = q[k] / p[k];
            if (p[k] < 0.0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
        }
        if (t0 > t1)
            return;
        const double sx = x0, sy = y0;
        x0 = std::llround(sx + t0 * dx);
        y0 = std::llround(sy + t0 * dy);
        x1 = std::llround(sx + t1 * dx);
        y1 = std::llround(sy + t1 * dy);
    }
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);  // pixels, end left out
    if (n == 0)
        return;
    const std::int64_t major0 = xMajor ? x0 : y0;
    const std::int64_t minor0 = xMajor ? y0 : x0;
    const std::int64_t dMajor = xMajor ? dx : dy;
    const std::int64_t dMinor = xMajor ? dy : dx;
    const int step = dMajor > 0 ? 1 : -1;
    const std::int64_t lo = xMajor ? vis.left() : vis.top();
    const std::int64_t hi = xMajor ? vis.right() : vis.bottom();
    // Steps i whose major coordinate major0 + step*i lies in lo..hi.
    std::int64_t iFirst = step > 0 ? lo - major0 : major0 - hi;
    std::int64_t iLast = step > 0 ? hi - major0 : major0 - lo;
    iFirst = std::max<std::int64_t>(iFirst, 0);
    iLast = std::min(iLast, n - 1);
    const QRgb rgb = ColorToRGB(Pen.Color);
    for (std::int64_t i = iFirst; i <= iLast; ++i) {
        const std::int64_t major = major0 + step * i;
        const std::int64_t minor = minor0 + floorDiv(2 * i * dMinor + n, 2 * n);
        const std::int64_t x = xMajor ? major : minor;
        const std::int64_t y = xMajor ? minor : major;
        if (x >= vis.left() && x <= vis.right() && y >= vis.top() && y <= vis.bottom())
            Plot(static_cast<int>(x), static_cast<int>(y), rgb);
    }
}

void Canvas::LineTo(int x, int y)
{
    Segment(penPos_, {x, y});
    penPos_ = {x, y};
}

void Canvas::Polyline(const std::vector<QPoint>& points)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        Segment(points[i - 1], points[i]);
    if (!points.empty())
        penPos_ = points.back();
}

void Canvas::Polygon(const std::vector<QPoint>& points)
{
    if (points.empty())
        return;
    if (Brush.Style != bsClear) {
        ApplyMode();
        painter_.setPen(Qt::NoPen);
        ApplyBrush();
        painter_.drawPolygon(points.data(), static_cast<int>(points.size()));
    }
    if (!ThinSolidPen()) {
        ApplyPen();
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPolygon(points.data(), static_cast<int>(points.size()));
        return;
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        Segment(points[i], points[(i + 1) % points.size()]);
}

void Canvas::FillRect(int x1, int y1, int x2, int y2)
{
    NormaliseBox(x1, y1, x2, y2);
    const QRect r = QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)).intersected(Visible());
    if (r.isEmpty() || Brush.Style == bsClear)
        return;
    ApplyMode();
    painter_.fillRect(r, ToQColor(Brush.Color));
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2)
{
    NormaliseBox(x1, y1, x2, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    if (Pen.Style == psClear) {  // without a pen the filled box is one pixel smaller
        FillRect(x1, y1, x2 - 1, y2 - 1);
        return;
    }
    FillRect(x1 + 1, y1 + 1, x2 - 1, y2 - 1);
    if (!ThinSolidPen()) {
        ApplyPen();
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(OutlineBox(x1, y1, x2, y2));
        return;
    }
    // The outline x1..x2-1, y1..y2-1, every pixel once.
    const int r = x2 - 1, b = y2 - 1;
    Segment({x1, y1}, {r + 1, y1});
    if (b > y1)
        Segment({x1, b}, {r + 1, b});
    if (b - y1 > 1) {
        Segment({x1, y1 + 1}, {x1, b});
        if (r > x1)
            Segment({r, y1 + 1}, {r, b});
    }
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2)
{
    NormaliseBox(x1, y1, x2, y2);
    ApplyPen();
    ApplyBrush();
    painter_.drawEllipse(OutlineBox(x1, y1, x2, y2));
}

void Canvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    NormaliseBox(x1, y1, x2, y2);
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const int a3 = ScreenAngle16(cx, cy, x3, y3);
    int span = ScreenAngle16(cx, cy, x4, y4) - a3;
    if (span <= 0)
        span += 360 * 16;  // equal radials: the whole ellipse
    ApplyPen();
    ApplyBrush();
    painter_.drawPie(OutlineBox(x1, y1, x2, y2), a3, span);
}

void Canvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    NormaliseBox(x1, y1, x2, y2);
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const int a3 = ScreenAngle16(cx, cy, x3, y3);
    int span = ScreenAngle16(cx, cy, x4, y4) - a3;
    if (span <= 0)
        span += 360 * 16;
    ApplyPen();
    painter_.drawArc(OutlineBox(x1, y1, x2, y2), a3, span);
}

TColor Canvas::Pixel(int x, int y) const
{
    if (IsPrinter() || !image_->rect().contains(x, y))
        return clBlack;
    return FromQColor(QColor::fromRgb(image_->pixel(x, y)));
}

void Canvas::SetPixel(int x, int y, TColor color)
{
    if (!Visible().contains(x, y))
        return;
    if (IsPrinter()) {
        Compose(QPainter::CompositionMode_SourceOver);
        painter_.setPen(QPen(ToQColor(color), 0));
        painter_.drawPoint(x, y);
        return;
    }
    reinterpret_cast<QRgb*>(image_->scanLine(y))[x] = ColorToRGB(color);
}

void Canvas::TextOut(int x, int y, const QString& text)
{
    x = FarClamp(x);
    y = FarClamp(y);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setFont(Font.Font);
    painter_.setPen(ToQColor(Font.Color));
    if (Brush.Style == bsSolid) {
        painter_.setBackgroundMode(Qt::OpaqueMode);
        painter_.setBackground(ToQColor(Brush.Color));
    } else {
        painter_.setBackgroundMode(Qt::TransparentMode);
    }
    const int ascent = QFontMetrics(Font.Font, &device_).ascent();
    if (Font.Orientation % 3600 == 0) {
        painter_.drawText(x, y + ascent, text);
        return;
    }
    painter_.save();
    painter_.translate(x, y);
    painter_.rotate(-Font.Orientation / 10.0);
    painter_.drawText(0, ascent, text);
    painter_.restore();
}

void Canvas::TextRect(int x1, int y1, int x2, int y2, int x, int y, const QString& text)
{
    const std::optional<QRect> saved = clip_;
    NormaliseBox(x1, y1, x2, y2);
    QRect r(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
    SetClipRect(saved ? saved->intersected(r) : r);
    TextOut(x, y, text);
    SetClipRect(saved);
}

int Canvas::TextWidth(const QString& text) const { return QFontMetrics(Font.Font, &device_).horizontalAdvance(text); }

int Canvas::TextHeight(const QString& /*text*/) const { return QFontMetrics(Font.Font, &device_).height(); }

void Canvas::Draw(int x, int y, const QImage& picture)
{
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.drawImage(QPoint(x, y), picture);
}

void Canvas::StretchDraw(int x1, int y1, int x2, int y2, const QImage& picture)
{
    NormaliseBox(x1, y1, x2, y2);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.drawImage(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), picture);
}

void Canvas::DrawAnd(int x, int y, const QImage& picture)
{
    Compose(QPainter::RasterOp_SourceAndDestination);
    painter_.drawImage(QPoint(x, y), picture.convertToFormat(QImage::Format_RGB32));
}

void Canvas::DrawOr(int x, int y, const QImage& picture)
{
    Compose(QPainter::RasterOp_SourceOrDestination);
    painter_.drawImage(QPoint(x, y), picture.convertToFormat(QImage::Format_RGB32));
}

}  // namespace oxw::platform
