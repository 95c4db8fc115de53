#pragma once
// The reference data of the audibility chart and the conversion that places a measured
// third-octave level among the reference contours. Bands are numbered 1..26, 31.5 Hz to 10 kHz;
// levels are in dB re 20 uPa.

#include <array>
#include <span>

namespace oxw::views::frmAudibility {

inline constexpr int NumBands = 26;

// Centre frequency (Hz) of band b at index b - 1.
extern const std::array<double, NumBands> HzTable;

// One reference contour: its level L, its first band and its levels from that band to band 26.
struct ReferenceContour {
    int Level;
    int FirstBand;
    std::span<const double> Levels;
    int NumPoints() const { return static_cast<int>(Levels.size()); }
};

// The eighteen contours in drawing order, level 95 first, level 10 last.
extern const std::array<ReferenceContour, 18> AudibilityReferenceContours;

// The threshold of hearing and the 20-phon contour ("LL20 as 35 dB(A)"), band b at index b - 1.
extern const std::array<double, NumBands> HearingThresholdLevels;
extern const std::array<double, NumBands> LL20Levels;

// One row of the conversion table: upper and lower source level, upper and lower target
// level, lowest and highest centre frequency the row applies to.
struct ConvertRow {
    double U, D, TU, TD, FLo, FHi;
};
// Rows 1..19 at indexes 0..18.
extern const std::array<ConvertRow, 19> ConvertYAxis;

// 10 log10 of an intensity; 0 for 0 and also for a negative or non-finite value, so that a
// damaged hand-off cannot carry NaN into the fits.
double I2dB(double intensity);

// The level at which an ambient band level L of a band with centre frequency f is drawn: the
// row with D <= L < U whose frequency window holds f interpolates linearly from TD to TU. Levels
// of 90 dB and above are drawn at 87.7, the top of the table; anything else no row takes
// (below 0 dB, below 5 dB above 1250 Hz) is drawn at 0.
double ConvertAmbientLevel(double L, double f);

}  // namespace oxw::views::frmAudibility
