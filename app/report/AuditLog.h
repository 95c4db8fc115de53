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

private:
    // Adds prefix + text to the progress list and asks for a repaint.
    void ToList(std::string_view prefix, std::string_view text);
    OutputFiles& files_;
    ProgressSink& progress_;
    std::string listLine_;  // the list item being built, reused
};

}  // namespace oxw::report
