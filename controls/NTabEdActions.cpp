// TNTabEd: the data and header popups and what their items do (marks, clear, the copy buffer,
// the clipboard import, the name edit, the decimals), the comment memo, and the mouse presses
// that open them; see NTabEd.h.
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPixmap>

#include <algorithm>
#include <cctype>
#include <string>

#include "controls/NTabEd.h"
#include "controls/NTabEdPause.h"
#include "numeric/NumberFormat.h"
#include "numeric/Rounding.h"
#include "numeric/VkrMatrix.h"
#include "platform/Clipboard.h"
#include "platform/PopupHost.h"

using oxw::numeric::ScanFPNum;
using oxw::numeric::TextToFloat;

namespace {

// The one copy buffer of the program, shared by all editors. No editor frees it: it lives
// until the program ends.
struct CopyBuffer {
    TMatrix Values;
    bool Available = false;
};

CopyBuffer& SharedBuffer()
{
    static CopyBuffer buffer;
    return buffer;
}

// The grid cell last clicked with the mouse in any editor.
QPoint gridCell;

// A small glyph for the editing item: a red cross ("Disable Editing") or a green check mark.
QIcon EditGlyph(bool cross)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (cross) {
        p.setPen(QPen(QColor(200, 0, 0), 2.5));
        p.drawLine(4, 4, 12, 12);
        p.drawLine(12, 4, 4, 12);
    } else {
        p.setPen(QPen(QColor(0, 140, 0), 2.5));
        const QPoint check[] = {{3, 8}, {7, 12}, {13, 4}};
        p.drawPolyline(check, 3);
    }
    return QIcon(pixmap);
}

bool NumberStart(char c) { return c == '+' || c == '-' || c == '.' || std::isdigit(static_cast<unsigned char>(c)); }

}  // namespace

bool TNTabEd::CopyBufferAvailable() { return SharedBuffer().Available; }

QPoint TNTabEd::GridCell() { return gridCell; }

void TNTabEd::EmptyCopyBuffer()
{
    SharedBuffer().Values.Resize(1, 1);
    SharedBuffer().Values.SetVal(1, 1, 0.0);
    SharedBuffer().Available = false;
}

oxw::platform::PopupHost& TNTabEd::Popups() const
{
    static oxw::platform::QtPopupHost qtPopups;
    return popupHost_ != nullptr ? *popupHost_ : qtPopups;
}

// ---- the popups ----

void TNTabEd::BuildPopups()
{
    // Each action runs once control is back in the event loop, after its popup has closed.
    auto item = [this](QMenu* menu, const QString& caption, std::function<void()> action) {
        QAction* a = menu->addAction(caption);
        connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); }, Qt::QueuedConnection);
        return a;
    };
    popupD_ = new QMenu(this);
    popupD_->setObjectName(QStringLiteral("PopupDTAction"));
    const struct {
        const char* caption;
        TMarkOp op;
    } marks[] = {{"Mark as type A", TMarkOp::SetA}, {"Mark as type B", TMarkOp::SetB},
                 {"Unmark type A", TMarkOp::ClearA}, {"Unmark type B", TMarkOp::ClearB}};
    const struct {
        const char* caption;
        TMarkExtent extent;
    } extents[] = {{"Range", TMarkExtent::Range}, {"Column", TMarkExtent::Column},
                   {"Row", TMarkExtent::Row}, {"All", TMarkExtent::All}};
    for (const auto& m : marks) {
        QMenu* sub = popupD_->addMenu(QString::fromLatin1(m.caption));
        for (const auto& e : extents) {
            item(sub, QString::fromLatin1(e.caption), [this, op = m.op, ex = e.extent] { MarkCells(op, ex); });
        }
        dataItems_.push_back(sub->menuAction());
    }
    dataItems_.push_back(item(popupD_, QStringLiteral("Unmark All"), [this] { UnmarkAll(); }));
    dataItems_.push_back(item(popupD_, QStringLiteral("Clear"), [this] { ClearCells(); }));
    dataItems_.push_back(item(popupD_, QStringLiteral("Copy"), [this] { CopyCells(); }));
    dataItems_.push_back(item(popupD_, QStringLiteral("Paste"), [this] { PasteCells(); }));
    dataItems_.push_back(item(popupD_, QStringLiteral("Edit on/off"), [this] { SwitchEditing(); }));
    dataItems_.push_back(item(popupD_, QStringLiteral("Extract from Clipboard"), [this] { ExtractFromClipboard(); }));

    popupH_ = new QMenu(this);
    popupH_->setObjectName(QStringLiteral("PopupHTAction"));
    editIdentifierItem_ = item(popupH_, QStringLiteral("Edit Identifier"), [this] { EditIdentifier(); });
    changePrecisionItem_ = item(popupH_, QStringLiteral("Change Precision"), [this] { ChangePrecision(); });
    SetPopupDMask(popupDMask_);
}

