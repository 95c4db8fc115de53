#include "app/ResultHandOff.h"

#include <QLocale>
#include <QTableWidget>
#include <cmath>

#include "app/Forms.h"
#include "assessment/CarrierText.h"
#include "numeric/NumberFormat.h"

namespace oxw::app {

QString FixedText(double value, int precision, int decimals) {
    return assessment::CarrierFixedText(value, precision, decimals);
}

namespace {

void SetPitchGrid(Forms& forms, const engine::RunState& s, PitchSurface& plot) {
    QTableWidget* grid = forms.MeanPitchSalienceChart->MeanPitchGrid;
    for (int o = 7; o >= 1; --o) {
        for (int n = 1; n <= 12; ++n) {
            const int key = 12 * o - 9 + n - 1;
            const double v = (key >= 0 && key < static_cast<int>(s.PitchSalience_S.size()))
                                 ? s.PitchSalience_S[key] : 0.0;
            QString text = FixedText(0, 1, 0);
            if (v >= 0.0001) text = FixedText(v, 7, 4);
            auto* item = grid->item(7 - o, n);
            if (item == nullptr) grid->setItem(7 - o, n, item = new QTableWidgetItem);
            item->setText(text);
            plot[n][o] = v;
        }
    }
}

}  // namespace

void ClearRunResults(Forms& forms) {
    auto* quality = forms.SoundQualityOutput;
    quality->SoundQualityChartTable->SetNrRows(0);
    quality->SoundQualityChartTable->SetNrRows(1);
    quality->SoundQualityChart->ClearGraf();
    for (QLineEdit* e : {quality->DayOutput, quality->NightOutput, quality->LA1Output,
                         quality->LA10Output, quality->LA90Output, quality->LAMinOutput,
                         quality->LAEQOutput, quality->N5Output, quality->N10Output}) {
        e->clear();
    }
    forms.DecisionSupportOutput->LAEQOutput->setText(QString::fromLatin1(assessment::kNotAvailable));
    forms.DecisionSupportOutput->UBAmOutput->setText(QString::fromLatin1(assessment::kNotAvailable));
}

void HandOffResults(Forms& forms, const engine::RunState& s, const report::SummaryValues& values,
                    PitchSurface& plot) {
    auto* quality = forms.SoundQualityOutput;
    auto* decision = forms.DecisionSupportOutput;
    quality->DayOutput->setText(FixedText(values.UBA_M_Day, 10, 1));
    quality->NightOutput->setText(FixedText(values.UBA_M_Night, 10, 1));
    decision->UBAmOutput->setText(quality->NightOutput->text());
    decision->LAEQOutput->setText(FixedText(values.OverallLEQ_dBA, 8, 2));
    quality->LA1Output->setText(FixedText(s.LA1, 10, 1));
    quality->LA10Output->setText(FixedText(s.LA10, 10, 1));
    quality->LA90Output->setText(FixedText(s.LA90, 10, 1));
    quality->LAMinOutput->setText(FixedText(s.LAmin, 10, 1));
    quality->LAEQOutput->setText(FixedText(values.OverallLEQ_dBA, 10, 1));
    quality->N5Output->setText(FixedText(s.N5, 10, 1));
    quality->N10Output->setText(FixedText(s.N10, 10, 1));
    for (int k = 0; k < 22 && k < static_cast<int>(s.ThirdOct_S.size()); ++k) {
        views::frmAudibility::ThirdOct_S[k] = s.ThirdOct_S[k];
    }
    forms.Smooth3DInterpolation->SpecificLoudnessCount->setText("0");
    SetPitchGrid(forms, s, plot);
    TNTabEd* table = forms.Smooth3DInterpolation->MeanPitchSalienceNTabEd1;
    for (int o = 1; o <= 7; ++o) {
        for (int n = 1; n <= 12; ++n) {
            const int r = (o - 1) * 12 + n;
            table->SetElem(1, r, n);
            table->SetElem(2, r, o);
            table->SetElem(3, r, plot[n][o]);
        }
    }
}

void DoCharts(Forms& forms, engine::RunHost& host, const engine::RunState& s) {
    host.CreateAuditLog("S", "DoCharts");
    host.CreateAuditLog("S", "GraphSpectrum");
    host.CreateAuditLog("S", "ClearGraphic");
    host.CreateAuditLog("E", "ClearGraphic");
    host.CreateAuditLog("E", "GraphSpectrum");
    host.CreateAuditLog("S", "GraphSpecLoud");
    host.CreateAuditLog("E", "GraphSpecLoud");
    host.CreateAuditLog("S", "GraphChromaSalience");
    TNTabEd* chroma = forms.rch3dMainForm->ChromaSalience_SNTabEd1;
    for (int i = 0; i <= 12; ++i) chroma->SetElem(1, i + 1, s.ChromaSalience_S[i]);
    host.CreateAuditLog("E", "GraphChromaSalience");
    host.CreateAuditLog("S", "GraphPitchSalience");
    TNTabEd* pitch = forms.rch3dMainForm->PitchSalience_SNTabEd1;
    for (int i = 0; i < static_cast<int>(s.PitchSalience_S.size()); ++i) {
        pitch->SetElem(1, i + 1, s.PitchSalience_S[i]);
    }
    host.CreateAuditLog("E", "GraphPitchSalience");
    host.CreateAuditLog("E", "DoCharts");
}

}  // namespace oxw::app
