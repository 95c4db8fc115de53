// The main window's controls: the named controls the program finds and drives, the pages in
// workflow order and the menu.
#include "app/MainWindowUi.h"

#include <QMainWindow>

#include <gtest/gtest.h>

namespace {

using oxw::app::MainWindowUi;
using oxw::app::SetupMainWindowUi;

class MainWindowUiTest : public ::testing::Test {
protected:
    void SetUp() override { SetupMainWindowUi(&window, ui); }
    QMainWindow window;
    MainWindowUi ui;
};

QStringList TabTexts(const QTabWidget* tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
    return texts;
}

// The analysis writes these edits by object name.
TEST_F(MainWindowUiTest, SettingsEditsFoundByName)
{
    for (const char* name : {"SelectedInputFile", "RecordedStartTime", "RecordedEndTime", "PositionStart",
                             "SoundFileMaximumPosition", "PositionCurrent", "SoundFileBytesRead",
                             "MusicFFTSampleSize", "MusicBinCount", "QualityFFTSampleSize", "QualityBinCount",
                             "AnalysisChannel", "ChannelsInSoundFile", "CurrentProcessingMode"}) {
        auto* found = ui.GroupBox3->findChild<QLineEdit*>(name);
        EXPECT_TRUE(found && found->isReadOnly()) << name;
    }
    EXPECT_EQ(window.findChild<QLineEdit*>("SoundFileBytesRead"), ui.SoundFileBytesRead);
    EXPECT_EQ(window.findChild<QLabel*>("SoundFileBytesReadLabel")->text(), "Bytes Analysed");
}

TEST_F(MainWindowUiTest, CaptionsPagesAndMenu)
{
    EXPECT_EQ(window.windowTitle(), "OXW Sound File Analysis");
    EXPECT_EQ(ui.Label43->Caption(), "Click here for Acoustical Analysis");
    EXPECT_EQ(ui.Label51->Caption(), "Click to view decison process outcome");

    EXPECT_EQ(TabTexts(ui.PageControl1), QStringList({"Analyse Personal Sensitivity", "Analyse a Sound (wav) File",
                                                      "View Analysis Results"}));
    EXPECT_EQ(ui.PageControl1PageToBeDisplayed->text(), "Analyse Personal Sensitivity");
    EXPECT_EQ(TabTexts(ui.PageControl2),
              QStringList({"Analysis Statistics", "Log File", "3D Analysis, MIDI and Data", "Audibility",
                           "Sound Quality", "Responses", "Decision Analysis"}));
    // Menu bar: "&OXW Exit" (Select Processing, a separator, E&xit) then "OXW Help".
    const QList<QAction*> bar = ui.MainMenu1->actions();
    ASSERT_EQ(bar.size(), 2);
    EXPECT_EQ(bar[0]->text(), "&OXW Exit");
    EXPECT_EQ(bar[1], ui.Help1);
    const QList<QAction*> items = ui.OXWExit->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_TRUE(items[0] == ui.Open1 && items[1]->isSeparator() && items[2] == ui.Exit1);
    EXPECT_EQ(ui.SelectProcessingMenu->actions(), QList<QAction*>({ui.SingleFile1, ui.BatchFiles1}));
    EXPECT_FALSE(ui.Open1->isEnabled());
    EXPECT_TRUE(ui.Open1->text() == "Select Processing" && ui.Exit1->text() == "E&xit" &&
                ui.Help1->text() == "OXW Help");
}

}  // namespace
