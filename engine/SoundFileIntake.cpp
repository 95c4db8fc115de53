// Header intake into the check dialog and settings intake from it into the run parameters.
#include "engine/SoundFileIntake.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "engine/Convert.h"
#include "engine/Engine.h"
#include "engine/WavHeader.h"

namespace oxw::engine {

namespace {

void Show(CheckField& f, std::string text, bool mismatch = false) {
    f.Text = std::move(text);
    f.Marked = mismatch;
}

// The RIFF size as far as the file holds it: a size field of 0 (written by recorders that
// stream) or one that claims more than follows the 8-byte RIFF chunk header counts as the rest of
// the file.
std::int64_t RiffSizeHeld(std::uint32_t declared, std::uint64_t fileSize) {
    const std::uint64_t held = fileSize > 8 ? fileSize - 8 : 0;
    return static_cast<std::int64_t>(declared == 0 || declared > held ? held : declared);
}

// Every run shows its file in the dialog as designed: its caption, empty time lists, the header
// fields unmarked, the settings hidden and the first two buttons offered. The user's settings
// (times chosen, resolution, calibration, window ...) stay as they are.
void StartFromDesign(SoundFileCheckForm& f) {
    const SoundFileCheckForm design;
    f.Caption = design.Caption;
    f.Label11 = design.Label11;
    f.Label11Marked = design.Label11Marked;
    f.AnalysisTerminateMessage = design.AnalysisTerminateMessage;
    f.AnalysisTerminateMessageVisible = design.AnalysisTerminateMessageVisible;
    f.ContnueAnalysisVisible = design.ContnueAnalysisVisible;
    f.TerminateAnalysisVisible = design.TerminateAnalysisVisible;
    f.Button1Visible = design.Button1Visible;
    f.SettingsVisible = design.SettingsVisible;
    f.ChannelAnalysisSelectionVisible = design.ChannelAnalysisSelectionVisible;
    f.StartTimeItems.clear();
    f.EndTimeItems.clear();
}

// The calibration a user could mean, in dB either side of 0.
constexpr double kMaxCalibration = 200.0;

// A whole number for a message: the bounds of a range are whole numbers of their unit.
std::string WholeText(double x) { return std::to_string(static_cast<long long>(x)); }

// A whole number typed into the dialog. A number too large for 64 bits reads as an infinity of
// its sign, to be refused as out of range (an end: read as the end of the sound data).
double TypedWholeNumber(const std::string& text, const char* field, const char* unit) {
    if (const std::optional<double> v = WholeNumber(text)) return *v;
    throw std::invalid_argument("The " + std::string(field) + " '" + text +
                                "' is not a whole number of " + unit);
}

int TypedCompression(const std::string& text) {
    try {
        return StrToInt(text);
    } catch (const std::invalid_argument&) {
        throw std::invalid_argument("The compression '" + text +
                                    "' is not a whole number of blocks");
    }
}

}  // namespace

std::optional<std::string> AcceptanceRefusal(const SoundFileCheckForm& form) {
    // A header field of the file can exceed an Integer (a sample rate of 3000000000): such a
    // text cannot meet the input requirements and is refused like any other, never thrown from
    // inside the dialog's button.
    const auto whole = [](const std::string& text) -> std::optional<int> {
        try {
            return StrToInt(text);
        } catch (const std::invalid_argument&) {
            return std::nullopt;
        }
    };
    const auto rate = whole(form.SoundFileSampleRate.Text);
    const auto bits = whole(form.SoundFileBitsPerSample.Text);
    const auto channels = whole(form.SoundFileNoOfChannels.Text);
    const auto runTime = whole(form.SoundFileEstimatedRunTime.Text);
    if (rate == 44100 && bits == 16 && (channels == 1 || channels == 2) && runTime &&
        *runTime >= 2) {
        return std::nullopt;
    }
    const std::string stats = "Sample rate " + form.SoundFileSampleRate.Text + " Bits/Sample " +
                              form.SoundFileBitsPerSample.Text + " Channels " +
                              form.SoundFileNoOfChannels.Text + " Estimated Run Time " +
                              form.SoundFileEstimatedRunTime.Text;
    return std::string(kNotCompliantMessage) + stats;
}

void RevealSettings(SoundFileCheckForm& form) {
    form.AnalysisTerminateMessage = "Select Analysis Time from panel below";
    form.AnalysisTerminateMessageVisible = true;
    form.ContnueAnalysisVisible = false;
    form.TerminateAnalysisVisible = false;
    form.Button1Visible = true;
    form.SettingsVisible = true;
    if (form.SoundFileNoOfChannels.Text == "2") form.ChannelAnalysisSelectionVisible = true;
}

void Engine::ReadSoundFileHeader() {
    RunState& s = S();
    SoundFileCheckForm& f = checkForm_;
    StartFromDesign(f);
    stream_.clear();
    stream_.seekg(0, std::ios::end);
    const auto fileSize = static_cast<std::uint64_t>(StreamPosition());
    SeekStream(0);
    const WavHeaderInfo h = ReadWavHeader(stream_, fileSize);
    if (h.refusal) throw RunRefused(*h.refusal);

    Show(f.SoundFileIdentifier, h.BiffFormat.Identifier, h.IdentifierMismatch);
    s.InputSize = h.InputSize;
    s.InputSizeHeld = RiffSizeHeld(h.InputSize, fileSize);
    Show(f.SoundFileTotalBytes, std::to_string(h.InputSize));
    Show(f.SoundFileType, h.BiffFormat.Type, h.TypeMismatch);
    Show(f.SoundFileFormatDataDetected, h.BiffFormat.FormatId, h.FormatIdMismatch);
    Show(f.SoundFileCompressionCode, std::to_string(h.SoundFileCompressionCode));
    Show(f.SoundFileNoOfChannels, std::to_string(h.SoundFileNoOfChannels));
    Show(f.SoundFileSampleRate, std::to_string(h.SoundFileSampleRate));
    Show(f.SoundFileAvBytesPerSecond, std::to_string(h.SoundFileAvBytesPerSecond));
    Show(f.SoundFileBytePerSampleSlice, std::to_string(h.SoundFileBlockAlign));
    Show(f.SoundFileBitsPerSample, std::to_string(h.SoundFileSigBitsPerSample));
    s.SoundFileNoOfChannels = h.SoundFileNoOfChannels;
    s.SoundFileSampleRate = h.SoundFileSampleRate;
    s.SoundFileAvBytesPerSecond = h.SoundFileAvBytesPerSecond;
    s.SoundFileBlockAlign = h.SoundFileBlockAlign;
    s.SoundFileSigBitsPerSample = h.SoundFileSigBitsPerSample;
    s.ByteSwap = h.ByteSwap;
    s.TwoChan = h.TwoChan;
    if (h.ChannelMismatch) {
        f.Label11 = kChannelsNowDefault1;
        f.Label11Marked = true;
    }
    if (h.AnyMismatch()) f.AnalysisTerminateMessageVisible = true;

    Show(f.SoundFileSize, std::to_string(h.ChunkLength));
    s.ChunkLength = h.ChunkLength;
    s.DeclaredChunkLength = h.DeclaredChunkLength;
    s.DataEnd = static_cast<std::int64_t>(h.StreamDataChunk) + h.ChunkLength;
    Show(f.SoundFileEstimatedRunTime, std::to_string(h.PlayTime));
    f.AnalysisTerminateMessageVisible = true;
    f.ContnueAnalysisVisible = true;
    f.TerminateAnalysisVisible = true;
    s.StreamDataChunk = static_cast<std::int64_t>(h.StreamDataChunk);
    SeekStream(s.StreamDataChunk);

    if (!s.ProcessingABatch) {
        const TimeLists lists = StartEndTimeLists(h.PlayTime);
        f.StartTimeItems = lists.Start;
        f.EndTimeItems = lists.End;
        if (!f.StartTimeItems.empty()) f.SoundFileStartTime = f.StartTimeItems.front();
        if (!f.EndTimeItems.empty()) f.SoundFileEndTime = f.EndTimeItems.front();
    }
    if (s.ProcessingOptionSelected == "Introductory") {
        f.SoundFileStartTime = "0";
        f.SoundFileEndTime = "2";
        f.LowResolution = true;
        f.HighResolution = false;
        f.SelectTimesGroupEnabled = true;
        f.SelectProcessingGroupEnabled = f.SelectResolutionGroupEnabled =
            f.SelectCalibrationGroupEnabled = f.SelectTerhardtGroupEnabled = f.FilterOptionsEnabled =
                f.ChannelAnalysisSelectionEnabled = f.SwapInputBytesEnabled = false;
    } else {
        // The lists' first entries ("1" and "2") lie less than 2 seconds apart, which the
        // interval test refuses: offer the first two seconds instead, as the one-pass option does.
        f.SoundFileStartTime = "0";
        f.SoundFileEndTime = "2";
    }
}

void Engine::SoundFileCheckButton1Click() {
    RunState& s = S();
    SoundFileCheckForm& f = checkForm_;
    const std::int64_t byteRate = StrToInt64(f.SoundFileAvBytesPerSecond.Text);
    s.StartTime = TypedWholeNumber(f.SoundFileStartTime, "start time", "seconds");
    const std::uint64_t startOffset = StartOffsetBytes(
        s.StartTime, static_cast<std::uint32_t>(std::clamp<std::int64_t>(byteRate, 0, UINT32_MAX)),
        static_cast<std::uint32_t>(std::max(s.SoundFileBlockAlign, 0)));
    s.Counter = static_cast<std::int64_t>(startOffset);
    s.EndTime = TypedWholeNumber(f.SoundFileEndTime, "end time", "seconds");
    const double calibration = TypedWholeNumber(f.InputCalibration, "calibration", "dB");
    const int compression = TypedCompression(f.OutputCompression);

    auto refuse = [&](const std::string& message, const char* label) {
        host_.ShowMessage(message);
        f.AnalysisTerminateMessage = label;
        f.AnalysisTerminateMessageVisible = true;
        f.ContnueAnalysisVisible = f.TerminateAnalysisVisible = f.Button1Visible = false;
        host_.ShowMessage(kTerminateMessage);
        throw RunTerminated();
    };
    // A value outside its range: the message names the field, the value as typed and the range.
    auto outOfRange = [&](const char* field, const std::string& typed, double low, double high,
                          const char* unit, const char* label) {
        refuse("Processing will not proceed. " + std::string(field) + " selected (" +
                   std::string(TrimBlanks(typed)) + " " + unit + ") is outside the range allowed: " +
                   WholeText(low) + " to " + WholeText(high) + " " + unit,
               label);
    };
    if (!(s.StartTime < s.EndTime)) {
        refuse("Processing will not proceed. START time selected is not before selected END time",
               "Input error - selected Start Time not before selected End Time, Analysis Terminated");
    }
    if (std::fabs(s.StartTime - s.EndTime) < 2.0) {
        refuse("Processing will not proceed. Interval between selected START and END time must be "
               "greater than 1 second",
               "Input error - Start/End Time error. Analysis Terminated");
    }
    // The start lies inside the sound data as the header declares it (whole seconds; data that
    // ends sooner is noticed by the run).
    const double fileSeconds =
        byteRate > 0 ? static_cast<double>(s.DeclaredChunkLength / byteRate) : 0.0;
    const double lastStart = std::max(fileSeconds - 2.0, 0.0);
    if (s.StartTime < 0 || s.StartTime > lastStart) {
        outOfRange("START time", f.SoundFileStartTime, 0, lastStart, "seconds",
                   "Input error - selected Start Time outside its range, Analysis Terminated");
    }
    // An end past the sound data, however large, is read as the data's end (the run says so,
    // NoteEarlyEnd); the stretch left is no longer than the program's longest.
    s.EndTime = std::min(s.EndTime, SecondsAt(s.DataEnd));
    if (s.EndTime > s.StartTime + MAXENDTIME) {
        outOfRange("END time", f.SoundFileEndTime, s.StartTime + 2.0, s.StartTime + MAXENDTIME,
                   "seconds",
                   "Input error - selected End Time outside its range, Analysis Terminated");
    }
    if (std::fabs(calibration) > kMaxCalibration) {
        outOfRange("Calibration", f.InputCalibration, -kMaxCalibration, kMaxCalibration, "dB",
                   "Input error - selected Calibration outside its range, Analysis Terminated");
    }

    s.SoundFileMaxPointer = s.StreamDataChunk + static_cast<std::int64_t>(std::trunc(byteRate * s.EndTime));
    s.SoundFileStartPointer = s.StreamDataChunk + static_cast<std::int64_t>(startOffset);
    host_.SetText("SoundFileMaximumPosition", std::to_string(s.SoundFileMaxPointer));
    host_.SetText("PositionStart", std::to_string(s.SoundFileStartPointer));

    if (f.HighResolution) s.Resolution = 1;
    else if (f.LowResolution) s.Resolution = 5;
    s.PitchShift = f.IncludeTerhardt ? true : (f.OmitTerhardt ? false : s.PitchShift);
    if (f.ProcessingFree) s.Field = 'F';
    else if (f.ProcessingDiffuse) s.Field = 'D';
    else if (f.ProcessingEardrum) s.Field = 'E';
    s.WINFUNCT = f.WINFUNCT;

    host_.SetText("RecordedStartTime", f.SoundFileStartTime);
    host_.SetText("RecordedEndTime", f.SoundFileEndTime);
    // The indicators show what the run reads: a one-channel file its one channel, a
    // two-channel file channel 2 unless the dialog's channel choice was shown.
    host_.SetText("ChannelsInSoundFile", s.TwoChan ? "2" : "1");
    ShowMonoChannel();
    if (s.TwoChan) {
        host_.SetText("AnalysisChannel", "2");
        if (f.ChannelAnalysisSelectionVisible) {
            if (f.DoChannel1) host_.SetText("AnalysisChannel", "1");
            else if (f.DoChannel2) host_.SetText("AnalysisChannel", "2");
            else if (f.DoChannelBoth) host_.SetText("AnalysisChannel", "Both");
        }
    }
    host_.Refresh();
    s.ATune = 440.0;
    s.Compression = compression;
    s.Calibration = calibration + HIDDENCAL;
    host_.Refresh();
}

void Engine::ShowMonoChannel() {
    if (!S().TwoChan) host_.SetText("AnalysisChannel", "1");
}

}  // namespace oxw::engine
