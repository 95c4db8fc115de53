// The run driver on generated WAV files: the order of the steps,
// the report calls, the progress bar, the refreshes, the gate, the stream positions and the
// closing dumps. Positions are worked out by hand: a canonical header is 44 bytes and one block
// hop is 441 x 5 = 2205 frames, 4410 bytes in 16-bit mono and 8820 in 16-bit stereo.
#include "engine/Engine.h"
#include "engine/SoundFileIntake.h"
#include "numeric/NumberFormat.h"
#include "support/EngineRig.h"
#include "support/FailingStreams.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <numbers>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace oxw::engine {
namespace {

using test::LogLine;
using test::TempDir;
using Timeline = std::vector<std::string>;

// A 440 Hz sine at half scale (or another amplitude), the same in every channel, with the RIFF
// size field as written or patched. A file shorter than 2 s declares 2 s of data, as a recording
// cut short does: the check dialog takes no stretch past the data the header declares.
std::string WriteSine(const TempDir& dir, std::uint16_t channels, std::size_t frames,
                      double amplitude = 0.5, std::optional<std::uint32_t> riffSize = {}) {
    std::vector<double> x(frames);
    for (std::size_t i = 0; i < frames; ++i)
        x[i] = amplitude * std::sin(2 * std::numbers::pi * 440.0 * static_cast<double>(i) / 44100.0);
    auto bytes = test::WavBytes(test::WavFormat().Channels(channels),
                                std::vector<std::vector<double>>(channels, x));
    if (frames < 88200) test::PutU32(bytes, 40, 88200u * 2 * channels);
    if (riffSize) test::PutU32(bytes, 4, *riffSize);
    const auto p = dir / ("sine" + std::to_string(channels) + "-" + std::to_string(frames) + "-" +
                          std::to_string(amplitude) + "-" + std::to_string(riffSize.value_or(1)) +
                          ".wav");
    test::WriteWavFile(p, bytes);
    return p.string();
}

// One timeline of the run as "kind text": audit lines, report/dialog calls ("call", entered at the
// next event), progress "range" and "pos", "text name=value" of the bytes read and position, "refresh".
class TimelineHost : public test::ScriptedHost {
public:
    Timeline timeline;

    void CreateAuditLog(std::string_view kind, std::string_view text) override {
        ScriptedHost::CreateAuditLog(kind, text);
        // Array and trace lines belong to the steps, not to the driver's order.
        if (kind == "S" || kind == "E" || kind == "D") Mark(std::string(kind), text);
    }
    void SetText(std::string_view name, std::string_view text) override {
        ScriptedHost::SetText(name, text);
        if (name == "SoundFileBytesRead" || name == "PositionCurrent")
            Mark("text", std::string(name) + "=" + std::string(text));
    }
    void SetProgressRange(int min, int max) override {
        ScriptedHost::SetProgressRange(min, max);
        Mark("range", std::to_string(min) + " " + std::to_string(max));
    }
    void SetProgressPosition(int n) override {
        ScriptedHost::SetProgressPosition(n);
        Mark("pos", std::to_string(n));
    }
    void Refresh() override { Mark("refresh", ""); }

