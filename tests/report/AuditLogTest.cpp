// The audit log's routing of each kind code to the progress list, the LOG, the trace and the
// array files, the list's clearing every 1250 calls, the flushes and the CR LF line ends; checked
// on real files in a temporary folder.
#include "app/report/AuditLog.h"
#include "app/report/OutputFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace oxw::report {
namespace {

using test::TempDir;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The main window's progress list as the log sees it.
class FakeProgress : public ProgressSink {
public:
    std::vector<std::string> lines;
    int clears = 0;
    int repaints = 0;
    void AddLine(std::string_view line) override { lines.emplace_back(line); }
    void Clear() override {
        lines.clear();
        ++clears;
    }
    void Repaint() override { ++repaints; }
};

// The files a run has open: LOG, the Acoustic trace file and some array files.
struct OpenFiles {
    explicit OpenFiles(const TempDir& dir) : dir(dir) {
        files.LogFile.Create(In("run LOG.LOG"));
        files.DravolekTraceFile.Create(In("run Acoustic T.dvk"));
        for (int n : {1, 2, 37, 53, 54}) files.P[n].Create(In("P" + std::to_string(n) + ".ARY"));
    }
    std::string In(const std::string& name) const { return (dir / name).string(); }
    std::string Log() const { return ReadAll(In("run LOG.LOG")); }
    std::string Trace() const { return ReadAll(In("run Acoustic T.dvk")); }
    std::string P(int n) const { return ReadAll(In("P" + std::to_string(n) + ".ARY")); }

