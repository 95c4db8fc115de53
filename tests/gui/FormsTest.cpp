// The program's windows: all 59 created at start-up in their order, with their object names,
// the carriers other parts of the program write into, and their design states.
#include "app/Forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace oxw;

struct Expected {
    const char* cls;
    const char* instance;
};

// The start-up order.
const Expected kForms[] = {
    {"TForm1", "Form1"},
    {"TUserProcessingOptions", "UserProcessingOptions"},
    {"TDataAnalysisFlowchart", "DataAnalysisFlowchart"},
    {"TForm3", "Form3"},
    {"TScanSoundFileVariables", "ScanSoundFileVariables"},
    {"TForm5", "Form5"},
    {"TForm6", "Form6"},
    {"TForm7", "Form7"},
    {"TOctS", "OctS"},
    {"TForm9", "Form9"},
    {"TOverallThirdOctaveSpectrum", "OverallThirdOctaveSpectrum"},
    {"TOverallSpecificLoudnessS", "OverallSpecificLoudnessS"},
    {"TMeanChromaSalienceParncutt", "MeanChromaSalienceParncutt"},
    {"TPitchSalienceS", "PitchSalienceS"},
    {"TSoundFileHeaderInfo", "SoundFileHeaderInfo"},
    {"TMakeSpectrumResults", "MakeSpectrumResults"},
    {"TRoexResults", "RoexResults"},
    {"TEsigResults", "EsigResults"},
    {"TSpecLoudResults", "SpecLoudResults"},
    {"TSharpnessResults", "SharpnessResults"},
    {"TNTonesResults", "NTonesResults"},
    {"TForm27", "Form27"},
    {"TToneDissonanceResults", "ToneDissonanceResults"},
    {"TFindLevelsAboveMaskingResults", "FindLevelsAboveMaskingResults"},
    {"TSortToneArraysResults", "SortToneArraysResults"},
    {"TFindVirtualPitchesResults", "FindVirtualPitchesResults"},
    {"TGraphOctS", "GraphOctS"},
    {"TGraphThirdOctS", "GraphThirdOctS"},
    {"TGraphSpecLoudS", "GraphSpecLoudS"},
    {"TGraphChromaSalienceS", "GraphChromaSalienceS"},
    {"TGraphPitchSalienceS", "GraphPitchSalienceS"},
    {"TGraphOctSData", "GraphOctSData"},
    {"TGraphThirdOctSData", "GraphThirdOctSData"},
    {"TGraphSpecLoudSData", "GraphSpecLoudSData"},
    {"TGraphChromaSalienceSData", "GraphChromaSalienceSData"},
    {"TGraphPitchSalienceSData", "GraphPitchSalienceSData"},
    {"THelpInputAndOutput", "HelpInputAndOutput"},
    {"TSoundFileCheck", "SoundFileCheck"},
    {"TMeanPitchSalienceChart", "MeanPitchSalienceChart"},
    {"TForm45", "Form45"},
    {"TForm46", "Form46"},
    {"TMeanPitchSaliencePlot3DForm1", "MeanPitchSaliencePlot3DForm1"},
    {"TSmooth3DInterpolation", "Smooth3DInterpolation"},
    {"TBatchFileSummary", "BatchFileSummary"},
    {"Trch3dMainForm", "rch3dMainForm"},
    {"TLoudValuesForm", "LoudValuesForm"},
    {"TFrmShared", "FrmShared"},
    {"TSelectFFTSize", "SelectFFTSize"},
    {"TUserQuestions1", "UserQuestions1"},
    {"TForm48", "Form48"},
    {"TAnalyseThis", "AnalyseThis"},
    {"TNoiseQuestionnaireTemplate", "NoiseQuestionnaireTemplate"},
    {"TViewFileOutput", "ViewFileOutput"},
    {"TNewQuestionnaire", "NewQuestionnaire"},
    {"TSmooth3DInterpolation_Audibility", "Smooth3DInterpolation_Audibility"},
    {"TFrmAudibilityChart", "FrmAudibilityChart"},
    {"TSoundQualityOutput", "SoundQualityOutput"},
    {"TDecisionSupportOutput", "DecisionSupportOutput"},
    {"TQuestionnaireResponses", "QuestionnaireResponses"},
};

