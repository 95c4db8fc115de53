#include "engine/Sharpness.h"

#include <array>
#include <cmath>

#include "engine/Conversions.h"
#include "engine/HearingWork.h"

namespace oxw::engine {

namespace {

constexpr double kLeastLoudness = 0.01;  // sone
constexpr double h = EARS / 2.0;         // the specific loudness holds both ears

// Weights per grid index, each with the grid step: Zwicker-Fastl (z gZ), Aures (gA) and volume
// (8.65 + E).
struct Weights {
    std::array<double, SPECLOUD_SIZE> zgZ{}, gA{}, volume{};
    Weights() {
        for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
            const double E = e * ESTEP;
            const double z = Erb2Bark(E);
            const double gZ =
                E >= 24.5 ? -5.86183e-05 * E * E * E + 0.0209379 * E * E - 0.971707 * E + 13.1746
                          : 1.0;
            zgZ[e] = z * ESTEP * gZ;
            gA[e] = ESTEP * 0.0165 * std::exp(0.171 * z);
            volume[e] = ESTEP * (8.65 + E);
        }
    }
};

const Weights& Grid() {
    static const Weights weights;
    return weights;
}

}  // namespace

Timbre TimbreOf(const double* SpecLoud, double N) {
    Timbre t;
    if (N < kLeastLoudness) return t;
    const Weights& k = Grid();
    double SZ = 0, SA = 0, V = 0, peakValue = 0;
    int peak = 0;
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
        const double n = SpecLoud[e];
        SZ += n * k.zgZ[e];
        SA += n * k.gA[e];
        V += n * k.volume[e];
        if (n > peakValue) peakValue = n, peak = e;  // the first of equal maxima
    }
    t.SharpnessZ = 0.11 * SZ / N;
    t.SharpnessA = (0.585 * SA / h) / std::log((N / h + 20) / 20);
    // Loudness outside a window one ERB wide: two steps below the peak to one above.
    const int w = static_cast<int>(std::lround(0.5 / ESTEP));
    double T = 0;
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e)
        if (e < peak - w || e > peak + w - 1) T += SpecLoud[e] * ESTEP;
    t.TimbralWidth = (T / N) * (T / N);
    t.Volume = 347000 * std::sqrt(N / h) / std::pow((V / h) / (N / h), 4);
    return t;
}

void Engine::CalculateSharpness() {
    Log("S", "CalculateSharpness");
    for (HearingSet& set : Hearing().Sets(*this)) {
        const Timbre t = TimbreOf(set.SpecLoud->data(), *set.Loudness);
        *set.SharpnessZ = t.SharpnessZ;
        *set.SharpnessA = t.SharpnessA;
        *set.TimbralWidth = t.TimbralWidth;
        *set.Volume = t.Volume;
    }
    Log("E", "CalculateSharpness");
}

}  // namespace oxw::engine
