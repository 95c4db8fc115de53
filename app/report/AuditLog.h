#pragma once
// The one logging operation of a run: routes each line by its kind code to the progress list,
// the LOG file, the trace file or an array dump file.
#include <string>
#include <string_view>

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
        while (!lines.empty()) {
            const std::size_t end = lines.find('\n');
            Log(route, lines.substr(0, end), displayedLogLines);
            afterEach();
            lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
        }
    }

private:
    // Where a kind's lines go: the letter of a one-letter kind, or the array file number.
    struct Route {
        char letter = 0;
        int array = -1;
    };
    static Route RouteOf(std::string_view kind);
    void Log(Route route, std::string_view text, int& displayedLogLines);
    // Adds prefix + text to the progress list and asks for a repaint.
    void ToList(std::string_view prefix, std::string_view text);
    OutputFiles& files_;
    ProgressSink& progress_;
    std::string listLine_;  // the list item being built, reused
};

}  // namespace oxw::report
