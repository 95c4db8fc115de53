#include "numeric/VkrVector.h"

#include <algorithm>
#include <new>

#include "numeric/Sorting.h"

namespace {
constexpr double ShrinkFac = 1.3;
}

TVector::TVector(TComponent* AOwner) : TComponent(AOwner)
{
    try {
        FVec.assign(1, 0.0);
    } catch (const std::bad_alloc&) {
        throw EVKRVectorError(ComponentMessage(*this, "not enough memory on heap"));
    }
}

void TVector::SetVecSize(int n)
{
    if (n < 1 || n == NrOfElem()) return;
    Resize(n);
}

bool TVector::Resize(int NE)
{
    if (NE == NrOfElem()) return true;
    if (NE <= 0) return false;
    try {
        FVec.resize(static_cast<std::size_t>(NE), 0.0);
    } catch (const std::bad_alloc&) {
        throw EVKRVectorError(ComponentMessage(*this, "not enough memory"));
    }
    Changed();
    return true;
}

void TVector::SetVal(int i, double v)
{
    if (!Inside(i)) return;
    FVec[static_cast<std::size_t>(i - 1)] = v;
    Changed();
}

void TVector::Fill(double value)
{
    std::fill(FVec.begin(), FVec.end(), value);
    Changed();
}

void TVector::Clear() { Fill(0.0); }

void TVector::SortElems(bool Ascending, int LoIx, int HiIx)
{
    if (LoIx > HiIx) std::swap(LoIx, HiIx);
    LoIx = std::clamp(LoIx, 1, NrOfElem());
    HiIx = std::clamp(HiIx, 1, NrOfElem());
    int gap = HiIx - LoIx;
    if (gap < 1) return;
    bool swapped = true;
    while (gap > 1 || swapped) {
        gap = static_cast<int>(gap / ShrinkFac);
        if (gap == 0) gap = 1;
        swapped = false;
        for (int ix = LoIx; ix + gap <= HiIx; ++ix) {
            double& a = FVec[static_cast<std::size_t>(ix - 1)];
            double& b = FVec[static_cast<std::size_t>(ix + gap - 1)];
            if (Ascending ? a > b : a < b) {
                std::swap(a, b);
                swapped = true;
                SortExchange(kExchgElems, ix, ix + gap, 0, 0);
            }
        }
    }
    Changed();
}

void QuartilesOfSorted(const double* a, int n, double& Q1, double& Q2, double& Q3)
{
    if (n < 2) {
        Q1 = Q2 = Q3 = a[0];
        return;
    }
    const int m = n - 1;
    double* q[] = {&Q1, &Q2, &Q3};
    for (int k = 1; k <= 3; ++k) {
        const int j = k * m / 4;
        const int r = k * m % 4;
        *q[k - 1] = r == 0 ? a[j] : a[j] + r * (a[j + 1] - a[j]) / 4;
    }
}

bool TVector::Quartiles(int LoIx, int HiIx, double& Q1, double& Q2, double& Q3) const
{
    Q1 = Q2 = Q3 = 0;
    LoIx = std::clamp(LoIx, 1, NrOfElem());
    HiIx = std::clamp(HiIx, 1, NrOfElem());
    if (LoIx > HiIx) std::swap(LoIx, HiIx);
    std::vector<double> work;
    try {
        work.assign(FVec.begin() + (LoIx - 1), FVec.begin() + HiIx);
    } catch (const std::bad_alloc&) {
        throw EVKRVectorError(ComponentMessage(*this, "not enough memory on heap"));
    }
    SortArray(work, true);
    QuartilesOfSorted(work.data(), static_cast<int>(work.size()), Q1, Q2, Q3);
    return true;
}

void TVector::Changed() const
{
    if (FOnChange) FOnChange();
}

void TVector::SortExchange(std::uint8_t ExchgWhat, int index1, int index2, int first,
                           int last) const
{
    if (FOnSortExchange) FOnSortExchange(ExchgWhat, index1, index2, first, last);
}
