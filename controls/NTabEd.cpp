// TNTabEd: data binding, layout, accessors and the drawing of the cells; see NTabEd.h. The
// popups, marks, copy buffer, clipboard import, name edit and comment memo are in
// NTabEdActions.cpp.
#include "controls/NTabEd.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <new>

#include "controls/NTabEdPause.h"
#include "numeric/NumberFormat.h"
#include "platform/Canvas.h"

using oxw::numeric::FormatData;
using oxw::numeric::strff;
using oxw::platform::Canvas;

namespace {
constexpr int kDefaultPrecision = 3;
constexpr int kRowNameWidth = 80;
constexpr int kAttribWidth = 32;
constexpr int kTextLeft = 3;   // text starts 3 px right of the cell's left edge
constexpr int kTextTop = 2;    // and 2 px below its top
constexpr int kTextRight = 3;  // and is clipped 3 px before its right edge
}  // namespace

TNTabEd::TNTabEd(QWidget* parent)
    : TCustomGrid(parent), data_(std::make_unique<TDataTable>()), nameEdit_(new QLineEdit(viewport())),
      memo_(new QPlainTextEdit(viewport()))
{
    PaintPause pause(*this);
    SetFixedCols(2);
    SetColWidth(1, kAttribWidth);
    SetColWidth(0, kRowNameWidth);
    nameEdit_->setObjectName(QStringLiteral("NameEdit"));
    nameEdit_->hide();
    nameEdit_->installEventFilter(this);
    memo_->setObjectName(QStringLiteral("CommentMemo"));
    memo_->hide();
    memo_->installEventFilter(this);
    try {
        data_->Resize(ColCount() - 2, RowCount() - 1);
        precision_.assign(static_cast<std::size_t>(data_->GetNrCols()), kDefaultPrecision);
    } catch (const std::bad_alloc&) {
        throw EVKRNTabedError(ComponentPrefix(objectName().toStdString()) +
                              "failed to initialize table editor (out of memory)");
    }
    data_->SetOnResize([this](int oc, int orr, int nc, int nr) { TableResized(oc, orr, nc, nr); });
    data_->SetOnChange([this] { TableChanged(); });
    EmptyCopyBuffer();
    BuildPopups();
    SetColor(clWindow);
    SetFixedColor(clBtnFace);
    lastCellX_ = ColOffset() + 1;
    lastCellY_ = RowOffset() + 1;
}

TNTabEd::~TNTabEd()
{
    // The table goes after the grid's widgets: no late notices into a half-destroyed editor.
    data_->SetOnChange(nullptr);
    data_->SetOnResize(nullptr);
    nameEdit_->removeEventFilter(this);
    memo_->removeEventFilter(this);
}

void TNTabEd::RaiseOutOfMemory() const
{
    throw EVKRNTabedError(ComponentPrefix(objectName().toStdString()) + "not enough memory on heap");
}

// ---- table notifications ----

void TNTabEd::TableChanged()
{
    Changed();
    Repaint();
}

void TNTabEd::TableResized(int oldCols, int oldRows, int newCols, int newRows)
{
    try {
        if (newCols != oldCols) {
            const int width = ColWidth(ColCount() - 1);
            SetColCount(ColOffset() + newCols + 1);
            for (int i = ColOffset() + oldCols; i <= ColOffset() + newCols; ++i) SetColWidth(i, width);
            // Added columns take the decimals of the old last column.
            const int inherited = oldCols >= 1 ? GetDecPlaces(oldCols)
                                               : (precision_.empty() ? kDefaultPrecision : precision_.back());
            precision_.resize(static_cast<std::size_t>(std::max(newCols, 0)), inherited);
        }
        if (newRows != oldRows) {
            const int height = RowHeight(RowCount() - 1);
            SetRowCount(RowOffset() + newRows + 1);
            for (int i = RowOffset() + oldRows; i <= RowOffset() + newRows; ++i) SetRowHeight(i, height);
        }
    } catch (const std::bad_alloc&) {
        RaiseOutOfMemory();
    }
    Repaint();
}

void TNTabEd::Repaint()
{
    if (!PaintAllowed() || !isVisible()) return;
    ++paintRequests_;
    Invalidate();
}

void TNTabEd::Changed() { emit OnChange(); }

void TNTabEd::ChangedSetup()
{
    const TGridRect sel = Selection();
    lastCellX_ = sel.Left;
    lastCellY_ = sel.Top;
    emit OnChangeSetup();
}

// ---- accessors ----

void TNTabEd::SetNrCols(int n)
{
    {
        PaintPause pause(*this);
        try {
            data_->SetNrCols(n);
        } catch (const std::bad_alloc&) {
            RaiseOutOfMemory();
        }
        ChangedSetup();
    }
    Repaint();
}

void TNTabEd::SetNrRows(int n)
{
    {
        PaintPause pause(*this);
        try {
            data_->SetNrRows(n);
        } catch (const std::bad_alloc&) {
            RaiseOutOfMemory();
        }
        ChangedSetup();
    }
    Repaint();
}

