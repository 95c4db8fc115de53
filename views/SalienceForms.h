#pragma once
// The hidden salience windows: the note-by-octave grid (whose MakeTheSound plays a note for the
// contour view), the 3-D surface of the mean pitch salience and the 3-D bar view. They are
// created at start-up and never shown; their tables carry the run's salience results.

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "controls/NTabEd.h"
#include "midi/MidiTypes.h"
#include "platform/Form.h"

namespace oxw::midi {
class TForm45;
}

namespace oxw::views {

using midi::kNoteNames;

class TMeanPitchSalienceChart : public platform::Form {
    Q_OBJECT
public:
    explicit TMeanPitchSalienceChart(QWidget* parent = nullptr);

    // The MIDI panel whose generator plays the notes (set once the windows are created).
    void SetMidiPanel(oxw::midi::TForm45* panel) { Form45 = panel; }
    // Plays note 12 x oct + nv (nv 0..11 from C, ni its name "C", "C#" ... "B") as instrument 2,
    // Electric Grand Piano, and writes "<note> : mg<ni> : <ni><oct>" into the panel's NotePan.
    void MakeTheSound(int oct, int nv, const QString& ni);
    // A click on a salience cell Edit<note><row>: plays the cell's note (note 1..12 from C, octave
    // 7 - row) when the cell holds a number above LowSalienceTest.
    void SalienceCellClick(QLineEdit* cell);

    // Saliences at or below this are too low to be worth a note.
    static constexpr double LowSalienceTest = 9.99999e-05;

    // Hidden grid of salience texts: 13 columns (1..12 notes C..B) x 8 rows (0..6 octaves 7..1).
    QTableWidget* MeanPitchGrid;
    QPushButton* Button1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    oxw::midi::TForm45* Form45 = nullptr;
};

class TMeanPitchSaliencePlot3DForm1 : public platform::Form {
    Q_OBJECT
public:
    explicit TMeanPitchSaliencePlot3DForm1(QWidget* parent = nullptr);
};

class Trch3dMainForm : public platform::Form {
    Q_OBJECT
public:
    explicit Trch3dMainForm(QWidget* parent = nullptr);

    TNTabEd* ChromaSalience_SNTabEd1;  // hidden; 1 column x 13 rows, mean chroma saliences
    TNTabEd* PitchSalience_SNTabEd1;   // hidden; 1 column x 100 rows, mean pitch saliences
    TNTabEd* Tones_SNTabEd1;           // hidden; 1 column x 512 rows for detected tones; nothing fills it
};

}  // namespace oxw::views
