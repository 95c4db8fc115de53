// TNTabEd editing: the data and header popups (scripted), marks, the copy buffer shared by all
// editors, numbers from a scripted clipboard text, the name edit, the comment memo and in-place
// edits.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <tuple>
#include <utility>

#include "app/Forms.h"
#include "controls/NTabEd.h"
#include "platform/Clipboard.h"
#include "platform/PopupHost.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedSoundSystem.h"

using oxw::platform::PopupRecord;
using oxw::platform::ScriptedClipboard;
using oxw::platform::ScriptedPopups;

namespace {

struct Editor : TNTabEd {
    explicit Editor(int cols = 3, int rows = 4)
    {
        resize(460, 260);
        SetNrCols(cols);
        SetNrRows(rows);
        SetPopupHost(&popups);
        SetClipboard(&clipboard);
    }
    QPoint Centre(int gridCol, int gridRow) const
    {
        const TRect r = CellRect(gridCol, gridRow);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // A press and release of `button` on the cell, then the queued popup actions.
    void Click(int gridCol, int gridRow, Qt::MouseButton button, Qt::KeyboardModifiers mods = {})
    {
        const QPointF p = Centre(gridCol, gridRow);
        QMouseEvent press(QEvent::MouseButtonPress, p, viewport()->mapToGlobal(p), button, button, mods);
        QApplication::sendEvent(viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, viewport()->mapToGlobal(p), button, Qt::NoButton, mods);
        QApplication::sendEvent(viewport(), &release);
        QApplication::processEvents();
    }
    // A right click on a data cell choosing `path` in the data popup.
    PopupRecord Choose(const QString& path, int gridCol = 2, int gridRow = 1)
    {
        popups.Choices = {path};
        Click(gridCol, gridRow, Qt::RightButton);
        return popups.Opened.back();
    }
    void Key(int key, QWidget* target = nullptr)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target != nullptr ? target : this, &press);
        QApplication::processEvents();
    }
    ScriptedPopups popups;
    ScriptedClipboard clipboard;
};

TEST(NTabEdEdit, DataPopupItemsMasksAndTheEditSwitch)
{
    Editor ed;
    const PopupRecord first = ed.Choose(QString());
    EXPECT_EQ(first.Menu, "PopupDTAction");
    EXPECT_EQ(first.At, ed.viewport()->mapToGlobal(ed.Centre(2, 1) + QPoint(10, -20)));
    QStringList top;
    for (const auto& item : first.Items) {
        if (!item.Path.contains('/')) top << item.Path;
    }
    EXPECT_EQ(top, QStringList({"Mark as type A", "Mark as type B", "Unmark type A", "Unmark type B", "Unmark All",
                                "Clear", "Copy", "Paste", "Enable Editing", "Extract from Clipboard"}));
    EXPECT_FALSE(first.Item("Paste").Enabled);

    int setups = 0;
    QObject::connect(&ed, &TNTabEd::OnChangeSetup, [&] { ++setups; });
    ed.Choose("Enable Editing");
    EXPECT_TRUE(ed.Editing());
    EXPECT_EQ(setups, 1);
    EXPECT_TRUE(ed.Choose("Disable Editing").Item("Disable Editing").Enabled);
    EXPECT_FALSE(ed.Editing());
    EXPECT_TRUE(ed.Choose(QString()).Item("Enable Editing").Enabled);

    ed.SetPopupDMask(0);
    const PopupRecord none = ed.Choose("Mark as type A/Range");
    for (const auto& item : none.Items) EXPECT_FALSE(item.Enabled) << item.Path.toStdString();
    EXPECT_EQ(ed.Data().GetCellState(1, 1), 0);
    ed.SetPopupDMask(pdCopy | pdUnMarkAll);
    const PopupRecord some = ed.Choose(QString());
    EXPECT_EQ(std::tuple(some.Item("Copy").Enabled, some.Item("Unmark All").Enabled, some.Item("Clear").Enabled),
              std::tuple(true, true, false));
}

