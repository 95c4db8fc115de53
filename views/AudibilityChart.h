#pragma once
// The audibility chart "OXW Audibility": the third-octave spectrum of the analysed sound (the
// "ambient") against eighteen reference contours, the hearing threshold and the 20-phon contour.
// x is the band index 1..26 (31.5 Hz to 10 kHz), y the level in dB. Every showing builds the
// chart afresh from ThirdOct_S; "What range might I hear?" hatches where the ambient spline lies
// above the threshold spline.

#include <array>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "controls/NTabEd.h"
#include "controls/RChart.h"
#include "numeric/CurveFit.h"
#include "platform/Form.h"
#include "views/AudibilityData.h"

namespace oxw::views {

namespace frmAudibility {
// The file's mean third-octave band intensities (linear power, not levels), bands 125 Hz
// (index 0) to 16 kHz (index 21); written by the summary writer at the end of a standard pass,
// all 0 until then. Elements 0..19 are shown at bands 7..26.
extern std::array<double, 22> ThirdOct_S;
// Steps of a Hoerl line across the x range.
inline constexpr int ChartXRes = 100;
}  // namespace frmAudibility

class TFrmAudibilityChart : public platform::Form {
    Q_OBJECT
public:
    explicit TFrmAudibilityChart(QWidget* parent = nullptr);

    TRChart* RChart1;
    TCurveFit Stats1;
    // Hidden spline samples, row i for x = i/4: 1 where the ambient was drawn, the step number,
    // the threshold spline, the ambient spline, ambient minus threshold.
    TNTabEd* SplineCoordinates;
    QCheckBox* SeeDataPoints;    // hidden, unchecked
    QPushButton* BButLogFit;     // hidden; "Click here to show chart"
    QPushButton* WhatRangeMightIHear;
    QPushButton* BButExit;
    QLabel* RedLineDescription;
    QLabel* PurpleLineDescription;
    QLabel* SpecialLineDescription;
    QWidget* Panel3;             // the band labels under the axis
    QPlainTextEdit* Memo1;

    // Builds the chart (OnShow and the hidden button).
    void BButLogFitClick();
    // Marks the audible range: a blue segment from threshold to ambient at every quarter band
    // (up to x = 30) where the ambient was drawn and lies above the threshold.
    void WhatRangeMightIHearClick();
    // Empties the fitter and the chart and shows the empty chart. No control calls it.
    void SBClearClick();

    // Row L/5 + 7 holds (L, value at band 26 of the Hoerl line) of the contour of level L.
    std::array<std::array<double, 8>, 27> RightYIntercepts{};  // [1..26][1..7]
    double k0 = 0, k1 = 0, k2 = 0, FitQUal = 0;
    double LastRightYIntercept = 0;
    double StartSplineHere = 0;
    int ColourCode = 0;
    QString SplineType;
    // The converted ambient levels of bands 7..26 at indexes 1..20.
    std::array<double, 27> AdjustedYArray{};

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ResetChart();
    void DrawReferenceContours();
    void DrawAmbient();
    void DrawReferenceSpline(const std::array<double, frmAudibility::NumBands>& levels, TColor colour,
                             QLabel* legend, int colourCode);
    void MarkEnteredPoints();
    void PlotTheHoerlFitLine();
    void CalcAndShowSpline();
    void DravolekCalcAndShowSpline();
};

}  // namespace oxw::views
