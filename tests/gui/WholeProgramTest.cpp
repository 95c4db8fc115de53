// The whole program offscreen: the real main window and forms, scripted dialogs, a generated WAV
// file in a temporary folder, and the files and windows after a run.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "CheckDialogScript.h"
#include "app/Forms.h"
#include "app/SoundFileCheck.h"
#include "app/TForm1.h"
#include "app/ViewFileOutput.h"
#include "app/report/TextFile.h"
#include "assessment/DecisionSupportOutput.h"
#include "assessment/NewQuestionnaire.h"
#include "assessment/SoundQualityOutput.h"
#include "controls/RChart.h"
#include "engine/SpectrumFixture.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedSoundSystem.h"
#include "support/FailingStreams.h"
#include "support/TempDir.h"
#include "support/TextLines.h"
#include "support/WavWriter.h"
#include "views/AudibilityChart.h"
#include "views/Smooth3DInterpolation.h"

namespace fs = std::filesystem;
using namespace oxw;
using views::frmAudibility::ThirdOct_S;

namespace {

using test::ReadLines;

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int CountEndingWith(const fs::path& dir, const std::string& tail) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir)) n += EndsWith(e.path().filename().string(), tail);
    return n;
}

// The number before `literal` on the summary line that ends with it (NaN when there is none).
double SummaryValue(const std::vector<std::string>& summary, const std::string& literal) {
    for (const std::string& line : summary)
        if (line.size() > literal.size() && EndsWith(line, literal))
            return std::strtod(line.substr(0, line.size() - literal.size()).c_str(), nullptr);
    return std::nan("");
}

// The band table of the summary as printed: the octave levels (31.5 Hz .. 16 kHz, 10 rows)
// and the third-octave levels (125 Hz .. 16 kHz, 22 rows, the last field of each row).
std::pair<std::vector<double>, std::vector<double>> SummaryBands(const std::vector<std::string>& summary) {
    auto row = std::find(summary.begin(), summary.end(), "  F(Hz),  L(dB),  F(Hz),  L(dB)");
    std::vector<double> octaves, thirds;
    for (int k = 0; k < 22 && row != summary.end() && ++row != summary.end(); ++k) {
        if (k < 10) octaves.push_back(std::stod(row->substr(10, 5)));
        thirds.push_back(std::stod(row->substr(row->rfind(',') + 1)));
    }
    return {octaves, thirds};
}

// The sound-quality chart as the user sees it: the black ticks of the axes at the bottom and
// the left, the level line inside.
void ExpectSoundQualityChart(TRChart& chart) {
    const QImage im = chart.PaintImage();
    const int left = chart.MarginLeft(), top = chart.MarginTop();
    const int right = chart.width() - chart.MarginRight(), bottom = chart.height() - chart.MarginBottom();
    const TScale& x = chart.HelperScaleX(1);
    const TScale& y = chart.HelperScaleY(1);
    ASSERT_GT(x.NumTicks(), 1);
    ASSERT_GT(y.NumTicks(), 1);
    EXPECT_EQ(x.TickPos(1), 0.0);  // the time axis starts at 0
    int px = 0, py = 0;
    for (int i = 1; i <= x.NumTicks(); ++i) {
        chart.R2M(1, x.TickPos(i), 0, px, py);
        EXPECT_EQ(QColor(im.pixel(px, bottom + 1)), QColor(Qt::black)) << "x tick " << x.TickPos(i);
    }
    for (int i = 1; i <= y.NumTicks(); ++i) {
        chart.R2M(1, 0, y.TickPos(i), px, py);
        EXPECT_EQ(QColor(im.pixel(left - 1, py)), QColor(Qt::black)) << "y tick " << y.TickPos(i);
    }
    int line = 0;
    for (int yy = top + 1; yy < bottom; ++yy)
        for (int xx = left + 1; xx < right; ++xx) line += QColor(im.pixel(xx, yy)) == QColor(Qt::black);
    EXPECT_GT(line, 0.8 * (right - left)) << "the level line, from 0 to the last time";
}

// Shows of a widget, counted.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        shows += e->type() == QEvent::ShowToParent ? 1 : 0;
        return false;
    }
};

