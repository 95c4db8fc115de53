// Numeric tick layout of a scale and the choice of layout; see ScaleLayout.h.
#include "controls/ScaleLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "controls/ScaleLayoutDetail.h"
#include "numeric/NumberFormat.h"
#include "numeric/Rounding.h"
#include "numeric/ScaleParams.h"

namespace oxw::controls {

using detail::CandidateLimit;
using detail::QSave;

namespace {

constexpr std::size_t kMaxLabelLength = 14;

std::string Cut(std::string text)
{
    if (text.size() > kMaxLabelLength)
        text.resize(kMaxLabelLength);
    return text;
}

// "2.50" -> "2.5", "10.00" -> "10"; texts with an exponent stay.
std::string WithoutTrailingZeros(std::string text)
{
    if (text.find('.') == std::string::npos || text.find_first_of("eE") != std::string::npos)
        return text;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

// Label of the labelled linear tick t (loop index i) of a span (RangeHigh - RangeLow).
std::string LinearLabel(const TScaleLayoutInput& in, double t, bool zero, int m, long i)
{
    const double span = in.RangeHigh - in.RangeLow;
    std::string text;
    if (!zero)
        text = RCSpecStrf(t, 1, m);
    else if (std::fabs(span) <= 100000.0)
        text = RCSpecStrf(0.0, 1, m);
    else
        text = m == 0 ? "0" : "0.0";
    text = Cut(text);
    if (in.LabelType == ftUserText)
        return ExtractUserText(in.UserTickText, static_cast<int>(std::min<long>(i + 1, 1 << 30)));
    return AddScaleInscription(text, in.ScaleInscript);
}

TScaleTick ShortTick(double t)
{
    TScaleTick tick;
    tick.Value = tick.ReportValue = t;
    tick.Length = TTickLength::Short;
    tick.Record = tick.Report = true;
    return tick;
}

}  // namespace

std::string RCSpecStrf(double r, int FieldWidth, int DecP)
{
    if (DecP == -1)
        return numeric::strff(r, FieldWidth, -2);
    if (DecP >= 0)
        return numeric::fixedField(r, FieldWidth, DecP);
    return numeric::expField(r, FieldWidth);
}

int CalcLogM(int DecPlaces, double lo, double hi)
{
    if (DecPlaces != -2)
        return DecPlaces;
    if (lo > hi)
        std::swap(lo, hi);
    const double d = hi - lo;
    if (!(d < 1e6) || d <= 1e-4)
        return -1;
    if (lo >= 1.0)
        return 0;
    return 1 - numeric::RoundClamped<int>(std::log10(lo));
}

std::string AddScaleInscription(const std::string& label, const std::string& inscript)
{
    if (label.empty())
        return label;
    const std::size_t amp = inscript.find('&');
    if (amp == std::string::npos)
        return inscript + label;
    return inscript.substr(0, amp) + label + inscript.substr(amp + 1);
}

std::string ExtractUserText(const std::string& text, int ix)
{
    std::size_t start = 0;
    for (int item = 1; item < ix; ++item) {
        const std::size_t bar = text.find('|', start);
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    const std::size_t end = text.find('|', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

namespace detail {

void LinearLayout(const TScaleLayoutInput& in, TScaleLayout& out)
{
    long double T0 = 0.0L, D = 0.0L;
    std::uint16_t n = 1;
    numeric::CalcScalePars(in.MinTicks, in.RangeLow, in.RangeHigh, T0, D, n);
    if (D == 0.0L)
        return;
    const long double S = D / n, lo = in.RangeLow, hi = in.RangeHigh;
    const long double sign = in.RangeHigh > in.RangeLow ? 1.0L : -1.0L;
    auto past = [&](long double t, long double step) { return sign * (t - hi) > 0.001L * std::fabs(step); };
    if (in.ShortTicks) {
        CandidateLimit limit;
        for (long i = 0;; ++i) {
            const long double t = (T0 - D) + i * S;
            if (past(t, S) || !limit.Next(t))
                break;
            if (sign * t >= sign * lo)
                out.Ticks.push_back(ShortTick(static_cast<double>(t)));
        }
    }
    const int m = numeric::CalcM(in.DecPlaces, in.RangeLow, in.RangeHigh);
    CandidateLimit limit;
    for (long i = 0;; ++i) {
        const long double t = T0 + i * D;
        if (past(t, D) || !limit.Next(t))
            break;
        const double value = static_cast<double>(t);
        const bool zero = !(std::fabs(value / (in.RangeHigh - in.RangeLow)) >= 1e-14);
        TScaleTick tick;
        tick.Value = value;
        tick.ReportValue = zero ? 0.0 : value;
        tick.Length = TTickLength::Long;
        tick.Record = in.Vertical || !in.ShortTicks;
        tick.Report = true;
        if (in.LabelType != ftNoFigs) {
            tick.Labelled = true;
            tick.Label = LinearLabel(in, value, zero, m, i);
        }
        out.Ticks.push_back(std::move(tick));
    }
}

void LogLayout(const TScaleLayoutInput& in, TScaleLayout& out)
{
    const double lo = std::min(in.RangeLow, in.RangeHigh), hi = std::max(in.RangeLow, in.RangeHigh);
    if (!(lo > 0.0))
        return;  // no value at or below 0 has a place on a logarithmic mapping
    const double G = std::log10(in.RangeHigh / in.RangeLow);
    if (std::fabs(G) < 1.0) {
        LinearLayout(in, out);
        return;
    }
    const bool use2510 = in.MinTicks > std::fabs(G) + 0.5;
    const int m = CalcLogM(in.DecPlaces, lo, hi);
    const long double B = std::pow(10.0L, std::floor(std::log10(static_cast<long double>(lo) * QSave)));
    long double M = 1.0L;
    int counter = 0;
    CandidateLimit limit;
    do {
        for (int f = 1; f <= 9; ++f) {
            const bool labelled = f == 1 || (use2510 && (f == 2 || f == 5));
            if (!labelled && !use2510)
                continue;
            const long double v = f * B * M;
            if (!limit.Next(v))
                return;
            if (!(lo < v / QSave && v * QSave < hi))
                continue;
            if (in.Vertical && !labelled && !in.ShortTicks)
                continue;
            TScaleTick tick;
            tick.Value = tick.ReportValue = static_cast<double>(v);
            tick.Report = true;
            tick.Record = labelled || in.Vertical || in.ShortTicks;
            tick.Length = labelled || in.Vertical ? TTickLength::Long
                        : in.ShortTicks           ? TTickLength::Short
                                                  : TTickLength::None;
            if (labelled && in.LabelType != ftNoFigs) {
                const int decade = numeric::RoundClamped<int>(static_cast<double>(std::log10(B * M)));
                std::string text = m != -3 ? RCSpecStrf(tick.Value, 1, m)
                                 : f == 1  ? std::to_string(decade)
                                           : std::string();
                text = Cut(text);
                if (in.DecPlaces == -2)
                    text = WithoutTrailingZeros(text);
                ++counter;
                tick.Labelled = true;
                tick.Label = in.LabelType == ftUserText ? ExtractUserText(in.UserTickText, counter)
                                                        : AddScaleInscription(text, in.ScaleInscript);
            }
            out.Ticks.push_back(std::move(tick));
        }
        M *= 10.0L;
    } while (hi >= QSave * B * M);
}

}  // namespace detail

TScaleLayout LayoutScale(const TScaleLayoutInput& input)
{
    TScaleLayoutInput in = input;
    in.MinTicks = std::clamp(in.MinTicks, 2, 10);  // as the scale keeps it
    TScaleLayout out;
    if (in.LabelType == ftDateTime) {
        detail::DateTimeLayout(in, out);
        return out;
    }
    if (!std::isfinite(in.RangeLow) || !std::isfinite(in.RangeHigh) || !std::isfinite(in.RangeHigh - in.RangeLow))
        return out;
    if (in.LabelType == ftTime && detail::TimeLayout(in, out))
        return out;
    if (in.Logarithmic)
        detail::LogLayout(in, out);
    else
        detail::LinearLayout(in, out);
    return out;
}

}  // namespace oxw::controls
