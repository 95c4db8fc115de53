// TDataTable, the 1-based named table of doubles behind the table editor, and the ASC table file
// it loads (the name helpers, the header reader, ImportASC). Every file is written here, byte for
// byte, into a temporary folder.
#include "numeric/DataTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "numeric/AscFile.h"
#include "support/TempDir.h"

namespace {

using oxw::test::TempDir;
using Resize = std::tuple<int, int, int, int>;

struct Events {
    int changes = 0;
    std::vector<Resize> resizes;
};

void Watch(TDataTable& t, Events& e) {
    t.SetOnChange([&e] { ++e.changes; });
    t.SetOnResize([&e](int oc, int orr, int nc, int nr) { e.resizes.emplace_back(oc, orr, nc, nr); });
}

std::string WriteFile(const TempDir& dir, const std::string& name, const std::string& bytes) {
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(DataTable, ReadsOutsideGiveZeroAndWritesOutsideAreIgnoredWithoutEvent) {
    TDataTable t;
    EXPECT_EQ(std::pair(t.GetNrCols(), t.GetNrRows()), std::pair(1, 1));  // a new table
    t.Resize(3, 4);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 4; ++r) t.SetElem(c, r, 10.0 * c + r);
    Events e;
    Watch(t, e);
    for (auto [c, r] : {std::pair{0, 1}, {4, 1}, {1, 0}, {1, 5}, {-1, -1}, {4, 5}, {3, 5}}) {
        t.SetElem(c, r, 7.5);
        EXPECT_EQ(t.GetElem(c, r), 0.0) << c << "," << r;
        EXPECT_EQ(t.GetCellState(c, r), 0);
    }
    t.SetColName(0, "x");
    t.SetRowName(5, "x");
    t.SetColAttrib(4, 3);
    t.SetRowAttrib(0, 3);
    EXPECT_EQ(std::tuple(t.GetColName(0), t.GetRowName(5), t.GetColAttrib(4)), std::tuple("", "", 0));
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 4; ++r) EXPECT_EQ(t.GetElem(c, r), 10.0 * c + r);
    // An empty table reads 0 and ignores writes; a negative size counts as 0.
    t.Resize(2, 0);
    t.SetElem(1, 1, 5.0);
    EXPECT_EQ(t.GetElem(1, 1), 0.0);
    t.SetNrRows(-3);
    EXPECT_EQ(e.changes, 0);
    EXPECT_EQ(e.resizes, (std::vector{Resize(3, 4, 2, 0)}));
}

TEST(DataTable, EveryStoredWriteFiresOnChange) {
    TDataTable t;
    t.Resize(2, 2);
    Events e;
    Watch(t, e);
    t.SetCellState(1, 1, TDataTable::csNAN);
    t.SetElem(1, 1, 1.25);
    t.SetElem(1, 1, 1.25);  // the same value is still a stored write
    EXPECT_EQ(t.GetCellState(1, 1), TDataTable::csNAN);  // values keep their cell state
    t.SetColName(1, "Time");
    t.SetRowAttrib(2, 9);
    t.SetCellState(9, 9, 1);  // outside: fires anyway, stores nothing
    t.SetAllCellStates(TDataTable::csMarkedA);
    t.SetComment(std::string("a\r\nb\tc") + char(31) + "d");
    t.NumericData.SetVal(2, 2, 4.5);  // a write through the matrix reaches the table
    t.NumericData.SetVal(13, 1, 1.0);  // outside: no event
    EXPECT_EQ(e.changes, 9);
    EXPECT_EQ(std::pair(t.GetElem(1, 1), t.GetElem(2, 2)), std::pair(1.25, 4.5));
    EXPECT_EQ(t.GetComment(), "abcd");  // control characters dropped
    EXPECT_EQ(t.GetCellState(2, 1), TDataTable::csMarkedA);
    EXPECT_TRUE(e.resizes.empty());
}

