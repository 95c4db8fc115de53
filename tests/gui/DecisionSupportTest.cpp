// The decision-support window: "Show Rating" over the carrier texts, every rule tried with each
// of its conditions failing alone, the band edges, the visibility of the error text and the
// ratings, numbers in the locale's notation, texts that are no numbers, and evaluations that
// follow one another.
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>

#include "assessment/DecisionSupportOutput.h"

using oxw::assessment::TDecisionSupportOutput;

namespace {

struct Shown {
    std::string ns, scape, amenity, adverse;  // "" when the label is hidden
    bool error, rating;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Shown& s)
{
    return o << "{" << s.ns << " | " << s.scape << " | " << s.amenity << " | " << s.adverse << " | error "
             << s.error << " rating " << s.rating << "}";
}

class DecisionSupport : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // Writes the carriers as the questionnaire and the analysis do (flags named by their codes,
    // separated by blanks), presses "Show Rating" and reads what the window shows.
    Shown Rate(const char* ns, const char* L, const char* U, const char* flags)
    {
        form.NsOverallOutput->setText(QString::fromLatin1(ns));
        form.LAEQOutput->setText(QString::fromLatin1(L));
        form.UBAmOutput->setText(QString::fromLatin1(U));
        for (QLineEdit* edit : {form.LE24Output, form.LE25Output, form.LE26Output, form.LE27Output, form.LE28Output,
                                form.LE31Output, form.LE32Output, form.SC76Output, form.SC78Output})
            edit->setText("not available");
        for (const QString& code : QString::fromLatin1(flags).split(' ', Qt::SkipEmptyParts)) {
            auto* edit = form.findChild<QLineEdit*>(code + "Output");
            EXPECT_NE(edit, nullptr) << code.toStdString();
            if (edit) edit->setText("True");
        }
        form.ShowRating->click();
        auto text = [](const QLabel* l) { return l->isHidden() ? std::string() : l->text().toStdString(); };
        return {text(form.NoiseSensitivityOutcome), text(form.SoundscapeAndAmenityOutcome),
                text(form.AmenityOutcome), text(form.AdverseEffectsOutcome), !form.ErrorCondition->isHidden(),
                !form.RatingOutcome->isHidden()};
    }

    TDecisionSupportOutput form;
};

const char* const kNA = "not available";
const char* const kBetter = "Better than average soundscape and amenity";
const char* const kAverage = "Average soundscape and amenity";
const char* const kLess = "Less than average soundscape and amenity";
const char* const kNone = "No adverse effect expected";
const char* const kMinor = "Minor adverse effect";
const char* const kMore = "Adverse effects more than minor";
const char* const kNuisance = "Nuisance adverse effect expected";
const char* const kSignificant = "Significant adverse effect";

TEST_F(DecisionSupport, FreshStartShowsOnlyTheErrorText)
{
    EXPECT_TRUE(form.ErrorCondition->isHidden());
    EXPECT_TRUE(form.RatingOutcome->isHidden());
    form.ShowRating->click();
    EXPECT_TRUE(form.NoiseSensitivityOutcome->isHidden());
    EXPECT_TRUE(form.RatingOutcome->isHidden());
    EXPECT_FALSE(form.ErrorCondition->isHidden());
    EXPECT_EQ(form.ErrorCondition->text(), "The Questionnaire has not been fully completed.");
}

// Each soundscape and adverse-effect rule where it holds (at its edges), then with one of its
// conditions failing and the others holding. "" : the label stays hidden.
TEST_F(DecisionSupport, EachConditionOfEachRule)
{
    const struct { const char *L, *U, *flags, *scape, *adverse; } cases[] = {
        // Better soundscape: L < 35, LE24, LE25.
        {"34.99", kNA, "LE24 LE25", kBetter, ""}, {"35.00", kNA, "LE24 LE25", "", ""}, {"30.00", kNA, "LE25", "", ""},
        {"30.00", kNA, "LE24", "", ""},
        // Average soundscape: 35 <= L <= 55, LE26.
        {"35.00", kNA, "LE26", kAverage, ""}, {"55.00", kNA, "LE26", kAverage, ""}, {"34.99", kNA, "LE26", "", ""},
        {"55.01", kNA, "LE26", "", ""}, {"45.00", kNA, "LE27 LE28", "", ""},
        // Less soundscape: L > 55, LE27, LE28.
        {"55.01", kNA, "LE27 LE28", kLess, ""}, {"55.00", kNA, "LE27 LE28", "", ""}, {"60.00", kNA, "LE28", "", ""},
        {"60.00", kNA, "LE27", "", ""},
        // a: U < 50 and a better soundscape.
        {"30.00", "49.9", "LE24 LE25", kBetter, kNone}, {"30.00", "50.0", "LE24 LE25", kBetter, ""},
        {"30.00", "49.9", "LE24", "", ""},
        // b: U < 50, LE31, SC76 and an average soundscape.
        {"40.00", "49.9", "LE26 LE31 SC76", kAverage, kMinor}, {"40.00", "50.0", "LE26 LE31 SC76", kAverage, ""},
        {"40.00", "49.9", "LE31 SC76", "", ""}, {"40.00", "49.9", "LE26 SC76", kAverage, ""},
        {"40.00", "49.9", "LE26 LE31", kAverage, ""},
        // c: 50 <= U <= 100, LE31, SC76, SC78, 35 <= L <= 55.
        {"35.00", "50.0", "LE31 SC76 SC78", "", kMore}, {"55.00", "100.0", "LE31 SC76 SC78", "", kMore},
        {"45.00", "49.9", "LE31 SC76 SC78", "", ""}, {"45.00", "100.1", "LE31 SC76 SC78", "", ""},
        {"45.00", "75.0", "SC76 SC78", "", ""}, {"45.00", "75.0", "LE31 SC78", "", ""},
        {"45.00", "75.0", "LE31 SC76", "", ""},
        {"34.99", "75.0", "LE31 SC76 SC78", "", ""}, {"55.01", "75.0", "LE31 SC76 SC78", "", ""},
        // d: U > 100, LE32, SC76, SC78, 35 <= L <= 55.
        {"54.00", "100.1", "LE32 SC76 SC78", "", kNuisance}, {"35.00", "120.0", "LE32 SC76 SC78", "", kNuisance},
        {"54.00", "100.0", "LE32 SC76 SC78", "", ""}, {"54.00", "120.0", "SC76 SC78", "", ""},
        {"54.00", "120.0", "LE32 SC78", "", ""}, {"54.00", "120.0", "LE32 SC76", "", ""},
        {"34.99", "120.0", "LE32 SC76 SC78", "", ""},
        // e: U > 100, LE32, SC76, SC78, L >= 55 (at 55 d holds too; e comes later and wins).
        {"55.00", "120.0", "LE32 SC76 SC78", "", kSignificant}, {"90.00", "100.1", "LE32 SC76 SC78", "", kSignificant},
        {"54.99", "120.0", "LE32 SC76 SC78", "", kNuisance}, {"60.00", "100.0", "LE32 SC76 SC78", "", ""},
        {"60.00", "120.0", "SC76 SC78", "", ""}, {"60.00", "120.0", "LE32 SC78", "", ""},
        {"60.00", "120.0", "LE32 SC76", "", ""},
        // An LAeq that is not available (a run without a recorded block): the rules that bound L
        // do not hold, and nothing fails.
        {kNA, "75.0", "LE31 SC76 SC78", "", ""}, {kNA, "120.0", "LE32 SC76 SC78", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.L << " / " << c.U << " / " << c.flags);
        const Shown got = Rate("1.26", c.L, c.U, c.flags);
        EXPECT_EQ(got.scape, c.scape);
        EXPECT_EQ(got.adverse, c.adverse);
        EXPECT_TRUE(got.ns == "Average Personal Noise Sensitivity" && !got.error && got.rating);
    }
}

