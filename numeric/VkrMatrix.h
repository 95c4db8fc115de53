#pragma once
// TMatrix and TIntMatrix: the component library's two-dimensional containers of doubles and of
// integers, addressed [column, row] from 1, with change notification; TMatrix adds statistics
// over rectangular windows of cells. Reads outside the matrix give 0, writes outside are dropped.
// A matrix resized below 1 x 1 holds no cells: its windows then have no storage.
//
// A TMatrix keeps room for more rows than it has: a table that grows one row at a time (a run
// appends one per block) takes its new rows in place, and the room doubles when it runs out, so
// each added row costs the same however long the table is.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "numeric/VkrVector.h"

class EVKRMatrixError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// Asks the distance between two objects (rows) of a matrix.
using TOnCalcDistanceEvent = std::function<void(int obj1, int obj2, double& distance)>;
// Told of each cell stored by value (SetVal, every cell of Fill), before OnChange.
using TCellWriteEvent = std::function<void(int c, int r)>;

class TMatrix : public TComponent {
public:
    // 1 column x 1 row holding 0.0; DataID empty; Precision 15 and -1.
    explicit TMatrix(TComponent* AOwner = nullptr);

    int NrOfColumns() const { return FNCol; }
    int NrOfRows() const { return FNRow; }
    // Resize with n (values below 1 become 1) and the other size unchanged.
    void SetNrOfColumns(int n);
    void SetNrOfRows(int n);
    // The matrix becomes Nc x Nr (a size below 1 leaves no cells), keeping the overlapping
    // values and zeroing new cells; OnChange fires; true.
    bool Resize(int Nc, int Nr);
    // Rows each column has room for before the storage must move (at least NrOfRows).
    int RowCapacity() const { return FRowCap; }

    double GetVal(int c, int r) const { return Inside(c, r) ? Mat[Ix(c, r)] : 0.0; }
    // Stores and fires OnChange inside the matrix; otherwise nothing happens.
    void SetVal(int c, int r, double v)
    {
        if (!Inside(c, r)) return;
        Mat[Ix(c, r)] = v;
        if (FOnCellWrite) FOnCellWrite(c, r);
        Changed();
    }
    void Fill(double value);  // OnCellWrite for every cell, OnChange once
    // Stores values[0..n-1] into rows firstRow .. firstRow + n - 1 of column c; cells outside
    // the matrix are dropped. OnCellWrite for every cell stored, OnChange once (none when no cell
    // is inside).
    void SetColumnValues(int c, int firstRow, const double* values, int n);

    const std::string& DataID() const { return FDataID; }
    void SetDataID(std::string id) { FDataID = std::move(id); }
    // Stored output settings, index 1..2 (15 and -1 at start); 0 outside.
    int Precision(int ix) const { return ix == 1 || ix == 2 ? FPrecis[ix - 1] : 0; }
    void SetPrecision(int ix, int v);

