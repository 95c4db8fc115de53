#pragma once
// The listening test "Analyse This!": plays the selected sound file after a 10-second countdown
// and lets the listener mark up to five segments, each with its start and end in milliseconds
// and as sample numbers, and rate each one. The ratings are shown only, stored nowhere.

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <memory>

#include "controls/NTabEd.h"
#include "platform/Form.h"
#include "platform/SoundPlayer.h"

namespace oxw::platform {
class Dialogs;
}

namespace oxw::assessment {

class TAnalyseThis : public platform::Form {
    Q_OBJECT
public:
    // Without an output device the message is shown at once and Play stays disabled.
    TAnalyseThis(platform::Dialogs& dialogs, platform::SoundSystem& sound, QWidget* parent = nullptr);
    ~TAnalyseThis() override;

    // The file to play, its sample rate (decimal Hz) and its estimated running time texts.
    void SetSoundFile(const QString& path, const QString& sampleRate, const QString& runTime);
    // The window repainted after the close button (the check dialog).
    void SetOwnerWindow(QWidget* owner) { owner_ = owner; }

    void StartPlayingSoundClick();
    void ForwardButtonClick();  // "Grab This": a segment starts
    void PauseButtonClick();    // a segment ends
    void ResumeAfterQuestionsClick();
    void AnalysisThisCloseClick();
    void ResetUserResponses();
    bool SoundCardAvailable() const { return soundCard_; }
    // The time played as "MM:SS", refreshed every second.
    const QString& SoundFileTimeString() const { return timeString_; }

    QPushButton* StartPlayingSound;
    QPushButton* ForwardButton;  // "Grab This"
    QPushButton* PauseButton;
    QLineEdit* AnalyseThisPlayTime;
    QLineEdit* AnalyseThisTimeSelected;
    QProgressBar* AnalyseThisProgressBar1;
    QPushButton* AnalysisThisClose;
    QGroupBox* TenSecondDelayPanel;
    std::array<QLabel*, 5> Smiley{};
    QGroupBox* SelectedSegments;
    std::array<QLabel*, 5> Segment{};
    QLabel* NoMoreSegments;
    QGroupBox* AnalyseThisUserSoundQuestions;
    QButtonGroup* Loudness;
    QButtonGroup* Effect;
    QButtonGroup* Comfort;  // Relaxing, Good Background, Easy Listening, Annoying, Stressful
    QLineEdit* AnalyseThisSelectionDescription;
    QListWidget* SelectedSampleNumbers;
    TNTabEd* AnalyseThisArrayNTab;  // cell (1, 1): next free row; rows 2..6: ms and samples
    QPushButton* ResumeAfterQuestions;
    QTimer* TimerForProgressBar;
    QTimer* TimerTime;
    QTimer* TimerExit;
    QTimer* TimerButtons;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void BuildControls();
    QGroupBox* BuildQuestions();
    void Countdown();
    void StopPlayer();
    void PlayingSoundNotify();
    void TimerTimeTimer();
    double SampleNumber(double ms) const;

    platform::Dialogs& dialogs_;
    platform::SoundSystem& sound_;
    std::unique_ptr<platform::SoundPlayer> player_;
    QWidget* owner_ = nullptr;
    bool soundCard_ = false;
    bool playerOpen_ = false;
    QString playThisFile_;
    QString sampleRate_;
    QString runTime_;
    QString timeString_;
};

}  // namespace oxw::assessment
