#pragma once
// "OXW Optional Questionnaire for your Personal Noise Sensitivity Perception": the optional
// personal questionnaire, shown modally from the main window. Eight pages ask about the listener,
// the home, the noise met there, the sound to be analysed and the 35 noise-sensitivity
// statements. Only the statements are scored (NoiseSensitivityScore): entering the results page
// "Your Noise Sensitivity " recomputes the overall and subscale scores from the buttons, shows
// them on needle meters with a rank each, and copies the overall score into the decision-support
// window. Thirteen answer options set answer flags there: "True" while the option is chosen,
// "not available" again once another option of its question is. Nothing is stored.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include <array>
#include <initializer_list>
#include <utility>

#include "assessment/NoiseSensitivityScore.h"
#include "platform/Form.h"
#include "platform/RadioButton.h"

class TMeter;
class TProgBar;

namespace oxw::assessment {

class TDecisionSupportOutput;

class TNewQuestionnaire : public platform::Form {
    Q_OBJECT
public:
    explicit TNewQuestionnaire(QWidget* parent = nullptr);

    // The window whose hidden edits receive the overall score and the answer flags (none: they
    // go nowhere).
    void SetDecisionSupport(TDecisionSupportOutput* form) { decision_ = form; }

    // OnChange of PageControl1: scores the statements when the results page has become current.
    void PageControl1Change();

    QTabWidget* PageControl1;  // pages TabSheet1 .. TabSheet8 in questionnaire order
    QWidget* TabSheet7;        // "Your Noise Sensitivity ": the results page
    QTabWidget* PageControl2;  // inside "Sound Character"; opens on its sixth page
    QTabWidget* PageControl5;  // the statements, seven per page
    QLabel* Image1;            // the "Processing Overview" picture inside PageControl2

    // The options of statement n at [n][option] (n 1..35, option an AgreementOption):
    // Q<n>NoNo, Q<n>No, Q<n>Yes, Q<n>YesYes.
    std::array<std::array<platform::RadioButton*, 4>, kStatements + 1> Statements{};

    // Results page.
    TMeter* OverallPerceivedNoiseSensitivityMeter;
    TMeter* CommunicationMeter;
    TMeter* HabitationMeter;
    TMeter* LiesureMeter;
    TMeter* SleepingMeter;
    TMeter* WorkMeter;
    // Hidden: the subscale sums, the overall score, the number answered and the rank words.
    QLineEdit* Communication;
    QLineEdit* Habitation;
    QLineEdit* Leisure;
    QLineEdit* Sleeping;
    QLineEdit* Work;
    QLineEdit* NoiseSensitivity;
    QLineEdit* QuestionsAnswered;
    QLineEdit* ComRank;
    QLineEdit* HabRank;
    QLineEdit* LeiRank;
    QLineEdit* SleRank;
    QLineEdit* WorRank;
    QLineEdit* NoiRank;
    // Hidden group "Noise Sensitivity": the rank bars, 0..90.
    QGroupBox* RankCharts;
    TProgBar* ComRankChart;
    TProgBar* HabRankChart;
    TProgBar* LeiRankChart;
    TProgBar* SleRankChart;
    TProgBar* WorRankChart;
    TProgBar* NoiRankChart;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;  // "Close the questionnaire"

private:
    // One row of the results: the meter, its sum edit (none for the overall score), rank edit,
    // bar and band.
    struct ResultRow {
        TMeter* meter;
        QLineEdit* sum;
        QLineEdit* rank;
        TProgBar* bar;
        Norm norm;
    };
    using Option = std::pair<const char*, const char*>;  // object name, caption

    QWidget* BuildIntroductionPage();
    QWidget* BuildPersonalPage(const char* suffix);
    QWidget* BuildLocationPage(const char* suffix);
    QWidget* BuildEnvironmentPage(const char* suffix);
    QWidget* BuildDisturbancePage(const char* suffix);
    QWidget* BuildSoundCharacterPage();
    QWidget* BuildSoundQuestions();
    QWidget* BuildStatementsPage();
    QWidget* BuildStatementRows(int first, int last);
    QWidget* BuildResultsPage();
    QWidget* BuildResultCell(TMeter*& meter, const char* name, const char* caption, Norm norm);
    void CreateHiddenEdits(QWidget* page);
    QGroupBox* BuildRankCharts();

    // A question: a group of radio buttons, at most one of them chosen. `suffix` ends every
    // object name (the variant pages of PageControl2 have buttons of their own).
    QGroupBox* RadioGroup(const QString& caption, std::initializer_list<Option> options, const char* suffix,
                          bool across = true);

    void ConnectAnswerFlags();
    void ScoreStatements();
    std::array<ResultRow, 6> ResultRows() const;  // overall first, then the subscale order

    TDecisionSupportOutput* decision_ = nullptr;
};

}  // namespace oxw::assessment
