#include "views/AudibilityChart.h"

#include <QFont>
#include <QGroupBox>
#include <QPalette>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace oxw::views {

namespace frmAudibility {
std::array<double, 22> ThirdOct_S{};
}

using platform::MakeButton;
using platform::MakeLabel;

namespace {

constexpr int kChartLeft = 128, kChartTop = 104, kChartWidth = 609, kChartHeight = 417;
constexpr int kMarginLeft = 50, kMarginRight = 20, kMarginTop = 20, kMarginBottom = 40;

QLabel* Placed(const QString& text, QWidget* parent, int x, int y, int w, int h,
               Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    QLabel* label = MakeLabel(QString(), text, parent);
    label->setGeometry(x, y, w, h);
    label->setAlignment(align);
    return label;
}

void SetUpChart(TRChart* chart)
{
    chart->setObjectName(QStringLiteral("RChart1"));
    chart->SetBounds(kChartLeft, kChartTop, kChartWidth, kChartHeight);
    chart->SetAllocSize(1000);
    chart->SetAutoRedraw(true);
    chart->SetMargins(kMarginLeft, kMarginRight, kMarginTop, kMarginBottom);
    chart->SetGridStyle(gsHorizDotLines);
    chart->SetChartColor(clMoneyGreen);
    chart->SetClassDefault(0);
    chart->SetMouseAction(maNone);
    TScalePropsHoriz* x = chart->GetScalePropsX1();
    x->SetRangeHigh(26);
    x->SetRangeLow(1);
    x->SetMinTicks(26);
    x->SetLabelType(ftUserText);
    x->SetShortTicks(true);
    TScalePropsVert* y = chart->GetScalePropsY1();
    y->SetRangeHigh(100);
    y->SetRangeLow(-10);
    y->SetMinTicks(10);
    QFont bold = y->Font();
    bold.setBold(true);
    y->SetFont(bold);
    for (int layer = 2; layer <= 4; ++layer) {
        chart->GetScalePropsX(layer)->SetVisible(false);
        chart->GetScalePropsY(layer)->SetVisible(false);
    }
}

// The band centre frequencies under the axis, alternately on two rows, each centred on its tick.
QWidget* BandLabels(QWidget* parent)
{
    static const char* const names[frmAudibility::NumBands] = {
        "31.5", "40",   "50",   "63",   "80",   "100",  "125",  "160",  "200",
        "250",  "315",  "400",  "500",  "630",  "800",  "1000", "1250", "1600",
        "2000", "2500", "3150", "4000", "5000", "6300", "8000", "10000"};
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("Panel3"));
    const int dataWidth = kChartWidth - kMarginLeft - kMarginRight;
    panel->setGeometry(kChartLeft + kMarginLeft - 20, kChartTop + kChartHeight - kMarginBottom + 8,
                       dataWidth + 40, 30);
    for (int b = 1; b <= frmAudibility::NumBands; ++b) {
        const int centre = 20 + static_cast<int>(std::lround((b - 1) * dataWidth / 25.0));
        QLabel* label = Placed(QString::fromLatin1(names[b - 1]), panel, centre - 20, b % 2 ? 0 : 14, 40, 14,
                               Qt::AlignCenter);
        label->setObjectName(QStringLiteral("Band%1").arg(b));
    }
    return panel;
}

}  // namespace

