// Settings objects of the charts and scales; see ChartSettings.h.
#include "controls/ChartSettings.h"
#include "controls/StoreChanged.h"

#include <algorithm>

using oxw::controls::Store;

namespace {

void Fire(const TChangeEvent& event)
{
    if (event)
        event();
}

}  // namespace

// ---- TCrossHair ----

void TCrossHair::Changed() const { Fire(OnChange); }
void TCrossHair::SetPosX(double v) { FPosX = v; Changed(); }
void TCrossHair::SetPosY(double v) { FPosY = v; Changed(); }
void TCrossHair::SetColor(TColor c) { FColor = c; Changed(); }
void TCrossHair::SetMode(TCrossHMode m) { FMode = m; Changed(); }
void TCrossHair::SetLineType(TPenStyle s) { FLineType = s; Changed(); }
void TCrossHair::SetLineWid(int w) { FLineWid = w; Changed(); }

void TCrossHair::SetLayer(int layer)
{
    FLayer = std::clamp(layer, 1, MaxNumLayers);
    Changed();
}

// ---- TDTLabel ----

void TDTLabel::Changed() const { Fire(OnChange); }

void TDTLabel::SetTimeFormat(TTimeFormat f)
{
    FTimeFormat = f;
    Changed();
}

void TDTLabel::SetDateOrder(TDateOrder o)
{
    FDateOrder = o;
    Changed();
}

void TDTLabel::SetDateSeparator(char c) { if (Store(FDateSeparator, c)) Changed(); }
void TDTLabel::SetTimeSeparator(char c) { if (Store(FTimeSeparator, c)) Changed(); }
void TDTLabel::SetYearLength(TYearLength y) { if (Store(FYearLength, y)) Changed(); }
void TDTLabel::SetMonthName(bool on) { if (Store(FMonthName, on)) Changed(); }
void TDTLabel::SetDateForTime(TDateForTime d) { if (Store(FDateForTime, d)) Changed(); }

void TDTLabel::Assign(const TDTLabel& source)
{
    FTimeFormat = source.FTimeFormat;
    FDateSeparator = source.FDateSeparator;
    FTimeSeparator = source.FTimeSeparator;
    FYearLength = source.FYearLength;
    FMonthName = source.FMonthName;
    FDateOrder = source.FDateOrder;
    FDateForTime = source.FDateForTime;
    Changed();
}

// ---- TCustomTextLabel ----

void TCustomTextLabel::Changed() const { Fire(OnChange); }
void TCustomTextLabel::SetPosX(double v) { FPosX = v; Changed(); }
void TCustomTextLabel::SetPosY(double v) { FPosY = v; Changed(); }
void TCustomTextLabel::SetShadowDx(int d) { FXShadow = d; Changed(); }
void TCustomTextLabel::SetShadowDy(int d) { FYShadow = d; Changed(); }
void TCustomTextLabel::SetColorShadow(TColor c) { FColorShadow = c; Changed(); }
void TCustomTextLabel::SetAlignment(TAlignment a) { FAlignment = a; Changed(); }
void TCustomTextLabel::SetVerticalAlignment(TVerticalAlignment a) { FVertAlign = a; Changed(); }
void TCustomTextLabel::SetAttachToData(TTxtLblAttachMode m) { FAttachDat = m; Changed(); }
void TCustomTextLabel::SetColorBkg(TColor c) { FColorBkg = c; Changed(); }
void TCustomTextLabel::SetColorBorder(TColor c) { FColorBrd = c; Changed(); }
void TCustomTextLabel::SetTransparent(bool on) { FTransPar = on; Changed(); }
void TCustomTextLabel::SetFont(const oxw::platform::TCanvasFont& font) { FFont = font; Changed(); }
void TCustomTextLabel::SetCaption(const QString& text) { FCaption = text; Changed(); }
void TCustomTextLabel::SetMode(TTxtLblMode m) { FMode = m; Changed(); }
void TCustomTextLabel::SetVisible(bool on) { FVisible = on; Changed(); }

void TCustomTextLabel::SetLayer(int layer)
{
    if (layer < 1 || layer > MaxNumLayers)
        return;
    FLayer = layer;
    Changed();
}
