#include "app/report/AuditLog.h"

#include <charconv>

#include "app/report/OutputFiles.h"

namespace oxw::report {

namespace {

constexpr int kMaxListLines = 2500;  // the list holds at most 1250 calls' worth of lines

// Number n of an array kind "Mn" (0..37, 53, 54); -1 when the kind is no array kind.
int ArrayKindNumber(std::string_view kind) {
    if (kind.size() < 2 || kind[0] != 'M') return -1;
    int n = -1;
    auto [p, ec] = std::from_chars(kind.data() + 1, kind.data() + kind.size(), n);
    if (ec != std::errc() || p != kind.data() + kind.size()) return -1;
    if (kind.size() > 2 && kind[1] == '0') return -1;  // "M01" is no kind
    if ((n >= 0 && n <= 37) || n == 53 || n == 54) return n;
    return -1;
}

}  // namespace

void AuditLog::ToList(const std::string& line) {
    progress_.AddLine(line);
    progress_.Repaint();
}

void AuditLog::CreateAuditLog(std::string_view kind, std::string_view text, int& displayedLogLines) {
    displayedLogLines += 2;
    if (displayedLogLines > kMaxListLines) {
        progress_.Clear();
        displayedLogLines = 2;
    }
    const std::string t(text);
    if (kind == "S") {
        ToList("Start " + t);
        files_.LogFile.WriteLine("Start " + t);
    } else if (kind == "E") {
        ToList("    Exit " + t);
        files_.LogFile.WriteLine("    End " + t);
    } else if (kind == "D") {
        const std::string line = "              PROCESSING " + t;
        ToList(line);
        files_.LogFile.WriteLine(line);
    } else if (kind == "M") {
        files_.LogFile.WriteLine("              DATA, " + t);
    } else if (kind == "T") {
        files_.DravolekTraceFile.WriteLine("TRACE, " + t);
    } else if (const int n = ArrayKindNumber(kind); n >= 0) {
        if (n == 53 || n == 54) {
            files_.P[n].WriteLine(t);
            if (n == 54) files_.P[54].Flush();
        } else {
            files_.P[n].WriteLine("Array Data " + t);
        }
    }
    files_.LogFile.Flush();
}

}  // namespace oxw::report
