// Run scan and accumulator initialisation: the number of output lines and blocks of a pass, the
// note-frequency table, and the clearing of the whole-file and per-line accumulators.
#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/Convert.h"
#include "engine/Engine.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

using numeric::fixedField;

namespace {

// Nominal note frequencies in Hz: row = semitone from C (1 = C .. 12 = B), column = octave - 2.
constexpr double kNoteFrequencies[12][11] = {
    {8.2, 16.3, 33, 65, 131, 261.6, 523, 1046, 2093, 4186, 8372},
    {8.6, 17.3, 35, 69, 139, 277, 554, 1109, 2218, 4435, 8870},
    {9.2, 18.3, 37, 73, 147, 294, 587, 1175, 2349, 4699, 9397},
    {9.7, 19.5, 39, 78, 156, 311, 622, 1245, 2489, 4978, 9956},
    {10.3, 20.6, 41, 82, 165, 330, 659, 1319, 2637, 5274, 10558},
    {10.9, 22, 44, 87, 175, 349, 698, 1397, 2794, 5588, 11176},
    {11.6, 23, 46, 92.5, 185, 370, 740, 1480, 2960, 5920, 11840},
    {12.3, 24.5, 49, 98, 196, 392, 784, 1568, 3136, 6272, 12544},
    {13, 26, 52, 104, 208, 415, 831, 1661, 3322, 6645, 13290},
    {13.8, 27.5, 55, 110, 220, 440, 880, 1760, 3520, 7040, 14080},
    {14.6, 29, 58, 116.5, 233, 466, 932, 1865, 3729, 7459, 14917},
    {15.4, 31, 62, 123.5, 247, 494, 988, 1975.5, 3951, 7902, 15804},
};

template <class Range>
void Clear(Range& r) {
    std::fill(r.begin(), r.end(), 0.0);
}

void ClearSpecLoud(std::vector<double>& v) {
    for (int i = SPECLOUD_FIRST; i <= SPECLOUD_LAST && i < static_cast<int>(v.size()); ++i) v[i] = 0.0;
}

// The end asked for, in seconds with one decimal, from its whole number as typed: a double would
// round an end of more than 15 digits and reads one of more than 19 as infinite.
std::string RequestedEndText(std::string_view typed, double requested) {
    std::string_view digits = TrimBlanks(typed);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(),
                                       [](char c) { return c >= '0' && c <= '9'; }))
        return fixedField(requested, 0, 1);
    return std::string(digits) + ".0";
}

}  // namespace

void Engine::ScanSoundFile() {
    RunState& s = S();
    Log("S", "ScanSoundFile");
    s.Lines = 0;
    // The stretch from the start to the end time, as far as the sound data reaches: an end time
    // typed past the end of the file adds no lines of silence.
    const std::int64_t frames = StretchFrames();
    const std::int64_t hop = static_cast<std::int64_t>(s.Compression) * OFFSET * s.Resolution;
    // An end time typed far beyond any file could give more lines than the counters hold: keep
    // Lines, Elements and the loop counters that run one past them inside int.
    const std::int64_t maxLines =
        (std::numeric_limits<int>::max() - 1) / std::max<std::int64_t>(s.Compression, 1);
    s.Lines = hop > 0 ? static_cast<int>(std::min(frames / hop, maxLines)) : 0;
    s.Elements = static_cast<int>(static_cast<std::int64_t>(s.Lines) * s.Compression);
    if (s.Lines < 1) s.Calculate = false;
    Log("E", "ScanSoundFile");
    for (int r = 1; r <= 12; ++r)
        for (int c = 1; c <= 11; ++c) s.FreqArray[r][c] = kNoteFrequencies[r - 1][c - 1];
    host_.ScanHandOff(s.Lines, s.FreqArray);
}

std::int64_t Engine::FramesHeld() const {
    const RunState& s = S();
    if (s.DataEnd <= 0) return std::numeric_limits<std::int64_t>::max();
    const std::int64_t from = std::max(s.SoundFileStartPointer, s.StreamDataChunk);
    return std::max<std::int64_t>(s.DataEnd - from, 0) / std::max(s.SoundFileBlockAlign, 1);
}

std::int64_t Engine::StretchFrames() const {
    const RunState& s = S();
    return std::min(RoundHalfEven(SR * s.EndTime - SR * s.StartTime), FramesHeld());
}

