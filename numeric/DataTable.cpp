#include "numeric/DataTable.h"

#include <algorithm>
#include <new>
#include <utility>

#include "numeric/NumberFormat.h"

namespace {

constexpr const char* kNoMemory = "not enough memory on heap";

// A table being created has no name yet: the message carries an empty component name.
EVKRDataTableError InitFailure()
{
    return EVKRDataTableError(ComponentPrefix("") + "failed to initialize (out of memory)");
}

// "C-n" or "R-n", the number without padding.
std::string DefaultName(char prefix, int index)
{
    return std::string(1, prefix) + "-" + oxw::numeric::strff(index, 1, 0);
}

// Drops the entries of a sparse name list beyond the new count.
void DropNamesAbove(std::map<int, std::string>& names, int count)
{
    names.erase(names.upper_bound(count), names.end());
}

}  // namespace

std::string CutDTName(std::string_view name)
{
    std::size_t chars = 0;
    std::size_t i = 0;
    while (i < name.size() && chars < kDTNameLength) {
        // Step over one UTF-8 sequence: a lead byte and its continuation bytes.
        ++i;
        while (i < name.size() && (static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) ++i;
        ++chars;
    }
    return std::string(name.substr(0, i));
}

TDataTable::TDataTable(TComponent* AOwner)
try : TComponent(AOwner) {
    AttachToNumericData();
    Resize(1, 1);
} catch (const std::bad_alloc&) {
    throw InitFailure();
} catch (const EVKRMatrixError&) {
    throw InitFailure();
}

void TDataTable::AttachToNumericData()
{
    NumericData.SetOnChange([this] { Changed(); });
    NumericData.SetOnSortExchange([this](std::uint8_t what, int i1, int i2, int first, int last) {
        ExchangeDuringSort(what, i1, i2, first, last);
    });
    AttachCellWrite();
}

void TDataTable::AttachCellWrite()
{
    NumericData.SetOnCellWrite([this](int c, int r) { CellWritten(c, r); });
}

void TDataTable::CellWritten(int Col, int Row)
{
    if (Inside(Col, Row))
        FWritten[static_cast<std::size_t>(Col - 1)][static_cast<std::size_t>(Row - 1)] = true;
}

void TDataTable::Resize(int NrCols, int NrRows)
{
    NrCols = std::max(NrCols, 0);
    NrRows = std::max(NrRows, 0);
    if (NrCols == FNrOfCols && NrRows == FNrOfRows) return;
    const int oldCols = FNrOfCols;
    const int oldRows = FNrOfRows;
    // The matrix's own change event is held back: a change of size is no change of data.
    NumericData.SetOnChange(nullptr);
    try {
        NumericData.Resize(NrCols, NrRows);
    } catch (...) {
        AttachToNumericData();
        throw;
    }
    AttachToNumericData();
    const auto rows = static_cast<std::size_t>(NrRows);
    FCState.resize(static_cast<std::size_t>(NrCols));
    FWritten.resize(static_cast<std::size_t>(NrCols));
    for (auto& column : FWritten) column.resize(rows, false);
    for (auto& column : FCState) column.resize(rows, csReset);
    FColAtt.resize(static_cast<std::size_t>(NrCols), 0);
    FRowAtt.resize(rows, 0);
    DropNamesAbove(FColName, NrCols);
    DropNamesAbove(FRowName, NrRows);
    FNrOfCols = NrCols;
    FNrOfRows = NrRows;
    if (FOnResize) FOnResize(oldCols, oldRows, NrCols, NrRows);
}

void TDataTable::ResetStores(int cols, int rows)
{
    const auto nc = static_cast<std::size_t>(cols);
    const auto nr = static_cast<std::size_t>(rows);
    std::vector<std::vector<std::uint8_t>> states;
    std::vector<std::vector<bool>> written;
    try {
        states.assign(nc, std::vector<std::uint8_t>(nr, csReset));
        written.assign(nc, std::vector<bool>(nr, false));
        FColAtt.reserve(nc);
        FRowAtt.reserve(nr);
        NumericData.Resize(cols, rows);  // last: nothing else can fail after it
    } catch (const std::bad_alloc&) {
        throw EVKRDataTableError(ComponentMessage(*this, kNoMemory));
    } catch (const EVKRMatrixError&) {
        throw EVKRDataTableError(ComponentMessage(*this, kNoMemory));
    }
    NumericData.SetOnCellWrite(nullptr);  // zeros are no values
    NumericData.Fill(0.0);
    AttachCellWrite();
    FCState.swap(states);
    FWritten.swap(written);
    FColAtt.assign(nc, 0);
    FRowAtt.assign(nr, 0);
    FColName.clear();
    FRowName.clear();
    FNrOfCols = cols;
    FNrOfRows = rows;
}

double TDataTable::GetElem(int Col, int Row) const { return NumericData.GetVal(Col, Row); }

void TDataTable::SetElem(int Col, int Row, double Value) { NumericData.SetVal(Col, Row, Value); }

bool TDataTable::IsCellEmpty(int Col, int Row) const
{
    if (!Inside(Col, Row)) return true;
    return !FWritten[static_cast<std::size_t>(Col - 1)][static_cast<std::size_t>(Row - 1)];
}

std::uint8_t TDataTable::GetCellState(int Col, int Row) const
{
    if (!Inside(Col, Row)) return 0;
    return FCState[static_cast<std::size_t>(Col - 1)][static_cast<std::size_t>(Row - 1)];
}

void TDataTable::SetCellState(int Col, int Row, std::uint8_t State)
{
    if (Inside(Col, Row)) {
        FCState[static_cast<std::size_t>(Col - 1)][static_cast<std::size_t>(Row - 1)] = State;
    }
    Changed();
}

void TDataTable::SetAllCellStates(std::uint8_t State)
{
    for (auto& column : FCState) std::fill(column.begin(), column.end(), State);
    Changed();
}

std::string TDataTable::GetColName(int Index) const
{
    if (Index < 1 || Index > FNrOfCols) return {};
    auto it = FColName.find(Index);
    return it != FColName.end() ? it->second : DefaultName('C', Index);
}

std::string TDataTable::GetRowName(int Index) const
{
    if (Index < 1 || Index > FNrOfRows) return {};
    auto it = FRowName.find(Index);
    return it != FRowName.end() ? it->second : DefaultName('R', Index);
}

void TDataTable::SetColName(int Index, std::string_view Name)
{
    if (Index < 1 || Index > FNrOfCols) return;
    FColName[Index] = CutDTName(Name);
    Changed();
}

void TDataTable::SetRowName(int Index, std::string_view Name)
{
    if (Index < 1 || Index > FNrOfRows) return;
    FRowName[Index] = CutDTName(Name);
    Changed();
}

std::uint8_t TDataTable::GetColAttrib(int Index) const
{
    if (Index < 1 || Index > FNrOfCols) return 0;
    return FColAtt[static_cast<std::size_t>(Index - 1)];
}

std::uint8_t TDataTable::GetRowAttrib(int Index) const
{
    if (Index < 1 || Index > FNrOfRows) return 0;
    return FRowAtt[static_cast<std::size_t>(Index - 1)];
}

void TDataTable::SetColAttrib(int Index, std::uint8_t Attrib)
{
    if (Index < 1 || Index > FNrOfCols) return;
    FColAtt[static_cast<std::size_t>(Index - 1)] = Attrib;
    Changed();
}

void TDataTable::SetRowAttrib(int Index, std::uint8_t Attrib)
{
    if (Index < 1 || Index > FNrOfRows) return;
    FRowAtt[static_cast<std::size_t>(Index - 1)] = Attrib;
    Changed();
}

void TDataTable::SetComment(std::string_view Comment)
{
    FComment.clear();
    for (char c : Comment) {
        if (static_cast<unsigned char>(c) >= 32) FComment += c;
    }
    Changed();
}

void TDataTable::Changed() const
{
    if (FOnChange) FOnChange();
}

void TDataTable::ExchangeDuringSort(std::uint8_t ExchgWhat, int index1, int index2, int first,
                                    int last)
{
    if (ExchgWhat == kExchgColumns) ExchangeColumns(index1, index2);
    if (ExchgWhat == kExchgRows) ExchangeRows(index1, index2);
    if (FOnSortExchange) FOnSortExchange(ExchgWhat, index1, index2, first, last);
}

void TDataTable::ExchangeColumns(int index1, int index2)
{
    if (index1 < 1 || index1 > FNrOfCols || index2 < 1 || index2 > FNrOfCols) return;
    const auto i1 = static_cast<std::size_t>(index1 - 1);
    const auto i2 = static_cast<std::size_t>(index2 - 1);
    std::swap(FCState[i1], FCState[i2]);
    std::swap(FWritten[i1], FWritten[i2]);
    std::swap(FColAtt[i1], FColAtt[i2]);
    std::string name1 = GetColName(index1);
    FColName[index1] = GetColName(index2);
    FColName[index2] = std::move(name1);
}

void TDataTable::ExchangeRows(int index1, int index2)
{
    if (index1 < 1 || index1 > FNrOfRows || index2 < 1 || index2 > FNrOfRows) return;
    const auto i1 = static_cast<std::size_t>(index1 - 1);
    const auto i2 = static_cast<std::size_t>(index2 - 1);
    for (auto& column : FCState) std::swap(column[i1], column[i2]);
    for (auto& column : FWritten) std::vector<bool>::swap(column[i1], column[i2]);
    std::swap(FRowAtt[i1], FRowAtt[i2]);
    std::string name1 = GetRowName(index1);
    FRowName[index1] = GetRowName(index2);
    FRowName[index2] = std::move(name1);
}
