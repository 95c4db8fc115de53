#pragma once
// How the controls open their popup menus: modally at a screen point, returning after the chosen
// item's action has run (or the menu was dismissed). The program uses QtPopupHost; tests use
// ScriptedPopups, which records every menu opened and chooses items from a script.
#include <QPoint>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class QAction;
class QMenu;

namespace oxw::platform {

class PopupHost {
public:
    virtual ~PopupHost() = default;
    // Shows `menu` with its top-left corner at the screen point `at` and returns when it closes.
    virtual void Popup(QMenu& menu, QPoint at) = 0;
};

class QtPopupHost : public PopupHost {
public:
    void Popup(QMenu& menu, QPoint at) override;
};

// One item of an opened menu as the user would have seen it: its caption path ("Mark as type
// A/Range"), whether it could be chosen, and the icon it showed (true when it had one).
struct PopupItem {
    QString Path;
    bool Enabled;
    bool HasIcon;
};

// A menu as it was opened: its object name, where, and its items (submenus flattened).
struct PopupRecord {
    QString Menu;
    QPoint At;
    std::vector<PopupItem> Items;

    // The item of that caption path; a default (empty path) item when there is none.
    PopupItem Item(const QString& path) const;
};

class ScriptedPopups : public PopupHost {
public:
    // Caption paths to choose, one per menu opened, taken from the front; an empty entry (or an
    // empty queue) dismisses the menu. A path that names no enabled item chooses nothing.
    std::deque<QString> Choices;
    std::vector<PopupRecord> Opened;

    void Popup(QMenu& menu, QPoint at) override;
};

}  // namespace oxw::platform