// The sensitivity and amenity bands at their edges, and which of ns and L make the ratings show.
TEST_F(DecisionSupport, BandEdgesAndVisibility)
{
    const char* const nsLess = "Less than average Personal Noise Sensitivity";
    const char* const nsAverage = "Average Personal Noise Sensitivity";
    const char* const nsMore = "More than average Personal Noise Sensitivity";
    const struct { const char *ns, *L, *U; Shown want; } cases[] = {
        {"1.10", kNA, kNA, {nsLess, "", "", "", false, true}},
        {"1.11", kNA, kNA, {nsAverage, "", "", "", false, true}},
        {"1.63", kNA, kNA, {nsAverage, "", "", "", false, true}},
        {"1.64", kNA, kNA, {nsMore, "", "", "", false, true}},
        {kNA, "60.00", "49.9", {"", "", "Better than average amenity", "", false, true}},
        {kNA, "60.00", "50.0", {"", "", "Average amenity", "", false, true}},
        {kNA, "60.00", "100.0", {"", "", "Average amenity", "", false, true}},
        {kNA, "60.00", "100.1", {"", "", "Less than average amenity", "", false, true}},
        // Both ns and L missing: the error text shows and the ratings group stays hidden (the
        // amenity label inside it is still set).
        {kNA, kNA, "80.0", {"", "", "Average amenity", "", true, false}},
        {" 1.26 ", kNA, kNA, {nsAverage, "", "", "", false, true}},  // blanks around a number
    };
    for (const auto& c : cases) EXPECT_EQ(Rate(c.ns, c.L, c.U, ""), c.want) << c.ns << " / " << c.L << " / " << c.U;
}

TEST_F(DecisionSupport, NumbersInTheLocalesNotationOnly)
{
    for (const char* text : {"", "abc", "1.2.3", "1,26", "nan", "inf", "12 dB", "True"})
        EXPECT_EQ(Rate(text, text, text, "LE26 LE31 SC76 SC78"), (Shown{"", "", "", "", true, false})) << text;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Rate("1,26", "52,37", "57,3", "LE26 LE31 SC76 SC78"),
              (Shown{"Average Personal Noise Sensitivity", kAverage, "Average amenity", kMore, false, true}));
    // A point is no decimal separator there: those texts are no numbers.
    EXPECT_EQ(Rate("1.26", "52.37", "57,3", "LE26"), (Shown{"", "", "Average amenity", "", true, false}));
}

TEST_F(DecisionSupport, EachEvaluationStartsAfresh)
{
    EXPECT_EQ(Rate("2.23", "30.00", "12.5", "LE24 LE25 LE31 SC76"),
              (Shown{"More than average Personal Noise Sensitivity", kBetter, "Better than average amenity", kNone,
                     false, true}));
    EXPECT_TRUE(form.Line20);
    // A later evaluation whose rules give less hides what no rule shows now.
    EXPECT_EQ(Rate("2.23", "40.00", "12.5", "LE31 SC76"),
              (Shown{"More than average Personal Noise Sensitivity", "", "Better than average amenity", "", false,
                     true}));
    EXPECT_FALSE(form.Line20);
    EXPECT_FALSE(form.Line25);
    EXPECT_EQ(Rate(kNA, kNA, kNA, ""), (Shown{"", "", "", "", true, false}));
    EXPECT_TRUE(form.AmenityOutcome->text().isEmpty());
}

}  // namespace
