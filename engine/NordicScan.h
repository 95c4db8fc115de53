#pragma once
// The Joint Nordic method's search of a block's spectrum (ISO 1996-2, Annex C in the engine's
// own form), shared by the tone and the roughness assessment: a tone is a peak framed by two
// flat stretches of noise (the noise pauses), a roughness a dip framed the same way; the dip
// search is the peak search on the negated levels. Levels in dB, frequencies in Hz, lines are
// FFT line indices of the block.
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <vector>

#include "engine/RunState.h"
#include "numeric/CurveFit.h"

class TFastFourier;

namespace oxw::engine::nordic {

// The level steps d(k) = L(k) - L(k - 1) of a block's lines k = 1..points-1 as bit masks (bit k
// of word k / 64): a rise of at least 1 dB, a rise of more than 0 and less than 1 dB, and the
// same as falls (d <= -1; -1 < d < 0). Both kinds of noise pause of both searches are made of
// these, so they are worked out once per block.
struct LevelSteps {
    std::vector<std::uint64_t> rise, smallRise, fall, smallFall;
    void Build(const double* L, int points);
};

// Level L(k) = I2dB(Intensity[k]) and frequency f(k) of the lines 0..points-1 of one block.
struct LineTable {
    int points = 0;
    int rate = 0;  // frames per second of the sound file
    const double* L = nullptr;
    const double* f = nullptr;
    // The level steps of L; a scan works them out itself when they are not given.
    const LevelSteps* steps = nullptr;
    // Kept energies: dB2I(L(k)) of the lines, worked out when first asked for; bit k of
    // energyKept tells that energy[k] holds it. When not given, every line's energy is worked
    // out when asked for.
    double* energy = nullptr;
    std::uint64_t* energyKept = nullptr;
    // f strictly increasing over lines 0..fRisesTo.
    int fRisesTo = -1;
    // Kept frequency terms of the audibility, AudibilityBandTerm(f(k)): NaN until first asked
    // for. When not given, the term is worked out every time.
    double* bandTerm = nullptr;
    // The intensities whose levels L are: the noise level of an assessment reads the lines'
    // energies from them (1 for an intensity of 0 or below, whose level is 0 dB). When not
    // given, it works them out from the levels.
    const double* intensity = nullptr;
    // levelSums[i]: the sum of L over the lines 0..64 i - 1 (in any order), i = 0..points / 64;
    // when not given, a sum of levels is added up line by line.
    const double* levelSums = nullptr;
    // No frequency term of the lines 0..fRisesTo exceeds it (infinity when not known).
    double bandTermAbove = std::numeric_limits<double>::infinity();
};

// dB2I(L(k)), kept in the table's energy store when it has one.
double LineEnergy(const LineTable& t, int k);
// Works out and keeps the energies of the lines from..to not yet kept, several side by side;
// nothing without an energy store.
void KeepLineEnergies(const LineTable& t, int from, int to);

// Keeps the line table of the last block: the levels and their steps are worked out once per
// spectrum, whichever of the two assessments asks first; the frequencies once per block length
// and rate.
class LineTableCache {
public:
    // f(k) is the FFT component's line frequency for a sampling interval of 1 / rate.
    LineTable For(const Spectrum& intensity, int points, int rate, const TFastFourier& fft);

private:
    int points_ = 0, rate_ = 0;
    bool levelsValid_ = false;
    std::vector<double> intensity_, level_, freq_, energy_, bandTerm_, levelSums_;
    int freqRisesTo_ = -1;
    double bandTermAbove_ = std::numeric_limits<double>::infinity();
    std::vector<std::uint64_t> energyKept_;
    LevelSteps steps_;
};

enum class Extreme { Peak, Dip };

// A candidate that passed every test of its shape, bandwidth and critical band. The extreme
// is the maximum of a tone or the minimum of a roughness.
struct Candidate {
    int FirstNoisePauseStartLine = 0, FirstNoisePauseEndLine = 0;
    int LastNoisePauseStartLine = 0, LastNoisePauseEndLine = 0;
    double NoisePauseStartdB = 0, NoisePauseEnddB = 0;
    int ExtremeLine = 0;
    double ExtremeHz = 0, ExtremedB = 0;
    int Start3dBLine = 0, End3dBLine = 0;
    double BandWidth3dBHz = 0;
    double CriticalBandWidth = 0;  // 100 Hz below 500 Hz, else a fifth of the frequency
    int HalfBandLines = 0;         // h: half the critical band in lines, rounded
    int LinearRegressionStartLine = 0, LinearRegressionEndLine = 0;  // widened to 2h if inside
};

// Measures of the last candidate that got so far, whether or not it was accepted: the
// engine's Start3dBHz, End3dBHz, tone or roughness 3 dB bandwidth and CriticalBandWidth_Nordic.
struct LastMeasures {
    double& Start3dBHz;
    double& End3dBHz;
    double& BandWidth3dBHz;
    double& CriticalBandWidth;
};

// Walks up the lines 3..points-2 once. Every line is tested as the end of a first noise pause
// (a rise of at least 1 dB after a rise of more than 0 and less than 1 dB); the scan ends when
// no last noise pause follows below line points - 2.
class Scan {
public:
    Scan(const LineTable& lines, Extreme kind, LastMeasures last);