class WholeProgram : public ::testing::Test {
protected:
    // 3 s of a 1 kHz sine at 0.3 of full scale (76.5 dB(A)), written as a streaming recorder
    // writes it: 0 in the RIFF size field, so the file is analysed as far as it holds sound.
    void SetUp() override {
        saved = ThirdOct_S;
        wav = dir / "tone.wav";
        auto bytes = test::WavBytes(test::WavFormat(), {Sine(3, 0.3)});
        test::PutU32(bytes, 4, 0);
        test::WriteWavFile(wav, bytes);
        StartProgram();
    }
    void StartProgram() {
        app::CreateForms(forms, dialogs, sound);
        main = forms.Form1;
        main->SetDialogs(&dialogs);
        // The check dialog: "Continue Analysis", then "Left click to continue".
        dialogs.ModalScript = test::ContinueAnalysis;
    }
    void TearDown() override {
        app::DestroyForms(forms);
        ThirdOct_S = saved;
    }
    static std::vector<double> Sine(int seconds, double amplitude) {
        std::vector<double> sine(44100 * seconds);
        for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = amplitude * std::sin(2 * M_PI * 1000.0 * i / 44100.0);
        return sine;
    }
    int EnabledPage() const {
        int enabled = -1, count = 0;
        for (int i = 0; i < main->ui.PageControl1->count(); ++i)
            if (main->ui.PageControl1->isTabEnabled(i)) enabled = i, ++count;
        return count == 1 ? enabled : -count;
    }
    void SkipQuestionnaire() { emit main->ui.Label45->clicked(); }
    void Analyse(const fs::path& file, bool twoPasses = false) {
        dialogs.FileAnswers.push_back(QString::fromStdString(file.string()));
        if (twoPasses)
            main->ProcessAdvancedClick();
        else
            main->ProcessIntroductoryClick();
    }
    void ExpectNoMessage() const { EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("|").toStdString(); }
    // The review, chart, data and other diagnostic windows: a run shows none of them.
    void ExpectDiagnosticWindowsHidden() const {
        const QWidget* windows[] = {
            forms.DataAnalysisFlowchart, forms.Form3, forms.ScanSoundFileVariables, forms.Form5,
            forms.Form6, forms.Form7, forms.OctS, forms.Form9, forms.OverallThirdOctaveSpectrum,
            forms.OverallSpecificLoudnessS, forms.MeanChromaSalienceParncutt, forms.PitchSalienceS,
            forms.SoundFileHeaderInfo, forms.MakeSpectrumResults, forms.RoexResults,
            forms.EsigResults, forms.SpecLoudResults, forms.SharpnessResults, forms.NTonesResults,
            forms.Form27, forms.ToneDissonanceResults, forms.FindLevelsAboveMaskingResults,
            forms.SortToneArraysResults, forms.FindVirtualPitchesResults, forms.GraphOctS,
            forms.GraphThirdOctS, forms.GraphSpecLoudS, forms.GraphChromaSalienceS,
            forms.GraphPitchSalienceS, forms.GraphOctSData, forms.GraphThirdOctSData,
            forms.GraphSpecLoudSData, forms.GraphChromaSalienceSData, forms.GraphPitchSalienceSData,
            forms.HelpInputAndOutput, forms.Form46, forms.LoudValuesForm};
        for (const QWidget* w : windows) EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
        EXPECT_TRUE(main->ui.SortingDataProgress->isHidden());
    }

    std::array<double, 22> saved{};
    test::TempDir dir{"oxw-whole"};
    fs::path wav;
    platform::ScriptedDialogs dialogs;
    platform::ScriptedSoundSystem sound;
    app::Forms forms;
    app::TForm1* main = nullptr;
};

// Before a run: the workflow moves only forward, a cancelled choice stays on the analysis page,
// a double click starts one choice, and the help is looked for beside the executable (help
// pages in the working folder are not the program's) or named in a clear message.
TEST_F(WholeProgram, PagesChoicesAndHelpBeforeARun) {
    EXPECT_EQ(EnabledPage(), 0);
    main->ui.PageControl1->setCurrentIndex(2);  // the user clicks another tab
    EXPECT_EQ(main->ui.PageControl1->currentIndex(), 0);
    EXPECT_FALSE(main->ui.Open1->isEnabled());
    SkipQuestionnaire();
    SkipQuestionnaire();  // a second click on page 0's panel changes nothing
    EXPECT_EQ(EnabledPage(), 1);
    EXPECT_EQ(main->ui.PageControl1PageToBeDisplayed->text(), "Analyse a Sound (wav) File");
    dialogs.FileAnswers = {std::nullopt, std::nullopt};
    emit main->ui.Label43->clicked();
    emit main->ui.Label43->doubleClicked();
    EXPECT_EQ(dialogs.Filters.size(), 1);
    EXPECT_EQ(EnabledPage(), 1);
    EXPECT_FALSE(main->Files().Named());

    fs::create_directories(dir / "OXWHelp_ver_1_2");
    std::ofstream(dir / "OXWHelp_ver_1_2" / "index.html") << "<html><a name=\"contents\"></a></html>";
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.Path());
    main->Help1Click();
    fs::current_path(cwd);
    main->SetHelpFolder(QString::fromStdString((dir / "nohelp").string()));
    main->Help1Click();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    const QString besideProgram =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/OXWHelp_ver_1_2/index.html");
    EXPECT_TRUE(dialogs.Messages[0].contains(besideProgram)) << dialogs.Messages[0].toStdString();
    EXPECT_TRUE(dialogs.Messages[1].contains("nohelp"));
}

// Each hidden radio of the first two pages takes its panel's route, on a program of its own: the
// questionnaire shown modally or not, then the analysis page; an analysis choice as far as the
// file chooser, cancelled there.
TEST_F(WholeProgram, HiddenRadiosTakeTheirPanelsRoutes) {
    using Ui = app::MainWindowUi;
    const struct {
        platform::RadioButton* Ui::*radio;
        platform::ClickablePanel* Ui::*panel;
        bool fromAnalysisPage;
        QStringList modal;
        qsizetype filters;
        const char* option;
    } cases[] = {{&Ui::DoQuestionnaire, &Ui::Label44, false, {"NewQuestionnaire"}, 0, ""},
                 {&Ui::DoNotDoQuestionnaire, &Ui::Label45, false, {}, 0, ""},
                 {&Ui::ProcessIntroductory, &Ui::Label43, true, {}, 1, "Introductory"},
                 {&Ui::ProcessAdvanced, &Ui::Label42, true, {}, 1, "Advanced"}};
    for (const auto& c : cases)
        for (const bool viaRadio : {false, true}) {
            SCOPED_TRACE((main->ui.*c.radio)->objectName().toStdString() + (viaRadio ? " radio" : " panel"));
            app::DestroyForms(forms);
            StartProgram();
            dialogs.ModalDialogs.clear();
            dialogs.Filters.clear();
            if (c.fromAnalysisPage) SkipQuestionnaire();
            EXPECT_TRUE((main->ui.*c.radio)->isHidden());
            if (viaRadio)
                (main->ui.*c.radio)->click();
            else
                emit (main->ui.*c.panel)->clicked();
            EXPECT_EQ(EnabledPage(), 1);
            EXPECT_EQ(dialogs.ModalDialogs, c.modal);
            EXPECT_EQ(dialogs.Filters.size(), c.filters);
            EXPECT_EQ(main->Engine().S().ProcessingOptionSelected, c.option);
        }
}

