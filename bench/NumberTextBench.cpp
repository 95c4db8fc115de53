// Cost per number of floatToStr's text written into a buffer (writeFloatToStr), as the array
// dumps call it: 4096 values spread evenly in logarithm over 1 .. 1e5 (the spectrum sums of a
// run) and 4096 of every magnitude 1e-30 .. 1e30, on the fast path and on the plain one; and of
// the log texts floatToStrF(x, 10, 3) of 4096 levels evenly over -20 .. 140 dB.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "numeric/NumberFormat.h"

namespace {

using namespace oxw::numeric;

std::vector<double> Values(double low, double high) {
    std::mt19937_64 gen(9);
    std::uniform_real_distribution<> lg(std::log10(low), std::log10(high));
    std::vector<double> v(4096);
    for (double& x : v) x = std::pow(10.0, lg(gen));
    return v;
}

void Run(benchmark::State& state, NumberTextPath path, const std::vector<double>& in) {
    SetNumberTextPath(path);
    char buf[kFloatToStrRoom];
    std::size_t length = 0;
    for (auto _ : state) {
        for (double x : in) length += static_cast<std::size_t>(writeFloatToStr(buf, x) - buf);
        benchmark::DoNotOptimize(length);
        benchmark::ClobberMemory();
    }
    SetNumberTextPath(NumberTextPath::Fast);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(in.size()));
}

void BM_FloatToStr_Sums(benchmark::State& s) { Run(s, NumberTextPath::Fast, Values(1, 1e5)); }
void BM_FloatToStr_Sums_Plain(benchmark::State& s) {
    Run(s, NumberTextPath::Plain, Values(1, 1e5));
}
void BM_FloatToStr_Wide(benchmark::State& s) { Run(s, NumberTextPath::Fast, Values(1e-30, 1e30)); }
void BM_FloatToStr_Wide_Plain(benchmark::State& s) {
    Run(s, NumberTextPath::Plain, Values(1e-30, 1e30));
}
void BM_FloatToStrF_Levels(benchmark::State& state) {
    std::mt19937_64 gen(10);
    std::uniform_real_distribution<> level(-20, 140);
    std::vector<double> in(4096);
    for (double& x : in) x = level(gen);
    std::size_t length = 0;
    for (auto _ : state) {
        for (double x : in) length += floatToStrF(x, 10, 3).size();
        benchmark::DoNotOptimize(length);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(in.size()));
}

BENCHMARK(BM_FloatToStr_Sums);
BENCHMARK(BM_FloatToStr_Sums_Plain);
BENCHMARK(BM_FloatToStr_Wide);
BENCHMARK(BM_FloatToStr_Wide_Plain);
BENCHMARK(BM_FloatToStrF_Levels);

}  // namespace
