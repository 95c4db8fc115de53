#include "numeric/CurveFit.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "numeric/UnivConst.h"

namespace {

constexpr double SmallPosNum = 1e-30;
constexpr double MinDist = 1e-100;
constexpr int ChunkSize = 1000;
// Guard of the smoothing spline's Newton iteration; it converges in a few dozen steps.
constexpr int kMaxSmoothingIterations = 1000;

[[noreturn]] void Fail(const std::string& message) { throw EVKRMath2Error(message); }

}  // namespace

TCurveFit::TCurveFit(TComponent* AOwner) : TComponent(AOwner)
{
    FData.Resize(2, ChunkSize);
    Init();
}

TCurveFit::~TCurveFit() = default;

void TCurveFit::Init()
{
    FLine = {};
    FSums = {};
    FSummed = 0;
    // The stored pairs are forgotten, not cleared: no pair beyond NumData is ever read (DataX
    // and DataY give 0 there), and a long run of fits would clear as much as it enters.
    FNumData = 0;
    FBorrowedN = 0;
    FMinX = FMinY = static_cast<double>(uc_MaxDouble);
    FMaxX = FMaxY = -static_cast<double>(uc_MaxDouble);
    FPSplineFQ = 0;
    SumXArray.fill(0.0);
    RHS.fill(0.0);
    FErrIndic = 0;
}

void TCurveFit::AdjustLineSums(double x, double y)
{
    if (x < FMinX) FMinX = x;
    if (y < FMinY) FMinY = y;
    if (x > FMaxX) FMaxX = x;
    if (y > FMaxY) FMaxY = y;
    FLine.x += x;
    FLine.y += y;
    FLine.xq += x * x;
    FLine.yq += y * y;
    FLine.xy += x * y;
}

void TCurveFit::FoldInFurtherSums() const
{
    StoreBorrowedPairs();
    while (FSummed < FNumData) {
        ++FSummed;
        AdjustFurtherSums(FData.GetVal(1, FSummed), FData.GetVal(2, FSummed));
    }
}

void TCurveFit::AdjustFurtherSums(double x, double y) const
{
    FurtherSums& s = FSums;
    const double xx = x * x, yy = y * y, diff = x - y;
    s.Diff += diff;
    s.Diffq += diff * diff;
    s.x2y += xx * y;
    s.xy2 += x * yy;
    s.x3 += xx * x;
    s.y3 += yy * y;
    s.x4 += xx * xx;

    // Reciprocal sums; 1.7e38 stands for 1/0.
    const double big = static_cast<double>(uc_MaxReal);
    const bool xZero = std::fabs(x) <= SmallPosNum;
    if (std::fabs(y) > SmallPosNum) {
        s._1byy += 1 / y;
        s._1byyq += 1 / yy;
        s.xbyy += x / y;
        s._1byxy += (xZero ? big : 1 / x) / y;
    } else {
        FErrIndic |= cfeYEQ0;
        s._1byy += big;
        s._1byyq += big * big;
        s.xbyy += big * x;
        s._1byxy += xZero ? big : big / x;
    }
    if (!xZero) {
        s._1byx += 1 / x;
        s._1byxq += 1 / xx;
        s.ybyx += y / x;
    } else {
        FErrIndic |= cfeXEQ0;
        s._1byx += big;
        s._1byxq += big * big;
        s.ybyx += big * y;
    }

    // Logarithm sums.
    const double lny = y > 0 ? std::log(y) : 0.0;
    if (x > 0) {
        const double lnx = std::log(x);
        s.lnx += lnx;
        s.lnxq += lnx * lnx;
        s.ylnx += y * lnx;
        s.xlnx += x * lnx;
        if (y != 0)
            s.lnxbyy += lnx / y;
        else
            FErrIndic |= cfeYEQ0;
        if (y > 0)
            s.lnxlny += lnx * lny;
        else
            FErrIndic |= cfeYLE0;
    } else {
        FErrIndic |= cfeXLE0;
    }
    if (y > 0) {
        s.lny += lny;
        s.lnyq += lny * lny;
        s.xlny += x * lny;
        s.xqlny += xx * lny;
    } else {
        FErrIndic |= cfeYLE0;
    }

    // Power sums x^0 .. x^17 and x^0 y .. x^8 y, each power the one before times x.
    double t = 1;
    for (std::size_t i = 0; i < SumXArray.size(); ++i, t *= x) {
        SumXArray[i] += t;
        if (i < RHS.size()) RHS[i] += t * y;
    }
}

