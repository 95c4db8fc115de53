#pragma once
// What the end of pass 1 hands to the result windows: the overall values into the sound-quality
// and decision-support windows, the salience grid, table and surface values, the third-octave
// intensities of the audibility chart, and the chroma and pitch tables of the 3-D bar view.
#include <QString>
#include <array>

#include "app/report/SummaryReport.h"
#include "engine/RunState.h"

namespace oxw::app {

struct Forms;
using PitchSurface = std::array<std::array<double, 8>, 13>;  // [note 0..12][octave 0..7]

// Fixed text of a value with at most `precision` digits before the exponent form and `decimals`
// decimals, with the user's decimal separator; "not available" for a value that is not finite.
QString FixedText(double value, int precision, int decimals);

// The start of a run: the sound-quality window (its table back to the single empty row, its chart
// and values empty) and the decision-support window's measured values ("not available") as
// before any analysis, so that nothing of an earlier run that stopped stays in them.
void ClearRunResults(Forms& forms);

void HandOffResults(Forms& forms, const engine::RunState& s, const report::SummaryValues& values,
                    PitchSurface& plot3DPitchSalience);

// The end-of-run chart routines: chroma and pitch means into the 3-D bar view's tables.
void DoCharts(Forms& forms, engine::RunHost& host, const engine::RunState& s);

}  // namespace oxw::app
