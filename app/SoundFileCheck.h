#pragma once
// "OXW Analysing Sound File Header Data": the per-file check dialog of a run. The analysis
// writes the facts of the sound file's header into its read-only edits and prepares its time
// lists; the user reveals the settings with "Continue Analysis" and accepts with "Left click to
// continue", or ends the program. This class holds the controls in their design states; the
// dialog's behaviour belongs to the main window's analysis code.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/Form.h"
#include "platform/RadioButton.h"

namespace oxw::app {

class TSoundFileCheck : public platform::Form {
    Q_OBJECT
public:
    explicit TSoundFileCheck(QWidget* parent = nullptr);

    // Group "Sound File Properties ".
    QGroupBox* SoundFilePropertiesGroup;
    QLineEdit* SoundFileIdentifier;
    QLineEdit* SoundFileType;
    QLineEdit* SoundFileFormatDataDetected;
    QLineEdit* SoundFileCompressionCode;
    QLineEdit* SoundFileNoOfChannels;
    QLineEdit* SoundFileBitsPerSample;
    QLabel* Label11;  // "Sound File Number of Channels"

    // Group "Sound File Processing Data".
    QGroupBox* SoundFileProcessingGroup;
    QLineEdit* SoundFileSize;
    QLineEdit* SoundFileTotalBytes;
    QLineEdit* SoundFileSampleRate;
    QLineEdit* SoundFileAvBytesPerSecond;
    QLineEdit* SoundFileBytePerSampleSlice;
    QLineEdit* SoundFileEstimatedRunTime;

    QLabel* AnalysisTerminateMessage;  // hidden: "Click Continue or Terminate.   "
    QPushButton* ContnueAnalysis;      // "Continue Analysis"
    QPushButton* TerminateAnalysis;    // "Terminate Analysis"
    QPushButton* Button1;              // hidden: "Left click to continue"
    QPushButton* DoAnalyseThis;        // disabled and hidden: "Select Sound to be Analysed"

    // Setting groups, hidden until "Continue Analysis".
    QGroupBox* SelectTimesGroup;  // "Set Analysis Times (seconds)"
    QComboBox* SoundFileStartTime;
    QComboBox* SoundFileEndTime;

    QGroupBox* SelectProcessingGroup;  // "Set Processing"
    platform::RadioButton* ProcessingFree;
    platform::RadioButton* ProcessingDiffuse;
    platform::RadioButton* ProcessingEardrum;

    QGroupBox* SelectResolutionGroup;  // "Set Resolution"
    platform::RadioButton* HighResolution;
    platform::RadioButton* LowResolution;

    QGroupBox* SelectCalibrationGroup;  // "Set Calibration (dB)"
    QLineEdit* InputCalibration;
    QComboBox* OutputCompression;  // "1" .. "10"

    QGroupBox* SelectTerhardtGroup;  // "Set Terhardt"
    platform::RadioButton* IncludeTerhardt;
    platform::RadioButton* OmitTerhardt;

    QGroupBox* FilterOptions;  // "Set User Filter": the window functions
    platform::RadioButton* RectangularFilter;
    platform::RadioButton* HanningFilter;
    platform::RadioButton* TriangularFilter;
    platform::RadioButton* WelchFilter;
    platform::RadioButton* BlackmanFilter;
    platform::RadioButton* KaiserBesselFilter;
    platform::RadioButton* FlatTopFilter;
    platform::RadioButton* HammingFilter;

    QGroupBox* SwapInputBytes;  // "Input File"
    platform::RadioButton* WavFile;
    platform::RadioButton* AIFFFile;

    QCheckBox* MakeLogFile;
    QCheckBox* TraceComputations;

    QGroupBox* ChannelAnalysisSelection;  // "2 Channel File"
    platform::RadioButton* DoChannel1;
    platform::RadioButton* DoChannel2;
    platform::RadioButton* DoChannelBoth;

private:
    QGroupBox* BuildPropertiesGroup();
    QGroupBox* BuildProcessingDataGroup();
    QGroupBox* BuildTimesGroup();
    void BuildSettingGroups();
    QGroupBox* BuildFilterGroup();
};

}  // namespace oxw::app
