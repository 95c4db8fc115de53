#pragma once
// A run host for the benchmarks: settings texts in a map, audit lines dropped (only their
// length is counted), every window step a no-op. The time measured is the engine's own.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "engine/RunHost.h"

namespace oxw::bench {

class QuietHost : public engine::RunHost {
public:
    std::map<std::string, std::string, std::less<>> texts;
    std::string GetText(std::string_view name) const override {
        auto it = texts.find(name);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetText(std::string_view name, std::string_view text) override {
        auto it = texts.find(name);
        if (it != texts.end())
            it->second.assign(text);
        else
            texts.emplace(std::string(name), std::string(text));
    }
    void CreateAuditLog(std::string_view, std::string_view text) override { logged += text.size(); }
    std::optional<std::string> ChooseSoundFile(std::string_view) override { return std::nullopt; }
    void ShowSoundFileCheck(engine::SoundFileCheckForm&) override {}
    void ShowMessage(std::string_view) override {}
    void SetProgressRange(int, int) override {}
    void SetProgressPosition(int) override {}
    void Refresh() override {}
    // The sort progress bar: its last state and the number of calls.
    void SortingDataProgress(int, int, int position, bool visible) override {
        sortBarPosition = position;
        sortBarVisible = visible;
        ++sortBarCalls;
    }
    int sortBarPosition = 0;
    bool sortBarVisible = false;
    std::size_t sortBarCalls = 0;
    void DravolekFormatOutput() override {}
    void OutputTimeFiles() override {}
    void OutputSummary() override {}
    void DoCharts() override {}
    void ScanHandOff(int, const engine::FreqTable&) override {}
    void SelectFFTSize32768() override {}
    void AddSoundQualityRow(double, double) override {}
    void EndOfRunMenus() override {}
    std::size_t logged = 0;
};

}  // namespace oxw::bench
