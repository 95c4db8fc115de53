// TNTabEd: the table editor over a TDataTable; 1-based cells, outside reads 0, outside writes
// ignored, resizing keeps values.
#include "controls/NTabEd.h"

#include <QAbstractItemModel>

#include <gtest/gtest.h>

#include <utility>

namespace {

QString Cell(const TNTabEd& ed, int gridRow, int gridCol)
{
    const QAbstractItemModel* m = ed.model();
    return m->data(m->index(gridRow, gridCol)).toString();
}

QString ColumnHeader(const TNTabEd& ed, int gridCol)
{
    return ed.model()->headerData(gridCol, Qt::Horizontal).toString();
}

TEST(NTabEd, NewEditorShowsThreeByFourZerosWithDefaultNames)
{
    TNTabEd ed;
    EXPECT_EQ(std::pair(ed.GetNrCols(), ed.GetNrRows()), std::pair(3, 4));
    ASSERT_EQ(ed.model()->rowCount(), 4);
    ASSERT_EQ(ed.model()->columnCount(), 4);  // the attribute column, then 3 data columns
    EXPECT_EQ(ColumnHeader(ed, 0), "Attrib");
    EXPECT_EQ(ColumnHeader(ed, 3), "C-3");
    EXPECT_EQ(ed.model()->headerData(3, Qt::Vertical).toString(), "R-4");
    EXPECT_EQ(Cell(ed, 3, 3), "0.000");
    EXPECT_EQ(Cell(ed, 0, 0), "0");  // row attribute
}

TEST(NTabEd, ElementsInsideAreStoredAndOutsideIgnored)
{
    TNTabEd ed;
    int changed = 0;
    QObject::connect(&ed, &TNTabEd::Changed, [&] { ++changed; });
    ed.SetElem(2, 3, 61.25);
    EXPECT_EQ(ed.GetElem(2, 3), 61.25);
    EXPECT_EQ(Cell(ed, 2, 2), "61.250");
    EXPECT_EQ(changed, 1);

    ed.SetElem(3, 4, 1.5);  // the corner cell: outside reads must not reach it
    for (auto [c, r] : {std::pair{0, 1}, {4, 4}, {3, 0}, {1, 5}, {-2, 3}}) {
        ed.SetElem(c, r, 9.0);
        EXPECT_EQ(ed.GetElem(c, r), 0.0) << c << "," << r;
    }
    EXPECT_EQ(ed.GetElem(3, 4), 1.5);
    EXPECT_EQ(changed, 2);  // writes outside raise no event
}

TEST(NTabEd, SetNrRowsKeepsValuesAndFollowsInTheGrid)
{
    TNTabEd ed;
    ed.SetNrCols(2);
    ed.SetNrRows(1);
    int setups = 0;
    QObject::connect(&ed, &TNTabEd::ChangedSetup, [&] { ++setups; });
    // Append rows the way the analysis fills the sound-quality table.
    for (int i = 1; i <= 500; ++i) {
        const int last = ed.GetNrRows();
        ed.SetElem(1, last, i * 0.05);
        ed.SetElem(2, last, 50.0 + i);
        ed.SetNrRows(last + 1);
    }
    EXPECT_EQ(setups, 500);
    ASSERT_EQ(ed.GetNrRows(), 501);
    EXPECT_EQ(ed.model()->rowCount(), 501);
    EXPECT_DOUBLE_EQ(ed.GetElem(1, 500), 25.0);
    EXPECT_TRUE(ed.Data().IsCellEmpty(1, 501));

    // Removing the trailing row keeps the others.
    ed.SetNrRows(500);
    EXPECT_EQ(ed.model()->rowCount(), 500);
    EXPECT_EQ(ed.GetElem(2, 501), 0.0);
    EXPECT_EQ(Cell(ed, 499, 2), "550.000");
}

TEST(NTabEd, DecimalsAreClampedAndInheritedByAddedColumns)
{
    TNTabEd ed;
    const struct {
        int col, set, expected;
    } cases[] = {{2, 12, 8}, {2, -5, -1}, {2, 0, 0}, {0, 2, 0}, {3, 1, 1}};
    for (const auto& c : cases) {
        ed.SetDecPlaces(c.col, c.set);
        EXPECT_EQ(ed.GetDecPlaces(c.col), c.expected) << c.col << ": " << c.set;
    }
    ed.SetDecPlaces(2, -1);
    ed.SetElem(2, 1, 1234.5);
    EXPECT_TRUE(Cell(ed, 0, 2).contains('e'));

    ed.SetNrCols(5);  // the new columns take the decimals of the old last column
    EXPECT_EQ(ed.GetDecPlaces(5), 1);
    EXPECT_EQ(ed.model()->columnCount(), 6);
    EXPECT_EQ(ColumnHeader(ed, 5), "C-5");
    ed.SetElem(5, 1, 2.26);
    EXPECT_EQ(Cell(ed, 0, 5), "2.3");
    ed.SetNrCols(3);
    ed.SetNrCols(5);
    EXPECT_EQ(ed.GetElem(5, 1), 0.0);
}

TEST(NTabEd, AttributeColumnNamesAndNanCells)
{
    TNTabEd ed;
    ed.SetAttribRowVisible(false);
    EXPECT_EQ(ed.model()->columnCount(), 3);
    ed.SetColName(1, "Time");
    EXPECT_EQ(ColumnHeader(ed, 0), "Time");
    ed.SetElem(1, 1, 4.0);
    EXPECT_EQ(Cell(ed, 0, 0), "4.000");
    ed.SetAttribRowVisible(true);
    EXPECT_EQ(ColumnHeader(ed, 0), "Attrib");

    ed.Data().SetCellState(1, 2, TDataTable::csNAN);
    ed.SetElem(1, 2, 5.0);
    EXPECT_EQ(Cell(ed, 1, 1), "NAN");
    ed.Data().SetCellState(1, 2, TDataTable::csUndefined);
    EXPECT_EQ(Cell(ed, 1, 1), "");
}

}  // namespace
