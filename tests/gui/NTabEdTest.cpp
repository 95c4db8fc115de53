// TNTabEd: layout, texts and colours of the cells, resizing, the attribute row and column, and
// painting. Pixel positions follow from the layout: the row names 80 px wide, the attribute
// column 32 px, data columns 64 px, rows 24 px, each followed by a one-pixel grid line; so data
// column 1 starts at x = 80 + 1 + 32 + 1 = 114 and data row 1 at y = 24 + 1 = 25.
#include "controls/NTabEd.h"
#include "platform/CustomGrid.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace {

constexpr int kDataLeft = 114;  // x of data column 1
constexpr int kDataTop = 25;    // y of data row 1
constexpr int kColStep = 65;    // 64 px and a grid line
constexpr int kRowStep = 25;    // 24 px and a grid line

// The pixels of `color` in the text area of a cell (3 px in from the left, 2 px down, clipped
// 3 px before the right edge).
int TextPixels(const QImage& image, TRect r, TColor color)
{
    const QRgb rgb = ColorToRGB(color) & 0xFFFFFF;
    int n = 0;
    for (int y = r.Top + 2; y < r.Bottom; ++y) {
        for (int x = r.Left + 3; x < r.Right - 3; ++x) n += (image.pixel(x, y) & 0xFFFFFF) == rgb;
    }
    return n;
}

QString Text(const TNTabEd& ed, int gridCol, int gridRow) { return ed.CellLook(gridCol, gridRow, false).Text; }

struct Editor : TNTabEd {
    Editor() { resize(420, 200); }
};

TEST(NTabEd, NewEditorShowsThreeByFourZerosWithDefaultNames)
{
    Editor ed;
    EXPECT_EQ(std::tuple(ed.GetNrCols(), ed.GetNrRows(), ed.ColCount(), ed.RowCount(), ed.FixedCols(), ed.FixedRows()),
              std::tuple(3, 4, 5, 5, 2, 1));
    const struct {
        int col, row;
        const char* text;
    } cells[] = {{0, 0, "1:1"}, {1, 0, "Attrib"}, {2, 0, "C-1"}, {4, 0, "C-3"}, {0, 1, "R-1"}, {0, 4, "R-4"},
                 {1, 1, "0"},   {2, 1, "0.000"},  {4, 4, "0.000"}};
    for (const auto& c : cells) EXPECT_EQ(Text(ed, c.col, c.row), c.text) << c.col << "," << c.row;
    EXPECT_EQ(ed.CellRect(2, 1), (TRect{kDataLeft, kDataTop, kDataLeft + 64, kDataTop + 24}));
    EXPECT_EQ(ed.CellRect(4, 3), (TRect{kDataLeft + 2 * kColStep, kDataTop + 2 * kRowStep,
                                        kDataLeft + 2 * kColStep + 64, kDataTop + 2 * kRowStep + 24}));
}

TEST(NTabEd, CellTextsComeFromFormatDataAndTheCellState)
{
    const struct { double value; int decimals, numWidth; const char* text; } cases[] = {
        {1.0, 3, 1, "1.000"},         {0.0004, 3, 1, " 4.0E-04"}, {1234.5678, 3, 1, "1234.568"},
        {123456.7, 3, 1, " 1.2E+05"}, {-2.5, 3, 1, "-2.500"},     {0.0, 3, 1, "0.000"},
        {1234.5, -1, 1, " 1.2E+03"},  {2.5, 3, 6, " 2.500"},      {1e150, -1, 1, "********"},
        {7.0, 0, 1, "7"},
    };
    for (const auto& c : cases) {
        Editor ed;
        ed.SetDecPlaces(1, c.decimals);
        ed.SetNumWidth(c.numWidth);
        ed.SetElem(1, 1, c.value);
        EXPECT_EQ(Text(ed, 2, 1).toStdString(), c.text) << c.value;
    }
    Editor ed;
    ed.Data().SetCellState(1, 2, TDataTable::csNAN);
    ed.SetElem(1, 2, 5.0);  // a write keeps the state
    EXPECT_EQ(Text(ed, 2, 2), "NAN");
    EXPECT_EQ(ed.GetElem(1, 2), 5.0);
    ed.Data().SetCellState(1, 2, TDataTable::csUndefined);
    EXPECT_EQ(Text(ed, 2, 2), "");
    ed.Data().SetCellState(1, 2, TDataTable::csMarkedB);
    EXPECT_EQ(Text(ed, 2, 2), "5.000");
}