void TCurveFit::EnterStatValue(double x, double y)
{
    StoreBorrowedPairs();
    AdjustLineSums(x, y);
    ++FNumData;
    if (FData.NrOfRows() < FNumData) FData.SetNrOfRows(FData.NrOfRows() + ChunkSize);
    FData.SetVal(1, FNumData, x);
    FData.SetVal(2, FNumData, y);
    FSplineValid = false;
    FPenSplineValid = false;
}

void TCurveFit::SumRun(const Run& r, int from, RunSums& s)
{
    // Each sum takes the pairs in the order given, as pair after pair through AdjustLineSums.
    for (int i = from; i < r.n; ++i) {
        const double xi = r.x[i], yi = r.y[i];
        if (xi < s.minX) s.minX = xi;
        if (yi < s.minY) s.minY = yi;
        if (xi > s.maxX) s.maxX = xi;
        if (yi > s.maxY) s.maxY = yi;
        s.x += xi;
        s.y += yi;
        s.xq += xi * xi;
        s.yq += yi * yi;
        s.xy += xi * yi;
    }
}

void TCurveFit::AddLineSums(const double* x, const double* y, int n)
{
    RunSums s{FLine.x, FLine.y, FLine.xq, FLine.yq, FLine.xy, FMinX, FMaxX, FMinY, FMaxY};
    SumRun({x, y, n}, 0, s);
    FLine = {s.x, s.y, s.xq, s.yq, s.xy};
    FMinX = s.minX, FMaxX = s.maxX, FMinY = s.minY, FMaxY = s.maxY;
}

void TCurveFit::StoreBorrowedPairs() const
{
    if (FBorrowedN == 0) return;
    const int n = FBorrowedN, first = FNumData - n + 1;
    FBorrowedN = 0;
    if (FData.NrOfRows() < FNumData) {
        const int chunks = (FNumData - FData.NrOfRows() + ChunkSize - 1) / ChunkSize;
        FData.SetNrOfRows(FData.NrOfRows() + chunks * ChunkSize);
    }
    FData.SetColumnValues(1, first, FBorrowedX, n);
    FData.SetColumnValues(2, first, FBorrowedY, n);
}

void TCurveFit::BorrowStatValues(const double* x, const double* y, int n)
{
    if (n <= 0) return;
    StoreBorrowedPairs();
    AddLineSums(x, y, n);
    FNumData += n;
    FBorrowedX = x;
    FBorrowedY = y;
    FBorrowedN = n;
    FSplineValid = false;
    FPenSplineValid = false;
}

void TCurveFit::BorrowStatValues(const Run& run, const RunSums& sums)
{
    if (run.n <= 0) return;
    if (FNumData > 0 || run.lineOnly) {
        BorrowStatValues(run.x, run.y, run.n);
        return;
    }
    FBorrowedN = 0;
    FLine = {sums.x, sums.y, sums.xq, sums.yq, sums.xy};
    FMinX = sums.minX, FMaxX = sums.maxX, FMinY = sums.minY, FMaxY = sums.maxY;
    FNumData = run.n;
    FBorrowedX = run.x;
    FBorrowedY = run.y;
    FBorrowedN = run.n;
    FSplineValid = false;
    FPenSplineValid = false;
}

void TCurveFit::EnterStatValues(const double* x, const double* y, int n)
{
    BorrowStatValues(x, y, n);
    StoreBorrowedPairs();
}

