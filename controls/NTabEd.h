#pragma once
// TNTabEd: the grid control that shows and edits one numeric table (TDataTable). Result tables
// travel between the program's windows in these editors, most of them hidden: a writer fills
// cells with SetElem and grows the table with SetNrRows, the reader takes them back with GetElem.
//
// Data indices are 1-based; reads outside the table give 0.0 (or an empty name), writes outside
// are ignored. Grid layout (grid cells counted from 0): row 0 holds the column names, column 0
// the row names; the optional attribute column (grid column 1, "Attrib") shows the row
// attributes, the optional attribute row (grid row 1, "Attribute") the column attributes.
// ColOffset and RowOffset are 1 while those are shown, else 0; data cell (c, r) lies in grid
// cell (c + ColOffset, r + RowOffset). The corner cell (0, 0) shows the data position of the
// selection's top-left cell ("1:1"); the headers of the selection's first column and row are
// bold in ColorSelected.
//
// A value shows as FormatData(value, NumWidth, Precision of its column); a cell in state csNAN
// as "NAN", in any other state of bits 0..5 as nothing. Marks colour the text: csMarkedA in
// ColorMarkedA, csMarkedB in ColorMarkedB, both in ColorMarkedBoth (also on a selected cell).
//
// Writes repaint at once unless painting is suppressed (SuppressPaint) or the editor is hidden,
// so bulk writers suppress painting and repaint once at the end.
//
// Editing (off at first), the data popup (right button on a data cell), the header popup (right
// button on a column or row header), the comment memo (right button on the corner), the copy
// buffer shared by all editors and the import of numbers from the clipboard text: see the
// operations below. Popups open through a PopupHost and their actions run once control is back
// in the event loop, after the popup has closed.
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "numeric/DataTable.h"
#include "platform/CustomGrid.h"

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace oxw::platform {
class Clipboard;
class PopupHost;
}  // namespace oxw::platform

class EVKRNTabedError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// Bits of PopupDMask, one per data popup item.
inline constexpr int pdMarkA = 1, pdMarkB = 2, pdUnMarkA = 4, pdUnMarkB = 8, pdUnMarkAll = 16,
                     pdClear = 32, pdCopy = 64, pdPaste = 128, pdEdit = 256, pdExtClip = 512,
                     pdAllCmds = 0x7FFFFFFF;
// Items of the header popup.
inline constexpr int phEditIdentifier = 1, phChangePrecision = 2, phAllCmds = 0x7FFFFFFF;

// What the four marking items do, and to which cells.
enum class TMarkOp { SetA, SetB, ClearA, ClearB };
enum class TMarkExtent { Range, Column, Row, All };

class TNTabEd : public TCustomGrid {
    Q_OBJECT
public:
    using TGetEditTextEvent = std::function<void(TNTabEd* Sender, int ACol, int ARow, QString& Text)>;
    using TSetEditTextEvent = std::function<void(TNTabEd* Sender, int ACol, int ARow, const QString& Text)>;

    // 3 columns x 4 rows of 0.0 named C-1..C-3 and R-1..R-4, three decimals per column, the
    // attribute column shown, the attribute row hidden. Empties the shared copy buffer.
    explicit TNTabEd(QWidget* parent = nullptr);
    ~TNTabEd() override;

    // The table behind the editor. Writes made directly on it reach the editor through its
    // change and resize events, as writes through the editor do.
    TDataTable& Data() { return *data_; }
    const TDataTable& Data() const { return *data_; }

    // ---- accessors ----
    int GetNrCols() const { return data_->GetNrCols(); }
    int GetNrRows() const { return data_->GetNrRows(); }
    // Resize the table keeping the other dimension and every value that remains; added columns
    // take the decimals and width of the old last column, added rows its height. OnChangeSetup.
    void SetNrCols(int n);
    void SetNrRows(int n);

    double GetElem(int ACol, int ARow) const { return data_->GetElem(ACol, ARow); }
    void SetElem(int ACol, int ARow, double Value) { data_->SetElem(ACol, ARow, Value); }

    QString GetColName(int i) const;
    QString GetRowName(int i) const;
    void SetColName(int i, const QString& name);
    void SetRowName(int i, const QString& name);
    int GetColAttrib(int i) const { return data_->GetColAttrib(i); }
    int GetRowAttrib(int i) const { return data_->GetRowAttrib(i); }
    void SetColAttrib(int i, std::uint8_t attrib) { data_->SetColAttrib(i, attrib); }
    void SetRowAttrib(int i, std::uint8_t attrib) { data_->SetRowAttrib(i, attrib); }

