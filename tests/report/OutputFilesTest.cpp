// Output files of a run: the stamp, the names, the files created beside the sound file with their
// header lines, a second run in the same second, the exit and a folder that cannot be written.
#include "app/report/AuditLog.h"
#include "app/report/OutputFiles.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace oxw::report {
namespace {

namespace fs = std::filesystem;

using test::TempDir;

// The names of the files in a folder.
std::set<std::string> List(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        names.insert(entry.path().filename());
    return names;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::tm Tm(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return t;
}

class NullProgress : public ProgressSink {
public:
    std::vector<std::string> lines;
    void AddLine(std::string_view line) override { lines.emplace_back(line); }
    void Clear() override { lines.clear(); }
    void Repaint() override {}
};

// The main window as the output-file step sees it: settings texts, and the audit log routed to
// the run's own files.
class LoggingHost : public test::ScriptedHost {
public:
    explicit LoggingHost(OutputFiles& files) : audit(files, progress) {}
    void CreateAuditLog(std::string_view kind, std::string_view text) override {
        ScriptedHost::CreateAuditLog(kind, text);
        audit.CreateAuditLog(kind, text, displayed);
    }
    NullProgress progress;
    AuditLog audit;
    int displayed = 0;
};

// ---- Names ------------------------------------------------------------------------------------

TEST(OutputFileNames, StampIsYearMonthDayAtHourMinuteSecond) {
    struct Case {
        std::tm t;
        const char* stamp;
    };
    const Case cases[] = {
        {Tm(2024, 3, 5, 14, 7, 9), "2024 03 5  at  14 07 09"},
        {Tm(1999, 12, 31, 0, 0, 0), "1999 12 31  at  00 00 00"},
        {Tm(2024, 1, 15, 23, 59, 59), "2024 01 15  at  23 59 59"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatStamp(c.t), c.stamp);
}

TEST(OutputFileNames, BuiltFromThePathWithoutItsLastFourCharacters) {
    const std::string stamp = "2024 03 5  at  14 07 09";
    const OutputFileNames n = BuildOutputFileNames("/tmp/x/b.wav", stamp);
    const std::string base = "/tmp/x/b 2024 03 5  at  14 07 09";
    EXPECT_EQ(n.FileDateTimeStamp, stamp);
    EXPECT_EQ(n.filenamelength, 12);
    EXPECT_EQ(n.NoExtFileName, "/tmp/x/b");
    EXPECT_EQ(n.FileNameExtension, ".dvk");
    struct Name {
        const std::string& actual;
        std::string expected;
    };
    const Name names[] = {
        {n.DravolekLevelFileName, base + " Acoustic L.dvk"},
        {n.NordicLevelFileName, base + " Tone L.dvk"},
        {n.DravolekLoudFileName, base + " Acoustic N.dvk"},
        {n.NordicLoudFileName, base + " Tone N.dvk"},
        {n.DravolekPitchFileName, base + " Acoustic P.dvk"},
        {n.NordicPitchFileName, base + " Tone P.dvk"},
        {n.DravolekTraceFileName, base + " Acoustic T.dvk"},
        {n.NordicTraceFileName, base + " Tone T.dvk"},
        {n.DravolekSummaryFileName, base + " Acoustic S.dvk"},
        {n.NordicSummaryFileName, base + " Tone S.dvk"},
        {n.LogFileName, base + " LOG.LOG"},
        {n.PDataFileName[1], base + " CompactF.ARY"},
        {n.PDataFileName[2], base + " CompactI.ARY"},
        {n.PDataFileName[4], base + " Intensity.ARY"},
        {n.PDataFileName[11], base + " DLArray.ARY"},
        {n.PDataFileName[37], base + " VW.ARY"},
        {n.PDataFileName[53], base + " ProgressiveChromaSalience.ARY"},
        {n.PDataFileName[54], base + " ProgressivePitchSalience.ARY"},
        {n.PDataFileName[0], ""},
        {n.PDataFileName[38], ""},
        {n.PDataFileName[52], ""},
    };
    for (const auto& x : names) EXPECT_EQ(x.actual, x.expected);

    // An extension of another length still loses exactly four characters.
    const OutputFileNames wave = BuildOutputFileNames("/tmp/x/b.wave", stamp);
    EXPECT_EQ(wave.NoExtFileName, "/tmp/x/b.");
    EXPECT_EQ(wave.LogFileName, "/tmp/x/b. 2024 03 5  at  14 07 09 LOG.LOG");
    EXPECT_EQ(wave.filenamelength, 13);
}

TEST(OutputFileNames, ArrayFileNamesByNumber) {
    const char* expected[] = {
        "",                "CompactF",        "CompactI",        "CompactI_T",     "Intensity",
        "Oct_T",           "Oct_S",           "ThirdOct_T",      "ThirdOct_S",     "Narray",
        "Larray",          "DLArray",         "CompInt",         "CompL",          "RoexL",
        "Esig",            "SpecLoud",        "SpecLoud_T",      "SpecLoud_S",     "PitchSalience",
        "PitchSalience_T", "PitchSalience_S", "CompoundPitch",   "CompoundWeight", "ChromaSalience",
        "ChromaSalience_T", "ChromaSalience_S", "Salience",      "FX",             "V",
        "WS",              "Vpitch",          "CompoundSV",      "ToneF",          "ToneRef",
        "LX",              "ToneL",           "VW"};
    for (int n = 0; n <= 37; ++n) EXPECT_STREQ(ArrayFileName(n), expected[n]) << "P" << n;
    for (int n = 38; n <= 52; ++n) EXPECT_STREQ(ArrayFileName(n), "") << "P" << n;
    EXPECT_STREQ(ArrayFileName(53), "ProgressiveChromaSalience");
    EXPECT_STREQ(ArrayFileName(54), "ProgressivePitchSalience");
    EXPECT_STREQ(ArrayFileName(55), "");
    EXPECT_STREQ(ArrayFileName(-1), "");
}

// ---- Header lines -------------------------------------------------------------------------------

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out(1);
    for (char ch : s) {
        if (ch == sep)
            out.emplace_back();
        else
            out.back() += ch;
    }
    return out;
}

int CountCommaTab(const std::string& s) {
    int n = 0;
    for (std::size_t p = s.find(",\t"); p != std::string::npos; p = s.find(",\t", p + 2)) ++n;
    return n;
}

TEST(OutputHeaderLines, LevelColumns) {
    const std::string line = LevelColumnLine();
    EXPECT_EQ(line,
              "TIME,\tL(A),\tL(B),\tL(C),\tL(lin),\tLN,\tCentroid,\t?L,\tICCC,\tLag,\t31.5Hz,\t63Hz,\t"
              "125Hz,\t250Hz,\t500Hz,\t1kHz,\t2kHz,\t4kHz,\t8kHz,\t16kHz,\t125Hz,\t160Hz,\t200Hz,\t"
              "250Hz,\t315Hz,\t400Hz,\t500Hz,\t630Hz,\t800Hz,\t1000Hz,\t1250Hz,\t1600Hz,\t2000Hz,\t"
              "2500Hz,\t3150Hz,\t4000Hz,\t5000Hz,\t6300Hz,\t8000Hz,\t10000Hz,\t12500Hz,\t16000Hz");
    // 9 single values, 10 octaves and 22 third octaves after TIME.
    EXPECT_EQ(CountCommaTab(line), 41);
    EXPECT_EQ(Split(line, '\t').size(), 42u);
}

TEST(OutputHeaderLines, LoudnessColumns) {
    const std::string line = LoudColumnLine();
    std::string expected = "TIME,\tN,\tNmax,\tS(Z&F),\tS(A),\tTW,\tV";
    for (int erb = 2; erb <= 39; ++erb) expected += ",\t" + std::to_string(erb) + "Erb";
    EXPECT_EQ(line, expected);
    // 6 single values and 38 ERB columns after TIME; nothing after "39Erb".
    EXPECT_EQ(CountCommaTab(line), 44);
    EXPECT_EQ(line.substr(line.size() - 5), "39Erb");
}

TEST(OutputHeaderLines, PitchColumns) {
    const std::string line = PitchColumnLine();
    const auto fields = Split(line, '\t');
    // 10 single values, 12 chroma and 88 keys after TIME; "M/m" is followed by a TAB alone.
    ASSERT_EQ(fields.size(), 111u);
    EXPECT_EQ(CountCommaTab(line), 109);
    const std::vector<std::string> head = {"TIME,",     "SDiss(H&K),", "SDiss(S),", "TDiss(H&K),",
                                           "TDiss(S),", "PTonal,",     "CTonal,",   "Mult,",
                                           "Tonic,",    "M/m",         "R^2,"};
    EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.begin() + 11), head);
    const char* fifths[] = {"A", "E", "B", "F#", "C#", "G#", "D#", "A#", "F", "C", "G", "D"};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(fields[11 + i], std::string(fifths[i]) + ",") << i;
    // Piano keys from A0: semitone k above A0 is in octave (k + 9) div 12 (octaves change at C).
    const char* notes[] = {"A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    for (int k = 0; k < 88; ++k) {
        std::string name = notes[k % 12] + std::to_string((k + 9) / 12);
        if (k < 87) name += ",";
        EXPECT_EQ(fields[23 + k], name) << "key " << k;
    }
    EXPECT_EQ(fields[23], "A0,");
    EXPECT_EQ(fields[23 + 3], "C1,");
    EXPECT_EQ(fields[23 + 48], "A4,");
    EXPECT_EQ(fields[110], "C8");
}