double TCurveFit::DataX(int ix) const
{
    StoreBorrowedPairs();
    return ix >= 1 && ix <= FNumData ? FData.GetVal(1, ix) : 0.0;
}

double TCurveFit::SumXArrayElem(int i) const
{
    FoldInFurtherSums();
    return i >= 1 && i <= static_cast<int>(SumXArray.size()) ? SumXArray[static_cast<std::size_t>(i - 1)] : 0.0;
}

double TCurveFit::RHSElem(int i) const
{
    FoldInFurtherSums();
    return i >= 1 && i <= static_cast<int>(RHS.size()) ? RHS[static_cast<std::size_t>(i - 1)] : 0.0;
}

double TCurveFit::DataY(int ix) const
{
    StoreBorrowedPairs();
    return ix >= 1 && ix <= FNumData ? FData.GetVal(2, ix) : 0.0;
}

void TCurveFit::SetSplineSmoothing(double value)
{
    FPSplineSmooth = value;
    FPenSplineValid = false;
}

void TCurveFit::LineOf(int count, double x, double y, double xq, double xy, bool xAllEqual,
                       double& k, double& d)
{
    if (count < 2) Fail("CalcLinFit: not enough data points");
    const double n = count;
    const double D = n * xq - x * x;
    if (xAllEqual || !(D > 0)) Fail("CalcLinFit: x values are all equal");
    k = (n * xy - x * y) / D;
    d = (xq * y - x * xy) / D;
}

void TCurveFit::LineFit(const RunSums& sums, int n, double& k, double& d)
{
    k = d = 0;
    LineOf(n, sums.x, sums.y, sums.xq, sums.xy, sums.minX == sums.maxX, k, d);
}

void TCurveFit::CalcLinFit(double& k, double& d, double& FitQual) const
{
    k = d = FitQual = 0;
    const LineSums& s = FLine;
    LineOf(FNumData, s.x, s.y, s.xq, s.xy, FMinX == FMaxX, k, d);
    const double n = FNumData;
    const double S = s.yq - s.y * s.y / n;
    FitQual = FMinY == FMaxY || S == 0 ? 1.0 : (d * s.y + k * s.xy - s.y * s.y / n) / S;
}

void TCurveFit::CalcHoerlFit(double& k0, double& k1, double& k2, double& FitQual) const
{
    k0 = k1 = k2 = FitQual = 0;
    if (FNumData < 3) Fail("CalcHoerlFit: not enough data points");
    FoldInFurtherSums();
    if (FErrIndic & cfeYLE0) Fail("CalcHoerlFit: y values must not be negative or zero");
    if (FErrIndic & cfeXLE0) Fail("CalcHoerlFit: x values must not be negative or zero");
    const FurtherSums& s = FSums;
    const LineSums& l = FLine;
    const double n = FNumData;
    const double aux1 = n * l.xq - l.x * l.x;
    const double aux2 = n * s.lnxlny - s.lnx * s.lny;
    const double aux5 = n * s.xlnx - l.x * s.lnx;
    const double aux6 = n * s.xlny - l.x * s.lny;
    const double aux7 = n * s.lnxq - s.lnx * s.lnx;
    // x and ln x are independent only over three or more different x values.
    const double det = aux1 * aux7 - aux5 * aux5;
    if (FMinX == FMaxX || !(aux1 > 0) || !(det > 1e-13 * aux1 * aux7))
        Fail("CalcHoerlFit: x values must take at least three different values");
    k2 = (aux1 * aux2 - aux5 * aux6) / det;
    const double B = (aux6 - aux5 * k2) / aux1;
    const double A = (s.lny - B * l.x - k2 * s.lnx) / n;
    k0 = std::exp(A);
    k1 = std::exp(B);
    const double S = s.lnyq - s.lny * s.lny / n;
    FitQual = FMinY == FMaxY || S == 0
                  ? 1.0
                  : (A * s.lny + B * s.xlny + k2 * s.lnxlny - s.lny * s.lny / n) / S;
}

