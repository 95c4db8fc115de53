// TDataTable::ImportASC: a table loaded from an ASC file (the format in AscFile.h).
#include <utility>

#include "numeric/AscFile.h"
#include "numeric/DataTable.h"

int TDataTable::ImportASC(const std::string& FName)
{
    const int oldCols = FNrOfCols;
    const int oldRows = FNrOfRows;
    // While loading, the table reports once per row and its size once at the end.
    TDataTableResizeEvent onResize = std::exchange(FOnResize, nullptr);
    NumericData.SetOnChange(nullptr);
    const auto restore = [&] {
        AttachToNumericData();
        FOnResize = std::move(onResize);
        if (FOnResize) FOnResize(oldCols, oldRows, FNrOfCols, FNrOfRows);
    };
    int result = kAscOk;
    try {
        result = LoadAsc(FName);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return result;
}

int TDataTable::LoadAsc(const std::string& FName)
{
    TAscReader reader(FName);
    TAscHeader h;
    if (const int result = reader.ReadHeader(h); result != kAscOk) return result;
    if (h.NFeat < 1 || h.NObj < 1) return kAscNotCrLfOrEmpty;
    // Every number takes at least one byte: a file holding fewer bytes than the header's cells
    // ends before its last row, whatever it holds. Refused before anything is allocated.
    const auto cells = static_cast<std::uint64_t>(h.NFeat) * static_cast<std::uint64_t>(h.NObj);
    if (cells > reader.FileSize()) return kAscBadNumber;
    ResetStores(h.NFeat, h.NObj);
    FComment = h.Comment;
    return ReadAscBody(reader, h);
}

int TDataTable::ReadAscBody(TAscReader& reader, const TAscHeader& h)
{
    if (h.NamFeat)
        for (int c = 1; c <= h.NFeat; ++c) FColName[c] = CutDTName(reader.ReadName());
    for (int r = 1; r <= h.NObj; ++r) {
        const int result = ReadAscRow(reader, h, r);
        Changed();
        if (result != kAscOk) return result;
    }
    return kAscOk;
}

int TDataTable::ReadAscRow(TAscReader& reader, const TAscHeader& h, int row)
{
    if (h.ClInf) {
        std::uint8_t attrib = 0;
        if (!reader.ReadAttribute(attrib)) return kAscBadAttribute;
        FRowAtt[static_cast<std::size_t>(row - 1)] = attrib;
    }
    if (h.NamObj) FRowName[row] = CutDTName(reader.ReadName());
    for (int c = 1; c <= h.NFeat; ++c) {
        double value = 0;
        if (!reader.ReadNumber(value)) return kAscBadNumber;
        NumericData.SetVal(c, row, value);
    }
    return kAscOk;
}
