#pragma once
// The pitch steps of a first-pass block as the driver runs them after the tone dissonance:
// masking, the sort of the audible components, virtual pitches, the compound pattern and its
// sort, tonalness with the chroma and key tallies, or the cleared results of a block without
// pitches.
#include "engine/Convert.h"
#include "engine/Engine.h"

namespace oxw::bench {

inline void PitchSteps(engine::Engine& e) {
    engine::RunState& s = e.S();
    e.FindLevelsAboveMasking();
    if (s.NTonesM <= 0) {
        e.NoPitches();
        return;
    }
    if (s.NTonesM > 1) e.SortToneArrays(1, s.NTonesM);
    e.FindVirtualPitches();
    e.MakeCompoundPitchPattern();
    if (s.PitchCount <= 0) {
        e.NoPitches();
        return;
    }
    if (s.PitchCount > 1) e.SortPitchPattern(1, engine::StrToInt(s.DisplayPitchCount));
    e.CalculateParncuttMeasures();
    e.TallyChromaAndPitch();
}

}  // namespace oxw::bench
