// Run reset, compact bin grids, run scan and accumulator initialisation. Grid values are worked
// out by hand: linear centres 10.77 x i Hz, logarithmic centres 10^(2.675 + 0.025 (i - 42)) Hz,
// deep centres 10^(1.3 + 0.025 (i - 1)) Hz, and every edge half-way between neighbouring centres.
#include "engine/Engine.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace oxw::engine {
namespace {

using test::LogLine;
using test::ScriptedHost;

class RunResetTest : public ::testing::Test {
protected:
    RunResetTest() {
        host.texts["CurrentProcessingMode"] = "Standard";
        host.texts["MusicFFTSampleSize"] = "4096";
    }
    ScriptedHost host;
    Engine e{host};
};

TEST_F(RunResetTest, MainLineProcess1SetsTheRunDefaults) {
    RunState& s = e.S();
    // Leftovers of an earlier run.
    s.Compression = 1;
    s.Resolution = 1;
    s.Calibration = 3;
    s.StartTime = 7;
    s.EndTime = 9;
    s.ATune = 415;
    s.PitchShift = true;
    s.ByteSwap = true;
    s.BytesRead = 12345;
    s.DisplayedLogLines = 88;
    s.PERCENTILEARRAYMAX = 1;
    s.Counter = 4410;  // not reset: the gate of the next run sees it
    s.Field = 'D';     // not reset

    e.MainLineProcess1();

    EXPECT_EQ(s.Compression, 10);
    EXPECT_EQ(s.Resolution, 5);
    EXPECT_DOUBLE_EQ(s.Calibration, -70.0);
    EXPECT_DOUBLE_EQ(s.StartTime, 0.0);
    EXPECT_DOUBLE_EQ(s.EndTime, 4800.0);
    EXPECT_DOUBLE_EQ(s.ATune, 440.0);
    EXPECT_FALSE(s.PitchShift);
    EXPECT_FALSE(s.ByteSwap);
    EXPECT_EQ(s.BytesRead, 0);
    EXPECT_EQ(s.DisplayedLogLines, 0);
    EXPECT_EQ(s.PERCENTILEARRAYMAX, 480000);
    EXPECT_EQ(s.POINTS, 4096);
    EXPECT_EQ(s.Counter, 4410);
    EXPECT_EQ(s.Field, 'D');

    const std::vector<LogLine> expected = {{"S", "MainLineProcess1"},
                                           {"D", "Initialise ImagIn"},
                                           {"D", "Initialise CompactF"},
                                           {"E", "MainLineProcess1"}};
    EXPECT_EQ(host.log, expected);
}

TEST_F(RunResetTest, MainLineProcess1SizesTheResultArrays) {
    struct SizeCase {
        const char* name;
        std::vector<double> RunState::*array;
        std::size_t size;
    };
    const SizeCase cases[] = {
        {"Oct_S", &RunState::Oct_S, 10},
        {"DravolekOct_S", &RunState::DravolekOct_S, 10},
        {"ThirdOct_S", &RunState::ThirdOct_S, 22},
        {"DravolekThirdOct_S", &RunState::DravolekThirdOct_S, 22},
        {"PitchSalience_S", &RunState::PitchSalience_S, 88},
        {"DravolekPitchSalience_S", &RunState::DravolekPitchSalience_S, 88},
        {"PitchSalience_T", &RunState::PitchSalience_T, 88},
        {"DravolekPitchSalience_T", &RunState::DravolekPitchSalience_T, 88},
        {"RoexL", &RunState::RoexL, 110},
        {"RoexL_Nordic108", &RunState::RoexL_Nordic108, 110},
        {"RoexL_Nordic121", &RunState::RoexL_Nordic121, 122},
        // EEND / ESTEP + 1 = 39 / 0.25 + 1 = 157.
        {"SpecLoud", &RunState::SpecLoud, 157},
        {"SpecLoud_Nordic108", &RunState::SpecLoud_Nordic108, 157},
        {"SpecLoud_Nordic121", &RunState::SpecLoud_Nordic121, 157},
        {"SpecLoud_S", &RunState::SpecLoud_S, 157},
        {"SpecLoud_S_Nordic108", &RunState::SpecLoud_S_Nordic108, 157},
        {"SpecLoud_S_Nordic121", &RunState::SpecLoud_S_Nordic121, 157},
        {"DravolekSpecLoud_S", &RunState::DravolekSpecLoud_S, 157},
        {"SpecLoud_T", &RunState::SpecLoud_T, 157},
        {"SpecLoud_T_Nordic108", &RunState::SpecLoud_T_Nordic108, 157},
        {"SpecLoud_T_Nordic121", &RunState::SpecLoud_T_Nordic121, 157},
        {"ToneF", &RunState::ToneF, 1024},
        {"ToneF_Nordic108", &RunState::ToneF_Nordic108, 1024},
        {"ToneF_Nordic121", &RunState::ToneF_Nordic121, 1024},
        {"RoughnessF_Nordic108", &RunState::RoughnessF_Nordic108, 1024},
        {"ToneL", &RunState::ToneL, 1024},
        {"ToneL_Nordic108", &RunState::ToneL_Nordic108, 1024},
        {"ToneL_Nordic121", &RunState::ToneL_Nordic121, 1024},
        {"RoughnessL_Nordic108", &RunState::RoughnessL_Nordic108, 1024},
        {"ToneRef", &RunState::ToneRef, 32768},
        {"ToneRef_Nordic108", &RunState::ToneRef_Nordic108, 32768},
        {"ToneRef_Nordic121", &RunState::ToneRef_Nordic121, 32768},
        {"RoughnessRef_Nordic108", &RunState::RoughnessRef_Nordic108, 32768},
    };
    e.MainLineProcess1();
    for (const auto& c : cases) {
        const std::vector<double>& a = e.S().*c.array;
        EXPECT_EQ(a.size(), c.size) << c.name;
        for (double v : a) {
            if (v != 0.0) {
                ADD_FAILURE() << c.name << " holds a non-zero entry";
                break;
            }
        }
    }
}

TEST_F(RunResetTest, PointsFollowTheProcessingMode) {
    struct Case {
        const char* mode;
        int before;
        int points;
    };
    const Case cases[] = {
        {"Standard", 1, 4096},
        {"Extended", 1, 32768},
        {"", 777, 777},          // neither mode: unchanged
        {"standard", 777, 777},  // compared exactly
    };
    for (const auto& c : cases) {
        ScriptedHost h;
        h.texts["CurrentProcessingMode"] = c.mode;
        h.texts["MusicFFTSampleSize"] = "4096";
        h.texts["QualityFFTSampleSize"] = "32768";
        Engine en(h);
        en.S().POINTS = c.before;
        en.MainLineProcess1();
        EXPECT_EQ(en.S().POINTS, c.points) << "mode \"" << c.mode << "\"";
    }
}

TEST_F(RunResetTest, ImagInClearedUpToPoints) {
    e.S().ImagIn.fill(1.0);
    e.MainLineProcess1();
    EXPECT_EQ(e.S().ImagIn[0], 0.0);
    EXPECT_EQ(e.S().ImagIn[4095], 0.0);
    EXPECT_EQ(e.S().ImagIn[4096], 1.0);  // beyond POINTS: left alone
}

// ---- Compact bin grids ------------------------------------------------------------------

class CompactGridTest : public RunResetTest {
protected:
    void SetUp() override {
        host.texts["MusicFFTSampleSize"] = "8192";  // overwritten by the grid set-up
        e.SetUpCompactIBinRanges();
    }
};

TEST_F(CompactGridTest, CentresMatchHandWorkedValues) {
    const RunState& s = e.S();
    struct Case {
        const char* name;
        double value;
        double expected;
        double tolerance;  // half a unit of the quoted last decimal
    };
    const Case cases[] = {
        {"CompactF[1]", s.CompactF[1], 10.77, 0.005},
        {"CompactF[41] = 41 x 10.77", s.CompactF[41], 441.57, 0.005},
        {"CompactF[42] = 10^2.675", s.CompactF[42], 473.15, 0.005},
        {"CompactF[108] = 10^4.3", s.CompactF[108], 21134.9, 0.05},
        {"CompactF[109] = 10^4.325", s.CompactF[109], 22387.2, 0.05},
        {"high(41)", s.CompactIBinHighBandFreqs[41], 457.36, 0.005},
        {"low(42)", s.CompactIBinLowBandFreqs[42], 457.36, 0.005},
        {"high(108)", s.CompactIBinHighBandFreqs[108], 21761.05, 0.005},
        {"low(109)", s.CompactIBinLowBandFreqs[109], 21761.05, 0.005},
        {"high(109)", s.CompactIBinHighBandFreqs[109], 999999.0, 0.0},
        {"low(1)", s.CompactIBinLowBandFreqs[1], 0.0, 0.0},
        {"high(1) = 1.5 x 10.77", s.CompactIBinHighBandFreqs[1], 16.155, 1e-9},
        {"deep centre(1) = 10^1.3", s.CompactF_Nordic121[1], 19.95, 0.005},
        {"deep centre(121) = 10^4.3", s.CompactF_Nordic121[121], 19952.6, 0.05},
        {"deep centre(122) = 10^4.325", s.CompactF_Nordic121[122], 21134.9, 0.05},
        {"deep low(1)", s.DeepCompactIBinLowBandFreqs[1], 0.0, 0.0},
    };
    for (const auto& c : cases) EXPECT_NEAR(c.value, c.expected, c.tolerance) << c.name;
}

TEST_F(CompactGridTest, EveryCentreFollowsItsFormula) {
    const RunState& s = e.S();
    for (int i = 1; i <= 41; ++i) EXPECT_NEAR(s.CompactF[i], 10.77 * i, 1e-9) << i;
    for (int i = 42; i <= 109; ++i) {
        const double f = std::pow(10.0, 2.675 + 0.025 * (i - 42));
        EXPECT_NEAR(s.CompactF[i] / f, 1.0, 1e-12) << i;
    }
    for (int i = 1; i <= 122; ++i) {
        const double f = std::pow(10.0, 1.3 + 0.025 * (i - 1));
        EXPECT_NEAR(s.CompactF_Nordic121[i] / f, 1.0, 1e-12) << i;
    }
    for (int i = 1; i <= 109; ++i) {
        EXPECT_EQ(s.CompactF_Nordic108[i], s.CompactF[i]) << i;
        EXPECT_EQ(s.CompactIBinCentreFreqs[i], s.CompactF[i]) << i;
    }
    EXPECT_EQ(s.CompactF[110], 0.0);
    EXPECT_EQ(s.CompactF_Nordic121[123], 0.0);
}

TEST_F(CompactGridTest, NeighbouringBinsMeetHalfWay) {
    const RunState& s = e.S();
    for (int i = 1; i <= 108; ++i) {
        EXPECT_EQ(s.CompactIBinHighBandFreqs[i], s.CompactIBinLowBandFreqs[i + 1]) << i;
        EXPECT_NEAR(s.CompactIBinHighBandFreqs[i], (s.CompactF[i] + s.CompactF[i + 1]) / 2, 1e-9)
            << i;
        EXPECT_LT(s.CompactIBinLowBandFreqs[i], s.CompactF[i]) << i;
        EXPECT_GT(s.CompactIBinHighBandFreqs[i], s.CompactF[i]) << i;
    }
    for (int i = 1; i <= 120; ++i) {
        EXPECT_EQ(s.DeepCompactIBinHighBandFreqs[i], s.DeepCompactIBinLowBandFreqs[i + 1]) << i;
        EXPECT_NEAR(s.DeepCompactIBinHighBandFreqs[i],
                    (s.CompactF_Nordic121[i] + s.CompactF_Nordic121[i + 1]) / 2, 1e-9)
            << i;
    }
    // The last deep bin's upper edge lies half-way to the 122nd centre.
    EXPECT_NEAR(s.DeepCompactIBinHighBandFreqs[121],
                (s.CompactF_Nordic121[121] + s.CompactF_Nordic121[122]) / 2, 1e-9);
    EXPECT_EQ(s.DeepCompactIBinLowBandFreqs[122], 0.0);
    EXPECT_EQ(s.DeepCompactIBinHighBandFreqs[122], 0.0);
}

TEST_F(CompactGridTest, SetsTheSettingsTextsAndBinCounts) {
    EXPECT_EQ(host.texts["MusicFFTSampleSize"], "4096");
    EXPECT_EQ(host.texts["MusicBinCount"], "108");
    EXPECT_EQ(host.texts["QualityFFTSampleSize"], "32768");
    EXPECT_EQ(host.texts["QualityBinCount"], "121");
    EXPECT_EQ(e.S().DravolekSizeOfCompactSpectrum, 108);
    EXPECT_EQ(e.S().NordicSizeOfCompactSpectrum, 121);
}

// ---- Run scan ---------------------------------------------------------------------------------

TEST_F(RunResetTest, ScanCountsLinesAndElements) {
    struct Case {
        double start, end;
        int compression, resolution;
        int lines, elements;
        bool calculate;
    };
    const Case cases[] = {
        {0, 2, 1, 5, 40, 40, true},          // 88200 div 2205
        {0, 60, 10, 5, 120, 1200, true},     // 2646000 div 22050
        {0, 10, 3, 1, 333, 999, true},       // 441000 div 1323, 441 frames left over
        {1, 3, 1, 5, 40, 40, true},          // only the stretch counts
        {0, 0.5, 10, 5, 1, 10, true},        // 22050 div 22050
        {0, 4800, 1, 1, 480000, 480000, true},
        // An end time typed far beyond any file: the counts stop where the counters (which run
        // one past them) still fit an int.
        {0, 2147483647, 1, 1, 2147483646, 2147483646, true},
        {0, 2147483647, 10, 5, 214748364, 2147483640, true},
        {5, 5.04, 1, 5, 0, 0, false},        // 1764 frames < one hop of 2205
        {0, 0.49, 10, 5, 0, 0, false},       // 21609 < 22050
    };
    for (const auto& c : cases) {
        RunState& s = e.S();
        s.StartTime = c.start;
        s.EndTime = c.end;
        s.Compression = c.compression;
        s.Resolution = c.resolution;
        s.Calculate = true;
        host.scanLines = -1;
        e.ScanSoundFile();
        const auto what = ::testing::Message() << c.start << ".." << c.end << " c" << c.compression
                                               << " r" << c.resolution;
        EXPECT_EQ(s.Lines, c.lines) << what;
        EXPECT_EQ(s.Elements, c.elements) << what;
        EXPECT_EQ(s.Calculate, c.calculate) << what;
        EXPECT_EQ(host.scanLines, c.lines) << what;
    }
}

TEST_F(RunResetTest, ScanLeavesAClosedGateClosed) {
    e.S().StartTime = 0;
    e.S().EndTime = 2;
    e.S().Compression = 1;
    e.S().Calculate = false;
    e.ScanSoundFile();
    EXPECT_EQ(e.S().Lines, 40);
    EXPECT_FALSE(e.S().Calculate);
    const std::vector<LogLine> expected = {{"S", "ScanSoundFile"}, {"E", "ScanSoundFile"}};
    EXPECT_EQ(host.log, expected);
}

TEST_F(RunResetTest, ScanFillsTheNoteFrequencyTable) {
    e.S().EndTime = 2;
    e.ScanSoundFile();
    const FreqTable& f = e.S().FreqArray;
    EXPECT_EQ(f[10][6], 440.0);    // A4
    EXPECT_EQ(f[1][6], 261.6);     // middle C
    EXPECT_EQ(f[7][4], 92.5);
    EXPECT_EQ(f[12][8], 1975.5);
    EXPECT_EQ(f[1][1], 8.2);
    EXPECT_EQ(f[12][11], 15804.0);
    // Every entry is the nominal equal-tempered pitch, row = semitone from C, column = octave - 2,
    // given to two to five figures (33, 261.6, 1975.5): within 1.2 % of
    // 440 x 2^((row - 10) / 12 + column - 6).
    for (int r = 1; r <= 12; ++r) {
        for (int c = 1; c <= 11; ++c) {
            const double tempered = 440.0 * std::pow(2.0, (r - 10) / 12.0 + (c - 6));
            EXPECT_NEAR(f[r][c] / tempered, 1.0, 0.012) << "row " << r << " column " << c;
        }
    }
}

// ---- Accumulators -------------------------------------------------------------------------------

void FillAll(RunState& s, double v) {
    for (auto* a : {&s.Oct_S, &s.ThirdOct_S, &s.SpecLoud_S, &s.SpecLoud_S_Nordic108,
                    &s.SpecLoud_S_Nordic121, &s.PitchSalience_S, &s.SpecLoud_T, &s.PitchSalience_T})
        std::fill(a->begin(), a->end(), v);
    s.ChromaSalience_S.fill(v);
    s.ChromaSalience_T.fill(v);
    s.CompactI_T.fill(v);
    for (double* x : {&s.Int_S, &s.IntA_S, &s.IntB_S, &s.IntC_S, &s.Centroid_S, &s.Loudness_S,
                      &s.Loudness_S_Nordic108, &s.Loudness_S_Nordic121, &s.SharpnessZ_S,
                      &s.SharpnessA_S, &s.TimbralWidth_S, &s.Volume_S, &s.SpectDissS_S,
                      &s.SpectDissHK_S, &s.DissonanceS_S, &s.DissonanceHK_S, &s.PureTonalness_S,
                      &s.ComplexTonalness_S, &s.Multiplicity_S, &s.ICCC_S, &s.ICCClag_S,
                      &s.DeltaL_S, &s.Nmax, &s.Nmin, &s.LAmax, &s.LAmin, &s.DLmax, &s.DLmin,
                      &s.Loudness_T, &s.SharpnessZ_T, &s.Multiplicity_T, &s.DeltaL_T, &s.Nmax_T,
                      &s.Nmax_T_Nordic108, &s.Nmax_T_Nordic121})
        *x = v;
}

bool AllZero(const std::vector<double>& a, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i <= to; ++i)
        if (a[i] != 0.0) return false;
    return true;
}

