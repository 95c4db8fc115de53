#include "engine/Weighting.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace oxw::engine {

namespace {

// Magnitude response of the B-weighting filter: three zeros at DC, two real poles at 20.6 Hz,
// one at 158.5 Hz and two at 12194 Hz.
long double BResponse(long double f) {
    constexpr long double f1 = 20.598997L, f5 = 158.48932L, f4 = 12194.217L;
    const long double f2 = f * f;
    return f4 * f4 * f2 * f / ((f2 + f1 * f1) * std::sqrt(f2 + f5 * f5) * (f2 + f4 * f4));
}

}  // namespace

WeightingGain WeightingGain::Quartic(long double a4, long double a3, long double a2,
                                     long double a1, long double a0, double Hz) {
    WeightingGain g;
    if (!(Hz > 0)) return g;
    const long double L = std::log(static_cast<long double>(Hz)) * 1.442695041L;
    const long double L2 = L * L;
    g.form_ = Form::Quartic;
    g.t4_ = a4 * L2 * L2;
    g.t3_ = a3 * L2 * L;
    g.t2_ = a2 * L2;
    g.t1_ = a1 * L;
    g.t0_ = a0;
    return g;
}

WeightingGain WeightingGain::A(double Hz) {
    return Quartic(0.007948405468L, 0.3109159487L, 5.470890122L, 50.39066638L, 188.1740783L, Hz);
}

WeightingGain WeightingGain::C(double Hz) {
    return Quartic(0.0166236L, 0.594785L, 7.90433L, 46.2472L, 100.608L, Hz);
}

WeightingGain WeightingGain::B(double Hz) {
    WeightingGain g;
    if (!(Hz > 0)) return g;
    static const long double atOneKilohertz = std::log10(BResponse(1000.0L));
    g.form_ = Form::Sum;
    g.t1_ = 20.0L * (std::log10(BResponse(Hz)) - atOneKilohertz);
    return g;
}

double WeightingGain::Apply(double dB) const {
    switch (form_) {
        case Form::Quartic:
            return static_cast<double>(dB - t4_ + t3_ - t2_ + t1_ - t0_);
        case Form::Sum:
            return static_cast<double>(dB + t1_);
        default:
            return -std::numeric_limits<double>::infinity();
    }
}

double dBA(double dB, double Hz) { return WeightingGain::A(Hz).Apply(dB); }

double dBB(double dB, double Hz) { return WeightingGain::B(Hz).Apply(dB); }

double dBC(double dB, double Hz) { return WeightingGain::C(Hz).Apply(dB); }

void BinWeightings::Prepare(const double* F, int n) {
    n = std::max(n, 0);
    const auto size = static_cast<std::size_t>(n) + 1;
    if (hz_.size() == size && std::equal(hz_.begin() + 1, hz_.end(), F + 1)) return;
    hz_.assign(F, F + size);
    a_.resize(size), b_.resize(size), c_.resize(size);
    for (std::size_t i = 1; i < size; ++i) {
        a_[i] = WeightingGain::A(hz_[i]);
        b_[i] = WeightingGain::B(hz_[i]);
        c_[i] = WeightingGain::C(hz_[i]);
    }
}

}  // namespace oxw::engine
