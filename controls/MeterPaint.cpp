// TMeter: painting of the dial, step by step, on a work picture of the control's size.
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "controls/Meter.h"
#include "numeric/NumberFormat.h"
#include "numeric/Rounding.h"
#include "numeric/ScaleParams.h"
#include "platform/Canvas.h"

using oxw::numeric::RoundClamped;
using oxw::platform::Canvas;
using oxw::platform::FarClamp;

namespace {

constexpr int kLongTick = 8, kShortTick = 4, kTextDist = 15, kOFLSize = 10;
constexpr int kMaxTicks = 10000;  // more ticks than pixels on any dial

// A computed pixel coordinate, rounded and kept within the far limit of the canvas.
int ToInt(double v) { return FarClamp(RoundClamped<int>(v)); }
double Rad(double deg) { return deg * std::numbers::pi / 180.0; }

}  // namespace

class MeterPainter {
public:
    MeterPainter(TMeter& meter, Canvas& canvas)
        : m(meter), cv(canvas), W(meter.width()), H(meter.height()), cx(FarClamp(meter.FMeterCenterX)),
          cy(FarClamp(meter.FMeterCenterY)), R(std::min<double>(meter.FMeterRadius, oxw::platform::kFarCoordinate)),
          A(meter.FMeterAngle), side(FarClamp(meter.FSRim)),
          top(FarClamp(meter.FTRim)), bottom(FarClamp(meter.FBRim))
    {
    }

    void Background();
    void Bands();
    void Scale();
    void Caption();
    void Needles();
    void Cover();
    void Lamps();
    void Frame();

private:
    // Angle of a value in degrees: counter-clockwise from the positive x axis, y up.
    double Theta(double v) const { return (A / 2.0 + 90.0) - m.Fraction(v) * A; }
    QPoint At(double thetaDeg, double d) const
    {
        return {ToInt(cx + d * std::cos(Rad(thetaDeg))), ToInt(cy - d * std::sin(Rad(thetaDeg)))};
    }
    void Radial(double thetaDeg, double from, double to)
    {
        const QPoint a = At(thetaDeg, from), b = At(thetaDeg, to);
        cv.MoveTo(a.x(), a.y());
        cv.LineTo(b.x(), b.y());
    }
    void Needle(const TNeedleLayout& n, double value);
    void Lamp(int x, int y, bool lit);

    TMeter& m;
    Canvas& cv;
    const int W, H, cx, cy;
    const double R;
    const int A;
    // Centre, radius and rims of any size: beyond 2^24 pixels they look the same, and sums of a
    // few of them still fit an int.
    const int side, top, bottom;
};

void MeterPainter::Background()
{
    const QImage& bg = m.AuxBGBmp;
    if (m.FBakGndFName.isEmpty() || bg.isNull()) {
        cv.Font.Font = m.font();
        cv.Brush.Color = m.FColorBakG;
        cv.FillRect(0, 0, W, H);
        return;
    }
    switch (m.FBGFillMode) {
    case bfStretch:
        cv.StretchDraw(0, 0, W, H, bg);
        break;
    case bfTile:
        for (int y = 0; y < H; y += bg.height())
            for (int x = 0; x < W; x += bg.width())
                cv.Draw(x, y, bg);
        break;
    default:
        cv.FillRect(0, 0, W, H);  // the current brush
        cv.Draw(0, 0, bg);
        break;
    }
}

