// Line and file means: whole runs on tones with a level step (the line means step with the
// signal), and the accumulation rules, bounds, extremes and history rows on hand-set block and
// line values.
#include "SpectrumFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>

namespace oxw::engine {
namespace {

using namespace spectrumtest;

// Records, at the end of every output line, the level of the line's mean compact spectrum, its
// mean level difference and its mean lag.
class LineHost : public test::ScriptedHost {
public:
    Engine* engine = nullptr;
    std::vector<double> lineLevel, lineDeltaL, lineLag;
    void OutputTimeFiles() override {
        ScriptedHost::OutputTimeFiles();
        const RunState& s = engine->S();
        double sum = 0;
        for (int b = 1; b <= 108; ++b) sum += s.CompactI_T[b];
        lineLevel.push_back(10 * std::log10(sum));
        lineDeltaL.push_back(s.DeltaL_T);
        lineLag.push_back(s.ICCClag_T);
    }
};

// A 1001.3 Hz tone (line 93 of 4096) of `loud` units for the first second and `quiet` units
// after it, 3 s long; the right channel (if any) at `rightGain` times the left one. Sample
// values are even so that halving is exact.
std::vector<std::uint8_t> SteppedTone(int channels, double loud, double quiet, double rightGain) {
    const std::size_t n = 3 * 44100;
    std::vector<int> left(n), right(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double a = i < 44100 ? loud : quiet;
        left[i] = 2 * static_cast<int>(
                          std::lround(a / 2 * std::sin(2 * std::numbers::pi * 93 * i / 4096.0)));
        right[i] = static_cast<int>(left[i] * rightGain);
    }
    return WavOf(Interleave(left, channels == 1 ? std::vector<int>{} : right),
                 static_cast<std::uint16_t>(channels));
}

struct WholeRun {
    TempDir dir;
    LineHost host;
    Engine engine{host};
    // Seconds 0 to 2 with four blocks per line: 10 lines of 4 blocks, 50 ms apart.
    WholeRun(const std::vector<std::uint8_t>& wav, const char* option) {
        host.engine = &engine;
        host.texts["CurrentProcessingMode"] = "Standard";
        host.texts["MusicFFTSampleSize"] = "4096";
        host.checkDialog = [](SoundFileCheckForm& f) {
            f.SoundFileStartTime = "0";
            f.SoundFileEndTime = "2";
            f.OutputCompression = "4";
        };
        const auto path = dir / "tone.wav";
        test::WriteWavFile(path, wav);
        host.chosenFile = path.string();
        engine.S().ProcessingOptionSelected = option;
        engine.MainLineProcess1();
        EXPECT_TRUE(engine.MainLineProcess2SingleFile());
        engine.Open1Click();
    }
};

TEST(LineMeans, LineMeansStepWithTheSignal) {
    // The tone sits in the 1000 Hz bin at -70 + 20 log10(0.375 A 4096) + 10 log10(1 + 8/9 + 2/36)
    // dB (see the compact-spectrum test). Lines 1..4 end in the loud second (frame 15 x 2205 +
    // 4096 = 37171), lines 6..10 start in the quiet one (frame 20 x 2205 = 44100).
    struct Case { const char* name; int channels; double rightGain, deltaL; } const cases[] = {
        {"mono", 1, 1.0, 0.0}, {"stereo, right at half amplitude", 2, 0.5, -6.0206}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WholeRun run(SteppedTone(c.channels, 8000, 4000, c.rightGain), "Introductory");
        const RunState& s = run.engine.S();
        ASSERT_EQ(s.Lines, 10);
        ASSERT_EQ(run.host.lineLevel.size(), 10u);
        // The series of a stereo file is the rounded mean of both channels.
        const double series = c.channels == 1 ? 1.0 : (1 + c.rightGain) / 2;
        const double loud = -70 + 20 * std::log10(0.375 * 8000 * series * 4096) +
                            10 * std::log10(1 + 8.0 / 9 + 2.0 / 36);
        // Lines of one amplitude correlate best at lag 0 (the line across the step may not:
        // the correlation is normalised by the unshifted energies).
        for (int line : {0, 1, 2, 3, 5, 6, 7, 8, 9}) {
            EXPECT_NEAR(run.host.lineLevel[line], line < 4 ? loud : loud - 6.0206, 0.02) << line;
            EXPECT_NEAR(run.host.lineLag[line], 0.0, 1e-12) << line;
        }
        EXPECT_NEAR(run.host.lineLevel[3] - run.host.lineLevel[5], 6.0206, 0.005);
        for (double d : run.host.lineDeltaL) EXPECT_NEAR(d, c.deltaL, 1e-4);
        for (double d : {s.DeltaL_S, s.DLmax}) EXPECT_NEAR(d, c.deltaL, 1e-4);
        EXPECT_NEAR(s.ICCC_S, 1.0, 1e-3);  // one channel, or two of one shape
    }
}

// An engine with the run arrays sized and the texts of the block time: byte 8864 of a 16-bit
// mono file at 44100 Hz is 8864 / 44100 / 2 = 0.1005 s.
struct MeansFixture {
    test::ScriptedHost host;
    Engine engine{host};
    MeansFixture() {
        host.texts["CurrentProcessingMode"] = "Standard";
        host.texts["MusicFFTSampleSize"] = "4096";
        host.texts["PositionCurrent"] = "8864";
        engine.SoundFileCheck().SoundFileSampleRate.Text = "44100";
        engine.SoundFileCheck().SoundFileBytePerSampleSlice.Text = "2";
        engine.MainLineProcess1();
        SizeRunArrays(engine.S(), 480000);
        engine.InitialiseMeans();
        engine.InitialiseCompression();
        engine.S().CountElement = 1;
        host.log.clear();
    }
    RunState& S() { return engine.S(); }
};

TEST(LineMeans, PercentileSamplesOnlyWithinTheBounds) {
    for (const int elements : {20, 21, 479999, 480000}) {
        SCOPED_TRACE(elements);
        const bool in = elements != 20 && elements != 480000;
        MeansFixture f;
        RunState& s = f.S();
        s.Elements = elements;
        s.Compression = 1;
        s.LA = 60; s.Loudness = 3; s.DeltaL = -1.5;
        f.engine.AccumulateMeans_T();
        EXPECT_EQ(std::tuple(s.Larray[1], s.Narray[1], s.DLarray[1]),
                  in ? std::tuple(60.0, 3.0, -1.5) : std::tuple(0.0, 0.0, 0.0));
        EXPECT_NEAR(s.SumLArray, in ? 1e6 : 0.0, 1e-6);
        const std::vector<std::string> trace{"History 01.00 Time, Larray ",
                                             "History 01.01, 0.10, 60.000"};
        EXPECT_EQ(f.host.Lines("T"), in ? trace : std::vector<std::string>{});
        ASSERT_EQ(f.host.soundQualityRows.size(), in ? 1u : 0u);
        if (in) { EXPECT_EQ(f.host.soundQualityRows[0], std::pair(8864.0 / 88200, 60.0)); }
        // Extremes are kept whatever the bounds.
        EXPECT_EQ(std::tuple(s.LAmax, s.LAmin, s.DLmin), std::tuple(60.0, 60.0, -1.5));
    }
}

TEST(LineMeans, BlockValuesAverageOverTheLine) {
    MeansFixture f;
    RunState& s = f.S();
    s.Elements = 10;
    s.Compression = 10;
    const double la[] = {50, 62, 62, 40, 45, 45, 45, 45, 45, 45};
    s.Loudness = 2.0; s.ICCC = 0.5; s.ChromaSalience[11] = 1.0; s.PitchSalience[87] = 0.3;
    s.SpecLoud[156] = 0.1; s.SpecLoud[8] = 0.2; s.ChromaSalience[0] = 0.4; s.PitchSalience[0] = 0.6;
    for (int k = 0; k < 10; ++k) {
        s.LA = la[k];
        s.DeltaL = k;
        s.CompactI[1] = s.CompactI[108] = k < 5 ? 1.0 : 0.25;  // half the blocks 6 dB lower
        f.engine.AccumulateMeans_T();
        ++s.CountElement;
    }
    // CompactI_T is the energetic mean (5 x 1 + 5 x 0.25) / 10; the first and last index of each
    // array.
    const double got[] = {s.Loudness_T, s.DeltaL_T, s.ICCC_T, s.CompactI_T[1], s.CompactI_T[108],
                          s.ChromaSalience_T[11], s.PitchSalience_T[87], s.SpecLoud_T[156],
                          s.SpecLoud_T[8], s.ChromaSalience_T[0], s.PitchSalience_T[0]};
    const double want[] = {2.0, 4.5, 0.5, 0.625, 0.625, 1.0, 0.3, 0.1, 0.2, 0.4, 0.6};
    for (int i = 0; i < 11; ++i) EXPECT_NEAR(got[i], want[i], 1e-12) << i;
    EXPECT_EQ(std::tuple(s.LAmax, s.LAmin, s.Nmax, s.Nmin, s.DLmax, s.DLmin),
              std::tuple(62.0, 40.0, 2.0, 2.0, 9.0, 0.0));
    EXPECT_EQ(f.host.Count("D", " Calculate Larray, Narray, DLarray"), 10);
}

TEST(LineMeans, FileMeansKeepBandIntensitiesAndTraceTheirPartialSums) {
    MeansFixture f;
    RunState& s = f.S();
    s.Lines = 5;
    s.Oct_T[3] = 60; s.ThirdOct_T[21] = 30; s.Loudness_T = 5; s.Centroid_T = 1000;
    s.Multiplicity_T = 2.5; s.DeltaL_T = -6; s.Int_T = 2e6; s.SpecLoud_T[8] = 1.0;
    s.ChromaSalience_T[0] = 0.5; s.ICCC_T = 0.75; s.ICCClag_T = 0.25;
    for (int line = 0; line < 5; ++line) f.engine.AccumulateMeans_S();
    // Band means are of intensities (60 dB: 1e6; 0 dB: 1), not of levels.
    const double got[] = {s.Oct_S[3],   s.ThirdOct_S[21], s.Oct_S[0],     s.Loudness_S,
                          s.Centroid_S, s.DeltaL_S,       s.Int_S,        s.SpecLoud_S[8],
                          s.ChromaSalience_S[0], s.ICCC_S, s.ICCClag_S};
    const double want[] = {1e6, 1e3, 1.0, 5.0, 1000.0, -6.0, 2e6, 1.0, 0.5, 0.75, 0.25};
    for (int i = 0; i < 11; ++i) EXPECT_NEAR(got[i], want[i], 1e-9 * std::max(1.0, want[i])) << i;
    const auto t = f.host.Lines("T");
    ASSERT_EQ(t.size(), 10u);
    EXPECT_EQ(t[0],
              "History 02.00 Time, Loudness_S, , SharpnessZ_S, , SharpnessA_S, , TimbralWidth_S, , "
              "Volume_S, , SpectDissS_S, , SpectDissHK_S, , DissonanceS_S, , DissonanceHK_S, , "
              "PureTonalness_S, , ComplexTonalness_S, , Centroid_S, , Multiplicity_S ");
    // After the first of five lines: one fifth of its values.
    EXPECT_EQ(t[1],
              "History 02.01, 0.10, 1.000, 0.000, 0.000, 0.000, 0.000, 0.000, 0.000, 0.000, 0.000, "
              "0.000, 0.000, 200.000, 0.500");
    EXPECT_EQ(t[9],
              "History 02.01, 0.10, 5.000, 0.000, 0.000, 0.000, 0.000, 0.000, 0.000, 0.000, 0.000, "
              "0.000, 0.000, 1000.000, 2.500");
}

}  // namespace
}  // namespace oxw::engine
