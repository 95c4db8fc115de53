#pragma once
// Weighting windows of the FFT component and their weights.

#include <cstdint>
#include <vector>

enum TFastFourierWgtWin : std::uint8_t {
    fwRectangle = 0,
    fwTriangle = 1,
    fwCos2 = 2,
    fwGauss = 3,
    fwHamming = 4,
    fwBlackman = 5,
    fwBlkmHarris = 6,
    fwBlkmNuttall = 7,
    fwUserDef = 8
};

// Weights w(1..N) of a built-in window, returned at index i - 1. Written about the centre
// x = (i - N/2) / N (x = 0 at i = N/2), where every window but the triangle peaks; computed in
// long double. fwRectangle and fwUserDef give all ones (the user weights live in the component).
std::vector<double> WindowWeights(TFastFourierWgtWin ww, int N);
