#include "engine/Conversions.h"

#include <cmath>

namespace oxw::engine {

namespace {
using ld = long double;
constexpr ld kLog2e = 1.442695041L;              // 1 / ln 2 as the engine writes it

ld Bark(ld fk) { return 13.0L * std::atan(0.76L * fk) + 3.5L * std::atan(fk * fk / 56.25L); }
}  // namespace

double LOG2(double x) {
    return x > 0 ? static_cast<double>(std::log(static_cast<ld>(x)) * kLog2e) : 0.0;
}

// I2dB and dB2I: LevelConversions.cpp.

double Fq2Bark(double Hz) { return static_cast<double>(Bark(static_cast<ld>(Hz) / 1000.0L)); }

double Fq2ERB(double Hz) {
    return static_cast<double>(9.27894216434192L *
                               std::log(0.004368L * static_cast<ld>(Hz) + 1.0L));
}

double Erb2Fq(double ERB) {
    return static_cast<double>((std::pow(10.0L, static_cast<ld>(ERB) / 21.36554L) - 1.0L) *
                               1000.0L / 4.368L);
}

double ERBandwidth(double Hz) {
    return static_cast<double>(24.673L * (4.368L * static_cast<ld>(Hz) / 1000.0L + 1.0L));
}

double Erb2Bark(double ERB) {
    const ld fk = (std::pow(10.0L, static_cast<ld>(ERB) / 21.36554L) - 1.0L) / 4.368L;
    return static_cast<double>(Bark(fk));
}

double Threshold(double Hz) {
    const ld fk = static_cast<ld>(Hz) / 1000.0L;
    const ld d = fk - 3.3L;
    const ld fk2 = fk * fk;
    // fk^-0.8 as e^(-0.8 ln fk): the same value to the last bit of a double but for a rare
    // rounding, at a fraction of the cost of the extended-precision power.
    return static_cast<double>(3.64L * std::exp(-0.8L * std::log(fk)) - 6.5L * std::exp(-0.6L * d * d) +
                               0.001L * fk2 * fk2);
}

double Sone2Phon(double sone) {
    if (sone < 5e-05) return 4.2;
    if (sone > 1079) return 9999.0;
    const ld L = std::log(static_cast<ld>(sone)) * kLog2e;
    // Horner form of 1.171331254e-05 L^6 + ... + 40.2654114.
    const ld p = ((((((1.171331254e-05L * L + 0.0001721630619L) * L - 0.003013280122L) * L -
                     0.04285757784L) *
                        L +
                    0.4506069781L) *
                       L +
                   8.717765598L) *
                      L +
                  40.2654114L);
    return static_cast<double>(p);
}

}  // namespace oxw::engine
