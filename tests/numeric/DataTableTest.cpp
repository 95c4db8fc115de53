// TDataTable: 1-based named table of doubles behind the table editor.
#include "numeric/DataTable.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct Events {
    int changes = 0;
    std::vector<std::tuple<int, int, int, int>> resizes;
};

void Watch(TDataTable& t, Events& e)
{
    t.SetOnChange([&e] { ++e.changes; });
    t.SetOnResize([&e](int oc, int orr, int nc, int nr) { e.resizes.emplace_back(oc, orr, nc, nr); });
}

TEST(DataTable, ReadsOutsideGiveZeroAndWritesOutsideAreIgnoredWithoutEvent)
{
    TDataTable t;
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
    EXPECT_EQ(e.changes, 0);
    EXPECT_EQ(t.GetColName(0), "");
    EXPECT_EQ(t.GetRowName(5), "");
    EXPECT_EQ(t.GetColAttrib(4), 0);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 4; ++r) EXPECT_EQ(t.GetElem(c, r), 10.0 * c + r);

    // An empty table reads 0 and ignores writes.
    t.Resize(2, 0);
    t.SetElem(1, 1, 5.0);
    EXPECT_EQ(t.GetElem(1, 1), 0.0);
    t.SetNrRows(-3);  // taken as 0: unchanged
    EXPECT_EQ(e.changes, 0);
    EXPECT_EQ(e.resizes.size(), 1u);
}

TEST(DataTable, EveryStoredWriteFiresOnChange)
{
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
    EXPECT_EQ(e.changes, 8);
    EXPECT_EQ(t.GetElem(1, 1), 1.25);
    EXPECT_EQ(t.GetComment(), "abcd");  // control characters dropped
    EXPECT_EQ(t.GetCellState(2, 1), TDataTable::csMarkedA);
    EXPECT_TRUE(e.resizes.empty());
}

TEST(DataTable, ResizeKeepsValuesNamesAndAttributesAndReportsOnce)
{
    TDataTable t;
    t.Resize(2, 3);
    t.SetElem(2, 3, 23.0);
    t.SetElem(1, 1, 11.0);
    t.SetColName(2, "Level");
    t.SetColAttrib(2, 5);
    Events e;
    Watch(t, e);

    t.SetNrCols(4);
    t.SetNrRows(3);  // unchanged: no event
    ASSERT_EQ(e.resizes.size(), 1u);
    EXPECT_EQ(e.resizes[0], std::make_tuple(2, 3, 4, 3));
    EXPECT_EQ(e.changes, 0);
    EXPECT_EQ(t.GetColName(2), "Level");
    EXPECT_EQ(t.GetColName(4), "C-4");
    EXPECT_EQ(t.GetElem(2, 3), 23.0);
    EXPECT_EQ(t.GetColAttrib(2), 5);

    // Shrinking drops cells and names; growing back gives zeros and default names.
    t.Resize(1, 2);
    t.Resize(2, 3);
    EXPECT_EQ(e.resizes.back(), std::make_tuple(1, 2, 2, 3));
    EXPECT_EQ(t.GetElem(1, 1), 11.0);
    EXPECT_EQ(t.GetElem(2, 3), 0.0);
    EXPECT_EQ(t.GetColName(2), "C-2");
    EXPECT_EQ(t.GetColAttrib(2), 0);
}

TEST(DataTable, AppendingRowsOneByOneKeepsEveryRow)
{
    // The sound-quality table grows this way: write the last row, then add an empty one.
    TDataTable t;
    t.Resize(3, 1);
    for (int i = 1; i <= 2000; ++i) {
        const int last = t.GetNrRows();
        t.SetElem(1, last, 0.05 * i);
        t.SetNrRows(last + 1);
    }
    ASSERT_EQ(t.GetNrRows(), 2001);
    EXPECT_DOUBLE_EQ(t.GetElem(1, 1), 0.05);
    EXPECT_DOUBLE_EQ(t.GetElem(1, 2000), 100.0);
    EXPECT_EQ(t.GetRowName(2001), "R-2001");
}

TEST(DataTable, NumbersLiveInNumericDataAndItsWritesReachTheTable)
{
    TDataTable t;
    t.Resize(12, 2);
    Events e;
    Watch(t, e);
    t.NumericData.SetVal(3, 2, 4.5);
    EXPECT_EQ(e.changes, 1);
    EXPECT_EQ(t.GetElem(3, 2), 4.5);
    t.SetElem(1, 1, 2.0);
    EXPECT_EQ(t.NumericData.GetVal(1, 1), 2.0);
    EXPECT_EQ(e.changes, 2);
    t.NumericData.SetVal(13, 1, 1.0);  // outside: no event
    EXPECT_EQ(e.changes, 2);

    // Sizes follow the table; a change of size is no change of data.
    t.Resize(4, 3);
    EXPECT_EQ(std::pair(t.NumericData.NrOfColumns(), t.NumericData.NrOfRows()), std::pair(4, 3));
    EXPECT_EQ(e.changes, 2);
    EXPECT_EQ(e.resizes, (std::vector{std::make_tuple(12, 2, 4, 3)}));

    // Default names carry the number without padding.
    t.Resize(12, 10);
    for (int i : {1, 9, 10, 12}) EXPECT_EQ(t.GetColName(i), "C-" + std::to_string(i));
    EXPECT_EQ(t.GetRowName(10), "R-10");
}

TEST(DataTable, IsCellEmptyTellsUnwrittenCells)
{
    TDataTable t;
    t.Resize(2, 1);
    t.SetElem(1, 1, 0.0);  // a written zero is not empty
    EXPECT_FALSE(t.IsCellEmpty(1, 1));
    EXPECT_TRUE(t.IsCellEmpty(2, 1));
    t.SetNrRows(2);
    EXPECT_FALSE(t.IsCellEmpty(1, 1));
    EXPECT_TRUE(t.IsCellEmpty(1, 2));
    EXPECT_TRUE(t.IsCellEmpty(3, 1));  // outside
    t.SetNrRows(0);
    t.SetNrRows(1);
    EXPECT_TRUE(t.IsCellEmpty(1, 1));  // dropped and added again
    t.NumericData.SetVal(2, 1, 1.0);   // a store through the matrix is a write too
    EXPECT_FALSE(t.IsCellEmpty(2, 1));
    t.NumericData.Fill(0.0);
    EXPECT_FALSE(t.IsCellEmpty(1, 1));
}

TEST(DataTable, NewTableIsOneCellAndNamesAreCutToFiftyCharacters)
{
    TDataTable t;
    EXPECT_EQ(std::pair(t.GetNrCols(), t.GetNrRows()), std::pair(1, 1));
    EXPECT_EQ(t.GetRowName(1), "R-1");
    t.SetColName(1, std::string(60, 'x'));
    EXPECT_EQ(t.GetColName(1), std::string(50, 'x'));
    // Characters, not bytes: 60 two-byte letters keep 50 letters (100 bytes).
    std::string umlauts;
    for (int i = 0; i < 60; ++i) umlauts += "\xC3\xA4";
    t.SetRowName(1, umlauts);
    EXPECT_EQ(t.GetRowName(1).size(), 100u);
}

}  // namespace
