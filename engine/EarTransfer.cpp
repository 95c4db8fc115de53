#include "engine/EarTransfer.h"

#include <algorithm>
#include <cmath>

#include "engine/Conversions.h"

namespace oxw::engine {

namespace {

using ld = long double;

struct Line {
    double above;  // the row applies above this frequency (Hz)
    double slope, offset;
};

// Free-field gain rows, highest frequency first; the last row holds down to 104 Hz.
constexpr Line kFreeField[] = {
    {14910, 56.79, -155.3},      {12670, -41.71, 110.8},       {9892, 26.14, -61.45},
    {8966, -7.58, 15.83},        {4126, -19.32, 41.58},        {3068, -3.713, 19.46},
    {2593, -9.512, 25.96},       {1495, 21.28, -3.378},        {1259, 11.76, 0.4521},
    {1003, 2.7714, 2.5217},      {789, -0.207798, 2.53062},    {756, -2.6052, 1.96095},
    {501, 2.429, 3.37},          {318, 0.684, 2.163},          {0, 0.7343, 1.68},
};

// a[0] x^k + a[1] x^(k-1) + ... + a[k], evaluated term by term from the highest power.
template <std::size_t N>
ld Poly(const ld (&a)[N], ld x) {
    ld sum = 0;
    for (std::size_t i = 0; i < N; ++i) {
        ld term = a[i];
        for (std::size_t k = i + 1; k < N; ++k) term *= x;
        sum += term;
    }
    return sum;
}

}  // namespace

double FreeField(double dB, double Hz) {
    if (Hz >= 16080 || Hz <= 104) return dB;
    const ld x = std::log(static_cast<ld>(Hz) / 1000.0L);
    const Line* row = std::find_if(std::begin(kFreeField), std::end(kFreeField),
                                   [Hz](const Line& l) { return Hz > l.above; });
    return static_cast<double>(dB + row->slope * x + row->offset);
}

double DiffuseField(double dB, double Hz) {
    if (Hz <= 100) return dB;
    const ld L = std::log(static_cast<ld>(Hz)) * 1.442695041L;
    static constexpr ld kLow[] = {0.284503283L, -6.810700263L, 54.47419379L, -144.9775695L};
    // The terms of the upper polynomial nearly cancel: extended precision, term by term.
    static constexpr ld kHigh[] = {2.45970242L,  -190.4723336L, 6136.70484L,  -105294.2136L,
                                   1014768.533L, -5208395.924L, 11122764.39L};
    return static_cast<double>(dB + (Hz < 3000 ? Poly(kLow, L) : Poly(kHigh, L)));
}

double MiddleEar(double dB, double Hz) {
    const ld x = std::log(static_cast<ld>(Hz) / 1000.0L);
    ld P;
    if (Hz < 1000) {
        static constexpr ld a[] = {-0.1565202883L, -0.7440518971L, -0.3837211687L,
                                   3.213833938L,   0.1938393276L,  2.451477201L};
        P = Poly(a, x);
    } else if (Hz < 2550) {
        static constexpr ld a[] = {-30.68030779L, 25.5855675L,    11.59712163L,
                                   1.528651497L,  -0.3276553725L, 2.456571632L};
        P = Poly(a, x);
    } else if (Hz < 3770) {
        static constexpr ld a[] = {-583.4951348L, 2146.842242L, -2032.566814L,
                                   -1070.229384L, 2550.529019L, -1000.795891L};
        P = Poly(a, x);
    } else if (Hz < 4900) {
        P = 5.59L;
    } else if (Hz < 8460) {
        static constexpr ld a[] = {-54.73534189L, 305.6375959L, -554.4794737L, 334.5546823L};
        P = Poly(a, x);
    } else if (Hz < 10100) {
        static constexpr ld a[] = {239.6317428L, -1595.018816L, 3530.273977L, -2587.559754L};
        P = Poly(a, x);
    } else {
        P = 16.7795L * x - 29.1991L;
    }
    return static_cast<double>(dB - P);
}

double EarGain(char field, double Hz) {
    double dB = 0.0;
    if (field == 'F') dB = FreeField(dB, Hz);
    if (field == 'D') dB = DiffuseField(dB, Hz);
    return MiddleEar(dB, Hz);
}

void EarGains::For(char field, const Compact& F, int n) {
    n = std::clamp(n, 0, COMPACT_SIZE - 1);
    if (field == field_ && n == n_ && std::equal(F.begin() + 1, F.begin() + 1 + n, F_.begin() + 1))
        return;
    field_ = field;
    n_ = n;
    F_ = F;
    for (int i = 1; i <= n; ++i) {
        dB_[i] = EarGain(field, F[i]);
        factor_[i] = dB2I(dB_[i]);
    }
}

void ApplyEarGains(const EarGains& g, const Compact& I, int n, Compact& CompL, Compact& CompInt) {
    n = std::clamp(n, 0, COMPACT_SIZE - 1);
    for (int i = 1; i <= n; ++i) {
        CompL[i] = I2dB(I[i]) + g.dB()[i];
        // dB2I(CompL[i]) without a second exponential: the bin's intensity (1 for no energy,
        // which enters as 0 dB) times the gain's factor.
        CompInt[i] = (I[i] > 0 ? I[i] : 1.0) * g.Factor()[i];
    }
}

}  // namespace oxw::engine

#include "engine/HearingWork.h"

namespace oxw::engine {

void Engine::DoTransferFunctions() {
    Log("S", "DoTransferFunctions");
    Log("D", " Calculate CompL using CompactI");
    Log("D", " Calculate CompInt using CompL");
    const char field = S().Field;
    for (HearingSet& set : Hearing().Sets(*this)) {
        set.ear.For(field, *set.F, set.n);
        ApplyEarGains(set.ear, *set.CompactI, set.n, *set.CompL, *set.CompInt);
    }
    Log("E", "DoTransferFunctions");
}

}  // namespace oxw::engine
