// Roex component levels, excitation and loudness. Published references: the sone (ISO 532 /
// ANSI S3.4: a 1 kHz tone at 40 dB SPL in a free field is 1 sone, and every 10 dB above about
// doubles it) and the phon (ISO 226: the loudness level of a 1 kHz tone equals its level).
// Regression values ("this chain") are the model's results for the same input, held within 1 %.
// Last, the hearing steps on bad blocks (silence, full-scale square wave and noise) in both
// passes: every result is a finite number.
#include "SpectrumFixture.h"
#include "engine/Conversions.h"
#include "engine/Loudness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace oxw::engine {
namespace {

using namespace spectrumtest;

void Hearing(Engine& e) {
    e.DoTransferFunctions();
    e.FindRoexComponentLevels();
    e.FindExcitation();
    e.CalculateLoudness();
}

// CompactI[55] (1000 Hz) alone, every other bin at 1e-12, free field.
TEST(Loudness, ToneAt1kHzDoublesPer10dB) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    ASSERT_NEAR(s.CompactF[55], 1000.0, 1e-6);
    struct Row { double dB, model; };
    const Row rows[] = {{40, 1.009}, {50, 0}, {60, 4.204}, {70, 0}, {80, 16.13}};
    double previous = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dB);
        s.CompactI.fill(1e-12);
        s.CompactI[55] = dB2I(row.dB);
        Hearing(r.engine);
        if (row.model > 0) {
            EXPECT_NEAR(s.Loudness, row.model, 0.01 * row.model);
        }
        EXPECT_NEAR(Sone2Phon(s.Loudness), row.dB, 1.0);  // ISO 226
        if (row.dB == 40) { EXPECT_NEAR(s.Loudness, 1.0, 0.1); }  // ISO 532
        if (previous > 0) {
            EXPECT_GE(s.Loudness / previous, 1.9);
            EXPECT_LE(s.Loudness / previous, 2.2);
        }
        previous = s.Loudness;
    }
}

// No energy at all: every component level is held at -100 dB, every excitation at 1e-10, and
// the specific loudness is small but not zero.
TEST(Loudness, SilenceIsHeldAtTheFloors) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    s.CompInt.fill(0.0);
    r.engine.FindRoexComponentLevels();
    r.engine.FindExcitation();
    r.engine.CalculateLoudness();
    for (int c = 1; c <= 108; ++c) ASSERT_EQ(s.RoexL[c], -100.0) << c;
    for (int e = 8; e <= 156; ++e) {
        ASSERT_EQ(s.Esig[e], 1e-10) << e;
        ASSERT_GT(s.SpecLoud[e], 0.0) << e;
        ASSERT_LT(s.SpecLoud[e], 1e-6) << e;
    }
    EXPECT_GT(s.Loudness, 0.0);
    EXPECT_LT(s.Loudness, 1e-4);
}

// The lower skirt of an excitation filter follows the level of the component below its centre:
// at 51 dB it keeps the upper slope p51 = 4 f / ERB(f), above it flattens, and it is never below
// 0.1.
TEST(Loudness, LowerSkirtFollowsTheComponentLevel) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    const double p1k = 4 * 1000 / ERBandwidth(1000);
    EXPECT_NEAR(p1k, 30.2012922, 1e-6);
    const int e = 72;  // 18 ERB, about 1.38 kHz: bin 55 (1 kHz) lies below the centre
    const double f = Erb2Fq(e * 0.25), p51 = 4 * f / ERBandwidth(f), g = (1000 - f) / f;
    struct Row { double level, p; };
    const Row rows[] = {{51, p51}, {60, p51 - 0.35 * (p51 / p1k) * 9}, {200, 0.1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.level);
        s.CompInt.fill(0.0);
        s.CompInt[55] = 1e5;
        r.engine.FindRoexComponentLevels();
        std::fill(s.RoexL.begin(), s.RoexL.end(), -100.0);
        s.RoexL[55] = row.level;
        r.engine.FindExcitation();
        const double x = row.p * std::fabs(g);
        EXPECT_NEAR(s.Esig[e], 1e5 * (1 + x) * std::exp(-x), 1e-9 * s.Esig[e]);
    }
    // Above its centre a filter reaches up to twice its frequency: a component at 1 kHz counts
    // for the grid points from 500 Hz up, not below.
    EXPECT_EQ(s.Esig[8], 1e-10);
    EXPECT_GT(s.Esig[47], 1e-10);  // 11.75 ERB, 501 Hz
}

