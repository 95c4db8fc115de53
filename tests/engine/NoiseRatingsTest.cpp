// Room-noise ratings of the file's octave spectrum against the published curves: spectra lying
// on the NC curves (ANSI S12.2) and the PNC curves (Beranek 1971), each band in turn raised
// above its curve; the NR pairs L = a + b NR (ISO R1996 / BS 8233) band by band; the RC line of
// -5 dB per octave through RC at 1 kHz (Blazier) with every class condition met alone, at and
// just past its limit; SIL as the four-band mean of 500 Hz .. 4 kHz (ANSI S3.14).
#include "engine/Conversions.h"
#include "engine/RoomCriterion.h"
#include "support/EngineRig.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace oxw::engine {
namespace {

using Rig = test::EngineRig<>;
using Levels = std::array<double, 10>;  // dB, 31.5 Hz .. 16 kHz

constexpr double Z = -INFINITY;  // a band of zero intensity (reads 0 dB)

// The engine with Oct_S holding the intensities of `levels`, after the four rating steps.
RunState& RateOctaves(Rig& r, const Levels& levels) {
    RunState& s = r.e.S();
    s.Oct_S.assign(10, 0.0);
    for (std::size_t i = 0; i < 10; ++i) s.Oct_S[i] = dB2I(levels[i]);
    r.host.log.clear();
    r.e.CalculateNoiseCriterion();
    r.e.CalculatePNC();
    r.e.CalculateRoomCriterion();
    r.e.CalculateNoiseRating();
    return s;
}

// NC-40 (63 Hz .. 8 kHz) and PNC-40 (31.5 Hz .. 8 kHz) as published.
constexpr Levels kNC40 = {Z, 64, 56, 50, 45, 41, 39, 38, 37, Z};
constexpr Levels kPNC40 = {64, 59, 54, 50, 45, 40, 35, 33, 33, Z};

TEST(NoiseRatings, NcAndPncOnThePublishedCurves) {
    const struct {
        const char* name;
        Levels L;
        double NC, PNC;  // NAN: not checked
    } cases[] = {
        {"on NC-40", kNC40, 40, NAN},
        {"on NC-65", {Z, 80, 75, 71, 68, 66, 64, 63, 62, Z}, 65, NAN},
        {"on NC-15", {Z, 47, 36, 29, 22, 17, 14, 12, 11, Z}, 15, NAN},
        {"on PNC-40", kPNC40, NAN, 40},
        {"on PNC-65", {79, 76, 73, 70, 67, 64, 61, 58, 58, Z}, NAN, 65},
        {"all zero", {Z, Z, Z, Z, Z, Z, Z, Z, Z, Z}, 4, 7},
        {"flat 50", {50, 50, 50, 50, 50, 50, 50, 50, 50, 50}, 54, 57},
        {"flat 50, 16 kHz at 120", {50, 50, 50, 50, 50, 50, 50, 50, 50, 120}, 54, 57},
        {"flat 50, 31.5 Hz at 120", {120, 50, 50, 50, 50, 50, 50, 50, 50, 50}, 54, NAN},
        {"flat 90", {90, 90, 90, 90, 90, 90, 90, 90, 90, 90}, 9999, 9999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        const RunState& s = RateOctaves(r, c.L);
        if (!std::isnan(c.NC)) { EXPECT_NEAR(s.NC, c.NC, 1e-9); }
        if (!std::isnan(c.PNC)) { EXPECT_NEAR(s.PNC, c.PNC, 1e-9); }
        EXPECT_EQ(r.host.Count("S", "CalculateNCShift"), s.NC == 9999 ? 0 : 1);
        EXPECT_EQ(r.host.Count("E", "CalculatePNCShift"), s.PNC == 9999 ? 0 : 1);
    }
    // Each band alone 3 dB over the curve: the curve is still selected and the band decides.
    for (int band = 0; band <= 8; ++band) {
        SCOPED_TRACE(band);
        Levels nc = kNC40, pnc = kPNC40;
        nc[static_cast<std::size_t>(band)] += 3;
        pnc[static_cast<std::size_t>(band)] += 3;
        Rig r1, r2;
        EXPECT_NEAR(RateOctaves(r1, nc).NC, band == 0 ? 40 : 43, 1e-9);
        EXPECT_NEAR(RateOctaves(r2, pnc).PNC, 43, 1e-9);
    }
}

TEST(NoiseRatings, NrIsTheLargestBandRating) {
    // The pairs (a, b) of 31.5 Hz .. 8 kHz as published.
    const double a[] = {55.4, 35.5, 22.0, 12.0, 4.8, 0.0, -3.5, -6.1, -8.0};
    const double b[] = {0.681, 0.790, 0.870, 0.930, 0.974, 1.000, 1.015, 1.025, 1.030};
    OctaveLevels on50{}, flat{};
    for (int k = 0; k <= 8; ++k) {
        SCOPED_TRACE(k);
        OctaveLevels lone{};  // every other band at 0 dB, which rates at most 8 / 1.03
        lone[static_cast<std::size_t>(k)] = on50[static_cast<std::size_t>(k)] = a[k] + 50 * b[k];
        EXPECT_NEAR(RateNoiseRating(lone), 50.0, 1e-9);
        lone[static_cast<std::size_t>(k)] = a[k] + 20 * b[k];
        EXPECT_NEAR(RateNoiseRating(lone), 20.0, 1e-9);
    }
    EXPECT_NEAR(RateNoiseRating(on50), 50.0, 1e-9);
    EXPECT_NEAR(RateNoiseRating(flat), 8 / 1.03, 1e-12);
    flat.fill(60);  // 60 dB: 8 kHz rates highest
    flat[9] = 200;  // 16 kHz is no band of the rating
    EXPECT_NEAR(RateNoiseRating(flat), 68 / 1.03, 1e-12);
}

TEST(NoiseRatings, RoomCriterionClassesOneConditionAtATime) {
    // RC-40 and RC-50 lines: RC + 5 (5 - i) dB in band i. Each row changes one band to the
    // limit of one condition (nothing changes) or just past it (only that condition holds).
    const OctaveLevels rc40 = {65, 60, 55, 50, 45, 40, 35, 30, 25, 0};
    const OctaveLevels rc50 = {75, 70, 65, 60, 55, 50, 45, 40, 35, 0};
    const struct {
        const char* name;
        const OctaveLevels& line;
        int band;
        double level, RC;
        const char* RCclass;
    } cases[] = {
        {"RC-40 line", rc40, 0, 65, 40, "N"},
        {"rumble 31.5 Hz at RC + 30", rc40, 0, 70, 40, "N"},
        {"rumble 31.5 Hz past it", rc40, 0, 70.01, 40, "R"},
        {"rumble 63 Hz at RC + 25", rc40, 1, 65, 40, "N"},
        {"rumble 63 Hz past it", rc40, 1, 65.01, 40, "R"},
        {"rumble 125 Hz at RC + 20", rc40, 2, 60, 40, "N"},
        {"rumble 125 Hz past it", rc40, 2, 60.01, 40, "R"},
        {"rumble 250 Hz at RC + 15", rc40, 3, 55, 40, "N"},
        {"rumble 250 Hz past it", rc40, 3, 55.01, 40, "R"},
        // 500 Hz moves RC too: 52.5 dB makes RC 42.5 and meets RC + 10 exactly.
        {"rumble 500 Hz at RC + 10", rc40, 4, 52.5, 42.5, "N"},
        {"rumble 500 Hz past it", rc40, 4, 52.56, 42.52, "R"},
        // 2 kHz likewise: 39.5 dB makes RC 41.5 and meets RC - 2 exactly.
        {"hiss 2 kHz at RC - 2", rc40, 6, 39.5, 41.5, "N"},
        {"hiss 2 kHz past it", rc40, 6, 39.53, 41.51, "H"},
        {"hiss 4 kHz at RC - 7", rc40, 7, 33, 40, "N"},
        {"hiss 4 kHz past it", rc40, 7, 33.01, 40, "H"},
        {"hiss 8 kHz at RC - 12", rc40, 8, 28, 40, "N"},
        {"hiss 8 kHz past it", rc40, 8, 28.01, 40, "H"},
        {"vibration 31.5 Hz at 75", rc50, 0, 75, 50, "N"},
        {"vibration 31.5 Hz past it", rc50, 0, 75.01, 50, "NV"},
        {"63 Hz at 80: rumble only", rc50, 1, 80, 50, "R"},
        {"63 Hz past 80: rumble and vibration", rc50, 1, 80.01, 50, "RV"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OctaveLevels L = c.line;
        L[static_cast<std::size_t>(c.band)] = c.level;
        const RoomCriterionRating r = RateRoomCriterion(L);
        EXPECT_NEAR(r.RC, c.RC, 0.005);
        EXPECT_EQ(r.RCclass, c.RCclass);
    }
    OctaveLevels both = rc40;
    both[0] = 70.01, both[8] = 28.01;
    EXPECT_EQ(RateRoomCriterion(both).RCclass, "RH");
    // RC is the mean of 500 Hz .. 2 kHz; from 55 on it is out of range. SIL is the mean of
    // 500 Hz .. 4 kHz, SILd = 444 e^(-0.117 SIL).
    OctaveLevels mid{};
    mid[4] = mid[5] = mid[6] = 54.99;
    EXPECT_NEAR(RateRoomCriterion(mid).RC, 54.99, 1e-9);
    EXPECT_EQ(RateRoomCriterion(mid).RCclass, "H");
    mid[4] = mid[5] = mid[6] = 55;
    mid[7] = 35;
    const RoomCriterionRating out = RateRoomCriterion(mid);
    EXPECT_EQ(out.RC, 9999.0);
    EXPECT_EQ(out.RCclass, "None - not R or H or N or V ");
    EXPECT_NEAR(out.SIL, 50.0, 1e-12);
    EXPECT_NEAR(out.SILd, 444 * std::exp(-5.85), 1e-12);
}

TEST(NoiseRatings, EachStepLogsItsLinesAndStoresItsResults) {
    Rig r;
    const RunState& s = RateOctaves(r, {65, 60, 55, 50, 45, 40, 35, 34, 25, Z});
    EXPECT_NEAR(s.SIL, 38.5, 1e-9);
    EXPECT_NEAR(s.SILd, 444 * std::exp(-0.117 * 38.5), 1e-9);
    EXPECT_NEAR(s.RC, 40, 1e-9);
    EXPECT_EQ(s.RCclass, "H");
    EXPECT_NEAR(s.NR, 40.2 / 0.974, 1e-9);  // 500 Hz rates highest: (45 - 4.8) / 0.974
    const std::vector<test::LogLine> want = {
        {"S", "CalculateNoiseCriterion"}, {"D", " Calculate oct_L using Oct_S"},
        {"S", "CalculateNCShift"}, {"E", "CalculateNCShift"}, {"E", "CalculateNoiseCriterion"},
        {"S", "CalculatePNC"}, {"D", " Calculate octL using Oct_S"}, {"S", "CalculatePNCShift"},
        {"E", "CalculatePNCShift"}, {"E", "CalculatePNC"}, {"S", "CalculateRoomCriterion"},
        {"D", " Calculate octL using Oct_S"}, {"E", "CalculateRoomCriterion"},
        {"S", "CalculateNoiseRating"}, {"E", "CalculateNoiseRating"}};
    EXPECT_EQ(r.host.log, want);
}

// A digitally silent file: every band holds the empty-sum level, every block the same A level;
// the percentiles equal that level and every rating is a finite number.
TEST(NoiseRatings, SilentFileGivesFiniteRatingsAndPercentiles) {
    test::TempDir dir{"oxw-ratings"};
    const auto path = dir / "silence.wav";
    test::WriteWav(path, test::WavFormat(), {std::vector<double>(44100 * 3, 0.0)});
    Rig r;
    r.Run(path.string());
    const RunState& s = r.e.S();
    ASSERT_GT(s.Elements, 20);
    for (double v : {s.LA1, s.LA5, s.LA10, s.LA20, s.LA50, s.LA80, s.LA90})
        EXPECT_DOUBLE_EQ(v, s.LAmax);
    for (double v : {s.LAmax, s.No1, s.N5, s.N10, s.N20, s.N50, s.N80, s.N90, s.DL10, s.DL20,
                     s.DL50, s.DL80, s.DL90, s.NC, s.PNC, s.SIL, s.SILd, s.RC, s.NR})
        EXPECT_TRUE(std::isfinite(v)) << v;
    EXPECT_FALSE(s.RCclass.empty());
}

}  // namespace
}  // namespace oxw::engine
