// TRChart: the mouse. MouseAction chooses what a drag with the left button does to the layers
// whose MouseAffectsLayer is set: pan (both axes, x or y only), zoom by dragging, zoom to a
// window, or drag a cross-hair or a text label. Every move reports the position in world units
// of the active layer (OnMouseMoveInChart). Range changes go through ForceRange, so joined
// layers follow; a drag leaves one zoom-history entry. A rubber-band box is drawn only when code
// asks for one (MouseBoxState). While the data area is under one pixel,
// panning and zooming change nothing.
#include <QCursor>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

#include "controls/RChart.h"
#include "numeric/Rounding.h"
#include "numeric/UnivConst.h"

namespace {

std::size_t Ix(int layer) { return static_cast<std::size_t>(layer); }

TShiftState ShiftOf(const QMouseEvent& e)
{
    TShiftState s = 0;
    const Qt::KeyboardModifiers m = e.modifiers();
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    const Qt::MouseButtons b = e.buttons();
    if (b & Qt::LeftButton) s |= ssLeft;
    if (b & Qt::RightButton) s |= ssRight;
    if (b & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

TMouseButton ButtonOf(const QMouseEvent& e)
{
    return e.button() == Qt::RightButton ? mbRight : (e.button() == Qt::MiddleButton ? mbMiddle : mbLeft);
}

bool Panning(TMouseActMode m) { return m == maPan || m == maPanHoriz || m == maPanVert; }

}  // namespace

// ---- Qt's mouse messages ----

void TCustomRChart::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    MouseDown(ButtonOf(*event), ShiftOf(*event), p.x(), p.y());
}

void TCustomRChart::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    MouseMove(ShiftOf(*event), p.x(), p.y());
    MouseMoveInChart(ShiftOf(*event), p.x(), p.y());
}

void TCustomRChart::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    const QPoint p = event->position().toPoint();
    MouseUp(ButtonOf(*event), ShiftOf(*event), p.x(), p.y());
}

void TCustomRChart::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TCustomRChart::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TCustomRChart::MouseMoveInChart(TShiftState Shift, int X, int Y)
{
    double x = 0, y = 0;
    M2R(FActiveLayer, X, Y, x, y);
    if (OnMouseMoveInChart)
        OnMouseMoveInChart(this, InDataArea(X, Y), Shift, x, y);
}

// ---- the handlers ----

void TCustomRChart::MouseDown(TMouseButton Button, TShiftState /*Shift*/, int X, int Y)
{
    SyncBounds();
    const bool zoomWindow = RcMouseAction == maZoomWind || RcMouseAction == maZoomWindPos;
    if (zoomWindow && Button == mbLeft && FZoomState == zsNormal && InDataArea(X, Y)) {
        FZoomState = zsDrawWin;
        WindAnchorX = WindOldCornerX = X;
        WindAnchorY = WindOldCornerY = Y;
        update();
    }
    MouseBoxDown(Button, X, Y);
}

void TCustomRChart::MouseMove(TShiftState Shift, int X, int Y)
{
    SyncBounds();
    if (Shift & ssLeft) {
        if (!LButtonWasDown) {
            TakeAnchors(X, Y);
            StartDrag(X, Y);
            LButtonWasDown = true;
        } else {
            DragStep(X, Y);
        }
    } else {
        LButtonWasDown = false;
    }
    if (FZoomState == zsDrawWin)
        ZoomWindowMove(X, Y);
    MouseBoxMove(X, Y);
    LastMouseX = X;
    LastMouseY = Y;
    UpdateCursor(X, Y);
}

void TCustomRChart::MouseUp(TMouseButton Button, TShiftState /*Shift*/, int X, int Y)
{
    if (FZoomState == zsDrawWin)
        ZoomWindowUp(Button);
    MouseBoxUp(Button, X, Y);
    if (Panning(RcMouseAction) || RcMouseAction == maZoomDrag)
        ZoomStateOnStack();
}

