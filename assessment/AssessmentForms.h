#pragma once
// The other windows of the personal assessment, created at start-up: the listening test
// (reachable from no control in the live workflow) and the questionnaire helper windows.
// Their contents come later.

#include "platform/Form.h"

namespace oxw::assessment {

class TAnalyseThis : public platform::Form {
    Q_OBJECT
public:
    explicit TAnalyseThis(QWidget* parent = nullptr);
};

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