// ---- Creating the files ----------------------------------------------------------------------------

class FormatOutputTest : public ::testing::Test {
protected:
    FormatOutputTest() : host(files) {
        host.texts["CurrentProcessingMode"] = "Extended";
        files.SetClock([this] { return clock; });
    }
    ~FormatOutputTest() override { files.CloseAll(); }

    std::string Sound() const { return (dir / "b.wav").string(); }
    std::string File(const std::string& stamp, const std::string& rest) const {
        return (dir / ("b " + stamp + " " + rest)).string();
    }
    static std::set<std::string> RunFiles(const std::string& stamp) {
        std::set<std::string> names;
        for (const char* k : {"L", "N", "P", "T", "S"}) {
            names.insert("b " + stamp + " Acoustic " + k + ".dvk");
            names.insert("b " + stamp + " Tone " + k + ".dvk");
        }
        for (const char* a : {"CompactF", "CompactI", "Intensity", "ProgressivePitchSalience"})
            names.insert("b " + stamp + " " + a + ".ARY");
        names.insert("b " + stamp + " LOG.LOG");
        return names;
    }

    TempDir dir{"oxw-outputfiles"};
    OutputFiles files;
    LoggingHost host;
    std::tm clock = Tm(2024, 3, 5, 14, 7, 9);
};

