// The decision-support window: "Show Rating" over hand-worked carrier texts, the band edges, the
// visibility of the error text and the ratings, numbers in the locale's notation, texts that are
// no numbers, and evaluations that follow one another.
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assessment/DecisionSupportOutput.h"

using oxw::assessment::TDecisionSupportOutput;

namespace {

// Short names of the sentences.
const char* const kNsAverage = "Average Personal Noise Sensitivity";
const char* const kNsLess = "Less than average Personal Noise Sensitivity";
const char* const kNsMore = "More than average Personal Noise Sensitivity";
const char* const kScapeBetter = "Better than average soundscape and amenity";
const char* const kScapeAverage = "Average soundscape and amenity";
const char* const kScapeLess = "Less than average soundscape and amenity";
const char* const kAmenityBetter = "Better than average amenity";
const char* const kAmenityAverage = "Average amenity";
const char* const kAmenityLess = "Less than average amenity";

struct Shown {
    std::string ns, scape, amenity, adverse;  // "" when the label is hidden
    bool error, rating;
};

class DecisionSupport : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // Writes the carriers as the questionnaire and the analysis do (flags named by their codes),
    // presses "Show Rating" and reads what the window shows.
    Shown Rate(const char* ns, const char* L, const char* U, const std::vector<std::string>& flags)
    {
        form.NsOverallOutput->setText(QString::fromLatin1(ns));
        form.LAEQOutput->setText(QString::fromLatin1(L));
        form.UBAmOutput->setText(QString::fromLatin1(U));
        for (QLineEdit* edit : {form.LE24Output, form.LE25Output, form.LE26Output, form.LE27Output,
                                form.LE28Output, form.LE31Output, form.LE32Output, form.SC76Output,
                                form.SC78Output}) {
            edit->setText("not available");
        }
        for (const std::string& code : flags) {
            auto* edit = form.findChild<QLineEdit*>(QString::fromStdString(code + "Output"));
            EXPECT_NE(edit, nullptr) << code;
            if (edit) edit->setText("True");
        }
        form.ShowRating->click();
        return Read();
    }
    Shown Read() const
    {
        auto text = [](const QLabel* l) { return l->isHidden() ? std::string() : l->text().toStdString(); };
        return {text(form.NoiseSensitivityOutcome), text(form.SoundscapeAndAmenityOutcome),
                text(form.AmenityOutcome), text(form.AdverseEffectsOutcome), !form.ErrorCondition->isHidden(),
                !form.RatingOutcome->isHidden()};
    }

    TDecisionSupportOutput form;
};

void ExpectShown(const Shown& got, const Shown& want)
{
    EXPECT_EQ(got.ns, want.ns);
    EXPECT_EQ(got.scape, want.scape);
    EXPECT_EQ(got.amenity, want.amenity);
    EXPECT_EQ(got.adverse, want.adverse);
    EXPECT_EQ(got.error, want.error);
    EXPECT_EQ(got.rating, want.rating);
}

TEST_F(DecisionSupport, FreshStartShowsOnlyTheErrorText)
{
    EXPECT_TRUE(form.ErrorCondition->isHidden());
    EXPECT_TRUE(form.RatingOutcome->isHidden());
    form.ShowRating->click();
    ExpectShown(Read(), {"", "", "", "", true, false});
    EXPECT_EQ(form.ErrorCondition->text(), "The Questionnaire has not been fully completed.");
}

