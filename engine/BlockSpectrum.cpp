// The block reader: the next block of sample frames from the sound file, its one sample series,
// the interaural level difference and cross-correlation, the time window, the FFT and the
// calibrated intensity spectrum, summed over the pass; then the stream moves on by one hop.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "engine/BlockFrames.h"
#include "engine/Conversions.h"
#include "engine/Convert.h"
#include "engine/LagProducts.h"
#include "engine/PowerSums.h"
#include "engine/SpectrumWork.h"

namespace oxw::engine {

namespace {

constexpr long double kTwoPi = 6.283185307179586476925L;
// Block length whose calibration the levels refer to; longer blocks are scaled down to it.
constexpr double kReferencePoints = 4096.0;

// w(i) of the time window with code `code` over n points (c_m = cos(2 pi m i / (n - 1))).
long double WindowWeight(char code, int i, int n) {
    const long double a = kTwoPi * i / (n - 1);
    auto c = [a](int m) { return std::cos(m * a); };
    const long double half = (n - 1) / 2.0L;
    switch (code) {
        case 'N':
            return 1 - c(1);
        case 'M':
            return 1 - 0.85L * c(1);
        case 'T':
            return i <= half ? 4.0L * i / (n - 1) : 4 - 4.0L * i / (n - 1);
        case 'W': {
            const long double d = (i - half) / ((n + 1) / 2.0L);
            return 1.5L * (1 - d * d);
        }
        case 'B':
            return 1 - 1.19L * c(1) + 0.19L * c(2);
        case 'K':
            return 1 - 1.24L * c(1) + 0.244L * c(2) - 0.00305L * c(3);
        case 'F':
            return 1 - 1.93L * c(1) + 1.29L * c(2) - 0.388L * c(3) + 0.0322L * c(4);
        default:
            return 1;  // 'R': rectangular
    }
}

// The FFT component's own window follows the check dialog's window choice; the flat-top and
// Kaiser-Bessel windows do not exist there (a message, the window stays), Welch keeps it too.
void SetComponentWindow(TFastFourier& fft, char code, RunHost& host) {
    switch (code) {
        case 'B':
            fft.SetWgtWin(fwBlackman);
            break;
        case 'F':
            host.ShowMessage("User selected FlatTop Filter, not available in VKR");
            break;
        case 'N':
            fft.SetWgtWin(fwCos2);
            break;
        case 'M':
            fft.SetWgtWin(fwHamming);
            break;
        case 'K':
            host.ShowMessage("User selected KaiserBessel Filter, not available in VKR");
            break;
        case 'R':
            fft.SetWgtWin(fwRectangle);
            break;
        case 'T':
            fft.SetWgtWin(fwTriangle);
            break;
        default:
            break;
    }
}

// Whether the reader can take frames of `blockAlign` bytes holding `channels` samples, reading
// the first `samplesRead` of them: whole samples of at least one byte, inside the frame.
bool FrameLayoutFits(int blockAlign, int channels, int samplesRead) {
    if (blockAlign < 1 || blockAlign > kMaxFrameBytes || channels < 1) return false;
    const int bytesPerSample = blockAlign / channels;
    return bytesPerSample >= 1 && samplesRead * bytesPerSample <= blockAlign;
}

// The block loops below are built for the baseline instruction set and for AVX2, picked at
// run time; each product and sum is rounded on its own in either build (no fused multiply-add),
// so both give the same bits.

// out[i] = samples[i] x w[i], a zero (silent sample or window zero) made 1e-20 so that later
// logarithms are finite.
[[gnu::target_clones("avx2", "default")]] void WeighSamples(int n, const int* __restrict samples,
                                                            const double* __restrict w,
                                                            double* __restrict out) {
    for (int i = 0; i < n; ++i) {
        const double v = samples[i] * w[i];
        out[i] = v == 0.0 ? 1e-20 : v;
    }
}

// mean[i] = (a[i] + b[i]) / 2 rounded half to even.
[[gnu::target_clones("avx2", "default")]] void MeanOfChannels(int n, const int* __restrict a,
                                                              const int* __restrict b,
                                                              int* __restrict mean) {
    for (int i = 0; i < n; ++i) mean[i] = HalfSumRoundHalfEven(a[i], b[i]);
}

// sum[k] += add[k] for k = first..last-1.
[[gnu::target_clones("avx2", "default")]] void AddLines(int first, int last,
                                                        const double* __restrict add,
                                                        double* __restrict sum) {
    for (int k = first; k < last; ++k) sum[k] += add[k];
}

}  // namespace

TFastFourier& Engine::SpectrumWork::Fft(int points) {
    for (auto& [n, fft] : ffts)
        if (n == points) return *fft;
    // Every block length is served by the main form's one FFT component, FastFourier4096; its
    // name prefixes the component's error messages.
    auto fft = std::make_unique<TFastFourier>();
    fft->SetName("FastFourier4096");
    fft->SetNumData(points);
    ffts.emplace_back(points, std::move(fft));
    return *ffts.back().second;
}

const double* Engine::SpectrumWork::Window(int n, char code) {
    if (n != windowN || code != windowCode) {
        window.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            window[static_cast<std::size_t>(i)] =
                n > 1 ? static_cast<double>(WindowWeight(code, i, n)) : 1.0;
        windowN = n;
        windowCode = code;
    }
    return window.data();
}

Engine::SpectrumWork& Engine::Work() {
    if (!spectrumWork_) spectrumWork_ = std::make_shared<SpectrumWork>();
    return *spectrumWork_;
}

void Engine::DoWindowFunctions(int Numsamps, char funct, const int* samples, double* weightout) {
    Log("S", "DoWindowFunctions");
    WeighSamples(Numsamps, samples, Work().Window(Numsamps, funct), weightout);
    Log("E", "DoWindowFunctions");
}

namespace {

constexpr int kMaxLag = 45;  // samples, about 1 ms at 44.1 kHz

// The interaural correlation of a block of n frames from its exact sums over i = 45..n-46: the
// squares of each channel and, for every lag j, ch1[i + j] x ch2[i].
void Correlation(int n, std::int64_t xx, std::int64_t yy, const std::int64_t* lagSums,
                 double& maxcor, double& maxlag) {
    const double M = n - 2 * kMaxLag;
    if (M <= 0 || xx == 0 || yy == 0) {
        // A silent channel has no defined correlation: the block counts as uncorrelated.
        maxcor = 0.0;
        maxlag = 0.0;
        return;
    }
    const double norm = std::sqrt((xx / M) * (yy / M));
    double best = 0.0;
    for (int j = -kMaxLag; j <= kMaxLag; ++j) {
        const std::int64_t sum = lagSums[j + kMaxLag];
        const double cor = (sum / M) / norm;
        // A slight preference for small lags; ties keep the earlier (more negative) lag.
        const double weighted = std::fabs(cor) - std::abs(j) * 1e-5;
        if (weighted > best) {
            best = weighted;
            maxcor = cor;
            maxlag = j / 44.1;  // milliseconds
        }
    }
}

}  // namespace

void Engine::CrossCorrelation(const int* ch1, const int* ch2, double& maxcor, double& maxlag) {
    Log("S", "CrossCorrelation");
    const int n = S().POINTS;
    std::int64_t xx = 0, yy = 0;
    LagProductSums(ch1, ch1, kMaxLag, n - kMaxLag, 0, &xx);
    LagProductSums(ch2, ch2, kMaxLag, n - kMaxLag, 0, &yy);
    if (n - 2 * kMaxLag > 0 && xx != 0 && yy != 0) {
        std::array<std::int64_t, 2 * kMaxLag + 1> lagSums{};
        LagProductSums(ch1, ch2, kMaxLag, n - kMaxLag, kMaxLag, lagSums.data());
        Correlation(n, xx, yy, lagSums.data(), maxcor, maxlag);
    } else {
        Correlation(n, xx, yy, nullptr, maxcor, maxlag);
    }
    Log("E", "CrossCorrelation");
}

// CrossCorrelation of the block just read: the sums of a block that follows the previous one
// are moved on from the previous block's sums.
void Engine::CorrelateBlock(double& maxcor, double& maxlag) {
    Log("S", "CrossCorrelation");
    SpectrumWork& w = Work();
    const int n = S().POINTS;
    const int* ch1 = w.frames.Channel(0);
    const int* ch2 = w.frames.Channel(1);
    const int shift = w.correlatedBlock + 1 == w.frames.Serial() ? w.frames.Shift() : 0;
    w.correlatedBlock = w.frames.Serial();
    const int first = kMaxLag, last = std::max(n - kMaxLag, kMaxLag);
    const std::int64_t xx = *w.squares1.For(ch1, ch1, first, last, 0, shift);
    const std::int64_t yy = *w.squares2.For(ch2, ch2, first, last, 0, shift);
    const std::int64_t* lagSums = w.lagged.For(ch1, ch2, first, last, kMaxLag, shift);
    Correlation(n, xx, yy, lagSums, maxcor, maxlag);
    Log("E", "CrossCorrelation");
}

bool Engine::MakeSpectrum() {
    RunState& s = S();
    SpectrumWork& w = Work();
    Log("S", "MakeSpectrum");
    const std::string mode = host_.GetText("CurrentProcessingMode");
    SelectPoints();
    const int N = s.POINTS;
    if (N < 2 || N > MYPOINTS) {
        throw std::out_of_range("MakeSpectrum: block length " + std::to_string(N) +
                                " outside 2..32768");
    }
    const int channels = std::max(s.SoundFileNoOfChannels, 1);
    const int blockAlign = s.SoundFileBlockAlign;
    if (!FrameLayoutFits(blockAlign, channels, s.TwoChan ? 2 : 1)) {
        throw std::runtime_error("The sound file \"" + s.SoundFileName + "\" has frames of " +
                                 std::to_string(blockAlign) + " bytes for " +
                                 std::to_string(channels) +
                                 " channel(s); the block reader takes frames of 1 to " +
                                 std::to_string(kMaxFrameBytes) +
                                 " bytes with at least one byte per sample.");
    }
    s.StreamPositionOverlayAdjustment =
        static_cast<std::int64_t>(blockAlign) * OFFSET * s.Resolution;
    s.DeltaL = 0;
    s.ICCC = 1.0;
    s.ICCClag = 0;
    s.Intensity[0] = 0.0;  // lines 1..N-1 are set below

    stream_.clear();
    std::int64_t start = BlockStart(StreamPosition(), N, blockAlign);
    const int bytesPerSample = std::max(blockAlign / channels, 1);
    const FrameLayout layout{N, blockAlign, bytesPerSample, s.TwoChan ? 2 : 1};
    int readError = 0;
    int frames = w.frames.Read(stream_, start, s.DataEnd, layout, readError);
    if (frames < 0) ReadFailure(start, readError);
    // Sound data that ends before the end the header gave (the file shrank): the block is read
    // again so that it ends with the data, or not at all when its line lies past the data.
    while (frames < std::clamp<std::int64_t>((s.DataEnd - start) / blockAlign, 0, N)) {
        if (!SoundDataEndedAt(start + static_cast<std::int64_t>(frames) * blockAlign,
                              mode == "Extended")) {
            Log("E", "MakeSpectrum");
            return false;
        }
        SeekStream(start);
        start = BlockStart(start, N, blockAlign);
        frames = w.frames.Read(stream_, start, s.DataEnd, layout, readError);
        if (frames < 0) ReadFailure(start, readError);
    }
    const std::string position = std::to_string(start);
    if (host_.GetText("PositionStart").empty())
        host_.SetText("PositionStart", position);
    else
        host_.SetText("PositionCurrent", position);
    host_.Refresh();
    s.StreamPositionOverlayStart = start;

    if (!s.TwoChan)
        ReadMonoBlock(frames, bytesPerSample);
    else
        ReadStereoBlock(frames, bytesPerSample);

    Log("D", "5178 after set up vectors for VKR FFT");
    // Calibrated power of every line; blocks longer than 4096 points gather (N / 4096)^2 times
    // the power of a tone, which the scale takes back so that both passes read the same level.
    const double scale = kReferencePoints / N;
    TransformBlock(N, dB2I(s.Calibration) * scale * scale);

    s.Counter += static_cast<std::int64_t>(channels) * OFFSET * s.Resolution;
    if (s.Counter % 2 != 0) s.Counter -= 1;
    Spectrum* summed = mode == "Standard"   ? &s.DravolekSpectrum
                       : mode == "Extended" ? &s.NordicSpectrum
                                            : nullptr;
    if (summed) AddLines(1, N / 2 + 1, s.Intensity.data(), summed->data());

    SeekStream(s.StreamPositionOverlayStart + s.StreamPositionOverlayAdjustment);
    Log("D", "Next Line - overlap start Sample position (end of MakeSpectrum) = " +
                 std::to_string(s.Counter) + " OFFSET " + std::to_string(OFFSET) + " Resolution " +
                 std::to_string(s.Resolution) +
                 " SoundFileBytesToRead = " + std::to_string(bytesPerSample) + " Stream.Position " +
                 std::to_string(StreamPosition()) +
                 " StreamPositionOverlayAdjustment " +
                 std::to_string(s.StreamPositionOverlayAdjustment) + " File Length " +
                 checkForm_.SoundFileSize.Text);
    Log("E", "MakeSpectrum");
    return true;
}

std::int64_t Engine::BlockStart(std::int64_t pos, int points, int blockAlign) {
    const RunState& s = S();
    // The last whole frame of the sound data ends at dataEnd.
    const std::int64_t whole = (s.DataEnd - s.StreamDataChunk) / blockAlign * blockAlign;
    const std::int64_t dataEnd = s.StreamDataChunk + whole;
    const std::int64_t last = dataEnd - static_cast<std::int64_t>(points) * blockAlign;
    // A block that would run past the end of the sound data is read so that it ends with the
    // data (when the data holds a whole block): missing frames would count as silence and pull
    // the block's levels down. The position shown, and so the block's time, is where it is read.
    if (pos <= last || last < s.StreamDataChunk) return pos;
    SeekStream(last);
    return last;
}

void Engine::ReadMonoBlock(int frames, int bytesPerSample) {
    RunState& s = S();
    const int N = s.POINTS;
    s.ICCC = 1.0;
    // The first sample of every frame; frames past the end of the sound data are silence.
    std::copy_n(Work().frames.Channel(0), N, s.OneIn.begin());
    s.BytesRead += static_cast<std::int64_t>(frames) * bytesPerSample;
    DoWindowFunctions(N, s.WINFUNCT, s.OneIn.data(), s.RealInD.data());
    const std::string realInV = std::to_string(s.RealInV.size());
    Log("D", "5648 was Dimensioned Vectors length of RealInD = " + std::to_string(SPECTRUM_SIZE) +
                 " Length of RealInV = " + realInV + " Length of ImagIn = " +
                 std::to_string(SPECTRUM_SIZE) + " Length of RealInV = " + realInV);
}

void Engine::ReadStereoBlock(int frames, int bytesPerSample) {
    RunState& s = S();
    SpectrumWork& w = Work();
    const int N = s.POINTS;
    // The two channels; frames past the end of the sound data are silence.
    const int* ch1 = w.frames.Channel(0);
    const int* ch2 = w.frames.Channel(1);
    s.ICCC = 0.0;
    s.BytesRead += static_cast<std::int64_t>(frames) * 2 * bytesPerSample;

    // The mean of the channels, and the power sums ch^2 / 1e6 of the 16-bit samples.
    MeanOfChannels(N, ch1, ch2, s.OneIn.data());
    const double meansquare1 = PowerSum(ch1, N), meansquare2 = PowerSum(ch2, N);
    s.DeltaL =
        meansquare1 > 1e-99 && meansquare2 > 1e-99 ? I2dB(meansquare2) - I2dB(meansquare1) : 0.0;

    const std::string channel = host_.GetText("AnalysisChannel");
    if (channel == "Both") CorrelateBlock(s.ICCC, s.ICCClag);
    if (channel == "1") {
        Log("D", "5621 Processing channel 1 only");
        std::copy_n(ch1, N, s.OneIn.begin());
    } else if (channel == "2") {
        std::copy_n(ch2, N, s.OneIn.begin());
    }
    DoWindowFunctions(N, s.WINFUNCT, s.OneIn.data(), s.RealInD.data());
}

void Engine::TransformBlock(int N, double cal) {
    RunState& s = S();
    TFastFourier& fft = Work().Fft(N);
    Log("D", "5209 FFT size given to FFT = " + std::to_string(N));
    // The windowed series as the component's N real points, its spectrum straight into
    // RealOut / ImagOut, and the calibrated power cal (re^2 + im^2) of lines 1..N-1 into
    // Intensity.
    SetComponentWindow(fft, s.WINFUNCT, host_);
    const auto n = static_cast<std::size_t>(N);
    fft.TransformReal(std::span<const double>(s.RealInD.data(), n),
                      std::span<double>(s.RealOut.data(), n),
                      std::span<double>(s.ImagOut.data(), n), cal,
                      std::span<double>(s.Intensity.data(), n));
}

}  // namespace oxw::engine
