#pragma once
// TDataTable: a named table of doubles, the data store behind the table editor TNTabEd, and the
// reader of ASC table files (AscFile.h).
//
// Cells are addressed [column, row], both counted from 1. The numbers live in the public matrix
// NumericData; per cell the table keeps a state byte (csReset, csNAN, csUndefined, csMarkedA,
// csMarkedB), per column and per row a name of at most 50 characters and an attribute byte, and
// one comment line.
//
// Reads outside the table give 0 (or an empty name); writes outside are ignored without an
// event. Every stored write fires OnChange, also a write made directly through NumericData; a
// change of size fires OnResize once (and not OnChange).

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "numeric/VkrMatrix.h"

class TAscReader;
struct TAscHeader;

class EVKRDataTableError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// Longest column or row name, in characters.
inline constexpr std::size_t kDTNameLength = 50;

class TDataTable : public TComponent {
public:
    // Cell state flags.
    static constexpr std::uint8_t csReset = 0;
    static constexpr std::uint8_t csNAN = 1;
    static constexpr std::uint8_t csUndefined = 2;
    static constexpr std::uint8_t csMarkedA = 64;
    static constexpr std::uint8_t csMarkedB = 128;

    using TNotifyEvent = std::function<void()>;
    // Old column count, old row count, new column count, new row count.
    using TDataTableResizeEvent = std::function<void(int, int, int, int)>;

    // A 1 x 1 table holding 0.0, named C-1 and R-1. Raises EVKRDataTableError when memory
    // runs out.
    explicit TDataTable(TComponent* AOwner = nullptr);
    // NumericData reports to this table: no copies.
    TDataTable(const TDataTable&) = delete;
    TDataTable& operator=(const TDataTable&) = delete;

    int GetNrCols() const { return FNrOfCols; }
    int GetNrRows() const { return FNrOfRows; }
    // Resize keeping every cell, name and attribute that remains; added cells hold 0.0 and
    // state 0, added columns and rows the default names "C-n" / "R-n". Negative counts are
    // taken as 0 (an empty table reads 0 everywhere and ignores writes).
    void SetNrCols(int n) { Resize(n, FNrOfRows); }
    void SetNrRows(int n) { Resize(FNrOfCols, n); }
    // Both at once; nothing happens when neither count changes; OnResize fires once.
    void Resize(int NrCols, int NrRows);

    double GetElem(int Col, int Row) const;
    // Stores the value inside the table (the cell's state is kept) and fires OnChange.
    void SetElem(int Col, int Row, double Value);

    // True for a cell that has received no value since the table grew to include it (its value
    // is then 0.0), and for any cell outside the table. A value comes through SetElem, a store
    // through NumericData (SetVal, Fill) or a number read by ImportASC. Independent of the state
    // flags: a writer that appends rows can tell its own trailing empty row this way.
    bool IsCellEmpty(int Col, int Row) const;

    std::uint8_t GetCellState(int Col, int Row) const;
    // Stores the state inside the table; fires OnChange in every case.
    void SetCellState(int Col, int Row, std::uint8_t State);
    void SetAllCellStates(std::uint8_t State);

    std::string GetColName(int Index) const;
    std::string GetRowName(int Index) const;
    // Cut to 50 characters; stored with OnChange inside the range, else ignored.
    void SetColName(int Index, std::string_view Name);
    void SetRowName(int Index, std::string_view Name);

    std::uint8_t GetColAttrib(int Index) const;
    std::uint8_t GetRowAttrib(int Index) const;
    void SetColAttrib(int Index, std::uint8_t Attrib);
    void SetRowAttrib(int Index, std::uint8_t Attrib);

    const std::string& GetComment() const { return FComment; }
    // Characters below code 32 are removed; fires OnChange.
    void SetComment(std::string_view Comment);

    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
    void SetOnResize(TDataTableResizeEvent handler) { FOnResize = std::move(handler); }
    // Told of every exchange ExchangeDuringSort receives, after the bookkeeping followed it.
    void SetOnSortExchange(TSortExchgEvent handler) { FOnSortExchange = std::move(handler); }

