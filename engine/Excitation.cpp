#include "engine/Excitation.h"

#include <algorithm>
#include <cmath>

#include "engine/Conversions.h"
#include "engine/Engine.h"
#include "engine/ExactExp.h"
#include "engine/HearingWork.h"

namespace oxw::engine {

namespace {

constexpr double kFloor = 1e-10;          // smallest filtered intensity (-100 dB)
constexpr double kP51At1k = 30.2012922;   // filter slope p at 1 kHz
constexpr double kReferenceLevel = 51.0;  // dB at which the lower skirt keeps the upper slope
constexpr double kMinSlope = 0.1;

// Slope of the roex filter at centre frequency f: 4 f / ERB(f).
double Slope(double f) { return 4 * f / ERBandwidth(f); }

// Weight (1 + p g) e^(-p g) of a roex filter at relative distance g >= 0 and slope p.
double Roex(double pg) { return (1 + pg) * std::exp(-pg); }

struct ErbGrid {
    ErbPattern Hz{}, p51{}, lowerShift{};  // lowerShift: 0.35 p51 / p51(1 kHz) per dB
    ErbGrid() {
        for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
            Hz[e] = Erb2Fq(e * ESTEP);
            p51[e] = Slope(Hz[e]);
            lowerShift[e] = 0.35 * (p51[e] / kP51At1k);
        }
    }
};

const ErbGrid& Grid() {
    static const ErbGrid grid;
    return grid;
}

}  // namespace

double ErbGridHz(int e) { return Grid().Hz[static_cast<std::size_t>(e)]; }

void RoexFilters::For(const Compact& F, int n) {
    n = std::clamp(n, 0, COMPACT_SIZE - 1);
    if (n == n_ && std::equal(F.begin() + 1, F.begin() + 1 + n, F_.begin() + 1)) return;
    n_ = n;
    F_ = F;
    roexStart_.assign(static_cast<std::size_t>(n + 2), 0);
    roex_.clear();
    for (int c = 1; c <= n; ++c) {
        roexStart_[static_cast<std::size_t>(c)] = static_cast<int>(roex_.size());
        const double p = Slope(F[c]);
        for (int i = 1; i <= n; ++i) {
            const double g = std::fabs((F[i] - F[c]) / F[c]);
            if (g <= 2) roex_.push_back({i, Roex(p * g)});
        }
    }
    roexStart_[static_cast<std::size_t>(n + 1)] = static_cast<int>(roex_.size());

    const ErbGrid& grid = Grid();
    lowerStart_.assign(SPECLOUD_SIZE + 1, 0);
    upperStart_.assign(SPECLOUD_SIZE + 1, 0);
    lowerBin_.clear();
    lowerG_.clear();
    upper_.clear();
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
        lowerStart_[static_cast<std::size_t>(e)] = static_cast<int>(lowerBin_.size());
        upperStart_[static_cast<std::size_t>(e)] = static_cast<int>(upper_.size());
        const double f = grid.Hz[e];
        for (int i = 1; i <= n; ++i) {
            const double g = (F[i] - f) / f;
            if (g >= 2) continue;  // no lower limit: every component below the centre counts
            if (g < 0) {
                lowerBin_.push_back(i);
                lowerG_.push_back(-g);
            } else {
                upper_.push_back({i, Roex(grid.p51[e] * g)});
            }
        }
    }
    lowerStart_[SPECLOUD_LAST + 1] = static_cast<int>(lowerBin_.size());
    upperStart_[SPECLOUD_LAST + 1] = static_cast<int>(upper_.size());
    skirt_.resize(lowerBin_.size());
    skirtShare_.resize(lowerBin_.size());
}

void RoexFilters::ComponentLevels(const Compact& I, double* RoexL) const {
    for (int c = 1; c <= n_; ++c) {
        double sum = 0;
        const Tap* end = roex_.data() + roexStart_[static_cast<std::size_t>(c + 1)];
        for (const Tap* t = roex_.data() + roexStart_[static_cast<std::size_t>(c)]; t != end; ++t)
            sum += t->value * I[static_cast<std::size_t>(t->bin)];
        RoexL[c] = I2dB(std::max(sum, kFloor));
    }
}

void RoexFilters::Excitation(const Compact& I, const double* RoexL, ErbPattern& Esig) const {
    const ErbGrid& grid = Grid();
    // The lower skirts' exponents -p g of the whole pattern, their exponentials at once, then
    // each tap's share (1 + p g) e^(-p g) I, which the grid points sum in the order of their taps.
    double* skirt = skirt_.data();
    double* share = skirtShare_.data();
    const auto taps = static_cast<int>(skirt_.size());
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
        const auto ue = static_cast<std::size_t>(e);
        const double p51 = grid.p51[ue], shift = grid.lowerShift[ue];
        for (int k = lowerStart_[ue]; k < lowerStart_[ue + 1]; ++k) {
            const auto uk = static_cast<std::size_t>(k);
            const double p =
                std::max(p51 - shift * (RoexL[lowerBin_[uk]] - kReferenceLevel), kMinSlope);
            skirt[k] = -(p * lowerG_[uk]);
        }
    }
    Exp(skirt, share, skirt_.size());
    for (int k = 0; k < taps; ++k)
        share[k] = ((1 - skirt[k]) * share[k]) * I[static_cast<std::size_t>(lowerBin_[k])];
    for (int e = SPECLOUD_FIRST; e <= SPECLOUD_LAST; ++e) {
        const auto ue = static_cast<std::size_t>(e);
        double sum = 0;
        for (int k = lowerStart_[ue]; k < lowerStart_[ue + 1]; ++k) sum += share[k];
        const Tap* end = upper_.data() + upperStart_[ue + 1];
        for (const Tap* t = upper_.data() + upperStart_[ue]; t != end; ++t)
            sum += t->value * I[static_cast<std::size_t>(t->bin)];
        Esig[ue] = std::max(sum, kFloor);
    }
}

void Engine::FindRoexComponentLevels() {
    Log("S", "FindRoexComponentLevels");
    Log("D", " Calculate RoexL using Intensity");
    for (HearingSet& set : Hearing().Sets(*this)) {
        set.roex.For(*set.F, set.n);
        set.roex.ComponentLevels(*set.CompInt, set.RoexL->data());
    }
    Log("E", "FindRoexComponentLevels");
}

void Engine::FindExcitation() {
    Log("S", "FindExcitation");
    Log("D", " Calculate Esig using variable intensity");
    for (HearingSet& set : Hearing().Sets(*this)) {
        set.roex.For(*set.F, set.n);
        set.roex.Excitation(*set.CompInt, set.RoexL->data(), *set.Esig);
    }
    Log("E", "FindExcitation");
}

}  // namespace oxw::engine
