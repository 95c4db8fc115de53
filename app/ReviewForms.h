#pragma once
// Review windows of a run's settings, scan values and sound file header. Created at start-up
// and never shown by the workflow; the analysis may mirror its values into them.

#include <QLineEdit>
#include <QPushButton>

#include "platform/Form.h"

namespace oxw::app {

// "Determine Settings Variables"
class TForm3 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    QLineEdit* InputChannelsText;
    QLineEdit* ReversedBytesText;
    QLineEdit* CalibrationText;
    QLineEdit* ResolutionText;
    QLineEdit* OutputCompressionText;
    QLineEdit* StartTimeText;
    QLineEdit* EndTimeText;
    QLineEdit* TerhardtText;
    QLineEdit* TuningText;
    QLineEdit* CalculateValue;
    QLineEdit* FieldProcessing;
    QLineEdit* Cents;
    QLineEdit* Cents1;
    QLineEdit* Cents2;
    QLineEdit* Sizert1Value;
    QLineEdit* Sizert2Value;
    QLineEdit* InitialCounter;
    QPushButton* Button1;  // hides the window
};

// "Scan Sound File Variables"
class TScanSoundFileVariables : public platform::Form {
    Q_OBJECT
public:
    explicit TScanSoundFileVariables(QWidget* parent = nullptr);

    QLineEdit* LinesText;
    QLineEdit* FileSizeText;
    QLineEdit* WindowsText;
    QLineEdit* CounterText;
    QLineEdit* TwoChanText;
    QLineEdit* StartsText;
    QLineEdit* EndsText;
    QLineEdit* ElementsText;
    QLineEdit* CalculateText;
    QPushButton* Button1;  // "Click to close Variables Review"
};

// "Initialise Means Variables"
class TForm5 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    QPushButton* Button1;  // hides the window
};

// "WAVE File Header Information"
class TSoundFileHeaderInfo : public platform::Form {
    Q_OBJECT
public:
    explicit TSoundFileHeaderInfo(QWidget* parent = nullptr);

    QLineEdit* SelectedSoundFile;
    QPushButton* Button1;  // no action
};

}  // namespace oxw::app