void TNTabEd::SetPopupDMask(int mask)
{
    popupDMask_ = mask;
    for (std::size_t i = 0; i < dataItems_.size(); ++i) dataItems_[i]->setEnabled((mask >> i & 1) != 0);
    ChangedSetup();
}

void TNTabEd::OpenDataPopup(QPoint at)
{
    QAction* editItem = dataItems_[8];
    editItem->setText(Editing() ? QStringLiteral("Disable Editing") : QStringLiteral("Enable Editing"));
    editItem->setIcon(EditGlyph(Editing()));
    if (CopyBufferAvailable()) dataItems_[7]->setEnabled(true);
    Popups().Popup(*popupD_, viewport()->mapToGlobal(at + QPoint(10, -20)));
}

void TNTabEd::OpenHeaderPopup(int ACol, int ARow)
{
    editIdentifierItem_->setEnabled(true);
    changePrecisionItem_->setEnabled(ACol > ColOffset());
    const QPoint cell(ACol, ARow);
    ToggleFrame(cell);
    const TRect r = CellRect(ACol, ARow);
    Popups().Popup(*popupH_, viewport()->mapToGlobal(QPoint(r.Left + 20, r.Top + 20)));
    QCoreApplication::processEvents();  // the chosen action runs first
    ToggleFrame(cell);
}

void TNTabEd::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    int c = 0, r = 0;
    const bool onCell = MouseToCell(p, c, r);
    if (commentOpen_) {
        TCustomGrid::mousePressEvent(event);
        if (onCell) gridCell = {c, r};
        if (onCell && c == 0 && r == 0) CloseComment(false);
        return;
    }
    if (nameEditOpen_) return;
    TCustomGrid::mousePressEvent(event);
    const bool inside = p.x() > 0 && p.x() < viewport()->width() && p.y() > 0 && p.y() < viewport()->height();
    if (!inside || !onCell) return;
    gridCell = {c, r};
    const int co = ColOffset(), ro = RowOffset();
    const bool right = event->button() == Qt::RightButton;
    if (c > co && r > ro) {
        if (right && ownPopup_ == nullptr) OpenDataPopup(p);
        if (event->button() == Qt::LeftButton) FollowCurrentCell();
    } else if (c == 0 && r == 0) {
        if (right) OpenComment();
    } else if ((c > co || r > ro) && right && ownPopup_ == nullptr) {
        OpenHeaderPopup(c, r);
    }
}

void TNTabEd::contextMenuEvent(QContextMenuEvent* event)
{
    if (ownPopup_ != nullptr && !nameEditOpen_) Popups().Popup(*ownPopup_, event->globalPos());
    event->accept();
}

// ---- marks, clear, copy and paste ----

TGridRect TNTabEd::DataSelection() const
{
    const TGridRect s = Selection();
    return {std::max(s.Left - ColOffset(), 1), std::max(s.Top - RowOffset(), 1),
            std::min(s.Right - ColOffset(), GetNrCols()), std::min(s.Bottom - RowOffset(), GetNrRows())};
}

void TNTabEd::MarkCells(TMarkOp op, TMarkExtent extent)
{
    {
        PaintPause pause(*this);
        TGridRect b = DataSelection();
        if (extent == TMarkExtent::Column || extent == TMarkExtent::All) b.Top = 1, b.Bottom = GetNrRows();
        if (extent == TMarkExtent::Row || extent == TMarkExtent::All) b.Left = 1, b.Right = GetNrCols();
        for (int c = b.Left; c <= b.Right; ++c) {
            for (int r = b.Top; r <= b.Bottom; ++r) {
                std::uint8_t s = data_->GetCellState(c, r);
                switch (op) {
                case TMarkOp::SetA: s |= TDataTable::csMarkedA; break;
                case TMarkOp::SetB: s |= TDataTable::csMarkedB; break;
                case TMarkOp::ClearA: s &= static_cast<std::uint8_t>(~TDataTable::csMarkedA); break;
                case TMarkOp::ClearB: s &= static_cast<std::uint8_t>(~TDataTable::csMarkedB); break;
                }
                data_->SetCellState(c, r, s);
            }
        }
    }
    Repaint();
    ChangedSetup();
}

