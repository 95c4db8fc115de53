// The audit log's routing of each kind to the progress list, the LOG, the trace and array files,
// the list's clearing every 1250 calls, the flushes and CR LF ends, on real files.
#include "app/report/AuditLog.h"
#include "app/report/OutputFiles.h"
#include "support/TempDir.h"
#include "support/TextLines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace oxw::report {
namespace {

using test::TempDir;
using Lines = std::vector<std::string>;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The main window's progress list as the log sees it.
class FakeProgress : public ProgressSink {
public:
    Lines lines;
    int clears = 0, repaints = 0;
    void AddLine(std::string_view line) override { lines.emplace_back(line); }
    void Clear() override { lines.clear(), ++clears; }
    void Repaint() override { ++repaints; }
};

// The files a run has open (LOG, the Acoustic trace file and some array files) and the log.
struct OpenFiles {
    explicit OpenFiles(bool open = true) {
        if (!open) return;
        // Mapped as a run has it, in steps of a page.
        files.LogFile.Create(In("LOG"), nullptr, 1, TextFile::Mode::Mapped);
        files.DravolekTraceFile.Create(In("T"));
        for (int n : {1, 2, 37, 53, 54}) files.P[n].Create(In("P" + std::to_string(n)));
    }
    std::string In(const std::string& name) const { return (dir / name).string(); }
    std::string Read(const std::string& name) const { return ReadAll(In(name)); }
    void Call(const char* kind, const std::string& text) { log.CreateAuditLog(kind, text, displayed); }

