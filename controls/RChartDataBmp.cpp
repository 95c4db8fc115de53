// The chart's data area: the drawing sequence and the items; see RChartDataBmp.h.
#include "controls/RChartDataBmp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "controls/DrawBase.h"
#include "numeric/Rounding.h"

using oxw::numeric::RoundClamped;
using oxw::platform::FarClamp;

namespace {

bool HasSecondPoint(TrcItem kind)
{
    return kind == tkLine || kind == tkRect || kind == tkRectFrame || kind == tk3DBar || kind == tkEllipse ||
           kind == tkArrow;
}

// An item whose coordinates can be drawn: a value that is not finite has no pixel.
bool Drawable(const TrcChartItem& item)
{
    return std::isfinite(item.x) && std::isfinite(item.y) &&
           (!HasSecondPoint(item.ItemKind) || (std::isfinite(item.x2) && std::isfinite(item.y2)));
}

QPoint Clamped(long long x, long long y) { return {FarClamp(x), FarClamp(y)}; }

}  // namespace

void TCustomRChart::ConstructDataBmp(Canvas& cv, int PosX, int PosY, bool BlkWhite, int FirstItem)
{
    TDataBmpPainter(*this, cv, PosX, PosY, BlkWhite).Run(FirstItem);
}

TDataBmpPainter::TDataBmpPainter(TCustomRChart& chart, Canvas& canvas, int posX, int posY, bool blkWhite)
    : C(chart), cv(&canvas), PosX(posX), PosY(posY), BlkWhite(blkWhite)
{
    FPoly.reserve(MaxPPa);
}

void TDataBmpPainter::Run(int FirstItem)
{
    const TColor brush = cv->Brush.Color, pen = cv->Pen.Color;
    if (C.OnBeforeRenderData) {
        Canvas* target = cv;
        C.OnBeforeRenderData(&C, target, C.FTRim - PosY, C.FLRim - PosX);
        if (target != nullptr)
            cv = target;
    }
    cv->Brush.Color = brush;
    cv->Pen.Color = pen;
    if (C.FGridStyle != gsNone && FirstItem == 0)
        ConstructGrid();

    cv->Pen.Width = LastLWidth = C.FLineWidth;
    LastMoveTo = {PosX, PosY};
    cv->MoveTo(PosX, PosY);
    cv->Pen.Color = LastPenCol = C.FChartColor;
    cv->Pen.Style = LastPenStyle = psSolid;
    cv->Brush.Color = LastBrushCol = C.FChartColor;
    cv->Brush.Style = bsSolid;
    LastFontCol = C.FChartColor;

    const TChartItemList& items = *C.FData;
    for (int i = 0; i < items.NumItems(); ++i) {
        const TrcChartItem& item = items[i];
        if (!C.ClassVisible(item.ItemClass) || !C.LayerVisible(item.Layer) || !Drawable(item))
            continue;
        if (item.LWid != LastLWidth) {
            FinishPolyLine();
            cv->Pen.Width = LastLWidth = item.LWid;
        }
        DrawItem(item);
    }
    FinishPolyLine();

    cv->Pen.Width = 1;
    DrawTextLabels();
    if (C.OnDataRendered) {
        Canvas* target = cv;
        C.OnDataRendered(&C, target, C.FTRim - PosY, C.FLRim - PosX);
        if (target != nullptr)
            cv = target;
    }
    DrawFrame();
}

// ---- positions and attributes ----

QPoint TDataBmpPainter::Pix(int layer, double x, double y) const
{
    int px = 0, py = 0;
    C.R2MRaw(layer, x, y, px, py);
    LimitToINteger(px, py);
    return {px - C.FLRim + PosX, py - C.FTRim + PosY};
}

void TDataBmpPainter::SetPenColor(TColor c)
{
    if (c != LastPenCol)
        cv->Pen.Color = LastPenCol = c;
}

// Setting a brush colour makes a clear brush solid.
void TDataBmpPainter::SetBrushColor(TColor c)
{
    if (c == LastBrushCol)
        return;
    cv->Brush.Color = LastBrushCol = c;
    cv->Brush.Style = bsSolid;
}

