#pragma once
// The MIDI panel: the host of the program's one MIDI generator. It is created at start-up and
// never shown; the salience views write the note last played into NotePan's caption and the
// note string last sent into StringDataMem. The generator itself comes with the MIDI output.

#include <QLabel>
#include <QPlainTextEdit>

#include "platform/Form.h"

namespace oxw::midi {

class TForm45 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm45(QWidget* parent = nullptr);

    QLabel* NotePan;
    QPlainTextEdit* StringDataMem;
};

}  // namespace oxw::midi