    // Index of the n-th (0-based) entry equal to the line; -1 when there is none.
    long Find(const std::string& line, int n = 0) const {
        for (std::size_t i = 0; i < timeline.size(); ++i)
            if (timeline[i] == line && n-- == 0) return static_cast<long>(i);
        return -1;
    }
    // The entries of [from, to) found in the expected list, in order (a step left out, repeated
    // or moved shows).
    Timeline Pick(long from, long to, const Timeline& expected) const {
        const std::set<std::string> wanted(expected.begin(), expected.end());
        Timeline out;
        for (long i = std::max(from, 0L); i < to && i < static_cast<long>(timeline.size()); ++i)
            if (wanted.count(timeline[i])) out.push_back(timeline[i]);
        return out;
    }
    long CountPrefix(const std::string& prefix) const {
        return std::count_if(timeline.begin(), timeline.end(),
                             [&](const auto& l) { return l.rfind(prefix, 0) == 0; });
    }

private:
    std::size_t callsSeen_ = 0;
    void Mark(const std::string& kind, std::string_view text) {
        for (callsSeen_ = std::min(callsSeen_, calls.size()); callsSeen_ < calls.size(); ++callsSeen_)
            timeline.push_back("call " + calls[callsSeen_]);
        timeline.push_back(text.empty() ? kind : kind + " " + std::string(text));
    }
};

using Rig = test::EngineRig<TimelineHost>;

// A run of the option with the dialog's start and end times and compression.
struct TimedRun : Rig {
    TimedRun(const std::string& path, const char* option, const char* start, const char* end,
             const char* compression = "1")
        : Rig(option) {
        host.checkDialog = [=](SoundFileCheckForm& f) {
            f.SoundFileStartTime = start;
            f.SoundFileEndTime = end;
            f.OutputCompression = compression;
        };
        Run(path);
    }
};

// Start lines of steps; timelines joined.
Timeline S(std::initializer_list<const char*> steps) {
    Timeline t;
    for (const char* s : steps) t.push_back(std::string("S ") + s);
    return t;
}
Timeline operator+(Timeline a, const Timeline& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The block reader shows the stream position and puts it on screen itself.
const Timeline kMakeSpectrum = {"S MakeSpectrum", "refresh"};
const std::string kDravolekDump = "D Dravolek Spectrum dB values, , Intensity index, ";
const std::string kNordicDump = "D Nordic Spectrum dB values , Intensity index, ";
// The end-of-file chain, after pass 1 shows the stream position after its 40 mono blocks.
const Timeline kChain = {
    "text PositionCurrent=176444", "refresh", "range 1 10", "S CalculatePercentiles", "pos 2",
    "S FindChord", "pos 3", "S FindKey", "S FindKey", "pos 4", "S CalculateNoiseCriterion", "pos 5",
    "S CalculatePNC", "pos 6", "S CalculateRoomCriterion", "pos 7", "S CalculateNoiseRating",
    "pos 8", "call OutputSummary", "pos 9", "call DoCharts", "pos 10"};
// Just after the chain (the first "pos 10" is the progress of line 10).
long AfterChain(const TimelineHost& h) { return h.Find("pos 10", 1) + 1; }
std::vector<std::string> Pass1Calls() {
    std::vector<std::string> c = {"ChooseSoundFile", "ShowSoundFileCheck", "DravolekFormatOutput"};
    c.insert(c.end(), 40, "OutputTimeFiles");
    c.insert(c.end(), {"OutputSummary", "DoCharts"});
    return c;
}

TEST(Driver, IntroductoryRunsOnePassInTheFixedOrder) {
    TempDir dir{"oxw-driver"};
    Rig r("Introductory");
    r.Run(WriteSine(dir, 1, 44100 * 3));
    const RunState& s = r.e.S();
    EXPECT_EQ(s.Lines, 40);
    EXPECT_EQ(s.Elements, 40);
    EXPECT_EQ(s.Compression, 1);
    EXPECT_EQ(s.CountElement, 41);
    // The file's key leaves its tonic in semitones (A), not on the circle of fifths.
    EXPECT_EQ(s.Tonality_S, "A  major");
    EXPECT_EQ(s.Tonality_T, 0);
    const TimelineHost& h = r.host;

    // Set-up, then the first line (one block): bytes shown and put on screen, the block's steps
    // (the sine is one tone with one pitch), the line's levels, key and report.
    const long line1 = h.Find("text SoundFileBytesRead=0");
    const Timeline setup = {"S Open1Click",      "call ShowSoundFileCheck", "S ScanSoundFile",
                            "S InitialiseMeans", "call DravolekFormatOutput", "range 1 40"};
    EXPECT_EQ(h.Pick(0, line1, setup), setup);
    const Timeline line =
        Timeline{"text SoundFileBytesRead=0", "refresh"} +
        S({"InitialiseCompression"}) + kMakeSpectrum + S({"CompressSpectrum", "CalculateLA",
           "CalculateSpectDiss", "DoTransferFunctions", "FindRoexComponentLevels", "FindExcitation",
           "CalculateLoudness", "CalculateSharpness", "ExtractTonalComponents"}) +
        Timeline{"refresh"} + S({"CalculateToneDissonance", "FindLevelsAboveMasking"}) +
        Timeline{"D In mainline at 3372, NTonesM = 1 NTonesM_Nordic108 0"} +
        S({"FindVirtualPitches", "MakeCompoundPitchPattern"}) +
        Timeline{"D  ----------------------- Critical test of PitchCount 1"} +
        S({"CalculateParncuttMeasures", "TallyChromaAndPitch", "AccumulateMeans_T",
           "CalculateLevels"}) +
        Timeline{"D In mainline code Sum ChromaSalienceS at Countline 1  0.000000"} +
        S({"FindKey", "FindKey"}) +
        Timeline{"call OutputTimeFiles", "S AccumulateMeans_S", "pos 1"};
    EXPECT_EQ(h.Pick(line1, h.Find("text SoundFileBytesRead=8192"), line), line);
    for (const char* step : {"InitialiseCompression", "MakeSpectrum", "TallyChromaAndPitch",
                             "AccumulateMeans_S"})
        EXPECT_EQ(h.Count("S", step), 40) << step;
    EXPECT_EQ(h.Count("S", "NoPitches"), 0);
    EXPECT_EQ(h.Count("S", "SortToneArrays"), 0);  // one audible component: nothing to sort

    // The end-of-file chain, then the spectrum dump, the menus and the end line; nothing of pass 2.
    const long chain = h.Find(kChain.front());
    EXPECT_EQ(h.Pick(chain, AfterChain(h), kChain), kChain);
    const long dump = AfterChain(h);
    for (int i = 1; i <= 2048; ++i)
        ASSERT_EQ(h.timeline[dump + i - 1].rfind(kDravolekDump + std::to_string(i) + ", ", 0), 0u) << i;
    const Timeline end(h.timeline.begin() + dump + 2048, h.timeline.end());
    EXPECT_EQ(end, (Timeline{"call EndOfRunMenus", "refresh", "E Open1Click"}));
    EXPECT_EQ(h.calls, Pass1Calls() + Timeline{"EndOfRunMenus"});
    EXPECT_EQ(h.CountPrefix(kNordicDump), 0);
    EXPECT_EQ(h.texts.at("CurrentProcessingMode"), "Standard");
    EXPECT_EQ(h.progressRanges, (std::vector<std::pair<int, int>>{{1, 40}, {1, 10}}));
    EXPECT_EQ(h.scanLines, 40);
}

TEST(Driver, BlocksStartWhereThePreviousHopLeftTheStream) {
    struct Case {
        std::uint16_t channels;
        const char *start, *end;
        std::int64_t startPointer;
        std::int64_t endPosition;  // stream position after the last block of pass 1
    };
    const Case cases[] = {
        {1, "1", "3", 44 + 88200, 44 + 88200 + 40 * 4410},
        {2, "0", "2", 44, 44 + 40 * 8820},
        {2, "2", "4", 44 + 352800, 44 + 352800 + 40 * 8820},
    };
    TempDir dir{"oxw-driver"};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.channels << " channels from " << c.start);
        TimedRun r(WriteSine(dir, c.channels, 44100 * 5), "Introductory", c.start, c.end);
        EXPECT_EQ(r.e.S().SoundFileStartPointer, c.startPointer);
        EXPECT_EQ(r.host.texts["PositionStart"], std::to_string(c.startPointer));
        EXPECT_EQ(r.host.texts["PositionCurrent"], std::to_string(c.endPosition));
        EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), 40);
        EXPECT_EQ(r.e.S().TwoChan, c.channels == 2);
        EXPECT_EQ(r.host.texts["AnalysisChannel"], c.channels == 2 ? "Both" : "1");
    }
}

