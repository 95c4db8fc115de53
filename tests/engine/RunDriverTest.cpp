// The run driver on generated WAV files, with the measures still stubs: the order of the steps,
// the report calls, the progress bar, the gate, the stream positions and the closing dumps.
// Positions are worked out by hand: a canonical header is 44 bytes and one block hop is
// 441 x 5 = 2205 frames, 4410 bytes in 16-bit mono and 8820 in 16-bit stereo.
#include "engine/Engine.h"
#include "engine/SoundFileIntake.h"
#include "numeric/NumberFormat.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace oxw::engine {
namespace {

namespace fs = std::filesystem;
using test::LogLine;
using test::ScriptedHost;
using test::TempDir;
using test::WavFormat;
using Timeline = std::vector<LogLine>;

// A 440 Hz sine at half scale, the same in every channel.
std::string WriteSine(const TempDir& dir, const std::string& name, std::uint16_t channels,
                      std::size_t frames) {
    std::vector<double> x(frames);
    for (std::size_t i = 0; i < frames; ++i)
        x[i] = 0.5 * std::sin(2 * std::numbers::pi * 440.0 * static_cast<double>(i) / 44100.0);
    const fs::path p = dir / name;
    test::WriteWav(p, WavFormat().Channels(channels), std::vector<std::vector<double>>(channels, x));
    return p.string();
}

// The scripted host with one timeline of everything the run does: audit lines (their own kinds),
// report calls ("call"), progress ranges ("range") and positions ("pos").
class TimelineHost : public ScriptedHost {
public:
    Timeline timeline;

    void CreateAuditLog(std::string_view kind, std::string_view text) override {
        ScriptedHost::CreateAuditLog(kind, text);
        // Array and trace lines belong to the steps, not to the driver's order.
        if (kind == "S" || kind == "E" || kind == "D")
            timeline.push_back({std::string(kind), std::string(text)});
    }
    void SetProgressRange(int min, int max) override {
        ScriptedHost::SetProgressRange(min, max);
        Mark("range", std::to_string(min) + " " + std::to_string(max));
    }
    void SetProgressPosition(int position) override {
        ScriptedHost::SetProgressPosition(position);
        Mark("pos", std::to_string(position));
    }
    void ShowSoundFileCheck(SoundFileCheckForm& form) override {
        ScriptedHost::ShowSoundFileCheck(form);
        Mark("call", "ShowSoundFileCheck");
    }
    void DravolekFormatOutput() override { Call("DravolekFormatOutput"); }
    void OutputTimeFiles() override { Call("OutputTimeFiles"); }
    void OutputSummary() override { Call("OutputSummary"); }
    void DoCharts() override { Call("DoCharts"); }
    void EndOfRunMenus() override { Call("EndOfRunMenus"); }
    void SelectFFTSize32768() override {
        ScriptedHost::SelectFFTSize32768();
        Mark("call", "SelectFFTSize32768");
    }

private:
    void Mark(const char* kind, std::string text) { timeline.push_back({kind, std::move(text)}); }
    void Call(const char* name) {
        calls.emplace_back(name);
        Mark("call", name);
    }
};

Timeline DriverView(const Timeline& all);

class DriverTest : public ::testing::Test {
protected:
    DriverTest() {
        host.texts["CurrentProcessingMode"] = "Standard";
        host.texts["MusicFFTSampleSize"] = "4096";
    }
    // Reset, file choice and the run, as the main window's analysis handler does them; the
    // timeline and log keep only the run itself.
    void Run(const std::string& path, const char* option) {
        host.chosenFile = path;
        e.S().ProcessingOptionSelected = option;
        e.MainLineProcess1();
        ASSERT_TRUE(e.MainLineProcess2SingleFile());
        host.log.clear();
        host.timeline.clear();
        host.calls.clear();
        e.Open1Click();
    }
    // Lines of one kind whose text starts with the prefix.
    int CountPrefix(const std::string& kind, const std::string& prefix) const {
        int n = 0;
        for (const auto& l : host.log) n += (l.kind == kind && l.text.rfind(prefix, 0) == 0);
        return n;
    }
    Timeline View() const { return DriverView(host.timeline); }