// One copy buffer for all editors: "Paste" is offered in another editor after a copy, whatever
// its mask says, and stays offered; every new editor empties the buffer, and the buffer outlives
// the editors that filled it.
TEST(NTabEdEdit, CopyBufferIsSharedAndOutlivesItsEditors)
{
    auto a = std::make_unique<Editor>();
    Editor b;
    EXPECT_FALSE(b.Choose(QString()).Item("Paste").Enabled);
    a->SetElem(1, 1, 7.5);
    a->Choose("Copy");
    EXPECT_TRUE(TNTabEd::CopyBufferAvailable());
    b.SetPopupDMask(pdAllCmds & ~pdPaste);
    EXPECT_TRUE(b.Choose("Paste").Item("Paste").Enabled);
    EXPECT_EQ(b.GetElem(1, 1), 7.5);
    a->CopyCells();
    a.reset();  // the editor that filled it goes
    for (int i = 0; i < 22; ++i) Editor{};  // so do 22 more, each emptying the buffer
    EXPECT_FALSE(TNTabEd::CopyBufferAvailable());
    b.SetSelection({3, 2, 3, 2});
    EXPECT_TRUE(b.Choose("Paste").Item("Paste").Enabled);  // offered, pastes nothing
    EXPECT_EQ(b.GetElem(2, 2), 0.0);
    Editor c;
    c.SetElem(1, 1, 3.0);
    c.CopyCells();
    b.SetSelection({4, 2, 4, 2});
    b.PasteCells();
    EXPECT_EQ(b.GetElem(3, 2), 3.0);
}

TEST(NTabEdEdit, MarkingByExtent)
{
    const struct {
        const char* choice;
        int cells;  // marked, of 3 x 4
        std::uint8_t state;
    } cases[] = {{"Mark as type A/Range", 2, TDataTable::csMarkedA},
                 {"Mark as type B/Column", 4, TDataTable::csMarkedB},
                 {"Mark as type A/Row", 6, TDataTable::csMarkedA},
                 {"Mark as type B/All", 12, TDataTable::csMarkedB}};
    for (const auto& c : cases) {
        Editor ed;
        ed.SetSelection({3, 1, 3, 2});  // data column 2, rows 1 and 2
        int changes = 0, setups = 0;
        QObject::connect(&ed, &TNTabEd::OnChange, [&] { ++changes; });
        QObject::connect(&ed, &TNTabEd::OnChangeSetup, [&] { ++setups; });
        ed.Choose(c.choice, 3, 2);
        int marked = 0;
        for (int col = 1; col <= 3; ++col) {
            for (int row = 1; row <= 4; ++row) marked += ed.Data().GetCellState(col, row) == c.state;
        }
        EXPECT_EQ(marked, c.cells) << c.choice;
        EXPECT_EQ(changes, c.cells) << c.choice;  // one notice per cell written
        EXPECT_EQ(setups, 1) << c.choice;
        EXPECT_EQ(ed.Data().GetCellState(2, 1), c.state) << c.choice;
    }
    Editor ed;
    ed.MarkCells(TMarkOp::SetA, TMarkExtent::All);
    ed.MarkCells(TMarkOp::SetB, TMarkExtent::All);
    ed.SetSelection({2, 1, 2, 1});
    ed.Choose("Unmark type A/Column");
    EXPECT_EQ(std::pair(ed.Data().GetCellState(1, 4), ed.Data().GetCellState(2, 4)),
              std::pair(std::uint8_t(TDataTable::csMarkedB), std::uint8_t(TDataTable::csMarkedA | TDataTable::csMarkedB)));
    ed.Choose("Unmark type B/Row");
    EXPECT_EQ(std::pair(ed.Data().GetCellState(3, 1), ed.Data().GetCellState(1, 1)),
              std::pair(std::uint8_t(TDataTable::csMarkedA), std::uint8_t(0)));
}

TEST(NTabEdEdit, UnmarkAllTurnsANanCellBackIntoItsValue)
{
    Editor ed;
    ed.Data().SetCellState(2, 2, TDataTable::csNAN | TDataTable::csMarkedA);
    ed.SetElem(2, 2, 2.5);
    EXPECT_EQ(ed.CellLook(3, 2, false).Text, "NAN");
    ed.Choose("Unmark All");
    EXPECT_EQ(ed.CellLook(3, 2, false).Text, "2.500");
    EXPECT_EQ(ed.CellLook(3, 2, false).Color, ed.ColorNormal());
}

