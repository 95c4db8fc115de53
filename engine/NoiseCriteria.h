#pragma once
// Room-noise ratings of a file's mean octave-band spectrum (levels in dB re the engine's
// calibration, index 0 = 31.5 Hz, 1 = 63 Hz ... 8 = 8 kHz, 9 = 16 kHz):
// - the noise criterion NC on the NC-15 .. NC-70 curves of 63 Hz .. 8 kHz (the ANSI S12.2
//   family; NC-70 continues NC-65 in 5 dB steps);
// - the preferred noise criterion PNC on the PNC-15 .. PNC-65 curves of 31.5 Hz .. 8 kHz
//   (Beranek 1971).
// A rating takes the lowest curve of its family that at least one band does not exceed and adds
// the largest amount by which a band lies above that curve (or subtracts the smallest margin
// below it); a spectrum above every curve rates 9999. Both ratings are in dB.
#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace oxw::engine {

inline constexpr double OUT_OF_RANGE_RATING = 9999.0;

// Octave-band levels (dB) of the mean band intensities Oct_S; a band of zero intensity, or one
// missing from Oct_S, reads 0 dB.
using OctaveLevels = std::array<double, 10>;
OctaveLevels OctaveLevelsOf(const std::vector<double>& Oct_S);

// NC-15, NC-20, ... NC-70 (row r is NC-(15 + 5 r)), 63 Hz .. 8 kHz.
using NcCurve = std::array<double, 8>;
inline constexpr int NC_FIRST_BAND = 1;
inline constexpr std::array<NcCurve, 12> NC_CURVES{{
    {47, 36, 29, 22, 17, 14, 12, 11},
    {51, 40, 33, 26, 22, 19, 17, 16},
    {54, 44, 37, 31, 27, 24, 22, 21},
    {57, 48, 41, 35, 31, 29, 28, 27},
    {60, 52, 45, 40, 36, 34, 33, 32},
    {64, 56, 50, 45, 41, 39, 38, 37},
    {67, 60, 54, 49, 46, 44, 43, 42},
    {71, 64, 58, 54, 51, 49, 48, 47},
    {74, 67, 62, 58, 56, 54, 53, 52},
    {77, 71, 67, 63, 61, 59, 58, 57},
    {80, 75, 71, 68, 66, 64, 63, 62},
    {83, 79, 75, 73, 71, 69, 68, 67},
}};

// PNC-15, PNC-20, ... PNC-65 (row r is PNC-(15 + 5 r)), 31.5 Hz .. 8 kHz.
using PncCurve = std::array<double, 9>;
inline constexpr int PNC_FIRST_BAND = 0;
inline constexpr std::array<PncCurve, 11> PNC_CURVES{{
    {58, 43, 35, 28, 21, 15, 10, 8, 8},
    {59, 46, 39, 32, 26, 20, 15, 13, 13},
    {60, 49, 43, 37, 31, 25, 20, 18, 18},
    {61, 52, 46, 41, 35, 30, 25, 23, 23},
    {62, 55, 50, 45, 40, 35, 30, 28, 28},
    {64, 59, 54, 50, 45, 40, 35, 33, 33},
    {67, 63, 58, 54, 50, 45, 41, 38, 38},
    {70, 66, 62, 58, 54, 50, 46, 43, 43},
    {73, 70, 66, 62, 59, 55, 51, 48, 48},
    {76, 73, 69, 66, 63, 59, 56, 53, 53},
    {79, 76, 73, 70, 67, 64, 61, 58, 58},
}};

// Row of the first curve, in ascending order, that some band does not exceed (bands from
// `firstBand` up, curve column k against band firstBand + k); -1 when the spectrum lies above
// every curve.
template <std::size_t Bands, std::size_t Curves>
int SelectCurve(const std::array<std::array<double, Bands>, Curves>& family,
                const OctaveLevels& octL, int firstBand) {
    for (std::size_t r = 0; r < Curves; ++r)
        for (std::size_t k = 0; k < Bands; ++k)
            if (octL[static_cast<std::size_t>(firstBand) + k] <= family[r][k])
                return static_cast<int>(r);
    return -1;
}

// The smallest of `shift` and the margins (curve − level) of the curve's bands.
template <std::size_t Bands>
double CurveShift(const std::array<double, Bands>& curve, const OctaveLevels& octL, int firstBand,
                  double shift) {
    for (std::size_t k = 0; k < Bands; ++k)
        shift = std::min(shift, curve[k] - octL[static_cast<std::size_t>(firstBand) + k]);
    return shift;
}

}  // namespace oxw::engine
