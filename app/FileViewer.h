#pragma once
// The result file viewer: a run's LOG or summary shown line by line. The file is read through a
// handle of its own after its pending output is flushed, so the run keeps writing to it.
#include <QString>
#include <string>

namespace oxw::report { class TextFile; }

namespace oxw::app {

class TViewFileOutput;

// Fills the viewer afresh with the file's lines and shows it; nothing when the file does not
// exist. captionPrefix is "OXW Analysis Contents of LOG file " or "... SUMMARY file ".
void ShowFileInViewer(TViewFileOutput& viewer, report::TextFile& file, const std::string& path,
                      const QString& captionPrefix, const QString& shortSoundFileName);

}  // namespace oxw::app