// Pies for the low, normal and high ranges, cut down to a ring by a disc in the dial colour.
void MeterPainter::Bands()
{
    const int rb = ToInt(R + 4);
    auto band = [&](double clockwiseEnd, double otherEnd, TColor color) {
        const double a1 = Theta(clockwiseEnd), a2 = Theta(otherEnd);
        if (std::fabs(Rad(a2 - a1)) <= 1e-6)
            return;
        cv.Pen.Color = cv.Brush.Color = color;
        const QPoint p3 = At(a1, rb), p4 = At(a2, rb);
        cv.Pie(cx - rb, cy - rb, cx + rb, cy + rb, p3.x(), p3.y(), p4.x(), p4.y());
    };
    band(m.FLowThreshold, m.FMinValue, m.FColorBakGLow);
    band(m.FHighThreshold, m.FLowThreshold, m.FColorBakGNorm);
    band(m.FMaxValue, m.FHighThreshold, m.FColorBakGHigh);
    const int inner = ToInt((100 - m.FScaleBakWidth) * R / 100);
    cv.Pen.Color = cv.Brush.Color = m.FColorBakG;
    cv.Ellipse(cx - inner, cy - inner, cx + inner, cy + inner);
}

// Scale line, short ticks, long ticks and their labels. A tick step of 0 or not finite (a range
// without width) draws no ticks.
void MeterPainter::Scale()
{
    cv.Pen.Color = m.FColorScale;
    cv.Brush.Style = bsClear;
    const double lo = m.FMinValue, hi = m.FMaxValue;
    if (m.FScaleLine) {
        const int r = ToInt(R);
        const QPoint p3 = At(Theta(hi), r), p4 = At(Theta(lo), r);
        cv.Arc(cx - r, cy - r, cx + r, cy + r, p3.x(), p3.y(), p4.x(), p4.y());
    }
    long double t0 = 0, d = 0;
    std::uint16_t divi = 1;
    oxw::numeric::CalcScalePars(m.FNrTicks, lo, hi, t0, d, divi);
    if (d == 0 || !std::isfinite(d))
        return;
    const long double s = d / divi;
    if (m.FShortTicks) {
        for (int k = 0; k < kMaxTicks; ++k) {
            const long double t = (t0 - d) + k * s;
            const long double q = (t - t0) / d;
            if (std::fabs(q - std::trunc(q)) > 1e-5L && t >= lo)
                Radial(Theta(double(t)), R, R - kShortTick);
            if ((t0 - d) + (k + 1) * s - hi > 0.001L * s)
                break;
        }
    }
    const int decimals = oxw::numeric::CalcM(m.FDecPlaces, lo, hi);
    cv.Font.Font = m.font();
    cv.Font.Color = FromQColor(m.palette().color(QPalette::WindowText));
    const QString widest = QString::fromStdString(oxw::numeric::strff(hi, 1, decimals));
    const double dx = cv.TextWidth(widest) / 2 + kTextDist;
    const double dy = cv.TextHeight(widest) / 2 + kTextDist;
    for (int k = 0; k < kMaxTicks; ++k) {
        const long double t = t0 + k * d;
        const double th = Theta(double(t));
        Radial(th, R, R - kLongTick);
        const QPoint centre(ToInt(cx + std::cos(Rad(th)) * (R - dx)), ToInt(cy - std::sin(Rad(th)) * (R - dy)));
        QString text = QString::fromStdString(oxw::numeric::strff(double(t), 1, decimals));
        const int th2 = cv.TextHeight(text) / 2;
        if (m.OnBeforeDrawScaleLabel)
            m.OnBeforeDrawScaleLabel(cv, text, centre.x() - cv.TextWidth(text) / 2, centre.y() - th2);
        if (!text.isEmpty())
            cv.TextOut(centre.x() - cv.TextWidth(text) / 2, centre.y() - th2, text);
        if (t0 + (k + 1) * d - hi > 0.001L * d)
            break;
    }
}

void MeterPainter::Caption()
{
    if (m.FCaption.isEmpty())
        return;
    cv.Font.Font = m.FFontCaption;
    cv.Font.Color = FromQColor(m.palette().color(QPalette::WindowText));
    cv.Brush.Style = bsClear;
    const int y = cy - ToInt(R / 3);
    cv.TextOut(cx - cv.TextWidth(m.FCaption) / 2, y - cv.TextHeight(m.FCaption) / 2, m.FCaption);
}