TEST(Driver, TonePassStartsWhereThePass1Started) {
    // Start 1 s, compression 2: 20 lines of 2 blocks in each pass; pass 2 goes back to the
    // first sample and then to the same start, 88200 bytes on.
    TempDir dir{"oxw-driver"};
    TimedRun r(WriteSine(dir, 1, 44100 * 4), "Advanced", "1", "3", "2");
    EXPECT_EQ(r.e.S().Elements, 40);
    const std::string before = "D 3872 Before call to MakeSpectrum, Stream.Position = ";
    std::vector<std::string> starts;
    for (const auto& l : r.host.timeline)
        if (l.rfind(before, 0) == 0) starts.push_back(l.substr(before.size()));
    ASSERT_EQ(starts.size(), 40u);
    for (std::size_t k = 0; k < starts.size(); ++k)
        EXPECT_EQ(starts[k], std::to_string(44 + 88200 + 4410 * static_cast<std::int64_t>(k))) << k;
    EXPECT_EQ(r.host.Count("D", "3855 start of inner mainline loop, CountLine = 20 Total loops "
                                "(Lines) = 20"), 1);
    EXPECT_EQ(r.host.progressRanges, (std::vector<std::pair<int, int>>{{1, 20}, {1, 10}, {1, 20}}));
}

