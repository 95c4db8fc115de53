// The audibility chart's reference data against ISO 226:2003, and the ambient conversion against
// hand-worked cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "views/AudibilityData.h"

namespace {

using namespace oxw::views::frmAudibility;

// ISO 226:2003, Table 1, at the chart's 26 bands (31.5 Hz .. 10 kHz): exponent af, magnitude
// Lu of the linear transfer function, and threshold of hearing Tf.
constexpr double kAf[26] = {0.480, 0.455, 0.432, 0.409, 0.387, 0.367, 0.349, 0.330, 0.315,
                            0.301, 0.288, 0.276, 0.267, 0.259, 0.253, 0.250, 0.246, 0.244,
                            0.243, 0.243, 0.243, 0.242, 0.242, 0.245, 0.254, 0.271};
constexpr double kLu[26] = {-23.0, -19.1, -15.9, -13.0, -10.3, -8.1, -6.2, -4.5, -3.1,
                            -2.0,  -1.1,  -0.4,  0.0,   0.3,   0.5,  0.0,  -2.7, -4.1,
                            -1.0,  1.7,   2.5,   1.2,   -2.1,  -7.1, -11.2, -10.7};
constexpr double kTf[26] = {59.5, 51.1, 44.0, 37.5, 31.5, 26.5, 22.1, 17.9, 14.4, 11.4, 8.6, 6.2, 4.4,
                            3.0,  2.2,  2.4,  3.5,  1.7,  -1.3, -4.2, -6.0, -5.4, -1.5, 6.0,  12.6, 13.9};

// The ISO 226:2003 equal-loudness level at band index i for loudness level LN phon.
double Iso226(int i, double LN)
{
    const double Af = 4.47e-3 * (std::pow(10.0, 0.025 * LN) - 1.15) +
                      std::pow(0.4 * std::pow(10.0, (kTf[i] + kLu[i]) / 10.0 - 9.0), kAf[i]);
    return 10.0 / kAf[i] * std::log10(Af) - kLu[i] + 94.0;
}

const ReferenceContour& Contour(int level)
{
    for (const ReferenceContour& c : AudibilityReferenceContours)
        if (c.Level == level) return c;
    throw std::out_of_range("no contour");
}

TEST(AudibilityData, ThresholdAndTwentyPhonFollowIso226)
{
    double worst = 0;
    for (int i = 0; i < NumBands; ++i) {
        EXPECT_EQ(HearingThresholdLevels[i], kTf[i]) << HzTable[i];
        const double dev = std::abs(LL20Levels[i] - Iso226(i, 20.0));
        EXPECT_LT(dev, 0.05) << HzTable[i];
        worst = std::max(worst, dev);
    }
    EXPECT_NEAR(worst, 0.048, 0.001);
    EXPECT_NEAR(std::abs(LL20Levels[3] - Iso226(3, 20.0)), 0.048, 0.001);    // 63 Hz
    EXPECT_NEAR(std::abs(LL20Levels[18] - Iso226(18, 20.0)), 0.048, 0.001);  // 2 kHz
}

TEST(AudibilityData, ContoursAndConversionRowsAgree)
{
    int points = 0, level = 95;
    for (const ReferenceContour& c : AudibilityReferenceContours) {
        EXPECT_EQ(c.Level, level);
        level -= 5;
        EXPECT_EQ(c.FirstBand + c.NumPoints() - 1, 26) << c.Level;
        points += c.NumPoints();
    }
    EXPECT_EQ(points, 446);
    // Rows 2..19: targets are the band-26 ends of the contours U + 5 and U; windows the band
    // span of contour U (row 19 has no contour of its own).
    for (int row = 2; row <= 19; ++row) {
        const ConvertRow& r = ConvertYAxis[row - 1];
        const int U = static_cast<int>(r.U);
        EXPECT_EQ(U, 100 - 5 * row) << row;
        EXPECT_EQ(r.D, U - 5) << row;
        EXPECT_EQ(r.TU, Contour(U + 5).Levels.back()) << row;
        if (row == 19) {
            EXPECT_EQ(r.TD, 0.1);
            continue;
        }
        EXPECT_EQ(r.TD, Contour(U).Levels.back()) << row;
        EXPECT_EQ(r.FLo, HzTable[Contour(U).FirstBand - 1]) << row;
        EXPECT_EQ(r.FHi, 10000) << row;
    }
}

TEST(AudibilityData, I2dBOfBadIntensitiesIsZero)
{
    EXPECT_DOUBLE_EQ(I2dB(1e6), 4.342944819032518 * std::log(1e6));
    EXPECT_DOUBLE_EQ(I2dB(3.7), 4.342944819032518 * std::log(3.7));
    for (double bad : {0.0, -1.0, -1e-300, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()})
        EXPECT_EQ(I2dB(bad), 0.0) << bad;
}

TEST(AudibilityData, AmbientConversionHandCases)
{
    struct Case {
        double L, f, expected;
    };
    const Case cases[] = {
        {60, 1000, 59.0},       {60, 125, 59.0},          {60, 10000, 59.0},  // row 7's lower end
        {62.5, 1000, 61.5},     {87, 1000, 84.88},        // row 2
        {5, 1250, 4.0},         {5, 1600, 4.0},           {5, 10000, 4.0},   // row 18 at any band
        {4.999, 1250, 3.99922}, {4.999, 1600, 0.0},       // row 19 only up to 1250 Hz
        {0, 125, 0.1},          {0, 1250, 0.1},           {0, 1600, 0.0},    {-0.1, 1000, 0.0},
        {-30, 125, 0.0},        {89.99, 1000, 87.6906},   {90, 1000, 87.7},  {90, 125, 87.7},
        {95, 10000, 87.7},      {120, 1000, 87.7},        {std::nan(""), 1000, 0.0},
    };
    for (const Case& c : cases) EXPECT_NEAR(ConvertAmbientLevel(c.L, c.f), c.expected, 1e-9) << c.L << " dB at " << c.f;
}

TEST(AudibilityData, ConversionAtOneKilohertzIsContinuousAndRising)
{
    double last = ConvertAmbientLevel(0, 1000);
    for (int k = 1; k <= 90000; ++k) {
        const double now = ConvertAmbientLevel(k * 0.001, 1000);
        ASSERT_GE(now, last) << k * 0.001;
        ASSERT_LE(now - last, 0.00104 + 1e-9) << k * 0.001;  // steepest rows: 5 dB to 5.2 dB
        last = now;
    }
    EXPECT_EQ(last, 87.7);
}

}  // namespace
