#pragma once
// The other windows of the personal assessment, created at start-up: the questionnaire helper
// windows. Their contents come later.

#include "platform/Form.h"

namespace oxw::assessment {

class TUserQuestions1 : public platform::Form {
    Q_OBJECT
public:
    explicit TUserQuestions1(QWidget* parent = nullptr);
};

class TNoiseQuestionnaireTemplate : public platform::Form {
    Q_OBJECT
public:
    explicit TNoiseQuestionnaireTemplate(QWidget* parent = nullptr);
};

class TQuestionnaireResponses : public platform::Form {
    Q_OBJECT
public:
    explicit TQuestionnaireResponses(QWidget* parent = nullptr);
};

}  // namespace oxw::assessment
