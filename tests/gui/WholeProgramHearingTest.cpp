// Whole runs of the program on generated tones, read back from the files written: the loudness,
// sharpness and dissonance of every output line and of the file. References: a 1 kHz tone at
// 60 dB is 60 phon (ISO 226), about 4 sone (ISO 532); this chain gives 4.20 sone and 0.98 acum
// per 4096-point block, and 0.438 for the tone dissonance of 1000 + 1060 Hz.
#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <sstream>

#include <gtest/gtest.h>

#include "CheckDialogScript.h"
#include "app/Forms.h"
#include "assessment/SoundQualityOutput.h"
#include "app/TForm1.h"
#include "controls/NTabEd.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedSoundSystem.h"
#include "views/SalienceForms.h"
#include "views/Smooth3DInterpolation.h"
#include "support/TempDir.h"
#include "support/TextLines.h"
#include "support/WavWriter.h"

namespace fs = std::filesystem;
using namespace oxw;

namespace {

using test::ReadLines;

// The fields of a row: text between commas, blanks and tabs trimmed.
std::vector<std::string> Fields(const std::string& row) {
    std::vector<std::string> out;
    std::stringstream in(row);
    for (std::string f; std::getline(in, f, ',');) {
        const auto a = f.find_first_not_of(" \t"), b = f.find_last_not_of(" \t");
        out.push_back(a == std::string::npos ? "" : f.substr(a, b - a + 1));
    }
    return out;
}

// The rows after the column line that starts with `columns`, split into fields.
std::vector<std::vector<std::string>> Rows(const std::vector<std::string>& lines,
                                           const std::string& columns) {
    std::vector<std::vector<std::string>> rows;
    auto it = std::find_if(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.rfind(columns, 0) == 0; });
    if (it == lines.end()) return rows;
    for (++it; it != lines.end() && !it->empty(); ++it) rows.push_back(Fields(*it));
    return rows;
}

// The value of the summary line that ends with `label`.
double SummaryValue(const std::vector<std::string>& summary, const std::string& label) {
    for (const std::string& l : summary) {
        const bool ends = l.size() >= label.size() &&
                          l.compare(l.size() - label.size(), label.size(), label) == 0;
        if (ends) return std::stod(Fields(l).front());
    }
    ADD_FAILURE() << "no summary line " << label;
    return NAN;
}

constexpr const char* kLN = ",  LN Converted Overall Loudness sones to phons (Stevens formula)";
constexpr const char* kSDissHK = ",  SDiss(H&K) Overall Spectral Dissonance - Hutchinson & Knopoff";
constexpr const char* kSDissS = ",  SDiss(S) Overall Spectral Dissonance - Sethares";
constexpr const char* kTDissHK =
    ",  TDiss(H&K) Overall Dissonance of Tonal Components - Hutchinson & Knopoff";
constexpr const char* kTDissS = ",  TDiss(S) Overall Dissonance of Tonal components - Sethares";

class WholeProgramHearing : public ::testing::Test {
protected:
    void SetUp() override {
        app::CreateForms(forms, dialogs, sound);
        main = forms.Form1;
        main->SetDialogs(&dialogs);
        dialogs.ModalScript = test::ContinueAnalysis;
        emit main->ui.Label45->clicked();  // skip the questionnaire
    }
    void TearDown() override { app::DestroyForms(forms); }

    // 3 s of sines of rms 1044 LSB each (60 dB) at the given frequencies, analysed.
    void Run(std::initializer_list<double> hz, bool twoPass = false) {
        std::vector<std::int16_t> frames(3 * 44100);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            double x = 0;
            for (double f : hz)
                x += 1044 * std::sqrt(2.0) * std::sin(2 * std::numbers::pi * f * i / 44100);
            frames[i] = static_cast<std::int16_t>(std::lround(x));
        }
        Run(frames, twoPass);
    }
    // 3 s of white noise, uniform within +-100 LSB (rms 58 LSB, 35 dB), analysed.
    void RunNoise() {
        std::vector<std::int16_t> frames(3 * 44100);
        std::uint32_t seed = 12345;
        for (auto& x : frames) {
            seed = seed * 1664525u + 1013904223u;
            x = static_cast<std::int16_t>(static_cast<int>((seed >> 8) % 201u) - 100);
        }
        Run(frames, false);
    }
    void Run(const std::vector<std::int16_t>& frames, bool twoPass) {
        const fs::path wav = dir / "tones.wav";
        test::WriteWavFrames(wav, test::WavFormat(), frames);
        dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
        if (twoPass)
            main->ProcessAdvancedClick();
        else
            main->ProcessIntroductoryClick();
        ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("|").toStdString();
    }
    const report::OutputFileNames& Names() { return main->Files().Names; }

    test::TempDir dir{"oxw-hearing"};
    platform::ScriptedDialogs dialogs;
    platform::ScriptedSoundSystem sound;
    app::Forms forms;
    app::TForm1* main = nullptr;
};

