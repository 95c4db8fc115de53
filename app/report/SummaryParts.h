#pragma once
// The pieces of the summary report writer, shared by its source files.
#include <string>
#include <string_view>
#include <vector>

#include "app/report/OutputFiles.h"
#include "app/report/SummaryReport.h"
#include "app/report/TextFile.h"
#include "engine/Conversions.h"
#include "engine/RunHost.h"
#include "engine/RunState.h"

namespace oxw::report::summary {

using engine::Erb2Fq;
using engine::I2dB;
using engine::LOG2;
using engine::Sone2Phon;

// A text right-aligned in `width` characters, never cut.
std::string Text(std::string_view text, int width);
// A real rounded to the nearest integer (halves to even), right-aligned in `width` characters;
// a value that is not finite is written "Nan", "+Inf" or "-Inf".
std::string Rounded(double x, int width);
// Entry i of a result array; 0 outside it.
double At(const std::vector<double>& a, int i);

// The report's first half: heading, settings, overall values and distributions.
void WriteFirstHalf(TextFile& out, const engine::RunState& s, const engine::RunHost& host,
                    const FftRadios& radios, const SummaryValues& v);
// Band, loudness, chroma, 88-pitch and note-by-octave tables.
void WriteTables(TextFile& out, const engine::RunState& s);
// Copies the level, loudness and pitch files into the report (closing them); true when every
// row of the three files was written and read back.
bool CopyTimeSeries(OutputFiles& files, engine::RunHost& host);
// Deletes the level, loudness and pitch files and sets files.TimeSeriesCopied.
void DeleteTimeSeries(OutputFiles& files);
// The time-history block from the trace file (which stays open for writing).
void WriteTimeHistory(OutputFiles& files);
// The Nordic tone block from the trace file.
void WriteNordicBlock(OutputFiles& files);

}  // namespace oxw::report::summary
