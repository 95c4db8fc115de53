#pragma once
// Exact sums of lagged products of two channels of 16-bit samples, the work of the interaural
// cross-correlation: for every lag j = -maxLag..maxLag
//     sums[j + maxLag] = sum over i = first..last-1 of a[i + j] * b[i]
// as 64-bit integers. `a` is read from first - maxLag to last - 1 + maxLag, `b` from first to
// last - 1. All give the same sums for every input; LagProductSums is the fast one (16-bit
// multiply-adds over the samples, used when every sample lies in -32768..32767: sixteen at a
// time where the processor has AVX2, else eight as LagProductSums128 does) and
// LagProductSumsPlain the one-product-at-a-time reference.
#include <cstdint>
#include <vector>

namespace oxw::engine {

void LagProductSums(const int* a, const int* b, int first, int last, int maxLag, std::int64_t* sums);
void LagProductSums128(const int* a, const int* b, int first, int last, int maxLag,
                       std::int64_t* sums);
void LagProductSumsPlain(const int* a, const int* b, int first, int last, int maxLag,
                         std::int64_t* sums);

// The lag product sums of consecutive blocks of a pass, which share most of their samples.
class BlockLagSums {
public:
    // The sums of the block at a, b as LagProductSums gives them. With `shift` > 0 the block
    // follows by `shift` frames the block of the previous call, whose samples a[-shift ..] and
    // b[-shift ..] still hold: for the same first, last and maxLag the previous sums are moved on
    // by subtracting the products that left and adding those that came in (exact integers).
    const std::int64_t* For(const int* a, const int* b, int first, int last, int maxLag,
                            int shift);

private:
    std::vector<std::int64_t> sums_, part_;
    int first_ = 0, last_ = 0, maxLag_ = -1;
};

}  // namespace oxw::engine
