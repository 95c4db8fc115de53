// Header intake into the check dialog, the dialog's acceptance test and reveal, and the settings
// intake from the dialog into the run parameters. Byte positions are worked out by hand: a
// canonical header is 44 bytes, a LIST chunk of n bytes adds 8 + n, and one second of 16-bit
// stereo at 44100 Hz is 176400 bytes.
#include "engine/Engine.h"
#include "engine/SoundFileIntake.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace oxw::engine {
namespace {

namespace fs = std::filesystem;
using test::ScriptedHost;
using test::TempDir;
using test::WavChunk;
using test::WavFormat;
using Bytes = std::vector<std::uint8_t>;

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
    const fs::path p = dir / name;
    test::WriteWavFile(p, bytes);
    return p.string();
}

// One engine on a scripted host with the run reset done, as the main window leaves it.
struct Rig {
    explicit Rig(const std::string& option) {
        host.texts["CurrentProcessingMode"] = "Standard";
        host.texts["MusicFFTSampleSize"] = "4096";
        e.S().ProcessingOptionSelected = option;
        e.MainLineProcess1();
    }
    // Header intake alone, on a stream opened as the driver opens it.
    void ReadHeader(const std::string& path) {
        e.S().SoundFileName = path;
        e.Stream().open(path, std::ios::binary);
        ASSERT_TRUE(e.Stream().is_open());
        e.ReadSoundFileHeader();
    }
    // The whole run with the file chosen in the file dialog.
    void Run(const std::string& path) {
        host.chosenFile = path;
        ASSERT_TRUE(e.MainLineProcess2SingleFile());
        e.Open1Click();
    }
    SoundFileCheckForm& Form() { return e.SoundFileCheck(); }

    ScriptedHost host;
    Engine e{host};
};

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
        struct Field {
            const char* name;
            const CheckField& field;
            const char* text;
        };
        const Field fields[] = {
            {"SoundFileIdentifier", f.SoundFileIdentifier, "RIFF"},
            {"SoundFileTotalBytes", f.SoundFileTotalBytes, "926136"},
            {"SoundFileType", f.SoundFileType, "WAVE"},
            {"SoundFileFormatDataDetected", f.SoundFileFormatDataDetected, "fmt "},
            {"SoundFileCompressionCode", f.SoundFileCompressionCode, "1"},
            {"SoundFileNoOfChannels", f.SoundFileNoOfChannels, "1"},
            {"SoundFileSampleRate", f.SoundFileSampleRate, "44100"},
            {"SoundFileAvBytesPerSecond", f.SoundFileAvBytesPerSecond, "88200"},
            {"SoundFileBytePerSampleSlice", f.SoundFileBytePerSampleSlice, "2"},
            {"SoundFileBitsPerSample", f.SoundFileBitsPerSample, "16"},
            {"SoundFileSize", f.SoundFileSize, "926100"},
            {"SoundFileEstimatedRunTime", f.SoundFileEstimatedRunTime, "10"},
        };
        for (const auto& x : fields) {
            EXPECT_EQ(x.field.Text, x.text) << x.name;
            EXPECT_FALSE(x.field.Marked) << x.name;
        }
        EXPECT_EQ(f.Label11, "Sound File Number of Channels");
        EXPECT_FALSE(f.Label11Marked);
        EXPECT_TRUE(f.AnalysisTerminateMessageVisible);
        EXPECT_TRUE(f.ContnueAnalysisVisible);
        EXPECT_TRUE(f.TerminateAnalysisVisible);
        EXPECT_FALSE(f.Button1Visible);

        const std::vector<std::string> starts = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
        const std::vector<std::string> ends = {"2", "3", "4", "5", "6", "7", "8", "9", "10"};
        EXPECT_EQ(f.StartTimeItems, starts);
        EXPECT_EQ(f.EndTimeItems, ends);
        // Both options offer the first two seconds.
        EXPECT_EQ(f.SoundFileStartTime, "0");
        EXPECT_EQ(f.SoundFileEndTime, "2");

        const RunState& s = r.e.S();
        EXPECT_EQ(s.InputSize, 926136);
        EXPECT_EQ(s.ChunkLength, 926100);
        EXPECT_EQ(s.StreamDataChunk, 44);
        EXPECT_EQ(s.DataEnd, 44 + 926100);
        EXPECT_EQ(s.SoundFileNoOfChannels, 1);
        EXPECT_EQ(s.SoundFileSampleRate, 44100);
        EXPECT_EQ(s.SoundFileAvBytesPerSecond, 88200);
        EXPECT_EQ(s.SoundFileBlockAlign, 2);
        EXPECT_EQ(s.SoundFileSigBitsPerSample, 16);
        EXPECT_FALSE(s.TwoChan);
        EXPECT_FALSE(s.ByteSwap);
        EXPECT_EQ(static_cast<std::int64_t>(r.e.Stream().tellg()), 44);  // at the first sample
    }
}

