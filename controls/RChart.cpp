#include "controls/RChart.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLogFloor = 1e-100;
constexpr double kLg2 = 0.30102999566398120;
constexpr double kLg5 = 0.69897000433601886;

// Position of v between lo and hi as a fraction, on a linear or logarithmic axis.
double AxisFraction(const TScaleProps& s, double v)
{
    double lo = s.RangeLow();
    double hi = s.RangeHigh();
    if (s.Logarithmic()) {
        if (v <= kLogFloor) return hi >= lo ? -1e6 : 1e6;
        v = std::log(v);
        lo = std::log(std::max(lo, kLogFloor));
        hi = std::log(std::max(hi, kLogFloor));
    }
    return hi == lo ? 0.5 : (v - lo) / (hi - lo);
}

QString TickLabel(double value, int decimals)
{
    if (decimals < 0) return QString::number(value, 'e', 2);
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0.0;  // no "-0.0"
    return QString::number(value, 'f', decimals);
}

// Tick values of one axis: 1-2-5 steps on a linear axis, decades on a logarithmic one.
std::vector<double> TickValues(const TScaleProps& s)
{
    std::vector<double> ticks;
    const double lo = std::min(s.RangeLow(), s.RangeHigh());
    const double hi = std::max(s.RangeLow(), s.RangeHigh());
    if (s.Logarithmic()) {
        for (double e = std::ceil(std::log10(lo)); e <= std::floor(std::log10(hi)) && ticks.size() < 40;
             e += 1.0) {
            ticks.push_back(std::pow(10.0, e));
        }
        return ticks;
    }
    const TScaleTicks t = ChartScaleTicks(s.MinTicks(), lo, hi);
    if (t.Distance <= 0.0) return ticks;
    for (double v = t.LowTick; v - hi <= 0.001 * t.Distance && ticks.size() < 200; v += t.Distance) {
        ticks.push_back(v);
    }
    return ticks;
}

}  // namespace

TScaleTicks ChartScaleTicks(int ticks, double low, double high)
{
    TScaleTicks t;
    if (low == high || ticks < 1) {
        t.LowTick = low;
        return t;
    }
    const double sign = low >= high ? -1.0 : 1.0;
    double r = std::log10(std::abs(high - low) / ticks);
    double f = r - std::trunc(r);
    if (std::abs(f) < 1e-10 || std::abs(f) > 0.9999999999) {
        f = 0.0;
        r = std::nearbyint(r);
    }
    if (r < 0.0 && f != 0.0) r -= 1.0;
    if (f < 0.0) f += 1.0;
    if (f < kLg2 + 1e-10) {
        r = std::trunc(r);
        t.Divi = 5;
    } else if (f < kLg5 + 1e-10) {
        r = std::trunc(r) + kLg2;
        t.Divi = 4;
    } else {
        r = std::trunc(r) + kLg5;
        t.Divi = 5;
    }
    t.Distance = sign * std::exp(r * std::log(10.0));
    t.LowTick = (std::trunc(low / t.Distance) - 1.0) * t.Distance;
    while (sign * (low - t.LowTick) > 0.001 * std::abs(t.Distance)) t.LowTick += t.Distance;
    return t;
}

int AutoDecimals(double span)
{
    const double h = std::abs(span);
    if (h >= 1e6 || h <= 1e-4) return -1;
    if (h >= 100.0) return 0;
    return 2 - static_cast<int>(std::nearbyint(std::log(h) / 2.5));
}

TRChart::TRChart(QWidget* parent) : QWidget(parent)
{
    scaleX1_.SetVisible(true);
    scaleY1_.SetVisible(true);
    scaleX1_.SetOnChange([this] { ScalePropsChanged(); });
    scaleY1_.SetOnChange([this] { ScalePropsChanged(); });
    setMinimumSize(lRim_ + rRim_ + 80, tRim_ + bRim_ + 20);
}

void TRChart::MoveTo(double x, double y)
{
    items_.push_back({ItemKind::MoveTo, x, y, dataColor_.rgb()});
}

