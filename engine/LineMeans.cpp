// Line and file means: every block adds its share to the means of its output line (_T), every
// line of the first pass adds its share to the means of the file (_S); the per-block samples of
// the percentile statistics, the running extremes, the history trace rows and the rows of the
// sound-quality table are kept on the way.
#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <string>
#include <utility>

#include "engine/Conversions.h"
#include "engine/Engine.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

using numeric::floatToStrF;

namespace {

// mean[i] += value[i] / count over first..last, within both arrays.
template <class To, class From>
void AddShare(To& mean, const From& value, double count, int first, int last) {
    const int end =
        std::min({last, static_cast<int>(mean.size()) - 1, static_cast<int>(value.size()) - 1});
    for (int i = first; i <= end; ++i)
        mean[static_cast<std::size_t>(i)] += value[static_cast<std::size_t>(i)] / count;
}

// The number in a settings text, 0 when the text is not a number.
double Number(const std::string& text) {
    double v = 0;
    const char* b = text.data();
    while (b < text.data() + text.size() && *b == ' ') ++b;
    if (b < text.data() + text.size() && *b == '+') ++b;
    const auto [p, ec] = std::from_chars(b, text.data() + text.size(), v);
    return ec == std::errc() ? v : 0.0;
}

}  // namespace

// Seconds of the current stream position: position / frames per second / bytes per frame; 0
// when the rate or the frame size is not a positive number.
double Engine::BlockTimeSeconds(bool wholeNumbers) {
    auto read = [wholeNumbers](const std::string& text) {
        const double v = Number(text);
        return wholeNumbers ? static_cast<double>(static_cast<long long>(v)) : v;
    };
    const double position = read(host_.GetText("PositionCurrent"));
    const double rate = read(checkForm_.SoundFileSampleRate.Text);
    const double slice = read(checkForm_.SoundFileBytePerSampleSlice.Text);
    return rate > 0 && slice > 0 ? position / rate / slice : 0.0;
}

void Engine::AccumulateMeans_T() {
    RunState& s = S();
    Log("S", "AccumulateMeans_T");
    Log("D", " Calculate CompactI_T using CompactI");
    Log("D", " Calculate SpecLoud_T using SpecLoud");
    Log("D", " Calculate ChromaSalience_T using ChromaSalience");
    Log("D", "Calculate PitchSalience_T using PitchSalience");
    Log("D", " Calculate Larray, Narray, DLarray");

    const double c = s.Compression;
    s.ICCC_T += s.ICCC / c;
    s.ICCClag_T += s.ICCClag / c;
    s.DeltaL_T += s.DeltaL / c;
    AddShare(s.CompactI_T, s.CompactI, c, 1, s.DravolekSizeOfCompactSpectrum);
    AddShare(s.SpecLoud_T, s.SpecLoud, c, SPECLOUD_FIRST, SPECLOUD_LAST);
    using Share = std::pair<double*, double>;
    for (const Share& share :
         std::initializer_list<Share>{{&s.Loudness_T, s.Loudness},
                                      {&s.SharpnessZ_T, s.SharpnessZ},
                                      {&s.SharpnessA_T, s.SharpnessA},
                                      {&s.TimbralWidth_T, s.TimbralWidth},
                                      {&s.Volume_T, s.Volume},
                                      {&s.SpectDissS_T, s.SpectDissS},
                                      {&s.SpectDissHK_T, s.SpectDissHK},
                                      {&s.DissonanceS_T, s.DissonanceS},
                                      {&s.DissonanceHK_T, s.DissonanceHK},
                                      {&s.PureTonalness_T, s.PureTonalness},
                                      {&s.ComplexTonalness_T, s.ComplexTonalness},
                                      {&s.Multiplicity_T, s.Multiplicity}})
        *share.first += share.second / c;
    AddShare(s.ChromaSalience_T, s.ChromaSalience, c, 0, 11);
    AddShare(s.PitchSalience_T, s.PitchSalience, c, 0, 87);

    const auto e = static_cast<std::size_t>(s.CountElement);
    if (s.Elements > MINDECILE && s.Elements < s.PERCENTILEARRAYMAX && e < s.Larray.size() &&
        e < s.Narray.size() && e < s.DLarray.size()) {
        s.Larray[e] = s.LA;
        s.Narray[e] = s.Loudness;
        s.DLarray[e] = s.DeltaL;
        const double t = BlockTimeSeconds(false);
        Log("T", "History 01.00 Time, Larray ");
        Log("T", "History 01.01, " + floatToStrF(t, 5, 2) + ", " + floatToStrF(s.Larray[e], 10, 3));
        // The sound-quality table traces the first pass only; the tone pass re-reads the same
        // stretch and would start a second trace at 0 s.
        if (host_.GetText("CurrentProcessingMode") == "Standard")
            host_.AddSoundQualityRow(t, s.Larray[e]);
        s.SumLArray += dB2I(s.Larray[e]);
    }

    if (s.LA > s.LAmax) s.LAmax = s.LA;
    if (s.LA < s.LAmin) s.LAmin = s.LA;
    if (s.Loudness > s.Nmax) s.Nmax = s.Loudness;
    if (s.Loudness < s.Nmin) s.Nmin = s.Loudness;
    if (s.DeltaL > s.DLmax) s.DLmax = s.DeltaL;
    if (s.DeltaL < s.DLmin) s.DLmin = s.DeltaL;
    Log("E", "AccumulateMeans_T");
}