TEST(NTabEdEdit, CopyOfTwoByThreePastedAtOneCellWritesAndSelectsTheBlock)
{
    Editor ed(5, 6);
    for (int c = 1; c <= 2; ++c) {
        for (int r = 1; r <= 3; ++r) ed.SetElem(c, r, 10 * c + r);
    }
    ed.SetSelection({2, 1, 3, 3});
    ed.Choose("Copy", 2, 1);
    ed.SetSelection({4, 3, 4, 3});  // data (3, 3) alone
    int changes = 0;
    QObject::connect(&ed, &TNTabEd::OnChange, [&] { ++changes; });
    ed.Choose("Paste", 4, 3);
    for (int c = 1; c <= 2; ++c) {
        for (int r = 1; r <= 3; ++r) EXPECT_EQ(ed.GetElem(c + 2, r + 2), 10 * c + r) << c << "," << r;
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ed.Selection(), (TGridRect{4, 3, 5, 5}));
    ed.SetSelection({6, 6, 6, 6});  // data (5, 6): the block reaches past the table
    ed.PasteCells();
    EXPECT_EQ(ed.GetElem(5, 6), 11.0);
    EXPECT_EQ(ed.Selection(), (TGridRect{6, 6, 6, 6}));
    ed.SetSelection({5, 6, 6, 6});  // the last column and row are inside a block
    ed.Choose("Clear", 6, 6);
    EXPECT_EQ(std::pair(ed.GetElem(4, 6), ed.GetElem(5, 6)), std::pair(0.0, 0.0));
    ed.SetSelection({2, 1, 3, 2});
    ed.Choose("Clear");
    EXPECT_EQ(std::tuple(ed.GetElem(1, 1), ed.GetElem(2, 2), ed.GetElem(2, 3)), std::tuple(0.0, 0.0, 23.0));
}

// Numbers from the clipboard text from data cell (1, 1) on; cells not written keep -9.
TEST(NTabEdEdit, ExtractFromClipboard)
{
    using Cells = std::map<std::pair<int, int>, double>;
    const struct { const char* name; std::optional<QString> text; Cells cells; TGridRect selection; } cases[] = {
        {"CR LF", "1\t2\r\n3\t4\r\n", {{{1, 1}, 1}, {{2, 1}, 2}, {{1, 2}, 3}, {{2, 2}, 4}}, {2, 1, 3, 2}},
        {"LF", "1\t2\n3\t4\n", {{{1, 1}, 1}, {{2, 1}, 2}, {{1, 2}, 3}, {{2, 2}, 4}}, {2, 1, 3, 2}},
        {"commas", "1,2,3", {{{1, 1}, 1.2}, {{2, 1}, 3}}, {2, 1, 3, 1}},
        {"words", "x=5 y=7", {{{1, 1}, 5}, {{2, 1}, 7}}, {2, 1, 3, 1}},
        {"exponent", "1e3", {{{1, 1}, 1000}}, {2, 1, 2, 1}},
        {"lone sign", "a - b", {{{1, 1}, 0}}, {2, 1, 2, 1}},
        {"blank line LF", "1\n\n2", {{{1, 1}, 1}, {{1, 3}, 2}}, {2, 1, 2, 3}},
        {"blank line CR LF", "1\r\n\r\n2", {{{1, 1}, 1}, {{1, 3}, 2}}, {2, 1, 2, 3}},
        {"beyond the table", "1 2 3 4 5", {{{1, 1}, 1}, {{2, 1}, 2}, {{3, 1}, 3}}, {2, 1, 4, 1}},
        {"no number", "none here", {}, {2, 1, 2, 1}},
        {"no text", std::nullopt, {}, {2, 1, 2, 1}},
    };
    for (const auto& c : cases) {
        Editor ed;
        for (int col = 1; col <= 3; ++col) {
            for (int row = 1; row <= 4; ++row) ed.SetElem(col, row, -9);
        }
        ed.clipboard.Content = c.text;
        int changes = 0;
        QObject::connect(&ed, &TNTabEd::OnChange, [&] { ++changes; });
        ed.Choose("Extract from Clipboard");
        for (int col = 1; col <= 3; ++col) {
            for (int row = 1; row <= 4; ++row) {
                const auto it = c.cells.find({col, row});
                EXPECT_DOUBLE_EQ(ed.GetElem(col, row), it != c.cells.end() ? it->second : -9.0)
                    << c.name << " (" << col << ", " << row << ")";
            }
        }
        EXPECT_EQ(ed.Selection(), c.selection) << c.name;
        EXPECT_EQ(changes, c.cells.empty() ? 0 : 1) << c.name;
    }
}

