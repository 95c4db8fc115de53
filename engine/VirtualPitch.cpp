#include "engine/VirtualPitch.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "engine/Engine.h"
#include "engine/HearingWork.h"
#include "engine/PitchSort.h"
#include "engine/TonalComponents.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

namespace {

constexpr double kHarmonicTolerance = 0.08;  // delta: the largest relative mistuning
constexpr double kHighestHarmonic = 20;
constexpr double kVirtualPitchLimit = 500.0;  // Hz
constexpr std::size_t kPatternSize = static_cast<std::size_t>(MAXTONES) * MMAX;

template <class T>
void MakeRoom(std::vector<T>& v, std::size_t size) {
    if (v.size() < size) v.resize(size);
}

// The audit line of the spectral pitch just appended (weight ws before halving).
void DescribeSpectralPitch(std::string& line, const RunState& s, double ws) {
    using numeric::floatToStrF;
    const auto k = static_cast<std::size_t>(s.PitchCount);
    line.assign("MakeCompoundPitchPattern CompoundPitch, ");
    line += std::to_string(s.CountLine);
    line += " , ";
    line += std::to_string(s.PitchCount);
    line += ", ";
    line += floatToStrF(s.CompoundPitch[k], 15, 6);
    line += " CompoundWeight , ";
    line += floatToStrF(s.CompoundWeight[k], 15, 6);
    line += " WS , ";
    line += floatToStrF(ws, 15, 6);
}

// The audit line of pattern entry k in the dump of line 5.
void DescribePatternEntry(std::string& line, const RunState& s, int k) {
    line.assign("MakeCompoundPitchPattern CountLine, index, CompoundWeight  ");
    line += std::to_string(s.CountLine);
    line += ' ';
    line += std::to_string(k);
    line += ' ';
    line += numeric::floatToStrF(s.CompoundWeight[static_cast<std::size_t>(k)], 15, 6);
}

}  // namespace

int BaseCount(const double* WS, int n) {
    if (n < 1) return 0;
    int k = 1;
    while (k < n && !(WS[k] < 0.7 * WS[1])) ++k;
    return k;
}

double Coincidence(int i, int m, const double* WS, const double* FX, int n) {
    double W = 0.0;
    const double fi = FX[i];
    for (int j = 1; j <= n; ++j) {
        if (j == i) continue;
        // The harmonic of fi / m nearest to component j (as a real: a far component cannot
        // overflow an integer).
        const double h = std::trunc(m * FX[j] / fi + 0.5);
        const double gamma = std::fabs(h * fi / (m * FX[j]) - 1.0);
        if (gamma <= kHarmonicTolerance && h <= kHighestHarmonic)
            W += std::sqrt(WS[i] * WS[j] / (m * h)) * (1.0 - gamma / kHarmonicTolerance);
    }
    return W;
}

double VirtualPitchOf(double FX, double V, int m, bool pitchShift) {
    const double p = FX / m;
    if (!pitchShift) return p;
    const double P = p / 1000.0;
    const double subharmonic = m > 1 ? 18.0 + 2.5 * m - (50.0 - 7.0 * m) * P + 0.1 / (P * P) : 0.0;
    return p * (1.0 + V - 0.001 * subharmonic);
}

void Engine::FindVirtualPitches() {
    RunState& s = S();
    Log("S", "FindVirtualPitches");
    Log("D", " Calculate VPitch VW using FX");
    const int n = ListedTones(s.NTonesM, {&s.WS, &s.FX, &s.V});
    s.MaxPitches = BaseCount(s.WS.data(), n);
    std::string& line = Hearing().text;
    line.assign("FindVirtualPitches after repeat, MaxPitches = ");
    line += std::to_string(s.MaxPitches);
    Log("D", line);
    MakeRoom(s.VPitch, MAXTONES + 1);
    MakeRoom(s.VW, MAXTONES + 1);
    for (int i = 1; i <= s.MaxPitches; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double height = s.FX[k] / 1000.0 / 0.8;
        for (int m = 1; m <= MMAX; ++m) {
            const double W = Coincidence(i, m, s.WS.data(), s.FX.data(), n);
            s.VPitch[k][static_cast<std::size_t>(m)] =
                VirtualPitchOf(s.FX[k], s.V[k], m, s.PitchShift);
            const double x = height / m, x2 = x * x;
            s.VW[k][static_cast<std::size_t>(m)] = W / (1.0 + x2 * x2);
        }
    }
    Log("E", "FindVirtualPitches");
}

