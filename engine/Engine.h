#pragma once
// The analysis engine: one run state and the steps over it. Each step is a method named after the
// step it performs; the methods are grouped in files by topic. The engine reaches the windows
// only through its RunHost.
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/NoiseCriteria.h"
#include "engine/RunHost.h"
#include "engine/RunState.h"
#include "engine/SoundFileCheckForm.h"

class TCurveFit;

namespace oxw::engine {

namespace nordic {
class LineTableCache;
struct LineTable;
struct CandidateBatch;
}  // namespace nordic

class Engine {
public:
    explicit Engine(RunHost& host);
    ~Engine();

    RunState& S() { return *state_; }
    const RunState& S() const { return *state_; }
    SoundFileCheckForm& SoundFileCheck() { return checkForm_; }

    // Run preparation.
    void MainLineProcess1();
    // Returns false when the user cancels the file choice.
    bool MainLineProcess2SingleFile();
    void SetUpCompactIBinRanges();

    // The analysis of one sound file, both passes.
    void Open1Click();

    // Run scan and accumulators.
    void ScanSoundFile();
    void InitialiseMeans();
    void InitialiseCompression();
    void SaveInitialiseMeansVariables();

    // Header intake and settings intake.
    void ReadSoundFileHeader();
    // Takes the dialog's settings over. A time or calibration outside its range is refused with
    // the dialog's messages (RunTerminated); a text that is no whole number throws
    // std::invalid_argument naming the field.
    void SoundFileCheckButton1Click();

    // Block chain and line/file steps (each writes its start and end lines).
    // MakeSpectrum reads the next block; false when the sound data ended before the block's
    // line (the run's stretch then ends with the data).
    [[nodiscard]] bool MakeSpectrum();
    void CompressSpectrum();
    void NordicCompressSpectrum();
    void CalculateLA();
    void CalculateLevels();
    void CalculateSpectDiss();
    void DoTransferFunctions();
    void FindRoexComponentLevels();
    void FindExcitation();
    void CalculateLoudness();
    void CalculateSharpness();
    void ExtractTonalComponents();
    void CalculateToneDissonance();
    void NordicCalculateToneDissonance();
    void NordicExtractTonalComponents();
    void NordicExtractRoughnessComponents();
    void FindLevelsAboveMasking();
    void SortToneArrays(int first, int last);
    void FindVirtualPitches();
    void MakeCompoundPitchPattern();
    void SortPitchPattern(int first, int last);
    void NoPitches();
    void CalculateParncuttMeasures();
    // Names the pitch f (Hz): sets Pitch, Cents, PlusMinus and Note.
    void FindChromaName(double f);
    void TallyChromaAndPitch();
    void FindKey(const std::array<double, 13>& chromata, std::string& key, double& R2, int& tonic,
                 int& Mm);
    void FindChord(const std::array<double, 13>& chromata, std::string& chord, double& R2);
    void AccumulateMeans_T();
    void AccumulateMeans_S();
    void CalculatePercentiles();
    // Sorts RealArray[start..Finish] largest first with the sort progress bar shown.
    void SortRealArray(int start, int Finish, std::vector<double>& RealArray);
    void CalculateNoiseCriterion();
    void CalculateNCShift(const NcCurve& curve, const OctaveLevels& octL, double& shift);
    void CalculatePNC();
    void CalculatePNCShift(const PncCurve& curve, const OctaveLevels& octL, double& shift);
    void CalculateRoomCriterion();
    void CalculateNoiseRating();

    // Block reader helpers: the time window of a block (samples and weightout hold Numsamps
    // values) and the interaural cross-correlation of one block (ch1, ch2 hold POINTS values).
    void DoWindowFunctions(int Numsamps, char funct, const int* samples, double* weightout);
    void CrossCorrelation(const int* ch1, const int* ch2, double& maxcor, double& maxlag);

private:
    // Working buffers of the spectrum front end (FFT components, windows, line-to-bin maps),
    // built once per block length and reused by every block.
    struct SpectrumWork;
    SpectrumWork& Work();
    std::shared_ptr<SpectrumWork> spectrumWork_;
    // The sound file's stream, checked: each throws a message naming the sound file when the
    // position cannot be told (also after a failed operation), the seek fails, or a read failed
    // (errno `error`) at `position`.
    std::int64_t StreamPosition();
    void SeekStream(std::int64_t position);
    [[noreturn]] void ReadFailure(std::int64_t position, int error);
    void ReadMonoBlock(int frames, int bytesPerSample);
    void ReadStereoBlock(int frames, int bytesPerSample);
    void CorrelateBlock(double& maxcor, double& maxlag);
    void TransformBlock(int points, double cal);
    double BlockTimeSeconds(bool wholeNumbers);

public:

    // Writes one audit line through the host.
    void Log(std::string_view kind, std::string_view text) { host_.CreateAuditLog(kind, text); }

    RunHost& Host() { return host_; }
    // The sound file's stream; a block reader's kept block is dropped (the stream may be moved).
    std::ifstream& Stream();
    // The main form's curve fitter "CurveFit1"; the Joint Nordic steps regress levels with it.
    // Its pairs are borrowed from the block's line table: they can be read within the step only.
    TCurveFit& CurveFit1();

private:
    void SelectPoints();
    // The gate: is the file long enough for a pass whose block counter starts at `counter`?
    void Gate(std::int64_t counter);
    // Why a run stops before pass 1: the gate's sizes, or the stretch without a whole line.
    std::string GateRefusal() const;
    std::string NoLineRefusal() const;
    // Sample frames of sound data from the pass's start position to the end of the data (no
    // limit before a sound file's header has been read).
    std::int64_t FramesHeld() const;
    // Sample frames of the chosen stretch (start to end time at 44100 frames per second) that
    // the sound data holds.
    std::int64_t StretchFrames() const;
    void KeepTonePassInsideData();
    // The analysis channel indicator of a one-channel file shows its one channel, in either pass.
    void ShowMonoChannel();
    // Seconds of sound data before byte `byte` of the file.
    double SecondsAt(std::int64_t byte) const;
    // The sound data ends sooner than the end time asked for: said once in the audit log, and
    // the end time and its edits follow the data.
    void NoteEarlyEnd();
    // A block read found the sound data ending at byte `end`, before the data's known end: in
    // the first pass the stretch ends there (false when the current line lies past it); in the
    // tone pass the run stops, as the passes no longer read the same sound.
    bool SoundDataEndedAt(std::int64_t end, bool tonePass);
    // The stop of a tone pass whose sound data ends at byte `end`, before the `passEnd` the
    // first pass found.
    std::runtime_error TonePassShrank(std::int64_t end, std::int64_t passEnd) const;
    // Stream position from which a block of `points` frames starting at `pos` is read.
    std::int64_t BlockStart(std::int64_t pos, int points, int blockAlign);
    void SizeRunArrays();
    void StartPosition();
    void Pass1();
    void Pass1Line();
    bool Pass1Block();
    void PitchBranch();
    void EndOfFileChain();
    void SpectrumDump(const char* title, const Spectrum& summed, bool withIntensity);
    void Pass2();
    void Pass2Line();
    void DominantResultLines();
    // Levels and frequencies of the current block's lines for a Joint Nordic step (POINTS set
    // from the processing mode first).
    nordic::LineTable NordicLineTable(const char* step);
    // The candidates of a Joint Nordic step's block, kept between blocks for their storage.
    nordic::CandidateBatch& NordicBatch();

    // Run-constant factors and working values of the hearing and dissonance steps.
    struct HearingWork;
    HearingWork& Hearing();
    std::shared_ptr<HearingWork> hearingWork_;
    // Rates a tone list into DissonanceS and DissonanceHK, logging under `name`.
    void RateToneList(const char* name, int count, const std::vector<double>& F,
                      const std::vector<double>& L);

    RunHost& host_;
    std::unique_ptr<RunState> state_;
    SoundFileCheckForm checkForm_;
    std::ifstream stream_;
    std::shared_ptr<TCurveFit> curveFit1_;
    std::shared_ptr<nordic::LineTableCache> nordicLines_;
    std::shared_ptr<nordic::CandidateBatch> nordicBatch_;
};

}  // namespace oxw::engine
