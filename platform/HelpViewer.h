#pragma once
// The program's help window: our own HTML pages, shown at their table of contents.

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace oxw::platform {

class Dialogs;

// Name of the help folder installed beside the program.
inline constexpr const char* kHelpFolderName = "OXWHelp_ver_1_2";
// Page of the help folder that holds the table of contents, and its anchor.
inline constexpr const char* kHelpIndexPage = "index.html";
inline constexpr const char* kHelpContentsAnchor = "contents";

// The help folder beside the running program (the executable's folder, not the working one).
QString DefaultHelpFolder();

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // A top-level window titled "OXW Help"; with an owner it is deleted together with it.
    explicit HelpViewer(QWidget* owner = nullptr);

    QTextBrowser* Browser() const { return browser_; }
    // Shows the page, scrolled to the anchor when one is given.
    void ShowPage(const QString& path, const QString& anchor = QString());

private:
    QTextBrowser* browser_;
};

// Shows index.html of `helpFolder` at its table of contents in the help window of `owner`
// (creating that window on first use) and returns the window. When the page does not exist,
// tells the user through `dialogs` ("The help file <path> could not be found.") and returns
// nullptr. Without an owner the caller owns the returned window.
HelpViewer* OpenHelpContents(const QString& helpFolder, Dialogs& dialogs, QWidget* owner = nullptr);

}  // namespace oxw::platform
