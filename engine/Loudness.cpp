#include "engine/Loudness.h"

#include <cmath>

#include "engine/Conversions.h"
#include "engine/HearingWork.h"

namespace oxw::engine {

LoudnessParameters LoudnessParametersAt(double f) {
    LoudnessParameters p{2.31, 1.0, 4.62, 0.2};
    if (f < 500) {
        p.Ethrq = dB2I(-0.004500239673 * f + 3.666468615 + 1272.362339 / f);
        p.G = 2.31 / p.Ethrq;
        const double GdB = I2dB(p.G), GdB2 = GdB * GdB, GdB3 = GdB2 * GdB;
        p.A = -0.000103703703 * GdB3 - 0.000603174603 * GdB2 - 0.121375661 * GdB + 4.58825396;
        p.alpha = 1.346860977e-23 * GdB3 + 2.571428571e-05 * GdB2 - 0.002071428571 * GdB +
                  0.1997142857;
    }
    return p;
}

namespace {

constexpr double C = 0.047;

// The parameters of every grid point, with A^alpha.
struct Parameters {
    struct Point : LoudnessParameters {
        double Aalpha = 0;
    };
    std::array<Point, SPECLOUD_SIZE> at{};
    Parameters() {
        for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
            at[e] = {LoudnessParametersAt(ErbGridHz(e))};
            at[e].Aalpha = std::pow(at[e].A, at[e].alpha);
        }
    }
};

const Parameters& Grid() {
    static const Parameters grid;
    return grid;
}

}  // namespace

double SpecificLoudness(int e, double Es) {
    const Parameters::Point& p = Grid().at[static_cast<std::size_t>(e)];
    // Above 100 dB (1e10) the square-root law; the level test is made on the level itself.
    if (Es > 9.9e9 && I2dB(Es) > 100) return EARS * C * std::sqrt(Es / 1040000);
    const double N = C * (std::pow(p.G * Es + p.A, p.alpha) - p.Aalpha);
    if (Es < p.Ethrq) return EARS * std::pow(2 * Es / (Es + p.Ethrq), 1.5) * N;
    return EARS * N;
}

double LoudnessOf(const ErbPattern& Esig, double* SpecLoud) {
    double N = 0;
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
        SpecLoud[e] = SpecificLoudness(e, Esig[static_cast<std::size_t>(e)]);
        N += SpecLoud[e] * ESTEP;
    }
    return N >= 1079 ? kLoudnessOutOfRange : N;
}

void Engine::CalculateLoudness() {
    Log("S", "CalculateLoudness");
    Log("D", " Calculate SpecLoud using Esig");
    for (HearingSet& set : Hearing().Sets(*this)) {
        *set.Loudness = LoudnessOf(*set.Esig, set.SpecLoud->data());
        if (*set.Nmax_T < *set.Loudness) *set.Nmax_T = *set.Loudness;
    }
    Log("E", "CalculateLoudness");
}

}  // namespace oxw::engine