// The unqualified class name of a window.
std::string ClassName(const QObject* o)
{
    const std::string full = o->metaObject()->className();
    const auto colon = full.rfind("::");
    return colon == std::string::npos ? full : full.substr(colon + 2);
}

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { app::CreateForms(forms); }
    app::Forms forms;
};

TEST_F(FormsTest, AllFiftyNineInStartUpOrder)
{
    ASSERT_EQ(forms.CreationOrder.size(), std::size(kForms));
    for (std::size_t i = 0; i < std::size(kForms); ++i) {
        const QWidget* w = forms.CreationOrder[i];
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName().toStdString(), kForms[i].instance) << "position " << i + 1;
        EXPECT_EQ(ClassName(w), kForms[i].cls) << "position " << i + 1;
        EXPECT_FALSE(w->windowTitle().isEmpty()) << kForms[i].instance;
        if (i > 0) {
            EXPECT_FALSE(w->isVisible()) << kForms[i].instance;
        }
    }
    // The members point at the same windows.
    EXPECT_EQ(forms.Form1, forms.CreationOrder.front());
    EXPECT_EQ(forms.SoundFileCheck, forms.CreationOrder[37]);
    EXPECT_EQ(forms.QuestionnaireResponses, forms.CreationOrder.back());
}

TEST_F(FormsTest, CaptionsGivenByTheDesign)
{
    const struct {
        QWidget* form;
        const char* caption;
    } cases[] = {
        {forms.SoundFileCheck, "OXW Analysing Sound File Header Data"},
        {forms.Smooth3DInterpolation, "OXW Analysis Evaluation"},
        {forms.FrmAudibilityChart, "OXW Audibility"},
        {forms.SoundQualityOutput, "OXW Sound Quality Summary"},
        {forms.DecisionSupportOutput, "OXW Decision Support Analysis Results"},
        {forms.NewQuestionnaire, "OXW Optional Questionnaire for your Personal Noise Sensitivity Perception"},
        {forms.ViewFileOutput, "ViewFile"},
        {forms.MeanPitchSalienceChart, "M E A N   P I T C H   S A L I E N C E"},
        {forms.MeanPitchSaliencePlot3DForm1, "Plot3D Mean Pitch Salience"},
        {forms.Form45, "Form45"},
        {forms.UserProcessingOptions, "User Processing Options"},
        {forms.SelectFFTSize, "FFT Sample Size Selection"},
        {forms.Form3, "Determine Settings Variables"},
        {forms.ScanSoundFileVariables, "Scan Sound File Variables"},
        {forms.SoundFileHeaderInfo, "WAVE File Header Information"},
        {forms.Form46, "About Information"},
        {forms.HelpInputAndOutput, "BASIC HELP - INPUT and OUTPUT"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.form->windowTitle(), QString(c.caption));
}

TEST_F(FormsTest, DestroyFormsDeletesEveryWindowMainWindowLast)
{
    std::vector<QPointer<QWidget>> alive(forms.CreationOrder.begin(), forms.CreationOrder.end());
    QPointer<QWidget> main = forms.Form1;
    bool othersGoneFirst = true;
    QObject::connect(forms.Form1, &QObject::destroyed, [&] {
        for (std::size_t i = 1; i < alive.size(); ++i) othersGoneFirst = othersGoneFirst && alive[i].isNull();
    });
    app::DestroyForms(forms);
    EXPECT_TRUE(othersGoneFirst);
    for (const auto& w : alive) EXPECT_TRUE(w.isNull());
    EXPECT_EQ(forms.Form1, nullptr);
    EXPECT_EQ(forms.SoundQualityOutput, nullptr);
    EXPECT_TRUE(forms.CreationOrder.empty());
    app::DestroyForms(forms);  // a second call does nothing
}

TEST_F(FormsTest, ContourViewCarriers)
{
    views::TSmooth3DInterpolation& v = *forms.Smooth3DInterpolation;
    EXPECT_EQ(v.SavedAnalysisLoops->objectName(), "SavedAnalysisLoops");
    EXPECT_TRUE(v.SavedAnalysisLoops->isHidden());
    EXPECT_EQ(v.AnalysisLoops->objectName(), "AnalysisLoops");
    EXPECT_TRUE(v.SpecificLoudnessCount->isHidden());
    EXPECT_EQ(v.MeanPitchSalienceNTabEd1->objectName(), "MeanPitchSalienceNTabEd1");
    EXPECT_TRUE(v.MeanPitchSalienceNTabEd1->isHidden());
    EXPECT_EQ(v.MeanPitchSalienceNTabEd1->GetNrCols(), 3);
    EXPECT_EQ(v.MeanPitchSalienceNTabEd1->GetNrRows(), 84);
    ASSERT_GE(v.PageControl1->count(), 3);
    EXPECT_EQ(v.PageControl1->tabText(0), "Data Input");
    EXPECT_EQ(v.PageControl1->tabText(1), "Electric Grand Piano  MIDI Sound for Note/Octave Selection");
    EXPECT_EQ(v.PageControl1->tabText(2), "3D Plot Mean Pitch Salience");
    v.FreqArray[12][11] = 7902.1;  // note B, octave 9
    EXPECT_EQ(v.FreqArray[12][11], 7902.1);
    v.MeanPitchSalienceClick();

    EXPECT_EQ(views::frmAudibility::ThirdOct_S.size(), 22u);
    EXPECT_TRUE(forms.FrmAudibilityChart->SplineCoordinates->isHidden());

    QTableWidget* grid = forms.MeanPitchSalienceChart->MeanPitchGrid;
    EXPECT_EQ(grid->objectName(), "MeanPitchGrid");
    EXPECT_EQ(grid->columnCount(), 13);
    EXPECT_EQ(grid->rowCount(), 8);
    EXPECT_NE(forms.MeanPitchSalienceChart->findChild<QLineEdit*>("Edit106"), nullptr);
    EXPECT_NE(forms.MeanPitchSalienceChart->findChild<QLineEdit*>("Edit1200"), nullptr);

    views::Trch3dMainForm& bars = *forms.rch3dMainForm;
    EXPECT_EQ(bars.ChromaSalience_SNTabEd1->GetNrCols(), 1);
    EXPECT_EQ(bars.ChromaSalience_SNTabEd1->GetNrRows(), 13);
    EXPECT_EQ(bars.PitchSalience_SNTabEd1->GetNrCols(), 1);
    EXPECT_EQ(bars.PitchSalience_SNTabEd1->GetNrRows(), 100);
    EXPECT_TRUE(bars.ChromaSalience_SNTabEd1->isHidden());
    EXPECT_TRUE(bars.PitchSalience_SNTabEd1->isHidden());
}

TEST_F(FormsTest, AssessmentCarriers)
{
    assessment::TDecisionSupportOutput& d = *forms.DecisionSupportOutput;
    for (QLineEdit* e : {d.LAEQOutput, d.UBAmOutput, d.NsOverallOutput, d.LE58Output, d.SC81Output}) {
        EXPECT_EQ(e->text(), "not available") << e->objectName().toStdString();
        EXPECT_FALSE(e->isVisibleTo(&d)) << e->objectName().toStdString();
    }
    EXPECT_EQ(d.findChildren<QLineEdit*>().size(), 17);
    EXPECT_FALSE(d.RatingOutcome->isVisibleTo(&d));

    assessment::TSoundQualityOutput& q = *forms.SoundQualityOutput;
    EXPECT_TRUE(q.SoundQualityChartTable->isHidden());
    EXPECT_EQ(q.SoundQualityChartTable->GetNrRows(), 1);
    EXPECT_GE(q.SoundQualityChartTable->GetNrCols(), 2);
    EXPECT_EQ(q.SoundQualityChart->Caption(), "Sound Level dB(A) vs Time");
    for (const char* name : {"DayOutput", "NightOutput", "N5Output", "N10Output", "LA1Output", "LA10Output",
                             "LA90Output", "LAMinOutput", "LAEQOutput"}) {
        QLineEdit* edit = q.findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << name;
        EXPECT_TRUE(edit->text().isEmpty());
    }
    EXPECT_EQ(q.NightOutput, q.findChild<QLineEdit*>("NightOutput"));

    assessment::TNewQuestionnaire& n = *forms.NewQuestionnaire;
    EXPECT_EQ(n.PageControl1->count(), 8);
    n.show();
    n.Button1->click();  // closes
    EXPECT_FALSE(n.isVisible());
}

TEST_F(FormsTest, ProcessingChoiceDesignStates)
{
    app::TSelectFFTSize& f = *forms.SelectFFTSize;
    EXPECT_TRUE(f.Selected4096->isChecked());
    EXPECT_FALSE(f.Selected32768->isEnabled());
    EXPECT_FALSE(f.Selected65536->isEnabled());
    EXPECT_TRUE(f.Selected8192->isHidden());
    EXPECT_EQ(f.Button1->text(), "Continue");
    EXPECT_FALSE(f.OriginalLibrary->isEnabled());
    EXPECT_TRUE(f.VKRLibrary->isChecked());
    // The tone pass switches the size: checking 32768 unchecks 4096.
    f.Selected32768->setChecked(true);
    EXPECT_FALSE(f.Selected4096->isChecked());

    app::TUserProcessingOptions& u = *forms.UserProcessingOptions;
    EXPECT_EQ(u.ProcessIntroductory->text(), "Standard -  Analysis uses 4096 Standard FFT");
    EXPECT_EQ(u.ProcessAdvanced->text(),
              "Extended - Analyses using 4096 Standard FFT and 16384 Extended (Nordic) FFT  ");
    EXPECT_FALSE(u.ProcessIntermediate->isEnabled());
    EXPECT_TRUE(u.ProcessIntermediate->isHidden());
}

TEST_F(FormsTest, CheckDialogDesignStates)
{
    app::TSoundFileCheck& c = *forms.SoundFileCheck;
    for (const char* name : {"SoundFileIdentifier", "SoundFileType", "SoundFileFormatDataDetected",
                             "SoundFileCompressionCode", "SoundFileNoOfChannels", "SoundFileBitsPerSample",
                             "SoundFileSize", "SoundFileTotalBytes", "SoundFileSampleRate",
                             "SoundFileAvBytesPerSecond", "SoundFileBytePerSampleSlice",
                             "SoundFileEstimatedRunTime"}) {
        QLineEdit* edit = c.findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << name;
        EXPECT_TRUE(edit->isReadOnly()) << name;
    }
    EXPECT_EQ(c.Label11->text(), "Sound File Number of Channels");
    EXPECT_EQ(c.AnalysisTerminateMessage->text(), "Click Continue or Terminate.   ");
    EXPECT_TRUE(c.AnalysisTerminateMessage->isHidden());

    const struct {
        QWidget* w;
        const char* name;
        const char* text;  // nullptr: not a button
        bool hidden;
        bool enabled;
    } controls[] = {
        {c.ContnueAnalysis, "ContnueAnalysis", "Continue Analysis", false, true},
        {c.TerminateAnalysis, "TerminateAnalysis", "Terminate Analysis", false, true},
        {c.Button1, "Button1", "Left click to continue", true, true},
        {c.DoAnalyseThis, "DoAnalyseThis", "Select Sound to be Analysed", true, false},
        {c.SelectTimesGroup, "SelectTimesGroup", nullptr, true, true},
        {c.SelectProcessingGroup, "SelectProcessingGroup", nullptr, true, true},
        {c.SelectResolutionGroup, "SelectResolutionGroup", nullptr, true, true},
        {c.SelectCalibrationGroup, "SelectCalibrationGroup", nullptr, true, true},
        {c.SelectTerhardtGroup, "SelectTerhardtGroup", nullptr, true, true},
        {c.FilterOptions, "FilterOptions", nullptr, true, true},
        {c.SwapInputBytes, "SwapInputBytes", nullptr, true, true},
        {c.MakeLogFile, "MakeLogFile", "Make Log File", true, true},
        {c.TraceComputations, "TraceComputations", "Trace Computations", true, false},
        {c.ChannelAnalysisSelection, "ChannelAnalysisSelection", nullptr, true, true},
    };
    for (const auto& k : controls) {
        EXPECT_EQ(k.w->objectName(), k.name);
        EXPECT_EQ(k.w->isHidden(), k.hidden) << k.name;
        EXPECT_EQ(k.w->isEnabled(), k.enabled) << k.name;
        if (auto* b = qobject_cast<QAbstractButton*>(k.w); b && k.text) {
            EXPECT_EQ(b->text(), k.text) << k.name;
        }
    }
    EXPECT_EQ(c.SelectTimesGroup->title(), "Set Analysis Times (seconds)");
    EXPECT_EQ(c.ChannelAnalysisSelection->title(), "2 Channel File");
    EXPECT_EQ(c.InputCalibration->text(), "0");
    EXPECT_EQ(c.OutputCompression->count(), 10);
    EXPECT_EQ(c.OutputCompression->currentText(), "1");
    EXPECT_EQ(c.SoundFileStartTime->count(), 0);
    c.SoundFileStartTime->setCurrentText("0");  // the analysis may set a text outside the list
    EXPECT_EQ(c.SoundFileStartTime->currentText(), "0");

    // Radios: (button, checked, enabled, hidden).
    const struct {
        QAbstractButton* b;
        const char* name;
        bool checked, enabled, hidden;
    } radios[] = {
        {c.ProcessingFree, "ProcessingFree", true, true, false},
        {c.ProcessingDiffuse, "ProcessingDiffuse", false, false, false},
        {c.ProcessingEardrum, "ProcessingEardrum", false, false, false},
        {c.HighResolution, "HighResolution", false, false, false},
        {c.LowResolution, "LowResolution", true, false, false},
        {c.IncludeTerhardt, "IncludeTerhardt", true, false, false},
        {c.OmitTerhardt, "OmitTerhardt", false, false, false},
        {c.RectangularFilter, "RectangularFilter", false, false, false},
        {c.HanningFilter, "HanningFilter", true, true, false},
        {c.TriangularFilter, "TriangularFilter", false, false, false},
        {c.WelchFilter, "WelchFilter", false, false, true},
        {c.BlackmanFilter, "BlackmanFilter", false, false, false},
        {c.KaiserBesselFilter, "KaiserBesselFilter", false, false, true},
        {c.FlatTopFilter, "FlatTopFilter", false, false, true},
        {c.HammingFilter, "HammingFilter", false, false, false},
        {c.WavFile, "WavFile", true, true, false},
        {c.AIFFFile, "AIFFFile", false, false, false},
        {c.DoChannel1, "DoChannel1", false, false, false},
        {c.DoChannel2, "DoChannel2", false, false, true},
        {c.DoChannelBoth, "DoChannelBoth", true, true, false},
    };
    for (const auto& r : radios) {
        EXPECT_EQ(r.b->objectName(), r.name);
        EXPECT_EQ(r.b->isChecked(), r.checked) << r.name;
        EXPECT_EQ(r.b->isEnabled(), r.enabled) << r.name;
        EXPECT_EQ(r.b->isHidden(), r.hidden) << r.name;
    }
}

TEST_F(FormsTest, ViewerAndMidiPanelControls)
{
    EXPECT_EQ(forms.ViewFileOutput->ListFileContent->objectName(), "ListFileContent");
    EXPECT_EQ(forms.ViewFileOutput->ClickToCloseViewFileOutput->text(), "Click to Close");
    EXPECT_EQ(forms.Form45->NotePan->objectName(), "NotePan");
    EXPECT_EQ(forms.Form45->StringDataMem->objectName(), "StringDataMem");
    // A chart review window's second button shows its data window.
    forms.GraphOctS->ShowData->click();
    EXPECT_TRUE(forms.GraphOctSData->isVisible());
    forms.GraphOctSData->CloseButton->click();
    EXPECT_FALSE(forms.GraphOctSData->isVisible());
}

}  // namespace