TEST(NTabEdEdit, ChangePrecisionStepsDownAndWraps)
{
    Editor ed;
    ed.SetDecPlaces(1, 0);
    ed.popups.Choices = {"Change Precision", ""};  // the popup opens again; dismissed
    ed.Click(2, 0, Qt::RightButton);
    EXPECT_EQ(ed.GetDecPlaces(1), -1);
    ASSERT_EQ(ed.popups.Opened.size(), 2u);
    EXPECT_EQ(ed.popups.Opened[0].Menu, "PopupHTAction");
    const TRect r = ed.CellRect(2, 0);
    EXPECT_EQ(ed.popups.Opened[1].At, ed.viewport()->mapToGlobal(QPoint(r.Left + 20, r.Top + 20)));
    ed.popups.Choices = {"Change Precision", ""};
    ed.Click(2, 0, Qt::RightButton);
    EXPECT_EQ(ed.GetDecPlaces(1), 8);  // -1 wraps to 8
    ed.popups.Choices = {"Change Precision", "Change Precision", ""};  // stepping again in the reopened popup
    ed.Click(2, 0, Qt::RightButton);
    EXPECT_EQ(ed.GetDecPlaces(1), 6);
    ed.SetDecPlaces(1, 7);
    EXPECT_FALSE(ed.CellFramed(2, 0));
    EXPECT_EQ(ed.CellLook(2, 1, false).Text, "0.0000000");

    ed.popups.Choices = {"Change Precision"};  // not offered on a row header
    ed.Click(0, 2, Qt::RightButton);
    EXPECT_FALSE(ed.popups.Opened.back().Item("Change Precision").Enabled);
    EXPECT_TRUE(ed.popups.Opened.back().Item("Edit Identifier").Enabled);
    EXPECT_EQ(ed.GetDecPlaces(1), 7);
}