    // Decimals of a data column: -1 (exponent form) .. 8; 0 outside the columns.
    int GetDecPlaces(int ACol) const;
    // Ignored outside the columns; values below 0 become -1, above 8 become 8. OnChangeSetup.
    void SetDecPlaces(int ACol, int decimals);

    // Minimum text width of the values, 1..20; other values are ignored. OnChangeSetup always.
    int NumWidth() const { return numWidth_; }
    void SetNumWidth(int w);

    QString GetComment() const;
    // Characters below code 32 are removed. OnChange.
    void SetComment(const QString& comment);

    // ---- layout ----
    int ColOffset() const { return attribColumnShown_ ? 1 : 0; }
    int RowOffset() const { return attribRowShown_ ? 1 : 0; }
    // The attribute column beside the row names (named after the row attributes it shows).
    bool AttribRowVisible() const { return attribColumnShown_; }
    void SetAttribRowVisible(bool visible);
    // The attribute row below the column names.
    bool AttribColVisible() const { return attribRowShown_; }
    void SetAttribColVisible(bool visible);
    // Every column to `w`, then 80 px for the row names and 32 px for the attribute column.
    void SetDefColWidth(int w);
    // i > 0: data column i; 0: the row names; i < 0: the attribute column (0 while hidden).
    int ColWidths(int i) const;

    // ---- colours ----
    TColor ColorBackground() const { return Color(); }
    void SetColorBackground(TColor c) { SetColor(c); }
    TColor ColorFixed() const { return FixedColor(); }
    void SetColorFixed(TColor c) { SetFixedColor(c); }
    TColor ColorNormal() const { return colorNormal_; }
    void SetColorNormal(TColor c);
    TColor ColorSelected() const { return colorSelected_; }
    void SetColorSelected(TColor c);
    TColor ColorMarkedA() const { return colorMarkedA_; }
    void SetColorMarkedA(TColor c);
    TColor ColorMarkedB() const { return colorMarkedB_; }
    void SetColorMarkedB(TColor c);
    TColor ColorMarkedBoth() const { return colorMarkedBoth_; }
    void SetColorMarkedBoth(TColor c);

    // ---- behaviour ----
    // Enter moves to the cell below.
    bool AutoAdvance() const { return autoAdvance_; }
    void SetAutoAdvance(bool on) { autoAdvance_ = on; }
    // While set, the editor paints nothing; clearing it repaints once.
    bool SuppressPaint() const { return suppressPaint_; }
    void SetSuppressPaint(bool suppress);
    // Bit i - 1 enables data popup item i (0x7FFFFF7F at first: all but "Paste"). OnChangeSetup.
    int PopupDMask() const { return popupDMask_; }
    void SetPopupDMask(int mask);
    // A popup menu of the editor's own (the form's): while set, neither editor popup opens and a
    // right click shows this menu; the comment memo still opens from the corner.
    void SetPopupMenu(QMenu* menu) { ownPopup_ = menu; }
    // Where the clipboard text and the popups come from; null: the desktop's.
    void SetClipboard(oxw::platform::Clipboard* clipboard) { clipboard_ = clipboard; }
    void SetPopupHost(oxw::platform::PopupHost* host) { popupHost_ = host; }

    // ---- what the cells show ----
    struct TCellLook {
        QString Text;
        TColor Color = 0;
        bool Bold = false;
        std::optional<TColor> Background;  // drawn over the grid's own fill
    };
    // The text, colour, weight and background of grid cell (ACol, ARow); `highlighted`: the
    // grid draws the cell as selected (highlight text colour).
    TCellLook CellLook(int ACol, int ARow, bool highlighted) const;
    // The grid cell whose headers were last highlighted (the selection's top-left cell).
    int LastCellX() const { return lastCellX_; }
    int LastCellY() const { return lastCellY_; }
    // Repaints asked for (each one a real repaint request to the screen).
    int PaintRequests() const { return paintRequests_; }