// Branches of the specific loudness: the square-root law strictly above 100 dB of excitation,
// the parameters fixed from 500 Hz up, the reduced value below the threshold excitation.
TEST(Loudness, SpecificLoudnessBranches) {
    // The excitation whose level is exactly 100 dB, and the next one up.
    double at100 = 1e10;
    while (I2dB(at100) > 100) at100 = std::nextafter(at100, 0.0);
    while (I2dB(at100) < 100) at100 = std::nextafter(at100, 1e11);
    ASSERT_EQ(I2dB(at100), 100.0);
    double above = at100;
    while (I2dB(above) <= 100) above = std::nextafter(above, 1e11);
    const int e = 100;  // 25 ERB, 3.1 kHz: fixed parameters
    EXPECT_NEAR(SpecificLoudness(e, at100),
                2 * 0.047 * (std::pow(at100 + 4.62, 0.2) - std::pow(4.62, 0.2)), 1e-9);
    EXPECT_NEAR(SpecificLoudness(e, above), 2 * 0.047 * std::sqrt(above / 1040000), 1e-9);

    const LoudnessParameters fixed = LoudnessParametersAt(500);
    EXPECT_EQ(std::tuple(fixed.Ethrq, fixed.G, fixed.A, fixed.alpha), std::tuple(2.31, 1.0, 4.62, 0.2));
    const LoudnessParameters low = LoudnessParametersAt(499.99);
    EXPECT_NEAR(I2dB(low.Ethrq), -0.004500239673 * 499.99 + 3.666468615 + 1272.362339 / 499.99,
                1e-9);
    EXPECT_NEAR(low.G, 2.31 / low.Ethrq, 1e-12);

    // Below the threshold excitation the power law is scaled by (2 E / (E + Ethrq))^1.5.
    const double N = 2 * 0.047 * (std::pow(1.0 + 4.62, 0.2) - std::pow(4.62, 0.2));
    EXPECT_NEAR(SpecificLoudness(e, 1.0), std::pow(2 / 3.31, 1.5) * N, 1e-12);
}

// Loudness of 1079 sone and more reads as the marker 9999.9, below it as it is; the line's
// running maximum keeps the largest block loudness until the line starts again.
TEST(Loudness, OutOfRangeMarkerAndLineMaximum) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    // With no excitation but at one grid point the loudness is that point's specific loudness
    // x 0.25, exactly: the excitation there that gives `sone` first (square-root law, above
    // 100 dB), searched from the law's inverse one step of the last bit at a time.
    const int e = 100;
    auto loudnessAt = [e](double Es) { return 0.25 * SpecificLoudness(e, Es); };
    auto excitationFor = [&](double sone) {
        double Es = 1040000 * std::pow(4 * sone / (2 * 0.047), 2);
        while (loudnessAt(Es) < sone) Es = std::nextafter(Es, 1e300);
        while (loudnessAt(std::nextafter(Es, 0.0)) >= sone) Es = std::nextafter(Es, 0.0);
        return Es;
    };
    const double at1079 = excitationFor(1079);
    ASSERT_EQ(loudnessAt(at1079), 1079.0);
    const struct { double Es, loudness; } rows[] = {
        {excitationFor(1000), loudnessAt(excitationFor(1000))},
        {std::nextafter(at1079, 0.0), loudnessAt(std::nextafter(at1079, 0.0))},  // just below 1079
        {at1079, 9999.9},
        {1e20, 9999.9}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Es);
        s.Nmax_T = 0;
        s.Esig.fill(0.0);
        s.Esig[e] = row.Es;
        r.engine.CalculateLoudness();
        EXPECT_EQ(s.Loudness, row.loudness);
        EXPECT_EQ(s.Nmax_T, row.loudness);
    }
    EXPECT_NEAR(rows[0].loudness, 1000, 1e-9);
    EXPECT_LT(rows[1].loudness, 1079);
    r.engine.InitialiseCompression();
    EXPECT_EQ(s.Nmax_T, 0.0);
    for (double level : {60.0, 70.0, 50.0}) {
        s.CompactI.fill(1e-12);
        s.CompactI[55] = dB2I(level);
        Hearing(r.engine);
    }
    EXPECT_NEAR(s.Nmax_T, 8.2, 0.5);  // the 70 dB block
    EXPECT_LT(s.Loudness, 3.0);       // the 50 dB block
}

