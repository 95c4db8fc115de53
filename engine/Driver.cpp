// The analysis of one sound file: header intake, the gate, pass 1 over lines and blocks with its
// end-of-file chain, the spectrum dumps and, for the two-pass option, the tone pass on
// 32768-point spectra.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/Convert.h"
#include "engine/Engine.h"
#include "engine/SoundFileIntake.h"
#include "engine/SpectrumWork.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

using numeric::floatToStrF;

namespace {
// The stream is released at the end of every run, however the run ends.
struct StreamCloser {
    std::ifstream& stream;
    ~StreamCloser() {
        if (stream.is_open()) stream.close();
    }
};

[[noreturn]] void RefuseOtherThanRegularFile(const std::string& name) {
    throw RunRefused("Cannot open file \"" + name + "\": it is not a regular file.");
}

// Opens the sound file without ever waiting: a pipe without a writer would hold the opening for
// good, and a folder or a device has no sound data, so anything but a regular file is refused.
// The name is looked at first (a device is not even opened), then opened without waiting and
// looked at again through the open descriptor, so a file swapped between the two steps cannot
// slip through; the stream then reads the very file so checked. A name that does not exist (or
// cannot be opened) leaves the stream closed, and the caller's message names the file.
void OpenRegularFile(std::ifstream& stream, const std::string& name) {
    std::error_code ec;
    const auto status = std::filesystem::status(name, ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        RefuseOtherThanRegularFile(name);
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;  // the stream stays closed: the caller names the file
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (regular) {
        stream.open("/proc/self/fd/" + std::to_string(fd), std::ios::binary);
        if (!stream.is_open()) {  // no /proc: the name, looked at a moment ago
            stream.clear();
            stream.open(name, std::ios::binary);
        }
    }
    ::close(fd);
    if (!regular) RefuseOtherThanRegularFile(name);
}
}  // namespace

void Engine::Open1Click() {
    RunState& s = S();
    StreamCloser closer{stream_};

    // A. Opening and header intake.
    Log("S", "Open1Click");
    if (stream_.is_open()) stream_.close();
    stream_.clear();
    OpenRegularFile(stream_, s.SoundFileName);
    Work().frames.Forget();  // no block of an earlier file serves this one
    if (!stream_.is_open() || !stream_)
        throw std::runtime_error("Cannot open file \"" + s.SoundFileName + "\".");
    ReadSoundFileHeader();
    checkForm_.Caption += " - " + s.ShortSoundFileName;
    host_.ShowSoundFileCheck(checkForm_);

    // B. The gate, with the reset's compression and resolution and the block counter of a fresh
    // start (an earlier run's count does not make this file too short), then the dialog's
    // settings. A file the gate finds too short, or a stretch without one whole output line, is
    // not analysed: the run stops with the reason and the user may choose another file.
    Gate(0);
    if (!s.Calculate) throw RunRefused(GateRefusal());
    SoundFileCheckButton1Click();
    ScanSoundFile();
    if (!s.Calculate) throw RunRefused(NoLineRefusal());
    InitialiseMeans();
    SetUpCompactIBinRanges();
    SizeRunArrays();

    // C. Pass 1.
    Pass1();

    // D. Spectrum dump of pass 1.
    SpectrumDump("Dravolek Spectrum dB values, , Intensity index, ", s.DravolekSpectrum, false);

    // E. Pass 2.
    if (s.ProcessingOptionSelected != "Introductory") Pass2();

    // F. End of run.
    host_.EndOfRunMenus();
    host_.Refresh();
    Log("E", "Open1Click");
}

void Engine::Gate(std::int64_t counter) {
    RunState& s = S();
    s.Calculate = false;
    SelectPoints();
    const std::int64_t sum = s.POINTS + counter +
                             (static_cast<std::int64_t>(s.Compression) - 1) * OFFSET * s.Resolution;
    s.sizert1 = sum / 64;
    s.sizert2 = sum / 32;
    s.Calculate = (!s.TwoChan && s.InputSizeHeld > s.sizert1) ||
                  (s.TwoChan && s.InputSizeHeld > s.sizert2);
}

std::string Engine::GateRefusal() const {
    const RunState& s = S();
    return "The sound data (" + std::to_string(s.InputSizeHeld) +
           " bytes) is too short to analyse: the analysis needs more than " +
           std::to_string(s.TwoChan ? s.sizert2 : s.sizert1) + " bytes.";
}

std::string Engine::NoLineRefusal() const {
    const RunState& s = S();
    const std::int64_t line = static_cast<std::int64_t>(s.Compression) * OFFSET * s.Resolution;
    if (line < 1) return "The compression " + std::to_string(s.Compression) + " gives no output line.";
    return "The stretch to analyse holds " + std::to_string(std::max<std::int64_t>(StretchFrames(), 0)) +
           " sample frames, too few for one output line of " + std::to_string(line) + " frames.";
}

void Engine::SizeRunArrays() {
    RunState& s = S();
    for (auto* a : {&s.LX, &s.WS, &s.FX, &s.V}) a->assign(MAXTONES, 0.0);
    s.PitchSalience.assign(88, 0.0);
    for (auto* a : {&s.Larray, &s.Narray, &s.DLarray}) {
        a->assign(static_cast<std::size_t>(s.PERCENTILEARRAYMAX), 0.0);
    }
    s.Oct_T.assign(10, 0.0);
    s.ThirdOct_T.assign(22, 0.0);
    for (auto* a : {&s.ImagInV, &s.RealInV, &s.RealOutV, &s.ImagOutV}) a->assign(32768, 0.0);
    s.DravolekSpectrum.fill(0.0);
    s.NordicSpectrum.fill(0.0);
}

void Engine::StartPosition() {
    RunState& s = S();
    const std::int64_t pos = StreamPosition();
    if (s.SoundFileStartPointer > pos) SeekStream(s.SoundFileStartPointer);
    if (s.SoundFileStartPointer == 0) s.SoundFileStartPointer = StreamPosition();
}

void Engine::Pass1() {
    RunState& s = S();
    host_.DravolekFormatOutput();
    NoteEarlyEnd();
    s.CountElement = 1;
    host_.Refresh();
    StartPosition();
    host_.SetProgressRange(1, s.Lines);
    for (s.CountLine = 1; s.CountLine <= s.Lines; ++s.CountLine) Pass1Line();
    // A file that shrank before the first line was read holds no line any more.
    if (s.Lines < 1) throw RunRefused(NoLineRefusal());
    host_.SetText("PositionCurrent", std::to_string(StreamPosition()));
    host_.Refresh();
    EndOfFileChain();
}

void Engine::Pass1Line() {
    RunState& s = S();
    // The progress bar and the bytes analysed so far are brought up to date on screen.
    host_.SetText("SoundFileBytesRead", std::to_string(s.BytesRead));
    host_.Refresh();
    InitialiseCompression();
    for (s.CountCompress = 1; s.CountCompress <= s.Compression; ++s.CountCompress) {
        if (!Pass1Block()) return;  // the line lies past the end of the sound data
    }

    CalculateLevels();
    s.SumChromaSalienceS = 0;
    for (int i = 0; i <= 11; ++i) s.SumChromaSalienceS += s.ChromaSalience_S[i];
    Log("D", "In mainline code Sum ChromaSalienceS at Countline " + std::to_string(s.CountLine) +
                 "  " + floatToStrF(s.SumChromaSalienceS, 15, 6));
    if (s.Multiplicity_T > 0) {
        FindKey(s.ChromaSalience_T, s.Tonality_S, s.TonalityR2_T, s.Tonality_T, s.MajMin_T);
        // The line's tonic counted in fifths instead of semitones; a line whose chroma fits no
        // key keeps NO_TONIC, like a line without pitch.
        if (s.Tonality_T != NO_TONIC) s.Tonality_T = (7 * s.Tonality_T) % 12;
    } else {
        s.Tonality_T = NO_TONIC;
        s.TonalityR2_T = 0;
        s.MajMin_T = 0;
    }
    host_.OutputTimeFiles();
    AccumulateMeans_S();
    host_.SetProgressPosition(s.CountLine);
}

bool Engine::Pass1Block() {
    RunState& s = S();
    if (!MakeSpectrum()) return false;
    CompressSpectrum();
    CalculateLA();
    CalculateSpectDiss();
    DoTransferFunctions();
    FindRoexComponentLevels();
    FindExcitation();
    CalculateLoudness();
    CalculateSharpness();
    ExtractTonalComponents();
    CalculateToneDissonance();
    FindLevelsAboveMasking();
    Log("D", "In mainline at 3372, NTonesM = " + std::to_string(s.NTonesM) + " NTonesM_Nordic108 " +
                 std::to_string(s.NTonesM_Nordic108));
    PitchBranch();
    AccumulateMeans_T();
    ++s.CountElement;
    return true;
}

void Engine::PitchBranch() {
    RunState& s = S();
    if (s.NTonesM <= 0) {
        NoPitches();
        return;
    }
    if (s.NTonesM > 1) SortToneArrays(1, s.NTonesM);
    FindVirtualPitches();
    MakeCompoundPitchPattern();
    Log("D", " ----------------------- Critical test of PitchCount " + std::to_string(s.PitchCount));
    if (s.PitchCount <= 0) {
        NoPitches();
        return;
    }
    if (s.PitchCount > 1) SortPitchPattern(1, StrToInt(s.DisplayPitchCount));
    CalculateParncuttMeasures();
    TallyChromaAndPitch();
}

void Engine::EndOfFileChain() {
    RunState& s = S();
    host_.SetProgressRange(1, 10);
    CalculatePercentiles();
    host_.SetProgressPosition(2);
    FindChord(s.ChromaSalience_S, s.Chord_S, s.ChordR2_S);
    host_.SetProgressPosition(3);
    FindKey(s.ChromaSalience_S, s.Tonality_S, s.TonalityR2_S, s.Tonality_T, s.MajMin_T);
    host_.SetProgressPosition(4);
    CalculateNoiseCriterion();
    host_.SetProgressPosition(5);
    CalculatePNC();
    host_.SetProgressPosition(6);
    CalculateRoomCriterion();
    host_.SetProgressPosition(7);
    CalculateNoiseRating();
    host_.SetProgressPosition(8);
    host_.OutputSummary();
    host_.SetProgressPosition(9);
    host_.DoCharts();
    host_.SetProgressPosition(10);
}

}  // namespace oxw::engine
