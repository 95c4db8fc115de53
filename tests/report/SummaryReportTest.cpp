// The summary report written for a hand-set run state and hand-written level, loudness, pitch
// and trace files, compared whole: every heading and fixed line, the tables, the copied rows and
// the time history; the value lines that follow the state; the deletion of the time-series files
// only after a good copy, and the Nordic block of the tone pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/report/OutputFiles.h"
#include "app/report/SummaryReport.h"
#include "engine/Engine.h"
#include "support/FailingStreams.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/TextLines.h"

namespace oxw::report {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string Right(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// printf's %W.Df: an independent formatter for values chosen away from rounding ties.
std::string F(double x, int w, int d) {
    char b[64];
    std::snprintf(b, sizeof b, "%*.*f", w, d, x);
    return b;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class SummaryReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.texts["MusicFFTSampleSize"] = "4096";
        s.SoundFileName = (dir / "street.wav").string();
        files.DravolekFormatOutput(host, s.SoundFileName);
        FillState();
        WriteTimeSeries();
        WriteHistoryTrace();
    }
    void TearDown() override { files.CloseAll(); }

    void FillState() {
        s.Lines = 3, s.TwoChan = true, s.ByteSwap = false, s.Calibration = -60.0;
        s.StartTime = 1.5, s.EndTime = 4.0, s.Resolution = 5, s.Compression = 1, s.Field = 'D';
        s.ATune = 446.0, s.PitchShift = true, s.Elements = 25;
        s.IntA_S = 1e6, s.IntB_S = 2e6, s.IntC_S = 1e7, s.Int_S = 0.0, s.Loudness_S = 2.0;
        s.Centroid_S = 1234.5;  // a half: to the even neighbour
        s.NC = 35.5, s.NR = 40.4, s.PNC = 9999.0, s.SIL = 44.5, s.SILd = 12.3, s.RC = 9999.0;
        s.RCclass = "None - not R or H or N or V ";
        s.DeltaL_S = -1.234, s.ICCC_S = 0.875, s.ICCClag_S = 0.0;
        s.SharpnessZ_S = 1.25, s.SharpnessA_S = 1.75, s.TimbralWidth_S = 0.5, s.Volume_S = 3.0;
        s.SpectDissHK_S = 0.12345, s.SpectDissS_S = 0.1, s.DissonanceHK_S = 0.0,
        s.DissonanceS_S = 0.3;
        s.PureTonalness_S = 0.3, s.ComplexTonalness_S = 0.4, s.Multiplicity_S = 1.5;
        keyText = s.Tonality_S = "E flat  major";  // wider than its field: never cut
        chordText = s.Chord_S = "C MP_";
        s.TonalityR2_S = 0.955, s.ChordR2_S = 0.5;
        s.LAmax = 80.125, s.LA1 = 79.0, s.LA5 = 75.5, s.LA10 = 70.0, s.LA20 = 65.0, s.LA50 = 60.0;
        s.LA80 = 55.0, s.LA90 = 50.0, s.LAmin = 30.0;
        s.SumLArray = 25e6;  // 25 blocks of 60 dB
        s.Nmax = 20.0, s.No1 = 19.0, s.N5 = 10.0, s.N10 = 12.0, s.N20 = 8.0, s.N50 = 5.0;
        s.N80 = 3.0, s.N90 = 2.0, s.Nmin = 1.0;
        s.DLmax = 3.0, s.DL10 = 2.0, s.DL20 = 1.5, s.DL50 = 0.0, s.DL80 = -1.0, s.DL90 = -1.5;
        s.DLmin = -3.0;
        s.Oct_S.resize(10), s.ThirdOct_S.resize(22), s.SpecLoud_S.resize(157);
        s.PitchSalience_S.resize(88);
        for (int k = 0; k < 10; ++k) s.Oct_S[k] = std::pow(10.0, (40.3 + k) / 10.0);
        for (int k = 0; k < 22; ++k) s.ThirdOct_S[k] = std::pow(10.0, (20.3 + k) / 10.0);
        for (int i = 0; i < 157; ++i) s.SpecLoud_S[i] = i / 1000.0;
        for (int c = 0; c < 12; ++c) s.ChromaSalience_S[c] = 0.01 * c + 0.0004;
        for (int k = 0; k < 88; ++k) s.PitchSalience_S[k] = k / 1000.0 + 0.0002;
    }

    void WriteTimeSeries() {
        for (int line = 1; line <= 3; ++line) {
            levelRows.push_back(" 0." + std::to_string(line) + "0,\t60,\tlevel row");
            loudRows.push_back(" 0." + std::to_string(line) + "0,\t 2.00,\tloud row");
            pitchRows.push_back(" 0." + std::to_string(line) + "0,\t0.1000,\tpitch row,\t");
            files.DravolekLevelFile.WriteLine(levelRows.back());
            files.DravolekLoudFile.WriteLine(loudRows.back());
            files.DravolekPitchFile.WriteLine(pitchRows.back());
        }
    }

    // One block per line: each line leaves the block's two rows and the line's two rows.
    void WriteHistoryTrace() {
        for (int line = 1; line <= 3; ++line) {
            const std::string t = "0." + std::to_string(line) + "0";
            Trace("History 01.00 Time, Larray ");
            Trace("History 01.01, " + t + ", 6" + std::to_string(line) + ".000");
            Trace("History 02.00 Time, Loudness_S, , SharpnessZ_S ");
            Trace("History 02.01, " + t + ", " + std::to_string(line) + ".000, 0.500");
        }
    }
    void Trace(const std::string& text) { files.DravolekTraceFile.WriteLine("TRACE, " + text); }

    Lines Summary() { return test::ReadLines(files.Names.DravolekSummaryFileName); }

    test::TempDir dir{"oxw-summary"};
    test::ScriptedHost host;
    OutputFiles files;
    engine::RunState s;
    std::string keyText, chordText;
    Lines levelRows, loudRows, pitchRows;
};

// The 69 lines of explanatory text that follow the INPUT line.
const Lines kExplanation = {
    "", "Dravolek outputs array and variable data calculated during execution.",
    "Dravolek execution is a calculated looping process.",
    "The Dravolek variable controlling the number of execution loops is named Lines.", "",
    "All arrays and variables are written to dedicated files.",
    "The files are comma separated (CSV) that can be input to other software e.g. Excel.",
    "The files containing the array data have the file extension name .ARY",
    "The files containing the variable data have the file extension .VAR", "",
    ".ARY files have four (4) columns.",
    "      Column 1 is the array name, column 2 is the Lines number - loop execution - reference,",
    "      column 3 is the array row reference, column 4 is the array element value.", "",
    "An array or variable output file name is structured as follows:",
    "The following naming structure is space separated:",
    "      Sound file name as selected by the user", "      Analysis date", "      the word at",
    "      Analysis start time", "      the name of the array or variable - refer to list below",
    "      the file extension .ARY or .VAR", "",
    "All arrays and variables are grouped by type of output as follows:",
    "   Wave and Spectrum arrays",
    "      CompactF    - the array representing Compact Spectrum Frequencies",
    "      CompactI\t   - the array representing Compact Spectrum Magnitudes",
    "      CompactI_T  - the array representing\tCompact Spectrum Magnitudes after compression",
    "      Intensity   - the array representing\tIntensity of Fourier Components",
    "      Oct_T\t      - the array representing Octave Spectrum, after compression",
    "      Oct_S\t      - the array representing Octave Spectrum, Overall",
    "      ThirdOct_T  - the array representing\tThird Octave Spectrum, after compression",
    "      ThirdOct_S  - the array representing Third Octave Spectrum, Overall", "",
    "   Statistical Loudness and Channel Difference arrays",
    "      Narray      - the array representing the Loudness values for percentile presentation",
    "      Larray      - the array representing the Array of L(A) values for percentiles",
    "      DLArray     - the array representing the Array of Delta values for percentiles", "",
    "   Loudness\tarrays", "      CompInt     - the array representing the Component Intensity",
    "      CompL       - the array representing the Component Level",
    "      RoexL       - the array representing the Component Level adjusted using Roex filter",
    "      Esig        - the array representing Excitation",
    "      SpecLoud\t   - the array representing Loudness - Specific",
    "      SpecLoud_T  - the array representing Loudness - Specific after compression",
    "      SpecLoud_S  - the array representing Loudness - Specific Overall", "", "   Pitch arrays",
    "      PitchSalience     -  the array representing 88-Pitch Salience",
    "      PitchSalience_T   - the array representing 88-Pitch Salience after compression",
    "      PitchSalience_S   - the array representing 88-Pitch Salience Mean",
    "      CompoundPitch     - the array representing Compound Spectrum Pitch component",
    "      CompoundWeight    - the array representing Compound Spectrum Weight component",
    "      ChromaSalience\t   - the array representing Parncutt - Chroma Salience",
    "      ChromaSalience_T  - the array representing Parncutt - Chroma Salience after compression",
    "      ChromaSalience_S  - the array representing Parncutt - Mean Chroma Salience",
    "      Salience          - the array representing Parncutt - Salience",
    "      FX                - the array representing Pitch Height of a Tone after masking",
    "      V                 - the array representing Pitch Shift due to Intensity"
    " and Masking effects",
    "      WS                - the array representing Pitch Spectral Weight",
    "      Vpitch            - the array representing Pitch Virtual height in pu",
    "      CompoundSV        - the array representing whether it is Spectral or Virtual?",
    "      ToneF             - the array representing Tone Frequency before masking in Hz",
    "      ToneRef           - the array representing the Tone Index",
    "      LX                - the array representing Tone Intensity after masking in dB",
    "      ToneL             - the array representing Tone Level before masking in dB",
    "      VW                - the array representing Virtual Pitch Height", "",
};

Lines FirstHalfAfterExplanation(const std::string& key, const std::string& chord) {
    return {
        "The number of execution loops - Lines - for this analysis is      3", "CHANNELS,\t2",
        "NORMAL BYTE ORDER", "CALIBRATION,\t    10.0,\tdB", "START,\t     1.5,\tseconds",
        "END,\t     4.0,\tseconds", "NORMAL TEMPORAL RESOLUTION", "COMPRESSION,\t1", "FIELD,\tD",
        "A-TUNE,\t   446.0,\tHz,\t-23,\tcents", "INCLUDE PITCH SHIFTS",
        "        25,  Windows analyzed by Dravolek", "",
        "        60,  L(A) Overall A-weighted Intensity",
        "        63,  L(B) Overall B-weighted Intensity",
        "        70,  L(C) Overall C-weighted Intensity",
        "         0,  L(lin) Overall Sound Intensity",
        "        49,  LN Converted Overall Loudness sones to phons (Stevens formula)",
        "      1234,  Centroid ", "", "  RATINGS", "        36,  NC Noise Criterion",
        "        40,  NR Noise Rating", "      9999,  PNC Preferred Noise Criterion",
        "        44,  SIL Speech Interference Level (SIL)",
        " 1.2E+0001, d Limiting Distance for normal speech derived from SIL",
        "      9999,  RC Room Criterion",
        "None - not R or H or N or V ,  RCclass Room Criterion Class", "",
        "  AUTO CROSS-CORRELATION", "     -1.23, ?L Overall Level Difference between two channels",
        "      0.88,  ICCC Overall Maximum Absolute Value Coefficient",
        "      0.00,  Lag Inter-channel Cross Correlation-lag corresponding to ICCC", "",
        "  PSYCH VALUES", "       2.0,  N Overall Loudness",
        "       1.3,  S(Z&F) Overall Sharpness - Zwicker and Fastl",
        "       1.8,  S(A) Overall Sharpness - Aures", "      0.50,  TW Overall Timbral Width",
        "       3.0,  V Overall Auditory Volume",
        "    0.1235,  SDiss(H&K) Overall Spectral Dissonance - Hutchinson & Knopoff",
        "    0.1000,  SDiss(S) Overall Spectral Dissonance - Sethares",
        "    0.0000,  TDiss(H&K) Overall Dissonance of Tonal Components - Hutchinson & Knopoff",
        "    0.3000,  TDiss(S) Overall Dissonance of Tonal components - Sethares",
        "      0.30,  PTonal Overall Pure Tonalness - Parncutt",
        "      0.40,  CTonal Overall Complex Tonalness - Parncutt",
        "      1.50,  Mult Overall Multiplicity - Parncutt",
        Right(key, 10) + ",  Tonality String representing Overall Tonality",
        "      0.96,  R^2 Tonality Correlation Coefficient",
        Right(chord, 10) + ",  Chord String representing Overall Chord",
        "      0.50,  R^2 Chord Correlation Coefficient",
        // Pleasantness and annoyance worked out apart from the program (sharpness 1.75, so the
        // sharpness term of the annoyance vanishes).
        "   8.349, SP1 Sensory Pleasantness SP(dT)",
        "  10.122, SP2 Sensory Pleasantness SP(TDissS)",
        "  11.562,  Psychoacoustic Annoyance PsychAnnoy", "  34.060,  Unbiased Annoyance (m) Day",
        " 130.791,  Unbiased Annoyance (m) Night", "", "Sound Level Statistical Distribution (dBA)",
        "     80.13,  LAMax Maximum ", "     79.00,  LA1 1st Percentile ",
        "     75.50,  LA5 5th Percentile ", "     70.00,  LA10 1st Decile ",
        "     65.00,  LA20 2nd Decile ", "     60.00,  LA50 Median ",
        "     55.00,  LA80 8th Decile ", "     50.00,  LA90 9th Decile ",
        "     30.00,  LAMin Minimum", "   60.00,  LAEq dB(A) Time Avearage Sound Level", "",
        "Loudness Distribution", "     20.00,  Nmax Maximum ", "     19.00,  N1 1st Percentile ",
        "     10.00,  N5 5th Percentile ", "     12.00,  N10 1st Decile ",
        "      8.00,  N20 2nd Decile ", "      5.00,  N50 Median ", "      3.00,  N80 8th Decile ",
        "      2.00,  N90 9th Decile ", "      1.00,  Nmin Minimum", "",
        "TWO CHANNEL STATISTICS - START", "", "Channel Differences distribution",
        "      3.00,  ?LMax Maximum ", "      2.00,  ?L10 1st Decile ",
        "      1.50,  ?L20 2nd Decile ", "      0.00,  ?L50 Median ",
        "     -1.00,  ?L80 8th Decile ", "     -1.50,  ?L90 9th Decile ",
        "     -3.00,  ?LMin Minimum", "", "TWO CHANNEL STATISTICS - END",
    };
}

Lines BandTable() {
    Lines out = {"", "", "OCTAVE SPECTRUM,          THIRD-OCT SPECTRUM",
                 "  F(Hz),  L(dB),  F(Hz),  L(dB)"};
    const char* oct[10] = {"    31.5, ", "    63  , ", "   125 ,  ", "   250 ,  ", "   500 ,  ",
                           "  1000 ,  ", "  2000 ,  ", "  4000,   ", "  8000,   ", " 16000,   "};
    const char* third[22] = {"125",  "160",  "200",  "250",   "315",   "400",  "500",  "630",
                             "800",  "1000", "1250", "1600",  "2000",  "2500", "3150", "4000",
                             "5000", "6300", "8000", "10000", "12500", "16000"};
    for (int k = 0; k < 22; ++k) {
        const std::string right = "," + Right(third[k], 7) + ", " + F(20.3 + k, 5, 1);
        out.push_back((k < 10 ? oct[k] + F(40.3 + k, 5, 1) : std::string("      ,        ")) +
                      right);
    }
    return out;
}

Lines LoudnessTable() {
    Lines out = {"",
                 "",
                 "The above results as a structured list",
                 "",
                 "Overall Specific Loudness for the respective Erb and Frequency",
                 "      Erb,        Freq,    Loudness,"};
    // ERB number 2 .. 39 and its frequency (10^(E / 21.36554) - 1) * 1000 / 4.368 Hz.
    const int hz[38] = {55,   87,   123,  163,  208,   258,   313,   375,  444,  520,
                        605,  700,  806,  924,  1055,  1201,  1364,  1545, 1747, 1972,
                        2222, 2501, 2812, 3158, 3544,  3973,  4451,  4984, 5577, 6237,
                        6973, 7793, 8705, 9722, 10854, 12116, 13520, 15085};
    for (int e = 2; e <= 39; ++e) {
        out.push_back(Right(std::to_string(e), 10) + ",  " + Right(std::to_string(hz[e - 2]), 10) +
                      ",    " + F(4 * e / 1000.0, 6, 4));
    }
    return out;
}

Lines SalienceTables() {
    Lines out = {"", "", " Table of Mean Chroma Salience - Parncutt", " Chroma   Salience Value"};
    const char* chroma[12] = {"A ", "E ", "B ", "F#", "C#", "G#",
                              "D#", "A#", "F ", "C ", "G ", "D "};
    const int index[12] = {0, 7, 2, 9, 4, 11, 6, 1, 8, 3, 10, 5};
    for (int k = 0; k < 12; ++k) {
        out.push_back("          " + std::string(chroma[k]) + "  ," +
                      F(0.01 * index[k] + 0.0004, 6, 3) + "\t");
    }
    out.insert(out.end(),
               {"", "", " Table of Mean 88-Pitch Salience ", "Chroma/Octave  Mean 88-Pitch Value"});
    const char* names[12] = {"A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    for (int k = 0; k < 88; ++k) {
        const std::string n = names[k % 12], o = std::to_string((k + 9) / 12);
        std::string label =
            n.size() == 1 ? "  " + n + ",  " + o + "  ," : "  " + n + ", " + o + " ,";
        if (k == 10) label = "  G, 1 ,";
        out.push_back(Right(label, 15) + F(k / 1000.0 + 0.0002, 6, 3) + "\t");
    }
    out.insert(out.end(), {"", "",
                           "       C,\t  C#,     D,      D#,     E ,     F,      F#,    G,      G#,"
                           "     A,      A#,     B"});
    for (int o = 7; o >= 1; --o) {
        std::string row = "  " + std::to_string(o);
        for (int k = 12 * o - 9; k <= 12 * o + 2; ++k) row += ", " + F(k / 1000.0 + 0.0002, 7, 3);
        out.push_back(row);
    }
    return out;
}

TEST_F(SummaryReportTest, WholeReportLineByLine) {
    host.log.clear();
    const auto values = OutputSummary(s, host, files);
    ASSERT_TRUE(values.has_value());
    EXPECT_DOUBLE_EQ(values->OverallLEQ_dBA, 60.0);
    Lines expected = {"SUMMARY ANALYSIS OUTPUT with FFT SIZE 4096 using VKR Library", "",
                      "Scan using Original Dravolek Analysis", "", "INPUT,\t" + s.SoundFileName};
    for (const Lines& part : {kExplanation, FirstHalfAfterExplanation(keyText, chordText),
                              BandTable(), LoudnessTable(), SalienceTables()})
        expected.insert(expected.end(), part.begin(), part.end());
    const std::pair<const char*, const Lines*> copies[] = {
        {"LEVEL", &levelRows}, {"LOUD", &loudRows}, {"PITCH", &pitchRows}};
    const std::string columns[] = {LevelColumnLine(), LoudColumnLine(), PitchColumnLine()};
    for (int f = 0; f < 3; ++f) {
        expected.insert(expected.end(), {"", std::string("DRAVOLEK ") + copies[f].first +
                                                 " ANALYSIS OUTPUT", columns[f]});
        expected.insert(expected.end(), copies[f].second->begin(), copies[f].second->end());
    }
    expected.insert(expected.end(),
                    {"", "TIME HISTORY Elements", "Time, Larray , Loudness_S, , SharpnessZ_S ",
                     " 0.10, 61.000,  0.10, 1.000, 0.500", " 0.20, 62.000,  0.20, 2.000, 0.500",
                     " 0.30, 63.000,  0.30, 3.000, 0.500", "End Of Summary File"});
    const Lines report = Summary();
    for (std::size_t i = 0; i < std::max(report.size(), expected.size()); ++i)
        EXPECT_EQ(i < report.size() ? report[i] : "<none>",
                  i < expected.size() ? expected[i] : "<none>") << "line " << i + 1;
    std::string text;
    for (const std::string& line : expected) text += line + "\r\n";
    EXPECT_TRUE(ReadAll(files.Names.DravolekSummaryFileName) == text) << "not every line ends CR LF";
    EXPECT_EQ(host.log,
              (std::vector<test::LogLine>{{"S", "OutputSummary"}, {"E", "OutputSummary"}}));

    // The time-series files go after the good copy; the trace stays open for the tone pass.
    EXPECT_TRUE(files.TimeSeriesCopied);
    for (const std::string* gone : {&files.Names.DravolekLevelFileName,
                                    &files.Names.DravolekLoudFileName,
                                    &files.Names.DravolekPitchFileName})
        EXPECT_FALSE(fs::exists(*gone)) << *gone;
    Trace("after the summary");
    files.DravolekTraceFile.Flush();
    EXPECT_NE(ReadAll(files.Names.DravolekTraceFileName).find("TRACE, after the summary\r\n"),
              std::string::npos);
}

// The lines that depend on the dialog's radios and on single values of the state, each case on
// the hand-set state: the heading, the equivalent level on both ends of the recorded range
// (more than 20 blocks, fewer than 480000) and without a level sum, the limiting distance from
// zero up, and the unbiased annoyance without its sharpness term (sharpness 1).
TEST_F(SummaryReportTest, HeadingAndValueLinesFollowTheRunState) {
    const std::string leq = ",  LAEq dB(A) Time Avearage Sound Level";
    const std::string distance = ", d Limiting Distance for normal speech derived from SIL";
    const std::string title = "SUMMARY ANALYSIS OUTPUT with FFT SIZE 4096";
    const struct Case {
        FftRadios radios;
        std::function<void(engine::RunState&)> set;
        std::vector<std::pair<std::size_t, std::string>> lines;  // 0-based line, text
    } cases[] = {
        {{true, true, true, false, false}, {},
         {{0, title + " using Math Library using VKR Library"},
          {2, "Scan using Original Dravolek Analysis"}}},
        {{true, false, false, true, false}, {},
         {{0, title + " using Math Library"}, {2, "Scanned for Low Frequencies above 20 Hz"}}},
        {{false, false, true, true, true}, {},
         {{0, title}, {2, "Deep scan for Low Frequencies including 0 - 20Hz"}}},
        {{false, true, false, false, false}, {}, {{0, title + " using VKR Library"}, {2, ""}}},
        {{}, [](auto& r) { r.Elements = 20, r.SumLArray = 20e6; },
         {{85, "        20,  Windows analyzed by Dravolek"}, {141, "     Nan" + leq}}},
        {{}, [](auto& r) { r.Elements = 21, r.SumLArray = 21e7; }, {{141, "   70.00" + leq}}},
        {{}, [](auto& r) { r.Elements = 479999, r.SumLArray = 479999e6; },
         {{141, "   60.00" + leq}}},
        {{}, [](auto& r) { r.Elements = 480000, r.SumLArray = 480000e6; },
         {{141, "     Nan" + leq}}},
        {{}, [](auto& r) { r.SumLArray = 0; }, {{141, "     Nan" + leq}}},
        {{}, [](auto& r) { r.SILd = 0.0; }, {{99, " 0.0E+0000" + distance}}},
        {{}, [](auto& r) { r.SILd = -0.0; }, {{99, " 0.0E+0000" + distance}}},
        {{}, [](auto& r) { r.SILd = -1e-300; }, {{99, "         0" + distance + " very small"}}},
        {{}, [](auto& r) { r.SILd = std::nan(""); }, {{99, "         0" + distance + " very small"}}},
        // 10^1.3 = 19.9526..., by night 3.84 times that.
        {{}, [](auto& r) { r.SharpnessA_S = 1.0, r.DissonanceS_S = 0.0, r.N10 = 10.0; },
         {{128, "  19.953,  Unbiased Annoyance (m) Day"},
          {129, "  76.618,  Unbiased Annoyance (m) Night"}}},
    };
    for (const Case& c : cases) {
        engine::RunState state = s;
        if (c.set) c.set(state);
        files.DravolekSummaryFile.Create(files.Names.DravolekSummaryFileName);
        OutputSummary(state, host, files, c.radios);
        const Lines report = Summary();
        for (const auto& [at, line] : c.lines) EXPECT_EQ(report.at(at), line) << at;
        EXPECT_EQ(report.back(), "End Of Summary File");
    }
}

TEST_F(SummaryReportTest, FailedCopyKeepsTheFiles) {
    files.DravolekLevelFile.Close();
    fs::remove(files.Names.DravolekLevelFileName);
    OutputSummary(s, host, files);
    EXPECT_FALSE(files.TimeSeriesCopied);
    EXPECT_TRUE(fs::exists(files.Names.DravolekLoudFileName));
    EXPECT_TRUE(fs::exists(files.Names.DravolekPitchFileName));
    EXPECT_EQ(host.Count("D", "OutputSummary could not copy \"" +
                                  files.Names.DravolekLevelFileName + "\""),
              1);
    // The loudness and pitch rows are copied all the same.
    const Lines report = Summary();
    const std::string text = ReadAll(files.Names.DravolekSummaryFileName);
    EXPECT_EQ(text.find("DRAVOLEK LEVEL"), std::string::npos);
    EXPECT_NE(text.find("\r\n" + loudRows[0] + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n" + pitchRows[2] + "\r\n"), std::string::npos);
    EXPECT_EQ(report.back(), "End Of Summary File");
    files.CloseAtExit();  // the exit keeps them too
    EXPECT_TRUE(fs::exists(files.Names.DravolekLoudFileName));
}

// A disk that fills while the report is written: nothing of it, part of its first half, or all
// but the last byte of its closing line. The run stops with the report's name and the reason,
// and the level, loudness and pitch files stay, their rows being nowhere else whole.
TEST_F(SummaryReportTest, ReportCutShortKeepsTheTimeSeriesFiles) {
    OutputSummary(s, host, files);  // a whole report, for its length
    const auto whole = static_cast<std::size_t>(fs::file_size(files.Names.DravolekSummaryFileName));
    ASSERT_GT(whole, 10000u);
    for (const std::size_t budget : {std::size_t{0}, std::size_t{5000}, whole - 1}) {
        SCOPED_TRACE(budget);
        // A new run of the same files, whose report takes `budget` bytes.
        files.SetOpener([budget](const std::string& path) {
            return path.ends_with(" Acoustic S.dvk") ? test::OpenFailingAfter(path, budget)
                                                     : std::fopen(path.c_str(), "wb");
        });
        files.DravolekFormatOutput(host, s.SoundFileName);
        WriteTimeSeries();
        WriteHistoryTrace();
        try {
            OutputSummary(s, host, files);
            ADD_FAILURE() << "the report was written whole";
        } catch (const WriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot write file \"" + files.Names.DravolekSummaryFileName +
                                                 "\": No space left on device");
        }
        EXPECT_FALSE(files.TimeSeriesCopied);
        for (const std::string* kept : {&files.Names.DravolekLevelFileName,
                                        &files.Names.DravolekLoudFileName,
                                        &files.Names.DravolekPitchFileName})
            EXPECT_TRUE(fs::exists(*kept)) << *kept;
        EXPECT_EQ(fs::file_size(files.Names.DravolekSummaryFileName), budget);
    }
}

// The tone pass appends the Nordic block cut out of the trace (its lines are those of
// NordicToneLines, whose own suite checks them) and nothing else.
TEST_F(SummaryReportTest, ExtendedCallAppendsOnlyTheNordicBlock) {
    OutputSummary(s, host, files);
    const std::string standard = ReadAll(files.Names.DravolekSummaryFileName);
    Trace("History 01.00 Time, Larray ");
    Trace("History 01.01, 0.10, 58.000");
    Trace("Nordic 01.00 ToneF index, , CountLine, , Start CB Line ");
    Trace("Nordic 01.01, 1, 1, 12");
    host.SetText("CurrentProcessingMode", "Extended");
    host.log.clear();
    EXPECT_FALSE(OutputSummary(s, host, files).has_value());

    std::istringstream trace(ReadAll(files.Names.DravolekTraceFileName));
    std::string block;
    NordicToneLines(trace, [&block](const std::string& line) { block += line + "\r\n"; });
    EXPECT_NE(block.find("1, 1, 12"), std::string::npos);
    EXPECT_EQ(ReadAll(files.Names.DravolekSummaryFileName), standard + block);
    EXPECT_EQ(host.log,
              (std::vector<test::LogLine>{{"S", "OutputSummary"}, {"E", "OutputSummary"}}));
}

// A run of 20 blocks records no samples: in a fresh program the percentile lines read 0.00, the
// annoyance of no loudness is 0 (not 0 / 0) and the report is written to its end. (The dialogs
// allow no such run: a stretch is at least 2 s, 40 blocks or more.)
TEST_F(SummaryReportTest, ShortRunInAFreshProgramWritesThePercentilesAsZero) {
    engine::Engine fresh(host);
    engine::RunState& f = fresh.S();
    f.Elements = 20;
    fresh.CalculatePercentiles();
    OutputSummary(f, host, files);
    const Lines report = Summary();
    // LA1 .. LA90, N1 .. N90 and ?L10 .. ?L90 (0-based lines 133-139, 145-151, 158-162).
    for (const auto& [first, last] : {std::pair{133, 139}, {145, 151}, {158, 162}})
        for (auto at = static_cast<std::size_t>(first); at <= static_cast<std::size_t>(last); ++at)
            EXPECT_EQ(report.at(at).substr(0, 13), "      0.00,  ") << report.at(at);
    EXPECT_EQ(report.at(127), "   0.000,  Psychoacoustic Annoyance PsychAnnoy");
    EXPECT_EQ(report.back(), "End Of Summary File");
}

}  // namespace
}  // namespace oxw::report
