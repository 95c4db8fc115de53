// TCustomGrid: the grid control; see CustomGrid.h.
#include "platform/CustomGrid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "platform/Canvas.h"

using oxw::platform::Canvas;

namespace {
constexpr int kInitialCells = 5;
constexpr int kGridLine = 1;
}  // namespace

TCustomGrid::TCustomGrid(QWidget* parent)
    : QAbstractScrollArea(parent),
      colWidths_(kInitialCells, 64),
      rowHeights_(kInitialCells, 24),
      inplace_(new QLineEdit(viewport()))
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    inplace_->setObjectName(QStringLiteral("InplaceEditor"));
    inplace_->setFrame(false);
    inplace_->hide();
    inplace_->installEventFilter(this);
}

TCustomGrid::~TCustomGrid() { inplace_->removeEventFilter(this); }

// ---- sizes ----

void TCustomGrid::SetColCount(int n)
{
    n = std::max(n, 1);
    if (n == ColCount()) return;
    HideEditor();
    colWidths_.resize(static_cast<std::size_t>(n), defColWidth_);
    ClampCells();
    if (isVisible()) UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRowCount(int n)
{
    n = std::max(n, 1);
    if (n == RowCount()) return;
    HideEditor();
    rowHeights_.resize(static_cast<std::size_t>(n), defRowHeight_);
    ClampCells();
    if (isVisible()) UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int n)
{
    fixedCols_ = std::clamp(n, 0, ColCount());
    ClampCells();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int n)
{
    fixedRows_ = std::clamp(n, 0, RowCount());
    ClampCells();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int w)
{
    defColWidth_ = std::max(w, 0);
    std::fill(colWidths_.begin(), colWidths_.end(), defColWidth_);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int h)
{
    defRowHeight_ = std::max(h, 0);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defRowHeight_);
    UpdateScrollBars();
    Invalidate();
}

int TCustomGrid::ColWidth(int i) const
{
    return i >= 0 && i < ColCount() ? colWidths_[static_cast<std::size_t>(i)] : 0;
}

int TCustomGrid::RowHeight(int i) const
{
    return i >= 0 && i < RowCount() ? rowHeights_[static_cast<std::size_t>(i)] : 0;
}

