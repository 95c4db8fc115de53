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

// Pairs 0..k-1 from px[j], py[j] added to lane j's sums, for the four lanes; the extremes of x
// only with kMinMaxX, the square sum and extremes of y only with kYSquares.
template <bool kMinMaxX, bool kYSquares>
__attribute__((target("avx2"))) void SumStretch(const double* const px[4],
                                                const double* const py[4], int k, Lanes& l)
{
    __m256d minX = _mm256_loadu_pd(l.v[0]), maxX = _mm256_loadu_pd(l.v[1]);
    __m256d minY = _mm256_loadu_pd(l.v[2]), maxY = _mm256_loadu_pd(l.v[3]);
    __m256d x = _mm256_loadu_pd(l.v[4]), y = _mm256_loadu_pd(l.v[5]);
    __m256d xq = _mm256_loadu_pd(l.v[6]), yq = _mm256_loadu_pd(l.v[7]);
    __m256d xy = _mm256_loadu_pd(l.v[8]);
    const double *x0 = px[0], *x1 = px[1], *x2 = px[2], *x3 = px[3];
    const double *y0 = py[0], *y1 = py[1], *y2 = py[2], *y3 = py[3];
    for (int i = 0; i < k; ++i) {
        const __m256d xi = _mm256_set_pd(x3[i], x2[i], x1[i], x0[i]);
        const __m256d yi = _mm256_set_pd(y3[i], y2[i], y1[i], y0[i]);
        // min_pd(v, m) is v < m ? v : m, max_pd(v, m) is v > m ? v : m: the scalar tests.
        if constexpr (kMinMaxX) {
            minX = _mm256_min_pd(xi, minX);
            maxX = _mm256_max_pd(xi, maxX);
        }
        if constexpr (kYSquares) {
            minY = _mm256_min_pd(yi, minY);
            maxY = _mm256_max_pd(yi, maxY);
        }
        x = _mm256_add_pd(x, xi);
        y = _mm256_add_pd(y, yi);
        xq = _mm256_add_pd(xq, _mm256_mul_pd(xi, xi));
        if constexpr (kYSquares) yq = _mm256_add_pd(yq, _mm256_mul_pd(yi, yi));
        xy = _mm256_add_pd(xy, _mm256_mul_pd(xi, yi));
    }
    _mm256_storeu_pd(l.v[0], minX);
    _mm256_storeu_pd(l.v[1], maxX);
    _mm256_storeu_pd(l.v[2], minY);
    _mm256_storeu_pd(l.v[3], maxY);
    _mm256_storeu_pd(l.v[4], x);
    _mm256_storeu_pd(l.v[5], y);
    _mm256_storeu_pd(l.v[6], xq);
    _mm256_storeu_pd(l.v[7], yq);
    _mm256_storeu_pd(l.v[8], xy);
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
