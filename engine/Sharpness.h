#pragma once
// Timbre of a block from its specific loudness on the ERB-number grid (sone per ERB):
// - sharpness after Zwicker and Fastl (DIN 45692 weighting, in acum: a critical-band-wide noise
//   at 1 kHz and 60 dB gives 1 acum), the loudness-weighted mean critical-band rate (Bark) with
//   a rising weight above 24.5 ERB;
// - sharpness after Aures (acum), an exponential weighting in Bark over a logarithm of loudness;
// - timbral width: the squared share of the loudness outside one ERB around the largest specific
//   loudness (0 for all loudness at the peak, towards 1 for a broad pattern);
// - volume: a measure of the pattern's spread towards low ERB numbers.
// Below 0.01 sone the four take their neutral values 0, 0, 1 and 0.
#include "engine/RunState.h"

namespace oxw::engine {

struct Timbre {
    double SharpnessZ = 0, SharpnessA = 0, TimbralWidth = 1.0, Volume = 0;
};

// The timbre of the specific loudness N'(e), e = 8..156, with loudness N (sone).
Timbre TimbreOf(const double* SpecLoud, double N);

}  // namespace oxw::engine
