#pragma once
// k-nearest-neighbour search and estimation over the rows of a matrix: the contour view
// interpolates a surface from scattered cells this way.
//
// InMat holds one object per row and one variable per column; the distance of row r from a point
// p (a vector of m variables) is the Euclidean sqrt(sum over i = 1..m of (InMat[i, r] - p[i])^2),
// or what a caller's distance function says. Among equal distances the row examined later ranks
// first. Rows at a NaN distance, or beyond 1.7e38, are never neighbours.

#include <functional>

#include "numeric/VkrMatrix.h"
#include "numeric/VkrVector.h"

// How the targets of the neighbours are weighted.
enum TKnnWMode { kwmGauss = 0, kwmAverage = 1, kwmMedian = 2, kwmLinear = 3 };

// The most neighbours reported.
inline constexpr int MaxK = 50;

// A caller's distance of the object (row) to the point.
using TCalcDistFunc = std::function<double(int row)>;

// The k' = min(k, 50, InMat.NrOfRows) nearest of the objects FirstObj..LastObj, nearest first:
// row i of KNNList receives the object number (column 1) and its distance (column 2). KNNList is
// not resized (rows beyond it are dropped); where fewer objects than k' were examined, the rest
// of the rows report object 0 at 1.7e38. Without CalcDist the Euclidean distance from DatVec.
// Allocates nothing.
void FindNearestNeighbors(int k, const TMatrix& InMat, int FirstObj, int LastObj,
                          const TVector& DatVec, TMatrix& KNNList,
                          const TCalcDistFunc& CalcDist = nullptr);

// Estimate of the target at EstInVar from its k = min(kn, InMat.NrOfRows, 50) nearest rows of
// InMat (TargetVec[r] is the target of row r). EstMeanDist is the neighbours' mean distance dbar
// (0.001 stands for dbar = 0 in the weights). With t_i, d_i the neighbours' targets and
// distances:
//   kwmGauss    weights exp(-(d_i SmoothFact / dbar)^2)
//   kwmAverage  the mean of the t_i
//   kwmMedian   their median
//   kwmLinear   weights 1 - d_i / dbar / SmoothFact, only the positive ones count; 0 when none
//               is positive or SmoothFact is 0
// kn below 1 or a matrix without rows give EstTarget 0 and EstMeanDist 0. Allocates nothing.
void EstimateByKNN(const TMatrix& InMat, const TVector& TargetVec, int kn,
                   TKnnWMode WeightingMode, double SmoothFact, const TVector& EstInVar,
                   double& EstTarget, double& EstMeanDist);
