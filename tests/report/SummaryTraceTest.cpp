// The time-history and Nordic tone blocks cut out of trace rows: markers present, missing, at the
// end of the file, and files that end inside a group.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/SummaryReport.h"
#include "support/EngineRig.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

namespace oxw::report {
namespace {

using Lines = std::vector<std::string>;

struct TraceCase {
    const char* name;
    Lines trace;     // rows of the trace file, each written with CR LF
    Lines expected;  // the block's lines after its two heading lines
};

// The lines a block writer gives for the rows.
template <typename Writer>
Lines Collect(Writer write, const Lines& rows) {
    std::string text;
    for (const auto& r : rows) text += r + "\r\n";
    std::istringstream trace(text);
    Lines lines;
    write(trace, [&lines](const std::string& line) { lines.push_back(line); });
    return lines;
}

// Each case's block: an empty line, the block's title, its lines.
template <typename Writer, std::size_t N>
void ExpectBlocks(Writer write, const char* title, const TraceCase (&cases)[N]) {
    for (const auto& c : cases) {
        Lines expected = {"", title};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(Collect(write, c.trace), expected) << c.name;
    }
}

const std::string kBlockHead = "TRACE, History 01.00 Time, Larray ";
const std::string kLineHead = "TRACE, History 02.00 Time, Loudness_S, , SharpnessZ_S ";

// Rows as the line and file means write them: a block row pair for every recorded block, a line
// row pair at the end of every output line.
Lines BlockRows(const std::string& time, const std::string& level) {
    return {kBlockHead, "TRACE, History 01.01, " + time + ", " + level};
}
Lines LineRows(const std::string& time, const std::string& means) {
    return {kLineHead, "TRACE, History 02.01, " + time + ", " + means};
}
Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(SummaryTraceTest, TimeHistoryBlock) {
    const std::string heading = "Time, Larray , Loudness_S, , SharpnessZ_S ";
    const TraceCase cases[] = {
        {"one block per line, two lines",
         BlockRows("0.05", "60.000") + LineRows("0.05", "0.500, 1.250") +
             BlockRows("0.10", "62.500") + LineRows("0.10", "1.000, 2.500"),
         {heading, " 0.05, 60.000,  0.05, 0.500, 1.250", " 0.10, 62.500,  0.10, 1.000, 2.500"}},
        {"exactly one line: no row after it", BlockRows("0.05", "60.000") + LineRows("0.05", "0.500"),
         {heading, " 0.05, 60.000,  0.05, 0.500"}},
        // Three blocks per line: each line row goes with the last block row before it.
        {"three blocks per line",
         BlockRows("0.05", "60.000") + BlockRows("0.10", "61.000") + BlockRows("0.15", "62.000") +
             LineRows("0.15", "0.500") + BlockRows("0.20", "63.000") +
             BlockRows("0.25", "64.000") + BlockRows("0.30", "65.000") + LineRows("0.30", "0.750"),
         {heading, " 0.15, 62.000,  0.15, 0.500", " 0.30, 65.000,  0.30, 0.750"}},
        // No block recorded (too few or too many blocks for the percentiles): the line rows alone.
        {"no block rows", LineRows("0.05", "0.500") + LineRows("0.10", "0.750"),
         {"Loudness_S, , SharpnessZ_S ", " 0.05, 0.500", " 0.10, 0.750"}},
        // The first block recorded only after the first line: the column names of both parts
        // head the block all the same.
        {"first block row after the first line row",
         LineRows("0.05", "0.500") + BlockRows("0.10", "61.000") + LineRows("0.10", "0.750"),
         {heading, " 0.05, 0.500", " 0.10, 61.000,  0.10, 0.750"}},
        // Block rows after the last line row, and rows of other kinds, give no line.
        {"trace ends inside a line, other rows between",
         BlockRows("0.05", "60.000") + Lines{"TRACE, Loudness_T, 1"} + LineRows("0.05", "0.500") +
             BlockRows("0.10", "61.000"),
         {heading, " 0.05, 60.000,  0.05, 0.500"}},
        // Column rows without their column names are kept whole.
        {"column names missing",
         Lines{"TRACE, History 01.00 columns", "TRACE, History 01.01, 1",
               "TRACE, History 02.00 columns", "TRACE, History 02.01, 2"},
         {"TRACE, History 01.00 columns, TRACE, History 02.00 columns", " 1,  2"}},
        {"empty trace", {}, {""}},
    };
    ExpectBlocks(TimeHistoryLines, "TIME HISTORY Elements", cases);
}

// The trace of a real run, 2 s at 10 blocks per output line: 40 recorded blocks, 4 lines. Each
// row pairs a line with its own last block, which starts (10 k - 1) x 2205 frames after the
// first and gives the line its time: (10 k - 1) x 0.05 s + 44 header bytes / 88200 bytes/s.
TEST(SummaryTraceTest, TimeHistoryOfARunWithTenBlocksPerLine) {
    test::TempDir dir{"oxw-trace"};
    std::vector<double> tone(44100 * 3);
    for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = 0.25 * std::sin(0.06 * static_cast<double>(i));
    test::WriteWav(dir / "tone.wav", test::WavFormat(), {tone});
    test::EngineRig<> r;
    r.host.checkDialog = [](engine::SoundFileCheckForm& f) {
        f.SoundFileStartTime = "0";
        f.SoundFileEndTime = "2";
        f.OutputCompression = "10";
    };
    r.Run((dir / "tone.wav").string());
    ASSERT_EQ(r.e.S().Elements, 40);
    Lines rows;
    for (const auto& row : r.host.Lines("T")) rows.push_back("TRACE, " + row);
    const Lines block = Collect(TimeHistoryLines, rows);
    ASSERT_EQ(block.size(), 3u + 4u);
    EXPECT_EQ(block[2].rfind("Time, Larray , Loudness_S, , SharpnessZ_S, , ", 0), 0u) << block[2];
    const char* times[] = {" 0.45", " 0.95", " 1.45", " 1.95"};
    for (int k = 0; k < 4; ++k) {
        const std::string& row = block[3 + static_cast<std::size_t>(k)];
        const std::size_t level = row.find(", ") + 2, lineTime = row.find(", ", level) + 2;
        EXPECT_EQ(row.substr(0, level - 2), times[k]) << row;
        EXPECT_EQ(row.substr(lineTime, 5), times[k]) << row;
        // 13 running means follow the line's time.
        EXPECT_EQ(std::count(row.begin(), row.end(), ','), 2 + 13) << row;
    }
}

const std::string kToneHead = "TRACE, Nordic 01.00 ToneF index, , CountLine, , Start CB Line ";
const std::string kToneColumns = "index, , CountLine, , Start CB Line ";

TEST(SummaryTraceTest, NordicToneBlock) {
    const TraceCase cases[] = {
        {"no tone in the trace", {kBlockHead, "TRACE, History 01.01, 0.05, 60.000"}, {"No tone was found"}},
        {"empty trace", {}, {"No tone was found"}},
        // First-pass rows are skipped; block rows of the tone pass switch the copy off and the
        // next tone row switches it on again.
        {"tones between block rows",
         {kLineHead, "TRACE, History 02.01, 0.05, 0.500", kToneHead,
          "TRACE, Nordic 01.01, 1, 1, 12", kBlockHead, "TRACE, History 01.01, 0.10, 58.000",
          kToneHead, "TRACE, Nordic 01.01, 2, 1, 30"},
         {kToneColumns, "1, 1, 12", "2, 1, 30"}},
        // A row with no marker keeps the cut of the row before it.
        {"unmarked rows follow the last decision",
         {kToneHead, "TRACE, Nordic 01.01, 1, 1, 12", "first of pair", "012345678901234567890XYZ",
          kBlockHead, "TRACE, History 01.01, 0.10, 58.000", "first of pair",
          "TRACE, another plain row"},
         {kToneColumns, "1, 1, 12", "XYZ"}},
        {"tone heading is the last row", {kBlockHead, kToneHead}, {kToneColumns, ""}},
        {"tone row without its marker", {kToneHead, "0123456789ABCDEFGH"}, {kToneColumns, "DEFGH"}},
        {"odd row count: the pair's second row lies past the end",
         {kToneHead, "TRACE, Nordic 01.01, 1, 1, 12", kToneHead},
         {kToneColumns, "1, 1, 12", ""}},
    };
    ExpectBlocks(NordicToneLines, "NORDIC TONE Elements", cases);
}

}  // namespace
}  // namespace oxw::report
