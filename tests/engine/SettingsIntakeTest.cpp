// Header intake into the check dialog, the dialog's acceptance test and reveal, and the settings
// intake from the dialog into the run parameters. Byte positions are worked out by hand: a
// canonical header is 44 bytes, a LIST chunk of n bytes adds 8 + n, and one second of 16-bit
// stereo at 44100 Hz is 176400 bytes.
#include "engine/Engine.h"
#include "engine/SoundFileIntake.h"
#include "support/EngineRig.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace oxw::engine {
namespace {

using test::TempDir;
using test::WavFormat;
using Bytes = std::vector<std::uint8_t>;
using Rig = test::EngineRig<>;
using Strings = std::vector<std::string>;

constexpr const char* kInterval =
    "Processing will not proceed. Interval between selected START and END time must be greater "
    "than 1 second";
constexpr const char* kNotBefore =
    "Processing will not proceed. START time selected is not before selected END time";
constexpr const char* kTerminate = " A decision has been made to terminate the analysis";
constexpr const char* kNotCompliant =
    " This sound file does not comply with OXW input specifications. Check OXW Help.";

Bytes Silence(const WavFormat& wavFormat, std::size_t frames) {
    return test::WavBytesFromFrames(wavFormat, std::vector<std::int16_t>(frames * wavFormat.channels, 0));
}

std::string WriteFile(const TempDir& dir, const std::string& name, const Bytes& bytes) {
    test::WriteWavFile(dir / name, bytes);
    return (dir / name).string();
}

// ---- Header intake ---------------------------------------------------------------------------

TEST(HeaderIntake, ShowsTheHeaderFactsAndTimeLists) {
    TempDir dir{"oxw-intake"};
    // 10.5 seconds of 16-bit mono: 463050 frames, 926100 data bytes.
    const auto path = WriteFile(dir, "ten.wav", Silence(WavFormat(), 463050));
    for (const char* option : {"Introductory", "Advanced"}) {
        SCOPED_TRACE(option);
        Rig r(option);
        r.ReadHeader(path);
        const SoundFileCheckForm& f = r.Form();
        const std::pair<const CheckField&, const char*> fields[] = {
            {f.SoundFileIdentifier, "RIFF"},   {f.SoundFileTotalBytes, "926136"},
            {f.SoundFileType, "WAVE"},         {f.SoundFileFormatDataDetected, "fmt "},
            {f.SoundFileCompressionCode, "1"}, {f.SoundFileNoOfChannels, "1"},
            {f.SoundFileSampleRate, "44100"},  {f.SoundFileAvBytesPerSecond, "88200"},
            {f.SoundFileBytePerSampleSlice, "2"}, {f.SoundFileBitsPerSample, "16"},
            {f.SoundFileSize, "926100"},       {f.SoundFileEstimatedRunTime, "10"},
        };
        for (const auto& [field, text] : fields) {
            EXPECT_EQ(field.Text, text);
            EXPECT_FALSE(field.Marked) << text;
        }
        EXPECT_FALSE(f.Label11Marked);
        EXPECT_TRUE(f.AnalysisTerminateMessageVisible && f.ContnueAnalysisVisible &&
                    f.TerminateAnalysisVisible);
        EXPECT_FALSE(f.Button1Visible);
        EXPECT_EQ(f.StartTimeItems, (Strings{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        EXPECT_EQ(f.EndTimeItems, (Strings{"2", "3", "4", "5", "6", "7", "8", "9", "10"}));
        // Both options offer the first two seconds.
        EXPECT_EQ(f.SoundFileStartTime, "0");
        EXPECT_EQ(f.SoundFileEndTime, "2");

        const RunState& s = r.e.S();
        EXPECT_EQ(std::tuple(s.InputSize, s.ChunkLength, s.StreamDataChunk, s.DataEnd),
                  std::tuple(926136, 926100, 44, 44 + 926100));
        EXPECT_EQ(std::tuple(s.SoundFileNoOfChannels, s.SoundFileSampleRate, s.SoundFileAvBytesPerSecond,
                             s.SoundFileBlockAlign, s.SoundFileSigBitsPerSample),
                  std::tuple(1, 44100, 88200, 2, 16));
        EXPECT_EQ(static_cast<std::int64_t>(r.e.Stream().tellg()), 44);  // at the first sample
    }
}

TEST(HeaderIntake, OnePassOptionLocksTheSettingsGroups) {
    TempDir dir{"oxw-intake"};
    const auto path = WriteFile(dir, "a.wav", Silence(WavFormat(), 44100 * 3));
    for (const bool onePass : {true, false}) {
        Rig r(onePass ? "Introductory" : "Advanced");
        SoundFileCheckForm& f = r.Form();
        f.HighResolution = true;  // a stale choice, reset to "Normal" by the one-pass option
        f.LowResolution = false;
        r.ReadHeader(path);
        EXPECT_EQ(f.LowResolution, onePass);
        EXPECT_TRUE(f.SelectTimesGroupEnabled);
        for (bool enabled : {f.SelectProcessingGroupEnabled, f.SelectResolutionGroupEnabled,
                             f.SelectCalibrationGroupEnabled, f.SelectTerhardtGroupEnabled,
                             f.FilterOptionsEnabled, f.ChannelAnalysisSelectionEnabled,
                             f.SwapInputBytesEnabled})
            EXPECT_EQ(enabled, !onePass);
    }
}

TEST(HeaderIntake, ChannelCountsAndTheirMarks) {
    struct Case {
        std::uint16_t channels;
        bool twoChan, marked;
    };
    const Case cases[] = {{1, false, false}, {2, true, false}, {3, false, true}, {5, false, false}};
    TempDir dir{"oxw-intake"};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.channels << " channels");
        Rig r("Advanced");
        r.ReadHeader(WriteFile(dir, std::to_string(c.channels) + ".wav",
                               Silence(WavFormat().Channels(c.channels), 1000)));
        EXPECT_EQ(r.e.S().TwoChan, c.twoChan);
        EXPECT_EQ(r.Form().Label11Marked, c.marked);
        EXPECT_EQ(r.Form().Label11, c.marked ? "Channels now default 1" : "Sound File Number of Channels");
        EXPECT_EQ(r.Form().SoundFileNoOfChannels.Text, std::to_string(c.channels));
    }
}

TEST(HeaderIntake, RifxIsMarkedButStillRuns) {
    TempDir dir{"oxw-intake"};
    Bytes bytes = Silence(WavFormat(), 44100 * 3);
    test::PutId(bytes, 0, "RIFX");
    Rig r("Introductory");
    r.Run(WriteFile(dir, "x.wav", bytes));
    EXPECT_EQ(r.Form().SoundFileIdentifier.Text, "RIFX");
    EXPECT_TRUE(r.Form().SoundFileIdentifier.Marked);
    EXPECT_FALSE(r.Form().SoundFileType.Marked);
    EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), 40);
    EXPECT_EQ(r.host.log.back(), (test::LogLine{"E", "Open1Click"}));
}