TEST(DataTable, ResizeKeepsValuesNamesAndAttributesAndReportsOnce) {
    TDataTable t;
    t.Resize(2, 3);
    t.SetElem(2, 3, 23.0);
    t.SetElem(1, 1, 11.0);
    t.SetColName(2, "Level");
    t.SetColAttrib(2, 5);
    Events e;
    Watch(t, e);
    t.SetNrCols(12);
    t.SetNrRows(3);  // unchanged: no event
    EXPECT_EQ(e.resizes, (std::vector{Resize(2, 3, 12, 3)}));
    EXPECT_EQ(e.changes, 0);  // a change of size is no change of data
    EXPECT_EQ(std::pair(t.NumericData.NrOfColumns(), t.NumericData.NrOfRows()), std::pair(12, 3));
    EXPECT_EQ(std::tuple(t.GetColName(2), t.GetElem(2, 3), t.GetColAttrib(2)),
              std::tuple("Level", 23.0, 5));
    // Default names carry the number without padding.
    for (int i : {1, 9, 10, 12}) EXPECT_EQ(t.GetColName(i), "C-" + std::to_string(i));
    EXPECT_EQ(t.GetRowName(3), "R-3");
    // Shrinking drops cells and names; growing back gives zeros and default names.
    t.Resize(1, 2);
    t.Resize(2, 3);
    EXPECT_EQ(e.resizes.back(), Resize(1, 2, 2, 3));
    EXPECT_EQ(std::tuple(t.GetElem(1, 1), t.GetElem(2, 3), t.GetColName(2), t.GetColAttrib(2)),
              std::tuple(11.0, 0.0, "C-2", 0));
}

TEST(DataTable, IsCellEmptyTellsUnwrittenCells) {
    TDataTable t;
    t.Resize(2, 1);
    t.SetElem(1, 1, 0.0);  // a written zero is not empty; cells outside are
    t.SetNrRows(2);
    EXPECT_EQ(std::tuple(t.IsCellEmpty(1, 1), t.IsCellEmpty(2, 1), t.IsCellEmpty(1, 2),
                         t.IsCellEmpty(3, 1)),
              std::tuple(false, true, true, true));
    t.SetNrRows(0);
    t.SetNrRows(1);
    EXPECT_TRUE(t.IsCellEmpty(1, 1));  // dropped and added again
    t.NumericData.SetVal(2, 1, 1.0);   // a store through the matrix is a write too
    EXPECT_FALSE(t.IsCellEmpty(2, 1));
    t.NumericData.Fill(0.0);
    EXPECT_FALSE(t.IsCellEmpty(1, 1));
}

// A sort's exchange of two whole rows or columns carries their bookkeeping along, without
// OnChange, and is passed on; another code or an index outside changes nothing.
TEST(DataTable, SortExchangeCarriesNamesAttributesAndStates) {
    TDataTable t;
    t.Resize(2, 2);
    t.SetColName(1, "Time");
    t.SetColAttrib(2, 4);
    t.SetRowName(2, "Loud");
    t.SetRowAttrib(1, 7);
    t.SetCellState(1, 2, TDataTable::csNAN);
    t.SetElem(2, 1, 1.0);
    Events e;
    Watch(t, e);
    std::vector<int> passedOn;
    t.SetOnSortExchange([&](std::uint8_t w, int i1, int i2, int f, int l) { passedOn = {w, i1, i2, f, l}; });
    auto look = [&t] {  // column and row names with attributes, then the states of cells 11 12 21 22, e(mpty)
        std::string s;
        for (int i : {1, 2})
            s += t.GetColName(i) + std::to_string(t.GetColAttrib(i)) + " " + t.GetRowName(i) + std::to_string(t.GetRowAttrib(i)) + " ";
        for (int cr : {11, 12, 21, 22}) s += std::to_string(t.GetCellState(cr / 10, cr % 10)) + "ve"[t.IsCellEmpty(cr / 10, cr % 10)];
        return s;
    };
    const struct { std::uint8_t what; int i1, i2; const char* after; } cases[] = {
        {kExchgElems, 1, 2, "Time0 R-17 C-24 Loud0 0e1e0v0e"}, {kExchgRows, 1, 2, "Time0 Loud0 C-24 R-17 1e0e0e0v"},
        {kExchgColumns, 2, 1, "C-24 Loud0 Time0 R-17 0e0v1e0e"}, {kExchgRows, 0, 2, "C-24 Loud0 Time0 R-17 0e0v1e0e"},
        {kExchgColumns, 1, 3, "C-24 Loud0 Time0 R-17 0e0v1e0e"}};
    for (const auto& c : cases) {
        t.NumericData.OnSortExchange()(c.what, c.i1, c.i2, 5, 6);
        EXPECT_EQ(look(), c.after) << int(c.what) << " " << c.i1 << " " << c.i2;
        EXPECT_EQ(passedOn, (std::vector<int>{c.what, c.i1, c.i2, 5, 6}));
    }
    EXPECT_EQ(std::pair(e.changes, t.GetElem(2, 1)), std::pair(0, 1.0));  // the numbers are the sort's to move
}