TEST(NTabEd, MarksColourTheTextAndBeatTheSelection)
{
    Editor ed;
    for (int c = 1; c <= 3; ++c) {
        for (int r = 1; r <= 2; ++r) ed.SetElem(c, r, 8.888);
    }
    ed.Data().SetCellState(2, 2, TDataTable::csMarkedA);
    ed.Data().SetCellState(3, 2, TDataTable::csMarkedB);
    ed.Data().SetCellState(1, 1, TDataTable::csMarkedA | TDataTable::csMarkedB);
    ed.Data().SetCellState(2, 1, TDataTable::csMarkedA | TDataTable::csMarkedB);
    ed.SetSelection({2, 1, 3, 1});  // data (1, 1) and (2, 1), both marked A and B
    const QImage im = ed.PaintImage();
    const TRect plain{kDataLeft, kDataTop + kRowStep, kDataLeft + 64, kDataTop + kRowStep + 24};  // (1, 2)
    const struct { int col, row; TColor shown, absent; } cases[] = {
        {1, 2, 0x002000, 0x0000FF},         // plain: ColorNormal
        {2, 2, 0x0000FF, 0x002000},         // A: red
        {3, 2, 0xFF0000, 0x002000},         // B: blue
        {1, 1, 0xCC00BB, clHighlightText},  // both, selected: ColorMarkedBoth, not the highlight text
        {2, 1, 0xCC00BB, clHighlightText},
    };
    EXPECT_EQ(ed.CellRect(2, 2), plain);
    for (const auto& c : cases) {
        const TRect r = ed.CellRect(c.col + 1, c.row);
        EXPECT_GT(TextPixels(im, r, c.shown), 10) << c.col << "," << c.row;
        EXPECT_EQ(TextPixels(im, r, c.absent), 0) << c.col << "," << c.row;
    }
    // The selected cells keep the highlight behind their marked text.
    EXPECT_EQ(im.pixel(kDataLeft + 62, kDataTop + 22) & 0xFFFFFF, ColorToRGB(clHighlight) & 0xFFFFFF);
}

TEST(NTabEd, HeadersOfTheSelectionAreBoldInColorSelectedAndTheCornerShowsItsPosition)
{
    Editor ed;
    const TRect c1 = ed.CellRect(2, 0), c2 = ed.CellRect(3, 0), r1 = ed.CellRect(0, 1);
    EXPECT_EQ(r1, (TRect{0, kDataTop, 80, kDataTop + 24}));
    const QImage first = ed.PaintImage();
    EXPECT_TRUE(ed.CellLook(2, 0, false).Bold);
    EXPECT_FALSE(ed.CellLook(3, 0, false).Bold);
    const int boldC1 = TextPixels(first, c1, 0x0000FF);
    EXPECT_GT(boldC1, 10);
    EXPECT_EQ(TextPixels(first, c2, 0x0000FF), 0);
    EXPECT_GT(TextPixels(first, c2, 0x002000), 10);
    EXPECT_GT(TextPixels(first, r1, 0x0000FF), 10);
    // The corner: "1:1" in ColorNormal on the window colour.
    const TRect corner = ed.CellRect(0, 0);
    EXPECT_GT(TextPixels(first, corner, 0x002000), 5);
    EXPECT_EQ(first.pixel(corner.Right - 2, corner.Bottom - 2) & 0xFFFFFF, ColorToRGB(clWindow) & 0xFFFFFF);

    ed.FocusCell(3, 3);  // data (2, 3)
    EXPECT_EQ(Text(ed, 0, 0), "2:3");
    const QImage moved = ed.PaintImage();
    const int normalC1 = TextPixels(moved, c1, 0x002000);
    EXPECT_EQ(TextPixels(moved, c1, 0x0000FF), 0);
    EXPECT_GT(boldC1, normalC1);  // the same text, bold, has more pixels
    EXPECT_GT(TextPixels(moved, c2, 0x0000FF), 10);
    EXPECT_GT(TextPixels(moved, ed.CellRect(0, 3), 0x0000FF), 10);
    EXPECT_EQ(TextPixels(moved, r1, 0x0000FF), 0);

    ed.SetSelection({4, 2, 3, 4});  // a block: its top-left cell counts, whatever headers show
    ed.SetAttribRowVisible(false);
    ed.SetAttribColVisible(true);
    EXPECT_EQ(Text(ed, 0, 0), "2:2");
}