void TDataBmpPainter::SetPenStyle(TPenStyle s)
{
    if (s != LastPenStyle)
        cv->Pen.Style = LastPenStyle = s;
}

void TDataBmpPainter::PenUpdate(TColor col, TPenStyle style)
{
    SetPenColor(col);
    SetPenStyle(style);
}

void TDataBmpPainter::FillColors(TColor col, TColor fill, TColor& c1, TColor& c2) const
{
    c1 = BlkWhite ? clBlack : col;
    c2 = BlkWhite ? RGB(192, 192, 192) : fill;
}

void TDataBmpPainter::SetAreaPen(const TrcChartItem& item, TColor c1, TColor c2)
{
    SetPenColor(c1);
    SetBrushColor(c2);
    SetPenStyle(item.PenStyle);
}

// Two corners on one pixel: that pixel in c1 (false: nothing more to draw). Otherwise the
// larger x and the larger y grow by one (the first point's on a tie), so that a box covers both.
bool TDataBmpPainter::CornerRule(QPoint& p, QPoint& q, TColor c1)
{
    if (p == q) {
        cv->SetPixel(p.x(), p.y(), c1);
        return false;
    }
    (p.x() >= q.x() ? p.rx() : q.rx()) += 1;
    (p.y() >= q.y() ? p.ry() : q.ry()) += 1;
    return true;
}

// ---- polylines ----

void TDataBmpPainter::EnterPolyline(QPoint p)
{
    if (FPoly.empty())
        FPoly.push_back(LastMoveTo);
    FPoly.push_back(p);
    if (static_cast<int>(FPoly.size()) >= MaxPPa) {
        FinishPolyLine();
        FPoly.push_back(p);
    }
}

void TDataBmpPainter::FinishPolyLine()
{
    if (FPoly.empty())
        return;
    cv->Polyline(FPoly);
    LastMoveTo = FPoly.back();
    cv->MoveTo(LastMoveTo.x(), LastMoveTo.y());
    FPoly.clear();
}

// ---- items ----

void TDataBmpPainter::DrawItem(const TrcChartItem& item)
{
    const TColor col = BlkWhite ? clBlack : item.Color;
    switch (item.ItemKind) {
    case tkMarkAt: {
        FinishPolyLine();
        PenUpdate(col, item.PenStyle);
        const QPoint p = Pix(item.Layer, item.x, item.y);
        DrawMarkOnCanvas(*cv, item.mark, p.x(), p.y());
        break;
    }
    case tkLine: {
        FinishPolyLine();
        PenUpdate(col, item.PenStyle);
        const QPoint p = Pix(item.Layer, item.x, item.y), q = Pix(item.Layer, item.x2, item.y2);
        if (p == q) {
            cv->SetPixel(p.x(), p.y(), col);
        } else {
            cv->MoveTo(p.x(), p.y());
            cv->LineTo(q.x(), q.y());
        }
        break;
    }
    case tkLineto:
        if (col != LastPenCol || item.PenStyle != LastPenStyle) {
            FinishPolyLine();
            PenUpdate(col, item.PenStyle);
        }
        EnterPolyline(Pix(item.Layer, item.x, item.y));
        break;
    case tkMoveTo:
        FinishPolyLine();
        LastMoveTo = Pix(item.Layer, item.x, item.y);
        cv->MoveTo(LastMoveTo.x(), LastMoveTo.y());
        break;
    case tkRect:
    case tkEllipse: DrawRectItem(item, col); break;
    case tk3DBar: DrawBar3D(item, col); break;
    case tkText: DrawTextItem(item, col); break;
    case tkRectFrame: DrawRectFrame(item); break;
    case tkMoveRelPix: DrawRelPix(item, col, false); break;
    case tkLineRelPix: DrawRelPix(item, col, true); break;
    case tkArrow: DrawArrow(item, col); break;
    default: break;  // tkNone and the search filters draw nothing
    }
}

