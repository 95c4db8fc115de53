// Weighted, octave and third-octave levels of compact spectra. The weightings are checked
// against the published IEC table (A and C of IEC 61672-1 Table 3, B of IEC 60651), the band
// levels against tones placed at band centres and against white noise, whose band levels rise
// by 3 dB per octave because the bands widen in proportion to their centres.
#include "SpectrumFixture.h"
#include "engine/Engine.h"
#include "engine/Weighting.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace oxw::engine {
namespace {

constexpr double kSilent = -990.0;  // level of an empty sum (1e-99)

struct Fixture {
    test::ScriptedHost host;
    Engine engine{host};
    RunState& s = engine.S();
    Fixture() {
        engine.SetUpCompactIBinRanges();  // the 108-bin grid of the first pass
        host.texts["CurrentProcessingMode"] = "Standard";
        s.Oct_T.assign(10, 0.0);
        s.ThirdOct_T.assign(22, 0.0);
    }
    // Index of the grid bin whose centre lies nearest to f.
    int NearestBin(double f) const {
        int best = 1;
        for (int i = 1; i <= 108; ++i) {
            const double d = std::abs(std::log(s.CompactF[i] / f));
            if (d < std::abs(std::log(s.CompactF[best] / f))) best = i;
        }
        return best;
    }
};

// IEC weighting table at the nominal third-octave frequencies, dB re 1 kHz.
struct IecRow {
    double hz, a, b, c;
};
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

TEST(Levels, WeightedLevelsOfPureTonesFollowTheIecTable) {
    Fixture fx;
    RunState& s = fx.s;
    s.DravolekSizeOfCompactSpectrum = 1;
    for (const IecRow& row : kIec) {
        SCOPED_TRACE(row.hz);
        const double tol = row.hz == 1000 ? 0.15 : 0.6;
        s.CompactF[1] = row.hz;
        s.CompactI_T[1] = s.CompactI[1] = 1e8;  // an 80 dB tone
        fx.engine.CalculateLevels();
        EXPECT_NEAR(s.SPL_T, 80.0, 1e-9);
        EXPECT_NEAR(s.LA_T - 80.0, row.a, tol);
        EXPECT_NEAR(s.LB_T - 80.0, row.b, tol);
        EXPECT_NEAR(s.LC_T - 80.0, row.c, tol);
        EXPECT_NEAR(s.Centroid_T, row.hz, 1e-9 * row.hz);
        fx.engine.CalculateLA();
        EXPECT_NEAR(s.LA, s.LA_T, 1e-9);
    }
}

TEST(Levels, WeightingsAtHandWorkedPoints) {
    EXPECT_NEAR(dBA(60, 1000), 59.990, 0.0005);
    EXPECT_NEAR(dBA(0, 100), -19.181, 0.0005);
    EXPECT_NEAR(dBC(60, 31.5), 56.898, 0.0005);
    EXPECT_NEAR(dBC(0, 100), -0.212, 0.0005);
    EXPECT_NEAR(dBB(60, 1000), 60.0, 1e-9);  // B is 0 dB at its reference frequency
    // No response at DC: the weighted intensity of a bin at 0 Hz is 0.
    EXPECT_EQ(dBA(60, 0), -INFINITY);
    EXPECT_EQ(dBB(60, 0), -INFINITY);
    EXPECT_EQ(dBC(60, -1), -INFINITY);
}

TEST(Levels, SilentLineReadsTheEmptyLevelEverywhere) {
    Fixture fx;
    fx.engine.CalculateLevels();
    const RunState& s = fx.s;
    for (double level : {s.SPL_T, s.LA_T, s.LB_T, s.LC_T}) EXPECT_DOUBLE_EQ(level, kSilent);
    EXPECT_EQ(s.Centroid_T, 0.0);
    for (double band : s.Oct_T) EXPECT_DOUBLE_EQ(band, kSilent);
    for (double band : s.ThirdOct_T) EXPECT_DOUBLE_EQ(band, kSilent);
    fx.engine.CalculateLA();
    EXPECT_DOUBLE_EQ(s.LA, kSilent);
}

TEST(Levels, UnitBinAtOneKilohertz) {
    // One bin of intensity 1.0 (0 dB) at the 1 kHz grid bin, nothing elsewhere.
    Fixture fx;
    RunState& s = fx.s;
    const int bin = fx.NearestBin(1000);
    ASSERT_NEAR(s.CompactF[bin], 1000.0, 0.01);
    s.CompactI_T[bin] = 1.0;
    fx.engine.CalculateLevels();
    EXPECT_NEAR(s.Int_T, 1.0, 1e-15);
    EXPECT_NEAR(s.SPL_T, 0.0, 1e-12);
    EXPECT_NEAR(s.LA_T, -0.010, 0.001);
    EXPECT_NEAR(s.LB_T, 0.0, 0.001);
    EXPECT_NEAR(s.LC_T, -0.024, 0.001);
    EXPECT_NEAR(s.ThirdOct_T[9], 0.0, 1e-12);  // the 1000 Hz band
    EXPECT_NEAR(s.Oct_T[5], 0.0, 1e-12);       // the 1 kHz octave
}

TEST(Levels, ToneAtABandCentreFillsOnlyThatBand) {
    struct Bands {
        const char* name;
        double first;
        int perOctave, count;
        std::vector<double> RunState::*levels;
    };
    const Bands kinds[] = {{"octaves", 31.25, 1, 10, &RunState::Oct_T},
                           {"third octaves", 125.0, 3, 22, &RunState::ThirdOct_T}};
    for (const Bands& kind : kinds) {
        for (int j = 0; j < kind.count; ++j) {
            SCOPED_TRACE(std::string(kind.name) + " band " + std::to_string(j));
            Fixture fx;
            RunState& s = fx.s;
            const int bin = fx.NearestBin(kind.first * std::pow(2.0, double(j) / kind.perOctave));
            s.CompactI_T[bin] = 1e6;  // 60 dB
            fx.engine.CalculateLevels();
            const std::vector<double>& levels = s.*kind.levels;
            ASSERT_EQ(levels.size(), static_cast<std::size_t>(kind.count));
            for (int k = 0; k < kind.count; ++k) {
                EXPECT_NEAR(levels[k], k == j ? 60.0 : kSilent, 1e-9) << "band " << k;
            }
        }
    }
}

TEST(Levels, BandEdgesAndBinsOutsideTheBands) {
    struct Case {
        double hz;
        int third, octave;  // band index, -1 for none
    };
    const Case cases[] = {
        {110.0, -1, 2},     // below the first third octave (111 Hz)
        {111.0, 0, 2},      // on the first lower edge
        {140.0, 1, 2},      // on an upper edge: the next band
        {139.99, 0, 2},
        {21.99, -1, -1},    // below the first octave (22 Hz)
        {17959.0, -1, 9},   // on the last third octave's upper edge
        {22627.0, -1, -1},  // on the last octave's upper edge
        {23000.0, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hz);
        Fixture fx;
        RunState& s = fx.s;
        s.DravolekSizeOfCompactSpectrum = 1;
        s.CompactF[1] = c.hz;
        s.CompactI_T[1] = 100.0;  // 20 dB
        fx.engine.CalculateLevels();
        for (int k = 0; k < 22; ++k) {
            EXPECT_NEAR(s.ThirdOct_T[k], k == c.third ? 20.0 : kSilent, 1e-9);
        }
        for (int k = 0; k < 10; ++k) EXPECT_NEAR(s.Oct_T[k], k == c.octave ? 20.0 : kSilent, 1e-9);
    }
}

// The compact layout of a 4096-point block at 44100 Hz: bins 1..41 one FFT line each, bins
// 42..108 the semitone bands centred on 458.502 x 2^(j/12) Hz.
Compact CompactFromLines(const std::vector<double>& line) {
    Compact c{};
    for (int i = 1; i <= 41; ++i) c[i] = line[i];
    for (int i = 42; i <= 2048; ++i) {
        const double f = i * 44100.0 / 4096;
        const double j = std::floor(12 * std::log2(f / 458.502) + 0.5);
        if (j >= 0 && j <= 66) c[42 + static_cast<int>(j)] += line[i];
    }
    return c;
}

// Least-squares slope of y over x = 0, 1, 2 ...
double Slope(const std::vector<double>& y) {
    const double n = static_cast<double>(y.size()), mx = (n - 1) / 2;
    double my = 0, sxy = 0, sxx = 0;
    for (double v : y) my += v / n;
    for (std::size_t x = 0; x < y.size(); ++x) {
        sxy += (x - mx) * (y[x] - my);
        sxx += (x - mx) * (x - mx);
    }
    return sxy / sxx;
}

TEST(Levels, WhiteNoiseBandsRiseThreeDecibelsPerOctave) {
    // Line powers of white Gaussian noise are exponentially distributed about a flat mean;
    // a line of 20 blocks averages them.
    std::mt19937 rng(20240305);
    std::exponential_distribution<double> power(1.0);
    std::vector<double> line(2049, 0.0);
    for (int i = 1; i <= 2048; ++i) {
        for (int b = 0; b < 20; ++b) line[i] += power(rng) / 20;
    }
    Fixture fx;
    RunState& s = fx.s;
    s.CompactI_T = CompactFromLines(line);
    fx.engine.CalculateLevels();

    // 3.01 dB per octave; bands of few bins carry the grid's coarseness, so fit a line.
    const std::vector<double> thirds(s.ThirdOct_T.begin() + 7, s.ThirdOct_T.end());  // 630 Hz up
    EXPECT_NEAR(3 * Slope(thirds), 3.01, 0.25);
    const std::vector<double> octaves(s.Oct_T.begin() + 3, s.Oct_T.begin() + 9);  // 250 Hz..8 kHz
    EXPECT_NEAR(Slope(octaves), 3.01, 0.25);
    // The 1 kHz octave (707..1414 Hz) shares its edges with the 800, 1000 and 1250 Hz third
    // octaves, so it holds exactly their energy.
    double thirdsOf1k = 0;
    for (int k = 8; k <= 10; ++k) thirdsOf1k += std::pow(10.0, s.ThirdOct_T[k] / 10);
    EXPECT_NEAR(s.Oct_T[5], 10 * std::log10(thirdsOf1k), 1e-9);
    // Flat spectrum: the centroid lies near the middle of the analysed range (0..21.4 kHz).
    EXPECT_NEAR(s.Centroid_T, 10800, 600);
}

// The same measures on spectra from the real block chain: a 16-bit WAV file read block by block,
// windowed, transformed and compressed into the 108-bin grid.
TEST(Levels, BlockChainTonesFollowTheIecTable) {
    struct Tone {
        int line;  // FFT line of the tone: line x 44100 / 4096 Hz
        IecRow iec;
        int third, octave;
    };
    const Tone tones[] = {{23, kIec[14], 3, 3},     // 247.7 Hz, table row 250 Hz
                          {93, kIec[20], 9, 5},     // 1001.3 Hz, 1000 Hz
                          {372, kIec[26], 15, 7},   // 4005.2 Hz, 4000 Hz
                          {743, kIec[29], 18, 8}};  // 7999.9 Hz, 8000 Hz
    for (const Tone& tone : tones) {
        SCOPED_TRACE(tone.iec.hz);
        const auto x = spectrumtest::Sine(8192, 10000, tone.line, 4096);
        spectrumtest::BlockReader r(spectrumtest::WavOf(spectrumtest::Interleave(x), 1));
        RunState& s = r.S();
        r.engine.MakeSpectrum();
        r.engine.CompressSpectrum();
        r.engine.CalculateLA();
        s.CompactI_T = s.CompactI;  // a line of one block
        r.engine.CalculateLevels();
        const double tol = tone.iec.hz == 1000 ? 0.15 : 0.6;
        EXPECT_NEAR(s.LA, s.LA_T, 1e-9);
        EXPECT_NEAR(s.LA_T - s.SPL_T, tone.iec.a, tol);
        EXPECT_NEAR(s.LB_T - s.SPL_T, tone.iec.b, tol);
        EXPECT_NEAR(s.LC_T - s.SPL_T, tone.iec.c, tol);
        EXPECT_NEAR(s.Centroid_T, tone.line * 44100.0 / 4096, 0.02 * tone.iec.hz);
        // The window's leakage stays inside the tone's bands; the others lie far below.
        for (int k = 0; k < 22; ++k) {
            if (k == tone.third) EXPECT_NEAR(s.ThirdOct_T[k], s.SPL_T, 0.05);
            else EXPECT_LT(s.ThirdOct_T[k], s.SPL_T - 40) << "third octave " << k;
        }
        for (int k = 0; k < 10; ++k) {
            if (k == tone.octave) EXPECT_NEAR(s.Oct_T[k], s.SPL_T, 0.05);
            else EXPECT_LT(s.Oct_T[k], s.SPL_T - 40) << "octave " << k;
        }
    }
}

TEST(Levels, BlockChainWhiteNoiseBandsRiseThreeDecibelsPerOctave) {
    constexpr int kBlocks = 20;
    const auto x = spectrumtest::Noise(4096 + kBlocks * OFFSET * 5, 10000, 4242);
    spectrumtest::BlockReader r(spectrumtest::WavOf(spectrumtest::Interleave(x), 1));
    RunState& s = r.S();
    ASSERT_EQ(s.Resolution, 5);
    Compact mean{};
    for (int b = 0; b < kBlocks; ++b) {
        r.engine.MakeSpectrum();
        r.engine.CompressSpectrum();
        for (int i = 1; i <= 108; ++i) mean[i] += s.CompactI[i] / kBlocks;
    }
    s.CompactI_T = mean;
    r.engine.CalculateLevels();
    const std::vector<double> thirds(s.ThirdOct_T.begin() + 7, s.ThirdOct_T.end());  // 630 Hz up
    EXPECT_NEAR(3 * Slope(thirds), 3.01, 0.25);
    const std::vector<double> octaves(s.Oct_T.begin() + 3, s.Oct_T.begin() + 9);  // 250 Hz..8 kHz
    EXPECT_NEAR(Slope(octaves), 3.01, 0.25);
}

TEST(Levels, TonePassLevelsOfBothCompactSpectra) {
    Fixture fx;
    RunState& s = fx.s;
    fx.host.texts["CurrentProcessingMode"] = "Extended";
    s.CompactINewBins[55] = 1e7;      // 70 dB at 1 kHz on the 108-bin grid
    s.DeepCompactINewBins[68] = 1e5;  // 50 dB at 10^(1.3 + 67/40) = 944 Hz on the 121-bin grid
    fx.engine.CalculateLA();
    EXPECT_NEAR(s.LA_Nordic108, 70.0 - 0.010, 0.002);
    EXPECT_NEAR(s.LA_Nordic121, 50.0 + dBA(0, s.CompactF_Nordic121[68]), 1e-9);
    EXPECT_NEAR(dBA(0, s.CompactF_Nordic121[68]), -0.3, 0.1);
    EXPECT_EQ(fx.host.Count("D", "6223 CalculateLA LA_Nordic108 69.990"), 1);
}

TEST(Levels, LogLines) {
    Fixture fx;
    fx.s.CompactI[55] = 1e6;
    fx.engine.CalculateLA();
    fx.engine.CalculateLevels();
    const std::vector<test::LogLine> expected = {
        {"S", "CalculateLA"},
        {"D", "6192 CalculateLA LA, 59.990"},
        {"E", "CalculateLA"},
        {"S", "CalculateLevels"},
        {"D", " Calculate Oct_T using CompactI_T"},
        {"D", " Calculate ThirdOct_T using CompactI_T"},
        {"E", "CalculateLevels"},
    };
    const std::vector<test::LogLine> tail(fx.host.log.end() - 7, fx.host.log.end());
    EXPECT_EQ(tail, expected);
}

}  // namespace
}  // namespace oxw::engine
