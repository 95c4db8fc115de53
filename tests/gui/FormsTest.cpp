// The program's windows: all 59 created at start-up in their order, with their object names,
// the carriers other parts of the program write into, and their destruction.
#include "app/Forms.h"
#include "app/UserProcessingOptions.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedSoundSystem.h"

#include <QPointer>
#include <QRadioButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace oxw;

// The start-up order by object name; each window's class is "T" and its object name.
const char* const kForms[] = {
    "Form1", "UserProcessingOptions", "DataAnalysisFlowchart", "Form3", "ScanSoundFileVariables", "Form5",
    "Form6", "Form7", "OctS", "Form9", "OverallThirdOctaveSpectrum", "OverallSpecificLoudnessS",
    "MeanChromaSalienceParncutt", "PitchSalienceS", "SoundFileHeaderInfo", "MakeSpectrumResults",
    "RoexResults", "EsigResults", "SpecLoudResults", "SharpnessResults", "NTonesResults", "Form27",
    "ToneDissonanceResults", "FindLevelsAboveMaskingResults", "SortToneArraysResults",
    "FindVirtualPitchesResults", "GraphOctS", "GraphThirdOctS", "GraphSpecLoudS", "GraphChromaSalienceS",
    "GraphPitchSalienceS", "GraphOctSData", "GraphThirdOctSData", "GraphSpecLoudSData",
    "GraphChromaSalienceSData", "GraphPitchSalienceSData", "HelpInputAndOutput", "SoundFileCheck",
    "MeanPitchSalienceChart", "Form45", "Form46", "MeanPitchSaliencePlot3DForm1", "Smooth3DInterpolation",
    "BatchFileSummary", "rch3dMainForm", "LoudValuesForm", "FrmShared", "SelectFFTSize", "UserQuestions1",
    "Form48", "AnalyseThis", "NoiseQuestionnaireTemplate", "ViewFileOutput", "NewQuestionnaire",
    "Smooth3DInterpolation_Audibility", "FrmAudibilityChart", "SoundQualityOutput", "DecisionSupportOutput",
    "QuestionnaireResponses",
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
    void SetUp() override { app::CreateForms(forms, dialogs, sound); }
    platform::ScriptedDialogs dialogs;
    platform::ScriptedSoundSystem sound;
    app::Forms forms;
};

TEST_F(FormsTest, AllFiftyNineInStartUpOrder)
{
    ASSERT_EQ(forms.CreationOrder.size(), 59u);
    ASSERT_EQ(std::size(kForms), 59u);
    for (std::size_t i = 0; i < std::size(kForms); ++i) {
        const QWidget* w = forms.CreationOrder[i];
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName().toStdString(), kForms[i]) << "position " << i + 1;
        EXPECT_EQ(ClassName(w), std::string("T") + kForms[i]) << "position " << i + 1;
        EXPECT_FALSE(w->windowTitle().isEmpty()) << kForms[i];
    }
    EXPECT_TRUE(forms.Form1 == forms.CreationOrder.front() && forms.SoundFileCheck == forms.CreationOrder[37] &&
                forms.QuestionnaireResponses == forms.CreationOrder.back());
    EXPECT_EQ(forms.DecisionSupportOutput->windowTitle(), "OXW Decision Support Analysis Results");
}

TEST_F(FormsTest, DestroyFormsDeletesEveryWindowMainWindowLast)
{
    std::vector<QPointer<QWidget>> alive(forms.CreationOrder.begin(), forms.CreationOrder.end());
    bool othersGoneFirst = true;
    QObject::connect(forms.Form1, &QObject::destroyed, [&] {
        for (std::size_t i = 1; i < alive.size(); ++i) othersGoneFirst = othersGoneFirst && alive[i].isNull();
    });
    app::DestroyForms(forms);
    EXPECT_TRUE(othersGoneFirst);
    for (const auto& w : alive) EXPECT_TRUE(w.isNull());
    EXPECT_EQ(forms.SoundQualityOutput, nullptr);
    EXPECT_TRUE(forms.CreationOrder.empty());
    app::DestroyForms(forms);  // a second call does nothing
}

TEST_F(FormsTest, DefaultChoicesOfTheProcessingDialogs)
{
    QStringList checked;
    for (const QAbstractButton* b : forms.SoundFileCheck->findChildren<QAbstractButton*>()) {
        if (b->isCheckable() && b->isChecked()) checked << b->objectName();
    }
    checked.sort();
    EXPECT_EQ(checked, QStringList({"DoChannelBoth", "HanningFilter", "IncludeTerhardt", "LowResolution",
                                    "ProcessingFree", "WavFile"}));
    EXPECT_EQ(forms.SoundFileCheck->OutputCompression->count(), 10);
    EXPECT_EQ(forms.SoundFileCheck->OutputCompression->currentText(), "1");
    EXPECT_EQ(forms.SoundFileCheck->InputCalibration->text(), "0");
    EXPECT_TRUE(forms.SelectFFTSize->Selected4096->isChecked() && forms.SelectFFTSize->VKRLibrary->isChecked());
}