    TempDir dir{"oxw-driver"};
    TimelineHost host;
    Engine e{host};
};

// Index of the n-th (0-based) entry equal to the line; -1 when there is none.
long Find(const Timeline& t, const LogLine& line, int n = 0) {
    for (std::size_t i = 0; i < t.size(); ++i)
        if (t[i] == line && n-- == 0) return static_cast<long>(i);
    return -1;
}

Timeline Slice(const Timeline& t, long from, std::size_t n) {
    if (from < 0 || static_cast<std::size_t>(from) + n > t.size()) return {};
    return Timeline(t.begin() + from, t.begin() + from + static_cast<long>(n));
}
void Step(Timeline& t, const char* name) { t.push_back({"S", name}); }

// The steps the driver calls itself; their inner lines (end lines, notes, sub-steps) belong to
// the steps and are left out of the driver's view.
bool DriverStep(const std::string& name) {
    static const std::set<std::string> steps = {
        "Open1Click", "ScanSoundFile", "InitialiseMeans", "InitialiseCompression",
        "SaveInitialiseMeansVariables", "MakeSpectrum", "CompressSpectrum",
        "NordicCompressSpectrum", "CalculateLA", "CalculateLevels", "CalculateSpectDiss",
        "DoTransferFunctions", "FindRoexComponentLevels", "FindExcitation", "CalculateLoudness",
        "CalculateSharpness", "ExtractTonalComponents", "CalculateToneDissonance",
        "NordicCalculateToneDissonance", "NordicExtractTonalComponents",
        "NordicExtractRoughnessComponents", "FindLevelsAboveMasking", "SortToneArrays",
        "FindVirtualPitches", "MakeCompoundPitchPattern", "SortPitchPattern", "NoPitches",
        "CalculateParncuttMeasures", "TallyChromaAndPitch", "FindKey", "FindChord",
        "AccumulateMeans_T", "AccumulateMeans_S", "CalculatePercentiles",
        "CalculateNoiseCriterion", "CalculatePNC", "CalculateRoomCriterion",
        "CalculateNoiseRating"};
    return steps.count(name) > 0;
}

// Processing notes written by the driver itself (by their opening words).
bool DriverNote(const std::string& text) {
    static const char* const notes[] = {
        "In mainline at 3372, ", "In mainline code Sum ChromaSalienceS at Countline ",
        " ----------------------- Critical test of PitchCount ", " 3746 ", "3748 ", "3764 ",
        "Done NordicFormatOutput", "3782 ", "3168 ", "3855 ", "3865 ", "3869 ", "3872 ",
        " , 8147 ", "Dravolek Spectrum dB values, ", "Nordic Spectrum dB values "};
    for (const char* n : notes)
        if (text.rfind(n, 0) == 0) return true;
    return false;
}

// What the driver does, in order: its steps' start lines, its own notes, its end line, the
// report calls and the progress bar.
Timeline DriverView(const Timeline& all) {
    Timeline out;
    for (const auto& l : all) {
        const bool keep = (l.kind == "S" && DriverStep(l.text)) ||
                          (l.kind == "E" && l.text == "Open1Click") ||
                          (l.kind == "D" && DriverNote(l.text)) || l.kind == "call" ||
                          l.kind == "range" || l.kind == "pos";
        if (keep) out.push_back(l);
    }
    return out;
}

// One output line of pass 1 with the stub measures (no tones, so no pitches).
Timeline Pass1Line(int countLine) {
    Timeline t = {{"S", "InitialiseCompression"}};
    for (const char* s : {"MakeSpectrum", "CompressSpectrum", "CalculateLA", "CalculateSpectDiss",
                          "DoTransferFunctions", "FindRoexComponentLevels", "FindExcitation",
                          "CalculateLoudness", "CalculateSharpness", "ExtractTonalComponents",
                          "CalculateToneDissonance", "FindLevelsAboveMasking"})
        Step(t, s);
    t.push_back({"D", "In mainline at 3372, NTonesM = 0 NTonesM_Nordic108 0"});
    Step(t, "NoPitches");
    Step(t, "AccumulateMeans_T");
    Step(t, "CalculateLevels");
    t.push_back({"D", "In mainline code Sum ChromaSalienceS at Countline " +
                          std::to_string(countLine) + "  0.000000"});
    t.push_back({"call", "OutputTimeFiles"});
    Step(t, "AccumulateMeans_S");
    t.push_back({"pos", std::to_string(countLine)});
    return t;
}

// Everything of a one-pass run with the dialog's defaults up to the pass-1 spectrum dump.
Timeline IntroductoryTimeline(int lines) {
    Timeline t = {{"S", "Open1Click"}, {"call", "ShowSoundFileCheck"}};
    Step(t, "ScanSoundFile");
    t.insert(t.end(), {{"S", "InitialiseMeans"},
                       {"call", "DravolekFormatOutput"},
                       {"range", "1 " + std::to_string(lines)}});
    for (int line = 1; line <= lines; ++line) {
        const Timeline one = Pass1Line(line);
        t.insert(t.end(), one.begin(), one.end());
    }
    t.push_back({"range", "1 10"});
    Step(t, "CalculatePercentiles");
    t.push_back({"pos", "2"});
    Step(t, "FindChord");
    t.push_back({"pos", "3"});
    Step(t, "FindKey");
    t.push_back({"pos", "4"});
    Step(t, "CalculateNoiseCriterion");
    t.push_back({"pos", "5"});
    Step(t, "CalculatePNC");
    t.push_back({"pos", "6"});
    Step(t, "CalculateRoomCriterion");
    t.push_back({"pos", "7"});
    Step(t, "CalculateNoiseRating");
    t.push_back({"pos", "8"});
    t.push_back({"call", "OutputSummary"});
    t.push_back({"pos", "9"});
    t.push_back({"call", "DoCharts"});
    t.push_back({"pos", "10"});
    return t;
}

const std::string kDravolekDump = "Dravolek Spectrum dB values, , Intensity index, ";
const std::string kNordicDump = "Nordic Spectrum dB values , Intensity index, ";

TEST_F(DriverTest, IntroductoryRunsOnePassInTheFixedOrder) {
    Run(WriteSine(dir, "sine.wav", 1, 44100 * 3), "Introductory");
    const RunState& s = e.S();
    EXPECT_EQ(s.Lines, 40);
    EXPECT_EQ(s.Elements, 40);
    EXPECT_EQ(s.Compression, 1);
    EXPECT_EQ(s.Resolution, 5);
    EXPECT_EQ(s.CountElement, s.Elements + 1);
    EXPECT_EQ(s.POINTS, 4096);
    EXPECT_DOUBLE_EQ(s.Tonality_T, -99.0);  // no line had a multiplicity

    // Everything up to the end-of-file chain, step by step.
    const Timeline v = View();
    const Timeline expected = IntroductoryTimeline(40);
    ASSERT_GE(v.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(v[i], expected[i]) << "driver step " << i;
    }
    // Then the spectrum dump, the menus and the end line; nothing of pass 2.
    const std::size_t dumpEnd = expected.size() + 2048;
    ASSERT_EQ(v.size(), dumpEnd + 2);
    for (std::size_t i = expected.size(); i < dumpEnd; ++i) {
        ASSERT_EQ(v[i].kind, "D") << i;
        ASSERT_EQ(v[i].text.rfind(kDravolekDump + std::to_string(i - expected.size() + 1) + ", ", 0),
                  0u)
            << v[i].text;
    }
    EXPECT_EQ(v[dumpEnd], (LogLine{"call", "EndOfRunMenus"}));
    EXPECT_EQ(v[dumpEnd + 1], (LogLine{"E", "Open1Click"}));

    const std::vector<std::string> calls = [] {
        std::vector<std::string> c = {"ShowSoundFileCheck", "DravolekFormatOutput"};
        c.insert(c.end(), 40, "OutputTimeFiles");
        c.insert(c.end(), {"OutputSummary", "DoCharts", "EndOfRunMenus"});
        return c;
    }();
    EXPECT_EQ(host.calls, calls);
    EXPECT_EQ(host.log.front(), (LogLine{"S", "Open1Click"}));
    EXPECT_EQ(host.log.back(), (LogLine{"E", "Open1Click"}));
    EXPECT_EQ(host.Count("D", "In mainline at 3372, NTonesM = 0 NTonesM_Nordic108 0"), 40);
    EXPECT_EQ(CountPrefix("D", kNordicDump), 0);
    EXPECT_EQ(host.texts["CurrentProcessingMode"], "Standard");
    EXPECT_EQ(host.lastProgress, 10);
    const std::vector<std::pair<int, int>> ranges = {{1, 40}, {1, 10}};
    EXPECT_EQ(host.progressRanges, ranges);
    EXPECT_EQ(host.scanLines, 40);
}

// A run of the option with the dialog's start and end times and compression, on a fresh engine.
struct TimedRun {
    TimedRun(const std::string& path, const char* option, const char* start, const char* end,
             const char* compression = "1") {
        host.texts["CurrentProcessingMode"] = "Standard";
        host.texts["MusicFFTSampleSize"] = "4096";
        host.checkDialog = [=](SoundFileCheckForm& f) {
            f.SoundFileStartTime = start;
            f.SoundFileEndTime = end;
            f.OutputCompression = compression;
        };
        host.chosenFile = path;
        e.S().ProcessingOptionSelected = option;
        e.MainLineProcess1();
        if (!e.MainLineProcess2SingleFile()) throw std::logic_error("no file chosen");
        e.Open1Click();
    }
    // The stream positions the pass-2 blocks start at, from the driver's notes.
    std::vector<std::string> Pass2BlockStarts() const {
        const std::string before = "3872 Before call to MakeSpectrum, Stream.Position = ";
        std::vector<std::string> positions;
        for (const auto& l : host.Lines("D"))
            if (l.rfind(before, 0) == 0) positions.push_back(l.substr(before.size()));
        return positions;
    }
    TimelineHost host;
    Engine e{host};
};

TEST_F(DriverTest, BlocksStartWhereThePreviousHopLeftTheStream) {
    struct Case {
        const char* name;
        std::uint16_t channels;
        const char* start;
        const char* end;
        std::int64_t startPointer;
        std::int64_t endPosition;  // stream position after the last block of pass 1
    };
    const Case cases[] = {
        {"mono 0..2", 1, "0", "2", 44, 44 + 40 * 4410},
        {"mono 1..3", 1, "1", "3", 44 + 88200, 44 + 88200 + 40 * 4410},
        {"stereo 0..2", 2, "0", "2", 44, 44 + 40 * 8820},
        {"stereo 2..4", 2, "2", "4", 44 + 352800, 44 + 352800 + 40 * 8820},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TimedRun r(WriteSine(dir, "pos.wav", c.channels, 44100 * 5), "Introductory", c.start, c.end);
        EXPECT_EQ(r.e.S().SoundFileStartPointer, c.startPointer);
        EXPECT_EQ(r.host.texts["PositionStart"], std::to_string(c.startPointer));
        EXPECT_EQ(r.host.texts["PositionCurrent"], std::to_string(c.endPosition));
        EXPECT_EQ(r.e.S().Lines, 40);
        EXPECT_FALSE(r.e.Stream().is_open());
    }
}

TEST_F(DriverTest, TonePassStartsWhereThePass1Started) {
    // Start 1 s, compression 2: 20 lines of 2 blocks in each pass; pass 2 goes back to the
    // first sample and then to the same start, 88200 bytes on.
    TimedRun r(WriteSine(dir, "pos.wav", 1, 44100 * 4), "Advanced", "1", "3", "2");
    EXPECT_EQ(r.e.S().Lines, 20);
    EXPECT_EQ(r.e.S().Elements, 40);
    const auto starts = r.Pass2BlockStarts();
    ASSERT_EQ(starts.size(), 40u);
    for (std::size_t k = 0; k < starts.size(); ++k)
        EXPECT_EQ(starts[k], std::to_string(44 + 88200 + 4410 * static_cast<std::int64_t>(k))) << k;
    EXPECT_EQ(r.host.Count("D", "3855 start of inner mainline loop, CountLine = 20 Total loops "
                                "(Lines) = 20"),
              1);
    EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), 80);
    EXPECT_EQ(r.host.Count("S", "InitialiseCompression"), 40);
    EXPECT_EQ(std::count(r.host.calls.begin(), r.host.calls.end(), "OutputTimeFiles"), 20);
    const std::vector<std::pair<int, int>> ranges = {{1, 20}, {1, 10}, {1, 20}};
    EXPECT_EQ(r.host.progressRanges, ranges);
}

