// Sharpness, timbral width and volume. Published reference: DIN 45692 defines 1 acum as the
// sharpness of narrow-band noise one critical band wide at 1 kHz and 60 dB. The other cases put
// specific loudness on single grid points, where each measure reduces to its weight there.
#include "SpectrumFixture.h"
#include "engine/Conversions.h"
#include "engine/Sharpness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace oxw::engine {
namespace {

using namespace spectrumtest;

// Lines 86..100 (926..1077 Hz) carry 60 dB in all, every other line 1e-9; free field.
TEST(Sharpness, CriticalBandNoiseAt1kHzIsOneAcum) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    s.Intensity.fill(1e-9);
    for (int i = 86; i <= 100; ++i) s.Intensity[i] = 1e6 / 15;
    for (auto step : {&Engine::CompressSpectrum, &Engine::DoTransferFunctions,
                      &Engine::FindRoexComponentLevels, &Engine::FindExcitation,
                      &Engine::CalculateLoudness, &Engine::CalculateSharpness})
        (r.engine.*step)();
    EXPECT_NEAR(s.SharpnessZ, 1.0, 0.1);               // DIN 45692
    EXPECT_NEAR(s.SharpnessZ, 0.9727, 0.01 * 0.9727);  // this chain
    EXPECT_EQ(r.host.Count("E", "CalculateSharpness"), 1);
}

// Specific loudness n at grid index e only: N = n / 4 sone.
std::vector<double> Single(int e, double n) {
    std::vector<double> v(SPECLOUD_SIZE, 0.0);
    v[static_cast<std::size_t>(e)] = n;
    return v;
}

TEST(Sharpness, WeightsOfSingleGridPoints) {
    struct Row { int e; double gZ; };
    // Below 24.5 ERB the Zwicker-Fastl weight is 1; from 24.5 ERB a cubic (0: the cubic).
    const Row rows[] = {{40, 1.0}, {97, 1.0}, {98, 0}, {140, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.e);
        const double E = row.e * 0.25, z = Erb2Bark(E), n = 2.0, N = n / 4;
        const Timbre t = TimbreOf(Single(row.e, n).data(), N);
        const double gZ = row.gZ > 0 ? row.gZ
                                     : -5.86183e-05 * E * E * E + 0.0209379 * E * E - 0.971707 * E +
                                           13.1746;
        EXPECT_NEAR(t.SharpnessZ, 0.11 * z * gZ, 1e-12);
        if (row.e == 98) {
            EXPECT_NEAR(gZ, 1.074, 5e-4);  // the step at 24.5 ERB
        }
        const double gA = 0.0165 * std::exp(0.171 * z);
        EXPECT_NEAR(t.SharpnessA, 0.585 * N * gA / std::log((N + 20) / 20), 1e-12);
        EXPECT_EQ(t.TimbralWidth, 0.0);  // all the loudness at the peak
        EXPECT_NEAR(t.Volume, 347000 * std::sqrt(N) / std::pow(8.65 + E, 4), 1e-9 * t.Volume);
    }
}

// The window one ERB wide around the peak: two steps below it, the peak and one above. The
// first of equal maxima is the peak. Below 0.01 sone the neutral values.
TEST(Sharpness, PeakWindowEqualMaximaAndTheLoudnessFloor) {
    std::vector<double> v(SPECLOUD_SIZE, 0.0);
    v[58] = v[59] = v[61] = 0.5;
    v[60] = 1.0;
    EXPECT_EQ(TimbreOf(v.data(), 0.625).TimbralWidth, 0.0);
    v[62] = 0.4;  // two steps above the peak: outside the window
    EXPECT_NEAR(TimbreOf(v.data(), 0.725).TimbralWidth, std::pow(0.1 / 0.725, 2), 1e-15);
    v.assign(SPECLOUD_SIZE, 0.0);
    v[60] = 2.0;
    v[80] = 2.0;  // equal maxima: the peak is 60, so the loudness at 80 counts
    EXPECT_NEAR(TimbreOf(v.data(), 1.0).TimbralWidth, 0.25, 1e-15);

    const Timbre quiet = TimbreOf(Single(60, 1.0).data(), 0.0099);
    EXPECT_EQ(std::tuple(quiet.SharpnessZ, quiet.SharpnessA, quiet.TimbralWidth, quiet.Volume),
              std::tuple(0.0, 0.0, 1.0, 0.0));
    EXPECT_GT(TimbreOf(Single(60, 0.04).data(), 0.01).SharpnessZ, 0.0);
}

// The tone pass fills the results of both Nordic sets and leaves the first pass's.
TEST(Sharpness, TonePassRatesBothNordicSets) {
    BlockReader r(SilentWav(), "Both", "Extended");
    RunState& s = r.S();
    s.SharpnessZ = 5.0;
    s.SpecLoud_Nordic108 = Single(60, 4.0);
    s.Loudness_Nordic108 = 1.0;
    s.SpecLoud_Nordic121 = Single(100, 4.0);
    s.Loudness_Nordic121 = 0.005;
    r.engine.CalculateSharpness();
    EXPECT_EQ(s.SharpnessZ, 5.0);
    EXPECT_NEAR(s.SharpnessZ_Nordic108, 0.11 * Erb2Bark(15), 1e-12);
    EXPECT_EQ(s.TimbralWidth_Nordic108, 0.0);
    EXPECT_EQ(s.SharpnessZ_Nordic121, 0.0);
    EXPECT_EQ(s.TimbralWidth_Nordic121, 1.0);
}

}  // namespace
}  // namespace oxw::engine
