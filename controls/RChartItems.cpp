// The chart's item list; see RChartItems.h.
#include "controls/RChartItems.h"

TrcChartItem& TChartItemList::NextSlot(int allocSize)
{
    if (FNumChartItems >= Capacity())
        FData.resize(FData.size() + static_cast<std::size_t>(allocSize));
    return FData[static_cast<std::size_t>(FNumChartItems)];
}

void TChartItemList::Commit(TrcItem kind)
{
    if (kind < NumItemKinds)
        ++FItemCount[kind];
    ++FNumChartItems;
}

void TChartItemList::Clear()
{
    FData = {};
    FNumChartItems = 0;
    FLastElemOnShow = 0;
    FItemCount = {};
}

void TChartItemList::RemoveLast()
{
    if (FNumChartItems == 0)
        return;
    const TrcItem kind = LastKind();
    if (kind < NumItemKinds)
        --FItemCount[kind];
    --FNumChartItems;
    if (FNumChartItems == 0) {
        FData = {};
        FItemCount = {};
    }
}

int TChartItemList::RemoveByClass(std::uint8_t ClassNumber)
{
    int kept = 0;
    for (int i = 0; i < FNumChartItems; ++i) {
        const TrcChartItem& item = FData[static_cast<std::size_t>(i)];
        if (item.ItemClass == ClassNumber) {
            if (item.ItemKind < NumItemKinds)
                --FItemCount[item.ItemKind];
            continue;
        }
        if (kept != i)
            FData[static_cast<std::size_t>(kept)] = item;
        ++kept;
    }
    const int removed = FNumChartItems - kept;
    FNumChartItems = kept;
    return removed;
}
