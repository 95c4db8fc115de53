// Speech interference level, room criterion with its class, and noise rating of the file's mean
// octave-band spectrum, rated once at the end of the first pass after NC and PNC.
#include "engine/RoomCriterion.h"

#include <cmath>
#include <utility>

#include "engine/Engine.h"

namespace oxw::engine {

RoomCriterionRating RateRoomCriterion(const OctaveLevels& L) {
    RoomCriterionRating r;
    r.SIL = (L[4] + L[5] + L[6] + L[7]) / 4;
    r.SILd = 444 * std::exp(-0.117 * r.SIL);
    r.RC = (L[4] + L[5] + L[6]) / 3;
    if (r.RC >= 55) {
        r.RC = OUT_OF_RANGE_RATING;
        r.RCclass = "None - not R or H or N or V ";
        return r;
    }
    // The reference line lies at RC + 5 (6 - i) dB in band i (RC at 1 kHz, band 5).
    for (int i = 0; i <= 4; ++i)
        if (L[static_cast<std::size_t>(i)] > r.RC + 5 * (6 - i)) r.RCclass = "R";
    if (L[6] > r.RC - 2 || L[7] > r.RC - 7 || L[8] > r.RC - 12) r.RCclass += "H";
    if (r.RCclass.empty()) r.RCclass = "N";
    if (L[0] > 75 || L[1] > 80) r.RCclass += "V";
    return r;
}

double RateNoiseRating(const OctaveLevels& L) {
    double NR = (L[0] - NR_PAIRS[0].a) / NR_PAIRS[0].b;
    for (std::size_t i = 1; i < NR_PAIRS.size(); ++i) {
        const double band = (L[i] - NR_PAIRS[i].a) / NR_PAIRS[i].b;
        if (band > NR) NR = band;
    }
    return NR;
}

void Engine::CalculateRoomCriterion() {
    RunState& s = S();
    Log("S", "CalculateRoomCriterion");
    Log("D", " Calculate octL using Oct_S");
    RoomCriterionRating r = RateRoomCriterion(OctaveLevelsOf(s.Oct_S));
    s.SIL = r.SIL;
    s.SILd = r.SILd;
    s.RC = r.RC;
    s.RCclass = std::move(r.RCclass);
    Log("E", "CalculateRoomCriterion");
}

void Engine::CalculateNoiseRating() {
    RunState& s = S();
    Log("S", "CalculateNoiseRating");
    s.NR = RateNoiseRating(OctaveLevelsOf(s.Oct_S));
    Log("E", "CalculateNoiseRating");
}

}  // namespace oxw::engine
