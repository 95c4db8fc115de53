#include "numeric/Sorting.h"

#include <cmath>
#include <limits>

namespace {

constexpr double ShrinkFac = 1.3;

// True when the pair (a, b) is out of the wanted order.
bool OutOfOrder(double a, double b, bool Ascending) { return Ascending ? a > b : a < b; }

}  // namespace

int SortIntoArray(std::span<double> SArray, double value, bool Ascending, bool Duplicates)
{
    if (SArray.empty()) return -1;
    const std::size_t high = SArray.size() - 1;
    // The first element at or behind value's place, else the last one.
    auto reached = [&](double x) { return Ascending ? x >= value : x <= value; };
    std::size_t i = 0;
    while (!reached(SArray[i]) && i < high) ++i;
    if (!Duplicates && SArray[i] == value) return -1;
    if (OutOfOrder(value, SArray[i], Ascending)) return -1;
    for (std::size_t k = high; k > i; --k) SArray[k] = SArray[k - 1];
    SArray[i] = value;
    return static_cast<int>(i);
}

void InsertIntoArray(std::span<int> SArray, int value, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= SArray.size()) return;
    const auto at = static_cast<std::size_t>(index);
    for (std::size_t k = SArray.size() - 1; k > at; --k) SArray[k] = SArray[k - 1];
    SArray[at] = value;
}

void SortArray(std::span<double> SArray, bool Ascending)
{
    const std::size_t n = SArray.size();
    if (n <= 1) return;
    std::size_t gap = n;
    bool swapped = true;
    while (gap > 1 || swapped) {
        gap = static_cast<std::size_t>(static_cast<double>(gap) / ShrinkFac);
        if (gap == 0) gap = 1;
        swapped = false;
        for (std::size_t i = 0; i + gap < n; ++i) {
            if (OutOfOrder(SArray[i], SArray[i + gap], Ascending)) {
                ExChange(SArray[i], SArray[i + gap]);
                swapped = true;
            }
        }
    }
}

int Signum(double a) { return a >= 0 ? 1 : -1; }

int IntNeg(double InNum)
{
    if (std::isnan(InNum)) return 0;
    const double f = std::floor(InNum);
    if (f <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (f >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(f);
}