TEST(HeaderIntake, UnreadableHeaderRefusesTheRun) {
    TempDir dir{"oxw-intake"};
    Bytes noData = Silence(WavFormat(), 0);  // 44 bytes: the "data" chunk header is the last 8
    test::PutId(noData, 36, "JUNK");
    Rig r("Introductory");
    try {
        r.Run(WriteFile(dir, "bad.wav", noData));
        ADD_FAILURE() << "the run went on";
    } catch (const RunRefused& refused) {
        EXPECT_STREQ(refused.what(), "No \"data\" chunk found before the end of the file (44 bytes).");
    }
    EXPECT_FALSE(r.e.Stream().is_open());
    // The dialog is never shown and nothing of the run is set up.
    EXPECT_EQ(r.host.calls, Strings{"ChooseSoundFile"});
    EXPECT_EQ(r.host.Count("E", "Open1Click"), 0);
}

// The form as the check dialog receives it, before the user does anything.
class SnapshotHost : public test::ScriptedHost {
public:
    std::vector<SoundFileCheckForm> shown;
    void ShowSoundFileCheck(SoundFileCheckForm& form) override {
        shown.push_back(form);
        ScriptedHost::ShowSoundFileCheck(form);
    }
};

// A run that ends with the program still open (here: the dialog closed without an answer) leaves
// nothing behind in the dialog: the next file is shown as designed, under one name, with its own
// time lists only.
TEST(HeaderIntake, EachRunShowsItsFileInTheDialogAsDesigned) {
    TempDir dir{"oxw-intake"};
    test::EngineRig<SnapshotHost> r("Advanced");
    r.host.checkDialog = [](SoundFileCheckForm&) { throw RunRefused("closed"); };
    for (const std::uint16_t channels : {3, 2}) {
        EXPECT_THROW(r.Run(WriteFile(dir, std::to_string(channels) + ".wav",
                                     Silence(WavFormat().Channels(channels), 44100 * 3))),
                     RunRefused);
    }
    EXPECT_TRUE(r.Form().Label11Marked || r.Form().ChannelAnalysisSelectionVisible);
    r.host.checkDialog = nullptr;
    r.e.MainLineProcess1();
    r.Run(WriteFile(dir, "mono.wav", Silence(WavFormat(), 44100 * 4)));

    ASSERT_EQ(r.host.shown.size(), 3u);
    const SoundFileCheckForm& f = r.host.shown.back();
    const SoundFileCheckForm design;
    EXPECT_EQ(f.Caption, "OXW Analysing Sound File Header Data - /mono.wav");
    EXPECT_EQ(f.StartTimeItems, (Strings{"1", "2", "3"}));
    EXPECT_EQ(f.EndTimeItems, (Strings{"2", "3", "4"}));
    EXPECT_EQ(f.Label11, design.Label11);
    EXPECT_FALSE(f.Label11Marked);
    EXPECT_EQ(f.AnalysisTerminateMessage, design.AnalysisTerminateMessage);
    EXPECT_TRUE(f.ContnueAnalysisVisible && f.TerminateAnalysisVisible);
    EXPECT_FALSE(f.Button1Visible || f.SettingsVisible || f.ChannelAnalysisSelectionVisible);
    EXPECT_EQ(r.e.S().Lines, 40);
}