TEST_F(DriverTest, StereoRunAnalysesBothChannels) {
    Run(WriteSine(dir, "stereo.wav", 2, 44100 * 3), "Introductory");
    EXPECT_TRUE(e.S().TwoChan);
    EXPECT_EQ(e.S().Lines, 40);
    EXPECT_EQ(host.texts["AnalysisChannel"], "Both");
    EXPECT_EQ(host.texts["ChannelsInSoundFile"], "2");
    EXPECT_EQ(host.Count("S", "MakeSpectrum"), 40);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "OutputTimeFiles"), 40);
}

TEST_F(DriverTest, AdvancedRunsTheTonePass) {
    Run(WriteSine(dir, "sine.wav", 1, 44100 * 3), "Advanced");
    const RunState& s = e.S();
    EXPECT_EQ(s.POINTS, 32768);
    EXPECT_EQ(s.Lines, 40);
    EXPECT_EQ(s.CountElement, 1);  // pass 2 does not count its blocks
    EXPECT_EQ(host.texts["CurrentProcessingMode"], "Extended");
    EXPECT_EQ(host.texts["QualityFFTSampleSize"], "32768");
    EXPECT_EQ(host.texts["AnalysisChannel"], "Both");

    std::vector<std::string> calls = {"ShowSoundFileCheck", "DravolekFormatOutput"};
    calls.insert(calls.end(), 40, "OutputTimeFiles");
    calls.insert(calls.end(),
                 {"OutputSummary", "DoCharts", "SelectFFTSize32768", "OutputSummary", "EndOfRunMenus"});
    EXPECT_EQ(host.calls, calls);
    const std::vector<std::pair<int, int>> ranges = {{1, 40}, {1, 10}, {1, 40}};
    EXPECT_EQ(host.progressRanges, ranges);
    EXPECT_EQ(host.lastProgress, 40);

    // Pass 1 is the one-pass run unchanged.
    const Timeline v = View();
    const Timeline pass1 = IntroductoryTimeline(40);
    ASSERT_GE(v.size(), pass1.size());
    EXPECT_EQ(Slice(v, 0, pass1.size()), pass1);
    EXPECT_EQ(CountPrefix("D", kDravolekDump), 2048);
    EXPECT_EQ(CountPrefix("D", kNordicDump), 16384);

    // Set-up of pass 2 after the pass-1 dump.
    const long setup = Find(v, {"call", "SelectFFTSize32768"});
    EXPECT_EQ(setup, static_cast<long>(pass1.size()) + 2048);
    ASSERT_GE(setup, 0);
    Timeline expected = {{"call", "SelectFFTSize32768"}};
    Step(expected, "ScanSoundFile");
    expected.insert(expected.end(), {{"S", "SaveInitialiseMeansVariables"},
                                     {"S", "InitialiseMeans"},
                                     {"D", " 3746 Execute SetUpCompactIBinRanges in JointNordic "},
                                     {"D", "3748 After SetUpCompactIBinRanges"},
                                     {"D", "3764 value of PERCENTILEARRAYMAX = 480000"},
                                     {"D", "Done NordicFormatOutput"},
                                     {"range", "1 40"},
                                     {"D", "3782 StartPointer value "},
                                     {"D", "3168 Main After start positioning Stream Position Max = "}});
    // Two lines of pass 2 (one block each with the dialog's compression 1).
    for (int line = 1; line <= 2; ++line) {
        expected.insert(expected.end(),
                        {{"pos", std::to_string(line)},
                         {"D", "3855 start of inner mainline loop, CountLine = " +
                                   std::to_string(line) + " Total loops (Lines) = 40"},
                         {"D", "3865 now going to do InitialiseCompression in Nordic"},
                         {"D", "3869 Now do InitialiseCompression"},
                         {"S", "InitialiseCompression"},
                         {"D", "3872 Before call to MakeSpectrum, Stream.Position = " +
                                   std::to_string(44 + (line - 1) * 4410)}});
        for (const char* step :
             {"MakeSpectrum", "NordicCompressSpectrum", "CalculateLA", "CalculateSpectDiss",
              "DoTransferFunctions", "FindRoexComponentLevels", "FindExcitation",
              "CalculateLoudness", "CalculateSharpness", "ExtractTonalComponents",
              "NordicExtractTonalComponents", "NordicExtractRoughnessComponents",
              "NordicCalculateToneDissonance", "AccumulateMeans_T"})
            Step(expected, step);
    }
    EXPECT_EQ(Slice(v, setup, expected.size()), expected);

    // What pass 2 leaves out.
    EXPECT_EQ(host.Count("S", "CompressSpectrum"), 40);
    EXPECT_EQ(host.Count("S", "NordicCompressSpectrum"), 40);
    EXPECT_EQ(host.Count("S", "CalculateToneDissonance"), 40);
    EXPECT_EQ(host.Count("S", "FindLevelsAboveMasking"), 40);
    EXPECT_EQ(host.Count("S", "CalculateLevels"), 40);
    EXPECT_EQ(host.Count("S", "AccumulateMeans_S"), 40);
    EXPECT_EQ(host.Count("S", "AccumulateMeans_T"), 80);
    EXPECT_EQ(host.Count("S", "CalculatePercentiles"), 1);

    // The run closes with the pass-2 summary, the Nordic dump and the two dominant lines.
    const long summary2 = Find(v, {"call", "OutputSummary"}, 1);
    ASSERT_GE(summary2, 0);
    ASSERT_EQ(v.size(), static_cast<std::size_t>(summary2) + 1 + 16384 + 2 + 2);
    for (int i = 1; i <= 16384; ++i) {
        ASSERT_EQ(v[summary2 + i].text.rfind(kNordicDump + std::to_string(i) + ", Intensity Hz, ", 0),
                  0u)
            << v[summary2 + i].text;
    }
    EXPECT_EQ(v[summary2 + 16385].text.rfind(" , 8147 DOMINANT TONE RESULT, ", 0), 0u);
    EXPECT_EQ(v[summary2 + 16386].text.rfind(" , 8147 DOMINANT ROUGHNESS RESULT, ", 0), 0u);
    EXPECT_EQ(v[summary2 + 16387], (LogLine{"call", "EndOfRunMenus"}));
    EXPECT_EQ(v[summary2 + 16388], (LogLine{"E", "Open1Click"}));
    EXPECT_FALSE(e.Stream().is_open());
}

