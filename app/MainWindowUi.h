#pragma once
// The controls of the main window "OXW Sound File Analysis": the three-step page control, the
// step panels, the result panels, the read-only settings edits, the progress bar and list, and
// the menu. SetupMainWindowUi builds them on a QMainWindow with their object names; the main
// window connects their handlers.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QWidget>

#include "platform/ClickablePanel.h"
#include "platform/RadioButton.h"

namespace oxw::app {

// The main window's caption as designed; each run appends the sound file's name to it.
inline constexpr const char* kMainWindowCaption = "OXW Sound File Analysis";

struct MainWindowUi {
    using Panel = platform::ClickablePanel;
    using Radio = platform::RadioButton;

    // Menu: "&OXW Exit" with "Select Processing" (disabled; "Single File", "Batch Files"),
    // a separator and "E&xit"; then "OXW Help".
    QMenuBar* MainMenu1 = nullptr;
    QMenu* OXWExit = nullptr;
    QMenu* SelectProcessingMenu = nullptr;
    QAction* Open1 = nullptr;  // "Select Processing", the submenu's action
    QAction* SingleFile1 = nullptr;
    QAction* BatchFiles1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Help1 = nullptr;

    QLabel* TitleLabel1 = nullptr;  // "OXW  - "
    QLabel* TitleLabel2 = nullptr;  // " Sound File Analysis"
    QGroupBox* StepsGroup = nullptr;  // "The Three OXW noise analysis steps"

    // The workflow: page 0 "Analyse Personal Sensitivity", 1 "Analyse a Sound (wav) File",
    // 2 "View Analysis Results"; the hidden label names the page that may be shown.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QLabel* PageControl1PageToBeDisplayed = nullptr;

    // Page 0.
    Panel* Label44 = nullptr;  // display and respond to the questionnaire
    Panel* Label45 = nullptr;  // skip the questionnaire
    Radio* DoQuestionnaire = nullptr;       // hidden
    Radio* DoNotDoQuestionnaire = nullptr;  // hidden

    // Page 1.
    Panel* Label43 = nullptr;  // "Click here for Acoustical Analysis"
    Panel* Label42 = nullptr;  // "... plus Joint Nordic Tone Analysis"
    Radio* ProcessIntroductory = nullptr;  // hidden
    Radio* ProcessAdvanced = nullptr;      // hidden

    // Page 2: the result tabs.
    QTabWidget* PageControl2 = nullptr;
    Panel* ViewSUMMARYFile = nullptr;
    Panel* ViewLOGFile = nullptr;
    Panel* View3DMIDIData = nullptr;
    Panel* ViewAudibility = nullptr;
    QLabel* BuildingChart = nullptr;  // hidden: "Building chart."
    Panel* Panel10 = nullptr;
    Panel* Label52 = nullptr;  // on Panel10
    QPlainTextEdit* Memo1 = nullptr;
    Panel* Label51 = nullptr;

    // "Indicators showing analysis option and estimated time to complete each analysis."
    QGroupBox* GroupBox3 = nullptr;
    QLineEdit* SelectedInputFile = nullptr;
    QLineEdit* RecordedStartTime = nullptr;
    QLineEdit* RecordedEndTime = nullptr;
    QLineEdit* PositionStart = nullptr;
    QLineEdit* SoundFileMaximumPosition = nullptr;
    QLineEdit* PositionCurrent = nullptr;
    QLineEdit* SoundFileBytesRead = nullptr;
    QLineEdit* MusicFFTSampleSize = nullptr;
    QLineEdit* MusicBinCount = nullptr;
    QLineEdit* QualityFFTSampleSize = nullptr;
    QLineEdit* QualityBinCount = nullptr;
    QLineEdit* AnalysisChannel = nullptr;
    QLineEdit* ChannelsInSoundFile = nullptr;
    QLineEdit* CurrentProcessingMode = nullptr;
    QProgressBar* ProgressBar1 = nullptr;        // 0 .. 10000000
    QProgressBar* SortingDataProgress = nullptr;  // hidden, 0 .. 100
    QLabel* SortingDataProgressLabel = nullptr;   // hidden: "Data Sorting Progress"

    // "Progress Summary Table".
    QLabel* ProgressSummaryTableLabel = nullptr;
    QListWidget* lbProgressAuditTable = nullptr;
};

// Builds the main window's controls and menu on `window` and fills `ui`. Sets the title
// "OXW Sound File Analysis" and a client area of 1016 x 680 pixels below the menu.
void SetupMainWindowUi(QMainWindow* window, MainWindowUi& ui);

}  // namespace oxw::app
