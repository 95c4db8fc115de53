// TRChart: creation, size and margins, and the chart's own properties; see RChart.h.
#include "controls/RChart.h"

#include <QKeyEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

#include "controls/ColorTable.h"

using oxw::platform::FarClamp;

namespace {

bool ValidLayer(int layer) { return layer >= 1 && layer <= MaxNumLayers; }

// The keys a focused chart asks for: the arrows and Tab (with or without Shift). Tab with Ctrl
// or Alt stays the window's.
bool ChartKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    default:
        return false;
    }
}

}  // namespace

TCustomRChart::TCustomRChart(QWidget* parent) : QWidget(parent), FData(std::make_shared<TChartItemList>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    FClassVisible.fill(true);
    FLayerVisible.fill(true);
    FMouseAffLayer[1] = true;

    for (int i = 1; i <= MaxCrossH; ++i) {
        TCrossHair& ch = FCrossHair[static_cast<std::size_t>(i)];
        ch.SetLayer(i);
        ch.SetLineWid(1);
        ch.OnChange = [this] { StyleChanged(); };
    }
    for (int i = 1; i <= MaxTxtLbl; ++i) {
        auto label = std::make_unique<TTextLabel>();
        label->SetPosX(0);
        label->SetPosY(0);
        label->SetAttachToData(tlamBoth);
        label->SetColorBkg(clWhite);
        label->SetShadowDx(3);
        label->SetShadowDy(3);
        label->SetColorShadow(RGB(128, 128, 128));
        label->SetFont({font(), clBlack, 0});
        label->SetVisible(false);
        label->SetMode(tlBox);
        label->OnChange = [this] { StyleChanged(); };
        FTextLabels[static_cast<std::size_t>(i)] = std::move(label);
    }
    FBackGroundImg.OnChange = [this] { StyleChanged(); };
    FJointLayers.OnChange = [this] { StyleChanged(); };

    // The screen's pixel aspect: ASPECTX and ASPECTY are inversely proportional to the pixel
    // densities across and down.
    const QImage aux(10, 10, QImage::Format_RGB32);
    Fxasp = aux.logicalDpiY();
    Fyasp = aux.logicalDpiX();

    for (int L = 1; L <= MaxNumLayers; ++L) {
        const auto l = static_cast<std::size_t>(L);
        const bool odd = L % 2 == 1;
        FScalePropsX[l] = std::make_unique<TScalePropsHoriz>();
        FScalePropsY[l] = std::make_unique<TScalePropsVert>();
        for (TScaleProps* p : {static_cast<TScaleProps*>(FScalePropsX[l].get()), static_cast<TScaleProps*>(FScalePropsY[l].get())}) {
            p->BeginLoading();
            p->SetColorScale(PredefinedColor(L));
            p->SetLabelType(ftNum);
            p->SetOnChange([this] { ScalePropsChanged(); });
        }
        FScalePropsX[l]->SetScaleType(odd ? sctXT : sctXB);
        FScalePropsY[l]->SetScaleType(odd ? sctYR : sctYL);
        FScalePropsX[l]->SetScalePos((L - 1) / 2 * 30);
        FScalePropsY[l]->SetScalePos((L - 1) / 2 * 50);
        for (auto [scale, axis] : {std::pair{&FScaleX[l], "RC_FScale_X_"}, std::pair{&FScaleY[l], "RC_FScale_Y_"}}) {
            *scale = std::make_unique<TScale>();  // no parent: a helper is never shown
            TScale& s = **scale;
            s.setObjectName(QString::fromLatin1(axis) + QString::number(L));
            s.SetSuppressPaint(true);
            s.SetIsHelperComponent(true);
            s.SetTransparent(true);
            s.SetFrameStyle(fsNone);
            s.OnScaleTickDrawn = [this](TScale*, Canvas& cv, TScaleType type, double tick, int x, int y) {
                if (OnScaleTickDrawn)
                    OnScaleTickDrawn(this, cv, type, tick, x, y);
            };
        }
    }
    FChartCv.Font.Font = font();
    resize(280, 200);
    SetStdLayout(rcl_X1Bottom_Y1Left);
    ClearZoomHistory();

    // The end of loading: settings into the hidden scales, the mapping, and painting allowed (a
    // widget can be rendered as soon as it exists).
    FLoading = false;
    for (int L = 1; L <= MaxNumLayers; ++L) {
        FScalePropsX[static_cast<std::size_t>(L)]->Loaded();
        FScalePropsY[static_cast<std::size_t>(L)]->Loaded();
    }
    BoundsChanged();
    FSuppressPaint = false;
    Paint();
}

