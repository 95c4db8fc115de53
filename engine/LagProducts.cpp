// Exact lagged product sums. The fast path splits every sample of `a` into a high and a low byte,
// a = 256 hi + lo with hi in -128..127 and lo in 0..255, and multiplies each part with the 16-bit
// samples of `b` eight at a time, adding neighbouring products in pairs (pmaddwd). A pair of
// products is then at most 2 * 255 * 32768 < 2^24 in magnitude, so a 32-bit lane holds the sum
// of 127 pairs without overflow; after every 127 steps the lanes are moved into 64-bit totals.
// Every step is integer arithmetic, so the sums equal the plain ones exactly. Processors with AVX2
// take sixteen samples at a time in the same way.
#include "engine/LagProducts.h"

#include "numeric/Processor.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define OXW_LAG_AVX2 1
#endif

namespace oxw::engine {

void LagProductSumsPlain(const int* a, const int* b, int first, int last, int maxLag,
                         std::int64_t* sums) {
    for (int j = -maxLag; j <= maxLag; ++j) {
        std::int64_t sum = 0;
        for (int i = first; i < last; ++i) sum += static_cast<std::int64_t>(a[i + j]) * b[i];
        sums[j + maxLag] = sum;
    }
}

#if defined(__SSE2__)

namespace {

constexpr int kLanes = 8;              // 16-bit samples per 128-bit vector
constexpr int kPadding = 16;           // the buffers hold whole 256-bit vectors
constexpr int kStepsPerWidening = 127;  // pairs a 32-bit lane can add up without overflow
constexpr int kLagsAtOnce = 4;

std::int64_t LaneTotal(__m128i v) {
    alignas(16) std::int32_t lane[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lane), v);
    return static_cast<std::int64_t>(lane[0]) + lane[1] + lane[2] + lane[3];
}

__m128i Load(const std::int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// The samples in 16-bit form, zero beyond the end so that whole vectors can be read: `b` over
// first..last-1, and the high and low bytes of `a` over first-maxLag..last-1+maxLag.
struct SplitSamples {
    std::vector<std::int16_t> b, hi, lo;

    // False when a sample lies outside -32768..32767 (the buffers are then of no use).
    bool Fill(const int* a, const int* bIn, int first, int n, int maxLag, int padded) {
        int least = 0, most = 0;
        b.assign(static_cast<std::size_t>(padded), 0);
        for (int i = 0; i < n; ++i) {
            const int v = bIn[first + i];
            least = std::min(least, v);
            most = std::max(most, v);
            b[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(v);
        }
        hi.assign(static_cast<std::size_t>(padded + 2 * maxLag + kLagsAtOnce), 0);
        lo.assign(hi.size(), 0);
        const int* from = a + first - maxLag;
        for (int t = 0; t < n + 2 * maxLag; ++t) {
            const int v = from[t];
            least = std::min(least, v);
            most = std::max(most, v);
            hi[static_cast<std::size_t>(t)] = static_cast<std::int16_t>(v >> 8);
            lo[static_cast<std::size_t>(t)] = static_cast<std::int16_t>(v & 0xFF);
        }
        return least >= -32768 && most <= 32767;
    }
};

// For the lags k..k+kLagsAtOnce-1: the sums over i = 0..padded-1 of hi[i + k] * b[i] and of
// lo[i + k] * b[i], combined as 256 hi + lo. Several lags share each load of `b`.

void LagSums(const SplitSamples& s, int k, int padded, std::int64_t* sums) {
    const std::int16_t* b = s.b.data();
    const std::int16_t* hi = s.hi.data() + k;
    const std::int16_t* lo = s.lo.data() + k;
    std::int64_t totalHi[kLagsAtOnce] = {}, totalLo[kLagsAtOnce] = {};
    for (int start = 0; start < padded; start += kStepsPerWidening * kLanes) {
        const int end = std::min(padded, start + kStepsPerWidening * kLanes);
        __m128i sumHi[kLagsAtOnce], sumLo[kLagsAtOnce];
        for (int m = 0; m < kLagsAtOnce; ++m) sumHi[m] = sumLo[m] = _mm_setzero_si128();
        for (int i = start; i < end; i += kLanes) {
            const __m128i bv = Load(b + i);
            for (int m = 0; m < kLagsAtOnce; ++m) {
                sumHi[m] = _mm_add_epi32(sumHi[m], _mm_madd_epi16(Load(hi + i + m), bv));
                sumLo[m] = _mm_add_epi32(sumLo[m], _mm_madd_epi16(Load(lo + i + m), bv));
            }
        }
        for (int m = 0; m < kLagsAtOnce; ++m) {
            totalHi[m] += LaneTotal(sumHi[m]);
            totalLo[m] += LaneTotal(sumLo[m]);
        }
    }
    for (int m = 0; m < kLagsAtOnce; ++m) sums[m] = totalHi[m] * 256 + totalLo[m];
}

#if defined(OXW_LAG_AVX2)

// LagSums sixteen samples at a time, on processors with AVX2: the same integer sums.
// Each lane is added in 64 bits: two lanes together may leave the 32-bit range.
__attribute__((target("avx2"))) std::int64_t LaneTotal256(__m256i v) {
    return LaneTotal(_mm256_castsi256_si128(v)) + LaneTotal(_mm256_extracti128_si256(v, 1));
}

__attribute__((target("avx2"))) __m256i Load256(const std::int16_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

__attribute__((target("avx2"))) void LagSums256(const SplitSamples& s, int k, int padded,
                                                std::int64_t* sums) {
    constexpr int kLanes256 = 16;
    const std::int16_t* b = s.b.data();
    const std::int16_t* hi = s.hi.data() + k;
    const std::int16_t* lo = s.lo.data() + k;
    std::int64_t totalHi[kLagsAtOnce] = {}, totalLo[kLagsAtOnce] = {};
    for (int start = 0; start < padded; start += kStepsPerWidening * kLanes256) {
        const int end = std::min(padded, start + kStepsPerWidening * kLanes256);
        __m256i sumHi[kLagsAtOnce], sumLo[kLagsAtOnce];
        for (int m = 0; m < kLagsAtOnce; ++m) sumHi[m] = sumLo[m] = _mm256_setzero_si256();
        for (int i = start; i < end; i += kLanes256) {
            const __m256i bv = Load256(b + i);
            for (int m = 0; m < kLagsAtOnce; ++m) {
                sumHi[m] = _mm256_add_epi32(sumHi[m], _mm256_madd_epi16(Load256(hi + i + m), bv));
                sumLo[m] = _mm256_add_epi32(sumLo[m], _mm256_madd_epi16(Load256(lo + i + m), bv));
            }
        }
        for (int m = 0; m < kLagsAtOnce; ++m) {
            totalHi[m] += LaneTotal256(sumHi[m]);
            totalLo[m] += LaneTotal256(sumLo[m]);
        }
    }
    for (int m = 0; m < kLagsAtOnce; ++m) sums[m] = totalHi[m] * 256 + totalLo[m];
}

#endif

using GroupSums = void (*)(const SplitSamples&, int, int, std::int64_t*);

void SplitSums(const int* a, const int* b, int first, int last, int maxLag, std::int64_t* sums,
               GroupSums groupSums) {
    const int n = last - first;
    thread_local SplitSamples split;  // grows to the largest block once, then reused
    const int padded = (n + kPadding - 1) / kPadding * kPadding;
    if (n <= 0 || maxLag < 0 || !split.Fill(a, b, first, n, maxLag, padded)) {
        LagProductSumsPlain(a, b, first, last, maxLag, sums);
        return;
    }
    // Whole groups of lags; the last group reads past the last lag (the buffers have room) and
    // keeps only the lags asked for.
    const int lags = 2 * maxLag + 1;
    for (int k = 0; k < lags; k += kLagsAtOnce) {
        std::int64_t group[kLagsAtOnce];
        groupSums(split, k, padded, group);
        std::copy_n(group, std::min(kLagsAtOnce, lags - k), sums + k);
    }
}

}  // namespace

void LagProductSums128(const int* a, const int* b, int first, int last, int maxLag,
                       std::int64_t* sums) {
    SplitSums(a, b, first, last, maxLag, sums, LagSums);
}

void LagProductSums(const int* a, const int* b, int first, int last, int maxLag, std::int64_t* sums) {
#if defined(OXW_LAG_AVX2)
    if (numeric::HasAvx2()) {
        SplitSums(a, b, first, last, maxLag, sums, LagSums256);
        return;
    }
#endif
    LagProductSums128(a, b, first, last, maxLag, sums);
}

#else

void LagProductSums128(const int* a, const int* b, int first, int last, int maxLag,
                       std::int64_t* sums) {
    LagProductSumsPlain(a, b, first, last, maxLag, sums);
}

void LagProductSums(const int* a, const int* b, int first, int last, int maxLag, std::int64_t* sums) {
    LagProductSumsPlain(a, b, first, last, maxLag, sums);
}

#endif

const std::int64_t* BlockLagSums::For(const int* a, const int* b, int first, int last,
                                      int maxLag, int shift) {
    const auto lags = static_cast<std::size_t>(2 * std::max(maxLag, 0) + 1);
    // Moving on costs two sums over `shift` samples; beyond half the block a fresh sum is cheaper.
    const bool moveOn = shift > 0 && 2 * shift < last - first && first == first_ &&
                        last == last_ && maxLag == maxLag_ && sums_.size() == lags;
    first_ = first;
    last_ = last;
    maxLag_ = maxLag;
    if (!moveOn) {
        sums_.resize(lags);
        LagProductSums(a, b, first, last, maxLag, sums_.data());
        return sums_.data();
    }
    part_.resize(lags);
    LagProductSums(a, b, first - shift, first, maxLag, part_.data());
    for (std::size_t k = 0; k < lags; ++k) sums_[k] -= part_[k];
    LagProductSums(a, b, last - shift, last, maxLag, part_.data());
    for (std::size_t k = 0; k < lags; ++k) sums_[k] += part_[k];
    return sums_.data();
}

}  // namespace oxw::engine
