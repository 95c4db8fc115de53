#pragma once
// Frequency weightings of sound levels: A, B and C. Each function returns the level `dB` plus
// the weighting's gain at frequency `Hz` (dB re the gain at 1 kHz). At Hz <= 0 the gain is minus
// infinity (the weightings have no response at DC), so the weighted intensity of such a bin is 0.
//
// A and C are closed-form quartic fits in log2(Hz) of the standard curves; they stay within
// 0.45 dB of the IEC 61672-1 table from 10 Hz to 20 kHz and within 0.03 dB at 1 kHz.
// B is the B-weighting of IEC 60651 in its pole-zero form (poles at 20.6 Hz, 158.5 Hz and
// 12194 Hz), normalised to 0 dB at 1 kHz.
namespace oxw::engine {

double dBA(double dB, double Hz);
double dBB(double dB, double Hz);
double dBC(double dB, double Hz);

}  // namespace oxw::engine
