#include "engine/KeyFinding.h"

#include <string>

#include "engine/Engine.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

namespace {

constexpr ChromaProfile kMajorProfile = {11.5, 0.2, 3.7, 0.5, 4.5, 3.9,
                                         0.1,  8.3, 0.5, 3.7, 0.7, 1.7};
constexpr ChromaProfile kMinorProfile = {9.6, 1.1, 2.8, 7.1, 0.8, 4.3,
                                         0.0, 9.4, 5.6, 0.3, 1.3, 2.1};
constexpr ProfileSums kMajorSums{39.3, 267.91};
constexpr ProfileSums kMinorSums{44.4, 296.66};
constexpr int kMinor = -3;

}  // namespace

KeyFit BestKey(const Chroma& chromata) {
    KeyFit key;
    key.sums = SumsOf(chromata.data());
    // Every call starts from its own sums and from r = 0; major keys count from the first line.
    const TranspositionFit major =
        BestTransposition(kMajorProfile, kMajorSums, chromata, key.sums, 0.0);
    const TranspositionFit minor =
        BestTransposition(kMinorProfile, kMinorSums, chromata, key.sums, major.r);
    if (minor.t >= 0) {
        key.tonic = minor.t, key.Mm = kMinor, key.r = minor.r;
    } else if (major.t >= 0) {
        key.tonic = major.t, key.Mm = 0, key.r = major.r;
    }
    return key;
}

void Engine::FindKey(const std::array<double, 13>& chromata, std::string& key, double& R2,
                     int& tonic, int& Mm) {
    using numeric::floatToStrF;
    Log("S", "FindKey");
    Log("S", "FindKey");
    for (int i = 0; i < 12; ++i) {
        Log("S", "D FindKey index " + std::to_string(i) + " chromata " +
                     floatToStrF(chromata[static_cast<std::size_t>(i)], 15, 6));
    }
    const KeyFit fit = BestKey(chromata);
    Log("S", "D FindKey SUMx, SUMx2 " + floatToStrF(fit.sums.sum, 15, 6) + " " +
                 floatToStrF(fit.sums.sum2, 15, 6));
    // A vector that no profile correlates with positively (a constant one, all zeros among
    // them) has no key: an empty text, R^2 0, no tonic and no mode.
    tonic = fit.tonic;
    Mm = fit.Mm;
    R2 = fit.r * fit.r;
    key.clear();
    if (fit.tonic != NO_TONIC)
        key.append(NoteName(fit.tonic)).append(fit.Mm == 0 ? " major" : " minor");
    Log("E", "FindKey");
}

}  // namespace oxw::engine
