// Joint Nordic tone and roughness audibility on crafted 32768-point spectra at 44100 Hz, mode
// "Extended", and on whole runs of a sine in noise. The crafted tone: a floor of 1.0 on odd lines
// and 10^0.05 on even lines (0 and 0.5 dB), plus 200 at line 743 (999.948 Hz), 800/9 at 742 and
// 744, 50/9 at 741 and 745. Its independent reference is ISO 1996-2:2007 Annex C: tone level
// Lpt = energy sum of the lines within 3 dB (742..744); noise Ln at fc from a straight-line fit of
// the levels over the critical band without the tone's lines (741..745); Lpn = Ln + 10 lg(CBW /
// line spacing), CBW = fc / 5 above 500 Hz; audibility Lpt - Lpn + 2 + lg(1 + (fc / 502)^2.5) =
// 6.659 dB.
#include <gtest/gtest.h>

#include <bit>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Conversions.h"
#include "engine/Engine.h"
#include "engine/NordicScan.h"
#include "numeric/CurveFit.h"
#include "numeric/FastFourier.h"
#include "SpectrumFixture.h"
#include "support/EngineRig.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

namespace oxw::engine {
namespace {

constexpr double kEven = 1.1220184543019633;  // 10^0.05: 0.5 dB
constexpr double kLineHz = 44100.0 / 32768;

struct NordicRig : test::EngineRig<> {
    explicit NordicRig(int rate = 44100) {
        host.texts["CurrentProcessingMode"] = "Extended";
        host.texts["QualityFFTSampleSize"] = "32768";
        e.S().SoundFileSampleRate = rate;
        e.S().CountLine = 1;
        host.log.clear();
    }
    RunState& S() { return e.S(); }
    Spectrum& I() { return e.S().Intensity; }
};

// The floor on every line, `odd` on lines of the parity of 1 + shift, `even` on the others.
void Floor(Spectrum& I, double odd, double even, int shift = 0) {
    for (int k = 1; k < 32768; ++k) I[k] = (k - shift) % 2 != 0 ? odd : even;
}

// The crafted tone centred on line t.
void AddTone(Spectrum& I, int t) {
    I[t] += 200;
    I[t - 1] += 800.0 / 9;
    I[t + 1] += 800.0 / 9;
    I[t - 2] += 50.0 / 9;
    I[t + 2] += 50.0 / 9;
}

// Levels from centre - 5 to centre + 5 (dB) over the floor.
void SetLevels(Spectrum& I, int centre, const std::vector<double>& dB) {
    for (std::size_t i = 0; i < dB.size(); ++i)
        I[static_cast<std::size_t>(centre - 5) + i] = std::pow(10.0, dB[i] / 10);
}

double Db(double intensity) { return 10 * std::log10(intensity); }

// The least-squares line of the levels over frequency, L = k (j - centre) kLineHz + d, through
// the lines from..to but skipFrom..skipTo.
struct LevelLine {
    int centre;
    double k, d;
    double At(int j) const { return k * (j - centre) * kLineHz + d; }
};
LevelLine FitLevels(const Spectrum& I, int centre, int from, int to, int skipFrom, int skipTo) {
    long double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int j = from; j <= to; ++j) {
        if (j >= skipFrom && j <= skipTo) continue;
        const long double x = (j - centre) * kLineHz, y = Db(I[j]);
        n += 1, sx += x, sy += y, sxx += x * x, sxy += x * y;
    }
    const long double k = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    return {centre, static_cast<double>(k), static_cast<double>((sy - k * sx) / n)};
}

// How far the line fitted to all levels of from..to lies below the energy level of the noise
// lines (all but skipFrom..skipTo, the tone's or the dip's lines that stand out from the fitted
// line): 10 lg of the mean of 10^((L(j) - fit(j)) / 10) over them.
double Raise(const Spectrum& I, int from, int to, int skipFrom, int skipTo) {
    const LevelLine fit = FitLevels(I, from, from, to, 1, 0);  // no line left out
    double sum = 0;
    int n = 0;
    for (int j = from; j <= to; ++j)
        if (j < skipFrom || j > skipTo) sum += I[j] / std::pow(10.0, fit.At(j) / 10), ++n;
    return Db(sum / n);
}

// Annex C's audibility of the crafted tone on line t, worked out here from the spectrum.
double AnnexCAudibility(const Spectrum& I, int t) {
    const double fc = t * kLineHz;
    const double cbw = fc < 500 ? 100 : fc / 5;
    const int h = static_cast<int>(std::lround(cbw / kLineHz / 2));
    // The tone's own lines stay out of the noise fit.
    const double Ln = FitLevels(I, t, t - h, t + h, t - 2, t + 2).d;
    const double Lpt = Db(I[t - 1] + I[t] + I[t + 1]);
    const double Lpn = Ln + Db(cbw / kLineHz);
    return Lpt - Lpn + 2 + std::log10(1 + std::pow(fc / 502, 2.5));
}

std::vector<test::LogLine> Framed(const std::string& step, const std::string& lists,
                                  std::vector<test::LogLine> inner = {}) {
    std::vector<test::LogLine> lines{{"S", step}, {"D", step + "  " + lists + " using Intensity"}};
    lines.insert(lines.end(), inner.begin(), inner.end());
    lines.push_back({"E", step});
    return lines;
}

const std::string kTone = "NordicExtractTonalComponents";
const std::string kToneLists = "NordicToneF, NordicToneL, NordicToneRef";
const std::string kRough = "NordicExtractRoughnessComponents";
const std::string kRoughLists = "NordicRoughnessF, NordicRoughnessL, NordicRoughnessRef";
const std::string kHeader =
    "Nordic 01.00 ToneF index, , CountLine, , Start CB Line, , Start Noise Pause, , "
    "NoisePauseStartdB, , Start3dBLine, , Maxima6dBLine, , Maxima6dBHz, , Maxima6dBdB, , "
    "End3dBLine, , ToneBandWidth3dBHz, , NoisePauseEnddB, , End Noise Pause, , End CB Line, , "
    "CriticalBandWidth, , NTones_Nordic108, , ToneF_Nordic108, , ToneL_Nordic108 , "
    "ToneRef_Nordic108, , LinearSlope, , LinearOffset, , LinearFitValue, , ToneMaskingNoise, , "
    "DominantTone, , ToneAudibility ";

TEST(NordicTone, CraftedToneAgainstAnnexC) {
    NordicRig r;
    Floor(r.I(), 1.0, kEven);
    AddTone(r.I(), 743);
    r.e.NordicExtractTonalComponents();
    const RunState& s = r.S();
    ASSERT_EQ(1, s.NTones_Nordic108);
    EXPECT_EQ(0, s.NTones_Nordic121);
    EXPECT_EQ(743, s.ToneRef_Nordic108[1]);
    EXPECT_NEAR(999.948, s.ToneF_Nordic108[1], 5e-4);
    // Tone level L_T: the energy sum of the lines between the noise pauses, 25.810 dB, listed
    // 6 dB higher by the adjustment rule.
    const double lt = Db(r.I()[742] + r.I()[743] + r.I()[744]);
    EXPECT_NEAR(25.8095, lt, 1e-4);
    EXPECT_NEAR(lt + 6, s.ToneL_Nordic108[1], 1e-9);
    EXPECT_NEAR(2 * kLineHz, s.ToneBandWidth3dBHz, 1e-9);
    EXPECT_NEAR(199.990, s.CriticalBandWidth_Nordic, 5e-4);
    // The audibility comes from the plain tone level over the critical band's fitted noise
    // (22.500 dB), raised to the noise's energy level. The tone's lines (741..745) pull the line
    // fitted over the regression range 669..817 up to 0.768 dB, above every line of the floor:
    // raised to the floor's energy level, 10 lg((1 + 10^0.05) / 2) = 0.257 dB, by -0.511 dB.
    const double raise = Raise(r.I(), 669, 817, 741, 745);
    EXPECT_NEAR(-0.511, raise, 5e-4);
    EXPECT_NEAR(6.129 - raise, s.DominantTone, 5e-4);
    EXPECT_NEAR(22.500 + raise, s.DominantToneMaskingNoise, 5e-4);
    EXPECT_DOUBLE_EQ(s.ToneL_Nordic108[1], s.DominantToneLoudness);
    EXPECT_EQ(669, s.DominantToneCBStart);
    EXPECT_EQ(817, s.DominantToneCBEnd);
    EXPECT_NEAR(669 * kLineHz, s.DominantToneStartCBHz, 1e-9);
    EXPECT_NEAR(817 * kLineHz, s.DominantToneEndCBHz, 1e-9);
    EXPECT_DOUBLE_EQ(s.ToneF_Nordic108[1], s.DominantToneHz);
    EXPECT_NEAR(2 * kLineHz, s.DominantTone3dBBandwidth, 1e-9);

    const double annexC = AnnexCAudibility(r.I(), 743);
    EXPECT_NEAR(6.659, annexC, 5e-4);
    EXPECT_NEAR(annexC, s.DominantTone, 1.0);

    // Both noise references (lines 738 and 746) are 0.5 dB levels that compute a hair below
    // 0.5 and show as 0. The slope, offset and quality are those of the fit; the masking noise
    // (21.989) and the audibility (6.640) are raised.
    const std::string row =
        "Nordic 01.01, 747, 1, 669, 741, 0, 742, 743, 1000, 23, 744, 3, 0, 745, 817, 200, 1, "
        "1000, 32, 743, 0.000, 0.768, -0.000, 22, 0.000, 6.640";
    EXPECT_EQ(451u, kHeader.size());
    EXPECT_EQ(r.host.log, Framed(kTone, kToneLists, {{"T", kHeader}, {"T", row}}));

    // The dominant values outlast a block without tones; the list does not.
    Floor(r.I(), 1.0, kEven);
    r.e.NordicExtractTonalComponents();
    EXPECT_EQ(0, s.NTones_Nordic108);
    EXPECT_NEAR(6.129 - raise, s.DominantTone, 5e-4);

    // The tone on a smooth hump of the noise, the floor times 10^(H e^(-((k - 743) / w)^2) / 10):
    // its own lines stay 741..745 (its steps of 1 dB or more and the lines between them), though
    // the hump stands out from the fitted line far beyond them. The audibility: the tone level
    // over the fitted line's energy sum over 669..817, raised as above. Annex C's straight line
    // through the lines without 741..745 lies below the hump's top, so it reads higher.
    const std::pair<double, double> humps[] = {{6, 25}, {10, 50}};
    for (const auto& [height, width] : humps) {
        SCOPED_TRACE(height);
        NordicRig h;
        Floor(h.I(), 1.0, kEven);
        for (int k = 1; k < 32768; ++k)
            h.I()[k] *= std::pow(10.0, height * std::exp(-std::pow((k - 743) / width, 2)) / 10);
        AddTone(h.I(), 743);
        h.e.NordicExtractTonalComponents();
        const LevelLine fit = FitLevels(h.I(), 743, 669, 817, 1, 0);
        double fitted = 0;
        for (int j = 669; j <= 817; ++j) fitted += std::pow(10.0, fit.At(j) / 10);
        const double level = Db(h.I()[742] + h.I()[743] + h.I()[744]);
        const double f = 743 * kLineHz;
        const double expected = level - Db(fitted) - Raise(h.I(), 669, 817, 741, 745) + 2 +
                                std::log10(1 + std::pow(f / 502, 2.5));
        EXPECT_NEAR(expected, h.S().DominantTone, 5e-4);
        const double below = AnnexCAudibility(h.I(), 743) - h.S().DominantTone;
        EXPECT_TRUE(below > 0 && below < 1.5) << below;
    }
}

// A sine of amplitude A = 1000 counts on FFT line t of the tone pass over uniform noise (integers
// drawn evenly from -a..a, a = 1000), 4 s at fs = 44100 Hz, run in two passes with the check
// dialog's defaults. Annex C of ISO 1996-2 from the signal's own parameters: the tone's mean
// square is A^2 / 2; the noise's variance is sigma^2 = ((2a + 1)^2 - 1) / 12 = a (a + 1) / 3 (the
// rounding of the sine to counts adds 1/12 more), spread evenly over 0..fs/2, so the critical
// band (CBW = 100 Hz up to 500 Hz, a fifth of the frequency above) holds 2 CBW / fs of it. The
// run's levels are 10 lg of mean squares plus one calibration offset, which cancels in
// Lpt - Lpn = 10 lg((A^2 / 2) / (sigma^2 2 CBW / fs)); dLta = Lpt - Lpn + 2 + lg(1 + (f / 502)^2.5)
// gives 27.3 dB at 250 Hz, 25.0 dB at 1 kHz and 20.4 dB at 4 kHz. The run's dominant tone is the
// greatest over the blocks of the pass and its level holds the noise lines around the tone, so it
// lies a little above.
TEST(NordicTone, SineInNoiseWithinAnnexC) {
    constexpr double A = 1000, a = 1000, fs = 44100;
    constexpr std::size_t kFrames = 4 * 44100;
    const double sigma2 = a * (a + 1) / 3 + 1.0 / 12;
    test::TempDir dir{"oxw-nordic"};
    for (const int t : {186, 743, 2972}) {
        const double f = t * kLineHz;
        SCOPED_TRACE(f);
        const std::vector<int> noise = spectrumtest::Noise(kFrames, static_cast<int>(a));
        std::vector<std::int16_t> frames(kFrames);
        for (std::size_t i = 0; i < kFrames; ++i)
            frames[i] = static_cast<std::int16_t>(
                std::lround(A * std::sin(2 * M_PI * f * static_cast<double>(i) / fs)) + noise[i]);
        const auto path = dir / ("tone" + std::to_string(t) + ".wav");
        test::WriteWavFrames(path, test::WavFormat(), frames);
        test::EngineRig<> r("Advanced");
        r.Run(path.string());

        const double cbw = f <= 500 ? 100 : f / 5;
        const double annexC = Db((A * A / 2) / (sigma2 * 2 * cbw / fs)) + 2 +
                              std::log10(1 + std::pow(f / 502, 2.5));
        EXPECT_NEAR(f, r.e.S().DominantToneHz, 1e-6);
        EXPECT_NEAR(annexC, r.e.S().DominantTone, 1.5) << annexC;
    }
}

// Every line is tested as a noise pause's end: the tone one line higher, floor pattern included,
// is found there with the same audibility.
TEST(NordicTone, ToneOneLineHigherIsFoundAlike) {
    NordicRig r;
    Floor(r.I(), 1.0, kEven, 1);
    AddTone(r.I(), 744);
    r.e.NordicExtractTonalComponents();
    const RunState& s = r.S();
    ASSERT_EQ(1, s.NTones_Nordic108);
    EXPECT_EQ(744, s.ToneRef_Nordic108[1]);
    EXPECT_NEAR(6.640, s.DominantTone, 0.01);
    EXPECT_NEAR(AnnexCAudibility(r.I(), 744), s.DominantTone, 1.0);
    EXPECT_EQ(2u, r.host.Lines("T").size());
}

// The tone every 8 lines from 743 gives about 1770 candidates; the list takes 1023 and the scan
// of the block ends there. Each tone's band holds many others, so none is audible.
TEST(NordicTone, FullListEndsTheScan) {
    NordicRig r;
    Floor(r.I(), 1.0, kEven);
    for (int t = 743; t + 2 <= 16384; t += 8) AddTone(r.I(), t);
    r.e.NordicExtractTonalComponents();
    const RunState& s = r.S();
    ASSERT_EQ(1023, s.NTones_Nordic108);
    for (int n = 1; n <= 1023; ++n) ASSERT_EQ(743 + 8 * (n - 1), s.ToneRef_Nordic108[n]) << n;
    EXPECT_EQ(2046u, r.host.Lines("T").size());
    EXPECT_EQ(1023, r.host.Count("T", kHeader));
    EXPECT_EQ(0, s.DominantTone);
    EXPECT_EQ(0, s.DominantToneHz);
}

// Shapes at a line spacing of 1.25 Hz (40960 frames per second): a tone at line 200 (250 Hz,
// critical band 100 Hz) with a 3 dB point where the level falls by 2.6 dB (rounded 3) but not
// by 2.4 dB, and a 3 dB bandwidth that must stay below a tenth of the critical band.
TEST(NordicTone, ShapesBandwidthAndRounding) {
    struct Case {
        const char* name;
        int rate;
        double drop4;  // level drop at lines 196 and 204 (dB)
        int tones;
        double bandwidthHz;
    };
    const Case cases[] = {
        {"3 dB points at +-4 lines: 10 Hz, a tenth of 100 Hz", 40960, 3.5, 0, 10.0},
        {"the same a little narrower", 40800, 3.5, 1, 8 * 40800.0 / 32768},
        {"a drop of 2.6 dB rounds to 3", 40800, 2.6, 1, 8 * 40800.0 / 32768},
        {"a drop of 2.4 dB rounds to 2: no 3 dB point", 40800, 2.4, 0, -1},
    };
    for (const Case& c : cases) {
        NordicRig r(c.rate);
        Floor(r.I(), 1.0, kEven);
        const double d4 = 24 - c.drop4;
        SetLevels(r.I(), 200, {10, d4, 22.2, 22.2, 23.5, 24, 23.5, 22.2, 22.2, d4, 10});
        r.S().Start3dBHz = r.S().ToneBandWidth3dBHz = -1;
        r.e.NordicExtractTonalComponents();
        EXPECT_EQ(c.tones, r.S().NTones_Nordic108) << c.name;
        EXPECT_NEAR(c.bandwidthHz, r.S().ToneBandWidth3dBHz, 1e-9) << c.name;
        EXPECT_EQ(c.bandwidthHz > 0 ? 100.0 : 0.0, r.S().CriticalBandWidth_Nordic) << c.name;
        if (c.tones == 1) {
            EXPECT_NEAR(250 * c.rate / 40960.0, r.S().ToneF_Nordic108[1], 1e-9);
            // Every line between the noise pauses counts once, the 6 dB lines at +-4 included.
            double sum = 0;
            for (int k = 196; k <= 204; ++k) sum += r.I()[k];
            EXPECT_NEAR(Db(sum) + 6, r.S().ToneL_Nordic108[1], 1e-9) << c.name;
        }
    }
}

TEST(NordicTone, ListedLevelRuleAndFlatSpectrum) {
    const std::pair<double, double> levels[] = {{3.9, 3.9}, {4.0, 4.0}, {7.0, 10.0},
                                                {10.0, 16.0}, {11.0, 17.0}, {-5.0, -5.0}};
    for (const auto& [lt, listed] : levels) EXPECT_DOUBLE_EQ(listed, nordic::ListedToneLevel(lt));

    NordicRig r;
    Floor(r.I(), 1.0, kEven);
    r.e.NordicExtractTonalComponents();
    r.e.NordicExtractRoughnessComponents();
    std::vector<test::LogLine> expected = Framed(kTone, kToneLists);
    for (const test::LogLine& l : Framed(kRough, kRoughLists)) expected.push_back(l);
    EXPECT_EQ(expected, r.host.log);
    EXPECT_EQ(0, r.S().NTones_Nordic108 + r.S().NRoughness_Nordic108);
}

// The dip: floor 40.0 dB (odd lines) and 40.5 dB (even), 10.0 dB at 744, 13.52 dB at 743 and
// 745, 25.56 dB at 742 and 746. One roughness entry, far below its masking noise.
TEST(NordicRoughness, DipIsListedButNotDominant) {
    NordicRig r;
    Floor(r.I(), 1e4, 1e4 * kEven);
    SetLevels(r.I(), 744, {40, 40.5, 40, 25.56, 13.52, 10, 13.52, 25.56, 40, 40.5, 40});
    r.e.NordicExtractRoughnessComponents();
    const RunState& s = r.S();
    ASSERT_EQ(1, s.NRoughness_Nordic108);
    EXPECT_EQ(0, s.NRoughness_Nordic121);
    EXPECT_EQ(744, s.RoughnessRef_Nordic108[1]);
    EXPECT_NEAR(744 * kLineHz, s.RoughnessF_Nordic108[1], 1e-9);
    EXPECT_NEAR(17.402, s.RoughnessL_Nordic108[1], 5e-4);  // not adjusted
    EXPECT_NEAR(2 * kLineHz, s.RoughnessBandWidth3dBHz, 1e-9);
    EXPECT_EQ(0, s.DominantRoughness);
    EXPECT_EQ(0, s.DominantRoughnessHz);
    EXPECT_EQ(r.host.log, Framed(kRough, kRoughLists));  // no trace rows

    // The assessment behind the entry.
    const nordic::LineTable lines = {32768, 44100, nullptr, nullptr};
    std::vector<double> L(32768), f(32768);
    for (int k = 0; k < 32768; ++k) {
        L[static_cast<std::size_t>(k)] = k > 0 ? Db(r.I()[k]) : 0;
        f[static_cast<std::size_t>(k)] = k <= 16384 ? k * kLineHz : 0;
    }
    double start = 0, end = 0, bw = 0, cbw = 0;
    nordic::Scan scan({lines.points, lines.rate, L.data(), f.data()}, nordic::Extreme::Dip,
                      {start, end, bw, cbw});
    nordic::Candidate c;
    ASSERT_TRUE(scan.Next(c));
    TCurveFit fit;
    const nordic::Assessment a =
        nordic::Assess({lines.points, lines.rate, L.data(), f.data()}, c, fit);
    // The fitted noise (61.223 dB) raised to the energy level of the noise lines of the
    // regression range 670..818: the dip's lines (742..746) pull the fitted line below every
    // line of the floor.
    const double raise = Raise(r.I(), 670, 818, 742, 746);
    EXPECT_NEAR(0.766, raise, 5e-4);
    EXPECT_NEAR(17.402, a.Level, 5e-4);
    EXPECT_NEAR(61.223 + raise, a.MaskingNoise, 5e-4);
    EXPECT_NEAR(-41.000 - raise, a.Audibility, 5e-4);
    EXPECT_FALSE(scan.Next(c));
}

// A dip whose audibility cannot exceed the dominant one is listed without its regression: on
// seeded noise, from a dominant roughness far below every dip, the lists and the dominant values
// are those of every dip assessed in full, to the last bit, and most dips were not.
TEST(NordicRoughness, DipsBelowTheDominantSkipNothingThatCounts) {
    NordicRig r;
    std::uint32_t seed = 5;
    for (int k = 1; k < 32768; ++k) {
        seed = seed * 1664525u + 1013904223u;
        r.I()[k] = k <= 16384 ? std::ldexp(static_cast<double>(seed), -20) : r.I()[32768 - k];
    }
    RunState& s = r.S();
    s.DominantRoughness = -1000;
    r.e.NordicExtractRoughnessComponents();

    std::vector<double> L(32768), f(32768);
    for (int k = 0; k < 32768; ++k) {
        L[static_cast<std::size_t>(k)] = I2dB(r.I()[k]);
        f[static_cast<std::size_t>(k)] = k <= 16384 ? k * kLineHz : 0;
    }
    const nordic::LineTable t = {32768, 44100, L.data(), f.data()};
    double m[4] = {}, top = -1000, topLevel = 0, topNoise = 0;
    nordic::Scan scan(t, nordic::Extreme::Dip, {m[0], m[1], m[2], m[3]});
    nordic::Candidate c, best;
    int n = 0, skipped = 0;
    const auto bits = [](double x) { return std::bit_cast<std::uint64_t>(x); };
    while (scan.Next(c)) {
        const auto u = static_cast<std::size_t>(++n);
        const TCurveFit::Run run = nordic::RegressionRun(t, c, true);
        TCurveFit::RunSums sums;
        TCurveFit::SumRuns({&run, 1}, {&sums, 1});
        const nordic::Assessment a = nordic::AssessLine(t, c, sums);
        ASSERT_EQ(bits(a.Level), bits(s.RoughnessL_Nordic108[u])) << n;
        ASSERT_EQ(c.ExtremeLine, s.RoughnessRef_Nordic108[u]) << n;
        ASSERT_GE(nordic::DipAudibilityCeiling(t, c, a.Level), a.Audibility) << n;
        skipped += nordic::DipAudibilityCeiling(t, c, a.Level) < top;
        if (a.Audibility > top)
            top = a.Audibility, topLevel = a.Level, topNoise = a.MaskingNoise, best = c;
    }
    EXPECT_EQ(n, s.NRoughness_Nordic108);
    EXPECT_GT(skipped, n / 2);
    EXPECT_EQ(bits(top), bits(s.DominantRoughness));
    EXPECT_EQ(bits(topLevel), bits(s.DominantRoughnessLoudness));
    EXPECT_EQ(bits(topNoise), bits(s.DominantRoughnessMaskingNoise));
    EXPECT_EQ(bits(best.ExtremeHz), bits(s.DominantRoughnessHz));
    EXPECT_EQ(best.LinearRegressionStartLine, s.DominantRoughnessCBStart);
    EXPECT_EQ(best.LinearRegressionEndLine, s.DominantRoughnessCBEnd);
}

// The scan's noise pauses against a line-by-line search written from their definition, on
// seeded levels in quarter-decibel steps (so that steps of exactly 0 and 1 dB occur): every
// candidate the scan gives is the next pair of pauses of the search, in order.
TEST(Nordic, ScanFindsThePausesOfALineByLineSearch) {
    constexpr int kPoints = 4096;
    std::vector<double> L(kPoints), f(kPoints);
    std::uint32_t seed = 22;
    for (int k = 0; k < kPoints; ++k) {
        seed = seed * 1664525u + 1013904223u;
        L[static_cast<std::size_t>(k)] = 40 + 0.25 * static_cast<double>((seed >> 16) % 41) -
                                         (k % 97 == 0 ? 30 : 0);
        f[static_cast<std::size_t>(k)] = k * 10.0;
    }
    for (const auto kind : {nordic::Extreme::Peak, nordic::Extreme::Dip}) {
        const double sign = kind == nordic::Extreme::Peak ? 1.0 : -1.0;
        auto M = [&](int k) { return sign * L[static_cast<std::size_t>(k)]; };
        auto shape = [](double step, double before) {
            return step >= 1.0 && before > 0 && before < 1.0;
        };
        // Every pair (end of a first pause, start of the next last pause) the search meets.
        std::vector<std::pair<int, int>> pairs;
        for (int p = 3; p <= kPoints - 2; ++p) {
            if (!shape(M(p) - M(p - 1), M(p - 1) - M(p - 2))) continue;
            int q = p;
            while (q < kPoints - 2 && !shape(M(q) - M(q + 1), M(q + 1) - M(q + 2))) ++q;
            if (q >= kPoints - 2) break;
            pairs.emplace_back(p, q);
            p = q + 2;
        }
        ASSERT_GT(pairs.size(), 40u);
        double start = 0, end = 0, bw = 0, cbw = 0;
        nordic::Scan scan({kPoints, 44100, L.data(), f.data()}, kind, {start, end, bw, cbw});
        nordic::Candidate c;
        std::size_t next = 0, found = 0;
        while (scan.Next(c)) {
            while (next < pairs.size() && pairs[next].first != c.FirstNoisePauseEndLine) ++next;
            ASSERT_LT(next, pairs.size()) << c.FirstNoisePauseEndLine;
            EXPECT_EQ(pairs[next].second, c.LastNoisePauseStartLine);
            EXPECT_EQ(scan.Position(), c.LastNoisePauseEndLine);
            // The extreme: the first line of the greatest level clearing both references
            // by 6 dB (levels in quarter decibels: equal levels occur).
            const double ms = M(c.FirstNoisePauseStartLine - 1);
            const double me = M(c.LastNoisePauseStartLine + 1);
            double best = std::max(ms, me);
            int line = 0;
            for (int k = c.FirstNoisePauseStartLine + 1; k <= c.LastNoisePauseStartLine + 1; ++k)
                if (M(k) >= ms + 6 && M(k) >= me + 6 && M(k) > best) best = M(k), line = k;
            EXPECT_EQ(line, c.ExtremeLine);
            EXPECT_EQ(sign * best, c.ExtremedB);
            // The 3 dB points: the nearest lines whose drop rounds (half to even) to 3 dB or
            // more; drops of exactly 2.5 dB occur.
            int lo = line, hi = line;
            while (std::nearbyint(best - M(lo)) < 3) --lo;
            while (std::nearbyint(best - M(hi)) < 3) ++hi;
            EXPECT_EQ(lo, c.Start3dBLine);
            EXPECT_EQ(hi, c.End3dBLine);
            ++next, ++found;
        }
        EXPECT_GT(found, 0u);
    }
}

// The line levels of a block: every line's level is I2dB of its intensity, whether the upper
// half mirrors the lower one (the level is taken over) or not; a new spectrum of the same
// length gives new levels.
TEST(Nordic, LineLevelsOfMirroredAndUnmirroredSpectra) {
    TFastFourier fft;
    fft.SetNumData(32768);
    nordic::LineTableCache cache;
    auto intensity = std::make_unique<Spectrum>();
    Spectrum& I = *intensity;
    std::uint32_t seed = 9;
    for (int k = 0; k < 32768; ++k) {
        seed = seed * 1664525u + 1013904223u;
        I[k] = k <= 16384 ? std::ldexp(static_cast<double>(seed), -20) : I[32768 - k];
    }
    I[20000] *= 2;   // no longer the mirror of line 12768
    I[30000] = 0.0;  // nor this one of line 2768
    I[16385] = -I[16383];
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const nordic::LineTable t = cache.For(I, 32768, 44100, fft);
        for (int k = 0; k < 32768; ++k) ASSERT_EQ(t.L[k], I2dB(I[k])) << k;
        EXPECT_NEAR(t.f[16384], 22050.0, 1e-9);
        EXPECT_EQ(t.fRisesTo, 16384);
        // Line energies, kept once asked for, and the scans over the kept level steps: the
        // same as over the levels alone.
        for (int k : {1, 700, 16384, 20000, 32767, 700})
            EXPECT_EQ(dB2I(t.L[k]), nordic::LineEnergy(t, k)) << k;
        // Stretches worked out together, around kept lines and over the table's ends: the
        // same bits, and only the lines asked for are kept.
        for (auto [from, to] : {std::pair{690, 765}, {-5, 3}, {32760, 40000}, {698, 702}})
            nordic::KeepLineEnergies(t, from, to);
        for (int k = 0; k < 32768; ++k) {
            const bool asked = k <= 3 || (k >= 690 && k <= 765) || k >= 32760 ||
                               k == 16384 || k == 20000;
            ASSERT_EQ((t.energyKept[k / 64] >> (k % 64) & 1) != 0, asked) << k;
            if (asked) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>(dB2I(t.L[k])),
                          std::bit_cast<std::uint64_t>(t.energy[k])) << k;
            }
        }
        for (const auto kind : {nordic::Extreme::Peak, nordic::Extreme::Dip}) {
            double m[2][4] = {};
            nordic::Scan kept(t, kind, {m[0][0], m[0][1], m[0][2], m[0][3]});
            nordic::Scan own({t.points, t.rate, t.L, t.f}, kind,
                             {m[1][0], m[1][1], m[1][2], m[1][3]});
            nordic::Candidate a, b;
            int found = 0;
            for (bool more = true; more; ++found) {
                more = kept.Next(a);
                ASSERT_EQ(more, own.Next(b));
                EXPECT_EQ(a.FirstNoisePauseEndLine, b.FirstNoisePauseEndLine);
                EXPECT_EQ(a.LastNoisePauseStartLine, b.LastNoisePauseStartLine);
                if (!more) break;
                // Assessed over the kept table (frequencies known to rise, frequency terms
                // kept, twice) and over the bare one (levels, frequencies and intensities
                // alone): the same bits.
                TCurveFit fit;
                const nordic::LineTable bareTable = {.points = t.points, .rate = t.rate,
                                                     .L = t.L, .f = t.f, .intensity = t.intensity};
                const nordic::Assessment bare = nordic::Assess(bareTable, b, fit);
                for (int again = 0; again < 2; ++again) {
                    const nordic::Assessment x = nordic::Assess(t, a, fit);
                    for (auto [u, v] : {std::pair{x.Level, bare.Level},
                                        {x.MaskingNoise, bare.MaskingNoise},
                                        {x.Audibility, bare.Audibility},
                                        {x.LinearSlope, bare.LinearSlope}})
                        ASSERT_EQ(std::bit_cast<std::uint64_t>(u), std::bit_cast<std::uint64_t>(v));
                }
                // Without the fitter, from the sums of the line alone: the same but for the
                // quality of the fit.
                const TCurveFit::Run line = nordic::RegressionRun(t, a, true);
                TCurveFit::RunSums sums;
                TCurveFit::SumRuns({&line, 1}, {&sums, 1});
                const nordic::Assessment y = nordic::AssessLine(t, a, sums);
                EXPECT_EQ(y.LinearFitValue, 0.0);
                for (auto [u, v] : {std::pair{y.Level, bare.Level},
                                    {y.MaskingNoise, bare.MaskingNoise},
                                    {y.Audibility, bare.Audibility},
                                    {y.LinearSlope, bare.LinearSlope},
                                    {y.LinearOffset, bare.LinearOffset}})
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(u), std::bit_cast<std::uint64_t>(v));
                // Asked whether it can exceed its own audibility: worked out in full; whether it
                // can exceed anything: a bound, at or above it.
                const nordic::Assessment atBar = nordic::AssessLine(t, a, sums, y.Audibility);
                EXPECT_EQ(std::bit_cast<std::uint64_t>(atBar.Audibility),
                          std::bit_cast<std::uint64_t>(y.Audibility));
                const nordic::Assessment bound = nordic::AssessLine(t, a, sums, 1e300);
                EXPECT_GE(bound.Audibility, y.Audibility);
                EXPECT_LT(bound.Audibility, 1e300);
            }
            EXPECT_GT(found, 3);
        }
        I[12768] = 0.25;  // the next block
    }
}

}  // namespace
}  // namespace oxw::engine
