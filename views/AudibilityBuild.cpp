// Building the audibility chart: the Hoerl lines of the reference contours, the converted
// ambient with its spline, the threshold and 20-phon splines, and the audible-range hatching.
#include <cmath>

#include "views/AudibilityChart.h"

namespace oxw::views {

using namespace frmAudibility;

namespace {
constexpr std::uint8_t kDisc = 26;
constexpr int kSplineSteps = 400;   // x = i/4 up to 100
constexpr int kRangeRows = 120;     // the audible range is marked up to x = 30
constexpr int kFirstAmbientStep = 28;  // x = 7, the first band with ambient data
constexpr std::uint8_t kSplineClass = 100;

void SetYRange(TRChart* chart, double lo, double hi)
{
    chart->GetScalePropsY1()->SetRangeLow(lo);
    chart->GetScalePropsY1()->SetRangeHigh(hi);
}

void SetXRange(TRChart* chart, double lo, double hi)
{
    chart->GetScalePropsX1()->SetRangeLow(lo);
    chart->GetScalePropsX1()->SetRangeHigh(hi);
}
}  // namespace

void TFrmAudibilityChart::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    BButLogFitClick();
}

// Each showing starts from an empty chart with the design's item attributes: otherwise the
// contours would take the white, 3-pixel pen (and class 100) the last build left set.
void TFrmAudibilityChart::ResetChart()
{
    RChart1->ClearGraf();
    RChart1->SetDataColor(clBlack);
    RChart1->SetLineWidth(1);
    RChart1->SetClassDefault(0);
}

void TFrmAudibilityChart::SBClearClick()
{
    Stats1.Init();
    RChart1->ClearGraf();
    RChart1->ShowGraf();
}

void TFrmAudibilityChart::BButLogFitClick()
{
    ResetChart();
    SplineType.clear();
    for (int row = 1; row <= kSplineSteps; ++row) SplineCoordinates->SetElem(1, row, 0.0);
    DrawReferenceContours();
    DrawAmbient();
    SplineType = QStringLiteral("Hearing");
    DrawReferenceSpline(HearingThresholdLevels, clPurple, PurpleLineDescription, 3);
    RChart1->Paint();
    SplineType.clear();
    DrawReferenceSpline(LL20Levels, clWhite, SpecialLineDescription, 4);
}

void TFrmAudibilityChart::MarkEnteredPoints()
{
    for (int n = 1; n <= Stats1.NumData(); ++n) RChart1->MarkAt(Stats1.DataX(n), Stats1.DataY(n), kDisc);
}

void TFrmAudibilityChart::DrawReferenceContours()
{
    for (std::size_t c = 0; c < AudibilityReferenceContours.size(); ++c) {
        const ReferenceContour& contour = AudibilityReferenceContours[c];
        Stats1.Init();
        for (int n = 0; n < contour.NumPoints(); ++n)
            Stats1.EnterStatValue(contour.FirstBand + n, contour.Levels[n]);
        if (SeeDataPoints->isChecked()) MarkEnteredPoints();
        if (c == 0) {
            SetYRange(RChart1, -10, 90);
            SetXRange(RChart1, 1, 26);
            while (RChart1->GetTypeOfLastItem() != tkMarkAt && RChart1->GetTypeOfLastItem() != tkNone)
                RChart1->RemoveLastItem();
        } else {
            if (c == 5) SetXRange(RChart1, Stats1.DataX(1), Stats1.DataX(26));
            RChart1->Paint();
        }
        PlotTheHoerlFitLine();
        const int row = contour.Level / 5 + 7;
        RightYIntercepts[row][1] = contour.Level;
        RightYIntercepts[row][2] = LastRightYIntercept;
    }
}

void TFrmAudibilityChart::PlotTheHoerlFitLine()
{
    Stats1.CalcHoerlFit(k0, k1, k2, FitQUal);
    const double lo = RChart1->GetScalePropsX1()->RangeLow();
    const double hi = RChart1->GetScalePropsX1()->RangeHigh();
    if (lo > 0)
        RChart1->MoveTo(lo, k0 * std::pow(k1, lo) * std::pow(lo, k2));
    else
        RChart1->MoveTo(0, -1000000);
    const double xstep = (hi - lo) / ChartXRes;
    for (int i = 1; i <= ChartXRes; ++i) {
        const double x = lo + i * xstep;
        const double y = k0 * std::exp(x * std::log(k1)) * std::exp(k2 * std::log(x));
        if (x > 0) RChart1->DrawTo(x, y);
        LastRightYIntercept = y;
    }
    RChart1->ShowGraf();
}

