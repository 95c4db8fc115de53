// The pitch model of a block: masking and the levels above it, the sorts, virtual pitches and the
// compound pattern, tonalness and the chroma and key tallies. References: Terhardt's masking
// slopes worked by hand (a 60 dB masker at 1 kHz reaches 60 - 12.23 = 47.77 dB one Bark up and
// 60 - 27 = 33 dB one Bark down), the threshold in quiet at 1 kHz (3.369 dB), and the missing
// fundamental of 600, 800, 1000 and 1200 Hz worked through the model apart from the program
// (virtual pitch 200 Hz from the bases 600 / 3, 800 / 4 and 1000 / 5, weights 0.598, 0.507,
// 0.448).
#include "engine/Conversions.h"
#include "engine/Engine.h"
#include "engine/Masking.h"
#include "engine/VirtualPitch.h"
#include "numeric/NumberFormat.h"
#include "support/EngineRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace oxw::engine {
namespace {

struct Tone { double f, L; };

// An engine after the run reset, with a tone list (levels in dB) and no noise in the spectrum.
struct PitchRig : test::EngineRig<> {
    explicit PitchRig(std::initializer_list<Tone> tones, bool shift = false) {
        RunState& s = e.S();
        s.PitchShift = shift;
        s.NTones = 0;
        for (const Tone& t : tones) {
            ++s.NTones;
            s.ToneF[s.NTones] = t.f;
            s.ToneL[s.NTones] = t.L;
            s.ToneRef[s.NTones] = std::round(t.f * 4096 / 44100);
        }
        host.log.clear();
    }
    RunState& S() { return e.S(); }
    // The driver's pitch branch up to the sorted pattern.
    void Pattern() {
        RunState& s = e.S();
        e.FindLevelsAboveMasking();
        if (s.NTonesM > 1) e.SortToneArrays(1, s.NTonesM);
        e.FindVirtualPitches();
        e.MakeCompoundPitchPattern();
        if (s.PitchCount > 1) e.SortPitchPattern(1, std::stoi(s.DisplayPitchCount));
    }
};

// The frequency whose Bark value is z (bisection).
double BarkToHz(double z) {
    double lo = 20, hi = 20000;
    for (int k = 0; k < 200; ++k) (Fq2Bark((lo + hi) / 2) < z ? lo : hi) = (lo + hi) / 2;
    return (lo + hi) / 2;
}

TEST(Masking, HandWorkedCases) {
    // A lone 60 dB component at 1 kHz: only the threshold in quiet masks it.
    PitchRig lone({{1000, 60}});
    RunState& s = lone.S();
    s.V.assign(MAXTONES, 123.0);
    lone.e.FindLevelsAboveMasking();
    ASSERT_EQ(s.NTonesM, 1);
    EXPECT_NEAR(s.LX[1], 60 - 3.369, 0.001);
    const double height = 1.0 / std::sqrt(1 + 0.07 * std::pow(1000.0 / 700 - 0.7, 2));
    EXPECT_NEAR(s.WS[1], (1 - std::exp(-s.LX[1] / 15)) * height, 1e-12);
    EXPECT_EQ(s.FX[1], 1000.0);  // no pitch shift: the frequency itself, V untouched
    EXPECT_EQ(s.V[1], 123.0);
    EXPECT_EQ(lone.host.Lines("D").back(),
              "FindLevelsAboveMasking CountLine 7059 re LXi, 0, LXi, 56.631, index, 1, ToneL, "
              "60.000, sumlo, 0.000, sumhi, 0.000, (sqr..), 0.000, Inoise, 0.000, Threshold, "
              "3.369, Threshold power, 2.172, Calced, 3.369");

    // The masker at 1 kHz, 60 dB, one Bark below and one Bark above the masked component.
    const double z = Fq2Bark(1000);
    for (const auto& c : {std::pair{BarkToHz(z + 1), 47.77}, std::pair{BarkToHz(z - 1), 33.0}}) {
        const bool above = c.first > 1000;
        const double F[] = {0, std::min(1000.0, c.first), std::max(1000.0, c.first)};
        const double L[] = {0, 60, 60};
        MaskingWork m;
        m.Prepare(F, L, 2);
        const MaskingSums sums = m.At(above ? 2 : 1, 2, L);
        EXPECT_NEAR(20 * std::log10((above ? sums.lo : sums.hi) - 1e-10), c.second, 1e-6)
            << c.first;
        EXPECT_EQ(above ? sums.hi : sums.lo, 1e-10);
    }
    // The frequency factor of the weight is 1 at 700 Hz.
    EXPECT_EQ(SpectralPitchWeight(20, 700), 1 - std::exp(-20.0 / 15));
}

TEST(Masking, NoiseWithinHalfABark) {
    Spectrum I{};
    LineBarks lines;
    const auto& bark = lines.For(4096);
    EXPECT_EQ(bark[100], Fq2Bark(100.0 * 44100 / 4096));
    for (int j = 1; j <= NCOMPS; ++j) I[j] = 1.0;
    // The component's own line and two on each side never count, however loud.
    for (int j = 98; j <= 102; ++j) I[j] = 1e9;
    const double z = bark[100];
    int near = 0;
    for (int j = 1; j <= NCOMPS; ++j)
        near += std::fabs(z - bark[j]) <= 0.5 && std::abs(j - 100) > 2;
    EXPECT_EQ(NoiseNear(I, bark, z, 100), near);
    EXPECT_GT(near, 5);
    // A line exactly half a Bark away counts; the next one out does not.
    int edge = 0;
    for (int j = 101; j <= NCOMPS && !edge; ++j)
        if (std::fabs((bark[j] - 0.5) - bark[j]) == 0.5) edge = j;
    ASSERT_GT(edge, 0);
    Spectrum one{};
    one[edge] = 1;
    one[edge + 1] = 1000;
    EXPECT_EQ(NoiseNear(one, bark, bark[edge] - 0.5, 0), 1.0);
    EXPECT_EQ(NoiseNear(one, lines.For(0), 5.0, 0), 0.0);  // no block length: no lines
}

// Both sorts put their key in descending order and carry the other arrays along; the sort bar
// spans 1 .. n + 10 and stays hidden.
TEST(PitchSorts, DescendingWithTheOtherArraysCarried) {
    std::mt19937 random(7);
    for (int n : {1, 2, 17, 200}) {
        SCOPED_TRACE(n);
        test::EngineRig<> r;
        RunState& s = r.e.S();
        for (auto* v : {&s.WS, &s.LX, &s.FX, &s.V}) v->assign(MAXTONES, 0.0);
        s.CompoundWeight.assign(300, 0);
        s.CompoundPitch.assign(300, 0);
        s.Compoundsv.assign(300, 0);
        for (int k = 1; k <= n; ++k) {
            s.WS[k] = s.CompoundWeight[k] = std::uniform_int_distribution<>(0, 9)(random) / 10.0;
            s.LX[k] = s.FX[k] = s.CompoundPitch[k] = k;
            s.V[k] = -k;
            s.Compoundsv[k] = static_cast<char>('a' + k % 26);
        }
        const std::vector<double> weights(s.WS.begin() + 1, s.WS.begin() + n + 1);
        r.e.SortToneArrays(1, n);
        r.e.SortPitchPattern(1, n);
        std::vector<double> sorted = weights;
        std::sort(sorted.rbegin(), sorted.rend());
        for (int k = 1; k <= n; ++k) {
            const int was = static_cast<int>(s.LX[k]), pitch = static_cast<int>(s.CompoundPitch[k]);
            EXPECT_EQ(s.WS[k], sorted[k - 1]);
            EXPECT_EQ(s.CompoundWeight[k], sorted[k - 1]);
            EXPECT_EQ(weights[was - 1], s.WS[k]);
            EXPECT_EQ(std::tuple(s.FX[k], s.V[k]), std::tuple(was, -was));
            EXPECT_EQ(weights[pitch - 1], s.CompoundWeight[k]);
            EXPECT_EQ(s.Compoundsv[k], 'a' + pitch % 26);
        }
        EXPECT_EQ(r.host.Count("E", "SortPitchPattern"), r.host.Count("S", "SortPitchPattern"));
        ASSERT_FALSE(r.host.sortBar.empty());
        EXPECT_EQ(r.host.sortBar.front().maximum, n + 10);
        EXPECT_FALSE(r.host.sortBar.front().visible);
    }
}

// The missing fundamental: four harmonics of 200 Hz at 60 dB, no noise.
TEST(VirtualPitch, MissingFundamental) {
    for (bool shift : {false, true}) {
        SCOPED_TRACE(shift);
        PitchRig r({{600, 60}, {800, 60}, {1000, 60}, {1200, 60}}, shift);
        r.Pattern();
        const RunState& s = r.S();
        ASSERT_EQ(s.NTonesM, 4);
        EXPECT_NEAR(s.WS[1], 0.935, 0.002);  // 600 Hz, the least masked
        EXPECT_EQ(s.MaxPitches, 3);
        EXPECT_EQ(s.DisplayPitchCount, std::to_string(s.PitchCount));
        std::vector<int> virtuals;
        for (int k = 1; k <= s.PitchCount; ++k)
            if (s.Compoundsv[k] == 'v') virtuals.push_back(k);
        ASSERT_GE(virtuals.size(), 3u);
        const double weights[] = {0.598, 0.507, 0.448};
        for (int k = 0; k < 3; ++k) {
            const double pitch = s.CompoundPitch[virtuals[k]];
            if (!shift) {
                EXPECT_EQ(pitch, 200.0) << k;
                EXPECT_NEAR(s.CompoundWeight[virtuals[k]], weights[k], 0.01 * weights[k]) << k;
            } else {
                EXPECT_TRUE(pitch >= 195 && pitch <= 203) << pitch;
            }
        }
        for (int k = 1; k <= s.PitchCount; ++k) {
            EXPECT_GE(s.CompoundWeight[k], MINWEIGHT);
            if (k > 1) { EXPECT_GE(s.CompoundWeight[k - 1], s.CompoundWeight[k]); }
            if (s.Compoundsv[k] == 'v') { EXPECT_LT(s.CompoundPitch[k], 500.0); }  // 600 / 1 is out
        }
        // Spectral pitches at half their weight: all four components weigh 0.2 or more.
        EXPECT_EQ(
            std::count(s.Compoundsv.begin() + 1, s.Compoundsv.begin() + s.PitchCount + 1, 's'), 4);
    }
}

TEST(VirtualPitch, Coincidences) {
    const double WS[] = {0, 0.9, 0.6};
    // Component 2 on harmonic h of base 1 (300 Hz) at m = 1, mistuned by the factor 1 + gamma:
    // sqrt(0.9 x 0.6 / h) (1 - gamma / 0.08); harmonic 20 is the last that counts.
    const struct { double h, gamma, want; } cases[] = {
        {2, 0, std::sqrt(0.54 / 2)},           {2, 0.04, std::sqrt(0.54 / 2) / 2},
        {20, 0, std::sqrt(0.54 / 20)},         {21, 0, 0},
        {40, 0, 0},                            {2, 0.081, 0},
        {1.0 / 3, 0, 0},  // nearest harmonic 0
    };
    for (const auto& c : cases) {
        const double F[] = {0, 300, c.h * 300 / (1 + c.gamma)};
        EXPECT_NEAR(Coincidence(1, 1, WS, F, 2), c.want, 1e-12) << c.h << " " << c.gamma;
    }
    EXPECT_EQ(VirtualPitchOf(600, 0.01, 3, false), 200.0);
    EXPECT_EQ(VirtualPitchOf(600, 0.01, 1, true), 600 * 1.01);  // m = 1: the base's own shift
    // Bases down to the first weight below 70 % of the strongest, that one included.
    const double bases[] = {0, 1.0, 0.7, 0.6999, 0.2};
    EXPECT_EQ(BaseCount(bases, 4), 3);
    EXPECT_EQ(BaseCount(bases, 2), 2);
    EXPECT_EQ(BaseCount(bases, 1), 1);

    // One audible component: no virtual weight, the pattern is its spectral pitch at half weight.
    PitchRig one({{440, 60}});
    one.Pattern();
    const RunState& s = one.S();
    ASSERT_EQ(s.MaxPitches, 1);
    for (int m = 1; m <= MMAX; ++m) EXPECT_EQ(s.VW[1][m], 0.0);
    ASSERT_EQ(s.PitchCount, 1);
    EXPECT_EQ(s.Compoundsv[1], 's');
    EXPECT_EQ(s.CompoundWeight[1], s.WS[1] * 0.5);
    EXPECT_EQ(s.DisplayPitchCount, "1");

    // Terhardt's shift carries the twelfth subharmonic of a 100 Hz base below 0 Hz (8.33 Hz
    // shifted by -0.001 (18 + 30 + 34 P + 0.1 / P^2), P in kHz): no pitch to enter.
    const double below = VirtualPitchOf(100, 0, 12, true);
    EXPECT_LT(below, 0.0);
    RunState& t = one.S();
    t.NTonesM = 0, t.MaxPitches = 1;
    t.VPitch[1].fill(1000);  // above the limit of 500 Hz
    t.VPitch[1][11] = 100;
    t.VPitch[1][12] = below;
    t.VW[1].fill(0.3);
    one.e.MakeCompoundPitchPattern();
    ASSERT_EQ(t.PitchCount, 1);
    EXPECT_EQ(t.CompoundPitch[1], 100.0);
}

TEST(VirtualPitch, PatternLogAndNoPitches) {
    PitchRig r({{600, 60}, {800, 60}, {1000, 60}, {1200, 60}});
    RunState& s = r.S();
    s.CountLine = 5;
    r.Pattern();
    // Line 5 dumps the pattern (before its sort) in every block.
    EXPECT_EQ(r.host.Count("D", "MakeCompoundPitchPattern CompoundPitch, 5 , 1, 600.000000 "
                                "CompoundWeight , " + numeric::floatToStrF(s.WS[1] / 2, 15, 6) +
                                " WS , " + numeric::floatToStrF(s.WS[1], 15, 6)), 1);
    s.ChromaSalience.fill(1.0);
    s.PitchSalience.assign(88, 1.0);
    s.PureTonalness = s.ComplexTonalness = s.Multiplicity = 1;
    r.e.NoPitches();
    EXPECT_EQ(std::count(s.ChromaSalience.begin(), s.ChromaSalience.end(), 0.0), 12);
    EXPECT_EQ(s.ChromaSalience[12], 1.0);  // never used, left as it is
    EXPECT_EQ(std::count(s.PitchSalience.begin(), s.PitchSalience.end(), 0.0), 88);
    EXPECT_EQ(s.PureTonalness + s.ComplexTonalness + s.Multiplicity, 0.0);
}

// One pattern entry of weight 0.4 at f Hz: the tonalness measures, then the chroma and key tallies
// (chroma index c and key k with their shares of the salience 1).
TEST(Tonalness, SingleEntryTallies) {
    struct Share { int index; double share; };
    struct Case { const char* name; double f, aTune; std::vector<Share> chroma, keys; };
    const double up30 = 440 * std::pow(2, 0.3 / 12), down30 = 440 * std::pow(2, -0.3 / 12);
    const double c8 = 440 * std::pow(2, 39 / 12.0);
    const Case cases[] = {
        {"A4", 440, 440, {{0, 1}}, {{48, 1}}},
        {"30 cents above A4", up30, 440, {{0, 0.7}, {1, 0.3}}, {{48, 0.7}, {49, 0.3}}},
        {"30 cents below A4", down30, 440, {{0, 0.7}, {11, 0.3}}, {{48, 0.7}, {47, 0.3}}},
        {"a hair above half a semitone", 440 * std::pow(2, 0.50001 / 12), 440, {{0, 0.5}, {1, 0.5}},
         {{48, 0.5}, {49, 0.5}}},
        {"10 cents above C8", c8 * std::pow(2, 0.1 / 12), 440, {{3, 0.9}, {4, 0.1}}, {{87, 0.9}}},
        {"10 cents below C8", c8 * std::pow(2, -0.1 / 12), 440, {{3, 0.9}, {2, 0.1}}, {{87, 0.9}, {86, 0.1}}},
        {"10 cents below A0", 27.5 * std::pow(2, -0.1 / 12), 440, {{0, 0.9}, {11, 0.1}}, {{0, 0.9}}},
        {"below A0: chroma only", 20, 440, {{6, 0.51}, {7, 0.49}}, {}},
        {"A at 415 Hz", 415, 415, {{0, 1}}, {{48, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::EngineRig<> r;
        RunState& s = r.e.S();
        s.ATune = c.aTune;
        s.PitchCount = 1;
        s.CompoundPitch = {0, c.f}, s.CompoundWeight = {0, 0.4}, s.Compoundsv = {0, 's'};
        s.Salience = {0, 0};
        r.e.CalculateParncuttMeasures();
        EXPECT_DOUBLE_EQ(s.PureTonalness, 0.4 / std::sqrt(5.2));
        EXPECT_EQ(std::tuple(s.Multiplicity, s.ComplexTonalness, s.Salience[1]), std::tuple(1.0, 0.0, 1.0));
        r.e.TallyChromaAndPitch();
        std::array<double, 13> chroma{};
        std::vector<double> keys(88, 0.0);
        for (const Share& x : c.chroma) chroma[x.index] = x.share;
        for (const Share& x : c.keys) keys[x.index] = x.share;
        for (int k = 0; k < 12; ++k) EXPECT_NEAR(s.ChromaSalience[k], chroma[k], 0.005) << k;
        for (int k = 0; k < 88; ++k) EXPECT_NEAR(s.PitchSalience[k], keys[k], 0.005) << k;
    }
    // The log of the measures, after their end line.
    test::EngineRig<> r;
    RunState& s = r.e.S();
    s.PitchCount = 2;
    s.CompoundPitch = {0, 440, 220}, s.CompoundWeight = {0, 0.5, 0.62},
    s.Compoundsv = {0, 's', 'v'};
    s.Salience.assign(3, 0.0);
    r.e.CalculateParncuttMeasures();
    EXPECT_EQ(r.host.log.back().kind, "D");
    EXPECT_EQ(r.host.log.back().text,
              "CalculateParncuttMeasures ptsum, multsum, ComplexTonalness, PureTonalness, "
              "Multiplicity 0.6344, 1.12, 0.1, 0.34928498393146, 1.49666295470958");
}

}  // namespace
}  // namespace oxw::engine
