#include "controls/NTabEd.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include <algorithm>

// The grid's view of the editor's table. It keeps its own copy of the sizes, so that the grid
// is told about added and removed rows and columns in the order Qt's views expect (the table
// has already changed when its resize event arrives).
class TNTabEdModel : public QAbstractTableModel {
public:
    explicit TNTabEdModel(TNTabEd& editor) : QAbstractTableModel(&editor), editor_(editor) {}

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : rows_;
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : cols_ + Offset();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const int row = index.row() + 1;
        const int col = index.column() + 1 - Offset();
        if (col < 1) return QString::number(editor_.Data().GetRowAttrib(row));
        const std::uint8_t state = editor_.Data().GetCellState(col, row);
        if ((state & 0x3F) != 0) return (state & TDataTable::csNAN) != 0 ? QStringLiteral("NAN") : QString();
        const double value = editor_.GetElem(col, row);
        const int decimals = editor_.GetDecPlaces(col);
        return decimals < 0 ? QString::number(value, 'e', 6) : QString::number(value, 'f', decimals);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return editor_.GetRowName(section + 1);
        const int col = section + 1 - Offset();
        return col < 1 ? QStringLiteral("Attrib") : editor_.GetColName(col);
    }

    // Brings the grid's sizes in step with the table's.
    void Resized(int newCols, int newRows)
    {
        ResizeRows(newRows);
        ResizeCols(newCols);
    }

    void SetOffset(bool shown)
    {
        if (shown == offsetShown_) return;
        if (shown) {
            beginInsertColumns({}, 0, 0);
            offsetShown_ = true;
            endInsertColumns();
        } else {
            beginRemoveColumns({}, 0, 0);
            offsetShown_ = false;
            endRemoveColumns();
        }
    }

    void Reset(int cols, int rows)
    {
        beginResetModel();
        cols_ = cols;
        rows_ = rows;
        endResetModel();
    }

private:
    int Offset() const { return offsetShown_ ? 1 : 0; }

    void ResizeRows(int n)
    {
        if (n > rows_) {
            beginInsertRows({}, rows_, n - 1);
            rows_ = n;
            endInsertRows();
        } else if (n < rows_) {
            beginRemoveRows({}, n, rows_ - 1);
            rows_ = n;
            endRemoveRows();
        }
    }

    void ResizeCols(int n)
    {
        if (n > cols_) {
            beginInsertColumns({}, cols_ + Offset(), n + Offset() - 1);
            cols_ = n;
            endInsertColumns();
        } else if (n < cols_) {
            beginRemoveColumns({}, n + Offset(), cols_ + Offset() - 1);
            cols_ = n;
            endRemoveColumns();
        }
    }

    TNTabEd& editor_;
    int cols_ = 0;
    int rows_ = 0;
    bool offsetShown_ = true;
};

namespace {
constexpr int kDefaultPrecision = 3;
constexpr int kRowNameWidth = 80;
constexpr int kAttribWidth = 32;
constexpr int kDefaultColWidth = 64;
constexpr int kDefaultRowHeight = 24;
}  // namespace

TNTabEd::TNTabEd(QWidget* parent)
    : QTableView(parent), data_(std::make_unique<TDataTable>()), model_(new TNTabEdModel(*this))
{
    data_->Resize(3, 4);
    precision_.assign(3, kDefaultPrecision);
    model_->Reset(3, 4);
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setDefaultSectionSize(kDefaultColWidth);
    horizontalHeader()->resizeSection(0, kAttribWidth);
    verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
    verticalHeader()->setMinimumWidth(kRowNameWidth);
    data_->SetOnChange([this] { TableChanged(); });
    data_->SetOnResize([this](int oc, int orr, int nc, int nr) { TableResized(oc, orr, nc, nr); });
}

TNTabEd::~TNTabEd()
{
    // The table goes before the view's base: no late notices into a half-destroyed editor.
    data_->SetOnChange(nullptr);
    data_->SetOnResize(nullptr);
}

void TNTabEd::SetNrCols(int n)
{
    data_->SetNrCols(n);
    emit ChangedSetup();
}

void TNTabEd::SetNrRows(int n)
{
    data_->SetNrRows(n);
    emit ChangedSetup();
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
    viewport()->update();
    emit ChangedSetup();
}

void TNTabEd::SetAttribRowVisible(bool visible)
{
    if (visible == attribColumnShown_) return;
    attribColumnShown_ = visible;
    model_->SetOffset(visible);
    if (visible) horizontalHeader()->resizeSection(0, kAttribWidth);
    emit ChangedSetup();
}

void TNTabEd::SetSuppressPaint(bool suppress)
{
    if (suppress == suppressPaint_) return;
    suppressPaint_ = suppress;
    if (!suppress) viewport()->update();
}

void TNTabEd::paintEvent(QPaintEvent* event)
{
    if (suppressPaint_) return;
    QTableView::paintEvent(event);
}

void TNTabEd::TableResized(int /*oldCols*/, int /*oldRows*/, int newCols, int newRows)
{
    // Added columns take the decimals of the old last column.
    const int inherited = precision_.empty() ? kDefaultPrecision : precision_.back();
    precision_.resize(static_cast<std::size_t>(newCols), inherited);
    model_->Resized(newCols, newRows);
}

void TNTabEd::TableChanged()
{
    emit Changed();
    if (!suppressPaint_ && isVisible()) {
        viewport()->update();
        horizontalHeader()->viewport()->update();
        verticalHeader()->viewport()->update();
    }
}
