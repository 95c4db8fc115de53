// The result file viewer: the LOG or summary shown line by line under its caption, refilled on
// every view, emptied and hidden by "Click to Close", and the file kept open for writing.
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FileViewer.h"
#include "app/ViewFileOutput.h"
#include "app/report/TextFile.h"
#include "support/TempDir.h"

using namespace oxw;

namespace {

std::vector<std::string> Items(const app::TViewFileOutput& viewer) {
    std::vector<std::string> out;
    for (int i = 0; i < viewer.ListFileContent->count(); ++i)
        out.push_back(viewer.ListFileContent->item(i)->text().toStdString());
    return out;
}

class FileViewer : public ::testing::Test {
protected:
    void SetUp() override {
        log.Create(path);
        for (const char* line : {"Start DoCharts", "", "a\tTAB stays"}) log.WriteLine(line);
    }
    void View() {
        app::ShowFileInViewer(viewer, log, path, "OXW Analysis Contents of LOG file ", "street.wav");
    }
    test::TempDir dir{"oxw-viewer"};
    std::string path = (dir / "run LOG.LOG").string();
    report::TextFile log;
    app::TViewFileOutput viewer;
};

TEST_F(FileViewer, ShowsTheLinesAsTheyStandUnderItsCaption) {
    View();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.windowTitle().toStdString(), "OXW Analysis Contents of LOG file street.wav");
    EXPECT_EQ(Items(viewer), (std::vector<std::string>{"Start DoCharts", "", "a\tTAB stays"}));

    // Logging goes on after a view; the next view shows the new line once, nothing twice.
    log.WriteLine("    End DoCharts");
    View();
    EXPECT_EQ(Items(viewer), (std::vector<std::string>{"Start DoCharts", "", "a\tTAB stays",
                                                       "    End DoCharts"}));
}

TEST_F(FileViewer, ClickToCloseEmptiesTheListAndHides) {
    View();
    emit viewer.ClickToCloseViewFileOutput->clicked();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.ListFileContent->count(), 0);
    // A second view connects nothing twice: the button still works once per click.
    View();
    EXPECT_EQ(viewer.ListFileContent->count(), 3);
    emit viewer.ClickToCloseViewFileOutput->clicked();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.ListFileContent->count(), 0);
}

TEST_F(FileViewer, MissingFileShowsNothing) {
    app::ShowFileInViewer(viewer, log, (dir / "none.LOG").string(), "OXW Analysis Contents of LOG file ",
                          "street.wav");
    app::ShowFileInViewer(viewer, log, "", "OXW Analysis Contents of LOG file ", "street.wav");
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.ListFileContent->count(), 0);
    EXPECT_EQ(viewer.windowTitle().toStdString(), "ViewFile");
}

}  // namespace