TEST(Driver, AdvancedRunsTheTonePass) {
    TempDir dir{"oxw-driver"};
    Rig r("Advanced");
    r.Run(WriteSine(dir, 1, 44100 * 3));
    const TimelineHost& h = r.host;
    EXPECT_EQ(r.e.S().POINTS, 32768);
    EXPECT_EQ(r.e.S().CountElement, 1);  // pass 2 does not count its blocks
    EXPECT_EQ(h.texts.at("CurrentProcessingMode"), "Extended");
    EXPECT_EQ(h.calls, Pass1Calls() + Timeline({"SelectFFTSize32768", "OutputSummary", "EndOfRunMenus"}));
    const std::vector<std::pair<int, int>> ranges = {{1, 40}, {1, 10}, {1, 40}};
    EXPECT_EQ(h.progressRanges, ranges);
    EXPECT_EQ(h.lastProgress, 40);

    // Pass 1 as in the one-pass run; pass 2 after its dump, set up and its first line.
    EXPECT_EQ(h.Pick(h.Find(kChain.front()), AfterChain(h), kChain), kChain);
    const long setup = h.Find("call SelectFFTSize32768");
    EXPECT_EQ(setup, AfterChain(h) + 2048 + 1);  // the dump, the "Extended" mode put on screen
    EXPECT_EQ(h.timeline[setup - 1], "refresh");
    const Timeline pass2 =
        Timeline{"call SelectFFTSize32768"} +
        S({"ScanSoundFile", "SaveInitialiseMeansVariables", "InitialiseMeans"}) +
        Timeline{"D Done NordicFormatOutput", "range 1 40", "refresh", "pos 1", "refresh",
                 "text SoundFileBytesRead=327680", "S InitialiseCompression",
                 "D 3872 Before call to MakeSpectrum, Stream.Position = 44"} +
        kMakeSpectrum + S({"NordicCompressSpectrum", "CalculateLA", "CalculateSpectDiss",
           "DoTransferFunctions", "FindRoexComponentLevels", "FindExcitation", "CalculateLoudness",
           "CalculateSharpness", "ExtractTonalComponents"}) +
        Timeline{"refresh"} + S({"NordicExtractTonalComponents",
           "NordicExtractRoughnessComponents", "NordicCalculateToneDissonance", "AccumulateMeans_T"});
    EXPECT_EQ(h.Pick(setup, h.Find("pos 2", 2), pass2), pass2);
    // Pass 1 shows, at the start of line k, the bytes of the k - 1 blocks before it (4096 frames
    // of 2 bytes each); pass 2 goes on counting from pass 1's 40 blocks.
    EXPECT_EQ(h.CountPrefix("text SoundFileBytesRead="), 80);
    for (int k = 1; k <= 40; ++k) {
        const long at = h.Find("text SoundFileBytesRead=" + std::to_string((k - 1) * 8192));
        ASSERT_GE(at, 0) << k;
        EXPECT_EQ(h.timeline[at + 1], "refresh") << k;
    }

    // What pass 2 leaves out.
    for (const char* step : {"CompressSpectrum", "CalculateToneDissonance", "FindLevelsAboveMasking",
                             "CalculateLevels", "AccumulateMeans_S"})
        EXPECT_EQ(h.Count("S", step), 40) << step;
    EXPECT_EQ(h.Count("S", "AccumulateMeans_T"), 80);
    EXPECT_EQ(h.Count("S", "CalculatePercentiles"), 1);

    // The run closes with the pass-2 summary and the Nordic dump (line by line below).
    EXPECT_EQ(h.timeline[h.Find("call OutputSummary", 1) + 1].rfind(kNordicDump + "1, ", 0), 0u);
    EXPECT_FALSE(r.e.Stream().is_open());
}

// The driver notes the file's chroma sum at every line, over the twelve classes 0..11 (class
// 12 is unused): with class c at 2^c the note reads 4095 (8191 would take in class 12, 2047
// would leave out class 11).
struct ChromaHost : TimelineHost {
    Engine* engine = nullptr;
    void DravolekFormatOutput() override {
        TimelineHost::DravolekFormatOutput();
        for (int c = 0; c <= 12; ++c) engine->S().ChromaSalience_S[c] = std::ldexp(1.0, c);
    }
};

TEST(Driver, ChromaSumNoteCoversTheTwelveClasses) {
    TempDir dir{"oxw-driver"};
    test::EngineRig<ChromaHost> r("Introductory");
    r.host.engine = &r.e;
    r.Run(WriteSine(dir, 1, 44100 * 3, 0.0));  // silence: the lines add no chroma
    for (int line = 1; line <= 40; ++line)
        EXPECT_EQ(r.host.Count("D", "In mainline code Sum ChromaSalienceS at Countline " +
                                        std::to_string(line) + "  " + numeric::floatToStrF(4095.0, 15, 6)),
                  1) << line;
}

// A sound file unreadable part way: blocks start at 44 + 4410 k and read 8192 bytes; the 7th
// (26504..34695) crosses the read limit 30286, its seek and position the limit 22094. The run
// ends naming the file, before the summary, the stream closed.
TEST(Driver, SoundFileThatCannotBeReadEndsTheRun) {
    using Fails = test::FailingReadBuffer::Fails;
    TempDir dir{"oxw-driver"};
    const std::string path = WriteSine(dir, 1, 44100 * 3);
    const std::string file = "the sound file \"" + path + "\"";
    const struct {
        Fails fails;
        std::int64_t limit;
        std::string message;
        int blocks;  // blocks begun
    } cases[] = {
        {Fails::Read, 30286, "Cannot read " + file + " at byte 26504: Input/output error", 7},
        {Fails::Seek, 22094, "Cannot move to byte 26504 of " + file + ".", 6},
        {Fails::Tell, 22094, "Cannot tell the position in " + file + ".", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Rig r("Introductory");
        std::ifstream& stream = r.e.Stream();
        test::FailingReadBuffer failing(*stream.rdbuf(), c.fails, c.limit);
        // Once the header is read, the stream reads through the failing buffer.
        r.host.checkDialog = [&](SoundFileCheckForm&) { static_cast<std::ios&>(stream).rdbuf(&failing); };
        try {
            r.Run(path);
            ADD_FAILURE() << "the run went on";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        static_cast<std::ios&>(stream).rdbuf(stream.rdbuf());
        EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), c.blocks);
        EXPECT_EQ(std::count(r.host.calls.begin(), r.host.calls.end(), "OutputSummary"), 0);
        EXPECT_FALSE(stream.is_open());
    }
}

