#include "engine/Weighting.h"

#include <cmath>
#include <limits>

namespace oxw::engine {

namespace {

// Coefficients of gain = -a4 L^4 + a3 L^3 - a2 L^2 + a1 L - a0, L = log2(Hz).
struct Quartic {
    long double a4, a3, a2, a1, a0;
};

constexpr Quartic kA{0.007948405468L, 0.3109159487L, 5.470890122L, 50.39066638L, 188.1740783L};
constexpr Quartic kC{0.0166236L, 0.594785L, 7.90433L, 46.2472L, 100.608L};

double QuarticWeighted(const Quartic& q, double dB, double Hz) {
    if (!(Hz > 0)) return -std::numeric_limits<double>::infinity();
    const long double L = std::log(static_cast<long double>(Hz)) * 1.442695041L;
    const long double L2 = L * L;
    return static_cast<double>(dB - q.a4 * L2 * L2 + q.a3 * L2 * L - q.a2 * L2 + q.a1 * L - q.a0);
}

// Magnitude response of the B-weighting filter: three zeros at DC, two real poles at 20.6 Hz,
// one at 158.5 Hz and two at 12194 Hz.
long double BResponse(long double f) {
    constexpr long double f1 = 20.598997L, f5 = 158.48932L, f4 = 12194.217L;
    const long double f2 = f * f;
    return f4 * f4 * f2 * f / ((f2 + f1 * f1) * std::sqrt(f2 + f5 * f5) * (f2 + f4 * f4));
}

}  // namespace

double dBA(double dB, double Hz) { return QuarticWeighted(kA, dB, Hz); }

double dBC(double dB, double Hz) { return QuarticWeighted(kC, dB, Hz); }

double dBB(double dB, double Hz) {
    if (!(Hz > 0)) return -std::numeric_limits<double>::infinity();
    static const long double atOneKilohertz = std::log10(BResponse(1000.0L));
    return static_cast<double>(dB + 20.0L * (std::log10(BResponse(Hz)) - atOneKilohertz));
}

}  // namespace oxw::engine