TFrmAudibilityChart::TFrmAudibilityChart(QWidget* parent)
    : Form(QStringLiteral("FrmAudibilityChart"), QStringLiteral("OXW Audibility"), parent)
{
    setFixedSize(1007, 589);
    auto* panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setGeometry(0, 0, 1007, 41);
    panel1->setCursor(Qt::ArrowCursor);

    QLabel* title = Placed(QStringLiteral("Chart for Predicting Audibility of Braodband Signals in relation to\n"
                                          "Loudness Level of 20 phon (35 dB(A) and Hearing Threshold Level"),
                           this, kChartLeft, 50, 620, 44, Qt::AlignCenter);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setUnderline(true);
    title->setFont(bold);

    RChart1 = new TRChart(this);
    SetUpChart(RChart1);
    Panel3 = BandLabels(this);
    Placed(QStringLiteral("One-Third Octave Band Centre Frequencies in Hz"), this, kChartLeft, 553, kChartWidth,
           20, Qt::AlignCenter);
    Placed(QStringLiteral("One-Third Octave\nBand Sound \nPressure Level of\nLoudness Level\ndB re: 20 uPa"), this,
           8, 250, 118, 80);
    for (int k = 1; k <= 9; ++k)
        Placed(QString::number(10 * k), this, kChartLeft + kChartWidth + 4, 380 - 32 * (k - 1), 24, 16);
    QLabel* ambientCaption =
        Placed(QStringLiteral("One Third Octave Band Sound Pressure Level of Ambient, in dB re 20 uPa."), this,
               kChartLeft + kChartWidth + 30, 150, 50, 260);
    ambientCaption->setWordWrap(true);

    SplineCoordinates = new TNTabEd(this);
    SplineCoordinates->setObjectName(QStringLiteral("SplineCoordinates"));
    SplineCoordinates->SetNrCols(5);
    SplineCoordinates->SetNrRows(1600);
    SplineCoordinates->hide();
    SeeDataPoints = new QCheckBox(QStringLiteral("Click to see data points "), this);
    SeeDataPoints->setObjectName(QStringLiteral("SeeDataPoints"));
    SeeDataPoints->hide();

    BButLogFit = MakeButton(QStringLiteral("BButLogFit"), QStringLiteral("Click here to show chart"), this);
    BButLogFit->hide();
    connect(BButLogFit, &QPushButton::clicked, this, [this] { BButLogFitClick(); });

    auto* legend = new QGroupBox(QStringLiteral("Chart Legend"), this);
    legend->setObjectName(QStringLiteral("GroupBox1"));
    legend->setGeometry(820, 104, 175, 100);
    legend->setAutoFillBackground(true);
    legend->setPalette(QPalette(ToQColor(clMoneyGreen)));
    auto* legendRows = new QVBoxLayout(legend);
    RedLineDescription = MakeLabel(QStringLiteral("RedLineDescription"), QStringLiteral("Third Octave Ambient "), legend);
    PurpleLineDescription =
        MakeLabel(QStringLiteral("PurpleLineDescription"), QStringLiteral("Hearing Threshold Level"), legend);
    SpecialLineDescription =
        MakeLabel(QStringLiteral("SpecialLineDescription"), QStringLiteral("LL20 as 35 dB(A)"), legend);
    for (QLabel* l : {RedLineDescription, PurpleLineDescription, SpecialLineDescription}) {
        legendRows->addWidget(l);
        l->hide();
    }

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(QStringLiteral(
        "The distance between the \n\u2018ambient noise\u2019 curve and \nthe two loudness level \n"
        "curves indicates the \ndegree of audibility, in dB \nper third octave, of the \n"
        "sound contained within the \nsoundfile."));
    Memo1->setGeometry(820, 215, 175, 190);
    QPalette memo = Memo1->palette();
    memo.setColor(QPalette::Base, ToQColor(clMoneyGreen));
    Memo1->setPalette(memo);

    WhatRangeMightIHear =
        MakeButton(QStringLiteral("WhatRangeMightIHear"), QStringLiteral("What range might I hear?"), this);
    WhatRangeMightIHear->setGeometry(820, 420, 175, 30);
    connect(WhatRangeMightIHear, &QPushButton::clicked, this, [this] { WhatRangeMightIHearClick(); });
    BButExit = MakeButton(QStringLiteral("BButExit"), QStringLiteral("Exit"), this);
    BButExit->setGeometry(820, 480, 175, 30);
    connect(BButExit, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace oxw::views
