// The listening test's window: instruction panels with the Play, "Grab This" and Pause buttons,
// the countdown and segment panels, the rating questions and the segment table.
#include "assessment/AnalyseThis.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/Dialogs.h"

namespace oxw::assessment {

using platform::MakeButton;
using platform::MakeEdit;
using platform::MakeLabel;

namespace {

QGroupBox* Panel(const QString& text, QWidget* button, QWidget* parent)
{
    auto* box = new QGroupBox(parent);
    auto* layout = new QHBoxLayout(box);
    QLabel* label = MakeLabel(QString(), text, box);
    label->setWordWrap(true);
    layout->addWidget(label, 1);
    if (button) layout->addWidget(button);
    return box;
}

QButtonGroup* Choices(const QString& caption, const QStringList& items, QGroupBox* parentBox,
                      QWidget* parent)
{
    auto* box = new QGroupBox(caption, parentBox);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        group->addButton(b, i);
        layout->addWidget(b);
    }
    parentBox->layout()->addWidget(box);
    return group;
}

}  // namespace

TAnalyseThis::TAnalyseThis(platform::Dialogs& dialogs, platform::SoundSystem& sound, QWidget* parent)
    : Form(QStringLiteral("AnalyseThis"),
           QStringLiteral("Analyse This!  Identify Segments of the Sound File for Deep Analysis"), parent),
      dialogs_(dialogs), sound_(sound), player_(sound.NewPlayer())
{
    BuildControls();
    player_->OnEndOfFile = [this] { PlayingSoundNotify(); };
    // FormCreate.
    soundCard_ = sound_.OutputDeviceCount() >= 1;
    if (soundCard_) {
        StartPlayingSound->setEnabled(true);
        AnalyseThisUserSoundQuestions->hide();
        AnalysisThisClose->setEnabled(false);
    } else {
        dialogs_.ShowMessage(QStringLiteral("No soundcard installed in your system.\r\n Unable to continue!"));
    }
}

TAnalyseThis::~TAnalyseThis() = default;

void TAnalyseThis::BuildControls()
{
    StartPlayingSound = MakeButton(QStringLiteral("StartPlayingSound"), QStringLiteral("Play"), this);
    ForwardButton = MakeButton(QStringLiteral("ForwardButton"), QStringLiteral("Grab This"), this);
    PauseButton = MakeButton(QStringLiteral("PauseButton"), QStringLiteral("Pause"), this);
    for (QPushButton* b : {StartPlayingSound, ForwardButton, PauseButton}) b->setEnabled(false);
    connect(StartPlayingSound, &QPushButton::clicked, this, &TAnalyseThis::StartPlayingSoundClick);
    connect(ForwardButton, &QPushButton::clicked, this, &TAnalyseThis::ForwardButtonClick);
    connect(PauseButton, &QPushButton::clicked, this, &TAnalyseThis::PauseButtonClick);
    AnalyseThisPlayTime = MakeEdit(QStringLiteral("AnalyseThisPlayTime"), QString(), this, true);
    AnalyseThisTimeSelected = MakeEdit(QStringLiteral("AnalyseThisTimeSelected"), QString(), this, true);
    AnalyseThisProgressBar1 = new QProgressBar(this);
    AnalyseThisProgressBar1->setObjectName(QStringLiteral("AnalyseThisProgressBar1"));
    AnalyseThisProgressBar1->setValue(0);
    AnalysisThisClose =
        MakeButton(QStringLiteral("AnalysisThisClose"), QStringLiteral("Click to continue Dravolek"), this);
    connect(AnalysisThisClose, &QPushButton::clicked, this, &TAnalyseThis::AnalysisThisCloseClick);

    TenSecondDelayPanel = new QGroupBox(this);
    TenSecondDelayPanel->setObjectName(QStringLiteral("TenSecondDelayPanel"));
    auto* delay = new QHBoxLayout(TenSecondDelayPanel);
    delay->addWidget(MakeLabel(QString(), QStringLiteral("WAIT - 10 Second Delay"), TenSecondDelayPanel));
    SelectedSegments = new QGroupBox(QStringLiteral("Number of Selected Segments"), this);
    SelectedSegments->setObjectName(QStringLiteral("SelectedSegments"));
    auto* segments = new QHBoxLayout(SelectedSegments);
    for (int i = 0; i < 5; ++i) {
        Smiley[i] = MakeLabel(QStringLiteral("Smiley%1").arg(i + 1), QStringLiteral(":-)"), TenSecondDelayPanel);
        Smiley[i]->hide();
        delay->addWidget(Smiley[i]);
        Segment[i] = MakeLabel(QStringLiteral("Segment%1").arg(i + 1), QString::number(i + 1), SelectedSegments);
        Segment[i]->hide();
        segments->addWidget(Segment[i]);
    }
    TenSecondDelayPanel->hide();
    SelectedSegments->hide();
    NoMoreSegments =
        MakeLabel(QStringLiteral("NoMoreSegments"), QStringLiteral("5 Segments selected, no more allowed"), this);
    NoMoreSegments->hide();

    for (auto* t : {&TimerForProgressBar, &TimerTime, &TimerExit, &TimerButtons}) {
        *t = new QTimer(this);
        (*t)->setInterval(1000);
        (*t)->start();
    }
    connect(TimerForProgressBar, &QTimer::timeout, this, [this] {
        AnalyseThisProgressBar1->setValue(static_cast<int>(player_->PositionMs()));
    });
    connect(TimerTime, &QTimer::timeout, this, &TAnalyseThis::TimerTimeTimer);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Panel(QStringLiteral("Plug in your earphones for best results.  "), nullptr, this), 0, 0);
    layout->addWidget(Panel(QStringLiteral("Select up to 5 sound segments for Dravolek deep analysis."), nullptr, this),
                      1, 0);
    layout->addWidget(Panel(QStringLiteral("Click this Play button to start the process."), StartPlayingSound, this),
                      2, 0);
    layout->addWidget(
        Panel(QStringLiteral("Listen carefully to the sound file. When you hear something (a sound, echo, dull "
                             "noise etc) that you want analysed, click this Grab This button using the left mouse "
                             "button."),
              ForwardButton, this),
        3, 0);
    layout->addWidget(
        Panel(QStringLiteral("When the sound you want analysed is no longer heard, (remember the sound file will "
                             "continue playing otherwise), click this Pause button using the left mouse button."),
              PauseButton, this),
        4, 0);
    layout->addWidget(MakeLabel(QString(), QStringLiteral("Total play time for the selected sound file (in seconds)"), this), 5, 0);
    layout->addWidget(AnalyseThisPlayTime, 6, 0);
    layout->addWidget(MakeLabel(QString(), QStringLiteral("The time played (miliseconds) at this point is - "), this), 7, 0);
    layout->addWidget(AnalyseThisTimeSelected, 8, 0);
    layout->addWidget(MakeLabel(QString(), QStringLiteral("The bar below shows the sound file is playing or paused. "), this), 9, 0);
    layout->addWidget(AnalyseThisProgressBar1, 10, 0);
    layout->addWidget(TenSecondDelayPanel, 11, 0);
    layout->addWidget(SelectedSegments, 12, 0);
    layout->addWidget(NoMoreSegments, 13, 0);
    layout->addWidget(AnalysisThisClose, 14, 0);
    layout->addWidget(BuildQuestions(), 0, 1, 15, 1);
    resize(1000, 700);
}

