// TMeter: settings, thresholds, layout and mouse reading of the needle meter; its painting is
// in MeterPaint.cpp.
#include "controls/Meter.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numeric/Rounding.h"
#include "controls/StoreChanged.h"

using oxw::controls::Store;

using oxw::numeric::RoundClamped;

namespace {

double ClampInto(double v, double lo, double hi) { return std::min(std::max(v, lo), hi); }

// Direction of (x, y) in screen pixels, 0..2 pi, measured from the positive x axis towards
// positive y (clockwise on screen).
double AngleToXAxis(double x, double y)
{
    double a = 0;
    if (x == 0)
        a = y > 0 ? std::numbers::pi / 2 : 3 * std::numbers::pi / 2;
    else
        a = std::atan(y / x) + (x < 0 ? std::numbers::pi : 0.0);
    if (a < 0)
        a += 2 * std::numbers::pi;
    if (a > 2 * std::numbers::pi)
        a -= 2 * std::numbers::pi;
    return a;
}

int ToInt(double v) { return RoundClamped<int>(v); }

}  // namespace

// ---- TNeedleLayout ----

template <class T>
void TNeedleLayout::Set(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    if (OnChange)
        OnChange();
}

void TNeedleLayout::SetColorBody(TColor c) { Set(FColorFill, c); }
void TNeedleLayout::SetColorOutline(TColor c) { Set(FColorLine, c); }
void TNeedleLayout::SetHeadSize(int s) { Set(FSize1, s); }
void TNeedleLayout::SetThickness(int t) { Set(FThickness, t); }
void TNeedleLayout::SetPercentNeedleLength(int p) { Set(FPctNeedleLeng, std::clamp(p, 0, 100)); }
void TNeedleLayout::SetHeadAngle(int a) { Set(FAngle1, std::clamp(a, 0, 180)); }
void TNeedleLayout::SetHeadMidLeng(int l) { Set(FBackShift1, l); }
void TNeedleLayout::SetShadowDx(int d) { Set(FShadowDx, d); }
void TNeedleLayout::SetShadowDy(int d) { Set(FShadowDy, d); }
void TNeedleLayout::SetShadowColor(TColor c) { Set(FShadowColor, c); }
void TNeedleLayout::SetVisible(bool v) { Set(FVisible, v); }

void TNeedleLayout::Assign(const TNeedleLayout& s)
{
    const auto handler = OnChange;
    *this = s;
    OnChange = handler;
    if (OnChange)
        OnChange();
}

// ---- TMeter ----

TMeter::TMeter(QWidget* parent) : QWidget(parent)
{
    FFontCaption = font();
    FNeedle2Layout.SetVisible(false);
    FNeedleLayout.OnChange = [this] { Changed(); };
    FNeedle2Layout.OnChange = [this] { Changed(); };
    setMouseTracking(true);
    resize(297, 209);
    CalcMeterLayoutParams();
}

void TMeter::Changed()
{
    ++paintRequests_;
    update();
}

double TMeter::Fraction(double v) const
{
    const double d = FMaxValue - FMinValue;
    if (!(d > 0) || !std::isfinite(d))
        return 0;
    const double f = (v - FMinValue) / d;
    return std::isfinite(f) ? f : 0;
}

void TMeter::TestThresholds(double v, bool needleVisible)
{
    FOFL = FUFL = false;
    if (!needleVisible)
        return;
    if (v >= FHighThreshold) {
        FOFL = true;
        if (OnOverFlow) OnOverFlow(this);
    } else if (v <= FLowThreshold) {
        FUFL = true;
        if (OnUnderFlow) OnUnderFlow(this);
    } else if (OnNormalRange) {
        OnNormalRange(this);
    }
}

void TMeter::SetValue(double v)
{
    if (std::isnan(v))
        return;
    if (loading_) {
        FValue = v;
        return;
    }
    if (v == FValue)
        return;
    FValue = ClampInto(v, FMinValue, FMaxValue);
    TestThresholds(FValue, FNeedleLayout.Visible());
    Changed();
}

void TMeter::SetValueSec(double v)
{
    if (std::isnan(v))
        return;
    if (loading_) {
        FValue2 = v;
        return;
    }
    if (v == FValue2)
        return;
    FValue2 = ClampInto(v, FMinValue, FMaxValue);
    if (FNeedle2Layout.Visible()) {
        TestThresholds(FValue2, true);
        Changed();
    }
}

void TMeter::SetMeterMinValue(double v)
{
    if (std::isnan(v))
        return;
    if (loading_) {
        FMinValue = v;
        return;
    }
    if (v == FMinValue)
        return;
    FMinValue = v;
    if (FMaxValue <= v)
        FMaxValue = v + 1;  // may equal v for huge values: the range then has no width
    FValue = std::max(FValue, v);
    FLowThreshold = std::max(FLowThreshold, v);
    FHighThreshold = std::max(FHighThreshold, v);
    Changed();
}

