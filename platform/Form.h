#pragma once
// Base of the program's windows ("forms"). Every form is created once at start-up, hidden, and
// lives until the program ends; it is shown and hidden on demand, modally or not. A form
// carries its instance name as its object name, so code and tests find it and its controls by
// name.

#include <QDialog>
#include <QString>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace oxw::platform {

class Form : public QDialog {
    Q_OBJECT
public:
    Form(const QString& objectName, const QString& caption, QWidget* parent = nullptr);
};

// Small builders for the forms' controls: each sets the object name (empty for none).
QLabel* MakeLabel(const QString& objectName, const QString& text, QWidget* parent);
QLineEdit* MakeEdit(const QString& objectName, const QString& text, QWidget* parent,
                    bool readOnly = false);
QPushButton* MakeButton(const QString& objectName, const QString& text, QWidget* parent);

}  // namespace oxw::platform
