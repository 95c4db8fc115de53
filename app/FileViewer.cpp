#include "app/FileViewer.h"

#include <QListWidget>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>

#include "app/ViewFileOutput.h"
#include "app/report/TextFile.h"

namespace oxw::app {

void ShowFileInViewer(TViewFileOutput& viewer, report::TextFile& file, const std::string& path,
                      const QString& captionPrefix, const QString& shortSoundFileName) {
    if (path.empty() || !std::filesystem::exists(path)) return;
    file.Flush();
    std::ifstream in(path, std::ios::binary);
    viewer.ListFileContent->clear();
    // An open mapped file (the LOG) has zero bytes after its text, to the end of its last step.
    std::uint64_t left = file.IsOpen() ? file.Length() : std::numeric_limits<std::uint64_t>::max();
    std::string line;
    while (left > 0 && std::getline(in, line)) {
        if (line.size() >= left) {
            line.resize(left);
            left = 0;
        } else {
            left -= line.size() + 1;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        viewer.ListFileContent->addItem(QString::fromStdString(line));
    }
    viewer.FitWidestLine();
    viewer.setWindowTitle(captionPrefix + shortSoundFileName);
    viewer.repaint();
    viewer.show();
}

}  // namespace oxw::app