// ---- The gate and the stretch ---------------------------------------------------------------------

// The gate's thresholds with the reset's compression 10 and resolution 5 and a 4096-point block,
// counted from a fresh start: (4096 + 9 x 2205) div 64 = 374 for one channel and div 32 = 748 for
// two, compared with the RIFF size (36 + data bytes for a canonical header), or with the file size
// - 8 when the size field reads 0 or more than the file holds. A file the gate finds too short, or
// one without a whole output line, stops the run before any file is named, with the reason.
TEST(Driver, GateAndStretchStopTheRunWithTheReason) {
    constexpr std::uint32_t kAsWritten = 1;  // keep the RIFF size the writer put in
    struct Case {
        const char* name;
        std::uint16_t channels;
        std::size_t frames;
        std::uint32_t riffSize;
        std::int64_t counter;  // as a previous run's block reader left it
        const char* refusal;   // nullptr: analysed, 40 lines
    };
    const Case cases[] = {
        {"mono, RIFF size 374 = threshold", 1, 169, kAsWritten, 0,
         "The sound data (374 bytes) is too short to analyse: the analysis needs more than 374 bytes."},
        {"mono, RIFF size 376 passes the gate but holds no line", 1, 170, kAsWritten, 0,
         "The stretch to analyse holds 170 sample frames, too few for one output line of 2205 frames."},
        {"stereo, RIFF size 748 = threshold", 2, 178, kAsWritten, 0,
         "The sound data (748 bytes) is too short to analyse: the analysis needs more than 748 bytes."},
        {"stereo, RIFF size 752", 2, 179, kAsWritten, 0,
         "The stretch to analyse holds 179 sample frames, too few for one output line of 2205 frames."},
        {"mono, size field 0 on a tiny file: the file's own 236 bytes", 1, 100, 0, 0,
         "The sound data (236 bytes) is too short to analyse: the analysis needs more than 374 bytes."},
        {"3 s mono, size field 0 (a streaming recorder)", 1, 132300, 0, 0, nullptr},
        {"3 s stereo, size field 0xFFFFFFFF", 2, 132300, 0xFFFFFFFF, 0, nullptr},
        {"3 s mono, size field past the end", 1, 132300, 300000, 0, nullptr},
        {"9 s stereo after a 10-minute stereo run", 2, 44100 * 9, kAsWritten, 52920000, nullptr},
    };
    TempDir dir{"oxw-driver"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r("Introductory");
        r.e.S().Counter = c.counter;
        const std::string path =
            WriteSine(dir, c.channels, c.frames, 0.5,
                      c.riffSize == kAsWritten ? std::nullopt : std::optional(c.riffSize));
        if (!c.refusal) {
            r.Run(path);
            EXPECT_TRUE(r.e.S().Calculate);
            EXPECT_EQ(r.e.S().Lines, 40);
            EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), 40);
            EXPECT_EQ(r.host.calls, Pass1Calls() + Timeline{"EndOfRunMenus"});
            continue;
        }
        try {
            r.Run(path);
            ADD_FAILURE() << "the run went on";
        } catch (const RunRefused& refused) {
            EXPECT_EQ(std::string(refused.what()), c.refusal);
        }
        EXPECT_FALSE(r.e.S().Calculate);
        // No file named, no block read, no dump, no summary; the stream is released.
        EXPECT_EQ(r.host.calls, (Timeline{"ChooseSoundFile", "ShowSoundFileCheck"}));
        EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), 0);
        EXPECT_EQ(r.host.CountPrefix(kDravolekDump), 0);
        EXPECT_FALSE(r.e.Stream().is_open());
    }
}

// The stretch from the start to the end time, in lines of `compression` blocks.
TEST(Driver, StretchFromStartToEnd) {
    struct Case {
        const char *start, *end, *compression;
        int lines;
        const char* refusal;
    };
    const Case cases[] = {
        {"0", "3", "1", 60, nullptr},    // 132300 div 2205
        {"1", "3", "2", 20, nullptr},    // 88200 frames from 1 s, 2 blocks a line
        {"0", "2", "-2147483648", 0, "The compression -2147483648 gives no output line."},
    };
    TempDir dir{"oxw-driver"};
    const std::string path = WriteSine(dir, 1, 44100 * 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.start << ".." << c.end << " c" << c.compression);
        if (!c.refusal) {
            TimedRun r(path, "Introductory", c.start, c.end, c.compression);
            EXPECT_EQ(r.e.S().Lines, c.lines);
            EXPECT_EQ(r.host.scanLines, c.lines);
            continue;
        }
        // The gates' sums stay inside their 64-bit range whatever the compression.
        try {
            TimedRun r(path, "Advanced", c.start, c.end, c.compression);
            ADD_FAILURE() << "the run went on";
        } catch (const RunRefused& refused) {
            EXPECT_EQ(std::string(refused.what()), c.refusal);
        }
    }
}

