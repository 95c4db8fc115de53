// Level and frequency-scale conversions against hand-computed and published values.
#include "engine/Conversions.h"
#include "engine/Convert.h"

#include <gtest/gtest.h>

#include <cmath>

namespace oxw::engine {
namespace {

TEST(Conversions, KnownValues) {
    struct Case { const char* name; double got, expected, tolerance; };
    const Case cases[] = {
        {"I2dB(0) is 0, not minus infinity", I2dB(0), 0, 0},
        {"I2dB(1e-99)", I2dB(1e-99), -990, 1e-9},
        {"I2dB(1e6)", I2dB(1e6), 60, 1e-12},
        {"I2dB of a negative intensity", I2dB(-1), 0, 0},
        {"dB2I(-70)", dB2I(-70), 1e-7, 1e-21},
        {"Fq2ERB(1000)", Fq2ERB(1000), 15.593, 5e-4},
        {"Erb2Fq(Fq2ERB(1000)): the constants are not exact inverses", Erb2Fq(Fq2ERB(1000)),
         1000.0013, 5e-5},
        {"ERBandwidth(1000)", ERBandwidth(1000), 132.445, 5e-4},
        {"Fq2Bark(1000)", Fq2Bark(1000), 8.511, 5e-4},
        {"Erb2Bark(15.593) is the Bark of 1000 Hz", Erb2Bark(15.593), 8.511, 5e-4},
        {"Threshold(1000)", Threshold(1000), 3.369, 5e-4},
        {"Threshold(4000)", Threshold(4000), -3.388, 5e-4},
        {"Sone2Phon(1)", Sone2Phon(1), 40.265, 5e-4},
        {"Sone2Phon(16)", Sone2Phon(16), 79.056, 5e-4},
        {"Sone2Phon(4e-05) below range", Sone2Phon(4e-05), 4.2, 0},
        {"Sone2Phon(1080) out of range", Sone2Phon(1080), 9999.0, 0},
        {"Sone2Phon(1079)", Sone2Phon(1079), 129.086, 5e-4},
        {"LOG2(-1)", LOG2(-1), 0, 0},
        {"LOG2(440)", LOG2(440), 8.78136, 5e-6},
    };
    for (const auto& c : cases) EXPECT_NEAR(c.got, c.expected, c.tolerance) << c.name;
}

// The integer mean of two 16-bit samples against the halved sum rounded by the C library (ties to
// even in the default rounding mode), on both sides of zero.
TEST(Conversions, HalfSumRoundsLikeTheHalvedSum) {
    for (int a = -32768; a <= 32767; ++a)
        for (int b : {-32768, -1, 0, 1, 32767})
            ASSERT_EQ(HalfSumRoundHalfEven(a, b), std::nearbyint((a + b) / 2.0)) << a << " + " << b;
    EXPECT_EQ(HalfSumRoundHalfEven(1, 2), 2);     // 1.5
    EXPECT_EQ(HalfSumRoundHalfEven(2, 3), 2);     // 2.5
    EXPECT_EQ(HalfSumRoundHalfEven(-1, -2), -2);  // -1.5
    EXPECT_EQ(HalfSumRoundHalfEven(0, -1), 0);    // -0.5
}

}  // namespace
}  // namespace oxw::engine