void TCurveFit::SortedCopies()
{
    StoreBorrowedPairs();
    SplSortedX = std::make_unique<TVector>(this);
    SplSortedY = std::make_unique<TVector>(this);
    Spl2Deriv = std::make_unique<TVector>(this);
    for (TVector* v : {SplSortedX.get(), SplSortedY.get(), Spl2Deriv.get()})
        v->SetVecSize(FNumData);
    for (int i = 1; i <= FNumData; ++i) {
        SplSortedX->SetVal(i, FData.GetVal(1, i));
        SplSortedY->SetVal(i, FData.GetVal(2, i));
    }
    // The y values follow every exchange of the x values, so pairs stay together.
    SplSortedX->SetOnSortExchange([this](std::uint8_t, int i1, int i2, int, int) {
        const double t = SplSortedY->GetVal(i1);
        SplSortedY->SetVal(i1, SplSortedY->GetVal(i2));
        SplSortedY->SetVal(i2, t);
    });
    SplSortedX->SortElems(true, 1, FNumData);
}

void TCurveFit::PrepareSpline()
{
    SortedCopies();
    const int n = FNumData;
    std::vector<double> x(static_cast<std::size_t>(n) + 1), y(x.size()), y2(x.size()), u(x.size());
    for (int i = 1; i <= n; ++i) {
        x[static_cast<std::size_t>(i)] = SplSortedX->GetVal(i);
        y[static_cast<std::size_t>(i)] = SplSortedY->GetVal(i);
    }
    for (int i = 1; i < n; ++i)
        if (!(x[static_cast<std::size_t>(i) + 1] - x[static_cast<std::size_t>(i)] >= MinDist))
            Fail(ComponentMessage(*this, "the tabulated values are not distinct"));
    if (n >= 2) {
        auto X = [&](int i) { return x[static_cast<std::size_t>(i)]; };
        auto Y = [&](int i) { return y[static_cast<std::size_t>(i)]; };
        auto Y2 = [&](int i) -> double& { return y2[static_cast<std::size_t>(i)]; };
        auto U = [&](int i) -> double& { return u[static_cast<std::size_t>(i)]; };
        if (FNatural1) {
            Y2(1) = U(1) = 0;
        } else {
            Y2(1) = -0.5;
            U(1) = (3 / (X(2) - X(1))) * ((Y(2) - Y(1)) / (X(2) - X(1)) - FY1Dash);
        }
        for (int i = 2; i <= n - 1; ++i) {
            const double sig = (X(i) - X(i - 1)) / (X(i + 1) - X(i - 1));
            const double p = sig * Y2(i - 1) + 2;
            Y2(i) = (sig - 1) / p;
            const double slopes =
                (Y(i + 1) - Y(i)) / (X(i + 1) - X(i)) - (Y(i) - Y(i - 1)) / (X(i) - X(i - 1));
            U(i) = (6 * slopes / (X(i + 1) - X(i - 1)) - sig * U(i - 1)) / p;
        }
        double qn = 0, un = 0;
        if (!FNaturalN) {
            qn = 0.5;
            un = (3 / (X(n) - X(n - 1))) * (FYNDash - (Y(n) - Y(n - 1)) / (X(n) - X(n - 1)));
        }
        Y2(n) = (un - qn * U(n - 1)) / (qn * Y2(n - 1) + 1);
        for (int k = n - 1; k >= 1; --k) Y2(k) = Y2(k) * Y2(k + 1) + U(k);
        for (int i = 1; i <= n; ++i) Spl2Deriv->SetVal(i, Y2(i));
    }
    FSplineValid = true;
    FPenSplineValid = false;
}

