#pragma once
// The program's MIDI stream output: a FluidSynth synthesiser with a General MIDI soundfont,
// played through the desktop's sound output. Its sequencer runs on the synthesiser's sample
// clock, at the stream's tempo and time division (ticks per second = 1e6 x division / tempo).
// A buffer is timed as one sequencer callback per distinct time, which hands that time's events
// to the synthesiser in buffer order: the sequencer orders events of one time by itself, so a
// note's on and off sent to it at one time could arrive off first and leave the note sounding.
//
// There is one device, the synthesiser. Nothing is created before the first probe or open; the
// synthesiser then stays for the life of the output. Without sound output the device does not
// open (the program runs on, silent); a later probe tries again, at most every 2 seconds.
//
// Offline mode (tests): no sound output is opened; Render drives the synthesiser and its
// sequencer and writes the sound into memory.

#include <memory>
#include <string>

#include "platform/MidiStreamOutput.h"

namespace oxw::platform {

struct FluidSynthOptions {
    bool offline = false;
    // FluidSynth's audio driver and device names; empty: its defaults.
    std::string audioDriver;
    std::string audioDevice;
    // The soundfont file; empty: GeneralMidiSoundFont().
    std::string soundFont;
};

// The General MIDI soundfont: the file of the timgm6mb-soundfont package as found when the
// program was built, else the default soundfont that FluidSynth names; empty when neither exists.
std::string GeneralMidiSoundFont();

class FluidSynthStreamOutput : public MidiStreamOutput {
public:
    explicit FluidSynthStreamOutput(FluidSynthOptions options = {});
    ~FluidSynthStreamOutput() override;

    unsigned DeviceCount() override;
    bool Probe(std::uint32_t device) override;
    bool Open(std::uint32_t device, Callback callback) override;
    bool SetTimeDivision(std::uint32_t ticksPerQuarter) override;
    bool SetTempo(std::uint32_t microsecondsPerQuarter) override;
    bool Out(std::span<const MidiStreamEvent> events) override;
    bool Restart() override;
    bool Stop() override;
    bool Reset() override;
    bool Close() override;

    // Offline mode: renders frames of stereo sound (samples of about -1..1) and runs the
    // sequencer over that time; silence when the synthesiser could not be made.
    void Render(float* left, float* right, int frames);
    int SampleRate() const;
    // Sequencer ticks per second of the open stream.
    double TicksPerSecond() const;
    // How often a synthesiser was made (at most once) and whether sound output is open.
    int SynthCreations() const;
    bool SoundOutputOpen() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace oxw::platform