// Sound data that ends before the end asked for (a chunk declaring 6 s and holding 3 s, a file cut
// to 2 s at pass 1's 20th row, both): said once (the first end found), the last kept for the summary; the stretch, its end and
// the last block follow the data. A file cut between the passes stops the tone pass.
TEST(Driver, SoundDataThatEndsEarlyEndsTheStretch) {
    struct CuttingHost : TimelineHost {
        std::function<void()> atRow20, atTonePass;
        int rows = 0;
        void OutputTimeFiles() override {
            TimelineHost::OutputTimeFiles();
            if (++rows == 20 && atRow20) atRow20();
        }
        void SelectFFTSize32768() override {
            TimelineHost::SelectFFTSize32768();
            if (atTonePass) atTonePass();
        }
    };
    TempDir dir{"oxw-driver"};
    const auto writeShortChunk = [&](const char* name) {
        const std::string path = (dir / name).string();
        test::WriteWav(path, test::WavFormat().KeepDataBytes(88200 * 3),
                       {std::vector<double>(44100 * 6, 0.25)});
        return path;
    };
    const std::string sixSeconds = WriteSine(dir, 1, 44100 * 6);
    const auto cutTo = [](const std::string& path, int seconds) {
        return [=] { std::filesystem::resize_file(path, 44 + 88200 * seconds); };
    };
    const struct {
        const char* name;
        std::string path;
        bool cutInPass1;
        const char* typed;  // the end asked for, s
        const char* said;  // the end the log line gives, s
        const char* seen;  // the end of the data, s
        int lines;
    } cases[] = {
        {"short data chunk", writeShortChunk("short.wav"), false, "6", "3.00", "3.00", 60},
        {"file cut during pass 1", sixSeconds, true, "6", "2.00", "2.00", 40},
        {"short data chunk, then cut during pass 1, an end past 64 bits",
         writeShortChunk("shorter.wav"), true, "99999999999999999999999", "3.00", "2.00", 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::EngineRig<CuttingHost> r("Introductory");
        if (c.cutInPass1) r.host.atRow20 = cutTo(c.path, 2);
        r.host.checkDialog = [&c](SoundFileCheckForm& f) { f.SoundFileEndTime = c.typed; };
        r.Run(c.path);
        const auto lines = r.host.Lines("D");
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.find("ended at") != l.npos; }),
                  1);
        const std::string asked = " s, before the requested end of " + std::string(c.typed) + ".0 s";
        EXPECT_EQ(r.host.Count("D", "The sound data ended at " + std::string(c.said) + asked), 1);
        EXPECT_EQ(r.e.S().EarlyEnd, "The sound data ended at " + std::string(c.seen) + asked);
        EXPECT_EQ(r.e.S().Lines, c.lines);
        EXPECT_EQ(std::count(r.host.calls.begin(), r.host.calls.end(), "OutputTimeFiles"), c.lines);
        EXPECT_EQ(r.e.S().EndTime, std::stod(c.seen));
        EXPECT_EQ(r.host.texts["RecordedEndTime"], c.seen);
        const auto dataEnd = static_cast<std::int64_t>(44 + 88200 * std::stod(c.seen));
        EXPECT_EQ(r.host.texts["SoundFileMaximumPosition"], std::to_string(dataEnd));
        // The last block ends with the data.
        EXPECT_GE(r.host.Find("text PositionCurrent=" + std::to_string(dataEnd - 8192)), 0);
    }

    test::EngineRig<CuttingHost> r("Advanced");
    const std::string threeSeconds = WriteSine(dir, 1, 44100 * 3);
    r.host.atTonePass = cutTo(threeSeconds, 1);
    try {
        r.Run(threeSeconds);
        ADD_FAILURE() << "the run went on";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The sound file \"" + threeSeconds + "\" shrank during the second pass: its sound "
                  "data now ends at 1.00 s, before the 3.00 s the first pass found, so the two "
                  "passes no longer cover the same sound.");
    }
    EXPECT_EQ(std::count(r.host.calls.begin(), r.host.calls.end(), "OutputSummary"), 1);
}

