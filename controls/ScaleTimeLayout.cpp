// Time-of-day and date-time tick layouts of a scale; see ScaleLayout.h.
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

#include "controls/ScaleLayout.h"
#include "controls/ScaleLayoutDetail.h"
#include "numeric/DateTimeFormat.h"
#include "numeric/Rounding.h"

namespace oxw::controls {

using detail::CandidateLimit;
using detail::QSave;
using numeric::DecodeDateTimeVKR;
using numeric::EncodeDate;
using numeric::FormatDateTimeVKR;

namespace {

// Time steps in seconds and their short intervals.
constexpr int NDist = 28;
constexpr int MsecIx = 9;  // steps up to this index show milliseconds
constexpr std::array<double, NDist + 1> FigDist = {
    0,    0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1,  0.2,   0.5,   1,     2,     5,     10,   20,
    30,   60,    120,   180,   300,  600,  1200, 1800, 3600,  7200,  14400, 21600, 43200, 86400};
constexpr std::array<int, NDist + 1> FigNtick = {
    1, 5, 4, 5, 5, 4, 5, 5, 4, 5, 5, 4, 5, 5, 4, 6, 6, 6, 6, 5, 5, 6, 6, 6, 4, 4, 6, 6, 6};

// Date steps per row (1 hours, 2 minutes or seconds, 3 days, 4 hundredths, 5 months) and their
// short steps.
using GridRow = std::array<int, 6>;
constexpr std::array<GridRow, 5> StepGrids = {{
    {1, 2, 3, 6, 8, 12}, {1, 2, 5, 10, 20, 30}, {1, 2, 3, 7, 14, 28}, {1, 2, 5, 10, 20, 50}, {1, 2, 3, 4, 6, 12}}};
constexpr std::array<GridRow, 5> StepGridsSh = {{
    {1, 1, 1, 2, 2, 3}, {1, 1, 1, 2, 5, 10}, {1, 1, 1, 1, 7, 7}, {1, 1, 1, 5, 10, 10}, {1, 1, 1, 1, 1, 1}}};

constexpr double kFirstDate = -693593.0;   // 1 Jan 0001
constexpr double kLastRangeEnd = 3000000.0;
constexpr double kDateEnd = 2958466.0;     // 1 Jan 10000: no tick at or after it

std::string Quoted(char c) { return std::string("\"") + c + "\""; }

std::string DateText(std::string_view pattern, double t) { return FormatDateTimeVKR(pattern, t).value_or(""); }

// Largest index of a grid row whose step is at most `limit` (0 when none is).
std::size_t LargestStep(const GridRow& row, double limit)
{
    std::size_t ix = 0;
    for (std::size_t k = 0; k < row.size(); ++k)
        if (row[k] <= limit)
            ix = k;
    return ix;
}

std::string MonthPart(const TDTLabel& f) { return f.MonthName() ? "mmm" : "mm"; }

std::string YearPart(const TDTLabel& f)
{
    return f.YearLength() == ylYYYY ? "yyyy" : f.YearLength() == ylYY ? "yy" : "";
}

std::string TimePattern(int mode, const TDTLabel& f)
{
    const std::string sep = Quoted(f.TimeSeparator());
    const std::string hundredths = mode == 4 ? ".zz" : "";
    switch (f.TimeFormat()) {
    case tfHHhMM:
        if (mode == 1)
            return "h\"h\"";
        return mode == 2 ? "h\"h\"nn" : "h\"h\"nn" + sep + "ss" + hundredths;
    case tfAMPM:
        if (mode == 1)
            return "ham/pm";
        return mode == 2 ? "h" + sep + "nnam/pm" : "h" + sep + "nn\".\"ss" + hundredths + "am/pm";
    default:
        return mode <= 2 ? "hh" + sep + "nn" : "hh" + sep + "nn" + sep + "ss" + hundredths;
    }
}

std::string DayPattern(const TDTLabel& f)
{
    const std::string sep = Quoted(f.DateSeparator()), day = "dd", month = MonthPart(f), year = YearPart(f);
    switch (f.DateOrder()) {
    case doMMDDYY: return month + sep + day + sep + year;
    case doYYMMDD: return year + sep + month + sep + day;
    default: return day + sep + month + sep + year;
    }
}

std::string MonthPattern(const TDTLabel& f)
{
    const std::string sep = Quoted(f.DateSeparator());
    return f.DateOrder() == doYYMMDD ? YearPart(f) + sep + MonthPart(f) : MonthPart(f) + sep + YearPart(f);
}

TScaleTick DateTick(double t, bool labelled)
{
    TScaleTick tick;
    tick.Value = tick.ReportValue = t;
    tick.Record = tick.Report = true;
    tick.Length = labelled ? TTickLength::Long : TTickLength::Short;
    tick.Labelled = labelled;
    return tick;
}

// The step of a grid row (in days) for about Range days per tick at Multiplier steps per day,
// the first tick at or after RangeLow that is a whole number of steps into its day, and the
// short step.
double FindStep(int row, double Range, double Multiplier, double RangeLow, double& FirstTick, double& ShortSteps)
{
    const std::size_t ix = LargestStep(StepGrids[static_cast<std::size_t>(row - 1)], Range * Multiplier);
    const double step = StepGrids[static_cast<std::size_t>(row - 1)][ix];
    const double day = std::floor(RangeLow);
    const double f = RangeLow - day;  // the time of day, also before the origin
    double a = std::ceil(f * Multiplier);
    if (a != 0.0)
        a = std::fmod(step - std::fmod(a, step), step);
    FirstTick = std::ceil(f * Multiplier + a) / Multiplier + day;
    ShortSteps = StepGridsSh[static_cast<std::size_t>(row - 1)][ix] / Multiplier;
    return step / Multiplier;
}

// Hours (mode 1), minutes (2), seconds (3) or hundredths of a second (4) with date lines.
void BelowDayLevel(const TScaleLayoutInput& in, int mode, double R, TScaleLayout& out)
{
    static constexpr int kRow[] = {0, 1, 2, 2, 4};
    static constexpr double kMultiplier[] = {0, 24, 1440, 86400, 8640000};
    const TDTLabel& f = in.DateFormat;
    double first = 0.0, shortStep = 0.0;
    const double step = FindStep(kRow[mode], R, kMultiplier[mode], in.RangeLow, first, shortStep);
    if (in.ShortTicks) {
        CandidateLimit back;
        while (first > in.RangeLow && back.Next(first))
            first -= shortStep;
    }
    const double advance = in.ShortTicks ? shortStep : step;
    const std::string pattern = TimePattern(mode, f);
    int lastDay = 0;
    bool firstLabel = true;
    CandidateLimit limit;
    for (long i = 0;; ++i) {
        const double t = first + static_cast<double>(i) * advance;
        if (!(t - in.RangeHigh < 1e-8) || t >= kDateEnd || !limit.Next(t))
            break;
        if (t < in.RangeLow)
            continue;
        const double q = t / step;
        TScaleTick tick = DateTick(t, !in.ShortTicks || std::fabs(q - std::nearbyint(q)) <= 0.1);
        if (tick.Labelled) {
            tick.Label = DateText(pattern, t);
            const std::optional<numeric::TDateTimeParts> date = DecodeDateTimeVKR(t);
            const bool dateLine = f.DateForTime() == dtAllTicks || (f.DateForTime() == dtOnePerChart && firstLabel) ||
                                  (f.DateForTime() == dtOnePerDay && date && date->Day != lastDay);
            if (dateLine) {
                tick.DateLine = FormatDateStr(t, f.MonthName(), f.YearLength(), f.DateOrder(), f.DateSeparator());
                lastDay = date ? date->Day : 0;
            }
            firstLabel = false;
        }
        out.Ticks.push_back(std::move(tick));
    }
}

// Steps of 1, 2, 3, 7, 14 or 28 days from the 1st of January of the low end's year.
void DayLevel(const TScaleLayoutInput& in, double R, TScaleLayout& out)
{
    const auto low = DecodeDateTimeVKR(in.RangeLow);
    if (!low)
        return;
    const long long step = StepGrids[2][LargestStep(StepGrids[2], R)];
    const long long shortStep = step <= 7 ? 1 : 7;
    const double jan01 = EncodeDate(low->Year, 1, 1);
    const long long daysIn = static_cast<long long>(std::trunc(in.RangeLow - jan01));
    const long long first = static_cast<long long>(jan01) + daysIn / step * step;
    const long long r = first % step;
    const long long advance = in.ShortTicks ? shortStep : step;
    const std::string pattern = DayPattern(in.DateFormat);
    for (long long day = first;; day += advance) {
        const double t = static_cast<double>(day);
        if (!(t - in.RangeHigh < 1e-8) || t >= kDateEnd)
            break;
        if (t < in.RangeLow)
            continue;
        TScaleTick tick = DateTick(t, !in.ShortTicks || day % step == r);
        if (tick.Labelled)
            tick.Label = DateText(pattern, t);
        out.Ticks.push_back(std::move(tick));
    }
}

// Steps of 1, 2, 3, 4, 6 or 12 months on the 1st of the month.
void MonthLevel(const TScaleLayoutInput& in, double R, TScaleLayout& out)
{
    const auto low = DecodeDateTimeVKR(in.RangeLow);
    if (!low)
        return;
    const int step = StepGrids[4][LargestStep(StepGrids[4], R / 30.4375)];
    int year = low->Year, month = low->Month;
    auto advance = [&](int months) {
        month += months;
        while (month > 12) {
            month -= 12;
            ++year;
        }
    };
    if (step > 1 && !in.ShortTicks)
        do
            advance(1);
        while (month % step != 1);
    const std::string pattern = MonthPattern(in.DateFormat);
    while (year <= 9999) {
        const double t = EncodeDate(year, month, 1);
        if (!(t - in.RangeHigh < 1e-8))
            break;
        if (t >= in.RangeLow) {
            TScaleTick tick = DateTick(t, !in.ShortTicks || month % step == 1 || step == 1);
            if (tick.Labelled)
                tick.Label = DateText(pattern, t);
            out.Ticks.push_back(std::move(tick));
        }
        advance(in.ShortTicks ? 1 : step);
    }
}

// Steps of 1, 2 or 5 times a power of ten years on the 1st of January.
void YearLevel(const TScaleLayoutInput& in, TScaleLayout& out)
{
    const auto low = DecodeDateTimeVKR(in.RangeLow);
    if (!low)
        return;
    const double y = std::max(1.0, (in.RangeHigh - in.RangeLow) / 365.25 / in.MinTicks);
    const double e = std::floor(std::log10(y));
    const double b = std::pow(10.0, std::log10(y) - e);
    const int factor = b < 2.0 ? 1 : b < 5.0 ? 2 : 5;
    const int s = numeric::RoundClamped<int>(factor * std::pow(10.0, e));
    const int shortStep = in.ShortTicks && s > 1 ? numeric::RoundClamped<int>(s / (factor == 5 ? 5.0 : 2.0)) : s;
    int first = (low->Year + shortStep - 1) / shortStep * shortStep;
    if (first == low->Year && in.RangeLow > EncodeDate(low->Year, 1, 1))
        first += shortStep;
    for (int year = first; year <= 9999; year += shortStep) {
        const double t = EncodeDate(year, 1, 1);
        if (!(t - in.RangeHigh < 1e-8))
            break;
        TScaleTick tick = DateTick(t, !in.ShortTicks || year % s == 0);
        if (tick.Labelled) {
            const TYearLength length = in.DateFormat.YearLength();
            tick.Label = length == ylYYYY ? std::to_string(year) : length == ylYY ? DateText("yy", t) : "";
        }
        out.Ticks.push_back(std::move(tick));
    }
}

}  // namespace

std::string TimeString(double Time, bool Showmsec)
{
    const long double ms = std::nearbyint(std::fabs(static_cast<long double>(Time)) * 1000.0L);
    const long double hours = std::floor(ms / 3600000.0L);
    const long long rest = static_cast<long long>(std::fmod(ms, 3600000.0L));
    char text[64];
    std::snprintf(text, sizeof text, "%c%02.0Lf:%02lld:%02lld", Time >= 0 ? ' ' : '-', hours, rest / 60000,
                  rest % 60000 / 1000);
    std::string result = text;
    if (Showmsec) {
        std::snprintf(text, sizeof text, ".%03lld", rest % 1000);
        result += text;
    }
    return result;
}

std::string FormatDateStr(double DT, bool MonthName, TYearLength YearLength, TDateOrder DateOrder, char DateSeparator)
{
    const std::string sep = Quoted(DateSeparator), day = "dd", month = MonthName ? "mmm" : "mm";
    const std::string year = YearLength == ylYYYY ? "yyyy" : YearLength == ylYY ? "yy" : "";
    std::string pattern;
    if (year.empty())
        pattern = DateOrder == doDDMMYY ? day + sep + month : month + sep + day;
    else if (DateOrder == doDDMMYY)
        pattern = day + sep + month + sep + year;
    else if (DateOrder == doMMDDYY)
        pattern = month + sep + day + sep + year;
    else
        pattern = year + sep + month + sep + day;
    return DateText(pattern, DT);
}

namespace detail {

bool TimeLayout(const TScaleLayoutInput& in, TScaleLayout& out)
{
    const int n = in.MinTicks;
    const double sign = in.RangeHigh > in.RangeLow ? 1.0 : -1.0;
    int index = NDist;
    while (std::fabs(in.RangeHigh - in.RangeLow) / n < FigDist[static_cast<std::size_t>(index)] && index > 0)
        --index;
    if (index == NDist || index == 0)
        return false;
    const double D = sign * FigDist[static_cast<std::size_t>(index)];
    const double S = D / FigNtick[static_cast<std::size_t>(index)];
    const double T0 = std::floor(in.RangeLow / D / QSave) * D;
    // Candidates from T0 (up to a step before RangeLow) to a few short steps past RangeHigh.
    const long N = static_cast<long>(std::trunc((in.RangeHigh - T0) / S)) + 5;
    const double lowEnd = in.RangeLow >= 0 ? in.RangeLow * QSave : in.RangeLow / QSave;
    const double highEnd = in.RangeHigh > 0 ? in.RangeHigh / QSave : in.RangeHigh * QSave;
    auto accepted = [&](double t) { return sign * lowEnd <= sign * t && sign * t <= sign * highEnd; };
    if (in.ShortTicks) {
        CandidateLimit limit;
        for (long i = 0; i <= N; ++i) {
            const double t = T0 + static_cast<double>(i) * S;
            if (!limit.Next(t))
                break;
            if (accepted(t))
                out.Ticks.push_back(DateTick(t, false));
        }
    }
    CandidateLimit limit;
    for (long i = 0; i <= N; ++i) {
        const double t = T0 + static_cast<double>(i) * S;
        if (!limit.Next(t))
            break;
        const double q = t / D;
        if (!(std::fabs(q - std::round(q)) < 0.01) || !accepted(t))
            continue;
        TScaleTick tick = DateTick(t, true);
        tick.Record = !in.ShortTicks;
        tick.Label = TimeString(t, index <= MsecIx);
        out.Ticks.push_back(std::move(tick));
    }
    return true;
}

void DateTimeLayout(const TScaleLayoutInput& in, TScaleLayout& out)
{
    if (!(in.RangeHigh >= in.RangeLow) || in.RangeLow < kFirstDate || in.RangeHigh > kLastRangeEnd) {
        out.Message = {"invalid", "DateTime", "scale"};
        return;
    }
    const double R = (in.RangeHigh - in.RangeLow) / in.MinTicks;
    int mode = 0;
    if (in.Vertical)
        mode = R <= 1.0 / 8640000 ? 0 : R <= 1.0 / 86400 ? 4 : R <= 1.0 / 1440 ? 3 : R <= 0.041667 ? 2 : 1;
    else
        mode = R <= 1.1574e-05 ? 0 : R <= 0.00069444 ? 3 : R <= 0.041667 ? 2 : 1;
    if (mode == 0) {
        out.Message = {"DateTime", "range is", "below 1", "second"};
        return;
    }
    if (R <= 1.0)
        BelowDayLevel(in, mode, R, out);
    else if (R <= 30.0)
        DayLevel(in, R, out);
    else if (R <= 366.0)
        MonthLevel(in, R, out);
    else
        YearLevel(in, out);
}

}  // namespace detail

}  // namespace oxw::controls
