// Run reset, compact bin grids, run scan and accumulator initialisation. Grid values are worked
// out by hand: linear centres 10.77 x i Hz, logarithmic centres 10^(2.675 + 0.025 (i - 42)) Hz,
// deep centres 10^(1.3 + 0.025 (i - 1)) Hz, and every edge half-way between neighbouring centres.
#include "engine/Engine.h"
#include "support/EngineRig.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace oxw::engine {
namespace {

using test::LogLine;
using Log = std::vector<LogLine>;

class RunResetTest : public ::testing::Test {
protected:
    test::EngineRig<> rig;  // reset done once, as the main window leaves it
    test::ScriptedHost& host = rig.host;
    Engine& e = rig.e;
};

TEST_F(RunResetTest, MainLineProcess1SetsTheRunDefaults) {
    RunState& s = e.S();
    // Leftovers of an earlier run.
    s.Compression = s.Resolution = 1;
    s.Calibration = 3;
    s.StartTime = 7;
    s.EndTime = 9;
    s.ATune = 415;
    s.DisplayedLogLines = 88;
    s.PitchShift = s.ByteSwap = true;
    s.BytesRead = 12345;
    s.PERCENTILEARRAYMAX = 1;
    s.Counter = 4410;  // not reset: the gate of the next run sees it
    s.ImagIn.fill(1.0);
    host.log.clear();
    e.MainLineProcess1();

    EXPECT_EQ(s.Compression, 10);
    EXPECT_EQ(s.Resolution, 5);
    EXPECT_DOUBLE_EQ(s.Calibration, -70.0);
    EXPECT_EQ(std::tuple(s.StartTime, s.EndTime, s.ATune, s.DisplayedLogLines), std::tuple(0.0, 4800.0, 440.0, 0));
    EXPECT_FALSE(s.PitchShift || s.ByteSwap);
    EXPECT_EQ(s.BytesRead, 0);
    EXPECT_EQ(s.PERCENTILEARRAYMAX, 480000);
    EXPECT_EQ(s.Counter, 4410);
    // ImagIn is cleared up to POINTS and left alone beyond.
    EXPECT_EQ(s.ImagIn[0], 0.0);
    EXPECT_EQ(s.ImagIn[4095], 0.0);
    EXPECT_EQ(s.ImagIn[4096], 1.0);
    // EEND / ESTEP + 1 = 39 / 0.25 + 1 = 157 loudness grid points.
    for (auto* a : {&s.SpecLoud, &s.SpecLoud_S, &s.SpecLoud_S_Nordic121, &s.DravolekSpecLoud_S,
                    &s.SpecLoud_T_Nordic121})
        EXPECT_EQ(*a, std::vector<double>(157, 0.0));
    EXPECT_EQ(host.log, (Log{{"S", "MainLineProcess1"}, {"D", "Initialise ImagIn"},
                             {"D", "Initialise CompactF"}, {"E", "MainLineProcess1"}}));
}

TEST_F(RunResetTest, PointsFollowTheProcessingMode) {
    struct Case {
        const char* mode;
        int before, points;
    };
    // Neither mode leaves POINTS unchanged; the mode is compared exactly.
    const Case cases[] = {{"Standard", 1, 4096}, {"Extended", 1, 32768}, {"", 777, 777}, {"standard", 777, 777}};
    host.texts["QualityFFTSampleSize"] = "32768";
    for (const auto& c : cases) {
        host.texts["CurrentProcessingMode"] = c.mode;
        e.S().POINTS = c.before;
        e.MainLineProcess1();
        EXPECT_EQ(e.S().POINTS, c.points) << "mode \"" << c.mode << "\"";
    }
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

TEST_F(CompactGridTest, EveryCentreFollowsItsFormulaAndNeighboursMeetHalfWay) {
    const RunState& s = e.S();
    for (int i = 1; i <= 109; ++i) {
        const double f = i <= 41 ? 10.77 * i : std::pow(10.0, 2.675 + 0.025 * (i - 42));
        EXPECT_NEAR(s.CompactF[i] / f, 1.0, 1e-12) << i;
        EXPECT_EQ(s.CompactF_Nordic108[i], s.CompactF[i]) << i;
        EXPECT_EQ(s.CompactIBinCentreFreqs[i], s.CompactF[i]) << i;
    }
    for (int i = 1; i <= 122; ++i)
        EXPECT_NEAR(s.CompactF_Nordic121[i] / std::pow(10.0, 1.3 + 0.025 * (i - 1)), 1.0, 1e-12) << i;
    EXPECT_EQ(s.CompactF[110], 0.0);
    EXPECT_EQ(s.CompactF_Nordic121[123], 0.0);

    for (int i = 1; i <= 108; ++i) {
        EXPECT_EQ(s.CompactIBinHighBandFreqs[i], s.CompactIBinLowBandFreqs[i + 1]) << i;
        EXPECT_NEAR(s.CompactIBinHighBandFreqs[i], (s.CompactF[i] + s.CompactF[i + 1]) / 2, 1e-9) << i;
    }
    // The last deep bin's upper edge lies half-way to the 122nd centre.
    for (int i = 1; i <= 121; ++i) {
        EXPECT_EQ(s.DeepCompactIBinHighBandFreqs[i],
                  i < 121 ? s.DeepCompactIBinLowBandFreqs[i + 1] : s.DeepCompactIBinHighBandFreqs[i]);
        EXPECT_NEAR(s.DeepCompactIBinHighBandFreqs[i],
                    (s.CompactF_Nordic121[i] + s.CompactF_Nordic121[i + 1]) / 2, 1e-9) << i;
    }
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
        bool gateBefore, calculate;
    };
    const Case cases[] = {
        {0, 2, 1, 5, 40, 40, true, true},          // 88200 div 2205
        {0, 2, 1, 5, 40, 40, false, false},        // a closed gate stays closed
        {0, 60, 10, 5, 120, 1200, true, true},     // 2646000 div 22050
        {0, 10, 3, 1, 333, 999, true, true},       // 441000 div 1323, 441 frames left over
        {1, 3, 1, 5, 40, 40, true, true},          // only the stretch counts
        {0, 0.5, 10, 5, 1, 10, true, true},        // 22050 div 22050
        {0, 4800, 1, 1, 480000, 480000, true, true},
        // An end time typed far beyond any file: the counts stop where the counters (which run
        // one past them) still fit an int.
        {0, 2147483647, 1, 1, 2147483646, 2147483646, true, true},
        {0, 2147483647, 10, 5, 214748364, 2147483640, true, true},
        {5, 5.04, 1, 5, 0, 0, true, false},        // 1764 frames < one hop of 2205
        {0, 0.49, 10, 5, 0, 0, true, false},       // 21609 < 22050
    };
    for (const auto& c : cases) {
        RunState& s = e.S();
        s.StartTime = c.start;
        s.EndTime = c.end;
        s.Compression = c.compression;
        s.Resolution = c.resolution;
        s.Calculate = c.gateBefore;
        host.scanLines = -1;
        host.log.clear();
        e.ScanSoundFile();
        SCOPED_TRACE(::testing::Message() << c.start << ".." << c.end << " c" << c.compression
                                          << " r" << c.resolution);
        EXPECT_EQ(s.Lines, c.lines);
        EXPECT_EQ(s.Elements, c.elements);
        EXPECT_EQ(s.Calculate, c.calculate);
        EXPECT_EQ(host.scanLines, c.lines);
        EXPECT_EQ(host.log, (Log{{"S", "ScanSoundFile"}, {"E", "ScanSoundFile"}}));
    }
}

TEST_F(RunResetTest, ScanFillsTheNoteFrequencyTable) {
    e.S().EndTime = 2;
    e.ScanSoundFile();
    const FreqTable& f = e.S().FreqArray;
    EXPECT_EQ(f[10][6], 440.0);  // A4
    EXPECT_EQ(f[1][6], 261.6);   // middle C
    EXPECT_EQ(f[7][4], 92.5);
    EXPECT_EQ(f[12][8], 1975.5);
    EXPECT_EQ(f[1][1], 8.2);
    EXPECT_EQ(f[12][11], 15804.0);
    // Every entry is the nominal equal-tempered pitch, row = semitone from C, column = octave - 2,
    // given to two to five figures (33, 261.6, 1975.5): within 1.2 % of
    // 440 x 2^((row - 10) / 12 + column - 6).
    for (int r = 1; r <= 12; ++r)
        for (int c = 1; c <= 11; ++c)
            EXPECT_NEAR(f[r][c] / (440.0 * std::pow(2.0, (r - 10) / 12.0 + (c - 6))), 1.0, 0.012)
                << "row " << r << " column " << c;
}

// ---- Accumulators -------------------------------------------------------------------------------

// Every accumulator, whole-file (_S) and per-line (_T), set to 5 as a previous run leaves them.
void FillAll(RunState& s) {
    for (auto* a : {&s.Oct_S, &s.ThirdOct_S, &s.SpecLoud_S, &s.SpecLoud_S_Nordic108,
                    &s.SpecLoud_S_Nordic121, &s.PitchSalience_S, &s.SpecLoud_T, &s.PitchSalience_T})
        std::fill(a->begin(), a->end(), 5.0);
    s.ChromaSalience_S.fill(5.0);
    s.ChromaSalience_T.fill(5.0);
    s.CompactI_T.fill(5.0);
    for (double* x : {&s.Int_S, &s.IntA_S, &s.IntB_S, &s.IntC_S, &s.Centroid_S, &s.Loudness_S,
                      &s.Loudness_S_Nordic108, &s.Loudness_S_Nordic121, &s.SharpnessZ_S,
                      &s.SharpnessA_S, &s.TimbralWidth_S, &s.Volume_S, &s.SpectDissS_S,
                      &s.SpectDissHK_S, &s.DissonanceS_S, &s.DissonanceHK_S, &s.PureTonalness_S,
                      &s.ComplexTonalness_S, &s.Multiplicity_S, &s.ICCC_S, &s.ICCClag_S,
                      &s.DeltaL_S, &s.Nmax, &s.Nmin, &s.LAmax, &s.LAmin, &s.DLmax, &s.DLmin,
                      &s.Loudness_T, &s.SharpnessZ_T, &s.Multiplicity_T, &s.DeltaL_T, &s.Nmax_T,
                      &s.Nmax_T_Nordic108, &s.Nmax_T_Nordic121})
        *x = 5.0;
}

// Whether entries from..to (inclusive) are all zero.
bool AllZero(const auto& a, std::size_t from, std::size_t to) {
    return std::all_of(a.begin() + from, a.begin() + to + 1, [](double v) { return v == 0.0; });
}

TEST_F(RunResetTest, InitialiseMeansClearsWholeFileAccumulators) {
    RunState& s = e.S();
    FillAll(s);
    host.log.clear();
    e.InitialiseMeans();

    EXPECT_TRUE(AllZero(s.Oct_S, 0, 9) && AllZero(s.ThirdOct_S, 0, 21) &&
                AllZero(s.PitchSalience_S, 0, 87) && AllZero(s.ChromaSalience_S, 0, 11));
    EXPECT_EQ(s.ChromaSalience_S[12], 5.0);
    for (auto* a : {&s.SpecLoud_S, &s.SpecLoud_S_Nordic108, &s.SpecLoud_S_Nordic121}) {
        EXPECT_TRUE(AllZero(*a, 8, 156));
        EXPECT_EQ((*a)[7], 5.0);  // below ESTART / ESTEP: not part of the grid
    }
    for (double v : {s.Int_S, s.IntA_S, s.IntB_S, s.IntC_S, s.Centroid_S, s.Loudness_S,
                     s.Loudness_S_Nordic108, s.Loudness_S_Nordic121, s.SharpnessZ_S, s.SharpnessA_S,
                     s.TimbralWidth_S, s.Volume_S, s.SpectDissS_S, s.SpectDissHK_S, s.DissonanceS_S,
                     s.DissonanceHK_S, s.PureTonalness_S, s.ComplexTonalness_S, s.Multiplicity_S,
                     s.ICCC_S, s.ICCClag_S, s.DeltaL_S, s.Nmax})
        EXPECT_EQ(v, 0.0);
    // Extreme trackers start from values every real block beats.
    EXPECT_EQ((std::vector<double>{s.Nmin, s.LAmax, s.LAmin, s.DLmax, s.DLmin}),
              (std::vector<double>{9999.0, -9999.0, 9999.0, -9999.0, 9999.0}));
    EXPECT_EQ(s.Loudness_T, 5.0);  // the line accumulators are not touched
    EXPECT_EQ(host.log, (Log{{"S", "InitialiseMeans"}, {"D", " Initialise Oct_S"},
                             {"D", " Initialise ThirdOct_S"}, {"D", " Initialise SpecLoud_S"},
                             {"D", "Initialise ChromaSalience_S"},
                             {"D", "Initialise PitchSalience_S"}, {"E", "InitialiseMeans"}}));
}

TEST_F(RunResetTest, InitialiseCompressionClearsLineAccumulators) {
    RunState& s = e.S();
    FillAll(s);
    host.log.clear();
    e.InitialiseCompression();

    EXPECT_TRUE(AllZero(s.CompactI_T, 1, 108) && AllZero(s.SpecLoud_T, 8, 156) &&
                AllZero(s.PitchSalience_T, 0, 87) && AllZero(s.ChromaSalience_T, 0, 11));
    EXPECT_EQ(s.CompactI_T[109], 5.0);
    for (double v : {s.Loudness_T, s.SharpnessZ_T, s.Multiplicity_T, s.DeltaL_T, s.Nmax_T,
                     s.Nmax_T_Nordic108, s.Nmax_T_Nordic121})
        EXPECT_EQ(v, 0.0);
    EXPECT_EQ(s.Loudness_S, 5.0);  // whole-file values stay
    EXPECT_EQ(host.log, (Log{{"S", "InitialiseCompression"}, {"D", " Initialise CompactI_T"},
                             {"D", " Initialise SpecLoud_T"}, {"D", " Initialise ChromaSalience_T"},
                             {"D", " Initialise PitchSalience_T"}, {"E", "InitialiseCompression"}}));
}

TEST_F(RunResetTest, SaveInitialiseMeansVariablesKeepsPass1Results) {
    RunState& s = e.S();
    for (auto* a : {&s.Oct_S, &s.ThirdOct_S, &s.SpecLoud_S, &s.PitchSalience_S})
        for (std::size_t i = 0; i < a->size(); ++i) (*a)[i] = 100.0 + static_cast<double>(i);
#define KEPT(name) {#name, &RunState::name, &RunState::Dravolek##name}
    const struct {
        const char* name;
        double RunState::*source;
        double RunState::*copy;
    } pairs[] = {
        KEPT(Int_S), KEPT(IntA_S), KEPT(IntB_S), KEPT(IntC_S), KEPT(Centroid_S), KEPT(Loudness_S),
        KEPT(SharpnessZ_S), KEPT(SharpnessA_S), KEPT(TimbralWidth_S), KEPT(Volume_S),
        KEPT(SpectDissS_S), KEPT(SpectDissHK_S), KEPT(DissonanceS_S), KEPT(DissonanceHK_S),
        {"PureTonalness_S", &RunState::PureTonalness_S, &RunState::DravolekPureTonalness_s},
        KEPT(ComplexTonalness_S), KEPT(Multiplicity_S), KEPT(Nmax), KEPT(Nmin), KEPT(LAmax),
        KEPT(LAmin), KEPT(DLmax), KEPT(DLmin), KEPT(ICCC_S), KEPT(ICCClag_S), KEPT(DeltaL_S)};
#undef KEPT
    double v = 1.5;
    for (const auto& p : pairs) s.*p.source = (v += 1.0);
    const RunState pass1 = s;

    host.log.clear();
    e.SaveInitialiseMeansVariables();
    e.InitialiseMeans();  // as pass 2 does next: the copies must survive it

    for (const auto& p : pairs) EXPECT_EQ(s.*p.copy, pass1.*p.source) << p.name;
    EXPECT_EQ(s.DravolekOct_S, pass1.Oct_S);
    EXPECT_EQ(s.DravolekThirdOct_S, pass1.ThirdOct_S);
    EXPECT_EQ(s.DravolekPitchSalience_S, pass1.PitchSalience_S);
    EXPECT_EQ(s.DravolekSpecLoud_S[7], 0.0);  // only the grid points are kept
    for (int i = 8; i <= 156; ++i) EXPECT_EQ(s.DravolekSpecLoud_S[i], 100 + i) << i;

    Log saves;
    for (const auto& l : host.log)
        if (l.kind != "D" || l.text.find("Save") != std::string::npos) saves.push_back(l);
    EXPECT_EQ(saves, (Log{{"S", "SaveInitialiseMeansVariables"},
                          {"D", " Save Oct_S as DravolekOct_S"},
                          {"D", " Save ThirdOct_S as DravolekThirdOct_S"},
                          {"D", " Save SpecLoud_S as DravolekSpecLoud_S"},
                          {"D", "Save PitchSalience_S as DravolekPitchSalience_S"},
                          {"E", "SaveInitialiseMeansVariables"},
                          {"S", "InitialiseMeans"},
                          {"E", "InitialiseMeans"}}));
}

}  // namespace
}  // namespace oxw::engine