// The host as the screen sees it: the displays of the bytes analysed and the current position,
// the progress ranges, the pass-2 line notes and every explicit refresh, in order.
class ScreenHost : public ScriptedHost {
public:
    std::vector<std::string> events;
    void SetText(std::string_view name, std::string_view text) override {
        ScriptedHost::SetText(name, text);
        if (name == "SoundFileBytesRead" || name == "PositionCurrent")
            events.push_back(std::string(name) + "=" + std::string(text));
    }
    void SetProgressRange(int min, int max) override {
        ScriptedHost::SetProgressRange(min, max);
        events.push_back("range " + std::to_string(min) + " " + std::to_string(max));
    }
    void CreateAuditLog(std::string_view kind, std::string_view text) override {
        ScriptedHost::CreateAuditLog(kind, text);
        if (kind == "D" && text.rfind("3855 ", 0) == 0) events.emplace_back("3855");
    }
    void Refresh() override { events.emplace_back("refresh"); }
};

TEST_F(DriverTest, DisplaysAreRefreshedWhereTheRunShowsThem) {
    ScreenHost h;
    h.texts["CurrentProcessingMode"] = "Standard";
    h.texts["MusicFFTSampleSize"] = "4096";
    h.chosenFile = WriteSine(dir, "sine.wav", 1, 44100 * 3);
    Engine en(h);
    en.S().ProcessingOptionSelected = "Advanced";
    en.MainLineProcess1();
    ASSERT_TRUE(en.MainLineProcess2SingleFile());
    en.Open1Click();
    const auto& ev = h.events;

    // Every display of the position, and in pass 1 of the bytes analysed, is put on screen at
    // once (pass 2 refreshes before it shows the bytes, below).
    std::vector<std::string> bytes;
    for (std::size_t i = 0; i < ev.size(); ++i) {
        const bool showsBytes = ev[i].rfind("SoundFileBytesRead=", 0) == 0;
        if (showsBytes) bytes.push_back(ev[i].substr(19));
        if (!(showsBytes && bytes.size() <= 40) && ev[i].rfind("PositionCurrent=", 0) != 0) continue;
        ASSERT_LT(i + 1, ev.size());
        EXPECT_EQ(ev[i + 1], "refresh") << "after " << ev[i];
    }
    // Pass 1 shows, at the start of line k, the bytes of the k - 1 blocks before it (4096 frames
    // of 2 bytes each); pass 2 goes on counting from pass 1's 40 blocks.
    ASSERT_EQ(bytes.size(), 80u);
    for (int k = 1; k <= 40; ++k) EXPECT_EQ(bytes[k - 1], std::to_string((k - 1) * 8192)) << k;
    EXPECT_EQ(bytes[40], "327680");

    // Pass 1 ends by showing the stream position after its last block.
    const auto summaryRange = std::find(ev.begin(), ev.end(), "range 1 10");
    ASSERT_NE(summaryRange, ev.end());
    ASSERT_GE(summaryRange - ev.begin(), 2);
    EXPECT_EQ(*(summaryRange - 2), "PositionCurrent=" + std::to_string(44 + 40 * 4410));
    EXPECT_EQ(*(summaryRange - 1), "refresh");

    // Pass 2: the bar is refreshed once its range is set and at the start of every line, before
    // the bytes analysed are shown.
    const auto pass2 = std::find(summaryRange, ev.end(), "range 1 40");
    ASSERT_NE(pass2, ev.end());
    ASSERT_NE(pass2 + 1, ev.end());
    EXPECT_EQ(*(pass2 + 1), "refresh");
    int lines = 0;
    for (auto it = pass2; it != ev.end(); ++it) {
        if (*it != "3855") continue;
        ++lines;
        ASSERT_GE(ev.end() - it, 3);
        EXPECT_EQ(*(it + 1), "refresh");
        EXPECT_EQ((it + 2)->rfind("SoundFileBytesRead=", 0), 0u) << *(it + 2);
    }
    EXPECT_EQ(lines, 40);
}