TEST(NTabEd, OutsideCellsReadZeroAndIgnoreWrites)
{
    Editor ed;
    int changes = 0;
    QObject::connect(&ed, &TNTabEd::OnChange, [&] { ++changes; });
    ed.SetElem(2, 3, 61.25);
    EXPECT_EQ(ed.GetElem(2, 3), 61.25);
    EXPECT_EQ(Text(ed, 3, 3), "61.250");
    EXPECT_EQ(changes, 1);
    ed.SetElem(3, 4, 1.5);
    for (auto [c, r] : {std::pair{0, 1}, {4, 1}, {3, 0}, {1, 5}, {-2, 3}}) {
        ed.SetElem(c, r, 9.0);
        EXPECT_EQ(ed.GetElem(c, r), 0.0) << c << "," << r;
    }
    EXPECT_EQ(ed.GetElem(3, 4), 1.5);
    EXPECT_EQ(changes, 2);  // writes outside raise no event
    EXPECT_EQ(ed.GetColName(4), "");
    EXPECT_EQ(ed.GetRowAttrib(0), 0);
    EXPECT_EQ(ed.GetDecPlaces(0), 0);
}

// Rows appended the way the analysis fills the sound-quality table (two values into the last
// row, then one row more).
TEST(NTabEd, SetNrRowsKeepsValuesAndTheLastRowHeight)
{
    Editor ed;
    ed.SetNrCols(2);
    ed.SetNrRows(1);
    ed.SetRowHeight(ed.RowCount() - 1, 30);
    int setups = 0, changes = 0;
    QObject::connect(&ed, &TNTabEd::OnChangeSetup, [&] { ++setups; });
    QObject::connect(&ed, &TNTabEd::OnChange, [&] { ++changes; });
    constexpr int kRows = 600;
    for (int i = 1; i <= kRows; ++i) {
        const int last = ed.GetNrRows();
        ed.SetElem(1, last, i * 0.05);
        ed.SetElem(2, last, 50.0 + i);
        ed.SetElem(3, last, 1.0);  // no such column
        ed.SetNrRows(last + 1);
    }
    EXPECT_EQ(setups, kRows);
    EXPECT_EQ(changes, 2 * kRows);
    ASSERT_EQ(ed.GetNrRows(), kRows + 1);
    EXPECT_EQ(ed.RowCount(), kRows + 2);
    for (int r = 1; r <= kRows; ++r)
        ASSERT_EQ(std::tuple(ed.GetElem(1, r), ed.GetElem(2, r), ed.RowHeight(r)), std::tuple(r * 0.05, 50.0 + r, 30)) << r;
    EXPECT_EQ(ed.RowHeight(kRows + 1), 30);
    EXPECT_TRUE(ed.Data().IsCellEmpty(1, kRows + 1));
    EXPECT_EQ(ed.GetRowName(kRows + 1), "R-601");

    ed.SetNrRows(500);  // rows removed, then one back: it holds nothing of its former value
    EXPECT_EQ(ed.RowCount(), 501);
    EXPECT_EQ(ed.GetElem(2, 501), 0.0);
    EXPECT_EQ(Text(ed, 3, 500), "550.000");
    ed.SetNrRows(501);
    EXPECT_EQ(ed.GetElem(2, 501), 0.0);
    EXPECT_TRUE(ed.Data().IsCellEmpty(2, 501));
    ed.SetNrRows(0);  // no data rows at all, then rows again
    EXPECT_EQ(ed.RowCount(), 1);
    EXPECT_EQ(Text(ed, 0, 0), "1:1");
    ed.SetNrRows(2);
    EXPECT_EQ(ed.RowCount(), 3);
    EXPECT_EQ(ed.GetElem(1, 1), 0.0);
}

