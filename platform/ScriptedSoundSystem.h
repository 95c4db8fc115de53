#pragma once
// A sound system for tests: a set number of output devices, a player that records its calls
// and whose position, length and failures the test sets, and a clock that does not wait.

#include <QStringList>

#include <vector>

#include "platform/SoundPlayer.h"

namespace oxw::platform {

class ScriptedSoundPlayer : public SoundPlayer {
public:
    // Set by the test.
    long long Length = 0;
    long long Position = 0;
    QString FailOpen;  // not empty: Open fails with this reason
    // Recorded: "open <path>", "play", "pause", "resume", "stop", "rewind", "close".
    QStringList Calls;
    bool IsOpen = false;

    bool Open(const QString& path, QString& error) override;
    long long LengthMs() const override { return IsOpen ? Length : 0; }
    long long PositionMs() const override { return IsOpen ? Position : 0; }
    void Play() override { Calls << QStringLiteral("play"); }
    void Pause() override { Calls << QStringLiteral("pause"); }
    void Resume() override { Calls << QStringLiteral("resume"); }
    void Stop() override { Calls << QStringLiteral("stop"); }
    void Rewind() override;
    void Close() override;
    // Playback reaches the end of the file.
    void FinishFile();
};

class ScriptedSoundSystem : public SoundSystem {
public:
    explicit ScriptedSoundSystem(int devices = 1) : Devices(devices) {}
    int Devices;
    int Probes = 0;
    // The players handed out (owned by their users).
    std::vector<ScriptedSoundPlayer*> Players;
    // Each wait in ms; OnWait runs at each (the clock then moves on at once).
    std::vector<int> Waits;
    std::function<void()> OnWait;

    int OutputDeviceCount() override
    {
        ++Probes;
        return Devices;
    }
    std::unique_ptr<SoundPlayer> NewPlayer() override;
    void Wait(int ms) override;
};

}  // namespace oxw::platform
