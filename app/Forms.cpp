#include "app/Forms.h"

#include <QPushButton>

#include <algorithm>

#include "platform/Dialogs.h"

namespace oxw::app {

namespace {

template <class T>
T* Create(Forms& forms, T*& member, T* window)
{
    member = window;
    forms.CreationOrder.push_back(window);
    return window;
}

}  // namespace

Forms::~Forms() { DestroyForms(*this); }

void CreateForms(Forms& forms, platform::Dialogs& dialogs, platform::SoundSystem& sound)
{
    Create(forms, forms.Form1, new TForm1(forms));
    forms.Form1->SetDialogs(&dialogs);
    Create(forms, forms.UserProcessingOptions, new TUserProcessingOptions);
    Create(forms, forms.DataAnalysisFlowchart, new TDataAnalysisFlowchart);
    Create(forms, forms.Form3, new TForm3);
    Create(forms, forms.ScanSoundFileVariables, new TScanSoundFileVariables);
    Create(forms, forms.Form5, new TForm5);
    Create(forms, forms.Form6, new TForm6);
    Create(forms, forms.Form7, new TForm7);
    Create(forms, forms.OctS, new TOctS);
    Create(forms, forms.Form9, new TForm9);
    Create(forms, forms.OverallThirdOctaveSpectrum, new TOverallThirdOctaveSpectrum);
    Create(forms, forms.OverallSpecificLoudnessS, new TOverallSpecificLoudnessS);
    Create(forms, forms.MeanChromaSalienceParncutt, new TMeanChromaSalienceParncutt);
    Create(forms, forms.PitchSalienceS, new TPitchSalienceS);
    Create(forms, forms.SoundFileHeaderInfo, new TSoundFileHeaderInfo);
    Create(forms, forms.MakeSpectrumResults, new TMakeSpectrumResults);
    Create(forms, forms.RoexResults, new TRoexResults);
    Create(forms, forms.EsigResults, new TEsigResults);
    Create(forms, forms.SpecLoudResults, new TSpecLoudResults);
    Create(forms, forms.SharpnessResults, new TSharpnessResults);
    Create(forms, forms.NTonesResults, new TNTonesResults);
    Create(forms, forms.Form27, new TForm27);
    Create(forms, forms.ToneDissonanceResults, new TToneDissonanceResults);
    Create(forms, forms.FindLevelsAboveMaskingResults, new TFindLevelsAboveMaskingResults);
    Create(forms, forms.SortToneArraysResults, new TSortToneArraysResults);
    Create(forms, forms.FindVirtualPitchesResults, new TFindVirtualPitchesResults);
    Create(forms, forms.GraphOctS, new TGraphOctS);
    Create(forms, forms.GraphThirdOctS, new TGraphThirdOctS);
    Create(forms, forms.GraphSpecLoudS, new TGraphSpecLoudS);
    Create(forms, forms.GraphChromaSalienceS, new TGraphChromaSalienceS);
    Create(forms, forms.GraphPitchSalienceS, new TGraphPitchSalienceS);
    Create(forms, forms.GraphOctSData, new TGraphOctSData);
    Create(forms, forms.GraphThirdOctSData, new TGraphThirdOctSData);
    Create(forms, forms.GraphSpecLoudSData, new TGraphSpecLoudSData);
    Create(forms, forms.GraphChromaSalienceSData, new TGraphChromaSalienceSData);
    Create(forms, forms.GraphPitchSalienceSData, new TGraphPitchSalienceSData);
    Create(forms, forms.HelpInputAndOutput, new THelpInputAndOutput);
    Create(forms, forms.SoundFileCheck, new TSoundFileCheck);
    Create(forms, forms.MeanPitchSalienceChart, new views::TMeanPitchSalienceChart);
    Create(forms, forms.Form45, new midi::TForm45);
    Create(forms, forms.Form46, new TForm46);
    Create(forms, forms.MeanPitchSaliencePlot3DForm1, new views::TMeanPitchSaliencePlot3DForm1);
    Create(forms, forms.Smooth3DInterpolation, new views::TSmooth3DInterpolation);
    Create(forms, forms.BatchFileSummary, new TBatchFileSummary);
    Create(forms, forms.rch3dMainForm, new views::Trch3dMainForm);
    Create(forms, forms.LoudValuesForm, new TLoudValuesForm);
    Create(forms, forms.FrmShared, new TFrmShared);
    Create(forms, forms.SelectFFTSize, new TSelectFFTSize);
    Create(forms, forms.UserQuestions1, new assessment::TUserQuestions1);
    Create(forms, forms.Form48, new TForm48);
    Create(forms, forms.AnalyseThis, new assessment::TAnalyseThis(dialogs, sound));
    Create(forms, forms.NoiseQuestionnaireTemplate, new assessment::TNoiseQuestionnaireTemplate);
    Create(forms, forms.ViewFileOutput, new TViewFileOutput);
    Create(forms, forms.NewQuestionnaire, new assessment::TNewQuestionnaire);
    Create(forms, forms.Smooth3DInterpolation_Audibility, new views::TSmooth3DInterpolation_Audibility);
    Create(forms, forms.FrmAudibilityChart, new views::TFrmAudibilityChart);
    Create(forms, forms.SoundQualityOutput, new assessment::TSoundQualityOutput);
    Create(forms, forms.DecisionSupportOutput, new assessment::TDecisionSupportOutput);
    Create(forms, forms.QuestionnaireResponses, new assessment::TQuestionnaireResponses);

    // The salience grid plays its notes on the MIDI panel's generator.
    forms.MeanPitchSalienceChart->SetMidiPanel(forms.Form45);
    // The contour view plays the note under the mouse through the salience grid.
    forms.Smooth3DInterpolation->SetNoteSound(forms.MeanPitchSalienceChart);
    forms.Smooth3DInterpolation->SetDialogs(&forms.Form1->Dialogs());

    // Each chart review window shows its data window.
    forms.GraphOctS->SetDataForm(forms.GraphOctSData);
    forms.GraphThirdOctS->SetDataForm(forms.GraphThirdOctSData);
    forms.GraphSpecLoudS->SetDataForm(forms.GraphSpecLoudSData);
    forms.GraphChromaSalienceS->SetDataForm(forms.GraphChromaSalienceSData);
    forms.GraphPitchSalienceS->SetDataForm(forms.GraphPitchSalienceSData);
    // The check dialog's (hidden) listening-test button.
    QObject::connect(forms.SoundFileCheck->DoAnalyseThis, &QPushButton::clicked, forms.SoundFileCheck,
                     [&forms] { DoAnalyseThisClick(forms); });
    // The questionnaire writes its score and answer flags into the decision-support window.
    forms.NewQuestionnaire->SetDecisionSupport(forms.DecisionSupportOutput);
}

void DestroyForms(Forms& forms)
{
    std::vector<QWidget*> order;
    order.swap(forms.CreationOrder);
    // Clear the members first, so no window sees a deleted neighbour while it is destroyed.
    forms.Form1 = nullptr;
    forms.UserProcessingOptions = nullptr;
    forms.DataAnalysisFlowchart = nullptr;
    forms.Form3 = nullptr;
    forms.ScanSoundFileVariables = nullptr;
    forms.Form5 = nullptr;
    forms.Form6 = nullptr;
    forms.Form7 = nullptr;
    forms.OctS = nullptr;
    forms.Form9 = nullptr;
    forms.OverallThirdOctaveSpectrum = nullptr;
    forms.OverallSpecificLoudnessS = nullptr;
    forms.MeanChromaSalienceParncutt = nullptr;
    forms.PitchSalienceS = nullptr;
    forms.SoundFileHeaderInfo = nullptr;
    forms.MakeSpectrumResults = nullptr;
    forms.RoexResults = nullptr;
    forms.EsigResults = nullptr;
    forms.SpecLoudResults = nullptr;
    forms.SharpnessResults = nullptr;
    forms.NTonesResults = nullptr;
    forms.Form27 = nullptr;
    forms.ToneDissonanceResults = nullptr;
    forms.FindLevelsAboveMaskingResults = nullptr;
    forms.SortToneArraysResults = nullptr;
    forms.FindVirtualPitchesResults = nullptr;
    forms.GraphOctS = nullptr;
    forms.GraphThirdOctS = nullptr;
    forms.GraphSpecLoudS = nullptr;
    forms.GraphChromaSalienceS = nullptr;
    forms.GraphPitchSalienceS = nullptr;
    forms.GraphOctSData = nullptr;
    forms.GraphThirdOctSData = nullptr;
    forms.GraphSpecLoudSData = nullptr;
    forms.GraphChromaSalienceSData = nullptr;
    forms.GraphPitchSalienceSData = nullptr;
    forms.HelpInputAndOutput = nullptr;
    forms.SoundFileCheck = nullptr;
    forms.MeanPitchSalienceChart = nullptr;
    forms.Form45 = nullptr;
    forms.Form46 = nullptr;
    forms.MeanPitchSaliencePlot3DForm1 = nullptr;
    forms.Smooth3DInterpolation = nullptr;
    forms.BatchFileSummary = nullptr;
    forms.rch3dMainForm = nullptr;
    forms.LoudValuesForm = nullptr;
    forms.FrmShared = nullptr;
    forms.SelectFFTSize = nullptr;
    forms.UserQuestions1 = nullptr;
    forms.Form48 = nullptr;
    forms.AnalyseThis = nullptr;
    forms.NoiseQuestionnaireTemplate = nullptr;
    forms.ViewFileOutput = nullptr;
    forms.NewQuestionnaire = nullptr;
    forms.Smooth3DInterpolation_Audibility = nullptr;
    forms.FrmAudibilityChart = nullptr;
    forms.SoundQualityOutput = nullptr;
    forms.DecisionSupportOutput = nullptr;
    forms.QuestionnaireResponses = nullptr;
    std::for_each(order.rbegin(), order.rend(), [](QWidget* window) { delete window; });
}

}  // namespace oxw::app

namespace oxw::app {

void DoAnalyseThisClick(Forms& forms)
{
    assessment::TAnalyseThis* test = forms.AnalyseThis;
    test->SetSoundFile(forms.Form1->ui.SelectedInputFile->text(), forms.SoundFileCheck->SoundFileSampleRate->text(),
                       forms.SoundFileCheck->SoundFileEstimatedRunTime->text());
    test->SetOwnerWindow(forms.SoundFileCheck);
    forms.Form1->Dialogs().ExecModal(*test);
}

}  // namespace oxw::app
