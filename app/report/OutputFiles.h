#pragma once
// The output files of a run: their names (built from the sound file's path and the time of the
// run), the open text files, their header lines, and the closing at the end of the program.
#include <array>
#include <cstddef>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "app/report/TextFile.h"

namespace oxw::engine { class RunHost; }

namespace oxw::report {

inline constexpr int kArrayFiles = 55;  // array files P1..P37, P53, P54 (index = number)
// The array dumps take most of a run's bytes (a line per spectrum line per block): their
// buffers reach the system a quarter megabyte at a time.
inline constexpr std::size_t kArrayBufferBytes = std::size_t{1} << 18;
// The LOG is on disk up to its last line after every audit call, and takes a line or more per
// call: it is written into a mapping of the file, grown four megabytes at a time (less on a
// disk without that room).
inline constexpr std::size_t kLogStepBytes = std::size_t{1} << 22;

// Name of array file Pn ("CompactF" for P1 ...); empty for numbers without a file.
const char* ArrayFileName(int n);

// The run's stamp: "yyyy mm d  at  hh mm ss" (two blanks on each side of "at").
std::string FormatStamp(const std::tm& t);

struct OutputFileNames {
    std::string FileDateTimeStamp;
    int filenamelength = 0;
    std::string NoExtFileName;
    std::string FileNameExtension = ".dvk";
    std::string DravolekLevelFileName, NordicLevelFileName;
    std::string DravolekLoudFileName, NordicLoudFileName;
    std::string DravolekPitchFileName, NordicPitchFileName;
    std::string DravolekTraceFileName, NordicTraceFileName;
    std::string DravolekSummaryFileName, NordicSummaryFileName;
    std::string LogFileName;
    std::array<std::string, kArrayFiles> PDataFileName{};
};

// Every name of a run, from the sound file's path (its last four characters dropped) and a stamp.
OutputFileNames BuildOutputFileNames(const std::string& soundFileName, const std::string& stamp);

// Header lines of the level, loudness and pitch files: empty line, title, column line.
std::string LevelColumnLine();
std::string LoudColumnLine();
std::string PitchColumnLine();

class OutputFiles {
public:
    using Clock = std::function<std::tm()>;
    OutputFiles();

    // The time source of the stamps (local time by default; tests fix it).
    void SetClock(Clock clock) { clock_ = std::move(clock); }
    // How the files of a run are opened for writing (the file itself by default; tests put a
    // failing sink in place of one).
    void SetOpener(TextFile::Opener open) { opener_ = std::move(open); }

    // Names, creates and heads every file of a run; logs through the host. Two runs within one
    // second take the next free stamp rather than overwrite the first run's files. The headers
    // reach the disk here; a file that cannot be written ends the run (WriteError).
    void DravolekFormatOutput(engine::RunHost& host, const std::string& soundFileName);

    // True once a run has named its files.
    bool Named() const { return !Names.LogFileName.empty(); }

    // The exit: flushes and closes every file still open and deletes the pass-1 level, loudness
    // and pitch files only when their rows have been copied into the summary.
    void CloseAtExit();
    // Flushes and closes every file still open (any way the program ends).
    void CloseAll();
    // Hands the buffered text of every open file to the system.
    void FlushAll();

    // The first failed write, flush or close among the run's files, as the message to show
    // ("Cannot write file "<path>": <reason>"). Given once per run: later calls, and later
    // failures of the same run, give nothing.
    std::optional<std::string> TakeWriteFailure();
    // Throws WriteError with TakeWriteFailure's message when there is one: the run ends there.
    // Checked after every audit line: while no file has failed it costs one test.
    void CheckWrites() {
        if (anyFailure_) ThrowWriteFailure();
    }

    OutputFileNames Names;
    TextFile LogFile;
    TextFile DravolekLevelFile, NordicLevelFile, DravolekLoudFile, NordicLoudFile;
    TextFile DravolekPitchFile, NordicPitchFile, DravolekTraceFile, NordicTraceFile;
    TextFile DravolekSummaryFile, NordicSummaryFile;
    std::array<TextFile, kArrayFiles> P;
    // Set by the summary writer once the time-series rows are safely inside the summary.
    bool TimeSeriesCopied = false;
    // The text files beside the arrays, each with its name: LOG, the Acoustic and Tone files.
    struct NamedFile {
        TextFile* file;
        const std::string* name;
    };
    std::array<NamedFile, 11> TextFiles();

private:
    // Every text file of a run, in a fixed order: LOG, the Acoustic and Tone files, the arrays.
    template <typename Each>
    void ForEachFile(Each each);

    Clock clock_;
    TextFile::Opener opener_;
    bool failureTaken_ = false;
    // Set by any of the files when it fails.
    bool anyFailure_ = false;
    void ThrowWriteFailure();
};

}  // namespace oxw::report
