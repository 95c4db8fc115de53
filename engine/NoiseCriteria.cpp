// The noise criterion NC and the preferred noise criterion PNC of the file's mean octave-band
// spectrum, rated once at the end of the first pass.
#include "engine/NoiseCriteria.h"

#include "engine/Conversions.h"
#include "engine/Engine.h"

namespace oxw::engine {

namespace {
// Number of a curve row: 15, 20, 25 ...; without a row 10098, which the shift of 99 turns into
// 9999.
double CurveNumber(int row) { return row < 0 ? OUT_OF_RANGE_RATING + 99 : 15.0 + 5.0 * row; }
}  // namespace

OctaveLevels OctaveLevelsOf(const std::vector<double>& Oct_S) {
    OctaveLevels L{};
    for (std::size_t i = 0; i < L.size() && i < Oct_S.size(); ++i) L[i] = I2dB(Oct_S[i]);
    return L;
}

void Engine::CalculateNoiseCriterion() {
    RunState& s = S();
    Log("S", "CalculateNoiseCriterion");
    Log("D", " Calculate oct_L using Oct_S");
    const OctaveLevels octL = OctaveLevelsOf(s.Oct_S);
    const int row = SelectCurve(NC_CURVES, octL, NC_FIRST_BAND);
    double shift = 99;
    if (row >= 0) CalculateNCShift(NC_CURVES[static_cast<std::size_t>(row)], octL, shift);
    s.NC = CurveNumber(row) - shift;
    Log("E", "CalculateNoiseCriterion");
}

void Engine::CalculateNCShift(const NcCurve& curve, const OctaveLevels& octL, double& shift) {
    Log("S", "CalculateNCShift");
    shift = CurveShift(curve, octL, NC_FIRST_BAND, shift);
    Log("E", "CalculateNCShift");
}

void Engine::CalculatePNC() {
    RunState& s = S();
    Log("S", "CalculatePNC");
    Log("D", " Calculate octL using Oct_S");
    const OctaveLevels octL = OctaveLevelsOf(s.Oct_S);
    const int row = SelectCurve(PNC_CURVES, octL, PNC_FIRST_BAND);
    double shift = 99;
    if (row >= 0) CalculatePNCShift(PNC_CURVES[static_cast<std::size_t>(row)], octL, shift);
    s.PNC = CurveNumber(row) - shift;
    Log("E", "CalculatePNC");
}

void Engine::CalculatePNCShift(const PncCurve& curve, const OctaveLevels& octL, double& shift) {
    Log("S", "CalculatePNCShift");
    shift = CurveShift(curve, octL, PNC_FIRST_BAND, shift);
    Log("E", "CalculatePNCShift");
}

}  // namespace oxw::engine
