#pragma once
// Note strings of the MIDI generator: items separated by "," of the form step;token;duration,
// where the step (ticks after the previous item) and the duration (ticks) may be left out and
// then repeat the last ones. A token is "I" with a program or percussion value 0..174, "N" with
// a note number 0..127, or a note name with an optional octave 0..10 ("C", "F#5", "B-3"; the note
// is semitone + 12 x octave, so C4 is 48). Invalid items are skipped.

#include <cstdint>
#include <string_view>
#include <vector>

#include "midi/MidiTypes.h"

namespace oxw::midi {

// Each note name preceded by its semitone in two digits; "+" and "#" are sharp, "-" flat.
inline constexpr std::string_view NoteNumbers =
    "00C01C+01C#02D01D-03D+03D#04E03E-05F06F+06F#07G06G-08G+08G#09A08A-10A+10A#11B10B-";

// Semitone 0..11 of one of the 22 note names of NoteNumbers, matched as a whole name; -1 for any
// other text.
int NoteNameSemitone(std::string_view name);

// What a note string starts from: the generator's octave, duration and instrument, and the
// channel it plays on.
struct NoteStringStart {
    int Octave = 4;
    std::uint32_t Duration = 50;
    int Instrument = 0;
    int PlayChannel = 0;
};

// Appends the events of the note string to Data, sorted by EventSort. True when the string is a
// single chord (every step 0 and one duration); false for an empty string.
bool ExtractNotes(std::string_view NoteString, const NoteStringStart& start, std::vector<event>& Data);

// Sorts by start time, stably; among events of one time, program changes first, then note offs
// (so a note ending where the next one of the same key starts does not silence it), then the
// rest in list order.
void EventSort(std::vector<event>& Data);

}  // namespace oxw::midi
