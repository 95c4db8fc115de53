#include "assessment/AssessmentForms.h"

namespace oxw::assessment {

TUserQuestions1::TUserQuestions1(QWidget* parent)
    : Form(QStringLiteral("UserQuestions1"), QStringLiteral("User Questions"), parent)
{
    resize(640, 480);
}

TNoiseQuestionnaireTemplate::TNoiseQuestionnaireTemplate(QWidget* parent)
    : Form(QStringLiteral("NoiseQuestionnaireTemplate"), QStringLiteral("Noise Questionnaire Template"),
           parent)
{
    resize(640, 480);
}

TQuestionnaireResponses::TQuestionnaireResponses(QWidget* parent)
    : Form(QStringLiteral("QuestionnaireResponses"), QStringLiteral("Questionnaire Responses"), parent)
{
    resize(640, 480);
}

}  // namespace oxw::assessment
