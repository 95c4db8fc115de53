#pragma once
// The per-file check dialog as the engine sees it: the texts, marks, lists and choices that the
// header reading writes and the settings intake reads back. The dialog window binds to it.
#include <string>
#include <vector>

namespace oxw::engine {

struct CheckField {
    std::string Text;
    bool Marked = false;  // shown red and bold: the field does not match what is expected
};

struct SoundFileCheckForm {
    std::string Caption = "OXW Analysing Sound File Header Data";

    // Header facts.
    CheckField SoundFileIdentifier, SoundFileType, SoundFileFormatDataDetected;
    CheckField SoundFileCompressionCode, SoundFileNoOfChannels, SoundFileBitsPerSample;
    CheckField SoundFileSize, SoundFileTotalBytes, SoundFileSampleRate;
    CheckField SoundFileAvBytesPerSecond, SoundFileBytePerSampleSlice, SoundFileEstimatedRunTime;
    std::string Label11 = "Sound File Number of Channels";
    bool Label11Marked = false;

    std::string AnalysisTerminateMessage = "Click Continue or Terminate.   ";
    bool AnalysisTerminateMessageVisible = false;
    bool ContnueAnalysisVisible = true;
    bool TerminateAnalysisVisible = true;
    bool Button1Visible = false;
    bool SettingsVisible = false;  // the setting groups, revealed by "Continue Analysis"

    // Times: the lists' entries and the chosen texts.
    std::vector<std::string> StartTimeItems, EndTimeItems;
    std::string SoundFileStartTime, SoundFileEndTime;

    // Settings groups (design states).
    bool SelectTimesGroupEnabled = true, SelectProcessingGroupEnabled = true,
         SelectResolutionGroupEnabled = true, SelectCalibrationGroupEnabled = true,
         SelectTerhardtGroupEnabled = true, FilterOptionsEnabled = true,
         ChannelAnalysisSelectionEnabled = true, SwapInputBytesEnabled = true;
    bool ChannelAnalysisSelectionVisible = false;
    bool ProcessingFree = true, ProcessingDiffuse = false, ProcessingEardrum = false;
    bool HighResolution = false, LowResolution = true;
    bool IncludeTerhardt = true, OmitTerhardt = false;
    bool DoChannel1 = false, DoChannel2 = false, DoChannelBoth = true;
    std::string InputCalibration = "0";
    std::string OutputCompression = "1";
    char WINFUNCT = 'N';  // letter of the checked window radio
};

}  // namespace oxw::engine