constexpr const char* kStamp = "2024 03 5  at  14 07 09";

TEST_F(FormatOutputTest, CreatesTheRunsFilesWithTheirHeaders) {
    files.DravolekFormatOutput(host, Sound());
    EXPECT_EQ(host.texts["CurrentProcessingMode"], "Standard");
    EXPECT_EQ(files.Names.FileDateTimeStamp, kStamp);
    EXPECT_TRUE(files.Named());
    EXPECT_FALSE(files.TimeSeriesCopied);
    // Exactly the LOG, five Acoustic, five Tone and four array files.
    EXPECT_EQ(List(dir), RunFiles(kStamp));
    EXPECT_EQ(RunFiles(kStamp).size(), 15u);

    files.CloseAll();
    EXPECT_EQ(ReadAll(File(kStamp, "CompactF.ARY")),
              "Array Data Start of array data listing: Array Name, Line Number, Row Number, Value\r\n"
              "Array Data End of array data\r\n");
    // The start line of the step came before the LOG existed.
    EXPECT_EQ(ReadAll(File(kStamp, "LOG.LOG")), "    End FormatOutput\r\n");
    const std::vector<std::string> list = {"Start DravolekFormatOutput", "    Exit FormatOutput"};
    EXPECT_EQ(host.progress.lines, list);

    struct Header {
        const char* file;
        const char* title;
        std::string columns;
    };
    const Header headers[] = {
        {"Acoustic L.dvk", "DRAVOLEK LEVEL ANALYSIS OUTPUT", LevelColumnLine()},
        {"Tone L.dvk", "NORDIC LEVEL ANALYSIS OUTPUT", LevelColumnLine()},
        {"Acoustic N.dvk", "DRAVOLEK LOUD ANALYSIS OUTPUT", LoudColumnLine()},
        {"Tone N.dvk", "NORDIC LOUD ANALYSIS OUTPUT", LoudColumnLine()},
        {"Acoustic P.dvk", "DRAVOLEK PITCH ANALYSIS OUTPUT", PitchColumnLine()},
        {"Tone P.dvk", "NORDIC PITCH ANALYSIS OUTPUT", PitchColumnLine()},
    };
    for (const auto& h : headers)
        EXPECT_EQ(ReadAll(File(kStamp, h.file)), "\r\n" + std::string(h.title) + "\r\n" + h.columns + "\r\n")
            << h.file;
    for (const char* empty : {"Acoustic T.dvk", "Tone T.dvk", "Acoustic S.dvk", "Tone S.dvk",
                              "CompactI.ARY", "Intensity.ARY", "ProgressivePitchSalience.ARY"})
        EXPECT_EQ(ReadAll(File(kStamp, empty)), "") << empty;
}