// A rectangle, or an ellipse with centre (x, y) and radii (x2, y2), filled unless Transp.
void TDataBmpPainter::DrawRectItem(const TrcChartItem& item, TColor col)
{
    FinishPolyLine();
    TColor c1 = 0, c2 = 0;
    FillColors(col, item.FillColor, c1, c2);
    SetAreaPen(item, c1, c2);
    cv->Brush.Style = item.Transp ? bsClear : bsSolid;
    const bool ellipse = item.ItemKind == tkEllipse;
    QPoint p = ellipse ? Pix(item.Layer, item.x - item.x2, item.y + item.y2) : Pix(item.Layer, item.x, item.y);
    QPoint q = ellipse ? Pix(item.Layer, item.x + item.x2, item.y - item.y2) : Pix(item.Layer, item.x2, item.y2);
    if (!CornerRule(p, q, c1))
        return;
    if (ellipse)
        cv->Ellipse(p.x(), p.y(), q.x(), q.y());
    else
        cv->Rectangle(p.x(), p.y(), q.x(), q.y());
}

// A bar seen from the viewing angle SizeOrAngle: top and side faces Depth pixels deep, then the
// front. The brush style is left as it is.
void TDataBmpPainter::DrawBar3D(const TrcChartItem& item, TColor col)
{
    FinishPolyLine();
    TColor c1 = 0, c2 = 0;
    FillColors(col, item.FillColor, c1, c2);
    SetAreaPen(item, c1, c2);
    const QPoint p = Pix(item.Layer, item.x, item.y), q = Pix(item.Layer, item.x2, item.y2);
    long long x1 = std::min(p.x(), q.x()), x2 = std::max(p.x(), q.x());
    long long y1 = std::min(p.y(), q.y()), y2 = std::max(p.y(), q.y());
    const double a = item.SizeOrAngle * std::numbers::pi / 180.0;
    const long long dx = RoundClamped<long long>(std::cos(a) * item.Depth);
    const long long dy = -RoundClamped<long long>(std::sin(a) * item.Depth);
    if (item.SizeOrAngle > 90)
        std::swap(x1, x2);
    cv->Polygon({Clamped(x1, y1), Clamped(x1 + dx, y1 + dy), Clamped(x2 + dx, y1 + dy), Clamped(x2, y1)});
    cv->Polygon({Clamped(x2 + dx, y1 + dy), Clamped(x2, y1), Clamped(x2, y2), Clamped(x2 + dx, y2 + dy)});
    (x1 >= x2 ? x1 : x2) += 1;
    (y1 >= y2 ? y1 : y2) += 1;
    cv->Rectangle(FarClamp(x1), FarClamp(y1), FarClamp(x2), FarClamp(y2));
}

void TDataBmpPainter::DrawTextItem(const TrcChartItem& item, TColor col)
{
    FinishPolyLine();
    if (col != LastFontCol)
        cv->Font.Color = LastFontCol = col;
    QFont& font = cv->Font.Font;
    const TFontStyles style = C.FTextFontStyle;
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
    font.setPointSize(std::clamp(item.SizeOrAngle, 1, 1000));
    SetBrushColor(C.FTextBkColor);
    cv->Brush.Style = C.FTextBkStyle == tbClear ? bsClear : bsSolid;
    const QString text = QString::fromLatin1(item.Text.data(), static_cast<qsizetype>(strnlen(item.Text.data(), item.Text.size())));
    const long long tw = cv->TextWidth(text), th = cv->TextHeight(text);
    const QPoint p = Pix(item.Layer, item.x, item.y);
    long long left = p.x();
    if (C.FTextAlignment == taRightJustify)
        left -= tw;
    else if (C.FTextAlignment == taCenter)
        left -= tw / 2;
    cv->TextOut(FarClamp(left), FarClamp(p.y() - th / 2), text);
}

