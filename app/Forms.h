#pragma once
// Every window of the program, created once at start-up in a fixed order and kept until the
// program ends. The members are named after the windows' instance names, which are also their
// object names; any part of the program reaches another window's controls through them.

#include <QWidget>

#include <vector>

#include "app/ChartForms.h"
#include "app/DiagnosticForms.h"
#include "app/ListReviewForms.h"
#include "app/ReviewForms.h"
#include "app/SelectFFTSize.h"
#include "app/SoundFileCheck.h"
#include "app/TForm1.h"
#include "app/UserProcessingOptions.h"
#include "app/ViewFileOutput.h"
#include "assessment/AnalyseThis.h"
#include "assessment/AssessmentForms.h"
#include "assessment/DecisionSupportOutput.h"
#include "assessment/NewQuestionnaire.h"
#include "assessment/SoundQualityOutput.h"
#include "midi/Form45.h"
#include "views/AudibilityChart.h"
#include "views/SalienceForms.h"
#include "views/Smooth3DInterpolation.h"

namespace oxw::platform {
class Dialogs;
class SoundSystem;
}  // namespace oxw::platform

namespace oxw::app {

struct Forms {
    Forms() = default;
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;
    // Deletes the windows still alive (DestroyForms).
    ~Forms();

    TForm1* Form1 = nullptr;
    TUserProcessingOptions* UserProcessingOptions = nullptr;
    TDataAnalysisFlowchart* DataAnalysisFlowchart = nullptr;
    TForm3* Form3 = nullptr;
    TScanSoundFileVariables* ScanSoundFileVariables = nullptr;
    TForm5* Form5 = nullptr;
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;
    TOctS* OctS = nullptr;
    TForm9* Form9 = nullptr;
    TOverallThirdOctaveSpectrum* OverallThirdOctaveSpectrum = nullptr;
    TOverallSpecificLoudnessS* OverallSpecificLoudnessS = nullptr;
    TMeanChromaSalienceParncutt* MeanChromaSalienceParncutt = nullptr;
    TPitchSalienceS* PitchSalienceS = nullptr;
    TSoundFileHeaderInfo* SoundFileHeaderInfo = nullptr;
    TMakeSpectrumResults* MakeSpectrumResults = nullptr;
    TRoexResults* RoexResults = nullptr;
    TEsigResults* EsigResults = nullptr;
    TSpecLoudResults* SpecLoudResults = nullptr;
    TSharpnessResults* SharpnessResults = nullptr;
    TNTonesResults* NTonesResults = nullptr;
    TForm27* Form27 = nullptr;
    TToneDissonanceResults* ToneDissonanceResults = nullptr;
    TFindLevelsAboveMaskingResults* FindLevelsAboveMaskingResults = nullptr;
    TSortToneArraysResults* SortToneArraysResults = nullptr;
    TFindVirtualPitchesResults* FindVirtualPitchesResults = nullptr;
    TGraphOctS* GraphOctS = nullptr;
    TGraphThirdOctS* GraphThirdOctS = nullptr;
    TGraphSpecLoudS* GraphSpecLoudS = nullptr;
    TGraphChromaSalienceS* GraphChromaSalienceS = nullptr;
    TGraphPitchSalienceS* GraphPitchSalienceS = nullptr;
    TGraphOctSData* GraphOctSData = nullptr;
    TGraphThirdOctSData* GraphThirdOctSData = nullptr;
    TGraphSpecLoudSData* GraphSpecLoudSData = nullptr;
    TGraphChromaSalienceSData* GraphChromaSalienceSData = nullptr;
    TGraphPitchSalienceSData* GraphPitchSalienceSData = nullptr;
    THelpInputAndOutput* HelpInputAndOutput = nullptr;
    TSoundFileCheck* SoundFileCheck = nullptr;
    oxw::views::TMeanPitchSalienceChart* MeanPitchSalienceChart = nullptr;
    oxw::midi::TForm45* Form45 = nullptr;
    TForm46* Form46 = nullptr;
    oxw::views::TMeanPitchSaliencePlot3DForm1* MeanPitchSaliencePlot3DForm1 = nullptr;
    oxw::views::TSmooth3DInterpolation* Smooth3DInterpolation = nullptr;
    TBatchFileSummary* BatchFileSummary = nullptr;
    oxw::views::Trch3dMainForm* rch3dMainForm = nullptr;
    TLoudValuesForm* LoudValuesForm = nullptr;
    TFrmShared* FrmShared = nullptr;
    TSelectFFTSize* SelectFFTSize = nullptr;
    oxw::assessment::TUserQuestions1* UserQuestions1 = nullptr;
    TForm48* Form48 = nullptr;
    oxw::assessment::TAnalyseThis* AnalyseThis = nullptr;
    oxw::assessment::TNoiseQuestionnaireTemplate* NoiseQuestionnaireTemplate = nullptr;
    TViewFileOutput* ViewFileOutput = nullptr;
    oxw::assessment::TNewQuestionnaire* NewQuestionnaire = nullptr;
    oxw::views::TSmooth3DInterpolation_Audibility* Smooth3DInterpolation_Audibility = nullptr;
    oxw::views::TFrmAudibilityChart* FrmAudibilityChart = nullptr;
    oxw::assessment::TSoundQualityOutput* SoundQualityOutput = nullptr;
    oxw::assessment::TDecisionSupportOutput* DecisionSupportOutput = nullptr;
    oxw::assessment::TQuestionnaireResponses* QuestionnaireResponses = nullptr;

    // The windows in creation order (Form1 first).
    std::vector<QWidget*> CreationOrder;
};

// Creates the 59 windows in the start-up order, the main window Form1 first, all hidden. The
// windows show their messages through `dialogs` (the main window's too); the listening test
// asks `sound` for the output devices and its player. Both must outlive the windows.
void CreateForms(Forms& forms, platform::Dialogs& dialogs, platform::SoundSystem& sound);

// The check dialog's listening-test button: the listening test on the selected file, modally.
void DoAnalyseThisClick(Forms& forms);

// Deletes the windows in reverse creation order, so the main window goes last, and clears the
// members. Safe to call more than once.
void DestroyForms(Forms& forms);

}  // namespace oxw::app