// "Terminate" in the check dialog, and a file the program cannot analyse (its facts shown),
// each end the program.
TEST_F(WholeProgram, TerminateOrRefusedFileEndsTheProgram) {
    const struct {
        bool terminate;
        int messages;
        const char* first;
    } cases[] = {{true, 1, " A decision has been made to terminate the analysis"},
                 {false, 2,
                  " This sound file does not comply with OXW input specifications. Check OXW Help."
                  "Sample rate 48000 Bits/Sample 16 Channels 1 Estimated Run Time 3"}};
    test::WriteWav(dir / "48k.wav", test::WavFormat().Rate(48000), {std::vector<double>(48000 * 3, 0.0)});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        if (&c != cases) {
            app::DestroyForms(forms);
            StartProgram();
        }
        dialogs.Messages.clear();
        dialogs.EndProgramCount = 0;
        if (c.terminate)
            dialogs.ModalScript = [](QDialog& d) {
                static_cast<app::TSoundFileCheck&>(d).TerminateAnalysis->click();
                return 0;
            };
        SkipQuestionnaire();
        Analyse(c.terminate ? wav : dir / "48k.wav");
        ASSERT_EQ(dialogs.Messages.size(), c.messages);
        EXPECT_EQ(dialogs.Messages[0].toStdString(), c.first);
        EXPECT_EQ(dialogs.EndProgramCount, 1);
    }
}

