// The help hook: our help pages shown at their table of contents, a missing file reported.
#include "platform/HelpViewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/Dialogs.h"

namespace {

using oxw::platform::HelpViewer;
using oxw::platform::OpenHelpContents;
using oxw::platform::ScriptedDialogs;

TEST(HelpViewer, ShowsTheIndexAtItsContentsOrReportsItMissing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ScriptedDialogs dialogs;
    QWidget owner;
    EXPECT_EQ(OpenHelpContents(folder.path(), dialogs, &owner), nullptr);
    const QString index = QDir(folder.path()).filePath("index.html");
    EXPECT_EQ(dialogs.Messages,
              QStringList({"The help file " + QDir::toNativeSeparators(index) + " could not be found."}));

    QFile page(index);
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h2 id=\"contents\">Contents</h2></body></html>");
    page.close();
    HelpViewer* viewer = OpenHelpContents(folder.path(), dialogs, &owner);
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(viewer->isVisible());
    const QUrl source = viewer->Browser()->source();
    EXPECT_EQ(QFileInfo(source.toLocalFile()).fileName(), "index.html");
    EXPECT_EQ(source.fragment(), "contents");
    // A second call reuses the window.
    EXPECT_EQ(OpenHelpContents(folder.path(), dialogs, &owner), viewer);
    EXPECT_EQ(owner.findChildren<HelpViewer*>().size(), 1);
}

// Every link of our help pages reaches an existing page; the contents reach every page.
TEST(HelpViewer, OwnHelpPagesLinkOnlyToExistingPages)
{
    const QDir help(QStringLiteral(OXW_HELP_SOURCE_DIR));  // the pages of the source tree
    const QStringList pages = help.entryList({"*.html"}, QDir::Files);
    ASSERT_TRUE(pages.contains("index.html")) << help.absolutePath().toStdString();
    const QRegularExpression link(R"(href="([^"#]+)(#[^"]*)?")");
    QStringList linkedFromIndex;
    for (const QString& name : pages) {
        QFile file(help.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (auto it = link.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(help.exists(target)) << name.toStdString() << " -> " << target.toStdString();
            if (name == "index.html") linkedFromIndex << target;
        }
    }
    for (const QString& name : pages)
        EXPECT_TRUE(name == "index.html" || linkedFromIndex.contains(name)) << name.toStdString();
}

}  // namespace
