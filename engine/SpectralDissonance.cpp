#include "engine/SpectralDissonance.h"

#include <algorithm>
#include <cmath>

#include "engine/DissonanceCurves.h"
#include "engine/HearingWork.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

using namespace dissonance;

void DissonancePairs::For(const Compact& F, int n) {
    n = std::clamp(n, 0, COMPACT_SIZE - 1);
    if (n == n_ && std::equal(F.begin() + 1, F.begin() + 1 + n, F_.begin() + 1)) return;
    n_ = n;
    F_ = F;
    curveStart_.assign(static_cast<std::size_t>(n + 2), 0);
    setharesStart_.assign(static_cast<std::size_t>(n + 2), 0);
    curve_.clear();
    sethares_.clear();
    for (int i = 1; i <= n; ++i) {
        threshold_[i] = AmplitudeSquared(0.0, F[i]);
        curveStart_[static_cast<std::size_t>(i)] = static_cast<int>(curve_.size());
        setharesStart_[static_cast<std::size_t>(i)] = static_cast<int>(sethares_.size());
        const double s = SetharesScale(F[i]);
        for (int j = i; j <= n - 1; ++j) {
            const double g = HKCurve(PairDistance(F[i], F[j]));
            if (g != 0) curve_.push_back({j, g});
            sethares_.push_back(SetharesTerm(s, F[j] - F[i]));
        }
    }
    curveStart_[static_cast<std::size_t>(n + 1)] = static_cast<int>(curve_.size());
    setharesStart_[static_cast<std::size_t>(n + 1)] = static_cast<int>(sethares_.size());
    empty_ = {};
    if (n >= 2) {
        empty_.lastX = PairDistance(F[n - 1], F[n - 1]);
        empty_.lastG = HKCurve(empty_.lastX);
    }
}

DissonanceRating DissonancePairs::Rate(const Compact& I) const {
    DissonanceRating r = empty_;
    Compact A{}, w{};
    double sumA = 0;
    for (int i = 1; i <= n_; ++i) {
        const double A2 = (I[i] > 0 ? I[i] : 1.0) * threshold_[i];
        A[i] = std::sqrt(A2);
        w[i] = SetharesWeight(A2, kSpectralSetharesFactor);
        sumA += A2;
    }
    double sumAAg = 0;
    for (int i = 1; i <= n_; ++i) {
        const auto ui = static_cast<std::size_t>(i);
        double inner = 0;
        for (int k = curveStart_[ui]; k < curveStart_[ui + 1]; ++k) {
            const Pair& p = curve_[static_cast<std::size_t>(k)];
            inner += A[p.j] * p.value;
        }
        sumAAg += A[i] * inner;
        // Bins less than 40 dB above threshold have no Sethares weight.
        if (w[i] == 0) continue;
        const double* term = sethares_.data() + setharesStart_[ui] - i;
        inner = 0;
        for (int j = i; j <= n_ - 1; ++j) inner += w[j] * term[j];
        r.S += w[i] * inner;
    }
    r.HK = sumA > 0 ? sumAAg / sumA : 0.0;
    return r;
}

void Engine::CalculateSpectDiss() {
    Log("S", "CalculateSpectDiss");
    RunState& s = S();
    const std::string mode = host_.GetText("CurrentProcessingMode");
    if (mode == "Standard") {
        s.SpectDissS = s.SpectDissHK = 0;
    }
    if (mode == "Standard" || mode == "Extended") {
        s.SpectDissS_Nordic108 = s.SpectDissHK_Nordic108 = 0;
        s.SpectDissS_Nordic121 = s.SpectDissHK_Nordic121 = 0;
    }
    HearingWork& work = Hearing();
    for (HearingSet& set : work.Sets(*this)) {
        set.pairs.For(*set.F, set.n);
        const DissonanceRating r = set.pairs.Rate(*set.CompactI);
        *set.SpectDissS = r.S;
        *set.SpectDissHK = r.HK;
        std::string& line = work.text;
        line.assign(set.spectDissLead);
        line += numeric::floatToStrF(r.lastX, 10, 3);
        line += ", g, ";
        line += numeric::floatToStrF(r.lastG, 10, 3);
        line += ", SpectDissS";
        line += set.suffix;
        line += ", ";
        line += numeric::floatToStrF(r.S, 10, 3);
        line += ", SpectDissHK";
        line += set.suffix;
        line += ", ";
        line += numeric::floatToStrF(r.HK, 10, 3);
        Log("D", line);
    }
    Log("E", "CalculateSpectDiss");
}

}  // namespace oxw::engine
