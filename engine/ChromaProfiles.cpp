#include "engine/ChromaProfiles.h"

#include <cmath>

namespace oxw::engine {

const char* NoteName(int semitones) {
    static constexpr std::array<const char*, 12> kNames = {"A ", "B flat ", "B ", "C ", "D flat ",
                                                           "D ", "E flat ", "E ", "F ", "F sharp ",
                                                           "G ", "A flat "};
    return semitones >= 0 && semitones < 12 ? kNames[static_cast<std::size_t>(semitones)] : "";
}

ProfileSums SumsOf(const double* v) {
    ProfileSums s;
    for (int j = 0; j < 12; ++j) {
        s.sum += v[j];
        s.sum2 += v[j] * v[j];
    }
    return s;
}

TranspositionFit BestTransposition(const ChromaProfile& profile, ProfileSums y,
                                   const Chroma& chroma, ProfileSums x, double floor) {
    TranspositionFit best{floor, -1};
    const double SSx = x.sum2 - x.sum * x.sum / 12;
    const double SSy = y.sum2 - y.sum * y.sum / 12;
    if (!(SSx * SSy > 0)) return best;
    const double scale = std::sqrt(SSx * SSy);
    for (int t = 0; t < 12; ++t) {
        double SUMxy = 0;
        for (int j = 0; j < 12; ++j)
            SUMxy += profile[static_cast<std::size_t>(j)] *
                     chroma[static_cast<std::size_t>((j + t) % 12)];
        const double r = (SUMxy - x.sum * y.sum / 12) / scale;
        if (r > best.r) best = {r, t};
    }
    return best;
}

}  // namespace oxw::engine
