#pragma once
// The result file viewer: shows the run's LOG or summary file line by line. Not modal; the
// filling and the close button's action belong to the main window's viewer code.

#include <QListWidget>
#include <QPushButton>

#include "platform/Form.h"

namespace oxw::app {

class TViewFileOutput : public platform::Form {
    Q_OBJECT
public:
    explicit TViewFileOutput(QWidget* parent = nullptr);

    QListWidget* ListFileContent;           // one item per line of the file
    QPushButton* ClickToCloseViewFileOutput;  // "Click to Close"

    // "Click to Close": empties the list and hides the viewer.
    void ClickToCloseViewFileOutputClick();
};

}  // namespace oxw::app
