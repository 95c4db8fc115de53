#include "engine/Masking.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "engine/Conversions.h"
#include "engine/Convert.h"
#include "engine/HearingWork.h"
#include "engine/PitchSort.h"
#include "engine/TonalComponents.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

namespace {

// 10^(dB / 20): the amplitude of a level.
double Amplitude(double dB) { return std::exp(dB * (2.302585092994046 / 20.0)); }

// A little more than the rounding of a Bark difference: lines farther than half a Bark plus this
// are certainly out; the exact test decides for the rest.
constexpr double kBarkSlack = 1e-9;

}  // namespace

const std::array<double, NCOMPS + 1>& LineBarks::For(int points) {
    if (points != points_) {
        points_ = points;
        bark_[0] = 0.0;
        for (int j = 1; j <= NCOMPS; ++j) {
            // The product j x SR is a whole number; the division by the block length is not.
            bark_[static_cast<std::size_t>(j)] =
                points > 0 ? Fq2Bark(static_cast<double>(static_cast<long long>(j) * SR) / points)
                           : std::numeric_limits<double>::quiet_NaN();
        }
    }
    return bark_;
}

double NoiseNear(const Spectrum& Intensity, const std::array<double, NCOMPS + 1>& lineBark,
                 double z, double ref) {
    // The Bark values rise with the line, so the lines near z form one run; it is found by
    // bisection and each of its lines is then tested exactly.
    const auto begin = lineBark.begin() + 1, end = lineBark.end();
    if (!(lineBark[1] <= lineBark[NCOMPS])) return 0.0;  // no block length
    const auto from = std::lower_bound(begin, end, z - 0.5 - kBarkSlack);
    const auto to = std::upper_bound(from, end, z + 0.5 + kBarkSlack);
    double sum = 0.0;
    for (auto it = from; it != to; ++it) {
        const auto j = it - lineBark.begin();
        if (std::fabs(z - *it) <= 0.5 && std::fabs(ref - static_cast<double>(j)) > 2)
            sum += Intensity[static_cast<std::size_t>(j)];
    }
    return sum;
}

void MaskingWork::Prepare(const double* F, const double* L, int n) {
    for (int j = 1; j <= n; ++j) {
        z[static_cast<std::size_t>(j)] = Fq2Bark(F[j]);
        slope[static_cast<std::size_t>(j)] = -24.0 - 0.23 / (F[j] / 1000.0) + 0.2 * L[j];
    }
}

MaskingSums MaskingWork::At(int i, int n, const double* L) const {
    MaskingSums m;
    const double zi = z[static_cast<std::size_t>(i)];
    for (int j = 1; j < i; ++j) {
        const auto k = static_cast<std::size_t>(j);
        m.lo += Amplitude(L[j] - (z[k] - zi) * slope[k]);
    }
    for (int j = i + 1; j <= n; ++j)
        m.hi += Amplitude(L[j] - 27.0 * (z[static_cast<std::size_t>(j)] - zi));
    return m;
}

double SpectralPitchWeight(double LX, double f) {
    const double r = f / 700.0 - 700.0 / f;
    return (1.0 - std::exp(-LX / 15.0)) / std::sqrt(1.0 + 0.07 * r * r);
}

double RelativePitchShift(double L, double fk, const MaskingSums& m) {
    const double LXlo = L - 20.0 * std::log10(m.lo), LXhi = L - 20.0 * std::log10(m.hi);
    const double lnf = std::log(fk);
    return 0.0002 * (L - 60.0) * (fk - 2.0) + 0.015 * std::exp(-LXlo / 20.0) * (3.0 - lnf) +
           0.03 * std::exp(-LXhi / 20.0) * (0.36 + lnf);
}