// One run of the streamed 1 kHz sine, followed through every window it feeds, to the exit.
TEST_F(WholeProgram, OnePassRunThroughTheWindowsToTheExit) {
    SkipQuestionnaire();
    auto* list = main->ui.lbProgressAuditTable;
    ShowCounter sortBar;
    main->ui.SortingDataProgress->installEventFilter(&sortBar);
    // At the check dialog: the list holds every line so far (the last one the driver's start
    // line), the edits show the file; an event queued while the dialog is up is handled during
    // the run (a window manager repaints the area the dialog uncovers), not after it.
    std::string lineAtTheCheck;
    QString fileAtTheCheck, pageWhenHandled;
    dialogs.ModalScript = [&](QDialog& d) {
        if (list->count() > 0) lineAtTheCheck = list->item(list->count() - 1)->text().toStdString();
        fileAtTheCheck = main->ui.SelectedInputFile->text();
        QTimer::singleShot(0, main, [&] { pageWhenHandled = main->ui.PageControl1PageToBeDisplayed->text(); });
        return test::ContinueAnalysis(d);
    };
    Analyse(wav);
    ExpectNoMessage();
    EXPECT_EQ(lineAtTheCheck, "Start Open1Click");
    EXPECT_EQ(fileAtTheCheck.toStdString(), wav.string());
    EXPECT_EQ(pageWhenHandled.toStdString(), "Analyse a Sound (wav) File");
    EXPECT_EQ(EnabledPage(), 2);
    EXPECT_FALSE(main->ui.Open1->isEnabled());
    EXPECT_TRUE(main->ui.Help1->isEnabled());
    EXPECT_TRUE(main->windowTitle().endsWith(" - /tone.wav"));
    ExpectDiagnosticWindowsHidden();

    // After the run the list holds the tail of the LOG ("Exit" for "End").
    const auto& names = main->Files().Names;
    const auto log = ReadLines(names.LogFileName);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "    End FormatOutput");
    EXPECT_EQ(log.back(), "    End Open1Click");
    const int n = list->count();
    ASSERT_GT(n, 10);
    ASSERT_LE(n, 1250);
    ASSERT_GE(static_cast<int>(log.size()), n);
    for (int i = 0; i < n; ++i) {
        std::string item = list->item(i)->text().toStdString();
        if (item.rfind("    Exit ", 0) == 0) item = "    End " + item.substr(9);
        ASSERT_EQ(item, log[log.size() - static_cast<std::size_t>(n - i)]) << i;
    }
    // The edits show the newest texts: the whole streamed file read, its one channel analysed.
    const char* edits[] = {"SelectedInputFile", "CurrentProcessingMode", "RecordedStartTime",
                           "RecordedEndTime", "SoundFileBytesRead", "PositionStart",
                           "SoundFileMaximumPosition", "PositionCurrent", "MusicFFTSampleSize",
                           "MusicBinCount", "QualityFFTSampleSize", "QualityBinCount",
                           "AnalysisChannel", "ChannelsInSoundFile"};
    for (const char* name : edits) {
        const auto* edit = main->findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << name;
        EXPECT_EQ(edit->text().toStdString(), main->GetText(name)) << name;
    }
    EXPECT_EQ(main->GetText("SoundFileBytesRead"), std::to_string(39 * 4096 * 2));
    EXPECT_EQ(main->GetText("MusicFFTSampleSize"), "4096");
    EXPECT_EQ(main->GetText("CurrentProcessingMode"), "Standard");
    EXPECT_EQ(main->GetText("RecordedEndTime"), "2");
    EXPECT_EQ(main->ui.AnalysisChannel->text(), "1");
    EXPECT_EQ(main->ui.ChannelsInSoundFile->text(), "1");
    // The end-of-file steps leave the bar at the last of their ten; the last sort's bar (the
    // sample count and ten more), shown once for the sorts, is at its end and hidden.
    EXPECT_EQ(main->ui.ProgressBar1->value(), 10);
    const auto* sort = main->ui.SortingDataProgress;
    const int E = main->Engine().S().Elements;
    EXPECT_EQ(sort->maximum(), E + 10);
    EXPECT_EQ(sort->value(), E + 1);
    EXPECT_EQ(sortBar.shows, 1);
    // The scan hands the number of lines to the contour view's hidden edit.
    EXPECT_EQ(forms.Smooth3DInterpolation->SavedAnalysisLoops->text(), "40");
    EXPECT_EQ(forms.Smooth3DInterpolation->AnalysisLoops->text(), "");

    // Sound quality: one-decimal texts, the tonality fields never written; the table holds one
    // row per line and an empty one, and only the empty one goes, however often it is clicked.
    const auto* q = forms.SoundQualityOutput;
    const QRegularExpression oneDecimal(QStringLiteral("^-?\\d+\\.\\d$"));
    for (const QLineEdit* e : {q->LAMinOutput, q->LA90Output, q->LA10Output, q->LA1Output, q->LAEQOutput,
                               q->N5Output, q->N10Output, q->DayOutput, q->NightOutput})
        EXPECT_TRUE(oneDecimal.match(e->text()).hasMatch()) << e->objectName().toStdString();
    for (const QLineEdit* e : {q->Edit1, q->Edit2, q->Edit3}) EXPECT_EQ(e->text(), "");
    EXPECT_EQ(q->SoundQualityChartTable->GetNrRows(), 41);
    emit main->ui.Label52->clicked();
    emit main->ui.Label52->clicked();
    EXPECT_EQ(q->SoundQualityChartTable->GetNrRows(), 40);
    EXPECT_EQ(q->SoundQualityChart->ItemCount(tkLineto), 39);
    ExpectSoundQualityChart(*q->SoundQualityChart);

    // The contour view: the caption names the file once, also at the second opening; the run's
    // table, the 3-D page and both plots.
    auto* view = forms.Smooth3DInterpolation;
    for (int opening = 1; opening <= 2; ++opening) {
        emit main->ui.View3DMIDIData->clicked();
        EXPECT_EQ(view->windowTitle(), "OXW Analysis Evaluation/tone.wav") << opening;
    }
    // Row (octave - 1) * 12 + note holds the note, the octave and its mean salience.
    ASSERT_EQ(view->TEData->GetNrRows(), 84);
    for (int r = 1; r <= 84; ++r) {
        const int note = (r - 1) % 12 + 1, octave = (r - 1) / 12 + 1;
        ASSERT_EQ(view->TEData->GetElem(1, r), note) << r;
        ASSERT_EQ(view->TEData->GetElem(2, r), octave) << r;
        ASSERT_EQ(view->TEData->GetElem(3, r), main->Plot3DPitchSalience[note][octave]) << r;
    }
    EXPECT_EQ(view->PageControl1->currentIndex(), 2);
    EXPECT_TRUE(view->Plot3D1->isVisible());
    EXPECT_FALSE(view->RCCPlot->isHidden());
    view->RCCPlotMouseMoveInChart(3.02, 4.98);
    EXPECT_EQ(view->RCCPlot->TextLabels(1).Caption(), "Freq 587");
    view->hide();
    ExpectNoMessage();

    // The viewer shows the summary once however often it is asked; viewing the LOG does not stop
    // it; a name the file system cannot even look up is named in a message, the cursor restored.
    const auto summary = ReadLines(names.DravolekSummaryFileName);
    EXPECT_EQ(summary.back(), "End Of Summary File");
    emit main->ui.ViewSUMMARYFile->clicked();
    emit main->ui.ViewSUMMARYFile->clicked();
    EXPECT_EQ(forms.ViewFileOutput->ListFileContent->count(), static_cast<int>(summary.size()));
    EXPECT_TRUE(forms.ViewFileOutput->windowTitle().startsWith("OXW Analysis Contents of SUMMARY file "));
    emit main->ui.ViewLOGFile->clicked();
    main->CreateAuditLog("S", "After viewing");
    EXPECT_EQ(ReadLines(names.LogFileName).back(), "Start After viewing");
    const std::string summaryName = names.DravolekSummaryFileName;
    main->Files().Names.DravolekSummaryFileName = (dir / std::string(300, 'x')).string();
    emit main->ui.ViewSUMMARYFile->clicked();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains(QString(300, 'x'))) << dialogs.Messages[0].toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    main->Files().Names.DravolekSummaryFileName = summaryName;

    // The audibility window: its red discs stand at the conversion of the third-octave levels
    // the run printed. The 1 kHz band, by hand from its printed 76.5 dB: the band-26 ends of the
    // contours 80 and 85 (74 and 78.5) bound it, 74 + 1.5 / 5 * 4.5 = 75.35; the other bands lie
    // below 0 dB and are drawn at 0. "Building chart." stays up.
    const auto printed = SummaryBands(summary).second;
    ASSERT_EQ(printed.size(), 22u);
    emit main->ui.ViewAudibility->clicked();
    views::TFrmAudibilityChart& audibility = *forms.FrmAudibilityChart;
    ASSERT_TRUE(audibility.isVisible());
    EXPECT_FALSE(main->ui.BuildingChart->isHidden());
    std::vector<double> discs;
    for (int i = 0; i < audibility.RChart1->NumItems(); ++i) {
        const TrcChartItem it = audibility.RChart1->GetItemParams(i);
        if (it.ItemKind == tkMarkAt && it.Color == clRed) discs.push_back(it.y);
    }
    ASSERT_EQ(discs.size(), 20u);
    ASSERT_EQ(printed[9], 76.5);
    for (int k = 0; k < 20; ++k) {
        EXPECT_NEAR(10 * std::log10(ThirdOct_S[k]), printed[k], 0.05 + 1e-9) << k;
        EXPECT_NEAR(discs[k], k == 9 ? 75.35 : 0.0, 0.045) << k;
    }

    // The close box takes the exit path, with the audibility chart open and with an array file
    // ("Intensity") whose text fails when it is closed on a full device: the failure is named
    // once, the L, N and P files go (their rows are in the summary), the rest stay.
    const bool full = fs::exists("/dev/full");
    if (full) {
        main->Files().P[4].Create("/dev/full");
        main->Files().P[4].WriteLine("Array Data Intensity");
    }
    dialogs.Messages.clear();
    main->close();
    if (full) {
        EXPECT_EQ(dialogs.Messages, QStringList{"Cannot write file \"/dev/full\": No space left on device"});
    }
    EXPECT_EQ(ReadLines(names.LogFileName).back(), "Start Exit1Click");
    EXPECT_EQ(list->findItems("Start Exit1Click", Qt::MatchExactly).size(), 1);
    EXPECT_FALSE(main->Files().LogFile.IsOpen() || main->Files().DravolekTraceFile.IsOpen());
    EXPECT_EQ(dialogs.EndProgramCount, 1);
    EXPECT_FALSE(main->isVisible());
    for (const char* kind : {" Acoustic L.dvk", " Acoustic N.dvk", " Acoustic P.dvk"})
        EXPECT_EQ(CountEndingWith(dir.Path(), kind), 0) << kind;
    for (const char* kind : {" Acoustic S.dvk", " Acoustic T.dvk", " LOG.LOG", " Tone L.dvk", " CompactF.ARY"})
        EXPECT_EQ(CountEndingWith(dir.Path(), kind), 1) << kind;
    audibility.hide();
}