double Engine::SecondsAt(std::int64_t byte) const {
    const RunState& s = S();
    return static_cast<double>(byte - s.StreamDataChunk) /
           static_cast<double>(std::max<std::int64_t>(s.SoundFileAvBytesPerSecond, 1));
}

void Engine::NoteEarlyEnd() {
    RunState& s = S();
    if (s.SoundFileAvBytesPerSecond <= 0 || s.DataEnd <= s.StreamDataChunk) return;
    const double dataEnd = SecondsAt(s.DataEnd);
    // The end asked for is the end as typed: the intake reads an end past the data as its end.
    const std::string& typed = checkForm_.SoundFileEndTime;
    const double requested = WholeNumber(typed).value_or(s.EndTime);
    if (!(dataEnd < requested)) return;
    // Logged once a run (a file that shrinks again moves the end without a second line); the
    // summary and the run's end say the last end found, the one they show.
    const bool logged = !s.EarlyEnd.empty();
    s.EarlyEnd = "The sound data ended at " + fixedField(dataEnd, 0, 2) +
                 " s, before the requested end of " + RequestedEndText(typed, requested) + " s";
    if (!logged) Log("D", s.EarlyEnd);
    s.EndTime = dataEnd;
    s.SoundFileMaxPointer = s.DataEnd;
    host_.SetText("RecordedEndTime", fixedField(dataEnd, 0, 2));
    host_.SetText("SoundFileMaximumPosition", std::to_string(s.DataEnd));
}

std::runtime_error Engine::TonePassShrank(std::int64_t end, std::int64_t passEnd) const {
    const RunState& s = S();
    const auto seconds = [this](std::int64_t byte) { return fixedField(SecondsAt(byte), 0, 2); };
    return std::runtime_error("The sound file \"" + s.SoundFileName +
                              "\" shrank during the second pass: its sound data now ends at " +
                              seconds(end) + " s, before the " + seconds(passEnd) +
                              " s the first pass found, so the two passes no longer cover the "
                              "same sound.");
}

bool Engine::SoundDataEndedAt(std::int64_t end, bool tonePass) {
    RunState& s = S();
    if (tonePass) throw TonePassShrank(end, s.DataEnd);
    s.DataEnd = end;
    NoteEarlyEnd();
    // The lines the data still holds; a line begun inside the data is finished with blocks that
    // end with it.
    const std::int64_t hop = static_cast<std::int64_t>(s.Compression) * OFFSET * s.Resolution;
    std::int64_t lines = std::min<std::int64_t>(s.Lines, hop > 0 ? StretchFrames() / hop : 0);
    if (lines < s.CountLine && s.CountCompress > 1) lines = s.CountLine;
    s.Lines = static_cast<int>(lines);
    s.Elements = s.Lines * s.Compression;
    return s.CountLine <= s.Lines;
}

void Engine::InitialiseMeans() {
    RunState& s = S();
    Log("S", "InitialiseMeans");
    Log("D", " Initialise Oct_S");
    Clear(s.Oct_S);
    Log("D", " Initialise ThirdOct_S");
    Clear(s.ThirdOct_S);
    s.Int_S = s.IntA_S = s.IntB_S = s.IntC_S = s.Centroid_S = 0;
    Log("D", " Initialise SpecLoud_S");
    ClearSpecLoud(s.SpecLoud_S);
    ClearSpecLoud(s.SpecLoud_S_Nordic108);
    ClearSpecLoud(s.SpecLoud_S_Nordic121);
    s.Loudness_S = s.Loudness_S_Nordic108 = s.Loudness_S_Nordic121 = 0;
    s.SharpnessZ_S = s.SharpnessA_S = s.TimbralWidth_S = s.Volume_S = 0;
    s.SpectDissS_S = s.SpectDissS_S_Nordic108 = s.SpectDissS_S_Nordic121 = 0;
    s.SpectDissHK_S = s.SpectDissHK_S_Nordic108 = s.SpectDissHK_S_Nordic121 = 0;
    s.DissonanceS_S = s.DissonanceHK_S = 0;
    s.PureTonalness_S = s.ComplexTonalness_S = s.Multiplicity_S = 0;
    Log("D", "Initialise ChromaSalience_S");
    std::fill(s.ChromaSalience_S.begin(), s.ChromaSalience_S.begin() + 12, 0.0);
    Log("D", "Initialise PitchSalience_S");
    Clear(s.PitchSalience_S);
    s.ICCC_S = s.ICCClag_S = s.DeltaL_S = 0;
    s.Nmax = 0;
    s.Nmin = 9999.0;
    s.LAmax = -9999.0;
    s.LAmin = 9999.0;
    s.DLmax = -9999.0;
    s.DLmin = 9999.0;
    Log("E", "InitialiseMeans");
}

