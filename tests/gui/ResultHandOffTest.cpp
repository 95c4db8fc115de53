// The overall results handed to the result windows at the end of pass 1, and the exit before
// any run.
#include <QImage>
#include <QLocale>
#include <QTableWidget>
#include <cmath>
#include <cstdio>
#include <limits>

#include <gtest/gtest.h>

#include "app/Forms.h"
#include "app/ResultHandOff.h"
#include "app/TForm1.h"
#include "assessment/SoundQualityOutput.h"
#include "controls/RChart.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedSoundSystem.h"
#include "support/ScriptedHost.h"

using namespace oxw;

namespace {

class HandOff : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        app::CreateForms(forms, dialogs, sound);
        forms.Form1->SetDialogs(&dialogs);
        s.PitchSalience_S.assign(88, 0.0);
        s.ThirdOct_S.assign(22, 0.0);
    }
    void TearDown() override { app::DestroyForms(forms); }
    platform::ScriptedDialogs dialogs;
    platform::ScriptedSoundSystem sound;
    app::Forms forms;
    engine::RunState s;
    app::PitchSurface plot{};
};

TEST_F(HandOff, FixedTextAndNonFiniteValues) {
    struct Case { double v; int p, d; const char* text; };
    const Case cases[] = {{0.25, 7, 4, "0.2500"}, {0.0001, 7, 4, "0.0001"}, {63.456, 8, 2, "63.46"},
                          {63.45, 10, 1, "63.5"}, {0, 1, 0, "0"},
                          {std::nan(""), 8, 2, "not available"},
                          {std::numeric_limits<double>::infinity(), 10, 1, "not available"}};
    for (const auto& c : cases) EXPECT_EQ(app::FixedText(c.v, c.p, c.d).toStdString(), c.text) << c.v;
}

TEST_F(HandOff, EveryEditGetsItsOwnValueAndFormat) {
    // Distinct values, each with a digit beyond the kept decimals, so a swapped target or a
    // wrong number of decimals shows.
    report::SummaryValues values;
    values.UBA_M_Day = 1.04, values.UBA_M_Night = 2.06, values.OverallLEQ_dBA = 63.456;
    s.LA1 = 71.11, s.LA10 = 72.26, s.LA90 = 73.34, s.LAmin = 74.45, s.N5 = 5.55, s.N10 = 6.64;
    app::HandOffResults(forms, s, values, plot);
    const auto* q = forms.SoundQualityOutput;
    const auto* d = forms.DecisionSupportOutput;
    const struct { const QLineEdit* edit; const char* text; } cases[] = {
        {q->DayOutput, "1.0"},   {q->NightOutput, "2.1"}, {d->UBAmOutput, "2.1"},
        {d->LAEQOutput, "63.46"}, {q->LA1Output, "71.1"}, {q->LA10Output, "72.3"},
        {q->LA90Output, "73.3"}, {q->LAMinOutput, "74.5"}, {q->LAEQOutput, "63.5"},
        {q->N5Output, "5.6"},    {q->N10Output, "6.6"}};
    for (const auto& c : cases) EXPECT_EQ(c.edit->text().toStdString(), c.text) << c.text;
}

TEST_F(HandOff, WholeSalienceGridAndTable) {
    // Key k holds (k + 1) / 1000, so every cell names its key: cell (note n, row 7 - o) holds
    // key 12 o - 10 + n. Keys 0..2 (A0..B0) and 87 (C8) lie outside the seven octaves; key 14
    // (B1) is below the shown threshold of 0.0001.
    for (int k = 0; k < 88; ++k) s.PitchSalience_S[k] = (k + 1) / 1000.0;
    s.PitchSalience_S[14] = 0.00009;
    s.ThirdOct_S[7] = 1e6;
    report::SummaryValues values;
    values.OverallLEQ_dBA = std::nan("");  // no block was recorded
    app::HandOffResults(forms, s, values, plot);
    QTableWidget* grid = forms.MeanPitchSalienceChart->MeanPitchGrid;
    TNTabEd* table = forms.Smooth3DInterpolation->MeanPitchSalienceNTabEd1;
    for (int o = 1; o <= 7; ++o) {
        for (int n = 1; n <= 12; ++n) {
            const int key = 12 * o - 10 + n;
            const double v = key == 14 ? 0.00009 : (key + 1) / 1000.0;
            char text[16];
            std::snprintf(text, sizeof text, "%.4f", v);
            ASSERT_NE(grid->item(7 - o, n), nullptr) << key;
            EXPECT_EQ(grid->item(7 - o, n)->text().toStdString(), key == 14 ? "0" : text) << key;
            const int r = (o - 1) * 12 + n;
            EXPECT_TRUE(table->GetElem(1, r) == n && table->GetElem(2, r) == o && table->GetElem(3, r) == v) << r;
            EXPECT_DOUBLE_EQ(plot[n][o], v);
        }
    }
    EXPECT_EQ(grid->item(0, 1)->text(), "0.0760");  // C7 (key 75) at row 0, column 1
    EXPECT_EQ(grid->item(6, 11)->text(), "0.0140");  // A#1 (key 13) at row 6, column 11
    EXPECT_TRUE(grid->item(0, 0) == nullptr && grid->item(7, 1) == nullptr);  // column 0, row 7 unwritten
    EXPECT_EQ(views::frmAudibility::ThirdOct_S[7], 1e6);
    EXPECT_EQ(forms.DecisionSupportOutput->LAEQOutput->text(), "not available");
    EXPECT_EQ(forms.Smooth3DInterpolation->SpecificLoudnessCount->text(), "0");
}

