#include "app/ViewFileOutput.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace oxw::app {

// Every line of the list takes the width of its widest line, so the list's sideways extent holds
// the whole of every line. (The list asks one line for the size of all, which keeps views of
// long LOG files fast.)
class WidestLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void SetWidestRow(int row) { widestRow_ = row; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QModelIndex widest = index.sibling(widestRow_, 0);
        if (widest.isValid() && widest != index)
            size.setWidth(std::max(size.width(), QStyledItemDelegate::sizeHint(option, widest).width()));
        return size;
    }

private:
    int widestRow_ = -1;
};

namespace {

// Width of a line in a fixed-pitch font, with TABs advancing to the next tab stop as the list
// draws them; measuring every line of a long LOG through the font would take seconds.
double LineWidth(const QString& line, double charWidth, double tabStop) {
    if (!line.contains(u'\t')) return line.size() * charWidth;
    double x = 0;
    for (const QChar c : line) x = c == u'\t' ? (std::floor(x / tabStop) + 1) * tabStop : x + charWidth;
    return x;
}

}  // namespace

TViewFileOutput::TViewFileOutput(QWidget* parent)
    : Form(QStringLiteral("ViewFileOutput"), QStringLiteral("ViewFile"), parent)
{
    ListFileContent = new QListWidget(this);
    ListFileContent->setObjectName(QStringLiteral("ListFileContent"));
    ListFileContent->setUniformItemSizes(true);
    ListFileContent->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ListFileContent->setTextElideMode(Qt::ElideNone);
    ListFileContent->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    ListFileContent->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lineDelegate_ = new WidestLineDelegate(ListFileContent);
    ListFileContent->setItemDelegate(lineDelegate_);
    ClickToCloseViewFileOutput =
        platform::MakeButton(QStringLiteral("ClickToCloseViewFileOutput"), QStringLiteral("Click to Close"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListFileContent, 1);
    layout->addWidget(ClickToCloseViewFileOutput, 0, Qt::AlignRight);
    resize(900, 600);
    connect(ClickToCloseViewFileOutput, &QPushButton::clicked, this,
            [this] { ClickToCloseViewFileOutputClick(); });
}

void TViewFileOutput::ClickToCloseViewFileOutputClick() {
    ListFileContent->clear();
    lineDelegate_->SetWidestRow(-1);
    hide();
}

void TViewFileOutput::FitWidestLine() {
    const QFontMetricsF fm(ListFileContent->font());
    const double charWidth = fm.horizontalAdvance(QLatin1Char('M'));
    // A TAB alone advances to the first tab stop.
    double tabStop = fm.horizontalAdvance(QStringLiteral("\t"));
    if (tabStop <= 0) tabStop = 8 * charWidth;
    int widest = -1;
    double widestWidth = -1;
    for (int row = 0; row < ListFileContent->count(); ++row) {
        const double w = LineWidth(ListFileContent->item(row)->text(), charWidth, tabStop);
        if (w > widestWidth) {
            widestWidth = w;
            widest = row;
        }
    }
    lineDelegate_->SetWidestRow(widest);
    ListFileContent->doItemsLayout();
}

}  // namespace oxw::app
