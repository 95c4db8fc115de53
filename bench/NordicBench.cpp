// Speed of the Joint Nordic tone and roughness assessment on one 32768-point block at 44100 Hz:
// the spectrum of broadband noise (a Hann-windowed block of uniform noise; a few dozen
// candidates) and the crafted comb (a tone every 8 lines from line 743 over a 0 / 0.5 dB floor;
// the tone list fills up at 1023 entries, each with its regression of up to 1800 lines). Every
// iteration hands over a new block (two spectra take turns), so the line levels are worked out
// again each time, once for both assessments. Counters: entries listed per block.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/QuietHost.h"
#include "engine/Engine.h"
#include "numeric/FastFourier.h"

namespace {

using namespace oxw::engine;
using oxw::bench::QuietHost;

constexpr int kPoints = 32768;

// Power spectrum of a Hann-windowed block of uniform noise, seeded.
Spectrum NoiseSpectrum(std::uint32_t seed) {
    TFastFourier fft;
    fft.SetNumData(kPoints);
    fft.SetWgtWin(fwCos2);
    for (int i = 1; i <= kPoints; ++i) {
        seed = seed * 1664525u + 1013904223u;
        fft.SetRealVal(i, static_cast<int>((seed >> 8) % 2001u) - 1000);
    }
    fft.Transform();
    Spectrum s{};
    const double cal = std::pow(10.0, -7.0) / (8.0 * 8.0);  // -70 dB, scaled to 4096 points
    for (int k = 1; k < kPoints; ++k) {
        const double re = fft.GetRealVal(k + 1), im = fft.GetImagVal(k + 1);
        s[static_cast<std::size_t>(k)] = cal * (re * re + im * im);
    }
    return s;
}

// The crafted comb; `lift` scales the whole spectrum (a different block, the same shape).
Spectrum CombSpectrum(double lift) {
    Spectrum s{};
    for (int k = 1; k < kPoints; ++k)
        s[static_cast<std::size_t>(k)] = k % 2 ? 1.0 : std::pow(10.0, 0.05);
    for (int t = 743; t + 2 <= kPoints / 2; t += 8) {
        s[static_cast<std::size_t>(t)] += 200;
        s[static_cast<std::size_t>(t - 1)] += 800.0 / 9;
        s[static_cast<std::size_t>(t + 1)] += 800.0 / 9;
        s[static_cast<std::size_t>(t - 2)] += 50.0 / 9;
        s[static_cast<std::size_t>(t + 2)] += 50.0 / 9;
    }
    for (double& v : s) v *= lift;
    return s;
}

void Run(benchmark::State& state, const Spectrum& a, const Spectrum& b) {
    QuietHost host;
    host.texts = {{"CurrentProcessingMode", "Standard"}, {"MusicFFTSampleSize", "4096"}};
    Engine e(host);
    e.MainLineProcess1();
    host.texts["CurrentProcessingMode"] = "Extended";
    host.texts["QualityFFTSampleSize"] = "32768";
    RunState& s = e.S();
    s.SoundFileSampleRate = 44100;
    std::int64_t blocks = 0, tones = 0, dips = 0;
    for (auto _ : state) {
        s.Intensity = (blocks++ % 2) ? b : a;
        e.NordicExtractTonalComponents();
        e.NordicExtractRoughnessComponents();
        tones += s.NTones_Nordic108;
        dips += s.NRoughness_Nordic108;
    }
    state.counters["tones"] = static_cast<double>(tones) / static_cast<double>(blocks);
    state.counters["dips"] = static_cast<double>(dips) / static_cast<double>(blocks);
}

void BM_NordicNoise(benchmark::State& state) {
    static const Spectrum a = NoiseSpectrum(1), b = NoiseSpectrum(2);
    Run(state, a, b);
}

void BM_NordicComb(benchmark::State& state) {
    static const Spectrum a = CombSpectrum(1.0), b = CombSpectrum(2.0);
    Run(state, a, b);
}

BENCHMARK(BM_NordicNoise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NordicComb)->Unit(benchmark::kMillisecond);

}  // namespace