void TMeter::SetMeterMaxValue(double v)
{
    if (std::isnan(v))
        return;
    if (loading_) {
        FMaxValue = v;
        return;
    }
    if (v == FMaxValue)
        return;
    FMaxValue = v;
    if (FMinValue >= v)
        FMinValue = v - 1;
    FValue = std::min(FValue, v);
    FLowThreshold = std::min(FLowThreshold, v);
    FHighThreshold = std::min(FHighThreshold, v);
    Changed();
}

void TMeter::SetThresholdLow(double v)
{
    if (std::isnan(v))
        return;
    if (loading_) {
        FLowThreshold = v;
        return;
    }
    if (v == FLowThreshold)
        return;
    FLowThreshold = ClampInto(v, FMinValue, FMaxValue);
    FHighThreshold = std::max(FHighThreshold, FLowThreshold);
    FUFL = FValue <= FLowThreshold;
    if (FUFL && OnUnderFlow)
        OnUnderFlow(this);
    Changed();
}

void TMeter::SetThresholdHigh(double v)
{
    if (std::isnan(v))
        return;
    if (loading_) {
        FHighThreshold = v;
        return;
    }
    if (v == FHighThreshold)
        return;
    FHighThreshold = ClampInto(v, FMinValue, FMaxValue);
    FLowThreshold = std::min(FLowThreshold, FHighThreshold);
    FOFL = FValue >= FHighThreshold;
    if (FOFL && OnOverFlow)
        OnOverFlow(this);
    Changed();
}

void TMeter::Loaded()
{
    loading_ = false;
    FValue = ClampInto(FValue, FMinValue, FMaxValue);
    if (!FBakGndFName.isEmpty())
        SetBackGroundImg(FBakGndFName);
    if (!FACoverFName.isEmpty())
        SetAnchorImage(FACoverFName);
    Changed();
}

void TMeter::SetMeterLayout(TMeterLayout l)
{
    if (l == FMeterLayout)
        return;
    FMeterLayout = l;
    CalcMeterLayoutParams();
    Changed();
}

void TMeter::CalcMeterLayoutParams()
{
    // In floating point: rims of any size give a radius, never an overflow.
    const double w = width(), h = height();
    const double halfW = std::floor(w / 2);  // W div 2
    const double r0 = h - FBRim - FTRim - 16.0;
    const double side = halfW - FSRim - 8.0;
    const double tall = h - FTRim - FBRim - 16.0;
    double radius = 0;
    bool centreFromTop = false;
    switch (FMeterLayout) {
    case mlCirc90: FMeterAngle = 90; radius = std::min(r0, (w / 2 - FSRim - 8) * 1.414); break;
    case mlCirc120: FMeterAngle = 120; radius = std::min(r0, (w / 2 - FSRim - 8) * 1.1547); break;
    case mlCirc180: FMeterAngle = 180; radius = std::min(side, tall); break;
    case mlCirc270: FMeterAngle = 270; radius = std::min(side, tall / 1.7071); centreFromTop = true; break;
    case mlCirc300: FMeterAngle = 300; radius = std::min(side, tall / 1.866); centreFromTop = true; break;
    case mlCirc360: FMeterAngle = 360; radius = std::min(side, tall / 2); centreFromTop = true; break;
    }
    layoutSize_ = size();
    FMeterRadius = radius;
    FMeterCenterX = ToInt(halfW);
    FMeterCenterY = centreFromTop ? ToInt(FTRim + 8.0 + radius) : ToInt(h - FBRim - 8.0);
}

void TMeter::SyncLayout() const
{
    if (size() != layoutSize_)
        const_cast<TMeter*>(this)->CalcMeterLayoutParams();  // a resize not yet reported
}

bool TMeter::ConvertPixelToValue(int x, int y, double& value) const
{
    SyncLayout();
    double a = AngleToXAxis(double(x) - FMeterCenterX, double(y) - FMeterCenterY) * 180 / std::numbers::pi - 90;
    if (a < 0)
        a += 360;
    const double a1 = 180 - FMeterAngle / 2.0, a2 = 180 + FMeterAngle / 2.0;
    if (a1 <= a && a <= a2) {
        value = (a - a1) / (a2 - a1) * (FMaxValue - FMinValue) + FMinValue;
        return true;
    }
    value = 0;
    return false;
}

void TMeter::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (!OnMouseMoveInMeter)
        return;
    double value = 0;
    const QPoint p = event->position().toPoint();
    const bool inMeter = ConvertPixelToValue(p.x(), p.y(), value);
    OnMouseMoveInMeter(this, inMeter, event->modifiers(), value);
}

void TMeter::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    CalcMeterLayoutParams();
}

