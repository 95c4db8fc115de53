// The page of the 35 noise-sensitivity statements: instructions and an inner page control of
// five pages, seven statements each. Every statement is a row: its number, its sentence and its
// four options under the column headings.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "assessment/NewQuestionnaire.h"

namespace oxw::assessment {

namespace {

// Statement n at index n - 1: one first-person sentence on each topic of the questionnaire.
const char* const kStatementTexts[kStatements] = {
    "I find it hard to relax in a place that is noisy.",
    "I need peace and quiet to do difficult work.",
    "I would put up with other drawbacks to have a quiet home.",
    "I am sensitive to noise from my neighbourhood.",
    "I find it hard to talk with people while it is noisy.",
    "Noise does not stop me from doing routine work.",
    "People talking while I am falling asleep make me restless.",
    "When I am absorbed in a conversation I do not notice the noise around me.",
    "I can fall asleep even when it is noisy.",
    "I do my work less well in noisy places.",
    "Loud music helps me to relax after work.",
    "In a restaurant, loud talk at other tables spoils my attention to my own conversation.",
    "I need quiet surroundings when I start a new task.",
    "I cannot get on with my work when people around me are noisy.",
    "I need complete quiet to get a good night's sleep.",
    "Even a slight noise keeps me from falling asleep.",
    "I soon get used to noise at home.",
    "Whispering and rustling in the cinema annoy me.",
    "Music gets in the way when I am talking with people.",
    "I find it hard to follow a conversation while the radio is on.",
    "If my workplace were noisy I would try to change it.",
    "When I dance, I do not mind how loud the music is.",
    "Living in a noisy street would not bother me.",
    "Noisy children should not play in front of my house.",
    "At weekends I prefer quiet surroundings.",
    "After a noisy night I do not feel rested.",
    "I feel uncomfortable when a radio or TV is left on at home.",
    "When a restaurant is loud, I give up talking.",
    "I can do complicated work with music in the background.",
    "The slightest noise wakes me up.",
    "I avoid leisure activities that are loud.",
    "I dislike noisy activities where I live.",
    "Noise from my neighbours disturbs me a great deal.",
    "Loud thunder does not usually wake me.",
    "High noise levels make it hard for me to hold a conversation.",
};

// The four options: the object name's ending and the column heading.
const std::pair<const char*, const char*> kOptions[4] = {
    {"NoNo", "Strongly disagree"}, {"No", "Slightly disagree"},
    {"Yes", "Slightly agree"}, {"YesYes", "Strongly agree"}};

constexpr int kOptionWidth = 110;  // one column per option, the headings above them

}  // namespace

QWidget* TNewQuestionnaire::BuildStatementsPage()
{
    auto* page = new QWidget;
    auto* instructions = platform::MakeLabel(
        QString(),
        QStringLiteral("Please read each statement and choose the answer that best describes how you feel. "
                       "There are no right or wrong answers. Give an answer to every statement, even if it "
                       "does not quite fit your situation."),
        page);
    instructions->setWordWrap(true);
    PageControl5 = new QTabWidget(page);
    PageControl5->setObjectName(QStringLiteral("PageControl5"));
    for (int first = 1; first <= kStatements; first += kStatementsPerSubscale) {
        const int last = first + kStatementsPerSubscale - 1;
        QWidget* rows = BuildStatementRows(first, last);
        rows->setObjectName(QStringLiteral("PageControl5Page%1").arg(PageControl5->count() + 1));
        PageControl5->addTab(rows, QStringLiteral("Questions %1 - %2").arg(first).arg(last));
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(instructions);
    layout->addWidget(PageControl5, 1);
    return page;
}

namespace {

// A strip of four equal cells, one per option: the headings and each statement's options use
// the same strip, so they line up.
QHBoxLayout* OptionStrip(QWidget* strip)
{
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    strip->setFixedWidth(4 * kOptionWidth);
    return layout;
}

}  // namespace

QWidget* TNewQuestionnaire::BuildStatementRows(int first, int last)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(12);
    auto* headings = new QWidget(page);
    QHBoxLayout* headingCells = OptionStrip(headings);
    for (const auto& option : kOptions) {
        QLabel* heading = platform::MakeLabel(QString(), QString::fromLatin1(option.second), headings);
        heading->setAlignment(Qt::AlignCenter);
        headingCells->addWidget(heading, 1);
    }
    grid->addWidget(headings, 0, 2);
    for (int n = first; n <= last; ++n) {
        const int row = n - first + 1;
        grid->addWidget(platform::MakeLabel(QString(), QString::number(n), page), row, 0);
        QLabel* text = platform::MakeLabel(QString(), QString::fromLatin1(kStatementTexts[n - 1]), page);
        text->setWordWrap(true);
        grid->addWidget(text, row, 1);
        // The four options share one parent, so choosing one clears the others.
        auto* group = new QWidget(page);
        group->setObjectName(QStringLiteral("Q%1Group").arg(n));
        QHBoxLayout* cells = OptionStrip(group);
        for (int k = 0; k < 4; ++k) {
            const QString name = QStringLiteral("Q%1").arg(n) + QLatin1String(kOptions[k].first);
            auto* button = new platform::RadioButton(name, QString(), group);
            button->setAccessibleName(QString::fromLatin1(kOptions[k].second));
            button->setToolTip(QString::fromLatin1(kOptions[k].second));
            cells->addWidget(button, 1, Qt::AlignCenter);
            Statements[n][k] = button;
        }
        grid->addWidget(group, row, 2);
    }
    grid->setRowStretch(last - first + 2, 1);
    return page;
}

}  // namespace oxw::assessment