// ---- The dialog's own rules ------------------------------------------------------------------

TEST(CheckDialog, RevealShowsTheChannelGroupOnlyForTwoChannels) {
    for (const char* channels : {"1", "2", "3", " 2"}) {
        SoundFileCheckForm f;
        f.SoundFileNoOfChannels.Text = channels;
        RevealSettings(f);
        EXPECT_EQ(f.ChannelAnalysisSelectionVisible, std::string(channels) == "2") << channels;
        EXPECT_EQ(f.AnalysisTerminateMessage, "Select Analysis Time from panel below");
        EXPECT_TRUE(f.AnalysisTerminateMessageVisible && f.Button1Visible && f.SettingsVisible);
        EXPECT_FALSE(f.ContnueAnalysisVisible || f.TerminateAnalysisVisible);
    }
}

TEST(CheckDialog, AcceptanceNeeds44100Hz16BitsOneOrTwoChannelsAndTwoSeconds) {
    // A header whose sample rate (and so byte rate) exceeds an Integer shows it as it stands.
    TempDir dir{"oxw-intake"};
    Rig r("Advanced");
    r.ReadHeader(WriteFile(dir, "huge.wav", Silence(WavFormat().Rate(3000000000u).Bits(8), 100)));
    EXPECT_EQ(r.Form().SoundFileSampleRate.Text, "3000000000");
    // The run keeps the rates whole: none reads as a negative number.
    EXPECT_EQ(r.e.S().SoundFileSampleRate, 3000000000);
    EXPECT_EQ(r.e.S().SoundFileAvBytesPerSecond, 3000000000);
    // Facts as the header intake shows them; any that does not convert refuses the file, never
    // throws from inside the dialog's button.
    const std::array<const char*, 4> accepted[] = {{"44100", "16", "2", "2"}, {"44100", "16", "1", "3"}};
    const std::array<const char*, 4> refused[] = {
        {"44100", "16", "2", "1"},      {"48000", "16", "2", "3"},       {"44100", "16", "3", "2"},
        {"44100", "8", "1", "2"},       {"44100", "24", "1", "2"},       {"3000000000", "8", "1", "0"},
        {"44100", "16", "2", "4294967295"}, {"44100", "16", "", "3"},    {"44100", "sixteen", "1", "3"},
        {"99999999999", "16", "1", "3"}};
    const auto verdict = [](const std::array<const char*, 4>& facts) {
        SoundFileCheckForm f;
        f.SoundFileSampleRate.Text = facts[0];
        f.SoundFileBitsPerSample.Text = facts[1];
        f.SoundFileNoOfChannels.Text = facts[2];
        f.SoundFileEstimatedRunTime.Text = facts[3];
        return AcceptanceRefusal(f);
    };
    for (const auto& facts : accepted) EXPECT_EQ(verdict(facts), std::nullopt) << facts[3];
    for (const auto& [rate, bits, channels, runTime] : refused) {
        EXPECT_EQ(verdict({rate, bits, channels, runTime}),
                  std::string(kNotCompliant) + "Sample rate " + rate + " Bits/Sample " + bits +
                      " Channels " + channels + " Estimated Run Time " + runTime);
    }
}

