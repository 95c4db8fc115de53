#include "views/Smooth3DInterpolation.h"

#include <algorithm>
#include <cmath>

#include <QRadioButton>
#include <QEvent>
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
#include "platform/Dialogs.h"
#include "platform/RadioButton.h"
#include "views/SalienceForms.h"

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
    : Form(QStringLiteral("Smooth3DInterpolation"), QString::fromLatin1(kContourViewCaption), parent),
      ownDialogs_(std::make_unique<platform::QtDialogs>(this)),
      dialogs_(ownDialogs_.get())
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
    BuildHiddenInputs();
    SetDialogs(nullptr);  // the window's own until it is given the program's

    RCColCode = new TRChart(this);
    RCColCode->setObjectName(QStringLiteral("RCColCode"));
    RCColCode->SetMargins(50, 14, 20, 40);
    RCColCode->GetScalePropsY1()->SetVisible(false);
    RCColCode->GetScalePropsY1()->SetRangeLow(0);
    RCColCode->GetScalePropsY1()->SetRangeHigh(1);
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

TSmooth3DInterpolation::~TSmooth3DInterpolation() = default;

void TSmooth3DInterpolation::SetDialogs(platform::Dialogs* dialogs)
{
    dialogs_ = dialogs ? dialogs : ownDialogs_.get();
    // The colour selectors' dialogs are the window's too.
    for (TColSel* selector : {CSLow, CSMid, CSHigh, CSMesh}) selector->SetDialogs(dialogs_);
}

void TSmooth3DInterpolation::BuildDataPage()
{
    TSData = new QWidget(PageControl1);
    TSData->setObjectName(QStringLiteral("TSData"));
    TEData = new TNTabEd(TSData);
    TEData->setObjectName(QStringLiteral("TEData"));
    TEData->SetNrCols(4);
    TEData->SetNrRows(88);
    connect(TEData, &TNTabEd::OnChange, this, [this] {
        if (!loading_) TEDataChange();
    });
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
    connect(BButExecute, &QPushButton::clicked, this, &TSmooth3DInterpolation::BButExecuteClick);
    connect(MeanPitchSalience, &QRadioButton::clicked, this, &TSmooth3DInterpolation::MeanPitchSalienceClick);
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
    RCCPlot->SetMouseAction(maNone);
    RCCPlot->SetMouseCursorFixed(true);
    RCCPlot->GetScalePropsX1()->SetLabelType(ftUserText);
    RCCPlot->GetScalePropsX1()->SetUserTickText(QStringLiteral("C |C#|D |D#|E |F |F#|G |G#|A |A#|B |"));
    RCCPlot->GetScalePropsX1()->SetMinTicks(12);
    RCCPlot->GetScalePropsY1()->SetMinTicks(5);
    RCCPlot->OnMouseMoveInChart = [this](TCustomRChart*, bool, TShiftState, double x, double y) {
        RCCPlotMouseMoveInChart(x, y);
    };
    // "Recalculation required" lies behind the chart: seen whenever the chart is hidden.
    auto* stack = new QWidget(TSColorMap);
    auto* stackLayout = new QGridLayout(stack);
    stackLayout->setContentsMargins(0, 0, 0, 0);
    RecalculationRequiredMap = MakeLabel(QStringLiteral("RecalculationRequiredMap"),
                                         QStringLiteral("Recalculation required"), stack);
    RecalculationRequiredMap->setAlignment(Qt::AlignCenter);
    stackLayout->addWidget(RecalculationRequiredMap, 0, 0);
    stackLayout->addWidget(RCCPlot, 0, 0);
    auto* layout = new QHBoxLayout(TSColorMap);
    layout->addWidget(stack, 1);
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
    auto* stack = new QWidget(TS3DPlot);
    auto* stackLayout = new QGridLayout(stack);
    stackLayout->setContentsMargins(0, 0, 0, 0);
    RecalculationRequired3D = MakeLabel(QStringLiteral("RecalculationRequired3D"),
                                        QStringLiteral("Recalculation required"), stack);
    RecalculationRequired3D->setAlignment(Qt::AlignCenter);
    Plot3D1 = new TPlot3D(stack);
    Plot3D1->setObjectName(QStringLiteral("Plot3D1"));
    Plot3D1->setMinimumSize(200, 150);
    Plot3D1->SetMouseAction(maRotate);
    Plot3D1->setCursor(Qt::OpenHandCursor);
    Plot3D1->SetBoundBoxStyle(bbFaces);
    Plot3D1->SetColorCodingMode(ccmThreeColors);
    Plot3D1->SetColorHigh(clYellow);
    Plot3D1->SetColorMid(clWhite);
    Plot3D1->SetColorLow(clFuchsia);
    Plot3D1->SetMeshVisible(true);
    Plot3D1->SetColorMesh(clMaroon);
    Plot3D1->SetViewAngleX(75);
    Plot3D1->SetViewAngleZ(160);
    Plot3D1->SetMagnification(1);
    Plot3D1->SetDecPlaceX(1);
    Plot3D1->SetDecPlaceY(1);
    Plot3D1->SetDecPlaceZ(3);
    Plot3D1->SetMinTickX(6);
    Plot3D1->SetMinTickY(4);
    Plot3D1->SetMinTickZ(5);
    Plot3D1->SetColorXCoords(clRed);
    Plot3D1->SetColorYCoords(clBlue);
    Plot3D1->SetColorZCoords(clBlack);
    Plot3D1->OnBeforeRenderPolygon = [this](TPlot3D*, platform::Canvas&, bool&, int c, int r, const TQuad&,
                                            TColor& color) {
        color = CalcColorCoding(Plot3D1->GridMat.GetVal(c, r));
    };
    Plot3D1->OnBeforeDrawScaleLabel = [](TPlot3D*, platform::Canvas&, TP3ScaleKind kind, QString& text, int,
                                         int) { RelabelScale(kind, text); };
    Plot3D1->installEventFilter(this);
    stackLayout->addWidget(RecalculationRequired3D, 0, 0);
    stackLayout->addWidget(Plot3D1, 0, 0);
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
    layout->addWidget(stack, 1);
    layout->addLayout(side);
    PageControl1->addTab(TS3DPlot, QStringLiteral("3D Plot Mean Pitch Salience"));
}

