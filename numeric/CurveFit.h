#pragma once
// TCurveFit: a statistics accumulator that takes (x, y) pairs and fits models to them: the
// least-squares straight line y = k x + d, the Hoerl model y = k0 k1^x x^k2, an interpolating
// cubic spline with natural (or clamped) ends, and Reinsch's smoothing spline. The line and the
// Hoerl model are fitted from running sums; only the splines use the stored pairs. The sums of
// the line are kept as pairs are entered; the further sums (logarithms, reciprocals, powers) are
// brought up to date from the stored pairs, in the order entered, when first needed, so that a
// long run of pairs for line fits stays cheap. PenalizedCubicSpline is Reinsch's algorithm
// (Numer. Math. 10, 177-183, 1967).
//
// Failures raise EVKRMath2Error; a message of a routine begins with its name
// ("CalcLinFit: not enough data points"), a message about the component with its prefix.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "numeric/VkrMatrix.h"
#include "numeric/VkrVector.h"

class EVKRMath2Error : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// Flags of values that left sums out or put 1.7e38 in place of 1/0.
enum TCurveFitError : std::uint8_t {
    cfeXLE0 = 1,  // some x <= 0
    cfeYLE0 = 2,  // some y <= 0
    cfeXEQ0 = 4,  // some |x| <= 1e-30
    cfeYEQ0 = 8,  // some |y| <= 1e-30
};

class TCurveFit : public TComponent {
public:
    explicit TCurveFit(TComponent* AOwner = nullptr);
    ~TCurveFit() override;

    // Empties the point set: sums 0, NumData 0, extremes reset, no stored pairs, flags cleared.
    // Prepared splines stay valid until the next EnterStatValue.
    void Init();
    // Adds the pair to every sum and to the stored pairs (grown 1000 rows at a time).
    void EnterStatValue(double x, double y);
    // Adds the pairs (x[i], y[i]), i = 0..n-1, in this order: the same sums and stored pairs
    // as n calls of EnterStatValue.
    void EnterStatValues(const double* x, const double* y, int n);
    // As EnterStatValues, but the pairs stay in the caller's arrays until they are first read
    // (DataX, DataY, ErrIndic, the Hoerl fit, the splines) or more pairs are entered, and are
    // copied in only then: a long run of line fits whose pairs nobody reads copies nothing.
    // The arrays must stay alive and unchanged until then, or until the next Init.
    void BorrowStatValues(const double* x, const double* y, int n);

    // A run of pairs (x[i], y[i]), i = 0..n-1, and the line sums and extremes it gives an empty
    // fitter (after Init).
    struct Run {
        const double* x = nullptr;
        const double* y = nullptr;
        int n = 0;
        // x finite and strictly increasing: its extremes are its first and last values.
        bool xRises = false;
        // Only the sums of the line fit are wanted (LineFit): yq, minY and maxY are left out
        // (NaN).
        bool lineOnly = false;
    };
    struct RunSums {
        double x = 0, y = 0, xq = 0, yq = 0, xy = 0;
        double minX = 0, maxX = 0, minY = 0, maxY = 0;
    };
    // The sums of each run, worked out for several runs side by side, each run's sums in the
    // order of its pairs: to the last bit what entering the run alone gives.
    static void SumRuns(std::span<const Run> runs, std::span<RunSums> sums);
    // BorrowStatValues with the run's sums from SumRuns; an empty fitter takes them over, one
    // that holds pairs (or sums of a line-only run) sums the run itself.
    void BorrowStatValues(const Run& run, const RunSums& sums);
    // The least-squares line y = k x + d of a run of n pairs from its sums, as CalcLinFit gives
    // it for the run alone (failing as it does when the x values are all equal); a line-only
    // run's sums will do.
    static void LineFit(const RunSums& sums, int n, double& k, double& d);

    int NumData() const { return FNumData; }
    double MinX() const { return FMinX; }
    double MaxX() const { return FMaxX; }
    double MinY() const { return FMinY; }
    double MaxY() const { return FMaxY; }
    std::uint8_t ErrIndic() const
    {
        FoldInFurtherSums();
        return FErrIndic;
    }
    double DataX(int ix) const;  // x of pair ix (1..NumData), else 0.0
    double DataY(int ix) const;
    // The power sums, counted from 1: element i of SumXArray (1..18) is the sum of x^(i-1),
    // element i of RHS (1..9) the sum of x^(i-1) y; 0.0 outside.
    double SumXArrayElem(int i) const;
    double RHSElem(int i) const;
    double MeanY() const { return FLine.y / FNumData; }