TEST(DataTable, NamesAreCutToFiftyCharacters) {
    TDataTable t;
    for (std::size_t n : {49, 50, 51, 60}) {
        t.SetColName(1, std::string(n, 'x'));
        EXPECT_EQ(t.GetColName(1), std::string(std::min<std::size_t>(n, 50), 'x')) << n;
    }
    // Characters, not bytes: 60 two-byte letters keep 50 letters (100 bytes).
    std::string umlauts;
    for (int i = 0; i < 60; ++i) umlauts += "\xC3\xA4";
    t.SetRowName(1, umlauts);
    EXPECT_EQ(t.GetRowName(1), umlauts.substr(0, 100));
}

TEST(AscFile, StripHelpers) {
    const std::pair<std::string, std::string> blanks[] = {
        {"  a b  ", "a b"}, {"    ", ""}, {"", ""}, {"\tx ", "\tx"}, {"x", "x"}};
    for (const auto& [in, out] : blanks) EXPECT_EQ(StripLTBlanks(in), out) << in;
    const std::pair<std::string, std::string> names[] = {
        {"data/run.2024.asc", "data/run"}, {"a.b/c", "a.b/c"}, {"a.b/c.d", "a.b/c"},
        {"run.asc", "run"}, {"/tmp/x.y/.hidden", "/tmp/x.y/"}, {"plain", "plain"}, {"", ""}};
    for (const auto& [in, out] : names) EXPECT_EQ(StripExtension(in), out) << in;
}

TEST(AscFile, HeaderCodesFirstFailureWins) {
    const TempDir dir("oxw-asc");
    const struct {
        std::string bytes;
        int result, nfeat, nobj;
        bool clinf, namfeat, namobj;
    } cases[] = {
        {"c\r\n2 columns\r\n3\r\ntrue false  TRUE\r\n", 0, 2, 3, true, false, true},
        {"c\r\n+2\r\n-3 rows\r\nTRUEFALSETRUE\r\n", 0, 2, -3, true, false, true},
        {"c\r2\r3\rFALSE TRUE FALSE\r", 0, 2, 3, false, true, false},  // line ends CR alone
        // LF line ends: the whole file is the first line, which holds an LF.
        {"c\n2\n3\nTRUE TRUE TRUE\n", -4, 0, 0, false, false, false},
        {"c\r\ntwo\r\n3\r\nTRUE TRUE TRUE\r\n", -1, 0, 0, false, false, false},
        {"c\r\n2.5\r\n3\r\nTRUE TRUE TRUE\r\n", -1, 0, 0, false, false, false},
        {"c\r\n99999999999\r\n3\r\nTRUE TRUE TRUE\r\n", -1, 0, 0, false, false, false},
        {"c\r\n2\r\n\r\nTRUE TRUE TRUE\r\n", -2, 2, 0, false, false, false},
        {"c\r\n2\r\n3\r\nTRUE, FALSE TRUE\r\n", -3, 2, 3, true, false, false},
        {"c\r\n2\r\n3\r\nTRUE FALSE\r\n", -3, 2, 3, true, false, false},
        {"c\r\n2\r\n3", -3, 2, 3, false, false, false}, {"", -1, 0, 0, false, false, false},
    };
    for (const auto& c : cases) {
        std::string comment = "old";
        int nfeat = 7, nobj = 7;
        bool clinf = true, namfeat = true, namobj = true;
        EXPECT_EQ(ReadHeaderOfASC(WriteFile(dir, "h.asc", c.bytes), comment, nfeat, nobj, clinf,
                                  namfeat, namobj),
                  c.result) << c.bytes;
        EXPECT_EQ(std::tuple(nfeat, nobj, clinf, namfeat, namobj),
                  std::tuple(c.nfeat, c.nobj, c.clinf, c.namfeat, c.namobj)) << c.bytes;
        if (c.result != -4) {
            EXPECT_EQ(comment, c.bytes.substr(0, c.bytes.find('\r'))) << c.bytes;
        }
    }
}

