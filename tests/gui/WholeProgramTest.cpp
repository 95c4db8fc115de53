// The whole program offscreen: the real main window and forms, scripted dialogs, a generated WAV
// file in a temporary folder, and the files and windows after a run.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/Forms.h"
#include "app/SoundFileCheck.h"
#include "app/TForm1.h"
#include "app/ViewFileOutput.h"
#include "platform/Dialogs.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

namespace fs = std::filesystem;
using namespace oxw;

namespace {

std::vector<std::string> ReadLines(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

std::vector<std::string> FilesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class WholeProgram : public ::testing::Test {
protected:
    void SetUp() override {
        wav = dir / "tone.wav";
        std::vector<double> sine(44100 * 3);
        for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = 0.3 * std::sin(2 * M_PI * 1000.0 * i / 44100.0);
        test::WriteWav(wav, test::WavFormat(), {sine});
        app::CreateForms(forms);
        main = forms.Form1;
        main->SetDialogs(&dialogs);
        // The check dialog: "Continue Analysis", then "Left click to continue".
        dialogs.ModalScript = [](QDialog& d) {
            if (d.objectName() != "SoundFileCheck") return 0;
            auto& check = static_cast<app::TSoundFileCheck&>(d);
            check.ContnueAnalysis->click();
            check.Button1->click();
            return 1;
        };
    }
    void TearDown() override { app::DestroyForms(forms); }
    int EnabledPage() const {
        int enabled = -1, count = 0;
        for (int i = 0; i < main->ui.PageControl1->count(); ++i)
            if (main->ui.PageControl1->isTabEnabled(i)) enabled = i, ++count;
        return count == 1 ? enabled : -count;
    }
    void SkipQuestionnaire() { emit main->ui.Label45->clicked(); }
    void ClickAnalysis() { main->ProcessIntroductoryClick(); }

    test::TempDir dir{"oxw-whole"};
    fs::path wav;
    app::Forms forms;
    app::TForm1* main = nullptr;
    platform::ScriptedDialogs dialogs;
};

TEST_F(WholeProgram, WorkflowMovesOnlyForward) {
    EXPECT_EQ(main->windowTitle(), "OXW Sound File Analysis");
    EXPECT_EQ(EnabledPage(), 0);
    main->ui.PageControl1->setCurrentIndex(2);  // the user clicks another tab
    EXPECT_EQ(main->ui.PageControl1->currentIndex(), 0);
    EXPECT_FALSE(main->ui.Open1->isEnabled());
    SkipQuestionnaire();
    EXPECT_EQ(EnabledPage(), 1);
    EXPECT_EQ(main->ui.PageControl1PageToBeDisplayed->text(), "Analyse a Sound (wav) File");
    SkipQuestionnaire();  // a second click on page 0's panel changes nothing
    EXPECT_EQ(EnabledPage(), 1);
}

TEST_F(WholeProgram, OnePassRunWritesFilesAndOpensResults) {
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("|").toStdString();
    EXPECT_EQ(EnabledPage(), 2);
    EXPECT_EQ(main->GetText("MusicFFTSampleSize"), "4096");
    EXPECT_EQ(main->GetText("CurrentProcessingMode"), "Standard");
    EXPECT_EQ(main->GetText("RecordedEndTime"), "2");
    EXPECT_TRUE(main->windowTitle().endsWith(" - /tone.wav"));
    // The end of the run leaves "Select Processing" greyed and "OXW Help" available.
    EXPECT_FALSE(main->ui.Open1->isEnabled());
    EXPECT_TRUE(main->ui.Help1->isEnabled());
    // The scan hands the number of lines to the contour view's hidden edit; its label keeps its
    // own caption.
    EXPECT_EQ(forms.Smooth3DInterpolation->SavedAnalysisLoops->text(), "40");
    EXPECT_EQ(forms.Smooth3DInterpolation->AnalysisLoops->text(), "");

    const auto& names = main->Files().Names;
    const auto log = ReadLines(names.LogFileName);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "    End FormatOutput");
    EXPECT_EQ(log.back(), "    End Open1Click");
    const auto summary = ReadLines(names.DravolekSummaryFileName);
    EXPECT_NE(std::find(summary.begin(), summary.end(), "End Of Summary File"), summary.end());
    // The progress list got the run's lines; the sound-quality table one row per line + 1 empty.
    EXPECT_GT(main->ui.lbProgressAuditTable->count(), 0);
    EXPECT_EQ(forms.SoundQualityOutput->SoundQualityChartTable->GetNrRows(), 41);

    // The viewer shows the summary; a second view does not double it.
    emit main->ui.ViewSUMMARYFile->clicked();
    emit main->ui.ViewSUMMARYFile->clicked();
    EXPECT_EQ(forms.ViewFileOutput->ListFileContent->count(), static_cast<int>(summary.size()));
    EXPECT_TRUE(forms.ViewFileOutput->windowTitle().startsWith("OXW Analysis Contents of SUMMARY file "));
    // Viewing the LOG does not stop it.
    emit main->ui.ViewLOGFile->clicked();
    main->CreateAuditLog("S", "After viewing");
    EXPECT_EQ(ReadLines(names.LogFileName).back(), "Start After viewing");

    // The sound-quality chart: only the trailing empty row goes, however often it is clicked.
    emit main->ui.Label52->clicked();
    emit main->ui.Label52->clicked();
    EXPECT_EQ(forms.SoundQualityOutput->SoundQualityChartTable->GetNrRows(), 40);

    // Exit: the L, N and P files go (their rows are in the summary); the rest stay.
    main->Exit1Click();
    const auto left = FilesIn(dir.Path());
    for (const char* kind : {" Acoustic L.dvk", " Acoustic N.dvk", " Acoustic P.dvk"})
        EXPECT_EQ(std::count_if(left.begin(), left.end(), [&](auto& n) { return EndsWith(n, kind); }), 0) << kind;
    for (const char* kind : {" Acoustic S.dvk", " Acoustic T.dvk", " LOG.LOG", " Tone L.dvk", " CompactF.ARY"})
        EXPECT_EQ(std::count_if(left.begin(), left.end(), [&](auto& n) { return EndsWith(n, kind); }), 1) << kind;
    EXPECT_EQ(ReadLines(names.LogFileName).back(), "Start Exit1Click");
}

TEST_F(WholeProgram, WindowSystemEventsAreHandledOnceTheCheckDialogCloses) {
    // Under a window manager the area the dialog uncovers is repainted only when its events are
    // handled: an event queued while the dialog is up is handled during the run, not after it.
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    QString pageWhenHandled;
    auto accept = dialogs.ModalScript;
    dialogs.ModalScript = [&](QDialog& d) {
        QTimer::singleShot(0, main, [&] { pageWhenHandled = main->ui.PageControl1PageToBeDisplayed->text(); });
        return accept(d);
    };
    ClickAnalysis();
    EXPECT_EQ(EnabledPage(), 2);
    EXPECT_EQ(pageWhenHandled.toStdString(), "Analyse a Sound (wav) File");
}

TEST_F(WholeProgram, FileWithRiffSizeZeroIsAnalysed) {
    // Recorders that stream write 0 into the RIFF size field: the file is analysed as far as it
    // holds sound, with its output files and the bytes analysed shown.
    std::vector<double> sine(44100 * 3);
    for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = 0.3 * std::sin(2 * M_PI * 1000.0 * i / 44100.0);
    auto bytes = test::WavBytes(test::WavFormat(), {sine});
    test::PutU32(bytes, 4, 0);
    test::WriteWavFile(wav, bytes);
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("|").toStdString();
    EXPECT_EQ(EnabledPage(), 2);
    EXPECT_EQ(main->GetText("SoundFileBytesRead"), std::to_string(39 * 4096 * 2));
    EXPECT_TRUE(fs::exists(main->Files().Names.DravolekSummaryFileName));
}

TEST_F(WholeProgram, CancelledChoiceStaysOnAnalysisPage) {
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(std::nullopt);
    ClickAnalysis();
    EXPECT_EQ(EnabledPage(), 1);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_FALSE(main->Files().Named());
}

TEST_F(WholeProgram, DoubleClickStartsOneRun) {
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(std::nullopt);
    dialogs.FileAnswers.push_back(std::nullopt);
    emit main->ui.Label43->clicked();
    emit main->ui.Label43->doubleClicked();
    EXPECT_EQ(dialogs.Filters.size(), 1);
}

TEST_F(WholeProgram, TerminateEndsTheProgram) {
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    dialogs.ModalScript = [](QDialog& d) {
        static_cast<app::TSoundFileCheck&>(d).TerminateAnalysis->click();
        return 0;
    };
    ClickAnalysis();
    EXPECT_EQ(dialogs.EndProgramCount, 1);
    EXPECT_EQ(dialogs.Messages, QStringList{" A decision has been made to terminate the analysis"});
}

TEST_F(WholeProgram, RefusedFileShowsFactsThenEnds) {
    test::WriteWav(wav, test::WavFormat().Rate(48000), {std::vector<double>(48000 * 3, 0.0)});
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[0].toStdString(),
              " This sound file does not comply with OXW input specifications. Check OXW Help."
              "Sample rate 48000 Bits/Sample 16 Channels 1 Estimated Run Time 3");
    EXPECT_EQ(dialogs.EndProgramCount, 1);
}

