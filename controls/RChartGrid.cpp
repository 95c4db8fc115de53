// The grid of a chart's active layer: lines or points at the axis ticks (step 0), at multiples of
// a step, or on a logarithmic axis per decade (-1), in the 1-2-5 series (-2) or at every integer
// mantissa (-3). Positions at or beyond the high end of the range are not drawn, and at most
// MaxGridLines lines per direction (points in all) are.
#include <algorithm>
#include <cmath>

#include "controls/RChartDataBmp.h"
#include "numeric/UnivConst.h"

namespace {

constexpr double ROUND_TOL = 1e-14;

double Pow10(double v) { return static_cast<double>(std::exp(v * uc_ln10)); }
double Log10(double v) { return static_cast<double>(std::log(static_cast<long double>(v)) / uc_ln10); }
double Round(double v) { return std::nearbyint(v); }  // halves to even

}  // namespace

double TDataBmpPainter::FirstGridLocation(const TScaleProps& axis, const TScale& scale, double g, double low) const
{
    if (g == 0)
        return scale.NumTicks() > 0 ? scale.TickPos(1) : low;
    if (g > 0 || !axis.Logarithmic())
        return std::ceil(low / g) * g;
    if (g == -1)
        return Pow10(std::ceil(Log10(low)));
    const double e = std::floor(Log10(low));
    const double m = Round(Pow10(Log10(low) - e));
    if (g == -2)
        return (m <= 2 ? 2 : (m <= 5 ? 5 : 10)) * Pow10(e);
    if (g == -3)
        return m * Pow10(e);
    return low;
}

double TDataBmpPainter::NextGridLocation(double x, bool LogLin, double dx, int index, bool ynotx) const
{
    if (dx == 0) {
        const int L = C.FActiveLayer;
        const TScale& scale = ynotx ? *C.FScaleY[static_cast<std::size_t>(L)] : *C.FScaleX[static_cast<std::size_t>(L)];
        if (index >= 1 && index <= scale.NumTicks())
            return scale.TickPos(index);
        const TScaleProps& axis = ynotx ? static_cast<const TScaleProps&>(*C.FScalePropsY[static_cast<std::size_t>(L)])
                                        : *C.FScalePropsX[static_cast<std::size_t>(L)];
        return std::max(axis.RangeLow(), axis.RangeHigh());
    }
    if (!LogLin || dx > 0)
        return x + std::abs(dx);
    if (dx == -1)
        return 10 * x;
    double f = Log10(x);
    if (std::abs(f - Round(f)) < ROUND_TOL)
        f = Round(f);
    const double e = std::floor(f);
    const double m = Round(Pow10(f - e));
    if (dx == -2)
        return (m < 2 ? 2 : (m < 5 ? 5 : 10)) * Pow10(e);  // 1 -> 2 -> 5 -> 10
    return (m + 1) * Pow10(e);
}

void TDataBmpPainter::GridLine(int L, double x1, double y1, double x2, double y2)
{
    const QPoint p = Pix(L, x1, y1), q = Pix(L, x2, y2);
    cv->MoveTo(p.x(), p.y());
    cv->LineTo(q.x(), q.y());
}

void TDataBmpPainter::ConstructGrid()
{
    const int L = C.FActiveLayer;
    const auto l = static_cast<std::size_t>(L);
    const TScaleProps& ax = *C.FScalePropsX[l];
    const TScaleProps& ay = *C.FScalePropsY[l];
    const double xlo = std::min(ax.RangeLow(), ax.RangeHigh()), xhi = std::max(ax.RangeLow(), ax.RangeHigh());
    const double ylo = std::min(ay.RangeLow(), ay.RangeHigh()), yhi = std::max(ay.RangeLow(), ay.RangeHigh());
    const double gx = C.FGridDx, gy = C.FGridDy;
    const double x0 = FirstGridLocation(ax, *C.FScaleX[l], gx, xlo);
    const double y0 = FirstGridLocation(ay, *C.FScaleY[l], gy, ylo);
    const GridStyleType gs = C.FGridStyle;
    const bool dots = gs == gsVertDotLines || gs == gsHorizDotLines || gs == gsDotLines;

    cv->Pen.Color = C.FGridColor;
    cv->Brush.Color = C.FChartColor;
    cv->Brush.Style = bsSolid;
    cv->Pen.Style = dots ? psDot : psSolid;
    if (gs == gsPoints) {
        int count = 0, ix = 1;
        for (double x = x0; x < xhi && count < MaxGridLines; x = NextGridLocation(x, ax.Logarithmic(), gx, ++ix, false)) {
            int iy = 1;
            for (double y = y0; y < yhi && count < MaxGridLines; y = NextGridLocation(y, ay.Logarithmic(), gy, ++iy, true)) {
                const QPoint p = Pix(L, x, y);
                cv->SetPixel(p.x(), p.y(), C.FGridColor);
                ++count;
            }
        }
    }
    if (gs == gsVertLines || gs == gsVertDotLines || gs == gsLines || gs == gsDotLines) {
        int count = 0, ix = 1;
        for (double x = x0; x < xhi && count < MaxGridLines; x = NextGridLocation(x, ax.Logarithmic(), gx, ++ix, false), ++count)
            GridLine(L, x, ay.RangeLow(), x, ay.RangeHigh());
    }
    if (gs == gsHorizLines || gs == gsHorizDotLines || gs == gsLines || gs == gsDotLines) {
        int count = 0, iy = 1;
        for (double y = y0; y < yhi && count < MaxGridLines; y = NextGridLocation(y, ay.Logarithmic(), gy, ++iy, true), ++count)
            GridLine(L, ax.RangeLow(), y, ax.RangeHigh(), y);
    }
    if (dots)
        cv->Pen.Style = psSolid;
}