TCustomRChart::~TCustomRChart()
{
    DetachFromOwner();
    for (int i = FDataUsersNum - 1; i >= 0; --i) {
        TCustomRChart* user = FDataUsers[static_cast<std::size_t>(i)];
        user->FUseDataOf = nullptr;
        user->FData = std::make_shared<TChartItemList>(*FData);
    }
    FDataUsersNum = 0;
}

// ---- size and margins ----

void TCustomRChart::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const QSize least = minimumSizeHint();
    setGeometry(ALeft, ATop, std::max(AWidth, least.width()), std::max(AHeight, least.height()));
    BoundsChanged();
}

QSize TCustomRChart::minimumSizeHint() const
{
    return {std::max(FLRim + FRRim + FShadowWidth + 80, 0), std::max(FTRim + FBRim + FShadowWidth + 20, 0)};
}

void TCustomRChart::resizeEvent(QResizeEvent* /*event*/) { SyncBounds(); }

void TCustomRChart::SyncBounds()
{
    if (width() != FBoundsW || height() != FBoundsH)
        BoundsChanged();
}

void TCustomRChart::BoundsChanged()
{
    FBoundsW = width();
    FBoundsH = height();
    if (FLoading)
        return;
    if (FIsometric)
        ResetIsometricRanges(2);
    for (int L = 1; L <= MaxNumLayers; ++L) {
        FScaleX[static_cast<std::size_t>(L)]->SetBounds(0, 0, width(), height());
        FScaleY[static_cast<std::size_t>(L)]->SetBounds(0, 0, width(), height());
    }
    CopyAllScaleProps();
    SetHelperMargins();
    AdjustScaling();
    StyleChanged();
}

void TCustomRChart::MarginsChanged()
{
    updateGeometry();
    if (FLoading)
        return;
    if (FIsometric)
        ResetIsometricRanges(1);
    CopyAllScaleProps();
    SetHelperMargins();
    AdjustScaling();
    StyleChanged();
}

// A margin below 0 counts as 0 (the data area stays inside the control, whose bitmap it
// gets), and one above 2^24 as 2^24.
namespace {
int Margin(int m) { return std::max(FarClamp(m), 0); }
}  // namespace

void TCustomRChart::SetMarginLeft(int m) { FLRim = Margin(m); MarginsChanged(); }
void TCustomRChart::SetMarginRight(int m) { FRRim = Margin(m); MarginsChanged(); }
void TCustomRChart::SetMarginTop(int m) { FTRim = Margin(m); MarginsChanged(); }
void TCustomRChart::SetMarginBottom(int m) { FBRim = Margin(m); MarginsChanged(); }

void TCustomRChart::SetMargins(int left, int right, int top, int bottom)
{
    SetMarginLeft(left);
    SetMarginRight(right);
    SetMarginTop(top);
    SetMarginBottom(bottom);
}

void TCustomRChart::SetShadowWidth(int w)
{
    FShadowWidth = std::clamp(w, 0, 32);
    MarginsChanged();
}

bool TCustomRChart::InDataArea(int X, int Y) const
{
    return X >= FLRim && X <= DataRight() && Y >= FTRim && Y <= DataBottom();
}

// ---- keyboard ----

bool TCustomRChart::event(QEvent* event)
{
    // QWidget::event would move the focus on Tab before keyPressEvent saw it.
    if (event->type() == QEvent::KeyPress && ChartKey(*static_cast<QKeyEvent*>(event))) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QWidget::event(event);
}

