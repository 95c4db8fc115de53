// Weighted, octave and third-octave levels of compact spectra. The weightings are checked
// against the published IEC table (A and C of IEC 61672-1 Table 3, B of IEC 60651), the band
// levels against tones placed at band centres and against white noise, whose band levels rise
// by 3 dB per octave because the bands widen in proportion to their centres.
#include "SpectrumFixture.h"
#include "engine/Conversions.h"
#include "engine/Weighting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace oxw::engine {
namespace {

using namespace spectrumtest;

constexpr double kSilent = -990.0;  // level of an empty sum (1e-99)

// An engine on the 108-bin grid of the first pass with every compact spectrum empty.
struct Fixture : BlockReader {
    RunState& s = S();
    Fixture() : BlockReader(SilentWav()) {}
};

// Expects `levels` to read `level` in band `hit` and nothing in the others.
void ExpectOnlyBand(const std::vector<double>& levels, int hit, double level) {
    for (int k = 0; k < static_cast<int>(levels.size()); ++k)
        EXPECT_NEAR(levels[k], k == hit ? level : kSilent, 1e-9) << "band " << k;
}

// IEC weighting table at the nominal third-octave frequencies, dB re 1 kHz.
struct IecRow { double hz, a, b, c; };
constexpr IecRow kIec[] = {
    {10, -70.4, -38.2, -14.3},   {12.5, -63.4, -33.2, -11.2}, {16, -56.7, -28.5, -8.5},
    {20, -50.5, -24.2, -6.2},    {25, -44.7, -20.4, -4.4},    {31.5, -39.4, -17.1, -3.0},
    {40, -34.6, -14.2, -2.0},    {50, -30.2, -11.6, -1.3},    {63, -26.2, -9.3, -0.8},
    {80, -22.5, -7.4, -0.5},     {100, -19.1, -5.6, -0.3},    {125, -16.1, -4.2, -0.2},
    {160, -13.4, -3.0, -0.1},    {200, -10.9, -2.0, 0.0},     {250, -8.6, -1.3, 0.0},
    {315, -6.6, -0.8, 0.0},      {400, -4.8, -0.5, 0.0},      {500, -3.2, -0.3, 0.0},
    {630, -1.9, -0.1, 0.0},      {800, -0.8, 0.0, 0.0},       {1000, 0.0, 0.0, 0.0},
    {1250, 0.6, 0.0, 0.0},       {1600, 1.0, 0.0, -0.1},      {2000, 1.2, -0.1, -0.2},
    {2500, 1.3, -0.2, -0.3},     {3150, 1.2, -0.4, -0.5},     {4000, 1.0, -0.7, -0.8},
    {5000, 0.5, -1.2, -1.3},     {6300, -0.1, -1.9, -2.0},    {8000, -1.1, -2.9, -3.0},
    {10000, -2.5, -4.3, -4.4},   {12500, -4.3, -6.1, -6.2},   {16000, -6.6, -8.4, -8.5},
    {20000, -9.3, -11.1, -11.2},
};

void ExpectIecWeightings(const RunState& s, const IecRow& row) {
    const double tol = row.hz == 1000 ? 0.15 : 0.6;
    EXPECT_NEAR(s.LA_T - s.SPL_T, row.a, tol);
    EXPECT_NEAR(s.LB_T - s.SPL_T, row.b, tol);
    EXPECT_NEAR(s.LC_T - s.SPL_T, row.c, tol);
    EXPECT_NEAR(s.LA, s.LA_T, 1e-9);
}

TEST(Levels, WeightedLevelsOfPureTonesFollowTheIecTable) {
    Fixture fx;
    RunState& s = fx.s;
    s.DravolekSizeOfCompactSpectrum = 1;
    for (const IecRow& row : kIec) {
        SCOPED_TRACE(row.hz);
        s.CompactF[1] = row.hz;
        s.CompactI_T[1] = s.CompactI[1] = 1e8;  // an 80 dB tone
        fx.engine.CalculateLevels();
        fx.engine.CalculateLA();
        EXPECT_NEAR(s.SPL_T, 80.0, 1e-9);
        ExpectIecWeightings(s, row);
        EXPECT_NEAR(s.Centroid_T, row.hz, 1e-9 * row.hz);
    }
}

TEST(Levels, WeightingsAtHandWorkedPoints) {
    const double got[] = {dBA(60, 1000), dBA(0, 100), dBC(60, 31.5), dBC(0, 100), dBB(60, 1000)};
    const double want[] = {59.990, -19.181, 56.898, -0.212, 60.0};  // B: 0 dB at 1 kHz
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(got[k], want[k], 0.0005) << k;
    // No response at DC: the weighted intensity of a bin at 0 Hz is 0.
    EXPECT_EQ(std::min({dBA(60, 0), dBB(60, 0), dBC(60, -1)}), -INFINITY);
    EXPECT_EQ(std::max({dBA(60, 0), dBB(60, 0), dBC(60, -1)}), -INFINITY);
}

TEST(Levels, SilentLineReadsTheEmptyLevelEverywhere) {
    Fixture fx;  // empty bins add nothing to any sum, weighted or not
    fx.engine.CalculateLevels();
    fx.engine.CalculateLA();
    const RunState& s = fx.s;
    for (double level : {s.SPL_T, s.LA_T, s.LB_T, s.LC_T, s.LA}) EXPECT_DOUBLE_EQ(level, kSilent);
    EXPECT_EQ(s.Centroid_T, 0.0);
    ExpectOnlyBand(s.Oct_T, -1, 0);
    ExpectOnlyBand(s.ThirdOct_T, -1, 0);
}

TEST(Levels, ToneAtABandCentreFillsOnlyThatBand) {
    for (int j = 0; j < 10 + 22; ++j) {
        const bool octave = j < 10;
        const int band = octave ? j : j - 10;
        SCOPED_TRACE((octave ? "octave " : "third octave ") + std::to_string(band));
        Fixture fx;
        const double centre = octave ? 31.25 * std::pow(2.0, band) : 125 * std::cbrt(1 << band);
        const int bin = NearestLabel(fx.s, centre);
        fx.s.CompactI_T[bin] = 1e6;  // 60 dB
        fx.engine.CalculateLevels();
        ExpectOnlyBand(octave ? fx.s.Oct_T : fx.s.ThirdOct_T, band, 60.0);
        EXPECT_NEAR(fx.s.Centroid_T, fx.s.CompactF[bin], 1e-9 * centre);
    }
}

TEST(Levels, BandEdgesAndBinsOutsideTheBands) {
    struct Case { double hz; int third, octave; };  // band indices, -1 for none
    const Case cases[] = {
        {110.0, -1, 2},     // below the first third octave (111 Hz)
        {111.0, 0, 2},      // on the first lower edge
        {140.0, 1, 2},      // on an upper edge: the next band
        {139.99, 0, 2},
        {21.99, -1, -1},    // below the first octave (22 Hz)
        {17959.0, -1, 9},   // on the last third octave's upper edge
        {22627.0, -1, -1},  // on the last octave's upper edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hz);
        Fixture fx;
        fx.s.DravolekSizeOfCompactSpectrum = 1;
        fx.s.CompactF[1] = c.hz;
        fx.s.CompactI_T[1] = 100.0;  // 20 dB
        fx.engine.CalculateLevels();
        ExpectOnlyBand(fx.s.ThirdOct_T, c.third, 20.0);
        ExpectOnlyBand(fx.s.Oct_T, c.octave, 20.0);
    }
}

// Spectra from the real block chain: a 16-bit WAV file read block by block, windowed,
// transformed and compressed into the 108-bin grid; `blocks` blocks averaged into one line.
void LineOfBlocks(BlockReader& r, int blocks) {
    RunState& s = r.S();
    s.CompactI_T = {};
    for (int b = 0; b < blocks; ++b) {
        EXPECT_TRUE(r.engine.MakeSpectrum());
        r.engine.CompressSpectrum();
        for (int i = 1; i <= 108; ++i) s.CompactI_T[i] += s.CompactI[i] / blocks;
    }
    r.engine.CalculateLA();
    r.engine.CalculateLevels();
}

// Mean level of bands first..first + n - 1.
double MeanLevel(const std::vector<double>& levels, int first, int n) {
    return std::accumulate(levels.begin() + first, levels.begin() + first + n, 0.0) / n;
}

TEST(Levels, BlockChainWhiteNoiseBandsRiseThreeDecibelsPerOctave) {
    BlockReader r(WavOf(Interleave(Noise(4096 + 20 * OFFSET * 5, 10000, 4242)), 1));
    ASSERT_EQ(r.S().Resolution, 5);
    LineOfBlocks(r, 20);
    const RunState& s = r.S();
    // 3.01 dB per octave; bands of few bins carry the grid's coarseness, so compare the means
    // of groups three octaves apart: thirds 630..1600 Hz and 5..16 kHz, octaves 250..1000 Hz
    // and 2..8 kHz.
    EXPECT_NEAR(MeanLevel(s.ThirdOct_T, 16, 6) - MeanLevel(s.ThirdOct_T, 7, 6), 9.03, 0.75);
    EXPECT_NEAR(MeanLevel(s.Oct_T, 6, 3) - MeanLevel(s.Oct_T, 3, 3), 9.03, 0.75);
    // The 1 kHz octave (707..1414 Hz) shares its edges with the 800, 1000 and 1250 Hz third
    // octaves, so it holds exactly their energy.
    double thirdsOf1k = 0;
    for (int k = 8; k <= 10; ++k) thirdsOf1k += std::pow(10.0, s.ThirdOct_T[k] / 10);
    EXPECT_NEAR(s.Oct_T[5], 10 * std::log10(thirdsOf1k), 1e-9);
    // Flat spectrum: the centroid lies near the middle of the analysed range (0..21.4 kHz).
    EXPECT_NEAR(s.Centroid_T, 10800, 600);
}

TEST(Levels, TonePassLevelsOfBothCompactSpectra) {
    Fixture fx;
    RunState& s = fx.s;
    fx.host.texts["CurrentProcessingMode"] = "Extended";
    s.CompactINewBins[55] = 1e7;      // 70 dB at 1 kHz on the 108-bin grid
    s.DeepCompactINewBins[68] = 1e5;  // 50 dB at 10^(1.3 + 67/40) = 944 Hz on the 121-bin grid
    fx.engine.CalculateLA();
    EXPECT_NEAR(s.LA_Nordic108, 70.0 - 0.010, 0.002);
    EXPECT_NEAR(s.LA_Nordic121, 50.0 - 0.3, 0.1);
    EXPECT_EQ(fx.host.Count("D", "6223 CalculateLA LA_Nordic108 69.990"), 1);
}

}  // namespace
}  // namespace oxw::engine
