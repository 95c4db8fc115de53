#include "platform/ScriptedSoundSystem.h"

namespace oxw::platform {

bool ScriptedSoundPlayer::Open(const QString& path, QString& error)
{
    Calls << QStringLiteral("open ") + path;
    if (!FailOpen.isEmpty()) {
        error = FailOpen;
        return false;
    }
    IsOpen = true;
    return true;
}

void ScriptedSoundPlayer::Rewind()
{
    Calls << QStringLiteral("rewind");
    Position = 0;
}

void ScriptedSoundPlayer::Close()
{
    Calls << QStringLiteral("close");
    IsOpen = false;
}

void ScriptedSoundPlayer::FinishFile()
{
    Position = Length;
    if (OnEndOfFile) OnEndOfFile();
}

std::unique_ptr<SoundPlayer> ScriptedSoundSystem::NewPlayer()
{
    auto player = std::make_unique<ScriptedSoundPlayer>();
    Players.push_back(player.get());
    return player;
}

void ScriptedSoundSystem::Wait(int ms)
{
    Waits.push_back(ms);
    if (OnWait) OnWait();
}

}  // namespace oxw::platform
