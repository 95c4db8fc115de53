// TRChart: world-to-pixel mapping of the 16 layers, the range chain (SetRange -> SetRangeIntern
// -> ForceRange -> ForceRngIntern) with joined layers, Isometric, the zoom history, and the
// copying of axis settings into the hidden scales.
//
// Mapping of layer L: pixel x = Cpkx * u + Cpdx, pixel y = Cpky * v + Cpdy, with u, v the world
// values or, on a logarithmic axis, their natural logarithms. RangeLow maps to the data area's
// left (bottom) edge and RangeHigh to its right (top) edge: MarginLeft .. Width - MarginRight -
// ShadowWidth, Height - MarginBottom - ShadowWidth .. MarginTop. The factors are kept in
// extended precision, so every finite range maps without overflow.
#include "controls/RChart.h"

#include <algorithm>
#include <cmath>

#include "numeric/Rounding.h"

using oxw::platform::FarClamp;

namespace {

constexpr long double kMaxPixel = 2147483647.0L;

bool ValidLayer(int layer) { return layer >= 1 && layer <= MaxNumLayers; }
std::size_t Ix(int layer) { return static_cast<std::size_t>(layer); }

// Factors that map lo -> startPix and hi -> endPix. A data area under one pixel, and a range
// that cannot be mapped (equal ends, or an end at or below 0 on a logarithmic axis), map every
// value to `middle`.
void AxisFactors(long double size, long double startPix, long double endPix, const TScaleProps& axis,
                 long double middle, long double& k, long double& d)
{
    long double lo = axis.RangeLow(), hi = axis.RangeHigh();
    if (axis.Logarithmic()) {
        lo = std::log(lo);
        hi = std::log(hi);
    }
    k = (endPix - startPix) / (hi - lo);
    d = (startPix * hi - endPix * lo) / (hi - lo);
    if (size < 1 || !std::isfinite(k) || !std::isfinite(d) || k == 0) {
        k = 0;
        d = middle;
    }
}

int RoundPixel(long double p)
{
    p = std::clamp(p, -kMaxPixel, kMaxPixel);  // NaN passes through and rounds to 0
    return oxw::numeric::RoundClamped<int>(static_cast<double>(p));
}

}  // namespace

void TCustomRChart::AdjustScaling()
{
    if (FLoading)
        return;
    const long double right = DataRight(), bottom = DataBottom();
    for (int L = 1; L <= MaxNumLayers; ++L) {
        AxisFactors(DataWidth(), FLRim, right, *FScalePropsX[Ix(L)], width() / 2.0L, Cpkx[Ix(L)], Cpdx[Ix(L)]);
        AxisFactors(DataHeight(), bottom, FTRim, *FScalePropsY[Ix(L)], height() / 2.0L, Cpky[Ix(L)], Cpdy[Ix(L)]);
    }
}

void TCustomRChart::R2M(int Layer, double xin, double yin, int& xout, int& yout)
{
    SyncBounds();
    R2MRaw(Layer, xin, yin, xout, yout);
}

void TCustomRChart::R2MRaw(int Layer, double xin, double yin, int& xout, int& yout) const
{
    const std::size_t L = Ix(std::clamp(Layer, 1, MaxNumLayers));
    const TScaleProps& ax = *FScalePropsX[L];
    const TScaleProps& ay = *FScalePropsY[L];
    long double px = 0, py = 0;
    if (!ax.Logarithmic())
        px = Cpkx[L] * xin + Cpdx[L];
    else if (xin <= SmallPosNum)
        px = ax.RangeHigh() >= ax.RangeLow() ? 0 : width();
    else
        px = Cpkx[L] * std::log(static_cast<long double>(xin)) + Cpdx[L];
    if (!ay.Logarithmic())
        py = Cpky[L] * yin + Cpdy[L];
    else if (yin <= SmallPosNum)
        py = ay.RangeHigh() >= ay.RangeLow() ? height() : 0;
    else
        py = Cpky[L] * std::log(static_cast<long double>(yin)) + Cpdy[L];
    xout = RoundPixel(px);
    yout = RoundPixel(py);
}

void TCustomRChart::M2R(int Layer, int xin, int yin, double& xout, double& yout)
{
    SyncBounds();
    const std::size_t L = Ix(std::clamp(Layer, 1, MaxNumLayers));
    auto invert = [](const TScaleProps& axis, long double k, long double d, int pixel) {
        if (k == 0)
            return axis.RangeLow() / 2.0 + axis.RangeHigh() / 2.0;
        const long double u = (pixel - d) / k;
        return static_cast<double>(axis.Logarithmic() ? std::exp(u) : u);
    };
    xout = invert(*FScalePropsX[L], Cpkx[L], Cpdx[L], xin);
    yout = invert(*FScalePropsY[L], Cpky[L], Cpdy[L], yin);
}