QGroupBox* TAnalyseThis::BuildQuestions()
{
    AnalyseThisUserSoundQuestions = new QGroupBox(
        QStringLiteral("Describe the sound you need analysed, multiple selections can be selected."), this);
    AnalyseThisUserSoundQuestions->setObjectName(QStringLiteral("AnalyseThisUserSoundQuestions"));
    auto* layout = new QVBoxLayout(AnalyseThisUserSoundQuestions);
    auto* choices = new QGroupBox(AnalyseThisUserSoundQuestions);
    new QHBoxLayout(choices);
    layout->addWidget(choices);
    Loudness = Choices(QStringLiteral("Loudness Category"),
                       {QStringLiteral("Extremely"), QStringLiteral("Bearable"), QStringLiteral("Average"),
                        QStringLiteral("Soft"), QStringLiteral("Hard to detect")},
                       choices, this);
    Effect = Choices(QStringLiteral("Effect Category"),
                     {QStringLiteral("Large sharp peaks"), QStringLiteral("Small sharp peaks"),
                      QStringLiteral("Undulating"), QStringLiteral("Small ups / downs"), QStringLiteral("Smooth")},
                     choices, this);
    Comfort = Choices(QStringLiteral("Comfort Category"),
                      {QStringLiteral("Relaxing"), QStringLiteral("Good Background"),
                       QStringLiteral("Easy Listening"), QStringLiteral("Annoying"), QStringLiteral("Stressful")},
                      choices, this);
    // Only a comfort choice lets the listener go on.
    connect(Comfort, &QButtonGroup::idClicked, this, [this] { ResumeAfterQuestions->setEnabled(true); });
    layout->addWidget(MakeLabel(QString(), QStringLiteral("Descriptive name for this for this selection:"),
                                AnalyseThisUserSoundQuestions));
    AnalyseThisSelectionDescription =
        MakeEdit(QStringLiteral("AnalyseThisSelectionDescription"), QString(), AnalyseThisUserSoundQuestions);
    layout->addWidget(AnalyseThisSelectionDescription);
    SelectedSampleNumbers = new QListWidget(AnalyseThisUserSoundQuestions);
    SelectedSampleNumbers->setObjectName(QStringLiteral("SelectedSampleNumbers"));
    layout->addWidget(SelectedSampleNumbers);
    AnalyseThisArrayNTab = new TNTabEd(AnalyseThisUserSoundQuestions);
    AnalyseThisArrayNTab->setObjectName(QStringLiteral("AnalyseThisArrayNTab"));
    AnalyseThisArrayNTab->SetNrCols(4);
    AnalyseThisArrayNTab->SetNrRows(6);
    AnalyseThisArrayNTab->SetAttribRowVisible(false);
    layout->addWidget(AnalyseThisArrayNTab, 1);
    ResumeAfterQuestions =
        MakeButton(QStringLiteral("ResumeAfterQuestions"), QStringLiteral("Resume Analysis"), AnalyseThisUserSoundQuestions);
    ResumeAfterQuestions->setEnabled(false);
    connect(ResumeAfterQuestions, &QPushButton::clicked, this, &TAnalyseThis::ResumeAfterQuestionsClick);
    layout->addWidget(ResumeAfterQuestions);
    AnalyseThisUserSoundQuestions->hide();
    return AnalyseThisUserSoundQuestions;
}

}  // namespace oxw::assessment
