#pragma once
// The salience contour view "OXW Analysis Evaluation": the mean pitch salience of a run by note
// and octave, as an interpolated contour map that plays the note under the mouse and as a 3-D
// surface, both coloured by one legend.

#include <array>
#include <memory>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include "controls/ColSel.h"
#include "controls/NTabEd.h"
#include "controls/NumIO.h"
#include "controls/NumLab.h"
#include "controls/Plot3D.h"
#include "controls/RChart.h"
#include "platform/Colors.h"
#include "platform/Form.h"
#include "platform/RadioButton.h"

namespace oxw::platform {
class Dialogs;
class QtDialogs;
}  // namespace oxw::platform

namespace oxw::views {

class TMeanPitchSalienceChart;

// The window's caption as designed; an opening shows it followed by the sound file's name.
inline constexpr const char* kContourViewCaption = "OXW Analysis Evaluation";

// Frequency in Hz of note n (1 = C .. 12 = B) in octave column k (1..11, octave k - 2),
// used from index 1: FreqArray[n][k].
using TFreqArray = std::array<std::array<double, 12>, 13>;

class TSmooth3DInterpolation : public platform::Form {
    Q_OBJECT
public:
    explicit TSmooth3DInterpolation(QWidget* parent = nullptr);
    ~TSmooth3DInterpolation() override;

    // The salience grid window whose MakeTheSound plays the note under the mouse.
    void SetNoteSound(TMeanPitchSalienceChart* chart) { noteSound_ = chart; }
    // The file choosers and message boxes of the window (the platform's own until set).
    void SetDialogs(platform::Dialogs* dialogs);

    // Loads the mean pitch salience from MeanPitchSalienceNTabEd1 into TEData and builds both
    // plots.
    void MeanPitchSalienceClick();
    // Recalculation: both plots and the legend rebuilt, the 3-D page active, both plots shown.
    void BButExecuteClick();
    // A data change: both plots hidden over "Recalculation required", Recalculation enabled.
    void TEDataChange();
    // Recalculates at once with automatic recalculation on; otherwise as a data change.
    void NewCalcNeeded();
    // The legend colour of a value: clamped to the legend's range, then CSLow..CSMid over the
    // lower half and CSMid..CSHigh over the upper half. A range of zero width gives CSMid.
    TColor CalcColorCoding(double value) const;
    // The mouse over the contour map at (x, y) in data units: frequency label and note.
    void RCCPlotMouseMoveInChart(double x, double y);
    // The surface's scale labels: note names, "Octave ", "Salience ".
    static void RelabelScale(TP3ScaleKind kind, QString& text);
    // A release of the mouse on the surface snaps its view into the scroll-bar ranges.
    void Plot3D1MouseUp();

    // The hidden colour group: three preset or stored colours for CSLow, CSMid and CSHigh, after
    // which the plots are recalculated (NewCalcNeeded).
    void GrayScaleColorsClick();  // black, silver, white
    void DefaultColorsClick();
    // The three colours into a ".cpc" file chosen with the save-file chooser.
    void StoreColorsClick();
    // The three colours from a ".cpc" file; a file that is not one is refused with a message and
    // changes nothing.
    void LoadColorsClick();
    // An ASC table file into TEData, then the plots recalculated as after any data change; a
    // file that does not load is refused with the reader's message and the old data kept.
    void LoadDataClick();
    // A data set's hidden table into TEData, then both plots built from it.
    void DataSetClick(int index);

    // The legend's range (the colour scale) and the data columns' extremes of the last
    // calculation (1 x, 2 y, 3 z; equal ones widened by 0.1 each way).
    double LegendLow() const { return legendLo_; }
    double LegendHigh() const { return legendHi_; }
    std::array<double, 4> mins{}, maxs{};
    std::array<int, 5> Varix{0, 1, 2, 3, 0};  // data columns used as x, y, z

    // Carriers filled by the analysis.
    QLineEdit* SavedAnalysisLoops;  // hidden; the number of output lines of the last scan
    QLabel* AnalysisLoops;
    TFreqArray FreqArray{};
    TNTabEd* MeanPitchSalienceNTabEd1;  // hidden; 3 columns (note, octave, salience) x 84 rows
    QLineEdit* SpecificLoudnessCount;   // hidden

    QTabWidget* PageControl1;  // pages TSData, TSColorMap, TS3DPlot
    QWidget* TSData;
    QWidget* TSColorMap;
    QWidget* TS3DPlot;

