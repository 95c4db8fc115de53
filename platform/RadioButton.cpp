#include "platform/RadioButton.h"

namespace oxw::platform {

RadioButton::RadioButton(const QString& objectName, const QString& text, QWidget* parent)
    : QRadioButton(text, parent)
{
    setObjectName(objectName);
    setAutoExclusive(false);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (on) UncheckSiblings();
    });
}

void RadioButton::nextCheckState()
{
    if (!isChecked()) setChecked(true);
}

void RadioButton::UncheckSiblings()
{
    if (!parent()) return;
    for (RadioButton* other : parent()->findChildren<RadioButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (other != this) other->setChecked(false);
    }
}

}  // namespace oxw::platform
