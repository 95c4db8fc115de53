// The contour view's settings that the window keeps out of sight: the parameter inputs, the
// colour group with its ".cpc" files, the ASC data import, the read-outs of the pointer and the
// surface's view, the surface's mesh colour, and the further data sets; a few of them do nothing.
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

#include "numeric/AscFile.h"
#include "platform/Dialogs.h"
#include "views/ContourColorFile.h"
#include "views/Smooth3DInterpolation.h"

namespace oxw::views {

using platform::MakeButton;
using platform::MakeLabel;

void TSmooth3DInterpolation::BuildHiddenInputs()
{
    auto* hidden = new QWidget(this);
    hidden->setObjectName(QStringLiteral("HiddenSettings"));
    hidden->hide();
    auto numIO = [hidden](const char* name, const char* label, const char* text, double low, double high) {
        MakeLabel(QString(), QString::fromLatin1(label), hidden);
        auto* io = new TNumIO(hidden);
        io->setObjectName(QString::fromLatin1(name));
        io->SetRangeHigh(high);  // first: a low end above the old high end would swap them
        io->SetRangeLow(low);
        io->SetText(QString::fromLatin1(text));
        return io;
    };
    NIOResol = numIO("NIOResol", "Resolution", "30", 1, 250);
    NIONumNb = numIO("NIONumNb", "# Neighbors", "5", 1, 1000);
    NIONumNb->SetInputFormat(itInt);
    NIOSmooth = numIO("NIOSmooth", "Smoothing", "1.5", 0, 10);
    for (TNumIO* io : {NIOResol, NIONumNb, NIOSmooth}) io->OnChange = [this](TNumIO*) { NewCalcNeeded(); };
    auto group = [hidden](const char* name, const char* caption, const QStringList& items) {
        auto* box = new QGroupBox(QString::fromLatin1(caption), hidden);
        auto* g = new QButtonGroup(box);
        g->setObjectName(QString::fromLatin1(name));
        for (int i = 0; i < items.size(); ++i) g->addButton(new QRadioButton(items[i], box), i);
        g->button(0)->setChecked(true);
        return g;
    };
    RGWeighting = group("RGWeighting", "Weighting",
                        {QStringLiteral("Gaussian"), QStringLiteral("Average"), QStringLiteral("Median")});
    RGColorScale = group("RGColorScale", "Color Coding", {QStringLiteral("Min/Max"), QStringLiteral("Interquartil Distance")});
    auto checkBox = [hidden](const char* name, const char* caption, bool checked) {
        auto* box = new QCheckBox(QString::fromLatin1(caption), hidden);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(checked);
        return box;
    };
    CBoxAutoCalc =
        checkBox("CBoxAutoCalc", "automatic recalculation of the interpolation after any data change ", true);
    CBoxShowData = checkBox("CBoxShowData", "Show Data", true);
    // No handler: ticking it changes nothing, the data table stays read-only.
    CBoxManualEdit = checkBox("CBoxManualEdit", "allow manual editing of the data", false);
    BuildHiddenButtons(hidden);
    BuildReadOuts(hidden);
    BuildViewControls(hidden);
    BuildDataSets(hidden);
}

// The surface's view: its scroll bars, its mesh colour and "Default Setup".
void TSmooth3DInterpolation::BuildViewControls(QWidget* hidden)
{
    auto scrollBar = [hidden](const char* name, int low, int high) {
        auto* bar = new QScrollBar(Qt::Horizontal, hidden);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setRange(low, high);
        return bar;
    };
    ScrBarAngleZ = scrollBar("ScrBarAngleZ", 0, 360);
    ScrBarAngleX = scrollBar("ScrBarAngleX", 0, 90);
    ScrBarMagnif = scrollBar("ScrBarMagnif", 10, 100);
    ScrBarZScale = scrollBar("ScrBarZScale", 10, 200);
    ScrBarZScale->setValue(90);
    connect(ScrBarAngleZ, &QScrollBar::valueChanged, this, [this](int v) {
        Plot3D1->SetViewAngleZ(v);
        NLabAngleZ->SetValue(v);
    });
    connect(ScrBarAngleX, &QScrollBar::valueChanged, this, [this](int v) {
        Plot3D1->SetViewAngleX(v);
        NLabAngleX->SetValue(v);
    });
    connect(ScrBarMagnif, &QScrollBar::valueChanged, this, [this](int v) {
        Plot3D1->SetMagnification(v / 100.0);
        NLabMagnif->SetValue(v / 100.0);
    });
    connect(ScrBarZScale, &QScrollBar::valueChanged, this, [this](int v) {
        ApplyZScale();
        NLabZScale->SetValue(v);
    });
    // The surface's mesh colour selector and "Default Setup" have no handlers: they change nothing.
    CSMesh = new TColSel(hidden);
    CSMesh->setObjectName(QStringLiteral("CSMesh"));
    CSMesh->SetSelColor(Plot3D1->ColorMesh());
    BButDefaultSetup = MakeButton(QStringLiteral("BButDefaultSetup"), QStringLiteral("Default Setup"), hidden);
}

void TSmooth3DInterpolation::BuildHiddenButtons(QWidget* hidden)
{
    auto* colors = new QGroupBox(QStringLiteral("Colors"), hidden);
    colors->setObjectName(QStringLiteral("Colors"));
    auto colSel = [colors](const char* name) {
        auto* cs = new TColSel(colors);
        cs->setObjectName(QString::fromLatin1(name));
        cs->SetNumColors(20);
        return cs;
    };
    CSLow = colSel("CSLow");
    CSMid = colSel("CSMid");
    CSHigh = colSel("CSHigh");
    SetDefaultColors();
    using Click = void (TSmooth3DInterpolation::*)();
    auto button = [this](const char* name, const char* caption, QWidget* parent, Click click) {
        QPushButton* b = MakeButton(QString::fromLatin1(name), QString::fromLatin1(caption), parent);
        connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    using T = TSmooth3DInterpolation;
    BButGrayScale = button("BButGrayScale", "Gray Scale Colors", colors, &T::GrayScaleColorsClick);
    BButDefaultColors = button("BButDefaultColors", "Default Colors", colors, &T::DefaultColorsClick);
    BButStoreColors = button("BButStoreColors", "Store Colors", colors, &T::StoreColorsClick);
    BButLoadColors = button("BButLoadColors", "Load Colors", colors, &T::LoadColorsClick);
    BButLoadData = button("BButLoadData", "Load Data from Disk", hidden, &T::LoadDataClick);
}

void TSmooth3DInterpolation::BuildReadOuts(QWidget* hidden)
{
    auto readOut = [hidden](const char* name, TDisplay type, double value) {
        auto* lab = new TNumLab(hidden);
        lab->setObjectName(QString::fromLatin1(name));
        lab->SetDisplayType(type);
        if (type == dtFloat) lab->SetPrecision(4);
        lab->SetValue(value);
        return lab;
    };
    NLabX = readOut("NLabX", dtFloat, 0);
    NLabY = readOut("NLabY", dtFloat, 0);
    NLabZ = readOut("NLabZ", dtFloat, 0);
    NLabAngleX = readOut("NLabAngleX", dtFixP, Plot3D1->ViewAngleX());
    NLabAngleZ = readOut("NLabAngleZ", dtFixP, Plot3D1->ViewAngleZ());
    NLabMagnif = readOut("NLabMagnif", dtFixP, Plot3D1->Magnification());
    NLabZScale = readOut("NLabZScale", dtFixP, 90);
    Plot3D1->OnMouseAction = [this](TPlot3D*, int&, int&, double& angleX, double& angleZ, double& magnification,
                                    TPlot3D::TShift) {
        NLabAngleX->SetValue(angleX);
        NLabAngleZ->SetValue(angleZ);
        NLabMagnif->SetValue(magnification);
    };
}

void TSmooth3DInterpolation::BuildDataSets(QWidget* hidden)
{
    static const char* const kSets[NumDataSets][2] = {
        {"OverallSpecificLoudness", "Overall Specific Loudness"},
        {"IntensityHistory", "Intensity History"},
        {"ChromaSalience", "Chroma Salience"},
        {"ProgressivePitchSalience", "Progressive Pitch Salience"},
        {"ProgressiveChromaSalience", "Progressive Chroma Salience"},
        {"UnmaskedToneFrequency", "Unmasked Tone Frequency by Level"}};
    auto* sets = new QWidget(hidden);  // the buttons' own group
    for (int i = 0; i < NumDataSets; ++i) {
        const QString name = QString::fromLatin1(kSets[i][0]);
        auto* b = new platform::RadioButton(name, QString::fromLatin1(kSets[i][1]), sets);
        auto* table = new TNTabEd(hidden);
        table->setObjectName(name + QStringLiteral("NTabEd1"));
        table->hide();
        connect(b, &QRadioButton::clicked, this, [this, i] { DataSetClick(i); });
        DataSetButtons[static_cast<std::size_t>(i)] = b;
        DataSetTables[static_cast<std::size_t>(i)] = table;
    }
}

void TSmooth3DInterpolation::DataSetClick(int index)
{
    if (index < 0 || index >= NumDataSets) return;
    const TNTabEd& source = *DataSetTables[static_cast<std::size_t>(index)];
    loading_ = true;
    for (int c = 1; c <= 3; ++c) TEData->SetColName(c, source.GetColName(c));
    LoadDataSet(source, DataSetButtons[static_cast<std::size_t>(index)]);
}

void TSmooth3DInterpolation::SetDefaultColors()
{
    SetColors(0xFF8080, 0x80FF80, 0x8080FF);  // light blue, light green, light red
}

void TSmooth3DInterpolation::SetColors(TColor low, TColor mid, TColor high)
{
    CSLow->SetSelColor(low);
    CSMid->SetSelColor(mid);
    CSHigh->SetSelColor(high);
}

void TSmooth3DInterpolation::GrayScaleColorsClick()
{
    SetColors(0x000000, 0xC0C0C0, 0xFFFFFF);
    NewCalcNeeded();
}

void TSmooth3DInterpolation::DefaultColorsClick()
{
    SetDefaultColors();
    NewCalcNeeded();
}

void TSmooth3DInterpolation::StoreColorsClick()
{
    const std::optional<QString> path = dialogs_->ChooseSaveFile(QString::fromLatin1(kContourColorFilter));
    if (!path) return;
    const QString error = StoreContourColors(*path, {CSLow->SelColor(), CSMid->SelColor(), CSHigh->SelColor()});
    if (!error.isEmpty()) dialogs_->ShowMessage(error);
}

void TSmooth3DInterpolation::LoadColorsClick()
{
    const std::optional<QString> path = dialogs_->ChooseOpenFile(QString::fromLatin1(kContourColorFilter));
    if (!path) return;
    QString error;
    const std::optional<TContourColors> colors = LoadContourColors(*path, error);
    if (!colors) {
        dialogs_->ShowMessage(error);
        return;
    }
    SetColors(colors->Low, colors->Mid, colors->High);
    NewCalcNeeded();
}

void TSmooth3DInterpolation::LoadDataClick()
{
    const std::optional<QString> path = dialogs_->ChooseOpenFile(QStringLiteral("Data (ASC Format)|*.asc"));
    if (!path) return;
    // Read into a table of its own: a file that fails part way leaves TEData as it was.
    TDataTable table;
    const std::string name = path->toStdString();
    std::string error;
    try {
        error = AscLoadMessage(name, table.ImportASC(name));
    } catch (const std::exception& e) {
        error = e.what();
    }
    if (!error.empty()) {
        dialogs_->ShowMessage(QString::fromStdString(error));
        return;
    }
    CopyImported(table);
    NewCalcNeeded();
}

void TSmooth3DInterpolation::CopyImported(const TDataTable& table)
{
    loading_ = true;
    const bool suppressed = TEData->SuppressPaint();
    TEData->SetSuppressPaint(true);  // one repaint for the whole table, not one per cell
    const int cols = table.GetNrCols(), rows = table.GetNrRows();
    TEData->SetNrCols(cols);
    TEData->SetNrRows(rows);
    for (int c = 1; c <= cols; ++c) {
        TEData->SetColName(c, QString::fromStdString(table.GetColName(c)));
        TEData->SetColAttrib(c, table.GetColAttrib(c));
    }
    for (int r = 1; r <= rows; ++r) {
        TEData->SetRowName(r, QString::fromStdString(table.GetRowName(r)));
        TEData->SetRowAttrib(r, table.GetRowAttrib(r));
        for (int c = 1; c <= cols; ++c) TEData->SetElem(c, r, table.GetElem(c, r));
    }
    TEData->SetComment(QString::fromStdString(table.GetComment()));
    TEData->SetSuppressPaint(suppressed);
    loading_ = false;
}

}  // namespace oxw::views