TEST(NTabEdEdit, HeaderFrameIsDrawnInNotModeWhileTheNameEditIsOpen)
{
    Editor ed;
    const TRect r = ed.CellRect(3, 0);
    const QImage before = ed.PaintImage();
    ed.popups.Choices = {"Edit Identifier"};
    ed.Click(3, 0, Qt::RightButton);
    ASSERT_TRUE(ed.NameEditOpen() && ed.CellFramed(3, 0));
    EXPECT_EQ(ed.NameEdit()->text(), "C-2");
    EXPECT_EQ(ed.NameEdit()->pos(), QPoint(r.Left + 30, r.Bottom + 5));
    const QImage framed = ed.PaintImage();
    // The outline covers Left..Right and Top..Bottom, the grid lines after the cell included.
    for (const QPoint p : {QPoint(r.Right, r.Top + 5), QPoint(r.Left + 10, r.Bottom)})
        EXPECT_EQ(framed.pixel(p) & 0xFFFFFF, ~before.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
    EXPECT_EQ(framed.pixel(r.Left + 5, r.Top + 1), before.pixel(r.Left + 5, r.Top + 1));
    ed.Click(2, 2, Qt::LeftButton);  // presses do nothing while the name edit is open
    EXPECT_EQ(ed.Selection(), (TGridRect{2, 1, 2, 1}));
    ed.NameEdit()->setText("Level");
    ed.Key(Qt::Key_Return, ed.NameEdit());
    EXPECT_FALSE(ed.NameEditOpen() || ed.CellFramed(3, 0));
    EXPECT_EQ(ed.GetColName(2), "Level");
    ed.SetColName(2, "C-2");
    EXPECT_EQ(ed.PaintImage(), before);  // drawn twice, the frame is gone
}

TEST(NTabEdEdit, NameEditStoresNamesAndAttributes)
{
    const struct {
        int col, row;  // the header cell
        const char* text;
        int key;
        const char* expected;  // the header's text afterwards
    } cases[] = {
        {2, 0, "Time", Qt::Key_Return, "Time"},
        {0, 3, "Third row", Qt::Key_Enter, "Third row"},
        {2, 0, "Dropped", Qt::Key_Escape, "C-1"},
        {2, 0, "123456789012345678901234567890123456789012345678901234567890", Qt::Key_Return,
         "12345678901234567890123456789012345678901234567890"},
        {1, 2, "300", Qt::Key_Return, "44"},  // row attribute, modulo 256
        {1, 2, "-1", Qt::Key_Return, "255"},
        {1, 2, "2.5", Qt::Key_Return, "2"},   // halves to even
        {1, 2, " 3.5 ", Qt::Key_Return, "4"},
        {1, 2, "9.2e18", Qt::Key_Return, "0"},  // the last taken below 2^63
        {1, 2, "9.3e18", Qt::Key_Return, "9"},  // beyond 64 bits: dropped
        {1, 2, "-Infinity", Qt::Key_Return, "9"},
        {1, 2, "12abc", Qt::Key_Return, "9"},
        {1, 2, "", Qt::Key_Return, "9"},
        {1, 2, "77", Qt::Key_Escape, "9"},
    };
    for (const auto& c : cases) {
        Editor ed;
        ed.SetRowAttrib(2, 9);
        ed.popups.Choices = {"Edit Identifier"};
        ed.Click(c.col, c.row, Qt::RightButton);
        ASSERT_TRUE(ed.NameEditOpen()) << c.text;
        ed.NameEdit()->setText(c.text);
        ed.Key(c.key, ed.NameEdit());
        EXPECT_FALSE(ed.NameEditOpen());
        EXPECT_EQ(ed.CellLook(c.col, c.row, false).Text.toStdString(), c.expected) << c.text;
    }
    // The column attributes in the attribute row.
    Editor ed;
    ed.SetAttribColVisible(true);
    ed.popups.Choices = {"Edit Identifier"};
    ed.Click(3, 1, Qt::RightButton);
    EXPECT_EQ(ed.NameEdit()->text(), "0");
    ed.NameEdit()->setText("513");
    ed.Key(Qt::Key_Return, ed.NameEdit());
    EXPECT_EQ(ed.GetColAttrib(2), 1);
}

TEST(NTabEdEdit, CommentMemoFromTheCorner)
{
    Editor ed;
    ed.SetComment("first");
    ed.Click(0, 0, Qt::RightButton);
    ASSERT_TRUE(ed.CommentOpen());
    const TNTabEd::TCellLook corner = ed.CellLook(0, 0, false);
    EXPECT_EQ(std::tuple(corner.Text, corner.Color, corner.Background), std::tuple(QString("Comment:"), clWhite, clTeal));
    EXPECT_EQ(ed.CommentMemo()->geometry(), QRect(80, 0, ed.width() - 80 - 20, 80));
    EXPECT_EQ(ed.CommentMemo()->toPlainText(), "first");
    int changes = 0;
    QObject::connect(&ed, &TNTabEd::OnChange, [&] { ++changes; });
    ed.CommentMemo()->setPlainText("new\tcomment");
    ed.Key(Qt::Key_Return, ed.CommentMemo());
    EXPECT_FALSE(ed.CommentOpen());
    EXPECT_EQ(ed.GetComment(), "newcomment");
    EXPECT_EQ(changes, 1);

    ed.Click(0, 0, Qt::RightButton);
    ed.CommentMemo()->setPlainText("dropped");
    ed.Key(Qt::Key_Escape, ed.CommentMemo());
    EXPECT_EQ(ed.GetComment(), "newcomment");
    ed.Click(0, 0, Qt::RightButton);
    ed.CommentMemo()->setPlainText("dropped too");
    ed.Click(0, 0, Qt::LeftButton);  // a press on the corner cancels
    EXPECT_FALSE(ed.CommentOpen());
    EXPECT_EQ(ed.GetComment(), "newcomment");
    EXPECT_EQ(changes, 1);

    // An editor with a popup menu of its own opens neither popup, but the memo still opens.
    QMenu own;
    ed.SetPopupMenu(&own);
    const std::size_t opened = ed.popups.Opened.size();
    ed.Click(2, 1, Qt::RightButton);
    ed.Click(2, 0, Qt::RightButton);
    for (std::size_t i = opened; i < ed.popups.Opened.size(); ++i) {
        EXPECT_NE(ed.popups.Opened[i].Menu, "PopupDTAction");
        EXPECT_NE(ed.popups.Opened[i].Menu, "PopupHTAction");
    }
    ed.Click(0, 0, Qt::RightButton);
    EXPECT_TRUE(ed.CommentOpen());
}

TEST(NTabEdEdit, InPlaceEditsTakeACommaAsPointAndAutoAdvanceMovesDown)
{
    Editor ed;
    ed.show();
    QString typed;
    ed.OnSetEditText = [&](TNTabEd*, int, int, const QString& text) { typed = text; };
    ed.SetElem(1, 2, 1.25);
    ed.FocusCell(2, 2);
    ed.ShowEditor();  // editing is off
    EXPECT_FALSE(ed.EditorShowing());
    ed.Choose("Enable Editing", 2, 2);
    const struct {
        const char* text;
        double value;
    } cases[] = {{"2,5", 2.5}, {"-1e2", -100.0}, {"abc", -100.0}, {" 7 ", 7.0}, {"1.2.3", 7.0}};
    for (const auto& c : cases) {
        ed.ShowEditor();
        ASSERT_TRUE(ed.EditorShowing());
        ed.InplaceEditor()->setText(c.text);
        ed.InplaceEditor()->setModified(true);
        ed.Key(Qt::Key_Return, ed.InplaceEditor());
        EXPECT_FALSE(ed.EditorShowing());
        EXPECT_EQ(ed.GetElem(1, 2), c.value) << c.text;
        EXPECT_EQ(typed, c.text);
    }
    ed.ShowEditor();
    EXPECT_EQ(ed.InplaceEditor()->text(), "7.000");
    ed.Key(Qt::Key_Escape, ed.InplaceEditor());
    EXPECT_EQ(ed.Row(), 2);

    ed.SetAutoAdvance(true);
    ed.ShowEditor();
    ed.InplaceEditor()->setText("8");
    ed.InplaceEditor()->setModified(true);
    ed.Key(Qt::Key_Return, ed.InplaceEditor());
    EXPECT_EQ(ed.GetElem(1, 2), 8.0);
    EXPECT_EQ(std::tuple(ed.Row(), ed.LastCellX(), ed.LastCellY()), std::tuple(3, 2, 3));
}

TEST(NTabEdEdit, KeysAndClicksMoveTheCurrentCellAndTheHeaders)
{
    Editor ed;
    ed.Click(3, 2, Qt::LeftButton);
    EXPECT_EQ(std::pair(ed.LastCellX(), ed.LastCellY()), std::pair(3, 2));
    EXPECT_TRUE(ed.CellLook(3, 0, false).Bold);
    ed.Key(Qt::Key_Right);
    EXPECT_EQ(ed.CellLook(0, 0, false).Text, "3:2");
    EXPECT_TRUE(ed.CellLook(4, 0, false).Bold);
    EXPECT_FALSE(ed.CellLook(3, 0, false).Bold);
    ed.Click(2, 4, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(ed.Selection(), (TGridRect{2, 2, 4, 4}));
    EXPECT_EQ(ed.CellLook(0, 0, false).Text, "1:2");
    ed.Click(1, 3, Qt::LeftButton);  // the attribute column is fixed: the selection stays
    EXPECT_EQ(ed.Selection(), (TGridRect{2, 2, 4, 4}));
}

}  // namespace

namespace {

// The contour view's "Data Input" table as a user meets it, and the end of the program after
// every window has been open.
TEST(NTabEdEdit, ContourViewDataTableThenEveryWindowClosesCleanly)
{
    oxw::platform::ScriptedDialogs dialogs;
    oxw::platform::ScriptedSoundSystem sound;
    oxw::app::Forms forms;
    oxw::app::CreateForms(forms, dialogs, sound);
    auto* view = forms.Smooth3DInterpolation;
    view->show();
    view->PageControl1->setCurrentWidget(view->TSData);
    TNTabEd* table = view->TEData;
    ScriptedPopups popups;
    table->SetPopupHost(&popups);
    table->SetElem(3, 1, 0.0004);
    table->SetElem(1, 1, 1);
    QApplication::processEvents();
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(table->CellLook(4, 1, false).Text, " 4.0E-04");
    EXPECT_EQ(table->CellLook(0, 1, false).Color, table->ColorSelected());
    const TRect corner = table->CellRect(0, 0);
    const QPointF p((corner.Left + corner.Right) / 2.0, (corner.Top + corner.Bottom) / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, p, table->viewport()->mapToGlobal(p), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &press);
    EXPECT_TRUE(table->CommentOpen());
    for (QWidget* w : forms.CreationOrder) w->show();
    QApplication::processEvents();
    oxw::app::DestroyForms(forms);
    EXPECT_TRUE(forms.CreationOrder.empty());
}

}  // namespace
