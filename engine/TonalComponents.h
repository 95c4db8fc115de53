#pragma once
// Tonal components of a first-pass block: pure-tone peaks of the intensity spectrum among FFT
// lines 4 .. NCOMPS - 3 (about 43 Hz to 5.5 kHz at 4096 points). A line is a tone when its level
// rises above the line below, is not below the line above, exceeds 10 dB and stands at least
// 6 dB above the lines two and three away on either side. A tone's frequency (Hz) is the line's
// frequency plus 0.46 Hz per dB by which the upper neighbour exceeds the lower one; its level
// (dB) is the line's level plus 1.6 dB.
#include <initializer_list>
#include <vector>

#include "engine/RunState.h"

namespace oxw::engine {

// The tone list of `Intensity` for a block of `points` lines: entries 1..count of F (Hz),
// L (dB) and Ref (line), count limited to `capacity`. Returns the count.
int FindTonalComponents(const Spectrum& Intensity, int points, double* F, double* L, double* Ref,
                        int capacity);

// How many entries (1..count) of a tone list its arrays hold: count, limited to 0 .. size - 1 of
// the shortest array and to MAXTONES - 1.
int ListedTones(int count, std::initializer_list<const std::vector<double>*> arrays);

}  // namespace oxw::engine
