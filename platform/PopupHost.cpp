#include "platform/PopupHost.h"

#include <QAction>
#include <QMenu>

namespace oxw::platform {

namespace {

// Every item of `menu` with its caption path; submenus are listed by their own item, followed
// by theirs. A hidden menu's item is enabled only when its menu item is.
void Collect(const QMenu& menu, const QString& prefix, bool reachable, std::vector<PopupItem>& items,
             std::vector<QAction*>* actions)
{
    for (QAction* action : menu.actions()) {
        if (action->isSeparator() || !action->isVisible()) continue;
        const QString path = prefix + action->text().remove(QLatin1Char('&'));
        const bool enabled = action->isEnabled();
        items.push_back({path, enabled && reachable, !action->icon().isNull()});
        if (actions != nullptr) actions->push_back(action);
        if (const QMenu* sub = action->menu()) {
            Collect(*sub, path + QLatin1Char('/'), reachable && enabled, items, actions);
        }
    }
}

}  // namespace

void QtPopupHost::Popup(QMenu& menu, QPoint at) { menu.exec(at); }

PopupItem PopupRecord::Item(const QString& path) const
{
    for (const PopupItem& item : Items) {
        if (item.Path == path) return item;
    }
    return {QString(), false, false};
}

void ScriptedPopups::Popup(QMenu& menu, QPoint at)
{
    PopupRecord record{menu.objectName(), at, {}};
    std::vector<QAction*> actions;
    Collect(menu, QString(), true, record.Items, &actions);
    Opened.push_back(record);
    if (Choices.empty()) return;
    const QString choice = Choices.front();
    Choices.pop_front();
    for (std::size_t i = 0; i < actions.size(); ++i) {
        if (record.Items[i].Path == choice && record.Items[i].Enabled && actions[i]->menu() == nullptr) {
            actions[i]->trigger();
            return;
        }
    }
}

}  // namespace oxw::platform
