#include "numeric/FourierWindow.h"

#include <cmath>

namespace {

constexpr long double TwoPi = 6.283185307179586L;
constexpr long double GAlpha = 3.0L;       // Gauss: width parameter
constexpr long double HAlpha = 0.543478261L; // Hamming: constant term

// a0 + a1 cos(2 pi x) + a2 cos(4 pi x) + a3 cos(6 pi x)
long double CosineSum(long double x, long double a0, long double a1, long double a2, long double a3)
{
    return a0 + a1 * std::cos(TwoPi * x) + a2 * std::cos(2.0L * TwoPi * x)
        + a3 * std::cos(3.0L * TwoPi * x);
}

long double Weight(TFastFourierWgtWin ww, long double x)
{
    switch (ww) {
    case fwCos2: {
        const long double c = std::cos(TwoPi / 2.0L * x);
        return c * c;
    }
    case fwGauss: {
        const long double g = GAlpha * 2.0L * x;
        return std::exp(-0.5L * g * g);
    }
    case fwHamming:
        return HAlpha + 0.456521739L * std::cos(TwoPi * x);
    case fwBlackman:
        return CosineSum(x, 0.42659L, 0.49656L, 0.076848L, 0.0L);
    case fwBlkmHarris:
        return CosineSum(x, 0.35875L, 0.48829L, 0.14128L, 0.01168L);
    case fwBlkmNuttall:
        return CosineSum(x, 0.3635819L, 0.4891775L, 0.1365995L, 0.0106411L);
    default:
        return 1.0L;
    }
}

} // namespace

std::vector<double> WindowWeights(TFastFourierWgtWin ww, int N)
{
    std::vector<double> w(N > 0 ? static_cast<std::size_t>(N) : 0, 1.0);
    if (ww == fwTriangle) {
        // w = 2i/N for point i and its mirror N + 1 - i, i = 1..N/2.
        for (int i = 1; i <= N / 2; ++i) {
            const double v = static_cast<double>(2.0L * i / N);
            w[static_cast<std::size_t>(i - 1)] = v;
            w[static_cast<std::size_t>(N - i)] = v;
        }
        return w;
    }
    if (ww == fwRectangle || ww == fwUserDef)
        return w;
    const long double half = static_cast<long double>(N) / 2.0L;
    for (int i = 1; i <= N; ++i) {
        const long double x = (static_cast<long double>(i) - half) / static_cast<long double>(N);
        w[static_cast<std::size_t>(i - 1)] = static_cast<double>(Weight(ww, x));
    }
    return w;
}
