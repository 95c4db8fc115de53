#pragma once
// Speech interference level, room criterion and noise rating of a file's mean octave-band
// spectrum (levels L[0..9] in dB, 31.5 Hz .. 16 kHz, as OctaveLevelsOf gives them):
// - SIL: the mean of the 500 Hz, 1, 2 and 4 kHz bands (ANSI S3.14 four-band SIL), in dB; SILd =
//   444 e^(-0.117 SIL), the limiting distance for normal speech derived from it, in metres;
// - RC: the mean of the 500 Hz, 1 and 2 kHz bands, in dB (after Blazier), with its class
//   against the reference line of -5 dB per octave through RC at 1 kHz: "R" (rumble: a band of
//   31.5 .. 500 Hz more than 5 dB above the line), "H" (hiss: 2, 4 or 8 kHz more than 3 dB
//   above it), "N" (neither), each followed by "V" when 31.5 Hz exceeds 75 dB or 63 Hz 80 dB;
//   from 55 dB up RC is out of range (9999);
// - NR: the noise-rating number, the largest (L - a) / b over 31.5 Hz .. 8 kHz of the NR curves
//   L = a + b NR (ISO R1996 / BS 8233).
#include <array>
#include <string>

#include "engine/NoiseCriteria.h"

namespace oxw::engine {

struct RoomCriterionRating {
    double SIL = 0, SILd = 0, RC = 0;
    std::string RCclass;
};
RoomCriterionRating RateRoomCriterion(const OctaveLevels& L);

// NR curve constants (a, b) of 31.5 Hz .. 8 kHz.
struct NrPair {
    double a, b;
};
inline constexpr std::array<NrPair, 9> NR_PAIRS{{{55.4, 0.681},
                                                 {35.5, 0.790},
                                                 {22.0, 0.870},
                                                 {12.0, 0.930},
                                                 {4.8, 0.974},
                                                 {0.0, 1.000},
                                                 {-3.5, 1.015},
                                                 {-6.1, 1.025},
                                                 {-8.0, 1.030}}};
double RateNoiseRating(const OctaveLevels& L);

}  // namespace oxw::engine
