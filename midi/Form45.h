#pragma once
// The MIDI panel: the host of the program's one MIDI generator, MidiGen1, which plays every note
// of the salience views with the generator's defaults (so each note is heard Loops = 3 times).
// It is created at start-up and never shown; the salience views write the note last played into
// NotePan's caption and the note string last sent into StringDataMem.
//
// The rest of the panel is a control panel for the generator that nothing shows and that has no
// handlers: its sliders, selectors, lists and buttons change nothing, and its timer never runs.

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>

#include <array>
#include <memory>

#include "midi/MidiGen.h"
#include "platform/Form.h"
#include "platform/MidiStreamOutput.h"

namespace oxw::midi {

class TForm45 : public platform::Form {
    Q_OBJECT
public:
    // Without an output the generator plays on the program's synthesiser.
    explicit TForm45(QWidget* parent = nullptr, std::unique_ptr<platform::MidiStreamOutput> output = nullptr);
    ~TForm45() override;

    QLabel* NotePan;
    QPlainTextEdit* StringDataMem;  // the note-string memo
    std::unique_ptr<TMidiGen> MidiGen1;

    // Sliders, placed where the generator's defaults would read under the panel's rule: a
    // slider's value is 100 minus its position (pan: positions 0..200 for -100..100), the bend
    // minus its position x 10 (tenths of a semitone).
    QSlider* VolumeBar;        // 0..100
    QSlider* PanBar;           // 0..200
    QSlider* ModulationBar;    // 0..100
    QSlider* ReverbBar;        // 0..100
    QSlider* ChorusBar;        // 0..100
    QSlider* PitchBendBar;     // "Level", -12..12 semitones
    QSlider* BendDelayBar;     // 0..100
    QSlider* BendDurationBar;  // 0..100
    QSpinBox* OctaveSel;       // 0..10
    QCheckBox* SustainSel;
    QSpinBox* LoopsSel;
    QSpinBox* DurationSel;  // ticks, in steps of 10
    QListWidget* InstrumentList;  // the 175 instrument values
    QListWidget* ChannelList;     // channels 1..16
    std::array<QPushButton*, 12> NoteButtons{};  // "C" .. "B"
    std::array<QPushButton*, 2> DemoButtons{};   // beside the note-string memo
    QTimer* RandomPlayTimer;                     // random play; stopped

private:
    QLayout* BuildSliders();
    QLayout* BuildSelectors();
    QLayout* BuildNoteButtons();
};

}  // namespace oxw::midi
