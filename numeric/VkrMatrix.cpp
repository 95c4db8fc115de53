#include "numeric/VkrMatrix.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <stdexcept>

#include "numeric/Sorting.h"
#include "numeric/UnivConst.h"

namespace {

constexpr const char* kNoMemory = "not enough memory on heap";

// Orders the pair and clamps both ends to 1..n.
void ClampPair(int& lo, int& hi, int n)
{
    lo = std::clamp(lo, 1, n);
    hi = std::clamp(hi, 1, n);
    if (lo > hi) std::swap(lo, hi);
}

}  // namespace

// ---- TMatrix ---------------------------------------------------------------------------------

TMatrix::TMatrix(TComponent* AOwner) : TComponent(AOwner) { Resize(1, 1); }

void TMatrix::SetNrOfColumns(int n) { Resize(std::max(n, 1), FNRow); }
void TMatrix::SetNrOfRows(int n) { Resize(FNCol, std::max(n, 1)); }

bool TMatrix::Resize(int Nc, int Nr)
{
    Nc = std::max(Nc, 0);
    Nr = std::max(Nr, 0);
    // The columns stay where they are while their room holds the rows and is not more than four
    // times what they need; otherwise they move into room for max(Nr, twice the old room) rows
    // when growing, or just Nr when shrinking.
    const auto cells = [](int columns, int rows) {
        return static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    };
    const bool inPlace =
        Nr <= FRowCap && Nr >= FRowCap / 4 && cells(Nc, FRowCap) >= Mat.capacity() / 4;
    try {
        if (inPlace) {
            ZeroRows(FNRow + 1, Nr);  // the room beyond the rows keeps what it held
            Mat.resize(cells(Nc, FRowCap), 0.0);  // added columns hold zeros
        } else {
            const int cap = Nr > FRowCap
                                ? static_cast<int>(std::min<long long>(
                                      std::max<long long>(Nr, 2LL * FRowCap), INT_MAX))
                                : Nr;
            std::vector<double> m(cells(Nc, cap), 0.0);
            const int keepR = std::min(Nr, FNRow);
            for (int c = 1; c <= std::min(Nc, FNCol); ++c)
                std::copy_n(Mat.begin() + static_cast<std::ptrdiff_t>(Ix(c, 1)), keepR,
                            m.begin() + static_cast<std::ptrdiff_t>(cells(c - 1, cap)));
            Mat.swap(m);
            FRowCap = cap;
        }
    } catch (const std::bad_alloc&) {
        throw EVKRMatrixError(ComponentMessage(*this, kNoMemory));
    } catch (const std::length_error&) {
        throw EVKRMatrixError(ComponentMessage(*this, kNoMemory));
    }
    FNCol = Nc;
    FNRow = Nr;
    Changed();
    return true;
}

void TMatrix::ZeroRows(int from, int to)
{
    if (from > to) return;
    for (int c = 1; c <= FNCol; ++c)
        std::fill_n(Mat.begin() + static_cast<std::ptrdiff_t>(Ix(c, from)), to - from + 1, 0.0);
}

void TMatrix::Fill(double value)
{
    for (int c = 1; c <= FNCol; ++c)
        std::fill_n(Mat.begin() + static_cast<std::ptrdiff_t>(Ix(c, 1)), FNRow, value);
    if (FOnCellWrite)
        for (int c = 1; c <= FNCol; ++c)
            for (int r = 1; r <= FNRow; ++r) FOnCellWrite(c, r);
    Changed();
}

void TMatrix::SetColumnValues(int c, int firstRow, const double* values, int n)
{
    if (c < 1 || c > FNCol) return;
    const int from = std::max(firstRow, 1), to = std::min(firstRow + n - 1, FNRow);
    if (from > to) return;
    std::copy(values + (from - firstRow), values + (to - firstRow) + 1, Mat.begin() + Ix(c, from));
    if (FOnCellWrite)
        for (int r = from; r <= to; ++r) FOnCellWrite(c, r);
    Changed();
}

void TMatrix::SetPrecision(int ix, int v)
{
    if (ix == 1 || ix == 2) FPrecis[ix - 1] = v;
}

bool TMatrix::Clamp(int LowCol, int LowRow, int HighCol, int HighRow, Window& w) const
{
    if (!HasCells()) return false;
    w = {LowCol, LowRow, HighCol, HighRow};
    ClampPair(w.c0, w.c1, FNCol);
    ClampPair(w.r0, w.r1, FNRow);
    return true;
}

void TMatrix::MinMax(int LowCol, int LowRow, int HighCol, int HighRow, double& Minimum,
                     double& Maximum) const
{
    Minimum = static_cast<double>(uc_MaxReal);
    Maximum = -static_cast<double>(uc_MaxReal);
    Window w{};
    if (!Clamp(LowCol, LowRow, HighCol, HighRow, w)) return;
    for (int c = w.c0; c <= w.c1; ++c)
        for (int r = w.r0; r <= w.r1; ++r) {
            const double x = Mat[Ix(c, r)];
            if (x < Minimum) Minimum = x;
            if (x > Maximum) Maximum = x;
        }
}