void TCustomRChart::keyPressEvent(QKeyEvent* event)
{
    if (ChartKey(*event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

// ---- item attributes and filters ----

void TCustomRChart::SetAllocSize(int n)
{
    if (n >= 1 && n <= 1000000)
        FAllocSize = n;
}

void TCustomRChart::SetClassDefault(std::uint8_t c)
{
    if (c != 255)
        FClassDefault = c;
}

void TCustomRChart::SetActiveLayer(int layer)
{
    if (ValidLayer(layer))
        FActiveLayer = layer;
}

bool TCustomRChart::ClassVisible(int cls) const
{
    return cls >= 0 && cls <= 255 && FClassVisible[static_cast<std::size_t>(cls)];
}

void TCustomRChart::SetClassVisible(int cls, bool on)
{
    if (cls >= 0 && cls <= 255)
        FClassVisible[static_cast<std::size_t>(cls)] = on;
}

bool TCustomRChart::LayerVisible(int layer) const
{
    return ValidLayer(layer) && FLayerVisible[static_cast<std::size_t>(layer)];
}

void TCustomRChart::SetLayerVisible(int layer, bool on)
{
    if (ValidLayer(layer))
        FLayerVisible[static_cast<std::size_t>(layer)] = on;
}

bool TCustomRChart::MouseAffectsLayer(int layer) const
{
    return ValidLayer(layer) && FMouseAffLayer[static_cast<std::size_t>(layer)];
}

void TCustomRChart::SetMouseAffectsLayer(int layer, bool on)
{
    if (ValidLayer(layer))
        FMouseAffLayer[static_cast<std::size_t>(layer)] = on;
}

// ---- owned settings ----

TScalePropsHoriz* TCustomRChart::GetScalePropsX(int Layer)
{
    return FScalePropsX[static_cast<std::size_t>(ValidLayer(Layer) ? Layer : 1)].get();
}

TScalePropsVert* TCustomRChart::GetScalePropsY(int Layer)
{
    return FScalePropsY[static_cast<std::size_t>(ValidLayer(Layer) ? Layer : 1)].get();
}

const TScale& TCustomRChart::HelperScaleX(int Layer) const
{
    return *FScaleX[static_cast<std::size_t>(ValidLayer(Layer) ? Layer : 1)];
}

const TScale& TCustomRChart::HelperScaleY(int Layer) const
{
    return *FScaleY[static_cast<std::size_t>(ValidLayer(Layer) ? Layer : 1)];
}

TCrossHair& TCustomRChart::CrossHair(int ix)
{
    return FCrossHair[static_cast<std::size_t>(ix >= 1 && ix <= MaxCrossH ? ix : 1)];
}

void TCustomRChart::SetCrossHair(int ix, const TCrossHair& source)
{
    TCrossHair& ch = CrossHair(ix);
    ch.SetPosX(source.PosX());
    ch.SetPosY(source.PosY());
    ch.SetColor(source.Color());
    ch.SetMode(source.Mode());
    ch.SetLineType(source.LineType());
    ch.SetLineWid(source.LineWid());
    ch.SetLayer(source.Layer());
}

TTextLabel& TCustomRChart::TextLabels(int ix)
{
    if (ix < 1 || ix > MaxTxtLbl)
        throw EVKRRChartError(ComponentPrefix(objectName().toStdString()) + "invalid index into TextLabel array");
    return *FTextLabels[static_cast<std::size_t>(ix)];
}

void TCustomRChart::SetSuppressPaint(bool on)
{
    if (FSuppressPaint == on)
        return;
    FSuppressPaint = on;
    if (!on)
        Paint();
}

// ---- style properties: store, then paint with AutoRedraw ----

void TCustomRChart::SetShadowStyle(TShadowStyle s) { FShadowStyle = s; StyleChanged(); }
void TCustomRChart::SetShadowColor(TColor c) { FShadowColor = c; StyleChanged(); }
void TCustomRChart::SetShadowBakColor(TColor c) { FShadowBakColor = c; StyleChanged(); }
void TCustomRChart::SetChartColor(TColor c) { FChartColor = c; StyleChanged(); }
void TCustomRChart::SetWindColor(TColor c) { FWindColor = c; StyleChanged(); }
void TCustomRChart::SetChartFrameColor(TColor c) { FChartFrameColor = c; StyleChanged(); }
void TCustomRChart::SetGridColor(TColor c) { FGridColor = c; StyleChanged(); }
void TCustomRChart::SetGridStyle(GridStyleType s) { FGridStyle = s; StyleChanged(); }
void TCustomRChart::SetCaption(const QString& c) { FCaption = c; StyleChanged(); }
void TCustomRChart::SetCaptionPosX(int x) { FCaptionPosX = FarClamp(x); StyleChanged(); }
void TCustomRChart::SetCaptionPosY(int y) { FCaptionPosY = FarClamp(y); StyleChanged(); }
void TCustomRChart::SetCaptionAlignment(TAlignment a) { FCaptionAlignment = a; StyleChanged(); }
void TCustomRChart::SetCaptionAnchorHoriz(TCaptionAnchorHoriz a) { FCaptionAnchorHoriz = a; StyleChanged(); }
void TCustomRChart::SetCaptionAnchorVert(TCaptionAnchorVert a) { FCaptionAnchorVert = a; StyleChanged(); }
void TCustomRChart::SetTextFontStyle(TFontStyles s) { FTextFontStyle = s; StyleChanged(); }
void TCustomRChart::SetTextBkStyle(TTextBkg s) { FTextBkStyle = s; StyleChanged(); }
void TCustomRChart::SetTextBkColor(TColor c) { FTextBkColor = c; StyleChanged(); }
void TCustomRChart::SetTextAlignment(TAlignment a) { FTextAlignment = a; StyleChanged(); }

// A grid step below -3, or one that is not finite, is ignored.
void TCustomRChart::SetGridDx(double d)
{
    if (d < -3.0 || !std::isfinite(d))
        return;
    FGridDx = d;
    StyleChanged();
}

void TCustomRChart::SetGridDy(double d)
{
    if (d < -3.0 || !std::isfinite(d))
        return;
    FGridDy = d;
    StyleChanged();
}
