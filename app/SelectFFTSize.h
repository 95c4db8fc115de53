#pragma once
// "FFT Sample Size Selection": the checked FFT-size radio decides which sizes the analysis
// settings receive. The window is never shown; only its radio states and its button matter.

#include <QPushButton>

#include "platform/Form.h"
#include "platform/RadioButton.h"

namespace oxw::app {

class TSelectFFTSize : public platform::Form {
    Q_OBJECT
public:
    explicit TSelectFFTSize(QWidget* parent = nullptr);

    platform::RadioButton* Selected4096;   // checked at design
    platform::RadioButton* Selected32768;  // disabled
    platform::RadioButton* Selected65536;  // disabled
    platform::RadioButton* Selected8192;   // hidden
    QPushButton* Button1;                  // "Continue"
    // Group "Select the FFT Algorithm".
    platform::RadioButton* OriginalLibrary;  // disabled
    platform::RadioButton* VKRLibrary;       // checked
};

}  // namespace oxw::app