// ---- the range chain ----

void TCustomRChart::SetRange(int Layer, double xLo, double yLo, double xHi, double yHi)
{
    if (Layer < 0 || Layer > MaxNumLayers)
        return;
    SyncBounds();
    if (Layer == 0)
        for (int L = 1; L <= MaxNumLayers; ++L)
            SetRangeIntern(L, xLo, yLo, xHi, yHi, true, false);
    else
        SetRangeIntern(Layer, xLo, yLo, xHi, yHi, true, false);
    StyleChanged();
}

double TCustomRChart::IsometricHeight(double xSpan, int widthShadows) const
{
    const long double h = 0LL + height() - FTRim - FBRim - FShadowWidth + 1;
    const long double w = 0LL + width() - FLRim - FRRim - static_cast<long long>(widthShadows) * FShadowWidth + 1;
    if (w <= 0)
        return std::nan("");  // no data area to keep in proportion: the y range stays
    return static_cast<double>(xSpan * h / w * Fyasp / Fxasp);
}

void TCustomRChart::SetRangeIntern(int Layer, double xLo, double yLo, double xHi, double yHi, bool EnterToZoomStack,
                                   bool ConfineRange)
{
    if (!ValidLayer(Layer))
        return;
    if (xLo == xHi) {
        const double half = FScalePropsX[Ix(Layer)]->MinRange() / 2.0;
        xLo -= half;
        xHi += half;
    }
    if (yLo == yHi) {
        const double half = FScalePropsY[Ix(Layer)]->MinRange() / 2.0;
        yLo -= half;
        yHi += half;
    }
    if (FIsometric)
        yHi = yLo + IsometricHeight(xHi - xLo, 1);
    ForceRange(Layer, xLo, yLo, xHi, yHi, EnterToZoomStack, ConfineRange);
}

void TCustomRChart::ForceRange(int Layer, double xLo, double yLo, double xHi, double yHi, bool EnterToZoomStack,
                               bool ConfineRange)
{
    if (!ValidLayer(Layer))
        return;
    const bool suppressed = FSuppressPaint;
    FSuppressPaint = true;
    const TScaleProps& x = *FScalePropsX[Ix(Layer)];
    const TScaleProps& y = *FScalePropsY[Ix(Layer)];
    if (FJointLayers.ControlledLayerX(Layer) != Layer) {
        xLo = x.RangeLow();
        xHi = x.RangeHigh();
    }
    if (FJointLayers.ControlledLayerY(Layer) != Layer) {
        yLo = y.RangeLow();
        yHi = y.RangeHigh();
    }
    ForceRngIntern(Layer, xLo, yLo, xHi, yHi, EnterToZoomStack, ConfineRange);
    for (int i = 1; i <= MaxNumLayers; ++i) {
        const int mx = FJointLayers.ControlledLayerX(i), my = FJointLayers.ControlledLayerY(i);
        if (i == Layer || (mx != Layer && my != Layer))
            continue;
        const TScaleProps& xm = *FScalePropsX[Ix(mx)];
        const TScaleProps& ym = *FScalePropsY[Ix(my)];
        ForceRngIntern(i, xm.RangeLow(), ym.RangeLow(), xm.RangeHigh(), ym.RangeHigh(), true, false);
    }
    SetSuppressPaint(suppressed);
}

bool TCustomRChart::RangeCounts(const TScaleProps& axis) const
{
    return std::abs(axis.RangeLow() - axis.RangeHigh()) >= axis.MinRange() &&
           (!axis.Logarithmic() || axis.RangeLow() >= SmallPosNum || axis.RangeHigh() >= SmallPosNum);
}

// A bound that is not finite leaves its axis unchanged.
void TCustomRChart::ForceRngIntern(int Layer, double xLo, double yLo, double xHi, double yHi, bool EnterToZoomStack,
                                   bool /*ConfineRange: no zoom confinement box is ever set*/)
{
    if (!ValidLayer(Layer))
        return;
    TScaleProps& x = *FScalePropsX[Ix(Layer)];
    TScaleProps& y = *FScalePropsY[Ix(Layer)];
    if (std::isfinite(xLo) && std::isfinite(xHi))
        x.StoreRange(xLo, xHi);
    if (std::isfinite(yLo) && std::isfinite(yHi))
        y.StoreRange(yLo, yHi);
    SetScaleProps(*FScaleX[Ix(Layer)], x);
    SetScaleProps(*FScaleY[Ix(Layer)], y);
    if (EnterToZoomStack && (RangeCounts(x) || RangeCounts(y)))
        ZoomStateOnStack();
    AdjustScaling();
}