// The analysis option window: created with no option checked; its creation step unchecks all
// three options, its hidden intermediate option's click (called, or signalled by the button)
// only the other two.
TEST_F(FormsTest, ProcessingOptionRadios)
{
    app::TUserProcessingOptions& o = *forms.UserProcessingOptions;
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"FormCreate", [&o] { o.FormCreate(); }},
        {"ProcessIntermediateClick", [&o] { o.ProcessIntermediateClick(); }},
        {"clicked", [&o] { emit o.ProcessIntermediate->clicked(); }}};
    auto states = [&o] {
        return std::vector{o.ProcessIntroductory->isChecked(), o.ProcessIntermediate->isChecked(),
                           o.ProcessAdvanced->isChecked()};
    };
    EXPECT_EQ(states(), std::vector({false, false, false}));
    for (const auto& [name, step] : steps)
        for (platform::RadioButton* checked : {o.ProcessIntroductory, o.ProcessIntermediate, o.ProcessAdvanced}) {
            SCOPED_TRACE(std::string(name) + " after " + checked->objectName().toStdString());
            checked->setChecked(true);
            step();
            const bool intermediateKept = checked == o.ProcessIntermediate && name != std::string("FormCreate");
            EXPECT_EQ(states(), std::vector({false, intermediateKept, false}));
        }
}

// The review windows' buttons: each close button hides its own window and nothing else, each
// chart window's second button shows its own data window, the header window's button does
// nothing; the flowchart is fully expanded from the start.
TEST_F(FormsTest, ReviewWindowButtons)
{
    // Clicks `button` on a shown `window`; `expectShown` are the windows shown afterwards.
    auto click = [this](QWidget* window, QAbstractButton* button, std::vector<QWidget*> expectShown) {
        SCOPED_TRACE(window->objectName().toStdString() + " " + button->text().toStdString());
        window->show();
        button->click();
        for (QWidget* w : forms.CreationOrder) {
            const bool shown = std::find(expectShown.begin(), expectShown.end(), w) != expectShown.end();
            EXPECT_EQ(w->isVisible(), shown) << w->objectName().toStdString();
            w->hide();
        }
    };
    click(forms.Form3, forms.Form3->Button1, {});
    click(forms.ScanSoundFileVariables, forms.ScanSoundFileVariables->Button1, {});
    click(forms.Form5, forms.Form5->Button1, {});
    click(forms.SoundFileHeaderInfo, forms.SoundFileHeaderInfo->Button1, {forms.SoundFileHeaderInfo});
    const std::vector<app::ListReviewForm*> lists = {
        forms.Form6, forms.Form7, forms.OctS, forms.Form9, forms.OverallThirdOctaveSpectrum,
        forms.OverallSpecificLoudnessS, forms.MeanChromaSalienceParncutt, forms.PitchSalienceS,
        forms.MakeSpectrumResults, forms.RoexResults, forms.EsigResults, forms.SpecLoudResults,
        forms.SharpnessResults, forms.NTonesResults, forms.ToneDissonanceResults,
        forms.FindLevelsAboveMaskingResults, forms.SortToneArraysResults, forms.FindVirtualPitchesResults};
    for (app::ListReviewForm* list : lists) click(list, list->CloseButton, {});
    const std::pair<app::ChartReviewForm*, app::ChartDataForm*> charts[] = {
        {forms.GraphOctS, forms.GraphOctSData},
        {forms.GraphThirdOctS, forms.GraphThirdOctSData},
        {forms.GraphSpecLoudS, forms.GraphSpecLoudSData},
        {forms.GraphChromaSalienceS, forms.GraphChromaSalienceSData},
        {forms.GraphPitchSalienceS, forms.GraphPitchSalienceSData}};
    for (const auto& [chart, data] : charts) {
        click(chart, chart->CloseChart, {});
        click(chart, chart->ShowData, {chart, data});
        click(data, data->CloseButton, {});
    }

    int collapsed = 0, withChildren = 0;
    QTreeWidget* tree = forms.DataAnalysisFlowchart->TreeView1;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        withChildren += (*it)->childCount() > 0 ? 1 : 0;
        collapsed += (*it)->childCount() > 0 && !(*it)->isExpanded() ? 1 : 0;
    }
    EXPECT_GT(withChildren, 1);
    EXPECT_EQ(collapsed, 0);
}

}  // namespace