TEST(HeaderIntake, OnePassOptionLocksTheSettingsGroups) {
    TempDir dir{"oxw-intake"};
    const auto path = WriteFile(dir, "a.wav", Silence(WavFormat(), 44100 * 3));
    Rig intro("Introductory");
    intro.Form().HighResolution = true;  // a stale choice is reset to "Normal"
    intro.Form().LowResolution = false;
    intro.ReadHeader(path);
    const SoundFileCheckForm& f = intro.Form();
    EXPECT_TRUE(f.LowResolution);
    EXPECT_FALSE(f.HighResolution);
    EXPECT_TRUE(f.SelectTimesGroupEnabled);
    for (bool enabled : {f.SelectProcessingGroupEnabled, f.SelectResolutionGroupEnabled,
                         f.SelectCalibrationGroupEnabled, f.SelectTerhardtGroupEnabled,
                         f.FilterOptionsEnabled, f.ChannelAnalysisSelectionEnabled,
                         f.SwapInputBytesEnabled})
        EXPECT_FALSE(enabled);

    Rig advanced("Advanced");
    advanced.ReadHeader(path);
    const SoundFileCheckForm& g = advanced.Form();
    for (bool enabled : {g.SelectTimesGroupEnabled, g.SelectProcessingGroupEnabled,
                         g.SelectResolutionGroupEnabled, g.SelectCalibrationGroupEnabled,
                         g.SelectTerhardtGroupEnabled, g.FilterOptionsEnabled,
                         g.ChannelAnalysisSelectionEnabled, g.SwapInputBytesEnabled})
        EXPECT_TRUE(enabled);
}

TEST(HeaderIntake, ChannelCountsAndTheirMarks) {
    struct Case {
        std::uint16_t channels;
        bool twoChan;
        bool marked;
    };
    const Case cases[] = {{1, false, false}, {2, true, false}, {3, false, true}, {5, false, false}};
    TempDir dir{"oxw-intake"};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.channels << " channels");
        const auto path = WriteFile(dir, std::to_string(c.channels) + ".wav",
                                    Silence(WavFormat().Channels(c.channels), 1000));
        Rig r("Advanced");
        r.ReadHeader(path);
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
    const auto path = WriteFile(dir, "x.wav", bytes);
    Rig r("Introductory");
    r.Run(path);
    EXPECT_EQ(r.Form().SoundFileIdentifier.Text, "RIFX");
    EXPECT_TRUE(r.Form().SoundFileIdentifier.Marked);
    EXPECT_FALSE(r.Form().SoundFileType.Marked);
    EXPECT_TRUE(r.Form().AnalysisTerminateMessageVisible);
    EXPECT_EQ(r.e.S().Lines, 40);
    EXPECT_EQ(r.host.Count("S", "MakeSpectrum"), 40);
    ASSERT_FALSE(r.host.log.empty());
    EXPECT_EQ(r.host.log.back(), (test::LogLine{"E", "Open1Click"}));
}