// Worked by hand from the rules: the sentence of each block, then the adverse-effect rules in
// turn (a later match overwrites an earlier one).
TEST_F(DecisionSupport, RatingsOfHandWorkedCases)
{
    const struct {
        const char *ns, *L, *U;
        std::vector<std::string> flags;
        Shown want;
    } cases[] = {
        {"1.26", "52.37", "57.3", {"LE26", "LE31", "SC76", "SC78"},
         {kNsAverage, kScapeAverage, kAmenityAverage, "Adverse effects more than minor", false, true}},
        {"2.23", "30.00", "12.5", {"LE24", "LE25", "LE31", "SC76"},
         {kNsMore, kScapeBetter, kAmenityBetter, "No adverse effect expected", false, true}},
        {"1.26", "40.00", "45.0", {"LE26", "LE31", "SC76"},
         {kNsAverage, kScapeAverage, kAmenityBetter, "Minor adverse effect", false, true}},
        // 55 is not above 55: no soundscape; both d and e match, e wins.
        {"0.77", "55.00", "120.0", {"LE27", "LE28", "LE32", "SC76", "SC78"},
         {kNsLess, "", kAmenityLess, "Significant adverse effect", false, true}},
        {"1.74", "54.00", "120.0", {"LE26", "LE32", "SC76", "SC78"},
         {kNsMore, kScapeAverage, kAmenityLess, "Nuisance adverse effect expected", false, true}},
        {"not available", "60.00", "80.0", {"LE27", "LE28"}, {"", kScapeLess, kAmenityAverage, "", false, true}},
        // An LAeq that is not available (a run without a recorded block) beside a number for
        // UBAm: the rules that bound L do not hold, and nothing fails.
        {"1.26", "not available", "75.0", {"LE31", "SC76", "SC78"},
         {kNsAverage, "", kAmenityAverage, "", false, true}},
        {"1.26", "not available", "120.0", {"LE32", "SC76", "SC78"}, {kNsAverage, "", kAmenityLess, "", false, true}},
        // UBAm not available leaves amenity and adverse effect out.
        {"1.26", "52.37", "not available", {"LE26", "LE31", "SC76", "SC78"},
         {kNsAverage, kScapeAverage, "", "", false, true}},
        // Band edges.
        {"1.10", "not available", "not available", {}, {kNsLess, "", "", "", false, true}},
        {"1.11", "not available", "not available", {}, {kNsAverage, "", "", "", false, true}},
        {"1.63", "not available", "not available", {}, {kNsAverage, "", "", "", false, true}},
        {"1.64", "not available", "not available", {}, {kNsMore, "", "", "", false, true}},
        {"not available", "34.99", "not available", {"LE26"}, {"", "", "", "", false, true}},
        {"not available", "35.00", "not available", {"LE26"}, {"", kScapeAverage, "", "", false, true}},
        {"not available", "55.00", "not available", {"LE26"}, {"", kScapeAverage, "", "", false, true}},
        {"not available", "34.99", "not available", {"LE24", "LE25"}, {"", kScapeBetter, "", "", false, true}},
        {"not available", "35.00", "not available", {"LE24", "LE25"}, {"", "", "", "", false, true}},
        {"not available", "55.01", "not available", {"LE27", "LE28"}, {"", kScapeLess, "", "", false, true}},
        {"not available", "55.00", "not available", {"LE27", "LE28"}, {"", "", "", "", false, true}},
        {"1.26", "not available", "49.9", {}, {kNsAverage, "", kAmenityBetter, "", false, true}},
        {"1.26", "not available", "50.0", {}, {kNsAverage, "", kAmenityAverage, "", false, true}},
        {"1.26", "not available", "100.0", {}, {kNsAverage, "", kAmenityAverage, "", false, true}},
        {"1.26", "not available", "100.1", {}, {kNsAverage, "", kAmenityLess, "", false, true}},
        // Both ns and L missing: the error text shows and the ratings group stays hidden (the
        // amenity label inside it is still set).
        {"not available", "not available", "80.0", {}, {"", "", kAmenityAverage, "", true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ns << " / " << c.L << " / " << c.U);
        ExpectShown(Rate(c.ns, c.L, c.U, c.flags), c.want);
    }
}

TEST_F(DecisionSupport, NumbersInTheLocalesNotation)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ExpectShown(Rate("1,26", "52,37", "57,3", {"LE26", "LE31", "SC76", "SC78"}),
                {kNsAverage, kScapeAverage, kAmenityAverage, "Adverse effects more than minor", false, true});
    // A point is no decimal separator there: those texts are no numbers.
    ExpectShown(Rate("1.26", "52.37", "57,3", {"LE26"}), {"", "", kAmenityAverage, "", true, false});
}

TEST_F(DecisionSupport, TextsThatAreNoNumbersCountAsNotAvailable)
{
    for (const char* text : {"", "abc", "1.2.3", "1,26", "nan", "inf", "12 dB", "True"}) {
        SCOPED_TRACE(text);
        ExpectShown(Rate(text, text, text, {"LE26", "LE31", "SC76", "SC78"}), {"", "", "", "", true, false});
    }
    // Blanks around a number are allowed.
    ExpectShown(Rate(" 1.26 ", "not available", "not available", {}), {kNsAverage, "", "", "", false, true});
}

TEST_F(DecisionSupport, EachEvaluationStartsAfresh)
{
    ExpectShown(Rate("2.23", "30.00", "12.5", {"LE24", "LE25", "LE31", "SC76"}),
                {kNsMore, kScapeBetter, kAmenityBetter, "No adverse effect expected", false, true});
    EXPECT_TRUE(form.Line20);
    // A later evaluation whose rules give less hides what no rule shows now.
    ExpectShown(Rate("2.23", "40.00", "12.5", {"LE31", "SC76"}), {kNsMore, "", kAmenityBetter, "", false, true});
    EXPECT_FALSE(form.Line20);
    EXPECT_FALSE(form.Line25);
    ExpectShown(Rate("not available", "not available", "not available", {}), {"", "", "", "", true, false});
    EXPECT_TRUE(form.AmenityOutcome->text().isEmpty());
}

}  // namespace
