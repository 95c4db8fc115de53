#pragma once
// TMeter: an analogue dial. A circular scale over an arc of 90 to 360 degrees (MeterLayout) with
// long and short ticks and labels, optional coloured bands for the low, normal and high ranges,
// up to two needles, two limit lamps, a caption, an anchor cover, rims and a frame.
//
// The value v lies at the angle theta(v) = (arc/2 + 90) - (v - min) / (max - min) * arc degrees,
// counter-clockwise from the positive x axis with y pointing up: the minimum at the left end,
// the maximum at the right end, the middle straight up. When max and min coincide (or their
// difference is not finite) every value sits at the minimum end.
//
// Value reports crossing the thresholds: at or above ThresholdHigh the high lamp lights and
// OnOverFlow fires, at or below ThresholdLow the low lamp lights and OnUnderFlow fires, else
// OnNormalRange fires. NaN is ignored by the value, range and threshold setters.
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>

#include "numeric/VkrEnums.h"
#include "platform/Colors.h"

namespace oxw::platform {
class Canvas;
}

enum TMeterLayout { mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360 };

// The look of one needle. Every setter stores a changed value and fires OnChange.
class TNeedleLayout {
public:
    std::function<void()> OnChange;

    TColor ColorBody() const { return FColorFill; }
    void SetColorBody(TColor c);
    TColor ColorOutline() const { return FColorLine; }
    void SetColorOutline(TColor c);
    int HeadSize() const { return FSize1; }  // length of the barbs in pixels
    void SetHeadSize(int s);
    int Thickness() const { return FThickness; }  // shaft width in pixels
    void SetThickness(int t);
    int PercentNeedleLength() const { return FPctNeedleLeng; }  // 0..100 of the radius less 4
    void SetPercentNeedleLength(int p);
    int HeadAngle() const { return FAngle1; }  // 0..180 degrees between the barbs
    void SetHeadAngle(int a);
    int HeadMidLeng() const { return FBackShift1; }  // where the shaft meets the head, from the tip
    void SetHeadMidLeng(int l);
    int ShadowDx() const { return FShadowDx; }
    void SetShadowDx(int d);
    int ShadowDy() const { return FShadowDy; }
    void SetShadowDy(int d);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor c);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);

    // Copies every setting (not the OnChange handler) and fires OnChange.
    void Assign(const TNeedleLayout& source);

private:
    template <class T>
    void Set(T& field, T value);

    TColor FColorFill = 0xC0C0C0;
    TColor FColorLine = 0;
    int FSize1 = 20;
    int FThickness = 0;
    int FPctNeedleLeng = 100;
    int FAngle1 = 30;
    int FBackShift1 = 20;
    int FShadowDx = 0;
    int FShadowDy = 0;
    TColor FShadowColor = 0x808080;
    bool FVisible = true;
};

