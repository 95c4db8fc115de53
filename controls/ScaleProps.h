#pragma once
// TScaleProps: the settings of one axis of a chart layer (range, smallest span, linear or
// logarithmic, ticks and labels, caption, colour, font, visibility, where the axis lies).
// Every setter ends by firing OnChange, which the owning chart handles by taking the settings
// into its hidden axis scales and its scaling and repainting. TScalePropsHoriz and
// TScalePropsVert add the side of the data area the axis lies on.
//
// Range rules: an end set closer than MinRange to the other moves the other end to keep
// MinRange; on a logarithmic axis a value below 1e-100 is ignored; an end that is not finite,
// or a change that would make one so, leaves the axis unchanged.
#include <QFont>
#include <QString>

#include <functional>

#include "controls/ChartSettings.h"
#include "controls/RChartTypes.h"
#include "controls/Scale.h"

class TCustomRChart;

class TScaleProps {
public:
    using TNotifyEvent = std::function<void()>;

    // Range 0..1, MinRange 1e-10, linear, numeric labels with automatic decimals, 3 ticks,
    // short ticks, black, invisible, type sctXT, caption centred at the scale's top/left.
    TScaleProps();
    virtual ~TScaleProps() = default;
    TScaleProps(const TScaleProps&) = delete;
    TScaleProps& operator=(const TScaleProps&) = delete;

    // ---- range ----
    double RangeLow() const { return FRangeLow; }
    double RangeHigh() const { return FRangeHigh; }
    // A low end above the high end is accepted (a reversed axis).
    void SetRangeLow(double value);
    void SetRangeHigh(double value);
    // The smallest span the axis keeps between its ends. Values of 1e-100 or less (and values
    // that are not finite) are ignored; a span below the new minimum is widened symmetrically
    // about its middle, and only then does OnChange fire.
    double MinRange() const { return FMinRngDiff; }
    void SetMinRange(double value);
    // Switching on (once loaded) succeeds only when both ends are at least 1e-100 and the labels
    // are not date-times.
    bool Logarithmic() const { return FLogAx; }
    void SetLogarithmic(bool on);

    // ---- ticks and labels ----
    TFigType LabelType() const { return FLabelType; }
    // ftDateTime switches Logarithmic off; ftTime sets DecPlaces to 4.
    void SetLabelType(TFigType t);
    int DecPlaces() const { return FDecPlaces; }  // -3..12, negative: automatic modes
    void SetDecPlaces(int d);
    int MinTicks() const { return FMinTicks; }
    void SetMinTicks(int ticks);
    bool ShortTicks() const { return FShortTicks; }
    void SetShortTicks(bool on);
    const QString& ScaleInscript() const { return FScaleInscript; }
    void SetScaleInscript(const QString& t);
    const QString& UserTickText() const { return FUserTickText; }
    void SetUserTickText(const QString& t);
    const TDTLabel& DateFormat() const { return FDTFormat; }
    TDTLabel& DateFormat() { return FDTFormat; }  // its changes fire OnChange
    void SetDateFormat(const TDTLabel& f);
    // Tick label font; its colour is ColorScale.
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& f);

    // ---- caption and look ----
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    int CaptionPosX() const { return FCaptionPosX; }
    void SetCaptionPosX(int x);
    int CaptionPosY() const { return FCaptionPosY; }
    void SetCaptionPosY(int y);
    TAlignment CaptionAlignment() const { return FCaptAlign; }
    void SetCaptionAlignment(TAlignment a);
    TScaleUnitAnchor CaptionAnchor() const { return FCaptAnchor; }
    void SetCaptionAnchor(TScaleUnitAnchor a);
    TColor ColorScale() const { return FColorScale; }
    void SetColorScale(TColor c);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);

    // ---- placement ----
    // The side of the hidden scale control its base line lies on.
    TScaleType ScaleType() const { return FScaleType; }
    void SetScaleType(TScaleType t);
    // Distance of the axis from the data area in pixels: across for an x axis (ScalePosY),
    // sideways for a y axis (ScalePosX). Limited to +-2^24.
    int ScalePos() const;
    void SetScalePos(int pos);

    // The chart's loading frame: while not yet loaded, Logarithmic is taken without checks.
    bool NotYetLoaded() const { return FNotYetLoaded; }
    void BeginLoading() { FNotYetLoaded = true; }
    void Loaded() { FNotYetLoaded = false; }

    // Takes every setting of `source` (not OnChange nor the loading state) and fires OnChange
    // once.
    void Assign(const TScaleProps& source);

    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
    void Changed() const
    {
        if (FOnChange)
            FOnChange();
    }

private:
    friend class TCustomRChart;  // its range chain stores ranges without events
    void StoreRange(double lo, double hi)
    {
        FRangeLow = lo;
        FRangeHigh = hi;
    }
    bool Horizontal() const { return FScaleType == sctXB || FScaleType == sctXT; }

    QString FCaption;
    int FCaptionPosX = 0;
    int FCaptionPosY = 0;
    TAlignment FCaptAlign = taCenter;
    TScaleUnitAnchor FCaptAnchor = uaSclTopLft;
    TColor FColorScale = clBlack;
    TNotifyEvent FOnChange;
    TDTLabel FDTFormat;
    int FDecPlaces = -2;
    bool FLogAx = false;
    TFigType FLabelType = ftNum;
    QFont FFont;
    int FMinTicks = 3;
    bool FNotYetLoaded = false;
    double FRangeLow = 0.0;
    double FRangeHigh = 1.0;
    bool FShortTicks = true;
    QString FScaleInscript;
    TScaleType FScaleType = sctXT;
    int FScalePosX = 0;
    int FScalePosY = 0;
    double FMinRngDiff = 1e-10;
    QString FUserTickText;
    bool FVisible = false;
};

// An x axis: at the bottom (sctXT, the default) or the top (sctXB) of the data area.
class TScalePropsHoriz : public TScaleProps {
public:
    TScalePropsHoriz() { SetScaleLocation(slBottom); }
    TScaleLocationHoriz ScaleLocation() const { return FScaleLoc; }
    void SetScaleLocation(TScaleLocationHoriz loc);
    void Assign(const TScalePropsHoriz& source)
    {
        FScaleLoc = source.FScaleLoc;
        TScaleProps::Assign(source);
    }

private:
    TScaleLocationHoriz FScaleLoc = slBottom;
};

// A y axis: at the left (sctYR, the default) or the right (sctYL) of the data area.
class TScalePropsVert : public TScaleProps {
public:
    TScalePropsVert() { SetScaleLocation(slLeft); }
    TScaleLocationVert ScaleLocation() const { return FScaleLoc; }
    void SetScaleLocation(TScaleLocationVert loc);
    void Assign(const TScalePropsVert& source)
    {
        FScaleLoc = source.FScaleLoc;
        TScaleProps::Assign(source);
    }

private:
    TScaleLocationVert FScaleLoc = slLeft;
};
