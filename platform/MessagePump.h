#pragma once
// Waiting on the GUI thread: the application's queued events (window events, queued calls)
// go on being handled while a condition is awaited, for at most a given time.

#include <functional>

namespace oxw::platform {

// Handles the application's events until done() holds or timeoutMs have passed; returns done().
bool PumpMessagesUntil(const std::function<bool()>& done, int timeoutMs);

}  // namespace oxw::platform
