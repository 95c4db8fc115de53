#pragma once
// An engine on a scripted host as the main window leaves it before a run: the processing mode and
// block size texts set, the option chosen and the run reset done.
#include <stdexcept>
#include <string>

#include "engine/Engine.h"
#include "support/ScriptedHost.h"

namespace oxw::test {

template <class Host = ScriptedHost>
struct EngineRig {
    explicit EngineRig(const std::string& option = "Introductory") {
        host.texts["CurrentProcessingMode"] = "Standard";
        host.texts["MusicFFTSampleSize"] = "4096";
        e.S().ProcessingOptionSelected = option;
        e.MainLineProcess1();
    }
    // The file chosen in the file dialog, then the run.
    void Run(const std::string& path) {
        host.chosenFile = path;
        if (!e.MainLineProcess2SingleFile()) throw std::logic_error("no file chosen");
        e.Open1Click();
    }
    // Header intake alone, on a stream opened as the run opens it.
    void ReadHeader(const std::string& path) {
        e.S().SoundFileName = path;
        e.Stream().open(path, std::ios::binary);
        if (!e.Stream().is_open()) throw std::runtime_error("cannot open " + path);
        e.ReadSoundFileHeader();
    }
    engine::SoundFileCheckForm& Form() { return e.SoundFileCheck(); }

    Host host;
    engine::Engine e{host};
};

}  // namespace oxw::test