void MeterPainter::Needles()
{
    bool handled = false;
    if (m.OnBeforeDrawNeedle)
        m.OnBeforeDrawNeedle(cv, handled);
    if (handled)
        return;
    cv.Brush.Style = bsSolid;
    if (m.FNeedle2Layout.Visible())
        Needle(m.FNeedle2Layout, m.FValue2);
    Needle(m.FNeedleLayout, m.FValue);  // drawn even when its layout is hidden
}

// The needle: two barbs and the tip, the shaft's two edges from the head back to the centre.
void MeterPainter::Needle(const TNeedleLayout& n, double value)
{
    const double th = Rad(Theta(value));
    const double len = n.PercentNeedleLength() * (R - 4) * 0.01;
    const double px = cx + len * std::cos(th), py = cy - len * std::sin(th);
    const double h = Rad(n.HeadAngle() / 2.0);
    const double ex = n.Thickness() / 2.0 * std::sin(th), ey = n.Thickness() / 2.0 * std::cos(th);
    // Moving back along the angle phi by d adds (-d cos phi, +d sin phi) on screen.
    auto back = [](double x, double y, double phi, double d) {
        return QPoint(ToInt(x - d * std::cos(phi)), ToInt(y + d * std::sin(phi)));
    };
    std::vector<QPoint> pts = {
        back(px, py, th + h, n.HeadSize()), QPoint(ToInt(px), ToInt(py)), back(px, py, th - h, n.HeadSize()),
        back(px - ex, py - ey, th, n.HeadMidLeng()), QPoint(ToInt(cx - ex), ToInt(cy - ey)),
        QPoint(ToInt(cx + ex), ToInt(cy + ey)), back(px + ex, py + ey, th, n.HeadMidLeng()),
    };
    if (n.ShadowDx() != 0 || n.ShadowDy() != 0) {
        std::vector<QPoint> shadow = pts;
        for (QPoint& p : shadow)
            p -= QPoint(FarClamp(n.ShadowDx()), FarClamp(n.ShadowDy()));
        cv.Pen.Color = cv.Brush.Color = n.ShadowColor();
        cv.Polygon(shadow);
    }
    cv.Pen.Color = n.ColorOutline();
    cv.Brush.Color = n.ColorBody();
    cv.Polygon(pts);
}

// Rims, the lowered edge of the dial opening and the needle anchor.
void MeterPainter::Cover()
{
    cv.Brush.Style = bsSolid;
    cv.Brush.Color = m.FColorCover;
    cv.FillRect(0, 0, side, H);
    cv.FillRect(0, 0, W, top);
    cv.FillRect(W - side, 0, W, H);
    cv.FillRect(0, H - bottom, W, H);
    cv.Pen.Color = m.FColGrayLine;
    cv.Polyline({{side - 1, H - bottom}, {side - 1, top - 1}, {W - side, top - 1}});
    cv.Pen.Color = m.FColWhiteLine;
    cv.Polyline({{W - side, top - 1}, {W - side, H - bottom}, {side - 1, H - bottom}});
    if (!m.FAnchorCovrd)
        return;
    if (!m.FACoverFName.isEmpty() && !m.AuxACBmp.isNull()) {
        const int x = cx - m.AuxACBmp.width() / 2, y = cy - m.AuxACBmp.height() / 2;
        cv.DrawAnd(x, y, m.AuxACMaskBmp);
        cv.DrawOr(x, y, m.AuxACBmp);
        return;
    }
    const int a = FarClamp(m.FSizeAnchor);
    cv.Pen.Color = cv.Brush.Color = m.FColorCover;
    if (m.FMeterLayout == mlCirc270 || m.FMeterLayout == mlCirc300 || m.FMeterLayout == mlCirc360) {
        cv.Ellipse(cx - a, cy - a, cx + a, cy + a);
        cv.Pen.Color = m.FColWhiteLine;
        cv.Arc(cx - a, cy - a, cx + a, cy + a, cx + a, cy - a, cx - a, cy + a);
        cv.Pen.Color = m.FColGrayLine;
        cv.Arc(cx - a, cy - a, cx + a, cy + a, cx - a, cy + a, cx + a, cy - a);
        return;
    }
    cv.Pie(cx - a, cy - a, cx + a, cy + a, cx + a, cy, cx - a, cy);  // the upper half
    cv.Rectangle(cx - a, cy, cx + a, H - bottom);  // down to the bottom rim
    cv.Pen.Color = m.FColWhiteLine;
    cv.Arc(cx - a, cy - a, cx + a, cy + a, cx, cy - a, cx - a, cy);
    cv.MoveTo(cx - a, cy);
    cv.LineTo(cx - a, H - bottom);
    cv.Pen.Color = m.FColGrayLine;
    cv.Arc(cx - a, cy - a, cx + a, cy + a, cx + a, cy, cx, cy - a);
    cv.MoveTo(cx + a - 1, cy);
    cv.LineTo(cx + a - 1, H - bottom);
}

