// Tick steps and label decimals of linear scales; rules in ScaleParams.h.
#include "numeric/ScaleParams.h"

#include <cmath>

#include "numeric/Rounding.h"

namespace oxw::numeric {
namespace {

constexpr long double kLn10 = 2.302585092994045684017991454684364208L;
constexpr long double kLg2 = 0.301029995663981195213738894724493027L;
constexpr long double kLg5 = 0.698970004336018804786261105275506973L;
constexpr long double kThresh = 1e-10L;

// Exponent of the step in decades (log10 of the step) and the short intervals per step.
long double StepExponent(long double span, int Ntick, std::uint16_t& Divi)
{
    long double r = std::log(span / Ntick) / kLn10;
    long double f = r - std::trunc(r);
    if (std::fabs(f) < kThresh || std::fabs(f) > 0.9999999999L) {
        f = 0.0L;
        r = std::nearbyint(r);
    }
    if (r < 0.0L && f != 0.0L)
        r -= 1.0L;
    if (f < 0.0L)
        f += 1.0L;
    if (f < kLg2 + kThresh) {
        Divi = 5;
        return std::trunc(r);
    }
    if (f < kLg5 + kThresh) {
        Divi = 4;
        return std::trunc(r) + kLg2;
    }
    Divi = 5;
    return std::trunc(r) + kLg5;
}

}  // namespace

void CalcScalePars(int Ntick, long double LowVal, long double HighVal, long double& LowTick,
                   long double& Distance, std::uint16_t& Divi)
{
    LowTick = LowVal;
    Distance = 0.0L;
    Divi = 1;
    const long double span = std::fabs(HighVal - LowVal);
    if (LowVal == HighVal || Ntick < 1 || !std::isfinite(span))
        return;
    const long double sign = LowVal >= HighVal ? -1.0L : 1.0L;
    std::uint16_t divi = 1;
    const long double step = sign * std::exp(StepExponent(span, Ntick, divi) * kLn10);
    if (step == 0.0L || !std::isfinite(step))
        return;
    Distance = step;
    Divi = divi;
    long double tick = (std::trunc(LowVal / step) - 1.0L) * step;
    // Below the spacing of the numbers at LowVal the step no longer moves the tick: stop there.
    while (sign * (LowVal - tick) > 0.001L * std::fabs(step)) {
        const long double next = tick + step;
        if (next == tick)
            break;
        tick = next;
    }
    LowTick = tick;
}

int CalcM(int DecPlaces, double lo, double hi)
{
    if (DecPlaces != -2)
        return DecPlaces;
    const double d = std::fabs(lo - hi);
    if (!(d < 1e6) || d <= 1e-4)
        return -1;
    if (d >= 100.0)
        return 0;
    return 2 - RoundClamped<int>(std::log(d) / 2.5);
}

}  // namespace oxw::numeric
