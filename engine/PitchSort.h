#pragma once
// The sort of the pitch model's parallel arrays (the audible components by their spectral-pitch
// weight, the compound pitch pattern by its weight): a recursive quicksort into descending order
// of the key, each part partitioned around the value of its middle entry. Entries with equal keys
// end up in whatever order the partitions leave them.
#include <vector>

namespace oxw::engine {

// Sorts key[first..last] largest first; the caller keeps first..last within the arrays. The
// hooks see every call and every exchange:
//   hooks.Enter(first, last)  at the start of every (recursive) call,
//   hooks.Swap(a, b)          exchanges entries a and b of the key and of every array carried,
//   hooks.Leave()             at the end of every call.
// The scans stop at entries that are not strictly beyond the pivot, so they never leave the part,
// NaNs or not, and every part a call hands on is shorter than its own.
template <class Hooks>
void QuickSortByWeight(const std::vector<double>& key, int first, int last, Hooks& hooks) {
    hooks.Enter(first, last);
    int left = first, right = last;
    const double pivot = key[static_cast<std::size_t>(first + (last - first) / 2)];
    do {
        while (key[static_cast<std::size_t>(left)] > pivot) ++left;
        while (pivot > key[static_cast<std::size_t>(right)]) --right;
        if (left <= right) {
            hooks.Swap(left, right);
            ++left;
            --right;
        }
    } while (left < right);
    if (right > first) QuickSortByWeight(key, first, right, hooks);
    if (left < last) QuickSortByWeight(key, left, last, hooks);
    hooks.Leave();
}

}  // namespace oxw::engine
