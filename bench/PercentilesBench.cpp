// Speed of the percentile statistics of the longest run: 4800 s at the 50 ms hop gives 96,000
// blocks, so three arrays of 96,000 values (level, loudness, level difference) are sorted
// largest first with the sort progress bar attached, and their percentiles read off. Every
// iteration sorts fresh copies of the same samples. Samples: "noise" draws levels evenly from
// 30 .. 90 dB; "steps" holds a level that changes every 10 s between a few values (long runs of
// ties, as a steady source gives). Counter "bar_moves": calls on the sort progress bar per run.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bench/QuietHost.h"
#include "engine/Engine.h"

namespace {

using namespace oxw::engine;
using oxw::bench::QuietHost;

constexpr int kBlocks = 96000;

std::vector<double> Samples(bool steps, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<> level(30, 90);
    std::vector<double> v(static_cast<std::size_t>(kBlocks) + 1, 0.0);
    double step = level(gen);
    for (int i = 1; i <= kBlocks; ++i) {
        if (steps && i % 200 == 1) step = static_cast<int>(level(gen) / 10) * 10.0;
        v[static_cast<std::size_t>(i)] = steps ? step : level(gen);
    }
    return v;
}

void BM_Percentiles(benchmark::State& state) {
    const bool steps = state.range(0) == 1;
    QuietHost host;
    Engine e(host);
    RunState& s = e.S();
    s.Elements = kBlocks;
    const std::vector<double> L = Samples(steps, 1), N = Samples(steps, 2), D = Samples(steps, 3);
    std::size_t runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.Larray = L;
        s.Narray = N;
        s.DLarray = D;
        state.ResumeTiming();
        e.CalculatePercentiles();
        benchmark::DoNotOptimize(s.LA90);
        ++runs;
    }
    state.counters["bar_moves"] =
        static_cast<double>(host.sortBarCalls) / static_cast<double>(runs ? runs : 1);
    state.SetLabel(steps ? "steps" : "noise");
}
BENCHMARK(BM_Percentiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