TEST(HeaderIntake, UnreadableHeaderRefusesTheRun) {
    TempDir dir{"oxw-intake"};
    Bytes noData = Silence(WavFormat(), 0);  // 44 bytes: the "data" chunk header is the last 8
    test::PutId(noData, 36, "JUNK");
    Bytes shortHeader = Silence(WavFormat(), 10);
    shortHeader.resize(10);
    struct Case {
        const char* name;
        Bytes bytes;
        std::optional<std::string> message;
    };
    const Case cases[] = {
        {"no data chunk", noData,
         std::string("No \"data\" chunk found before the end of the file (44 bytes).")},
        {"empty file", Bytes{}, std::string("The sound file is empty.")},
        {"10-byte file", shortHeader, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = WriteFile(dir, "bad.wav", c.bytes);
        Rig r("Introductory");
        try {
            r.Run(path);
            ADD_FAILURE() << "the run went on";
        } catch (const RunRefused& refused) {
            if (c.message) {
                EXPECT_EQ(std::string(refused.what()), *c.message);
            }
            EXPECT_FALSE(std::string(refused.what()).empty());
        }
        EXPECT_FALSE(r.e.Stream().is_open());
        // The dialog is never shown and nothing of the run is set up.
        EXPECT_EQ(r.host.calls, std::vector<std::string>{"ChooseSoundFile"});
        EXPECT_EQ(r.host.Count("E", "Open1Click"), 0);
    }
}

// ---- The dialog's own rules ------------------------------------------------------------------

TEST(CheckDialog, RevealShowsTheChannelGroupOnlyForTwoChannels) {
    for (const char* channels : {"1", "2", "3", "5", " 2"}) {
        SoundFileCheckForm f;
        f.SoundFileNoOfChannels.Text = channels;
        RevealSettings(f);
        EXPECT_EQ(f.ChannelAnalysisSelectionVisible, std::string(channels) == "2") << channels;
        EXPECT_EQ(f.AnalysisTerminateMessage, "Select Analysis Time from panel below");
        EXPECT_TRUE(f.AnalysisTerminateMessageVisible);
        EXPECT_FALSE(f.ContnueAnalysisVisible);
        EXPECT_FALSE(f.TerminateAnalysisVisible);
        EXPECT_TRUE(f.Button1Visible);
        EXPECT_TRUE(f.SettingsVisible);
    }
}

TEST(CheckDialog, AcceptanceTestOnRealHeaders) {
    struct Case {
        const char* name;
        WavFormat wavFormat;
        std::size_t frames;
        const char* refusal;  // nullptr: accepted
    };
    const Case cases[] = {
        {"44100/16/2 for exactly 2 s", WavFormat().Channels(2), 88200, nullptr},
        {"44100/16/1 for 3 s", WavFormat(), 132300, nullptr},
        {"one frame short of 2 s", WavFormat().Channels(2), 88199,
         "Sample rate 44100 Bits/Sample 16 Channels 2 Estimated Run Time 1"},
        {"1 s", WavFormat().Channels(2), 44100,
         "Sample rate 44100 Bits/Sample 16 Channels 2 Estimated Run Time 1"},
        {"48000 Hz", WavFormat().Rate(48000).Channels(2), 144000,
         "Sample rate 48000 Bits/Sample 16 Channels 2 Estimated Run Time 3"},
        {"3 channels", WavFormat().Channels(3), 88200,
         "Sample rate 44100 Bits/Sample 16 Channels 3 Estimated Run Time 2"},
        {"5 channels", WavFormat().Channels(5), 88200,
         "Sample rate 44100 Bits/Sample 16 Channels 5 Estimated Run Time 2"},
        {"8 bits", WavFormat().Bits(8), 88200,
         "Sample rate 44100 Bits/Sample 8 Channels 1 Estimated Run Time 2"},
        {"24 bits", WavFormat().Bits(24), 88200,
         "Sample rate 44100 Bits/Sample 24 Channels 1 Estimated Run Time 2"},
    };
    TempDir dir{"oxw-intake"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = WriteFile(dir, "accept.wav", Silence(c.wavFormat, c.frames));
        Rig r("Advanced");
        r.ReadHeader(path);
        const auto refusal = AcceptanceRefusal(r.Form());
        if (c.refusal == nullptr) {
            EXPECT_FALSE(refusal.has_value()) << *refusal;
        } else {
            ASSERT_TRUE(refusal.has_value());
            EXPECT_EQ(*refusal,
                      std::string(" This sound file does not comply with OXW input "
                                  "specifications. Check OXW Help.") + c.refusal);
        }
    }
}

TEST(CheckDialog, FactsThatAreNoIntegerAreRefusedNotThrown) {
    // A consistent header whose sample rate (and so byte rate) exceeds an Integer.
    TempDir dir{"oxw-intake"};
    const auto path = WriteFile(dir, "huge.wav", Silence(WavFormat().Rate(3000000000u).Bits(8), 100));
    Rig r("Advanced");
    r.ReadHeader(path);
    std::optional<std::string> refusal;
    EXPECT_NO_THROW(refusal = AcceptanceRefusal(r.Form()));
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(*refusal, std::string(kNotCompliant) +
                            "Sample rate 3000000000 Bits/Sample 8 Channels 1 Estimated Run Time 0");

    // Any fact that does not convert refuses the file, whatever the others say.
    struct Case {
        const char* rate;
        const char* bits;
        const char* channels;
        const char* runTime;
    };
    const Case cases[] = {{"44100", "16", "2", "4294967295"},
                          {"44100", "16", "", "3"},
                          {"44100", "sixteen", "1", "3"},
                          {"99999999999", "16", "1", "3"}};
    for (const auto& c : cases) {
        SoundFileCheckForm f;
        f.SoundFileSampleRate.Text = c.rate;
        f.SoundFileBitsPerSample.Text = c.bits;
        f.SoundFileNoOfChannels.Text = c.channels;
        f.SoundFileEstimatedRunTime.Text = c.runTime;
        EXPECT_NO_THROW(refusal = AcceptanceRefusal(f));
        ASSERT_TRUE(refusal.has_value()) << c.rate << " " << c.bits << " " << c.channels << " " << c.runTime;
        EXPECT_EQ(*refusal, std::string(kNotCompliant) + "Sample rate " + c.rate +
                                " Bits/Sample " + c.bits + " Channels " + c.channels +
                                " Estimated Run Time " + c.runTime);
    }
}

// ---- Settings intake ---------------------------------------------------------------------------

TEST(SettingsIntake, StartAndEndTimesAreCheckedBeforeTheRun) {
    struct Case {
        const char* start;
        const char* end;
        const char* message;  // nullptr: accepted
        const char* label;
    };
    const Case cases[] = {
        {"3", "4", kInterval, "Input error - Start/End Time error. Analysis Terminated"},
        {"0", "1", kInterval, "Input error - Start/End Time error. Analysis Terminated"},
        {"5", "5", kNotBefore,
         "Input error - selected Start Time not before selected End Time, Analysis Terminated"},
        {"6", "4", kNotBefore,
         "Input error - selected Start Time not before selected End Time, Analysis Terminated"},
        {"0", "2", nullptr, nullptr},
        {"1", "3", nullptr, nullptr},
    };
    TempDir dir{"oxw-intake"};
    const auto path = WriteFile(dir, "t.wav", Silence(WavFormat(), 44100 * 7));
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.start << ".." << c.end);
        Rig r("Introductory");
        r.host.checkDialog = [&](SoundFileCheckForm& f) {
            f.SoundFileStartTime = c.start;
            f.SoundFileEndTime = c.end;
        };
        if (c.message == nullptr) {
            r.Run(path);
            EXPECT_TRUE(r.host.messages.empty());
            EXPECT_EQ(r.e.S().StartTime, std::stod(c.start));
            EXPECT_EQ(r.e.S().EndTime, std::stod(c.end));
            EXPECT_EQ(r.host.texts["RecordedStartTime"], c.start);
            EXPECT_EQ(r.host.texts["RecordedEndTime"], c.end);
            continue;
        }
        EXPECT_THROW(r.Run(path), RunTerminated);
        const std::vector<std::string> messages = {c.message, kTerminate};
        EXPECT_EQ(r.host.messages, messages);
        const SoundFileCheckForm& f = r.Form();
        EXPECT_EQ(f.AnalysisTerminateMessage, c.label);
        EXPECT_TRUE(f.AnalysisTerminateMessageVisible);
        EXPECT_FALSE(f.ContnueAnalysisVisible);
        EXPECT_FALSE(f.TerminateAnalysisVisible);
        EXPECT_FALSE(f.Button1Visible);
        EXPECT_FALSE(r.e.Stream().is_open());
        // Nothing of the analysis ran.
        EXPECT_EQ(r.host.Count("S", "ScanSoundFile"), 0);
        EXPECT_EQ(r.host.Count("E", "Open1Click"), 0);
    }
}

