#pragma once
// Key finding: the key of a chroma salience vector (12 values, chroma 0 = A) is the major or
// minor key profile, in the transposition, with the best positive Pearson correlation (r); the
// result carries R^2. Major candidates are tried first, tonics in rising order; a later candidate
// wins only when it correlates better. The profiles are the engine's own (major 11.5, 0.2, 3.7,
// ...; minor 9.6, 1.1, 2.8, ...), with their sums kept as constants.
#include "engine/ChromaProfiles.h"
#include "engine/RunState.h"

namespace oxw::engine {

struct KeyFit {
    int tonic = NO_TONIC;  // semitones of the tonic above A; NO_TONIC when no profile correlates
    int Mm = 0;            // 0 major, -3 minor
    double r = 0;          // the correlation, 0 without a key
    ProfileSums sums;      // of the chroma vector
};
KeyFit BestKey(const Chroma& chromata);

}  // namespace oxw::engine
