#pragma once
// Chord finding: the chord of the file's chroma salience (12 values, chroma 0 = A) is the chord
// template, in the transposition, with the best positive Pearson correlation (r); the result
// carries R^2. Each of the 27 templates is a chroma profile of one chord type with its code and
// the offset in semitones from its reference note (value 0) up to the chord's root. Templates
// are tried in table order and transpositions in rising order; a later one wins only when it
// correlates better. Without any positive correlation the chord is "A " with R^2 0.
#include <array>

#include "engine/ChromaProfiles.h"

namespace oxw::engine {

struct ChordTemplate {
    const char* code;  // "___", "MP_", ...
    int offset;        // semitones from the reference note up to the root
    ChromaProfile w;
};
extern const std::array<ChordTemplate, 27> kChordTemplates;

// The best positive correlation of one template with the chroma (sums x) over its 12
// transpositions; t is -1 when none correlates positively.
TranspositionFit ChordProfile(const ChromaProfile& w, ProfileSums x, const Chroma& chromata);

}  // namespace oxw::engine