    // Window statistics. Each bound is clamped to the matrix and each pair ordered, so a window
    // is never empty while the matrix has cells.
    // Minimum = 1.7e38 and Maximum = -1.7e38 first; then lowered / raised by every cell.
    void MinMax(int LowCol, int LowRow, int HighCol, int HighRow, double& Minimum,
                double& Maximum) const;
    // Mean and sample variance of the window's cells; Variance = 1.0 for fewer than 3 cells.
    // Nothing is written when the matrix has no cells. Equal cells give exactly variance 0.
    void MeanVar(int LowCol, int LowRow, int HighCol, int HighRow, double& Mean,
                 double& Variance) const;
    // Quartiles of the window's cells as TVector::Quartiles; false (all 0) with no cells.
    bool Quartiles(int LowCol, int LowRow, int HighCol, int HighRow, double& Q1, double& Q2,
                   double& Q3) const;
    // Each column with a variance above 0 becomes (x - mean) / standard deviation; Means and
    // StdDevs (either may be null) receive the column's values. OnChange once.
    void StandardizeColumns(TVector* Means, TVector* StdDevs);
    // Rows FirstRow..LastRow of column Col (clamped, ordered, cut to the vector's size) into
    // DestVec from element 1; the rest of DestVec is 0.
    void CopyColToVec(TVector* DestVec, int Col, int FirstRow, int LastRow) const;
    // The source window (clamped to MatSource and ordered) written cell by cell to this matrix
    // with its low corner at [DestCol, DestRow]; targets outside are dropped. OnChange once more.
    void CopyFrom(const TMatrix* MatSource, int SourceColLo, int SourceRowLo, int SourceColHi,
                  int SourceRowHi, int DestCol, int DestRow);

    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
    void SetOnSortExchange(TSortExchgEvent handler) { FOnSortExchange = std::move(handler); }
    void SetOnCalcDistance(TOnCalcDistanceEvent handler) { FOnCalcDist = std::move(handler); }
    void SetOnCellWrite(TCellWriteEvent handler) { FOnCellWrite = std::move(handler); }
    const TOnCalcDistanceEvent& OnCalcDistance() const { return FOnCalcDist; }
    const TSortExchgEvent& OnSortExchange() const { return FOnSortExchange; }
    void Changed() const
    {
        if (FOnChange) FOnChange();
    }

private:
    struct Window {
        int c0, r0, c1, r1;
        int Count() const { return (c1 - c0 + 1) * (r1 - r0 + 1); }
    };
    bool HasCells() const { return FNCol >= 1 && FNRow >= 1; }
    // The window clamped and ordered; false when the matrix has no cells.
    bool Clamp(int LowCol, int LowRow, int HighCol, int HighRow, Window& w) const;
    bool Inside(int c, int r) const { return c >= 1 && c <= FNCol && r >= 1 && r <= FNRow; }
    std::size_t Ix(int c, int r) const
    {
        return static_cast<std::size_t>(c - 1) * static_cast<std::size_t>(FRowCap) +
               static_cast<std::size_t>(r - 1);
    }
    // Zeroes rows from..to (1-based) of every column.
    void ZeroRows(int from, int to);

    int FNCol = 0;
    int FNRow = 0;
    int FRowCap = 0;  // rows of room per column: the stride between columns in Mat
    std::string FDataID;
    std::vector<double> Mat;  // column after column, FRowCap cells each
    int FPrecis[2] = {15, -1};
    TNotifyEvent FOnChange;
    TSortExchgEvent FOnSortExchange;
    TOnCalcDistanceEvent FOnCalcDist;
    TCellWriteEvent FOnCellWrite;
};

// Dense matrix of integers (the cell colours of the 3-D surface plot).
class TIntMatrix : public TComponent {
public:
    explicit TIntMatrix(TComponent* AOwner = nullptr);  // 1 x 1 holding 0

    int NrOfColumns() const { return FNCol; }
    int NrOfRows() const { return FNRow; }
    void SetNrOfColumns(int n);  // values below 1 become 1
    void SetNrOfRows(int n);
    // Same size, or a size below 1: false and nothing happens. Otherwise resized keeping the
    // overlapping values, OnChange, true.
    bool Resize(int Nc, int Nr);

    int GetVal(int c, int r) const;
    void SetVal(int c, int r, int v);  // stored with OnChange inside, else ignored

    const std::string& DataID() const { return FDataID; }
    void SetDataID(std::string id) { FDataID = std::move(id); }
    bool IsSparse() const { return false; }

    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
    void SetOnSortExchange(TSortExchgEvent handler) { FOnSortExchange = std::move(handler); }
    void Changed() const;

private:
    bool Inside(int c, int r) const { return c >= 1 && c <= FNCol && r >= 1 && r <= FNRow; }

    int FNCol = 0;
    int FNRow = 0;
    std::string FDataID;
    std::vector<std::vector<int>> Mat;  // [c - 1][r - 1]
    TNotifyEvent FOnChange;
    TSortExchgEvent FOnSortExchange;
};
