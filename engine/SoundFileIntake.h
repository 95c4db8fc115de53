#pragma once
// The check dialog's own rules that do not need a window: its acceptance test and the refusal
// of a run whose header cannot be read.
#include <optional>
#include <stdexcept>
#include <string>

#include "engine/SoundFileCheckForm.h"

namespace oxw::engine {

// A sound file the engine cannot read safely: the run ends with this message and the user stays
// on the analysis page.
class RunRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kTerminateMessage = " A decision has been made to terminate the analysis";

// "Left click to continue": the file must be 44100 Hz, 16 bits, one or two channels and at least
// 2 seconds long, read from the dialog's texts. Returns the refusal message with the file's facts,
// or nothing for a good file.
std::optional<std::string> AcceptanceRefusal(const SoundFileCheckForm& form);

// "Continue Analysis": reveals the settings (the channel group only for a two-channel file).
void RevealSettings(SoundFileCheckForm& form);

}  // namespace oxw::engine