// ---- The gate ------------------------------------------------------------------------------------

// The gate's thresholds with the reset's compression 10 and resolution 5 and a 4096-point block:
// (4096 + Counter + 9 x 2205) div 64 = 374 for one channel and div 32 = 748 for two, compared
// with the RIFF size (36 + data bytes for a canonical header).
TEST_F(DriverTest, GateComparesTheRiffSizeWithTheThreshold) {
    struct Case {
        const char* name;
        std::uint16_t channels;
        std::size_t frames;
        std::int64_t counter;  // as a previous run's block reader left it
        bool analysed;
    };
    const Case cases[] = {
        {"mono, RIFF size 374 = threshold", 1, 169, 0, false},
        {"mono, RIFF size 376", 1, 170, 0, true},
        {"stereo, RIFF size 748 = threshold", 2, 178, 0, false},
        {"stereo, RIFF size 752", 2, 179, 0, true},
        {"stereo, RIFF size 436 passes for mono only", 2, 100, 0, false},
        {"mono, RIFF size 436", 1, 200, 0, true},
        {"3 s mono after a run that ended far on", 1, 132300, 100000000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TimelineHost h;
        h.texts["CurrentProcessingMode"] = "Standard";
        h.texts["MusicFFTSampleSize"] = "4096";
        h.chosenFile = WriteSine(dir, "gate.wav", c.channels, c.frames);
        Engine en(h);
        en.S().ProcessingOptionSelected = "Introductory";
        en.MainLineProcess1();
        en.S().Counter = c.counter;
        ASSERT_TRUE(en.MainLineProcess2SingleFile());
        en.Open1Click();
        EXPECT_EQ(en.S().Lines, 40);  // the scan counts the chosen stretch, not the file
        EXPECT_EQ(en.S().Calculate, c.analysed);
        if (!c.analysed) {
            EXPECT_EQ(en.S().Counter, 0);  // the intake's start offset, and no block read
        }
        const int blocks = h.Count("S", "MakeSpectrum");
        EXPECT_EQ(blocks, c.analysed ? 40 : 0);
        std::vector<std::string> calls = {"ChooseSoundFile", "ShowSoundFileCheck"};
        if (c.analysed) {
            calls.push_back("DravolekFormatOutput");
            calls.insert(calls.end(), 40, "OutputTimeFiles");
            calls.insert(calls.end(), {"OutputSummary", "DoCharts"});
        }
        calls.push_back("EndOfRunMenus");
        EXPECT_EQ(h.calls, calls);
        // The dump is written either way.
        int dump = 0;
        for (const auto& l : h.log) dump += l.text.rfind(kDravolekDump, 0) == 0;
        EXPECT_EQ(dump, 2048);
        EXPECT_EQ(h.log.back(), (LogLine{"E", "Open1Click"}));
        EXPECT_FALSE(en.Stream().is_open());
    }
}

TEST_F(DriverTest, CompressionThatGivesNoLineAnalysesNothing) {
    // A compression typed as the lowest integer: no line in either pass, and the gates' sums
    // stay inside their 64-bit range.
    TimedRun r(WriteSine(dir, "c.wav", 1, 44100 * 3), "Advanced", "0", "2", "-2147483648");
    EXPECT_EQ(r.e.S().Compression, std::numeric_limits<int>::min());
    EXPECT_EQ(r.e.S().Lines, 0);
    EXPECT_FALSE(r.e.S().Calculate);
    EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), 0);
    EXPECT_EQ(r.host.log.back(), (LogLine{"E", "Open1Click"}));
}

