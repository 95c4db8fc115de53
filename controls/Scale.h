#pragma once
// TScale: one axis. A base line along one edge of the drawing area (ScaleType: x at the bottom
// or top, y at the left or right), ticks, tick labels and a caption. RangeLow..RangeHigh maps
// linearly or logarithmically onto the pixels between the two margins along the scale; a
// vertical scale runs downward from RangeHigh. Tick and label layout: ScaleLayout.h.
//
// Painting: an opaque scale is drawn into a bitmap of its own size (background ColorBackGnd,
// frame FrameStyle) that is copied to the target in one piece; a transparent one is drawn
// straight onto the target. The target is the control itself, or a foreign canvas set with
// UseForeignCanvas (a chart draws its axes onto its own picture that way). Setters that change
// the picture repaint at once (a transparent control that is not a helper asks its widget for a
// repaint instead); SuppressPaint stops painting, ForcePaint paints once regardless.
// Drawn straight onto a printer's canvas, the scale sets the canvas font to its own font's size
// in points at the printer's resolution, so its text keeps its size on paper.
//
// Each painting records up to 50 tick positions (NumTicks, TickPos) that a chart reads back for
// its grid; further ticks are drawn but not recorded.
#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

#include "controls/ChartSettings.h"
#include "numeric/VkrEnums.h"
#include "platform/Colors.h"

namespace oxw::platform {
class Canvas;
}
namespace oxw::controls {
struct TScaleLayout;
struct TScaleTick;
}

// Where the caption is measured from: the start, the middle or the end of the scale.
enum TScaleUnitAnchor { uaSclTopLft, uaSclCenter, uaSclBotRgt };

class TScale : public QWidget {
    Q_OBJECT
public:
    using Canvas = oxw::platform::Canvas;
    // Once per tick: its value and its pixel on the target (the canvas may be drawn on).
    using TScaleTickDrawnEvent =
        std::function<void(TScale* Sender, Canvas& Canvas, TScaleType ScaleType, double CurrentTickPos, int ChartX,
                           int ChartY)>;
    using TScaleRenderedEvent = std::function<void(TScale* Sender, Canvas& Canvas)>;

    static constexpr int MaxTickPos = 50;
    static constexpr double SmallPosNum = 1e-100;  // the smallest end of a logarithmic scale

    // 400 x 400 pixels, sctXB, range 0..100 linear, 3 ticks, short ticks, automatic decimals,
    // margins 20, opaque on clBtnFace in a lowered frame, black lines, base line on.
    explicit TScale(QWidget* parent = nullptr);
    ~TScale() override;

    // ---- range and mapping ----
    double RangeLow() const { return FRangeLow; }
    // A low end equal to the high end moves the high end to low + 1.
    void SetRangeLow(double v);
    double RangeHigh() const { return FRangeHigh; }
    // A high end equal to the low end moves the low end to high + 1: a reversed scale.
    void SetRangeHigh(double v);
    bool Logarithmic() const { return FAxLog; }
    // Switching on is refused (unless the form loader is running) while an end is below 1e-100
    // or on a date-time scale.
    void SetLogarithmic(bool on);
    TScaleType ScaleType() const { return FScaleType; }
    void SetScaleType(TScaleType t);
    int MarginLeft() const { return FMarginLeft; }  // negative values count as 0
    void SetMarginLeft(int m);
    int MarginRight() const { return FMarginRight; }
    void SetMarginRight(int m);
    int MarginTop() const { return FMarginTop; }
    void SetMarginTop(int m);
    int MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(int m);
    // Geometry of the control; the mapping follows.
    void SetBounds(int x, int y, int w, int h);

    // The pixel of a value along the scale: k * v + d, or k * ln v + d on a logarithmic scale
    // (where values up to 1e-100 give 0, or the width on a reversed scale), limited to
    // +-2147483647 and rounded to the nearest integer, halves to even. A scale too short for its
    // margins maps everything to its middle.
    int R2M(double v) const;

    // ---- ticks and labels ----
    bool ShortTicks() const { return FShortTicks; }
    void SetShortTicks(bool on);
    int MinTicks() const { return FNumTicks; }  // limited to 2..10
    void SetMinTicks(int n);
    int DecPlaces() const { return FDecPlaces; }  // limited to -3..12; -2 automatic
    void SetDecPlaces(int d);
    TFigType LabelType() const { return FLabelType; }
    // ftDateTime switches Logarithmic off; ftTime sets DecPlaces to 4.
    void SetLabelType(TFigType t);
    const TDTLabel& DateFormat() const { return FDTFormat; }
    TDTLabel& DateFormat() { return FDTFormat; }  // changes repaint through its OnChange
    void SetDateFormat(const TDTLabel& f);
    // Labels of ftUserText, separated by "|".
    const QString& UserTickText() const { return FUserTicktext; }
    void SetUserTickText(const QString& t);
    // Decoration of numeric labels: the label replaces the first "&", or follows the whole text.
    const QString& ScaleInscript() const { return FScaleInscript; }
    void SetScaleInscript(const QString& t);
    bool ShowBaseLine() const { return FDrawBaseLine; }
    void SetShowBaseLine(bool on);

