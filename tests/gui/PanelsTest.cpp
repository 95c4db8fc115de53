// Clickable panels and radio buttons as the forms use them.
#include <QApplication>
#include <QGroupBox>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include "platform/ClickablePanel.h"
#include "platform/RadioButton.h"

namespace {

using oxw::platform::ClickablePanel;
using oxw::platform::RadioButton;

void Mouse(QWidget& w, QEvent::Type type)
{
    const QPointF at(5, 5);
    QMouseEvent event(type, at, w.mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

TEST(ClickablePanel, ClickAndDoubleClick)
{
    ClickablePanel panel("Label43", "Click here for Acoustical Analysis");
    panel.resize(200, 60);
    QStringList seen;
    QObject::connect(&panel, &ClickablePanel::clicked, [&] { seen << "clicked"; });
    QObject::connect(&panel, &ClickablePanel::doubleClicked, [&] { seen << "doubleClicked"; });

    // A double click: press, release (a click), double-click press, release.
    Mouse(panel, QEvent::MouseButtonPress);
    Mouse(panel, QEvent::MouseButtonRelease);
    Mouse(panel, QEvent::MouseButtonDblClick);
    Mouse(panel, QEvent::MouseButtonRelease);
    EXPECT_EQ(seen, QStringList({"clicked", "doubleClicked"}));
}

TEST(RadioButton, CheckingUnchecksSiblingsAndCodeMayUncheck)
{
    QGroupBox group, other;
    auto* a = new RadioButton("A", "a", &group);
    auto* b = new RadioButton("B", "b", &group);
    auto* c = new RadioButton("C", "c", &other);
    a->setChecked(true);
    c->setChecked(true);
    b->setChecked(true);
    EXPECT_TRUE(!a->isChecked() && b->isChecked() && c->isChecked());  // another group is not touched
    b->setChecked(false);          // a group may be left with none checked
    EXPECT_FALSE(b->isChecked());

    // A click on a checked button keeps it checked.
    a->click();
    a->click();
    EXPECT_TRUE(a->isChecked());
}

}  // namespace