TEST_F(HandOff, ChartRoutinesFillTheBarViewTables) {
    for (int i = 0; i < 12; ++i) s.ChromaSalience_S[i] = i + 1;
    for (int k = 0; k < 88; ++k) s.PitchSalience_S[k] = k + 0.5;
    TNTabEd* chroma = forms.rch3dMainForm->ChromaSalience_SNTabEd1;
    TNTabEd* pitch = forms.rch3dMainForm->PitchSalience_SNTabEd1;
    for (int r = 89; r <= 100; ++r) pitch->SetElem(1, r, -r);
    test::ScriptedHost host;
    app::DoCharts(forms, host, s);
    // Row i + 1 from element i; chroma row 13 (never accumulated) is 0; pitch rows 89..100 keep
    // what they hold.
    for (int i = 0; i < 12; ++i) EXPECT_EQ(chroma->GetElem(1, i + 1), i + 1) << i;
    EXPECT_EQ(chroma->GetElem(1, 13), 0);
    for (int k = 0; k < 88; ++k) EXPECT_EQ(pitch->GetElem(1, k + 1), k + 0.5) << k;
    for (int r = 89; r <= 100; ++r) EXPECT_EQ(pitch->GetElem(1, r), -r) << r;
    const std::vector<test::LogLine> expected = {
        {"S", "DoCharts"}, {"S", "GraphSpectrum"}, {"S", "ClearGraphic"}, {"E", "ClearGraphic"},
        {"E", "GraphSpectrum"}, {"S", "GraphSpecLoud"}, {"E", "GraphSpecLoud"},
        {"S", "GraphChromaSalience"}, {"E", "GraphChromaSalience"}, {"S", "GraphPitchSalience"},
        {"E", "GraphPitchSalience"}, {"E", "DoCharts"}};
    EXPECT_EQ(host.log, expected);
}

TEST_F(HandOff, ExitBeforeAnyRunClosesAtOnce) {
    forms.Form1->show();
    forms.Form1->Exit1Click();
    EXPECT_FALSE(forms.Form1->isVisible());
    EXPECT_FALSE(forms.Form1->Files().Named());
}

}  // namespace

namespace {

// The rows of the trace's pixels inside the chart's data area (the frame excluded).
struct TraceRows { int first = -1, last = -1, top = 0, bottom = 0; };
TraceRows TracePixels(TRChart& chart) {
    chart.resize(480, 300);
    const QImage image = chart.grab().toImage();
    TraceRows t;
    t.top = chart.MarginTop();
    t.bottom = chart.height() - chart.MarginBottom() - 1;
    for (int y = t.top + 1; y < t.bottom; ++y)
        for (int x = chart.MarginLeft() + 1; x < chart.width() - chart.MarginRight() - 1; ++x)
            if (qGray(image.pixel(x, y)) < 64) {
                if (t.first < 0) t.first = y;
                t.last = y;
            }
    return t;
}

// The level trace of the sound-quality window lies inside its plot, clear of the borders: a
// steady recording's flat trace as well as a varying one.
TEST_F(HandOff, SoundQualityTraceLiesInsideThePlot) {
    struct Case { const char* name; double low, high; };
    const Case cases[] = {{"steady", 76.5, 76.5}, {"varying", 60.0, 80.0}, {"nearly steady", 76.5, 76.52}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh table holds one empty row; after a chart has been drawn, none.
        TNTabEd* table = forms.SoundQualityOutput->SoundQualityChartTable;
        if (&c != cases) table->SetNrRows(0);
        for (int r = 0; r < 40; ++r) forms.Form1->AddSoundQualityRow(0.05 * r, r % 2 ? c.high : c.low);
        forms.Form1->Label52Click();
        ASSERT_EQ(table->GetNrRows(), 40);
        ASSERT_EQ(table->GetElem(2, 1), c.low);
        const TraceRows t = TracePixels(*forms.SoundQualityOutput->SoundQualityChart);
        const int height = t.bottom - t.top;
        ASSERT_GE(t.first, 0);  // a trace inside the plot
        // At least 4 % of the height (5 % of the span on each side, or 1 dB) from each border.
        EXPECT_GE(t.first - t.top, 0.04 * height);
        EXPECT_GE(t.bottom - t.last, 0.04 * height);
        if (c.high - c.low > 10) {
            EXPECT_GE(t.last - t.first, 0.8 * height);  // the trace fills the plot
        }
    }
}

}  // namespace
