// Run reset, compact bin grids, run scan and accumulator initialisation.
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
    s.Compression = s.Resolution = s.PERCENTILEARRAYMAX = 1;
    s.Calibration = s.StartTime = s.EndTime = 3;
    s.ATune = 415;
    s.DisplayedLogLines = 88;
    s.PitchShift = s.ByteSwap = true;
    s.BytesRead = 12345;
    s.Counter = 4410;  // not reset: the gate of the next run sees it
    s.ImagIn.fill(1.0);
    host.log.clear();
    e.MainLineProcess1();

    EXPECT_EQ(std::tuple(s.Compression, s.Resolution, s.Calibration, s.StartTime, s.EndTime, s.ATune,
                         s.DisplayedLogLines, s.PitchShift, s.ByteSwap, s.BytesRead,
                         s.PERCENTILEARRAYMAX, s.Counter),
              std::tuple(10, 5, -70.0, 0.0, 4800.0, 440.0, 0, false, false, 0, 480000, 4410));
    // ImagIn is cleared up to POINTS and left alone beyond.
    EXPECT_EQ(std::tuple(s.ImagIn[0], s.ImagIn[4095], s.ImagIn[4096]), std::tuple(0.0, 0.0, 1.0));
    // EEND / ESTEP + 1 = 39 / 0.25 + 1 = 157 loudness grid points.
    for (auto* a : {&s.SpecLoud, &s.SpecLoud_S, &s.SpecLoud_S_Nordic121, &s.DravolekSpecLoud_S,
                    &s.SpecLoud_T_Nordic121})
        EXPECT_EQ(*a, std::vector<double>(157, 0.0));
    EXPECT_EQ(host.log, (Log{{"S", "MainLineProcess1"}, {"D", "Initialise ImagIn"},
                             {"D", "Initialise CompactF"}, {"E", "MainLineProcess1"}}));
}

