#pragma once
// The power sum of a channel of 16-bit samples over a block, as the level difference of the
// two channels takes it: the terms v^2 / 1e6 (each rounded), added in order from 0 with every
// sum rounded. Both forms give the same double for every block; PowerSum adds most runs of
// terms in one go where that provably changes nothing, PowerSumInOrder is the reference.
namespace oxw::engine {

double PowerSum(const int* samples, int n);
double PowerSumInOrder(const int* samples, int n);

// The term v^2 / 1e6 of every magnitude v = 0..32768 as PowerSum's lanes work it out (from the
// exact square, without the table the reference reads), into out[v]; for tests. Without AVX2
// and fused multiply-add the lanes are not used and nothing is written.
void LaneSquaresOverMillion(double* out);

}  // namespace oxw::engine
