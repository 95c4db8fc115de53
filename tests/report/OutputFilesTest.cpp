// Output files of a run: the stamp, the names, the files created beside the sound file with their
// header lines, a second run in the same second, the exit and a folder that cannot be written.
#include "app/report/AuditLog.h"
#include "app/report/OutputFiles.h"
#include "app/report/SummaryReport.h"
#include "app/report/TimeSeriesRows.h"
#include "support/EngineRig.h"
#include "support/FailingStreams.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/TextLines.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace oxw::report {
namespace {

namespace fs = std::filesystem;

using test::TempDir;

std::set<std::string> List(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path())) names.insert(entry.path().filename());
    return names;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::tm Tm(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day;
    t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second, t.tm_isdst = -1;
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

constexpr const char* kStamp = "2024 03 5  at  14 07 09";
const std::string kEmptyArray =
    "Array Data Start of array data listing: Array Name, Line Number, Row Number, Value\r\n"
    "Array Data End of array data\r\n";

// The stamp (day and no other field without a leading zero), the names beside the sound file
// (its path less exactly four characters) and the array files by number (P1..P37, P53, P54).
TEST(OutputFileNames, StampNamesAndArrayFiles) {
    EXPECT_EQ(FormatStamp(Tm(2024, 3, 5, 14, 7, 9)), kStamp);
    EXPECT_EQ(FormatStamp(Tm(1999, 12, 31, 0, 0, 0)), "1999 12 31  at  00 00 00");
    const OutputFileNames n = BuildOutputFileNames("/tmp/x/b.wav", kStamp),
                          wave = BuildOutputFileNames("/tmp/x/b.wave", kStamp);
    const std::string base = "/tmp/x/b " + std::string(kStamp);
    EXPECT_EQ(n.FileDateTimeStamp, kStamp);
    EXPECT_EQ(n.filenamelength, 12);
    EXPECT_EQ(wave.filenamelength, 13);
    EXPECT_EQ(n.FileNameExtension, ".dvk");
    const std::pair<const std::string&, std::string> names[] = {
        {n.DravolekLevelFileName, base + " Acoustic L.dvk"}, {n.NordicLevelFileName, base + " Tone L.dvk"},
        {n.DravolekLoudFileName, base + " Acoustic N.dvk"},  {n.NordicPitchFileName, base + " Tone P.dvk"},
        {n.DravolekTraceFileName, base + " Acoustic T.dvk"}, {n.NordicSummaryFileName, base + " Tone S.dvk"},
        {n.LogFileName, base + " LOG.LOG"},                  {n.PDataFileName[1], base + " CompactF.ARY"},
        {n.PDataFileName[54], base + " ProgressivePitchSalience.ARY"},
        {n.PDataFileName[0], ""},                            {n.PDataFileName[38], ""},
        {wave.LogFileName, "/tmp/x/b. " + std::string(kStamp) + " LOG.LOG"},
    };
    for (const auto& [actual, expected] : names) EXPECT_EQ(actual, expected);
    const std::pair<int, const char*> spot[] = {
        {0, ""}, {1, "CompactF"}, {3, "CompactI_T"}, {11, "DLArray"}, {25, "ChromaSalience_T"},
        {37, "VW"}, {38, ""}, {52, ""}, {53, "ProgressiveChromaSalience"},
        {54, "ProgressivePitchSalience"}, {55, ""}, {-1, ""}};
    for (const auto& [i, name] : spot) EXPECT_STREQ(ArrayFileName(i), name) << "P" << i;
    std::set<std::string> named;  // all different
    for (int i = -1; i <= 55; ++i) if (*ArrayFileName(i)) named.insert(ArrayFileName(i));
    EXPECT_EQ(named.size(), 39u);
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out(1);
    for (char ch : s) ch == sep ? out.emplace_back() : out.back() += ch;
    return out;
}

TEST(OutputHeaderLines, LevelColumns) {
    EXPECT_EQ(LevelColumnLine(),
              "TIME,\tL(A),\tL(B),\tL(C),\tL(lin),\tLN,\tCentroid,\t?L,\tICCC,\tLag,\t31.5Hz,\t63Hz,\t"
              "125Hz,\t250Hz,\t500Hz,\t1kHz,\t2kHz,\t4kHz,\t8kHz,\t16kHz,\t125Hz,\t160Hz,\t200Hz,\t"
              "250Hz,\t315Hz,\t400Hz,\t500Hz,\t630Hz,\t800Hz,\t1000Hz,\t1250Hz,\t1600Hz,\t2000Hz,\t"
              "2500Hz,\t3150Hz,\t4000Hz,\t5000Hz,\t6300Hz,\t8000Hz,\t10000Hz,\t12500Hz,\t16000Hz");
}

TEST(OutputHeaderLines, LoudnessColumns) {
    std::string expected = "TIME,\tN,\tNmax,\tS(Z&F),\tS(A),\tTW,\tV";
    for (int erb = 2; erb <= 39; ++erb) expected += ",\t" + std::to_string(erb) + "Erb";
    EXPECT_EQ(LoudColumnLine(), expected);
}

TEST(OutputHeaderLines, PitchColumns) {
    const auto fields = Split(PitchColumnLine(), '\t');  // "M/m" is followed by a TAB alone
    ASSERT_EQ(fields.size(), 111u);
    const std::vector<std::string> head = {"TIME,", "SDiss(H&K),", "SDiss(S),", "TDiss(H&K),", "TDiss(S),",
                                           "PTonal,", "CTonal,", "Mult,", "Tonic,", "M/m", "R^2,"};
    EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.begin() + 11), head);
    const char* fifths[] = {"A", "E", "B", "F#", "C#", "G#", "D#", "A#", "F", "C", "G", "D"};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(fields[11 + i], std::string(fifths[i]) + ",") << i;
    // Piano keys from A0: semitone k above A0 is in octave (k + 9) div 12 (octaves change at C).
    const char* notes[] = {"A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    for (int k = 0; k < 88; ++k)
        EXPECT_EQ(fields[23 + k], notes[k % 12] + std::to_string((k + 9) / 12) + (k < 87 ? "," : "")) << k;
    EXPECT_EQ(fields[23 + 3] + fields[23 + 48] + fields[110], "C1,A4,C8");
}