void TFrmAudibilityChart::DrawAmbient()
{
    Stats1.Init();
    for (int k = 0; k < 20; ++k) Stats1.EnterStatValue(k + 7, I2dB(ThirdOct_S[k]));
    AdjustedYArray.fill(0.0);
    for (int i = 1; i <= 20; ++i) AdjustedYArray[i] = ConvertAmbientLevel(Stats1.DataY(i), HzTable[i + 6 - 1]);

    Stats1.Init();
    for (int i = 1; i <= 20; ++i) Stats1.EnterStatValue(i + 6, AdjustedYArray[i]);
    RedLineDescription->setVisible(true);
    ColourCode = 1;
    RChart1->SetDataColor(clRed);
    MarkEnteredPoints();
    RChart1->SetDataColor(clSkyBlue);
    StartSplineHere = RChart1->GetScalePropsX1()->RangeLow() + 6;
    DravolekCalcAndShowSpline();
    RChart1->ShowGraf();
    RChart1->Paint();
}

void TFrmAudibilityChart::DrawReferenceSpline(const std::array<double, NumBands>& levels, TColor colour,
                                              QLabel* legend, int colourCode)
{
    Stats1.Init();
    for (int b = 1; b <= NumBands; ++b) Stats1.EnterStatValue(b, levels[b - 1]);
    legend->setVisible(true);
    ColourCode = colourCode;
    RChart1->SetDataColor(colour);
    MarkEnteredPoints();
    RChart1->Paint();
    RChart1->SetLineWidth(3);
    SetYRange(RChart1, -10, 90);
    StartSplineHere = 0;
    CalcAndShowSpline();
    RChart1->ShowGraf();
}

void TFrmAudibilityChart::CalcAndShowSpline()
{
    if (Stats1.NumData() == 0) return;
    RChart1->SetClassDefault(kSplineClass);
    RChart1->MoveTo(StartSplineHere, Stats1.DataY(1));
    const bool hearing = SplineType == QLatin1String("Hearing");
    for (int i = 1; i <= kSplineSteps; ++i) {
        const double x = i / 4.0;
        const double y = Stats1.CubicSpline(x);
        RChart1->DrawTo(x, y);
        if (hearing) {
            SplineCoordinates->SetElem(2, i, i);
            SplineCoordinates->SetElem(3, i, y);
        }
    }
    RChart1->ShowGraf();
    RChart1->Paint();
}

void TFrmAudibilityChart::DravolekCalcAndShowSpline()
{
    if (Stats1.NumData() == 0) return;
    RChart1->SetClassDefault(kSplineClass);
    RChart1->MoveTo(StartSplineHere, Stats1.DataY(1));
    for (int i = 1; i <= kSplineSteps; ++i) {
        const double x = i / 4.0;
        const double y = Stats1.CubicSpline(x);
        if (StartSplineHere > 0 && i >= kFirstAmbientStep) {
            if (ColourCode == 1) RChart1->SetDataColor(clRed);
            RChart1->DrawTo(x, y);
            SplineCoordinates->SetElem(4, i, y);
            SplineCoordinates->SetElem(1, i, 1.0);
        }
    }
    RChart1->ShowGraf();
    RChart1->Paint();
}

void TFrmAudibilityChart::WhatRangeMightIHearClick()
{
    TNTabEd& t = *SplineCoordinates;
    for (int i = 1; i <= kRangeRows; ++i) {
        RChart1->SetDataColor(clSkyBlue);
        if (t.GetElem(1, i) == 1) {
            RChart1->SetDataColor(clBlue);
            t.SetElem(5, i, t.GetElem(4, i) - t.GetElem(3, i));
            if (t.GetElem(5, i) > 0) {
                const double x = t.GetElem(2, i) / 4;
                RChart1->MoveTo(x, t.GetElem(3, i));
                RChart1->DrawTo(x, t.GetElem(4, i));
                RChart1->SetDataColor(clSkyBlue);
            }
        }
        t.SetElem(5, i, t.GetElem(4, i) - t.GetElem(3, i));
        RChart1->ShowGraf();
        RChart1->SetDataColor(clSkyBlue);
    }
    RChart1->ShowGraf();
    RChart1->Paint();
}

}  // namespace oxw::views
