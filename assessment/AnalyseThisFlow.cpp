// The listening test's flow: countdown and playback, segment start and end with their sample
// numbers, the questions, resuming, the end of the file and closing.
#include <QHideEvent>

#include <cmath>

#include "assessment/AnalyseThis.h"
#include "platform/Dialogs.h"

namespace oxw::assessment {

namespace {

constexpr int kCountdownSeconds = 10;
constexpr int kFirstSegmentRow = 2;
constexpr int kLastSegmentRow = 6;

}  // namespace

void TAnalyseThis::SetSoundFile(const QString& path, const QString& sampleRate, const QString& runTime)
{
    playThisFile_ = path;
    sampleRate_ = sampleRate;
    runTime_ = runTime;
}

double TAnalyseThis::SampleNumber(double ms) const
{
    return std::nearbyint(ms * sampleRate_.trimmed().toDouble() / 1000.0);  // ties to even
}

void TAnalyseThis::StartPlayingSoundClick()
{
    AnalyseThisPlayTime->setText(runTime_);
    TenSecondDelayPanel->show();
    AnalyseThisArrayNTab->SetElem(1, 1, kFirstSegmentRow);
    for (int c = 1; c <= 4; ++c) AnalyseThisArrayNTab->SetDecPlaces(c, 0);
    Countdown();
    TenSecondDelayPanel->hide();
    AnalyseThisPlayTime->setText(runTime_);
    QString error;
    if (!player_->Open(playThisFile_, error)) {
        // The idle state again: Play may be tried once more.
        dialogs_.ShowMessage(QStringLiteral("The sound file cannot be played.\r\n") + error);
        StartPlayingSound->setEnabled(soundCard_);
        return;
    }
    playerOpen_ = true;
    AnalyseThisProgressBar1->setMaximum(static_cast<int>(player_->LengthMs()));
    TimerForProgressBar->start();
    TimerTime->start();
    player_->Play();
    StartPlayingSound->setEnabled(false);
    ForwardButton->setEnabled(true);
    AnalysisThisClose->setEnabled(true);
}

void TAnalyseThis::Countdown()
{
    // r whole seconds remain: 10..6 show one more smiley each, 5..1 take one away each.
    for (int r = kCountdownSeconds; r >= 1; --r) {
        if (r >= 6)
            Smiley[static_cast<std::size_t>(kCountdownSeconds - r)]->show();
        else
            Smiley[static_cast<std::size_t>(r - 1)]->hide();
        TenSecondDelayPanel->repaint();
        sound_.Wait(1000);
    }
}

void TAnalyseThis::ForwardButtonClick()
{
    player_->Pause();
    StartPlayingSound->setEnabled(false);
    ForwardButton->setEnabled(false);
    PauseButton->setEnabled(true);
    const double position = static_cast<double>(player_->PositionMs());
    AnalyseThisTimeSelected->setText(QString::number(position, 'f', 0));
    const int row = static_cast<int>(AnalyseThisArrayNTab->GetElem(1, 1));
    AnalyseThisArrayNTab->SetElem(1, row, position);
    AnalyseThisArrayNTab->SetElem(2, row, SampleNumber(position));
    player_->Resume();
}

void TAnalyseThis::PauseButtonClick()
{
    player_->Pause();
    PauseButton->setEnabled(false);
    SelectedSegments->show();
    ResumeAfterQuestions->setEnabled(false);
    AnalyseThisUserSoundQuestions->show();
    const double position = static_cast<double>(player_->PositionMs());
    AnalyseThisTimeSelected->setText(QString::number(position, 'f', 0));
    const int row = static_cast<int>(AnalyseThisArrayNTab->GetElem(1, 1));
    if (row >= kFirstSegmentRow && row <= kLastSegmentRow) Segment[static_cast<std::size_t>(row - 2)]->show();
    AnalyseThisArrayNTab->SetElem(3, row, position);
    AnalyseThisArrayNTab->SetElem(4, row, SampleNumber(position));
    const QString description = QStringLiteral("Selected %1 - %2")
                                    .arg(QString::number(AnalyseThisArrayNTab->GetElem(1, row), 'f', 0),
                                         QString::number(position, 'f', 0));
    AnalyseThisSelectionDescription->setText(description);
    SelectedSampleNumbers->addItem(description);
    AnalyseThisArrayNTab->SetElem(1, 1, row + 1);
}

void TAnalyseThis::ResumeAfterQuestionsClick()
{
    player_->Resume();
    AnalyseThisUserSoundQuestions->hide();
    ResetUserResponses();
    AnalyseThisTimeSelected->clear();
    if (AnalyseThisArrayNTab->GetElem(1, 1) > kLastSegmentRow) {
        NoMoreSegments->show();  // "Grab This" stays disabled; playback goes on
        return;
    }
    ForwardButton->setEnabled(true);
    PauseButton->setEnabled(false);
    ResumeAfterQuestions->setEnabled(false);
}

void TAnalyseThis::ResetUserResponses()
{
    for (QButtonGroup* group : {Loudness, Effect, Comfort}) {
        group->setExclusive(false);
        for (QAbstractButton* b : group->buttons()) b->setChecked(false);
        group->setExclusive(true);
    }
}

void TAnalyseThis::StopPlayer()
{
    TimerForProgressBar->stop();
    player_->Stop();
    player_->Rewind();
    player_->Close();
    playerOpen_ = false;
    AnalyseThisProgressBar1->setValue(0);
    StartPlayingSound->setEnabled(false);
    AnalysisThisClose->setEnabled(false);
}

void TAnalyseThis::AnalysisThisCloseClick()
{
    StopPlayer();
    close();
    if (owner_) owner_->repaint();
}

void TAnalyseThis::hideEvent(QHideEvent* event)
{
    // Closed by its frame (or Escape) while the file plays: as the close button, so the sound
    // stops. Before playback the window only closes and Play stays available.
    if (playerOpen_) StopPlayer();
    Form::hideEvent(event);
}

void TAnalyseThis::PlayingSoundNotify() { AnalyseThisProgressBar1->setValue(0); }

void TAnalyseThis::TimerTimeTimer()
{
    const long long position = player_->PositionMs();
    const long long minutes = position / 60000, seconds = position / 1000 % 60;
    timeString_ = QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
}

}  // namespace oxw::assessment
