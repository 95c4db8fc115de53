// The questionnaire's pages before the statements: the introduction, the listener, the home's
// location and environment, disturbance by noise, and the character of the sound (with the
// inner page control that also holds the overview picture and variants of the earlier pages).
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

#include "assessment/NewQuestionnaire.h"
#include "platform/Jpeg.h"

namespace oxw::assessment {

namespace {

QString Name(const char* name, const char* suffix) { return QString::fromLatin1(name) + QString::fromLatin1(suffix); }

QLabel* Heading(const char* text, QWidget* parent)
{
    QLabel* label = platform::MakeLabel(QString(), QString::fromLatin1(text), parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

QGroupBox* TNewQuestionnaire::RadioGroup(const QString& caption, std::initializer_list<Option> options,
                                         const char* suffix, bool across)
{
    auto* group = new QGroupBox(caption);
    QBoxLayout* layout = across ? static_cast<QBoxLayout*>(new QHBoxLayout(group)) : new QVBoxLayout(group);
    for (const auto& [name, text] : options) {
        layout->addWidget(new platform::RadioButton(Name(name, suffix), QString::fromLatin1(text), group));
    }
    layout->addStretch();
    return group;
}

QWidget* TNewQuestionnaire::BuildIntroductionPage()
{
    auto* page = new QWidget;
    auto* list = new QListWidget(page);
    list->setObjectName(QStringLiteral("IntroductionList"));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->addItems({
        QStringLiteral("NOISE AND YOU"),
        QString(),
        QStringLiteral("This program analyses a recording of a sound and relates what it measures to your own"),
        QStringLiteral("sensitivity to noise."),
        QString(),
        QStringLiteral("The pages of this questionnaire ask about you, where you live, the noise you meet at home,"),
        QStringLiteral("the sound you are about to analyse and how you feel about noise in everyday situations."),
        QString(),
        QStringLiteral("Three parts are mandatory: \"Your Environment\", \"Sound Character\" and "
                       "\"Noise Sensitivity\";"),
        QStringLiteral("in these parts all questions must be answered."),
        QString(),
        QStringLiteral("Your scores are worked out and shown when you open the page \"Your Noise Sensitivity\"."),
        QStringLiteral("Your answers are used only while the program runs: nothing is stored."),
    });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(list);
    return page;
}

QWidget* TNewQuestionnaire::BuildPersonalPage(const char* suffix)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(RadioGroup(QStringLiteral("Age group"),
                                 {{"Under20", "Under 20"}, {"Between20_29", "20-29"}, {"Between30_39", "30-39"},
                                  {"Between40_49", "40-49"}, {"Between50_59", "50-59"}, {"Between60_69", "60-69"},
                                  {"Above70", "70 or above"}},
                                 suffix));
    layout->addWidget(RadioGroup(QStringLiteral("Sex"), {{"Female", "Female"}, {"Male", "Male"}}, suffix));
    layout->addStretch();
    return page;
}

QWidget* TNewQuestionnaire::BuildLocationPage(const char* suffix)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Heading("Do you live - ", page));
    const std::pair<const char*, const char*> questions[] = {
        {"NearMainRoad", "Near a main road, railway or airport?"},
        {"NearIndustry", "Near large industries or industrial activity?"},
        {"LargeCity", "In a large city?"},
        {"LargeUrbanArea", "In a  large urban area?"},
        {"Village", "In a village or small residential area?"},
        {"RuralArea", "In a rural or similar sort of area?"},
    };
    for (const auto& [name, caption] : questions) {
        const QByteArray no = QByteArray(name) + "_No", yes = QByteArray(name) + "_Yes";
        layout->addWidget(RadioGroup(QString::fromLatin1(caption), {{no.constData(), "No"}, {yes.constData(), "Yes"}},
                                     suffix));
    }
    layout->addStretch();
    return page;
}

QWidget* TNewQuestionnaire::BuildEnvironmentPage(const char* suffix)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Heading("Thinking about the last 12 months or so, when you are at home - ", page));
    layout->addWidget(RadioGroup(QStringLiteral("Do you find noise in your environment a problem?"),
                                 {{"Noise_No", "No"}, {"Noise_NotOften", "Not Often"},
                                  {"Noise_Sometimes", "Sometimes"}, {"Noise_Often", "Often"}},
                                 suffix));
    layout->addWidget(RadioGroup(QStringLiteral("How quiet or noisy do you think your neighbourhood is?"),
                                 {{"Quiet_VeryQuiet", "Very Quiet"}, {"Quiet_Quiet", "Quiet"},
                                  {"Quiet_ModeratelyNoisy", "Moderately noisy"}, {"Quiet_Noisy", "Noisy"},
                                  {"Quiet_VeryNoisy", "Very noisy"}},
                                 suffix));
    layout->addWidget(RadioGroup(QStringLiteral("Are you disturbed or annoyed by noise at home?"),
                                 {{"Disturbed_No", "No"}, {"Disturbed_NotOften", "Not Often"},
                                  {"Disturbed_Sometimes", "Sometimes"}, {"Disturbed_Often", "Often"}},
                                 suffix));
    layout->addStretch();
    return page;
}