// A rectangle in the fill colour with a bevel by FrameStyle in ShadowColor and HiLightColor.
void TDataBmpPainter::DrawRectFrame(const TrcChartItem& item)
{
    FinishPolyLine();
    const TColor c2 = BlkWhite ? RGB(192, 192, 192) : item.FillColor;
    SetPenColor(c2);
    SetBrushColor(c2);
    SetPenStyle(item.PenStyle);
    const QPoint p = Pix(item.Layer, item.x, item.y), q = Pix(item.Layer, item.x2, item.y2);
    const int x1 = std::min(p.x(), q.x()), x2 = std::max(p.x(), q.x());
    const int y1 = std::min(p.y(), q.y()), y2 = std::max(p.y(), q.y());
    if (p == q) {
        cv->SetPixel(p.x(), p.y(), c2);
        return;
    }
    cv->Rectangle(x1, y1, x2, y2);
    TColor first = item.ShadowColor, second = item.HiLightColor;
    if (item.FrameStyle == fsRaised || item.FrameStyle == fsEngraved)
        std::swap(first, second);
    auto path = [&](TColor c, std::initializer_list<QPoint> pts) {
        cv->Pen.Color = LastPenCol = c;
        cv->MoveTo(pts.begin()->x(), pts.begin()->y());
        for (auto it = pts.begin() + 1; it != pts.end(); ++it)
            cv->LineTo(it->x(), it->y());
    };
    switch (item.FrameStyle) {
    case fsLowered:
    case fsRaised:
        path(first, {{x1, y1}, {x1, y2}, {x2, y2}});
        path(second, {{x2, y2}, {x2, y1}, {x1, y1}});
        break;
    case fsEmbossed:
    case fsEngraved:
        path(first, {{x1 + 1, y1}, {x1 + 1, y2 + 1}, {x2, y2 + 1}, {x2, y1}, {x1 + 1, y1}});
        path(second, {{x1, y1 - 1}, {x1, y2}, {x2 - 1, y2}, {x2 - 1, y1 - 1}, {x1, y1 - 1}});
        break;
    default: break;
    }
}

// A pen move (or a line with its end pixel) by (Round(x), Round(y)) pixels from the pen.
void TDataBmpPainter::DrawRelPix(const TrcChartItem& item, TColor col, bool line)
{
    QPoint from = cv->PenPos();
    FinishPolyLine();
    if (line)
        from = cv->PenPos();
    const QPoint to = Clamped(0LL + from.x() + RoundClamped<int>(item.x), 0LL + from.y() + RoundClamped<int>(item.y));
    if (!line) {
        LastMoveTo = to;
        cv->MoveTo(to.x(), to.y());
        return;
    }
    cv->Pen.Color = LastPenCol = col;
    cv->Pen.Style = LastPenStyle = item.PenStyle;
    cv->LineTo(to.x(), to.y());
    cv->SetPixel(to.x(), to.y(), col);
}

// A shaft from (x, y) to (x2, y2) with a head of SizeOrAngle pixels at 20 degrees either side.
void TDataBmpPainter::DrawArrow(const TrcChartItem& item, TColor col)
{
    FinishPolyLine();
    TColor c1 = 0, c2 = 0;
    FillColors(col, item.FillColor, c1, c2);
    SetAreaPen(item, c1, c2);
    cv->Brush.Style = item.Transp ? bsClear : bsSolid;
    QPoint p = Pix(item.Layer, item.x, item.y), q = Pix(item.Layer, item.x2, item.y2);
    if (!CornerRule(p, q, c1))
        return;
    cv->MoveTo(p.x(), p.y());
    cv->LineTo(q.x(), q.y());
    if (item.SizeOrAngle <= 0)
        return;
    const double theta = std::atan2(q.y() - p.y(), q.x() - p.x());
    const double s = item.SizeOrAngle, side = 20.0 * std::numbers::pi / 180.0;
    auto head = [&](double angle) {
        return Clamped(q.x() - RoundClamped<long long>(s * std::cos(angle)), q.y() - RoundClamped<long long>(s * std::sin(angle)));
    };
    const QPoint h1 = head(theta + side), h2 = head(theta - side);
    if (item.Transp) {
        for (const QPoint h : {h1, h2}) {
            cv->MoveTo(q.x(), q.y());
            cv->LineTo(h.x(), h.y());
        }
    } else {
        cv->Polygon({q, h1, h2});
    }
}