TEST(SettingsIntake, TakesTheDialogSettingsOver) {
    using Edit = std::function<void(SoundFileCheckForm&)>;
    struct Case {
        const char* name;
        std::uint16_t channels;
        Edit edit;
        int resolution;
        char field;
        bool pitchShift;
        int compression;
        double calibration;
        char winfunct;
        const char* analysisChannel;
        const char* channelsInFile;  // nullptr: not written
    };
    const Edit none = [](SoundFileCheckForm&) {};
    const Case cases[] = {
        {"design values", 1, none, 5, 'F', true, 1, -70.0, 'N', "2", nullptr},
        {"High resolution", 1,
         [](SoundFileCheckForm& f) {
             f.HighResolution = true;
             f.LowResolution = false;
         },
         1, 'F', true, 1, -70.0, 'N', "2", nullptr},
        {"no resolution radio", 1,
         [](SoundFileCheckForm& f) { f.HighResolution = f.LowResolution = false; }, 3, 'F', true, 1,
         -70.0, 'N', "2", nullptr},
        {"Diffuse Field", 1,
         [](SoundFileCheckForm& f) {
             f.ProcessingFree = false;
             f.ProcessingDiffuse = true;
         },
         5, 'D', true, 1, -70.0, 'N', "2", nullptr},
        {"Eardrum Level", 1,
         [](SoundFileCheckForm& f) {
             f.ProcessingFree = false;
             f.ProcessingEardrum = true;
         },
         5, 'E', true, 1, -70.0, 'N', "2", nullptr},
        {"no field radio", 1, [](SoundFileCheckForm& f) { f.ProcessingFree = false; }, 5, 'X', true,
         1, -70.0, 'N', "2", nullptr},
        {"Omit Terhardt", 1,
         [](SoundFileCheckForm& f) {
             f.IncludeTerhardt = false;
             f.OmitTerhardt = true;
         },
         5, 'F', false, 1, -70.0, 'N', "2", nullptr},
        {"compression 3, calibration 10", 1,
         [](SoundFileCheckForm& f) {
             f.OutputCompression = "3";
             f.InputCalibration = "10";
         },
         5, 'F', true, 3, -60.0, 'N', "2", nullptr},
        {"calibration -5", 1, [](SoundFileCheckForm& f) { f.InputCalibration = "-5"; }, 5, 'F',
         true, 1, -75.0, 'N', "2", nullptr},
        {"Blackman window", 1, [](SoundFileCheckForm& f) { f.WINFUNCT = 'B'; }, 5, 'F', true, 1,
         -70.0, 'B', "2", nullptr},
        {"mono ignores the hidden channel group", 1,
         [](SoundFileCheckForm& f) {
             f.DoChannelBoth = false;
             f.DoChannel1 = true;
         },
         5, 'F', true, 1, -70.0, 'N', "2", nullptr},
        {"stereo, design choice Both", 2, none, 5, 'F', true, 1, -70.0, 'N', "Both", "2"},
        {"stereo, Channel 1", 2,
         [](SoundFileCheckForm& f) {
             f.DoChannelBoth = false;
             f.DoChannel1 = true;
         },
         5, 'F', true, 1, -70.0, 'N', "1", "2"},
        {"stereo, Channel 2", 2,
         [](SoundFileCheckForm& f) {
             f.DoChannelBoth = false;
             f.DoChannel2 = true;
         },
         5, 'F', true, 1, -70.0, 'N', "2", "2"},
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
        if (c.channelsInFile) {
            EXPECT_EQ(r.host.texts["ChannelsInSoundFile"], c.channelsInFile);
        } else {
            EXPECT_EQ(r.host.texts.count("ChannelsInSoundFile"), 0u);
        }
        EXPECT_EQ(r.host.texts["RecordedStartTime"], "0");
        EXPECT_EQ(r.host.texts["RecordedEndTime"], "2");
    }
}