void TCustomRChart::ScalePropsChanged()
{
    if (FLoading)
        return;
    CopyAllScaleProps();
    for (int L = 1; L <= MaxNumLayers; ++L) {
        const TScaleProps& x = *FScalePropsX[Ix(L)];
        const TScaleProps& y = *FScalePropsY[Ix(L)];
        ForceRange(L, x.RangeLow(), y.RangeLow(), x.RangeHigh(), y.RangeHigh(), false, false);
    }
    Paint();
}

void TCustomRChart::ResetIsometricRanges(int widthShadows)
{
    for (int L = 1; L <= MaxNumLayers; ++L) {
        TScaleProps& x = *FScalePropsX[Ix(L)];
        TScaleProps& y = *FScalePropsY[Ix(L)];
        const double high = y.RangeLow() + IsometricHeight(x.RangeHigh() - x.RangeLow(), widthShadows);
        if (std::isfinite(high))
            y.StoreRange(y.RangeLow(), high);
    }
}

void TCustomRChart::SetIsometric(bool on)
{
    FIsometric = on;
    if (!on)
        return;
    for (int L = 1; L <= MaxNumLayers; ++L) {
        TScaleProps& x = *FScalePropsX[Ix(L)];
        TScaleProps& y = *FScalePropsY[Ix(L)];
        y.SetRangeHigh(y.RangeLow() + IsometricHeight(x.RangeHigh() - x.RangeLow(), 1));
    }
    ZoomStateOnStack();
    StyleChanged();
}

// ---- zoom history ----

void TCustomRChart::ZoomStateOnStack()
{
    if (FLoading)
        return;
    for (int L = 1; L <= MaxNumLayers; ++L) {
        const TScaleProps& x = *FScalePropsX[Ix(L)];
        const TScaleProps& y = *FScalePropsY[Ix(L)];
        FZoomStack[Ix(FZStackPoi)][Ix(L)] = {x.RangeLow(), y.RangeHigh(), x.RangeHigh(), y.RangeLow()};
    }
    FZStackPoi = FZStackPoi % MaxZoomStack + 1;
}

void TCustomRChart::ClearZoomHistory()
{
    FZoomStack = {};
    FZStackPoi = 1;
    ZoomStateOnStack();
}

TRectDouble TCustomRChart::ZoomStack(int slot, int layer) const
{
    if (slot < 1 || slot > MaxZoomStack || !ValidLayer(layer))
        return {};
    return FZoomStack[Ix(slot)][Ix(layer)];
}

// ---- axis settings into the hidden scales ----

void TCustomRChart::SetScaleProps(TScale& scl, const TScaleProps& p)
{
    scl.SetScaleType(p.ScaleType());
    const long long w = width(), h = height(), pos = p.ScalePos();
    switch (p.ScaleType()) {
    case sctXB: scl.SetMarginBottom(FarClamp(pos + h - FTRim - 1)); break;
    case sctXT: scl.SetMarginTop(FarClamp(pos + h - FBRim - FShadowWidth)); break;
    case sctYL: scl.SetMarginLeft(FarClamp(pos + w - FRRim - FShadowWidth)); break;
    case sctYR: scl.SetMarginRight(FarClamp(pos + w - FLRim - 1)); break;
    }
    scl.SetRangeLow(p.RangeLow());
    scl.SetRangeHigh(p.RangeHigh());
    scl.SetVisible(p.Visible());
    scl.SetCaption(p.Caption());
    scl.SetCaptionPosX(p.CaptionPosX());
    scl.SetCaptionPosY(p.CaptionPosY());
    scl.SetCaptionAlignment(p.CaptionAlignment());
    scl.SetCaptionAnchor(p.CaptionAnchor());
    scl.SetColorScale(p.ColorScale());
    scl.SetDecPlaces(p.DecPlaces());
    scl.SetLogarithmic(p.Logarithmic());
    scl.SetLabelType(p.LabelType());
    scl.SetShortTicks(p.ShortTicks());
    scl.SetMinTicks(p.MinTicks());
    scl.SetScaleInscript(p.ScaleInscript());
    scl.SetUserTickText(p.UserTickText());
    scl.setFont(p.Font());
    scl.SetDateFormat(p.DateFormat());
}

void TCustomRChart::CopyAllScaleProps()
{
    for (int L = 1; L <= MaxNumLayers; ++L) {
        SetScaleProps(*FScaleX[Ix(L)], *FScalePropsX[Ix(L)]);
        SetScaleProps(*FScaleY[Ix(L)], *FScalePropsY[Ix(L)]);
    }
}

void TCustomRChart::SetHelperMargins()
{
    for (int L = 1; L <= MaxNumLayers; ++L) {
        TScale& x = *FScaleX[Ix(L)];
        TScale& y = *FScaleY[Ix(L)];
        x.SetMarginLeft(FLRim);
        x.SetMarginRight(FRRim + FShadowWidth - 1);
        y.SetMarginTop(FTRim);
        y.SetMarginBottom(FBRim + FShadowWidth - 1);
    }
}