void TMatrix::MeanVar(int LowCol, int LowRow, int HighCol, int HighRow, double& Mean,
                      double& Variance) const
{
    Window w{};
    if (!Clamp(LowCol, LowRow, HighCol, HighRow, w)) return;
    // Sums of the cells' distances from the first cell: no cancellation for data far from 0,
    // and exactly 0 for equal cells.
    const double shift = Mat[Ix(w.c0, w.r0)];
    double s1 = 0, s2 = 0;
    for (int c = w.c0; c <= w.c1; ++c)
        for (int r = w.r0; r <= w.r1; ++r) {
            const double d = Mat[Ix(c, r)] - shift;
            s1 += d;
            s2 += d * d;
        }
    const double n = w.Count();
    Mean = shift + s1 / n;
    Variance = n < 3 ? 1.0 : std::max(0.0, (s2 - s1 * s1 / n) / (n - 1));
}

bool TMatrix::Quartiles(int LowCol, int LowRow, int HighCol, int HighRow, double& Q1,
                        double& Q2, double& Q3) const
{
    Q1 = Q2 = Q3 = 0;
    Window w{};
    if (!Clamp(LowCol, LowRow, HighCol, HighRow, w)) return false;
    std::vector<double> work;
    try {
        work.reserve(static_cast<std::size_t>(w.Count()));
    } catch (const std::bad_alloc&) {
        throw EVKRMatrixError(ComponentMessage(*this, kNoMemory));
    }
    for (int c = w.c0; c <= w.c1; ++c)
        for (int r = w.r0; r <= w.r1; ++r) work.push_back(Mat[Ix(c, r)]);
    SortArray(work, true);
    QuartilesOfSorted(work.data(), static_cast<int>(work.size()), Q1, Q2, Q3);
    return true;
}

void TMatrix::StandardizeColumns(TVector* Means, TVector* StdDevs)
{
    for (int c = 1; HasCells() && c <= FNCol; ++c) {
        double mean = 0, var = 0;
        MeanVar(c, 1, c, FNRow, mean, var);
        const double sd = std::sqrt(var);
        if (var > 0)
            for (int r = 1; r <= FNRow; ++r) Mat[Ix(c, r)] = (Mat[Ix(c, r)] - mean) / sd;
        if (Means) Means->SetVal(c, mean);
        if (StdDevs) StdDevs->SetVal(c, sd);
    }
    Changed();
}

void TMatrix::CopyColToVec(TVector* DestVec, int Col, int FirstRow, int LastRow) const
{
    if (!DestVec || !HasCells()) return;
    Col = std::clamp(Col, 1, FNCol);
    ClampPair(FirstRow, LastRow, FNRow);
    LastRow = std::min(LastRow, FirstRow + DestVec->NrOfElem() - 1);
    DestVec->Fill(0.0);
    for (int r = FirstRow; r <= LastRow; ++r) DestVec->SetVal(r - FirstRow + 1, Mat[Ix(Col, r)]);
}

void TMatrix::CopyFrom(const TMatrix* MatSource, int SourceColLo, int SourceRowLo,
                       int SourceColHi, int SourceRowHi, int DestCol, int DestRow)
{
    if (!MatSource) return;
    Window w{};
    if (MatSource->Clamp(SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, w)) {
        // A copy within one matrix reads the source window as it was before the first write.
        const TMatrix* from = MatSource;
        TMatrix snapshot;
        if (MatSource == this) {
            snapshot.FNCol = FNCol;
            snapshot.FNRow = FNRow;
            snapshot.FRowCap = FRowCap;
            snapshot.Mat = Mat;
            from = &snapshot;
        }
        for (int c = w.c0; c <= w.c1; ++c)
            for (int r = w.r0; r <= w.r1; ++r)
                SetVal(c - w.c0 + DestCol, r - w.r0 + DestRow, from->Mat[from->Ix(c, r)]);
    }
    Changed();
}

// ---- TIntMatrix ------------------------------------------------------------------------------

TIntMatrix::TIntMatrix(TComponent* AOwner) : TComponent(AOwner)
{
    Mat.assign(1, std::vector<int>(1, 0));
    FNCol = FNRow = 1;
}

void TIntMatrix::SetNrOfColumns(int n) { Resize(std::max(n, 1), FNRow); }
void TIntMatrix::SetNrOfRows(int n) { Resize(FNCol, std::max(n, 1)); }

bool TIntMatrix::Resize(int Nc, int Nr)
{
    if ((Nc == FNCol && Nr == FNRow) || Nc < 1 || Nr < 1) return false;
    try {
        Mat.resize(static_cast<std::size_t>(Nc));
        for (auto& column : Mat) column.resize(static_cast<std::size_t>(Nr), 0);
    } catch (const std::bad_alloc&) {
        throw EVKRMatrixError(ComponentMessage(*this, kNoMemory));
    }
    FNCol = Nc;
    FNRow = Nr;
    Changed();
    return true;
}

int TIntMatrix::GetVal(int c, int r) const
{
    return Inside(c, r) ? Mat[static_cast<std::size_t>(c - 1)][static_cast<std::size_t>(r - 1)]
                        : 0;
}

void TIntMatrix::SetVal(int c, int r, int v)
{
    if (!Inside(c, r)) return;
    Mat[static_cast<std::size_t>(c - 1)][static_cast<std::size_t>(r - 1)] = v;
    Changed();
}

void TIntMatrix::Changed() const
{
    if (FOnChange) FOnChange();
}