TEST(NTabEd, GrowingAndShrinkingColumns)
{
    Editor ed;
    ed.SetDecPlaces(3, 1);
    ed.SetColWidth(4, 90);  // data column 3
    ed.SetColName(2, "Level");
    ed.SetNrCols(5);
    EXPECT_EQ(ed.ColCount(), 7);
    for (int c : {4, 5}) {
        EXPECT_EQ(ed.GetDecPlaces(c), 1) << c;
        EXPECT_EQ(ed.ColWidths(c), 90) << c;
        EXPECT_EQ(ed.GetColName(c), QStringLiteral("C-%1").arg(c));
    }
    ed.SetElem(5, 1, 2.26);
    EXPECT_EQ(Text(ed, 6, 1), "2.3");
    ed.SetColName(5, "Extra");
    ed.SetNrCols(3);
    ed.SetNrCols(5);
    EXPECT_EQ(ed.GetElem(5, 1), 0.0);
    EXPECT_EQ(ed.GetColName(5), "C-5");
    EXPECT_EQ(ed.GetColName(2), "Level");
    EXPECT_EQ(ed.GetDecPlaces(5), 1);
}

TEST(NTabEd, PrecisionAndNumWidthLimits)
{
    Editor ed;
    int setups = 0;
    QObject::connect(&ed, &TNTabEd::OnChangeSetup, [&] { ++setups; });
    // Decimals -1..8 (any negative is -1) on columns 1..3; widths 1..20 (others ignored, still notified).
    const struct { int col, set, expected; } cases[] = {
        {2, 9, 8}, {2, 8, 8}, {2, -5, -1}, {2, 0, 0}, {0, 2, 0}, {4, 2, 0}, {3, 1, 1}, {1, 5, 5}};
    for (const auto& c : cases) {
        ed.SetDecPlaces(c.col, c.set);
        EXPECT_EQ(ed.GetDecPlaces(c.col), c.expected) << c.col << ": " << c.set;
    }
    EXPECT_EQ(setups, 6);  // columns 0 and 4 are ignored without notice
    for (const auto& [w, kept] : {std::pair{1, 1}, {0, 1}, {20, 20}, {21, 20}}) {
        ed.SetNumWidth(w);
        EXPECT_EQ(ed.NumWidth(), kept) << w;
    }
    EXPECT_EQ(setups, 10);
}

// The grid under the editor keeps its fixed columns and rows within 0..ColCount / 0..RowCount.
TEST(NTabEd, GridFixedColumnsAndRowsWithinTheGrid)
{
    TCustomGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(4);
    for (const auto& [n, cols, rows] : {std::tuple{-1, 0, 0}, {0, 0, 0}, {3, 3, 3}, {4, 3, 4}, {5, 3, 4}}) {
        grid.SetFixedCols(n);
        grid.SetFixedRows(n);
        EXPECT_EQ(std::pair(grid.FixedCols(), grid.FixedRows()), std::pair(cols, rows)) << n;
    }
}