// The two-pass run, as a new user starts it: "Advanced" with the check dialog's defaults, on 4 s
// of a 1000-count sine at 999.948 Hz (FFT line 743 of the tone pass) over uniform noise of
// +-1000 counts. Annex C of ISO 1996-2 rates that tone 25.0 dB audible; the run's dominant tone,
// the greatest over its blocks, lies within 1.5 dB.
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
    Analyse(wav, true);
    ExpectNoMessage();
    EXPECT_EQ(main->GetText("CurrentProcessingMode"), "Extended");
    EXPECT_EQ(main->ui.AnalysisChannel->text(), "1");  // the tone pass too reads the one channel
    ExpectDiagnosticWindowsHidden();

    // The summary's closing block: the column names, then one value row of 25 fields per tone.
    const auto& names = main->Files().Names;
    const auto summary = ReadLines(names.DravolekSummaryFileName);
    const auto block = std::find(summary.begin(), summary.end(), "NORDIC TONE Elements");
    ASSERT_GT(summary.end() - block, 3);
    EXPECT_EQ(block[1].rfind("index, , CountLine, , Start CB Line, ", 0), 0u) << block[1];
    int toneRows = 0;
    for (auto it = block + 2; it != summary.end(); ++it) {
        const auto fields = QString::fromStdString(*it).split(", ");
        ASSERT_EQ(fields.size(), 25) << *it;
        toneRows += fields[16] == "1000" ? 1 : 0;  // ToneF_Nordic108
    }
    EXPECT_GT(summary.end() - block - 2, 40);
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
    EXPECT_NEAR(audibility, 25.0, 1.5) << *dominant;
}

