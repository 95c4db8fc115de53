// Run reset: defaults of a run, array sizing, the choice of the sound file and the compact bin
// grids (108 bins for the 4096-point pass, 121 bins for the 32768-point pass).
#include <cmath>

#include "engine/Convert.h"
#include "engine/Engine.h"

namespace oxw::engine {

void Engine::SelectPoints() {
    RunState& s = S();
    const std::string mode = host_.GetText("CurrentProcessingMode");
    if (mode == "Standard") s.POINTS = StrToInt(host_.GetText("MusicFFTSampleSize"));
    else if (mode == "Extended") s.POINTS = StrToInt(host_.GetText("QualityFFTSampleSize"));
}

void Engine::MainLineProcess1() {
    RunState& s = S();
    Log("S", "MainLineProcess1");
    s.DisplayedLogLines = 0;
    s.BytesRead = 0;
    s.EarlyEnd.clear();
    s.ByteSwap = false;
    s.Calibration = 0.0 + HIDDENCAL;
    s.StartTime = 0.0;
    s.EndTime = std::trunc(MAXENDTIME);
    s.Compression = 10;
    s.Resolution = 5;
    s.ATune = 440.0;
    s.PitchShift = false;
    SelectPoints();
    s.PERCENTILEARRAYMAX = static_cast<int>(RoundHalfEven(MAXENDTIME)) * 100;

    auto size = [](std::initializer_list<std::vector<double>*> arrays, std::size_t n) {
        for (auto* a : arrays) a->assign(n, 0.0);
    };
    size({&s.Oct_S, &s.DravolekOct_S}, 10);
    size({&s.ThirdOct_S, &s.DravolekThirdOct_S}, 22);
    size({&s.PitchSalience_S, &s.DravolekPitchSalience_S, &s.PitchSalience_T,
          &s.DravolekPitchSalience_T}, 88);
    size({&s.RoexL, &s.RoexL_Nordic108}, 110);
    size({&s.RoexL_Nordic121}, 122);
    size({&s.SpecLoud, &s.SpecLoud_Nordic108, &s.SpecLoud_Nordic121, &s.SpecLoud_S,
          &s.SpecLoud_S_Nordic108, &s.SpecLoud_S_Nordic121, &s.DravolekSpecLoud_S, &s.SpecLoud_T,
          &s.SpecLoud_T_Nordic108, &s.SpecLoud_T_Nordic121},
         static_cast<std::size_t>(RoundHalfEven(EEND / ESTEP + 1)));
    size({&s.ToneF, &s.ToneF_Nordic108, &s.ToneF_Nordic121, &s.RoughnessF_Nordic108, &s.ToneL,
          &s.ToneL_Nordic108, &s.ToneL_Nordic121, &s.RoughnessL_Nordic108}, MAXTONES);
    size({&s.ToneRef, &s.ToneRef_Nordic108, &s.ToneRef_Nordic121, &s.RoughnessRef_Nordic108},
         32768);

    SelectPoints();
    Log("D", "Initialise ImagIn");
    for (int i = 0; i < s.POINTS && i < SPECTRUM_SIZE; ++i) s.ImagIn[i] = 0.0;
    SelectPoints();
    Log("D", "Initialise CompactF");
    Log("E", "MainLineProcess1");
}

bool Engine::MainLineProcess2SingleFile() {
    RunState& s = S();
    Log("S", "MainLineProcess2SingleFile");
    if (!s.ProcessingABatch) {
        auto chosen = host_.ChooseSoundFile("Sound files (*.wav)|*.wav|AIF Files (*.AIF)|*.AIF");
        if (!chosen) {
            // A cancelled choice ends the run quietly; no earlier file is reused.
            Log("E", "MainLineProcess2SingleFile");
            return false;
        }
        s.SoundFileName = *chosen;
    }
    const auto slash = s.SoundFileName.find_last_of('/');
    s.ShortSoundFileName = slash == std::string::npos ? s.SoundFileName : s.SoundFileName.substr(slash);
    host_.SetText("SelectedInputFile", s.SoundFileName);
    host_.SetText("Caption", host_.GetText("Caption") + " - " + s.ShortSoundFileName);
    Log("E", "MainLineProcess2SingleFile");
    return true;
}

namespace {

// Lower and upper edges of bins 1..last, meeting half-way between neighbouring centres; the
// centre after the last one counts as 0 (so the last bin's upper edge is set by the caller).
void HalfwayEdges(const Compact& centre, Compact& low, Compact& high, int last) {
    low[1] = 0.0;
    high[1] = centre[1] + (centre[2] - centre[1]) / 2;
    for (int i = 2; i <= last; ++i) {
        low[i] = centre[i] - (centre[i] - centre[i - 1]) / 2;
        high[i] = centre[i] + (centre[i + 1] - centre[i]) / 2;
    }
}

}  // namespace

void Engine::SetUpCompactIBinRanges() {
    RunState& s = S();
    host_.SetText("MusicFFTSampleSize", "4096");
    s.DravolekSizeOfCompactSpectrum = 108;
    host_.SetText("MusicBinCount", "108");

    // 41 linear bins of 10.77 Hz, then logarithmic bins of 1/40 decade from 10^2.675 Hz.
    Compact centre{};
    double f = 10.77;
    for (int i = 1; i <= 41; ++i, f += 10.77) centre[i] = f;
    double x = 2.675;
    for (int i = 42; i <= 109; ++i, x += 0.025) {
        centre[i] = static_cast<double>(std::pow(10.0L, static_cast<long double>(x)));
    }
    s.CompactIBinCentreFreqs = centre;
    for (int i = 1; i <= 109; ++i) s.CompactF[i] = s.CompactF_Nordic108[i] = centre[i];
    s.CompactIBinLowBandFreqs.fill(0.0);
    s.CompactIBinHighBandFreqs.fill(0.0);
    centre[110] = 0.0;
    HalfwayEdges(centre, s.CompactIBinLowBandFreqs, s.CompactIBinHighBandFreqs, 109);
    s.CompactIBinHighBandFreqs[109] = 999999.0;
    s.CompactIBinLowBandFreqs[109] = s.CompactIBinHighBandFreqs[108];

    host_.SetText("QualityFFTSampleSize", std::to_string(MYPOINTS));
    s.NordicSizeOfCompactSpectrum = 121;
    host_.SetText("QualityBinCount", "121");

    // 122 deep bins of 1/40 decade from 10^1.3 Hz (about 20 Hz).
    Compact deep{};
    x = 1.3;
    for (int i = 1; i <= 122; ++i, x += 0.025) {
        deep[i] = static_cast<double>(std::pow(10.0L, static_cast<long double>(x)));
    }
    s.CompactF_Nordic121 = deep;
    s.DeepCompactIBinLowBandFreqs.fill(0.0);
    s.DeepCompactIBinHighBandFreqs.fill(0.0);
    HalfwayEdges(deep, s.DeepCompactIBinLowBandFreqs, s.DeepCompactIBinHighBandFreqs, 121);
}

}  // namespace oxw::engine
