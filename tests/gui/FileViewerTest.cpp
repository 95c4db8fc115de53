// The result file viewer: the LOG or summary shown line by line under its caption, refilled on
// every view, emptied and hidden by "Click to Close", and the file kept open for writing (the
// LOG mapped, as a run writes it: the zero bytes after its text are no line).
#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>
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
        log.Create(path, nullptr, report::TextFile::kDefaultBufferBytes, report::TextFile::Mode::Mapped);
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
    // "Click to Close" empties the list and hides, after every view.
    for (int view = 0; view < 2; ++view) {
        emit viewer.ClickToCloseViewFileOutput->clicked();
        EXPECT_FALSE(viewer.isVisible());
        EXPECT_EQ(viewer.ListFileContent->count(), 0);
        View();
    }
}

// Long lines are shown whole: the list scrolls sideways to the end of the widest line (a long
// line of text, or a shorter one whose TABs reach further), and nothing is cut with an ellipsis.
TEST_F(FileViewer, LongLinesShowWholeWithASidewaysScrollBar) {
    const std::string longLine = std::string(400, 'x') + "END";
    const std::string tabLine = "a" + std::string(60, '\t') + "b";  // 60 tab stops of 80 pixels
    log.WriteLine(longLine);
    log.WriteLine(tabLine);
    log.WriteLine("short");
    View();
    QListWidget* list = viewer.ListFileContent;
    EXPECT_EQ(list->textElideMode(), Qt::ElideNone);
    const int longWidth = QFontMetrics(list->font()).horizontalAdvance(QString::fromStdString(longLine));
    const int rowWidth = list->visualItemRect(list->item(3)).width();
    EXPECT_GE(rowWidth, std::max(longWidth, 60 * 80));
    EXPECT_EQ(list->visualItemRect(list->item(5)).width(), rowWidth);  // every row as wide
    EXPECT_GE(list->horizontalScrollBar()->maximum() + list->viewport()->width(), rowWidth);
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
