#pragma once
// TJointLayers: which layer's x and y range each layer of a chart follows. Every layer starts
// free (it follows itself). A layer may follow a free layer that nobody follows through it;
// joins are one level deep. When a follower's master changes its range, the chart gives the
// follower the same range (see TCustomRChart::ForceRange).
#include <array>
#include <functional>

#include "controls/ChartSettings.h"

class TCustomRChart;

class TJointLayers {
public:
    explicit TJointLayers(TCustomRChart* owner) : FOwner(owner) {}
    virtual ~TJointLayers() = default;
    TJointLayers(const TJointLayers&) = delete;
    TJointLayers& operator=(const TJointLayers&) = delete;

    // The layer whose x (y) range layer `layer` follows (1..16; the layer itself when free);
    // 0 for a layer outside 1..16.
    int ControlledLayerX(int layer) const { return Valid(layer) ? FMasterLayerX[layer] : 0; }
    int ControlledLayerY(int layer) const { return Valid(layer) ? FMasterLayerY[layer] : 0; }

    // Makes `layer` follow the x range of `dest`, which it takes at once (keeping its own y
    // range), then fires OnChange. dest = layer frees it (no range change, no event). Raises
    // EVKRRChartError with "Destination layer <d> is out of range" (dest outside 1..16),
    // "Destination layer <d> is already joined" (dest follows another layer) or "Layer <l> is
    // joined by other layers (<list>)" (others follow `layer`); nothing changes then. A layer
    // outside 1..16 is ignored.
    void SetControlledLayerX(int layer, int dest);
    // The mirror for the y range.
    void SetControlledLayerY(int layer, int dest);

    // Copies both tables into `dest`, then fires this object's OnChange.
    void AssignTo(TJointLayers& dest) const;
    // Takes both tables of `source`; every layer that follows another takes its masters' x and
    // y ranges at once; then fires OnChange.
    void Assign(const TJointLayers& source);
    void Changed() const
    {
        if (OnChange)
            OnChange();
    }

    TChangeEvent OnChange;

private:
    static bool Valid(int layer) { return layer >= 1 && layer <= MaxNumLayers; }
    static std::array<int, MaxNumLayers + 1> FreeLayers();
    void Join(std::array<int, MaxNumLayers + 1>& masters, int layer, int dest, bool xAxis);
    // Gives `layer` the x range of layer xFrom and the y range of layer yFrom.
    void TakeRanges(int layer, int xFrom, int yFrom) const;

    std::array<int, MaxNumLayers + 1> FMasterLayerX = FreeLayers();
    std::array<int, MaxNumLayers + 1> FMasterLayerY = FreeLayers();
    TCustomRChart* FOwner;
};
