#pragma once
// A radio button with the behaviour the program's forms rely on: checking one unchecks the
// other RadioButtons of the same parent (its group), and code may also uncheck a button, so a
// group can be left with none checked. A click by the user only ever checks.

#include <QRadioButton>

namespace oxw::platform {

class RadioButton : public QRadioButton {
    Q_OBJECT
public:
    RadioButton(const QString& objectName, const QString& text, QWidget* parent = nullptr);

protected:
    void nextCheckState() override;

private:
    void UncheckSiblings();
};

}  // namespace oxw::platform