// ---- Settings intake ---------------------------------------------------------------------------

// The times and the calibration as typed, each against its rule: the order of start and end and
// their interval, then each range, with the last value accepted beside the first refused. The
// 7 s file allows starts 0..5 and reads any later end as 7; the 5000 s one (sparse) shows the longest
// stretch, 4800 s; the calibration runs from -200 to 200 dB.
TEST(SettingsIntake, TypedValuesAreCheckedAgainstTheirRules) {
    constexpr const char* kIntervalLabel = "Input error - Start/End Time error. Analysis Terminated";
    constexpr const char* kNotBeforeLabel =
        "Input error - selected Start Time not before selected End Time, Analysis Terminated";
    const auto label = [](const std::string& field) {
        return "Input error - selected " + field + " outside its range, Analysis Terminated";
    };
    const auto refusal = [](const std::string& field, const std::string& value,
                            const std::string& range, const std::string& unit) {
        return "Processing will not proceed. " + field + " selected (" + value + " " + unit +
               ") is outside the range allowed: " + range + " " + unit;
    };
    const std::string start = label("Start Time"), end = label("End Time"),
                      calibration = label("Calibration");
    struct Case {
        const char *start, *end, *calibration;
        std::string message;  // empty: accepted
        std::string label;
        bool longFile = false;
        const char* endRead = nullptr;  // the end taken over, when not the end typed
    };
    const Case cases[] = {
        {"3", "4", "0", kInterval, kIntervalLabel},   {"0", "1", "0", kInterval, kIntervalLabel},
        {"5", "5", "0", kNotBefore, kNotBeforeLabel}, {"6", "4", "0", kNotBefore, kNotBeforeLabel},
        {"0", "2", "0", "", ""},
        {" -1", "2", "0", refusal("START time", "-1", "0 to 5", "seconds"), start},
        {"5", "7", "0", "", ""},
        {"6", "8", "0", refusal("START time", "6", "0 to 5", "seconds"), start},
        {"1", "8", "0", "", "", false, "7"},
        {"0", "99999999999999999999999", "0", "", "", false, "7"},
        {"100", "4900", "0", "", "", true},
        {"100", "4901", "0", refusal("END time", "4901", "102 to 4900", "seconds"), end, true},
        {"0", "2", "200", "", ""},
        {"0", "2", "-200", "", ""},
        {"0", "2", "201", refusal("Calibration", "201", "-200 to 200", "dB"), calibration},
        {"0", "2", "-201", refusal("Calibration", "-201", "-200 to 200", "dB"), calibration},
        {"0", "2", "2147483647", refusal("Calibration", "2147483647", "-200 to 200", "dB"),
         calibration},
        {"0", "2", "99999999999999999999999",
         refusal("Calibration", "99999999999999999999999", "-200 to 200", "dB"), calibration},
    };
    TempDir dir{"oxw-intake"};
    const auto path = WriteFile(dir, "t.wav", Silence(WavFormat(), 44100 * 7));
    const auto longPath = dir / "long.wav";
    test::WriteSparseWav(longPath, WavFormat(), 88200ull * 5000);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.start << ".." << c.end << " cal " << c.calibration);
        Rig r("Introductory");
        r.ReadHeader(c.longFile ? longPath.string() : path);
        RevealSettings(r.Form());
        r.Form().SoundFileStartTime = c.start;
        r.Form().SoundFileEndTime = c.end;
        r.Form().InputCalibration = c.calibration;
        if (c.message.empty()) {
            r.e.SoundFileCheckButton1Click();
            EXPECT_TRUE(r.host.messages.empty());
            EXPECT_EQ(r.e.S().StartTime, std::stod(c.start));
            EXPECT_EQ(r.e.S().EndTime, std::stod(c.endRead ? c.endRead : c.end));
            EXPECT_EQ(r.e.S().Calibration, std::stod(c.calibration) - 70.0);
            EXPECT_EQ(r.host.texts["RecordedStartTime"], c.start);
            EXPECT_EQ(r.host.texts["RecordedEndTime"], c.end);
            continue;
        }
        EXPECT_THROW(r.e.SoundFileCheckButton1Click(), RunTerminated);
        EXPECT_EQ(r.host.messages, (Strings{c.message, kTerminate}));
        const SoundFileCheckForm& f = r.Form();
        EXPECT_EQ(f.AnalysisTerminateMessage, c.label);
        EXPECT_TRUE(f.AnalysisTerminateMessageVisible);
        EXPECT_FALSE(f.ContnueAnalysisVisible || f.TerminateAnalysisVisible || f.Button1Visible);
        EXPECT_EQ(r.host.GetText("PositionStart"), "");  // nothing taken over
    }
}