std::set<std::string> RunFiles(const std::string& stamp) {
    std::set<std::string> names{"b " + stamp + " LOG.LOG"};
    for (const char* k : {"L", "N", "P", "T", "S"})
        for (const char* side : {" Acoustic ", " Tone "}) names.insert("b " + stamp + side + k + ".dvk");
    for (const char* a : {"CompactF", "CompactI", "Intensity", "ProgressivePitchSalience"})
        names.insert("b " + stamp + " " + a + ".ARY");
    return names;
}

// One folder with a sound file's name in it, the files of its runs and a host logging to them.
struct RunFolder {
    explicit RunFolder(std::tm at) : clock(at) { files.SetClock([this] { return clock; }); }
    ~RunFolder() { files.CloseAll(); }
    std::string Sound() const { return (dir / "b.wav").string(); }
    std::string File(const std::string& stamp, const std::string& rest) const {
        return ReadAll((dir / ("b " + stamp + " " + rest)).string());
    }
    TempDir dir{"oxw-outputfiles"};
    OutputFiles files;
    LoggingHost host{files};
    std::tm clock;
};

TEST(FormatOutput, CreatesTheRunsFilesWithTheirHeadersAndKeepsThemOpen) {
    RunFolder r(Tm(2024, 3, 5, 14, 7, 9));
    r.host.texts["CurrentProcessingMode"] = "Extended";
    r.files.DravolekFormatOutput(r.host, r.Sound());
    EXPECT_EQ(r.host.texts["CurrentProcessingMode"], "Standard");
    EXPECT_EQ(r.files.Names.FileDateTimeStamp, kStamp);
    EXPECT_FALSE(r.files.TimeSeriesCopied);
    // Exactly the LOG, five Acoustic, five Tone and four array files.
    EXPECT_EQ(List(r.dir), RunFiles(kStamp));
    EXPECT_FALSE(r.files.P[3].IsOpen());
    // Every header is on the disk while the files are still open, the LOG's first line too (the
    // start line of the step came before the LOG existed).
    EXPECT_EQ(r.File(kStamp, "CompactF.ARY"), kEmptyArray);
    EXPECT_EQ(test::MappedFileText(r.dir / ("b " + std::string(kStamp) + " LOG.LOG")), "    End FormatOutput\r\n");
    const std::pair<std::string, std::string> headers[] = {
        {"Acoustic L.dvk", "DRAVOLEK LEVEL ANALYSIS OUTPUT\r\n" + LevelColumnLine()},
        {"Tone L.dvk", "NORDIC LEVEL ANALYSIS OUTPUT\r\n" + LevelColumnLine()},
        {"Acoustic N.dvk", "DRAVOLEK LOUD ANALYSIS OUTPUT\r\n" + LoudColumnLine()},
        {"Tone N.dvk", "NORDIC LOUD ANALYSIS OUTPUT\r\n" + LoudColumnLine()},
        {"Acoustic P.dvk", "DRAVOLEK PITCH ANALYSIS OUTPUT\r\n" + PitchColumnLine()},
        {"Tone P.dvk", "NORDIC PITCH ANALYSIS OUTPUT\r\n" + PitchColumnLine()},
    };
    for (const auto& [file, text] : headers) EXPECT_EQ(r.File(kStamp, file), "\r\n" + text + "\r\n") << file;
    // The run's lines now reach the open files.
    r.host.CreateAuditLog("M2", "CompactI, 1, 1, 0.5");
    r.host.CreateAuditLog("T", "Loudness_T, 1");
    r.files.CloseAll();
    EXPECT_EQ(r.File(kStamp, "CompactI.ARY"), "Array Data CompactI, 1, 1, 0.5\r\n");
    EXPECT_EQ(r.File(kStamp, "Acoustic T.dvk"), "TRACE, Loudness_T, 1\r\n");
    EXPECT_EQ(r.File(kStamp, "LOG.LOG"), "    End FormatOutput\r\n");
    EXPECT_EQ(r.host.progress.lines, (std::vector<std::string>{"Start DravolekFormatOutput", "    Exit FormatOutput"}));
    for (const char* empty : {"Tone T.dvk", "Acoustic S.dvk", "Tone S.dvk", "Intensity.ARY", "ProgressivePitchSalience.ARY"})
        EXPECT_EQ(r.File(kStamp, empty), "") << empty;
}