void TSmooth3DInterpolation::MeanPitchSalienceClick()
{
    ChartingInBlack->setText(QStringLiteral("Salience "));
    ChartingInBlue->setText(QStringLiteral("Note "));
    ChartingInRed->setText(QStringLiteral("Octave "));
    ChartName1->setText(QStringLiteral("Mean Pitch"));
    ChartName2->setText(QStringLiteral("Salience"));
    for (QWidget* w : {static_cast<QWidget*>(ChartingInBlack), static_cast<QWidget*>(ChartingInBlue),
                       static_cast<QWidget*>(ChartingInRed), static_cast<QWidget*>(ChartName1),
                       static_cast<QWidget*>(ChartName2)})
        w->repaint();
    loading_ = true;  // the load ends with a calculation: no stale state meanwhile
    TEData->SetColName(1, QStringLiteral("Note"));
    TEData->SetColName(2, QStringLiteral("Octave"));
    TEData->SetColName(3, QStringLiteral("Salience"));
    BButExecute->setText(QStringLiteral("Wait - Building Chart"));
    LoadDataSet(*MeanPitchSalienceNTabEd1, MeanPitchSalience);
}

void TSmooth3DInterpolation::LoadDataSet(const TNTabEd& source, platform::RadioButton* button)
{
    loading_ = true;
    const int rows = source.GetNrRows();
    TEData->SetNrCols(std::max(3, TEData->GetNrCols()));  // an imported table may have fewer
    TEData->SetNrRows(rows);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= rows; ++r) {
            RowRef->setText(QString::number(r));
            ColRef->setText(QString::number(c));
            TEData->SetElem(c, r, source.GetElem(c, r));
        }
    loading_ = false;
    PageControl1->setCurrentWidget(TSData);
    RowRef->repaint();
    ColRef->repaint();
    button->setChecked(false);
    BButExecuteClick();
    PageControl1->setCurrentWidget(TS3DPlot);
    TS3DPlot->repaint();
    SetPlotsVisible(true);
}

void TSmooth3DInterpolation::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    Varix = {0, 1, 2, 3, 0};
    SetDefaultColors();
    TEData->SetPopupDMask(0);
    BButExecute->setEnabled(false);
    BButExecuteClick();
}

void TSmooth3DInterpolation::BButExecuteClick()
{
    DisplayPlots();
    DisplayColorCoding();
    PageControl1->setCurrentWidget(TS3DPlot);
    SetPlotsVisible(true);
    BButExecute->setEnabled(false);
}

void TSmooth3DInterpolation::TEDataChange()
{
    SetPlotsVisible(false);
    BButExecute->setEnabled(true);
}

void TSmooth3DInterpolation::NewCalcNeeded()
{
    if (CBoxAutoCalc->isChecked())
        BButExecuteClick();
    else
        TEDataChange();
}

void TSmooth3DInterpolation::SetPlotsVisible(bool on)
{
    RCCPlot->setVisible(on);
    Plot3D1->setVisible(on);
}

bool TSmooth3DInterpolation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Plot3D1) {
        if (event->type() == QEvent::MouseButtonRelease) Plot3D1MouseUp();
        if (event->type() == QEvent::Resize) {
            Plot3D1->SetCentX(Plot3D1->width() / 2 - 20);
            Plot3D1->SetCentY(Plot3D1->height() / 2);
        }
    }
    return Form::eventFilter(watched, event);
}

void TSmooth3DInterpolation::Plot3D1MouseUp()
{
    // A scroll bar clamps the value; only a changed position reaches the surface.
    ScrBarAngleZ->setValue(static_cast<int>(std::lrint(Plot3D1->ViewAngleZ())));
    ScrBarAngleX->setValue(static_cast<int>(std::lrint(Plot3D1->ViewAngleX())));
    ScrBarMagnif->setValue(static_cast<int>(std::lrint(100 * Plot3D1->Magnification())));
}

TSmooth3DInterpolation_Audibility::TSmooth3DInterpolation_Audibility(QWidget* parent)
    : Form(QStringLiteral("Smooth3DInterpolation_Audibility"),
           QStringLiteral("Audibility Evaluation"), parent)
{
    resize(640, 480);
}

}  // namespace oxw::views