// The 60 dB sine, with loudness and its percentiles both in place: the annoyance lines follow
// from the summary's own printed values (Zwicker and Fastl's psychoacoustic annoyance: N5 times
// 1 + the root of wS^2 + wFR^2, wS = 0.25 (S - 1.75) lg(N5 + 10); the unbiased annoyance N10^1.3
// (1 + 0.25 (S - 1) lg(N10 + 10) + 0.3 TDiss (1 + N10) / (0.3 + N10)), night 3.84 times day),
// and the sound-quality window shows the same values to one decimal.
TEST_F(WholeProgramHearing, SineAt60dBIsFourSoneAndOneAcum) {
    Run({1000});
    // The level, loudness and pitch rows live on in the summary.
    const auto summary = ReadLines(Names().DravolekSummaryFileName);
    const auto loud = Rows(summary, "TIME,\tN,");
    ASSERT_EQ(loud.size(), 40u);
    for (const auto& row : loud) {
        ASSERT_EQ(row.size(), 7u + 38u + 1u) << row.front();
        const double N = std::stod(row[1]);
        EXPECT_NEAR(N, 4.2, 0.05) << row[0];
        EXPECT_GE(std::stod(row[2]), N);           // Nmax
        EXPECT_NEAR(std::stod(row[3]), 1.0, 0.1);  // S(Z&F)
        // The largest specific loudness lies at 15 or 16 ERB (1 kHz is 15.6 ERB).
        const auto largest = std::max_element(
            row.begin() + 7, row.begin() + 45,
            [](const std::string& a, const std::string& b) { return std::stod(a) < std::stod(b); });
        const long erb = 2 + (largest - (row.begin() + 7));
        EXPECT_TRUE(erb == 15 || erb == 16) << erb;
    }
    for (const auto& row : Rows(summary, "TIME,\tL(A),")) EXPECT_EQ(row[5], "60") << row[0];  // LN

    const double n5 = SummaryValue(summary, ",  N5 5th Percentile ");
    const double n10 = SummaryValue(summary, ",  N10 1st Decile ");
    const double sharp = SummaryValue(summary, ",  S(A) Overall Sharpness - Aures");
    const double sdiss = SummaryValue(summary, kSDissS), tdiss = SummaryValue(summary, kTDissS);
    const double wS = 0.25 * (sharp - 1.75) * std::log10(n5 + 10);
    const double wFR = 2.18 * (0.4 * tdiss + 0.6 * sdiss) / std::pow(n5, 0.4);
    const double day = std::pow(n10, 1.3) *
                       (1 + 0.25 * (sharp - 1) * std::log10(n10 + 10) + 0.3 * tdiss * (1 + n10) / (0.3 + n10));
    struct Line { const char* label; double value, tolerance; };
    const Line lines[] = {{",  N Overall Loudness", 4.2, 0.05},
                          {kLN, 60, 0},
                          {",  N5 5th Percentile ", 4.2, 0.1},
                          {",  S(Z&F) Overall Sharpness - Zwicker and Fastl", 1.0, 0.1},
                          {",  S(A) Overall Sharpness - Aures", 1.0, 0.1},
                          {",  TW Overall Timbral Width", 0.5, 0.1},
                          {",  V Overall Auditory Volume", 1.9, 0.1},
                          {kSDissHK, 0.01, 0.005},
                          {kSDissS, 0, 0.001},
                          {kTDissHK, 0, 0},  // one tone: no pairs
                          {kTDissS, 0, 0},
                          {",  Psychoacoustic Annoyance PsychAnnoy", n5 * (1 + std::hypot(wS, wFR)), 0.1},
                          {",  Unbiased Annoyance (m) Day", day, 0.02 * day},
                          {",  Unbiased Annoyance (m) Night", 3.84 * day, 0.08 * day}};
    for (const Line& l : lines) EXPECT_NEAR(SummaryValue(summary, l.label), l.value, l.tolerance) << l.label;
    auto* quality = forms.SoundQualityOutput;
    const struct { QLineEdit* edit; const char* label; } fields[] = {
        {quality->N5Output, ",  N5 5th Percentile "},
        {quality->N10Output, ",  N10 1st Decile "},
        {quality->DayOutput, ",  Unbiased Annoyance (m) Day"},
        {quality->NightOutput, ",  Unbiased Annoyance (m) Night"}};
    for (const auto& f : fields)
        EXPECT_NEAR(f.edit->text().trimmed().toDouble(), SummaryValue(summary, f.label), 0.051) << f.label;
    // The 38-row table of the file's specific loudness: its largest entry at 15 or 16 ERB.
    const auto table = Rows(summary, "      Erb,");
    ASSERT_EQ(table.size(), 38u);
    const auto peak = std::max_element(table.begin(), table.end(), [](auto& a, auto& b) {
        return std::stod(a[2]) < std::stod(b[2]);
    });
    EXPECT_TRUE((*peak)[0] == "15" || (*peak)[0] == "16") << (*peak)[0];
    // The file means' trace: the loudness column grows line by line to the file's mean.
    std::vector<double> history;
    for (const std::string& l : ReadLines(Names().DravolekTraceFileName))
        if (l.rfind("TRACE, History 02.01,", 0) == 0) history.push_back(std::stod(Fields(l)[3]));
    ASSERT_EQ(history.size(), 40u);
    EXPECT_NEAR(history.front(), 4.2 / 40, 0.01);
    EXPECT_NEAR(history.back(), 4.2, 0.05);
}