void TNTabEd::UnmarkAll()
{
    data_->SetAllCellStates(TDataTable::csReset);
    Repaint();
    ChangedSetup();
}

void TNTabEd::ClearCells()
{
    {
        NoticePause pause(*this);
        const TGridRect b = DataSelection();
        for (int c = b.Left; c <= b.Right; ++c) {
            for (int r = b.Top; r <= b.Bottom; ++r) SetElem(c, r, 0.0);
        }
    }
    Repaint();
    Changed();
}

void TNTabEd::CopyCells()
{
    const TGridRect s = Selection();
    const int c0 = s.Left - ColOffset(), r0 = s.Top - RowOffset();
    const int w = s.Right - s.Left + 1, h = s.Bottom - s.Top + 1;
    CopyBuffer& buffer = SharedBuffer();
    buffer.Values.Resize(w, h);
    for (int i = 1; i <= w; ++i) {
        for (int j = 1; j <= h; ++j) buffer.Values.SetVal(i, j, GetElem(c0 + i - 1, r0 + j - 1));
    }
    buffer.Available = true;
}

void TNTabEd::PasteCells()
{
    const CopyBuffer& buffer = SharedBuffer();
    if (!buffer.Available) return;
    const TGridRect s = Selection();
    const int c0 = s.Left - ColOffset(), r0 = s.Top - RowOffset();
    const int w = buffer.Values.NrOfColumns(), h = buffer.Values.NrOfRows();
    {
        NoticePause pause(*this);
        for (int i = 1; i <= w; ++i) {
            for (int j = 1; j <= h; ++j) SetElem(c0 + i - 1, r0 + j - 1, buffer.Values.GetVal(i, j));
        }
    }
    Repaint();
    Changed();
    SetSelection({s.Left, s.Top, s.Left + w - 1, s.Top + h - 1});
    FollowCurrentCell();
}

void TNTabEd::SwitchEditing()
{
    SetEditing(!Editing());
    ChangedSetup();
}

// ---- the clipboard ----

