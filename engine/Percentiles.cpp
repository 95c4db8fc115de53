// Percentile statistics at the end of the first pass: the per-block level, loudness and level
// difference samples are sorted largest first (the sort progress bar shown meanwhile) and their
// exceedance percentiles read off.
#include "engine/Percentiles.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "engine/Engine.h"

namespace oxw::engine {

namespace {

constexpr int kSmallPart = 16;  // parts this short are sorted by insertion

// The value at rank j + f (0 <= f < 1) of values sorted largest first.
double AtRank(std::span<const double> a, int j, double f) {
    const double v = a[static_cast<std::size_t>(j)];
    return f > 0 ? v - (v - a[static_cast<std::size_t>(j) + 1]) * f : v;
}

void InsertionSort(double* a, int first, int last) {
    for (int i = first + 1; i <= last; ++i) {
        const double v = a[i];
        int j = i - 1;
        for (; j >= first && v > a[j]; --j) a[j + 1] = a[j];
        a[j + 1] = v;
    }
}

// Heap sort stays within its range whatever the comparisons answer (NaN included).
void HeapSort(double* a, int first, int last) {
    const auto greater = [](double x, double y) { return x > y; };
    std::make_heap(a + first, a + last + 1, greater);
    std::sort_heap(a + first, a + last + 1, greater);
}

// Quicksort with the middle value as pivot; the left part goes first, so that every entry before
// a part is final when the part starts. The scans stop at entries that are not strictly beyond
// the pivot, so they never leave the part, NaNs or not. Parts nested deeper than `depth` are
// heap-sorted, which bounds both the time and the recursion.
void QuickSort(double* a, int first, int last, int depth, const std::function<void(int)>& reached) {
    reached(first);
    if (last - first < kSmallPart) {
        InsertionSort(a, first, last);
        return;
    }
    if (depth == 0) {
        HeapSort(a, first, last);
        return;
    }
    const double pivot = a[first + (last - first) / 2];
    int left = first, right = last;
    while (left <= right) {
        while (a[left] > pivot) ++left;
        while (pivot > a[right]) --right;
        if (left <= right) std::swap(a[left++], a[right--]);
    }
    if (first < right) QuickSort(a, first, right, depth - 1, reached);
    if (left < last) QuickSort(a, left, last, depth - 1, reached);
}

}  // namespace

Exceedance ExceedanceValues(std::span<const double> a, int E, double maximum) {
    Exceedance x;
    x.p1 = E >= 100 ? AtRank(a, E / 100, (E % 100) / 100.0) : maximum;
    x.p5 = AtRank(a, E / 20, (E % 20) / 20.0);
    x.p10 = AtRank(a, E / 10, (E % 10) / 10.0);
    x.p20 = AtRank(a, E / 5, (E % 5) / 5.0);
    const auto half = static_cast<std::size_t>(E / 2);
    x.p50 = E % 2 == 0 ? (a[half] + a[half + 1]) / 2 : a[half + 1];
    x.p80 = AtRank(a, 4 * E / 5, (4 * E % 5) / 5.0);
    x.p90 = AtRank(a, 9 * E / 10, (9 * E % 10) / 10.0);
    return x;
}

void SortDescending(std::span<double> a, int first, int last,
                    const std::function<void(int)>& reached) {
    if (first < 0 || last >= static_cast<int>(a.size())) return;
    if (first < last) {
        const auto n = static_cast<unsigned>(last - first + 1);
        QuickSort(a.data(), first, last, 2 * std::bit_width(n), reached);
    }
    reached(last + 1);
}

void Engine::SortRealArray(int start, int Finish, std::vector<double>& RealArray) {
    // The bar spans the range (and ten more, as it always has); its position is the first entry
    // not yet final. It moves at most a hundred times per sort: the window repaints on its own
    // schedule, and a call per partition of a long file would cost more than the sort.
    const int maximum = Finish + 10;
    const int step = std::max(1, (Finish - start + 1) / 100);
    int shown = start;
    host_.SortingDataProgress(start, maximum, start, true);
    SortDescending(RealArray, start, Finish, [&](int reached) {
        if (reached - shown < step) return;
        shown = reached;
        host_.SortingDataProgress(start, maximum, reached, true);
    });
}

void Engine::CalculatePercentiles() {
    RunState& s = S();
    Log("S", "CalculatePercentiles");
    const int E = s.Elements;
    const auto holds = [E](const std::vector<double>& a) {
        return static_cast<std::size_t>(E) < a.size();
    };
    // Short runs (20 blocks or fewer) record no samples: every result keeps its value.
    if (E > MINDECILE && E < s.PERCENTILEARRAYMAX && holds(s.Narray) && holds(s.Larray) &&
        holds(s.DLarray)) {
        for (auto [name, array] : {std::pair{"Narray", &s.Narray}, std::pair{"Larray", &s.Larray},
                                   std::pair{"DLarray", &s.DLarray}}) {
            Log("S", std::string("SortRealArray for ") + name);
            SortRealArray(1, E, *array);
            if (array == &s.DLarray) host_.SortingDataProgress(1, E + 10, E + 1, false);
            Log("E", std::string("SortRealArray for ") + name);
        }
        const Exceedance n = ExceedanceValues(s.Narray, E, s.Nmax);
        s.No1 = n.p1, s.N5 = n.p5, s.N10 = n.p10, s.N20 = n.p20;
        s.N50 = n.p50, s.N80 = n.p80, s.N90 = n.p90;
        const Exceedance l = ExceedanceValues(s.Larray, E, s.LAmax);
        s.LA1 = l.p1, s.LA5 = l.p5, s.LA10 = l.p10, s.LA20 = l.p20;
        s.LA50 = l.p50, s.LA80 = l.p80, s.LA90 = l.p90;
        const Exceedance d = ExceedanceValues(s.DLarray, E, s.DLmax);
        s.DL10 = d.p10, s.DL20 = d.p20, s.DL50 = d.p50, s.DL80 = d.p80, s.DL90 = d.p90;
    }
    Log("E", "CalculatePercentiles");
}

}  // namespace oxw::engine
