#pragma once
// The one logging operation of a run: routes each line by its kind code to the progress list,
// the LOG file, the trace file or an array dump file.
#include <string>
#include <string_view>

#include "app/report/TextFile.h"

namespace oxw::report {

class OutputFiles;

// The progress list of the main window, as the log sees it.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void AddLine(std::string_view line) = 0;
    virtual void Clear() = 0;
    // Asks for the list to be brought up to date on screen (the sink may throttle).
    virtual void Repaint() = 0;
};

class AuditLog {
public:
    AuditLog(OutputFiles& files, ProgressSink& progress) : files_(files), progress_(progress) {}

    // displayedLogLines is the run's count of list lines (cleared by the run reset).
    void CreateAuditLog(std::string_view kind, std::string_view text, int& displayedLogLines);
    // The same as CreateAuditLog for each line of `lines` (each ended by '\n'), with
    // `afterEach` called after each line (the host's check of the run's files).
    template <typename AfterEach>
    void CreateAuditLogLines(std::string_view kind, std::string_view lines, int& displayedLogLines,
                             AfterEach afterEach) {
        const Route route = RouteOf(kind);
        if (TextFile* file = ArrayDataFile(route)) {
            // An array file's lines: counted, written and followed by the LOG's flush (which
            // finds nothing to hand over after the first) as Log does, without its routing.
            TextFile& log = LogFile();
            ForEachLine(lines, [&](std::string_view line) {
                CountListLines(displayedLogLines);
                file->WriteLine(kArrayDataPrefix, line);
                log.Flush();
                afterEach();
            });
            return;
        }
        ForEachLine(lines, [&](std::string_view line) {
            Log(route, line, displayedLogLines);
            afterEach();
        });
    }

private:
    // Where a kind's lines go: the letter of a one-letter kind, or the array file number.
    struct Route {
        char letter = 0;
        int array = -1;
    };
    static Route RouteOf(std::string_view kind);
    static constexpr int kMaxListLines = 2500;  // the list holds at most 1250 calls' worth of lines
    static constexpr std::string_view kArrayDataPrefix = "Array Data ";
    // Calls f for each line of `lines` (each ended by '\n'), without its end.
    template <typename F>
    static void ForEachLine(std::string_view lines, F f) {
        while (!lines.empty()) {
            const std::size_t end = lines.find('\n');
            f(lines.substr(0, end));
            lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
        }
    }
    // Every call counts two list lines; the list is emptied when it would hold too many.
    void CountListLines(int& displayedLogLines) {
        displayedLogLines += 2;
        if (displayedLogLines > kMaxListLines) {
            progress_.Clear();
            displayedLogLines = 2;
        }
    }
    // The file of an array kind whose lines go there alone with "Array Data " before them
    // (M0..M37); null for every other route.
    TextFile* ArrayDataFile(Route route);
    TextFile& LogFile();
    void Log(Route route, std::string_view text, int& displayedLogLines);
    // Adds prefix + text to the progress list and asks for a repaint.
    void ToList(std::string_view prefix, std::string_view text);
    OutputFiles& files_;
    ProgressSink& progress_;
    std::string listLine_;  // the list item being built, reused
};

}  // namespace oxw::report
