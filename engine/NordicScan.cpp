#include "engine/NordicScan.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "engine/Conversions.h"
#include "engine/Convert.h"
#include "numeric/CurveFit.h"
#include "numeric/FMath.h"
#include "numeric/FastFourier.h"
#include "numeric/Processor.h"

namespace oxw::engine::nordic {

namespace {

// Bits j = 0..63 of one word of each level-step mask, from the steps d(k), k = base + j (those
// outside 1..points-1 given as 0, which sets no bit).
struct StepWord {
    std::uint64_t rise = 0, smallRise = 0, fall = 0, smallFall = 0;
};

StepWord StepBits(const double* d) {
    StepWord w;
#if defined(__SSE2__)
    const __m128d one = _mm_set1_pd(1.0), minusOne = _mm_set1_pd(-1.0), zero = _mm_setzero_pd();
    for (int j = 0; j < 64; j += 2) {
        const __m128d v = _mm_loadu_pd(d + j);
        const auto bits = [j](__m128d m) {
            return static_cast<std::uint64_t>(_mm_movemask_pd(m)) << j;
        };
        w.rise |= bits(_mm_cmpge_pd(v, one));
        w.smallRise |= bits(_mm_and_pd(_mm_cmpgt_pd(v, zero), _mm_cmplt_pd(v, one)));
        w.fall |= bits(_mm_cmple_pd(v, minusOne));
        w.smallFall |= bits(_mm_and_pd(_mm_cmplt_pd(v, zero), _mm_cmpgt_pd(v, minusOne)));
    }
#else
    for (int j = 0; j < 64; ++j) {
        const double v = d[j];
        w.rise |= static_cast<std::uint64_t>(v >= 1.0) << j;
        w.smallRise |= static_cast<std::uint64_t>((v > 0) & (v < 1.0)) << j;
        w.fall |= static_cast<std::uint64_t>(v <= -1.0) << j;
        w.smallFall |= static_cast<std::uint64_t>((v < 0) & (v > -1.0)) << j;
    }
#endif
    return w;
}

#if defined(__SSE2__)
// The bits of the steps d(k) = L[k] - L[k - 1], k = base + j, j = 0..63, all of them inside the
// levels: the same comparisons in AVX2, four steps at a time. A small rise is a rise (d > 0)
// that is not one of 1 dB or more, a small fall likewise (a NaN step is neither).
__attribute__((target("avx2"))) StepWord StepBitsAvx2(const double* L, int base) {
    const __m256d one = _mm256_set1_pd(1.0), minusOne = _mm256_set1_pd(-1.0);
    const __m256d zero = _mm256_setzero_pd();
    std::uint64_t rise = 0, up = 0, fall = 0, down = 0;
    for (int j = 0; j < 64; j += 4) {
        const __m256d d =
            _mm256_sub_pd(_mm256_loadu_pd(L + base + j), _mm256_loadu_pd(L + base + j - 1));
        const int r = _mm256_movemask_pd(_mm256_cmp_pd(d, one, _CMP_GE_OQ));
        const int u = _mm256_movemask_pd(_mm256_cmp_pd(d, zero, _CMP_GT_OQ));
        const int f = _mm256_movemask_pd(_mm256_cmp_pd(d, minusOne, _CMP_LE_OQ));
        const int w = _mm256_movemask_pd(_mm256_cmp_pd(d, zero, _CMP_LT_OQ));
        rise |= static_cast<std::uint64_t>(r) << j;
        up |= static_cast<std::uint64_t>(u) << j;
        fall |= static_cast<std::uint64_t>(f) << j;
        down |= static_cast<std::uint64_t>(w) << j;
    }
    return {rise, up & ~rise, fall, down & ~fall};
}
#endif

// Bit k of the result: bit k - s of bits (s = 1, 2); bit k + s for a negative s.
std::uint64_t Shifted(const std::vector<std::uint64_t>& bits, std::size_t w, int s) {
    const std::uint64_t here = bits[w];
    if (s > 0) return (here << s) | (w > 0 ? bits[w - 1] >> (64 - s) : 0);
    const int r = -s;
    return (here >> r) | (w + 1 < bits.size() ? bits[w + 1] << (64 - r) : 0);
}

// The first line j, from <= j <= to, whose bit in bits (bit j of word j / 64) is set (or clear,
// for set false); to + 1 when there is none.
int FirstWithBit(const std::uint64_t* bits, int from, int to, bool set) {
    for (int j = from; j <= to;) {
        const auto u = static_cast<std::size_t>(j);
        const std::uint64_t word = (set ? bits[u / 64] : ~bits[u / 64]) >> (u % 64);
        if (word != 0) return std::min(j + std::countr_zero(word), to + 1);
        j += 64 - static_cast<int>(u % 64);
    }
    return to + 1;
}

// Sets the bits from..to.
void SetBits(std::uint64_t* bits, int from, int to) {
    for (int j = from; j <= to;) {
        const auto u = static_cast<std::size_t>(j);
        const int shift = static_cast<int>(u % 64), n = std::min(64 - shift, to - j + 1);
        bits[u / 64] |= (n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1) << shift;
        j += n;
    }
}

// The sum of v[0..n-1], added in any order.
#if defined(__SSE2__)
__attribute__((target("avx2"))) double AnyOrderSumAvx2(const double* v, int n) {
    __m256d a = _mm256_setzero_pd(), b = a, c = a, d = a;
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        a = _mm256_add_pd(a, _mm256_loadu_pd(v + i));
        b = _mm256_add_pd(b, _mm256_loadu_pd(v + i + 4));
        c = _mm256_add_pd(c, _mm256_loadu_pd(v + i + 8));
        d = _mm256_add_pd(d, _mm256_loadu_pd(v + i + 12));
    }
    double lanes[4];
    _mm256_storeu_pd(lanes, _mm256_add_pd(_mm256_add_pd(a, b), _mm256_add_pd(c, d)));
    double sum = (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
    for (; i < n; ++i) sum += v[i];
    return sum;
}
#endif

double AnyOrderSum(const double* v, int n) {
#if defined(__SSE2__)
    if (numeric::HasAvx2()) return AnyOrderSumAvx2(v, n);
#endif
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += v[i];
    return sum;
}

// The sum of L over the lines from..from + n - 1, in any order.
double LevelSum(const LineTable& t, int from, int n) {
    const int to = from + n, a = (from + 63) / 64, b = to / 64;
    if (!t.levelSums || a >= b) return AnyOrderSum(t.L + from, n);
    return AnyOrderSum(t.L + from, 64 * a - from) + (t.levelSums[b] - t.levelSums[a]) +
           AnyOrderSum(t.L + 64 * b, to - 64 * b);
}

// 10 lg of the energy sum of m levels first, first + step, ... (dB): a straight line in dB over
// equally spaced lines, summed as the geometric series it is.
double LineEnergySumDb(double first, double step, int m) {
    const long double t = static_cast<long double>(step) * fmath::LN10 / 10;
    const long double terms = t == 0 ? m : std::expm1(m * t) / std::expm1(t);
    return first + 10 * fmath::Log10(static_cast<double>(terms));
}

#if defined(__SSE2__)
// MirrorLevels for the lines half..half + 4 m - 1, four at a time: the first line k that does
// not equal its mirror line (the lines before it done); n when all do.
__attribute__((target("avx2"))) std::size_t MirrorLevelsAvx2(const double* intensity,
                                                             double* level, std::size_t k,
                                                             std::size_t n) {
    for (; k + 4 <= n; k += 4) {
        // Lines k..k+3 and, reversed, their mirror lines n-k..n-k-3.
        const __m256d here = _mm256_loadu_pd(intensity + k);
        const __m256d there = _mm256_permute4x64_pd(_mm256_loadu_pd(intensity + n - k - 3), 0x1B);
        if (_mm256_movemask_pd(_mm256_cmp_pd(here, there, _CMP_EQ_OQ)) != 0xF) return k;
        _mm256_storeu_pd(level + k, _mm256_permute4x64_pd(_mm256_loadu_pd(level + n - k - 3), 0x1B));
    }
    return k;
}
#endif

// The levels of the lines half..n-1 of a block's spectrum: a line whose intensity equals that
// of its mirror line n - k (k > n / 2) takes that line's level, the others are converted.
void MirrorLevels(const double* intensity, double* level, std::size_t half, std::size_t n) {
    for (std::size_t k = half; k < n; ++k) {
#if defined(__SSE2__)
        if (numeric::HasAvx2() && (k = MirrorLevelsAvx2(intensity, level, k, n)) == n) break;
#endif
        const std::size_t mirror = n - k;
        level[k] = intensity[k] == intensity[mirror] ? level[mirror] : I2dB(intensity[k]);
    }
}

}  // namespace

void LevelSteps::Build(const double* L, int points) {
    const int n = std::max(points, 0);
    const auto words = static_cast<std::size_t>(n / 64 + 1);
    for (auto* m : {&rise, &smallRise, &fall, &smallFall}) m->resize(words);
    // The steps of one word of lines at a time; 0 outside 1..n-1.
    double d[64];
#if defined(__SSE2__)
    const bool avx2 = numeric::HasAvx2();
#endif
    for (std::size_t w = 0; w < words; ++w) {
        const int base = static_cast<int>(w * 64);
        StepWord bits;
        if (base >= 1 && base + 63 <= n - 1) {
#if defined(__SSE2__)
            if (avx2) {
                bits = StepBitsAvx2(L, base);
            } else
#endif
            {
                for (int j = 0; j < 64; ++j) d[j] = L[base + j] - L[base + j - 1];
                bits = StepBits(d);
            }
        } else {
            for (int j = 0; j < 64; ++j) {
                const int k = base + j;
                d[j] = k >= 1 && k <= n - 1 ? L[k] - L[k - 1] : 0.0;
            }
            bits = StepBits(d);
        }
        rise[w] = bits.rise;
        smallRise[w] = bits.smallRise;
        fall[w] = bits.fall;
        smallFall[w] = bits.smallFall;
    }
}

void KeepLineEnergies(const LineTable& t, int from, int to) {
    if (!t.energy || !t.energyKept) return;
    // Each stretch of lines not yet kept is converted in one call.
    const int last = std::min(to, t.points - 1);
    for (int k = FirstWithBit(t.energyKept, std::max(from, 0), last, false); k <= last;) {
        const int end = FirstWithBit(t.energyKept, k, last, true) - 1;
        dB2I(t.L + k, t.energy + k, static_cast<std::size_t>(end - k + 1));
        SetBits(t.energyKept, k, end);
        k = FirstWithBit(t.energyKept, end + 1, last, false);
    }
}

double LineEnergy(const LineTable& t, int k) {
    if (!t.energy || !t.energyKept) return dB2I(t.L[k]);
    const auto u = static_cast<std::size_t>(k);
    std::uint64_t& word = t.energyKept[u / 64];
    const std::uint64_t bit = std::uint64_t{1} << (u % 64);
    if (!(word & bit)) {
        t.energy[u] = dB2I(t.L[k]);
        word |= bit;
    }
    return t.energy[u];
}

LineTable LineTableCache::For(const Spectrum& intensity, int points, int rate,
                              const TFastFourier& fft) {
    const auto n = static_cast<std::size_t>(points);
    if (points != points_ || rate != rate_) {
        points_ = points;
        rate_ = rate;
        levelsValid_ = false;
        freq_.resize(n);
        for (int k = 0; k < points; ++k)
            freq_[static_cast<std::size_t>(k)] = fft.FreqOfLine(k, 1.0 / rate);
        bandTerm_.assign(n, std::numeric_limits<double>::quiet_NaN());
        freqRisesTo_ = points > 0 ? 0 : -1;
        while (freqRisesTo_ + 1 < points && freq_[static_cast<std::size_t>(freqRisesTo_)] <
                                                freq_[static_cast<std::size_t>(freqRisesTo_ + 1)])
            ++freqRisesTo_;
        // The term grows with the frequency.
        bandTermAbove_ = std::numeric_limits<double>::infinity();
        if (points > 0)
            bandTermAbove_ = AudibilityBandTerm(freq_[static_cast<std::size_t>(freqRisesTo_)]);
    }
    // The same bytes give the same levels (so do values that differ only in the sign of a
    // zero, which are worked out again): a byte comparison decides.
    const bool same = levelsValid_ && (n == 0 || std::memcmp(intensity_.data(), intensity.data(),
                                                             n * sizeof(double)) == 0);
    if (!same) {
        intensity_.assign(intensity.begin(), intensity.begin() + points);
        level_.resize(n);
        // The spectrum of a real block mirrors at half the block length: a line whose
        // intensity equals its mirror line's takes that line's level. The lines up to the
        // middle are converted together.
        const std::size_t half = std::min(n, n / 2 + 1);
        I2dB(intensity_.data(), level_.data(), half);
        MirrorLevels(intensity_.data(), level_.data(), half, n);
        steps_.Build(level_.data(), points);
        levelSums_.resize(n / 64 + 1);
        levelSums_[0] = 0;
        for (std::size_t i = 0; i + 1 < levelSums_.size(); ++i)
            levelSums_[i + 1] = levelSums_[i] + AnyOrderSum(level_.data() + 64 * i, 64);
        energy_.resize(n);
        energyKept_.assign(n / 64 + 1, 0);
        levelsValid_ = true;
    }
    return {points,          rate,           level_.data(),     freq_.data(),
            &steps_,         energy_.data(), energyKept_.data(), freqRisesTo_,
            bandTerm_.data(), intensity_.data(), levelSums_.data(), bandTermAbove_};
}

Scan::Scan(const LineTable& lines, Extreme kind, LastMeasures last)
    : t_(lines), sign_(kind == Extreme::Peak ? 1.0 : -1.0), last_(last) {
    if (t_.steps) {
        PauseMasks(*t_.steps);
    } else {
        LevelSteps steps;
        steps.Build(t_.L, t_.points);
        PauseMasks(steps);
    }
}

void Scan::PauseMasks(const LevelSteps& steps) {
    // M(k) - M(k - 1) is sign x d(k) to the last bit (negation is exact), so the shape of a
    // pause (a step of at least 1 dB after one of more than 0 and less than 1 dB) reads off
    // the step masks: a first pause of a peak ends at p when d(p) rises by 1 dB or more after
    // a small rise d(p - 1); a last pause starts at q when d(q + 1) falls by 1 dB or more and
    // d(q + 2) falls a little. A dip's pauses are the same with rises and falls exchanged.
    const bool peak = sign_ > 0;
    const auto& up = peak ? steps.rise : steps.fall;
    const auto& smallUp = peak ? steps.smallRise : steps.smallFall;
    const auto& down = peak ? steps.fall : steps.rise;
    const auto& smallDown = peak ? steps.smallFall : steps.smallRise;
    const std::size_t words = up.size();
    firstPauseEnds_.resize(words);
    lastPauseStarts_.resize(words);
    for (std::size_t w = 0; w < words; ++w) {
        firstPauseEnds_[w] = up[w] & Shifted(smallUp, w, 1);
        lastPauseStarts_[w] = Shifted(down, w, -1) & Shifted(smallDown, w, -2);
    }
    // First pauses end at lines 3..points-2 only.
    const int n = std::max(t_.points, 0);
    firstPauseEnds_[0] &= ~std::uint64_t{7};
    for (int k = std::max(n - 1, 3); k <= n; ++k)
        firstPauseEnds_[static_cast<std::size_t>(k) / 64] &= ~(std::uint64_t{1} << (k % 64));
}

double Scan::Greatest(int from, int to) const {
    // Maxima are exact in any order; a lane keeps v > m ? v : m, so a NaN level is passed over
    // as the line-by-line test passes it over.
    double top = -std::numeric_limits<double>::infinity();
    int k = from;
#if defined(__SSE2__)
    const __m128d sign = _mm_set1_pd(sign_);
    __m128d a = _mm_set1_pd(top), b = a;
    for (; k + 3 <= to; k += 4) {
        a = _mm_max_pd(_mm_mul_pd(sign, _mm_loadu_pd(t_.L + k)), a);
        b = _mm_max_pd(_mm_mul_pd(sign, _mm_loadu_pd(t_.L + k + 2)), b);
    }
    a = _mm_max_pd(a, b);
    const double lo = _mm_cvtsd_f64(a), hi = _mm_cvtsd_f64(_mm_unpackhi_pd(a, a));
    top = lo > hi ? lo : hi;
#endif
    for (; k <= to; ++k) {
        const double m = M(k);
        if (m > top) top = m;
    }
    return top;
}

int Scan::NextSet(const std::vector<std::uint64_t>& bits, int from, int to) {
    if (from > to) return -1;
    auto word = static_cast<std::size_t>(from) / 64;
    std::uint64_t w = bits[word] & (~std::uint64_t{0} << (from % 64));
    while (w == 0) {
        if (++word >= bits.size()) return -1;
        w = bits[word];
    }
    const int k = static_cast<int>(word * 64) + std::countr_zero(w);
    return k <= to ? k : -1;
}

bool Scan::Next(Candidate& c) {
    while (!ended_) {
        c.LastNoisePauseStartLine = c.LastNoisePauseEndLine = 0;
        // The next line p > p_ (up to points - 2) that ends a first noise pause; a line that
        // does not moves the scan on by one line only.
        const int p = NextSet(firstPauseEnds_, p_ + 1, t_.points - 2);
        if (p < 0) break;
        p_ = p;
        c.FirstNoisePauseStartLine = p_ - 2;
        c.FirstNoisePauseEndLine = p_;
        if (!LastNoisePause(c)) break;
        p_ = c.LastNoisePauseEndLine;
        if (Measure(c)) return true;
    }
    ended_ = true;
    return false;
}

bool Scan::LastNoisePause(Candidate& c) {
    const int q = NextSet(lastPauseStarts_, p_, t_.points - 3);
    if (q < 0) return false;
    c.LastNoisePauseStartLine = q;
    c.LastNoisePauseEndLine = q + 2;
    return true;
}

bool Scan::Measure(Candidate& c) {
    const double* f = t_.f;
    // Noise references one line outside each pause; the extreme must clear both by 6 dB.
    const int refStart = c.FirstNoisePauseStartLine - 1, refEnd = c.LastNoisePauseStartLine + 1;
    c.NoisePauseStartdB = t_.L[refStart];
    c.NoisePauseEnddB = t_.L[refEnd];
    const double ms = M(refStart), me = M(refEnd);
    // The line of the first greatest level that clears both references by 6 dB and exceeds
    // both: every level that clears them exceeds them, so it is the first greatest level of
    // all, if that clears them.
    const int from = c.FirstNoisePauseStartLine + 1, to = c.LastNoisePauseStartLine + 1;
    // The extreme's frequency is read once its line is known: its cache line is asked for now.
    for (int k = from; k <= to; k += 8) __builtin_prefetch(f + k);
    const double top = Greatest(from, to);
    if (!(top >= ms + 6.0 && top >= me + 6.0 && top > (ms > me ? ms : me))) return false;
    int line = from;
    while (!(M(line) == top)) ++line;
    const double best = M(line);  // a greatest level of 0 keeps the sign of its first line
    c.ExtremeLine = line;
    c.ExtremeHz = f[line];
    c.ExtremedB = sign_ * best;

    // 3 dB points: the nearest lines on either side at least 3 dB (rounded) from the extreme.
    // Below 2^52 a difference rounds to 3 or more exactly when it exceeds 2.5.
    auto drop = [&](int k) {
        const double d = best - M(k);
        return d < 0x1p52 ? d > 2.5 : RoundHalfEven(d) >= 3;
    };
    int start = 0, end = 0;
    for (int k = line; k >= c.FirstNoisePauseEndLine + 1 && start == 0; --k)
        if (drop(k)) {
            start = k;
            last_.Start3dBHz = f[k];
        }
    for (int k = line; k <= c.LastNoisePauseStartLine - 1 && end == 0; ++k)
        if (drop(k)) {
            end = k;
            last_.End3dBHz = f[k];
        }
    if (start == 0 || end == 0) return false;
    c.Start3dBLine = start;
    c.End3dBLine = end;
    c.BandWidth3dBHz = last_.End3dBHz - last_.Start3dBHz;
    last_.BandWidth3dBHz = c.BandWidth3dBHz;
    c.CriticalBandWidth = c.ExtremeHz < 500.0 ? 100.0 : c.ExtremeHz / 5.0;
    last_.CriticalBandWidth = c.CriticalBandWidth;

    // Regression range: the critical band, doubled when it lies inside the noise pauses.
    const double linesInCB = c.CriticalBandWidth / t_.rate * t_.points;
    const int h = static_cast<int>(RoundHalfEven(linesInCB / 2));
    c.HalfBandLines = h;
    c.LinearRegressionStartLine = line - h;
    c.LinearRegressionEndLine = line + h;
    if (c.LinearRegressionStartLine > c.FirstNoisePauseStartLine &&
        c.LinearRegressionEndLine < c.LastNoisePauseEndLine) {
        c.LinearRegressionStartLine = line - 2 * h;
        c.LinearRegressionEndLine = line + 2 * h;
    }
    // A tone must be narrower than a tenth of its critical band and its band inside the block.
    return c.LinearRegressionStartLine > 0 && c.LinearRegressionEndLine < t_.points / 2.0 &&
           c.BandWidth3dBHz > 0 && c.BandWidth3dBHz < c.CriticalBandWidth / 10;
}

TCurveFit::Run RegressionRun(const LineTable& t, const Candidate& c, bool lineOnly) {
    const int start = c.LinearRegressionStartLine;
    const int end = c.LinearRegressionEndLine;
    return {t.f + start, t.L + start, end - start + 1, start >= 0 && end <= t.fRisesTo, lineOnly};
}

void CandidateBatch::Collect(Scan& scan, int room, const LineTable& t,
                             std::optional<double> dipsAbove) {
    list.clear();
    position.clear();
    runs.clear();
    level.clear();
    Candidate c;
    while (static_cast<int>(list.size()) < room && scan.Next(c)) {
        list.push_back(c);
        position.push_back(scan.Position());
        runs.push_back(RegressionRun(t, c, dipsAbove.has_value()));
        if (!dipsAbove) {
            // A tone's kept frequency term is read when it is assessed.
            if (t.bandTerm) __builtin_prefetch(t.bandTerm + c.ExtremeLine);
            continue;
        }
        level.push_back(PauseLevel(t, c));
        if (DipAudibilityCeiling(t, c, level.back()) < *dipsAbove) runs.back().n = 0;
    }
    sums.resize(runs.size());
    TCurveFit::SumRuns(runs, sums);
}

Assessment Assess(const LineTable& t, const Candidate& c, TCurveFit& fit) {
    const TCurveFit::Run run = RegressionRun(t, c);
    TCurveFit::RunSums sums;
    TCurveFit::SumRuns({&run, 1}, {&sums, 1});
    return Assess(t, c, fit, sums);
}

namespace {

// The audibility of a level above its masking noise, given the frequency term.
double AudibilityWithTerm(double level, double masking, double bandTerm) {
    return level - masking + 2.0 + bandTerm;
}

// The sum of E(e[i]) w r^i, i = 0..n-1, E(x) = x for an intensity x > 0 and 1 otherwise (the
// energy of the level 0 dB that I2dB gives it), in 16 lanes side by side: lane l takes the terms
// i = l, l + 16, ..., its weight multiplied by r^16 from one to the next (in AVX2 where the
// processor has it: each lane does the products and additions of the plain loop, so both give
// the same bits); the lanes are added in pairs at the end.
constexpr int kSumLanes = 16;

double Energy(double intensity) { return intensity > 0 ? intensity : 1.0; }

#if defined(__SSE2__)
// One step of the lanes in AVX2: a += E(x) v, v *= step. (Four lanes in named registers each;
// kept in arrays, the lanes would make every step wait for a store.)
__attribute__((target("avx2"), always_inline)) inline void LaneStep(__m256d& a, __m256d& v,
                                                                    __m256d x, __m256d step) {
    const __m256d energy =
        _mm256_blendv_pd(_mm256_set1_pd(1.0), x, _mm256_cmp_pd(x, _mm256_setzero_pd(), _CMP_GT_OQ));
    a = _mm256_add_pd(a, _mm256_mul_pd(energy, v));
    v = _mm256_mul_pd(v, step);
}

__attribute__((target("avx2"))) int WeightedLanesAvx2(const double* e, int n, double r,
                                                      double* lane, double* acc) {
    const __m256d step = _mm256_set1_pd(r);
    __m256d a0 = _mm256_setzero_pd(), a1 = a0, a2 = a0, a3 = a0;
    __m256d v0 = _mm256_loadu_pd(lane), v1 = _mm256_loadu_pd(lane + 4);
    __m256d v2 = _mm256_loadu_pd(lane + 8), v3 = _mm256_loadu_pd(lane + 12);
    int i = 0;
    for (; i + kSumLanes <= n; i += kSumLanes) {
        LaneStep(a0, v0, _mm256_loadu_pd(e + i), step);
        LaneStep(a1, v1, _mm256_loadu_pd(e + i + 4), step);
        LaneStep(a2, v2, _mm256_loadu_pd(e + i + 8), step);
        LaneStep(a3, v3, _mm256_loadu_pd(e + i + 12), step);
    }
    const __m256d a[] = {a0, a1, a2, a3}, v[] = {v0, v1, v2, v3};
    for (int l = 0; l < 4; ++l) {
        _mm256_storeu_pd(acc + 4 * l, a[l]);
        _mm256_storeu_pd(lane + 4 * l, v[l]);
    }
    return i;
}
#endif

double GeometricWeightedSum(const double* e, int n, double w, double r) {
    double lane[kSumLanes], acc[kSumLanes] = {};
    lane[0] = w;
    for (int l = 1; l < kSumLanes; ++l) lane[l] = lane[l - 1] * r;
    double step = r;
    for (int k = 1; k < kSumLanes; k *= 2) step *= step;  // r^16
    int i = 0;
#if defined(__SSE2__)
    if (numeric::HasAvx2()) i = WeightedLanesAvx2(e, n, step, lane, acc);
#endif
    for (; i + kSumLanes <= n; i += kSumLanes)
        for (int l = 0; l < kSumLanes; ++l) {
            acc[l] += Energy(e[i + l]) * lane[l];
            lane[l] *= step;
        }
    for (int l = 0; i < n; ++i, ++l) acc[l] += Energy(e[i]) * lane[l];
    for (int width = kSumLanes / 2; width >= 1; width /= 2)
        for (int l = 0; l < width; ++l) acc[l] = acc[2 * l] + acc[2 * l + 1];
    return acc[0];
}

// The extreme's own lines lo..hi of the regression range: the extreme and the lines next to it
// that stand out from the fitted line on the extreme's side (above it for a peak, below for a
// dip), from the first noise pause's end to the last one's start at most (the extreme's steps of
// 1 dB or more and the lines between them); the range's other lines are its noise lines.
// residuals: the sum of L(j) - fit(j) over lo..hi.
// Neither bound alone will do. Taking as noise only the lines outside the pauses leaves too few
// in noise: there the pauses often span most of the critical band, and the mean over the 0 to 7
// lines left scatters by several dB. The run that stands out from the fitted line, unbounded,
// swallows a smooth hump of the noise under the extreme: only the hump's low tails are left as
// noise lines, and the noise reads several dB low. Bounded one line tighter, to the lines of the
// tone level, it would count the steps onto the extreme, which carry its skirt, as noise.
struct OwnLines {
    int lo, hi;
    double residuals;
    int NoiseLines(const Candidate& c) const {
        return (lo - c.LinearRegressionStartLine) + (c.LinearRegressionEndLine - hi);
    }
};

OwnLines ExtremesOwnLines(const LineTable& t, const Candidate& c, double slope, double offset) {
    const int from = std::max(c.LinearRegressionStartLine, c.FirstNoisePauseEndLine);
    const int to = std::min(c.LinearRegressionEndLine, c.LastNoisePauseStartLine);
    const double side = c.ExtremedB >= c.NoisePauseStartdB ? 1.0 : -1.0;
    const auto residual = [&](int j) { return t.L[j] - (slope * t.f[j] + offset); };
    OwnLines own{c.ExtremeLine, c.ExtremeLine, residual(c.ExtremeLine)};
    while (own.lo > from && side * residual(own.lo - 1) > 0) own.residuals += residual(--own.lo);
    while (own.hi < to && side * residual(own.hi + 1) > 0) own.residuals += residual(++own.hi);
    return own;
}

// How far the fitted line lies below the energy level of the noise (dB): 10 lg of the mean of
// 10^((L(j) - fit(j)) / 10) over the noise lines of the regression range; 0 when there are none.
// A line of noise has an exponentially distributed energy, so the levels of one unaveraged
// spectrum scatter and a line fitted to them lies about 2.5 dB below the noise's energy level;
// on a smooth spectrum the two meet.
double NoiseRaise(const LineTable& t, const Candidate& c, double slope, double offset,
                  const OwnLines& own) {
    const int from = c.LinearRegressionStartLine, to = c.LinearRegressionEndLine;
    const int lines = own.NoiseLines(c);
    if (lines <= 0) return 0.0;
    // The lines' energies: their intensities, or worked out from their levels.
    std::vector<double> worked;
    const double* e = t.intensity ? t.intensity + from : nullptr;
    if (!e) {
        worked.resize(static_cast<std::size_t>(to - from + 1));
        dB2I(t.L + from, worked.data(), worked.size());
        e = worked.data();
    }
    // The fitted line's energy 10^(-fit(j) / 10) changes by one ratio from line to line.
    constexpr double kPerDb = static_cast<double>(fmath::LN10 / 10);
    const auto energyBelow = [](double dB) { return std::exp(-dB * kPerDb); };
    const double ratio = energyBelow(slope * t.rate / t.points);
    const auto sum = [&](int a, int b) {
        return a > b ? 0.0
                     : GeometricWeightedSum(e + (a - from), b - a + 1,
                                            energyBelow(slope * t.f[a] + offset), ratio);
    };
    return 10 * std::log10((sum(from, own.lo - 1) + sum(own.hi + 1, to)) / lines);
}

// The frequency term of the extreme's audibility; it depends on the extreme's line alone and is
// worked out once per line.
double BandTerm(const LineTable& t, const Candidate& c) {
    const int line = c.ExtremeLine;
    double* kept = t.bandTerm && line >= 0 && line < t.points && t.f[line] == c.ExtremeHz
                       ? t.bandTerm + line
                       : nullptr;
    if (kept && std::isnan(*kept)) *kept = AudibilityBandTerm(c.ExtremeHz);
    return kept ? *kept : AudibilityBandTerm(c.ExtremeHz);
}

// The tone level, the masking noise and the audibility of an assessment whose regression line
// is known; see AssessLine for `above`.
void Rate(const LineTable& t, const Candidate& c, Assessment& a, double above) {
    a.Level = PauseLevel(t, c);
    const double term = BandTerm(t, c);
    // The noise Ln(j) = slope f(j) + offset + raise of every line j of the critical band around
    // the extreme, as an energy sum: the fitted line read as an energy level.
    const int first = c.ExtremeLine - c.HalfBandLines;
    const double fitted =
        LineEnergySumDb(a.LinearSlope * t.f[first] + a.LinearOffset,
                        a.LinearSlope * t.rate / t.points, 2 * c.HalfBandLines + 1);
    const OwnLines own = ExtremesOwnLines(t, c, a.LinearSlope, a.LinearOffset);
    const int lines = own.NoiseLines(c);
    if (lines > 0 && above > -std::numeric_limits<double>::infinity()) {
        // The residuals of a least-squares line add up to 0, so the noise lines' mean residual
        // is -own.residuals / lines, and the raise, a mean of energies, is no lower (in dB).
        a.MaskingNoise = fitted - own.residuals / lines;
        a.Audibility = AudibilityWithTerm(a.Level, a.MaskingNoise, term);
        if (a.Audibility < above - 1e-6) return;
    }
    a.MaskingNoise = fitted + NoiseRaise(t, c, a.LinearSlope, a.LinearOffset, own);
    a.Audibility = AudibilityWithTerm(a.Level, a.MaskingNoise, term);
}

}  // namespace

double PauseLevel(const LineTable& t, const Candidate& c) {
    // Every line between the noise pauses counts once, the 6 dB lines included.
    double sum = 0;
    const int from = c.FirstNoisePauseEndLine + 1, to = c.LastNoisePauseStartLine - 1;
    KeepLineEnergies(t, from, to);
    if (t.energy && t.energyKept && from >= 0 && to < t.points) {
        for (int j = from; j <= to; ++j) sum += t.energy[j];
    } else {
        for (int j = from; j <= to; ++j) sum += LineEnergy(t, j);
    }
    return 10 * fmath::Log10(sum);
}

double DipAudibilityCeiling(const LineTable& t, const Candidate& c, double level) {
    // The masking noise is the fitted line's energy sum over the 2h + 1 lines around the dip
    // plus the raise. A sum of energies is at least 2h + 1 times the energy of their mean level,
    // which is the fitted line's level at the dip's line, the middle of the regression range,
    // and so the mean level M of the range (the residuals of a least-squares line add up to 0).
    // The raise is at least the noise lines' mean residual, -(sum of the dip's own residuals) /
    // (noise lines); the dip's own lines other than its minimum lie below the line, so that is
    // at least -max(L(dip) - M, 0). What is left is rounding, of a size far below the margin.
    const int from = c.LinearRegressionStartLine, n = c.LinearRegressionEndLine - from + 1;
    const double mean = LevelSum(t, from, n) / n;
    const double dip = t.L[c.ExtremeLine];
    const double noise = 10 * std::log10(2.0 * c.HalfBandLines + 1) + std::min(mean, 2 * mean - dip);
    const double margin = 0.01 * std::max(1.0, (std::fabs(mean) + std::fabs(dip)) / 100);
    // The frequency term of the highest line will do, and spares reading the dip's own.
    const double term = std::isfinite(t.bandTermAbove) && c.ExtremeLine <= t.fRisesTo
                            ? t.bandTermAbove
                            : BandTerm(t, c);
    const double ceiling = AudibilityWithTerm(level, noise, term) + margin;
    return std::isfinite(ceiling) ? ceiling : std::numeric_limits<double>::infinity();
}

Assessment Assess(const LineTable& t, const Candidate& c, TCurveFit& fit,
                  const TCurveFit::RunSums& sums) {
    Assessment a;
    fit.Init();
    fit.BorrowStatValues(RegressionRun(t, c), sums);
    fit.CalcLinFit(a.LinearSlope, a.LinearOffset, a.LinearFitValue);
    Rate(t, c, a, -std::numeric_limits<double>::infinity());
    return a;
}

Assessment AssessLine(const LineTable& t, const Candidate& c, const TCurveFit::RunSums& sums,
                      double above) {
    Assessment a;
    TCurveFit::LineFit(sums, RegressionRun(t, c).n, a.LinearSlope, a.LinearOffset);
    Rate(t, c, a, above);
    return a;
}

int ListCapacity(std::initializer_list<const std::vector<double>*> arrays) {
    std::size_t room = MAXTONES;
    for (const auto* a : arrays) room = std::min(room, a->size());
    return room > 0 ? static_cast<int>(room) - 1 : 0;
}

double ListedToneLevel(double level) {
    if (level < 4.0) return level;
    if (level <= 10.0) return 2 * level - 4.0;
    return level + 6.0;
}

double Audibility(double level, double masking, double f) {
    return AudibilityWithTerm(level, masking, AudibilityBandTerm(f));
}

double AudibilityBandTerm(double f) { return fmath::Log10(1 + fmath::Power(f / 502, 2.5)); }

}  // namespace oxw::engine::nordic
