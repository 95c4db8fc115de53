#pragma once
// Outer- and middle-ear transfer: the level of a spectral component after the free-field or
// diffuse-field gain of the outer ear (none at the eardrum) and the attenuation of the middle ear.
// Closed-form curves of frequency (Hz); levels in dB. Every curve adds a gain that depends on the
// frequency only, so the gains of a fixed bin grid are worked out once and reused per block.
#include <vector>

#include "engine/RunState.h"

namespace oxw::engine {

// Free field to eardrum: straight lines in ln(kHz) between 104 and 16080 Hz, 0 dB outside.
double FreeField(double dB, double Hz);
// Diffuse field to eardrum: polynomials in log2(Hz) above 100 Hz, 0 dB at and below.
double DiffuseField(double dB, double Hz);
// Middle ear: dB minus a piecewise polynomial in ln(kHz).
double MiddleEar(double dB, double Hz);

// Gain (dB) of the whole ear at Hz for the sound field 'F' (free), 'D' (diffuse) or any other
// code (at the eardrum: middle ear only): the level a 0 dB component has after the transfer.
double EarGain(char field, double Hz);

// The ear gains of one compact grid (bins 1..n at centre frequencies F), kept until the field or
// the grid changes.
class EarGains {
public:
    // Gains in dB and as intensity factors (10^(dB / 10)) for bins 1..n.
    void For(char field, const Compact& F, int n);
    const Compact& dB() const { return dB_; }
    const Compact& Factor() const { return factor_; }

private:
    char field_ = 0;
    int n_ = -1;
    Compact F_{}, dB_{}, factor_{};
};

// CompL[i] = I2dB(I[i]) + gain, CompInt[i] = dB2I(CompL[i]) for bins 1..n. A bin without energy
// enters as 0 dB.
void ApplyEarGains(const EarGains& g, const Compact& I, int n, Compact& CompL, Compact& CompInt);

}  // namespace oxw::engine