TEST(FormatOutput, RunsInTheSameSecondTakeTheNextFreeStamp) {
    struct Case { std::tm clock; std::vector<std::string> stamps; } const cases[] = {  // 3 runs, 1 clock time
        {Tm(2024, 3, 5, 14, 7, 59), {"2024 03 5  at  14 07 59", "2024 03 5  at  14 08 00", "2024 03 5  at  14 08 01"}},
        {Tm(2023, 12, 31, 23, 59, 59), {"2023 12 31  at  23 59 59", "2024 01 1  at  00 00 00", "2024 01 1  at  00 00 01"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stamps.front());
        RunFolder r(c.clock);
        std::set<std::string> expected;
        for (const auto& stamp : c.stamps) {
            r.files.DravolekFormatOutput(r.host, r.Sound());
            EXPECT_EQ(r.files.Names.FileDateTimeStamp, stamp);
            const auto run = RunFiles(stamp);
            expected.insert(run.begin(), run.end());
        }
        r.files.CloseAll();
        EXPECT_EQ(List(r.dir), expected);  // the first run's files not overwritten:
        EXPECT_EQ(r.File(c.stamps.front(), "CompactF.ARY"), kEmptyArray);
        EXPECT_EQ(r.File(c.stamps.front(), "LOG.LOG").rfind("    End FormatOutput\r\n", 0), 0u);
    }
}

TEST(FormatOutput, ExitDeletesTheTimeSeriesFilesOnlyOnceCopied) {
    for (bool copied : {false, true}) {
        SCOPED_TRACE(copied ? "copied" : "not copied");
        RunFolder r(Tm(2024, 3, 5, 14, 7, 9));
        r.files.DravolekFormatOutput(r.host, r.Sound());
        r.files.DravolekLevelFile.WriteLine("row");
        r.files.TimeSeriesCopied = copied;
        r.files.CloseAtExit();
        std::set<std::string> expected = RunFiles(kStamp);
        for (const char* k : {"L", "N", "P"})
            if (copied) expected.erase("b " + std::string(kStamp) + " Acoustic " + k + ".dvk");
        EXPECT_EQ(List(r.dir), expected);
        EXPECT_FALSE(r.files.LogFile.IsOpen() || r.files.P[54].IsOpen());
        EXPECT_EQ(r.File(kStamp, "Acoustic L.dvk").ends_with("\r\nrow\r\n"), !copied);
    }
    OutputFiles unnamed;  // before any run: nothing to delete, nothing fails
    unnamed.TimeSeriesCopied = true;
    unnamed.CloseAtExit();
}

// The report side of a run of 10 lines, each with array lines (more than an array file's buffer
// holds in all), a trace row and its time-series rows, then the summary.
void ReportRun(RunFolder& r) {
    engine::RunState s;
    s.SoundFileBlockAlign = 2, s.SoundFileSampleRate = 44100, s.Lines = 10, s.Compression = 1;
    s.Oct_S.resize(10), s.ThirdOct_S.resize(22), s.SpecLoud_S.resize(157), s.PitchSalience_S.resize(88);
    r.host.texts["PositionCurrent"] = "88244";
    r.files.DravolekFormatOutput(r.host, r.Sound());
    for (int line = 1; line <= 10; ++line) {
        // Array lines are at least 50 bytes long.
        for (int k = 1; k <= static_cast<int>(kArrayBufferBytes / 10 / 50) + 1; ++k)
            r.host.CreateAuditLog("M2", "Below upper range CompactI, " + std::to_string(line) + ", " +
                                            std::to_string(k) + ", 0.123456789");
        r.host.CreateAuditLog("T", "History 02.01, " + std::to_string(line));
        OutputTimeFiles(s, r.host, r.files);
    }
    OutputSummary(s, r.host, r.files);
}

// Each file of the run in turn on a full disk: on /dev/full (every write fails) or after a
// number of bytes that the run goes beyond. The run stops at the first check after the failure
// with the file's name and the system's reason, once; the level, loudness and pitch files stay
// unless the summary was written whole.
TEST(FormatOutput, FileThatCannotBeWrittenEndsTheRunOnce) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::pair<const char*, std::size_t> targets[] = {
        {"none", 0}, {"LOG.LOG", 300}, {"CompactI.ARY", 2000}, {"Acoustic L.dvk", 2000},
        {"Acoustic T.dvk", 100}, {"Acoustic S.dvk", 2000}};
    for (const auto& [target, budget] : targets) {
        for (const bool full : {true, false}) {
            SCOPED_TRACE(::testing::Message() << target << (full ? " on /dev/full" : " after some bytes"));
            RunFolder r(Tm(2024, 3, 5, 14, 7, 9));
            const std::string name = "b " + std::string(kStamp) + " " + target;
            r.files.SetOpener([&, budget = budget](const std::string& path) -> std::FILE* {
                if (fs::path(path).filename() != name) return std::fopen(path.c_str(), "wb");
                return full ? std::fopen("/dev/full", "wb") : test::OpenFailingAfter(path, budget);
            });
            std::vector<std::string> failures;
            try {
                ReportRun(r);
            } catch (const WriteError& e) {
                failures.emplace_back(e.what());
            }
            r.files.CloseAll();
            EXPECT_EQ(r.files.TakeWriteFailure(), std::nullopt);
            const bool none = std::string(target) == "none";
            std::set<std::string> left = RunFiles(kStamp);
            if (none) {
                EXPECT_EQ(failures, std::vector<std::string>{});
                for (const char* k : {"L", "N", "P"}) left.erase("b " + std::string(kStamp) + " Acoustic " + k + ".dvk");
            } else {
                const std::string failure =
                    "Cannot write file \"" + (r.dir / name).string() + "\": No space left on device";
                EXPECT_EQ(failures, std::vector<std::string>{failure});
                if (full) left.erase(name);
            }
            EXPECT_EQ(List(r.dir), left);
        }
    }
}

