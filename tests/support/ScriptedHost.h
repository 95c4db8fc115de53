#pragma once
// A run host for engine tests: settings texts in a map, audit lines in memory, a scripted check
// dialog and file chooser, and the report steps recorded by name.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunHost.h"
#include "engine/SoundFileCheckForm.h"

namespace oxw::test {

struct LogLine {
    std::string kind;
    std::string text;
    bool operator==(const LogLine&) const = default;
};

class ScriptedHost : public engine::RunHost {
public:
    std::map<std::string, std::string, std::less<>> texts;
    std::vector<LogLine> log;
    std::vector<std::string> messages;
    std::vector<std::string> calls;  // report steps and dialog calls, in order
    std::optional<std::string> chosenFile;
    // Runs on the check dialog's form in place of the user; the default accepts the defaults.
    std::function<void(engine::SoundFileCheckForm&)> checkDialog;
    std::vector<std::pair<int, int>> progressRanges;
    int lastProgress = 0;
    int scanLines = -1;

    std::string GetText(std::string_view name) const override;
    void SetText(std::string_view name, std::string_view text) override;
    void CreateAuditLog(std::string_view kind, std::string_view text) override;
    std::optional<std::string> ChooseSoundFile(std::string_view filter) override;
    void ShowSoundFileCheck(engine::SoundFileCheckForm& form) override;
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void SetProgressRange(int min, int max) override { progressRanges.emplace_back(min, max); }
    void SetProgressPosition(int position) override { lastProgress = position; }
    void Refresh() override {}
    // Every call on the sort progress bar, with the number of audit lines written before it.
    struct SortBar {
        int minimum, maximum, position;
        bool visible;
        std::size_t logLines;
    };
    std::vector<SortBar> sortBar;
    void SortingDataProgress(int minimum, int maximum, int position, bool visible) override {
        sortBar.push_back({minimum, maximum, position, visible, log.size()});
    }
    void DravolekFormatOutput() override { calls.emplace_back("DravolekFormatOutput"); }
    void OutputTimeFiles() override { calls.emplace_back("OutputTimeFiles"); }
    void OutputSummary() override { calls.emplace_back("OutputSummary"); }
    void DoCharts() override { calls.emplace_back("DoCharts"); }
    void ScanHandOff(int lines, const engine::FreqTable&) override { scanLines = lines; }
    void SelectFFTSize32768() override;
    void AddSoundQualityRow(double timeSeconds, double levelDbA) override {
        soundQualityRows.emplace_back(timeSeconds, levelDbA);
    }
    std::vector<std::pair<double, double>> soundQualityRows;
    void EndOfRunMenus() override { calls.emplace_back("EndOfRunMenus"); }

    // Lines of one kind, in order.
    std::vector<std::string> Lines(const std::string& kind) const;
    // How many lines have this kind and text.
    int Count(const std::string& kind, const std::string& text) const;
};

}  // namespace oxw::test
