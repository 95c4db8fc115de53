#pragma once
// "User Processing Options": holds the analysis option chosen on the main window. The window is
// never shown; only its radio states matter.

#include "platform/Form.h"
#include "platform/RadioButton.h"

namespace oxw::app {

class TUserProcessingOptions : public platform::Form {
    Q_OBJECT
public:
    explicit TUserProcessingOptions(QWidget* parent = nullptr);

    // Run at creation: no option checked.
    void FormCreate();
    // The hidden intermediate option's click: unchecks the other two options, nothing more.
    void ProcessIntermediateClick();

    // Group "Select  Analysis  Option".
    platform::RadioButton* ProcessIntroductory;
    platform::RadioButton* ProcessIntermediate;  // disabled and hidden
    platform::RadioButton* ProcessAdvanced;
};

}  // namespace oxw::app
