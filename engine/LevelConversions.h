#pragma once
// The extended-precision paths behind I2dB and dB2I (Conversions.h), for tests and benchmarks.
//
// I2dB and dB2I return exactly the double of these paths for every input. They work out the
// result in double-double arithmetic from tables and round it themselves when the value lies
// clearly away from every rounding boundary; otherwise (and for inputs outside their tables'
// range) they call these paths.
#include <cstdint>

namespace oxw::engine {

// (double)(logl(intensity) * 4.342944819032518L); 0 for intensity <= 0 (and NaN).
double ExtendedI2dB(double intensity);
// (double)expl(2.302585092994045684L * dB / 10.0L).
double ExtendeddB2I(double dB);

// I2dB and dB2I as they run on a processor without fused multiply-add.
double PortableI2dB(double intensity);
double PortabledB2I(double dB);

// How often I2dB and dB2I have fallen back to the extended-precision paths (both together) for
// a finite input they could take, since the start of the process.
std::uint64_t LevelConversionFallbacks();

// The exponential tables of the fast paths, for the other exact exponentials (ExactExp.h).
struct ExpSteps {
    const double* twoToJ;  // 2^(j / 256) = twoToJ[2 j] + twoToJ[2 j + 1], j < 256, to ~2^-106
    double step1, step2, step3;  // ln 2 / 256 = step1 + step2 + step3; N step1, N step2 exact
    double stepsPerUnit;         // 256 / ln 2                                (|N| < 2^18)
    bool lanes;                  // the processor has AVX2 and fused multiply-add
};
const ExpSteps& SharedExpSteps();

}  // namespace oxw::engine
