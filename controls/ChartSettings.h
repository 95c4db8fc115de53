#pragma once
// Small settings objects that the charts and scales own: a cross-hair, the format of date and
// time labels, and a text label. Each reports every change through OnChange, which the owner
// uses to redraw.
#include <QString>

#include <functional>

#include "numeric/VkrEnums.h"
#include "platform/Canvas.h"

// Number of layers of a chart; layers are 1..MaxNumLayers.
inline constexpr int MaxNumLayers = 16;

using TChangeEvent = std::function<void()>;

// A cross-hair of a chart at (PosX, PosY) in world units of its layer. Every setter stores and
// fires OnChange; Layer is first limited to 1..16. The owner sets every value it needs.
class TCrossHair {
public:
    double PosX() const { return FPosX; }
    void SetPosX(double v);
    double PosY() const { return FPosY; }
    void SetPosY(double v);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TCrossHMode Mode() const { return FMode; }
    void SetMode(TCrossHMode m);
    TPenStyle LineType() const { return FLineType; }
    void SetLineType(TPenStyle s);
    int LineWid() const { return FLineWid; }  // pixels
    void SetLineWid(int w);
    int Layer() const { return FLayer; }
    void SetLayer(int layer);

    TChangeEvent OnChange;

private:
    void Changed() const;

    double FPosX = 0.0;
    double FPosY = 0.0;
    TColor FColor = clBlack;
    TCrossHMode FMode = chOff;
    TPenStyle FLineType = psSolid;
    int FLineWid = 0;
    int FLayer = 0;
};

// How a scale writes dates and times. DateOrder and TimeFormat fire OnChange on every
// assignment; the other setters only when the value changes. The owner sets the values it
// starts with.
class TDTLabel {
public:
    TTimeFormat TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(TTimeFormat f);
    char DateSeparator() const { return FDateSeparator; }
    void SetDateSeparator(char c);
    char TimeSeparator() const { return FTimeSeparator; }
    void SetTimeSeparator(char c);
    TYearLength YearLength() const { return FYearLength; }
    void SetYearLength(TYearLength y);
    bool MonthName() const { return FMonthName; }  // the month as a name ("Jan")
    void SetMonthName(bool on);
    TDateOrder DateOrder() const { return FDateOrder; }
    void SetDateOrder(TDateOrder o);
    TDateForTime DateForTime() const { return FDateForTime; }
    void SetDateForTime(TDateForTime d);

    // Copies the seven settings (not OnChange) and fires OnChange once.
    void Assign(const TDTLabel& source);

    TChangeEvent OnChange;

private:
    void Changed() const;

    TTimeFormat FTimeFormat = tfHHMMSS;
    char FDateSeparator = '\0';
    char FTimeSeparator = '\0';
    TYearLength FYearLength = ylNone;
    bool FMonthName = false;
    TDateOrder FDateOrder = doMMDDYY;
    TDateForTime FDateForTime = dtNone;
};

// A text label of a chart. Created at (100, 10) on layer 1, simple mode, centred above its
// position, silver box with a black border, grey shadow without offset. Every setter stores and
// fires OnChange; Layer accepts only 1..16 and ignores anything else without an event.
class TCustomTextLabel {
public:
    TCustomTextLabel() = default;
    virtual ~TCustomTextLabel() = default;
    TCustomTextLabel(const TCustomTextLabel&) = delete;
    TCustomTextLabel& operator=(const TCustomTextLabel&) = delete;

    double PosX() const { return FPosX; }
    void SetPosX(double v);
    double PosY() const { return FPosY; }
    void SetPosY(double v);
    int Layer() const { return FLayer; }
    void SetLayer(int layer);
    int ShadowDx() const { return FXShadow; }
    void SetShadowDx(int d);
    int ShadowDy() const { return FYShadow; }
    void SetShadowDy(int d);
    TColor ColorShadow() const { return FColorShadow; }
    void SetColorShadow(TColor c);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    TVerticalAlignment VerticalAlignment() const { return FVertAlign; }
    void SetVerticalAlignment(TVerticalAlignment a);
    // Which coordinates are world units of the layer; the others are pixels.
    TTxtLblAttachMode AttachToData() const { return FAttachDat; }
    void SetAttachToData(TTxtLblAttachMode m);
    TColor ColorBkg() const { return FColorBkg; }
    void SetColorBkg(TColor c);
    TColor ColorBorder() const { return FColorBrd; }
    void SetColorBorder(TColor c);
    bool Transparent() const { return FTransPar; }
    void SetTransparent(bool on);
    // The label's own font; the setter copies the given one.
    const oxw::platform::TCanvasFont& Font() const { return FFont; }
    void SetFont(const oxw::platform::TCanvasFont& font);
    // Line feeds separate lines.
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& text);
    TTxtLblMode Mode() const { return FMode; }
    void SetMode(TTxtLblMode m);
    bool Visible() const { return FVisible; }
    void SetVisible(bool on);

    TChangeEvent OnChange;

protected:
    void Changed() const;

private:
    double FPosX = 100.0;
    double FPosY = 10.0;
    int FLayer = 1;
    int FXShadow = 0;
    int FYShadow = 0;
    TColor FColorShadow = clGray;
    TAlignment FAlignment = taCenter;
    TVerticalAlignment FVertAlign = vaBottom;
    TTxtLblAttachMode FAttachDat = tlamNone;
    TColor FColorBkg = clSilver;
    TColor FColorBrd = clBlack;
    bool FTransPar = false;
    oxw::platform::TCanvasFont FFont;
    QString FCaption;
    TTxtLblMode FMode = tlsimple;
    bool FVisible = true;
};

// The chart's text label.
using TTextLabel = TCustomTextLabel;