// The guarded logarithm of an empty spectrum line: -MAXNUM.
std::string LogOfZero() { return numeric::floatToStrF(-1.797693134862315e308, 10, 3); }

TEST_F(DriverTest, ClosedGateStillWritesTheDumpsAndThePass2Summary) {
    // 100 frames of mono: RIFF size 236, below both 374 (pass 1) and 32768 div 64 = 512 (pass 2),
    // so no block is read and every summed spectrum line is empty.
    Run(WriteSine(dir, "tiny.wav", 1, 100), "Advanced");
    EXPECT_FALSE(e.S().Calculate);
    const std::vector<std::string> calls = {"ShowSoundFileCheck", "SelectFFTSize32768",
                                            "OutputSummary", "EndOfRunMenus"};
    EXPECT_EQ(host.calls, calls);
    EXPECT_EQ(host.Count("S", "MakeSpectrum"), 0);
    EXPECT_EQ(host.Count("D", "Done NordicFormatOutput"), 0);
    EXPECT_TRUE(host.progressRanges.empty());

    // Pass-1 dump: POINTS / 2 = 2048 lines, line i at i x 44100 / 4096 Hz.
    const Timeline v = View();
    const long first = Find(v, {"D", kDravolekDump + "1, Intensity Hz, 10.77, Summed value, 0.000, "
                                                     "Log Summed value, " + LogOfZero()});
    ASSERT_GE(first, 0);
    EXPECT_EQ(v[first + 1023], (LogLine{"D", kDravolekDump + "1024, Intensity Hz, 11025.00, "
                                                             "Summed value, 0.000, Log Summed value, " +
                                                 LogOfZero()}));
    EXPECT_EQ(v[first + 2047], (LogLine{"D", kDravolekDump + "2048, Intensity Hz, 22050.00, "
                                                             "Summed value, 0.000, Log Summed value, " +
                                                 LogOfZero()}));
    EXPECT_EQ(CountPrefix("D", kDravolekDump), 2048);

    // Pass-2 dump after its summary call: 16384 lines with the block's intensity beside the sum.
    const long summary = Find(v, {"call", "OutputSummary"});
    ASSERT_GE(summary, 0);
    ASSERT_EQ(v.size(), static_cast<std::size_t>(summary) + 1 + 16384 + 2 + 2);
    EXPECT_EQ(v[summary + 1], (LogLine{"D", kNordicDump + "1, Intensity Hz, 10.77, Summed value, "
                                                          "0.000, Intensity, 0.000, Log Summed value, " +
                                                LogOfZero()}));
    EXPECT_EQ(CountPrefix("D", kNordicDump), 16384);
    // The frequencies come from the 4096-point component: line 2048 is the last it knows
    // (22050 Hz); above it the component gives 0.
    const auto nordicLine = [&](int i, const std::string& hz) {
        return LogLine{"D", kNordicDump + std::to_string(i) + ", Intensity Hz, " + hz +
                                ", Summed value, 0.000, Intensity, 0.000, Log Summed value, " +
                                LogOfZero()};
    };
    EXPECT_EQ(v[summary + 2048], nordicLine(2048, "22050.00"));
    EXPECT_EQ(v[summary + 2049], nordicLine(2049, "0.00"));
    EXPECT_EQ(v[summary + 16384], nordicLine(16384, "0.00"));
    EXPECT_EQ(v[summary + 16385],
              (LogLine{"D", " , 8147 DOMINANT TONE RESULT,  , Start CB Line, 0 , Critical Band (Hz) 0 "
                            ",  to 0 , End CB Line, 0 , Tone Level (Hz) 0 , 3dB bandwidth of tone, 0 "
                            ", Loudness in Critical Band (dB), 0.0 , Tonal Audibility, 0.0"}));
    EXPECT_EQ(v[summary + 16386],
              (LogLine{"D", " , 8147 DOMINANT ROUGHNESS RESULT,  , Start CB Line, 0 , Critical Band "
                            "(Hz) 0 ,  to 0 , Roughness End CB Line, 0 , Roughness Level (Hz) 0 , "
                            "3dB bandwidth of tone, 0 , Roughness in Critical Band (dB), 0.0 , "
                            "Roughness Audibility, 0.0"}));
    EXPECT_EQ(v[summary + 16387], (LogLine{"call", "EndOfRunMenus"}));
    EXPECT_EQ(v[summary + 16388], (LogLine{"E", "Open1Click"}));
}