// The questionnaire, an analysis and the rating, as a user goes through them: every statement
// "Slightly disagree" (overall 1.26), a "Very Quiet" neighbourhood, not disturbed at home, a
// "repetitive" and "annoying" sound. The sound: a 1 kHz tone at 55 dB(A) for 0.5 s, then at
// 40 dB(A) (LAeq about 48: the middle soundscape band); its 40 blocks of 50 ms give the level
// and loudness distributions, the ratings of the octave table and the hand-off to the windows.
TEST_F(WholeProgram, QuestionnaireLevelStepRunAndRating) {
    // A full-scale 1 kHz sine reads 86.9 dB(A) with the default calibration.
    const double a55 = std::pow(10.0, (55 - 86.9) / 20), a40 = a55 * std::pow(10.0, -15.0 / 20);
    std::vector<double> tone = Sine(3, a40);
    for (std::size_t i = 0; i < 22050; ++i) tone[i] *= a55 / a40;
    test::WriteWav(wav, test::WavFormat(), {tone});
    auto* questionnaire = forms.NewQuestionnaire;
    auto* decision = forms.DecisionSupportOutput;
    dialogs.ModalScript = [&](QDialog& d) {
        if (&d == questionnaire) {
            for (int n = 1; n <= assessment::kStatements; ++n)
                questionnaire->Statements[n][assessment::SlightlyDisagree]->click();
            for (const char* name : {"Quiet_VeryQuiet", "Disturbed_No", "Sound3_5Repetitive", "Sound4_1Annoying"})
                questionnaire->findChild<QAbstractButton*>(name)->click();
            questionnaire->PageControl1->setCurrentWidget(questionnaire->TabSheet7);
            questionnaire->Button1->click();
            return d.result();
        }
        if (&d == decision) {
            decision->ShowRating->click();
            return 0;
        }
        return test::ContinueAnalysis(d);
    };
    emit main->ui.Label44->clicked();
    EXPECT_EQ(dialogs.ModalDialogs, QStringList{"NewQuestionnaire"});
    EXPECT_EQ(decision->NsOverallOutput->text(), "1.26");
    EXPECT_EQ(EnabledPage(), 1);
    Analyse(wav);
    ExpectNoMessage();
    const auto summary = ReadLines(main->Files().Names.DravolekSummaryFileName);

    // The distributions fall from the maximum to the minimum.
    for (const auto& literals :
         {std::vector<std::string>{",  LAMax Maximum ", ",  LA1 1st Percentile ", ",  LA5 5th Percentile ",
                                   ",  LA10 1st Decile ", ",  LA20 2nd Decile ", ",  LA50 Median ",
                                   ",  LA80 8th Decile ", ",  LA90 9th Decile ", ",  LAMin Minimum"},
          std::vector<std::string>{",  Nmax Maximum ", ",  N1 1st Percentile ", ",  N5 5th Percentile ",
                                   ",  N10 1st Decile ", ",  N20 2nd Decile ", ",  N50 Median ",
                                   ",  N80 8th Decile ", ",  N90 9th Decile ", ",  Nmin Minimum"}})
        for (std::size_t i = 1; i < literals.size(); ++i)
            EXPECT_LE(SummaryValue(summary, literals[i]), SummaryValue(summary, literals[i - 1])) << literals[i];
    EXPECT_NEAR(SummaryValue(summary, ",  LA10 1st Decile "), 55, 1);
    EXPECT_NEAR(SummaryValue(summary, ",  LA90 9th Decile "), 40, 1);
    // The sound-quality window gets the summary's values to one decimal.
    const auto* q = forms.SoundQualityOutput;
    for (const auto& [edit, literal] :
         {std::pair{q->LA1Output, ",  LA1 1st Percentile "}, {q->LA10Output, ",  LA10 1st Decile "},
          {q->LA90Output, ",  LA90 9th Decile "}, {q->N5Output, ",  N5 5th Percentile "},
          {q->N10Output, ",  N10 1st Decile "}})
        EXPECT_NEAR(edit->text().toDouble(), SummaryValue(summary, literal), 0.0501) << literal;
    for (const char* literal : {", SP1 Sensory Pleasantness SP(dT)", ", SP2 Sensory Pleasantness SP(TDissS)",
                                ",  Psychoacoustic Annoyance PsychAnnoy", ",  Unbiased Annoyance (m) Day",
                                ",  Unbiased Annoyance (m) Night"})
        EXPECT_TRUE(std::isfinite(SummaryValue(summary, literal))) << literal;

    // The ratings against the summary's own octave table: NR curves L = a + b NR (ISO R1996),
    // the four-band SIL (ANSI S3.14) and RC, the mean of 500 Hz .. 2 kHz, out of range from 55.
    const std::vector<double> L = SummaryBands(summary).first;
    ASSERT_EQ(L.size(), 10u);
    const double a[] = {55.4, 35.5, 22.0, 12.0, 4.8, 0, -3.5, -6.1, -8.0};
    const double b[] = {0.681, 0.790, 0.870, 0.930, 0.974, 1.000, 1.015, 1.025, 1.030};
    double NR = -INFINITY;
    for (int k = 0; k < 9; ++k) NR = std::max(NR, (L[k] - a[k]) / b[k]);
    const double SIL = (L[4] + L[5] + L[6] + L[7]) / 4, RC = (L[4] + L[5] + L[6]) / 3;
    EXPECT_NEAR(SummaryValue(summary, ",  NR Noise Rating"), NR, 1);
    EXPECT_NEAR(SummaryValue(summary, ",  SIL Speech Interference Level (SIL)"), SIL, 1);
    EXPECT_NEAR(SummaryValue(summary, ",  RC Room Criterion"), RC >= 55 ? 9999 : RC, 1);

    // The rating's inputs: the summary's LAeq with 2 decimals, the night annoyance as shown.
    const std::string leqTail = ",  LAEq dB(A) Time Avearage Sound Level";
    const auto leq = std::find_if(summary.begin(), summary.end(), [&](auto& l) { return EndsWith(l, leqTail); });
    ASSERT_NE(leq, summary.end());
    const QString leqText = QString::fromStdString(leq->substr(0, leq->size() - leqTail.size())).trimmed();
    EXPECT_EQ(decision->LAEQOutput->text(), leqText);
    ASSERT_GE(leqText.toDouble(), 35.0);
    ASSERT_LE(leqText.toDouble(), 55.0);
    const QString night = q->NightOutput->text();
    EXPECT_EQ(decision->UBAmOutput->text(), night);
    emit main->ui.Label51->clicked();
    EXPECT_EQ(dialogs.ModalDialogs.last(), "DecisionSupportOutput");
    EXPECT_EQ(decision->NoiseSensitivityOutcome->text(), "Average Personal Noise Sensitivity");
    EXPECT_EQ(decision->SoundscapeAndAmenityOutcome->text(), "Average soundscape and amenity");
    EXPECT_TRUE(decision->ErrorCondition->isHidden());
    // Amenity and adverse effect follow the night annoyance: below 50 the average soundscape
    // with "No" and "repetitive" is a minor effect, from 50 to 100 with "annoying" too it is
    // more than minor, above 100 (no "Not Often") none.
    const double u = night.toDouble();
    const char* amenity = u < 50 ? "Better than average amenity" : u <= 100 ? "Average amenity" : "Less than average amenity";
    const char* adverse = u < 50 ? "Minor adverse effect" : u <= 100 ? "Adverse effects more than minor" : "";
    EXPECT_EQ(decision->AmenityOutcome->text(), amenity) << night.toStdString();
    auto* adverseLabel = decision->AdverseEffectsOutcome;
    EXPECT_EQ(adverseLabel->isHidden() ? QString() : adverseLabel->text(), adverse);
}