QWidget* TNewQuestionnaire::BuildDisturbancePage(const char* suffix)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Heading("When you are at home, how much does noise from outside bother or annoy you - ", page));
    const std::pair<const char*, const char*> questions[] = {
        {"Reading_", "While reading?"},       {"Watching_", "While watching TV?"},
        {"Listening_", "While listening or talking?"}, {"Relaxing_", "While relaxing?"},
        {"Sleeping_", "When sleeping?"},
    };
    for (const auto& [prefix, caption] : questions) {
        QByteArray names[5];
        const char* const options[] = {"NotAtAll", "Slightly", "Moderately", "Very", "Extremely"};
        for (int k = 0; k < 5; ++k) names[k] = QByteArray(prefix) + options[k];
        layout->addWidget(RadioGroup(QString::fromLatin1(caption),
                                     {{names[0].constData(), "Not at all"}, {names[1].constData(), "Slightly"},
                                      {names[2].constData(), "Moderately"}, {names[3].constData(), "Very"},
                                      {names[4].constData(), "Extremely"}},
                                     suffix));
    }
    layout->addStretch();
    return page;
}

// The inner page control opens on its sixth page, which carries the four sound-character
// questions; the variant pages have buttons of their own that nothing reads.
QWidget* TNewQuestionnaire::BuildSoundCharacterPage()
{
    auto* page = new QWidget;
    PageControl2 = new QTabWidget(page);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));

    auto* overview = new QWidget;
    Image1 = platform::MakeLabel(QStringLiteral("Image1"), QString(), overview);
    QString error;
    const QImage picture = platform::LoadJpeg(QStringLiteral(":/forms/ProcessingOverview.jpg"), &error);
    if (picture.isNull()) Image1->setText(error);
    else Image1->setPixmap(QPixmap::fromImage(picture));
    auto* overviewLayout = new QVBoxLayout(overview);
    overviewLayout->addWidget(Image1, 0, Qt::AlignLeft | Qt::AlignTop);
    overviewLayout->addStretch();

    const char* const variant = "_2";
    const std::pair<const char*, QWidget*> pages[] = {
        {"Processing Overview", overview},
        {"Personal", new QWidget},
        {"Your Location", BuildLocationPage(variant)},
        {"Your Environment", BuildEnvironmentPage(variant)},
        {"Your Disturbance  or Annoyances", BuildDisturbancePage(variant)},
        {"Personal Noise sensitivity page 1", BuildSoundQuestions()},
        {"Personal Noise sensitivity page 2", new QWidget},
        {"Sound Character", new QWidget},
    };
    for (std::size_t i = 0; i < std::size(pages); ++i) {
        pages[i].second->setObjectName(QStringLiteral("PageControl2Page%1").arg(i + 1));
        PageControl2->addTab(pages[i].second, QString::fromLatin1(pages[i].first));
    }
    PageControl2->setCurrentIndex(5);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(PageControl2);
    return page;
}

QWidget* TNewQuestionnaire::BuildSoundQuestions()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->addWidget(Heading("About the sound you are going to analyse - ", page), 0, 0, 1, 4);
    layout->addWidget(RadioGroup(QStringLiteral("The sound is"),
                                 {{"Sound1_1Smooth", "smooth"}, {"Sound1_2Bright", "bright"}, {"Sound1_3Warm", "warm"},
                                  {"Sound1_4Gentle", "gentle"}, {"Sound1_5Rich", "rich"},
                                  {"Sound1_6Powerful", "powerful"}},
                                 "", false),
                      1, 0);
    layout->addWidget(RadioGroup(QStringLiteral("The sound sounds like"),
                                 {{"Sound2_1Wind", "wind in trees"}, {"Sound2_2Rough", "rough"},
                                  {"Sound2_3Sharp", "sharp or metallic"}, {"Sound2_4Dull", "dull"},
                                  {"Sound2_5Tonal", "tonal"}, {"Sound2_6Harsh", "harsh"}},
                                 "", false),
                      1, 1);
    layout->addWidget(RadioGroup(QStringLiteral("The sound is"),
                                 {{"Sound3_1Hum", "a hum"}, {"Sound3_2Beating", "beating or fluctating"},
                                  {"Sound3_3Rumble", "rumble"}, {"Sound3_4Impulsive", "implusive"},
                                  {"Sound3_5Repetitive", "repetitive"}, {"Sound3_6Thumping", "thumping"}},
                                 "", false),
                      1, 2);
    layout->addWidget(RadioGroup(QStringLiteral("To me the sound is"),
                                 {{"Sound4_1Annoying", "annoying"}, {"Sound4_2Disturbing", "disturbing"},
                                  {"Sound4_3Unpleasant", "unpleasant"}, {"Sound4_4Pleasant", "pleasant"},
                                  {"Sound4_5Enjoyable", "enjoyable"}, {"Sound4_6Relaxing", "relaxing"}},
                                 "", false),
                      1, 3);
    layout->setRowStretch(2, 1);
    return page;
}

}  // namespace oxw::assessment
