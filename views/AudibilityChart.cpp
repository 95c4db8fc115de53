#include "views/AudibilityChart.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/NTabEd.h"
#include "controls/RChart.h"

namespace oxw::views {

namespace frmAudibility {
std::array<double, 22> ThirdOct_S{};
}

using platform::MakeButton;
using platform::MakeLabel;

TFrmAudibilityChart::TFrmAudibilityChart(QWidget* parent)
    : Form(QStringLiteral("FrmAudibilityChart"), QStringLiteral("OXW Audibility"), parent)
{
    QLabel* title = MakeLabel(
        QString(),
        QStringLiteral("Chart for Predicting Audibility of Braodband Signals in relation to\n"
                       "Loudness Level of 20 phon (35 dB(A) and Hearing Threshold Level"),
        this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setUnderline(true);
    title->setFont(bold);

    RChart1 = new TRChart(this);
    RChart1->setObjectName(QStringLiteral("RChart1"));
    RChart1->SetMargins(50, 20, 20, 40);
    RChart1->GetScalePropsX1()->SetRangeHigh(26);
    RChart1->GetScalePropsX1()->SetRangeLow(1);
    RChart1->GetScalePropsX1()->SetCaption(
        QStringLiteral("One-Third Octave Band Centre Frequencies in Hz"));
    RChart1->GetScalePropsY1()->SetRangeHigh(100);
    RChart1->GetScalePropsY1()->SetRangeLow(-10);
    RChart1->setMinimumSize(609, 417);

    SplineCoordinates = new TNTabEd(this);
    SplineCoordinates->setObjectName(QStringLiteral("SplineCoordinates"));
    SplineCoordinates->SetNrCols(5);
    SplineCoordinates->SetNrRows(1600);
    SplineCoordinates->hide();

    BButLogFit = MakeButton(QStringLiteral("BButLogFit"), QStringLiteral("Click here to show chart"), this);
    BButLogFit->hide();
    WhatRangeMightIHear =
        MakeButton(QStringLiteral("WhatRangeMightIHear"), QStringLiteral("What range might I hear?"), this);
    BButExit = MakeButton(QStringLiteral("BButExit"), QStringLiteral("Exit"), this);
    connect(BButExit, &QPushButton::clicked, this, &QWidget::close);

    auto* legend = new QGroupBox(QStringLiteral("Chart Legend"), this);
    legend->setObjectName(QStringLiteral("GroupBox1"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(QStringLiteral(
        "The distance between the \n\u2018ambient noise\u2019 curve and \nthe two loudness level \n"
        "curves indicates the \ndegree of audibility, in dB \nper third octave, of the \n"
        "sound contained within the \nsoundfile."));

    auto* side = new QVBoxLayout;
    side->addWidget(legend);
    side->addWidget(Memo1, 1);
    side->addWidget(WhatRangeMightIHear);
    side->addWidget(BButExit);
    auto* layout = new QGridLayout(this);
    layout->addWidget(title, 0, 0, 1, 2);
    layout->addWidget(RChart1, 1, 0);
    layout->addLayout(side, 1, 1);
    resize(1007, 589);
}

}  // namespace oxw::views
