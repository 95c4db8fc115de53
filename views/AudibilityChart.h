#pragma once
// The audibility chart "OXW Audibility": the third-octave spectrum of the analysed sound
// against the hearing threshold and reference loudness contours. This slice holds the window
// and its controls; the chart is built with the curve fits later.

#include <array>

#include <QPlainTextEdit>
#include <QPushButton>

#include "controls/NTabEd.h"
#include "controls/RChart.h"
#include "platform/Form.h"

namespace oxw::views {

namespace frmAudibility {
// The file's mean third-octave band intensities (linear power, not levels), bands 125 Hz
// (index 0) to 16 kHz (index 21); written by the summary writer at the end of a standard pass,
// all 0 until then.
extern std::array<double, 22> ThirdOct_S;
}  // namespace frmAudibility

class TFrmAudibilityChart : public platform::Form {
    Q_OBJECT
public:
    explicit TFrmAudibilityChart(QWidget* parent = nullptr);

    TRChart* RChart1;
    TNTabEd* SplineCoordinates;  // hidden; 5 columns x 1600 rows of spline samples
    QPushButton* BButLogFit;     // hidden; "Click here to show chart"
    QPushButton* WhatRangeMightIHear;
    QPushButton* BButExit;
    QPlainTextEdit* Memo1;
};

}  // namespace oxw::views
