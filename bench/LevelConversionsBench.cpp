// Cost per call of intensity -> level (I2dB) and level -> intensity (dB2I), each against its
// extended-precision path (logl, expl). Inputs as the runs see them: 4096 intensities over
// 2^-40 .. 2^40 (even mantissas in random octaves) and 4096 levels evenly over -120 .. 140 dB,
// converted in a loop whose calls do not depend on each other, and by the array forms. Counter
// "fallbacks": share of the calls that went to the extended path. Also std::exp against the
// array exp over 4096 arguments evenly over -110 .. 0 (the excitation's lower skirts).

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/Conversions.h"
#include "engine/ExactExp.h"
#include "engine/LevelConversions.h"

namespace {

using namespace oxw::engine;

constexpr std::size_t kValues = 4096;

std::vector<double> Intensities() {
    std::mt19937 gen(11);
    std::uniform_int_distribution<> exponent(-40, 39);
    std::uniform_real_distribution<> mantissa(1, 2);
    std::vector<double> v(kValues);
    for (double& x : v) x = std::ldexp(mantissa(gen), exponent(gen));
    return v;
}

std::vector<double> Levels() {
    std::mt19937 gen(12);
    std::uniform_real_distribution<> level(-120, 140);
    std::vector<double> v(kValues);
    for (double& x : v) x = level(gen);
    return v;
}

template <double (*Convert)(double)>
void Run(benchmark::State& state, const std::vector<double>& in) {
    std::vector<double> out(in.size());
    const auto before = LevelConversionFallbacks();
    for (auto _ : state) {
        for (std::size_t i = 0; i < in.size(); ++i) out[i] = Convert(in[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    const auto calls = static_cast<double>(state.iterations()) * static_cast<double>(in.size());
    state.counters["fallbacks"] = static_cast<double>(LevelConversionFallbacks() - before) / calls;
    state.SetItemsProcessed(static_cast<std::int64_t>(calls));
}

// The array forms over the same inputs, with the count of their fallbacks.
template <void (*Convert)(const double*, double*, std::size_t),
          std::uint64_t (*Fallbacks)() = LevelConversionFallbacks>
void RunArray(benchmark::State& state, const std::vector<double>& in) {
    std::vector<double> out(in.size());
    const auto before = Fallbacks();
    for (auto _ : state) {
        Convert(in.data(), out.data(), in.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    const auto calls = static_cast<double>(state.iterations()) * static_cast<double>(in.size());
    state.counters["fallbacks"] = static_cast<double>(Fallbacks() - before) / calls;
    state.SetItemsProcessed(static_cast<std::int64_t>(calls));
}

std::vector<double> SkirtExponents() {
    std::mt19937 gen(13);
    std::uniform_real_distribution<> x(-110, 0);
    std::vector<double> v(kValues);
    for (double& a : v) a = x(gen);
    return v;
}

double StdExp(double x) { return std::exp(x); }

void BM_Exp(benchmark::State& state) { Run<StdExp>(state, SkirtExponents()); }

void BM_Exp_Array(benchmark::State& state) {
    RunArray<Exp, ExpFallbacks>(state, SkirtExponents());
}

void BM_I2dB(benchmark::State& state) { Run<I2dB>(state, Intensities()); }
void BM_I2dB_Extended(benchmark::State& state) { Run<ExtendedI2dB>(state, Intensities()); }
void BM_dB2I(benchmark::State& state) { Run<dB2I>(state, Levels()); }
void BM_dB2I_Extended(benchmark::State& state) { Run<ExtendeddB2I>(state, Levels()); }
void BM_I2dB_Array(benchmark::State& state) { RunArray<I2dB>(state, Intensities()); }
void BM_dB2I_Array(benchmark::State& state) { RunArray<dB2I>(state, Levels()); }
BENCHMARK(BM_I2dB);
BENCHMARK(BM_I2dB_Array);
BENCHMARK(BM_I2dB_Extended);
BENCHMARK(BM_dB2I);
BENCHMARK(BM_dB2I_Array);
BENCHMARK(BM_dB2I_Extended);
BENCHMARK(BM_Exp);
BENCHMARK(BM_Exp_Array);

}  // namespace
