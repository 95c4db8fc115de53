#include "support/ScriptedHost.h"

#include "engine/SoundFileIntake.h"

namespace oxw::test {

std::string ScriptedHost::GetText(std::string_view name) const {
    auto it = texts.find(name);
    return it == texts.end() ? std::string() : it->second;
}

void ScriptedHost::SetText(std::string_view name, std::string_view text) {
    texts[std::string(name)] = std::string(text);
}

void ScriptedHost::CreateAuditLog(std::string_view kind, std::string_view text) {
    log.push_back({std::string(kind), std::string(text)});
}

std::optional<std::string> ScriptedHost::ChooseSoundFile(std::string_view) {
    calls.emplace_back("ChooseSoundFile");
    return chosenFile;
}

void ScriptedHost::ShowSoundFileCheck(engine::SoundFileCheckForm& form) {
    calls.emplace_back("ShowSoundFileCheck");
    engine::RevealSettings(form);
    if (checkDialog) checkDialog(form);
}

void ScriptedHost::SelectFFTSize32768() {
    calls.emplace_back("SelectFFTSize32768");
    texts["QualityFFTSampleSize"] = "32768";
    texts["AnalysisChannel"] = "Both";
    texts["QualityBinCount"] = "121";
}

std::vector<std::string> ScriptedHost::Lines(const std::string& kind) const {
    std::vector<std::string> out;
    for (const auto& l : log)
        if (l.kind == kind) out.push_back(l.text);
    return out;
}

int ScriptedHost::Count(const std::string& kind, const std::string& text) const {
    int n = 0;
    for (const auto& l : log) n += (l.kind == kind && l.text == text) ? 1 : 0;
    return n;
}

}  // namespace oxw::test