    // ---- popup operations (the popup items call these) ----
    // Sets or clears a mark on the cells of the extent; OnChange once per cell, then OnChangeSetup.
    void MarkCells(TMarkOp op, TMarkExtent extent);
    // Every cell's state to 0 (NAN and undefined too); OnChangeSetup.
    void UnmarkAll();
    // 0.0 into every selected cell; OnChange once.
    void ClearCells();
    // The selected values into the shared copy buffer.
    void CopyCells();
    // The copy buffer into the table from the selection's top-left cell on; OnChange once; the
    // pasted block becomes the selection.
    void PasteCells();
    // Editing on or off; OnChangeSetup.
    void SwitchEditing();
    // Numbers read from the clipboard text, row by row, from the selection's top-left cell on.
    void ExtractFromClipboard();
    // Opens the name edit for the header cell last clicked (GridCell).
    void EditIdentifier();
    // One decimal less for GridCell's column (-1 wraps to 8), then the header popup again.
    void ChangePrecision();
    // Opens the comment memo.
    void OpenComment();

    static bool CopyBufferAvailable();
    // The grid cell last clicked with the mouse in any editor.
    static QPoint GridCell();

    QMenu* PopupDTAction() const { return popupD_; }
    QMenu* PopupHTAction() const { return popupH_; }
    QLineEdit* NameEdit() const { return nameEdit_; }
    QPlainTextEdit* CommentMemo() const { return memo_; }
    bool NameEditOpen() const { return nameEditOpen_; }
    bool CommentOpen() const { return commentOpen_; }
    // True while the header frame (drawn in NOT mode) is on the cell.
    bool CellFramed(int ACol, int ARow) const;

    // Raise OnChange; record the selection's top-left cell and raise OnChangeSetup.
    void Changed();
    void ChangedSetup();

    TGetEditTextEvent OnGetEditText;
    TSetEditTextEvent OnSetEditText;

signals:
    // Data, names, attributes or comment changed.
    void OnChange();
    // Layout, decimals, colours, marks, popup mask or edit mode changed.
    void OnChangeSetup();

protected:
    void DrawCell(oxw::platform::Canvas& cv, int ACol, int ARow, TRect rect, TGridDrawState state) override;
    void DrawOverlay(oxw::platform::Canvas& cv) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& value) override;
    bool PaintAllowed() const override { return !suppressPaint_ && internalSuppress_ == 0; }
    void EnterPressed() override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class PaintPause;   // internal paint suppression for one operation
    class NoticePause;  // the table's change notices detached for one operation

    void TableResized(int oldCols, int oldRows, int newCols, int newRows);
    void TableChanged();
    void Repaint();
    void FollowCurrentCell();
    [[noreturn]] void RaiseOutOfMemory() const;
    static void EmptyCopyBuffer();

    TCellLook DataCellLook(int c, int r, bool highlighted) const;
    TCellLook HeaderLook(QString text, bool current) const;

    // Popups and their actions (NTabEdActions.cpp).
    void BuildPopups();
    oxw::platform::PopupHost& Popups() const;
    void OpenDataPopup(QPoint at);
    void OpenHeaderPopup(int ACol, int ARow);
    void ToggleFrame(QPoint cell);
    void CloseNameEdit(bool store);
    void StoreIdentifier(QPoint cell, const QString& text);
    void CloseComment(bool store);
    // The selection in data indices, cut to the table.
    TGridRect DataSelection() const;

    std::unique_ptr<TDataTable> data_;
    std::vector<int> precision_;  // per data column
    int numWidth_ = 1;
    bool attribColumnShown_ = true;
    bool attribRowShown_ = false;
    bool suppressPaint_ = false;
    int internalSuppress_ = 0;
    bool autoAdvance_ = false;
    TColor colorNormal_ = 0x002000;
    TColor colorSelected_ = 0x0000FF;
    TColor colorMarkedA_ = 0x0000FF;
    TColor colorMarkedB_ = 0xFF0000;
    TColor colorMarkedBoth_ = 0xCC00BB;
    int lastCellX_ = 2, lastCellY_ = 1;
    int paintRequests_ = 0;

    int popupDMask_ = 0x7FFFFF7F;
    QMenu* popupD_ = nullptr;
    QMenu* popupH_ = nullptr;
    std::vector<QAction*> dataItems_;  // the ten data items
    QAction* editIdentifierItem_ = nullptr;
    QAction* changePrecisionItem_ = nullptr;
    QMenu* ownPopup_ = nullptr;
    oxw::platform::Clipboard* clipboard_ = nullptr;
    oxw::platform::PopupHost* popupHost_ = nullptr;

    QLineEdit* nameEdit_;
    QPlainTextEdit* memo_;
    bool nameEditOpen_ = false;
    bool commentOpen_ = false;
    QPoint nameEditCell_;
    std::set<std::pair<int, int>> frames_;  // cells framed an odd number of times
};