// A field recording of 3.5 GiB of stereo (a sparse file: its data reads as silence) analysed
// across byte 2^31 (12172 s to 12175 s, one pass) and past 3 GiB (19000 s to 19003 s, both
// passes): every row is written with its time, and the tone pass closes with its dominant tone.
TEST_F(WholeProgram, StretchPast2GiBIsAnalysed) {
    const struct {
        bool twoPasses;
        const char* start;
        const char* end;
        const char* firstRow;  // the first and the last line's time
        const char* lastRow;
        const char* firstBlock;  // the first block's byte: 44 + 176400 a second
    } cases[] = {
        {false, "12172", "12175", "12172.00", "12174.95", "2147140844"},
        {true, "19000", "19003", "19000.00", "19002.95", "3351600044"},  // past 3 GiB
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        if (&c != cases) {  // each run in a program of its own
            app::DestroyForms(forms);
            StartProgram();
        }
        test::WriteSparseWav(wav, test::WavFormat().Channels(2), 3758096384);
        SkipQuestionnaire();
        dialogs.ModalScript = [&c](QDialog& d) {
            if (auto* check = qobject_cast<app::TSoundFileCheck*>(&d)) {
                check->SoundFileStartTime->setEditText(c.start);
                check->SoundFileEndTime->setEditText(c.end);
            }
            return test::ContinueAnalysis(d);
        };
        Analyse(wav, c.twoPasses);
        ExpectNoMessage();
        EXPECT_EQ(EnabledPage(), 2);
        EXPECT_EQ(main->GetText("PositionStart"), c.firstBlock);
        const auto summary = ReadLines(main->Files().Names.DravolekSummaryFileName);
        const auto rowAt = [&](const std::string& time) {
            return std::count_if(summary.begin(), summary.end(),
                                 [&](const std::string& l) { return l.rfind(time + ",\t", 0) == 0; });
        };
        // Level, loudness and pitch rows of the first and the last line.
        EXPECT_EQ(rowAt(c.firstRow), 3);
        EXPECT_EQ(rowAt(c.lastRow), 3);
        EXPECT_EQ(std::count(summary.begin(), summary.end(), "End Of Summary File"), 1);
        const auto log = ReadLines(main->Files().Names.LogFileName);
        EXPECT_EQ(log.back(), "    End Open1Click");
        EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) {
                      return l.find("8147 DOMINANT TONE RESULT") != std::string::npos;
                  }),
                  c.twoPasses ? 1 : 0);
    }
}

