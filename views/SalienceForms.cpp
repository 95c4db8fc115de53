#include "views/SalienceForms.h"

#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

#include "controls/NTabEd.h"
#include "midi/Form45.h"

namespace oxw::views {

namespace {

TNTabEd* HiddenTable(const QString& name, int cols, int rows, QWidget* parent)
{
    auto* table = new TNTabEd(parent);
    table->setObjectName(name);
    table->SetNrCols(cols);
    table->SetNrRows(rows);
    table->hide();
    return table;
}

}  // namespace

TMeanPitchSalienceChart::TMeanPitchSalienceChart(QWidget* parent)
    : Form(QStringLiteral("MeanPitchSalienceChart"),
           QStringLiteral("M E A N   P I T C H   S A L I E N C E"), parent)
{
    auto* layout = new QGridLayout(this);
    // 84 cells Edit<note><row>: note 1..12 (C..B), row 00..06 for octave 7..1.
    for (int row = 0; row <= 6; ++row) {
        for (int note = 1; note <= 12; ++note) {
            auto* cell = new QLineEdit(this);
            cell->setObjectName(QStringLiteral("Edit%1%2").arg(note).arg(row, 2, 10, QLatin1Char('0')));
            cell->setReadOnly(true);
            cell->setMaximumWidth(60);
            cell->installEventFilter(this);
            layout->addWidget(cell, row, note - 1);
        }
    }
    MeanPitchGrid = new QTableWidget(8, 13, this);
    MeanPitchGrid->setObjectName(QStringLiteral("MeanPitchGrid"));
    MeanPitchGrid->horizontalHeader()->hide();
    MeanPitchGrid->verticalHeader()->hide();
    MeanPitchGrid->hide();
    Button1 = platform::MakeButton(QStringLiteral("Button1"), QStringLiteral("Close"), this);
    connect(Button1, &QPushButton::clicked, this, &QWidget::hide);
    layout->addWidget(Button1, 7, 11);
}

void TMeanPitchSalienceChart::MakeTheSound(int oct, int nv, const QString& ni)
{
    if (!Form45) return;
    const int note = 12 * oct + nv;
    Form45->NotePan->setText(QStringLiteral("%1 : mg%2 : %2%3").arg(note).arg(ni).arg(oct));
    Form45->MidiGen1->PlayNote(note, 2);
}

void TMeanPitchSalienceChart::SalienceCellClick(QLineEdit* cell)
{
    bool isNumber = false;
    const double value = QLocale().toDouble(cell->text().trimmed(), &isNumber);
    if (!isNumber || !(value > LowSalienceTest)) return;
    // The cell's name tells its note and row: "Edit" + 1..12 + 00..06.
    const QString name = cell->objectName();
    if (!name.startsWith(QLatin1String("Edit")) || name.size() < 7) return;
    bool noteOk = false, rowOk = false;
    const int note = name.mid(4, name.size() - 6).toInt(&noteOk);
    const int row = name.right(2).toInt(&rowOk);
    if (!noteOk || !rowOk || note < 1 || note > 12 || row < 0 || row > 6) return;
    MakeTheSound(7 - row, note - 1, QString::fromLatin1(kNoteNames[note - 1]));
}

bool TMeanPitchSalienceChart::eventFilter(QObject* watched, QEvent* event)
{
    // A click: the left button let go over the cell.
    auto* cell = qobject_cast<QLineEdit*>(watched);
    if (cell && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && cell->rect().contains(mouse->position().toPoint()))
            SalienceCellClick(cell);
    }
    return Form::eventFilter(watched, event);
}

TMeanPitchSaliencePlot3DForm1::TMeanPitchSaliencePlot3DForm1(QWidget* parent)
    : Form(QStringLiteral("MeanPitchSaliencePlot3DForm1"), QStringLiteral("Plot3D Mean Pitch Salience"),
           parent)
{
    resize(640, 480);
}

Trch3dMainForm::Trch3dMainForm(QWidget* parent)
    : Form(QStringLiteral("rch3dMainForm"), QStringLiteral("3D Bar Chart of Chroma and Pitch Salience"),
           parent)
{
    ChromaSalience_SNTabEd1 = HiddenTable(QStringLiteral("ChromaSalience_SNTabEd1"), 1, 13, this);
    PitchSalience_SNTabEd1 = HiddenTable(QStringLiteral("PitchSalience_SNTabEd1"), 1, 100, this);
    Tones_SNTabEd1 = HiddenTable(QStringLiteral("Tones_SNTabEd1"), 1, 512, this);
    resize(640, 480);
}

}  // namespace oxw::views
