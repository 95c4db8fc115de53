#pragma once
// TNTabEd: the grid control that shows one numeric table (TDataTable). Result tables travel
// between the program's windows in these editors, most of them hidden: a writer fills cells
// with SetElem and grows the table with SetNrRows, the reader takes them back with GetElem.
//
// Data indices are 1-based; reads outside the table give 0.0 (or an empty name), writes
// outside are ignored. The grid shows the column names in its header row and the row names in
// its header column, then (while shown) the row attributes in the column "Attrib", then the
// values with the column's number of decimals. The grid reads the table only when it paints,
// so hidden editors of many rows cost no more than their data.
//
// This slice covers the data binding and the accessors; in-place editing, the popup menus,
// marks and the clipboard come later.

#include <QTableView>

#include <memory>
#include <vector>

#include "numeric/DataTable.h"

class TNTabEdModel;

class EVKRNTabedError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

class TNTabEd : public QTableView {
    Q_OBJECT
public:
    // A new editor holds 3 columns x 4 rows of 0.0 with three decimals per column and shows the
    // attribute column.
    explicit TNTabEd(QWidget* parent = nullptr);
    ~TNTabEd() override;

    // The table behind the editor. Writes made directly on it reach the editor through its
    // change and resize events, as writes through the editor do.
    TDataTable& Data() { return *data_; }
    const TDataTable& Data() const { return *data_; }

    int GetNrCols() const { return data_->GetNrCols(); }
    int GetNrRows() const { return data_->GetNrRows(); }
    // Resize the table keeping the other dimension and every value that remains; added
    // columns take the decimals of the old last column. Raise OnChangeSetup.
    void SetNrCols(int n);
    void SetNrRows(int n);

    double GetElem(int ACol, int ARow) const { return data_->GetElem(ACol, ARow); }
    void SetElem(int ACol, int ARow, double Value) { data_->SetElem(ACol, ARow, Value); }

    QString GetColName(int i) const;
    QString GetRowName(int i) const;
    void SetColName(int i, const QString& name);
    void SetRowName(int i, const QString& name);

    // Decimals of a data column: -1 (exponent form) .. 8; 0 outside the columns.
    int GetDecPlaces(int ACol) const;
    // Ignored outside the columns; values below 0 become -1, above 8 become 8.
    void SetDecPlaces(int ACol, int decimals);

    // The row attributes shown as the column "Attrib" beside the row names.
    bool AttribRowVisible() const { return attribColumnShown_; }
    void SetAttribRowVisible(bool visible);

    // While set, the editor paints nothing; clearing it repaints once.
    bool SuppressPaint() const { return suppressPaint_; }
    void SetSuppressPaint(bool suppress);

signals:
    // Data, names, attributes or comment changed (the table's change event).
    void Changed();
    // Layout or decimals changed.
    void ChangedSetup();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void TableResized(int oldCols, int oldRows, int newCols, int newRows);
    void TableChanged();

    std::unique_ptr<TDataTable> data_;
    TNTabEdModel* model_;  // child object of the editor
    std::vector<int> precision_;  // per data column
    bool attribColumnShown_ = true;
    bool suppressPaint_ = false;

    friend class TNTabEdModel;
};
