// Spectral and tone dissonance. The curves against their published shapes (Plomp and Levelt's
// maximum at a quarter of a critical bandwidth, with Hutchinson and Knopoff's bandwidth
// 1.72 f^0.65; Sethares's maximum at s d = ln(5.75 / 3.5) / 2.25), the ratings against direct
// pair-by-pair sums over the same partials, and whole blocks of two tones a semitone apart.
#include "SpectrumFixture.h"
#include "engine/Conversions.h"
#include "engine/DissonanceCurves.h"
#include "engine/ToneDissonance.h"
#include "numeric/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace oxw::engine {
namespace {

using namespace spectrumtest;
using namespace dissonance;

TEST(Dissonance, Curves) {
    EXPECT_NEAR(CriticalBandwidth(1000), 1.72 * std::pow(1000, 0.65), 1e-12);
    EXPECT_EQ(HKCurve(0), 0.005012466409);
    for (double x : {0.22, 0.24, 0.25, 0.26}) EXPECT_EQ(HKCurve(x), 1.0) << x;  // held at 1
    EXPECT_LT(std::max(HKCurve(0.2), HKCurve(0.28)), 1.0);
    EXPECT_LT(HKCurve(1.0), 0.05);
    EXPECT_NEAR(HKCurve(1.1999), 0.007, 0.001);  // the last value before the curve ends at 1.2
    EXPECT_EQ(HKCurve(1.2) + HKCurve(3.0), 0.0);
    // The Sethares term peaks at s d = 0.2206.
    const double peak = std::log(5.75 / 3.5) / 2.25;
    EXPECT_NEAR(peak, 0.2206, 5e-5);
    EXPECT_GT(SetharesTerm(1.0, peak), SetharesTerm(1.0, peak - 0.01));
    EXPECT_GT(SetharesTerm(1.0, peak), SetharesTerm(1.0, peak + 0.01));
    EXPECT_EQ(SetharesTerm(0.01, 0.0), 0.0);
}

// The spectral rating term by term: bin i with j = i .. n - 1.
struct Rating { double S = 0, HK = 0; };
Rating SpectralByPairs(const Compact& I, const Compact& F, int n) {
    Rating r;
    double sumA = 0, sumAAg = 0;
    for (int i = 1; i <= n; ++i) {
        const double Ai = std::sqrt(dB2I(I2dB(I[i]) - Threshold(F[i])) / 10000);
        sumA += Ai * Ai;
        const double wi = std::max(I2dB(Ai * Ai + 1E-32) / 100, 0.0);
        const double si = 0.24 / (0.0207 * F[i] + 18.96);
        for (int j = i; j <= n - 1; ++j) {
            const double Aj = std::sqrt(dB2I(I2dB(I[j]) - Threshold(F[j])) / 10000);
            const double x = std::fabs(F[i] - F[j]) / (1.72 * std::pow((F[i] + F[j]) / 2, 0.65));
            sumAAg += Ai * Aj * HKCurve(x);
            const double wj = std::max(I2dB(Aj * Aj + 1E-32) / 100, 0.0);
            const double d = F[j] - F[i];
            r.S += wi * wj * (std::exp(-3.5 * si * d) - std::exp(-5.75 * si * d));
        }
    }
    r.HK = sumA > 0 ? sumAAg / sumA : 0;
    return r;
}

TEST(SpectralDissonance, BothPassesRateTheirSetsAndLogThem) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    const auto noise = Noise(200, 1000, 7);
    for (int i = 1; i <= 121; ++i) {
        s.CompactI[i] = dB2I(30 + std::abs(noise[i]) / 20.0);  // 30..80 dB
        s.CompactINewBins[i] = dB2I(20 + std::abs(noise[i + 1]) / 15.0);
        s.DeepCompactINewBins[i] = i % 5 ? dB2I(std::abs(noise[i + 2]) / 12.0) : 0.0;
    }
    s.SpectDissS_Nordic108 = s.SpectDissHK_Nordic121 = 9;
    r.engine.CalculateSpectDiss();
    const Rating p1 = SpectralByPairs(s.CompactI, s.CompactF, 108);
    EXPECT_NEAR(s.SpectDissS, p1.S, 1e-12 * p1.S);
    EXPECT_NEAR(s.SpectDissHK, p1.HK, 1e-12 * p1.HK);
    EXPECT_GT(s.SpectDissS, 0.0);
    for (double v : {s.SpectDissS_Nordic108, s.SpectDissHK_Nordic108, s.SpectDissS_Nordic121,
                     s.SpectDissHK_Nordic121})
        EXPECT_EQ(v, 0.0);  // the first pass leaves the Nordic results 0
    using numeric::floatToStrF;
    auto line = [](const char* lead, const char* suffix, double S, double HK) {
        return std::string("CalculateSpectDiss ") + lead + " Nordic fCBW, 0.000, g, 0.005, " +
               "SpectDissS" + suffix + ", " + floatToStrF(S, 10, 3) + ", SpectDissHK" + suffix +
               ", " + floatToStrF(HK, 10, 3);
    };
    EXPECT_EQ(r.host.Lines("D").back(), line("6347", "", s.SpectDissS, s.SpectDissHK));

