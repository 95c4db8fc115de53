#pragma once
// Builders of the stream events the MIDI generator sends: each is one short MIDI message at a
// delta time in ticks. Every data byte is limited to 0..127, so no value can reach the status,
// the callback flag or the other high bits of the event word.

#include <cstdint>
#include <vector>

#include "midi/MidiTypes.h"

namespace oxw::midi {

// MIDI status of an event kind (without the channel).
std::uint32_t StatusOf(sEvent kind);

// One short message: status of the kind with the channel (0..15), the two data bytes, and the
// callback flag when asked for.
sMIDIEVENT ShortEvent(std::uint32_t Time, int lChannel, sEvent Event, int data1, int data2, bool DoCallback = false);
// A controller message of the kind (number 0..127, value limited to 0..127).
sMIDIEVENT Controller(std::uint32_t Time, int lChannel, sEvent Event, int number, int value, bool DoCallback = false);

// Program change; values of 128 and above (percussion values) are sent as 127, below 0 as 0.
sMIDIEVENT AddInstrument(std::uint32_t Time, int lChannel, int program);
// Note on with velocity Level (0 = note off); notes above 127 are sent as 127.
sMIDIEVENT NoteOnDWord(std::uint32_t Time, int lChannel, int Note, int Level);
// A percussion note on channel 9: key Instrument - 93 limited to 35..81, velocity Level when
// Hit, else 0 (its note off).
sMIDIEVENT SetPercussion(std::uint32_t Time, int Instrument, int Level, bool Hit);
// Reset all controllers (controller 121), with the callback flag when Callback.
sMIDIEVENT ResetChannel(std::uint32_t Time, int lChannel, bool Callback);
// Channel volume (7), modulation (1), reverb (91), chorus (93): LevelPC x 127 div 100.
sMIDIEVENT DoVolume(std::uint32_t Time, int lChannel, int LevelPC);
sMIDIEVENT DoModulation(std::uint32_t Time, int lChannel, int LevelPC);
sMIDIEVENT DoReverb(std::uint32_t Time, int lChannel, int LevelPC);
sMIDIEVENT DoChorus(std::uint32_t Time, int lChannel, int LevelPC);
// Pan (10): LevelPC x 63 div 100 + 64, so -100 -> 1, 0 -> 64, 100 -> 127.
sMIDIEVENT DoPan(std::uint32_t Time, int lChannel, int LevelPC);
// Sustain pedal (64): 127 when on, else 0.
sMIDIEVENT DoSustain(std::uint32_t Time, int lChannel, bool EffectOn);

// The two 7-bit data bytes of a 14-bit value: the low 7 bits in the low byte, the next 7 in the
// byte above.
std::uint32_t MidiWord(std::uint32_t dw);

// The pitch-bend ramp before a note off TotalTime ticks after the previous event: it starts
// delayPC % into that time and climbs in steps of one tick over durationPC % of the rest, up to
// levelPC tenths of a semitone (120 = the top of the 12-semitone bend range) at its last step.
// Empty when there is nothing to bend or more than 8191 steps.
std::vector<sMIDIEVENT> DoPitchBend(std::uint32_t TotalTime, int delayPC, int durationPC, int levelPC, int lChannel);

}  // namespace oxw::midi
