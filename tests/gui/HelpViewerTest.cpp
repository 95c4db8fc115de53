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

// The help pages of the source tree.
QDir SourceHelpFolder() { return QDir(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../../help"); }

TEST(HelpViewer, MissingHelpFileIsReported)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    ScriptedDialogs dialogs;
    QWidget owner;
    EXPECT_EQ(OpenHelpContents(empty.path(), dialogs, &owner), nullptr);
    const QString index = QDir::toNativeSeparators(QDir(empty.path()).filePath("index.html"));
    EXPECT_EQ(dialogs.Messages, QStringList({"The help file " + index + " could not be found."}));
    EXPECT_EQ(owner.findChild<HelpViewer*>(), nullptr);
}

TEST(HelpViewer, ShowsTheIndexAtItsContents)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile page(QDir(folder.path()).filePath("index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1>Help</h1><h2 id=\"contents\">Contents</h2><p>steps</p></body></html>");
    page.close();

    ScriptedDialogs dialogs;
    QWidget owner;
    HelpViewer* viewer = OpenHelpContents(folder.path(), dialogs, &owner);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(viewer->windowTitle(), "OXW Help");
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->parent(), &owner);
    const QUrl source = viewer->Browser()->source();
    EXPECT_EQ(QFileInfo(source.toLocalFile()).fileName(), "index.html");
    EXPECT_EQ(source.fragment(), "contents");
    EXPECT_TRUE(viewer->Browser()->toPlainText().contains("Contents"));

    // A second call reuses the window.
    EXPECT_EQ(OpenHelpContents(folder.path(), dialogs, &owner), viewer);
    EXPECT_EQ(owner.findChildren<HelpViewer*>().size(), 1);
}

TEST(HelpViewer, OwnHelpPagesLinkOnlyToExistingPages)
{
    const QDir help = SourceHelpFolder();
    ASSERT_TRUE(help.exists("index.html")) << help.absolutePath().toStdString();
    const QStringList pages = help.entryList({"*.html"}, QDir::Files);
    EXPECT_GE(pages.size(), 6);
    const QRegularExpression link(R"(href="([^"#]+)(#[^"]*)?")");
    for (const QString& name : pages) {
        QFile file(help.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = link.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(help.exists(target)) << name.toStdString() << " -> " << target.toStdString();
        }
    }
    // The table of contents reaches every page.
    QFile index(help.filePath("index.html"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString toc = QString::fromUtf8(index.readAll());
    EXPECT_TRUE(toc.contains("id=\"contents\""));
    for (const QString& name : pages) {
        if (name != "index.html") {
            EXPECT_TRUE(toc.contains("href=\"" + name + "\"")) << name.toStdString();
        }
    }
}

TEST(HelpViewer, OutputFilePageNamesTheFiles)
{
    QFile page(SourceHelpFolder().filePath("outputfiles.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    for (const char* part : {" Acoustic S.dvk", " Acoustic L.dvk", " Acoustic N.dvk", " Acoustic P.dvk",
                             " Acoustic T.dvk", " LOG.LOG", ".ARY", " Tone L.dvk",
                             "yyyy mm d&nbsp;&nbsp;at&nbsp;&nbsp;hh mm ss"}) {
        EXPECT_TRUE(text.contains(part)) << part;
    }
}

}  // namespace