TEST(SettingsIntake, StartOffsetCountsFromTheFirstDataByte) {
    struct Case {
        const char* name;
        WavFormat wavFormat;
        const char* start;
        const char* end;
        std::int64_t dataAt;
        std::int64_t counter;
        std::int64_t maxOffset;  // byte rate x end time
    };
    const Case cases[] = {
        {"stereo, 44-byte header, start 1", WavFormat().Channels(2), "1", "3", 44, 176400, 529200},
        {"stereo, LIST chunk of 26 bytes, start 1",
         WavFormat().Channels(2).ChunkBeforeData({"LIST", Bytes(26, 'x')}), "1", "3", 78, 176400,
         529200},
        {"stereo, 18-byte format chunk, start 1", WavFormat().Channels(2).ExtraFormat({0, 0}), "1",
         "3", 46, 176400, 529200},
        {"mono, start 2", WavFormat(), "2", "4", 44, 176400, 352800},
        {"mono, start 0", WavFormat(), "0", "2", 44, 0, 176400},
    };
    TempDir dir{"oxw-intake"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = WriteFile(dir, "offset.wav", Silence(c.wavFormat, 44100 * 4));
        Rig r("Advanced");
        r.ReadHeader(path);
        RevealSettings(r.Form());
        r.Form().SoundFileStartTime = c.start;
        r.Form().SoundFileEndTime = c.end;
        r.e.SoundFileCheckButton1Click();
        const RunState& s = r.e.S();
        EXPECT_EQ(s.StreamDataChunk, c.dataAt);
        EXPECT_EQ(s.Counter, c.counter);
        EXPECT_EQ(s.SoundFileStartPointer, c.dataAt + c.counter);
        EXPECT_EQ(s.SoundFileMaxPointer, c.dataAt + c.maxOffset);
        EXPECT_EQ(r.host.texts["PositionStart"], std::to_string(c.dataAt + c.counter));
        EXPECT_EQ(r.host.texts["SoundFileMaximumPosition"], std::to_string(c.dataAt + c.maxOffset));
    }
}

TEST(SettingsIntake, TextThatIsNoIntegerStopsTheRun) {
    TempDir dir{"oxw-intake"};
    const auto path = WriteFile(dir, "a.wav", Silence(WavFormat(), 44100 * 3));
    Rig r("Introductory");
    r.host.checkDialog = [](SoundFileCheckForm& f) { f.OutputCompression = "abc"; };
    try {
        r.Run(path);
        ADD_FAILURE() << "the run went on";
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(std::string(e.what()), "'abc' is not a valid integer value");
    }
    EXPECT_FALSE(r.e.Stream().is_open());
    EXPECT_EQ(r.host.Count("S", "ScanSoundFile"), 0);
}

}  // namespace
}  // namespace oxw::engine
