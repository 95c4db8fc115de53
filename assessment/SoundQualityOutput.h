#pragma once
// "OXW Sound Quality Summary": the overall sound-quality figures of the last analysed sound
// and a chart of its A-weighted level over time. It computes nothing: the analysis writes the
// edits and fills the hidden table, the main window draws the chart from that table.

#include <QLineEdit>
#include <QPushButton>

#include "controls/NTabEd.h"
#include "controls/RChart.h"
#include "platform/Form.h"

namespace oxw::assessment {

class TSoundQualityOutput : public platform::Form {
    Q_OBJECT
public:
    explicit TSoundQualityOutput(QWidget* parent = nullptr);

    // "Sound Level (dB(A)"
    QLineEdit* LAMinOutput;
    QLineEdit* LA90Output;
    QLineEdit* LA10Output;
    QLineEdit* LA1Output;
    QLineEdit* LAEQOutput;
    // "Loudness (sones)"
    QLineEdit* N5Output;
    QLineEdit* N10Output;
    // "Modified Unbiassed Annoyance (iu)"
    QLineEdit* DayOutput;
    QLineEdit* NightOutput;
    // "ISO 1996-2 Tonality" (never written)
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;

    TRChart* SoundQualityChart;
    // Hidden: column 1 block time in seconds, column 2 A-weighted level in dB(A); one row per
    // recorded block plus one empty last row. Starts with that single empty row.
    TNTabEd* SoundQualityChartTable;
    QPushButton* Button1;  // "Exit"
};

}  // namespace oxw::assessment
