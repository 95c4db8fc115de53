#pragma once
// The check dialog's behaviour over its window: the header facts shown from the engine's form,
// "Continue Analysis" (reveals the settings), "Terminate Analysis", and "Left click to continue"
// (the acceptance test), and the user's choices stored back into the form.
namespace oxw::engine { struct SoundFileCheckForm; }
namespace oxw::platform { class Dialogs; }

namespace oxw::app {

class TSoundFileCheck;

void LoadCheckForm(TSoundFileCheck& dialog, const engine::SoundFileCheckForm& form);
void StoreCheckForm(const TSoundFileCheck& dialog, engine::SoundFileCheckForm& form);

enum class CheckOutcome { Accepted, Terminated, Closed };

// Shows the dialog modally. Terminated: the user or a refused file ended the analysis (the
// messages have been shown). Closed: the window was closed without an answer.
CheckOutcome RunSoundFileCheck(TSoundFileCheck& dialog, engine::SoundFileCheckForm& form,
                       platform::Dialogs& dialogs);

}  // namespace oxw::app
