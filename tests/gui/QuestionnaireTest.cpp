// The noise-sensitivity questionnaire: its pages and questions, the scoring key against the
// statement lists of each subscale, the scores of hand-worked answer sets on the results page,
// the rank at the band edges, and the answer flags it leaves in the decision-support window.
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "assessment/DecisionSupportOutput.h"
#include "assessment/NewQuestionnaire.h"
#include "assessment/NoiseSensitivityScore.h"
#include "controls/Meter.h"
#include "controls/ProgBar.h"

using namespace oxw::assessment;
using oxw::platform::RadioButton;

namespace {

class Questionnaire : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        q.SetDecisionSupport(&decision);
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    RadioButton* Button(const char* name) const { return q.findChild<RadioButton*>(QString::fromLatin1(name)); }
    void Answer(int first, int last, int option)
    {
        for (int n = first; n <= last; ++n) q.Statements[n][option]->click();
    }
    void ClearAnswers()
    {
        for (int n = 1; n <= kStatements; ++n)
            for (RadioButton* b : q.Statements[n]) b->setChecked(false);
    }
    // Leaves the results page if it is current, then enters it.
    void EnterResults()
    {
        q.PageControl1->setCurrentIndex(0);
        q.PageControl1->setCurrentWidget(q.TabSheet7);
    }

    TDecisionSupportOutput decision;
    TNewQuestionnaire q;
};

QStringList Captions(const QTabWidget* tabs)
{
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
    return captions;
}

// The pages, a sample of the options' captions, the statements' names and groups, and the
// results page's meters with their norms.
TEST_F(Questionnaire, PagesQuestionsAndResultsPage)
{
    EXPECT_EQ(q.windowTitle(), "OXW Optional Questionnaire for your Personal Noise Sensitivity Perception");
    EXPECT_EQ(Captions(q.PageControl1),
              QStringList({"Processing Overview", "Personal", "Your Location", "Your Environment",
                           "Your Disturbance  or Annoyances", "Sound Character", "Noise Sensitivity ",
                           "Your Noise Sensitivity "}));
    EXPECT_EQ(q.TabSheet7, q.PageControl1->widget(7));
    EXPECT_EQ(Captions(q.PageControl5), QStringList({"Questions 1 - 7", "Questions 8 - 14", "Questions 15 - 21",
                                                     "Questions 22 - 28", "Questions 29 - 35"}));
    EXPECT_EQ(q.Image1->pixmap().size(), QSize(480, 150));  // the overview picture, decoded
    for (const auto& [name, caption] :
         {std::pair{"Under20", "Under 20"}, {"Above70", "70 or above"}, {"Quiet_ModeratelyNoisy", "Moderately noisy"},
          {"Sound2_1Wind", "wind in trees"}, {"Sound3_2Beating", "beating or fluctating"},
          {"Sound3_4Impulsive", "implusive"}})
        EXPECT_TRUE(Button(name) && Button(name)->text() == caption) << name;
    // Statements: four options of one group each, under the column headings.
    const char* const endings[] = {"NoNo", "No", "Yes", "YesYes"};
    const char* const headings[] = {"Strongly disagree", "Slightly disagree", "Slightly agree", "Strongly agree"};
    for (int n = 1; n <= kStatements; ++n) {
        for (int k = 0; k < 4; ++k) {
            const RadioButton* b = q.Statements[n][k];
            EXPECT_EQ(b->objectName().toStdString(), "Q" + std::to_string(n) + endings[k]);
            EXPECT_TRUE(b->accessibleName() == headings[k] && b->parent() == q.Statements[n][0]->parent()) << n;
        }
        EXPECT_NE(q.Statements[n][0]->parent(), q.Statements[n % kStatements + 1][0]->parent());
    }
    const struct { TMeter* meter; const char* caption; double low, high; } meters[] = {
        {q.OverallPerceivedNoiseSensitivityMeter, "Global Noise Sensitivity", 1.11, 1.63},
        {q.CommunicationMeter, "Connunication", 0.59, 1.69}, {q.HabitationMeter, "Habitation", 0.87, 1.99},
        {q.LiesureMeter, "Leisure", 0.68, 2.04}, {q.SleepingMeter, "Sleeping", 0.73, 1.85},
        {q.WorkMeter, "Work", 1.08, 2.20},
    };
    for (const auto& m : meters)
        EXPECT_TRUE(m.meter->Caption() == m.caption && m.meter->ThresholdLow() == m.low &&
                    m.meter->ThresholdHigh() == m.high && q.TabSheet7->isAncestorOf(m.meter)) << m.caption;
    EXPECT_EQ(q.NoiRankChart->Max(), 90);
    EXPECT_TRUE(q.RankCharts->isHidden() && q.NoiseSensitivity->isHidden());
    q.show();
    EXPECT_EQ(q.Button1->text(), "Close the questionnaire");
    q.Button1->click();
    EXPECT_FALSE(q.isVisible());
    EXPECT_EQ(q.result(), QDialog::Accepted);
}

