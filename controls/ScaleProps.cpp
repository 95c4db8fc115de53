// Axis settings of a chart layer; see ScaleProps.h.
#include "controls/ScaleProps.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/Canvas.h"

namespace {

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

}  // namespace

TScaleProps::TScaleProps()
{
    FDTFormat.SetTimeFormat(tfHHMMSS);
    FDTFormat.SetDateSeparator('-');
    FDTFormat.SetTimeSeparator(':');
    FDTFormat.SetYearLength(ylYYYY);
    FDTFormat.SetMonthName(true);
    FDTFormat.SetDateForTime(dtOnePerDay);
    FDTFormat.SetDateOrder(doDDMMYY);
    FDTFormat.OnChange = [this] { Changed(); };
}

// ---- range ----

void TScaleProps::SetRangeLow(double value)
{
    if (std::abs(FRangeHigh - value) < FMinRngDiff) {
        if (Finite(value, value + FMinRngDiff))
            StoreRange(value, value + FMinRngDiff);
    } else if (std::isfinite(value) && !(FLogAx && value < SmallPosNum)) {
        FRangeLow = value;
    }
    Changed();
}

void TScaleProps::SetRangeHigh(double value)
{
    if (std::abs(value - FRangeLow) < FMinRngDiff) {
        if (Finite(value, value - FMinRngDiff))
            StoreRange(value - FMinRngDiff, value);
    } else if (std::isfinite(value) && !(FLogAx && value < SmallPosNum)) {
        FRangeHigh = value;
    }
    Changed();
}

void TScaleProps::SetMinRange(double value)
{
    if (!(value > SmallPosNum) || !std::isfinite(value))
        return;
    const double mid = FRangeLow / 2.0 + FRangeHigh / 2.0;
    const double lo = mid - value / 2.0, hi = mid + value / 2.0;
    const bool widen = std::abs(FRangeHigh - FRangeLow) < value;
    if (widen && !Finite(lo, hi))
        return;
    FMinRngDiff = value;
    if (widen) {
        StoreRange(lo, hi);
        Changed();
    }
}

void TScaleProps::SetLogarithmic(bool on)
{
    if (!on || FNotYetLoaded)
        FLogAx = on;
    else if (FRangeLow >= SmallPosNum && FRangeHigh >= SmallPosNum && FLabelType != ftDateTime)
        FLogAx = true;
    Changed();
}

// ---- ticks and labels ----

void TScaleProps::SetLabelType(TFigType t)
{
    FLabelType = t;
    if (t == ftDateTime)
        FLogAx = false;
    if (t == ftTime)
        FDecPlaces = 4;
    Changed();
}

void TScaleProps::SetDecPlaces(int d)
{
    FDecPlaces = std::clamp(d, -3, 12);
    Changed();
}

void TScaleProps::SetMinTicks(int ticks) { FMinTicks = ticks; Changed(); }
void TScaleProps::SetShortTicks(bool on) { FShortTicks = on; Changed(); }
void TScaleProps::SetScaleInscript(const QString& t) { FScaleInscript = t; Changed(); }
void TScaleProps::SetUserTickText(const QString& t) { FUserTickText = t; Changed(); }
void TScaleProps::SetDateFormat(const TDTLabel& f) { FDTFormat.Assign(f); }  // fires through OnChange
void TScaleProps::SetFont(const QFont& f) { FFont = f; Changed(); }

// ---- caption, look and placement ----

void TScaleProps::SetCaption(const QString& caption) { FCaption = caption; Changed(); }
void TScaleProps::SetCaptionPosX(int x) { FCaptionPosX = oxw::platform::FarClamp(x); Changed(); }
void TScaleProps::SetCaptionPosY(int y) { FCaptionPosY = oxw::platform::FarClamp(y); Changed(); }
void TScaleProps::SetCaptionAlignment(TAlignment a) { FCaptAlign = a; Changed(); }
void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor a) { FCaptAnchor = a; Changed(); }
void TScaleProps::SetColorScale(TColor c) { FColorScale = c; Changed(); }
void TScaleProps::SetVisible(bool visible) { FVisible = visible; Changed(); }
void TScaleProps::SetScaleType(TScaleType t) { FScaleType = t; Changed(); }

int TScaleProps::ScalePos() const { return Horizontal() ? FScalePosY : FScalePosX; }

void TScaleProps::SetScalePos(int pos)
{
    (Horizontal() ? FScalePosY : FScalePosX) = oxw::platform::FarClamp(pos);
    Changed();
}

// ---- copying ----

void TScaleProps::Assign(const TScaleProps& source)
{
    if (&source != this) {
        TNotifyEvent onChange = std::exchange(FOnChange, nullptr);  // one event for the whole copy
        FCaption = source.FCaption;
        FCaptionPosX = source.FCaptionPosX;
        FCaptionPosY = source.FCaptionPosY;
        FCaptAlign = source.FCaptAlign;
        FCaptAnchor = source.FCaptAnchor;
        FColorScale = source.FColorScale;
        FDTFormat.Assign(source.FDTFormat);
        FDecPlaces = source.FDecPlaces;
        FLogAx = source.FLogAx;
        FLabelType = source.FLabelType;
        FFont = source.FFont;
        FMinTicks = source.FMinTicks;
        FRangeLow = source.FRangeLow;
        FRangeHigh = source.FRangeHigh;
        FShortTicks = source.FShortTicks;
        FScaleInscript = source.FScaleInscript;
        FScaleType = source.FScaleType;
        FScalePosX = source.FScalePosX;
        FScalePosY = source.FScalePosY;
        FMinRngDiff = source.FMinRngDiff;
        FUserTickText = source.FUserTickText;
        FVisible = source.FVisible;
        FOnChange = std::move(onChange);
    }
    Changed();
}

void TScalePropsHoriz::SetScaleLocation(TScaleLocationHoriz loc)
{
    FScaleLoc = loc;
    SetScaleType(loc == slTop ? sctXB : sctXT);
}

void TScalePropsVert::SetScaleLocation(TScaleLocationVert loc)
{
    FScaleLoc = loc;
    SetScaleType(loc == slLeft ? sctYR : sctYL);
}
