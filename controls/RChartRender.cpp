// TRChart: the rendering pipeline. A full render builds the whole control picture (ChartBmp:
// background, shadow, caption, the 16 pairs of hidden axis scales), then the data area (GrafBmp:
// background, grid, items, text labels, frame) and puts it into the picture, then the
// cross-hairs. A data render rebuilds only GrafBmp and puts it on the shown picture at the data
// area's corner.
//
// Renders run only from the paint event or PaintImage: Paint and ShowGraf ask for them, so any
// number of requests before the next paint cost one render, and a request made while a render
// runs (a background file that fails to load clears its name, which asks for a repaint) is
// carried out after it, never with a second painter on a bitmap in use.
#include "controls/RChart.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

using oxw::platform::Canvas;
using oxw::platform::FarClamp;

namespace {

// A canvas on a bitmap whose pen, brush and font carry over from one render to the next.
template <class State>
class KeptCanvas : public Canvas {
public:
    KeptCanvas(QImage& image, State& state) : Canvas(image), state_(state)
    {
        Pen = state.Pen;
        Brush = state.Brush;
        Font = state.Font;
    }
    ~KeptCanvas() override
    {
        state_.Pen = Pen;
        state_.Brush = Brush;
        state_.Font = Font;
    }
    KeptCanvas(const KeptCanvas&) = delete;
    KeptCanvas& operator=(const KeptCanvas&) = delete;

private:
    State& state_;
};

QImage NewBitmap(int w, int h) { return w > 0 && h > 0 ? QImage(w, h, QImage::Format_RGB32) : QImage(); }

}  // namespace

// ---- requests ----

void TCustomRChart::Paint()
{
    if (CanPaint())
        RequestRender(true);
}

void TCustomRChart::StyleChanged()
{
    if (FAutoRedraw)
        Paint();
}

void TCustomRChart::RequestRender(bool full)
{
    (full ? FFullPending : FDataPending) = true;
    if (!FRendering)
        update();
}

void TCustomRChart::ShowGraf()
{
    if (isVisible()) {
        FData->SetLastElemOnShow(NumItems() - 1);
        if (FAutoRedraw)
            RequestRender(false);
        else
            Paint();
    }
    if (FUseDataOf != nullptr) {
        FUseDataOf->StyleChanged();
        for (int i = 0; i < FUseDataOf->FDataUsersNum; ++i)
            FUseDataOf->FDataUsers[static_cast<std::size_t>(i)]->StyleChanged();
    }
    for (int i = 0; i < FDataUsersNum; ++i)
        FDataUsers[static_cast<std::size_t>(i)]->StyleChanged();
}

// ---- painting ----

QImage TCustomRChart::PaintImage()
{
    // A paint of the control repaints it fully, unless only the data area was asked for.
    if (!FDataPending || FScreen.size() != size())
        FFullPending = true;
    RenderPending();
    return FScreen;
}

void TCustomRChart::paintEvent(QPaintEvent* /*event*/)
{
    if (!FRendering)
        PaintImage();
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(FWindColor));
    const bool window = FZoomState == zsDrawWin;
    const bool box = MouseBoxState == msRectDraw;
    if (!(window || box) || FScreen.isNull()) {
        painter.drawImage(0, 0, FScreen);
        return;
    }
    // The zoom window or rubber-band box being drawn: a rectangle in white by exclusive or.
    QImage shown = FScreen;
    Canvas cv(shown);
    cv.Pen = {clWhite, 1, psSolid, pmXor};
    cv.Brush.Style = bsClear;
    if (window)
        cv.Rectangle(WindAnchorX, WindAnchorY, WindOldCornerX, WindOldCornerY);
    if (box)
        cv.Rectangle(MouseBoxX1, MouseBoxY1, MouseBoxX2, MouseBoxY2);
    painter.drawImage(0, 0, shown);
}

void TCustomRChart::showEvent(QShowEvent* /*event*/) { Paint(); }

void TCustomRChart::RenderPending()
{
    if (FRendering)
        return;
    SyncBounds();
    // A request made during a render runs after it; a render asks at most once more (a failed
    // background file), so few passes suffice.
    for (int pass = 0; pass < 4; ++pass) {
        if (FFullPending && CanPaint()) {
            FFullPending = FDataPending = false;
            RenderFull();
        } else if (FDataPending) {
            FDataPending = false;
            RenderData();
        } else {
            break;
        }
    }
    FFullPending = false;
}

void TCustomRChart::ResizeGrafBmp()
{
    GrafBmp = NewBitmap(std::max(DataWidth() + 1, 0), std::max(DataHeight() + 1, 0));
}

void TCustomRChart::RenderFull()
{
    FRendering = true;
    ++FFullRenders;
    ChartBmp = NewBitmap(width(), height());
    if (!ChartBmp.isNull()) {
        {
            KeptCanvas cv(ChartBmp, FChartCv);
            ConstructChartBmp(cv);
        }
        ResizeGrafBmp();
        if (!GrafBmp.isNull()) {
            {
                KeptCanvas gv(GrafBmp, FGrafCv);
                InitGraf(gv, 0, 0);
                ConstructDataBmp(gv, 0, 0, false, 0);
            }
            Canvas(ChartBmp).Draw(FLRim, FTRim, GrafBmp);
        }
    }
    DrawFinish(0, 0, ChartBmp);
    FRendering = false;
}