TEST_F(RunResetTest, InitialiseMeansClearsWholeFileAccumulators) {
    e.MainLineProcess1();
    RunState& s = e.S();
    FillAll(s, 5.0);
    host.log.clear();
    e.InitialiseMeans();

    EXPECT_TRUE(AllZero(s.Oct_S, 0, 9));
    EXPECT_TRUE(AllZero(s.ThirdOct_S, 0, 21));
    EXPECT_TRUE(AllZero(s.PitchSalience_S, 0, 87));
    for (auto* a : {&s.SpecLoud_S, &s.SpecLoud_S_Nordic108, &s.SpecLoud_S_Nordic121}) {
        EXPECT_TRUE(AllZero(*a, 8, 156));
        EXPECT_EQ((*a)[7], 5.0);  // below ESTART / ESTEP: not part of the grid
    }
    for (int i = 0; i <= 11; ++i) EXPECT_EQ(s.ChromaSalience_S[i], 0.0) << i;
    EXPECT_EQ(s.ChromaSalience_S[12], 5.0);
    for (double v : {s.Int_S, s.IntA_S, s.IntB_S, s.IntC_S, s.Centroid_S, s.Loudness_S,
                     s.Loudness_S_Nordic108, s.Loudness_S_Nordic121, s.SharpnessZ_S, s.SharpnessA_S,
                     s.TimbralWidth_S, s.Volume_S, s.SpectDissS_S, s.SpectDissHK_S, s.DissonanceS_S,
                     s.DissonanceHK_S, s.PureTonalness_S, s.ComplexTonalness_S, s.Multiplicity_S,
                     s.ICCC_S, s.ICCClag_S, s.DeltaL_S})
        EXPECT_EQ(v, 0.0);
    // Extreme trackers start from values every real block beats.
    EXPECT_EQ(s.Nmax, 0.0);
    EXPECT_EQ(s.Nmin, 9999.0);
    EXPECT_EQ(s.LAmax, -9999.0);
    EXPECT_EQ(s.LAmin, 9999.0);
    EXPECT_EQ(s.DLmax, -9999.0);
    EXPECT_EQ(s.DLmin, 9999.0);
    // The line accumulators are not touched.
    EXPECT_EQ(s.Loudness_T, 5.0);

    const std::vector<LogLine> expected = {
        {"S", "InitialiseMeans"},          {"D", " Initialise Oct_S"},
        {"D", " Initialise ThirdOct_S"},   {"D", " Initialise SpecLoud_S"},
        {"D", "Initialise ChromaSalience_S"}, {"D", "Initialise PitchSalience_S"},
        {"E", "InitialiseMeans"}};
    EXPECT_EQ(host.log, expected);
}

