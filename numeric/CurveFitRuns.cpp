// The line sums of several runs of pairs side by side. Each run's sums are sequential sums in
// the order of its pairs, as entering the run alone makes them; two runs share the two lanes of
// an SSE2 register, each lane doing the run's own additions, products and comparisons in the
// same order, so every lane gives the bits the scalar code gives (no fused multiply-add: the
// baseline x86-64 target has none). The longer run of a pair goes on alone from its lane's
// values when the shorter one ends.
#include <algorithm>

#include "numeric/CurveFit.h"
#include "numeric/UnivConst.h"

#if defined(__SSE2__)
#include <emmintrin.h>
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
#endif

}  // namespace

void TCurveFit::SumRuns(std::span<const Run> runs, std::span<RunSums> sums)
{
    const std::size_t count = std::min(runs.size(), sums.size());
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 1 < count; i += 2) {
        const Run &a = runs[i], &b = runs[i + 1];
        RunSums &sa = sums[i], &sb = sums[i + 1];
        sa = sb = EmptySums();
        const int m = std::max(std::min(a.n, b.n), 0);
        SumPair(a, b, m, sa, sb);
        SumRun(a, m, sa);
        SumRun(b, m, sb);
    }
#endif
    for (; i < count; ++i) {
        sums[i] = EmptySums();
        SumRun(runs[i], 0, sums[i]);
    }
}