TEST(NTabEd, AttributeColumnAndRow)
{
    Editor ed;
    ed.SetColWidth(2, 50);
    ed.SetColWidth(3, 70);
    ed.SetColWidth(4, 90);
    ed.SetAttribRowVisible(false);
    EXPECT_EQ(std::tuple(ed.FixedCols(), ed.ColCount(), ed.ColWidths(-1)), std::tuple(1, 4, 0));
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(ed.ColWidths(c), 30 + 20 * c) << c;
    EXPECT_EQ(Text(ed, 1, 0), "C-1");
    ed.SetElem(1, 1, 4.0);
    EXPECT_EQ(Text(ed, 1, 1), "4.000");
    EXPECT_EQ(ed.CellRect(1, 1).Left, 81);
    ed.SetAttribRowVisible(true);
    EXPECT_EQ(ed.ColWidths(-1), 32);
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(ed.ColWidths(c), 30 + 20 * c) << c;
    EXPECT_EQ(Text(ed, 1, 0), "Attrib");

    ed.SetRowHeight(0, 30);
    ed.SetRowAttrib(2, 17);
    ed.SetColAttrib(3, 200);
    ed.SetAttribColVisible(true);
    EXPECT_EQ(ed.FixedRows(), 2);
    EXPECT_EQ(ed.RowHeight(1), 30);  // takes the height of the names row
    const struct {
        int col, row;
        const char* text;
    } cells[] = {{0, 1, "Attribute"}, {1, 1, ""}, {4, 1, "200"}, {1, 3, "17"}, {0, 3, "R-2"}, {2, 2, "4.000"}};
    for (const auto& c : cells) EXPECT_EQ(Text(ed, c.col, c.row), c.text) << c.col << "," << c.row;
    ed.SetAttribColVisible(false);
    EXPECT_EQ(Text(ed, 2, 1), "4.000");
}

TEST(NTabEd, DefaultColumnWidthKeepsTheHeaderColumns)
{
    Editor ed;
    int setups = 0;
    QObject::connect(&ed, &TNTabEd::OnChangeSetup, [&] { ++setups; });
    ed.SetDefColWidth(40);
    EXPECT_EQ(std::tuple(ed.ColWidths(0), ed.ColWidths(-1), ed.ColWidths(1), ed.ColWidths(3)),
              std::tuple(80, 32, 40, 40));
    EXPECT_EQ(setups, 1);
}

TEST(NTabEd, WritesUnderSuppressPaintThenOnePaint)
{
    Editor ed;
    ed.show();
    QApplication::processEvents();
    const int requests = ed.PaintRequests();
    const int paints = ed.PaintCount();
    ed.SetSuppressPaint(true);
    for (int i = 0; i < 100; ++i) ed.SetElem(1 + i % 3, 1 + i % 4, i);
    QApplication::processEvents();
    EXPECT_EQ(ed.PaintRequests(), requests);
    EXPECT_EQ(ed.PaintCount(), paints);
    ed.SetSuppressPaint(false);
    EXPECT_EQ(ed.PaintRequests(), requests + 1);
    QApplication::processEvents();
    EXPECT_EQ(ed.PaintCount(), paints + 1);
    ed.SetElem(1, 1, 3.0);  // a write paints at once again
    EXPECT_EQ(ed.PaintRequests(), requests + 2);
}

// Scrolling keeps the header rows and columns in place; cells scrolled out of sight have no
// rectangle, and the current cell is scrolled into sight.
TEST(NTabEd, ScrolledRowsBelowTheFixedHeader)
{
    Editor ed;
    ed.SetNrRows(100);
    ed.SetTopRow(50);
    EXPECT_EQ(ed.TopRow(), 50);
    EXPECT_EQ(ed.CellRect(2, 50), (TRect{kDataLeft, kDataTop, kDataLeft + 64, kDataTop + 24}));
    EXPECT_EQ(ed.CellRect(2, 49), TRect{});
    EXPECT_EQ(ed.CellRect(0, 0), (TRect{0, 0, 80, 24}));
    int c = 0, r = 0;
    ASSERT_TRUE(ed.MouseToCell({kDataLeft + 70, kDataTop + kRowStep + 3}, c, r));
    EXPECT_EQ(std::pair(c, r), std::pair(3, 51));
    EXPECT_FALSE(ed.MouseToCell({80, 10}, c, r));  // on the grid line
    ed.FocusCell(2, 100);
    const TRect last = ed.CellRect(2, 100);
    EXPECT_GT(last.Bottom, last.Top);
    EXPECT_LE(last.Bottom, ed.viewport()->height());
    EXPECT_EQ(Text(ed, 0, 0), "1:100");
    ed.FocusCell(2, 3);
    EXPECT_EQ(ed.TopRow(), 3);
    ed.SetTopRow(1000);  // no further than the last rows filling the view
    EXPECT_GE(ed.CellRect(2, 100).Bottom, ed.viewport()->height() - 25);
}

}  // namespace