TEST_F(RunResetTest, InitialiseCompressionClearsLineAccumulators) {
    e.MainLineProcess1();
    RunState& s = e.S();
    FillAll(s, 5.0);
    host.log.clear();
    e.InitialiseCompression();

    for (int i = 1; i <= 108; ++i) EXPECT_EQ(s.CompactI_T[i], 0.0) << i;
    EXPECT_EQ(s.CompactI_T[109], 5.0);
    EXPECT_TRUE(AllZero(s.SpecLoud_T, 8, 156));
    EXPECT_TRUE(AllZero(s.PitchSalience_T, 0, 87));
    for (int i = 0; i <= 11; ++i) EXPECT_EQ(s.ChromaSalience_T[i], 0.0) << i;
    for (double v : {s.Loudness_T, s.SharpnessZ_T, s.Multiplicity_T, s.DeltaL_T, s.Nmax_T,
                     s.Nmax_T_Nordic108, s.Nmax_T_Nordic121})
        EXPECT_EQ(v, 0.0);
    EXPECT_EQ(s.Loudness_S, 5.0);  // whole-file values stay

    const std::vector<LogLine> expected = {
        {"S", "InitialiseCompression"},       {"D", " Initialise CompactI_T"},
        {"D", " Initialise SpecLoud_T"},      {"D", " Initialise ChromaSalience_T"},
        {"D", " Initialise PitchSalience_T"}, {"E", "InitialiseCompression"}};
    EXPECT_EQ(host.log, expected);
}