namespace {

// The masked threshold of a component and its level above it, with the terms that make it.
struct Margin {
    double masks, noise, threshold, thresholdPower, masked, LX;  // intensities and dB
};

Margin MarginOf(double f, double L, const MaskingSums& sums, double noise) {
    Margin m{};
    m.masks = (sums.lo + sums.hi) * (sums.lo + sums.hi);
    m.noise = noise;
    m.threshold = Threshold(f);
    m.thresholdPower = dB2I(m.threshold);
    m.masked = 10.0 * std::log10(m.masks + noise + m.thresholdPower);
    m.LX = L - m.masked;
    return m;
}

// The audit line of component i (levels in dB, intensities, amplitudes) into `line`.
void DescribeMargin(std::string& line, int countLine, int i, double L, const MaskingSums& sums,
                    const Margin& m) {
    using numeric::floatToStrF;
    line.assign("FindLevelsAboveMasking CountLine 7059 re LXi, ");
    line += std::to_string(countLine);
    line += ", LXi, ";
    line += floatToStrF(m.LX, 10, 3);
    line += ", index, ";
    line += std::to_string(i);
    for (const auto& [name, value] :
         {std::pair{", ToneL, ", L}, std::pair{", sumlo, ", sums.lo},
          std::pair{", sumhi, ", sums.hi}, std::pair{", (sqr..), ", m.masks},
          std::pair{", Inoise, ", m.noise}, std::pair{", Threshold, ", m.threshold},
          std::pair{", Threshold power, ", m.thresholdPower}, std::pair{", Calced, ", m.masked}}) {
        line += name;
        line += floatToStrF(value, 10, 3);
    }
}

}  // namespace

void Engine::FindLevelsAboveMasking() {
    RunState& s = S();
    Log("S", "FindLevelsAboveMasking");
    Log("D", " Calculate LX, WS, FX, V using ToneL");
    s.NTonesM = 0;
    const std::string mode = host_.GetText("CurrentProcessingMode");
    if (mode == "Standard") s.POINTS = StrToInt(host_.GetText("MusicFFTSampleSize"));
    if (mode == "Extended") s.POINTS = StrToInt(host_.GetText("QualityFFTSampleSize"));

    for (auto* a : {&s.LX, &s.WS, &s.FX, &s.V})
        if (a->size() < static_cast<std::size_t>(MAXTONES)) a->resize(MAXTONES);
    HearingWork& work = Hearing();
    MaskingWork& w = work.masking;
    const int n = ListedTones(s.NTones, {&s.ToneF, &s.ToneL, &s.ToneRef});
    const double* F = s.ToneF.data();
    const double* L = s.ToneL.data();
    w.Prepare(F, L, n);
    const auto& lineBark = w.lines.For(s.POINTS);
    for (int i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const MaskingSums sums = w.At(i, n, L);
        const Margin m =
            MarginOf(F[i], L[i], sums, NoiseNear(s.Intensity, lineBark, w.z[k], s.ToneRef[k]));
        DescribeMargin(work.text, s.CountLine, i, L[i], sums, m);
        Log("D", work.text);
        if (!(m.LX > 0)) continue;
        const auto a = static_cast<std::size_t>(++s.NTonesM);
        s.LX[a] = m.LX;
        s.WS[a] = SpectralPitchWeight(m.LX, F[i]);
        s.FX[a] = F[i];
        if (s.PitchShift) {
            s.V[a] = RelativePitchShift(L[i], F[i] / 1000.0, sums);
            s.FX[a] = (1.0 + s.V[a]) * F[i];
        }
    }
    Log("E", "FindLevelsAboveMasking");
}

void Engine::SortToneArrays(int start, int Finish) {
    RunState& s = S();
    const int last = std::min(
        Finish,
        static_cast<int>(std::min({s.WS.size(), s.LX.size(), s.FX.size(), s.V.size()})) - 1);
    struct Hooks {
        Engine& e;
        RunState& s;
        void Enter(int first, int last) {
            e.Log("S", "SortToneArrays");
            // The sort bar spans the part (and ten more); the window repaints it a few times a
            // second at most.
            e.Host().SortingDataProgress(first, last + 10, first, false);
        }
        void Swap(int a, int b) {
            for (auto* v : {&s.WS, &s.LX, &s.FX, &s.V}) {
                std::swap((*v)[static_cast<std::size_t>(a)], (*v)[static_cast<std::size_t>(b)]);
            }
            e.Host().Refresh();
        }
        void Leave() { e.Log("E", "SortToneArrays"); }
    } hooks{*this, s};
    if (start < 0 || start > last) {
        hooks.Enter(start, Finish);
        hooks.Leave();
        return;
    }
    QuickSortByWeight(s.WS, start, last, hooks);
}

}  // namespace oxw::engine
