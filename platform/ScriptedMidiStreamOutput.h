#pragma once
// A MIDI stream output for tests. It records every call; Open and Close, and the Done of a
// buffer handed back by Stop or Reset, arrive as queued calls like the real output's; the
// playing of a buffer (its position callback and its Done) happens when the test asks for it.

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/MidiStreamOutput.h"

namespace oxw::platform {

class ScriptedMidiStreamOutput : public MidiStreamOutput {
public:
    // Number of devices; Probe and Open fail for a device at or above it (the default device
    // kMidiMapper opens while there is one).
    unsigned Devices = 1;
    // Open fails although the device exists.
    bool FailOpen = false;
    // False: Close is never reported (a failed device, or one that has already gone).
    bool ReportClose = true;

    // Buffers given to Out, in order.
    std::vector<std::vector<MidiStreamEvent>> Sent;
    int Probes = 0;
    int Opens = 0;
    int Restarts = 0;
    int Stops = 0;
    int Resets = 0;
    int Closes = 0;
    std::uint32_t OpenedDevice = 0;
    std::uint32_t TimeDivision = 0;
    std::uint32_t Tempo = kDefaultMidiTempo;

    bool IsOpen() const { return open_; }
    // Buffers queued and not yet played or handed back.
    std::size_t QueuedBuffers() const { return queued_.size(); }

    // The first queued buffer reaches its first event that asks for a position callback.
    void DeliverPosition();
    // The first queued buffer has played: its position callback (unless delivered) and Done.
    void FinishBuffer();

    unsigned DeviceCount() override { return Devices; }
    bool Probe(std::uint32_t device) override;
    bool Open(std::uint32_t device, Callback callback) override;
    bool SetTimeDivision(std::uint32_t ticksPerQuarter) override;
    bool SetTempo(std::uint32_t microsecondsPerQuarter) override;
    bool Out(std::span<const MidiStreamEvent> events) override;
    bool Restart() override;
    bool Stop() override;
    bool Reset() override;
    bool Close() override;

private:
    struct Buffer {
        bool asksPosition;
        bool positionDelivered;
    };
    bool DeviceExists(std::uint32_t device) const;
    void HandBack();

    bool open_ = false;
    bool running_ = false;
    std::uint64_t stream_ = 0;
    std::deque<Buffer> queued_;
    MidiMessagePoster poster_;
};

}  // namespace oxw::platform