TEST(SettingsIntake, TakesTheDialogSettingsOver) {
    // The expected run parameters, the dialog's design values unless a case says otherwise.
    struct Case {
        const char* name;
        std::function<void(SoundFileCheckForm&)> edit;
        std::uint16_t channels = 1;
        int resolution = 5;
        char field = 'F';
        bool pitchShift = true;
        int compression = 1;
        double calibration = -70.0;
        char winfunct = 'N';
        const char* analysisChannel = "1";
    };
    const Case cases[] = {
        {.name = "design values", .edit = [](auto&) {}},
        {.name = "High, Diffuse, Omit, compression 3, calibration 10, Blackman",
         .edit = [](SoundFileCheckForm& f) {
             f.HighResolution = true, f.LowResolution = false;
             f.ProcessingFree = false, f.ProcessingDiffuse = true;
             f.IncludeTerhardt = false, f.OmitTerhardt = true;
             f.OutputCompression = "3", f.InputCalibration = "10", f.WINFUNCT = 'B';
         },
         .resolution = 1, .field = 'D', .pitchShift = false, .compression = 3, .calibration = -60.0, .winfunct = 'B'},
        {.name = "no resolution or field radio, calibration -5",
         .edit = [](auto& f) { f.LowResolution = f.ProcessingFree = false, f.InputCalibration = "-5"; },
         .resolution = 3, .field = 'X', .calibration = -75.0},
        {.name = "Eardrum", .edit = [](auto& f) { f.ProcessingFree = false, f.ProcessingEardrum = true; },
         .field = 'E'},
        {.name = "mono ignores the channel group, even shown",
         .edit = [](auto& f) { f.ChannelAnalysisSelectionVisible = true, f.DoChannelBoth = false, f.DoChannel2 = true; }},
        {.name = "stereo, design choice Both", .edit = [](auto&) {}, .channels = 2, .analysisChannel = "Both"},
        {.name = "stereo, Channel 1", .edit = [](auto& f) { f.DoChannelBoth = false, f.DoChannel1 = true; },
         .channels = 2, .analysisChannel = "1"},
        {.name = "stereo, Channel 2", .edit = [](auto& f) { f.DoChannelBoth = false, f.DoChannel2 = true; },
         .channels = 2, .analysisChannel = "2"},
        {.name = "stereo, channel group hidden",
         .edit = [](auto& f) { f.ChannelAnalysisSelectionVisible = false, f.DoChannelBoth = false, f.DoChannel1 = true; },
         .channels = 2, .analysisChannel = "2"},
    };
    TempDir dir{"oxw-intake"};
    const auto mono = WriteFile(dir, "mono.wav", Silence(WavFormat(), 44100 * 3));
    const auto stereo = WriteFile(dir, "stereo.wav", Silence(WavFormat().Channels(2), 44100 * 3));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r("Advanced");
        RunState& s = r.e.S();
        s.Resolution = 3;  // kept only when no resolution radio is checked
        s.Field = 'X';     // kept only when no field radio is checked
        s.ATune = 415.0;
        r.ReadHeader(c.channels == 2 ? stereo : mono);
        RevealSettings(r.Form());
        c.edit(r.Form());
        r.e.SoundFileCheckButton1Click();

        EXPECT_EQ(s.Resolution, c.resolution);
        EXPECT_EQ(s.Field, c.field);
        EXPECT_EQ(s.PitchShift, c.pitchShift);
        EXPECT_EQ(s.Compression, c.compression);
        EXPECT_DOUBLE_EQ(s.Calibration, c.calibration);
        EXPECT_EQ(s.WINFUNCT, c.winfunct);
        EXPECT_DOUBLE_EQ(s.ATune, 440.0);
        EXPECT_EQ(r.host.texts["AnalysisChannel"], c.analysisChannel);
        EXPECT_EQ(r.host.GetText("ChannelsInSoundFile"), std::to_string(c.channels));
    }
}

