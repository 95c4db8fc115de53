#include "views/Smooth3DInterpolation.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "controls/NTabEd.h"
#include "controls/RChart.h"
#include "platform/RadioButton.h"

namespace oxw::views {

using platform::MakeButton;
using platform::MakeEdit;
using platform::MakeLabel;

namespace {

QWidget* Instructions(const QString& name, const QStringList& lines, QWidget* parent)
{
    auto* box = new QGroupBox(parent);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    for (const QString& line : lines) {
        QLabel* label = MakeLabel(QString(), line, box);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    layout->addStretch();
    box->setMaximumWidth(220);
    return box;
}

}  // namespace

TSmooth3DInterpolation::TSmooth3DInterpolation(QWidget* parent)
    : Form(QStringLiteral("Smooth3DInterpolation"), QStringLiteral("OXW Analysis Evaluation"), parent)
{
    SavedAnalysisLoops = MakeEdit(QStringLiteral("SavedAnalysisLoops"), QString(), this);
    SavedAnalysisLoops->hide();
    AnalysisLoops = MakeLabel(QStringLiteral("AnalysisLoops"), QString(), this);
    SpecificLoudnessCount = MakeEdit(QStringLiteral("SpecificLoudnessCount"), QString(), this);
    SpecificLoudnessCount->hide();
    MeanPitchSalienceNTabEd1 = new TNTabEd(this);
    MeanPitchSalienceNTabEd1->setObjectName(QStringLiteral("MeanPitchSalienceNTabEd1"));
    MeanPitchSalienceNTabEd1->SetNrCols(3);
    MeanPitchSalienceNTabEd1->SetNrRows(84);
    MeanPitchSalienceNTabEd1->hide();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    BuildDataPage();
    BuildColorMapPage();
    Build3DPage();

    RCColCode = new TRChart(this);
    RCColCode->setObjectName(QStringLiteral("RCColCode"));
    RCColCode->SetMargins(50, 14, 20, 40);
    RCColCode->GetScalePropsY1()->SetVisible(false);
    RCColCode->setFixedHeight(110);
    BButExit = MakeButton(QStringLiteral("BButExit"), QStringLiteral("Exit"), this);
    connect(BButExit, &QPushButton::clicked, this, &QWidget::close);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(RCColCode, 1);
    bottom->addWidget(BButExit, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AnalysisLoops);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);
    resize(900, 680);
}

void TSmooth3DInterpolation::BuildDataPage()
{
    TSData = new QWidget(PageControl1);
    TSData->setObjectName(QStringLiteral("TSData"));
    TEData = new TNTabEd(TSData);
    TEData->setObjectName(QStringLiteral("TEData"));
    TEData->SetNrCols(4);
    TEData->SetNrRows(88);
    ColRef = MakeEdit(QStringLiteral("ColRef"), QString(), TSData, true);
    RowRef = MakeEdit(QStringLiteral("RowRef"), QString(), TSData, true);
    ChartingInBlack = MakeEdit(QStringLiteral("ChartingInBlack"), QString(), TSData, true);
    ChartingInBlue = MakeEdit(QStringLiteral("ChartingInBlue"), QString(), TSData, true);
    ChartingInRed = MakeEdit(QStringLiteral("ChartingInRed"), QString(), TSData, true);

    auto* select = new QGroupBox(QStringLiteral("Select Data to be Charted"), TSData);
    select->setObjectName(QStringLiteral("SelectDataToBeCharted"));
    auto* generate = new QGroupBox(QStringLiteral("Generate Output"), select);
    generate->setObjectName(QStringLiteral("GenerateOutput"));
    MeanPitchSalience = new platform::RadioButton(
        QStringLiteral("MeanPitchSalience"), QStringLiteral("Click here to compile Analysis Evaluation"),
        generate);
    BButExecute = MakeButton(QStringLiteral("BButExecute"), QStringLiteral("Recalculation"), generate);
    BButExecute->setEnabled(false);
    auto* generateLayout = new QVBoxLayout(generate);
    generateLayout->addWidget(MeanPitchSalience);
    generateLayout->addWidget(BButExecute);
    (new QVBoxLayout(select))->addWidget(generate);

    auto* side = new QGridLayout;
    side->addWidget(MakeLabel(QString(), QStringLiteral("Col"), TSData), 0, 0);
    side->addWidget(ColRef, 0, 1);
    side->addWidget(MakeLabel(QString(), QStringLiteral("Row"), TSData), 1, 0);
    side->addWidget(RowRef, 1, 1);
    side->addWidget(MakeLabel(QString(), QStringLiteral("Charting"), TSData), 2, 0, 1, 2);
    side->addWidget(ChartingInBlack, 3, 0, 1, 2);
    side->addWidget(ChartingInBlue, 4, 0, 1, 2);
    side->addWidget(ChartingInRed, 5, 0, 1, 2);
    side->addWidget(select, 6, 0, 1, 2);
    side->setRowStretch(7, 1);
    auto* layout = new QHBoxLayout(TSData);
    layout->addWidget(TEData, 1);
    layout->addLayout(side);
    PageControl1->addTab(TSData, QStringLiteral("Data Input"));
}

void TSmooth3DInterpolation::BuildColorMapPage()
{
    TSColorMap = new QWidget(PageControl1);
    TSColorMap->setObjectName(QStringLiteral("TSColorMap"));
    RCCPlot = new TRChart(TSColorMap);
    RCCPlot->setObjectName(QStringLiteral("RCCPlot"));
    RCCPlot->SetMargins(50, 14, 20, 40);
    RCCPlot->GetScalePropsX1()->SetCaption(QStringLiteral("Note"));
    RCCPlot->GetScalePropsY1()->SetCaption(QStringLiteral("Octave"));
    QLabel* recalc = MakeLabel(QStringLiteral("RecalculationRequiredMap"),
                               QStringLiteral("Recalculation required"), TSColorMap);
    recalc->hide();
    auto* layout = new QHBoxLayout(TSColorMap);
    layout->addWidget(RCCPlot, 1);
    layout->addWidget(recalc);
    layout->addWidget(Instructions(
        QStringLiteral("ColorMapInstructions"),
        {QStringLiteral("Instructions"), QStringLiteral("1. Check sound settings volume."),
         QStringLiteral("2. Move cursor close to or on a dot to hear the MIDI Sound for that Note/ Octave."),
         QStringLiteral("3. Move the cursor slightly to repaeat the MIDI sound."), QStringLiteral("OR"),
         QStringLiteral("4. Move cursor to another dot position.")},
        TSColorMap));
    PageControl1->addTab(TSColorMap,
                         QStringLiteral("Electric Grand Piano  MIDI Sound for Note/Octave Selection"));
}

void TSmooth3DInterpolation::Build3DPage()
{
    TS3DPlot = new QWidget(PageControl1);
    TS3DPlot->setObjectName(QStringLiteral("TS3DPlot"));
    QLabel* recalc = MakeLabel(QStringLiteral("RecalculationRequired3D"),
                               QStringLiteral("Recalculation required"), TS3DPlot);
    recalc->setAlignment(Qt::AlignCenter);
    ChartName1 = MakeEdit(QStringLiteral("ChartName1"), QString(), TS3DPlot, true);
    ChartName2 = MakeEdit(QStringLiteral("ChartName2"), QString(), TS3DPlot, true);
    auto* side = new QVBoxLayout;
    side->addWidget(ChartName1);
    side->addWidget(ChartName2);
    side->addWidget(Instructions(
        QStringLiteral("Plot3DInstructions"),
        {QStringLiteral("Instructions"), QStringLiteral("1. Move cursor into chart area."),
         QStringLiteral("2. Hold left mouse button down."),
         QStringLiteral("3. Move mouse to rotate chart holding left mouse button down. "),
         QStringLiteral("WARNING!  Salience is based on the Colour Coding values at the bottom panel of "
                        "this page or click the Data Input tab.")},
        TS3DPlot));
    auto* layout = new QHBoxLayout(TS3DPlot);
    layout->addWidget(recalc, 1);
    layout->addLayout(side);
    PageControl1->addTab(TS3DPlot, QStringLiteral("3D Plot Mean Pitch Salience"));
}

void TSmooth3DInterpolation::MeanPitchSalienceClick() {}

TSmooth3DInterpolation_Audibility::TSmooth3DInterpolation_Audibility(QWidget* parent)
    : Form(QStringLiteral("Smooth3DInterpolation_Audibility"),
           QStringLiteral("Audibility Evaluation"), parent)
{
    resize(640, 480);
}

}  // namespace oxw::views