// The subscale lists and the reversed statements as the questionnaire's key gives them.
TEST(NoiseSensitivityKey, SubscalesAndReversedStatements)
{
    const std::vector<int> lists[kSubscales] = {
        {5, 8, 12, 19, 20, 28, 35}, {3, 4, 17, 23, 24, 32, 33}, {1, 11, 18, 22, 25, 27, 31},
        {7, 9, 15, 16, 26, 30, 34}, {2, 6, 10, 13, 14, 21, 29}};
    const std::vector<int> reversed = {6, 8, 9, 11, 17, 22, 23, 29, 34};
    for (int s = 0; s < kSubscales; ++s)
        for (int n : lists[s]) EXPECT_EQ(SubscaleOf(n), s) << n;
    for (int n = 1; n <= kStatements; ++n) {
        const bool r = std::find(reversed.begin(), reversed.end(), n) != reversed.end();
        for (int option = 0; option < 4; ++option) EXPECT_EQ(KeyScore(n, option), r ? 3 - option : option) << n;
    }
}

TEST(NoiseSensitivityKey, RankAtTheBandEdges)
{
    const struct { double score; Norm norm; const char* word; double bar; } cases[] = {
        {1.11, kOverallNorm, "Average", 30},   {1.63, kOverallNorm, "Average", 60},
        {1.10, kOverallNorm, "Below Average", 1.10 / 1.11 * 30}, {0, kOverallNorm, "Below Average", 0},
        {1.64, kOverallNorm, "Above Average", 0.01 / 1.37 * 30 + 60}, {3, kOverallNorm, "Above Average", 90},
        {3, Norm{1.08, 2.20}, "Above Average", 90}, {2.20, Norm{1.08, 2.20}, "Average", 60},
        {0.59, Norm{0.59, 1.69}, "Average", 30},
    };
    for (const auto& c : cases) {
        const Rank r = RankOf(c.score, c.norm);
        EXPECT_TRUE(std::string(r.word) == c.word && std::abs(r.bar - c.bar) < 1e-9) << c.score;
    }
}

