// Key and chord finding on chroma vectors worked apart from the program (Pearson correlation with
// the engine's profiles and templates), the Krumhansl-Kessler (1982) probe-tone profiles as input,
// and the line keys a run writes.
#include "engine/ChordFinding.h"
#include "engine/Engine.h"
#include "engine/KeyFinding.h"
#include "support/EngineRig.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace oxw::engine {
namespace {

// A chroma vector with value v[j] on the class (j + t) mod 12; entry 12 set to a decoy.
Chroma Transposed(const ChromaProfile& v, int t) {
    Chroma c{};
    for (int j = 0; j < 12; ++j) c[(j + t) % 12] = v[j];
    c[12] = 1000;
    return c;
}
// Equal salience on the given classes (semitones above A).
Chroma Classes(std::initializer_list<int> classes) {
    Chroma c{};
    for (int k : classes) c[k] = 1;
    return c;
}

TEST(KeyFinding, ProfilesTriadsAndProbeTones) {
    const ChromaProfile major = {11.5, 0.2, 3.7, 0.5, 4.5, 3.9, 0.1, 8.3, 0.5, 3.7, 0.7, 1.7};
    const ChromaProfile minor = {9.6, 1.1, 2.8, 7.1, 0.8, 4.3, 0.0, 9.4, 5.6, 0.3, 1.3, 2.1};
    const ChromaProfile kkMajor = {6.35, 2.23, 3.48, 2.33, 4.38, 4.09,
                                   2.52, 5.19, 2.39, 3.66, 2.29, 2.88};
    const ChromaProfile kkMinor = {6.33, 2.68, 3.52, 5.38, 2.60, 3.53,
                                   2.54, 4.75, 3.98, 2.69, 3.34, 3.17};
    struct Case {
        const char* name;
        Chroma chroma;
        const char* key;
        double R2;
        int tonic, Mm;
    };
    const Case cases[] = {
        {"the major profile", Transposed(major, 0), "A  major", 1.0, 0, 0},
        {"the minor profile from C", Transposed(minor, 3), "C  minor", 1.0, 3, -3},
        {"C major triad", Classes({3, 7, 10}), "C  major", 0.669, 3, 0},
        {"A minor triad", Classes({0, 3, 7}), "A  minor", 0.755, 0, -3},
        {"probe tones, major from C", Transposed(kkMajor, 3), "C  major", 0.971, 3, 0},
        {"probe tones, minor from A", Transposed(kkMinor, 0), "A  minor", 0.876, 0, -3},
        {"E alone", Classes({7}), "E  major", 0.530, 7, 0},
        {"no pitch at all", Chroma{}, "", 0.0, NO_TONIC, 0},
        {"all classes equal", Transposed(ChromaProfile{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 0), "",
         0.0, NO_TONIC, 0},
    };
    test::EngineRig<> r;
    r.e.S().CountLine = 1;                     // major keys count from the first line on
    for (int round = 0; round < 2; ++round) {  // a second call starts from its own sums
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            std::string key = "stale";
            double R2 = -1;
            int tonic = 5, Mm = 7;
            r.e.FindKey(c.chroma, key, R2, tonic, Mm);
            EXPECT_EQ(key, c.key);
            EXPECT_NEAR(R2, c.R2, 0.0005);
            EXPECT_EQ(tonic, c.tonic);
            EXPECT_EQ(Mm, c.Mm);
        }
    }
}

TEST(KeyFinding, LogLines) {
    test::EngineRig<> r;
    r.host.log.clear();
    std::string key;
    double R2;
    int tonic, Mm;
    r.e.FindKey(Classes({3, 7, 10}), key, R2, tonic, Mm);
    const auto& log = r.host.log;
    ASSERT_EQ(log.size(), 16u);
    EXPECT_EQ(log[0], (test::LogLine{"S", "FindKey"}));
    EXPECT_EQ(log[1], (test::LogLine{"S", "FindKey"}));
    EXPECT_EQ(log[2], (test::LogLine{"S", "D FindKey index 0 chromata 0.000000"}));
    EXPECT_EQ(log[5], (test::LogLine{"S", "D FindKey index 3 chromata 1.000000"}));
    EXPECT_EQ(log[14], (test::LogLine{"S", "D FindKey SUMx, SUMx2 3.000000 3.000000"}));
    EXPECT_EQ(log[15], (test::LogLine{"E", "FindKey"}));
}

TEST(ChordFinding, TemplatesAndTriads) {
    const auto& rows = kChordTemplates;
    struct Case {
        const char* name;
        Chroma chroma;
        const char* chord;
        double R2;
    };
    const Case cases[] = {
        {"row 1", Transposed(rows[0].w, 0), "A ___", 1.0},
        {"row 6", Transposed(rows[5].w, 0), "D _P_", 1.0},
        {"row 18 at transposition 7", Transposed(rows[17].w, 7), "C MA_", 1.0},
        {"row 20: root on its value 1", Transposed(rows[19].w, 0), "B flat MPM", 1.0},
        {"row 22: root on its value 4", Transposed(rows[21].w, 0), "D flat MAm", 1.0},
        {"C major triad", Classes({3, 7, 10}), "C MPM", 0.9375},
        {"A minor triad", Classes({0, 3, 7}), "A mP_", 0.8811},
        {"no pitch at all", Chroma{}, "A ", 0.0},
    };
    test::EngineRig<> r;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string chord = "stale";
        double R2 = -1;
        r.e.FindChord(c.chroma, chord, R2);
        EXPECT_EQ(chord, c.chord);
        EXPECT_NEAR(R2, c.R2, 0.0001);
    }
    EXPECT_EQ(r.host.Count("S", "ChordProfile"), 27 * static_cast<int>(std::size(cases)));
    EXPECT_EQ(r.host.Count("E", "ChordProfile"), 27 * static_cast<int>(std::size(cases)));
}