double TCurveFit::CubicSpline(double x)
{
    if (!FSplineValid) PrepareSpline();
    const int n = FNumData;
    if (n < 2) Fail(ComponentMessage(*this, "the tabulated values are not distinct"));
    const TVector& xs = *SplSortedX;
    int klo = 1, khi = n;
    while (khi - klo > 1) {
        const int k = (khi + klo) / 2;
        if (xs.GetVal(k) > x)
            khi = k;
        else
            klo = k;
    }
    const double h = xs.GetVal(khi) - xs.GetVal(klo);
    if (h < MinDist) Fail(ComponentMessage(*this, "the tabulated values are not distinct"));
    const double a = (xs.GetVal(khi) - x) / h;
    const double b = (x - xs.GetVal(klo)) / h;
    return a * SplSortedY->GetVal(klo) + b * SplSortedY->GetVal(khi) +
           ((a * a * a - a) * Spl2Deriv->GetVal(klo) + (b * b * b - b) * Spl2Deriv->GetVal(khi)) *
               (h * h) / 6;
}

void TCurveFit::PrepareSmoothedSpline()
{
    SortedCopies();
    const int n = FNumData;
    const auto size = static_cast<std::size_t>(n) + 1;
    for (auto* v : {&PSplA, &PSplB, &PSplC, &PSplD}) v->assign(size, 0.0);
    std::vector<double> x(size), y(size), dy(size, 1.0);
    double k = 0, d = 0, q = 0;
    CalcLinFit(k, d, q);
    double R = 0;
    for (int i = 1; i <= n; ++i) {
        const auto u = static_cast<std::size_t>(i);
        x[u] = SplSortedX->GetVal(i);
        y[u] = SplSortedY->GetVal(i);
        R += (y[u] - k * x[u] - d) * (y[u] - k * x[u] - d);
    }
    PenalizedCubicSpline(1, n, R * FPSplineSmooth, x, y, dy, PSplA, PSplB, PSplC, PSplD);
    const double mean = MeanY();
    double total = 0, residual = 0;
    for (std::size_t i = 1; i < size; ++i) {
        total += (y[i] - mean) * (y[i] - mean);
        residual += (y[i] - PSplA[i]) * (y[i] - PSplA[i]);
    }
    FPSplineFQ = FMinY == FMaxY || total == 0 ? 1.0 : (total - residual) / total;
    FPenSplineValid = true;
    FSplineValid = false;
}

double TCurveFit::SmoothedSpline(double x, double& FitQual, bool& valid)
{
    if (!FPenSplineValid) PrepareSmoothedSpline();
    valid = false;
    double result = 0;
    const int n = FNumData;
    const TVector& xs = *SplSortedX;
    if (xs.GetVal(1) <= x && x < xs.GetVal(n)) {
        valid = true;
        int i = n;
        while (i > 1 && xs.GetVal(i) > x) --i;
        const auto u = static_cast<std::size_t>(i);
        const double h = x - xs.GetVal(i);
        result = ((PSplD[u] * h + PSplC[u]) * h + PSplB[u]) * h + PSplA[u];
    }
    FitQual = FPSplineFQ;
    return result;
}