void TCustomRChart::RenderData()
{
    FRendering = true;
    ++FDataRenders;
    ResizeGrafBmp();
    if (!GrafBmp.isNull()) {
        {
            KeptCanvas gv(GrafBmp, FGrafCv);
            InitGraf(gv, 0, 0);
            ConstructDataBmp(gv, 0, 0, false, 0);
        }
        DrawFinish(FLRim, FTRim, GrafBmp);
    }
    FRendering = false;
}

// ---- the stages ----

void TCustomRChart::ConstructChartBmp(Canvas& cv)
{
    cv.Pen.Style = psSolid;
    cv.Pen.Mode = pmCopy;
    cv.Brush.Style = bsSolid;
    cv.Brush.Color = cv.Pen.Color = FWindColor;
    cv.Rectangle(0, 0, width(), height());
    if (FShadowWidth > 0)
        DrawShadow(cv);
    DrawCaption(cv);
    AdjustScaling();
    for (auto* scales : {&FScaleX, &FScaleY})
        for (int L = 1; L <= MaxNumLayers; ++L) {
            TScale& s = *(*scales)[static_cast<std::size_t>(L)];
            s.UseForeignCanvas(&cv, 0, 0);
            s.ForcePaint();
            s.UseForeignCanvas(nullptr, 0, 0);
        }
    if (OnScalesRendered) {
        Canvas* target = &cv;
        OnScalesRendered(this, target, 0, 0);
    }
}

// The offset shadow below and right of the chart, and its black outline.
void TCustomRChart::DrawShadow(Canvas& cv)
{
    const int sw = FShadowWidth, w = cv.Width(), h = cv.Height();
    cv.Brush.Color = cv.Pen.Color = FShadowBakColor;
    cv.Rectangle(w - sw, 0, w, sw);
    cv.Rectangle(0, h - sw, sw, h);
    cv.Brush.Color = FShadowColor;
    const bool flying = FShadowStyle == ssFlying;
    cv.Pen.Color = flying ? FShadowColor : clBlack;
    const int s = flying ? sw - 1 : 0;
    cv.Polygon({{s, h - sw}, {sw - 1, h - 1}, {w - 1, h - 1}, {w - sw, h - sw}});
    cv.Polygon({{w - sw, h - sw}, {w - 1, h - 1}, {w - 1, sw - 1}, {w - sw, s}});
    cv.Pen.Color = clBlack;
    cv.Pen.Style = psSolid;
    cv.MoveTo(0, 0);
    for (const QPoint p : {QPoint(width() - sw, 0), QPoint(width() - sw, height() - sw), QPoint(0, height() - sw), QPoint(0, 0)})
        cv.LineTo(p.x(), p.y());
}

// The chart caption, in the canvas's current font (the one the scales left on it).
void TCustomRChart::DrawCaption(Canvas& cv)
{
    cv.Pen.Color = FChartFrameColor;
    cv.Brush.Style = bsClear;
    const long long tw = cv.TextWidth(FCaption), sw = FShadowWidth, w = width(), h = height();
    long long x = FCaptionPosX, y = FCaptionPosY;
    switch (FCaptionAnchorHoriz) {
    case cahControlLeft: break;
    case cahChartLeft: x += FLRim; break;
    case cahChartCenter: x += FLRim + (w - FLRim - FRRim - sw) / 2; break;
    case cahChartRight: x += w - FRRim - sw; break;
    case cahControlRight: x += w; break;
    }
    switch (FCaptionAnchorVert) {
    case cavControlTop: break;
    case cavChartTop: y += FTRim; break;
    case cavChartCenter: y += FTRim + (h - FTRim - FBRim - sw) / 2; break;
    case cavChartBottom: y += h - FBRim; break;
    case cavControlBottom: y += h; break;
    }
    if (FCaptionAlignment == taRightJustify)
        x -= tw;
    else if (FCaptionAlignment == taCenter)
        x -= tw / 2;
    cv.TextOut(FarClamp(x), FarClamp(y), FCaption);
}

void TCustomRChart::InitGraf(Canvas& cv, int PosX, int PosY)
{
    const int w = cv.Width(), h = cv.Height();
    cv.Pen.Style = psSolid;
    cv.Pen.Mode = pmCopy;
    cv.Brush.Style = bsSolid;
    cv.Brush.Color = FChartColor;
    cv.Pen.Color = FChartFrameColor;
    if (FBackGroundImg.Name().isEmpty()) {
        cv.Rectangle(PosX, PosY, PosX + w, PosY + h);
        DrawBackGroundArea(cv, PosX, PosY, w, h);
    } else if (!DrawBackGroundImage(cv, w, h)) {
        cv.Rectangle(PosX, PosY, PosX + w, PosY + h);
        FBackGroundImg.SetName(QString());  // asks for a repaint, which runs after this render
    }
}