void TNTabEd::ExtractFromClipboard()
{
    const oxw::platform::Clipboard& clipboard =
        clipboard_ != nullptr ? *clipboard_ : oxw::platform::SystemClipboard();
    if (!clipboard.HasText()) return;
    std::string text = clipboard.Text().toStdString();
    std::replace(text.begin(), text.end(), '\t', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    text += ' ';
    const int len = static_cast<int>(text.size());
    const auto at = [&text](int idx) { return text[static_cast<std::size_t>(idx - 1)]; };
    int idx = 1;  // positions count from 1, as ScanFPNum takes them
    while (idx <= len && !NumberStart(at(idx))) ++idx;
    if (idx > len) return;
    const TGridRect s = Selection();
    const int left = s.Left - ColOffset(), top = s.Top - RowOffset();
    int i = 0, j = 0, furthest = -1, lastRow = -1;
    {
        NoticePause pause(*this);
        while (idx <= len) {
            const int start = idx;
            const double v = ScanFPNum(text, true, 3, idx);
            if (idx <= start) idx = start + 1;
            const int c = left + i, r = top + j;
            if (c >= 1 && c <= GetNrCols() && r >= 1 && r <= GetNrRows()) {
                SetElem(c, r, v);
                furthest = std::max(furthest, i);
                lastRow = j;
            }
            ++i;
            // The character that ended the number is passed over, unless it is a line feed: every
            // line feed ends the row, also one right after a number (text with LF line ends).
            if (idx <= len && at(idx) != '\n') ++idx;
            for (; idx <= len && !NumberStart(at(idx)); ++idx) {
                if (at(idx) == '\n') i = 0, ++j;
            }
        }
    }
    Repaint();
    Changed();
    if (furthest >= 0) SetSelection({s.Left, s.Top, s.Left + furthest, s.Top + lastRow});
    FollowCurrentCell();
}

// ---- names, attributes and decimals ----

void TNTabEd::EditIdentifier()
{
    const QPoint g = gridCell;
    const int co = ColOffset(), ro = RowOffset();
    if ((g.x() <= co && g.y() <= ro) || (g.x() > co && g.y() > ro)) return;
    const auto number = [](int v) { return QString::fromStdString(oxw::numeric::strff(v, 1, 0)); };
    QString text;
    if (g.y() == 0) {
        text = GetColName(g.x() - co);
    } else if (ro == 1 && g.y() == 1) {
        text = number(GetColAttrib(g.x() - co));
    } else if (co == 1 && g.x() == 1) {
        text = number(GetRowAttrib(g.y() - ro));
    } else {
        text = GetRowName(g.y() - ro);
    }
    ToggleFrame(g);
    const TRect r = CellRect(g.x(), g.y());
    nameEdit_->move(r.Left + 30, r.Bottom + 5);
    nameEdit_->setText(text);
    nameEdit_->show();
    nameEdit_->setFocus();
    nameEditOpen_ = true;
    nameEditCell_ = g;
}

void TNTabEd::CloseNameEdit(bool store)
{
    if (!nameEditOpen_) return;
    nameEditOpen_ = false;
    nameEdit_->hide();
    ToggleFrame(nameEditCell_);
    if (store) StoreIdentifier(nameEditCell_, nameEdit_->text());
    setFocus();
}

void TNTabEd::StoreIdentifier(QPoint cell, const QString& text)
{
    const int co = ColOffset(), ro = RowOffset();
    const bool attribRow = ro == 1 && cell.y() == 1;
    const bool attribColumn = co == 1 && cell.x() == 1 && cell.y() > ro;
    if (!attribRow && !attribColumn) {
        if (cell.y() == 0) {
            SetColName(cell.x() - co, text);
        } else {
            SetRowName(cell.y() - ro, text);
        }
        return;
    }
    // An attribute: the whole text must be a number within the 64-bit range; it is rounded and
    // kept modulo 256. Anything else is dropped.
    const auto value = TextToFloat(text.toStdString());
    const auto whole = value ? oxw::numeric::RoundChecked<std::int64_t>(*value) : std::nullopt;
    if (!whole) return;
    const auto attrib = static_cast<std::uint8_t>(static_cast<std::uint64_t>(*whole) & 0xFF);
    if (attribRow) {
        SetColAttrib(cell.x() - co, attrib);
    } else {
        SetRowAttrib(cell.y() - ro, attrib);
    }
}

void TNTabEd::ChangePrecision()
{
    const QPoint g = gridCell;
    const int col = g.x() - ColOffset();
    if (col < 1 || col > GetNrCols()) return;
    int p = GetDecPlaces(col) - 1;
    if (p < -1) p = 8;
    SetDecPlaces(col, p);
    ToggleFrame(g);
    const TRect r = CellRect(g.x(), g.y());
    Popups().Popup(*popupH_, viewport()->mapToGlobal(QPoint(r.Left + 20, r.Top + 20)));
    ToggleFrame(g);
    ChangedSetup();
}

// ---- the comment memo ----

void TNTabEd::OpenComment()
{
    commentOpen_ = true;
    memo_->setGeometry(ColWidth(0), 0, std::max(1, width() - ColWidth(0) - 20), 80);
    QPalette pal = memo_->palette();
    pal.setColor(QPalette::Base, ToQColor(clTeal));
    pal.setColor(QPalette::Text, ToQColor(clWhite));
    memo_->setPalette(pal);
    memo_->setPlainText(GetComment());
    memo_->show();
    memo_->setFocus();
    Invalidate();
}

void TNTabEd::CloseComment(bool store)
{
    if (!commentOpen_) return;
    commentOpen_ = false;
    memo_->hide();
    if (store) SetComment(memo_->toPlainText());
    Invalidate();
}

bool TNTabEd::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == nameEdit_ || watched == memo_) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter || key == Qt::Key_Escape) {
            if (watched == nameEdit_) {
                CloseNameEdit(enter);
            } else {
                CloseComment(enter);
            }
            return true;
        }
    }
    return TCustomGrid::eventFilter(watched, event);
}