void TCustomRChart::UpdateCursor(int X, int Y)
{
    double x = 0, y = 0;
    M2R(FActiveLayer, X, Y, x, y);
    const bool inside = InDataArea(X, Y);
    if (inside) {
        FMousePosX = x;
        FMousePosY = y;
    }
    if (!inside || FMCurFixed) {
        unsetCursor();
        return;
    }
    switch (RcMouseAction) {
    case maNone: setCursor(Qt::CrossCursor); break;
    case maPan:
    case maPanHoriz:
    case maPanVert: setCursor(Qt::OpenHandCursor); break;
    case maZoomWind: setCursor(Qt::SizeFDiagCursor); break;
    case maZoomWindPos: setCursor(Qt::SizeBDiagCursor); break;
    case maZoomDrag: setCursor(Qt::SizeAllCursor); break;
    case maDragCrossH:
    case maDragLabel: unsetCursor(); break;
    default: break;
    }
}

// ---- drags ----

void TCustomRChart::TakeAnchors(int X, int Y)
{
    for (int L = 1; L <= MaxNumLayers; ++L) {
        const std::size_t l = Ix(L);
        FMAnchorScrX[l] = X;
        FMAnchorScrY[l] = Y;
        FMAnchorRcLoX[l] = FScalePropsX[l]->RangeLow();
        FMAnchorRcHiX[l] = FScalePropsX[l]->RangeHigh();
        FMAnchorRcLoY[l] = FScalePropsY[l]->RangeLow();
        FMAnchorRcHiY[l] = FScalePropsY[l]->RangeHigh();
    }
}

void TCustomRChart::StartDrag(int X, int Y)
{
    if (RcMouseAction == maDragCrossH)
        PickCrossHair(X, Y);
    else if (RcMouseAction == maDragLabel)
        PickTextLabel(X, Y);
}

void TCustomRChart::DragStep(int X, int Y)
{
    const bool area = DataWidth() >= 1 && DataHeight() >= 1;
    if (Panning(RcMouseAction) && area && InDataArea(X, Y))
        PanStep(X, Y);
    else if (RcMouseAction == maZoomDrag && area && InDataArea(X, Y))
        ZoomDragStep(X, Y);
    else if (RcMouseAction == maDragCrossH)
        DragCrossHair(X, Y);
    else if (RcMouseAction == maDragLabel)
        DragTextLabel(X, Y);
}

void TCustomRChart::PanStep(int X, int Y)
{
    const bool suppressed = FSuppressPaint;
    FSuppressPaint = true;
    const double w = DataWidth(), h = DataHeight();
    for (int L = 1; L <= MaxNumLayers; ++L) {
        const std::size_t l = Ix(L);
        if (!FMouseAffLayer[l])
            continue;
        const TScaleProps& ax = *FScalePropsX[l];
        const TScaleProps& ay = *FScalePropsY[l];
        double xLo = ax.RangeLow(), xHi = ax.RangeHigh(), yLo = ay.RangeLow(), yHi = ay.RangeHigh();
        if (RcMouseAction != maPanVert) {
            if (ax.Logarithmic()) {
                const double f = std::exp(std::log(xHi / xLo) * (FMAnchorScrX[l] - X) / w);
                xLo = FMAnchorRcLoX[l] * f;
                xHi = FMAnchorRcHiX[l] * f;
            } else {
                const double dx = (xHi - xLo) * (X - FMAnchorScrX[l]) / w;
                xLo = FMAnchorRcLoX[l] - dx;
                xHi = FMAnchorRcHiX[l] - dx;
            }
        }
        if (RcMouseAction != maPanHoriz) {
            if (ay.Logarithmic()) {
                const double f = std::exp(std::log(yHi / yLo) * (Y - FMAnchorScrY[l]) / h);
                yLo = FMAnchorRcLoY[l] * f;
                yHi = FMAnchorRcHiY[l] * f;
            } else {
                const double dy = (yHi - yLo) * (Y - FMAnchorScrY[l]) / h;
                yLo = FMAnchorRcLoY[l] + dy;
                yHi = FMAnchorRcHiY[l] + dy;
            }
        }
        ForceRange(L, xLo, yLo, xHi, yHi, false, true);
    }
    SetSuppressPaint(suppressed);
    if (OnZoomPan)
        OnZoomPan(this);
}