// The two-pass run: the first pass rates the two tones' dissonance in every row and in the
// summary; the tone pass rates both Nordic spectra (their spectral dissonance lines in the log)
// and the Nordic tone list.
TEST_F(WholeProgramHearing, TwoTonesASemitoneApartInBothPasses) {
    Run({1000, 1060}, true);
    const auto summary = ReadLines(Names().DravolekSummaryFileName);
    const auto pitch = Rows(summary, "TIME,\tSDiss(H&K),");
    ASSERT_EQ(pitch.size(), 40u);
    for (const auto& row : pitch) EXPECT_NEAR(std::stod(row[3]), 0.44, 0.05) << row[0];
    EXPECT_NEAR(SummaryValue(summary, kTDissHK), 0.44, 0.05);
    EXPECT_NEAR(SummaryValue(summary, kTDissS), 0.184, 0.01);

    const auto log = ReadLines(Names().LogFileName);
    auto count = [&](const std::string& text) {
        return std::count_if(log.begin(), log.end(), [&](const std::string& l) {
            return l.find(text) != std::string::npos;
        });
    };
    const auto lines108 = count("CalculateSpectDiss 6417 Nordic fCBW");
    EXPECT_GT(lines108, 0);
    EXPECT_EQ(count("CalculateSpectDiss 6476 Nordic fCBW"), lines108);
    EXPECT_EQ(count("NordicCalculateToneDissonance DissonanceHK = "), lines108);
    const engine::RunState& s = main->Engine().S();
    EXPECT_NEAR(s.Loudness_Nordic108, s.Loudness_Nordic121, 0.1 * s.Loudness_Nordic108);
    EXPECT_GT(s.Loudness_Nordic108, 5.0);  // two 60 dB tones: louder than one
    EXPECT_GT(s.SpectDissHK_Nordic121, 0.0);
}

