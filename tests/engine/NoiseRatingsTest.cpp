// Room-noise ratings of the file's octave spectrum against the published curves: spectra lying
// exactly on the NC curves (ANSI S12.2), the PNC curves (Beranek 1971), the NR curves
// L = a + b NR (ISO R1996 / BS 8233) and the RC reference line of -5 dB per octave through RC
// at 1 kHz (Blazier); SIL is the four-band mean of 500 Hz .. 4 kHz (ANSI S3.14). Then the edge
// cases of the rating rules and a digitally silent run.
#include "engine/Conversions.h"
#include "support/EngineRig.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace oxw::engine {
namespace {

using Rig = test::EngineRig<>;
using Levels = std::array<double, 10>;  // dB, 31.5 Hz .. 16 kHz

constexpr double Z = -INFINITY;  // a band of zero intensity
constexpr double kAny = std::numeric_limits<double>::quiet_NaN();  // not checked

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

void ExpectNear(double got, double want, double tolerance, const char* what) {
    if (!std::isnan(want)) {
        EXPECT_NEAR(got, want, tolerance) << what;
    }
}

TEST(NoiseRatings, NcAndPncOnThePublishedCurvesAndAtTheEdges) {
    const struct {
        const char* name;
        Levels L;
        double NC, PNC;
    } cases[] = {
        {"on NC-40", {Z, 64, 56, 50, 45, 41, 39, 38, 37, Z}, 40, kAny},
        {"on NC-65", {Z, 80, 75, 71, 68, 66, 64, 63, 62, Z}, 65, kAny},
        {"on NC-15", {Z, 47, 36, 29, 22, 17, 14, 12, 11, Z}, 15, kAny},
        {"on PNC-40", {64, 59, 54, 50, 45, 40, 35, 33, 33, Z}, kAny, 40},
        {"on PNC-65", {79, 76, 73, 70, 67, 64, 61, 58, 58, Z}, kAny, 65},
        {"2 dB over NC-40 at 1 kHz", {Z, 64, 56, 50, 45, 43, 39, 38, 37, Z}, 42, kAny},
        {"all zero", {Z, Z, Z, Z, Z, Z, Z, Z, Z, Z}, 4, 7},
        {"flat 50", {50, 50, 50, 50, 50, 50, 50, 50, 50, 50}, 54, 57},
        {"flat 50, 16 kHz at 120", {50, 50, 50, 50, 50, 50, 50, 50, 50, 120}, 54, 57},
        {"flat 50, 31.5 Hz at 120", {120, 50, 50, 50, 50, 50, 50, 50, 50, 50}, 54, kAny},
        {"flat 90", {90, 90, 90, 90, 90, 90, 90, 90, 90, 90}, 9999, 9999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        const RunState& s = RateOctaves(r, c.L);
        ExpectNear(s.NC, c.NC, 1e-9, "NC");
        ExpectNear(s.PNC, c.PNC, 1e-9, "PNC");
        // The shift steps run only when a curve was selected.
        const int shifts = s.NC == 9999 ? 0 : 1;
        EXPECT_EQ(r.host.Count("S", "CalculateNCShift"), shifts);
        EXPECT_EQ(r.host.Count("E", "CalculatePNCShift"), s.PNC == 9999 ? 0 : 1);
    }
}

TEST(NoiseRatings, SilRcAndNrOnTheReferenceLinesAndAtTheEdges) {
    const struct {
        const char* name;
        Levels L;
        double SIL, SILd, RC;
        const char* RCclass;
        double NR;
    } cases[] = {
        {"on NR-50", {89.45, 75.0, 65.5, 58.5, 53.5, 50, 47.25, 45.15, 43.5, Z}, kAny, kAny, kAny,
         nullptr, 50.0},
        {"RC-40 line", {65, 60, 55, 50, 45, 40, 35, 30, 25, Z}, 37.5, 444 * std::exp(-4.3875), 40,
         "N", kAny},
        {"RC-40, +6 dB at 125 Hz", {65, 60, 61, 50, 45, 40, 35, 30, 25, Z}, 37.5, kAny, 40, "R",
         kAny},
        {"RC-40, +4 dB at 4 kHz", {65, 60, 55, 50, 45, 40, 35, 34, 25, Z}, 38.5, kAny, 40, "H",
         kAny},
        {"RC-40, 76 dB at 31.5 Hz", {76, 60, 55, 50, 45, 40, 35, 30, 25, Z}, kAny, kAny, 40, "RV",
         kAny},
        {"all zero", {Z, Z, Z, Z, Z, Z, Z, Z, Z, Z}, 0, 444, 0, "H", 8 / 1.03},
        {"flat 60", {60, 60, 60, 60, 60, 60, 60, 60, 60, 60}, 60, 0.3966, 9999,
         "None - not R or H or N or V ", 68 / 1.03},
        {"only 8 kHz at 70", {Z, Z, Z, Z, Z, Z, Z, Z, 70, Z}, kAny, kAny, kAny, nullptr, 78 / 1.03},
        {"only 16 kHz at 100", {Z, Z, Z, Z, Z, Z, Z, Z, Z, 100}, kAny, kAny, kAny, nullptr,
         8 / 1.03},
        {"500 Hz .. 2 kHz at 40", {Z, Z, Z, Z, 40, 40, 40, Z, Z, Z}, 30, kAny, 40, "H", kAny},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        const RunState& s = RateOctaves(r, c.L);
        ExpectNear(s.SIL, c.SIL, 1e-9, "SIL");
        ExpectNear(s.SILd, c.SILd, 5e-4, "SILd");
        ExpectNear(s.RC, c.RC, 1e-9, "RC");
        if (c.RCclass) {
            EXPECT_EQ(s.RCclass, c.RCclass);
        }
        ExpectNear(s.NR, c.NR, 1e-9, "NR");
    }
}

TEST(NoiseRatings, EachStepLogsItsLines) {
    Rig r;
    RateOctaves(r, {50, 50, 50, 50, 50, 50, 50, 50, 50, 50});
    const std::vector<test::LogLine> want = {
        {"S", "CalculateNoiseCriterion"}, {"D", " Calculate oct_L using Oct_S"},
        {"S", "CalculateNCShift"},        {"E", "CalculateNCShift"},
        {"E", "CalculateNoiseCriterion"}, {"S", "CalculatePNC"},
        {"D", " Calculate octL using Oct_S"}, {"S", "CalculatePNCShift"},
        {"E", "CalculatePNCShift"},       {"E", "CalculatePNC"},
        {"S", "CalculateRoomCriterion"},  {"D", " Calculate octL using Oct_S"},
        {"E", "CalculateRoomCriterion"},  {"S", "CalculateNoiseRating"},
        {"E", "CalculateNoiseRating"}};
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