// The tone pass works on both Nordic spectra, each into its own arrays, and leaves the first
// pass's results alone; the three steps log their notes.
TEST(Loudness, TonePassRatesBothNordicSpectra) {
    BlockReader r(SilentWav(), "Both", "Extended");
    RunState& s = r.S();
    s.Loudness = 7.0;
    s.CompactINewBins.fill(1e-12);
    s.CompactINewBins[55] = 1e6;  // 60 dB at 1000 Hz
    s.DeepCompactINewBins.fill(1e-12);
    s.DeepCompactINewBins[69] = 1e6;  // 60 dB at 10^(1.3 + 68 x 0.025) = 1000 Hz
    ASSERT_NEAR(s.CompactF_Nordic121[69], 1000.0, 1e-6);
    r.log0 = r.host.log.size();
    Hearing(r.engine);
    EXPECT_EQ(s.Loudness, 7.0);
    EXPECT_NEAR(s.Loudness_Nordic108, 4.204, 0.042);
    EXPECT_NEAR(s.Loudness_Nordic121, 4.204, 0.042);
    EXPECT_EQ(s.Nmax_T_Nordic108, s.Loudness_Nordic108);
    EXPECT_EQ(s.Nmax_T_Nordic121, s.Loudness_Nordic121);
    EXPECT_EQ(r.host.Count("D", " Calculate Esig using variable intensity"), 1);
}

// The hearing steps of a block one after the other, in either pass.
void Steps(Engine& e) {
    e.CalculateSpectDiss();
    Hearing(e);
    e.CalculateSharpness();
    e.ExtractTonalComponents();
    e.CalculateToneDissonance();
}

void ExpectFiniteResults(const RunState& s) {
    auto finite = [](const auto& values, int first, int last, const char* name) {
        for (int i = first; i <= last; ++i)
            ASSERT_TRUE(std::isfinite(values[static_cast<std::size_t>(i)])) << name << i;
    };
    finite(s.CompL, 1, 108, "CompL");
    finite(s.CompInt, 1, 108, "CompInt");
    finite(s.RoexL, 1, 108, "RoexL");
    finite(s.Esig, 8, 156, "Esig");
    finite(s.SpecLoud, 8, 156, "SpecLoud");
    finite(s.ToneF, 1, s.NTones, "ToneF");
    finite(s.ToneL, 1, s.NTones, "ToneL");
    const double results[] = {
        s.Loudness, s.SharpnessZ, s.SharpnessA, s.TimbralWidth, s.Volume, s.SpectDissS,
        s.SpectDissHK, s.DissonanceS, s.DissonanceHK, s.Nmax_T, s.Loudness_Nordic108,
        s.SharpnessZ_Nordic108, s.SharpnessA_Nordic108, s.TimbralWidth_Nordic108,
        s.Volume_Nordic108, s.SpectDissS_Nordic108, s.SpectDissHK_Nordic108,
        s.Loudness_Nordic121, s.SharpnessZ_Nordic121, s.SharpnessA_Nordic121,
        s.TimbralWidth_Nordic121, s.Volume_Nordic121, s.SpectDissS_Nordic121,
        s.SpectDissHK_Nordic121};
    finite(results, 0, static_cast<int>(std::size(results)) - 1, "result ");
}

TEST(HearingChain, BadBlocksGiveFiniteResults) {
    std::vector<int> square(32768);
    for (std::size_t i = 0; i < square.size(); ++i) square[i] = (i / 22) % 2 ? 32767 : -32768;
    const std::pair<const char*, std::vector<int>> blocks[] = {
        {"silent", std::vector<int>(32768, 0)}, {"square", square}, {"noise", Noise(32768, 32767, 5)}};
    for (const auto& [name, samples] : blocks) {
        SCOPED_TRACE(name);
        BlockReader r(WavOf(Interleave(samples), 1));
        RunState& s = r.S();
        EXPECT_TRUE(r.engine.MakeSpectrum());
        r.engine.CompressSpectrum();
        Steps(r.engine);
        ExpectFiniteResults(s);
        if (std::string_view(name) != "silent") { EXPECT_GT(s.Loudness, 50.0); }
        r.host.texts["CurrentProcessingMode"] = "Extended";  // the tone pass on its own spectra
        r.SeekFrame(0);
        EXPECT_TRUE(r.engine.MakeSpectrum());
        r.engine.NordicCompressSpectrum();
        Steps(r.engine);
        r.engine.NordicCalculateToneDissonance();
        ExpectFiniteResults(s);
    }
    // Lines and bins of exactly zero intensity read 0 dB.
    BlockReader r(SilentWav());
    r.S().Intensity.fill(0.0);
    r.S().CompactI.fill(0.0);
    Steps(r.engine);
    ExpectFiniteResults(r.S());
    EXPECT_EQ(r.S().NTones, 0);
}

}  // namespace
}  // namespace oxw::engine
