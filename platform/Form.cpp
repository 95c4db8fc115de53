#include "platform/Form.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace oxw::platform {

Form::Form(const QString& objectName, const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    // A normal window with the usual frame buttons; modal showing still works through exec().
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // The designs use Arial; fontconfig maps it to the metric-compatible Liberation Sans.
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(9);
    setFont(arial);
}

QLabel* MakeLabel(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    if (!objectName.isEmpty()) label->setObjectName(objectName);
    return label;
}

QLineEdit* MakeEdit(const QString& objectName, const QString& text, QWidget* parent, bool readOnly)
{
    auto* edit = new QLineEdit(text, parent);
    if (!objectName.isEmpty()) edit->setObjectName(objectName);
    edit->setReadOnly(readOnly);
    return edit;
}

QPushButton* MakeButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    if (!objectName.isEmpty()) button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

}  // namespace oxw::platform
