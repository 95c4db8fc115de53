// The line sums of several runs of pairs side by side. Each run's sums are sequential sums in
// the order of its pairs, as entering the run alone makes them; runs share the lanes of a
// vector register (four in AVX2 where the processor has it, else two in SSE2), each lane doing
// its run's own additions, products and comparisons in the same order, so every lane gives the
// bits the scalar code gives. No fused multiply-add: neither target enables one. In AVX2 a lane
// whose run ends takes up the next run; in SSE2 runs of like lengths share a register, and the
// longer one goes on alone from its lane's values when the shorter one ends.
#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

#include "numeric/CurveFit.h"
#include "numeric/Processor.h"
#include "numeric/UnivConst.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

using Run = TCurveFit::Run;
using RunSums = TCurveFit::RunSums;

RunSums EmptySums()
{
    RunSums s;
    s.minX = s.minY = static_cast<double>(uc_MaxDouble);
    s.maxX = s.maxY = -static_cast<double>(uc_MaxDouble);
    return s;
}

#if defined(__SSE2__)
// Pairs 0..m-1 of runs a and b (m at most both lengths), a in the low lane, b in the high one.
void SumPair(const Run& a, const Run& b, int m, RunSums& sa, RunSums& sb)
{
    auto both = [](double lo, double hi) { return _mm_set_pd(hi, lo); };
    __m128d minX = both(sa.minX, sb.minX), maxX = both(sa.maxX, sb.maxX);
    __m128d minY = both(sa.minY, sb.minY), maxY = both(sa.maxY, sb.maxY);
    __m128d x = both(sa.x, sb.x), y = both(sa.y, sb.y), xq = both(sa.xq, sb.xq);
    __m128d yq = both(sa.yq, sb.yq), xy = both(sa.xy, sb.xy);
    for (int i = 0; i < m; ++i) {
        const __m128d xi = _mm_loadh_pd(_mm_load_sd(a.x + i), b.x + i);
        const __m128d yi = _mm_loadh_pd(_mm_load_sd(a.y + i), b.y + i);
        // min_pd(v, m) is v < m ? v : m, max_pd(v, m) is v > m ? v : m: the scalar tests.
        minX = _mm_min_pd(xi, minX);
        minY = _mm_min_pd(yi, minY);
        maxX = _mm_max_pd(xi, maxX);
        maxY = _mm_max_pd(yi, maxY);
        x = _mm_add_pd(x, xi);
        y = _mm_add_pd(y, yi);
        xq = _mm_add_pd(xq, _mm_mul_pd(xi, xi));
        yq = _mm_add_pd(yq, _mm_mul_pd(yi, yi));
        xy = _mm_add_pd(xy, _mm_mul_pd(xi, yi));
    }
    auto split = [](__m128d v, double& lo, double& hi) {
        lo = _mm_cvtsd_f64(v);
        hi = _mm_cvtsd_f64(_mm_unpackhi_pd(v, v));
    };
    split(minX, sa.minX, sb.minX);
    split(maxX, sa.maxX, sb.maxX);
    split(minY, sa.minY, sb.minY);
    split(maxY, sa.maxY, sb.maxY);
    split(x, sa.x, sb.x);
    split(y, sa.y, sb.y);
    split(xq, sa.xq, sb.xq);
    split(yq, sa.yq, sb.yq);
    split(xy, sa.xy, sb.xy);
}

// The sums of four lanes, field by field (the order of kFields), between stretches.
struct Lanes {
    double v[9][4];
};
constexpr double RunSums::*kFields[9] = {&RunSums::minX, &RunSums::maxX, &RunSums::minY,
                                         &RunSums::maxY, &RunSums::x,    &RunSums::y,
                                         &RunSums::xq,   &RunSums::yq,   &RunSums::xy};

// The sums of four lanes in registers.
struct LaneSums {
    __m256d minX, maxX, minY, maxY, x, y, xq, yq, xy;
};

