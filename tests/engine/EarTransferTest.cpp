// Ear transfer: the free-field, diffuse-field and middle-ear curves against their table of
// gains (dB, for a 0 dB input) and their boundaries, and the per-block transfer of the compact
// spectra of both passes.
#include "SpectrumFixture.h"
#include "engine/Conversions.h"
#include "engine/EarTransfer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace oxw::engine {
namespace {

using namespace spectrumtest;

TEST(EarTransfer, GainTableAndBoundaries) {
    struct Row { double hz, free, diffuse, middle; };
    const Row table[] = {
        {100, 0, 0, -12.945},          {200, 0.498, 0.541, -8.762},
        {1000, 2.531, 3.076, -2.457},  {2550, 16.542, 11.587, -10.720},
        {4000, 14.313, 12.970, -5.590}, {10000, -1.260, 9.877, -10.011},
        {16080, 0, 10.673, -17.407},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(r.hz);
        // Each curve adds its gain to the level it is given.
        EXPECT_NEAR(FreeField(47.5, r.hz), 47.5 + r.free, 5e-4);
        EXPECT_NEAR(DiffuseField(-20, r.hz), -20 + r.diffuse, 5e-4);
        EXPECT_NEAR(MiddleEar(90, r.hz), 90 + r.middle, 5e-4);
        EXPECT_NEAR(EarGain('F', r.hz), r.free + r.middle, 1e-3);
        EXPECT_NEAR(EarGain('D', r.hz), r.diffuse + r.middle, 1e-3);
        EXPECT_NEAR(EarGain('E', r.hz), r.middle, 5e-4);
    }
    // The free field holds its input at and beyond 104 and 16080 Hz; at 318 Hz the last row
    // (0.7343, 1.68) applies, just above it the next (0.684, 2.163).
    for (double hz : {50.0, 104.0, 16080.0, 20000.0}) EXPECT_EQ(FreeField(33.0, hz), 33.0) << hz;
    EXPECT_NEAR(FreeField(0, 104.001), 0.7343 * std::log(0.104001) + 1.68, 1e-9);
    EXPECT_NEAR(FreeField(0, 318), 0.7343 * std::log(0.318) + 1.68, 1e-9);
    EXPECT_NEAR(FreeField(0, 318.001), 0.684 * std::log(0.318001) + 2.163, 1e-9);
    EXPECT_NEAR(FreeField(0, 16079.9), 56.79 * std::log(16.0799) - 155.3, 1e-9);
    // The diffuse field changes polynomial at 3000 Hz (the two fits meet 0.59 dB apart) and has
    // no upper limit.
    EXPECT_EQ(DiffuseField(5.0, 100.0), 5.0);
    EXPECT_NEAR(DiffuseField(0, 2999.999), 14.005, 5e-4);
    EXPECT_NEAR(DiffuseField(0, 3000), 14.593, 5e-4);
    EXPECT_TRUE(std::isfinite(DiffuseField(0, 22050)));
}

// CompL = I2dB(CompactI) + the ear's gain and CompInt = dB2I(CompL), bin by bin, for each field;
// a bin without energy enters as 0 dB.
TEST(EarTransfer, TransferOfTheCompactSpectraOfBothPasses) {
    BlockReader r(SilentWav());
    RunState& s = r.S();
    for (int i = 1; i <= 108; ++i) s.CompactI[i] = dB2I(20 + i * 0.5);
    s.CompactI[7] = 0;
    for (char field : {'F', 'D', 'E'}) {
        SCOPED_TRACE(field);
        s.Field = field;
        r.engine.DoTransferFunctions();
        for (int i = 1; i <= 108; ++i) {
            const double f = s.CompactF[i];
            double level = i == 7 ? 0.0 : 20 + i * 0.5;
            if (field == 'F') level = FreeField(level, f);
            if (field == 'D') level = DiffuseField(level, f);
            level = MiddleEar(level, f);
            ASSERT_NEAR(s.CompL[i], level, 1e-9) << i;
            ASSERT_NEAR(s.CompInt[i], dB2I(level), 1e-12 * dB2I(level)) << i;
        }
        EXPECT_EQ(s.CompL[109], 0.0);
    }
    EXPECT_EQ(r.host.log.end()[-2], (test::LogLine{"D", " Calculate CompInt using CompL"}));

    // The tone pass transfers both Nordic spectra, as many bins as the bin-count texts give,
    // and leaves the first pass's arrays alone.
    r.host.texts["CurrentProcessingMode"] = "Extended";
    r.host.texts["MusicBinCount"] = "100";
    s.Field = 'F';
    const Compact before = s.CompL;
    s.CompactINewBins.fill(1e4);
    s.DeepCompactINewBins.fill(1e2);
    r.engine.DoTransferFunctions();
    EXPECT_EQ(s.CompL, before);
    for (int i = 1; i <= 121; ++i) {
        if (i <= 108) {
            EXPECT_NEAR(s.CompL_Nordic108[i], i <= 100 ? 40 + EarGain('F', s.CompactF[i]) : 0.0,
                        1e-9) << i;
        }
        EXPECT_NEAR(s.CompL_Nordic121[i], 20 + EarGain('F', s.CompactF_Nordic121[i]), 1e-9) << i;
        EXPECT_NEAR(s.CompInt_Nordic121[i], dB2I(s.CompL_Nordic121[i]), 1e-12) << i;
    }
}

}  // namespace
}  // namespace oxw::engine
