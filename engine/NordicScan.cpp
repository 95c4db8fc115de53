#include "engine/NordicScan.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "engine/Conversions.h"
#include "engine/Convert.h"
#include "numeric/CurveFit.h"
#include "numeric/FMath.h"
#include "numeric/FastFourier.h"

namespace oxw::engine::nordic {

namespace {

// The shape of a noise pause: a step of at least 1 dB after one of more than 0 and less than
// 1 dB. Tested without branches: over noise the outcome is as good as random.
std::uint64_t PauseShape(double step, double before) {
    return static_cast<std::uint64_t>((step >= 1.0) & (before > 0) & (before < 1.0));
}

// 10 lg of the energy sum of m levels first, first + step, ... (dB): a straight line in dB over
// equally spaced lines, summed as the geometric series it is.
double LineEnergySumDb(double first, double step, int m) {
    const long double t = static_cast<long double>(step) * fmath::LN10 / 10;
    const long double terms = t == 0 ? m : std::expm1(m * t) / std::expm1(t);
    return first + 10 * fmath::Log10(static_cast<double>(terms));
}

}  // namespace

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
    }
    if (!levelsValid_ || !std::equal(intensity_.begin(), intensity_.end(), intensity.begin())) {
        intensity_.assign(intensity.begin(), intensity.begin() + points);
        level_.resize(n);
        // The spectrum of a real block mirrors at half the block length: a line whose
        // intensity equals its mirror line's takes that line's level.
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t mirror = n - k;
            level_[k] = k > n / 2 && intensity_[k] == intensity_[mirror] ? level_[mirror]
                                                                        : I2dB(intensity_[k]);
        }
        levelsValid_ = true;
    }
    return {points, rate, level_.data(), freq_.data()};
}

Scan::Scan(const LineTable& lines, Extreme kind, LastMeasures last)
    : t_(lines), sign_(kind == Extreme::Peak ? 1.0 : -1.0), last_(last) {
    // M(k) - M(k - 1) is sign x (L[k] - L[k - 1]) to the last bit (negation is exact), so one
    // step per line decides both shapes: a first pause ends at p when M(p) - M(p - 1) and
    // M(p - 1) - M(p - 2) have its shape, a last pause starts at q when M(q) - M(q + 1) and
    // M(q + 1) - M(q + 2) have it.
    const int n = std::max(t_.points, 0);
    const auto words = static_cast<std::size_t>(n / 64 + 1);
    firstPauseEnds_.assign(words, 0);
    lastPauseStarts_.assign(words, 0);
    const double* L = t_.L;
    for (int k = 3; k <= n - 2; ++k) {
        const std::uint64_t first =
            PauseShape(sign_ * (L[k] - L[k - 1]), sign_ * (L[k - 1] - L[k - 2]));
        firstPauseEnds_[static_cast<std::size_t>(k) / 64] |= first << (k % 64);
    }
    for (int q = 0; q <= n - 3; ++q) {
        const std::uint64_t last =
            PauseShape(-sign_ * (L[q + 1] - L[q]), -sign_ * (L[q + 2] - L[q + 1]));
        lastPauseStarts_[static_cast<std::size_t>(q) / 64] |= last << (q % 64);
    }
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
    double best = ms > me ? ms : me;
    int line = 0;
    for (int k = c.FirstNoisePauseStartLine + 1; k <= c.LastNoisePauseStartLine + 1; ++k) {
        const double m = M(k);
        if (m >= ms + 6.0 && m >= me + 6.0 && m > best) {
            best = m;
            line = k;
        }
    }
    if (line == 0) return false;
    c.ExtremeLine = line;
    c.ExtremeHz = f[line];
    c.ExtremedB = sign_ * best;

    // 3 dB points: the nearest lines on either side at least 3 dB (rounded) from the extreme.
    auto drop = [&](int k) { return RoundHalfEven(best - M(k)) >= 3; };
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

Assessment Assess(const LineTable& t, const Candidate& c, TCurveFit& fit) {
    Assessment a;
    fit.Init();
    const int start = c.LinearRegressionStartLine;
    fit.EnterStatValues(t.f + start, t.L + start, c.LinearRegressionEndLine - start + 1);
    // Every line between the noise pauses counts once, the 6 dB lines included.
    double sum = 0;
    for (int j = c.FirstNoisePauseEndLine + 1; j <= c.LastNoisePauseStartLine - 1; ++j)
        sum += dB2I(t.L[j]);
    a.Level = 10 * fmath::Log10(sum);
    fit.CalcLinFit(a.LinearSlope, a.LinearOffset, a.LinearFitValue);
    // The fitted noise Ln(j) = slope f(j) + offset of every line j of the critical band around
    // the extreme, as an energy sum.
    const int first = c.ExtremeLine - c.HalfBandLines;
    a.MaskingNoise = LineEnergySumDb(a.LinearSlope * t.f[first] + a.LinearOffset,
                                     a.LinearSlope * t.rate / t.points, 2 * c.HalfBandLines + 1);
    a.Audibility = Audibility(a.Level, a.MaskingNoise, c.ExtremeHz);
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
    return level - masking + 2.0 + fmath::Log10(1 + fmath::Power(f / 502, 2.5));
}

}  // namespace oxw::engine::nordic
