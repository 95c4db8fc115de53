#pragma once
// The small numeric library's dynamic vector types and their helpers. TVector here is a
// plain array of double used from index 1 (element 0 is left aside by convention); it is
// not the component library's TVector class.

#include <complex>
#include <string>
#include <vector>

namespace matrices {

using TVector = std::vector<double>;
using TIntVector = std::vector<int>;
using TCompVector = std::vector<std::complex<double>>;
using TBoolVector = std::vector<bool>;
using TStrVector = std::vector<std::string>;

// Ubound >= 0: V holds Ubound + 1 zeros (indices 0..Ubound); Ubound < 0: V is emptied.
void DimVector(TVector& V, int Ubound);

// Smallest and largest of X[Lbound..Ubound]; Ubound <= Lbound gives X[Lbound]. Bounds are
// clipped to the vector, so a bad bound never reads outside it; a stretch that lies wholly
// outside gives 0.0.
double Min(const TVector& X, int Lbound, int Ubound);
double Max(const TVector& X, int Lbound, int Ubound);

} // namespace matrices
