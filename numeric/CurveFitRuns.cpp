// The line sums of several runs of pairs side by side. Each run's sums are sequential sums in
// the order of its pairs, as entering the run alone makes them; runs share the lanes of a
// vector register (four in AVX2 where the processor has it, else two in SSE2), each lane doing
// its run's own additions, products and comparisons in the same order, so every lane gives the
// bits the scalar code gives. No fused multiply-add: neither target enables one. Runs of like
// lengths share a register; a longer run goes on alone from its lane's values when the
// shortest of its group ends.
#include <algorithm>
#include <numeric>
#include <vector>

#include "numeric/CurveFit.h"
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

// Field f of the four runs' sums, and back.
struct Quad {
    double v[4];
};
Quad Gather(RunSums* const s[4], double RunSums::*f)
{
    return {{s[0]->*f, s[1]->*f, s[2]->*f, s[3]->*f}};
}
void Scatter(const Quad& q, RunSums* const s[4], double RunSums::*f)
{
    for (int j = 0; j < 4; ++j) s[j]->*f = q.v[j];
}

// Pairs 0..m-1 of four runs, run j in lane j.
__attribute__((target("avx2"))) void SumQuad(const Run* const r[4], RunSums* const s[4], int m)
{
    Quad q[9];
    double RunSums::*const fields[9] = {&RunSums::minX, &RunSums::maxX, &RunSums::minY,
                                        &RunSums::maxY, &RunSums::x,    &RunSums::y,
                                        &RunSums::xq,   &RunSums::yq,   &RunSums::xy};
    for (int k = 0; k < 9; ++k) q[k] = Gather(s, fields[k]);
    __m256d minX = _mm256_loadu_pd(q[0].v), maxX = _mm256_loadu_pd(q[1].v);
    __m256d minY = _mm256_loadu_pd(q[2].v), maxY = _mm256_loadu_pd(q[3].v);
    __m256d x = _mm256_loadu_pd(q[4].v), y = _mm256_loadu_pd(q[5].v);
    __m256d xq = _mm256_loadu_pd(q[6].v), yq = _mm256_loadu_pd(q[7].v);
    __m256d xy = _mm256_loadu_pd(q[8].v);
    const double *x0 = r[0]->x, *x1 = r[1]->x, *x2 = r[2]->x, *x3 = r[3]->x;
    const double *y0 = r[0]->y, *y1 = r[1]->y, *y2 = r[2]->y, *y3 = r[3]->y;
    for (int i = 0; i < m; ++i) {
        const __m256d xi = _mm256_set_pd(x3[i], x2[i], x1[i], x0[i]);
        const __m256d yi = _mm256_set_pd(y3[i], y2[i], y1[i], y0[i]);
        // min_pd(v, m) is v < m ? v : m, max_pd(v, m) is v > m ? v : m: the scalar tests.
        minX = _mm256_min_pd(xi, minX);
        minY = _mm256_min_pd(yi, minY);
        maxX = _mm256_max_pd(xi, maxX);
        maxY = _mm256_max_pd(yi, maxY);
        x = _mm256_add_pd(x, xi);
        y = _mm256_add_pd(y, yi);
        xq = _mm256_add_pd(xq, _mm256_mul_pd(xi, xi));
        yq = _mm256_add_pd(yq, _mm256_mul_pd(yi, yi));
        xy = _mm256_add_pd(xy, _mm256_mul_pd(xi, yi));
    }
    _mm256_storeu_pd(q[0].v, minX);
    _mm256_storeu_pd(q[1].v, maxX);
    _mm256_storeu_pd(q[2].v, minY);
    _mm256_storeu_pd(q[3].v, maxY);
    _mm256_storeu_pd(q[4].v, x);
    _mm256_storeu_pd(q[5].v, y);
    _mm256_storeu_pd(q[6].v, xq);
    _mm256_storeu_pd(q[7].v, yq);
    _mm256_storeu_pd(q[8].v, xy);
    for (int k = 0; k < 9; ++k) Scatter(q[k], s, fields[k]);
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

}  // namespace

void TCurveFit::SumRuns(std::span<const Run> runs, std::span<RunSums> sums)
{
    const std::size_t count = std::min(runs.size(), sums.size());
    for (std::size_t i = 0; i < count; ++i) sums[i] = EmptySums();
    // Runs in the order of their lengths, so that a register's runs end nearly together.
    thread_local std::vector<std::size_t> order;
    order.resize(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return runs[a].n < runs[b].n; });
    std::size_t i = 0;
#if defined(__SSE2__)
    if (HasAvx2()) {
        for (; i + 3 < count; i += 4) {
            const Run* r[4];
            RunSums* s[4];
            for (int j = 0; j < 4; ++j) {
                r[j] = &runs[order[i + static_cast<std::size_t>(j)]];
                s[j] = &sums[order[i + static_cast<std::size_t>(j)]];
            }
            const int m = std::max(r[0]->n, 0);  // the shortest of the four
            SumQuad(r, s, m);
            for (int j = 0; j < 4; ++j) SumRun(*r[j], m, *s[j]);
        }
    }
    for (; i + 1 < count; i += 2) {
        const Run &a = runs[order[i]], &b = runs[order[i + 1]];
        RunSums &sa = sums[order[i]], &sb = sums[order[i + 1]];
        const int m = std::max(a.n, 0);
        SumPair(a, b, m, sa, sb);
        SumRun(a, m, sa);
        SumRun(b, m, sb);
    }
#endif
    for (; i < count; ++i) SumRun(runs[order[i]], 0, sums[order[i]]);
}
