// The results page "Your Noise Sensitivity ": a needle meter per score with the band of the
// reference population drawn behind its needle, the explanation, the close button, and the
// hidden edits and rank bars the scoring writes.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "assessment/NewQuestionnaire.h"
#include "controls/Meter.h"
#include "controls/ProgBar.h"

namespace oxw::assessment {

namespace {

constexpr int kMeterWidth = 210;
constexpr int kMeterHeight = 150;

// A dial 0..3 whose bands are the row's limits: silver below, yellow within, olive above. Only
// the needle and the bands show, no scale.
TMeter* MakeMeter(const char* name, const char* caption, Norm norm, QWidget* parent)
{
    auto* meter = new TMeter(parent);
    meter->setObjectName(QString::fromLatin1(name));
    meter->BeginLoading();
    meter->SetMeterMinValue(0);
    meter->SetMeterMaxValue(kMaxScore);
    meter->SetThresholdHigh(norm.high);
    meter->SetThresholdLow(norm.low);
    meter->SetLimWatchHighOn(true);
    meter->SetLimWatchLowOn(true);
    meter->SetMeterLayout(mlCirc90);
    meter->SetMeterNrTicks(3);
    meter->SetMeterDecPlaces(1);
    meter->SetScaleVisible(false);
    meter->SetScaleBkVisible(true);
    meter->SetScaleBkWidth(40);
    meter->SetColorSclBkLow(clSilver);
    meter->SetColorSclBkNorm(clYellow);
    meter->SetColorSclBkHigh(clOlive);
    meter->SetCaption(QString::fromLatin1(caption));
    meter->Loaded();
    meter->setFixedSize(kMeterWidth, kMeterHeight);
    return meter;
}

// A rank bar 0..90 growing rightward, its value shown without decimals.
TProgBar* MakeBar(const char* name, QWidget* parent)
{
    auto* bar = new TProgBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->SetMin(0);
    bar->SetMax(90);
    bar->SetDirection(dirRightward);
    bar->SetTextVisible(true);
    bar->SetTextDecPlaces(0);
    bar->SetValue(0);
    return bar;
}

QLineEdit* HiddenEdit(const char* name, QWidget* parent)
{
    QLineEdit* edit = platform::MakeEdit(QString::fromLatin1(name), QString(), parent, true);
    edit->hide();
    return edit;
}

const char* const kExplanation =
    "This questionnaire is the Noise-Sensitivity-Questionnaire NoiSeQ. Its 35 statements are assigned to "
    "five subscales (communication, habitation, leisure, sleeping and work), seven statements to each.\n\n"
    "Every answer scores from 0 to 3; for some statements the scale runs the other way. Your global score "
    "is the mean over all 35 statements and each subscale's score the mean over its seven statements: the "
    "higher the value, the higher your sensitivity to noise.\n\n"
    "\"Average\" is the median of the reference population plus and minus its confidence interval. A score "
    "below that band is less than average, a score above it more than average.";

}  // namespace

QWidget* TNewQuestionnaire::BuildResultCell(TMeter*& meter, const char* name, const char* caption, Norm norm)
{
    auto* cell = new QWidget;
    meter = MakeMeter(name, caption, norm, cell);
    auto* labels = new QVBoxLayout;
    for (const char* text : {"Less than average", "Average", "More than average"})
        labels->addWidget(platform::MakeLabel(QString(), QString::fromLatin1(text), cell));
    labels->addStretch();
    auto* layout = new QHBoxLayout(cell);
    layout->addWidget(meter);
    layout->addLayout(labels);
    layout->addStretch();
    return cell;
}

QWidget* TNewQuestionnaire::BuildResultsPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(platform::MakeLabel(QString(),
                                        QStringLiteral("Based on your responses, your Global  Noise Sensitivity "
                                                       "compared to a Population Sensitivity Analysis is:"),
                                        page),
                    0, 0, 1, 3);
    grid->addWidget(BuildResultCell(OverallPerceivedNoiseSensitivityMeter, "OverallPerceivedNoiseSensitivityMeter",
                                    "Global Noise Sensitivity", kOverallNorm),
                    1, 0);
    Memo1 = new QPlainTextEdit(QString::fromLatin1(kExplanation), page);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    grid->addWidget(Memo1, 1, 1, 1, 2);
    grid->addWidget(platform::MakeLabel(QString(),
                                        QStringLiteral("Your Noise Sensitivities under different situations are:"),
                                        page),
                    2, 0, 1, 3);
    grid->addWidget(BuildResultCell(CommunicationMeter, "CommunicationMeter", "Connunication",
                                    kSubscaleNorms[oxw::assessment::Communication]),
                    3, 0);
    grid->addWidget(BuildResultCell(HabitationMeter, "HabitationMeter", "Habitation",
                                    kSubscaleNorms[oxw::assessment::Habitation]),
                    3, 1);
    grid->addWidget(
        BuildResultCell(LiesureMeter, "LiesureMeter", "Leisure", kSubscaleNorms[oxw::assessment::Leisure]), 3, 2);
    grid->addWidget(
        BuildResultCell(SleepingMeter, "SleepingMeter", "Sleeping", kSubscaleNorms[oxw::assessment::Sleeping]), 4, 0);
    grid->addWidget(BuildResultCell(WorkMeter, "WorkMeter", "Work", kSubscaleNorms[oxw::assessment::Work]), 4, 1);
    Button1 = platform::MakeButton(QStringLiteral("Button1"), QStringLiteral("Close the questionnaire"), page);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(Button1, 4, 2, Qt::AlignRight | Qt::AlignBottom);
    CreateHiddenEdits(page);
    grid->addWidget(BuildRankCharts(), 5, 0);
    grid->setRowStretch(6, 1);
    return page;
}

void TNewQuestionnaire::CreateHiddenEdits(QWidget* page)
{
    Communication = HiddenEdit("Communication", page);
    Habitation = HiddenEdit("Habitation", page);
    Leisure = HiddenEdit("Leisure", page);
    Sleeping = HiddenEdit("Sleeping", page);
    Work = HiddenEdit("Work", page);
    NoiseSensitivity = HiddenEdit("NoiseSensitivity", page);
    QuestionsAnswered = HiddenEdit("QuestionsAnswered", page);
    ComRank = HiddenEdit("ComRank", page);
    HabRank = HiddenEdit("HabRank", page);
    LeiRank = HiddenEdit("LeiRank", page);
    SleRank = HiddenEdit("SleRank", page);
    WorRank = HiddenEdit("WorRank", page);
    NoiRank = HiddenEdit("NoiRank", page);
}

QGroupBox* TNewQuestionnaire::BuildRankCharts()
{
    RankCharts = new QGroupBox(QStringLiteral("Noise Sensitivity"));
    RankCharts->setObjectName(QStringLiteral("RankCharts"));
    auto* bars = new QVBoxLayout(RankCharts);
    for (auto [bar, name] : {std::pair{&ComRankChart, "ComRankChart"}, {&HabRankChart, "HabRankChart"},
                             {&LeiRankChart, "LeiRankChart"}, {&SleRankChart, "SleRankChart"},
                             {&WorRankChart, "WorRankChart"}, {&NoiRankChart, "NoiRankChart"}}) {
        *bar = MakeBar(name, RankCharts);
        bars->addWidget(*bar);
    }
    RankCharts->hide();
    return RankCharts;
}

}  // namespace oxw::assessment
