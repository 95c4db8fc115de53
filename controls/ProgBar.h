#pragma once
// TProgBar: a bar gauge. A bar whose length shows Value between Min and Max grows from one
// edge of the bar area (Direction), filled with ColorMin or with a 1024-step colour gradient
// from ColorMin to ColorMax, with optional grid lines across it, an optional rotated value text,
// a background picture and two 3-D frames. The bar area is the control less its four margins.
//
// Value is not clamped: a value beyond Max draws past the bar area, one below Min draws
// backwards from the starting edge (the gradient then shows nothing). Min = Max, or a fraction
// that is not finite, draws no bar. Every setter stores (some only a changed value, see each)
// and asks for a paint.
#include <QImage>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

#include "numeric/VkrEnums.h"
#include "platform/Colors.h"

namespace oxw::platform {
class Canvas;
}

// How the gradient maps onto the bar: the full gradient spans the full area and the bar uncovers
// it (cgmCover), the full gradient is squeezed into the bar (cgmStretch), or the gradient ends
// at the bar's tip, which always has the last colour (cgmMove).
enum TColorMapping { cgmCover, cgmStretch, cgmMove };

// Cl1 + (Cl2 - Cl1) * Level per channel, truncated; Level limited to 0..1 (NaN counts as 0).
TColor InterpolateColor(TColor Cl1, TColor Cl2, double Level);

class TProgBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int MAXBARCOLORS = 1023;
    using TBeforeShowValueEvent = std::function<void(TProgBar* Sender, QString& Text)>;

    // 300 x 28 pixels, Value 10 of 0..100, rightward, gradient blue to red (not shown).
    explicit TProgBar(QWidget* parent = nullptr);

    // Stored only when different; no clamping, no check of Min < Max.
    double Value() const { return FProgValue; }
    void SetValue(double v);
    double Min() const { return FProgMin; }
    void SetMin(double v);
    double Max() const { return FProgMax; }
    void SetMax(double v);

    // Gradient ends; setting either recomputes entries 1..1022 between them.
    TColor ColorMin() const { return FBarColorArray[0]; }
    void SetColorMin(TColor c);
    TColor ColorMax() const { return FBarColorArray[MAXBARCOLORS]; }
    void SetColorMax(TColor c);
    TColor BarColors(int i) const { return i >= 0 && i <= MAXBARCOLORS ? FBarColorArray[i] : clBlack; }

    // Stored only when different.
    TColor ColorMargin() const { return FColorMargin; }
    void SetColorMargin(TColor c);
    TColor ColorBackGnd() const { return FColorBakG; }
    void SetColorBackGnd(TColor c);
    TColor ColorGrid() const { return FColorGrid; }
    void SetColorGrid(TColor c);
    int GridDist() const { return FGridDist; }  // below 2: no grid
    void SetGridDist(int d);
    int MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(int m);
    int MarginRight() const { return FMarginRight; }
    void SetMarginRight(int m);
    int MarginTop() const { return FMarginTop; }
    void SetMarginTop(int m);
    int MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(int m);
    bool ShowColorGradient() const { return FColorGrad; }
    void SetShowColorGradient(bool on);
    TFrameStyle FrameStyleOuter() const { return FOuterFrameSt; }
    void SetFrameStyleOuter(TFrameStyle s);
    TFrameStyle FrameStyleInner() const { return FInnerFrameSt; }
    void SetFrameStyleInner(TFrameStyle s);
    TColorMapping ColorMapMode() const { return FColorMapMode; }
    void SetColorMapMode(TColorMapping m);
    TDirection Direction() const { return FDirection; }
    void SetDirection(TDirection d);
    TAlignment TextAlignment() const { return FAlignment; }
    void SetTextAlignment(TAlignment a);
    // csBWG: frame lines grey 0x808080 and white; csSystem: clBtnShadow and clBtnHighlight.
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme s);

    // Stored always, limited as noted.
    bool TextVisible() const { return FShowValue; }
    void SetTextVisible(bool on);
    int TextPosX() const { return FTextPosX; }  // 0..Width
    void SetTextPosX(int x);
    int TextPosY() const { return FTextPosY; }  // 0..Height
    void SetTextPosY(int y);
    int TextDecPlaces() const { return FTextDecPlaces; }  // -2..10
    void SetTextDecPlaces(int d);
    int TextAngle() const { return FTextAngle; }  // 0..360 degrees, counter-clockwise
    void SetTextAngle(int a);

    // A picture file stretched into the bar area. A file that does not load leaves the name and
    // the picture unchanged; an empty name clears the name.
    QString BackGroundImg() const { return FBakGndFile; }
    void SetBackGroundImg(const QString& fileName);

    TBeforeShowValueEvent OnShowValue;

    // Copies every setting of `source` except its background picture, then paints.
    void Assign(const TProgBar& source);

    // The picture of the control as Paint builds it.
    QImage PaintImage();
    // Paints asked for since creation (each setter that changes something asks for one).
    int PaintRequests() const { return paintRequests_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Changed();
    void RebuildGradient();
    void PaintBar(oxw::platform::Canvas& cv);
    void PaintGradient(oxw::platform::Canvas& cv, long long length, long long extent, long long edge);
    void PaintGrid(oxw::platform::Canvas& cv, long long tip);
    void PaintText(oxw::platform::Canvas& cv);
    void DrawFrame(oxw::platform::Canvas& cv, TFrameStyle style, int left, int right, int top, int bottom);
    struct Area {
        int left, right, top, bottom;
    };
    Area BarArea() const;
    void Across(oxw::platform::Canvas& cv, bool vertical, int pos) const;

    TFrameStyle FOuterFrameSt = fsRaised;
    TFrameStyle FInnerFrameSt = fsLowered;
    double FProgValue = 10;
    double FProgMax = 100;
    double FProgMin = 0;
    TDirection FDirection = dirRightward;
    std::array<TColor, MAXBARCOLORS + 1> FBarColorArray{};
    QImage AuxBmp;
    TColor FColorMargin = 0xC0C0C0;
    TColor FColorBakG = 0xC0C0C0;
    bool FColorGrad = false;
    TColor FColorGrid = 0;
    int FGridDist = 0;
    TColor FColBlackLine = 0;
    TColor FColGrayLine = 0x808080;
    TColor FColWhiteLine = 0xFFFFFF;
    TColorScheme FColorScheme = csBWG;
    TColorMapping FColorMapMode = cgmStretch;
    int FMarginLeft = 4, FMarginRight = 4, FMarginTop = 4, FMarginBottom = 4;
    QString FBakGndFile;
    int FTextPosX = 14, FTextPosY = 14;
    int FTextDecPlaces = 0;
    int FTextAngle = 0;
    TAlignment FAlignment = taCenter;
    bool FShowValue = true;
    int paintRequests_ = 0;
};