void TRChart::DrawTo(double x, double y)
{
    items_.push_back({ItemKind::LineTo, x, y, dataColor_.rgb()});
}

void TRChart::ShowGraf() { update(); }

void TRChart::ClearGraf()
{
    items_.clear();
    items_.shrink_to_fit();
}

void TRChart::SetCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TRChart::SetMargins(int left, int right, int top, int bottom)
{
    lRim_ = left;
    rRim_ = right;
    tRim_ = top;
    bRim_ = bottom;
    setMinimumSize(lRim_ + rRim_ + 80, tRim_ + bRim_ + 20);
    update();
}

QRect TRChart::DataRect() const
{
    return QRect(QPoint(lRim_, tRim_), QPoint(width() - rRim_ - 1, height() - bRim_ - 1));
}

QPointF TRChart::R2M(double x, double y) const
{
    const QRect d = DataRect();
    return {d.left() + AxisFraction(scaleX1_, x) * (d.right() - d.left()),
            d.bottom() - AxisFraction(scaleY1_, y) * (d.bottom() - d.top())};
}

void TRChart::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect data = DataRect();
    if (data.width() <= 0 || data.height() <= 0) return;
    p.fillRect(data, chartColor_);

    // Items: runs of DrawTo after a MoveTo are drawn as one polyline in the run's colours.
    p.save();
    p.setClipRect(data.adjusted(0, 0, 1, 1));
    p.setRenderHint(QPainter::Antialiasing, false);
    QPolygonF run;
    QRgb runColor = 0;
    auto flush = [&] {
        if (run.size() > 1) {
            p.setPen(QPen(QColor::fromRgb(runColor), 1));
            p.drawPolyline(run);
        }
        run.clear();
    };
    for (const Item& item : items_) {
        const QPointF pt = R2M(item.x, item.y);
        if (item.kind == ItemKind::MoveTo) {
            flush();
            run << pt;
        } else {
            if (item.color != runColor && run.size() > 1) {
                const QPointF last = run.back();
                flush();
                run << last;
            }
            if (run.isEmpty()) run << pt;  // a DrawTo without a MoveTo starts at its point
            run << pt;
        }
        runColor = item.color;
    }
    flush();
    p.restore();

    p.setPen(Qt::black);
    p.drawRect(data);
    const QFontMetrics fm(font());

    if (scaleX1_.Visible()) {
        const double span = scaleX1_.RangeHigh() - scaleX1_.RangeLow();
        const int decimals = AutoDecimals(span);
        for (double v : TickValues(scaleX1_)) {
            const int x = static_cast<int>(std::lround(R2M(v, 0).x()));
            p.drawLine(x, data.bottom(), x, data.bottom() + 5);
            const QString text = TickLabel(v, decimals);
            p.drawText(x - fm.horizontalAdvance(text) / 2, data.bottom() + 6 + fm.ascent(), text);
        }
        const QString cap = scaleX1_.Caption();
        p.drawText(data.center().x() - fm.horizontalAdvance(cap) / 2, data.bottom() + 22 + fm.ascent(),
                   cap);
    }
    if (scaleY1_.Visible()) {
        const double span = scaleY1_.RangeHigh() - scaleY1_.RangeLow();
        const int decimals = AutoDecimals(span);
        for (double v : TickValues(scaleY1_)) {
            const int y = static_cast<int>(std::lround(R2M(0, v).y()));
            p.drawLine(data.left() - 5, y, data.left(), y);
            const QString text = TickLabel(v, decimals);
            p.drawText(data.left() - 7 - fm.horizontalAdvance(text), y + fm.ascent() / 2 - 1, text);
        }
        p.drawText(4, data.top() - 16 + fm.ascent(), scaleY1_.Caption());
    }
    if (!caption_.isEmpty()) {
        p.drawText(data.right() - fm.horizontalAdvance(caption_), data.top() - 16 + fm.ascent(),
                   caption_);
    }
}