QString TNTabEd::GetColName(int i) const { return QString::fromStdString(data_->GetColName(i)); }
QString TNTabEd::GetRowName(int i) const { return QString::fromStdString(data_->GetRowName(i)); }
void TNTabEd::SetColName(int i, const QString& name) { data_->SetColName(i, name.toStdString()); }
void TNTabEd::SetRowName(int i, const QString& name) { data_->SetRowName(i, name.toStdString()); }

int TNTabEd::GetDecPlaces(int ACol) const
{
    if (ACol < 1 || ACol > static_cast<int>(precision_.size())) return 0;
    return precision_[static_cast<std::size_t>(ACol - 1)];
}

void TNTabEd::SetDecPlaces(int ACol, int decimals)
{
    if (ACol < 1 || ACol > static_cast<int>(precision_.size())) return;
    precision_[static_cast<std::size_t>(ACol - 1)] = decimals < 0 ? -1 : std::min(decimals, 8);
    Repaint();
    ChangedSetup();
}

void TNTabEd::SetNumWidth(int w)
{
    if (w >= 1 && w <= 20) {
        numWidth_ = w;
        Repaint();
    }
    ChangedSetup();
}

QString TNTabEd::GetComment() const { return QString::fromStdString(data_->GetComment()); }

void TNTabEd::SetComment(const QString& comment) { data_->SetComment(comment.toStdString()); }

void TNTabEd::SetSuppressPaint(bool suppress)
{
    if (suppress == suppressPaint_) return;
    suppressPaint_ = suppress;
    if (!suppress) Repaint();
}

void TNTabEd::SetColorNormal(TColor c)
{
    colorNormal_ = c;
    Repaint();
    ChangedSetup();
}

void TNTabEd::SetColorSelected(TColor c)
{
    colorSelected_ = c;
    Repaint();
    ChangedSetup();
}

void TNTabEd::SetColorMarkedA(TColor c)
{
    colorMarkedA_ = c;
    Repaint();
    ChangedSetup();
}

void TNTabEd::SetColorMarkedB(TColor c)
{
    colorMarkedB_ = c;
    Repaint();
    ChangedSetup();
}

void TNTabEd::SetColorMarkedBoth(TColor c)
{
    colorMarkedBoth_ = c;
    Repaint();
    ChangedSetup();
}

// ---- layout ----

void TNTabEd::SetAttribRowVisible(bool visible)
{
    if (visible == attribColumnShown_) return;
    PaintPause pause(*this);
    TGridRect sel = Selection();
    const int shift = visible ? 1 : -1;
    if (visible) {
        SetColCount(GetNrCols() + 2);
        for (int i = ColCount() - 1; i >= 2; --i) SetColWidth(i, ColWidth(i - 1));
        SetColWidth(1, kAttribWidth);
        attribColumnShown_ = true;
        SetFixedCols(2);
    } else {
        for (int i = 1; i <= ColCount() - 2; ++i) SetColWidth(i, ColWidth(i + 1));
        attribColumnShown_ = false;
        SetFixedCols(1);
        SetColCount(GetNrCols() + 1);
    }
    SetSelection({sel.Left + shift, sel.Top, sel.Right + shift, sel.Bottom});
    ChangedSetup();
}

void TNTabEd::SetAttribColVisible(bool visible)
{
    if (visible == attribRowShown_) return;
    PaintPause pause(*this);
    TGridRect sel = Selection();
    const int shift = visible ? 1 : -1;
    if (visible) {
        SetRowCount(GetNrRows() + 2);
        for (int i = RowCount() - 1; i >= 2; --i) SetRowHeight(i, RowHeight(i - 1));
        SetRowHeight(1, RowHeight(0));
        attribRowShown_ = true;
        SetFixedRows(2);
    } else {
        for (int i = 1; i <= RowCount() - 2; ++i) SetRowHeight(i, RowHeight(i + 1));
        attribRowShown_ = false;
        SetFixedRows(1);
        SetRowCount(GetNrRows() + 1);
    }
    SetSelection({sel.Left, sel.Top + shift, sel.Right, sel.Bottom + shift});
    ChangedSetup();
}

void TNTabEd::SetDefColWidth(int w)
{
    SetDefaultColWidth(w);
    SetColWidth(0, kRowNameWidth);
    if (attribColumnShown_) SetColWidth(1, kAttribWidth);
    ChangedSetup();
}

int TNTabEd::ColWidths(int i) const
{
    if (i > 0) return ColWidth(i + ColOffset());
    if (i == 0) return ColWidth(0);
    return attribColumnShown_ ? ColWidth(1) : 0;
}

// ---- drawing ----

TNTabEd::TCellLook TNTabEd::HeaderLook(QString text, bool current) const
{
    return {std::move(text), current ? colorSelected_ : colorNormal_, current, std::nullopt};
}

