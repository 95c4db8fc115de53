// Joined layer ranges of a chart; see JointLayers.h.
#include "controls/JointLayers.h"

#include <string>

#include "controls/RChart.h"

std::array<int, MaxNumLayers + 1> TJointLayers::FreeLayers()
{
    std::array<int, MaxNumLayers + 1> t{};
    for (int i = 0; i <= MaxNumLayers; ++i)
        t[static_cast<std::size_t>(i)] = i;
    return t;
}

void TJointLayers::Join(std::array<int, MaxNumLayers + 1>& masters, int layer, int dest, bool xAxis)
{
    if (!Valid(layer))
        return;
    if (!Valid(dest))
        throw EVKRRChartError("Destination layer " + std::to_string(dest) + " is out of range");
    if (dest == layer) {
        masters[layer] = layer;
        return;
    }
    if (masters[dest] != dest)
        throw EVKRRChartError("Destination layer " + std::to_string(dest) + " is already joined");
    std::string followers;
    for (int i = 1; i <= MaxNumLayers; ++i)
        if (i != layer && masters[i] == layer)
            followers += (followers.empty() ? "" : ", ") + std::to_string(i);
    if (!followers.empty())
        throw EVKRRChartError("Layer " + std::to_string(layer) + " is joined by other layers (" + followers + ")");
    masters[layer] = dest;
    TakeRanges(layer, xAxis ? dest : layer, xAxis ? layer : dest);
    Changed();
}

void TJointLayers::TakeRanges(int layer, int xFrom, int yFrom) const
{
    if (FOwner == nullptr)
        return;
    const TScaleProps& x = *FOwner->GetScalePropsX(xFrom);
    const TScaleProps& y = *FOwner->GetScalePropsY(yFrom);
    FOwner->ForceRngIntern(layer, x.RangeLow(), y.RangeLow(), x.RangeHigh(), y.RangeHigh(), false, false);
}

void TJointLayers::SetControlledLayerX(int layer, int dest) { Join(FMasterLayerX, layer, dest, true); }
void TJointLayers::SetControlledLayerY(int layer, int dest) { Join(FMasterLayerY, layer, dest, false); }

void TJointLayers::AssignTo(TJointLayers& dest) const
{
    dest.FMasterLayerX = FMasterLayerX;
    dest.FMasterLayerY = FMasterLayerY;
    Changed();
}

void TJointLayers::Assign(const TJointLayers& source)
{
    FMasterLayerX = source.FMasterLayerX;
    FMasterLayerY = source.FMasterLayerY;
    for (int L = 1; L <= MaxNumLayers; ++L)
        if (FMasterLayerX[L] != L || FMasterLayerY[L] != L)
            TakeRanges(L, FMasterLayerX[L], FMasterLayerY[L]);
    Changed();
}
