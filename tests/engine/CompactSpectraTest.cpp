// Compact spectra: in the first pass every line lands in the bin whose centre frequency (its
// label) is nearest; the tone pass sums the lines between its band edges, tested literally.
#include "SpectrumFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace oxw::engine {
namespace {

using namespace spectrumtest;

TEST(CompactSpectra, PassOneBinsHoldTheLinesNearestTheirLabels) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    s.POINTS = 4096;
    for (int i = 1; i <= 2048; ++i) s.Intensity[i] = i;  // each line tells where it went
    r.engine.CompressSpectrum();
    r.engine.CompressSpectrum();  // every block starts from empty bins

    Compact expected{};
    double used = 0;
    for (int i = 1; i <= 2048; ++i) {
        const int b = NearestLabel(s, i * 44100.0 / 4096);
        if (b <= 108) expected[b] += i, used += i;
    }
    double total = 0;
    for (int b = 1; b <= 108; ++b) {
        EXPECT_EQ(s.CompactI[b], expected[b]) << "bin " << b << " at " << s.CompactF[b] << " Hz";
        total += s.CompactI[b];
    }
    EXPECT_EQ(total, used);  // every line below the top edge counted exactly once
    EXPECT_EQ(s.CompactI[1], 1.0);
    // Worked cases: line 42 (452.2 Hz) is nearer the label 441.6 Hz than 473.2 Hz; the bin
    // labelled 841.4 Hz ends half-way to its neighbours 794.3 and 891.3 Hz (817.9..866.4 Hz),
    // so it holds lines 76..80 (818.3..861.3 Hz), though 861.3 Hz lies in the band 707..891 Hz.
    EXPECT_EQ(s.CompactI[41], 41 + 42);
    EXPECT_NEAR(s.CompactF[52], 841.4, 0.05);
    EXPECT_EQ(s.CompactI[52], 76 + 77 + 78 + 79 + 80);
    EXPECT_EQ(s.CompactI[109], 0.0);
}

TEST(CompactSpectra, PassTwoSumsLinesBetweenTheBandEdges) {
    for (std::uint32_t rate : {44100u, 48000u}) {
        SCOPED_TRACE(rate);
        BlockReader r(SilentWav(rate));
        RunState& s = r.S();
        s.POINTS = 32768;
        const auto noise = Noise(16384, 1000, 99);  // intensities in (0, 1.001] on lines 1..16384
        for (int l = 1; l <= 16384; ++l) s.Intensity[l] = (std::abs(noise[l - 1]) + 1) / 1000.0;
        s.CompactI.fill(5.0);
        r.engine.NordicCompressSpectrum();
        // The literal rule: line l (f = l x rate / 32768) adds to bin b when low[b] < f <= high[b].
        auto check = [&](const Compact& got, const Compact& low, const Compact& high, int bins) {
            for (int b = 1; b <= bins; ++b) {
                double sum = 0;
                for (int l = 1; l <= 16384; ++l) {
                    const double f = static_cast<double>(l) * rate / 32768;
                    if (low[b] < f && f <= high[b]) sum += s.Intensity[l];
                }
                ASSERT_EQ(got[b], sum) << "bin " << b;  // the same additions in line order
            }
        };
        check(s.DeepCompactINewBins, s.DeepCompactIBinLowBandFreqs, s.DeepCompactIBinHighBandFreqs,
              121);
        check(s.CompactINewBins, s.CompactIBinLowBandFreqs, s.CompactIBinHighBandFreqs, 108);
        for (double v : s.CompactI) ASSERT_EQ(v, 0.0);
    }
}

TEST(CompactSpectra, LineOnAnEdgeBelongsToTheBandBelow) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    s.POINTS = 32768;
    // Line 1000 lies at exactly 1345.8251953125 Hz, inside deep bin 74 (1314.6 .. 1373.0 Hz);
    // make it the edge between bins 74 and 75.
    const double f = 1000 * 44100.0 / 32768;
    ASSERT_LT(s.DeepCompactIBinLowBandFreqs[74], f);
    ASSERT_GT(s.DeepCompactIBinHighBandFreqs[74], f);
    s.DeepCompactIBinHighBandFreqs[74] = s.DeepCompactIBinLowBandFreqs[75] = f;
    s.Intensity.fill(0.0);
    s.Intensity[1000] = 1.0;
    s.Intensity[1001] = 2.0;
    r.engine.NordicCompressSpectrum();
    EXPECT_EQ(s.DeepCompactINewBins[74], 1.0);
    EXPECT_EQ(s.DeepCompactINewBins[75], 2.0);
}

TEST(CompactSpectra, ArrayLinesOfPassOne) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    s.POINTS = 4096;
    s.CountLine = 3;
    for (int i = 1; i <= 2048; ++i) s.Intensity[i] = 0.5;
    r.engine.CompressSpectrum();
    const auto m2 = r.host.Lines("M2");
    // Lines 42 .. 2021 (the top edge of bin 108 lies at 21761 Hz) and the two closing lines.
    ASSERT_EQ(m2.size(), 1980u + 2);
    EXPECT_EQ(m2[0], "Below upper range CompactI, 3, 41, 1");  // line 42 joins line 41's bin
    EXPECT_EQ(m2[1], "Above lower range < 66 CompactI, 3, 42, 0.5");
    EXPECT_EQ(m2[m2.size() - 2], "End of array data");
    EXPECT_EQ(m2.back(), "Now list all CompactI values ************************************");
    EXPECT_EQ(r.host.Count("D", " Calculate CompactI 108 elements) using Intensity"), 1);
}

}  // namespace
}  // namespace oxw::engine
