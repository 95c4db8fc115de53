#pragma once
// Level and frequency-scale conversions shared by the psychoacoustic steps and the report
// writers: intensity <-> level, frequency <-> Bark, ERB number and ERB bandwidth, the threshold
// in quiet and loudness (sone) -> loudness level (phon). Pure functions; evaluated in extended
// precision and returned as double. Frequencies in Hz, levels in dB.
#include <cstddef>

namespace oxw::engine {

// log2(x) as ln(x) * 1.442695041; 0 for x <= 0 (callers pass positive values).
double LOG2(double x);

// 10 log10(intensity) as ln(intensity) * 4.342944819032518; exactly 0 for intensity 0 (and, so
// that no caller ever sees a NaN, for a negative intensity too).
double I2dB(double intensity);
// 10^(dB / 10) as exp(ln(10) * dB / 10).
double dB2I(double dB);
// The same for n values at a time: out[i] = I2dB(in[i]), out[i] = dB2I(in[i]) bit for bit; in
// and out may be the same array.
void I2dB(const double* intensity, double* dB, std::size_t n);
void dB2I(const double* dB, double* intensity, std::size_t n);
// (All give the extended-precision result bit for bit, mostly without the extended-precision
// library calls: LevelConversions.h.)

// Bark: 13 atan(0.76 fk) + 3.5 atan((fk / 7.5)^2), fk in kHz.
double Fq2Bark(double Hz);
// ERB number (Cam): 9.27894216434192 ln(0.004368 Hz + 1).
double Fq2ERB(double Hz);
// Frequency of an ERB number: (10^(ERB / 21.36554) - 1) * 1000 / 4.368 Hz.
double Erb2Fq(double ERB);
// Equivalent rectangular bandwidth at Hz: 24.673 (4.368 Hz / 1000 + 1) Hz.
double ERBandwidth(double Hz);
// Bark value of an ERB number.
double Erb2Bark(double ERB);

// Threshold in quiet (dB): 3.64 fk^-0.8 - 6.5 exp(-0.6 (fk - 3.3)^2) + 0.001 fk^4; Hz > 0.
double Threshold(double Hz);

// Loudness level in phon of a loudness in sone: 4.2 below 5e-05 sone; 9999.0 (out of range)
// above 1079 sone; otherwise a sixth-order polynomial in log2(sone).
double Sone2Phon(double sone);

}  // namespace oxw::engine