TEST(FormatOutput, FolderThatCannotBeWrittenStopsTheRun) {
    RunFolder r(Tm(2024, 3, 5, 14, 7, 9));
    const std::string log = (r.dir / ("missing-folder/b " + std::string(kStamp) + " LOG.LOG")).string();
    try {
        r.files.DravolekFormatOutput(r.host, (r.dir / "missing-folder/b.wav").string());
        ADD_FAILURE() << "the files were created";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("\"" + log + "\""), std::string::npos) << e.what();
    }
    EXPECT_FALSE(r.files.LogFile.IsOpen());
    EXPECT_EQ(List(r.dir), std::set<std::string>{});
    // A read-only folder (the superuser writes anywhere, so only for other users).
    if (::geteuid() != 0) {
        fs::create_directory(r.dir / "locked");
        fs::permissions(r.dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(r.files.DravolekFormatOutput(r.host, (r.dir / "locked/b.wav").string()), std::runtime_error);
        fs::permissions(r.dir / "locked", fs::perms::owner_all);
    }
}

// An analysis whose audit lines and output-file step reach the run's files. The LOG is made
// again after that step in small steps, mapped or written plainly, so that a run of a few seconds
// crosses several; with `tell` open, the LOG's length goes down that pipe after every audit call.
struct FileRunHost : test::ScriptedHost {
    static constexpr std::size_t kStep = std::size_t{1} << 14;
    void CreateAuditLog(std::string_view kind, std::string_view text) override {
        audit.CreateAuditLog(kind, text, displayed);
        if (tell < 0 || !files.LogFile.IsMapped()) return;
        const std::uint64_t length = files.LogFile.Length();
        if (::write(tell, &length, sizeof length) != sizeof length) ::_exit(2);
    }
    void DravolekFormatOutput() override {
        files.DravolekFormatOutput(*this, engine->S().SoundFileName);
        files.LogFile.Create(files.Names.LogFileName, nullptr, kStep, logMode);
    }
    OutputFiles files;
    NullProgress progress;
    AuditLog audit{files, progress};
    int displayed = 0;
    const engine::Engine* engine = nullptr;
    TextFile::Mode logMode = TextFile::Mode::Mapped;
    int tell = -1;
};