// ---- File choice and the end of a run --------------------------------------------------------------

TEST_F(DriverTest, FileChoiceRecordsTheNames) {
    host.texts["Caption"] = "OXW";
    host.chosenFile = "/tmp/x/b.wav";
    e.S().ProcessingOptionSelected = "Introductory";
    e.MainLineProcess1();
    host.log.clear();
    ASSERT_TRUE(e.MainLineProcess2SingleFile());
    EXPECT_EQ(e.S().SoundFileName, "/tmp/x/b.wav");
    EXPECT_EQ(e.S().ShortSoundFileName, "/b.wav");
    EXPECT_EQ(host.texts["SelectedInputFile"], "/tmp/x/b.wav");
    EXPECT_EQ(host.texts["Caption"], "OXW - /b.wav");
    const Timeline expected = {{"S", "MainLineProcess2SingleFile"}, {"E", "MainLineProcess2SingleFile"}};
    EXPECT_EQ(host.log, expected);

    // Each choice appends to the caption again; a name without a folder is its own short name.
    host.chosenFile = "c.wav";
    ASSERT_TRUE(e.MainLineProcess2SingleFile());
    EXPECT_EQ(e.S().ShortSoundFileName, "c.wav");
    EXPECT_EQ(host.texts["Caption"], "OXW - /b.wav - c.wav");
}

