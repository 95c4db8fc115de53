#include "controls/ScaleProps.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kLogFloor = 1e-100;  // smallest value a logarithmic axis accepts
}

void TScaleProps::SetRangeLow(double value)
{
    if (std::abs(FRangeHigh - value) < FMinRngDiff) {
        FRangeLow = value;
        FRangeHigh = value + FMinRngDiff;
    } else if (!(FLogAx && value < kLogFloor)) {
        FRangeLow = value;
    }
    Changed();
}

void TScaleProps::SetRangeHigh(double value)
{
    if (std::abs(value - FRangeLow) < FMinRngDiff) {
        FRangeHigh = value;
        FRangeLow = value - FMinRngDiff;
    } else if (!(FLogAx && value < kLogFloor)) {
        FRangeHigh = value;
    }
    Changed();
}

void TScaleProps::SetMinRange(double value)
{
    if (value <= kLogFloor) return;
    FMinRngDiff = value;
    if (std::abs(FRangeHigh - FRangeLow) < value) {
        const double mid = (FRangeLow + FRangeHigh) / 2.0;
        FRangeLow = mid - value / 2.0;
        FRangeHigh = mid + value / 2.0;
        Changed();
    }
}

void TScaleProps::SetLogarithmic(bool on)
{
    FLogAx = on && FRangeLow >= kLogFloor && FRangeHigh >= kLogFloor;
    Changed();
}

void TScaleProps::SetCaption(const QString& caption)
{
    FCaption = caption;
    Changed();
}

void TScaleProps::SetVisible(bool visible)
{
    FVisible = visible;
    Changed();
}

void TScaleProps::SetMinTicks(int ticks)
{
    FMinTicks = std::max(ticks, 1);
    Changed();
}
