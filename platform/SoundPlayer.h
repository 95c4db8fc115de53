#pragma once
// Playback of a sound file for the listening test, and what the program asks of the platform's
// sound output: how many output devices there are, a player, and a clock to wait on. The
// program uses Qt Multimedia (QtSoundSystem); tests script all three (ScriptedSoundSystem).

#include <QString>

#include <functional>
#include <memory>

namespace oxw::platform {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Opens the file; false with a reason in `error` when it cannot be played.
    virtual bool Open(const QString& path, QString& error) = 0;
    // Length and position of the open file in milliseconds (0 with none).
    virtual long long LengthMs() const = 0;
    virtual long long PositionMs() const = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void Stop() = 0;
    virtual void Rewind() = 0;
    virtual void Close() = 0;
    // Told when playback reaches the end of the file.
    std::function<void()> OnEndOfFile;
};

class SoundSystem {
public:
    virtual ~SoundSystem() = default;
    // The number of sound output devices.
    virtual int OutputDeviceCount() = 0;
    virtual std::unique_ptr<SoundPlayer> NewPlayer() = 0;
    // Lets `ms` milliseconds pass while the application's events other than user input are
    // handled.
    virtual void Wait(int ms) = 0;
};

// Qt Multimedia: QMediaDevices, QMediaPlayer with a QAudioOutput.
class QtSoundSystem : public SoundSystem {
public:
    int OutputDeviceCount() override;
    std::unique_ptr<SoundPlayer> NewPlayer() override;
    void Wait(int ms) override;
};

}  // namespace oxw::platform
