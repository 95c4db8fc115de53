// The rows of the level, loudness and pitch files, checked as whole lines against texts worked
// out by hand from the values set below (fixed W:D rounds half away from zero on the decimal
// value, rounded integers go half to even, fields never cut, non-finite values spelt out).
#include "app/report/TimeSeriesRows.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>

namespace oxw::report {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string Repeat(const std::string& text, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += text;
    return out;
}

// A line state with every printed value set by hand.
engine::RunState HandSetState() {
    engine::RunState s;
    s.SoundFileBlockAlign = 4; s.SoundFileSampleRate = 44100;
    // Level row: halves to even (62, 64, 0 without a sign, 1234), 71.3, 40.265 phon (40).
    s.LA_T = 62.5; s.LB_T = 63.5; s.LC_T = -0.5; s.SPL_T = 71.25; s.Loudness_T = 1.0;
    s.Centroid_T = 1234.5; s.DeltaL_T = -0.04; s.ICCC_T = 0.987; s.ICCClag_T = -0.004;
    s.Oct_T = {10.0, 20.5, 30.25, 40.125, 50.0, 60.0, 70.0, 80.0, 99.995, kInf};
    s.ThirdOct_T = {-990.0};
    for (int j = 1; j <= 21; ++j) s.ThirdOct_T.push_back(j < 21 ? 5.0 * j : kNan);
    // Loudness row: specific loudness i / 1000 at every grid index, so a wrong index shows.
    s.Nmax_T = 12.345; s.SharpnessZ_T = 1.5; s.SharpnessA_T = 2.25; s.TimbralWidth_T = 0.333;
    s.Volume_T = -1.0;
    for (int i = 0; i <= 156; ++i) s.SpecLoud_T.push_back(i < 156 ? i / 1000.0 : -kInf);
    // Pitch row: chroma c holds c / 10, so the fifths order shows.
    s.SpectDissHK_T = 0.12345; s.SpectDissS_T = 1.5; s.DissonanceHK_T = 0.0;
    s.DissonanceS_T = -0.00004; s.PureTonalness_T = 0.5; s.ComplexTonalness_T = 0.125;
    s.Multiplicity_T = 2.0; s.Tonality_T = 7; s.MajMin_T = 1; s.TonalityR2_T = 0.875;
    for (int c = 0; c <= 12; ++c) s.ChromaSalience_T[c] = c / 10.0;
    s.PitchSalience_T.assign(88, 0.0);
    s.PitchSalience_T[0] = 0.25; s.PitchSalience_T[48] = 1.0; s.PitchSalience_T[87] = kNan;
    return s;
}

const std::string kLevelRow =
    "10.00,\t62,\t64,\t0,\t 71.3,\t40,\t1234,\t -0.0,\t 0.99,\t-0.00,\t"
    "10.00,\t20.50,\t30.25,\t40.13,\t50.00,\t60.00,\t70.00,\t80.00,\t100.00,\t +Inf,\t"
    "-990.00,\t 5.00,\t10.00,\t15.00,\t20.00,\t25.00,\t30.00,\t35.00,\t40.00,\t45.00,\t"
    "50.00,\t55.00,\t60.00,\t65.00,\t70.00,\t75.00,\t80.00,\t85.00,\t90.00,\t95.00,\t"
    "100.00,\t  Nan";

const std::string kLoudRow =
    "10.00,\t 1.00,\t12.35,\t 1.50,\t 2.25,\t 0.33,\t-1.00,\t"
    "0.0080, 0.0120, 0.0160, 0.0200, 0.0240, 0.0280, 0.0320, 0.0360, 0.0400, 0.0440, "
    "0.0480, 0.0520, 0.0560, 0.0600, 0.0640, 0.0680, 0.0720, 0.0760, 0.0800, 0.0840, "
    "0.0880, 0.0920, 0.0960, 0.1000, 0.1040, 0.1080, 0.1120, 0.1160, 0.1200, 0.1240, "
    "0.1280, 0.1320, 0.1360, 0.1400, 0.1440, 0.1480, 0.1520,   -Inf, ";

const std::string kPitchRow =
    "10.00,\t0.1235,\t1.5000,\t0.0000,\t-0.0000,\t 0.50,\t 0.13,\t 2.00,\t7,\t1,\t0.88,\t"
    // A, E, B, F#, C#, G#, D#, A#, F, C, G, D: chroma 0, 7, 2, 9, 4, 11, 6, 1, 8, 3, 10, 5
    " 0.000,\t 0.700,\t 0.200,\t 0.900,\t 0.400,\t 1.100,\t 0.600,\t 0.100,\t 0.800,\t 0.300,\t"
    " 1.000,\t 0.500,\t"
    "0.2500,\t" + Repeat("0.0000,\t", 47) + "1.0000,\t" + Repeat("0.0000,\t", 38) + "   Nan,\t";

struct HostAt : test::ScriptedHost {
    explicit HostAt(const std::string& position) { texts["PositionCurrent"] = position; }
};

// Names of the columns of a header line or the fields of a row: text between commas and TABs.
int CountFields(const std::string& line) {
    int n = 0;
    std::string token;
    std::istringstream in(line);
    while (std::getline(in, token, ',')) {
        std::istringstream parts(token);
        for (std::string part; std::getline(parts, part, '\t');)
            n += part.find_first_not_of(' ') != std::string::npos;
    }
    return n;
}

TEST(TimeSeriesRows, WholeRowsOfAHandSetLineUnderTheirHeaders) {
    const engine::RunState s = HandSetState();
    HostAt host("1764044");  // 1764044 / 4 / 44100 = 10.00025 s
    const double t = RowTime(s, host);
    EXPECT_DOUBLE_EQ(t, 1764044.0 / 4 / 44100);
    EXPECT_EQ(LevelRow(s, t), kLevelRow);
    EXPECT_EQ(LoudRow(s, t), kLoudRow);
    EXPECT_EQ(PitchRow(s, t), kPitchRow);
    // Positions of a long recording, past 2^31 and 3 GiB, give the times of their rows.
    for (const auto& [position, time] :
         {std::pair{"2147484824", "12173.95,"}, std::pair{"3221225516", "18260.92,"}}) {
        EXPECT_EQ(LevelRow(s, RowTime(s, HostAt(position))).substr(0, 9), time);
    }
    // Each row has a field for every column of its file's header: the time and 41, 44, 110.
    const struct { std::string header, row; int columnsAfterTime; } files[] = {
        {LevelColumnLine(), kLevelRow, 41}, {LoudColumnLine(), kLoudRow, 44},
        {PitchColumnLine(), kPitchRow, 110}};
    for (const auto& f : files) {
        EXPECT_EQ(CountFields(f.header), 1 + f.columnsAfterTime);
        EXPECT_EQ(CountFields(f.row), 1 + f.columnsAfterTime);
    }
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TimeSeriesRows, OutputTimeFilesWritesFlushedRowsWithCrLfOrNoneForABadPosition) {
    test::TempDir dir{"oxw-rows"};
    OutputFiles files;
    files.DravolekLevelFile.Create((dir / "L").string());
    files.DravolekLoudFile.Create((dir / "N").string());
    files.DravolekPitchFile.Create((dir / "P").string());
    files.DravolekTraceFile.Create((dir / "T").string());
    files.DravolekTraceFile.WriteLine("trace row");
    const engine::RunState s = HandSetState();
    HostAt host("1764044");

    OutputTimeFiles(s, host, files);
    OutputTimeFiles(s, host, files);

    // Read while the files are still open: every row has been handed to the system.
    EXPECT_EQ(ReadAll((dir / "L").string()), kLevelRow + "\r\n" + kLevelRow + "\r\n");
    EXPECT_EQ(ReadAll((dir / "N").string()), kLoudRow + "\r\n" + kLoudRow + "\r\n");
    EXPECT_EQ(ReadAll((dir / "P").string()), kPitchRow + "\r\n" + kPitchRow + "\r\n");
    EXPECT_EQ(ReadAll((dir / "T").string()), "trace row\r\n");
    const test::LogLine start{"S", "OutputTimeFiles"}, end{"E", "OutputTimeFiles"};
    EXPECT_EQ(host.log, (std::vector<test::LogLine>{start, end, start, end}));

    // A position that is not a number stops the call before any row.
    for (const char* text : {"", "12x", "1.5", "9223372036854775808"}) {
        HostAt bad(text);
        EXPECT_THROW(OutputTimeFiles(s, bad, files), std::invalid_argument) << text;
    }
    files.DravolekLevelFile.Flush();
    EXPECT_EQ(ReadAll((dir / "L").string()), kLevelRow + "\r\n" + kLevelRow + "\r\n");
}

TEST(TimeSeriesRows, ShortResultArraysReadAsZero) {
    // Arrays not yet sized for a run give 0 rather than reading past their ends.
    engine::RunState s;
    s.Tonality_T = -99;  // no key found
    EXPECT_EQ(LevelRow(s, 0.0), " 0.00,\t0,\t0,\t0,\t  0.0,\t4,\t0,\t  0.0,\t 0.00,\t 0.00,\t" +
                                    Repeat(" 0.00,\t", 31) + " 0.00");
    EXPECT_EQ(LoudRow(s, 0.0), " 0.00,\t" + Repeat(" 0.00,\t", 6) + Repeat("0.0000, ", 38));
    EXPECT_EQ(PitchRow(s, 0.0), " 0.00,\t" + Repeat("0.0000,\t", 4) + Repeat(" 0.00,\t", 3) +
                                    "-99,\t0,\t0.00,\t" + Repeat(" 0.000,\t", 12) +
                                    Repeat("0.0000,\t", 88));
}

}  // namespace
}  // namespace oxw::report
