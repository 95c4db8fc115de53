#pragma once
// What the analysis engine needs of the windows around it. The main window implements it; tests
// implement it with a scripted host. The engine never reaches a window any other way.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/RunState.h"

namespace oxw::engine {

struct SoundFileCheckForm;

// Thrown when the user or a refusal ends the program from inside a run (the check dialog's
// "Terminate Analysis", a refused start/end time). The handler that started the run catches it,
// closes the run's files and ends the program.
class RunTerminated : public std::runtime_error {
public:
    RunTerminated() : std::runtime_error("analysis terminated") {}
};

class RunHost {
public:
    virtual ~RunHost() = default;

    // Settings texts of the main window's read-only edits (and a few other named texts),
    // addressed by the edits' object names ("MusicFFTSampleSize", "CurrentProcessingMode" ...).
    virtual std::string GetText(std::string_view name) const = 0;
    virtual void SetText(std::string_view name, std::string_view text) = 0;

    // The one logging operation: kind code and text.
    virtual void CreateAuditLog(std::string_view kind, std::string_view text) = 0;
    // Many lines of one kind at once, each ended by '\n' (a text holds none): the same as one
    // CreateAuditLog call per line, in order. A host may take them faster than line by line.
    virtual void CreateAuditLogLines(std::string_view kind, std::string_view lines) {
        while (!lines.empty()) {
            const std::size_t end = lines.find('\n');
            CreateAuditLog(kind, lines.substr(0, end));
            lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
        }
    }

    // The open-file chooser with a filter; nullopt when the user cancels.
    virtual std::optional<std::string> ChooseSoundFile(std::string_view filter) = 0;
    // The per-file check dialog, shown modally over the form's contents; the user's choices are
    // written back into the form. Throws RunTerminated when the user ends the analysis.
    virtual void ShowSoundFileCheck(SoundFileCheckForm& form) = 0;
    virtual void ShowMessage(std::string_view text) = 0;

    // Progress bar of the main window and explicit repaints during a run.
    virtual void SetProgressRange(int min, int max) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void Refresh() = 0;
    // The sort progress bar `SortingDataProgress`: its range, its position and whether it is
    // shown. A sort calls it as it moves on; the window repaints a few times a second at most.
    virtual void SortingDataProgress(int minimum, int maximum, int position, bool visible) = 0;

    // Steps of the report layer that the driver calls at fixed points of a run.
    virtual void DravolekFormatOutput() = 0;
    virtual void OutputTimeFiles() = 0;
    virtual void OutputSummary() = 0;
    virtual void DoCharts() = 0;
    // The run scan hands the number of lines and the note-frequency table to the contour view.
    virtual void ScanHandOff(int lines, const FreqTable& freqArray) = 0;
    // Before the tone pass: the FFT-size dialog switched to 32768 points and its settings applied.
    virtual void SelectFFTSize32768() = 0;
    // Each block recorded for the percentiles appends its time (s) and A-weighted level (dB) to
    // the sound-quality window's table.
    virtual void AddSoundQualityRow(double timeSeconds, double levelDbA) = 0;
    // End of every run: the menu item "Select Processing" disabled, "OXW Help" enabled.
    virtual void EndOfRunMenus() = 0;
};

}  // namespace oxw::engine