void Engine::AccumulateMeans_S() {
    RunState& s = S();
    Log("S", "AccumulateMeans_S");
    const double n = s.Lines;
    for (std::size_t i = 0; i < 10 && i < s.Oct_S.size() && i < s.Oct_T.size(); ++i)
        s.Oct_S[i] += dB2I(s.Oct_T[i]) / n;
    for (std::size_t i = 0; i < 22 && i < s.ThirdOct_S.size() && i < s.ThirdOct_T.size(); ++i)
        s.ThirdOct_S[i] += dB2I(s.ThirdOct_T[i]) / n;
    s.Int_S += s.Int_T / n;
    s.IntA_S += s.IntA_T / n;
    s.IntB_S += s.IntB_T / n;
    s.IntC_S += s.IntC_T / n;
    s.Centroid_S += s.Centroid_T / n;
    AddShare(s.SpecLoud_S, s.SpecLoud_T, n, SPECLOUD_FIRST, SPECLOUD_LAST);
    using Share = std::pair<double*, double>;
    for (const Share& share :
         std::initializer_list<Share>{{&s.Loudness_S, s.Loudness_T},
                                      {&s.SharpnessZ_S, s.SharpnessZ_T},
                                      {&s.SharpnessA_S, s.SharpnessA_T},
                                      {&s.TimbralWidth_S, s.TimbralWidth_T},
                                      {&s.Volume_S, s.Volume_T},
                                      {&s.SpectDissS_S, s.SpectDissS_T},
                                      {&s.SpectDissHK_S, s.SpectDissHK_T},
                                      {&s.DissonanceS_S, s.DissonanceS_T},
                                      {&s.DissonanceHK_S, s.DissonanceHK_T},
                                      {&s.PureTonalness_S, s.PureTonalness_T},
                                      {&s.ComplexTonalness_S, s.ComplexTonalness_T},
                                      {&s.Multiplicity_S, s.Multiplicity_T}})
        *share.first += share.second / n;

    Log("T",
        "History 02.00 Time, Loudness_S, , SharpnessZ_S, , SharpnessA_S, , TimbralWidth_S, , "
        "Volume_S, , "
        "SpectDissS_S, , SpectDissHK_S, , DissonanceS_S, , DissonanceHK_S, , PureTonalness_S, , "
        "ComplexTonalness_S, , Centroid_S, , Multiplicity_S ");
    std::string row = "History 02.01, " + floatToStrF(BlockTimeSeconds(true), 5, 2);
    for (const double* column :
         {&s.Loudness_S, &s.SharpnessZ_S, &s.SharpnessA_S, &s.TimbralWidth_S, &s.Volume_S,
          &s.SpectDissS_S, &s.SpectDissHK_S, &s.DissonanceS_S, &s.DissonanceHK_S,
          &s.PureTonalness_S, &s.ComplexTonalness_S, &s.Centroid_S, &s.Multiplicity_S})
        row += ", " + floatToStrF(*column, 10, 3);
    Log("T", row);

    AddShare(s.ChromaSalience_S, s.ChromaSalience_T, n, 0, 11);
    AddShare(s.PitchSalience_S, s.PitchSalience_T, n, 0, 87);
    s.DeltaL_S += s.DeltaL_T / n;
    s.ICCC_S += s.ICCC_T / n;
    s.ICCClag_S += s.ICCClag_T / n;
    Log("E", "AccumulateMeans_S");
}

}  // namespace oxw::engine
