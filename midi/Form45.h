#pragma once
// The MIDI panel: the host of the program's one MIDI generator, MidiGen1, which plays every note
// of the salience views with the generator's defaults (so each note is heard Loops = 3 times).
// It is created at start-up and never shown; the salience views write the note last played into
// NotePan's caption and the note string last sent into StringDataMem.

#include <QLabel>
#include <QPlainTextEdit>

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
    QPlainTextEdit* StringDataMem;
    std::unique_ptr<TMidiGen> MidiGen1;
};

}  // namespace oxw::midi
