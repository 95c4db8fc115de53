// The summary report's first half: heading, explanatory text, run settings, overall levels,
// ratings, cross-correlation, psychoacoustic values and the level, loudness and channel-difference
// distributions.
#include <initializer_list>

#include "app/report/SummaryParts.h"
#include "numeric/NumberFormat.h"

namespace oxw::report::summary {

namespace {

using numeric::expField;
using numeric::fixedField;
using numeric::intField;

// A value field followed by its description.
struct ValueLine {
    double value;
    const char* literal;
};

constexpr const char* kExplanation[] = {
    "",
    "Dravolek outputs array and variable data calculated during execution.",
    "Dravolek execution is a calculated looping process.",
    "The Dravolek variable controlling the number of execution loops is named Lines.",
    "",
    "All arrays and variables are written to dedicated files.",
    "The files are comma separated (CSV) that can be input to other software e.g. Excel.",
    "The files containing the array data have the file extension name .ARY",
    "The files containing the variable data have the file extension .VAR",
    "",
    ".ARY files have four (4) columns.",
    "      Column 1 is the array name, column 2 is the Lines number - loop execution - reference,",
    "      column 3 is the array row reference, column 4 is the array element value.",
    "",
    "An array or variable output file name is structured as follows:",
    "The following naming structure is space separated:",
    "      Sound file name as selected by the user",
    "      Analysis date",
    "      the word at",
    "      Analysis start time",
    "      the name of the array or variable - refer to list below",
    "      the file extension .ARY or .VAR",
    "",
    "All arrays and variables are grouped by type of output as follows:",
    "   Wave and Spectrum arrays",
    "      CompactF    - the array representing Compact Spectrum Frequencies",
    "      CompactI\t   - the array representing Compact Spectrum Magnitudes",
    "      CompactI_T  - the array representing\tCompact Spectrum Magnitudes after compression",
    "      Intensity   - the array representing\tIntensity of Fourier Components",
    "      Oct_T\t      - the array representing Octave Spectrum, after compression",
    "      Oct_S\t      - the array representing Octave Spectrum, Overall",
    "      ThirdOct_T  - the array representing\tThird Octave Spectrum, after compression",
    "      ThirdOct_S  - the array representing Third Octave Spectrum, Overall",
    "",
    "   Statistical Loudness and Channel Difference arrays",
    "      Narray      - the array representing the Loudness values for percentile presentation",
    "      Larray      - the array representing the Array of L(A) values for percentiles",
    "      DLArray     - the array representing the Array of Delta values for percentiles",
    "",
    "   Loudness\tarrays",
    "      CompInt     - the array representing the Component Intensity",
    "      CompL       - the array representing the Component Level",
    "      RoexL       - the array representing the Component Level adjusted using Roex filter",
    "      Esig        - the array representing Excitation",
    "      SpecLoud\t   - the array representing Loudness - Specific",
    "      SpecLoud_T  - the array representing Loudness - Specific after compression",
    "      SpecLoud_S  - the array representing Loudness - Specific Overall",
    "",
    "   Pitch arrays",
    "      PitchSalience     -  the array representing 88-Pitch Salience",
    "      PitchSalience_T   - the array representing 88-Pitch Salience after compression",
    "      PitchSalience_S   - the array representing 88-Pitch Salience Mean",
    "      CompoundPitch     - the array representing Compound Spectrum Pitch component",
    "      CompoundWeight    - the array representing Compound Spectrum Weight component",
    "      ChromaSalience\t   - the array representing Parncutt - Chroma Salience",
    "      ChromaSalience_T  - the array representing Parncutt - Chroma Salience after compression",
    "      ChromaSalience_S  - the array representing Parncutt - Mean Chroma Salience",
    "      Salience          - the array representing Parncutt - Salience",
    "      FX                - the array representing Pitch Height of a Tone after masking",
    "      V                 - the array representing Pitch Shift due to Intensity and Masking "
    "effects",
    "      WS                - the array representing Pitch Spectral Weight",
    "      Vpitch            - the array representing Pitch Virtual height in pu",
    "      CompoundSV        - the array representing whether it is Spectral or Virtual?",
    "      ToneF             - the array representing Tone Frequency before masking in Hz",
    "      ToneRef           - the array representing the Tone Index",
    "      LX                - the array representing Tone Intensity after masking in dB",
    "      ToneL             - the array representing Tone Level before masking in dB",
    "      VW                - the array representing Virtual Pitch Height",
    ""};

void WriteFixedLines(TextFile& out, std::initializer_list<ValueLine> lines, int width,
                     int decimals) {
    for (const ValueLine& l : lines)
        out.WriteLine(fixedField(l.value, width, decimals) + l.literal);
}

void WriteHeading(TextFile& out, const engine::RunState& s, const engine::RunHost& host,
                  const FftRadios& radios) {
    std::string title =
        "SUMMARY ANALYSIS OUTPUT with FFT SIZE " + host.GetText("MusicFFTSampleSize");
    if (radios.OriginalLibrary) title += " using Math Library";
    if (radios.VKRLibrary) title += " using VKR Library";
    out.WriteLine(title);
    out.WriteLine("");
    std::string scan;
    if (radios.Selected4096) scan = "Scan using Original Dravolek Analysis";
    if (radios.Selected32768) scan = "Scanned for Low Frequencies above 20 Hz";
    if (radios.Selected65536) scan = "Deep scan for Low Frequencies including 0 - 20Hz";
    out.WriteLine(scan);
    out.WriteLine("");
    out.WriteLine("INPUT,\t" + s.SoundFileName);
    for (const char* line : kExplanation) out.WriteLine(line);
}

void WriteSettings(TextFile& out, const engine::RunState& s) {
    out.WriteLine("The number of execution loops - Lines - for this analysis is " +
                  intField(s.Lines, 6));
    out.WriteLine(s.TwoChan ? "CHANNELS,\t2" : "CHANNELS,\t1");
    out.WriteLine(s.ByteSwap ? "REVERSED BYTE ORDER" : "NORMAL BYTE ORDER");
    out.WriteLine("CALIBRATION,\t" + fixedField(s.Calibration - engine::HIDDENCAL, 8, 1) + ",\tdB");
    out.WriteLine("START,\t" + fixedField(s.StartTime, 8, 1) + ",\tseconds");
    out.WriteLine("END,\t" + fixedField(s.EndTime, 8, 1) + ",\tseconds");
    // Why the end is earlier than the one asked for, where it is read.
    if (!s.EarlyEnd.empty()) out.WriteLine(s.EarlyEnd);
    out.WriteLine(s.Resolution == 5 ? "NORMAL TEMPORAL RESOLUTION" : "HIGH TEMPORAL RESOLUTION");
    out.WriteLine("COMPRESSION,\t" + intField(s.Compression, 0));
    out.WriteLine(std::string("FIELD,\t") + s.Field);
    // Cents of the tuning against 440 Hz: positive when A is tuned below 440 Hz.
    const double cents = 1200.0 * (LOG2(440.0) - LOG2(s.ATune));
    out.WriteLine("A-TUNE,\t" + fixedField(s.ATune, 8, 1) + ",\tHz,\t" + Rounded(cents, 0) +
                  ",\tcents");
    out.WriteLine(s.PitchShift ? "INCLUDE PITCH SHIFTS" : "OMIT PITCH SHIFTS");
    out.WriteLine(intField(s.Elements, 10) + ",  Windows analyzed by Dravolek");
    out.WriteLine("");
}

void WriteOverallLevels(TextFile& out, const engine::RunState& s) {
    const ValueLine lines[] = {
        {I2dB(s.IntA_S), ",  L(A) Overall A-weighted Intensity"},
        {I2dB(s.IntB_S), ",  L(B) Overall B-weighted Intensity"},
        {I2dB(s.IntC_S), ",  L(C) Overall C-weighted Intensity"},
        {I2dB(s.Int_S), ",  L(lin) Overall Sound Intensity"},
        {Sone2Phon(s.Loudness_S),
         ",  LN Converted Overall Loudness sones to phons (Stevens formula)"},
        {s.Centroid_S, ",  Centroid "},
    };
    for (const ValueLine& l : lines) out.WriteLine(Rounded(l.value, 10) + l.literal);
    out.WriteLine("");
}

void WriteRatings(TextFile& out, const engine::RunState& s) {
    out.WriteLine("  RATINGS");
    out.WriteLine(Rounded(s.NC, 10) + ",  NC Noise Criterion");
    out.WriteLine(Rounded(s.NR, 10) + ",  NR Noise Rating");
    out.WriteLine(Rounded(s.PNC, 10) + ",  PNC Preferred Noise Criterion");
    out.WriteLine(Rounded(s.SIL, 10) + ",  SIL Speech Interference Level (SIL)");
    if (s.SILd >= 0.0) {
        out.WriteLine(expField(s.SILd, 10) +
                      ", d Limiting Distance for normal speech derived from SIL");
    } else {
        out.WriteLine(intField(0, 10) +
                      ", d Limiting Distance for normal speech derived from SIL very small");
    }
    out.WriteLine(Rounded(s.RC, 10) + ",  RC Room Criterion");
    out.WriteLine(Text(s.RCclass, 10) + ",  RCclass Room Criterion Class");
    out.WriteLine("");
}

void WriteCrossCorrelation(TextFile& out, const engine::RunState& s) {
    out.WriteLine("  AUTO CROSS-CORRELATION");
    WriteFixedLines(
        out,
        {{s.DeltaL_S, ", ?L Overall Level Difference between two channels"},
         {s.ICCC_S, ",  ICCC Overall Maximum Absolute Value Coefficient"},
         {s.ICCClag_S, ",  Lag Inter-channel Cross Correlation-lag corresponding to ICCC"}},
        10, 2);
    out.WriteLine("");
}

void WritePsychValues(TextFile& out, const engine::RunState& s, const SummaryValues& v) {
    out.WriteLine("  PSYCH VALUES");
    WriteFixedLines(out,
                    {{s.Loudness_S, ",  N Overall Loudness"},
                     {s.SharpnessZ_S, ",  S(Z&F) Overall Sharpness - Zwicker and Fastl"},
                     {s.SharpnessA_S, ",  S(A) Overall Sharpness - Aures"}},
                    10, 1);
    WriteFixedLines(out, {{s.TimbralWidth_S, ",  TW Overall Timbral Width"}}, 10, 2);
    WriteFixedLines(out, {{s.Volume_S, ",  V Overall Auditory Volume"}}, 10, 1);
    WriteFixedLines(
        out,
        {{s.SpectDissHK_S, ",  SDiss(H&K) Overall Spectral Dissonance - Hutchinson & Knopoff"},
         {s.SpectDissS_S, ",  SDiss(S) Overall Spectral Dissonance - Sethares"},
         {s.DissonanceHK_S,
          ",  TDiss(H&K) Overall Dissonance of Tonal Components - Hutchinson & Knopoff"},
         {s.DissonanceS_S, ",  TDiss(S) Overall Dissonance of Tonal components - Sethares"}},
        10, 4);
    WriteFixedLines(out,
                    {{s.PureTonalness_S, ",  PTonal Overall Pure Tonalness - Parncutt"},
                     {s.ComplexTonalness_S, ",  CTonal Overall Complex Tonalness - Parncutt"},
                     {s.Multiplicity_S, ",  Mult Overall Multiplicity - Parncutt"}},
                    10, 2);
    out.WriteLine(Text(s.Tonality_S, 10) +
                  ",  Tonality String representing Overall Tonality");
    WriteFixedLines(out, {{s.TonalityR2_S, ",  R^2 Tonality Correlation Coefficient"}}, 10, 2);
    out.WriteLine(Text(s.Chord_S, 10) + ",  Chord String representing Overall Chord");
    WriteFixedLines(out, {{s.ChordR2_S, ",  R^2 Chord Correlation Coefficient"}}, 10, 2);
    WriteFixedLines(out,
                    {{v.SensoryPleasantness_dT, ", SP1 Sensory Pleasantness SP(dT)"},
                     {v.SensoryPleasantness_TDissS, ", SP2 Sensory Pleasantness SP(TDissS)"},
                     {v.PsychAnnoy, ",  Psychoacoustic Annoyance PsychAnnoy"},
                     {v.UBA_M_Day, ",  Unbiased Annoyance (m) Day"},
                     {v.UBA_M_Night, ",  Unbiased Annoyance (m) Night"}},
                    8, 3);
    out.WriteLine("");
}

void WriteDistributions(TextFile& out, const engine::RunState& s, const SummaryValues& v) {
    out.WriteLine("Sound Level Statistical Distribution (dBA)");
    WriteFixedLines(out,
                    {{s.LAmax, ",  LAMax Maximum "},
                     {s.LA1, ",  LA1 1st Percentile "},
                     {s.LA5, ",  LA5 5th Percentile "},
                     {s.LA10, ",  LA10 1st Decile "},
                     {s.LA20, ",  LA20 2nd Decile "},
                     {s.LA50, ",  LA50 Median "},
                     {s.LA80, ",  LA80 8th Decile "},
                     {s.LA90, ",  LA90 9th Decile "},
                     {s.LAmin, ",  LAMin Minimum"}},
                    10, 2);
    WriteFixedLines(out, {{v.OverallLEQ_dBA, ",  LAEq dB(A) Time Avearage Sound Level"}}, 8, 2);
    out.WriteLine("");
    out.WriteLine("Loudness Distribution");
    WriteFixedLines(out,
                    {{s.Nmax, ",  Nmax Maximum "},
                     {s.No1, ",  N1 1st Percentile "},
                     {s.N5, ",  N5 5th Percentile "},
                     {s.N10, ",  N10 1st Decile "},
                     {s.N20, ",  N20 2nd Decile "},
                     {s.N50, ",  N50 Median "},
                     {s.N80, ",  N80 8th Decile "},
                     {s.N90, ",  N90 9th Decile "},
                     {s.Nmin, ",  Nmin Minimum"}},
                    10, 2);
    out.WriteLine("");
}

void WriteChannelDifferences(TextFile& out, const engine::RunState& s) {
    out.WriteLine("TWO CHANNEL STATISTICS - START");
    out.WriteLine("");
    out.WriteLine("Channel Differences distribution");
    WriteFixedLines(out,
                    {{s.DLmax, ",  ?LMax Maximum "},
                     {s.DL10, ",  ?L10 1st Decile "},
                     {s.DL20, ",  ?L20 2nd Decile "},
                     {s.DL50, ",  ?L50 Median "},
                     {s.DL80, ",  ?L80 8th Decile "},
                     {s.DL90, ",  ?L90 9th Decile "},
                     {s.DLmin, ",  ?LMin Minimum"}},
                    10, 2);
    out.WriteLine("");
    out.WriteLine("TWO CHANNEL STATISTICS - END");
}

}  // namespace

void WriteFirstHalf(TextFile& out, const engine::RunState& s, const engine::RunHost& host,
                    const FftRadios& radios, const SummaryValues& v) {
    WriteHeading(out, s, host, radios);
    WriteSettings(out, s);
    WriteOverallLevels(out, s);
    WriteRatings(out, s);
    WriteCrossCorrelation(out, s);
    WritePsychValues(out, s, v);
    WriteDistributions(out, s, v);
    WriteChannelDifferences(out, s);
}

}  // namespace oxw::report::summary