TEST(SettingsIntake, StartOffsetCountsFromTheFirstDataByte) {
    struct Case {
        const char* name;
        WavFormat wavFormat;
        const char *start, *end;
        std::int64_t dataAt, counter, maxOffset;  // maxOffset: byte rate x end time
    };
    const Case cases[] = {
        {"stereo, 44-byte header", WavFormat().Channels(2), "1", "3", 44, 176400, 529200},
        {"stereo, LIST chunk of 26 bytes", WavFormat().Channels(2).ChunkBeforeData({"LIST", Bytes(26, 'x')}),
         "1", "3", 78, 176400, 529200},
        {"stereo, 18-byte format chunk", WavFormat().Channels(2).ExtraFormat({0, 0}), "1", "3", 46, 176400, 529200},
        {"mono, start 2", WavFormat(), "2", "4", 44, 176400, 352800},
        {"mono, start 0", WavFormat(), "0", "2", 44, 0, 176400},
    };
    TempDir dir{"oxw-intake"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r("Advanced");
        r.ReadHeader(WriteFile(dir, "offset.wav", Silence(c.wavFormat, 44100 * 4)));
        RevealSettings(r.Form());
        r.Form().SoundFileStartTime = c.start;
        r.Form().SoundFileEndTime = c.end;
        r.e.SoundFileCheckButton1Click();
        const RunState& s = r.e.S();
        EXPECT_EQ(s.StreamDataChunk, c.dataAt);
        EXPECT_EQ(s.Counter, c.counter);
        EXPECT_EQ(r.host.texts["PositionStart"], std::to_string(c.dataAt + c.counter));
        EXPECT_EQ(s.SoundFileStartPointer, c.dataAt + c.counter);
        EXPECT_EQ(r.host.texts["SoundFileMaximumPosition"], std::to_string(c.dataAt + c.maxOffset));
        EXPECT_EQ(s.SoundFileMaxPointer, c.dataAt + c.maxOffset);
    }
}

// A text that is no whole number stops the run before anything is analysed, naming the field.
TEST(SettingsIntake, TextThatIsNoWholeNumberStopsTheRun) {
    struct Case {
        std::string SoundFileCheckForm::*field;
        const char* text;
        const char* message;
    } const cases[] = {
        {&SoundFileCheckForm::SoundFileStartTime, "abc", "The start time 'abc' is not a whole number of seconds"},
        {&SoundFileCheckForm::SoundFileEndTime, "2.5", "The end time '2.5' is not a whole number of seconds"},
        {&SoundFileCheckForm::InputCalibration, "", "The calibration '' is not a whole number of dB"},
        {&SoundFileCheckForm::InputCalibration, " +-5", "The calibration ' +-5' is not a whole number of dB"},
        {&SoundFileCheckForm::OutputCompression, "1-", "The compression '1-' is not a whole number of blocks"},
    };
    TempDir dir{"oxw-intake"};
    const auto path = WriteFile(dir, "a.wav", Silence(WavFormat(), 44100 * 3));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Rig r("Introductory");
        r.host.checkDialog = [&](SoundFileCheckForm& f) { f.*c.field = c.text; };
        try {
            r.Run(path);
            ADD_FAILURE() << "the run went on";
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_FALSE(r.e.Stream().is_open());
        EXPECT_EQ(r.host.Count("S", "ScanSoundFile"), 0);
    }
}

}  // namespace
}  // namespace oxw::engine
