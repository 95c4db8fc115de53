#pragma once
// The result file viewer: shows the run's LOG or summary file line by line. Not modal; the
// filling and the close button's action belong to the main window's viewer code.

#include <QListWidget>
#include <QPushButton>

#include "platform/Form.h"

namespace oxw::app {

class WidestLineDelegate;

class TViewFileOutput : public platform::Form {
    Q_OBJECT
public:
    explicit TViewFileOutput(QWidget* parent = nullptr);

    QListWidget* ListFileContent;           // one item per line of the file
    QPushButton* ClickToCloseViewFileOutput;  // "Click to Close"

    // "Click to Close": empties the list and hides the viewer.
    void ClickToCloseViewFileOutputClick();
    // Lines are shown whole, never cut short with an ellipsis: the list scrolls sideways as far
    // as its widest line reaches. Called after lines have been added.
    void FitWidestLine();

private:
    WidestLineDelegate* lineDelegate_;
};

}  // namespace oxw::app
