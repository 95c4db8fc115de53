#include "controls/RChart.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "numeric/ScaleParams.h"

namespace {

constexpr double kLogFloor = 1e-100;

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
    long double first = 0.0L;
    long double step = 0.0L;
    std::uint16_t divi = 1;
    oxw::numeric::CalcScalePars(s.MinTicks(), lo, hi, first, step, divi);
    if (step <= 0.0L) return ticks;
    for (long double v = first; v - hi <= 0.001L * step && ticks.size() < 200; v += step) {
        ticks.push_back(static_cast<double>(v));
    }
    return ticks;
}

}  // namespace

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
        const int decimals = oxw::numeric::CalcM(-2, scaleX1_.RangeLow(), scaleX1_.RangeHigh());
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
        const int decimals = oxw::numeric::CalcM(-2, scaleY1_.RangeLow(), scaleY1_.RangeHigh());
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