    TNTabEd* TEData;  // the points to interpolate: note, octave, salience
    QLineEdit* ColRef;
    QLineEdit* RowRef;
    QLineEdit* ChartingInBlack;
    QLineEdit* ChartingInBlue;
    QLineEdit* ChartingInRed;
    platform::RadioButton* MeanPitchSalience;
    QPushButton* BButExecute;  // "Recalculation"
    TRChart* RCCPlot;          // the contour map
    QLineEdit* ChartName1;
    QLineEdit* ChartName2;
    TRChart* RCColCode;  // colour legend
    QPushButton* BButExit;
    TPlot3D* Plot3D1;
    QLabel* RecalculationRequiredMap;
    QLabel* RecalculationRequired3D;

    // Parameter inputs and settings, hidden in the window (their design values are used).
    TNumIO* NIOResol;   // grid resolution, 30
    TNumIO* NIONumNb;   // neighbours, 5
    TNumIO* NIOSmooth;  // smoothing factor, 1.5
    QButtonGroup* RGWeighting;   // 0 "Gaussian", 1 "Average", 2 "Median"
    QButtonGroup* RGColorScale;  // 0 "Min/Max", 1 "Interquartil Distance"
    QCheckBox* CBoxAutoCalc;
    QCheckBox* CBoxShowData;
    QCheckBox* CBoxManualEdit;  // "allow manual editing of the data"; changes nothing
    TColSel* CSLow;
    TColSel* CSMid;
    TColSel* CSHigh;
    QScrollBar* ScrBarAngleZ;  // 0..360
    QScrollBar* ScrBarAngleX;  // 0..90
    QScrollBar* ScrBarMagnif;  // 10..100, magnification x 100
    QScrollBar* ScrBarZScale;  // 10..200: the z axis spans 100 / position of the data span
    TColSel* CSMesh;           // the surface's mesh colour, maroon; changes nothing
    QPushButton* BButDefaultSetup;  // "Default Setup"; changes nothing
    QPushButton* BButGrayScale;      // "Gray Scale Colors"
    QPushButton* BButDefaultColors;  // "Default Colors"
    QPushButton* BButStoreColors;    // "Store Colors"
    QPushButton* BButLoadColors;     // "Load Colors"
    QPushButton* BButLoadData;       // "Load Data from Disk"
    // Read-outs: the map's pointer position and the value shown there; the surface's view.
    TNumLab* NLabX;
    TNumLab* NLabY;
    TNumLab* NLabZ;
    TNumLab* NLabAngleX;
    TNumLab* NLabAngleZ;
    TNumLab* NLabMagnif;
    TNumLab* NLabZScale;
    // The further data sets, each a radio button with its table (nothing fills these tables):
    // overall specific loudness, intensity history, chroma salience, progressive pitch salience,
    // progressive chroma salience, unmasked tone frequency by level.
    static constexpr int NumDataSets = 6;
    std::array<platform::RadioButton*, NumDataSets> DataSetButtons{};
    std::array<TNTabEd*, NumDataSets> DataSetTables{};

protected:
    void showEvent(QShowEvent* event) override;  // FormShow
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildDataPage();
    void BuildColorMapPage();
    void Build3DPage();
    void BuildHiddenInputs();
    void BuildHiddenButtons(QWidget* hidden);
    void BuildReadOuts(QWidget* hidden);
    void BuildViewControls(QWidget* hidden);
    void BuildDataSets(QWidget* hidden);
    void SetColors(TColor low, TColor mid, TColor high);
    // Copies the first three columns of `source` into TEData, unchecks `button` and builds both
    // plots from the new data.
    void LoadDataSet(const TNTabEd& source, platform::RadioButton* button);
    void CopyImported(const TDataTable& table);
    // The grid value the map shows at (x, y); false outside the map's ranges.
    bool MapValueAt(double x, double y, double& z);
    void SetPlotsVisible(bool on);
    void SetDefaultColors();
    void DisplayPlots();
    void DisplayColorCoding();
    void FillGrid(const TMatrix& xy, const TVector& z, const TVector& means, const TVector& sds);
    void ApplyZScale();
    void MarkData(const TMatrix& data);

    TMeanPitchSalienceChart* noteSound_ = nullptr;
    std::unique_ptr<platform::QtDialogs> ownDialogs_;
    platform::Dialogs* dialogs_ = nullptr;
    double legendLo_ = 0.0, legendHi_ = 1.0;
    bool loading_ = false;
};

// A reduced copy of the contour view for the audibility data; created at start-up, never shown.
class TSmooth3DInterpolation_Audibility : public platform::Form {
    Q_OBJECT
public:
    explicit TSmooth3DInterpolation_Audibility(QWidget* parent = nullptr);
};

}  // namespace oxw::views
