// The whole program offscreen: the real main window and forms, scripted dialogs, a generated WAV
// file in a temporary folder, and the files and windows after a run.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/Forms.h"
#include "app/SoundFileCheck.h"
#include "app/TForm1.h"
#include "app/ViewFileOutput.h"
#include "engine/SpectrumFixture.h"
#include "platform/Dialogs.h"
#include "support/FailingStreams.h"
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

// The progress list takes a run's lines in batches, but holds every line whenever it can be
// seen: at a dialog opened during the run (the last line before the check dialog is the
// driver's start line) and after the run (the tail of the LOG, with "Exit" for "End").
TEST_F(WholeProgram, ProgressListHoldsEveryLineWhenItCanBeSeen) {
    SkipQuestionnaire();
    auto* list = main->ui.lbProgressAuditTable;
    std::string atTheCheck;
    const auto check = dialogs.ModalScript;
    dialogs.ModalScript = [&](QDialog& d) {
        if (d.objectName() == "SoundFileCheck" && list->count() > 0)
            atTheCheck = list->item(list->count() - 1)->text().toStdString();
        return check(d);
    };
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("|").toStdString();
    EXPECT_EQ(atTheCheck, "Start Open1Click");
    const auto log = ReadLines(main->Files().Names.LogFileName);
    const int n = list->count();
    ASSERT_GT(n, 10);
    ASSERT_LE(n, 1250);
    ASSERT_GE(static_cast<int>(log.size()), n);
    for (int i = 0; i < n; ++i) {
        std::string item = list->item(i)->text().toStdString();
        if (item.rfind("    Exit ", 0) == 0) item = "    End " + item.substr(9);
        ASSERT_EQ(item, log[log.size() - static_cast<std::size_t>(n - i)]) << i;
    }
    // Outside a run a line is in the list at once.
    main->Exit1Click();
    EXPECT_EQ(list->item(list->count() - 1)->text().toStdString(), "Start Exit1Click");
}

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

// The two-pass run, as a new user starts it: "Advanced" with the check dialog's defaults, on 4 s
// of a 1000-count sine at 999.948 Hz (FFT line 743 of the tone pass) over uniform noise of
// +-1000 counts. Annex C of ISO 1996-2 rates that tone 25.0 dB audible; single unaveraged
// blocks read the noise low, so the run's dominant tone lies a little above.
TEST_F(WholeProgram, AdvancedRunRatesTheToneInNoise) {
    using engine::spectrumtest::Noise;
    const std::size_t n = 4 * 44100;
    const std::vector<int> noise = Noise(n, 1000);
    std::vector<std::int16_t> frames(n);
    for (std::size_t i = 0; i < n; ++i)
        frames[i] = static_cast<std::int16_t>(
            std::lround(1000 * std::sin(2 * M_PI * 999.948 * i / 44100.0)) + noise[i]);
    test::WriteWavFrames(wav, test::WavFormat(), frames);
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    main->ProcessAdvancedClick();
    ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("|").toStdString();
    EXPECT_EQ(main->GetText("CurrentProcessingMode"), "Extended");

    // The summary's closing block: the column names, then one value row per tone listed.
    const auto& names = main->Files().Names;
    const auto summary = ReadLines(names.DravolekSummaryFileName);
    const auto block = std::find(summary.begin(), summary.end(), "NORDIC TONE Elements");
    ASSERT_NE(block, summary.end());
    ASSERT_GT(summary.end() - block, 3);
    EXPECT_EQ(block[1].rfind("index, , CountLine, , Start CB Line, ", 0), 0u) << block[1];
    int rows = 0, toneRows = 0;
    for (auto it = block + 2; it != summary.end(); ++it, ++rows) {
        std::vector<std::string> fields{""};
        for (std::size_t i = 0; i < it->size(); ++i) {
            if (it->compare(i, 2, ", ") == 0) {
                fields.emplace_back();
                ++i;
            } else {
                fields.back() += (*it)[i];
            }
        }
        ASSERT_EQ(fields.size(), 25u) << *it;
        toneRows += fields[16] == "1000" ? 1 : 0;  // ToneF_Nordic108
    }
    EXPECT_GT(rows, 40);
    EXPECT_GE(toneRows, 1);

    // The log's closing line on the dominant tone.
    const auto log = ReadLines(names.LogFileName);
    const auto dominant = std::find_if(log.begin(), log.end(), [](const std::string& l) {
        return l.find("8147 DOMINANT TONE RESULT") != std::string::npos;
    });
    ASSERT_NE(dominant, log.end());
    EXPECT_NE(dominant->find(" , Tone Level (Hz) 1000 , "), std::string::npos) << *dominant;
    const std::string tail = " , Tonal Audibility, ";
    const double audibility = std::stod(dominant->substr(dominant->rfind(tail) + tail.size()));
    EXPECT_GE(audibility, 24.0) << *dominant;
    EXPECT_LE(audibility, 29.0) << *dominant;
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
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    EXPECT_EQ(EnabledPage(), 2);
}

