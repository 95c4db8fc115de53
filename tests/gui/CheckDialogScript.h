#pragma once
// The user's answer to the sound-file check dialog in whole-program tests: "Continue Analysis",
// then "Left click to continue" with the dialog's settings as they stand. Other modal dialogs
// are closed unanswered.
#include <QDialog>
#include <QPushButton>

#include "app/SoundFileCheck.h"

namespace oxw::test {

inline int ContinueAnalysis(QDialog& d) {
    if (d.objectName() != "SoundFileCheck") return 0;
    auto& check = static_cast<app::TSoundFileCheck&>(d);
    check.ContnueAnalysis->click();
    check.Button1->click();
    return 1;
}

}  // namespace oxw::test