void MeterPainter::Lamp(int x, int y, bool lit)
{
    cv.Brush.Style = bsSolid;
    cv.Brush.Color = lit ? m.FLimWatActCol : m.FLimWatPsvCol;
    cv.Pen.Color = clBlack;
    cv.Rectangle(x, y, x + kOFLSize, y + kOFLSize);
    cv.Pen.Color = m.FColGrayLine;
    cv.Polyline({{x - 1, y + kOFLSize}, {x - 1, y - 1}, {x + kOFLSize + 1, y - 1}});
    cv.Pen.Color = m.FColWhiteLine;
    cv.Polyline({{x + kOFLSize, y}, {x + kOFLSize, y + kOFLSize}, {x - 1, y + kOFLSize}});
    cv.SetPixel(x - 1, y + kOFLSize, clSilver);
    cv.SetPixel(x + kOFLSize, y - 1, clSilver);
}

void MeterPainter::Lamps()
{
    if (m.FLimWatHighOn)
        Lamp(W - side - 18, top + 8, m.FOFL);
    if (m.FLimWatLowOn)
        Lamp(side + 8, top + 8, m.FUFL);
}

void MeterPainter::Frame()
{
    const TColor grey = m.FColGrayLine, white = m.FColWhiteLine;
    auto path = [this](TColor c, std::vector<QPoint> pts) {
        cv.Pen.Color = c;
        cv.Polyline(pts);
    };
    switch (m.FFrameStyle) {
    case fsSimple:
        path(m.FColorBakG, {{0, H - 1}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
        break;
    case fsLowered:
    case fsRaised: {
        const bool lowered = m.FFrameStyle == fsLowered;
        path(lowered ? grey : white, {{0, H - 1}, {0, 0}, {W - 1, 0}});
        path(lowered ? white : grey, {{W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
        break;
    }
    case fsEmbossed:
    case fsEngraved: {
        const bool embossed = m.FFrameStyle == fsEmbossed;
        path(embossed ? white : grey, {{0, 0}, {W - 2, 0}, {W - 2, H - 2}, {0, H - 2}, {0, 0}});
        path(embossed ? grey : white, {{1, H - 3}, {1, 1}, {W - 2, 1}});
        path(embossed ? grey : white, {{1, H - 1}, {W - 1, H - 1}, {W - 1, 0}});
        break;
    }
    default:
        break;
    }
}

QImage TMeter::PaintImage()
{
    SyncLayout();
    if (!(FMeterRadius > 0) || width() <= 0 || height() <= 0)
        return {};
    QImage image(width(), height(), QImage::Format_RGB32);
    {
        Canvas cv(image);
        MeterPainter p(*this, cv);
        p.Background();
        if (FScaleBkVis)
            p.Bands();
        if (FScaleVis)
            p.Scale();
        p.Caption();
        p.Needles();
        p.Cover();
        p.Lamps();
        if (OnMeterRendered)
            OnMeterRendered(cv);
        p.Frame();
    }
    return image;
}