// The pitch rows' key fields as the driver leaves them at each line.
struct KeyRow {
    int tonic, Mm;
    double R2;
    bool operator==(const KeyRow&) const = default;
};
class KeyRowHost : public test::ScriptedHost {
public:
    Engine* engine = nullptr;
    std::vector<KeyRow> rows;
    // Every block's chroma replaced by equal salience on all twelve classes.
    bool flatChroma = false;
    void OutputTimeFiles() override {
        const RunState& s = engine->S();
        rows.push_back({s.Tonality_T, s.MajMin_T, s.TonalityR2_T});
    }
    void CreateAuditLog(std::string_view kind, std::string_view text) override {
        if (kind == "S" && text == "SortPitchPattern") ScriptedHost::CreateAuditLog(kind, text);
        if (flatChroma && kind == "S" && text == "AccumulateMeans_T") {
            engine->S().ChromaSalience.fill(0.25);
            engine->S().Multiplicity = 1;
        }
    }
};

// 3 s of sines (none: silence) at 60 dB each, two seconds analysed: 40 lines of one block.
struct LineRun {
    std::vector<KeyRow> rows;
    int patternSorts = 0;
};
LineRun LineKeys(std::initializer_list<double> hz, bool flatChroma = false) {
    test::TempDir dir{"oxw-keys"};
    std::vector<double> x(3 * 44100);
    for (std::size_t i = 0; i < x.size(); ++i)
        for (double f : hz)
            x[i] += 1044 * std::sqrt(2.0) / 32768 * std::sin(2 * std::numbers::pi * f * i / 44100);
    const auto wav = dir / "sine.wav";
    test::WriteWav(wav, test::WavFormat(), {x});
    test::EngineRig<KeyRowHost> r;
    r.host.engine = &r.e;
    r.host.flatChroma = flatChroma;
    r.Run(wav.string());
    return {r.host.rows, r.host.Count("S", "SortPitchPattern")};
}

TEST(KeyFinding, LineKeysOnTheCircleOfFifths) {
    struct Case {
        const char* name;
        std::initializer_list<double> hz;
        bool flat;
        int tonic, Mm;
        double R2;
    };
    const Case cases[] = {
        {"A: place 0", {440}, false, 0, 0, 0.52},
        {"E, 7 semitones above A: place 1", {329.63}, false, 1, 0, 0.52},
        {"silence: no pitch", {}, false, NO_TONIC, 0, 0},
        // Pitches whose chroma fits no key: written like a line without pitch.
        {"equal chroma on every class", {440}, true, NO_TONIC, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rows = LineKeys(c.hz, c.flat).rows;
        ASSERT_EQ(rows.size(), 40u);
        for (const KeyRow& row : rows) {
            EXPECT_EQ(row.tonic, c.tonic);
            EXPECT_EQ(row.Mm, c.Mm);
            EXPECT_NEAR(row.R2, c.R2, 0.03);
        }
    }
}

// A fifth, A and E: two pitches and more in every block, so the driver sorts every block's
// pattern over the count the pattern step leaves in the run state (a count it once read from a
// text that nothing set).
TEST(KeyFinding, FifthIsSortedAndKeyedInEveryLine) {
    const LineRun run = LineKeys({440, 660});
    EXPECT_GE(run.patternSorts, 40);
    ASSERT_EQ(run.rows.size(), 40u);
    for (const KeyRow& row : run.rows) EXPECT_EQ(row.tonic, 0);  // A
}

}  // namespace
}  // namespace oxw::engine