void TMeter::paintEvent(QPaintEvent* /*event*/)
{
    const QImage image = PaintImage();
    if (!image.isNull())
        QPainter(this).drawImage(0, 0, image);
}

// ---- plain settings ----

void TMeter::SetMeterDecPlaces(int d) { if (Store(FDecPlaces, std::clamp(d, 0, 4))) Changed(); }
void TMeter::SetMeterNrTicks(int n) { if (Store(FNrTicks, std::clamp(n, 2, 21))) Changed(); }

void TMeter::SetScaleBkWidth(double w)
{
    if (std::isnan(w))
        return;
    FScaleBakWidth = std::clamp(w, 0.0, 100.0);
    Changed();
}

void TMeter::SetScaleBkVisible(bool on) { if (Store(FScaleBkVis, on)) Changed(); }
void TMeter::SetScaleVisible(bool on) { if (Store(FScaleVis, on)) Changed(); }
void TMeter::SetMeterShortTicks(bool on) { if (Store(FShortTicks, on)) Changed(); }
void TMeter::SetMeterScaleLine(bool on) { if (Store(FScaleLine, on)) Changed(); }
void TMeter::SetAnchorCovered(bool on) { if (Store(FAnchorCovrd, on)) Changed(); }
void TMeter::SetLimWatchHighOn(bool on) { if (Store(FLimWatHighOn, on)) Changed(); }
void TMeter::SetLimWatchLowOn(bool on) { if (Store(FLimWatLowOn, on)) Changed(); }
void TMeter::SetLimWatchActColor(TColor c) { if (Store(FLimWatActCol, c)) Changed(); }
void TMeter::SetLimWatchPsvColor(TColor c) { if (Store(FLimWatPsvCol, c)) Changed(); }
void TMeter::SetColorScale(TColor c) { if (Store(FColorScale, c)) Changed(); }
void TMeter::SetColorBackGnd(TColor c) { if (Store(FColorBakG, c)) Changed(); }
void TMeter::SetColorCover(TColor c) { if (Store(FColorCover, c)) Changed(); }
void TMeter::SetColorSclBkLow(TColor c) { if (Store(FColorBakGLow, c)) Changed(); }
void TMeter::SetColorSclBkNorm(TColor c) { if (Store(FColorBakGNorm, c)) Changed(); }
void TMeter::SetColorSclBkHigh(TColor c) { if (Store(FColorBakGHigh, c)) Changed(); }
void TMeter::SetFrameStyle(TFrameStyle s) { if (Store(FFrameStyle, s)) Changed(); }
void TMeter::SetBkgndFillMode(TBkgFill m) { if (Store(FBGFillMode, m)) Changed(); }

void TMeter::SetAnchorSize(int s)
{
    FSizeAnchor = s;
    Changed();
}

void TMeter::SetColorScheme(TColorScheme s)
{
    if (!Store(FColorScheme, s))
        return;
    FColGrayLine = s == csBWG ? clGray : clBtnShadow;
    FColWhiteLine = s == csBWG ? clWhite : clBtnHighlight;
    Changed();
}

void TMeter::SetRimBottom(int r)
{
    FBRim = r;
    Changed();
}

void TMeter::SetRimSide(int r)
{
    FSRim = r;
    Changed();
}

void TMeter::SetRimTop(int r)
{
    FTRim = r;
    Changed();
}

void TMeter::SetCaption(const QString& c)
{
    FCaption = c;
    Changed();
}

void TMeter::SetFontCaption(const QFont& f)
{
    FFontCaption = f;
    Changed();
}

void TMeter::SetBackGroundImg(const QString& fileName)
{
    if (!fileName.isEmpty() && QFileInfo::exists(fileName)) {
        FBakGndFName = fileName;
        AuxBGBmp.load(fileName);
    } else {
        FBakGndFName.clear();
    }
    Changed();
}

void TMeter::SetAnchorImage(const QString& fileName)
{
    if (!fileName.isEmpty() && QFileInfo::exists(fileName)) {
        FACoverFName = fileName;
        LoadAnchorImage();
    } else {
        FACoverFName.clear();
    }
    Changed();
}

// The anchor picture and its mask: each colour byte of the mask is 255 where the picture's is 0
// and 0 elsewhere, so black picture pixels keep what lies below.
void TMeter::LoadAnchorImage()
{
    AuxACBmp.load(FACoverFName);
    AuxACBmp = AuxACBmp.convertToFormat(QImage::Format_RGB32);
    AuxACMaskBmp = AuxACBmp;
    for (int y = 0; y < AuxACMaskBmp.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(AuxACMaskBmp.scanLine(y));
        for (int x = 0; x < AuxACMaskBmp.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgb(qRed(p) ? 0 : 255, qGreen(p) ? 0 : 255, qBlue(p) ? 0 : 255);
        }
    }
}