// Worked by hand from the key and the limits: text of the sum (or of the overall score), rank
// word and bar, overall first, then Communication, Habitation, Leisure, Sleeping, Work.
TEST_F(Questionnaire, ScoresOfHandWorkedAnswers)
{
    struct Row { const char* text; const char* rank; double bar; };
    // Statements first..last answered with option, the rest not.
    const struct { const char* what; int first, last, option; const char* answered; Row rows[6]; } cases[] = {
        {"all strongly agree", 1, 35, StronglyAgree, "35.00",
         {{"2.23", "Above Average", 73.11}, {"18.00", "Above Average", 80.19}, {"15.00", "Above Average", 64.54},
          {"15.00", "Above Average", 63.21}, {"15.00", "Above Average", 67.64}, {"15.00", "Average", 58.47}}},
        {"all strongly disagree", 1, 35, StronglyDisagree, "35.00",
         {{"0.77", "Below Average", 20.85}, {"3.00", "Below Average", 21.79}, {"6.00", "Below Average", 29.56},
          {"6.00", "Average", 33.91}, {"6.00", "Average", 33.41}, {"6.00", "Below Average", 23.81}}},
        {"1..17 strongly agree", 1, 17, StronglyAgree, "17.00",
         {{"1.03", "Below Average", 27.80}, {"6.00", "Average", 37.29}, {"6.00", "Below Average", 29.56},
          {"3.00", "Below Average", 18.91}, {"9.00", "Average", 44.89}, {"12.00", "Average", 46.99}}},
        {"none answered", 1, 0, 0, "0.00",
         {{"0.00", "Below Average", 0}, {"0.00", "Below Average", 0}, {"0.00", "Below Average", 0},
          {"0.00", "Below Average", 0}, {"0.00", "Below Average", 0}, {"0.00", "Below Average", 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearAnswers();
        Answer(c.first, c.last, c.option);
        EnterResults();
        const QLineEdit* texts[] = {q.NoiseSensitivity, q.Communication, q.Habitation, q.Leisure, q.Sleeping, q.Work};
        const QLineEdit* ranks[] = {q.NoiRank, q.ComRank, q.HabRank, q.LeiRank, q.SleRank, q.WorRank};
        const TProgBar* bars[] = {q.NoiRankChart, q.ComRankChart, q.HabRankChart,
                                  q.LeiRankChart, q.SleRankChart, q.WorRankChart};
        const TMeter* meters[] = {q.OverallPerceivedNoiseSensitivityMeter, q.CommunicationMeter, q.HabitationMeter,
                                  q.LiesureMeter, q.SleepingMeter, q.WorkMeter};
        for (int i = 0; i < 6; ++i) {
            EXPECT_TRUE(texts[i]->text() == c.rows[i].text && ranks[i]->text() == c.rows[i].rank) << i;
            EXPECT_NEAR(bars[i]->Value(), c.rows[i].bar, 0.005) << i;
            // The meters: the overall score, and each subscale's sum over its seven statements.
            const double shown = i == 0 ? texts[0]->text().toDouble() : texts[i]->text().toDouble() / 7;
            EXPECT_NEAR(meters[i]->Value(), shown, i == 0 ? 0.005 : 1e-12) << i;
        }
        EXPECT_EQ(q.QuestionsAnswered->text(), c.answered);
        EXPECT_EQ(decision.NsOverallOutput->text(), c.rows[0].text);
    }
}

TEST_F(Questionnaire, ScoresAreWrittenOnlyOnEnteringTheResultsPage)
{
    Answer(1, 35, SlightlyDisagree);
    for (int page = 0; page < 7; ++page) q.PageControl1->setCurrentIndex(page);
    EXPECT_TRUE(decision.NsOverallOutput->text() == "not available" && q.NoiseSensitivity->text().isEmpty());
    q.PageControl1->setCurrentWidget(q.TabSheet7);
    EXPECT_EQ(decision.NsOverallOutput->text(), "1.26");
    // Leaving the results page changes nothing; changed answers count from the next entry on.
    Answer(1, 35, StronglyDisagree);
    q.PageControl1->setCurrentIndex(2);
    EXPECT_EQ(decision.NsOverallOutput->text(), "1.26");
    q.PageControl1->setCurrentWidget(q.TabSheet7);
    EXPECT_EQ(decision.NsOverallOutput->text(), "0.77");
    // The locale's decimal separator.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EnterResults();
    EXPECT_EQ(decision.NsOverallOutput->text(), "0,77");
    EXPECT_EQ(q.QuestionsAnswered->text(), "35,00");
}

TEST_F(Questionnaire, AnswerFlagsFollowTheCurrentChoiceOfTheirQuestion)
{
    // Flag options with their question's number.
    const std::tuple<const char*, QLineEdit*, int> flags[] = {
        {"Noise_Sometimes", decision.LE24Output, 1},      {"Noise_Often", decision.LE25Output, 1},
        {"Quiet_VeryQuiet", decision.LE26Output, 2},      {"Quiet_Quiet", decision.LE27Output, 2},
        {"Quiet_ModeratelyNoisy", decision.LE28Output, 2}, {"Disturbed_No", decision.LE31Output, 3},
        {"Disturbed_NotOften", decision.LE32Output, 3},   {"Sleeping_Very", decision.SC58Output, 4},
        {"Sound3_4Impulsive", decision.SC75Output, 5},    {"Sound3_5Repetitive", decision.SC76Output, 5},
        {"Sound4_1Annoying", decision.SC78Output, 6},     {"Sound4_3Unpleasant", decision.SC80Output, 6},
        {"Sound4_4Pleasant", decision.SC81Output, 6},
    };
    auto flagTexts = [&] {
        QStringList texts;
        for (const auto& f : flags) texts << std::get<1>(f)->text();
        return texts;
    };
    // Options without a flag, and the variant pages' own buttons, write nothing.
    for (const char* other : {"Noise_No", "Quiet_VeryNoisy", "Disturbed_Often", "Sleeping_Extremely",
                              "Sound3_1Hum", "Sound4_6Relaxing", "Noise_Sometimes_2", "Quiet_VeryQuiet_2"})
        Button(other)->click();
    EXPECT_EQ(flagTexts(), QStringList(13, "not available"));
    EXPECT_EQ(decision.LE58Output->text(), "not available");
    // Each pick sets its flag and withdraws the earlier pick of its own question only: after
    // picks 0..i, flag j holds when no later pick was of its question.
    auto question = [&](std::size_t k) { return std::get<2>(flags[k]); };
    for (std::size_t i = 0; i < std::size(flags); ++i) {
        Button(std::get<0>(flags[i]))->click();
        for (std::size_t j = 0; j < std::size(flags); ++j) {
            bool set = j <= i;
            for (std::size_t k = j + 1; k <= i; ++k) set = set && question(k) != question(j);
            EXPECT_EQ(std::get<1>(flags[j])->text(), set ? "True" : "not available") << std::get<0>(flags[i]);
        }
    }
}

}  // namespace
