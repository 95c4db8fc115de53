// The time-history and Nordic tone blocks cut out of trace rows: markers present, missing, at the
// end of the file, and files that end inside a group.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/report/SummaryReport.h"

namespace oxw::report {
namespace {

using Lines = std::vector<std::string>;

struct TraceCase {
    const char* name;
    Lines trace;     // rows of the trace file, each written with CR LF
    Lines expected;  // the block's lines after its two heading lines
};

std::string CrLf(const Lines& rows) {
    std::string text;
    for (const auto& r : rows) text += r + "\r\n";
    return text;
}

const std::string kBlockHead = "TRACE, History 01.00 Time, Larray ";
const std::string kLineHead = "TRACE, History 02.00 Time, Loudness_S, , SharpnessZ_S ";

TEST(SummaryTraceTest, TimeHistoryBlock) {
    const TraceCase cases[] = {
        {"one block per line, two lines",
         {kBlockHead, "TRACE, History 01.01, 0.05, 60.000", kLineHead,
          "TRACE, History 02.01, 0.05, 0.500, 1.250", kBlockHead,
          "TRACE, History 01.01, 0.10, 62.500", kLineHead,
          "TRACE, History 02.01, 0.10, 1.000, 2.500"},
         {"Time, Larray , Loudness_S, , SharpnessZ_S ", " 0.05, 60.000,  0.05, 0.500, 1.250",
          " 0.10, 62.500,  0.10, 1.000, 2.500"}},
        {"exactly one group: no line after it",
         {kBlockHead, "TRACE, History 01.01, 0.05, 60.000", kLineHead,
          "TRACE, History 02.01, 0.05, 0.500"},
         {"Time, Larray , Loudness_S, , SharpnessZ_S ", " 0.05, 60.000,  0.05, 0.500"}},
        // Without their markers: a column row is kept whole, a value row from its 14th character.
        {"markers missing",
         {"TRACE, columns", "0123456789ABCDEFGH", "TRACE, more columns", "short"},
         {"TRACE, columns, TRACE, more columns", "DEFGH, "}},
        {"file ends inside the second group",
         {kBlockHead, "TRACE, History 01.01, 0.05, 60.000", kLineHead,
          "TRACE, History 02.01, 0.05, 0.500", kBlockHead, "TRACE, History 01.01, 0.10, 61.000"},
         {"Time, Larray , Loudness_S, , SharpnessZ_S ", " 0.05, 60.000,  0.05, 0.500",
          " 0.10, 61.000, "}},
        {"empty trace", {}, {", ", ", "}},
    };
    for (const auto& c : cases) {
        std::istringstream trace(CrLf(c.trace));
        Lines expected = {"", "TIME HISTORY Elements"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(TimeHistoryLines(trace), expected) << c.name;
    }
}

const std::string kToneHead = "TRACE, Nordic 01.00 ToneF index, , CountLine, , Start CB Line ";

TEST(SummaryTraceTest, NordicToneBlock) {
    const TraceCase cases[] = {
        {"no tone in the trace",
         {kBlockHead, "TRACE, History 01.01, 0.05, 60.000"},
         {"No tone was found"}},
        {"empty trace", {}, {"No tone was found"}},
        // First-pass rows are skipped; block rows of the tone pass switch the copy off and the
        // next tone row switches it on again.
        {"tones between block rows",
         {kLineHead, "TRACE, History 02.01, 0.05, 0.500", kToneHead,
          "TRACE, Nordic 01.01, 1, 1, 12", kBlockHead, "TRACE, History 01.01, 0.10, 58.000",
          kToneHead, "TRACE, Nordic 01.01, 2, 1, 30"},
         {"index, , CountLine, , Start CB Line ", "1, 1, 12", "2, 1, 30"}},
        // A row with no marker keeps the cut of the row before it.
        {"unmarked rows follow the last decision",
         {kToneHead, "TRACE, Nordic 01.01, 1, 1, 12", "first of pair", "012345678901234567890XYZ",
          kBlockHead, "TRACE, History 01.01, 0.10, 58.000", "first of pair",
          "TRACE, another plain row"},
         {"index, , CountLine, , Start CB Line ", "1, 1, 12", "XYZ"}},
        {"tone heading is the last row",
         {kBlockHead, kToneHead},
         {"index, , CountLine, , Start CB Line ", ""}},
        {"tone row without its marker",
         {kToneHead, "0123456789ABCDEFGH"},
         {"index, , CountLine, , Start CB Line ", "DEFGH"}},
        {"odd row count: the pair's second row lies past the end",
         {kToneHead, "TRACE, Nordic 01.01, 1, 1, 12", kToneHead},
         {"index, , CountLine, , Start CB Line ", "1, 1, 12", ""}},
    };
    for (const auto& c : cases) {
        std::istringstream trace(CrLf(c.trace));
        Lines expected = {"", "NORDIC TONE Elements"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(NordicToneLines(trace), expected) << c.name;
    }
}

}  // namespace
}  // namespace oxw::report
