// Tonal components of first-pass blocks: sines found at their frequencies and levels, and the
// edges of the peak tests on crafted spectra (levels exactly on the 10 dB and 6 dB limits,
// ties with the neighbours, lines outside the searched range).
#include "SpectrumFixture.h"
#include "engine/Conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

namespace oxw::engine {
namespace {

using namespace spectrumtest;

// A 60 dB sine (rms 1044 LSB) at 1000 Hz, then together with one at 1500 Hz.
TEST(TonalComponents, SinesAreFoundAtTheirFrequencies) {
    const double amplitude = 1044 * std::sqrt(2.0);
    BlockReader one(WavOf(Interleave(Sine(4096, amplitude, 1000, 44100)), 1));
    EXPECT_TRUE(one.engine.MakeSpectrum());
    one.engine.ExtractTonalComponents();
    const RunState& s = one.S();
    ASSERT_EQ(s.NTones, 1);
    EXPECT_NEAR(s.ToneF[1], 1000.0, 1.5);
    EXPECT_NEAR(s.ToneF[1], 1000.49, 0.01);  // this chain
    EXPECT_NEAR(s.ToneL[1], 58.66, 0.01);    // the double window reads 1.3 dB low
    EXPECT_EQ(s.ToneRef[1], 93);
    EXPECT_EQ(one.host.Lines("D").back(), " ExtractTonalComponents NTones value is 1");

    auto x = Sine(4096, amplitude, 1000, 44100);
    const auto y = Sine(4096, amplitude, 1500, 44100);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] += y[i];
    BlockReader two(WavOf(Interleave(x), 1));
    EXPECT_TRUE(two.engine.MakeSpectrum());
    two.engine.ExtractTonalComponents();
    ASSERT_EQ(two.S().NTones, 2);
    EXPECT_EQ(std::pair(two.S().ToneRef[1], two.S().ToneRef[2]), std::pair(93.0, 139.0));
    EXPECT_NEAR(two.S().ToneF[2], 1500.0, 1.5);
}

// The intensity nearest `x` whose level is exactly `dB`.
double AtLevel(double dB) {
    double x = dB2I(dB);
    for (int k = 0; k < 64 && I2dB(x) != dB; ++k)
        x = std::nextafter(x, I2dB(x) < dB ? 1e300 : 0.0);
    return x;
}

// The next intensity up whose level is above that of x.
double JustAbove(double x) {
    double y = x;
    while (I2dB(y) <= I2dB(x)) y = std::nextafter(y, 1e300);
    return y;
}

TEST(TonalComponents, EdgesOfThePeakTests) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    const double ten = AtLevel(10.0), thirty = AtLevel(30.0), twentyFour = AtLevel(24.0);
    ASSERT_EQ(I2dB(ten), 10.0);
    ASSERT_EQ(I2dB(thirty) - I2dB(twentyFour), 6.0);
    auto run = [&](auto shape) {
        s.Intensity.fill(1.0);  // 0 dB everywhere
        shape();
        r.engine.ExtractTonalComponents();
    };

    run([&] { s.Intensity[100] = ten; });  // exactly 10.0 dB is not above 10
    EXPECT_EQ(s.NTones, 0);
    run([&] { s.Intensity[100] = JustAbove(ten); });
    EXPECT_EQ(s.NTones, 1);

    // Exactly 6.0 dB above the lines two and three away on both sides is enough.
    run([&] {
        s.Intensity[200] = thirty;
        for (int k : {197, 198, 202, 203}) s.Intensity[k] = twentyFour;
    });
    ASSERT_EQ(s.NTones, 1);
    EXPECT_EQ(s.ToneRef[1], 200);
    EXPECT_NEAR(s.ToneL[1], 31.6, 1e-12);
    EXPECT_NEAR(s.ToneF[1], 200 * 44100.0 / 4096, 1e-9);
    run([&] {
        s.Intensity[200] = thirty;
        s.Intensity[203] = JustAbove(twentyFour);
    });
    EXPECT_EQ(s.NTones, 0);

    // A tie with the upper neighbour counts (its correction is 0.46 Hz per dB above the lower
    // neighbour); a tie with the lower one does not.
    run([&] {
        s.Intensity[300] = s.Intensity[301] = 1e3;
        s.Intensity[299] = 1e2;
    });
    ASSERT_EQ(s.NTones, 1);
    EXPECT_EQ(s.ToneRef[1], 300);
    EXPECT_NEAR(s.ToneF[1], 300 * 44100.0 / 4096 + 0.46 * (30 - 20), 1e-9);
    run([&] {
        s.Intensity[300] = s.Intensity[299] = 1e3;
        s.Intensity[301] = 1e2;
    });
    ASSERT_EQ(s.NTones, 1);
    EXPECT_EQ(s.ToneRef[1], 299);

    // Lines 1 to 3 and from 510 on are never searched; line 4 and line 509 are.
    run([&] {
        for (int k : {2, 3, 510, 511, 600}) s.Intensity[k] = 1e8;
    });
    EXPECT_EQ(s.NTones, 0);
    run([&] {
        for (int k : {4, 509}) s.Intensity[k] = 1e8;
    });
    ASSERT_EQ(s.NTones, 2);
    EXPECT_EQ(std::pair(s.ToneRef[1], s.ToneRef[2]), std::pair(4.0, 509.0));

    // Silence: no tones.
    run([&] { s.Intensity.fill(0.0); });
    EXPECT_EQ(s.NTones, 0);
    EXPECT_EQ(r.host.Lines("D").back(), " ExtractTonalComponents NTones value is 0");
}

struct RefreshCountingHost : test::ScriptedHost {
    int refreshes = 0;
    void Refresh() override { ++refreshes; }
};

// The tone pass keeps the first pass's list, still logs and refreshes the window once.
TEST(TonalComponents, TonePassKeepsTheList) {
    RefreshCountingHost host;
    Engine e(host);
    RunState& s = e.S();
    host.texts["CurrentProcessingMode"] = "Standard";
    s.Intensity[100] = 1e8;
    e.ExtractTonalComponents();  // a state without tone arrays lists nothing
    EXPECT_EQ(s.NTones, 0);
    s.ToneF.assign(MAXTONES, 0.0);
    s.ToneL.assign(MAXTONES, 0.0);
    s.ToneRef.assign(MAXTONES, 0.0);
    e.ExtractTonalComponents();
    ASSERT_EQ(s.NTones, 1);
    host.texts["CurrentProcessingMode"] = "Extended";
    s.POINTS = 32768;
    s.Intensity.fill(0.0);
    host.log.clear();
    host.refreshes = 0;
    e.ExtractTonalComponents();
    EXPECT_EQ(std::tuple(s.NTones, s.ToneRef[1], host.refreshes), std::tuple(1, 100.0, 1));
    const std::vector<test::LogLine> expected = {
        {"S", "ExtractTonalComponents"},
        {"D", "ToneF, ToneL, ToneRef using Intensity"},
        {"D", " ExtractTonalComponents NTones value is 1"},
        {"E", "ExtractTonalComponents"}};
    EXPECT_EQ(host.log, expected);
}

}  // namespace
}  // namespace oxw::engine