    TempDir dir{"oxw-auditlog"};
    OutputFiles files;
    FakeProgress progress;
    AuditLog log{files, progress};
    int displayed = 0;
};

TEST(AuditLog, RoutesEachKindToItsPlaces) {
    struct Case {
        const char* kind;
        Lines list;
        const char* file;  // the one file written, nullptr for none
        const char* line;
    };
    const Case cases[] = {
        {"S", {"Start x"}, "LOG", "Start x\r\n"},
        {"E", {"    Exit x"}, "LOG", "    End x\r\n"},
        {"D", {"              PROCESSING x"}, "LOG", "              PROCESSING x\r\n"},
        {"M", {}, "LOG", "              DATA, x\r\n"},
        {"T", {}, "T", "TRACE, x\r\n"},
        {"M1", {}, "P1", "Array Data x\r\n"},
        {"M2", {}, "P2", "Array Data x\r\n"},
        {"M37", {}, "P37", "Array Data x\r\n"},
        {"M53", {}, "P53", "x\r\n"},
        {"M54", {}, "P54", "x\r\n"},
        // No such kind: nothing is written.
        {"M0", {}, nullptr, ""}, {"M01", {}, nullptr, ""}, {"M38", {}, nullptr, ""}, {"M52", {}, nullptr, ""},
        {"M55", {}, nullptr, ""}, {"M-1", {}, nullptr, ""}, {"M2x", {}, nullptr, ""}, {"X", {}, nullptr, ""},
        {"s", {}, nullptr, ""}, {"", {}, nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "kind \"" << c.kind << "\"");
        OpenFiles f;
        f.displayed = 10;
        f.Call(c.kind, "x");
        EXPECT_EQ(f.displayed, 12);  // every call counts two list lines
        EXPECT_EQ(f.progress.lines, c.list);
        EXPECT_EQ(f.progress.repaints, static_cast<int>(c.list.size()));
        f.files.CloseAll();
        for (const char* name : {"LOG", "T", "P1", "P2", "P37", "P53", "P54"})
            EXPECT_EQ(f.Read(name), c.file && std::string(c.file) == name ? c.line : "") << name;
    }
}

TEST(AuditLog, LinesKeepTheirOrderAndLogAndProgressivePitchAreOnDiskAfterEachCall) {
    OpenFiles f;
    f.Call("S", "MakeSpectrum");
    EXPECT_EQ(test::MappedFileText(f.In("LOG")), "Start MakeSpectrum\r\n");  // the file is still open
    f.Call("D", "Calculate SpecLoud using Esig");
    f.Call("T", "Loudness_T, 1, 2.5");
    f.Call("M54", "A4, 0.5");
    EXPECT_EQ(f.Read("P54"), "A4, 0.5\r\n");
    f.Call("E", "MakeSpectrum");
    f.Call("M2", "CompactI, 1, 3, 0.5");
    f.Call("M2", "CompactI, 1, 4, 0.25");
    f.files.CloseAll();
    EXPECT_EQ(f.Read("LOG"),
              "Start MakeSpectrum\r\n              PROCESSING Calculate SpecLoud using Esig\r\n    End MakeSpectrum\r\n");
    EXPECT_EQ(f.Read("P2"), "Array Data CompactI, 1, 3, 0.5\r\nArray Data CompactI, 1, 4, 0.25\r\n");
    EXPECT_EQ(f.progress.lines, (Lines{"Start MakeSpectrum", "              PROCESSING Calculate SpecLoud using Esig",
                                       "    Exit MakeSpectrum"}));
    EXPECT_EQ(f.displayed, 14);
}

TEST(AuditLog, ListIsClearedOnThe1251stCall) {
    const std::pair<const char*, Lines> cases[] = {{"S", {"Start last"}}, {"M", {}}};  // list after call 1251
    for (const auto& [lastKind, list] : cases) {
        SCOPED_TRACE(lastKind);
        OpenFiles f(false);  // nothing open: the lines reach only the list
        for (int i = 1; i <= 1250; ++i) f.Call("S", std::to_string(i));
        EXPECT_EQ(f.progress.lines.size(), 1250u);
        EXPECT_EQ(f.progress.clears, 0);
        EXPECT_EQ(f.displayed, 2500);
        f.Call(lastKind, "last");
        EXPECT_EQ(f.progress.clears, 1);
        EXPECT_EQ(f.progress.lines, list);
        EXPECT_EQ(f.displayed, 2);
        // And every 1250 calls after that.
        for (int i = 1; i <= 1249; ++i) f.Call("M", "quiet");
        EXPECT_EQ(f.progress.clears, 1);
        f.Call("E", "again");
        EXPECT_EQ(f.progress.clears, 2);
        EXPECT_EQ(f.progress.lines, Lines{"    Exit again"});
    }
}

// Many lines of one kind at once do what one call per line does: the same files, list, clears
// and count (across the list's clearing), with the host's check after every line.
TEST(AuditLog, LinesAtOnceAreOneCallPerLine) {
    for (const char* kind : {"S", "E", "D", "M", "T", "M1", "M2", "M37", "M53", "M54", "M0", "X", ""}) {
        SCOPED_TRACE(kind);
        std::string lines;
        Lines each;
        for (int i = 1; i <= 1300; ++i) each.push_back(i == 7 ? "" : "line " + std::to_string(i));
        for (const std::string& line : each) lines += line + "\n";
        lines.pop_back();  // the last line may go without its end
        OpenFiles one, many;
        one.displayed = many.displayed = 2400;
        // Text the LOG holds back from an earlier writer goes out with the first line.
        for (OpenFiles* f : {&one, &many}) f->files.LogFile.Write("held back\r\n");
        for (const std::string& line : each) one.Call(kind, line);
        int checks = 0;
        bool flushedAtFirstCheck = false;
        many.log.CreateAuditLogLines(kind, lines, many.displayed, [&] {
            if (checks++ == 0) flushedAtFirstCheck = many.Read("LOG").starts_with("held back\r\n");
        });
        EXPECT_EQ(checks, 1300);
        EXPECT_TRUE(flushedAtFirstCheck);
        EXPECT_EQ(many.displayed, one.displayed);
        EXPECT_EQ(many.progress.lines, one.progress.lines);
        EXPECT_EQ(many.progress.clears, one.progress.clears);
        EXPECT_EQ(many.progress.repaints, one.progress.repaints);
        one.files.CloseAll();
        many.files.CloseAll();
        for (const char* file : {"LOG", "T", "P1", "P2", "P37", "P53", "P54"})
            EXPECT_EQ(many.Read(file), one.Read(file)) << file;
    }
}

TEST(AuditLog, LinesBeforeTheFilesExistReachOnlyTheList) {
    OpenFiles f(false);
    f.Call("S", "MainLineProcess1");
    for (const char* kind : {"M", "T", "M2", "M54"}) f.Call(kind, "dropped");
    f.files.LogFile.Create(f.In("LOG"));
    f.Call("E", "FormatOutput");
    f.files.CloseAll();
    EXPECT_EQ(f.Read("LOG"), "    End FormatOutput\r\n");
    EXPECT_EQ(f.progress.lines, (Lines{"Start MainLineProcess1", "    Exit FormatOutput"}));
    // After the LOG is closed (by the viewer) later lines are dropped without an error.
    f.Call("D", "after the viewer");
    EXPECT_EQ(f.Read("LOG"), "    End FormatOutput\r\n");
}

}  // namespace
}  // namespace oxw::report