// A disk that fills during the run, under the LOG, an array file, a time-series file or the
// summary: the run stops with one message naming the file and the reason, logged to the progress
// list; its files are closed, the level, loudness and pitch files kept (the summary never got
// them whole), and the user stays on the analysis page, from which a new run succeeds.
TEST_F(WholeProgram, FileThatCannotBeWrittenStopsTheRunWithOneMessage) {
    SkipQuestionnaire();
    const std::pair<const char*, std::size_t> cases[] = {
        {" LOG.LOG", 20000}, {" CompactI.ARY", 10000}, {" Acoustic L.dvk", 3000}, {" Acoustic S.dvk", 5000}};
    for (const auto& [target, budget] : cases) {
        SCOPED_TRACE(target);
        main->Files().SetOpener([target = std::string(target), budget = budget](const std::string& path) {
            return EndsWith(path, target) ? test::OpenFailingAfter(path, budget) : std::fopen(path.c_str(), "wb");
        });
        dialogs.Messages.clear();
        dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
        ClickAnalysis();
        const auto& names = main->Files().Names;
        const std::string path = names.NoExtFileName + " " + names.FileDateTimeStamp + target;
        const std::string failure = "Cannot write file \"" + path + "\": No space left on device";
        ASSERT_EQ(dialogs.Messages.size(), 1);
        EXPECT_EQ(dialogs.Messages[0].toStdString(), failure);
        EXPECT_EQ(EnabledPage(), 1);
        auto* list = main->ui.lbProgressAuditTable;
        EXPECT_EQ(list->item(list->count() - 1)->text().toStdString(),
                  "              PROCESSING Analysis stopped: " + failure);
        EXPECT_FALSE(main->Files().LogFile.IsOpen() || main->Files().DravolekSummaryFile.IsOpen());
        for (const std::string* kept : {&names.DravolekLevelFileName, &names.DravolekLoudFileName,
                                        &names.DravolekPitchFileName, &names.DravolekSummaryFileName}) {
            EXPECT_TRUE(fs::exists(*kept)) << *kept;
        }
    }
    // The window goes on working; the exit has nothing more to report.
    main->Files().SetOpener(nullptr);
    dialogs.Messages.clear();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    EXPECT_EQ(EnabledPage(), 2);
    main->Exit1Click();
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("|").toStdString();
}

TEST_F(WholeProgram, ExitNamesAFileThatCannotBeClosedOnceAndEnds) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    SkipQuestionnaire();
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    ClickAnalysis();
    ASSERT_EQ(EnabledPage(), 2);
    // The array file "Intensity" on a device that is full: its text fails when it is closed.
    main->Files().P[4].Create("/dev/full");
    main->Files().P[4].WriteLine("Array Data Intensity");
    const std::string level = main->Files().Names.DravolekLevelFileName;
    main->Exit1Click();
    EXPECT_EQ(dialogs.Messages, QStringList{"Cannot write file \"/dev/full\": No space left on device"});
    EXPECT_FALSE(main->Files().LogFile.IsOpen() || main->Files().DravolekTraceFile.IsOpen());
    EXPECT_FALSE(fs::exists(level));
    EXPECT_FALSE(main->isVisible());
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
