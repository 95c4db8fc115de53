// The ASC table file: the two name helpers, the header reader and TDataTable::ImportASC. Every
// file is written here, byte for byte, into a temporary folder.
#include "numeric/AscFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "numeric/DataTable.h"
#include "support/TempDir.h"

namespace {

using oxw::test::TempDir;

std::string WriteFile(const TempDir& dir, const std::string& name, const std::string& bytes)
{
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// The hand-made file: three rows with attributes and names, one row spanning two lines.
const std::string kThreeRows =
    "Two columns of test data\r\n2 columns\r\n3\r\ntrue false  TRUE\r\n"
    "1 \"first row\" 1.5 2.5\r\n2 \"second row\" -3\r\n 400\r\n3 third 5 6\r\n";

struct Events {
    int changes = 0;
    std::vector<std::tuple<int, int, int, int>> resizes;
};

void Watch(TDataTable& t, Events& e)
{
    t.SetOnChange([&e] { ++e.changes; });
    t.SetOnResize([&e](int oc, int orr, int nc, int nr) { e.resizes.emplace_back(oc, orr, nc, nr); });
}

// A table of 2 x 2 with a name, a state, an attribute and a comment of its own.
void Prefill(TDataTable& t)
{
    t.Resize(2, 2);
    t.SetElem(1, 1, 7.0);
    t.SetElem(2, 2, 8.0);
    t.SetColName(1, "Own");
    t.SetRowAttrib(2, 9);
    t.SetCellState(1, 2, TDataTable::csMarkedA);
    t.SetComment("kept");
}

void ExpectPrefilled(const TDataTable& t, const std::string& what)
{
    EXPECT_EQ(std::pair(t.GetNrCols(), t.GetNrRows()), std::pair(2, 2)) << what;
    EXPECT_EQ(t.GetElem(1, 1), 7.0) << what;
    EXPECT_EQ(t.GetElem(2, 2), 8.0) << what;
    EXPECT_EQ(t.GetColName(1), "Own") << what;
    EXPECT_EQ(t.GetRowAttrib(2), 9) << what;
    EXPECT_EQ(t.GetCellState(1, 2), TDataTable::csMarkedA) << what;
    EXPECT_EQ(t.GetComment(), "kept") << what;
}

// The table's events work again: a write through the matrix fires OnChange once, a resize
// OnResize once.
void ExpectEventsRestored(TDataTable& t, Events& e, const std::string& what)
{
    e = {};
    t.NumericData.SetVal(1, 1, t.GetElem(1, 1));
    t.SetNrCols(t.GetNrCols() + 1);
    EXPECT_EQ(e.changes, 1) << what;
    EXPECT_EQ(e.resizes.size(), 1u) << what;
}

TEST(AscFile, StripHelpers)
{
    const std::pair<std::string, std::string> blanks[] = {
        {"  a b  ", "a b"}, {"    ", ""}, {"", ""}, {"\tx ", "\tx"}, {"x", "x"}};
    for (const auto& [in, out] : blanks) EXPECT_EQ(StripLTBlanks(in), out) << in;
    const std::pair<std::string, std::string> names[] = {
        {"data/run.2024.asc", "data/run"}, {"a.b/c", "a.b/c"}, {"a.b/c.d", "a.b/c"},
        {"run.asc", "run"}, {"/tmp/x.y/.hidden", "/tmp/x.y/"}, {"plain", "plain"}, {"", ""}};
    for (const auto& [in, out] : names) EXPECT_EQ(StripExtension(in), out) << in;
}

TEST(AscFile, HeaderCodesFirstFailureWins)
{
    const TempDir dir("oxw-asc");
    struct Case {
        std::string bytes;
        int result;
        int nfeat, nobj;
        bool clinf, namfeat, namobj;
    };
    const Case cases[] = {
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
        {"c\r\n2\r\n3", -3, 2, 3, false, false, false},
        {"", -1, 0, 0, false, false, false},
    };
    for (const Case& c : cases) {
        const std::string path = WriteFile(dir, "h.asc", c.bytes);
        std::string comment = "old";
        int nfeat = 7, nobj = 7;
        bool clinf = true, namfeat = true, namobj = true;
        EXPECT_EQ(ReadHeaderOfASC(path, comment, nfeat, nobj, clinf, namfeat, namobj), c.result)
            << c.bytes;
        EXPECT_EQ(std::tuple(nfeat, nobj, clinf, namfeat, namobj),
                  std::tuple(c.nfeat, c.nobj, c.clinf, c.namfeat, c.namobj))
            << c.bytes;
        if (c.result != -4) {
            EXPECT_EQ(comment, c.bytes.substr(0, c.bytes.find('\r'))) << c.bytes;
        }
    }
    std::string comment;
    int n = 0;
    bool b = false;
    try {
        ReadHeaderOfASC((dir / "missing.asc").string(), comment, n, n, b, b, b);
        ADD_FAILURE() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.asc"), std::string::npos) << e.what();
    }
}

TEST(AscFile, ImportLoadsNamesAttributesAndRowsSpanningLines)
{
    const TempDir dir("oxw-asc");
    TDataTable t;
    Events e;
    Watch(t, e);
    ASSERT_EQ(t.ImportASC(WriteFile(dir, "three.asc", kThreeRows)), 0);
    EXPECT_EQ(t.GetComment(), "Two columns of test data");
    ASSERT_EQ(std::pair(t.GetNrCols(), t.GetNrRows()), std::pair(2, 3));
    const double values[3][2] = {{1.5, 2.5}, {-3, 400}, {5, 6}};
    const char* rowNames[] = {"first row", "second row", "third"};
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(t.GetRowAttrib(r), r);
        EXPECT_EQ(t.GetRowName(r), rowNames[r - 1]);
        for (int c = 1; c <= 2; ++c) {
            EXPECT_EQ(t.GetElem(c, r), values[r - 1][c - 1]) << c << "," << r;
            EXPECT_FALSE(t.IsCellEmpty(c, r));  // loaded cells count as written
        }
    }
    EXPECT_EQ(t.GetColName(1), "C-1");
    EXPECT_EQ(t.GetColName(2), "C-2");
    EXPECT_EQ(e.changes, 3);  // one per row
    ASSERT_EQ(e.resizes.size(), 1u);
    EXPECT_EQ(e.resizes[0], std::make_tuple(1, 1, 2, 3));
    ExpectEventsRestored(t, e, "after success");

    // Column names after the header; attributes rounded (halves to even) to their low 8 bits.
    // A table of the same size gives up its own names, states and attributes.
    TDataTable u;
    Prefill(u);
    const std::string named =
        "c\r\n2\r\n3\r\nTRUE TRUE FALSE\r\n\"Level dB\" Time\r\n-1 1 2\r\n256 3 4\r\n300.5 5 6\r\n";
    ASSERT_EQ(u.ImportASC(WriteFile(dir, "named.asc", named)), 0);
    EXPECT_EQ(u.GetColName(1), "Level dB");
    EXPECT_EQ(u.GetColName(2), "Time");
    EXPECT_EQ(std::tuple(u.GetRowAttrib(1), u.GetRowAttrib(2), u.GetRowAttrib(3)),
              std::tuple(255, 0, 44));
    EXPECT_EQ(u.GetRowName(1), "R-1");
    EXPECT_EQ(u.GetCellState(1, 2), 0);
    EXPECT_EQ(u.GetElem(2, 3), 6.0);
    EXPECT_EQ(u.GetComment(), "c");
}

TEST(AscFile, ImportFailuresLeaveTheTableOrStopAtTheRow)
{
    const TempDir dir("oxw-asc");
    const std::string head = "c\r\n2\r\n2\r\nTRUE FALSE FALSE\r\n";
    // Failures before any cell is read: the table stays as it was.
    const std::pair<std::string, int> refused[] = {
        {"c\n2\n3\nTRUE FALSE TRUE\n1 a 1 2\n", -4},
        {"c\r\n2\r\n0\r\nTRUE FALSE FALSE\r\n", -4},
        {"c\r\n0\r\n3\r\nTRUE FALSE FALSE\r\n", -4},
        {"c\r\n-2\r\n3\r\nTRUE FALSE FALSE\r\n1 1 2\r\n", -4},
        {"c\r\n100000\r\n100000\r\nFALSE FALSE FALSE\r\n", -6},  // 10^10 cells in 40 bytes
        {"c\r\n2\r\n3\r\nTRUE, FALSE TRUE\r\n", -3},
        {"c\r\n2\r\nx\r\nTRUE FALSE TRUE\r\n", -2},
    };
    for (const auto& [bytes, result] : refused) {
        TDataTable t;
        Prefill(t);
        Events e;
        Watch(t, e);
        EXPECT_EQ(t.ImportASC(WriteFile(dir, "r.asc", bytes)), result) << bytes;
        ExpectPrefilled(t, bytes);
        EXPECT_EQ(e.changes, 0) << bytes;
        ExpectEventsRestored(t, e, bytes);
    }

    // Failures inside the rows: the rows before are loaded, the rest keep zeros.
    const std::pair<std::string, int> stopped[] = {
        {head + "1 1 2\r\nabc 3 4\r\n", -5}, {head + "1 1 2\r\n1e30 3 4\r\n", -5},
        {head + "1 1 2\r\nnan 3 4\r\n", -5}, {head + "1 1 2\r\ninf 3 4\r\n", -5},
        {head + "1 1 2\r\n2 x 4\r\n", -6},   {head + "1 1 2\r\n2 nan 4\r\n", -6},
        {head + "1 1 2\r\n2 inf 4\r\n", -6}, {head + "1 1 2\r\n2 3,5 4\r\n", -6},
        {head + "1 1 2\r\n2 1e999 4\r\n", -6}, {head + "1 1 2\r\n2\r\n", -6},
    };
    for (const auto& [bytes, result] : stopped) {
        TDataTable t;
        Events e;
        Watch(t, e);
        EXPECT_EQ(t.ImportASC(WriteFile(dir, "s.asc", bytes)), result) << bytes;
        EXPECT_EQ(std::tuple(t.GetElem(1, 1), t.GetElem(2, 1), t.GetRowAttrib(1)),
                  std::tuple(1.0, 2.0, 1)) << bytes;
        EXPECT_EQ(std::tuple(t.GetElem(1, 2), t.GetElem(2, 2)), std::tuple(0.0, 0.0)) << bytes;
        EXPECT_EQ(e.changes, 2) << bytes;  // after row 1 and after the failing row 2
        EXPECT_EQ(e.resizes, (std::vector{std::make_tuple(1, 1, 2, 2)})) << bytes;
        ExpectEventsRestored(t, e, bytes);
    }

    // A word in row 2: row 1 loaded, rows 2 onwards zero, row 3 keeps its default name.
    TDataTable t;
    ASSERT_EQ(t.ImportASC(WriteFile(dir, "w.asc", "c\r\n2\r\n3\r\nFALSE FALSE TRUE\r\n"
                                                  "a 1 2\r\nb x 4\r\nc 5 6\r\n")),
              -6);
    EXPECT_EQ(std::tuple(t.GetElem(1, 1), t.GetElem(2, 1), t.GetElem(1, 3), t.GetElem(2, 3)),
              std::tuple(1.0, 2.0, 0.0, 0.0));
    EXPECT_EQ(t.GetRowName(3), "R-3");
    EXPECT_TRUE(t.IsCellEmpty(1, 3));
    EXPECT_EQ(t.GetNrRows(), 3);

    // A file that is not there: an exception naming it, the table as before, events back.
    TDataTable m;
    Prefill(m);
    Events e;
    Watch(m, e);
    try {
        m.ImportASC((dir / "gone.asc").string());
        ADD_FAILURE() << "no exception";
    } catch (const EInOutError& x) {
        EXPECT_NE(std::string(x.what()).find("gone.asc"), std::string::npos) << x.what();
    }
    ExpectPrefilled(m, "missing file");
    ExpectEventsRestored(m, e, "missing file");
}

}  // namespace
