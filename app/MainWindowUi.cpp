#include "app/MainWindowUi.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/ClickablePanel.h"
#include "platform/Form.h"
#include "platform/RadioButton.h"

namespace oxw::app {

using platform::ClickablePanel;
using platform::MakeLabel;
using platform::RadioButton;

namespace {

constexpr int kClientWidth = 1016;
constexpr int kClientHeight = 680;

QAction* NamedAction(const QString& name, const QString& text, QObject* parent)
{
    auto* action = new QAction(text, parent);
    action->setObjectName(name);
    return action;
}

ClickablePanel* StepPanel(const QString& name, const QString& caption, QWidget* parent)
{
    auto* panel = new ClickablePanel(name, caption, parent);
    QFont font = panel->CaptionLabel()->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 1);
    panel->CaptionLabel()->setFont(font);
    panel->setMinimumHeight(56);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
    panel->setPalette(pal);
    return panel;
}

QLabel* Note(const QString& text, QWidget* parent)
{
    QLabel* label = MakeLabel(QString(), text, parent);
    label->setWordWrap(true);
    return label;
}

RadioButton* HiddenRadio(const QString& name, const QString& text, QWidget* parent)
{
    auto* radio = new RadioButton(name, text, parent);
    radio->hide();
    return radio;
}

QWidget* Page(const QString& name, QTabWidget* tabs, const QString& caption)
{
    auto* page = new QWidget(tabs);
    page->setObjectName(name);
    tabs->addTab(page, caption);
    return page;
}

void BuildMenu(QMainWindow* window, MainWindowUi& ui)
{
    ui.MainMenu1 = window->menuBar();
    ui.MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    ui.OXWExit = ui.MainMenu1->addMenu(QStringLiteral("&OXW Exit"));
    ui.OXWExit->setObjectName(QStringLiteral("OXWExit"));
    ui.OXWExit->menuAction()->setObjectName(QStringLiteral("OXWExit1"));
    ui.SelectProcessingMenu = ui.OXWExit->addMenu(QStringLiteral("Select Processing"));
    ui.SelectProcessingMenu->setObjectName(QStringLiteral("SelectProcessingMenu"));
    ui.Open1 = ui.SelectProcessingMenu->menuAction();
    ui.Open1->setObjectName(QStringLiteral("Open1"));
    ui.Open1->setEnabled(false);
    ui.SingleFile1 = NamedAction(QStringLiteral("SingleFile1"), QStringLiteral("Single File"), window);
    ui.BatchFiles1 = NamedAction(QStringLiteral("BatchFiles1"), QStringLiteral("Batch Files"), window);
    ui.SelectProcessingMenu->addAction(ui.SingleFile1);
    ui.SelectProcessingMenu->addAction(ui.BatchFiles1);
    ui.OXWExit->addSeparator()->setObjectName(QStringLiteral("N1"));
    ui.Exit1 = NamedAction(QStringLiteral("Exit1"), QStringLiteral("E&xit"), window);
    ui.OXWExit->addAction(ui.Exit1);
    ui.Help1 = NamedAction(QStringLiteral("Help1"), QStringLiteral("OXW Help"), window);
    ui.MainMenu1->addAction(ui.Help1);
}

QLayout* BuildTitle(QWidget* central, MainWindowUi& ui)
{
    ui.TitleLabel1 = MakeLabel(QStringLiteral("TitleLabel1"), QStringLiteral("OXW  - "), central);
    ui.TitleLabel2 = MakeLabel(QStringLiteral("TitleLabel2"), QStringLiteral(" Sound File Analysis"), central);
    for (QLabel* label : {ui.TitleLabel1, ui.TitleLabel2}) {
        QFont font = label->font();
        font.setPointSize(18);
        font.setBold(true);
        label->setFont(font);
    }
    auto* row = new QHBoxLayout;
    row->addWidget(ui.TitleLabel1);
    row->addWidget(ui.TitleLabel2);
    row->addStretch();
    return row;
}

void BuildQuestionnairePage(MainWindowUi& ui)
{
    QWidget* page = ui.TabSheet1;
    ui.Label44 = StepPanel(
        QStringLiteral("Label44"),
        QStringLiteral("              Click here to display and respond to the questionnaire (Optional but "
                       "informative)."),
        page);
    ui.Label45 = StepPanel(
        QStringLiteral("Label45"),
        QStringLiteral("Click here to NOT accept questionnaire option, go straight to Analyse a Sound (wav) File."),
        page);
    ui.DoQuestionnaire = HiddenRadio(QStringLiteral("DoQuestionnaire"), QStringLiteral("Questionnaire"), page);
    ui.DoNotDoQuestionnaire =
        HiddenRadio(QStringLiteral("DoNotDoQuestionnaire"), QStringLiteral("No Questionnaire"), page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Note(QStringLiteral("A questionnaire to analyse your personal sensitivity to noise."), page));
    layout->addWidget(ui.Label44);
    layout->addWidget(ui.Label45);
    layout->addWidget(Note(QStringLiteral("Results from this questionnaire are not retained, stored or "
                                          "communicated to any external party or organisation."),
                           page));
    layout->addWidget(Note(QStringLiteral("Questionnaire output is displayed then destroyed when the menu bar "
                                          "item OXW Exit is selected  to finalise the analysis."),
                           page));
    layout->addStretch();
}

void BuildAnalysisPage(MainWindowUi& ui)
{
    QWidget* page = ui.TabSheet2;
    ui.Label43 = StepPanel(QStringLiteral("Label43"), QStringLiteral("Click here for Acoustical Analysis"), page);
    ui.Label42 = StepPanel(QStringLiteral("Label42"),
                           QStringLiteral("Click here for Acoustical Analysis plus Joint Nordic Tone Analysis"), page);
    ui.ProcessIntroductory = HiddenRadio(QStringLiteral("ProcessIntroductory"), QStringLiteral("Standard"), page);
    ui.ProcessAdvanced = HiddenRadio(QStringLiteral("ProcessAdvanced"), QStringLiteral("Extended"), page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Note(QStringLiteral("1. Select one of the below analysis options."), page));
    layout->addWidget(ui.Label43);
    layout->addWidget(ui.Label42);
    QLabel* which = Note(QStringLiteral("Which analysis do I choose?"), page);
    QFont bold = which->font();
    bold.setBold(true);
    which->setFont(bold);
    layout->addWidget(which);
    layout->addWidget(Note(QStringLiteral("Acoustical Analysis: levels, loudness, sharpness, dissonance, tonal "
                                          "components, pitch, key and room-noise ratings of the chosen stretch "
                                          "of the sound file."),
                           page));
    layout->addWidget(Note(QStringLiteral("Acoustical Analysis plus Joint Nordic Tone Analysis: the same, "
                                          "followed by a second, finer pass that rates the audibility of tones "
                                          "and of roughness. It takes considerably longer."),
                           page));
    layout->addStretch();
}

// One result tab holding a panel to click.
ClickablePanel* ResultTab(QTabWidget* tabs, const QString& pageName, const QString& tabCaption,
                          const QString& panelName, const QString& panelCaption)
{
    QWidget* page = Page(pageName, tabs, tabCaption);
    ClickablePanel* panel = StepPanel(panelName, panelCaption, page);
    (new QVBoxLayout(page))->addWidget(panel);
    return panel;
}

void BuildResultsPage(MainWindowUi& ui)
{
    ui.PageControl2 = new QTabWidget(ui.TabSheet3);
    ui.PageControl2->setObjectName(QStringLiteral("PageControl2"));
    auto* pageLayout = new QVBoxLayout(ui.TabSheet3);
    pageLayout->setContentsMargins(2, 2, 2, 2);
    pageLayout->addWidget(ui.PageControl2);
    QTabWidget* tabs = ui.PageControl2;
    const QString chart = QStringLiteral("Click here to display this chart");

    ui.ViewSUMMARYFile = ResultTab(tabs, QStringLiteral("TabSheetStatistics"), QStringLiteral("Analysis Statistics"),
                                   QStringLiteral("ViewSUMMARYFile"),
                                   QStringLiteral("Click here to display this summary as a list"));
    ui.ViewLOGFile = ResultTab(tabs, QStringLiteral("TabSheetLog"), QStringLiteral("Log File"),
                               QStringLiteral("ViewLOGFile"),
                               QStringLiteral("Click here to display and inspect the LOG file."));
    ui.View3DMIDIData = ResultTab(tabs, QStringLiteral("TabSheet3DMIDI"), QStringLiteral("3D Analysis, MIDI and Data"),
                                  QStringLiteral("View3DMIDIData"),
                                  QStringLiteral("Click here to display these charts and data table."));
    ui.ViewAudibility = ResultTab(tabs, QStringLiteral("TabSheetAudibility"), QStringLiteral("Audibility"),
                                  QStringLiteral("ViewAudibility"), chart);
    QWidget* audibility = ui.ViewAudibility->parentWidget();
    ui.BuildingChart = MakeLabel(QStringLiteral("BuildingChart"), QStringLiteral("Building chart."), audibility);
    ui.BuildingChart->hide();
    audibility->layout()->addWidget(ui.BuildingChart);

    // The sound-quality label sits on its own panel, which does nothing when clicked.
    ui.Panel10 = ResultTab(tabs, QStringLiteral("TabSheetSoundQuality"), QStringLiteral("Sound Quality"),
                           QStringLiteral("Panel10"), QString());
    ui.Panel10->CaptionLabel()->hide();
    ui.Label52 = StepPanel(QStringLiteral("Label52"), chart, ui.Panel10);
    ui.Panel10->layout()->addWidget(ui.Label52);

    QWidget* responses = Page(QStringLiteral("TabSheetResponses"), tabs, QStringLiteral("Responses"));
    (new QVBoxLayout(responses))
        ->addWidget(Note(QStringLiteral("Your answers to the questionnaire and your noise sensitivity scores are "
                                        "shown in the questionnaire window. They are not stored and are lost when "
                                        "the program ends."),
                         responses));

    ui.Label51 = ResultTab(tabs, QStringLiteral("TabSheetDecision"), QStringLiteral("Decision Analysis"),
                           QStringLiteral("Label51"), QStringLiteral("Click to view decison process outcome"));
    QWidget* decision = ui.Label51->parentWidget();
    ui.Memo1 = new QPlainTextEdit(decision);
    ui.Memo1->setObjectName(QStringLiteral("Memo1"));
    ui.Memo1->setReadOnly(true);
    ui.Memo1->setPlainText(
        QStringLiteral("The decision analysis combines your noise sensitivity from the questionnaire with the "
                       "measured equivalent A-weighted level and the night-time annoyance of the analysed sound "
                       "into an intrusive noise rating."));
    static_cast<QVBoxLayout*>(decision->layout())->insertWidget(0, ui.Memo1);

    for (int i = 0; i < tabs->count(); ++i) static_cast<QVBoxLayout*>(tabs->widget(i)->layout())->addStretch();
}

QGroupBox* BuildSteps(QWidget* central, MainWindowUi& ui)
{
    ui.StepsGroup = new QGroupBox(QStringLiteral("The Three OXW noise analysis steps"), central);
    ui.StepsGroup->setObjectName(QStringLiteral("StepsGroup"));
    ui.PageControl1 = new QTabWidget(ui.StepsGroup);
    ui.PageControl1->setObjectName(QStringLiteral("PageControl1"));
    ui.TabSheet1 = Page(QStringLiteral("TabSheet1"), ui.PageControl1, QStringLiteral("Analyse Personal Sensitivity"));
    ui.TabSheet2 = Page(QStringLiteral("TabSheet2"), ui.PageControl1, QStringLiteral("Analyse a Sound (wav) File"));
    ui.TabSheet3 = Page(QStringLiteral("TabSheet3"), ui.PageControl1, QStringLiteral("View Analysis Results"));
    ui.PageControl1PageToBeDisplayed = MakeLabel(QStringLiteral("PageControl1PageToBeDisplayed"),
                                                 QStringLiteral("Analyse Personal Sensitivity"), ui.StepsGroup);
    ui.PageControl1PageToBeDisplayed->hide();
    BuildQuestionnairePage(ui);
    BuildAnalysisPage(ui);
    BuildResultsPage(ui);
    auto* layout = new QVBoxLayout(ui.StepsGroup);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(ui.PageControl1);
    layout->addWidget(ui.PageControl1PageToBeDisplayed);
    return ui.StepsGroup;
}

// A read-only settings edit with its label, placed in the grid at (row, pair column).
QLineEdit* SettingsEdit(QGridLayout* grid, QGroupBox* group, const QString& name, const QString& label, int row,
                        int pair)
{
    auto* edit = platform::MakeEdit(name, QString(), group, true);
    QLabel* text = MakeLabel(name + QStringLiteral("Label"), label, group);
    text->setBuddy(edit);
    grid->addWidget(text, row, pair * 2);
    grid->addWidget(edit, row, pair * 2 + 1);
    return edit;
}

// The read-only settings edits: member, object name, label, grid row, label/edit pair column.
struct SettingsField {
    QLineEdit* MainWindowUi::*member;
    const char* name;
    const char* label;
    int row;
    int pair;
};

constexpr SettingsField kSettingsFields[] = {
    {&MainWindowUi::SelectedInputFile, "SelectedInputFile", "Sound File Name", 0, 0},
    {&MainWindowUi::CurrentProcessingMode, "CurrentProcessingMode", "Current Analysis Mode  ", 0, 3},
    {&MainWindowUi::RecordedStartTime, "RecordedStartTime", "Start Time in Seconds", 1, 0},
    {&MainWindowUi::RecordedEndTime, "RecordedEndTime", "End Time in Seconds", 2, 0},
    {&MainWindowUi::SoundFileBytesRead, "SoundFileBytesRead", "Bytes Analysed", 3, 0},
    {&MainWindowUi::PositionStart, "PositionStart", "Start Byte Position", 1, 1},
    {&MainWindowUi::SoundFileMaximumPosition, "SoundFileMaximumPosition", "End Byte Position", 2, 1},
    {&MainWindowUi::PositionCurrent, "PositionCurrent", "Current Byte Position", 3, 1},
    {&MainWindowUi::MusicFFTSampleSize, "MusicFFTSampleSize", "Acoustical Analysis FFT", 2, 2},
    {&MainWindowUi::MusicBinCount, "MusicBinCount", "Number of Analysis Bins", 3, 2},
    {&MainWindowUi::QualityFFTSampleSize, "QualityFFTSampleSize", "Acoustical and Joint Nordic FFT", 4, 2},
    {&MainWindowUi::QualityBinCount, "QualityBinCount", "Number of Analysis Bins", 5, 2},
    {&MainWindowUi::AnalysisChannel, "AnalysisChannel", "Analyzing Channel/s", 1, 3},
    {&MainWindowUi::ChannelsInSoundFile, "ChannelsInSoundFile", "Channels in the Sound File  ", 2, 3},
};

QGroupBox* BuildSettings(QWidget* central, MainWindowUi& ui)
{
    ui.GroupBox3 = new QGroupBox(
        QStringLiteral("Indicators showing analysis option and estimated time to complete each analysis."), central);
    ui.GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    QGroupBox* g = ui.GroupBox3;
    auto* grid = new QGridLayout(g);
    grid->setVerticalSpacing(3);
    for (const SettingsField& f : kSettingsFields) {
        ui.*f.member = SettingsEdit(grid, g, QString::fromLatin1(f.name), QString::fromLatin1(f.label), f.row, f.pair);
    }
    // The file name spans the first three pairs.
    grid->removeWidget(ui.SelectedInputFile);
    grid->addWidget(ui.SelectedInputFile, 0, 1, 1, 5);
    grid->addWidget(MakeLabel(QStringLiteral("FFTSampleSizeLabel"), QStringLiteral("FFT Sample Size"), g), 1, 4, 1, 2);
    ui.ProgressBar1 = new QProgressBar(g);
    ui.ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ui.ProgressBar1->setRange(0, 10000000);
    ui.ProgressBar1->setValue(0);
    ui.ProgressBar1->setTextVisible(false);
    grid->addWidget(ui.ProgressBar1, 4, 0, 1, 4);
    ui.SortingDataProgressLabel = MakeLabel(QStringLiteral("SortingDataProgressLabel"),
                                            QStringLiteral("Data Sorting Progress"), g);
    ui.SortingDataProgress = new QProgressBar(g);
    ui.SortingDataProgress->setObjectName(QStringLiteral("SortingDataProgress"));
    ui.SortingDataProgress->setRange(0, 100);
    ui.SortingDataProgress->setValue(0);
    ui.SortingDataProgressLabel->hide();
    ui.SortingDataProgress->hide();
    grid->addWidget(ui.SortingDataProgressLabel, 5, 0);
    grid->addWidget(ui.SortingDataProgress, 5, 1, 1, 3);
    for (int c : {1, 3, 5, 7}) grid->setColumnStretch(c, 1);
    return g;
}

QLayout* BuildProgressList(QWidget* central, MainWindowUi& ui)
{
    ui.ProgressSummaryTableLabel = MakeLabel(QStringLiteral("ProgressSummaryTableLabel"),
                                             QStringLiteral("Progress Summary Table"), central);
    ui.lbProgressAuditTable = new QListWidget(central);
    ui.lbProgressAuditTable->setObjectName(QStringLiteral("lbProgressAuditTable"));
    ui.lbProgressAuditTable->setUniformItemSizes(true);
    ui.lbProgressAuditTable->setMinimumWidth(220);
    auto* column = new QVBoxLayout;
    column->addWidget(ui.ProgressSummaryTableLabel);
    column->addWidget(ui.lbProgressAuditTable, 1);
    return column;
}

}  // namespace

void SetupMainWindowUi(QMainWindow* window, MainWindowUi& ui)
{
    window->setWindowTitle(QString::fromLatin1(kMainWindowCaption));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    window->setFont(font);
    BuildMenu(window, ui);

    auto* central = new QWidget(window);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildSteps(central, ui), 4);
    middle->addLayout(BuildProgressList(central, ui), 1);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addLayout(BuildTitle(central, ui));
    layout->addLayout(middle, 1);
    layout->addWidget(BuildSettings(central, ui));
    window->setCentralWidget(central);
    window->resize(kClientWidth, kClientHeight + ui.MainMenu1->sizeHint().height());
}

}  // namespace oxw::app