    r.host.texts["CurrentProcessingMode"] = "Extended";
    const double S = s.SpectDissS, HK = s.SpectDissHK;
    r.engine.CalculateSpectDiss();
    EXPECT_EQ(s.SpectDissS, S);  // the tone pass leaves the first pass's results
    EXPECT_EQ(s.SpectDissHK, HK);
    const Rating n108 = SpectralByPairs(s.CompactINewBins, s.CompactF_Nordic108, 108);
    const Rating n121 = SpectralByPairs(s.DeepCompactINewBins, s.CompactF_Nordic121, 121);
    EXPECT_NEAR(s.SpectDissS_Nordic108, n108.S, 1e-12 * n108.S);
    EXPECT_NEAR(s.SpectDissHK_Nordic108, n108.HK, 1e-12 * n108.HK);
    EXPECT_NEAR(s.SpectDissS_Nordic121, n121.S, 1e-12 * n121.S + 1e-300);
    EXPECT_NEAR(s.SpectDissHK_Nordic121, n121.HK, 1e-12 * n121.HK);
    EXPECT_EQ(r.host.Lines("D").back(),
              line("6476", "_Nordic121", s.SpectDissS_Nordic121, s.SpectDissHK_Nordic121));
    EXPECT_EQ(r.host.log.back(), (test::LogLine{"E", "CalculateSpectDiss"}));
}

// One bin takes part in no pair; two bins give only the pair of bin 1 with itself.
TEST(SpectralDissonance, OneAndTwoBins) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    s.CompactI[1] = 1e8;
    s.CompactI[2] = 1e6;
    s.DravolekSizeOfCompactSpectrum = 1;
    r.engine.CalculateSpectDiss();
    EXPECT_EQ(s.SpectDissS, 0.0);
    EXPECT_EQ(s.SpectDissHK, 0.0);
    s.DravolekSizeOfCompactSpectrum = 2;
    r.engine.CalculateSpectDiss();
    const double A1 = AmplitudeSquared(80, s.CompactF[1]), A2 = AmplitudeSquared(60, s.CompactF[2]);
    EXPECT_NEAR(s.SpectDissHK, 0.005012466409 * A1 / (A1 + A2), 1e-15);
    EXPECT_EQ(s.SpectDissS, 0.0);
}

// Two tones a quarter of a critical bandwidth apart, each at `above` dB above threshold.
struct TonePair { double f1 = 1000, f2 = 0; };
TonePair QuarterBandApart() {
    TonePair p;
    p.f2 = 1030;
    for (int k = 0; k < 50; ++k) p.f2 = p.f1 + 0.24 * CriticalBandwidth((p.f1 + p.f2) / 2);
    return p;
}

void SetTones(RunState& s, const std::vector<double>& F, const std::vector<double>& above) {
    s.NTones = static_cast<int>(F.size());
    for (std::size_t i = 0; i < F.size(); ++i) {
        s.ToneF[i + 1] = F[i];
        s.ToneL[i + 1] = Threshold(F[i]) + above[i];
    }
}

