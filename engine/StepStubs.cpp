// Engine steps whose measures are not computed yet: each writes its start and end lines so the
// run's log keeps its shape.
#include "engine/Engine.h"

namespace oxw::engine {

void Engine::Stub(const char* name) {
    Log("S", name);
    Log("E", name);
}

void Engine::FindLevelsAboveMasking() { Stub("FindLevelsAboveMasking"); }
void Engine::SortToneArrays(int, int) { Stub("SortToneArrays"); }
void Engine::FindVirtualPitches() { Stub("FindVirtualPitches"); }
void Engine::MakeCompoundPitchPattern() { Stub("MakeCompoundPitchPattern"); }
void Engine::SortPitchPattern(int, int) { Stub("SortPitchPattern"); }
void Engine::NoPitches() { Stub("NoPitches"); }
void Engine::CalculateParncuttMeasures() { Stub("CalculateParncuttMeasures"); }
void Engine::TallyChromaAndPitch() { Stub("TallyChromaAndPitch"); }
void Engine::FindKey(const std::array<double, 13>&, double&, double&, double&, double&) {
    Stub("FindKey");
}
void Engine::FindChord(const std::array<double, 13>&, double&, double&) { Stub("FindChord"); }

}  // namespace oxw::engine
