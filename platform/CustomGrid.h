#pragma once
// TCustomGrid: the desktop's grid control, drawn on a Canvas so that every cell lies at a pixel
// position one can work out: fixed (header) rows and columns at the top and left that do not
// scroll, per-column widths and per-row heights, one-pixel grid lines after each cell (black
// between fixed cells, silver elsewhere), a current cell and a rectangular selection, and an
// in-place line editor.
//
// Cells are counted from 0 in grid coordinates (ACol, ARow); the fixed ones come first. Pixel
// rectangles (TRect) cover Left..Right-1 x Top..Bottom-1 of the viewport. Column c starts at the
// sum of the widths of the columns shown before it plus one grid line each.
//
// The grid paints each visible cell by filling it (fixed cells in FixedColor, selected ones in
// the highlight colour, the others in Color), setting the canvas font colour (highlight text on
// selected cells, the window text colour elsewhere) and calling DrawCell, which a derived control
// overrides to draw the cell's contents.
//
// Keys: arrows, Page Up/Down, Home/End (with Ctrl: first/last row) move the current cell, with
// Shift they stretch the selection; F2 opens the in-place editor, Enter opens or closes it, a
// printable key opens it with that character, Escape closes it without storing. Mouse: a left
// press on a cell that is not fixed makes it current, a drag or a press with Shift stretches the
// selection, a double click opens the editor. The editor opens only while Editing is on; when it
// closes after a change (Enter, an arrow, a click elsewhere, losing the focus) the grid hands the
// text to SetEditText.
#include <QAbstractScrollArea>
#include <QImage>
#include <QString>

#include <vector>

#include "platform/Colors.h"

class QLineEdit;

namespace oxw::platform {
class Canvas;
}

// A block of grid cells, bounds included.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

// A pixel rectangle: Left..Right-1 x Top..Bottom-1.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect&) const = default;
};

enum TGridDrawStateFlag : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = unsigned;

class TCustomGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    // 5 x 5 cells with one fixed row and column, 64 x 24 pixel cells, current cell (1, 1).
    explicit TCustomGrid(QWidget* parent = nullptr);
    ~TCustomGrid() override;

    int ColCount() const { return static_cast<int>(colWidths_.size()); }
    int RowCount() const { return static_cast<int>(rowHeights_.size()); }
    // At least 1; added columns and rows take the default width or height. The fixed counts,
    // the current cell and the selection are pulled inside.
    void SetColCount(int n);
    void SetRowCount(int n);
    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    // 0 .. count - 1.
    void SetFixedCols(int n);
    void SetFixedRows(int n);

    int DefaultColWidth() const { return defColWidth_; }
    int DefaultRowHeight() const { return defRowHeight_; }
    // Sets every column (row) to the new default.
    void SetDefaultColWidth(int w);
    void SetDefaultRowHeight(int h);
    // 0 outside the grid; a width or height below 0 counts as 0.
    int ColWidth(int i) const;
    int RowHeight(int i) const;
    void SetColWidth(int i, int w);
    void SetRowHeight(int i, int h);

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor c);

    // The current cell, and the selection spanned between the anchor and the current cell.
    int Col() const { return curCol_; }
    int Row() const { return curRow_; }
    TGridRect Selection() const;
    // Makes (ACol, ARow) current and the only selected cell; fixed or outside cells are ignored.
    void FocusCell(int ACol, int ARow);
    // The anchor goes to the block's top-left cell, the current cell to its bottom-right one;
    // the block is first cut to the cells that are not fixed.
    void SetSelection(TGridRect r);

    int TopRow() const { return topRow_; }
    int LeftCol() const { return leftCol_; }
    void SetTopRow(int r);
    void SetLeftCol(int c);

    bool Editing() const { return editing_; }
    void SetEditing(bool on);

    // The cell's pixels in the viewport; an empty rectangle for a cell scrolled out of sight.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under a viewport point; false between or beyond the cells.
    bool MouseToCell(QPoint p, int& ACol, int& ARow) const;

    // The in-place editor: open on the current cell with GetEditText, or closed.
    void ShowEditor();
    // Closes it, handing a changed text to SetEditText first.
    void HideEditor();
    bool EditorShowing() const;
    QLineEdit* InplaceEditor() const { return inplace_; }

    // The picture the grid paints into its viewport.
    QImage PaintImage();
    // Paint events that drew (for tests: a paint that was asked for and happened).
    int PaintCount() const { return paintCount_; }

protected:
    virtual void DrawCell(oxw::platform::Canvas& cv, int ACol, int ARow, TRect rect, TGridDrawState state);
    // Drawn after all cells (an overlay, such as a frame around a cell).
    virtual void DrawOverlay(oxw::platform::Canvas& cv);
    virtual QString GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const QString& value);
    // False: the grid paints nothing.
    virtual bool PaintAllowed() const { return true; }
    // Enter was pressed (in the grid or in the in-place editor) after the grid handled it.
    virtual void EnterPressed() {}

    // Moves the current cell; with `extend` the anchor stays and the selection stretches.
    void MoveCurrent(int ACol, int ARow, bool extend);
    // A repaint of the viewport (coalesced by Qt).
    void Invalidate();

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintCells(oxw::platform::Canvas& cv);
    void PaintOneCell(oxw::platform::Canvas& cv, int c, int r, TRect rect);
    // Visible cell ranges after the fixed ones: the columns leftCol_ .. and rows topRow_ .. that
    // start inside the viewport.
    int FixedWidth() const;
    int FixedHeight() const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    void UpdateScrollBars();
    void ClampCells();
    void ScrollInView(int ACol, int ARow);
    void PlaceEditor();
    bool EditorKey(QKeyEvent* event);
    int ColLeft(int c) const;  // left pixel of a column in sight, or -1
    int RowTop(int r) const;

    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defColWidth_ = 64;
    int defRowHeight_ = 24;
    TColor color_ = clWindow;
    TColor fixedColor_ = clBtnFace;
    int curCol_ = 1, curRow_ = 1;
    int anchorCol_ = 1, anchorRow_ = 1;
    int topRow_ = 1, leftCol_ = 1;
    bool editing_ = false;
    bool selecting_ = false;  // a left-button drag stretches the selection
    QLineEdit* inplace_;
    int editCol_ = -1, editRow_ = -1;
    int paintCount_ = 0;
    bool syncingBars_ = false;
};