TEST_F(WholeProgram, ErrorInsideRunLeavesWindowUsable) {
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString((dir / "missing.wav").string()));
    ClickAnalysis();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains("missing.wav"));
    EXPECT_EQ(EnabledPage(), 1);
    // A damaged header is refused with a clear message, and a good file can still be analysed.
    std::ofstream(dir / "bad.wav") << "RIFF";
    dialogs.FileAnswers.push_back(QString::fromStdString((dir / "bad.wav").string()));
    ClickAnalysis();
    EXPECT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.EndProgramCount, 0);
    // The check dialog closed without an answer: the program stays on the analysis page.
    auto accept = dialogs.ModalScript;
    dialogs.ModalScript = [](QDialog&) { return 0; };
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    EXPECT_EQ(dialogs.Messages.size(), 3);
    EXPECT_EQ(EnabledPage(), 1);
    dialogs.ModalScript = accept;
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    EXPECT_EQ(EnabledPage(), 2);
    // The caption and the check dialog's lists name only the last run's file.
    EXPECT_EQ(main->windowTitle().toStdString(), "OXW Sound File Analysis - /tone.wav");
    EXPECT_EQ(forms.SoundFileCheck->windowTitle().toStdString(), "OXW Analysing Sound File Header Data - /tone.wav");
    EXPECT_EQ(forms.SoundFileCheck->SoundFileStartTime->count(), 2);
}