// The pitch model on a 440 Hz sine at 60 dB: one spectral pitch of weight about 0.47, so pure
// tonalness 0.47 / sqrt(5.2) = 0.20, multiplicity 1 and no complex tonalness; its chroma is A
// (a few cents off the tone's line estimate: 0.97), and the key of a lone A correlates with the
// A major profile at R^2 0.53. The file's key, chord and salience tables follow, and the mean A4
// salience reaches the note grid, the 3-D surface, the contour table and the 3-D bars.
TEST_F(WholeProgramHearing, SineAt440HzIsAWithItsKey) {
    Run({440});
    const auto summary = ReadLines(Names().DravolekSummaryFileName);
    const auto pitch = Rows(summary, "TIME,\tSDiss(H&K),");
    ASSERT_EQ(pitch.size(), 40u);
    constexpr std::size_t kChromaA = 11, kKeyA0 = 23, kKeyA4 = kKeyA0 + 48;
    for (const auto& row : pitch) {
        ASSERT_EQ(row.size(), 112u) << row.front();  // 111 fields and the row's closing comma
        EXPECT_NEAR(std::stod(row[5]), 0.20, 0.011) << row[0];  // PTonal
        EXPECT_EQ(row[6], "0.00");                               // CTonal
        EXPECT_EQ(row[7], "1.00");                               // Mult
        EXPECT_EQ(row[8], "0");                                  // Tonic: A
        EXPECT_EQ(row[9], "0");                                  // M/m: major
        EXPECT_NEAR(std::stod(row[10]), 0.5, 0.05);              // R^2
        EXPECT_NEAR(std::stod(row[kChromaA]), 0.97, 0.02);
        for (std::size_t k = kKeyA0; k < kKeyA0 + 88; ++k) {
            if (k != kKeyA4) {
                EXPECT_LT(std::stod(row[k]), std::stod(row[kKeyA4])) << k;
            }
        }
    }
    const auto has = [&](const std::string& line) { return std::count(summary.begin(), summary.end(), line) == 1; };
    EXPECT_TRUE(has("  A  major,  Tonality String representing Overall Tonality"));
    EXPECT_TRUE(has("     A ___,  Chord String representing Overall Chord"));
    EXPECT_NEAR(SummaryValue(summary, ",  R^2 Tonality Correlation Coefficient"), 0.53, 0.02);
    EXPECT_NEAR(SummaryValue(summary, ",  PTonal Overall Pure Tonalness - Parncutt"), 0.20, 0.011);
    EXPECT_NEAR(SummaryValue(summary, ",  Mult Overall Multiplicity - Parncutt"), 1.0, 0.005);

    const auto chroma = Rows(summary, " Chroma   Salience Value");
    ASSERT_EQ(chroma.size(), 12u);
    EXPECT_EQ(chroma[0][0], "A");
    const double a = std::stod(chroma[0][1]);
    EXPECT_NEAR(a, 0.97, 0.02);
    const auto keys = Rows(summary, "Chroma/Octave  Mean 88-Pitch Value");
    ASSERT_EQ(keys.size(), 88u);
    EXPECT_EQ(keys[48][0] + keys[48][1], "A4");
    const double a4 = std::stod(keys[48][2]);
    EXPECT_NEAR(a4, a, 0.0015);
    const auto octaves = Rows(summary, "       C,\t  C#,");
    ASSERT_EQ(octaves.size(), 7u);
    EXPECT_EQ(octaves[3][0], "4");
    EXPECT_NEAR(std::stod(octaves[3][10]), a4, 0.0015);  // column A

    // The mean A4 salience in the result windows.
    EXPECT_NEAR(forms.MeanPitchSalienceChart->MeanPitchGrid->item(3, 10)->text().toDouble(), a4, 0.0015);
    EXPECT_NEAR(main->Plot3DPitchSalience[10][4], a4, 0.0015);
    EXPECT_NEAR(forms.Smooth3DInterpolation->MeanPitchSalienceNTabEd1->GetElem(3, 46), a4, 0.0015);
    EXPECT_NEAR(forms.rch3dMainForm->PitchSalience_SNTabEd1->GetElem(1, 49), a4, 0.0015);
    EXPECT_NEAR(forms.rch3dMainForm->ChromaSalience_SNTabEd1->GetElem(1, 1), a, 0.0015);
}

// Quiet noise: a few random peaks pass the tone test, but none stands above the noise within
// half a Bark and the threshold in quiet, so no block has a pitch: no key in any row, an empty
// key and the chord of a chroma without salience for the file. (Loud white noise is another
// matter: at 45 dB and more the model hears about one random low peak per block, and some of
// them weigh enough for a pitch.)
TEST_F(WholeProgramHearing, QuietNoiseHasNoPitch) {
    RunNoise();
    const auto log = ReadLines(Names().LogFileName);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Start NoPitches"), 40);
    const auto summary = ReadLines(Names().DravolekSummaryFileName);
    const auto pitch = Rows(summary, "TIME,\tSDiss(H&K),");
    ASSERT_EQ(pitch.size(), 40u);
    for (const auto& row : pitch) EXPECT_EQ(row[8] + row[9] + row[10], "-9900.00") << row[0];  // Tonic, M/m, R^2
    EXPECT_EQ(std::count(summary.begin(), summary.end(), "        A ,  Chord String representing Overall Chord"), 1);
    EXPECT_EQ(std::count(summary.begin(), summary.end(), "          ,  Tonality String representing Overall Tonality"), 1);
}

}  // namespace