TEST_F(RunResetTest, PointsFollowTheProcessingMode) {
    // Neither mode leaves POINTS unchanged; the mode is compared exactly.
    const struct { const char* mode; int before, points; } cases[] = {{"Standard", 1, 4096}, {"Extended", 1, 32768}, {"", 777, 777}, {"standard", 777, 777}};
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

// Linear centres 10.77 i Hz up to 41, logarithmic ones 10^(2.675 + 0.025 (i - 42)) Hz from 42 to
// 109, deep ones 10^(1.3 + 0.025 (i - 1)) Hz; each edge half-way between neighbouring centres.
TEST_F(CompactGridTest, CentresFollowTheirFormulasAndNeighboursMeetHalfWay) {
    const RunState& s = e.S();
    for (int i = 1; i <= 109; ++i) {
        const double f = i <= 41 ? 10.77 * i : std::pow(10.0, 2.675 + 0.025 * (i - 42));
        EXPECT_NEAR(s.CompactF[i] / f, 1.0, 1e-12) << i;
        EXPECT_EQ(s.CompactF_Nordic108[i], s.CompactF[i]) << i;
        EXPECT_EQ(s.CompactIBinCentreFreqs[i], s.CompactF[i]) << i;
    }
    for (int i = 1; i <= 122; ++i)
        EXPECT_NEAR(s.CompactF_Nordic121[i] / std::pow(10.0, 1.3 + 0.025 * (i - 1)), 1.0, 1e-12) << i;
    for (int i = 1; i <= 108; ++i) {
        EXPECT_EQ(s.CompactIBinHighBandFreqs[i], s.CompactIBinLowBandFreqs[i + 1]) << i;
        EXPECT_NEAR(s.CompactIBinHighBandFreqs[i], (s.CompactF[i] + s.CompactF[i + 1]) / 2, 1e-9) << i;
    }
    for (int i = 1; i <= 121; ++i) {  // the last upper edge lies half-way to the 122nd centre
        if (i < 121) { EXPECT_EQ(s.DeepCompactIBinHighBandFreqs[i], s.DeepCompactIBinLowBandFreqs[i + 1]); }
        EXPECT_NEAR(s.DeepCompactIBinHighBandFreqs[i],
                    (s.CompactF_Nordic121[i] + s.CompactF_Nordic121[i + 1]) / 2, 1e-9) << i;
    }
    EXPECT_EQ(std::tuple(s.CompactIBinLowBandFreqs[1], s.CompactIBinHighBandFreqs[109],
                         s.DeepCompactIBinLowBandFreqs[1], s.CompactF[110], s.CompactF_Nordic121[123],
                         s.DeepCompactIBinLowBandFreqs[122], s.DeepCompactIBinHighBandFreqs[122]),
              std::tuple(0.0, 999999.0, 0.0, 0.0, 0.0, 0.0, 0.0));
    EXPECT_EQ(std::tuple(host.texts["MusicFFTSampleSize"], host.texts["MusicBinCount"],
                         host.texts["QualityFFTSampleSize"], host.texts["QualityBinCount"],
                         s.DravolekSizeOfCompactSpectrum, s.NordicSizeOfCompactSpectrum),
              std::tuple("4096", "108", "32768", "121", 108, 121));
}

// ---- Run scan ---------------------------------------------------------------------------------

TEST_F(RunResetTest, ScanCountsLinesAndElements) {
    const struct { double start, end; int compression, resolution, lines, elements; bool gateBefore, calculate; } cases[] = {
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
        EXPECT_EQ(std::tuple(s.Lines, s.Elements, s.Calculate, host.scanLines),
                  std::tuple(c.lines, c.elements, c.calculate, c.lines));
        EXPECT_EQ(host.log, (Log{{"S", "ScanSoundFile"}, {"E", "ScanSoundFile"}}));
    }
}

TEST_F(RunResetTest, ScanFillsTheNoteFrequencyTable) {
    e.S().EndTime = 2;
    e.ScanSoundFile();
    const FreqTable& f = e.S().FreqArray;
    EXPECT_EQ(std::tuple(f[10][6], f[1][6], f[1][1], f[12][11]), std::tuple(440.0, 261.6, 8.2, 15804.0));
    // Every entry is the nominal equal-tempered pitch, row = semitone from C, column = octave - 2,
    // given to two to five figures (33, 261.6, 1975.5): within 1.2 % of
    // 440 x 2^((row - 10) / 12 + column - 6).
    for (int r = 1; r <= 12; ++r)
        for (int c = 1; c <= 11; ++c)
            EXPECT_NEAR(f[r][c] / (440.0 * std::pow(2.0, (r - 10) / 12.0 + (c - 6))), 1.0, 0.012)
                << "row " << r << " column " << c;
}

// ---- Accumulators -------------------------------------------------------------------------------

using Field = double RunState::*;
// Whole-file sums that InitialiseMeans clears, and line sums that InitialiseCompression clears.
constexpr Field kFileSums[] = {
    &RunState::Int_S, &RunState::IntA_S, &RunState::IntB_S, &RunState::IntC_S,
    &RunState::Centroid_S, &RunState::Loudness_S, &RunState::Loudness_S_Nordic108,
    &RunState::Loudness_S_Nordic121, &RunState::SharpnessZ_S, &RunState::SharpnessA_S,
    &RunState::TimbralWidth_S, &RunState::Volume_S, &RunState::SpectDissS_S,
    &RunState::SpectDissHK_S, &RunState::DissonanceS_S, &RunState::DissonanceHK_S,
    &RunState::PureTonalness_S, &RunState::ComplexTonalness_S, &RunState::Multiplicity_S,
    &RunState::ICCC_S, &RunState::ICCClag_S, &RunState::DeltaL_S, &RunState::Nmax};
constexpr Field kLineSums[] = {&RunState::Loudness_T, &RunState::SharpnessZ_T,
                               &RunState::Multiplicity_T, &RunState::DeltaL_T, &RunState::Nmax_T,
                               &RunState::Nmax_T_Nordic108, &RunState::Nmax_T_Nordic121};

// Every accumulator set to 5, as a previous run leaves them.
void FillAll(RunState& s) {
    for (auto* a : {&s.Oct_S, &s.ThirdOct_S, &s.SpecLoud_S, &s.SpecLoud_S_Nordic108,
                    &s.SpecLoud_S_Nordic121, &s.PitchSalience_S, &s.SpecLoud_T, &s.PitchSalience_T})
        std::fill(a->begin(), a->end(), 5.0);
    s.ChromaSalience_S.fill(5.0);
    s.ChromaSalience_T.fill(5.0);
    s.CompactI_T.fill(5.0);
    for (Field f : kFileSums) s.*f = 5.0;
    for (Field f : kLineSums) s.*f = 5.0;
    for (double* x : {&s.Nmin, &s.LAmax, &s.LAmin, &s.DLmax, &s.DLmin}) *x = 5.0;
}

// Whether entries from..to (inclusive) are all zero.
bool AllZero(const auto& a, std::size_t from, std::size_t to) {
    return std::all_of(a.begin() + from, a.begin() + to + 1, [](double v) { return v == 0.0; });
}

TEST_F(RunResetTest, InitialiseMeansAndCompressionClearTheirOwnAccumulators) {
    RunState& s = e.S();
    FillAll(s);
    host.log.clear();
    e.InitialiseMeans();
    EXPECT_TRUE(AllZero(s.Oct_S, 0, 9) && AllZero(s.ThirdOct_S, 0, 21) &&
                AllZero(s.PitchSalience_S, 0, 87) && AllZero(s.ChromaSalience_S, 0, 11));
    EXPECT_EQ(s.ChromaSalience_S[12], 5.0);
    for (auto* a : {&s.SpecLoud_S, &s.SpecLoud_S_Nordic108, &s.SpecLoud_S_Nordic121})
        EXPECT_TRUE(AllZero(*a, 8, 156) && (*a)[7] == 5.0);  // 7 lies below the grid
    for (Field f : kFileSums) EXPECT_EQ(s.*f, 0.0);
    for (Field f : kLineSums) EXPECT_EQ(s.*f, 5.0);
    // Extreme trackers start from values every real block beats.
    EXPECT_EQ(std::tuple(s.Nmin, s.LAmax, s.LAmin, s.DLmax, s.DLmin),
              std::tuple(9999.0, -9999.0, 9999.0, -9999.0, 9999.0));
    EXPECT_EQ(host.log, (Log{{"S", "InitialiseMeans"}, {"D", " Initialise Oct_S"},
                             {"D", " Initialise ThirdOct_S"}, {"D", " Initialise SpecLoud_S"},
                             {"D", "Initialise ChromaSalience_S"},
                             {"D", "Initialise PitchSalience_S"}, {"E", "InitialiseMeans"}}));

    FillAll(s);
    host.log.clear();
    e.InitialiseCompression();
    EXPECT_TRUE(AllZero(s.CompactI_T, 1, 108) && AllZero(s.SpecLoud_T, 8, 156) &&
                AllZero(s.PitchSalience_T, 0, 87) && AllZero(s.ChromaSalience_T, 0, 11));
    EXPECT_EQ(s.CompactI_T[109], 5.0);
    for (Field f : kLineSums) EXPECT_EQ(s.*f, 0.0);
    for (Field f : kFileSums) EXPECT_EQ(s.*f, 5.0);
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

    EXPECT_EQ(host.Lines("D").front(), " Save Oct_S as DravolekOct_S");
    EXPECT_EQ(host.Count("D", "Save PitchSalience_S as DravolekPitchSalience_S"), 1);
}

}  // namespace
}  // namespace oxw::engine