    // ---- caption ----
    const QString& Caption() const { return FUnitLabel; }
    void SetCaption(const QString& t);
    int CaptionPosX() const { return FLblPosX; }
    void SetCaptionPosX(int x);
    int CaptionPosY() const { return FLblPosY; }
    void SetCaptionPosY(int y);
    TAlignment CaptionAlignment() const { return FLblAlign; }
    void SetCaptionAlignment(TAlignment a);
    TScaleUnitAnchor CaptionAnchor() const { return FLblAnchor; }
    void SetCaptionAnchor(TScaleUnitAnchor a);

    // ---- look ----
    TColor ColorScale() const { return FColorFG; }  // lines, ticks, labels and caption
    void SetColorScale(TColor c);
    TColor ColorBackGnd() const { return FColorBG; }
    void SetColorBackGnd(TColor c);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle s);
    // csBWG: frame lines grey 0x808080 and white; csSystem: clBtnShadow and clBtnHighlight.
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme s);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool on);
    // The scale's own visibility: an invisible scale paints nothing. Applied to the widget only
    // when it has a parent (a chart's helpers have none and are never shown).
    bool Visible() const { return FVisible; }
    void SetVisible(bool on);

    // ---- painting ----
    bool IsHelperComponent() const { return FIsHelper; }
    void SetIsHelperComponent(bool on);
    bool SuppressPaint() const { return FSuppressPaint; }
    void SetSuppressPaint(bool on);
    void ForcePaint();
    // From now on draw onto `canvas` (nullptr: the control itself) with the scale's top-left
    // corner at (x, y); nothing is repainted. A transparent scale adds the offset only across
    // the scale: its base line, ticks and labels keep their places along it.
    void UseForeignCanvas(Canvas* canvas, int x, int y);
    // Draws the scale on its target now (nothing while invisible, loading or suppressed).
    void Paint();
    // The picture of the control as a painting on its own canvas builds it (a transparent
    // scale over the background of the window); records the tick positions like a painting.
    QImage PaintImage();
    // Paintings so far (Paint calls that drew), for tests of the repaint rules.
    int PaintCount() const { return paintCount_; }

    // Tick positions recorded by the last painting: TickPos(1..NumTicks), 0 outside.
    int NumTicks() const { return FTickCount; }
    double TickPos(int ix) const;

    // The form loader's frame: between BeginLoading and Loaded the mapping is not computed,
    // nothing is painted and Logarithmic is taken without checks. Loaded computes the mapping
    // and paints.
    void BeginLoading() { FNotYetLoaded = true; }
    void Loaded();

    // Copies every setting of `source` (colours, range, ticks, labels, margins, caption, date
    // format, recorded positions, the foreign canvas, the tick event), then paints.
    void Assign(const TScale& source);

    TScaleTickDrawnEvent OnScaleTickDrawn;
    TScaleRenderedEvent OnBeforeScaleRendered;
    TScaleRenderedEvent OnAfterScaleRendered;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void TriggerPaint();
    void Changed() { TriggerPaint(); }
    void AdjustScalePars();
    bool Horizontal() const { return FScaleType == sctXB || FScaleType == sctXT; }
    bool CanPaint() const { return FVisible && !FNotYetLoaded && !FSuppressPaint; }
    void RenderOn(Canvas& target, int posX, int posY);
    void DrawScale(Canvas& cv, int posX, int posY);
    void DrawTicks(Canvas& cv, const oxw::controls::TScaleLayout& layout, int base);
    void DrawTick(Canvas& cv, const oxw::controls::TScaleTick& tick, int base);
    void DrawLabel(Canvas& cv, const QString& text, long long at, int base, int lines);
    void DrawMessage(Canvas& cv, const oxw::controls::TScaleLayout& layout, int base);
    void DrawCaption(Canvas& cv, int base);
    void DrawBaseLine(Canvas& cv, int base);
    void RecordTick(double value);

    TFrameStyle FFrameStyle = fsLowered;
    TColor FColorFG = clBlack;
    TColor FColorBG = clBtnFace;
    TColor FColBlackLine = clBlack;
    TColor FColGrayLine = 0x808080;
    TColor FColWhiteLine = 0xFFFFFF;
    TColorScheme FColorScheme = csBWG;
    bool FAxLog = false;
    double FTransf_k = 1.0;
    double FTransf_d = 0.0;
    double FRangeHigh = 100.0;
    double FRangeLow = 0.0;
    bool FShortTicks = true;
    int FTickCount = 0;
    int FNumTicks = 3;
    int FDecPlaces = -2;
    bool FNotYetLoaded = false;
    bool FDrawBaseLine = true;
    bool FTransparent = false;
    TFigType FLabelType = ftNum;
    TDTLabel FDTFormat;
    int FMarginTop = 20, FMarginBottom = 20, FMarginRight = 20, FMarginLeft = 20;
    bool FIsHelper = false;
    int FLblPosX = 4, FLblPosY = 4;
    TAlignment FLblAlign = taCenter;
    TScaleUnitAnchor FLblAnchor = uaSclTopLft;
    QString FUserTicktext;
    QString FScaleInscript;
    std::vector<double> FScaleTickPos;
    QString FUnitLabel;
    Canvas* FForeignCv = nullptr;
    int FForCvPosX = 0, FForCvPosY = 0;
    TScaleType FScaleType = sctXB;
    bool FSuppressPaint = true;
    bool FVisible = true;
    QImage ownPicture_;
    int paintCount_ = 0;
};
