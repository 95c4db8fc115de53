#pragma once
// Frequency weightings of sound levels: A, B and C. Each function returns the level `dB` plus
// the weighting's gain at frequency `Hz` (dB re the gain at 1 kHz). At Hz <= 0 the gain is minus
// infinity (the weightings have no response at DC), so the weighted intensity of such a bin is 0.
//
// A and C are closed-form quartic fits in log2(Hz) of the standard curves; they stay within
// 0.45 dB of the IEC 61672-1 table from 10 Hz to 20 kHz and within 0.03 dB at 1 kHz.
// B is the B-weighting of IEC 60651 in its pole-zero form (poles at 20.6 Hz, 158.5 Hz and
// 12194 Hz), normalised to 0 dB at 1 kHz.
#include <cstddef>
#include <vector>

namespace oxw::engine {

double dBA(double dB, double Hz);
double dBB(double dB, double Hz);
double dBC(double dB, double Hz);

// One weighting at one frequency, its terms in Hz worked out once: Apply(dB) gives what
// dBA, dBB or dBC give for (dB, Hz), to the last bit.
class WeightingGain {
public:
    static WeightingGain A(double Hz);
    static WeightingGain B(double Hz);
    static WeightingGain C(double Hz);
    double Apply(double dB) const;

private:
    // gain = -a4 L^4 + a3 L^3 - a2 L^2 + a1 L - a0, L = log2(Hz).
    static WeightingGain Quartic(long double a4, long double a3, long double a2, long double a1,
                                 long double a0, double Hz);
    enum class Form : unsigned char { None, Quartic, Sum };
    Form form_ = Form::None;  // None: no response (Hz <= 0)
    // Quartic: dB - t4 + t3 - t2 + t1 - t0 in this order; Sum: dB + t1.
    long double t4_ = 0, t3_ = 0, t2_ = 0, t1_ = 0, t0_ = 0;
};

// The A, B and C weightings of the bins 1..n of one grid of centre frequencies, kept while the
// grid stays the same.
class BinWeightings {
public:
    // Prepares bins 1..n of F (F[1..n] must exist).
    void Prepare(const double* F, int n);
    const WeightingGain& A(int bin) const { return a_[static_cast<std::size_t>(bin)]; }
    const WeightingGain& B(int bin) const { return b_[static_cast<std::size_t>(bin)]; }
    const WeightingGain& C(int bin) const { return c_[static_cast<std::size_t>(bin)]; }

private:
    std::vector<double> hz_;  // the grid prepared, index 1..n
    std::vector<WeightingGain> a_, b_, c_;
};

}  // namespace oxw::engine