// Rows with attributes and names, one spanning two lines, numbers with exponents of either case;
// then column names, attributes rounded (halves to even) to their low 8 bits, into a table of
// the same size that gives up its own names, states and attributes.
TEST(AscFile, ImportLoadsNamesAttributesAndRowsSpanningLines) {
    const TempDir dir("oxw-asc");
    TDataTable t;
    Events e;
    Watch(t, e);
    ASSERT_EQ(t.ImportASC(WriteFile(dir, "three.asc",
                                    "Two columns of test data\r\n2 columns\r\n3\r\ntrue false  TRUE\r\n"
                                    "1 \"first row\" 1.5 2.5\r\n2e0 \"second row\" -3\r\n 4e2\r\n"
                                    "3 third 5 6E-1\r\n")),
              0);
    EXPECT_EQ(t.GetComment(), "Two columns of test data");
    ASSERT_EQ(std::pair(t.GetNrCols(), t.GetNrRows()), std::pair(2, 3));
    const double values[3][2] = {{1.5, 2.5}, {-3, 400}, {5, 0.6}};
    const char* rowNames[] = {"first row", "second row", "third"};
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(t.GetRowAttrib(r), r);
        EXPECT_EQ(t.GetRowName(r), rowNames[r - 1]);
        for (int c = 1; c <= 2; ++c) {
            EXPECT_EQ(t.GetElem(c, r), values[r - 1][c - 1]) << c << "," << r;
            EXPECT_FALSE(t.IsCellEmpty(c, r));  // loaded cells count as written
        }
    }
    EXPECT_EQ(std::tuple(t.GetColName(1), t.GetColName(2)), std::tuple("C-1", "C-2"));
    EXPECT_EQ(e.changes, 3);  // one per row
    EXPECT_EQ(e.resizes, (std::vector{Resize(1, 1, 2, 3)}));

    TDataTable u;
    u.Resize(2, 3);
    u.SetColName(1, "Own");
    u.SetCellState(1, 2, TDataTable::csMarkedA);
    u.SetRowAttrib(2, 9);
    ASSERT_EQ(u.ImportASC(WriteFile(dir, "named.asc", "c\r\n2\r\n3\r\nTRUE TRUE FALSE\r\n"
                                                      "\"Level dB\" Time\r\n-1 1 2\r\n256 3 4\r\n"
                                                      "300.5 5 6\r\n")),
              0);
    EXPECT_EQ(std::tuple(u.GetColName(1), u.GetColName(2)), std::tuple("Level dB", "Time"));
    EXPECT_EQ(std::tuple(u.GetRowAttrib(1), u.GetRowAttrib(2), u.GetRowAttrib(3)),
              std::tuple(255, 0, 44));
    EXPECT_EQ(std::tuple(u.GetRowName(1), u.GetCellState(1, 2), u.GetElem(2, 3), u.GetComment()),
              std::tuple("R-1", 0, 6.0, "c"));
}

// A table of 2 x 2 with a name, a state, an attribute and a comment of its own, which a refused
// file leaves as it was; afterwards the table's events work again.
void ExpectRefusedLeavesTheTable(const std::string& path, int result) {
    TDataTable t;
    t.Resize(2, 2);
    t.SetElem(2, 2, 8.0);
    t.SetColName(1, "Own");
    t.SetRowAttrib(2, 9);
    t.SetCellState(1, 2, TDataTable::csMarkedA);
    t.SetComment("kept");
    Events e;
    Watch(t, e);
    t.NumericData.SetOnSortExchange(nullptr);
    try {
        EXPECT_EQ(t.ImportASC(path), result) << path;
    } catch (const EInOutError& x) {  // a file that is not there: an exception naming it
        EXPECT_EQ(result, 1) << path;
        EXPECT_NE(std::string(x.what()).find(path), std::string::npos) << x.what();
    }
    EXPECT_EQ(std::tuple(t.GetNrCols(), t.GetNrRows(), t.GetElem(2, 2), t.GetColName(1),
                         t.GetRowAttrib(2), t.GetCellState(1, 2), t.GetComment()),
              std::tuple(2, 2, 8.0, "Own", 9, TDataTable::csMarkedA, "kept")) << path;
    EXPECT_EQ(e.changes, 0) << path;
    e = {};
    t.NumericData.SetVal(1, 1, 1.0);
    t.SetNrCols(3);
    EXPECT_EQ(std::pair(e.changes, e.resizes.size()), std::pair(1, std::size_t{1})) << path;
    t.NumericData.OnSortExchange()(kExchgRows, 1, 2, 0, 0);  // the sort's exchanges reach the table again
    EXPECT_EQ(t.GetRowAttrib(1), 9) << path;
}