void PenalizedCubicSpline(int n1, int n2, double smooth, std::span<const double> x,
                          std::span<const double> y, std::span<const double> dy,
                          std::span<double> a, std::span<double> b, std::span<double> c,
                          std::span<double> d)
{
    if (n2 <= n1) Fail("PenalizedCubicSpline: n1 must not be greater than n2");
    // Work arrays over indices n1 - 1 .. n2 + 1.
    const auto size = static_cast<std::size_t>(n2 - n1 + 3);
    std::vector<double> rw(size), r1w(size), r2w(size), tw(size), t1w(size), uw(size), vw(size);
    auto W = [n1](std::vector<double>& w, int i) -> double& {
        return w[static_cast<std::size_t>(i - (n1 - 1))];
    };
    auto r = [&](int i) -> double& { return W(rw, i); };
    auto r1 = [&](int i) -> double& { return W(r1w, i); };
    auto r2 = [&](int i) -> double& { return W(r2w, i); };
    auto t = [&](int i) -> double& { return W(tw, i); };
    auto t1 = [&](int i) -> double& { return W(t1w, i); };
    auto u = [&](int i) -> double& { return W(uw, i); };
    auto v = [&](int i) -> double& { return W(vw, i); };
    auto I = [](int i) { return static_cast<std::size_t>(i); };
    auto width = [&](int i) {
        const double h = x[I(i + 1)] - x[I(i)];
        if (h == 0) Fail("PenalizedCubicSpline: two or more x-values are identical");
        if (h < 0) Fail("PenalizedCubicSpline: x-values must be increasing");
        return h;
    };

    const int m1 = n1 + 1, m2 = n2 - 1;
    double p = 0;
    double h = width(n1);
    double f = (y[I(m1)] - y[I(n1)]) / h;
    double g = 0, e = 0;
    for (int i = m1; i <= m2; ++i) {
        g = h;
        h = width(i);
        e = f;
        f = (y[I(i + 1)] - y[I(i)]) / h;
        a[I(i)] = f - e;
        t(i) = 2 * (g + h) / 3;
        t1(i) = h / 3;
        r2(i) = dy[I(i - 1)] / g;
        r(i) = dy[I(i + 1)] / h;
        r1(i) = -dy[I(i)] / g - dy[I(i)] / h;
    }
    for (int i = m1; i <= m2; ++i) {
        b[I(i)] = r(i) * r(i) + r1(i) * r1(i) + r2(i) * r2(i);
        c[I(i)] = r(i) * r1(i + 1) + r1(i) * r2(i + 1);
        d[I(i)] = r(i) * r2(i + 2);
    }

    double f2 = -smooth;
    for (int iteration = 0; iteration < kMaxSmoothingIterations; ++iteration) {
        for (int i = m1; i <= m2; ++i) {
            r1(i - 1) = f * r(i - 1);
            r2(i - 2) = g * r(i - 2);
            r(i) = 1 / (p * b[I(i)] + t(i) - f * r1(i - 1) - g * r2(i - 2));
            u(i) = a[I(i)] - r1(i - 1) * u(i - 1) - r2(i - 2) * u(i - 2);
            f = p * c[I(i)] + t1(i) - h * r1(i - 1);
            g = h;
            h = d[I(i)] * p;
        }
        for (int i = m2; i >= m1; --i) u(i) = r(i) * u(i) - r1(i) * u(i + 1) - r2(i) * u(i + 2);
        e = h = 0;
        for (int i = n1; i <= m2; ++i) {
            g = h;
            h = (u(i + 1) - u(i)) / (x[I(i + 1)] - x[I(i)]);
            v(i) = (h - g) * dy[I(i)] * dy[I(i)];
            e = e + v(i) * (h - g);
        }
        g = v(n2) = -h * dy[I(n2)] * dy[I(n2)];
        e = e - g * h;
        g = f2;
        f2 = e * p * p;
        if (f2 >= smooth || f2 <= g) break;
        f = 0;
        h = (v(m1) - v(n1)) / (x[I(m1)] - x[I(n1)]);
        for (int i = m1; i <= m2; ++i) {
            g = h;
            h = (v(i + 1) - v(i)) / (x[I(i + 1)] - x[I(i)]);
            g = h - g - r1(i - 1) * r(i - 1) - r2(i - 2) * r(i - 2);
            f = f + g * r(i) * g;
            r(i) = g;
        }
        h = e - p * f;
        if (h <= 0) break;
        p = p + (smooth - f2) / ((std::sqrt(smooth / e) + p) * h);
    }

    for (int i = n1; i <= n2; ++i) {
        a[I(i)] = y[I(i)] - p * v(i);
        c[I(i)] = u(i);
    }
    for (int i = n1; i <= n2 - 1; ++i) {
        h = x[I(i + 1)] - x[I(i)];
        d[I(i)] = (c[I(i + 1)] - c[I(i)]) / (3 * h);
        b[I(i)] = (a[I(i + 1)] - a[I(i)]) / h - (h * d[I(i)] + c[I(i)]) * h;
    }
}
