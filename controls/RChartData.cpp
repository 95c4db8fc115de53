// TRChart: the adders, removal and queries of the item list, and data sharing (UseDataOf).
#include "controls/RChart.h"

#include <cmath>

#include "numeric/UnivConst.h"
#include "platform/Dialogs.h"

namespace {

bool PassesKind(TrcItem kind, TrcItem filter)
{
    if (filter == tkEverything)
        return true;
    if (filter == tkNotMoveTo)
        return kind != tkMoveTo;
    return kind == filter;
}

}  // namespace

// ---- adders ----

TrcChartItem& TCustomRChart::NewItem(TrcItem kind)
{
    TrcChartItem& item = FData->NextSlot(FAllocSize);
    item.ItemKind = kind;
    item.Layer = FActiveLayer;
    item.ItemClass = FClassDefault;
    item.Color = FDataColor;
    item.PenStyle = FPenStyle;
    item.Tag = FDataTag;
    item.LWid = FLineWidth;
    return item;
}

void TCustomRChart::MarkAt(double x, double y, std::uint8_t mk)
{
    TrcChartItem& item = NewItem(tkMarkAt);
    item.x = x;
    item.y = y;
    item.mark = mk;
    FData->Commit(tkMarkAt);
}

void TCustomRChart::MoveTo(double x, double y)
{
    TrcChartItem& item = NewItem(tkMoveTo);
    item.x = x;
    item.y = y;
    FData->Commit(tkMoveTo);
}

void TCustomRChart::DrawTo(double x, double y)
{
    TrcChartItem& item = NewItem(tkLineto);
    item.x = x;
    item.y = y;
    FData->Commit(tkLineto);
}

void TCustomRChart::Line(double x1, double y1, double x2, double y2)
{
    TrcChartItem& item = NewItem(tkLine);
    item.x = x1;
    item.y = y1;
    item.x2 = x2;
    item.y2 = y2;
    FData->Commit(tkLine);
}

void TCustomRChart::Rectangle(double x1, double y1, double x2, double y2)
{
    TrcChartItem& item = NewItem(tkRect);
    item.x = x1;
    item.y = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.FillColor = FFillColor;
    item.Transp = FTransparentItems;
    FData->Commit(tkRect);
}

void TCustomRChart::Bar3D(double llx, double lly, double urx, double ury, int Depth, int Angle)
{
    TrcChartItem& item = NewItem(tk3DBar);
    item.x = llx;
    item.y = lly;
    item.x2 = urx;
    item.y2 = ury;
    item.FillColor = FFillColor;
    item.Depth = Depth;
    item.SizeOrAngle = Angle < 0 ? 0 : (Angle > 180 ? 180 : Angle);
    FData->Commit(tk3DBar);
}

// ---- removal and queries ----

void TCustomRChart::ClearGraf() { FData->Clear(); }

void TCustomRChart::RemoveLastItem() { FData->RemoveLast(); }

int TCustomRChart::RemoveItemsByClass(std::uint8_t ClassNumber) { return FData->RemoveByClass(ClassNumber); }

TrcChartItem TCustomRChart::GetItemParams(int Item) const
{
    if (Item < 0 || Item >= NumItems())
        return {};
    return (*FData)[Item];
}

int TCustomRChart::FindNearestItemScreen(double mx, double my, TrcItem ItemID, std::uint8_t ClassNumber, double& Dist)
{
    int result = -1;
    double best = static_cast<double>(uc_MaxDouble);
    int px = 0, py = 0;
    R2M(FActiveLayer, mx, my, px, py);
    if (ItemID != tkNone) {
        for (int i = 0; i < NumItems(); ++i) {
            const TrcChartItem& item = (*FData)[i];
            if (!PassesKind(item.ItemKind, ItemID) || (ClassNumber < 255 && item.ItemClass != ClassNumber))
                continue;
            if (!std::isfinite(item.x) || !std::isfinite(item.y))
                continue;
            int ix = 0, iy = 0;
            R2MRaw(FActiveLayer, item.x, item.y, ix, iy);
            const double dx = static_cast<double>(ix) - px, dy = static_cast<double>(iy) - py;
            const double d2 = dx * dx + dy * dy;
            if (d2 < best) {
                best = d2;
                result = i;
            }
        }
    }
    Dist = std::sqrt(best);
    return result;
}

// ---- data sharing ----

TCustomRChart* TCustomRChart::DataUser(int ix) const
{
    return ix >= 0 && ix < FDataUsersNum ? FDataUsers[static_cast<std::size_t>(ix)] : nullptr;
}

void TCustomRChart::ShowMessage(const QString& text) { (FDialogs ? *FDialogs : oxw::platform::PlatformDialogs()).ShowMessage(text); }

void TCustomRChart::RemoveUser(TCustomRChart* user)
{
    int k = 0;
    for (int i = 0; i < FDataUsersNum; ++i)
        if (FDataUsers[static_cast<std::size_t>(i)] != user)
            FDataUsers[static_cast<std::size_t>(k++)] = FDataUsers[static_cast<std::size_t>(i)];
    for (int i = k; i < FDataUsersNum; ++i)
        FDataUsers[static_cast<std::size_t>(i)] = nullptr;
    FDataUsersNum = k;
}

// Leaves the owner's group; the chart keeps a copy of the items it shows.
void TCustomRChart::DetachFromOwner()
{
    if (FUseDataOf == nullptr)
        return;
    FUseDataOf->RemoveUser(this);
    FUseDataOf = nullptr;
    FData = std::make_shared<TChartItemList>(*FData);
}

void TCustomRChart::SetUseDataOf(TCustomRChart* orc)
{
    if (orc == this) {
        ShowMessage(QStringLiteral("RChart: Cannot share data with myself"));
        return;
    }
    if (FDataUsersNum >= 1) {
        ShowMessage(QStringLiteral("RChart: Cannot use foreign data. Other RCharts are using my own data."));
        return;
    }
    if (orc == FUseDataOf)
        return;
    if (orc == nullptr) {
        DetachFromOwner();
        StyleChanged();
        return;
    }
    TCustomRChart* owner = orc->FUseDataOf != nullptr ? orc->FUseDataOf : orc;
    if (owner->FDataUsersNum >= MaxDataUsers) {
        ShowMessage(QStringLiteral("RChart: Max. number of data shares exceeded"));
        return;
    }
    if (FUseDataOf != nullptr)
        FUseDataOf->RemoveUser(this);
    FUseDataOf = owner;
    FData = owner->FData;
    owner->FDataUsers[static_cast<std::size_t>(owner->FDataUsersNum++)] = this;
    StyleChanged();
}
