// Joint Nordic roughness audibility on one block of the tone pass: the mirror image of the tone
// assessment. Every dip framed by two noise pauses enters the Nordic roughness list with the
// frequency (Hz) and line of its minimum and its level (dB, not adjusted), and competes for the
// dominant roughness of the pass; the audibility (dB) follows the tone's rule. No trace rows.
#include <string>

#include "engine/Engine.h"
#include "engine/NordicScan.h"

namespace oxw::engine {

namespace {
constexpr const char* kRoughness = "NordicExtractRoughnessComponents";
}

void Engine::NordicExtractRoughnessComponents() {
    RunState& s = S();
    Log("S", kRoughness);
    Log("D", std::string(kRoughness) +
                 "  NordicRoughnessF, NordicRoughnessL, NordicRoughnessRef using Intensity");
    s.NRoughness_Nordic108 = 0;
    s.NRoughness_Nordic121 = 0;
    const nordic::LineTable lines = NordicLineTable(kRoughness);
    nordic::Scan scan(lines, nordic::Extreme::Dip,
                      {s.Start3dBHz, s.End3dBHz, s.RoughnessBandWidth3dBHz,
                       s.CriticalBandWidth_Nordic});
    const int room = nordic::ListCapacity(
        {&s.RoughnessF_Nordic108, &s.RoughnessL_Nordic108, &s.RoughnessRef_Nordic108});
    nordic::CandidateBatch& batch = NordicBatch();
    // No trace rows: the quality of the regression line is not wanted. Only a dip that may
    // become dominant needs its regression (the dominant audibility never falls), and its
    // audibility in full.
    batch.Collect(scan, room, lines, s.DominantRoughness);
    for (std::size_t i = 0; i < batch.list.size(); ++i) {
        const nordic::Candidate& c = batch.list[i];
        const auto u = static_cast<std::size_t>(++s.NRoughness_Nordic108);
        s.RoughnessF_Nordic108[u] = c.ExtremeHz;
        s.RoughnessL_Nordic108[u] = batch.level[i];
        s.RoughnessRef_Nordic108[u] = c.ExtremeLine;
        if (batch.runs[i].n == 0) continue;
        const nordic::Assessment a =
            nordic::AssessLine(lines, c, batch.sums[i], s.DominantRoughness);
        if (a.Audibility > s.DominantRoughness) {
            s.DominantRoughnessCBStart = c.LinearRegressionStartLine;
            s.DominantRoughnessCBEnd = c.LinearRegressionEndLine;
            s.DominantRoughnessStartCBHz = lines.f[c.LinearRegressionStartLine];
            s.DominantRoughnessEndCBHz = lines.f[c.LinearRegressionEndLine];
            s.DominantRoughnessLoudness = a.Level;
            s.DominantRoughness3dBBandwidth = c.BandWidth3dBHz;
            s.DominantRoughnessMaskingNoise = a.MaskingNoise;
            s.DominantRoughnessHz = c.ExtremeHz;
            s.DominantRoughness = a.Audibility;
        }
    }
    Log("E", kRoughness);
}

}  // namespace oxw::engine
