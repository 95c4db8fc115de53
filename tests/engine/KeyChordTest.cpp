// Key and chord finding on chroma vectors built from note names, with key correlations worked
// apart from the program (Pearson correlation with the published profiles) and chord fits worked
// out from the published templates, the Krumhansl-Kessler (1982) probe-tone profiles as input,
// and the line keys a run writes.
#include "engine/ChordFinding.h"
#include "engine/Engine.h"
#include "engine/KeyFinding.h"
#include "support/EngineRig.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <sstream>
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
// Salience on named notes, "C:2 G" for 2 on C and 1 on G; classes are semitones above A.
Chroma Notes(const std::string& notes) {
    static const std::map<std::string, int> kClass = {
        {"A", 0}, {"Bb", 1}, {"B", 2}, {"C", 3},  {"Db", 4}, {"D", 5},  {"Eb", 6},
        {"E", 7}, {"F", 8},  {"F#", 9}, {"Gb", 9}, {"G", 10}, {"Ab", 11}, {"G#", 11}};
    Chroma c{};
    std::istringstream in(notes);
    for (std::string note; in >> note;) {
        const auto colon = note.find(':');
        c[kClass.at(note.substr(0, colon))] += colon == std::string::npos ? 1 : std::stod(note.substr(colon + 1));
    }
    return c;
}

TEST(KeyFinding, ProfilesTriadsAndProbeTones) {
    const ChromaProfile major = {11.5, 0.2, 3.7, 0.5, 4.5, 3.9, 0.1, 8.3, 0.5, 3.7, 0.7, 1.7};
    const ChromaProfile minor = {9.6, 1.1, 2.8, 7.1, 0.8, 4.3, 0.0, 9.4, 5.6, 0.3, 1.3, 2.1};
    const ChromaProfile kkMajor = {6.35, 2.23, 3.48, 2.33, 4.38, 4.09,
                                   2.52, 5.19, 2.39, 3.66, 2.29, 2.88};
    const ChromaProfile kkMinor = {6.33, 2.68, 3.52, 5.38, 2.60, 3.53,
                                   2.54, 4.75, 3.98, 2.69, 3.34, 3.17};
    struct Case { const char* name; Chroma chroma; const char* key; double R2; int tonic, Mm; };
    const Case cases[] = {
        {"the major profile", Transposed(major, 0), "A  major", 1.0, 0, 0},
        {"the minor profile from C", Transposed(minor, 3), "C  minor", 1.0, 3, -3},
        {"C major triad", Notes("C E G"), "C  major", 0.669, 3, 0},
        {"A minor triad", Notes("A C E"), "A  minor", 0.755, 0, -3},
        {"probe tones, major from C", Transposed(kkMajor, 3), "C  major", 0.971, 3, 0},
        {"probe tones, minor from A", Transposed(kkMinor, 0), "A  minor", 0.876, 0, -3},
        {"E alone", Notes("E"), "E  major", 0.530, 7, 0},
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
    r.e.FindKey(Notes("C E G"), key, R2, tonic, Mm);
    ASSERT_EQ(r.host.log.size(), 16u);
    EXPECT_EQ(r.host.log[5], (test::LogLine{"S", "D FindKey index 3 chromata 1.000000"}));
    EXPECT_EQ(r.host.log[14], (test::LogLine{"S", "D FindKey SUMx, SUMx2 3.000000 3.000000"}));
    EXPECT_EQ(r.host.log[15], (test::LogLine{"E", "FindKey"}));
}

// R2 worked out from the published templates over every row and transposition, rows in their
// order, the first best fit kept; rows 20 and 22 take their roots on their values 1 and 4.
TEST(ChordFinding, ChordsNamedFromTheirNotes) {
    const struct { const char* notes; const char* chord; double R2; } cases[] = {
        {"A", "A ___", 0.97273},           {"C:2 G", "C _P_", 0.98378},
        {"C D", "D __m", 0.97741},         {"C:2 F#", "C _d_", 0.85055},
        {"A C E", "A mP_", 0.88111},       {"C:3 E G", "C MP_", 0.98562},
        {"C E G", "C MPM", 0.93750},       {"Db F A B:0.6", "D flat MAm", 0.98137},
        {"C E:2 G#", "E MA_", 0.86065},    {"D F# A C", "F sharp md_", 0.84020},
        {"A C Eb Gb", "E flat mdd", 0.52843}, {"", "A ", 0.0},
    };
    test::EngineRig<> r;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notes);
        std::string chord = "stale";
        double R2 = -1;
        r.e.FindChord(Notes(c.notes), chord, R2);
        EXPECT_EQ(chord, c.chord);
        EXPECT_NEAR(R2, c.R2, 0.00001);
    }
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
struct LineRun { std::vector<KeyRow> rows; int patternSorts = 0; };
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
        // Two pitches and more in every block: the driver sorts every block's pattern.
        {"A and E", {440, 660}, false, 0, 0, NAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LineRun run = LineKeys(c.hz, c.flat);
        ASSERT_EQ(run.rows.size(), 40u);
        if (c.hz.size() > 1) { EXPECT_GE(run.patternSorts, 40); }
        for (const KeyRow& row : run.rows) {
            EXPECT_EQ(row.tonic, c.tonic);
            EXPECT_EQ(row.Mm, c.Mm);
            if (!std::isnan(c.R2)) { EXPECT_NEAR(row.R2, c.R2, 0.03); }
        }
    }
}

}  // namespace
}  // namespace oxw::engine
