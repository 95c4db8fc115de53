#include "numeric/Matrices.h"

#include <algorithm>

namespace matrices {

namespace {

// Scans X[Lbound..Ubound] (clipped to the vector), taking X[i] when Better(X[i], current).
template <typename Better>
double Extreme(const TVector& X, int Lbound, int Ubound, Better better)
{
    const long long size = static_cast<long long>(X.size());
    const long long lo = std::max(0LL, static_cast<long long>(Lbound));
    const long long hi = std::min(size - 1, static_cast<long long>(Ubound));
    if (lo >= size)
        return 0.0;
    double v = X[static_cast<size_t>(lo)];
    for (long long i = lo + 1; i <= hi; ++i)
        if (better(X[static_cast<size_t>(i)], v))
            v = X[static_cast<size_t>(i)];
    return v;
}

} // namespace

void DimVector(TVector& V, int Ubound)
{
    if (Ubound < 0) {
        TVector().swap(V);
        return;
    }
    V.assign(static_cast<size_t>(Ubound) + 1, 0.0);
}

double Min(const TVector& X, int Lbound, int Ubound)
{
    return Extreme(X, Lbound, Ubound, [](double a, double b) { return a < b; });
}

double Max(const TVector& X, int Lbound, int Ubound)
{
    return Extreme(X, Lbound, Ubound, [](double a, double b) { return a > b; });
}

} // namespace matrices