void TCustomRChart::ZoomDragStep(int X, int Y)
{
    const bool suppressed = FSuppressPaint;
    FSuppressPaint = true;
    for (int L = 1; L <= MaxNumLayers; ++L) {
        const std::size_t l = Ix(L);
        if (!FMouseAffLayer[l])
            continue;
        const double fx = 1.0 - static_cast<double>(X - FMAnchorScrX[l]) / width();
        const double fy = FIsometric ? fx : static_cast<double>(Y - FMAnchorScrY[l]) / height() + 1.0;
        const double mx = FMAnchorRcLoX[l] / 2 + FMAnchorRcHiX[l] / 2, my = FMAnchorRcLoY[l] / 2 + FMAnchorRcHiY[l] / 2;
        const double hx = (FMAnchorRcHiX[l] - FMAnchorRcLoX[l]) * fx / 2;
        const double hy = (FMAnchorRcHiY[l] - FMAnchorRcLoY[l]) * fy / 2;
        ForceRange(L, mx - hx, my - hy, mx + hx, my + hy, false, true);
    }
    SetSuppressPaint(suppressed);
    if (OnZoomPan)
        OnZoomPan(this);
}

// ---- zoom window ----

int TCustomRChart::InDataX(int X) const { return std::clamp(X, FLRim, std::max(FLRim, DataRight())); }

int TCustomRChart::InDataY(int Y) const { return std::clamp(Y, FTRim, std::max(FTRim, DataBottom())); }

void TCustomRChart::ZoomWindowMove(int X, int Y)
{
    X = InDataX(X);
    if (FIsometric) {
        const int d = std::abs(X - WindAnchorX);
        Y = Y >= WindAnchorY ? WindAnchorY + d : WindAnchorY - d;
    }
    Y = InDataY(Y);
    WindOldCornerX = X;
    WindOldCornerY = Y;
    update();  // the paint event draws the window over the picture
}

void TCustomRChart::ZoomWindowUp(TMouseButton Button)
{
    if (Button == mbRight) {
        FZoomState = zsNormal;
        update();
        return;
    }
    if (Button != mbLeft)
        return;
    FZoomState = zsNormal;
    update();
    if (WindOldCornerX == WindAnchorX || WindOldCornerY == WindAnchorY || DataWidth() < 1 || DataHeight() < 1)
        return;
    const bool suppressed = FSuppressPaint;
    FSuppressPaint = true;
    for (int L = 1; L <= MaxNumLayers; ++L) {
        if (!FMouseAffLayer[Ix(L)])
            continue;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        M2R(L, WindAnchorX, WindAnchorY, x1, y1);
        M2R(L, WindOldCornerX, WindOldCornerY, x2, y2);
        if (RcMouseAction == maZoomWindPos) {
            const TScaleProps& ax = *FScalePropsX[Ix(L)];
            const TScaleProps& ay = *FScalePropsY[Ix(L)];
            if ((ax.RangeLow() <= ax.RangeHigh()) != (x1 <= x2))
                std::swap(x1, x2);
            if ((ay.RangeLow() <= ay.RangeHigh()) != (y1 <= y2))
                std::swap(y1, y2);
        }
        ForceRange(L, x1, y1, x2, y2, true, false);
    }
    SetSuppressPaint(suppressed);
    if (OnZoomPan)
        OnZoomPan(this);
}

// ---- rubber-band box ----

void TCustomRChart::MouseBoxDown(TMouseButton Button, int X, int Y)
{
    if (MouseBoxState != msFirstCorner)
        return;
    if (Button == mbRight) {
        MouseBoxState = msNormal;
    } else if (Button == mbLeft) {
        MouseBoxX1 = MouseBoxX2 = X;
        MouseBoxY1 = MouseBoxY2 = Y;
        MouseBoxState = msRectDraw;
        update();
    }
}