    // The next candidate that passes; false when the scan has ended.
    bool Next(Candidate& c);
    // The scan position: the last noise pause's end line of the candidate just found.
    int Position() const { return p_; }

private:
    // The level seen from the extreme's side: L for a peak, -L for a dip.
    double M(int k) const { return sign_ * t_.L[k]; }
    bool LastNoisePause(Candidate& c);
    bool Measure(Candidate& c);
    // The greatest M(k), k = from..to; -infinity when there is none.
    double Greatest(int from, int to) const;
    // The first line k >= from, k <= to, whose bit is set; -1 when there is none.
    static int NextSet(const std::vector<std::uint64_t>& bits, int from, int to);
    void PauseMasks(const LevelSteps& steps);

    LineTable t_;
    double sign_;
    LastMeasures last_;
    // Bit p: p ends a first noise pause; bit q: a last noise pause starts at q. Worked out once
    // for the block from the level steps, which make the same comparisons of the same
    // differences as line by line.
    std::vector<std::uint64_t> firstPauseEnds_, lastPauseStarts_;
    int p_ = 2;
    bool ended_ = false;
};

// The assessment of an accepted candidate.
struct Assessment {
    double Level = 0;         // L_T: energy sum of the lines between the noise pauses, dB
    double LinearSlope = 0;   // dB per Hz of the noise regression over the regression range
    double LinearOffset = 0;  // dB
    double LinearFitValue = 0;
    double MaskingNoise = 0;  // energy sum of the raised fitted noise over the critical band, dB
    double Audibility = 0;    // L_T - masking noise + frequency term, dB
};

// Regresses the levels over frequency through the fitter (Init, BorrowStatValues, CalcLinFit;
// the fitter's pairs stay in the line table), sums the tone level and the fitted noise in the
// critical band (the extreme's line +- h), raised to the energy level of the range's noise lines,
// and rates the audibility.
Assessment Assess(const LineTable& t, const Candidate& c, TCurveFit& fit);
// The same with the regression sums of the candidate's run (TCurveFit::SumRuns).
Assessment Assess(const LineTable& t, const Candidate& c, TCurveFit& fit,
                  const TCurveFit::RunSums& sums);
// The same without the fitter and without the quality of the fit (LinearFitValue stays 0): the
// regression line from the sums of the run (a line-only run's sums will do). When the audibility
// cannot exceed `above` (as the fit's residuals tell before the noise lines are summed), the
// masking noise and the audibility hold only bounds: the audibility one below `above`.
Assessment AssessLine(const LineTable& t, const Candidate& c, const TCurveFit::RunSums& sums,
                      double above = -std::numeric_limits<double>::infinity());

// The level of a candidate (L_T, dB): the energy sum of the lines between its noise pauses.
double PauseLevel(const LineTable& t, const Candidate& c);
// A bound that a dip's audibility (AssessLine) does not exceed, from its level (PauseLevel) and
// the mean level of its regression range, without the regression.
double DipAudibilityCeiling(const LineTable& t, const Candidate& c, double level);

// The pairs (f, L) of a candidate's regression range; lineOnly: only the sums of the line are
// wanted.
TCurveFit::Run RegressionRun(const LineTable& t, const Candidate& c, bool lineOnly = false);

// The candidates of a block's scan, taken before any is assessed (the scan does not depend on
// the assessments): at most room of them, each with the scan position after it and the sums of
// its regression, worked out for several candidates side by side.
struct CandidateBatch {
    std::vector<Candidate> list;
    std::vector<int> position;
    std::vector<TCurveFit::Run> runs;
    std::vector<TCurveFit::RunSums> sums;
    // The dips' levels (PauseLevel); empty for tones.
    std::vector<double> level;
    // With dipsAbove, the candidates are dips, assessed by AssessLine (which needs the sums of
    // the line only), and their levels are taken; a dip whose audibility cannot exceed
    // *dipsAbove (DipAudibilityCeiling) gets an empty run (n = 0) and no sums.
    void Collect(Scan& scan, int room, const LineTable& t, std::optional<double> dipsAbove = {});
};

// The level a tone is listed with: the adjustment of 0 to 6 dB put on the tone level itself
// (below 4 dB unchanged, 2 L - 4 up to 10 dB, L + 6 above). The audibility does not use it.
double ListedToneLevel(double level);

// Audibility of a level above its masking noise at frequency f:
// level - masking + 2 + lg(1 + (f / 502)^2.5).
double Audibility(double level, double masking, double f);
// The frequency term of the audibility, log10(1 + (f / 502)^2.5).
double AudibilityBandTerm(double f);

}  // namespace oxw::engine::nordic

namespace oxw::engine::nordic {

// Entries a list can take: its arrays hold entries 1..size-1, and at most MAXTONES - 1.
int ListCapacity(std::initializer_list<const std::vector<double>*> arrays);

}  // namespace oxw::engine::nordic
