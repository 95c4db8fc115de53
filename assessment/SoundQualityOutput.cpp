#include "assessment/SoundQualityOutput.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "controls/NTabEd.h"
#include "controls/RChart.h"

namespace oxw::assessment {

namespace {

struct Field {
    QLineEdit** edit;
    const char* name;
    const char* label;
};

QGroupBox* FieldGroup(const QString& caption, std::initializer_list<Field> fields, QWidget* parent)
{
    auto* group = new QGroupBox(caption, parent);
    auto* form = new QFormLayout(group);
    for (const Field& f : fields) {
        *f.edit = platform::MakeEdit(QString::fromLatin1(f.name), QString(), group, true);
        form->addRow(QString::fromLatin1(f.label), *f.edit);
    }
    return group;
}

}  // namespace

TSoundQualityOutput::TSoundQualityOutput(QWidget* parent)
    : Form(QStringLiteral("SoundQualityOutput"), QStringLiteral("OXW Sound Quality Summary"), parent)
{
    QGroupBox* levels = FieldGroup(QStringLiteral("Sound Level (dB(A)"),
                                   {{&LAMinOutput, "LAMinOutput", "LAMin"},
                                    {&LA90Output, "LA90Output", "LA90"},
                                    {&LA10Output, "LA10Output", "LA10"},
                                    {&LA1Output, "LA1Output", "LA1"},
                                    {&LAEQOutput, "LAEQOutput", "LAeq"}},
                                   this);
    QGroupBox* loudness = FieldGroup(QStringLiteral("Loudness (sones)"),
                                     {{&N5Output, "N5Output", "N5"}, {&N10Output, "N10Output", "N10"}}, this);
    QGroupBox* annoyance = FieldGroup(QStringLiteral("Modified Unbiassed Annoyance (iu)"),
                                      {{&DayOutput, "DayOutput", "Day"}, {&NightOutput, "NightOutput", "Night"}},
                                      this);
    QGroupBox* tonality = FieldGroup(QStringLiteral("ISO 1996-2 Tonality"),
                                     {{&Edit1, "Edit1", "Critical Band (Hz)"},
                                      {&Edit2, "Edit2", "Tonal Level (dB)"},
                                      {&Edit3, "Edit3", "Tonal Audibility (dB)"}},
                                     this);

    SoundQualityChart = new TRChart(this);
    SoundQualityChart->setObjectName(QStringLiteral("SoundQualityChart"));
    SoundQualityChart->SetCaption(QStringLiteral("Sound Level dB(A) vs Time"));
    SoundQualityChart->setMinimumSize(480, 300);

    SoundQualityChartTable = new TNTabEd(this);
    SoundQualityChartTable->setObjectName(QStringLiteral("SoundQualityChartTable"));
    SoundQualityChartTable->SetNrCols(3);
    SoundQualityChartTable->SetNrRows(1);
    SoundQualityChartTable->hide();

    Button1 = platform::MakeButton(QStringLiteral("Button1"), QStringLiteral("Exit"), this);
    connect(Button1, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QGridLayout(this);
    layout->addWidget(levels, 0, 0);
    layout->addWidget(loudness, 1, 0);
    layout->addWidget(annoyance, 2, 0);
    layout->addWidget(tonality, 3, 0);
    layout->addWidget(SoundQualityChart, 0, 1, 4, 1);
    layout->addWidget(Button1, 4, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    resize(860, 520);
}

}  // namespace oxw::assessment
