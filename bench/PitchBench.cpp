// Speed of the pitch steps of a first-pass block of 20 tonal components: masking and the levels
// above it, the sort of the audible components, virtual pitches, the compound pattern and its
// sort, tonalness and the chroma and key tallies, together and stage by stage; the noise search
// of the masking step against the same search as first written (the Bark value of every line
// worked out again for every component); and the key and chord of a chroma vector (once per
// line and once per file). The block: the 20 harmonics of 220 Hz (60 dB falling by 1 dB per
// harmonic) over a noise floor near 20 dB per line. The counter "allocations" counts the heap
// allocations per iteration once the first block has built the run-constant values; it must
// stay 0 for the block steps.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>

#include "bench/PitchSteps.h"
#include "bench/AllocationCounter.h"
#include "bench/QuietHost.h"
#include "engine/Conversions.h"
#include "engine/Engine.h"
#include "engine/Masking.h"

namespace {

using namespace oxw::engine;
using oxw::bench::QuietHost;
using oxw::bench::gAllocations;

constexpr int kTones = 20;
constexpr int kPoints = 4096;

// An engine after the run reset with the block's spectrum and tone list; PitchShift on, as the
// check dialog leaves it.
struct Block {
    QuietHost host;
    Engine e{host};
    Block() {
        host.texts = {{"CurrentProcessingMode", "Standard"}, {"MusicFFTSampleSize", "4096"}};
        e.MainLineProcess1();
        RunState& s = e.S();
        s.PitchShift = true;
        s.PitchSalience.assign(88, 0.0);
        std::uint32_t seed = 2024;
        for (int j = 1; j <= NCOMPS; ++j) {
            seed = seed * 1664525u + 1013904223u;
            s.Intensity[static_cast<std::size_t>(j)] = dB2I(17 + 6.0 * (seed >> 8) / (1u << 24));
        }
        s.NTones = kTones;
        for (int h = 1; h <= kTones; ++h) {
            const double f = 220.0 * h, L = 61.0 - h;
            const auto line = std::lround(f * kPoints / SR);
            s.ToneF[static_cast<std::size_t>(h)] = f;
            s.ToneL[static_cast<std::size_t>(h)] = L;
            s.ToneRef[static_cast<std::size_t>(h)] = static_cast<double>(line);
            s.Intensity[static_cast<std::size_t>(line)] = dB2I(L - 1.6);
        }
        oxw::bench::PitchSteps(e);  // the first block builds the run-constant values
    }
};

void Count(benchmark::State& state, long long before, const RunState& s) {
    state.counters["allocations"] = benchmark::Counter(
        static_cast<double>(gAllocations.load() - before), benchmark::Counter::kAvgIterations);
    state.counters["audible"] = s.NTonesM;
    state.counters["bases"] = s.MaxPitches;
    state.counters["pattern"] = s.PitchCount;
}

void BM_PitchSteps(benchmark::State& state) {
    Block b;
    const long long before = gAllocations.load();
    for (auto _ : state) {
        oxw::bench::PitchSteps(b.e);
        benchmark::DoNotOptimize(b.e.S().ChromaSalience);
    }
    Count(state, before, b.e.S());
}

void BM_Masking(benchmark::State& state) {
    Block b;
    const long long before = gAllocations.load();
    for (auto _ : state) {
        b.e.FindLevelsAboveMasking();
        b.e.SortToneArrays(1, b.e.S().NTonesM);
        benchmark::DoNotOptimize(b.e.S().WS);
    }
    Count(state, before, b.e.S());
}

void BM_VirtualPitchesAndPattern(benchmark::State& state) {
    Block b;
    RunState& s = b.e.S();
    const long long before = gAllocations.load();
    for (auto _ : state) {
        b.e.FindVirtualPitches();
        b.e.MakeCompoundPitchPattern();
        b.e.SortPitchPattern(1, s.PitchCount);
        benchmark::DoNotOptimize(s.CompoundWeight);
    }
    Count(state, before, s);
}

void BM_TonalnessAndTallies(benchmark::State& state) {
    Block b;
    const long long before = gAllocations.load();
    for (auto _ : state) {
        b.e.CalculateParncuttMeasures();
        b.e.TallyChromaAndPitch();
        benchmark::DoNotOptimize(b.e.S().PitchSalience);
    }
    Count(state, before, b.e.S());
}

// The noise near each of the 20 components: with the Bark values of the lines kept per block
// length, and with every line's Bark value worked out for every component.
void BM_NoiseSearch(benchmark::State& state) {
    Block b;
    const RunState& s = b.e.S();
    LineBarks lines;
    for (auto _ : state) {
        double sum = 0;
        const auto& bark = lines.For(kPoints);
        for (int i = 1; i <= kTones; ++i)
            sum += NoiseNear(s.Intensity, bark, Fq2Bark(s.ToneF[i]), s.ToneRef[i]);
        benchmark::DoNotOptimize(sum);
    }
}

void BM_NoiseSearchAsFirstWritten(benchmark::State& state) {
    Block b;
    const RunState& s = b.e.S();
    for (auto _ : state) {
        double sum = 0;
        for (int i = 1; i <= kTones; ++i) {
            const double z = Fq2Bark(s.ToneF[i]);
            for (int j = 1; j <= NCOMPS; ++j) {
                const double zj =
                    Fq2Bark(static_cast<double>(static_cast<long long>(j) * SR) / kPoints);
                if (std::fabs(z - zj) <= 0.5 && std::fabs(s.ToneRef[i] - j) > 2)
                    sum += s.Intensity[j];
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}

// Key and chord of the block's chroma (the line key and the file's chord and key).
void BM_KeyAndChord(benchmark::State& state) {
    Block b;
    RunState& s = b.e.S();
    std::array<double, 13> chroma{};
    std::copy(s.ChromaSalience.begin(), s.ChromaSalience.end(), chroma.begin());
    for (auto _ : state) {
        b.e.FindKey(chroma, s.Tonality_S, s.TonalityR2_S, s.Tonality_T, s.MajMin_T);
        b.e.FindChord(chroma, s.Chord_S, s.ChordR2_S);
        benchmark::DoNotOptimize(s.ChordR2_S);
    }
    state.SetLabel(s.Tonality_S + ", " + s.Chord_S);
}

BENCHMARK(BM_PitchSteps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Masking)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VirtualPitchesAndPattern)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TonalnessAndTallies)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NoiseSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NoiseSearchAsFirstWritten)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyAndChord)->Unit(benchmark::kMicrosecond);

}  // namespace
