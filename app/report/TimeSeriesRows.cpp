#include "app/report/TimeSeriesRows.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "engine/Conversions.h"
#include "engine/Convert.h"
#include "numeric/NumberFormat.h"

namespace oxw::report {

namespace {

using numeric::fixedField;

constexpr const char* kTab = ",\t";
constexpr const char* kBlank = ", ";

// A rounded integer without padding: nearest integer, halves to the even neighbour.
std::string RoundedInt(double x) {
    return fixedField(std::isfinite(x) ? std::nearbyint(x) : x, 0, 0);
}

// Entry i of a result array; 0 where the array is shorter than the row expects.
double At(const std::vector<double>& v, std::size_t i) { return i < v.size() ? v[i] : 0.0; }

// Fields joined by separators; `Field` appends a field and the separator that follows it.
class Row {
public:
    Row& Field(const std::string& text, const char* sep = kTab) {
        text_ += text;
        text_ += sep;
        return *this;
    }
    std::string Text() const { return text_; }

private:
    std::string text_;
};

}  // namespace

double RowTime(const engine::RunState& s, const engine::RunHost& host) {
    const auto position = static_cast<double>(engine::StrToInt64(host.GetText("PositionCurrent")));
    return position / s.SoundFileBlockAlign / s.SoundFileSampleRate;
}

std::string LevelRow(const engine::RunState& s, double t) {
    Row r;
    r.Field(fixedField(t, 5, 2))
        .Field(RoundedInt(s.LA_T))
        .Field(RoundedInt(s.LB_T))
        .Field(RoundedInt(s.LC_T))
        .Field(fixedField(s.SPL_T, 5, 1))
        .Field(RoundedInt(engine::Sone2Phon(s.Loudness_T)))
        .Field(RoundedInt(s.Centroid_T))
        .Field(fixedField(s.DeltaL_T, 5, 1))
        .Field(fixedField(s.ICCC_T, 5, 2))
        .Field(fixedField(s.ICCClag_T, 5, 2));
    for (std::size_t j = 0; j < 10; ++j) r.Field(fixedField(At(s.Oct_T, j), 5, 2));
    for (std::size_t j = 0; j < 22; ++j) {
        r.Field(fixedField(At(s.ThirdOct_T, j), 5, 2), j < 21 ? kTab : "");
    }
    return r.Text();
}

std::string LoudRow(const engine::RunState& s, double t) {
    Row r;
    r.Field(fixedField(t, 5, 2))
        .Field(fixedField(s.Loudness_T, 5, 2))
        .Field(fixedField(s.Nmax_T, 5, 2))
        .Field(fixedField(s.SharpnessZ_T, 5, 2))
        .Field(fixedField(s.SharpnessA_T, 5, 2))
        .Field(fixedField(s.TimbralWidth_T, 5, 2))
        .Field(fixedField(s.Volume_T, 5, 2));
    // The whole-ERB points 2..39 of the specific-loudness grid (every fourth grid index).
    for (int i = engine::SPECLOUD_FIRST; i <= engine::SPECLOUD_LAST; ++i) {
        if (i % 4 != 0) continue;
        r.Field(fixedField(At(s.SpecLoud_T, static_cast<std::size_t>(i)), 6, 4), kBlank);
    }
    return r.Text();
}

std::string PitchRow(const engine::RunState& s, double t) {
    Row r;
    r.Field(fixedField(t, 5, 2))
        .Field(fixedField(s.SpectDissHK_T, 6, 4))
        .Field(fixedField(s.SpectDissS_T, 6, 4))
        .Field(fixedField(s.DissonanceHK_T, 6, 4))
        .Field(fixedField(s.DissonanceS_T, 6, 4))
        .Field(fixedField(s.PureTonalness_T, 5, 2))
        .Field(fixedField(s.ComplexTonalness_T, 5, 2))
        .Field(fixedField(s.Multiplicity_T, 5, 2))
        .Field(RoundedInt(s.Tonality_T))
        .Field(RoundedInt(s.MajMin_T))
        .Field(fixedField(s.TonalityR2_T, 4, 2));
    // Chroma in fifths upward from A: chroma indices 0, 7, 2, 9, ...
    for (int k = 0; k < 12; ++k) r.Field(fixedField(s.ChromaSalience_T[(7 * k) % 12], 6, 3));
    for (std::size_t key = 0; key < 88; ++key) {
        r.Field(fixedField(At(s.PitchSalience_T, key), 6, 4));
    }
    return r.Text();
}

void OutputTimeFiles(const engine::RunState& s, engine::RunHost& host, OutputFiles& files) {
    host.CreateAuditLog("S", "OutputTimeFiles");
    const double t = RowTime(s, host);
    files.DravolekLevelFile.WriteLine(LevelRow(s, t));
    files.DravolekLoudFile.WriteLine(LoudRow(s, t));
    files.DravolekPitchFile.WriteLine(PitchRow(s, t));
    // Rows and trace rows written so far reach the files after every line; a file of the run
    // that could not be written ends the run here.
    for (TextFile* f : {&files.DravolekLevelFile, &files.DravolekLoudFile, &files.DravolekPitchFile,
                        &files.DravolekTraceFile}) {
        f->Flush();
    }
    files.CheckWrites();
    host.CreateAuditLog("E", "OutputTimeFiles");
}

}  // namespace oxw::report
