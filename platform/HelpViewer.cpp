#include "platform/HelpViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/Dialogs.h"

namespace oxw::platform {

QString DefaultHelpFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kHelpFolderName));
}

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("OXW Help"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(760, 600);
}

void HelpViewer::ShowPage(const QString& path, const QString& anchor)
{
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    browser_->setSource(url);
}

HelpViewer* OpenHelpContents(const QString& helpFolder, Dialogs& dialogs, QWidget* owner)
{
    const QString index = QDir(helpFolder).filePath(QString::fromLatin1(kHelpIndexPage));
    if (!QFileInfo(index).isFile()) {
        dialogs.ShowMessage(QStringLiteral("The help file %1 could not be found.")
                                .arg(QDir::toNativeSeparators(index)));
        return nullptr;
    }
    HelpViewer* viewer = owner ? owner->findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly)
                               : nullptr;
    if (!viewer) viewer = new HelpViewer(owner);
    viewer->ShowPage(index, QString::fromLatin1(kHelpContentsAnchor));
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

}  // namespace oxw::platform
