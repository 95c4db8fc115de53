// Speed of the hearing steps of a first-pass block (4096 points) on the benchmarks' stereo file:
// spectral dissonance, ear transfer, roex component levels, excitation, loudness, sharpness,
// tonal components and tone dissonance, together and one by one. The blocks' spectra are read
// beforehand (16 blocks spread over the file, taken in turn), so only the steps are timed. The
// counter "allocations" counts the heap allocations per block once the first block has built
// the run-constant factors; it must stay 0.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "bench/AllocationCounter.h"
#include "bench/QuietHost.h"
#include "bench/StereoFile.h"
#include "engine/Engine.h"

namespace {

using namespace oxw::engine;
using oxw::bench::QuietHost;
using oxw::bench::gAllocations;

constexpr int kBlocks = 16;

struct BlockSpectra {
    std::vector<Compact> compact;
    std::vector<std::vector<double>> lines;  // Intensity[0..NCOMPS]
};

// Reads kBlocks blocks spread over the file through the engine's block reader.
BlockSpectra ReadBlocks(Engine& e, QuietHost& host) {
    host.texts = {{"CurrentProcessingMode", "Standard"}, {"MusicFFTSampleSize", "4096"},
                  {"QualityFFTSampleSize", "32768"},     {"AnalysisChannel", "Both"},
                  {"MusicBinCount", "108"},              {"QualityBinCount", "121"}};
    RunState& s = e.S();
    s.SoundFileName = oxw::bench::StereoFile();
    e.MainLineProcess1();
    e.Stream().open(s.SoundFileName, std::ios::binary);
    e.ReadSoundFileHeader();
    e.SetUpCompactIBinRanges();
    for (auto* v : {&s.ImagInV, &s.RealInV, &s.RealOutV, &s.ImagOutV}) v->assign(32768, 0.0);
    BlockSpectra b;
    const std::int64_t span = (s.DataEnd - s.StreamDataChunk) / 4 - 4096;
    for (int k = 0; k < kBlocks; ++k) {
        e.Stream().clear();
        e.Stream().seekg(s.StreamDataChunk + span * k / kBlocks * 4);
        benchmark::DoNotOptimize(e.MakeSpectrum());
        e.CompressSpectrum();
        b.compact.push_back(s.CompactI);
        b.lines.emplace_back(s.Intensity.begin(), s.Intensity.begin() + NCOMPS + 1);
    }
    return b;
}

enum class Step { All, SpectDiss, Transfer, Roex, Excitation, Loudness, Sharpness, Tones };

void Steps(Engine& e, Step step) {
    const bool all = step == Step::All;
    if (all || step == Step::SpectDiss) e.CalculateSpectDiss();
    if (all || step == Step::Transfer) e.DoTransferFunctions();
    if (all || step == Step::Roex) e.FindRoexComponentLevels();
    if (all || step == Step::Excitation) e.FindExcitation();
    if (all || step == Step::Loudness) e.CalculateLoudness();
    if (all || step == Step::Sharpness) e.CalculateSharpness();
    if (all || step == Step::Tones) {
        e.ExtractTonalComponents();
        e.CalculateToneDissonance();
    }
}

void Run(benchmark::State& state, Step step) {
    QuietHost host;
    Engine e(host);
    const BlockSpectra blocks = ReadBlocks(e, host);
    RunState& s = e.S();
    auto load = [&](int k) {
        s.CompactI = blocks.compact[static_cast<std::size_t>(k)];
        const std::vector<double>& lines = blocks.lines[static_cast<std::size_t>(k)];
        std::copy(lines.begin(), lines.end(), s.Intensity.begin());
    };
    // The first block builds the run-constant factors; every step runs once so that the one
    // timed alone finds the arrays of the steps before it filled.
    load(0);
    Steps(e, Step::All);
    const long long before = gAllocations.load();
    int k = 0;
    long long tones = 0;
    for (auto _ : state) {
        load(k);
        k = (k + 1) % kBlocks;
        Steps(e, step);
        benchmark::DoNotOptimize(s.Loudness);
        tones += s.NTones;
    }
    state.counters["tones"] = benchmark::Counter(static_cast<double>(tones),
                                                 benchmark::Counter::kAvgIterations);
    state.counters["allocations"] = benchmark::Counter(
        static_cast<double>(gAllocations.load() - before), benchmark::Counter::kAvgIterations);
}

void BM_HearingSteps(benchmark::State& state) { Run(state, Step::All); }
void BM_SpectralDissonance(benchmark::State& state) { Run(state, Step::SpectDiss); }
void BM_EarTransfer(benchmark::State& state) { Run(state, Step::Transfer); }
void BM_RoexComponentLevels(benchmark::State& state) { Run(state, Step::Roex); }
void BM_Excitation(benchmark::State& state) { Run(state, Step::Excitation); }
void BM_Loudness(benchmark::State& state) { Run(state, Step::Loudness); }
void BM_Sharpness(benchmark::State& state) { Run(state, Step::Sharpness); }
void BM_TonalComponentsAndToneDissonance(benchmark::State& state) { Run(state, Step::Tones); }
BENCHMARK(BM_HearingSteps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpectralDissonance)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EarTransfer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoexComponentLevels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Excitation)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Loudness)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sharpness)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TonalComponentsAndToneDissonance)->Unit(benchmark::kMicrosecond);

}  // namespace
