#pragma once
// The salience contour view "OXW Analysis Evaluation": the mean pitch salience of a run by note
// and octave, as an interpolated contour map that plays the note under the mouse and as a 3-D
// surface. This slice holds the window's controls and the carriers the analysis fills; the
// interpolation and the plots come later.

#include <array>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include "controls/NTabEd.h"
#include "controls/RChart.h"
#include "platform/Form.h"
#include "platform/RadioButton.h"

namespace oxw::views {

// Frequency in Hz of note n (1 = C .. 12 = B) in octave column k (1..11, octave k - 2),
// used from index 1: FreqArray[n][k].
using TFreqArray = std::array<std::array<double, 12>, 13>;

class TSmooth3DInterpolation : public platform::Form {
    Q_OBJECT
public:
    explicit TSmooth3DInterpolation(QWidget* parent = nullptr);

    // Loads the mean pitch salience from MeanPitchSalienceNTabEd1 and builds both plots.
    // Nothing visible yet: the plots come with the interpolation.
    void MeanPitchSalienceClick();

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

private:
    void BuildDataPage();
    void BuildColorMapPage();
    void Build3DPage();
};

// A reduced copy of the contour view for the audibility data; created at start-up, never shown.
class TSmooth3DInterpolation_Audibility : public platform::Form {
    Q_OBJECT
public:
    explicit TSmooth3DInterpolation_Audibility(QWidget* parent = nullptr);
};

}  // namespace oxw::views
