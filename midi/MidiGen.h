#pragma once
// TMidiGen: plays notes, chords and note strings on a MIDI stream output. A play builds a list
// of timed events, renders it into one stream buffer (a preamble that resets the controllers and
// sets bend range, pan, modulation, volume, sustain, reverb and chorus, then the list, with a
// pitch-bend ramp before the first note off when bending) and plays it Loops times (0 = until
// Stop) at 50 ticks per quarter note and the default tempo, so one tick is 10 ms.
//
// A play first stops the stream still playing and waits until it has closed. From the start of a
// play until its stream's first event has been played (the position callback) the generator is
// not ready and refuses further plays; a play that ends without a running stream (nothing to
// play, no device, a failed start) makes it ready again at once. Waits handle the application's
// events meanwhile and end after at most CloseWait milliseconds.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "midi/MidiTypes.h"
#include "platform/MidiStreamOutput.h"

namespace oxw::platform {
class Dialogs;
}

namespace oxw::midi {

class TMidiGen {
public:
    // The stream buffer holds at most this many bytes (5461 events); later events are dropped.
    static constexpr std::uint32_t MaxBufferBytes = 65535;
    static constexpr int kDefaultCloseWait = 2000;

    // The defaults of the component; the output is owned. No device is opened here.
    explicit TMidiGen(std::unique_ptr<platform::MidiStreamOutput> output);
    // Stops, waits for the stream to close (at most CloseWait) and releases the output.
    ~TMidiGen();
    TMidiGen(const TMidiGen&) = delete;
    TMidiGen& operator=(const TMidiGen&) = delete;

    // Properties; setters limit to the range named, Duration, Loops and Sustain are stored as given.
    int Volume() const { return fVolume; }  // 0..100 %
    void SetVolume(int v);
    int Modulation() const { return fModulation; }  // 0..100
    void SetModulation(int v);
    int Chorus() const { return fChorus; }  // 0..100
    void SetChorus(int v);
    int Reverb() const { return fReverb; }  // 0..100
    void SetReverb(int v);
    int PitchBend() const { return fPitchBend; }  // -120..120 tenths of a semitone
    void SetPitchBend(int v);
    int PBDelay() const { return fPBDelay; }  // 0..100 % of the note
    void SetPBDelay(int v);
    int PBDuration() const { return fPBDuration; }  // 0..100 % of the rest of the note
    void SetPBDuration(int v);
    bool Sustain() const { return fSustain; }
    void SetSustain(bool on) { fSustain = on; }
    int Pan() const { return fPan; }  // -100..100
    void SetPan(int v);
    TMGNote Note() const { return fNote; }
    void SetNote(int v);
    int Octave() const { return fOctave; }  // 0..10
    void SetOctave(int v);
    std::uint32_t Duration() const { return fDuration; }  // ticks
    void SetDuration(std::uint32_t ticks) { fDuration = ticks; }
    int Instrument() const { return fInstrument; }  // 0..174
    void SetInstrument(int v);
    TMGChannel Channel() const { return fChannel; }
    void SetChannel(int v);
    std::uint32_t Loops() const { return fLoops; }  // 0 = endless
    void SetLoops(std::uint32_t n) { fLoops = n; }
    bool IsPlaying() const { return fIsPlaying; }  // from the open to the close of a stream

    // One note (limited to 0..127) with the instrument (stored as given) for Duration ticks.
    bool PlayNote(int NoteVal, int ChosenInstrument);
    // Says "Here in TMidiGen.Play", then plays Note + 12 x Octave as instrument 13 and then as
    // instrument 25; returns what the second play returned. The first play leaves the generator
    // not ready until its position callback, so the second is normally refused (false).
    bool Play(platform::Dialogs& dialogs);
    // A note string (see NoteString.h); bending only for a single chord.
    bool PlayString(std::string_view Notes);
    // The events of a note string from the current octave, duration, instrument and channel.
    bool ExtractNotes(std::string_view NoteString, std::vector<event>& Data) const;
    // Ends looping; stops the stream when one is playing and the generator is ready.
    void Stop();
    // True when a stream is open or the device can be opened.
    bool MidiAvailable();
    // Stores the device index (-1: the default device); true when it names an existing device.
    bool SetDevice(int Device);

    // State, for those who look on.
    std::uint32_t MidiDevice() const { return fMidiDevice; }
    std::uint32_t BufferSize() const { return static_cast<std::uint32_t>(DataBuffer.size() * sizeof(sMIDIEVENT)); }
    std::uint32_t sEventCount() const { return static_cast<std::uint32_t>(DataBuffer.size()); }
    bool CanPlay() const { return fCanPlay; }
    int ID() const { return fID; }
    platform::MidiStreamOutput& Output() { return *output_; }
    void SetCloseWait(int milliseconds) { closeWait_ = milliseconds; }

    // Shared by every generator: stream buffers alive, streams closed so far, the generator
    // whose stream is open (0: none).
    static int TotalAlloc() { return totalAlloc_; }
    static int EventCount() { return eventCount_; }
    static int CurrentID() { return currentID_; }

private:
    bool WaitForClose();
    bool Finish(bool played);
    bool PlayData(bool ResetOnly, bool PitchBendEnabled, std::vector<event>& Data);
    void AddPreamble();
    void AddList(const std::vector<event>& Data, bool bending);
    sMIDIEVENT NoteEvent(std::uint32_t delta, const event& e, bool on) const;
    bool StartStream();
    void WndProc(platform::MidiStreamMessage message);
    void Done();
    void AddData(const sMIDIEVENT& e);
    void FreeBuffer();

    static inline int uniqueID_ = 1;
    static inline int currentID_ = 0;
    static inline int totalAlloc_ = 0;
    static inline int eventCount_ = 0;

    std::unique_ptr<platform::MidiStreamOutput> output_;
    std::uint32_t fMidiDevice = platform::kMidiMapper;
    std::vector<sMIDIEVENT> DataBuffer;
    int fID;
    int fVolume = 100;
    int fModulation = 0;
    int fChorus = 0;
    int fReverb = 0;
    int fPitchBend = 0;
    int fPBDelay = 0;
    int fPBDuration = 100;
    bool fSustain = false;
    int fPan = 0;
    TMGNote fNote = mgC;
    int fOctave = 4;
    std::uint32_t fDuration = 50;
    int fInstrument = mgAcousticGrandPiano;
    TMGChannel fChannel = mgCh01;
    int ChannelInUse = mgCh01;
    std::uint32_t fLoops = 3;
    bool fIsPlaying = false;
    bool StreamOpen = false;  // from a successful open to the close message
    bool DeviceOpened = false;
    bool LoopAllowed = false;
    std::uint32_t LoopCount = 0;
    bool fCanPlay = true;
    int closeWait_ = kDefaultCloseWait;
};

}  // namespace oxw::midi