TEST_F(DriverTest, CancelledFileChoiceRunsNothing) {
    host.texts["Caption"] = "OXW";
    host.chosenFile.reset();
    e.S().ProcessingOptionSelected = "Introductory";
    e.S().SoundFileName = "/earlier/run.wav";
    e.MainLineProcess1();
    host.log.clear();
    EXPECT_FALSE(e.MainLineProcess2SingleFile());
    EXPECT_EQ(host.calls, std::vector<std::string>{"ChooseSoundFile"});
    EXPECT_EQ(host.texts.count("SelectedInputFile"), 0u);
    EXPECT_EQ(host.texts["Caption"], "OXW");
    const Timeline expected = {{"S", "MainLineProcess2SingleFile"}, {"E", "MainLineProcess2SingleFile"}};
    EXPECT_EQ(host.log, expected);
}

TEST_F(DriverTest, StreamClosedHoweverTheRunEnds) {
    const std::string path = WriteSine(dir, "sine.wav", 1, 44100 * 3);
    // A normal run.
    Run(path, "Introductory");
    EXPECT_FALSE(e.Stream().is_open());

    // A refused start/end time.
    TimelineHost h;
    h.texts["CurrentProcessingMode"] = "Standard";
    h.texts["MusicFFTSampleSize"] = "4096";
    h.chosenFile = path;
    h.checkDialog = [](SoundFileCheckForm& f) {
        f.SoundFileStartTime = "3";
        f.SoundFileEndTime = "4";
    };
    Engine en(h);
    en.S().ProcessingOptionSelected = "Introductory";
    en.MainLineProcess1();
    ASSERT_TRUE(en.MainLineProcess2SingleFile());
    EXPECT_THROW(en.Open1Click(), RunTerminated);
    EXPECT_FALSE(en.Stream().is_open());
    EXPECT_EQ(h.messages.size(), 2u);

    // "Terminate Analysis" in the dialog.
    h.checkDialog = [](SoundFileCheckForm&) { throw RunTerminated(); };
    en.MainLineProcess1();
    ASSERT_TRUE(en.MainLineProcess2SingleFile());
    EXPECT_THROW(en.Open1Click(), RunTerminated);
    EXPECT_FALSE(en.Stream().is_open());

    // A second run on the same engine opens the stream afresh.
    h.checkDialog = nullptr;
    en.MainLineProcess1();
    ASSERT_TRUE(en.MainLineProcess2SingleFile());
    en.Open1Click();
    EXPECT_EQ(en.S().Lines, 40);
    EXPECT_FALSE(en.Stream().is_open());
}

TEST_F(DriverTest, MissingSoundFileStopsWithItsName) {
    host.chosenFile = (dir / "gone.wav").string();
    e.S().ProcessingOptionSelected = "Introductory";
    e.MainLineProcess1();
    ASSERT_TRUE(e.MainLineProcess2SingleFile());
    try {
        e.Open1Click();
        ADD_FAILURE() << "the run went on";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find((dir / "gone.wav").string()), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(e.Stream().is_open());
    EXPECT_EQ(host.calls, std::vector<std::string>{"ChooseSoundFile"});
}

}  // namespace
}  // namespace oxw::engine