    bool SplineNatural1() const { return FNatural1; }
    bool SplineNaturalN() const { return FNaturalN; }
    double SplineDerivY1() const { return FY1Dash; }
    double SplineDerivYN() const { return FYNDash; }
    double SplineSmoothingFactor() const { return FPSplineSmooth; }
    void SetSplineSmoothing(double value);

    // Least-squares line; FitQual is the coefficient of determination (1 when all y are
    // equal). Raises "CalcLinFit: not enough data points" below 2 pairs and
    // "CalcLinFit: x values are all equal" when the slope is undefined.
    void CalcLinFit(double& k, double& d, double& FitQual) const;
    // Hoerl model through ln y = ln k0 + x ln k1 + k2 ln x; FitQual on ln y. Needs 3 pairs,
    // y > 0 and x > 0, and at least three different x values.
    void CalcHoerlFit(double& k0, double& k1, double& k2, double& FitQual) const;
    // Interpolating cubic spline at x; outside the knots the end interval's cubic goes on.
    // Raises the component's "the tabulated values are not distinct" when two x values
    // coincide (closer than 1e-100) or fewer than two pairs exist.
    double CubicSpline(double x);
    // Smoothing spline at x, allowed a residual sum of squares of SplineSmoothingFactor times
    // that of the straight line. valid is false (result 0) outside [first knot, last knot).
    double SmoothedSpline(double x, double& FitQual, bool& valid);

private:
    // The line of count pairs from their sums (CalcLinFit's slope and offset).
    static void LineOf(int count, double x, double y, double xq, double xy, bool xAllEqual,
                       double& k, double& d);
    struct LineSums {
        double x, y, xq, yq, xy;
    };
    struct FurtherSums {
        double Diff, Diffq, x2y, xy2, x3, y3, x4;
        double _1byy, _1byxy, _1byyq, xbyy, ybyx, _1byx, _1byxq;
        double lnx, lnxlny, lnxq, ylnx, xlnx, lnxbyy, lny, lnyq, xlny, xqlny;
    };
    void AdjustLineSums(double x, double y);
    // The line sums and extremes of pairs entered as one run.
    void AddLineSums(const double* x, const double* y, int n);
    // Adds pairs from..n-1 of the run to s, one after another.
    static void SumRun(const Run& r, int from, RunSums& s);
    // Copies the borrowed pairs into the stored pairs, if there are any.
    void StoreBorrowedPairs() const;
    // Adds the pairs entered since the last call to the further sums and flags.
    void FoldInFurtherSums() const;
    void AdjustFurtherSums(double x, double y) const;
    void SortedCopies();
    void PrepareSpline();
    void PrepareSmoothedSpline();

    LineSums FLine{};
    int FNumData = 0;
    double FMinX = 0, FMaxX = 0, FMinY = 0, FMaxY = 0;
    bool FNatural1 = true, FNaturalN = true;
    double FY1Dash = 0, FYNDash = 0;
    // The further sums hold pairs 1..FSummed.
    mutable int FSummed = 0;
    mutable FurtherSums FSums{};
    mutable std::array<double, 18> SumXArray{};  // element i: sum of x^i
    mutable std::uint8_t FErrIndic = 0;
    mutable std::array<double, 9> RHS{};  // element i: sum of x^i y
    std::unique_ptr<TVector> Spl2Deriv, SplSortedX, SplSortedY;
    mutable TMatrix FData;  // column 1 x, column 2 y, row r = pair r
    // Pairs NumData - FBorrowedN + 1 .. NumData still in the caller's arrays.
    mutable const double* FBorrowedX = nullptr;
    mutable const double* FBorrowedY = nullptr;
    mutable int FBorrowedN = 0;
    bool FSplineValid = false;
    double FPSplineSmooth = 0.5;
    double FPSplineFQ = 0;
    bool FPenSplineValid = false;
    std::vector<double> PSplA, PSplB, PSplC, PSplD;
};

// Reinsch's smoothing spline through points n1..n2 of x (strictly increasing), y with standard
// deviations dy: the cubic spline s minimising the integral of s''^2 subject to
// sum(((s(x[i]) - y[i]) / dy[i])^2) <= smooth, returned per interval as
// s(t) = a[i] + b[i] h + c[i] h^2 + d[i] h^3 with h = t - x[i] (b[n2], d[n2] are not written).
// The arrays are indexed as given (index n1..n2 must exist). Raises
// "PenalizedCubicSpline: n1 must not be greater than n2" for n2 <= n1,
// "PenalizedCubicSpline: two or more x-values are identical" and
// "PenalizedCubicSpline: x-values must be increasing".
void PenalizedCubicSpline(int n1, int n2, double smooth, std::span<const double> x,
                          std::span<const double> y, std::span<const double> dy,
                          std::span<double> a, std::span<double> b, std::span<double> c,
                          std::span<double> d);