TEST_F(FormatOutputTest, FilesStayOpenForTheRun) {
    files.DravolekFormatOutput(host, Sound());
    for (const TextFile* f : {&files.LogFile, &files.DravolekLevelFile, &files.NordicLevelFile,
                              &files.DravolekLoudFile, &files.NordicLoudFile,
                              &files.DravolekPitchFile, &files.NordicPitchFile,
                              &files.DravolekTraceFile, &files.NordicTraceFile,
                              &files.DravolekSummaryFile, &files.NordicSummaryFile, &files.P[1],
                              &files.P[2], &files.P[4], &files.P[54]})
        EXPECT_TRUE(f->IsOpen()) << f->Path();
    EXPECT_FALSE(files.P[3].IsOpen());
    EXPECT_FALSE(files.P[53].IsOpen());
    // The run's lines now reach the files.
    host.CreateAuditLog("M2", "CompactI, 1, 1, 0.5");
    host.CreateAuditLog("T", "Loudness_T, 1");
    files.CloseAll();
    EXPECT_EQ(ReadAll(File(kStamp, "CompactI.ARY")), "Array Data CompactI, 1, 1, 0.5\r\n");
    EXPECT_EQ(ReadAll(File(kStamp, "Acoustic T.dvk")), "TRACE, Loudness_T, 1\r\n");
}

