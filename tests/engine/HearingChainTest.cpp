// The hearing steps of a block one after the other on bad input: silence (every line at the
// window's floor, or exactly zero), a full-scale square wave and full-scale noise, in both
// passes. Every result is a finite number.
#include "SpectrumFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace oxw::engine {
namespace {

using namespace spectrumtest;

void Steps(Engine& e) {
    e.CalculateSpectDiss();
    e.DoTransferFunctions();
    e.FindRoexComponentLevels();
    e.FindExcitation();
    e.CalculateLoudness();
    e.CalculateSharpness();
    e.ExtractTonalComponents();
    e.CalculateToneDissonance();
}

void ExpectFiniteResults(const RunState& s) {
    auto finite = [](const auto& values, int first, int last, const char* name) {
        for (int i = first; i <= last; ++i)
            ASSERT_TRUE(std::isfinite(values[static_cast<std::size_t>(i)])) << name << i;
    };
    finite(s.CompL, 1, 108, "CompL");
    finite(s.CompInt, 1, 108, "CompInt");
    finite(s.RoexL, 1, 108, "RoexL");
    finite(s.Esig, 8, 156, "Esig");
    finite(s.SpecLoud, 8, 156, "SpecLoud");
    finite(s.ToneF, 1, s.NTones, "ToneF");
    finite(s.ToneL, 1, s.NTones, "ToneL");
    const double results[] = {
        s.Loudness, s.SharpnessZ, s.SharpnessA, s.TimbralWidth, s.Volume, s.SpectDissS,
        s.SpectDissHK, s.DissonanceS, s.DissonanceHK, s.Nmax_T, s.Loudness_Nordic108,
        s.SharpnessZ_Nordic108, s.SharpnessA_Nordic108, s.TimbralWidth_Nordic108,
        s.Volume_Nordic108, s.SpectDissS_Nordic108, s.SpectDissHK_Nordic108,
        s.Loudness_Nordic121, s.SharpnessZ_Nordic121, s.SharpnessA_Nordic121,
        s.TimbralWidth_Nordic121, s.Volume_Nordic121, s.SpectDissS_Nordic121,
        s.SpectDissHK_Nordic121};
    finite(results, 0, static_cast<int>(std::size(results)) - 1, "result ");
}

TEST(HearingChain, BadBlocksGiveFiniteResults) {
    std::vector<int> square(32768), noise = Noise(32768, 32767, 5);
    for (std::size_t i = 0; i < square.size(); ++i) square[i] = (i / 22) % 2 ? 32767 : -32768;
    const std::pair<const char*, std::vector<int>> blocks[] = {
        {"silent", std::vector<int>(32768, 0)}, {"square", square}, {"noise", noise}};
    for (const auto& [name, samples] : blocks) {
        SCOPED_TRACE(name);
        BlockReader r(WavOf(Interleave(samples), 1));
        RunState& s = r.S();
        r.engine.MakeSpectrum();
        r.engine.CompressSpectrum();
        Steps(r.engine);
        ExpectFiniteResults(s);
        if (std::string(name) != "silent") {
            EXPECT_GT(s.Loudness, 50.0);
        }
        // The tone pass on its own compact spectra.
        r.host.texts["CurrentProcessingMode"] = "Extended";
        r.SeekFrame(0);
        r.engine.MakeSpectrum();
        r.engine.NordicCompressSpectrum();
        Steps(r.engine);
        r.engine.NordicCalculateToneDissonance();
        ExpectFiniteResults(s);
    }
    // Lines and bins of exactly zero intensity read 0 dB.
    BlockReader r(SilentWav());
    RunState& s = r.S();
    s.Intensity.fill(0.0);
    s.CompactI.fill(0.0);
    Steps(r.engine);
    ExpectFiniteResults(s);
    EXPECT_EQ(s.NTones, 0);
}

}  // namespace
}  // namespace oxw::engine