// Files refused, runs stopped, and the window still usable: a missing file, a folder and a pipe
// without a writer (refused unopened), a damaged header, the check dialog closed without an
// answer; then a disk that fills during the run under the LOG, an array file, a time-series
// file or the summary: the run stops with one message naming the file and the reason, logged
// to the progress list; its files are closed (the mapped LOG to its text), its array dumps
// removed, the level, loudness and pitch files kept (the summary never got them whole), every
// text file it leaves ends with the line that says why it stopped, and the user stays on the
// analysis page. A last run succeeds and shows only its own rows and file.
TEST_F(WholeProgram, RefusalsAndStoppedRunsLeaveTheWindowUsable) {
    SkipQuestionnaire();
    const std::string missing = (dir / "missing.wav").string();
    Analyse(missing);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].toStdString(), "Cannot open file \"" + missing + "\".");
    EXPECT_EQ(EnabledPage(), 1);
    // Should the pipe's opening wait for a writer, one comes after 10 s: the suite cannot hang.
    fs::create_directory(dir / "folder.wav");
    ASSERT_EQ(::mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
    auto waited = std::make_shared<std::atomic<bool>>(false);
    std::thread([fifo = dir / "pipe.wav", waited] {
        std::this_thread::sleep_for(std::chrono::seconds(10));
        *waited = true;
        if (const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK); fd >= 0) ::close(fd);
    }).detach();
    for (const char* name : {"folder.wav", "pipe.wav"}) {
        const std::string path = (dir / name).string();
        dialogs.Messages.clear();
        Analyse(path);
        EXPECT_FALSE(*waited) << "the opening of " << name << " waited";
        ASSERT_EQ(dialogs.Messages.size(), 1);
        EXPECT_EQ(dialogs.Messages[0].toStdString(), "Cannot open file \"" + path + "\": it is not a regular file.");
        EXPECT_EQ(EnabledPage(), 1);
    }
    std::ofstream(dir / "bad.wav") << "RIFF";
    Analyse(dir / "bad.wav");
    EXPECT_EQ(dialogs.Messages.size(), 2);
    dialogs.ModalScript = [](QDialog&) { return 0; };
    Analyse(wav);
    EXPECT_EQ(dialogs.Messages.size(), 3);
    EXPECT_EQ(EnabledPage(), 1);
    EXPECT_EQ(dialogs.EndProgramCount, 0);

    dialogs.ModalScript = test::ContinueAnalysis;
    const std::pair<const char*, std::size_t> cases[] = {
        {" LOG.LOG", 20000}, {" CompactI.ARY", 10000}, {" Acoustic L.dvk", 3000}, {" Acoustic S.dvk", 5000}};
    for (const auto& [target, budget] : cases) {
        SCOPED_TRACE(target);
        // The other files open as a run opens them (the LOG mapped).
        main->Files().SetOpener([target = std::string(target), budget = budget](const std::string& path) {
            return EndsWith(path, target) ? test::OpenFailingAfter(path, budget) : std::fopen(path.c_str(), "w+b");
        });
        dialogs.Messages.clear();
        Analyse(wav);
        const auto& names = main->Files().Names;
        const std::string failure =
            "Cannot write file \"" + names.NoExtFileName + " " + names.FileDateTimeStamp + target + "\": No space left on device";
        ASSERT_EQ(dialogs.Messages.size(), 1);
        EXPECT_EQ(dialogs.Messages[0].toStdString(), failure);
        EXPECT_EQ(EnabledPage(), 1);
        auto* list = main->ui.lbProgressAuditTable;
        EXPECT_EQ(list->item(list->count() - 1)->text().toStdString(),
                  "              PROCESSING Analysis stopped: " + failure);
        EXPECT_FALSE(main->Files().LogFile.IsOpen() || main->Files().DravolekSummaryFile.IsOpen());
        const auto log = test::MappedFileText(names.LogFileName);
        EXPECT_EQ(log ? log->size() : 0, fs::file_size(names.LogFileName));
        for (const int p : {1, 2, 4, 54}) EXPECT_FALSE(fs::exists(names.PDataFileName[p])) << p;
        for (const std::string* kept :
             {&names.LogFileName, &names.DravolekLevelFileName, &names.DravolekLoudFileName,
              &names.DravolekPitchFileName, &names.DravolekTraceFileName, &names.DravolekSummaryFileName,
              &names.NordicLevelFileName, &names.NordicSummaryFileName}) {
            const auto lines = ReadLines(*kept);
            ASSERT_FALSE(lines.empty()) << *kept;
            EXPECT_EQ(lines.back(), "The analysis stopped before its end: " + failure) << *kept;
        }
    }
    main->Files().SetOpener(nullptr);
    // The last runs type an end far past the file's. Under a file size limit (ulimit -f), in a
    // process started as the program starts, a run stops as on a full disk, saying only that;
    // the exit then keeps its level, loudness and pitch files, whose rows the summary lacks.
    dialogs.ModalScript = [](QDialog& d) {
        if (auto* check = qobject_cast<app::TSoundFileCheck*>(&d)) check->SoundFileEndTime->setEditText("99999999999");
        return test::ContinueAnalysis(d);
    };
    dialogs.Messages.clear();
    if (const pid_t child = ::fork(); child == 0) {
        ::alarm(60);  // a run that hangs ends by this signal
        report::IgnoreFileSizeSignal();
        const rlimit limit{rlim_t{1} << 20, rlim_t{1} << 20};  // 1 MiB
        ::setrlimit(RLIMIT_FSIZE, &limit);
        Analyse(wav);
        const auto n = main->Files().Names;
        const std::string failed = n.NoExtFileName + " " + n.FileDateTimeStamp + " CompactI.ARY";
        const bool said =
            dialogs.Messages.join("|").toStdString() == "Cannot write file \"" + failed + "\": File too large";
        main->Exit1Click();
        const bool kept = fs::exists(n.DravolekLevelFileName) && fs::exists(n.DravolekLoudFileName) &&
                          fs::exists(n.DravolekPitchFileName);
        ::_exit((said ? 0 : 1) + (kept ? 0 : 2));
    } else {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "status " << status << " (exit 1: the message, 2: the files)";
        EXPECT_EQ(CountEndingWith(dir.Path(), ".ARY"), 0);
    }
    // Without a limit the end is read as the file's end, said once and below the summary's END line.
    Analyse(wav);
    EXPECT_EQ(EnabledPage(), 2);
    const std::string early = "The sound data ended at 3.00 s, before the requested end of 99999999999.0 s";
    EXPECT_EQ(dialogs.Messages.join("|").toStdString(), early);
    dialogs.Messages.clear();
    const auto summary = ReadLines(main->Files().Names.DravolekSummaryFileName);
    const auto end = std::find(summary.begin(), summary.end(), "END,\t     3.0,\tseconds");
    EXPECT_EQ(end == summary.end() ? "no END line" : end[1], early);
    EXPECT_EQ(forms.SoundQualityOutput->SoundQualityChartTable->GetNrRows(), 61);
    EXPECT_EQ(main->windowTitle().toStdString(), "OXW Sound File Analysis - /tone.wav");
    EXPECT_EQ(forms.SoundFileCheck->windowTitle().toStdString(), "OXW Analysing Sound File Header Data - /tone.wav");
    EXPECT_EQ(forms.SoundFileCheck->SoundFileStartTime->count(), 2);
    main->Exit1Click();  // the exit has nothing more to report
    ExpectNoMessage();
}

}  // namespace
