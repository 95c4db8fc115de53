#include "assessment/NewQuestionnaire.h"

#include <QVBoxLayout>

#include "assessment/CarrierText.h"
#include "assessment/DecisionSupportOutput.h"
#include "controls/Meter.h"
#include "controls/ProgBar.h"

namespace oxw::assessment {

namespace {

// The answer options that set a flag in the decision-support window, and the flag's edit.
struct AnswerFlag {
    const char* button;
    QLineEdit* TDecisionSupportOutput::*edit;
};
const AnswerFlag kAnswerFlags[] = {
    {"Noise_Sometimes", &TDecisionSupportOutput::LE24Output},
    {"Noise_Often", &TDecisionSupportOutput::LE25Output},
    {"Quiet_VeryQuiet", &TDecisionSupportOutput::LE26Output},
    {"Quiet_Quiet", &TDecisionSupportOutput::LE27Output},
    {"Quiet_ModeratelyNoisy", &TDecisionSupportOutput::LE28Output},
    {"Disturbed_No", &TDecisionSupportOutput::LE31Output},
    {"Disturbed_NotOften", &TDecisionSupportOutput::LE32Output},
    {"Sleeping_Very", &TDecisionSupportOutput::SC58Output},
    {"Sound3_4Impulsive", &TDecisionSupportOutput::SC75Output},
    {"Sound3_5Repetitive", &TDecisionSupportOutput::SC76Output},
    {"Sound4_1Annoying", &TDecisionSupportOutput::SC78Output},
    {"Sound4_3Unpleasant", &TDecisionSupportOutput::SC80Output},
    {"Sound4_4Pleasant", &TDecisionSupportOutput::SC81Output},
};

// Scores and counts are written as fixed text with 2 decimals.
QString ScoreText(double value) { return CarrierFixedText(value, 5, 2); }

}  // namespace

TNewQuestionnaire::TNewQuestionnaire(QWidget* parent)
    : Form(QStringLiteral("NewQuestionnaire"),
           QStringLiteral("OXW Optional Questionnaire for your Personal Noise Sensitivity Perception"), parent)
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    // Pages in the order shown; the object names follow the form's own numbering.
    const std::pair<const char*, QWidget*> pages[] = {
        {"Processing Overview", BuildIntroductionPage()},
        {"Personal", BuildPersonalPage("")},
        {"Your Location", BuildLocationPage("")},
        {"Your Environment", BuildEnvironmentPage("")},
        {"Your Disturbance  or Annoyances", BuildDisturbancePage("")},
        {"Sound Character", BuildSoundCharacterPage()},
        {"Noise Sensitivity ", BuildStatementsPage()},
        {"Your Noise Sensitivity ", BuildResultsPage()},
    };
    const char* const names[] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4",
                                 "TabSheet5", "TabSheet8", "TabSheet6", "TabSheet7"};
    for (std::size_t i = 0; i < std::size(pages); ++i) {
        pages[i].second->setObjectName(QString::fromLatin1(names[i]));
        PageControl1->addTab(pages[i].second, QString::fromLatin1(pages[i].first));
    }
    TabSheet7 = pages[7].second;
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    ConnectAnswerFlags();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    resize(1000, 720);
}

void TNewQuestionnaire::ConnectAnswerFlags()
{
    for (const AnswerFlag& flag : kAnswerFlags) {
        auto* button = findChild<platform::RadioButton*>(QString::fromLatin1(flag.button));
        Q_ASSERT(button);
        // A flag follows its question's current choice: set while its option is chosen, back to
        // "not available" when another option of the question is.
        connect(button, &QAbstractButton::toggled, this, [this, edit = flag.edit](bool on) {
            if (decision_) (decision_->*edit)->setText(QString::fromLatin1(on ? kFlagSet : kNotAvailable));
        });
    }
}

void TNewQuestionnaire::PageControl1Change()
{
    if (PageControl1->currentWidget() == TabSheet7) ScoreStatements();
}

std::array<TNewQuestionnaire::ResultRow, 6> TNewQuestionnaire::ResultRows() const
{
    return {{
        {OverallPerceivedNoiseSensitivityMeter, nullptr, NoiRank, NoiRankChart, kOverallNorm},
        {CommunicationMeter, Communication, ComRank, ComRankChart, kSubscaleNorms[oxw::assessment::Communication]},
        {HabitationMeter, Habitation, HabRank, HabRankChart, kSubscaleNorms[oxw::assessment::Habitation]},
        {LiesureMeter, Leisure, LeiRank, LeiRankChart, kSubscaleNorms[oxw::assessment::Leisure]},
        {SleepingMeter, Sleeping, SleRank, SleRankChart, kSubscaleNorms[oxw::assessment::Sleeping]},
        {WorkMeter, Work, WorRank, WorRankChart, kSubscaleNorms[oxw::assessment::Work]},
    }};
}

// Everything is recomputed from the buttons' current states.
void TNewQuestionnaire::ScoreStatements()
{
    Answers answers;
    answers.fill(kNoAnswer);
    for (int n = 1; n <= kStatements; ++n) {
        for (int option = StronglyDisagree; option <= StronglyAgree; ++option) {
            if (Statements[n][option]->isChecked()) answers[n] = option;
        }
    }
    const NoiseSensitivityScores scores = ScoreAnswers(answers);

    NoiseSensitivity->setText(ScoreText(scores.Overall()));
    if (decision_) decision_->NsOverallOutput->setText(NoiseSensitivity->text());
    QuestionsAnswered->setText(ScoreText(scores.PersonalSensitivityTotal));
    const auto rows = ResultRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ResultRow& row = rows[i];
        // The rank compares the value the row's meter shows: the overall score, or a subscale's
        // sum over its seven statements.
        double value = scores.Overall();
        if (row.sum) {
            const auto subscale = static_cast<Subscale>(i - 1);
            row.sum->setText(ScoreText(scores.SubscaleTotals[subscale]));
            value = scores.SubscaleScore(subscale);
        }
        row.meter->SetValue(value);
        const Rank rank = RankOf(value, row.norm);
        row.rank->setText(QString::fromLatin1(rank.word));
        row.bar->SetValue(rank.bar);
    }
    OverallPerceivedNoiseSensitivityMeter->update();
    PageControl1->update();
}

}  // namespace oxw::assessment
