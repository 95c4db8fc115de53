// The summary report's tables: octave and third-octave levels of the file, specific loudness on
// the ERB grid, mean chroma salience, mean salience of the 88 piano keys and the note-by-octave
// table of the same saliences.
#include <cmath>

#include "app/report/SummaryParts.h"
#include "numeric/NumberFormat.h"

namespace oxw::report::summary {

namespace {

using numeric::fixedField;
using numeric::intField;

// Frequency labels of the band table: octaves (rows 1-10) and third octaves (rows 1-22).
constexpr const char* kOctaveLabels[10] = {"   31.5, ", "   63  , ", "  125 ,  ", "  250 ,  ",
                                           "  500 ,  ", " 1000 ,  ", " 2000 ,  ", " 4000,   ",
                                           " 8000,   ", "16000,   "};
constexpr const char* kThirdOctaveLabels[22] = {
    ",    125, ", ",    160, ", ",    200, ", ",    250, ", ",    315, ", ",    400, ",
    ",    500, ", ",    630, ", ",    800, ", ",   1000, ", ",   1250, ", ",   1600, ",
    ",   2000, ", ",   2500, ", ",   3150, ", ",   4000, ", ",   5000, ", ",   6300, ",
    ",   8000, ", ",  10000, ", ",  12500, ", ",  16000, "};

// Chroma labels in fifths upward from A, the order of the pitch file's chroma columns.
constexpr const char* kChromaLabels[12] = {" A   ,", " E   ,", " B   ,", " F#  ,",
                                           " C#  ,", " G#  ,", " D#  ,", " A#  ,",
                                           " F   ,", " C   ,", " G   ,", " D   ,"};

constexpr const char* kNoteNames[12] = {"A",  "A#", "B", "C",  "C#", "D",
                                        "D#", "E",  "F", "F#", "G",  "G#"};

void WriteBandTable(TextFile& out, const engine::RunState& s) {
    out.WriteLine("");
    out.WriteLine("");
    out.WriteLine("OCTAVE SPECTRUM,          THIRD-OCT SPECTRUM");
    out.WriteLine("  F(Hz),  L(dB),  F(Hz),  L(dB)");
    for (int k = 0; k < 22; ++k) {
        const std::string third =
            Text(kThirdOctaveLabels[k], 10) + fixedField(I2dB(At(s.ThirdOct_S, k)), 5, 1);
        if (k < 10) {
            out.WriteLine(Text(kOctaveLabels[k], 10) + fixedField(I2dB(At(s.Oct_S, k)), 5, 1) +
                          third);
        } else {
            out.WriteLine(Text("     ,   ", 10) + "     " + third);
        }
    }
}

void WriteLoudnessTable(TextFile& out, const engine::RunState& s) {
    out.WriteLine("");
    out.WriteLine("");
    out.WriteLine("The above results as a structured list");
    out.WriteLine("");
    out.WriteLine("Overall Specific Loudness for the respective Erb and Frequency");
    out.WriteLine(Text("Erb,", 10) + Text("        Freq,", 10) + Text("    Loudness,", 10));
    const int first = static_cast<int>(std::lround(engine::ESTART / engine::ESTEP));
    const int last = static_cast<int>(std::lround(engine::EEND / engine::ESTEP));
    for (int i = first; i <= last; ++i) {
        if (i % 4 != 0) continue;
        const double erb = i * engine::ESTEP;
        out.WriteLine(Rounded(erb, 10) + ",  " + Rounded(Erb2Fq(erb), 10) + ",    " +
                      fixedField(At(s.SpecLoud_S, i), 6, 4));
    }
}

void WriteChromaTable(TextFile& out, const engine::RunState& s) {
    out.WriteLine("");
    out.WriteLine("");
    out.WriteLine(" Table of Mean Chroma Salience - Parncutt");
    out.WriteLine(" Chroma   Salience Value");
    for (int k = 0; k < 12; ++k) {
        out.WriteLine(Text(kChromaLabels[k], 15) +
                      fixedField(s.ChromaSalience_S[static_cast<std::size_t>((7 * k) % 12)], 6, 3) +
                      "\t");
    }
    out.WriteLine("");
    out.WriteLine("");
}

// Label of piano key k (0 = A0): note name and octave, sharps one blank narrower.
std::string KeyLabel(int k) {
    if (k == 10) return "  G, 1 ,";
    const std::string name = kNoteNames[k % 12];
    const std::string octave = intField((k + 9) / 12, 0);
    if (name.size() == 1) return "  " + name + ",  " + octave + "  ,";
    return "  " + name + ", " + octave + " ,";
}

void WritePitchTable(TextFile& out, const engine::RunState& s) {
    out.WriteLine(" Table of Mean 88-Pitch Salience ");
    out.WriteLine("Chroma/Octave  Mean 88-Pitch Value");
    for (int k = 0; k < 88; ++k) {
        out.WriteLine(Text(KeyLabel(k), 15) + fixedField(At(s.PitchSalience_S, k), 6, 3) + "\t");
    }
    out.WriteLine("");
    out.WriteLine("");
}

void WriteNoteByOctaveTable(TextFile& out, const engine::RunState& s) {
    out.WriteLine(
        "       C,\t  C#,     D,      D#,     E ,     F,      F#,    G,      G#,     A,"
        "      A#,     B");
    for (int o = 7; o >= 1; --o) {
        std::string row = intField(o, 3);
        for (int k = 12 * o - 9; k <= 12 * o + 2; ++k) {
            row += ", " + fixedField(At(s.PitchSalience_S, k), 7, 3);
        }
        out.WriteLine(row);
    }
}

}  // namespace

void WriteTables(TextFile& out, const engine::RunState& s) {
    WriteBandTable(out, s);
    WriteLoudnessTable(out, s);
    WriteChromaTable(out, s);
    WritePitchTable(out, s);
    WriteNoteByOctaveTable(out, s);
}

}  // namespace oxw::report::summary