void Engine::InitialiseCompression() {
    RunState& s = S();
    Log("S", "InitialiseCompression");
    Log("D", " Initialise CompactI_T");
    for (int i = 1; i <= s.DravolekSizeOfCompactSpectrum && i < COMPACT_SIZE; ++i) s.CompactI_T[i] = 0;
    Log("D", " Initialise SpecLoud_T");
    ClearSpecLoud(s.SpecLoud_T);
    s.Loudness_T = s.SharpnessZ_T = s.SharpnessA_T = s.TimbralWidth_T = s.Volume_T = 0;
    s.SpectDissS_T = s.SpectDissHK_T = s.DissonanceS_T = s.DissonanceHK_T = 0;
    s.PureTonalness_T = s.ComplexTonalness_T = s.Multiplicity_T = 0;
    Log("D", " Initialise ChromaSalience_T");
    std::fill(s.ChromaSalience_T.begin(), s.ChromaSalience_T.begin() + 12, 0.0);
    Log("D", " Initialise PitchSalience_T");
    Clear(s.PitchSalience_T);
    s.ICCC_T = s.ICCClag_T = s.DeltaL_T = 0;
    s.Nmax_T = s.Nmax_T_Nordic108 = s.Nmax_T_Nordic121 = 0;
    Log("E", "InitialiseCompression");
}

void Engine::SaveInitialiseMeansVariables() {
    RunState& s = S();
    Log("S", "SaveInitialiseMeansVariables");
    Log("D", " Save Oct_S as DravolekOct_S");
    s.DravolekOct_S = s.Oct_S;
    Log("D", " Save ThirdOct_S as DravolekThirdOct_S");
    s.DravolekThirdOct_S = s.ThirdOct_S;
    s.DravolekInt_S = s.Int_S;
    s.DravolekIntA_S = s.IntA_S;
    s.DravolekIntB_S = s.IntB_S;
    s.DravolekIntC_S = s.IntC_S;
    s.DravolekCentroid_S = s.Centroid_S;
    Log("D", " Save SpecLoud_S as DravolekSpecLoud_S");
    for (int i = SPECLOUD_FIRST; i <= SPECLOUD_LAST; ++i) s.DravolekSpecLoud_S[i] = s.SpecLoud_S[i];
    s.DravolekLoudness_S = s.Loudness_S;
    s.DravolekSharpnessZ_S = s.SharpnessZ_S;
    s.DravolekSharpnessA_S = s.SharpnessA_S;
    s.DravolekTimbralWidth_S = s.TimbralWidth_S;
    s.DravolekVolume_S = s.Volume_S;
    s.DravolekSpectDissS_S = s.SpectDissS_S;
    s.DravolekSpectDissHK_S = s.SpectDissHK_S;
    s.DravolekDissonanceS_S = s.DissonanceS_S;
    s.DravolekDissonanceHK_S = s.DissonanceHK_S;
    s.DravolekPureTonalness_s = s.PureTonalness_S;
    s.DravolekComplexTonalness_S = s.ComplexTonalness_S;
    s.DravolekMultiplicity_S = s.Multiplicity_S;
    Log("D", "Save PitchSalience_S as DravolekPitchSalience_S");
    s.DravolekPitchSalience_S = s.PitchSalience_S;
    s.DravolekNmax = s.Nmax;
    s.DravolekNmin = s.Nmin;
    s.DravolekLAmax = s.LAmax;
    s.DravolekLAmin = s.LAmin;
    s.DravolekDLmax = s.DLmax;
    s.DravolekDLmin = s.DLmin;
    s.DravolekICCC_S = s.ICCC_S;
    s.DravolekICCClag_S = s.ICCClag_S;
    s.DravolekDeltaL_S = s.DeltaL_S;
    Log("E", "SaveInitialiseMeansVariables");
}

}  // namespace oxw::engine