    // Fires OnChange when assigned.
    void Changed() const;

    // NumericData's OnSortExchange: when a sort of the numbers exchanges two whole columns
    // (kExchgColumns) or rows (kExchgRows), index1 and index2, their names, attributes and
    // cell states (and which cells hold values) are exchanged with them; first and last are not
    // used. Any other code, or an index outside the table, changes nothing. The exchange is
    // passed on to OnSortExchange when assigned; OnChange does not fire (the sort reports its
    // change itself).
    void ExchangeDuringSort(std::uint8_t ExchgWhat, int index1, int index2, int first, int last);

    // Loads an ASC table file (AscFile.h). Returns 0, or the first failure:
    //  -1 .. -3  the header's column count, row count or a flag word is unreadable;
    //  -4        the comment line holds an LF (the file does not end its lines in CR LF), or the
    //            header asks for fewer than 1 column or row;
    //  -5        a row's attribute is no number or has no 64-bit integer (1e30, nan, inf);
    //  -6        a number is unreadable, or the header asks for more cells than the file has
    //            bytes (the reading would run out).
    // Failures of the header, and the two last checks before any cell is read, leave the table as
    // it was. Otherwise the table becomes columns x rows of zeros with state 0, default names,
    // attribute 0 and the comment as read; then the column names (when the file has them) and
    // the rows are read in order, and OnChange fires after each row, also after one that fails.
    // Reading stops at the first failure; later rows keep zeros and default names. On every way
    // out NumericData's events lead to the table again and OnResize(old columns, old rows,
    // columns, rows) fires once. A file that cannot be opened raises EInOutError naming it, the
    // table unchanged.
    int ImportASC(const std::string& FName);

    // The numbers, NrOfColumns x NrOfRows. Its change event is the table's; a store through it
    // counts as a write of the cell (IsCellEmpty). Resize the table, never the matrix itself.
    TMatrix NumericData;

private:
    bool Inside(int Col, int Row) const
    {
        return Col >= 1 && Col <= FNrOfCols && Row >= 1 && Row <= FNrOfRows;
    }

    // NumericData's change, sort-exchange and cell-write events lead to the table.
    void AttachToNumericData();
    void AttachCellWrite();
    void CellWritten(int Col, int Row);
    void ExchangeColumns(int index1, int index2);
    void ExchangeRows(int index1, int index2);
    // The stores sized cols x rows: zeros, state 0, unwritten, default names, attributes 0; no
    // event of the table (the caller holds NumericData's change event back). Raises
    // EVKRDataTableError when memory runs out, the table unchanged.
    void ResetStores(int cols, int rows);
    // ImportASC without the care for the events.
    int LoadAsc(const std::string& FName);
    int ReadAscBody(TAscReader& reader, const TAscHeader& h);
    int ReadAscRow(TAscReader& reader, const TAscHeader& h, int row);

    int FNrOfCols = 0;
    int FNrOfRows = 0;
    // States by column, then row (0-based inside).
    std::vector<std::vector<std::uint8_t>> FCState;
    std::vector<std::vector<bool>> FWritten;  // per cell: received a value
    std::vector<std::uint8_t> FColAtt;
    std::vector<std::uint8_t> FRowAtt;
    // Names that differ from the default, by 1-based index; a name dropped by shrinking is
    // forgotten, so growing back gives the default name again.
    std::map<int, std::string> FColName;
    std::map<int, std::string> FRowName;
    std::string FComment;
    TNotifyEvent FOnChange;
    TDataTableResizeEvent FOnResize;
    TSortExchgEvent FOnSortExchange;
};

// The name cut to at most kDTNameLength characters (UTF-8 aware).
std::string CutDTName(std::string_view name);