TNTabEd::TCellLook TNTabEd::DataCellLook(int c, int r, bool highlighted) const
{
    TCellLook look;
    const std::uint8_t s = data_->GetCellState(c, r);
    if ((s & 0x3F) == 0) {
        look.Text = QString::fromStdString(FormatData(data_->GetElem(c, r), numWidth_, GetDecPlaces(c)));
    } else if ((s & TDataTable::csNAN) != 0) {
        look.Text = QStringLiteral("NAN");
    }
    const bool a = (s & TDataTable::csMarkedA) != 0, b = (s & TDataTable::csMarkedB) != 0;
    if (a && b) {
        look.Color = colorMarkedBoth_;
    } else if (a) {
        look.Color = colorMarkedA_;
    } else if (b) {
        look.Color = colorMarkedB_;
    } else {
        look.Color = highlighted ? clHighlightText : colorNormal_;
    }
    return look;
}

TNTabEd::TCellLook TNTabEd::CellLook(int ACol, int ARow, bool highlighted) const
{
    const int co = ColOffset(), ro = RowOffset();
    const TGridRect sel = Selection();
    if (ACol > co && ARow > ro) return DataCellLook(ACol - co, ARow - ro, highlighted);
    const auto number = [](int v) { return QString::fromStdString(strff(v, 1, 0)); };
    if (ARow == 0) {
        if (ACol > co) return HeaderLook(GetColName(ACol - co), ACol == sel.Left);
        if (ACol == 0) {
            if (commentOpen_) return {QStringLiteral("Comment:"), clWhite, false, clTeal};
            return {QStringLiteral("%1:%2").arg(sel.Left - co).arg(sel.Top - ro), colorNormal_, false, clWindow};
        }
        return HeaderLook(QStringLiteral("Attrib"), false);
    }
    if (ro == 1 && ARow == 1) {
        if (ACol > co) return HeaderLook(number(data_->GetColAttrib(ACol - co)), ACol == sel.Left);
        if (ACol == 0) return HeaderLook(QStringLiteral("Attribute"), false);
        return HeaderLook(QString(), false);
    }
    if (ACol == 0) return HeaderLook(GetRowName(ARow - ro), ARow == sel.Top);
    return HeaderLook(number(data_->GetRowAttrib(ARow - ro)), ARow == sel.Top);
}

void TNTabEd::DrawCell(Canvas& cv, int ACol, int ARow, TRect rect, TGridDrawState state)
{
    const TCellLook look = CellLook(ACol, ARow, (state & gdSelected) != 0 && (state & gdFocused) == 0);
    if (look.Background) {
        cv.Brush.Style = bsSolid;
        cv.Brush.Color = *look.Background;
        cv.FillRect(rect.Left, rect.Top, rect.Right, rect.Bottom);
    }
    QFont f = font();
    f.setBold(look.Bold);
    f.setStyleStrategy(QFont::NoAntialias);  // texts in their exact colours
    cv.Font.Font = f;
    cv.Font.Color = look.Color;
    cv.Brush.Style = bsClear;
    const bool corner = ACol == 0 && ARow == 0;
    cv.TextRect(rect.Left, rect.Top, corner ? rect.Right : rect.Right - kTextRight, rect.Bottom,
                rect.Left + kTextLeft, rect.Top + kTextTop, look.Text);
    cv.Brush.Style = bsSolid;
    cv.Font.Font = font();
}

void TNTabEd::DrawOverlay(Canvas& cv)
{
    for (const auto& [c, r] : frames_) {
        const TRect rect = CellRect(c, r);
        if (rect.Right <= rect.Left) continue;
        cv.Pen.Mode = pmNot;
        cv.Pen.Style = psSolid;
        cv.Pen.Width = 1;
        cv.Brush.Style = bsClear;
        cv.Rectangle(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
    }
    cv.Pen = {};
    cv.Brush = {};
}

bool TNTabEd::CellFramed(int ACol, int ARow) const { return frames_.count({ACol, ARow}) != 0; }

void TNTabEd::ToggleFrame(QPoint cell)
{
    const std::pair key{cell.x(), cell.y()};
    if (!frames_.erase(key)) frames_.insert(key);
    Invalidate();
}

// ---- in-place editing and keys ----

QString TNTabEd::GetEditText(int ACol, int ARow)
{
    const int c = ACol - ColOffset();
    QString text = QString::fromStdString(FormatData(GetElem(c, ARow - RowOffset()), numWidth_, GetDecPlaces(c)));
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
    return text;
}

void TNTabEd::SetEditText(int ACol, int ARow, const QString& value)
{
    QString text = value;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (const auto v = oxw::numeric::TextToFloat(text.toStdString())) {
        SetElem(ACol - ColOffset(), ARow - RowOffset(), *v);
    }
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, value);
}

void TNTabEd::FollowCurrentCell()
{
    const TGridRect sel = Selection();
    lastCellX_ = sel.Left;
    lastCellY_ = sel.Top;
    Invalidate();
}

void TNTabEd::keyPressEvent(QKeyEvent* event)
{
    TCustomGrid::keyPressEvent(event);
    FollowCurrentCell();
}

void TNTabEd::EnterPressed()
{
    if (!autoAdvance_) return;
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    keyPressEvent(&down);
}
