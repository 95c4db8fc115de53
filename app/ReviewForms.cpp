#include "app/ReviewForms.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace oxw::app {

namespace {

struct EditRow {
    QLineEdit** edit;
    const char* name;
    const char* label;
};

// Read-only edits with their labels, then the button.
void BuildEditForm(QWidget* form, std::initializer_list<EditRow> rows, QPushButton* button)
{
    auto* layout = new QFormLayout(form);
    for (const EditRow& row : rows) {
        *row.edit = platform::MakeEdit(QString::fromLatin1(row.name), QString(), form, true);
        layout->addRow(QString::fromLatin1(row.label), *row.edit);
    }
    layout->addRow(button);
}

}  // namespace

TForm3::TForm3(QWidget* parent)
    : Form(QStringLiteral("Form3"), QStringLiteral("Determine Settings Variables"), parent)
{
    Button1 = platform::MakeButton(QStringLiteral("Button1"), QStringLiteral("Close"), this);
    connect(Button1, &QPushButton::clicked, this, &QWidget::hide);
    BuildEditForm(this,
                  {{&InputChannelsText, "InputChannelsText", "Input Channels"},
                   {&ReversedBytesText, "ReversedBytesText", "Input has Bytes reversed?"},
                   {&CalibrationText, "CalibrationText", "Selected Calibration value  (dB)"},
                   {&ResolutionText, "ResolutionText", "Resolution"},
                   {&OutputCompressionText, "OutputCompressionText", "Output Compression"},
                   {&StartTimeText, "StartTimeText", "Start Time"},
                   {&EndTimeText, "EndTimeText", "End Time"},
                   {&TerhardtText, "TerhardtText", "Terhardt"},
                   {&TuningText, "TuningText", "Tuning (Hz)"},
                   {&CalculateValue, "CalculateValue", "Calculate"},
                   {&FieldProcessing, "FieldProcessing", "Field"},
                   {&Cents, "Cents", "Cents Value"},
                   {&Cents1, "Cents1", "Cents Value 1"},
                   {&Cents2, "Cents2", "Cents Value 2"},
                   {&Sizert1Value, "Sizert1Value", "Size rt1"},
                   {&Sizert2Value, "Sizert2Value", "Size rt2"},
                   {&InitialCounter, "InitialCounter", "Initial Count value  (round(StartTime * SR)) "}},
                  Button1);
}

TScanSoundFileVariables::TScanSoundFileVariables(QWidget* parent)
    : Form(QStringLiteral("ScanSoundFileVariables"), QStringLiteral("Scan Sound File Variables"), parent)
{
    Button1 = platform::MakeButton(QStringLiteral("Button1"), QStringLiteral("Click to close Variables Review"),
                                   this);
    connect(Button1, &QPushButton::clicked, this, &QWidget::hide);
    BuildEditForm(this,
                  {{&LinesText, "LinesText", "Lines"},
                   {&FileSizeText, "FileSizeText", "File Size"},
                   {&WindowsText, "WindowsText", "Windows"},
                   {&CounterText, "CounterText", "Counter"},
                   {&TwoChanText, "TwoChanText", "Two Channels"},
                   {&StartsText, "StartsText", "Start"},
                   {&EndsText, "EndsText", "End"},
                   {&ElementsText, "ElementsText", "Elements"},
                   {&CalculateText, "CalculateText", "Calculate"}},
                  Button1);
}

TForm5::TForm5(QWidget* parent)
    : Form(QStringLiteral("Form5"), QStringLiteral("Initialise Means Variables"), parent)
{
    auto* layout = new QVBoxLayout(this);
    for (const char* name : {"Int_S", "Loudness_S", "SharpnessZ_S", "SharpnessA_S", "TimbralWidth_S", "Volume_S"}) {
        layout->addWidget(platform::MakeLabel(QString(), QString::fromLatin1(name), this));
    }
    Button1 = platform::MakeButton(QStringLiteral("Button1"), QStringLiteral("Close"), this);
    connect(Button1, &QPushButton::clicked, this, &QWidget::hide);
    layout->addWidget(Button1);
}

TSoundFileHeaderInfo::TSoundFileHeaderInfo(QWidget* parent)
    : Form(QStringLiteral("SoundFileHeaderInfo"), QStringLiteral("WAVE File Header Information"), parent)
{
    auto* layout = new QVBoxLayout(this);
    SelectedSoundFile = platform::MakeEdit(QStringLiteral("SelectedSoundFile"), QString(), this, true);
    layout->addWidget(SelectedSoundFile);
    for (const char* line : {"A WAVE file, this will always be the letters  RIFF",
                             "The size of the file that follows the first eight bytes",
                             "The form type, this will always be the letters  WAVE",
                             "The format chunk: compression code, channels, sample rate, bytes per second, "
                             "block alignment and bits per sample",
                             "The data chunk: its size, then the samples"}) {
        QLabel* label = platform::MakeLabel(QString(), QString::fromLatin1(line), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    Button1 = platform::MakeButton(QStringLiteral("Button1"), QStringLiteral("OK"), this);
    layout->addWidget(Button1);
}

}  // namespace oxw::app
