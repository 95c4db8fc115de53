#include "engine/ToneDissonance.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "engine/DissonanceCurves.h"
#include "engine/HearingWork.h"
#include "engine/TonalComponents.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

using namespace dissonance;

namespace {
constexpr double kInfinity = std::numeric_limits<double>::infinity();
}

ToneDissonanceRating RateTones(const double* F, const double* L, int n, ToneDissonanceWork& work) {
    ToneDissonanceRating r;
    n = std::min(n, MAXTONES - 1);
    if (n <= 1) return r;
    double sumA = 0, sumAAg = 0;
    for (int i = 1; i <= n; ++i) {
        const double A2 = AmplitudeSquared(L[i], F[i]);
        work.A[i] = std::sqrt(A2);
        work.w[i] = SetharesWeight(A2, kToneSetharesFactor);
        work.s[i] = SetharesScale(F[i]);
        sumA += A2;
        // The pair of a tone with itself: distance 0, no Sethares term.
        sumAAg += A2 * HKCurve(PairDistance(F[i], F[i]));
    }
    // The pairs (i, j) and (j, i) share their distance and curve value; each takes the Sethares
    // scale of its first tone.
    // A pair farther apart than 1.2 critical bandwidths at the greater frequency (the mean's
    // bandwidth is not wider) rates exactly 0 on the curve, whatever the rounding: reach[i]
    // bounds that distance from above, with room for the rounding. A frequency of 0 or below, or
    // NaN, takes the curve.
    for (int i = 1; i <= n; ++i) {
        const double bound = 1.2 * CriticalBandwidth(F[i]) * (1 + 1e-9);
        work.reach[i] = bound > 0 ? bound : kInfinity;
    }
    for (int i = 1; i <= n; ++i) {
        for (int j = i + 1; j <= n; ++j) {
            const bool far = std::fabs(F[j] - F[i]) > std::max(work.reach[i], work.reach[j]);
            const double g = far ? 0.0 : HKCurve(PairDistance(F[i], F[j]));
            sumAAg += 2 * work.A[i] * work.A[j] * g;
            const double ww = work.w[i] * work.w[j];
            if (ww == 0) continue;
            const double d = std::fabs(F[j] - F[i]);
            r.S += ww * (SetharesTerm(work.s[i], d) + SetharesTerm(work.s[j], d));
        }
    }
    r.HK = sumA > 0 ? 0.5 * sumAAg / sumA : 0.0;
    return r;
}

void Engine::RateToneList(const char* name, int count, const std::vector<double>& F,
                          const std::vector<double>& L) {
    RunState& s = S();
    Log("S", name);
    HearingWork& work = Hearing();
    const ToneDissonanceRating r =
        RateTones(F.data(), L.data(), ListedTones(count, {&F, &L}), work.tones);
    s.DissonanceS = r.S;
    s.DissonanceHK = r.HK;
    Log("E", name);
    std::string& line = work.text;
    line.assign(name);
    line += " DissonanceHK = ";
    line += numeric::floatToStr(s.DissonanceHK);
    Log("D", line);
}

void Engine::CalculateToneDissonance() {
    const RunState& s = S();
    RateToneList("CalculateToneDissonance", s.NTones, s.ToneF, s.ToneL);
}

void Engine::NordicCalculateToneDissonance() {
    const RunState& s = S();
    RateToneList("NordicCalculateToneDissonance", s.NTones_Nordic108, s.ToneF_Nordic108,
                 s.ToneL_Nordic108);
}

}  // namespace oxw::engine
