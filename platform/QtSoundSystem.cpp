#include <QAudioDevice>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include "platform/MessagePump.h"
#include "platform/SoundPlayer.h"

namespace oxw::platform {

namespace {

// How long opening a file may take before it counts as failed.
constexpr int kOpenTimeoutMs = 5000;

// The media player is made when a file is opened, so a program that never plays creates none.
class QtSoundPlayer : public SoundPlayer {
public:
    bool Open(const QString& path, QString& error) override
    {
        if (!QFileInfo(path).isFile()) {
            error = QStringLiteral("The file cannot be found: ") + path;
            return false;
        }
        if (!player_) Make();
        player_->setSource(QUrl::fromLocalFile(path));
        auto settled = [this] {
            const auto s = player_->mediaStatus();
            return s == QMediaPlayer::LoadedMedia || s == QMediaPlayer::InvalidMedia ||
                   player_->error() != QMediaPlayer::NoError;
        };
        PumpMessagesUntil(settled, kOpenTimeoutMs);
        if (player_->mediaStatus() == QMediaPlayer::LoadedMedia && player_->error() == QMediaPlayer::NoError)
            return true;
        error = player_->errorString().isEmpty() ? QStringLiteral("The file cannot be played: ") + path
                                                 : player_->errorString();
        player_->setSource(QUrl());
        return false;
    }
    long long LengthMs() const override { return player_ ? player_->duration() : 0; }
    long long PositionMs() const override { return player_ ? player_->position() : 0; }
    void Play() override { With(&QMediaPlayer::play); }
    void Pause() override { With(&QMediaPlayer::pause); }
    void Resume() override { With(&QMediaPlayer::play); }
    void Stop() override { With(&QMediaPlayer::stop); }
    void Rewind() override
    {
        if (player_) player_->setPosition(0);
    }
    void Close() override
    {
        if (player_) player_->setSource(QUrl());
    }

private:
    void Make()
    {
        output_ = std::make_unique<QAudioOutput>();
        player_ = std::make_unique<QMediaPlayer>();
        player_->setAudioOutput(output_.get());
        QObject::connect(player_.get(), &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus s) {
            if (s == QMediaPlayer::EndOfMedia && OnEndOfFile) OnEndOfFile();
        });
    }
    void With(void (QMediaPlayer::*action)())
    {
        if (player_) (player_.get()->*action)();
    }

    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;  // destroyed before its output
};

}  // namespace

int QtSoundSystem::OutputDeviceCount() { return static_cast<int>(QMediaDevices::audioOutputs().size()); }

std::unique_ptr<SoundPlayer> QtSoundSystem::NewPlayer() { return std::make_unique<QtSoundPlayer>(); }

void QtSoundSystem::Wait(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents,
                                        static_cast<int>(ms - clock.elapsed()));
}

}  // namespace oxw::platform
