#pragma once
// MIDI stream output: one stream of timed short MIDI messages on an output device. A buffer of
// stream events is queued with Out and plays once the stream runs (Restart); the output reports
// what happens through one callback: Open after the stream opened, PositionCallback when an
// event that asks for it (kMidiEventCallback) has been played, Done when a buffer has played to
// its end or was handed back by Stop or Reset, and Close after the stream closed. Messages always
// arrive later, as queued calls on the thread that created the output (the GUI thread), never
// from inside one of the calls below.
//
// The implementations: FluidSynthStreamOutput (the program's synthesiser) and
// ScriptedMidiStreamOutput (tests deliver the messages on request).

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace oxw::platform {

// One short event of a stream buffer, 12 bytes: ticks since the previous event, the stream
// (always 0) and the event word: status with channel in bits 0..7, the first data byte in bits
// 8..15, the second in 16..23, and bit 30 (kMidiEventCallback) asking for a position callback.
struct MidiStreamEvent {
    std::uint32_t dwDeltaTime;
    std::uint32_t dwStreamID;
    std::uint32_t dwEvent;
    bool operator==(const MidiStreamEvent&) const = default;
};
static_assert(sizeof(MidiStreamEvent) == 12);

inline constexpr std::uint32_t kMidiEventCallback = 0x40000000;
// The device index of the default output (all bits set).
inline constexpr std::uint32_t kMidiMapper = 0xFFFFFFFF;
// The tempo a stream has until it is set: 500000 microseconds per quarter note.
inline constexpr std::uint32_t kDefaultMidiTempo = 500000;

enum class MidiStreamMessage { Open, PositionCallback, Done, Close };

class MidiStreamOutput {
public:
    using Callback = std::function<void(MidiStreamMessage)>;
    virtual ~MidiStreamOutput() = default;

    // Number of output devices; device indexes run from 0, kMidiMapper picks the default one.
    virtual unsigned DeviceCount() = 0;
    // Opens the device without a stream and closes it again: true when it could be opened.
    virtual bool Probe(std::uint32_t device) = 0;
    // Opens the one stream, paused, on the device. True: the Open message follows and every
    // later message of this stream goes to callback. False: no stream and no message.
    virtual bool Open(std::uint32_t device, Callback callback) = 0;
    // Ticks per quarter note and microseconds per quarter note of the open stream.
    virtual bool SetTimeDivision(std::uint32_t ticksPerQuarter) = 0;
    virtual bool SetTempo(std::uint32_t microsecondsPerQuarter) = 0;
    // Queues a copy of the buffer behind those queued before; it plays once the stream runs.
    virtual bool Out(std::span<const MidiStreamEvent> events) = 0;
    // Runs the stream (it opens paused).
    virtual bool Restart() = 0;
    // Stops the stream at position 0, hands every queued buffer back (Done for each) and
    // silences every sounding note.
    virtual bool Stop() = 0;
    // As Stop; the device's notes are switched off on every channel.
    virtual bool Reset() = 0;
    // Closes the stream; buffers still queued are dropped. Close follows.
    virtual bool Close() = 0;
};

// Delivers the messages of one stream at a time as queued calls on the thread that created it.
// Messages of a stream that is no longer the current one, and messages other than Close posted
// after Close was asked for, are dropped.
class MidiMessagePoster {
public:
    MidiMessagePoster();
    ~MidiMessagePoster();
    MidiMessagePoster(const MidiMessagePoster&) = delete;
    MidiMessagePoster& operator=(const MidiMessagePoster&) = delete;

    // A new current stream whose messages go to callback; returns its number.
    std::uint64_t Begin(MidiStreamOutput::Callback callback);
    // Posts a message of the stream; may be called from any thread.
    void Post(std::uint64_t stream, MidiStreamMessage message);
    // Marks the stream as closing and posts its Close message.
    void PostClose(std::uint64_t stream);
    // Delivers a message at once (owner thread only).
    void DeliverNow(std::uint64_t stream, MidiStreamMessage message);

private:
    std::uint64_t current_ = 0;
    std::uint64_t next_ = 1;
    bool closing_ = false;
    MidiStreamOutput::Callback callback_;
    // Declared last: destroyed first, which drops every call still queued.
    std::unique_ptr<QObject> context_;
};

}  // namespace oxw::platform
