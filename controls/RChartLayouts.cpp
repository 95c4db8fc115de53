// The chart's seven standard layouts (StandardLayout): margins, the chart caption's placement and
// the axes of layers 1..4; the axes of layers 5..16 become invisible.
#include "controls/RChart.h"

namespace {

struct AxisEntry {
    bool visible;
    bool farSide;  // x: at the top; y: at the right
    int pos;       // ScalePos
    int capX, capY;
    TAlignment align;
    TScaleUnitAnchor anchor;
};

struct LayoutEntry {
    int lRim, rRim, tRim, bRim;
    int capX, capY;
    TAlignment capAlign;
    TCaptionAnchorHoriz anchorH;
    TCaptionAnchorVert anchorV;
    AxisEntry x[4];
    AxisEntry y[4];
};

// Invisible axes of layers 1..4.
constexpr AxisEntry kNoX = {false, false, 0, 10, 100, taCenter, uaSclCenter};
constexpr AxisEntry kNoY = {false, false, 0, 10, 100, taRightJustify, uaSclTopLft};
constexpr AxisEntry kNoY23 = {false, false, 0, 0, -23, taRightJustify, uaSclTopLft};

constexpr AxisEntry kX1 = {true, false, 0, 0, 22, taCenter, uaSclCenter};
constexpr AxisEntry LeftY(int pos) { return {true, false, pos, 0, -23, taRightJustify, uaSclTopLft}; }

constexpr LayoutEntry kLayouts[] = {
    // rcl_X1Bottom_Y1Left
    {50, 20, 20, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {kX1, kNoX, kNoX, kNoX},
     {{true, false, 0, 0, -16, taLeftJustify, uaSclTopLft}, kNoY, kNoY, kNoY}},
    // rcl_X1Bottom_Y2Left
    {100, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {kX1, kNoX, kNoX, kNoX},
     {LeftY(0), LeftY(50), kNoY, kNoY}},
    // rcl_X1Bottom_Y3Left
    {150, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {kX1, kNoX, kNoX, kNoX},
     {LeftY(0), LeftY(50), LeftY(100), kNoY}},
    // rcl_X1Bottom_Y4Left
    {200, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {kX1, kNoX, kNoX, kNoX},
     {LeftY(0), LeftY(50), LeftY(100), LeftY(150)}},
    // rcl_X1Bottom_Y2Both
    {50, 50, 24, 40, 0, -20, taCenter, cahChartCenter, cavChartTop,
     {kX1, kNoX, kNoX, kNoX},
     {LeftY(0), {true, true, 0, 0, -23, taLeftJustify, uaSclTopLft}, kNoY, kNoY}},
    // rcl_X2Bottom_Y2Left
    {100, 20, 24, 70, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {{true, false, 0, -20, 7, taRightJustify, uaSclTopLft}, {true, false, 30, -20, 7, taRightJustify, uaSclTopLft},
      kNoX, kNoX},
     {LeftY(0), LeftY(50), kNoY, kNoY}},
    // rcl_X2Both_Y2Both
    {50, 50, 48, 40, 0, -46, taCenter, cahChartCenter, cavChartTop,
     {{true, false, 0, -20, 7, taRightJustify, uaSclTopLft}, {true, true, 0, -20, -24, taRightJustify, uaSclTopLft},
      kNoX, kNoX},
     {{true, false, 0, 0, -40, taRightJustify, uaSclTopLft}, {true, true, 0, 0, -40, taLeftJustify, uaSclTopLft},
      kNoY23, kNoY23}},
};

void ApplyAxis(TScaleProps& p, const AxisEntry& e)
{
    p.SetCaptionPosX(e.capX);
    p.SetCaptionPosY(e.capY);
    p.SetCaptionAlignment(e.align);
    p.SetCaptionAnchor(e.anchor);
    p.SetScalePos(e.pos);
    p.SetVisible(e.visible);
}

}  // namespace

void TCustomRChart::SetStdLayout(TrcLayout layout)
{
    if (layout < rcl_X1Bottom_Y1Left || layout > rcl_X2Both_Y2Both)
        return;
    const LayoutEntry& e = kLayouts[layout];
    FStandardLayout = layout;
    const bool suppressed = FSuppressPaint;
    FSuppressPaint = true;
    SetMarginLeft(e.lRim);
    SetMarginRight(e.rRim);
    SetMarginTop(e.tRim);
    SetMarginBottom(e.bRim);
    FCaptionPosX = e.capX;
    FCaptionPosY = e.capY;
    FCaptionAlignment = e.capAlign;
    FCaptionAnchorHoriz = e.anchorH;
    FCaptionAnchorVert = e.anchorV;
    for (int i = 0; i < 4; ++i) {
        TScalePropsHoriz& x = *GetScalePropsX(i + 1);
        TScalePropsVert& y = *GetScalePropsY(i + 1);
        x.SetScaleLocation(e.x[i].farSide ? slTop : slBottom);
        ApplyAxis(x, e.x[i]);
        y.SetScaleLocation(e.y[i].farSide ? slRight : slLeft);
        ApplyAxis(y, e.y[i]);
    }
    for (int L = 5; L <= MaxNumLayers; ++L) {
        GetScalePropsX(L)->SetVisible(false);
        GetScalePropsY(L)->SetVisible(false);
    }
    CopyAllScaleProps();
    SetSuppressPaint(suppressed);
}