// A run killed at any moment (SIGKILL) leaves in its LOG every line it wrote before: a child
// process runs the analysis and tells its parent the LOG's length after every audit call; the
// parent kills it part way, and finds the LOG holding at least what it was told, as the same run
// writes it plainly to the end, followed by nothing but zero bytes to the end of the last step.
TEST(FormatOutput, KilledRunLeavesEveryLogLineItWrote) {
    TempDir dir{"oxw-killed"};
    const auto wav = dir / "b.wav";
    std::vector<double> sine(3 * 44100);
    for (std::size_t i = 0; i < sine.size(); ++i)
        sine[i] = 0.1 * std::sin(2 * std::numbers::pi * 440 * static_cast<double>(i) / 44100);
    test::WriteWav(wav, test::WavFormat(), {sine});
    auto runOn = [&](TextFile::Mode mode, int tell) {
        test::EngineRig<FileRunHost> r;
        r.host.engine = &r.e;
        r.host.logMode = mode;
        r.host.tell = tell;
        r.Run(wav.string());
        r.host.files.CloseAll();
        return r.host.files.Names.LogFileName;
    };
    const std::string plainLog = runOn(TextFile::Mode::Buffered, -1);
    const std::string finished = ReadAll(plainLog);
    const std::uint64_t killAt = 3 * FileRunHost::kStep;
    ASSERT_GT(finished.size(), 3 * killAt);

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::fcntl(ends[1], F_SETPIPE_SZ, 4096);  // the child runs at most a page of lengths ahead
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ends[0]);
        try {
            runOn(TextFile::Mode::Mapped, ends[1]);
        } catch (...) {
        }
        ::_exit(1);
    }
    ::close(ends[1]);
    std::uint64_t told = 0, length = 0;
    while (told < killAt && ::read(ends[0], &length, sizeof length) == sizeof length) told = length;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    while (::read(ends[0], &length, sizeof length) == sizeof length) told = length;
    ::close(ends[0]);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the run was not killed part way";

    std::string killedLog;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        if (entry.path().string().ends_with(" LOG.LOG") && entry.path() != plainLog) killedLog = entry.path();
    const auto text = test::MappedFileText(killedLog);
    ASSERT_TRUE(text.has_value()) << "zero bytes only after the text";
    EXPECT_GE(text->size(), told);
    EXPECT_LT(text->size(), finished.size());
    EXPECT_EQ(*text, finished.substr(0, text->size()));
    EXPECT_EQ(fs::file_size(killedLog) % FileRunHost::kStep, 0u);
}

}  // namespace
}  // namespace oxw::report
