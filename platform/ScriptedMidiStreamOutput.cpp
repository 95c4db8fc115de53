#include "platform/ScriptedMidiStreamOutput.h"

#include <algorithm>

namespace oxw::platform {

bool ScriptedMidiStreamOutput::DeviceExists(std::uint32_t device) const
{
    return Devices > 0 && (device == kMidiMapper || device < Devices);
}

bool ScriptedMidiStreamOutput::Probe(std::uint32_t device)
{
    ++Probes;
    return DeviceExists(device);
}

bool ScriptedMidiStreamOutput::Open(std::uint32_t device, Callback callback)
{
    if (open_ || FailOpen || !DeviceExists(device)) return false;
    ++Opens;
    OpenedDevice = device;
    open_ = true;
    running_ = false;
    stream_ = poster_.Begin(std::move(callback));
    poster_.Post(stream_, MidiStreamMessage::Open);
    return true;
}

bool ScriptedMidiStreamOutput::SetTimeDivision(std::uint32_t ticksPerQuarter)
{
    if (!open_) return false;
    TimeDivision = ticksPerQuarter;
    return true;
}

bool ScriptedMidiStreamOutput::SetTempo(std::uint32_t microsecondsPerQuarter)
{
    if (!open_) return false;
    Tempo = microsecondsPerQuarter;
    return true;
}

bool ScriptedMidiStreamOutput::Out(std::span<const MidiStreamEvent> events)
{
    if (!open_) return false;
    Sent.emplace_back(events.begin(), events.end());
    const bool asks = std::any_of(events.begin(), events.end(),
                                  [](const MidiStreamEvent& e) { return (e.dwEvent & kMidiEventCallback) != 0; });
    queued_.push_back({asks, false});
    return true;
}

bool ScriptedMidiStreamOutput::Restart()
{
    if (!open_) return false;
    ++Restarts;
    running_ = true;
    return true;
}

void ScriptedMidiStreamOutput::HandBack()
{
    running_ = false;
    for (std::size_t i = 0; i < queued_.size(); ++i) poster_.Post(stream_, MidiStreamMessage::Done);
    queued_.clear();
}

bool ScriptedMidiStreamOutput::Stop()
{
    if (!open_) return false;
    ++Stops;
    HandBack();
    return true;
}

bool ScriptedMidiStreamOutput::Reset()
{
    if (!open_) return false;
    ++Resets;
    HandBack();
    return true;
}

bool ScriptedMidiStreamOutput::Close()
{
    if (!open_) return false;
    ++Closes;
    open_ = false;
    running_ = false;
    queued_.clear();
    if (ReportClose) poster_.PostClose(stream_);
    return true;
}

void ScriptedMidiStreamOutput::DeliverPosition()
{
    if (!open_ || !running_ || queued_.empty()) return;
    Buffer& front = queued_.front();
    if (!front.asksPosition || front.positionDelivered) return;
    front.positionDelivered = true;
    poster_.DeliverNow(stream_, MidiStreamMessage::PositionCallback);
}

void ScriptedMidiStreamOutput::FinishBuffer()
{
    if (!open_ || !running_ || queued_.empty()) return;
    DeliverPosition();
    if (!open_ || queued_.empty()) return;
    queued_.pop_front();
    poster_.DeliverNow(stream_, MidiStreamMessage::Done);
}

}  // namespace oxw::platform
