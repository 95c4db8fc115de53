#pragma once
// TChartItemList: the item list of a chart, an ordered list of drawing commands. Charts that
// share their items (UseDataOf) hold one and the same list object, so items, count, capacity,
// the shown-up-to index and the per-kind counters are always the same in all of them.
//
// The list grows in steps (the adding chart's AllocSize) rather than item by item; slots beyond
// NumItems keep what they held (zero in a slot never used), which is what an adder does not
// overwrite.
#include <array>
#include <cstdint>
#include <vector>

#include "controls/RChartTypes.h"

class TChartItemList {
public:
    int NumItems() const { return FNumChartItems; }
    int Capacity() const { return static_cast<int>(FData.size()); }

    // Item i (0-based, i < NumItems).
    const TrcChartItem& operator[](int i) const { return FData[static_cast<std::size_t>(i)]; }

    // The slot at index NumItems, after growing the capacity by allocSize when the list is full.
    // The caller fills it and then calls Commit with the item's kind.
    TrcChartItem& NextSlot(int allocSize);
    void Commit(TrcItem kind);

    // Empties the list and releases its storage (capacity 0, counters 0, shown-up-to index 0).
    void Clear();
    // Drops the last item; an emptied list releases its storage.
    void RemoveLast();
    // Removes every item of class ClassNumber (255 only class 255), keeping the order of the
    // others and the capacity; returns how many went.
    int RemoveByClass(std::uint8_t ClassNumber);

    // Number of items of a kind.
    int ItemCount(TrcItem kind) const { return kind < NumItemKinds ? FItemCount[kind] : 0; }
    TrcItem LastKind() const { return FNumChartItems > 0 ? (*this)[FNumChartItems - 1].ItemKind : tkNone; }

    // Index of the last item shown by ShowGraf (read by no drawing step).
    int LastElemOnShow() const { return FLastElemOnShow; }
    void SetLastElemOnShow(int ix) { FLastElemOnShow = ix; }

private:
    std::vector<TrcChartItem> FData;  // its size is the capacity
    int FNumChartItems = 0;
    int FLastElemOnShow = 0;
    std::array<int, NumItemKinds> FItemCount{};
};