void TCustomRChart::MouseBoxMove(int X, int Y)
{
    if (MouseBoxState != msRectDraw)
        return;
    MouseBoxX2 = InDataX(X);
    MouseBoxY2 = InDataY(Y);
    update();  // the paint event draws the box over the picture
}

void TCustomRChart::MouseBoxUp(TMouseButton Button, int X, int Y)
{
    if (MouseBoxState != msRectDraw)
        return;
    if (Button == mbRight) {
        MouseBoxState = msNormal;
    } else if (Button == mbLeft) {
        MouseBoxMove(X, Y);
        MouseBoxState = msFinished;
    }
    update();
}

// ---- cross-hairs and labels ----

// The nearest cross-hair that has a line: vertical lines compete across, horizontal ones down;
// ties keep the earlier one; none: cross-hair 1.
void TCustomRChart::PickCrossHair(int X, int Y)
{
    double best = static_cast<double>(uc_MaxDouble);
    CHNext = 1;
    for (int i = 1; i <= MaxCrossH; ++i) {
        const TCrossHair& ch = FCrossHair[Ix(i)];
        int cx = 0, cy = 0;
        R2MRaw(ch.Layer(), ch.PosX(), ch.PosY(), cx, cy);
        const double dx = static_cast<double>(cx) - X, dy = static_cast<double>(cy) - Y;
        if ((ch.Mode() == chVert || ch.Mode() == chBoth) && dx * dx < best) {
            best = dx * dx;
            CHNext = i;
        }
        if ((ch.Mode() == chHoriz || ch.Mode() == chBoth) && dy * dy < best) {
            best = dy * dy;
            CHNext = i;
        }
    }
}

void TCustomRChart::DragCrossHair(int X, int Y)
{
    TCrossHair& ch = FCrossHair[Ix(CHNext)];
    double x = 0, y = 0;
    M2R(ch.Layer(), X, Y, x, y);
    const bool redraw = FAutoRedraw;
    FAutoRedraw = false;  // one paint for both coordinates
    ch.SetPosX(x);
    ch.SetPosY(y);
    FAutoRedraw = redraw;
    Paint();
    if (OnCrossHairMove)
        OnCrossHairMove(this, CHNext);
}

// A label's anchor in control pixels (world coordinates converted for its attached axes).
QPoint TCustomRChart::LabelPixel(const TTextLabel& label) const
{
    int ax = 0, ay = 0;
    R2MRaw(label.Layer(), label.PosX(), label.PosY(), ax, ay);
    const TTxtLblAttachMode a = label.AttachToData();
    const int x = a == tlamXOnly || a == tlamBoth ? ax : oxw::numeric::RoundClamped<int>(label.PosX());
    const int y = a == tlamYOnly || a == tlamBoth ? ay : oxw::numeric::RoundClamped<int>(label.PosY());
    return {x, y};
}

void TCustomRChart::PickTextLabel(int X, int Y)
{
    double best = static_cast<double>(uc_MaxDouble);
    TLNext = 1;
    for (int i = 1; i <= MaxTxtLbl; ++i) {
        const TTextLabel& label = *FTextLabels[Ix(i)];
        if (!label.Visible() || label.Mode() == tlOff)
            continue;
        const QPoint p = LabelPixel(label);
        const double dx = static_cast<double>(p.x()) - X, dy = static_cast<double>(p.y()) - Y;
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            TLNext = i;
        }
    }
}

void TCustomRChart::DragTextLabel(int X, int Y)
{
    TTextLabel& label = *FTextLabels[Ix(TLNext)];
    double x = 0, y = 0;
    M2R(label.Layer(), X, Y, x, y);
    const TTxtLblAttachMode a = label.AttachToData();
    const bool redraw = FAutoRedraw;
    FAutoRedraw = false;
    label.SetPosX(a == tlamXOnly || a == tlamBoth ? x : X);
    label.SetPosY(a == tlamYOnly || a == tlamBoth ? y : Y);
    FAutoRedraw = redraw;
    Paint();
    if (OnTextLabelMove)
        OnTextLabelMove(this, TLNext);
}