TEST_F(RunResetTest, SaveInitialiseMeansVariablesKeepsPass1Results) {
    e.MainLineProcess1();
    RunState& s = e.S();
    for (int i = 0; i < 10; ++i) s.Oct_S[i] = 100 + i;
    for (int i = 0; i < 22; ++i) s.ThirdOct_S[i] = 200 + i;
    for (int i = 0; i < 157; ++i) s.SpecLoud_S[i] = 300 + i;
    for (int i = 0; i < 88; ++i) s.PitchSalience_S[i] = 500 + i;
    struct Pair {
        const char* name;
        double RunState::*source;
        double RunState::*copy;
    };
    const Pair pairs[] = {
        {"Int_S", &RunState::Int_S, &RunState::DravolekInt_S},
        {"IntA_S", &RunState::IntA_S, &RunState::DravolekIntA_S},
        {"IntB_S", &RunState::IntB_S, &RunState::DravolekIntB_S},
        {"IntC_S", &RunState::IntC_S, &RunState::DravolekIntC_S},
        {"Centroid_S", &RunState::Centroid_S, &RunState::DravolekCentroid_S},
        {"Loudness_S", &RunState::Loudness_S, &RunState::DravolekLoudness_S},
        {"SharpnessZ_S", &RunState::SharpnessZ_S, &RunState::DravolekSharpnessZ_S},
        {"SharpnessA_S", &RunState::SharpnessA_S, &RunState::DravolekSharpnessA_S},
        {"TimbralWidth_S", &RunState::TimbralWidth_S, &RunState::DravolekTimbralWidth_S},
        {"Volume_S", &RunState::Volume_S, &RunState::DravolekVolume_S},
        {"SpectDissS_S", &RunState::SpectDissS_S, &RunState::DravolekSpectDissS_S},
        {"SpectDissHK_S", &RunState::SpectDissHK_S, &RunState::DravolekSpectDissHK_S},
        {"DissonanceS_S", &RunState::DissonanceS_S, &RunState::DravolekDissonanceS_S},
        {"DissonanceHK_S", &RunState::DissonanceHK_S, &RunState::DravolekDissonanceHK_S},
        {"PureTonalness_S", &RunState::PureTonalness_S, &RunState::DravolekPureTonalness_s},
        {"ComplexTonalness_S", &RunState::ComplexTonalness_S,
         &RunState::DravolekComplexTonalness_S},
        {"Multiplicity_S", &RunState::Multiplicity_S, &RunState::DravolekMultiplicity_S},
        {"Nmax", &RunState::Nmax, &RunState::DravolekNmax},
        {"Nmin", &RunState::Nmin, &RunState::DravolekNmin},
        {"LAmax", &RunState::LAmax, &RunState::DravolekLAmax},
        {"LAmin", &RunState::LAmin, &RunState::DravolekLAmin},
        {"DLmax", &RunState::DLmax, &RunState::DravolekDLmax},
        {"DLmin", &RunState::DLmin, &RunState::DravolekDLmin},
        {"ICCC_S", &RunState::ICCC_S, &RunState::DravolekICCC_S},
        {"ICCClag_S", &RunState::ICCClag_S, &RunState::DravolekICCClag_S},
        {"DeltaL_S", &RunState::DeltaL_S, &RunState::DravolekDeltaL_S},
    };
    double v = 1.5;
    for (const auto& p : pairs) s.*p.source = (v += 1.0);

    host.log.clear();
    e.SaveInitialiseMeansVariables();
    e.InitialiseMeans();  // as pass 2 does next: the copies must survive it

    for (const auto& p : pairs) EXPECT_NE(s.*p.copy, 0.0) << p.name;
    v = 1.5;
    for (const auto& p : pairs) EXPECT_EQ(s.*p.copy, (v += 1.0)) << p.name;
    for (int i = 0; i < 10; ++i) EXPECT_EQ(s.DravolekOct_S[i], 100 + i) << i;
    for (int i = 0; i < 22; ++i) EXPECT_EQ(s.DravolekThirdOct_S[i], 200 + i) << i;
    for (int i = 8; i <= 156; ++i) EXPECT_EQ(s.DravolekSpecLoud_S[i], 300 + i) << i;
    EXPECT_EQ(s.DravolekSpecLoud_S[7], 0.0);
    for (int i = 0; i < 88; ++i) EXPECT_EQ(s.DravolekPitchSalience_S[i], 500 + i) << i;

    std::vector<LogLine> d;
    for (const auto& l : host.log)
        if (l.kind != "D" || l.text.find("Save") != std::string::npos) d.push_back(l);
    const std::vector<LogLine> expected = {
        {"S", "SaveInitialiseMeansVariables"},
        {"D", " Save Oct_S as DravolekOct_S"},
        {"D", " Save ThirdOct_S as DravolekThirdOct_S"},
        {"D", " Save SpecLoud_S as DravolekSpecLoud_S"},
        {"D", "Save PitchSalience_S as DravolekPitchSalience_S"},
        {"E", "SaveInitialiseMeansVariables"},
        {"S", "InitialiseMeans"},
        {"E", "InitialiseMeans"}};
    EXPECT_EQ(d, expected);
}

}  // namespace
}  // namespace oxw::engine
