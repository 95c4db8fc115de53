#include "assessment/DecisionSupportOutput.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "assessment/DecisionRules.h"

namespace oxw::assessment {

using platform::MakeButton;
using platform::MakeEdit;
using platform::MakeLabel;

TDecisionSupportOutput::TDecisionSupportOutput(QWidget* parent)
    : Form(QStringLiteral("DecisionSupportOutput"), QStringLiteral("OXW Decision Support Analysis Results"),
           parent)
{
    auto* integration = new QGroupBox(QStringLiteral("OXW integration of the following:"), this);
    integration->setObjectName(QStringLiteral("IntegrationGroup"));
    auto* integrationLayout = new QVBoxLayout(integration);
    for (const char* item : {"- Sound levels", "- Personal perception", "- Personal noise sensitivity",
                             "- Sound character", "- Amenity", "- Soundscape"}) {
        integrationLayout->addWidget(MakeLabel(QString(), QString::fromLatin1(item), integration));
    }
    ShowRating = MakeButton(QStringLiteral("ShowRating"), QStringLiteral("Show Rating"), this);
    Exit = MakeButton(QStringLiteral("Exit"), QStringLiteral("Exit"), this);
    connect(Exit, &QPushButton::clicked, this, &QWidget::close);
    connect(ShowRating, &QPushButton::clicked, this, &TDecisionSupportOutput::ShowRatingClick);
    ErrorCondition = MakeLabel(QStringLiteral("ErrorCondition"),
                               QStringLiteral("The Questionnaire has not been fully completed."), this);
    ErrorCondition->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeLabel(QString(), QStringLiteral("Indicates the following  Intrusive Noise Rating."),
                                this));
    layout->addWidget(integration);
    layout->addWidget(BuildOutcome());
    layout->addWidget(ErrorCondition);
    layout->addWidget(BuildCarriers());
    layout->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ShowRating);
    buttons->addStretch();
    buttons->addWidget(Exit);
    layout->addLayout(buttons);
    resize(640, 480);
}

QGroupBox* TDecisionSupportOutput::BuildCarriers()
{
    auto* group = new QGroupBox(QStringLiteral("Things not seen in final version"), this);
    group->setObjectName(QStringLiteral("ThingsNotSeen"));
    auto* form = new QFormLayout(group);
    auto carrier = [&](const char* name, const char* code) {
        QLineEdit* edit = MakeEdit(QString::fromLatin1(name), QString::fromLatin1(kNotAvailable), group);
        form->addRow(QString::fromLatin1(code), edit);
        return edit;
    };
    NsOverallOutput = carrier("NsOverallOutput", "ns_overall");
    LAEQOutput = carrier("LAEQOutput", "LAeq");
    UBAmOutput = carrier("UBAmOutput", "UBAm");
    LE24Output = carrier("LE24Output", "LE24");
    LE25Output = carrier("LE25Output", "LE25");
    LE26Output = carrier("LE26Output", "LE26");
    LE27Output = carrier("LE27Output", "LE27");
    LE28Output = carrier("LE28Output", "LE28");
    LE31Output = carrier("LE31Output", "LE31");
    LE32Output = carrier("LE32Output", "LE32");
    SC58Output = carrier("SC58Output", "SC58");
    SC75Output = carrier("SC75Output", "SC75");
    SC76Output = carrier("SC76Output", "SC76");
    SC78Output = carrier("SC78Output", "SC78");
    SC80Output = carrier("SC80Output", "SC80");
    SC81Output = carrier("SC81Output", "SC81");
    LE58Output = carrier("LE58Output", "LE58");
    group->hide();
    return group;
}

QGroupBox* TDecisionSupportOutput::BuildOutcome()
{
    RatingOutcome = new QGroupBox(QStringLiteral("Your Ratings are:      "), this);
    RatingOutcome->setObjectName(QStringLiteral("RatingOutcome"));
    auto* layout = new QVBoxLayout(RatingOutcome);
    for (QLabel** label : {&NoiseSensitivityOutcome, &SoundscapeAndAmenityOutcome, &AmenityOutcome,
                           &AdverseEffectsOutcome}) {
        *label = MakeLabel(QString(), QString(), RatingOutcome);
        (*label)->setWordWrap(true);
        (*label)->hide();
        layout->addWidget(*label);
    }
    NoiseSensitivityOutcome->setObjectName(QStringLiteral("NoiseSensitivityOutcome"));
    SoundscapeAndAmenityOutcome->setObjectName(QStringLiteral("SoundscapeAndAmenityOutcome"));
    AmenityOutcome->setObjectName(QStringLiteral("AmenityOutcome"));
    AdverseEffectsOutcome->setObjectName(QStringLiteral("AdverseEffectsOutcome"));
    RatingOutcome->hide();
    return RatingOutcome;
}

namespace {

// Shows `sentence` in the label, or hides the label when there is none.
void ShowSentence(QLabel* label, const char* sentence)
{
    label->setText(sentence ? QString::fromLatin1(sentence) : QString());
    label->setVisible(sentence != nullptr);
}

}  // namespace

void TDecisionSupportOutput::ShowRatingClick()
{
    DecisionInputs in;
    in.ns = CarrierNumber(NsOverallOutput->text());
    in.L = CarrierNumber(LAEQOutput->text());
    in.U = CarrierNumber(UBAmOutput->text());
    in.LE24 = CarrierFlag(LE24Output->text());
    in.LE25 = CarrierFlag(LE25Output->text());
    in.LE26 = CarrierFlag(LE26Output->text());
    in.LE27 = CarrierFlag(LE27Output->text());
    in.LE28 = CarrierFlag(LE28Output->text());
    in.LE31 = CarrierFlag(LE31Output->text());
    in.LE32 = CarrierFlag(LE32Output->text());
    in.SC76 = CarrierFlag(SC76Output->text());
    in.SC78 = CarrierFlag(SC78Output->text());
    const DecisionOutcome out = RateIntrusiveNoise(in);
    Line20 = out.Line20;
    Line25 = out.Line25;
    ShowSentence(NoiseSensitivityOutcome, out.NoiseSensitivity);
    ShowSentence(SoundscapeAndAmenityOutcome, out.SoundscapeAndAmenity);
    ShowSentence(AmenityOutcome, out.Amenity);
    ShowSentence(AdverseEffectsOutcome, out.AdverseEffects);
    ErrorCondition->setVisible(out.ErrorCondition);
    RatingOutcome->setVisible(out.RatingOutcome);
    update();
}

}  // namespace oxw::assessment