class TMeter : public QWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TMeter* Sender)>;
    using TMouseMoveInMeterEvent =
        std::function<void(TMeter* Sender, bool InMeter, Qt::KeyboardModifiers Shift, double Value)>;
    using TBeforeDrawScaleLabelEvent =
        std::function<void(oxw::platform::Canvas& Canvas, QString& Text, int Left, int Top)>;
    using TCanvasEvent = std::function<void(oxw::platform::Canvas& Canvas)>;
    using TBeforeDrawNeedleEvent = std::function<void(oxw::platform::Canvas& Canvas, bool& Handled)>;

    // 297 x 209 pixels, mlCirc90, range 0..1, thresholds 0 and 1, first needle shown.
    explicit TMeter(QWidget* parent = nullptr);

    // Form designs set their properties between BeginLoading and Loaded; meanwhile the value,
    // range and threshold setters only store. Loaded clamps Value into the range, loads the
    // named pictures and paints.
    void BeginLoading() { loading_ = true; }
    void Loaded();

    double Value() const { return FValue; }
    void SetValue(double v);
    double ValueSec() const { return FValue2; }
    void SetValueSec(double v);
    // Keeps min < max: a minimum at or above the maximum moves the maximum to min + 1 (and the
    // mirror); Value and the thresholds follow into the new range.
    double MeterMinValue() const { return FMinValue; }
    void SetMeterMinValue(double v);
    double MeterMaxValue() const { return FMaxValue; }
    void SetMeterMaxValue(double v);
    // Clamped into the range; the other threshold makes way.
    double ThresholdLow() const { return FLowThreshold; }
    void SetThresholdLow(double v);
    double ThresholdHigh() const { return FHighThreshold; }
    void SetThresholdHigh(double v);
    bool Overflow() const { return FOFL; }    // the high lamp is lit
    bool Underflow() const { return FUFL; }   // the low lamp is lit

    TMeterLayout MeterLayout() const { return FMeterLayout; }
    void SetMeterLayout(TMeterLayout l);
    int MeterAngle() const { SyncLayout(); return FMeterAngle; }
    double ScaleRadius() const { SyncLayout(); return FMeterRadius; }
    int OriginX() const { SyncLayout(); return FMeterCenterX; }
    int OriginY() const { SyncLayout(); return FMeterCenterY; }

    int MeterDecPlaces() const { return FDecPlaces; }  // 0..4
    void SetMeterDecPlaces(int d);
    int MeterNrTicks() const { return FNrTicks; }  // 2..21 long-tick intervals wanted
    void SetMeterNrTicks(int n);
    double ScaleBkWidth() const { return FScaleBakWidth; }  // band width, 0..100 % of the radius
    void SetScaleBkWidth(double w);
    bool ScaleBkVisible() const { return FScaleBkVis; }
    void SetScaleBkVisible(bool on);
    bool ScaleVisible() const { return FScaleVis; }
    void SetScaleVisible(bool on);
    bool MeterShortTicks() const { return FShortTicks; }
    void SetMeterShortTicks(bool on);
    bool MeterScaleLine() const { return FScaleLine; }
    void SetMeterScaleLine(bool on);
    bool AnchorCovered() const { return FAnchorCovrd; }
    void SetAnchorCovered(bool on);
    int AnchorSize() const { return FSizeAnchor; }
    void SetAnchorSize(int s);
    bool LimWatchHighOn() const { return FLimWatHighOn; }
    void SetLimWatchHighOn(bool on);
    bool LimWatchLowOn() const { return FLimWatLowOn; }
    void SetLimWatchLowOn(bool on);
    TColor LimWatchActColor() const { return FLimWatActCol; }
    void SetLimWatchActColor(TColor c);
    TColor LimWatchPsvColor() const { return FLimWatPsvCol; }
    void SetLimWatchPsvColor(TColor c);
    TColor ColorScale() const { return FColorScale; }
    void SetColorScale(TColor c);
    TColor ColorBackGnd() const { return FColorBakG; }
    void SetColorBackGnd(TColor c);
    TColor ColorCover() const { return FColorCover; }
    void SetColorCover(TColor c);
    TColor ColorSclBkLow() const { return FColorBakGLow; }
    void SetColorSclBkLow(TColor c);
    TColor ColorSclBkNorm() const { return FColorBakGNorm; }
    void SetColorSclBkNorm(TColor c);
    TColor ColorSclBkHigh() const { return FColorBakGHigh; }
    void SetColorSclBkHigh(TColor c);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme s);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle s);
    // Rims only store and paint; the layout follows at the next resize or layout change.
    int RimBottom() const { return FBRim; }
    void SetRimBottom(int r);
    int RimSide() const { return FSRim; }
    void SetRimSide(int r);
    int RimTop() const { return FTRim; }
    void SetRimTop(int r);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& c);
    QFont FontCaption() const { return FFontCaption; }
    void SetFontCaption(const QFont& f);
    const TNeedleLayout& NeedleLayout() const { return FNeedleLayout; }
    void SetNeedleLayout(const TNeedleLayout& l) { FNeedleLayout.Assign(l); }
    TNeedleLayout& NeedleLayoutRef() { return FNeedleLayout; }
    const TNeedleLayout& NeedleLayoutSec() const { return FNeedle2Layout; }
    void SetNeedleLayoutSec(const TNeedleLayout& l) { FNeedle2Layout.Assign(l); }
    TNeedleLayout& NeedleLayoutSecRef() { return FNeedle2Layout; }
    // Pictures: a file that exists is named and loaded, any other name clears the name.
    QString BackGroundImg() const { return FBakGndFName; }
    void SetBackGroundImg(const QString& fileName);
    TBkgFill BkgndFillMode() const { return FBGFillMode; }
    void SetBkgndFillMode(TBkgFill m);
    // Drawn centred on the dial centre; its black pixels let the dial show through.
    QString AnchorImage() const { return FACoverFName; }
    void SetAnchorImage(const QString& fileName);

    // The scale value under a pixel: true and the value when the pixel's direction from the
    // centre lies within the arc, else false and 0.
    bool ConvertPixelToValue(int x, int y, double& value) const;

    TMouseMoveInMeterEvent OnMouseMoveInMeter;
    TNotifyEvent OnOverFlow;
    TNotifyEvent OnUnderFlow;
    TNotifyEvent OnNormalRange;
    TBeforeDrawScaleLabelEvent OnBeforeDrawScaleLabel;
    TCanvasEvent OnMeterRendered;
    TBeforeDrawNeedleEvent OnBeforeDrawNeedle;

    // The picture of the control as Paint builds it; a null image when the radius is not
    // positive (nothing is painted then).
    QImage PaintImage();
    int PaintRequests() const { return paintRequests_; }

    // Radius, centre and arc from the control's size, the rims and the layout; run at every
    // resize (a hidden control's resize counts from the first use of the layout after it).
    void CalcMeterLayoutParams();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    friend class MeterPainter;
    void Changed();
    void TestThresholds(double v, bool needleVisible);
    double Fraction(double v) const;  // (v - min) / (max - min), 0 when that is not finite
    void LoadAnchorImage();
    void SyncLayout() const;

    bool FAnchorCovrd = true;
    QImage AuxBGBmp, AuxACBmp, AuxACMaskBmp;
    QString FBakGndFName;
    TBkgFill FBGFillMode = bfSimple;
    QString FACoverFName;
    bool FScaleVis = true;
    int FSizeAnchor = 24;
    bool FLimWatHighOn = true, FLimWatLowOn = true;
    TColor FLimWatActCol = 0x0000FF, FLimWatPsvCol = 0x808080;
    bool FOFL = false, FUFL = false;
    TColor FColorScale = 0x800000;
    QString FCaption;
    TFrameStyle FFrameStyle = fsRaised;
    int FDecPlaces = 1;
    int FNrTicks = 3;
    int FBRim = 10, FSRim = 10, FTRim = 8;
    bool FShortTicks = true, FScaleLine = true;
    TColor FColorBakG = 0xFFFFFF;
    TColor FColorCover = clBtnFace;
    TColor FColBlackLine = 0, FColGrayLine = 0x808080, FColWhiteLine = 0xFFFFFF;
    TColorScheme FColorScheme = csBWG;
    TColor FColorBakGLow = 0x00FF00, FColorBakGNorm = 0x0080FF, FColorBakGHigh = 0x0000FF;
    QFont FFontCaption;
    double FScaleBakWidth = 0;
    bool FScaleBkVis = false;
    double FLowThreshold = 0, FHighThreshold = 1;
    TNeedleLayout FNeedleLayout, FNeedle2Layout;
    TMeterLayout FMeterLayout = mlCirc90;
    int FMeterAngle = 90;
    double FMeterRadius = 0;
    int FMeterCenterX = 0, FMeterCenterY = 0;
    QSize layoutSize_;  // the size the layout was computed for
    double FValue = 0, FValue2 = 0;
    double FMinValue = 0, FMaxValue = 1;
    bool loading_ = false;
    int paintRequests_ = 0;
};
