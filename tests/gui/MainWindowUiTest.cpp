// The main window's controls: every named control exists with its object name, caption and
// design state.
#include "app/MainWindowUi.h"

#include <QMainWindow>

#include <gtest/gtest.h>

namespace {

using oxw::app::MainWindowUi;
using oxw::app::SetupMainWindowUi;
using oxw::platform::ClickablePanel;

class MainWindowUiTest : public ::testing::Test {
protected:
    void SetUp() override { SetupMainWindowUi(&window, ui); }
    QMainWindow window;
    MainWindowUi ui;
};

TEST_F(MainWindowUiTest, TitleAndClientArea)
{
    EXPECT_EQ(window.windowTitle(), "OXW Sound File Analysis");
    window.show();
    EXPECT_EQ(window.centralWidget()->width(), 1016);
    EXPECT_EQ(window.centralWidget()->height(), 680);
}

TEST_F(MainWindowUiTest, PanelsCarryTheirCaptions)
{
    const struct {
        ClickablePanel* member;
        const char* name;
        const char* caption;
    } panels[] = {
        {ui.Label44, "Label44",
         "              Click here to display and respond to the questionnaire (Optional but informative)."},
        {ui.Label45, "Label45",
         "Click here to NOT accept questionnaire option, go straight to Analyse a Sound (wav) File."},
        {ui.Label43, "Label43", "Click here for Acoustical Analysis"},
        {ui.Label42, "Label42", "Click here for Acoustical Analysis plus Joint Nordic Tone Analysis"},
        {ui.ViewSUMMARYFile, "ViewSUMMARYFile", "Click here to display this summary as a list"},
        {ui.ViewLOGFile, "ViewLOGFile", "Click here to display and inspect the LOG file."},
        {ui.View3DMIDIData, "View3DMIDIData", "Click here to display these charts and data table."},
        {ui.ViewAudibility, "ViewAudibility", "Click here to display this chart"},
        {ui.Label52, "Label52", "Click here to display this chart"},
        {ui.Label51, "Label51", "Click to view decison process outcome"},
    };
    for (const auto& p : panels) {
        auto* found = window.findChild<ClickablePanel*>(p.name);
        ASSERT_NE(found, nullptr) << p.name;
        EXPECT_EQ(found, p.member) << p.name;
        EXPECT_EQ(found->Caption(), p.caption) << p.name;
    }
    EXPECT_EQ(ui.Label52->parentWidget(), ui.Panel10);
    EXPECT_EQ(window.findChild<ClickablePanel*>("Panel10"), ui.Panel10);
}

TEST_F(MainWindowUiTest, PagesInWorkflowOrder)
{
    ASSERT_EQ(window.findChild<QTabWidget*>("PageControl1"), ui.PageControl1);
    ASSERT_EQ(ui.PageControl1->count(), 3);
    EXPECT_EQ(ui.PageControl1->tabText(0), "Analyse Personal Sensitivity");
    EXPECT_EQ(ui.PageControl1->tabText(1), "Analyse a Sound (wav) File");
    EXPECT_EQ(ui.PageControl1->tabText(2), "View Analysis Results");
    EXPECT_EQ(ui.PageControl1PageToBeDisplayed->objectName(), "PageControl1PageToBeDisplayed");
    EXPECT_EQ(ui.PageControl1PageToBeDisplayed->text(), "Analyse Personal Sensitivity");
    EXPECT_TRUE(ui.PageControl1PageToBeDisplayed->isHidden());

    ASSERT_EQ(window.findChild<QTabWidget*>("PageControl2"), ui.PageControl2);
    const char* tabs[] = {"Analysis Statistics", "Log File", "3D Analysis, MIDI and Data", "Audibility",
                          "Sound Quality", "Responses", "Decision Analysis"};
    ASSERT_EQ(ui.PageControl2->count(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(ui.PageControl2->tabText(i), tabs[i]);
    EXPECT_EQ(ui.BuildingChart->text(), "Building chart.");
    EXPECT_TRUE(ui.BuildingChart->isHidden());
    EXPECT_EQ(window.findChild<QPlainTextEdit*>("Memo1"), ui.Memo1);
}

TEST_F(MainWindowUiTest, HiddenRadiosBesideThePanels)
{
    for (const char* name : {"DoQuestionnaire", "DoNotDoQuestionnaire", "ProcessIntroductory", "ProcessAdvanced"}) {
        auto* radio = window.findChild<QRadioButton*>(name);
        ASSERT_NE(radio, nullptr) << name;
        EXPECT_TRUE(radio->isHidden()) << name;
    }
    EXPECT_EQ(ui.DoQuestionnaire->parentWidget(), ui.TabSheet1);
    EXPECT_EQ(ui.ProcessAdvanced->parentWidget(), ui.TabSheet2);
}

TEST_F(MainWindowUiTest, SettingsEditsAreReadOnlyAndLabelled)
{
    const struct {
        QLineEdit* member;
        const char* name;
        const char* label;
    } edits[] = {
        {ui.SelectedInputFile, "SelectedInputFile", "Sound File Name"},
        {ui.RecordedStartTime, "RecordedStartTime", "Start Time in Seconds"},
        {ui.RecordedEndTime, "RecordedEndTime", "End Time in Seconds"},
        {ui.PositionStart, "PositionStart", "Start Byte Position"},
        {ui.SoundFileMaximumPosition, "SoundFileMaximumPosition", "End Byte Position"},
        {ui.PositionCurrent, "PositionCurrent", "Current Byte Position"},
        {ui.SoundFileBytesRead, "SoundFileBytesRead", "Bytes Analysed"},
        {ui.MusicFFTSampleSize, "MusicFFTSampleSize", "Acoustical Analysis FFT"},
        {ui.MusicBinCount, "MusicBinCount", "Number of Analysis Bins"},
        {ui.QualityFFTSampleSize, "QualityFFTSampleSize", "Acoustical and Joint Nordic FFT"},
        {ui.QualityBinCount, "QualityBinCount", "Number of Analysis Bins"},
        {ui.AnalysisChannel, "AnalysisChannel", "Analyzing Channel/s"},
        {ui.ChannelsInSoundFile, "ChannelsInSoundFile", "Channels in the Sound File  "},
        {ui.CurrentProcessingMode, "CurrentProcessingMode", "Current Analysis Mode  "},
    };
    for (const auto& e : edits) {
        auto* found = ui.GroupBox3->findChild<QLineEdit*>(e.name);
        ASSERT_NE(found, nullptr) << e.name;
        EXPECT_EQ(found, e.member) << e.name;
        EXPECT_TRUE(found->isReadOnly()) << e.name;
        EXPECT_TRUE(found->text().isEmpty()) << e.name;
        auto* label = ui.GroupBox3->findChild<QLabel*>(QString(e.name) + "Label");
        ASSERT_NE(label, nullptr) << e.name;
        EXPECT_EQ(label->text(), e.label) << e.name;
    }
    EXPECT_EQ(ui.GroupBox3->title(),
              "Indicators showing analysis option and estimated time to complete each analysis.");
}

TEST_F(MainWindowUiTest, ProgressControls)
{
    EXPECT_EQ(window.findChild<QProgressBar*>("ProgressBar1"), ui.ProgressBar1);
    EXPECT_EQ(ui.ProgressBar1->minimum(), 0);
    EXPECT_EQ(ui.ProgressBar1->maximum(), 10000000);
    EXPECT_EQ(ui.SortingDataProgress->maximum(), 100);
    EXPECT_TRUE(ui.SortingDataProgress->isHidden());
    EXPECT_EQ(ui.SortingDataProgressLabel->text(), "Data Sorting Progress");
    EXPECT_EQ(window.findChild<QListWidget*>("lbProgressAuditTable"), ui.lbProgressAuditTable);
    EXPECT_EQ(ui.ProgressSummaryTableLabel->text(), "Progress Summary Table");
    EXPECT_EQ(ui.TitleLabel1->text(), "OXW  - ");
    EXPECT_EQ(ui.TitleLabel2->text(), " Sound File Analysis");
    EXPECT_EQ(ui.StepsGroup->title(), "The Three OXW noise analysis steps");
}

TEST_F(MainWindowUiTest, Menu)
{
    const struct {
        QAction* member;
        const char* name;
        const char* text;
        bool enabled;
    } actions[] = {
        {ui.Open1, "Open1", "Select Processing", false},
        {ui.SingleFile1, "SingleFile1", "Single File", true},
        {ui.BatchFiles1, "BatchFiles1", "Batch Files", true},
        {ui.Exit1, "Exit1", "E&xit", true},
        {ui.Help1, "Help1", "OXW Help", true},
    };
    for (const auto& a : actions) {
        auto* found = window.findChild<QAction*>(a.name);
        ASSERT_NE(found, nullptr) << a.name;
        EXPECT_EQ(found, a.member) << a.name;
        EXPECT_EQ(found->text(), a.text) << a.name;
        EXPECT_EQ(found->isEnabled(), a.enabled) << a.name;
    }
    // Menu bar: "&OXW Exit" then "OXW Help"; the first holds Select Processing, a separator, E&xit.
    const QList<QAction*> bar = ui.MainMenu1->actions();
    ASSERT_EQ(bar.size(), 2);
    EXPECT_EQ(bar[0]->text(), "&OXW Exit");
    EXPECT_EQ(bar[1], ui.Help1);
    const QList<QAction*> items = ui.OXWExit->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0], ui.Open1);
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2], ui.Exit1);
    EXPECT_EQ(ui.SelectProcessingMenu->actions(), QList<QAction*>({ui.SingleFile1, ui.BatchFiles1}));
}

}  // namespace
