#pragma once
// What key and chord finding share: the note names of their texts and the Pearson correlation of
// a chroma salience vector (entries 0..11, chroma 0 = A) with a 12-value profile (value j lies j
// semitones above the profile's reference note) over the profile's 12 transpositions.
#include <array>

namespace oxw::engine {

using Chroma = std::array<double, 13>;  // entries 0..11 are read; entry 12 never is
using ChromaProfile = std::array<double, 12>;

// "A ", "B flat ", "B ", "C ", "D flat ", "D ", "E flat ", "E ", "F ", "F sharp ", "G ",
// "A flat " by semitones above A (0..11); each ends in a blank.
const char* NoteName(int semitones);

// Sum and sum of squares of 12 values.
struct ProfileSums {
    double sum = 0, sum2 = 0;
};
ProfileSums SumsOf(const double* v);

// The best correlation above `floor` of the chroma (sums x) with the profile (sums y) over the
// transpositions t = 0..11, the profile's value j falling on chroma (j + t) mod 12; a later
// transposition wins only when it correlates better. No transposition qualifies when either side
// is constant: then t is -1 and r stays `floor`.
struct TranspositionFit {
    double r = 0;
    int t = -1;
};
TranspositionFit BestTransposition(const ChromaProfile& profile, ProfileSums y,
                                   const Chroma& chroma, ProfileSums x, double floor);

}  // namespace oxw::engine
