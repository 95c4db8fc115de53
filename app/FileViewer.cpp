#include "app/FileViewer.h"

#include <QListWidget>
#include <filesystem>
#include <fstream>

#include "app/ViewFileOutput.h"
#include "app/report/TextFile.h"

namespace oxw::app {

void ShowFileInViewer(TViewFileOutput& viewer, report::TextFile& file, const std::string& path,
                      const QString& captionPrefix, const QString& shortSoundFileName) {
    if (path.empty() || !std::filesystem::exists(path)) return;
    file.Flush();
    std::ifstream in(path, std::ios::binary);
    viewer.ListFileContent->clear();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        viewer.ListFileContent->addItem(QString::fromStdString(line));
    }
    viewer.FitWidestLine();
    viewer.setWindowTitle(captionPrefix + shortSoundFileName);
    viewer.repaint();
    viewer.show();
}

}  // namespace oxw::app
