#pragma once
// The summary report of a run: the "Acoustic" S file. The first-pass call writes the whole report
// (settings, overall values, distributions, band and salience tables, the copied level, loudness
// and pitch rows, the time history and "End Of Summary File"); the tone-pass call ("Extended"
// mode) appends only the block of Nordic tone results taken from the trace file.
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunHost.h"
#include "engine/RunState.h"

namespace oxw::report {

class OutputFiles;

// States of the FFT-size dialog's radios that the report's heading names (design states).
struct FftRadios {
    bool OriginalLibrary = false;
    bool VKRLibrary = true;
    bool Selected4096 = true;
    bool Selected32768 = false;
    bool Selected65536 = false;
};

// Overall values the summary derives from the file's results; the main window hands the
// annoyance values and the equivalent level on to the sound-quality and decision-support windows.
struct SummaryValues {
    double SensoryPleasantness_dT = 0;      // sensory pleasantness, tonality fixed at 0.2
    double SensoryPleasantness_TDissS = 0;  // sensory pleasantness, tone dissonance as tonality
    double PsychAnnoy = 0;                  // psychoacoustic annoyance
    double UBA_M_Day = 0, UBA_M_Night = 0;  // unbiased annoyance, day and night
    // Equivalent continuous A-weighted level of the recorded blocks, dB; NaN when the run
    // recorded no block (too few or too many blocks for the percentiles).
    double OverallLEQ_dBA = 0;
};

SummaryValues ComputeSummaryValues(const engine::RunState& s);

// Writes the summary. In "Standard" mode (host text "CurrentProcessingMode") the whole report,
// copying the level, loudness and pitch files into it and deleting them once every row and the
// rest of the report have been written without a failure (then files.TimeSeriesCopied is set);
// returns the values to hand over. In "Extended" mode only the Nordic tone block is appended;
// returns nothing. Every file of the run is flushed at the end of either call; a file of the run
// that could not be written then throws WriteError (OutputFiles::CheckWrites). Logs "S" and "E"
// "OutputSummary".
std::optional<SummaryValues> OutputSummary(const engine::RunState& s, engine::RunHost& host,
                                           OutputFiles& files, const FftRadios& radios = {});

// Takes the lines of a block one at a time: the blocks grow with the length of the run, so they
// are never held whole.
using LineSink = std::function<void(const std::string& line)>;

// The time-history block read from a trace file: an empty line, "TIME HISTORY Elements", the
// column names of the first "History 01.00" and "History 02.00" rows, and one line per
// "History 02.01" row (an output line's time and running means), led by the last
// "History 01.01" row before it (a recorded block's time and level) where there is one. The
// trace is read twice (it must allow a seek back to where it stood).
void TimeHistoryLines(std::istream& trace, const LineSink& out);

// The Nordic tone block read from a trace file: an empty line, "NORDIC TONE Elements", the
// column names of the first "Nordic 01.00" row and the values of the "Nordic 01.01" rows; a line
// "No tone was found" when the trace holds no tone.
void NordicToneLines(std::istream& trace, const LineSink& out);

}  // namespace oxw::report
