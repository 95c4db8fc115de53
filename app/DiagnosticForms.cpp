#include "app/DiagnosticForms.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "controls/NTabEd.h"
#include "controls/NumLab.h"
#include "controls/RChart.h"

namespace oxw::app {

namespace {

// The steps of one analysis, as the flowchart shows them.
void FillFlowchart(QTreeWidget* tree)
{
    tree->setHeaderLabel(QStringLiteral("Analysis steps"));
    auto* run = new QTreeWidgetItem(tree, {QStringLiteral("Analyse a sound file")});
    auto* setup = new QTreeWidgetItem(run, {QStringLiteral("Set up the run")});
    for (const char* s : {"Read the sound file header", "Check the file and take the settings",
                          "Scan the file and name the output files"}) {
        new QTreeWidgetItem(setup, {QString::fromLatin1(s)});
    }
    auto* block = new QTreeWidgetItem(run, {QStringLiteral("For every block")});
    for (const char* s : {"Spectrum", "Levels", "Loudness and sharpness", "Dissonance", "Tonal components",
                          "Pitch, chroma and key"}) {
        new QTreeWidgetItem(block, {QString::fromLatin1(s)});
    }
    auto* end = new QTreeWidgetItem(run, {QStringLiteral("At the end of the file")});
    for (const char* s : {"Percentiles", "Chord and key", "Noise ratings", "Summary report"}) {
        new QTreeWidgetItem(end, {QString::fromLatin1(s)});
    }
    tree->expandAll();
}

}  // namespace

TDataAnalysisFlowchart::TDataAnalysisFlowchart(QWidget* parent)
    : Form(QStringLiteral("DataAnalysisFlowchart"), QStringLiteral("Drtvolek Data Analysis Flowchart"), parent)
{
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    FillFlowchart(TreeView1);
    (new QVBoxLayout(this))->addWidget(TreeView1);
    resize(480, 520);
}

TForm27::TForm27(QWidget* parent) : Form(QStringLiteral("Form27"), QStringLiteral("Form27"), parent) {}

THelpInputAndOutput::THelpInputAndOutput(QWidget* parent)
    : Form(QStringLiteral("HelpInputAndOutput"), QStringLiteral("BASIC HELP - INPUT and OUTPUT"), parent)
{
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setPlainText(QStringLiteral(
        "Input: a RIFF/WAVE sound file with 16-bit PCM samples, 44100 samples per second, one or two "
        "channels, at least 2 seconds long.\n\nOutput: text files written beside the sound file: the "
        "summary report, the log, the trace and the array listings."));
    (new QVBoxLayout(this))->addWidget(RichEdit1);
    resize(520, 360);
}

TForm46::TForm46(QWidget* parent)
    : Form(QStringLiteral("Form46"), QStringLiteral("About Information"), parent)
{
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(QStringLiteral("OXW Sound File Analysis, version 1.2"));
    (new QVBoxLayout(this))->addWidget(Memo1);
    resize(420, 240);
}

TBatchFileSummary::TBatchFileSummary(QWidget* parent)
    : Form(QStringLiteral("BatchFileSummary"), QStringLiteral("Batch File Summary"), parent)
{
    resize(520, 400);
}

TLoudValuesForm::TLoudValuesForm(QWidget* parent)
    : Form(QStringLiteral("LoudValuesForm"), QStringLiteral("Array of Calculated Loudness Values"), parent)
{
    LoudValues = new TNTabEd(this);
    LoudValues->setObjectName(QStringLiteral("LoudValues"));
    (new QVBoxLayout(this))->addWidget(LoudValues);
    resize(520, 480);
}

TFrmShared::TFrmShared(QWidget* parent)
    : Form(QStringLiteral("FrmShared"), QStringLiteral("Charts Sharing One Item List"), parent)
{
    auto* charts = new QHBoxLayout;
    for (auto [chart, name] : {std::pair{&RChart1, "RChart1"}, {&RChart2, "RChart2"}, {&RChart3, "RChart3"}}) {
        *chart = new TRChart(this);
        (*chart)->setObjectName(QString::fromLatin1(name));
        charts->addWidget(*chart);
    }
    RChart2->SetUseDataOf(RChart1);
    RChart3->SetUseDataOf(RChart1);
    NTabEd1 = new TNTabEd(this);
    NTabEd1->setObjectName(QStringLiteral("NTabEd1"));
    auto* readOuts = new QHBoxLayout;
    for (auto [lab, name] : {std::pair{&NumLab1, "NumLab1"}, {&NumLab2, "NumLab2"}}) {
        *lab = new TNumLab(this);
        (*lab)->setObjectName(QString::fromLatin1(name));
        readOuts->addWidget(*lab);
    }
    readOuts->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(charts, 2);
    layout->addWidget(NTabEd1, 1);
    layout->addLayout(readOuts);
    resize(900, 560);
}

TForm48::TForm48(QWidget* parent) : Form(QStringLiteral("Form48"), QStringLiteral("Form48"), parent) {}

}  // namespace oxw::app