TEST_F(WholeProgram, ViewerErrorIsShownAndTheCursorComesBack) {
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    ASSERT_EQ(EnabledPage(), 2);
    // A summary name the file system cannot even look up (a component longer than any allows).
    main->Files().Names.DravolekSummaryFileName = (dir / std::string(300, 'x')).string();
    const int before = static_cast<int>(dialogs.Messages.size());
    emit main->ui.ViewSUMMARYFile->clicked();
    ASSERT_EQ(static_cast<int>(dialogs.Messages.size()), before + 1);
    EXPECT_TRUE(dialogs.Messages.back().contains(QString(300, 'x'))) << dialogs.Messages.back().toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The window goes on working.
    emit main->ui.ViewLOGFile->clicked();
    EXPECT_GT(forms.ViewFileOutput->ListFileContent->count(), 0);
}

TEST_F(WholeProgram, ClosingTheWindowTakesTheExitPath) {
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    const std::string logName = main->Files().Names.LogFileName;
    main->close();
    EXPECT_EQ(ReadLines(logName).back(), "Start Exit1Click");
    EXPECT_FALSE(main->Files().LogFile.IsOpen());
}

TEST_F(WholeProgram, HelpFromBesideTheProgramOrAClearMessage) {
    // Help pages in the working folder are not the program's: the help is looked for beside the
    // executable (where this test program has none).
    fs::create_directories(dir / "OXWHelp_ver_1_2");
    std::ofstream(dir / "OXWHelp_ver_1_2" / "index.html") << "<html><a name=\"contents\"></a></html>";
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.Path());
    main->Help1Click();
    fs::current_path(cwd);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    const QString besideProgram =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/OXWHelp_ver_1_2/index.html");
    EXPECT_TRUE(dialogs.Messages[0].contains(besideProgram)) << dialogs.Messages[0].toStdString();
    dialogs.Messages.clear();

    main->SetHelpFolder(QString::fromStdString((dir / "nohelp").string()));
    main->Help1Click();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains("nohelp"));
}

}  // namespace
