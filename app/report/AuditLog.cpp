#include "app/report/AuditLog.h"

#include <charconv>

#include "app/report/OutputFiles.h"

namespace oxw::report {

namespace {

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

void AuditLog::ToList(std::string_view prefix, std::string_view text) {
    listLine_.assign(prefix);
    listLine_.append(text);
    progress_.AddLine(listLine_);
    progress_.Repaint();
}

AuditLog::Route AuditLog::RouteOf(std::string_view kind) {
    if (kind.size() == 1) return {kind[0], -1};
    return {0, ArrayKindNumber(kind)};
}

TextFile* AuditLog::ArrayDataFile(Route route) {
    const int n = route.array;
    return route.letter == 0 && n >= 0 && n <= 37 ? &files_.P[static_cast<std::size_t>(n)] : nullptr;
}

TextFile& AuditLog::LogFile() { return files_.LogFile; }

void AuditLog::CreateAuditLog(std::string_view kind, std::string_view text, int& displayedLogLines) {
    Log(RouteOf(kind), text, displayedLogLines);
}

void AuditLog::Log(Route route, std::string_view text, int& displayedLogLines) {
    CountListLines(displayedLogLines);
    // One decision on the kind; every line goes straight into its file's buffer.
    TextFile& log = files_.LogFile;
    constexpr std::string_view kProcessing = "              PROCESSING ";
    switch (route.letter) {
        case 'S':
            ToList("Start ", text);
            log.WriteLine("Start ", text);
            break;
        case 'E':
            ToList("    Exit ", text);
            log.WriteLine("    End ", text);
            break;
        case 'D':
            ToList(kProcessing, text);
            log.WriteLine(kProcessing, text);
            break;
        case 'M':
            log.WriteLine("              DATA, ", text);
            break;
        case 'T':
            files_.DravolekTraceFile.WriteLine("TRACE, ", text);
            break;
        default:
            if (const int n = route.array; n == 53 || n == 54) {
                files_.P[n].WriteLine(text);
                if (n == 54) files_.P[54].Flush();
            } else if (n >= 0) {
                files_.P[n].WriteLine(kArrayDataPrefix, text);
            }
            break;
    }
    log.Flush();
}

}  // namespace oxw::report