// Pair xi, yi (lane j: a pair of run j) added to the sums, as AdjustLineSums adds it; the
// extremes of x only with kMinMaxX, the square sum and extremes of y only with kYSquares.
template <bool kMinMaxX, bool kYSquares>
__attribute__((target("avx2"), always_inline)) inline void AddPair(LaneSums& s, __m256d xi,
                                                                   __m256d yi)
{
    // min_pd(v, m) is v < m ? v : m, max_pd(v, m) is v > m ? v : m: the scalar tests.
    if constexpr (kMinMaxX) {
        s.minX = _mm256_min_pd(xi, s.minX);
        s.maxX = _mm256_max_pd(xi, s.maxX);
    }
    if constexpr (kYSquares) {
        s.minY = _mm256_min_pd(yi, s.minY);
        s.maxY = _mm256_max_pd(yi, s.maxY);
    }
    s.x = _mm256_add_pd(s.x, xi);
    s.y = _mm256_add_pd(s.y, yi);
    s.xq = _mm256_add_pd(s.xq, _mm256_mul_pd(xi, xi));
    if constexpr (kYSquares) s.yq = _mm256_add_pd(s.yq, _mm256_mul_pd(yi, yi));
    s.xy = _mm256_add_pd(s.xy, _mm256_mul_pd(xi, yi));
}

// Values i and i + 1 of the four arrays p[0..3], as two vectors (lane j from p[j]): the halves of
// two loads each, interleaved.
__attribute__((target("avx2"), always_inline)) inline void LoadTwo(const double* const p[4],
                                                                   int i, __m256d& a, __m256d& b)
{
    const __m256d even = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(p[0] + i)),
                                              _mm_loadu_pd(p[2] + i), 1);
    const __m256d odd = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(p[1] + i)),
                                             _mm_loadu_pd(p[3] + i), 1);
    a = _mm256_unpacklo_pd(even, odd);
    b = _mm256_unpackhi_pd(even, odd);
}

// Pairs 0..k-1 from px[j], py[j] added to lane j's sums, for the four lanes.
template <bool kMinMaxX, bool kYSquares>
__attribute__((target("avx2"))) void SumStretch(const double* const px[4],
                                                const double* const py[4], int k, Lanes& l)
{
    LaneSums s{_mm256_loadu_pd(l.v[0]), _mm256_loadu_pd(l.v[1]), _mm256_loadu_pd(l.v[2]),
               _mm256_loadu_pd(l.v[3]), _mm256_loadu_pd(l.v[4]), _mm256_loadu_pd(l.v[5]),
               _mm256_loadu_pd(l.v[6]), _mm256_loadu_pd(l.v[7]), _mm256_loadu_pd(l.v[8])};
    int i = 0;
    for (; i + 2 <= k; i += 2) {
        __m256d x0, x1, y0, y1;
        LoadTwo(px, i, x0, x1);
        LoadTwo(py, i, y0, y1);
        AddPair<kMinMaxX, kYSquares>(s, x0, y0);
        AddPair<kMinMaxX, kYSquares>(s, x1, y1);
    }
    if (i < k) {
        AddPair<kMinMaxX, kYSquares>(s, _mm256_set_pd(px[3][i], px[2][i], px[1][i], px[0][i]),
                                     _mm256_set_pd(py[3][i], py[2][i], py[1][i], py[0][i]));
    }
    const __m256d out[9] = {s.minX, s.maxX, s.minY, s.maxY, s.x, s.y, s.xq, s.yq, s.xy};
    for (int f = 0; f < 9; ++f) _mm256_storeu_pd(l.v[f], out[f]);
}