void TCustomGrid::SetColWidth(int i, int w)
{
    if (i < 0 || i >= ColCount()) return;
    colWidths_[static_cast<std::size_t>(i)] = std::max(w, 0);
    if (isVisible()) UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRowHeight(int i, int h)
{
    if (i < 0 || i >= RowCount()) return;
    rowHeights_[static_cast<std::size_t>(i)] = std::max(h, 0);
    if (isVisible()) UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetColor(TColor c)
{
    color_ = c;
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor c)
{
    fixedColor_ = c;
    Invalidate();
}

void TCustomGrid::SetEditing(bool on)
{
    if (!on) HideEditor();
    editing_ = on;
}

// ---- current cell and selection ----

TGridRect TCustomGrid::Selection() const
{
    return {std::min(anchorCol_, curCol_), std::min(anchorRow_, curRow_), std::max(anchorCol_, curCol_),
            std::max(anchorRow_, curRow_)};
}

void TCustomGrid::ClampCells()
{
    fixedCols_ = std::clamp(fixedCols_, 0, ColCount());
    fixedRows_ = std::clamp(fixedRows_, 0, RowCount());
    const int lastCol = std::max(fixedCols_, ColCount() - 1);
    const int lastRow = std::max(fixedRows_, RowCount() - 1);
    curCol_ = std::clamp(curCol_, fixedCols_, lastCol);
    curRow_ = std::clamp(curRow_, fixedRows_, lastRow);
    anchorCol_ = std::clamp(anchorCol_, fixedCols_, lastCol);
    anchorRow_ = std::clamp(anchorRow_, fixedRows_, lastRow);
    leftCol_ = std::clamp(leftCol_, fixedCols_, lastCol);
    topRow_ = std::clamp(topRow_, fixedRows_, lastRow);
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool extend)
{
    HideEditor();
    curCol_ = ACol;
    curRow_ = ARow;
    if (!extend) {
        anchorCol_ = ACol;
        anchorRow_ = ARow;
    }
    ClampCells();
    ScrollInView(curCol_, curRow_);
    Invalidate();
}

void TCustomGrid::FocusCell(int ACol, int ARow)
{
    if (ACol < fixedCols_ || ACol >= ColCount() || ARow < fixedRows_ || ARow >= RowCount()) return;
    MoveCurrent(ACol, ARow, false);
}

void TCustomGrid::SetSelection(TGridRect r)
{
    const int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
    r = {std::clamp(std::min(r.Left, r.Right), fixedCols_, lastCol),
         std::clamp(std::min(r.Top, r.Bottom), fixedRows_, lastRow),
         std::clamp(std::max(r.Left, r.Right), fixedCols_, lastCol),
         std::clamp(std::max(r.Top, r.Bottom), fixedRows_, lastRow)};
    HideEditor();
    anchorCol_ = r.Left;
    anchorRow_ = r.Top;
    curCol_ = r.Right;
    curRow_ = r.Bottom;
    ClampCells();
    Invalidate();
}

// ---- scrolling ----

int TCustomGrid::FixedWidth() const
{
    int w = 0;
    for (int c = 0; c < fixedCols_; ++c) w += ColWidth(c) + kGridLine;
    return w;
}

int TCustomGrid::FixedHeight() const
{
    int h = 0;
    for (int r = 0; r < fixedRows_; ++r) h += RowHeight(r) + kGridLine;
    return h;
}

int TCustomGrid::MaxTopRow() const
{
    const int room = viewport()->height() - FixedHeight();
    int top = RowCount() - 1, used = 0;
    for (int r = RowCount() - 1; r >= fixedRows_; --r) {
        used += RowHeight(r) + kGridLine;
        if (used > room) break;
        top = r;
    }
    return std::max(top, fixedRows_);
}

int TCustomGrid::MaxLeftCol() const
{
    const int room = viewport()->width() - FixedWidth();
    int left = ColCount() - 1, used = 0;
    for (int c = ColCount() - 1; c >= fixedCols_; --c) {
        used += ColWidth(c) + kGridLine;
        if (used > room) break;
        left = c;
    }
    return std::max(left, fixedCols_);
}

void TCustomGrid::UpdateScrollBars()
{
    syncingBars_ = true;
    topRow_ = std::clamp(topRow_, fixedRows_, MaxTopRow());
    leftCol_ = std::clamp(leftCol_, fixedCols_, MaxLeftCol());
    verticalScrollBar()->setRange(0, MaxTopRow() - fixedRows_);
    verticalScrollBar()->setPageStep(std::max(1, viewport()->height() / std::max(1, defRowHeight_ + 1)));
    verticalScrollBar()->setValue(topRow_ - fixedRows_);
    horizontalScrollBar()->setRange(0, MaxLeftCol() - fixedCols_);
    horizontalScrollBar()->setPageStep(1);
    horizontalScrollBar()->setValue(leftCol_ - fixedCols_);
    syncingBars_ = false;
}

void TCustomGrid::SetTopRow(int r)
{
    topRow_ = std::clamp(r, fixedRows_, MaxTopRow());
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::SetLeftCol(int c)
{
    leftCol_ = std::clamp(c, fixedCols_, MaxLeftCol());
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::ScrollInView(int ACol, int ARow)
{
    if (ARow < RowCount()) {
        if (ARow < topRow_) topRow_ = ARow;
        const int room = viewport()->height() - FixedHeight();
        auto span = [this](int from, int to) {
            int h = 0;
            for (int r = from; r <= to; ++r) h += RowHeight(r) + kGridLine;
            return h;
        };
        while (topRow_ < ARow && span(topRow_, ARow) > room) ++topRow_;
    }
    if (ACol < ColCount()) {
        if (ACol < leftCol_) leftCol_ = ACol;
        const int room = viewport()->width() - FixedWidth();
        auto span = [this](int from, int to) {
            int w = 0;
            for (int c = from; c <= to; ++c) w += ColWidth(c) + kGridLine;
            return w;
        };
        while (leftCol_ < ACol && span(leftCol_, ACol) > room) ++leftCol_;
    }
    if (isVisible()) UpdateScrollBars();
}

void TCustomGrid::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    if (syncingBars_) return;
    topRow_ = fixedRows_ + verticalScrollBar()->value();
    leftCol_ = fixedCols_ + horizontalScrollBar()->value();
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    PlaceEditor();
}

void TCustomGrid::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    UpdateScrollBars();
}

// ---- geometry ----

int TCustomGrid::ColLeft(int c) const
{
    if (c < 0 || c >= ColCount() || (c >= fixedCols_ && c < leftCol_)) return -1;
    int x = 0;
    if (c < fixedCols_) {
        for (int i = 0; i < c; ++i) x += ColWidth(i) + kGridLine;
        return x;
    }
    x = FixedWidth();
    for (int i = leftCol_; i < c && x <= viewport()->width(); ++i) x += ColWidth(i) + kGridLine;
    return x <= viewport()->width() ? x : -1;
}

int TCustomGrid::RowTop(int r) const
{
    if (r < 0 || r >= RowCount() || (r >= fixedRows_ && r < topRow_)) return -1;
    int y = 0;
    if (r < fixedRows_) {
        for (int i = 0; i < r; ++i) y += RowHeight(i) + kGridLine;
        return y;
    }
    y = FixedHeight();
    for (int i = topRow_; i < r && y <= viewport()->height(); ++i) y += RowHeight(i) + kGridLine;
    return y <= viewport()->height() ? y : -1;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const
{
    const int x = ColLeft(ACol), y = RowTop(ARow);
    if (x < 0 || y < 0) return {};
    return {x, y, x + ColWidth(ACol), y + RowHeight(ARow)};
}

bool TCustomGrid::MouseToCell(QPoint p, int& ACol, int& ARow) const
{
    auto find = [](int pos, int fixed, int first, int count, int limit, auto size, int& cell) {
        int at = 0;
        for (int i = 0; i < count && at <= limit; ++i) {
            const int index = i < fixed ? i : first + (i - fixed);
            if (index >= count) break;
            if (pos >= at && pos < at + size(index)) {
                cell = index;
                return true;
            }
            at += size(index) + kGridLine;
        }
        return false;
    };
    return find(p.x(), fixedCols_, leftCol_, ColCount(), viewport()->width(),
                [this](int c) { return ColWidth(c); }, ACol) &&
           find(p.y(), fixedRows_, topRow_, RowCount(), viewport()->height(),
                [this](int r) { return RowHeight(r); }, ARow);
}

// ---- painting ----

void TCustomGrid::Invalidate() { viewport()->update(); }

void TCustomGrid::paintEvent(QPaintEvent* /*event*/)
{
    if (!PaintAllowed()) return;
    ++paintCount_;
    QPainter(viewport()).drawImage(0, 0, PaintImage());
}

QImage TCustomGrid::PaintImage()
{
    QImage image(viewport()->size().expandedTo({1, 1}), QImage::Format_RGB32);
    Canvas cv(image);
    cv.Brush.Color = color_;
    cv.Brush.Style = bsSolid;
    cv.FillRect(0, 0, image.width(), image.height());
    PaintCells(cv);
    DrawOverlay(cv);
    return image;
}

void TCustomGrid::PaintCells(Canvas& cv)
{
    const int w = cv.Width(), h = cv.Height();
    int y = 0;
    for (int i = 0; i < RowCount() && y < h; ++i) {
        const int r = i < fixedRows_ ? i : topRow_ + (i - fixedRows_);
        if (r >= RowCount()) break;
        int x = 0;
        for (int k = 0; k < ColCount() && x < w; ++k) {
            const int c = k < fixedCols_ ? k : leftCol_ + (k - fixedCols_);
            if (c >= ColCount()) break;
            const TRect rect{x, y, x + ColWidth(c), y + RowHeight(r)};
            PaintOneCell(cv, c, r, rect);
            // The grid lines after the cell, the crossing pixel included.
            cv.Brush.Style = bsSolid;
            cv.Brush.Color = (c < fixedCols_ || r < fixedRows_) ? clBlack : clSilver;
            cv.FillRect(rect.Right, rect.Top, rect.Right + kGridLine, rect.Bottom + kGridLine);
            cv.FillRect(rect.Left, rect.Bottom, rect.Right + kGridLine, rect.Bottom + kGridLine);
            x = rect.Right + kGridLine;
        }
        y += RowHeight(r) + kGridLine;
    }
}

void TCustomGrid::PaintOneCell(Canvas& cv, int c, int r, TRect rect)
{
    const bool fixed = c < fixedCols_ || r < fixedRows_;
    const TGridRect sel = Selection();
    TGridDrawState state = 0;
    if (fixed) state |= gdFixed;
    const bool current = c == curCol_ && r == curRow_;
    if (current && hasFocus()) state |= gdFocused;
    if (!fixed && c >= sel.Left && c <= sel.Right && r >= sel.Top && r <= sel.Bottom) state |= gdSelected;
    if ((state & gdFocused) != 0 && EditorShowing()) return;  // the editor covers it
    cv.Font.Font = font();
    cv.Font.Color = clWindowText;
    cv.Brush.Style = bsSolid;
    if (fixed) {
        cv.Brush.Color = fixedColor_;
    } else if ((state & gdSelected) != 0 && (state & gdFocused) == 0) {
        cv.Brush.Color = clHighlight;
        cv.Font.Color = clHighlightText;
    } else {
        cv.Brush.Color = color_;
    }
    cv.FillRect(rect.Left, rect.Top, rect.Right, rect.Bottom);
    DrawCell(cv, c, r, rect, state);
    if ((state & gdFocused) != 0) {
        cv.Pen.Mode = pmXor;
        cv.Pen.Style = psDot;
        cv.Pen.Color = clWhite;
        cv.Brush.Style = bsClear;
        cv.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
        cv.Pen = {};
    }
}

void TCustomGrid::DrawCell(Canvas& /*cv*/, int /*ACol*/, int /*ARow*/, TRect /*rect*/, TGridDrawState /*state*/) {}

void TCustomGrid::DrawOverlay(Canvas& /*cv*/) {}

// ---- in-place editor ----

QString TCustomGrid::GetEditText(int /*ACol*/, int /*ARow*/) { return {}; }

void TCustomGrid::SetEditText(int /*ACol*/, int /*ARow*/, const QString& /*value*/) {}

bool TCustomGrid::EditorShowing() const { return editCol_ >= 0; }

void TCustomGrid::ShowEditor()
{
    if (!editing_ || EditorShowing() || curCol_ >= ColCount() || curRow_ >= RowCount()) return;
    editCol_ = curCol_;
    editRow_ = curRow_;
    ScrollInView(editCol_, editRow_);
    inplace_->setText(GetEditText(editCol_, editRow_));
    inplace_->setModified(false);
    PlaceEditor();
    inplace_->show();
    inplace_->setFocus();
    inplace_->selectAll();
    Invalidate();
}

void TCustomGrid::HideEditor()
{
    if (!EditorShowing()) return;
    const int c = editCol_, r = editRow_;
    editCol_ = editRow_ = -1;
    const bool hadFocus = inplace_->hasFocus();
    inplace_->hide();
    if (hadFocus) setFocus();
    if (inplace_->isModified()) SetEditText(c, r, inplace_->text());
    Invalidate();
}

void TCustomGrid::PlaceEditor()
{
    if (!EditorShowing()) return;
    const TRect r = CellRect(editCol_, editRow_);
    inplace_->setGeometry(r.Left, r.Top, std::max(r.Right - r.Left, 1), std::max(r.Bottom - r.Top, 1));
    inplace_->setVisible(r.Right > r.Left);
}

bool TCustomGrid::EditorKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        HideEditor();
        EnterPressed();
        return true;
    case Qt::Key_Escape:
        inplace_->setModified(false);
        HideEditor();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        HideEditor();
        keyPressEvent(event);
        return true;
    default:
        return false;
    }
}

bool TCustomGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == inplace_) {
        if (event->type() == QEvent::KeyPress) return EditorKey(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusOut && EditorShowing()) HideEditor();
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// ---- keys and mouse ----

void TCustomGrid::keyPressEvent(QKeyEvent* event)
{
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const int page = std::max(1, verticalScrollBar()->pageStep());
    int c = curCol_, r = curRow_;
    switch (event->key()) {
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_PageUp: r -= page; break;
    case Qt::Key_PageDown: r += page; break;
    case Qt::Key_Home: ctrl ? (r = fixedRows_) : (c = fixedCols_); break;
    case Qt::Key_End: ctrl ? (r = RowCount() - 1) : (c = ColCount() - 1); break;
    case Qt::Key_F2: ShowEditor(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (EditorShowing()) {
            HideEditor();
        } else {
            ShowEditor();
        }
        EnterPressed();
        return;
    default:
        if (editing_ && !event->text().isEmpty() && event->text().at(0).isPrint() && !ctrl) {
            ShowEditor();
            if (EditorShowing()) {
                inplace_->setText(event->text());
                inplace_->setModified(true);
            }
            return;
        }
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    MoveCurrent(std::clamp(c, fixedCols_, std::max(fixedCols_, ColCount() - 1)),
                std::clamp(r, fixedRows_, std::max(fixedRows_, RowCount() - 1)), shift);
}

void TCustomGrid::mousePressEvent(QMouseEvent* event)
{
    HideEditor();
    setFocus();
    if (event->button() != Qt::LeftButton) return;
    int c = 0, r = 0;
    if (!MouseToCell(event->position().toPoint(), c, r) || c < fixedCols_ || r < fixedRows_) return;
    MoveCurrent(c, r, (event->modifiers() & Qt::ShiftModifier) != 0);
    selecting_ = true;
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (!selecting_ || (event->buttons() & Qt::LeftButton) == 0) {
        selecting_ = false;
        return;
    }
    int c = 0, r = 0;
    if (!MouseToCell(event->position().toPoint(), c, r)) return;
    c = std::max(c, fixedCols_);
    r = std::max(r, fixedRows_);
    if (c != curCol_ || r != curRow_) MoveCurrent(c, r, true);
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    int c = 0, r = 0;
    if (event->button() == Qt::LeftButton && MouseToCell(event->position().toPoint(), c, r) &&
        c >= fixedCols_ && r >= fixedRows_) {
        ShowEditor();
    }
}