TEST(ToneDissonance, PairsOfTones) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    const TonePair q = QuarterBandApart();
    ASSERT_NEAR(PairDistance(q.f1, q.f2), 0.24, 1e-9);
    // Equal amplitude weights: the held maximum 1 for both ordered pairs, g(0) for each tone
    // with itself, half the weighted mean.
    SetTones(s, {q.f1, q.f2}, {50, 50});
    r.engine.CalculateToneDissonance();
    EXPECT_NEAR(s.DissonanceHK, 0.5 * (0.005012466409 + 1), 1e-12);
    EXPECT_NEAR(s.DissonanceHK, 0.50251, 5e-6);
    // Each 60 dB above threshold (amplitude level 20 dB, Sethares weight 20 / 20 = 1): both
    // ordered pairs, each with its first tone's scale.
    const double d = 0.2206 / SetharesScale(1000);
    SetTones(s, {1000, 1000 + d}, {60, 60});
    r.engine.CalculateToneDissonance();
    EXPECT_NEAR(s.DissonanceS,
                SetharesTerm(SetharesScale(1000), d) + SetharesTerm(SetharesScale(1000 + d), d),
                1e-12);
    // Equal frequencies: every pair at distance 0.
    SetTones(s, {700, 700}, {40, 46});
    r.engine.CalculateToneDissonance();
    const double A1 = 1, A2 = std::pow(10, 0.3);
    EXPECT_NEAR(s.DissonanceHK, 0.5 * 0.005012466409 * (A1 + A2) * (A1 + A2) / (A1 * A1 + A2 * A2),
                1e-12);
    EXPECT_EQ(s.DissonanceS, 0.0);
    // Fewer than two tones: both 0.
    for (int n : {0, 1}) {
        s.DissonanceS = s.DissonanceHK = 5;
        s.NTones = n;
        r.engine.CalculateToneDissonance();
        EXPECT_EQ(s.DissonanceS, 0.0);
        EXPECT_EQ(s.DissonanceHK, 0.0);
    }
    // Tones far apart add only their pairs with themselves; quiet tones no Sethares weight.
    SetTones(s, {200, 4000}, {30, 35});
    r.engine.CalculateToneDissonance();
    EXPECT_NEAR(s.DissonanceHK, 0.5 * 0.005012466409, 1e-15);
    EXPECT_EQ(s.DissonanceS, 0.0);
}

// Many tones, 40 Hz apart, so that most pairs lie farther apart than the curve reaches: every
// ordered pair, as the sums are written.
TEST(ToneDissonance, ManyTonesAgreeWithTheOrderedPairSums) {
    BlockReader r(SilentWav(), "Both", "Extended");
    RunState& s = r.S();
    const auto noise = Noise(61, 1000, 3);
    s.NTones_Nordic108 = 30;
    for (int i = 1; i <= 30; ++i) {
        s.ToneF_Nordic108[i] = 300 + 40 * i + noise[i] / 50.0;
        s.ToneL_Nordic108[i] = 40 + noise[i + 30] / 40.0;
    }
    double sumA = 0, sumAAg = 0, S = 0;
    for (int i = 1; i <= 30; ++i) {
        const double fi = s.ToneF_Nordic108[i];
        const double Ai = std::sqrt(dB2I(s.ToneL_Nordic108[i] - Threshold(fi)) / 10000);
        sumA += Ai * Ai;
        for (int j = 1; j <= 30; ++j) {
            const double fj = s.ToneF_Nordic108[j];
            const double Aj = std::sqrt(dB2I(s.ToneL_Nordic108[j] - Threshold(fj)) / 10000);
            sumAAg += Ai * Aj * HKCurve(PairDistance(fi, fj));
            const double wi = std::max(I2dB(Ai * Ai + 1E-32) / 20, 0.0);
            const double wj = std::max(I2dB(Aj * Aj + 1E-32) / 20, 0.0);
            S += wi * wj * SetharesTerm(SetharesScale(fi), std::fabs(fj - fi));
        }
    }
    r.engine.NordicCalculateToneDissonance();
    EXPECT_NEAR(s.DissonanceHK, 0.5 * sumAAg / sumA, 1e-12);
    EXPECT_NEAR(s.DissonanceS, S, 1e-12 * S);
    EXPECT_GT(S, 0.1);
    EXPECT_EQ(r.NewLog().back().text,
              "NordicCalculateToneDissonance DissonanceHK = " + numeric::floatToStr(s.DissonanceHK));
}

}  // namespace
}  // namespace oxw::engine