void TCustomRChart::DrawBackGroundArea(Canvas& cv, int PosX, int PosY, int w, int h)
{
    const TBGAreaMode mode = FBackGroundImg.AreaMode();
    if (mode == bamNone)
        return;
    cv.Brush.Color = cv.Pen.Color = FBackGroundImg.AreaColor();
    int xl = 0, yt = 0, xr = 0, yb = 0;
    R2MRaw(1, FBackGroundImg.AreaLeft(), FBackGroundImg.AreaTop(), xl, yt);
    R2MRaw(1, FBackGroundImg.AreaRight(), FBackGroundImg.AreaBottom(), xr, yb);
    LimitToINteger(xl, yt);
    LimitToINteger(xr, yb);
    xl += PosX - FLRim;
    xr += PosX - FLRim;
    yt += PosY - FTRim;
    yb += PosY - FTRim;
    const int left = PosX, top = PosY, right = PosX + w, bottom = PosY + h;
    switch (mode) {
    case bamLeft: cv.Rectangle(left, top, xl, bottom); break;
    case bamRight: cv.Rectangle(xr, top, right, bottom); break;
    case bamTop: cv.Rectangle(left, top, right, yt); break;
    case bamBottom: cv.Rectangle(left, yb, right, bottom); break;
    case bamVStripe: cv.Rectangle(xl, top, xr, bottom); break;
    case bamHStripe: cv.Rectangle(left, yt, right, yb); break;
    case bamRect: cv.Rectangle(xl, yt, xr, yb); break;
    default: break;
    }
}

// The background picture, read from its file at every render; false when it cannot be read.
bool TCustomRChart::DrawBackGroundImage(Canvas& cv, int w, int h)
{
    if (!AuxBmp.load(FBackGroundImg.Name()))
        return false;
    switch (FBackGroundImg.FillMode()) {
    case bfSimple:
        cv.Rectangle(0, 0, w, h);
        cv.Draw(0, 0, AuxBmp);
        break;
    case bfStretch: cv.StretchDraw(0, 0, w, h, AuxBmp); break;
    case bfTile: {
        const int iw = AuxBmp.width(), ih = AuxBmp.height();
        if (iw <= 0 || ih <= 0)
            break;
        const int xcnt = (w - 1) / iw + 1, ycnt = (h - 1) / ih + 1;
        for (int i = 1; i <= xcnt; ++i)
            for (int j = 1; j <= ycnt; ++j)
                cv.StretchDraw((i - 1) * iw, (j - 1) * ih, i * iw, j * ih, AuxBmp);
        break;
    }
    }
    return true;
}

// The cross-hairs into SrcBmp, then SrcBmp onto the shown picture at (xPos, yPos).
void TCustomRChart::DrawFinish(int xPos, int yPos, QImage& SrcBmp)
{
    const bool any = std::any_of(FCrossHair.begin() + 1, FCrossHair.end(), [](const TCrossHair& c) { return c.Mode() != chOff; });
    if (any && !SrcBmp.isNull()) {
        Canvas cv(SrcBmp);
        const long long w = width(), h = height(), sw = FShadowWidth;
        for (int i = 1; i <= MaxCrossH; ++i) {
            const TCrossHair& ch = FCrossHair[static_cast<std::size_t>(i)];
            if (ch.Mode() == chOff)
                continue;
            int sx = 0, sy = 0;
            R2MRaw(ch.Layer(), ch.PosX(), ch.PosY(), sx, sy);
            cv.Pen = {ch.Color(), ch.LineWid(), ch.LineType(), pmCopy};
            const long long hw = ch.LineWid() / 2;
            auto line = [&](long long x1, long long y1, long long x2, long long y2) {
                cv.MoveTo(FarClamp(x1 - xPos), FarClamp(y1 - yPos));
                cv.LineTo(FarClamp(x2 - xPos), FarClamp(y2 - yPos));
            };
            if ((ch.Mode() == chHoriz || ch.Mode() == chBoth) && FTRim + hw < sy && sy < h - FBRim - sw - hw)
                line(FLRim + hw + 1, sy, w - FRRim - sw - hw, sy);
            if ((ch.Mode() == chVert || ch.Mode() == chBoth) && FLRim + hw < sx && sx < w - FRRim - sw - hw)
                line(sx, FTRim + hw + 1, sx, h - FBRim - sw - hw);
        }
    }
    if (xPos == 0 && yPos == 0 && SrcBmp.size() == size()) {
        FScreen = SrcBmp;
        return;
    }
    if (FScreen.size() != size()) {
        FScreen = NewBitmap(width(), height());
        FScreen.fill(ColorToRGB(FWindColor));
    }
    if (!FScreen.isNull() && !SrcBmp.isNull())
        Canvas(FScreen).Draw(xPos, yPos, SrcBmp);
}