void Engine::MakeCompoundPitchPattern() {
    RunState& s = S();
    Log("S", "MakeCompoundPitchPattern");
    Log("D", " Calculate CompoundPitch using FX, CompoundWeight using WS, CompoundSv");
    for (auto* v : {&s.CompoundPitch, &s.CompoundWeight, &s.Salience}) MakeRoom(*v, kPatternSize);
    MakeRoom(s.Compoundsv, kPatternSize);
    s.PitchCount = 0;
    const int full = static_cast<int>(kPatternSize) - 1;
    auto append = [&s](double pitch, double weight, char kind) {
        const auto k = static_cast<std::size_t>(++s.PitchCount);
        s.CompoundPitch[k] = pitch;
        s.CompoundWeight[k] = weight;
        s.Compoundsv[k] = kind;
    };
    std::string& line = Hearing().text;
    const int n = ListedTones(s.NTonesM, {&s.WS, &s.FX});
    for (int i = 1; i <= n && s.PitchCount < full; ++i) {
        const double ws = s.WS[static_cast<std::size_t>(i)];
        if (!(ws >= MINWEIGHT / SPWEIGHT)) continue;
        append(s.FX[static_cast<std::size_t>(i)], ws * SPWEIGHT, 's');
        DescribeSpectralPitch(line, s, ws);
        Log("D", line);
    }
    const int bases =
        std::min(s.MaxPitches, static_cast<int>(std::min(s.VPitch.size(), s.VW.size())) - 1);
    for (int i = 1; i <= bases; ++i) {
        for (int m = 1; m <= MMAX && s.PitchCount < full; ++m) {
            const double pitch = s.VPitch[static_cast<std::size_t>(i)][static_cast<std::size_t>(m)];
            const double weight = s.VW[static_cast<std::size_t>(i)][static_cast<std::size_t>(m)];
            // A pitch shift can carry a far subharmonic of a low base to 0 Hz or below: no pitch.
            if (weight >= MINWEIGHT && pitch < kVirtualPitchLimit && pitch > 0)
                append(pitch, weight, 'v');
        }
    }
    if (s.CountLine == 5) {
        for (int k = 1; k <= s.PitchCount; ++k) {
            DescribePatternEntry(line, s, k);
            Log("D", line);
        }
    }
    s.DisplayPitchCount = std::to_string(s.PitchCount);
    Log("E", "MakeCompoundPitchPattern");
}

void Engine::SortPitchPattern(int start, int Finish) {
    RunState& s = S();
    const int last =
        std::min(Finish, static_cast<int>(std::min({s.CompoundWeight.size(), s.CompoundPitch.size(),
                                                    s.Compoundsv.size()})) -
                             1);
    struct Hooks {
        Engine& e;
        RunState& s;
        void Enter(int, int) { e.Log("S", "SortPitchPattern"); }
        void Swap(int a, int b) {
            const auto i = static_cast<std::size_t>(a), j = static_cast<std::size_t>(b);
            std::swap(s.CompoundWeight[i], s.CompoundWeight[j]);
            std::swap(s.CompoundPitch[i], s.CompoundPitch[j]);
            std::swap(s.Compoundsv[i], s.Compoundsv[j]);
        }
        void Leave() { e.Log("E", "SortPitchPattern"); }
    } hooks{*this, s};
    if (start < 0 || start > last) {
        hooks.Enter(start, Finish);
        hooks.Leave();
        return;
    }
    QuickSortByWeight(s.CompoundWeight, start, last, hooks);
}

void Engine::NoPitches() {
    RunState& s = S();
    Log("S", "NoPitches");
    Log("D", " Initialise ChromaSalience, PitchSalience");
    s.PureTonalness = 0;
    s.ComplexTonalness = 0;
    s.Multiplicity = 0;
    std::fill(s.ChromaSalience.begin(), s.ChromaSalience.begin() + 12, 0.0);
    for (std::size_t k = 0; k < 88 && k < s.PitchSalience.size(); ++k) s.PitchSalience[k] = 0;
    Log("E", "NoPitches");
}

}  // namespace oxw::engine
