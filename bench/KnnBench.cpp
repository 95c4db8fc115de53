// Speed of the nearest-neighbour surface as the contour view computes it: the 84 cells of the
// note-by-octave salience grid (12 chroma x 7 octaves) as rows of two standardised columns, each
// with its salience as target, estimated with k 5 and Gauss weights of smoothing 1.5 at every
// point of a 30 x 30 grid over the cells' range (900 estimates per iteration). Counter
// "allocs": memory allocations per 900 estimates (none expected: the search keeps its fixed
// list on the stack).

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "bench/AllocationCounter.h"
#include "numeric/NearestNeighbors.h"

using oxw::bench::gAllocations;

namespace {

constexpr int kChroma = 12;
constexpr int kOctaves = 7;
constexpr int kGrid = 30;

void BM_KnnSurface(benchmark::State& state)
{
    TMatrix cells;
    TVector salience;
    cells.Resize(2, kChroma * kOctaves);
    salience.Resize(kChroma * kOctaves);
    std::mt19937 gen(3);
    std::uniform_real_distribution<> level(0, 1);
    for (int o = 0; o < kOctaves; ++o)
        for (int c = 0; c < kChroma; ++c) {
            const int row = o * kChroma + c + 1;
            cells.SetVal(1, row, c);
            cells.SetVal(2, row, o);
            salience.SetVal(row, level(gen));
        }
    cells.StandardizeColumns(nullptr, nullptr);
    double lo[2], hi[2];
    cells.MinMax(1, 1, 1, cells.NrOfRows(), lo[0], hi[0]);
    cells.MinMax(2, 1, 2, cells.NrOfRows(), lo[1], hi[1]);
    TVector at;
    at.Resize(2);

    long long allocations = 0;
    double sum = 0;
    for (auto _ : state) {
        const long long before = gAllocations.load(std::memory_order_relaxed);
        for (int i = 0; i < kGrid; ++i)
            for (int j = 0; j < kGrid; ++j) {
                at.SetVal(1, lo[0] + (hi[0] - lo[0]) * i / (kGrid - 1));
                at.SetVal(2, lo[1] + (hi[1] - lo[1]) * j / (kGrid - 1));
                double est = 0, meanDist = 0;
                EstimateByKNN(cells, salience, 5, kwmGauss, 1.5, at, est, meanDist);
                sum += est;
            }
        allocations += gAllocations.load(std::memory_order_relaxed) - before;
        benchmark::DoNotOptimize(sum);
    }
    state.counters["allocs"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_KnnSurface)->Unit(benchmark::kMillisecond);

}  // namespace
