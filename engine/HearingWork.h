#pragma once
// The input sets of the hearing steps (ear transfer, excitation, loudness, sharpness and spectral
// dissonance) with the run-constant factors of their bin grids, and the working values of the
// tone steps (tone dissonance; masking, with the Bark values of the FFT lines). The first pass
// works on one set (the 108-bin spectrum), the tone pass on two (the 108- and 121-bin spectra);
// each set names the state arrays its steps read and write. The factors are kept between blocks
// and rebuilt only when a grid changes, so the block loop allocates nothing.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "engine/EarTransfer.h"
#include "engine/Engine.h"
#include "engine/Excitation.h"
#include "engine/Masking.h"
#include "engine/SpectralDissonance.h"
#include "engine/ToneDissonance.h"

namespace oxw::engine {

struct HearingSet {
    const char* suffix;         // "", "_Nordic108" or "_Nordic121"
    const char* spectDissLead;  // lead text of the spectral dissonance's log line
    const Compact* F;           // centre frequencies (Hz)
    const Compact* CompactI;    // compact spectrum (intensity)
    Compact* CompL;             // after the ear transfer (dB)
    Compact* CompInt;           // after the ear transfer (intensity)
    std::vector<double>* RoexL;  // component levels (dB), bins 1..n
    ErbPattern* Esig;
    std::vector<double>* SpecLoud;  // sone per ERB, grid indices 8..156
    double* Loudness;               // sone
    double* Nmax_T;                 // largest loudness of the output line (sone)
    double *SharpnessZ, *SharpnessA, *TimbralWidth, *Volume;
    double *SpectDissS, *SpectDissHK;

    int n = 0;  // compact bins 1..n of the current block
    EarGains ear{};
    RoexFilters roex{};
    DissonancePairs pairs{};
};

struct Engine::HearingWork {
    explicit HearingWork(RunState& s);
    // Pass 1, tone pass 108 bins, tone pass 121 bins.
    std::array<HearingSet, 3> sets;
    ToneDissonanceWork tones;
    MaskingWork masking;
    double aTune = 0, log2ATune = 0;  // the tuning of the last pitch named, and its LOG2
    std::string text;  // an audit line being built

    // The sets of the current processing mode ("Standard": the first, "Extended": the other
    // two, otherwise none) with their bin counts.
    std::span<HearingSet> Sets(Engine& e);
};

}  // namespace oxw::engine
