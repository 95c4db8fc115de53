// Speed of the cross-correlation's lagged product sums over one block (91 lags, the block less
// 45 samples at each end), fast and plain, on seeded full-range 16-bit samples.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "engine/LagProducts.h"

namespace {

template <void (*Sums)(const int*, const int*, int, int, int, std::int64_t*)>
void BM_LagProductSums(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> d(-32768, 32767);
    std::vector<int> a(static_cast<std::size_t>(points)), b(a.size());
    for (auto& v : a) v = d(rng);
    for (auto& v : b) v = d(rng);
    std::vector<std::int64_t> sums(91);
    for (auto _ : state) {
        Sums(a.data(), b.data(), 45, points - 45, 45, sums.data());
        benchmark::DoNotOptimize(sums.data());
    }
    state.SetItemsProcessed(state.iterations() * 91 * (points - 90));
}

BENCHMARK(BM_LagProductSums<oxw::engine::LagProductSums>)->Arg(4096)->Arg(32768)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LagProductSums<oxw::engine::LagProductSums128>)->Arg(4096)->Arg(32768)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LagProductSums<oxw::engine::LagProductSumsPlain>)->Arg(4096)->Arg(32768)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