TEST(Driver, TonePassWithoutABlockInsideTheDataWritesItsSummaryAndDump) {
    // 10000 frames of mono: pass 1 has 10000 div 2205 = 4 lines; no 32768-point block fits, so
    // pass 2 reads nothing and its summed spectrum is empty (its guarded log is -MAXNUM).
    TempDir dir{"oxw-driver"};
    Rig r("Advanced");
    r.Run(WriteSine(dir, 1, 10000));
    const TimelineHost& h = r.host;
    EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), 4);
    std::vector<std::string> pass1 = {"ChooseSoundFile", "ShowSoundFileCheck", "DravolekFormatOutput"};
    pass1.insert(pass1.end(), 4, "OutputTimeFiles");
    EXPECT_EQ(h.calls, pass1 + Timeline({"OutputSummary", "DoCharts", "SelectFFTSize32768",
                                         "OutputSummary", "EndOfRunMenus"}));
    EXPECT_EQ(h.Count("D", "Tone pass: 0 of 4 lines have their blocks inside the sound data"), 1);
    EXPECT_EQ(h.Count("D", "Done NordicFormatOutput"), 0);
    EXPECT_EQ(h.progressRanges, (std::vector<std::pair<int, int>>{{1, 4}, {1, 10}}));
    const std::string logZero = ", Log Summed value, " + numeric::floatToStrF(-1.797693134862315e308, 10, 3);

    // Pass-1 dump: POINTS / 2 = 2048 lines, line i at i x 44100 / 4096 Hz.
    const auto dravolekLine = [&](int i, const std::string& hz) {
        return kDravolekDump + std::to_string(i) + ", Intensity Hz, " + hz + ", Summed value, ";
    };
    const long first = h.Find("pos 10") + 1;  // after the chain (4 lines: no line 10)
    EXPECT_EQ(h.timeline[first].rfind(dravolekLine(1, "10.77"), 0), 0u);
    EXPECT_EQ(h.timeline[first + 2047].rfind(dravolekLine(2048, "22050.00"), 0), 0u);
    EXPECT_EQ(h.CountPrefix(kDravolekDump), 2048);

    // Pass-2 dump after its summary call: 16384 lines with the last block's intensity beside the
    // empty sum. The frequencies come from the component set to the pass's 32768 points: line i at
    // i x 44100 / 32768 Hz, up to 22050 Hz at line 16384.
    const long summary = h.Find("call OutputSummary", 1);
    const auto nordicLine = [&](long at, int i, const std::string& hz) {
        const std::string& line = h.timeline[static_cast<std::size_t>(at)];
        const std::string head = kNordicDump + std::to_string(i) + ", Intensity Hz, " + hz +
                                 ", Summed value, 0.000, Intensity, ";
        return line.rfind(head, 0) == 0 && line.size() > head.size() + logZero.size() &&
               line.compare(line.size() - logZero.size(), logZero.size(), logZero) == 0;
    };
    ASSERT_EQ(h.timeline.size(), static_cast<std::size_t>(summary) + 1 + 16384 + 5);
    EXPECT_TRUE(nordicLine(summary + 1, 1, "1.35"));
    EXPECT_TRUE(nordicLine(summary + 2049, 2049, "2757.60"));
    EXPECT_TRUE(nordicLine(summary + 16384, 16384, "22050.00"));
    EXPECT_EQ(h.CountPrefix(kNordicDump), 16384);
    // The two dominant-result lines (their texts are the tone steps'), then the end.
    EXPECT_EQ(Timeline(h.timeline.end() - 3, h.timeline.end()),
              (Timeline{"call EndOfRunMenus", "refresh", "E Open1Click"}));
}

// ---- Blocks inside the sound data ----------------------------------------------------------------

// A steady 1 kHz tone to the end of its data: no block counts missing frames as silence (a block
// missing 1891 of 4096 frames reads -1.95 dB), so every block of both passes reads one level; a
// block crossing the end is read to end there, its row time (44 + 2 x frame) / 88200 s. The tone
// pass takes only lines whose 32768-point blocks lie inside the data.
TEST(Driver, SteadyToneReadsTheSameLevelInEveryBlock) {
    struct Case {
        const char* name;
        std::size_t frames;
        const char* end;
        int lines;
        std::int64_t lastFrame;  // first frame of the last pass-1 block
        int tonePassLines;
    };
    const Case cases[] = {
        {"3 s, a whole number of hops", 132300, "3", 60, 132300 - 4096, 46},
        {"3 s and 1000 frames", 133300, "3", 60, 133300 - 4096, 46},
        {"last block ends with the data", 39 * 2205 + 4096, "2", 40, 39 * 2205, 40 - 14},
    };
    TempDir dir{"oxw-driver"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<double> x(c.frames);
        for (std::size_t i = 0; i < c.frames; ++i)
            x[i] = 0.5 * std::sin(2 * std::numbers::pi * 1000.0 * static_cast<double>(i) / 44100.0);
        const auto path = dir / ("tone" + std::to_string(c.frames) + ".wav");
        test::WriteWav(path, test::WavFormat(), {x});
        TimedRun r(path.string(), "Advanced", "0", c.end);
        const RunState& s = r.e.S();

        // Pass 1: one sound-quality row and one history row per block, all at one level.
        const auto& rows = r.host.soundQualityRows;
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(c.lines));
        std::vector<std::string> history;
        for (const auto& l : r.host.Lines("T"))
            if (l.rfind("History 01.01, ", 0) == 0) history.push_back(l);
        ASSERT_EQ(history.size(), static_cast<std::size_t>(c.lines + c.tonePassLines));  // both passes
        for (int k = 0; k < c.lines; ++k) {
            EXPECT_NEAR(rows[k].second, rows[0].second, 0.1) << k;
            EXPECT_EQ(history[k], "History 01.01, " + numeric::floatToStrF(rows[k].first, 5, 2) +
                                      ", " + numeric::floatToStrF(rows[k].second, 10, 3)) << k;
        }
        EXPECT_GT(rows[0].second, 60.0);
        EXPECT_DOUBLE_EQ(rows.back().first, (44 + 2.0 * c.lastFrame) / 88200.0);
        EXPECT_NEAR(s.DravolekLAmax, s.DravolekLAmin, 0.1);

        // Pass 2: fewer lines, every block whole, the same level (the levels of both block
        // lengths refer to one calibration).
        EXPECT_EQ(s.Lines, c.tonePassLines);
        EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), c.lines + c.tonePassLines);
        EXPECT_NEAR(s.LAmax, s.LAmin, 0.1);
        EXPECT_NEAR(s.LAmax, s.DravolekLAmax, 0.2);
    }
}