// Every run in a lane of its own, four lanes side by side: when a lane's run ends, its sums are
// taken out and the next run starts in that lane, so no run is left to finish alone. A lane
// without a run reads zeros, and its sums are never taken out. When every run's x rises, the
// extremes of x are taken from the ends of the runs.
void SumInLanes(std::span<const Run> runs, std::span<RunSums> sums, std::size_t count)
{
    struct Lane {
        std::size_t run = 0;
        const double *x = nullptr, *y = nullptr;
        int left = 0;
        bool busy = false;
    };
    int longest = 1;
    for (std::size_t i = 0; i < count; ++i) longest = std::max(longest, runs[i].n);
    thread_local std::vector<double> zeros;
    if (zeros.size() < static_cast<std::size_t>(longest))
        zeros.resize(static_cast<std::size_t>(longest), 0.0);
    bool xRises = true, lineOnly = true;
    for (std::size_t i = 0; i < count; ++i) {
        xRises = xRises && runs[i].xRises;
        lineOnly = lineOnly && runs[i].lineOnly;
    }
    const auto stretch = xRises ? (lineOnly ? SumStretch<false, false> : SumStretch<false, true>)
                                : (lineOnly ? SumStretch<true, false> : SumStretch<true, true>);
    Lanes sumsOf{};
    Lane lane[4];
    std::size_t next = 0;
    const RunSums empty = EmptySums();
    auto start = [&](int j) {
        while (next < count && runs[next].n <= 0) ++next;  // an empty run keeps empty sums
        if (next == count) {
            lane[j] = {};
            return;
        }
        lane[j] = {next, runs[next].x, runs[next].y, runs[next].n, true};
        ++next;
        for (int f = 0; f < 9; ++f) sumsOf.v[f][j] = empty.*kFields[f];
    };
    for (int j = 0; j < 4; ++j) start(j);
    for (;;) {
        int k = 0;
        for (const Lane& l : lane)
            if (l.busy) k = k == 0 ? l.left : std::min(k, l.left);
        if (k == 0) break;
        const double* px[4];
        const double* py[4];
        for (int j = 0; j < 4; ++j) {
            px[j] = lane[j].busy ? lane[j].x : zeros.data();
            py[j] = lane[j].busy ? lane[j].y : zeros.data();
        }
        stretch(px, py, k, sumsOf);
        for (int j = 0; j < 4; ++j) {
            Lane& l = lane[j];
            if (!l.busy) continue;
            l.x += k;
            l.y += k;
            l.left -= k;
            if (l.left > 0) continue;
            RunSums& out = sums[l.run];
            for (int f = 0; f < 9; ++f) out.*kFields[f] = sumsOf.v[f][j];
            if (xRises) {
                const Run& run = runs[l.run];
                out.minX = run.x[0];
                out.maxX = run.x[run.n - 1];
            }
            start(j);
        }
    }
}

#endif

}  // namespace

void TCurveFit::SumRuns(std::span<const Run> runs, std::span<RunSums> sums)
{
    const std::size_t count = std::min(runs.size(), sums.size());
    // The sums a line-only run leaves out are NaN, whichever way the sums were worked out.
    const auto leaveOut = [&] {
        constexpr double kLeftOut = std::numeric_limits<double>::quiet_NaN();
        for (std::size_t i = 0; i < count; ++i)
            if (runs[i].lineOnly) sums[i].yq = sums[i].minY = sums[i].maxY = kLeftOut;
    };
    for (std::size_t i = 0; i < count; ++i) sums[i] = EmptySums();
#if defined(__SSE2__)
    if (oxw::numeric::HasAvx2()) {
        SumInLanes(runs, sums, count);
        leaveOut();
        return;
    }
    // Pairs of runs in the order of their lengths, so that the runs of a pair end nearly
    // together.
    thread_local std::vector<std::size_t> order;
    order.resize(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return runs[a].n < runs[b].n; });
    std::size_t i = 0;
    for (; i + 1 < count; i += 2) {
        const Run &a = runs[order[i]], &b = runs[order[i + 1]];
        RunSums &sa = sums[order[i]], &sb = sums[order[i + 1]];
        const int m = std::max(a.n, 0);
        SumPair(a, b, m, sa, sb);
        SumRun(a, m, sa);
        SumRun(b, m, sb);
    }
    for (; i < count; ++i) SumRun(runs[order[i]], 0, sums[order[i]]);
#else
    for (std::size_t i = 0; i < count; ++i) SumRun(runs[i], 0, sums[i]);
#endif
    leaveOut();
}