TEST(AscFile, ImportFailuresLeaveTheTableOrStopAtTheRow) {
    const TempDir dir("oxw-asc");
    // Failures before any cell is read. The header below is 28 bytes: 28 cells may stand in
    // them (one byte each), 29 may not.
    const std::pair<std::string, int> refused[] = {
        {"c\n2\n3\nTRUE FALSE TRUE\n1 a 1 2\n", -4}, {"c\r\n2\r\n0\r\nTRUE FALSE FALSE\r\n", -4},
        {"c\r\n0\r\n3\r\nTRUE FALSE FALSE\r\n", -4}, {"c\r\n-2\r\n3\r\nTRUE FALSE FALSE\r\n1 1 2\r\n", -4},
        {"c\r\n29\r\n1\r\nTRUE FALSE FALSE\r\n", -6},
        {"c\r\n100000\r\n100000\r\nFALSE FALSE FALSE\r\n", -6},  // 10^10 cells in 40 bytes
        {"c\r\n2\r\n3\r\nTRUE, FALSE TRUE\r\n", -3}, {"c\r\n2\r\nx\r\nTRUE FALSE TRUE\r\n", -2},
    };
    for (const auto& [bytes, result] : refused)
        ExpectRefusedLeavesTheTable(WriteFile(dir, "r.asc", bytes), result);
    ExpectRefusedLeavesTheTable((dir / "gone.asc").string(), 1);
    TDataTable full;
    EXPECT_EQ(full.ImportASC(WriteFile(dir, "f.asc", "c\r\n28\r\n1\r\nTRUE FALSE FALSE\r\n")), -5);
    EXPECT_EQ(full.GetNrCols(), 28);

    // Failures inside the rows: the rows before are loaded, the rest keep zeros.
    const std::string head = "c\r\n2\r\n2\r\nTRUE FALSE FALSE\r\n1 1 2\r\n";
    const std::pair<std::string, int> stopped[] = {
        {"abc 3 4\r\n", -5}, {"1e30 3 4\r\n", -5}, {"nan 3 4\r\n", -5}, {"inf 3 4\r\n", -5},
        {"2 x 4\r\n", -6}, {"2 nan 4\r\n", -6}, {"2 inf 4\r\n", -6}, {"2 3,5 4\r\n", -6},
        {"2 1e999 4\r\n", -6}, {"2\r\n", -6},
    };
    for (const auto& [row, result] : stopped) {
        TDataTable t;
        Events e;
        Watch(t, e);
        EXPECT_EQ(t.ImportASC(WriteFile(dir, "s.asc", head + row)), result) << row;
        EXPECT_EQ(std::tuple(t.GetElem(1, 1), t.GetElem(2, 1), t.GetRowAttrib(1), t.GetElem(1, 2),
                             t.GetElem(2, 2)),
                  std::tuple(1.0, 2.0, 1, 0.0, 0.0)) << row;
        EXPECT_EQ(e.changes, 2) << row;  // after row 1 and after the failing row 2
        EXPECT_EQ(e.resizes, (std::vector{Resize(1, 1, 2, 2)})) << row;
    }
    // A word in row 2: rows 2 onwards zero, row 3 keeps its default name and stays empty.
    TDataTable t;
    ASSERT_EQ(t.ImportASC(WriteFile(dir, "w.asc", "c\r\n2\r\n3\r\nFALSE FALSE TRUE\r\n"
                                                  "a 1 2\r\nb x 4\r\nc 5 6\r\n")),
              -6);
    EXPECT_EQ(std::tuple(t.GetElem(2, 1), t.GetElem(1, 3), t.GetRowName(3), t.IsCellEmpty(1, 3)),
              std::tuple(2.0, 0.0, "R-3", true));
}

}  // namespace