// ---- File choice and the end of a run --------------------------------------------------------------

TEST(Driver, FileChoiceRecordsTheNamesAndACancelRunsNothing) {
    Rig r("Introductory");
    r.host.texts["Caption"] = "OXW";
    r.e.S().SoundFileName = "/earlier/run.wav";
    r.host.log.clear();
    r.host.chosenFile.reset();
    EXPECT_FALSE(r.e.MainLineProcess2SingleFile());
    EXPECT_EQ(r.host.texts.count("SelectedInputFile"), 0u);
    EXPECT_EQ(r.host.texts["Caption"], "OXW");
    EXPECT_EQ(r.host.log, (std::vector<LogLine>{{"S", "MainLineProcess2SingleFile"},
                                                {"E", "MainLineProcess2SingleFile"}}));

    r.host.chosenFile = "/tmp/x/b.wav";
    ASSERT_TRUE(r.e.MainLineProcess2SingleFile());
    EXPECT_EQ(r.e.S().SoundFileName, "/tmp/x/b.wav");
    EXPECT_EQ(r.e.S().ShortSoundFileName, "/b.wav");
    EXPECT_EQ(r.host.texts["SelectedInputFile"], "/tmp/x/b.wav");
    EXPECT_EQ(r.host.texts["Caption"], "OXW - /b.wav");
    // Each choice appends to the caption again; a name without a folder is its own short name.
    r.host.chosenFile = "c.wav";
    ASSERT_TRUE(r.e.MainLineProcess2SingleFile());
    EXPECT_EQ(r.e.S().ShortSoundFileName, "c.wav");
    EXPECT_EQ(r.host.texts["Caption"], "OXW - /b.wav - c.wav");
    EXPECT_EQ(r.host.calls, Timeline(3, "ChooseSoundFile"));
}

TEST(Driver, StreamClosedHoweverTheRunEnds) {
    TempDir dir{"oxw-driver"};
    const std::string path = WriteSine(dir, 1, 44100 * 3);
    Rig r("Introductory");
    r.host.checkDialog = [](SoundFileCheckForm& f) { f.SoundFileStartTime = "3", f.SoundFileEndTime = "4"; };
    EXPECT_THROW(r.Run(path), RunTerminated);
    EXPECT_FALSE(r.e.Stream().is_open());
    EXPECT_EQ(r.host.messages.size(), 2u);

    // "Terminate Analysis" in the dialog.
    r.host.checkDialog = [](SoundFileCheckForm&) { throw RunTerminated(); };
    r.e.MainLineProcess1();
    EXPECT_THROW(r.Run(path), RunTerminated);
    EXPECT_FALSE(r.e.Stream().is_open());

    // A file that is gone: the run stops with its name before the dialog.
    r.host.calls.clear();
    r.e.MainLineProcess1();
    try {
        r.Run((dir / "gone.wav").string());
        ADD_FAILURE() << "the run went on";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find((dir / "gone.wav").string()), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(r.e.Stream().is_open());
    EXPECT_EQ(r.host.calls, Timeline{"ChooseSoundFile"});

    // A normal run on the same engine opens the stream afresh.
    r.host.checkDialog = nullptr;
    r.e.MainLineProcess1();
    r.Run(path);
    EXPECT_EQ(r.e.S().Lines, 40);
    EXPECT_FALSE(r.e.Stream().is_open());
}

}  // namespace
}  // namespace oxw::engine