    const TempDir& dir;
    OutputFiles files;
};

TEST(AuditLog, RoutesEachKindToItsPlaces) {
    struct Case {
        const char* kind;
        std::vector<std::string> list;
        const char* log;
        const char* trace;
        const char* p1;
        const char* p2;
        const char* p37;
        const char* p53;
        const char* p54;
    };
    const char* none = "";
    const Case cases[] = {
        {"S", {"Start x"}, "Start x\r\n", none, none, none, none, none, none},
        {"E", {"    Exit x"}, "    End x\r\n", none, none, none, none, none, none},
        {"D",
         {"              PROCESSING x"},
         "              PROCESSING x\r\n",
         none, none, none, none, none, none},
        {"M", {}, "              DATA, x\r\n", none, none, none, none, none, none},
        {"T", {}, none, "TRACE, x\r\n", none, none, none, none, none},
        {"M1", {}, none, none, "Array Data x\r\n", none, none, none, none},
        {"M2", {}, none, none, none, "Array Data x\r\n", none, none, none},
        {"M37", {}, none, none, none, none, "Array Data x\r\n", none, none},
        {"M53", {}, none, none, none, none, none, "x\r\n", none},
        {"M54", {}, none, none, none, none, none, none, "x\r\n"},
        // No such kind: nothing is written.
        {"M0", {}, none, none, none, none, none, none, none},
        {"M01", {}, none, none, none, none, none, none, none},
        {"M38", {}, none, none, none, none, none, none, none},
        {"M52", {}, none, none, none, none, none, none, none},
        {"M55", {}, none, none, none, none, none, none, none},
        {"M-1", {}, none, none, none, none, none, none, none},
        {"M2x", {}, none, none, none, none, none, none, none},
        {"X", {}, none, none, none, none, none, none, none},
        {"s", {}, none, none, none, none, none, none, none},
        {"", {}, none, none, none, none, none, none, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "kind \"" << c.kind << "\"");
        TempDir dir{"oxw-auditlog"};
        OpenFiles f(dir);
        FakeProgress progress;
        AuditLog log(f.files, progress);
        int displayed = 10;
        log.CreateAuditLog(c.kind, "x", displayed);
        EXPECT_EQ(displayed, 12);  // every call counts two list lines
        EXPECT_EQ(progress.lines, c.list);
        EXPECT_EQ(progress.repaints, static_cast<int>(c.list.size()));
        EXPECT_EQ(progress.clears, 0);
        f.files.CloseAll();
        EXPECT_EQ(f.Log(), c.log);
        EXPECT_EQ(f.Trace(), c.trace);
        EXPECT_EQ(f.P(1), c.p1);
        EXPECT_EQ(f.P(2), c.p2);
        EXPECT_EQ(f.P(37), c.p37);
        EXPECT_EQ(f.P(53), c.p53);
        EXPECT_EQ(f.P(54), c.p54);
    }
}

TEST(AuditLog, LinesKeepTheirOrderAndEndInCrLf) {
    TempDir dir{"oxw-auditlog"};
    OpenFiles f(dir);
    FakeProgress progress;
    AuditLog log(f.files, progress);
    int displayed = 0;
    log.CreateAuditLog("S", "MakeSpectrum", displayed);
    log.CreateAuditLog("D", "Calculate SpecLoud using Esig", displayed);
    log.CreateAuditLog("T", "Loudness_T, 1, 2.5", displayed);
    log.CreateAuditLog("E", "MakeSpectrum", displayed);
    log.CreateAuditLog("M2", "CompactI, 1, 3, 0.5", displayed);
    log.CreateAuditLog("M2", "CompactI, 1, 4, 0.25", displayed);
    f.files.CloseAll();
    EXPECT_EQ(f.Log(),
              "Start MakeSpectrum\r\n"
              "              PROCESSING Calculate SpecLoud using Esig\r\n"
              "    End MakeSpectrum\r\n");
    EXPECT_EQ(f.Trace(), "TRACE, Loudness_T, 1, 2.5\r\n");
    EXPECT_EQ(f.P(2), "Array Data CompactI, 1, 3, 0.5\r\nArray Data CompactI, 1, 4, 0.25\r\n");
    const std::vector<std::string> list = {"Start MakeSpectrum",
                                           "              PROCESSING Calculate SpecLoud using Esig",
                                           "    Exit MakeSpectrum"};
    EXPECT_EQ(progress.lines, list);
    EXPECT_EQ(displayed, 12);
}

TEST(AuditLog, LogAndProgressivePitchFileAreOnDiskAfterEachCall) {
    TempDir dir{"oxw-auditlog"};
    OpenFiles f(dir);
    FakeProgress progress;
    AuditLog log(f.files, progress);
    int displayed = 0;
    log.CreateAuditLog("S", "CalculateLoudness", displayed);
    EXPECT_EQ(f.Log(), "Start CalculateLoudness\r\n");  // the file is still open
    log.CreateAuditLog("M", "N, 3.25", displayed);
    EXPECT_EQ(f.Log(), "Start CalculateLoudness\r\n              DATA, N, 3.25\r\n");
    log.CreateAuditLog("M54", "A4, 0.5", displayed);
    EXPECT_EQ(f.P(54), "A4, 0.5\r\n");
}

TEST(AuditLog, ListIsClearedOnThe1251stCall) {
    struct Case {
        const char* lastKind;
        std::vector<std::string> list;  // after call 1251
    };
    const Case cases[] = {
        {"S", {"Start last"}},
        {"E", {"    Exit last"}},
        {"D", {"              PROCESSING last"}},
        {"M", {}},
        {"T", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lastKind);
        OutputFiles files;  // nothing open: the lines reach only the list
        FakeProgress progress;
        AuditLog log(files, progress);
        int displayed = 0;  // as the run reset leaves it
        for (int i = 1; i <= 1250; ++i) log.CreateAuditLog("S", std::to_string(i), displayed);
        EXPECT_EQ(progress.lines.size(), 1250u);
        EXPECT_EQ(progress.lines.back(), "Start 1250");
        EXPECT_EQ(progress.clears, 0);
        EXPECT_EQ(displayed, 2500);

        log.CreateAuditLog(c.lastKind, "last", displayed);
        EXPECT_EQ(progress.clears, 1);
        EXPECT_EQ(progress.lines, c.list);
        EXPECT_EQ(displayed, 2);

        // And every 1250 calls after that.
        for (int i = 1; i <= 1249; ++i) log.CreateAuditLog("M", "quiet", displayed);
        EXPECT_EQ(progress.clears, 1);
        EXPECT_EQ(displayed, 2500);
        log.CreateAuditLog("E", "again", displayed);
        EXPECT_EQ(progress.clears, 2);
        EXPECT_EQ(progress.lines, std::vector<std::string>{"    Exit again"});
    }
}

TEST(AuditLog, LinesBeforeTheFilesExistReachOnlyTheList) {
    TempDir dir{"oxw-auditlog"};
    OutputFiles files;
    FakeProgress progress;
    AuditLog log(files, progress);
    int displayed = 0;
    log.CreateAuditLog("S", "MainLineProcess1", displayed);
    log.CreateAuditLog("M", "dropped", displayed);
    log.CreateAuditLog("T", "dropped", displayed);
    log.CreateAuditLog("M2", "dropped", displayed);
    log.CreateAuditLog("M54", "dropped", displayed);
    files.LogFile.Create((dir / "run LOG.LOG").string());
    log.CreateAuditLog("E", "FormatOutput", displayed);
    files.CloseAll();
    EXPECT_EQ(ReadAll((dir / "run LOG.LOG").string()), "    End FormatOutput\r\n");
    const std::vector<std::string> list = {"Start MainLineProcess1", "    Exit FormatOutput"};
    EXPECT_EQ(progress.lines, list);
    EXPECT_EQ(displayed, 12);

    // After the LOG is closed (by the viewer) later lines are dropped without an error.
    log.CreateAuditLog("D", "after the viewer", displayed);
    EXPECT_EQ(ReadAll((dir / "run LOG.LOG").string()), "    End FormatOutput\r\n");
}

}  // namespace
}  // namespace oxw::report
