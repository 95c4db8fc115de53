#include "numeric/NearestNeighbors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "numeric/Sorting.h"
#include "numeric/UnivConst.h"

namespace {

// The nearest objects found so far, nearest first: count slots of distances and object numbers.
// A slot not yet taken holds object 0 at 1.7e38.
struct Neighbours {
    std::array<double, MaxK> dist;
    std::array<int, MaxK> obj;
    int count;
};

double Euclidean(const TMatrix& InMat, int row, const TVector& point)
{
    double sum = 0;
    const int m = point.NrOfElem();
    for (int i = 1; i <= m; ++i) {
        const double d = InMat.GetVal(i, row) - point.GetVal(i);
        sum += d * d;
    }
    return std::sqrt(sum);
}

// Fills nb with the k nearest (1 <= k <= MaxK) of the objects first..last. Only the first k
// places of the sorted list are kept: a distance that belongs behind all of them is not taken
// (SortIntoArray returns -1), and then neither is its object number.
void Search(int k, const TMatrix& InMat, int first, int last, const TVector& point,
            const TCalcDistFunc& CalcDist, Neighbours& nb)
{
    nb.count = k;
    const auto n = static_cast<std::size_t>(k);
    const std::span<double> dist(nb.dist.data(), n);
    const std::span<int> obj(nb.obj.data(), n);
    std::fill(dist.begin(), dist.end(), static_cast<double>(uc_MaxReal));
    std::fill(obj.begin(), obj.end(), 0);
    for (int ix = first; ix <= last; ++ix) {
        const double d = CalcDist ? CalcDist(ix) : Euclidean(InMat, ix, point);
        if (std::isnan(d)) continue;
        const int at = SortIntoArray(dist, d, true, true);
        if (at >= 0) InsertIntoArray(obj, ix, at);
    }
}

double Target(const TVector& TargetVec, const Neighbours& nb, int i)
{
    return TargetVec.GetVal(nb.obj[static_cast<std::size_t>(i)]);
}

double Dist(const Neighbours& nb, int i) { return nb.dist[static_cast<std::size_t>(i)]; }

double Gauss(const Neighbours& nb, const TVector& TargetVec, double SmoothFact, double dbar)
{
    // exp(-a_i^2) / sum exp(-a_j^2), taken relative to the nearest neighbour's a: the same
    // ratios, and a weight sum of at least 1 however far the neighbours lie.
    const double a0 = Dist(nb, 0) * SmoothFact / dbar;
    double sw = 0, swt = 0;
    for (int i = 0; i < nb.count; ++i) {
        const double a = Dist(nb, i) * SmoothFact / dbar;
        const double w = std::exp(-(a * a - a0 * a0));
        sw += w;
        swt += w * Target(TargetVec, nb, i);
    }
    return swt / sw;
}

double Average(const Neighbours& nb, const TVector& TargetVec)
{
    double s = 0;
    for (int i = 0; i < nb.count; ++i) s += Target(TargetVec, nb, i);
    return s / nb.count;
}

double Median(const Neighbours& nb, const TVector& TargetVec)
{
    std::array<double, MaxK> t{};
    for (int i = 0; i < nb.count; ++i) t[static_cast<std::size_t>(i)] = Target(TargetVec, nb, i);
    SortArray(std::span<double>(t.data(), static_cast<std::size_t>(nb.count)), true);
    double q1 = 0, q2 = 0, q3 = 0;
    QuartilesOfSorted(t.data(), nb.count, q1, q2, q3);
    return q2;
}

double Linear(const Neighbours& nb, const TVector& TargetVec, double SmoothFact, double dbar)
{
    if (SmoothFact == 0) return 0;
    double sw = 0, swt = 0;
    for (int i = 0; i < nb.count; ++i) {
        const double w = 1 - Dist(nb, i) / dbar / SmoothFact;
        if (!(w > 0)) continue;
        sw += w;
        swt += w * Target(TargetVec, nb, i);
    }
    return sw > 0 ? swt / sw : 0;
}

}  // namespace

void FindNearestNeighbors(int k, const TMatrix& InMat, int FirstObj, int LastObj,
                          const TVector& DatVec, TMatrix& KNNList, const TCalcDistFunc& CalcDist)
{
    k = std::min({k, MaxK, InMat.NrOfRows()});
    if (k < 1) return;
    Neighbours nb{};
    Search(k, InMat, FirstObj, LastObj, DatVec, CalcDist, nb);
    for (int i = 1; i <= k; ++i) {
        KNNList.SetVal(1, i, nb.obj[static_cast<std::size_t>(i - 1)]);
        KNNList.SetVal(2, i, Dist(nb, i - 1));
    }
}

void EstimateByKNN(const TMatrix& InMat, const TVector& TargetVec, int kn,
                   TKnnWMode WeightingMode, double SmoothFact, const TVector& EstInVar,
                   double& EstTarget, double& EstMeanDist)
{
    EstTarget = 0;
    EstMeanDist = 0;
    const int k = std::min({kn, InMat.NrOfRows(), MaxK});
    if (k < 1) return;
    Neighbours nb{};
    Search(k, InMat, 1, InMat.NrOfRows(), EstInVar, nullptr, nb);
    double sum = 0;
    for (int i = 0; i < k; ++i) sum += Dist(nb, i);
    EstMeanDist = sum / k;
    const double dbar = EstMeanDist == 0 ? 0.001 : EstMeanDist;
    switch (WeightingMode) {
        case kwmGauss: EstTarget = Gauss(nb, TargetVec, SmoothFact, dbar); break;
        case kwmAverage: EstTarget = Average(nb, TargetVec); break;
        case kwmMedian: EstTarget = Median(nb, TargetVec); break;
        case kwmLinear: EstTarget = Linear(nb, TargetVec, SmoothFact, dbar); break;
    }
}
