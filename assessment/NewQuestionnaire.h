#pragma once
// "OXW Optional Questionnaire for your Personal Noise Sensitivity Perception": the optional
// noise-sensitivity questionnaire, shown modally from the main window. This slice holds its
// pages and the close button; the questions and their scoring come later.

#include <QPushButton>
#include <QTabWidget>

#include "platform/Form.h"

namespace oxw::assessment {

class TNewQuestionnaire : public platform::Form {
    Q_OBJECT
public:
    explicit TNewQuestionnaire(QWidget* parent = nullptr);

    QTabWidget* PageControl1;  // pages TabSheet1 .. TabSheet8 in questionnaire order
    QPushButton* Button1;      // "Close the questionnaire"
};

}  // namespace oxw::assessment
