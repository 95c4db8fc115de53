#pragma once
// The time-series rows of pass 1: after every output line one row goes to each of the level,
// loudness and pitch files, beneath the header lines that OutputFiles writes. Fields are fixed
// W:D numbers (rounded half away from zero), rounded integers (halves to even) and integers;
// values that are not finite read "Nan", "+Inf" or "-Inf". Rows end with CR LF.
#include <string>

#include "app/report/OutputFiles.h"
#include "engine/RunHost.h"
#include "engine/RunState.h"

namespace oxw::report {

// Time of the row in seconds: the stream position shown in the main window's `PositionCurrent`
// edit (bytes from the file's start, 64-bit) over bytes per sample frame and frames per second.
double RowTime(const engine::RunState& s, const engine::RunHost& host);

// The rows without their line ends, for the time t in seconds: 42, 45 and 111 fields.
std::string LevelRow(const engine::RunState& s, double t);
std::string LoudRow(const engine::RunState& s, double t);
std::string PitchRow(const engine::RunState& s, double t);

// Writes one row to each of DravolekLevelFile, DravolekLoudFile and DravolekPitchFile, then
// flushes them and the trace file, between the start and end lines "OutputTimeFiles" of the
// audit log. Throws std::invalid_argument when `PositionCurrent` is not an integer text, and
// WriteError when a file of the run has failed (OutputFiles::CheckWrites).
void OutputTimeFiles(const engine::RunState& s, engine::RunHost& host, OutputFiles& files);

}  // namespace oxw::report
