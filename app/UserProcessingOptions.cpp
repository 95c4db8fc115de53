#include "app/UserProcessingOptions.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/RadioButton.h"

namespace oxw::app {

using platform::RadioButton;

TUserProcessingOptions::TUserProcessingOptions(QWidget* parent)
    : Form(QStringLiteral("UserProcessingOptions"), QStringLiteral("User Processing Options"), parent)
{
    auto* group = new QGroupBox(QStringLiteral("Select  Analysis  Option"), this);
    group->setObjectName(QStringLiteral("SelectAnalysisOption"));
    ProcessIntroductory = new RadioButton(QStringLiteral("ProcessIntroductory"),
                                          QStringLiteral("Standard -  Analysis uses 4096 Standard FFT"), group);
    ProcessIntermediate =
        new RadioButton(QStringLiteral("ProcessIntermediate"), QStringLiteral("Intermediate"), group);
    ProcessIntermediate->setEnabled(false);
    ProcessIntermediate->hide();
    ProcessAdvanced = new RadioButton(
        QStringLiteral("ProcessAdvanced"),
        QStringLiteral("Extended - Analyses using 4096 Standard FFT and 16384 Extended (Nordic) FFT  "), group);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(ProcessIntroductory);
    groupLayout->addWidget(ProcessIntermediate);
    groupLayout->addWidget(ProcessAdvanced);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(platform::MakeLabel(
        QString(), QStringLiteral("       Brolvantic       Sound File and Sound      Perception Analysis"), this));
    layout->addWidget(group);
    layout->addStretch();
    connect(ProcessIntermediate, &QAbstractButton::clicked, this, &TUserProcessingOptions::ProcessIntermediateClick);
    FormCreate();
}

void TUserProcessingOptions::FormCreate()
{
    for (RadioButton* option : {ProcessIntroductory, ProcessIntermediate, ProcessAdvanced}) option->setChecked(false);
}

void TUserProcessingOptions::ProcessIntermediateClick()
{
    ProcessIntroductory->setChecked(false);
    ProcessAdvanced->setChecked(false);
}

}  // namespace oxw::app
