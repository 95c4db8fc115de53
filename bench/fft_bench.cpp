// Speed of the FFT component against FFTW at the engine's two block lengths.
// BM_TFastFourierReal: real samples into the real parts, zero imaginary parts, Transform; its
// counterpart is FFTW's real-input (r2c) transform of the same samples. The engine's own use is
// BM_TFastFourierRealSeries: samples and window in, split spectrum out, no interleaved copy.
// BM_TFastFourierComplex and BM_FFTW_c2c compare general complex data. Every iteration
// reloads the input, in both libraries, since the component transforms in place.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "numeric/FastFourier.h"

#ifdef OXW_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

std::vector<double> Samples(std::size_t n)
{
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> x(n);
    for (auto& v : x)
        v = u(rng);
    return x;
}

void BM_TFastFourierReal(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const auto x = Samples(static_cast<std::size_t>(n));
    TFastFourier ff;
    ff.SetNumData(n);
    for (auto _ : state) {
        auto d = ff.FData();
        for (int i = 0; i < n; ++i) {
            d[2 * static_cast<std::size_t>(i)] = x[static_cast<std::size_t>(i)];
            d[2 * static_cast<std::size_t>(i) + 1] = 0.0;
        }
        ff.Transform();
        benchmark::DoNotOptimize(d.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_TFastFourierComplex(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const auto x = Samples(2 * static_cast<std::size_t>(n));
    TFastFourier ff;
    ff.SetNumData(n);
    for (auto _ : state) {
        std::memcpy(ff.FData().data(), x.data(), x.size() * sizeof(double));
        ff.Transform();
        benchmark::DoNotOptimize(ff.FData().data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// The engine's block transform: a real series and a window in, the spectrum out as split real
// and imaginary parts.
void BM_TFastFourierRealSeries(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const auto x = Samples(static_cast<std::size_t>(n));
    std::vector<double> re(x.size()), im(x.size());
    TFastFourier ff;
    ff.SetNumData(n);
    ff.SetWgtWin(fwHamming);
    for (auto _ : state) {
        ff.TransformReal(x, re, im);
        benchmark::DoNotOptimize(re.data());
        benchmark::DoNotOptimize(im.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(BM_TFastFourierReal)->Arg(4096)->Arg(32768);
BENCHMARK(BM_TFastFourierRealSeries)->Arg(4096)->Arg(32768);
BENCHMARK(BM_TFastFourierComplex)->Arg(4096)->Arg(32768);

#ifdef OXW_HAVE_FFTW
void BM_FFTW_r2c(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto x = Samples(n);
    auto* in = static_cast<double*>(fftw_malloc(n * sizeof(double)));
    auto* out = static_cast<fftw_complex*>(fftw_malloc((n / 2 + 1) * sizeof(fftw_complex)));
    fftw_plan plan = fftw_plan_dft_r2c_1d(static_cast<int>(n), in, out, FFTW_MEASURE);
    for (auto _ : state) {
        std::memcpy(in, x.data(), n * sizeof(double));
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(n));
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}

void BM_FFTW_c2c(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto x = Samples(2 * n);
    auto* in = static_cast<fftw_complex*>(fftw_malloc(n * sizeof(fftw_complex)));
    auto* out = static_cast<fftw_complex*>(fftw_malloc(n * sizeof(fftw_complex)));
    fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(n), in, out, FFTW_BACKWARD, FFTW_MEASURE);
    for (auto _ : state) {
        std::memcpy(in, x.data(), x.size() * sizeof(double));
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(n));
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}

BENCHMARK(BM_FFTW_r2c)->Arg(4096)->Arg(32768);
BENCHMARK(BM_FFTW_c2c)->Arg(4096)->Arg(32768);
#endif

} // namespace
