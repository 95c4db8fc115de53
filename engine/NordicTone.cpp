// Joint Nordic tone audibility (ISO 1996-2:2007, Annex C, in the engine's own form) on one block
// of the tone pass: every tone framed by two noise pauses enters the Nordic tone list with its
// frequency (Hz), its level (dB, raised by the adjustment rule of 4 and 10 dB) and its line,
// writes two trace rows, and competes for the dominant tone of the pass. The audibility (dB) is
// the plain tone level above the masking noise of its critical band plus a frequency term.
#include <stdexcept>
#include <string>

#include "engine/Engine.h"
#include "engine/NordicScan.h"
#include "engine/SpectrumWork.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

namespace {

constexpr const char* kTone = "NordicExtractTonalComponents";

constexpr const char* kTraceHeader =
    "Nordic 01.00 ToneF index, , CountLine, , Start CB Line, , Start Noise Pause, , "
    "NoisePauseStartdB, , Start3dBLine, , Maxima6dBLine, , Maxima6dBHz, , Maxima6dBdB, , "
    "End3dBLine, , ToneBandWidth3dBHz, , NoisePauseEnddB, , End Noise Pause, , End CB Line, , "
    "CriticalBandWidth, , NTones_Nordic108, , ToneF_Nordic108, , ToneL_Nordic108 , "
    "ToneRef_Nordic108, , LinearSlope, , LinearOffset, , LinearFitValue, , ToneMaskingNoise, , "
    "DominantTone, , ToneAudibility ";

std::string F0(double x) { return numeric::floatToStrF(x, 10, 0); }
std::string F3(double x) { return numeric::floatToStrF(x, 10, 3); }

std::string TraceRow(const RunState& s, int position, const nordic::Candidate& c,
                     const nordic::Assessment& a, int n, double dominantBefore) {
    const auto u = static_cast<std::size_t>(n);
    const std::string fields[] = {std::to_string(position),
                                  std::to_string(s.CountLine),
                                  std::to_string(c.LinearRegressionStartLine),
                                  std::to_string(c.FirstNoisePauseEndLine),
                                  F0(c.NoisePauseStartdB),
                                  std::to_string(c.Start3dBLine),
                                  std::to_string(c.ExtremeLine),
                                  F0(c.ExtremeHz),
                                  F0(c.ExtremedB),
                                  std::to_string(c.End3dBLine),
                                  F0(c.BandWidth3dBHz),
                                  F0(c.NoisePauseEnddB),
                                  std::to_string(c.LastNoisePauseStartLine),
                                  std::to_string(c.LinearRegressionEndLine),
                                  F0(c.CriticalBandWidth),
                                  std::to_string(n),
                                  F0(s.ToneF_Nordic108[u]),
                                  F0(s.ToneL_Nordic108[u]),
                                  std::to_string(c.ExtremeLine),
                                  F3(a.LinearSlope),
                                  F3(a.LinearOffset),
                                  F3(a.LinearFitValue),
                                  F0(a.MaskingNoise),
                                  F3(dominantBefore),
                                  F3(a.Audibility)};
    std::string row = "Nordic 01.01";
    for (const std::string& f : fields) row += ", " + f;
    return row;
}

}  // namespace

nordic::LineTable Engine::NordicLineTable(const char* step) {
    RunState& s = S();
    SelectPoints();
    if (s.POINTS > MYPOINTS)
        throw std::out_of_range(std::string(step) + ": block length " + std::to_string(s.POINTS) +
                                " outside 2..32768");
    if (s.SoundFileSampleRate <= 0)
        throw std::invalid_argument(std::string(step) +
                                    ": no sample rate for the line frequencies");
    if (!nordicLines_) nordicLines_ = std::make_shared<nordic::LineTableCache>();
    return nordicLines_->For(s.Intensity, s.POINTS, s.SoundFileSampleRate, Work().Fft(s.POINTS));
}

nordic::CandidateBatch& Engine::NordicBatch() {
    if (!nordicBatch_) nordicBatch_ = std::make_shared<nordic::CandidateBatch>();
    return *nordicBatch_;
}

void Engine::NordicExtractTonalComponents() {
    RunState& s = S();
    Log("S", kTone);
    Log("D", std::string(kTone) + "  NordicToneF, NordicToneL, NordicToneRef using Intensity");
    s.NTones_Nordic108 = 0;
    s.NTones_Nordic121 = 0;
    const nordic::LineTable lines = NordicLineTable(kTone);
    nordic::Scan scan(lines, nordic::Extreme::Peak,
                      {s.Start3dBHz, s.End3dBHz, s.ToneBandWidth3dBHz, s.CriticalBandWidth_Nordic});
    // The scan of the block ends when the list is full; the candidates are found first, then
    // assessed and listed in their order.
    const int room =
        nordic::ListCapacity({&s.ToneF_Nordic108, &s.ToneL_Nordic108, &s.ToneRef_Nordic108});
    nordic::CandidateBatch& batch = NordicBatch();
    batch.Collect(scan, room, lines);
    for (std::size_t i = 0; i < batch.list.size(); ++i) {
        const nordic::Candidate& c = batch.list[i];
        const nordic::Assessment a = nordic::Assess(lines, c, CurveFit1(), batch.sums[i]);
        const int n = ++s.NTones_Nordic108;
        const auto u = static_cast<std::size_t>(n);
        s.ToneF_Nordic108[u] = c.ExtremeHz;
        s.ToneL_Nordic108[u] = nordic::ListedToneLevel(a.Level);
        s.ToneRef_Nordic108[u] = c.ExtremeLine;

        Log("T", kTraceHeader);
        Log("T", TraceRow(s, batch.position[i], c, a, n, s.DominantTone));
        if (a.Audibility > s.DominantTone) {
            s.DominantToneCBStart = c.LinearRegressionStartLine;
            s.DominantToneCBEnd = c.LinearRegressionEndLine;
            s.DominantToneStartCBHz = lines.f[c.LinearRegressionStartLine];
            s.DominantToneEndCBHz = lines.f[c.LinearRegressionEndLine];
            s.DominantToneLoudness = s.ToneL_Nordic108[u];
            s.DominantTone3dBBandwidth = c.BandWidth3dBHz;
            s.DominantToneMaskingNoise = a.MaskingNoise;
            s.DominantToneHz = c.ExtremeHz;
            s.DominantTone = a.Audibility;
        }
    }
    Log("E", kTone);
}

}  // namespace oxw::engine