TEST_F(FormatOutputTest, RunsInTheSameSecondTakeTheNextFreeStamp) {
    struct Case {
        std::tm clock;
        std::vector<std::string> stamps;  // of three runs in a row at the same clock time
    };
    const Case cases[] = {
        {Tm(2024, 3, 5, 14, 7, 9),
         {"2024 03 5  at  14 07 09", "2024 03 5  at  14 07 10", "2024 03 5  at  14 07 11"}},
        {Tm(2024, 3, 5, 14, 7, 59),
         {"2024 03 5  at  14 07 59", "2024 03 5  at  14 08 00", "2024 03 5  at  14 08 01"}},
        {Tm(2023, 12, 31, 23, 59, 59),
         {"2023 12 31  at  23 59 59", "2024 01 1  at  00 00 00", "2024 01 1  at  00 00 01"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stamps.front());
        TempDir folder{"oxw-outputfiles"};
        OutputFiles out;
        out.SetClock([&] { return c.clock; });
        LoggingHost h(out);
        const std::string sound = (folder / "b.wav").string();
        std::set<std::string> expected;
        for (const auto& stamp : c.stamps) {
            out.DravolekFormatOutput(h, sound);
            EXPECT_EQ(out.Names.FileDateTimeStamp, stamp);
            const auto run = RunFiles(stamp);
            expected.insert(run.begin(), run.end());
        }
        out.CloseAll();
        EXPECT_EQ(List(folder), expected);
        // The first run's files were not overwritten.
        const std::string first = (folder / ("b " + c.stamps.front() + " ")).string();
        EXPECT_EQ(ReadAll(first + "CompactF.ARY"),
                  "Array Data Start of array data listing: Array Name, Line Number, Row Number, "
                  "Value\r\nArray Data End of array data\r\n");
        EXPECT_EQ(ReadAll(first + "Acoustic L.dvk"),
                  "\r\nDRAVOLEK LEVEL ANALYSIS OUTPUT\r\n" + LevelColumnLine() + "\r\n");
        EXPECT_EQ(ReadAll(first + "LOG.LOG").rfind("    End FormatOutput\r\n", 0), 0u);
    }
}

TEST_F(FormatOutputTest, ExitDeletesTheTimeSeriesFilesOnlyOnceCopied) {
    for (bool copied : {false, true}) {
        SCOPED_TRACE(copied ? "copied" : "not copied");
        TempDir folder{"oxw-outputfiles"};
        OutputFiles out;
        out.SetClock([this] { return clock; });
        LoggingHost h(out);
        out.DravolekFormatOutput(h, (folder / "b.wav").string());
        out.DravolekLevelFile.WriteLine("row");
        out.TimeSeriesCopied = copied;
        out.CloseAtExit();
        std::set<std::string> expected = RunFiles(kStamp);
        if (copied) {
            for (const char* k : {"L", "N", "P"})
                expected.erase("b " + std::string(kStamp) + " Acoustic " + k + ".dvk");
        }
        EXPECT_EQ(List(folder), expected);
        EXPECT_FALSE(out.LogFile.IsOpen());
        EXPECT_FALSE(out.P[54].IsOpen());
        if (!copied) {
            EXPECT_EQ(ReadAll((folder / ("b " + std::string(kStamp) + " Acoustic L.dvk")).string()),
                      "\r\nDRAVOLEK LEVEL ANALYSIS OUTPUT\r\n" + LevelColumnLine() + "\r\nrow\r\n");
        }
    }
}

TEST(OutputFilesExit, BeforeAnyRunNothingToClose) {
    OutputFiles out;
    out.TimeSeriesCopied = true;
    EXPECT_FALSE(out.Named());
    out.CloseAtExit();  // no names: nothing is deleted, nothing fails
    EXPECT_FALSE(out.LogFile.IsOpen());
}

TEST_F(FormatOutputTest, FolderThatCannotBeWrittenStopsTheRun) {
    const std::string sound = (dir / "missing-folder/b.wav").string();
    const std::string log = (dir / ("missing-folder/b " + std::string(kStamp) + " LOG.LOG")).string();
    try {
        files.DravolekFormatOutput(host, sound);
        ADD_FAILURE() << "the files were created";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("\"" + log + "\""), std::string::npos) << e.what();
    }
    EXPECT_FALSE(files.LogFile.IsOpen());
    EXPECT_EQ(List(dir), std::set<std::string>{});

    // A read-only folder (the superuser writes anywhere, so only for other users).
    if (::geteuid() != 0) {
        fs::create_directory(dir / "locked");
        fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(files.DravolekFormatOutput(host, (dir / "locked/b.wav").string()),
                     std::runtime_error);
        fs::permissions(dir / "locked", fs::perms::owner_all);
    }
}

}  // namespace
}  // namespace oxw::report
