// Tick layout of the scales: tick values, labels, date lines and recorded positions worked out
// from the step rules (1-2-5 steps, the time step table, the date step grids), and ranges that
// are not finite or run past the calendar.
#include "controls/ScaleLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace oxw::controls;

TScaleLayoutInput Range(double lo, double hi, TFigType type = ftNum, int minTicks = 3)
{
    TScaleLayoutInput in;
    in.RangeLow = lo;
    in.RangeHigh = hi;
    in.LabelType = type;
    in.MinTicks = minTicks;
    in.DateFormat.SetTimeSeparator(':');
    in.DateFormat.SetDateSeparator('-');
    in.DateFormat.SetYearLength(ylYYYY);
    in.DateFormat.SetMonthName(true);
    in.DateFormat.SetDateOrder(doDDMMYY);
    in.DateFormat.SetDateForTime(dtOnePerDay);
    return in;
}

std::vector<std::string> Labels(const TScaleLayout& l)
{
    std::vector<std::string> out;
    for (const TScaleTick& t : l.Ticks)
        if (t.Labelled)
            out.push_back(t.Label);
    return out;
}

std::vector<double> Recorded(const TScaleLayout& l)
{
    std::vector<double> out;
    for (const TScaleTick& t : l.Ticks)
        if (t.Record)
            out.push_back(t.Value);
    return out;
}

using Texts = std::vector<std::string>;

TEST(ScaleLayout, NumericLabels)
{
    auto log = [](double lo, double hi, int minTicks, int dec) {
        TScaleLayoutInput in = Range(lo, hi, ftNum, minTicks);
        in.Logarithmic = true;
        in.DecPlaces = dec;
        return in;
    };
    auto decimals = [](TScaleLayoutInput in, int dec) {
        in.DecPlaces = dec;
        return in;
    };
    const struct { const char* what; TScaleLayoutInput in; Texts labels; } cases[] = {
        // The largest step of 1, 2 or 5 times a power of 10 not above span / 3: 100 / 3 gives 20;
        // a span of 100 or more gives no decimals.
        {"0..100", Range(0, 100), {"0", "20", "40", "60", "80", "100"}},
        {"0..1", Range(0, 1), {"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}},
        {"0..50000", Range(0, 50000), {"0", "10000", "20000", "30000", "40000", "50000"}},  // 16667: 10000
        {"0..100 one decimal", decimals(Range(0, 100), 1), {"0.0", "20.0", "40.0", "60.0", "80.0", "100.0"}},
        // A span of 2E6: exponent labels with two exponent digits; the zero tick reads "0.0".
        {"-1e6..1e6", Range(-1e6, 1e6), {"-1.0E+06", "-5.0E+05", "0.0", " 5.0E+05", " 1.0E+06"}},
        {"reversed", Range(100, 0), {"100", "80", "60", "40", "20", "0"}},
        {"beyond 1e99", Range(0, 2e100), {"0.0", " 5.0E+99", "********", "********", "********"}},
        {"log 1..1000 MinTicks 5", log(1, 1000, 5, -2),
         {"1", "2", "5", "10", "20", "50", "100", "200", "500", "1000"}},
        {"log 1..1000 MinTicks 3", log(1, 1000, 3, -2), {"1", "10", "100", "1000"}},
        {"log decade exponents", log(1, 1000, 5, -3), {"0", "", "", "1", "", "", "2", "", "", "3"}},
        {"log 0.1..10", log(0.1, 10, 2, -2), {"0.1", "1", "10"}},
        {"log 1..5 placed linearly", log(1, 5, 3, -2), {"1.0", "2.0", "3.0", "4.0", "5.0"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Labels(LayoutScale(c.in)), c.labels) << c.what;
}

// The zero tick of a linear scale reads 0 in the scale's decimals up to a span of 100000, beyond
// it "0.0" (or "0" without decimals). Logarithmic scales with DecPlaces -2 take no decimals from
// a low end of 1 on, 1 - round(log10(low)) below it, and exponent form for a span of 1e6 or more
// or of 1e-4 or less.
TEST(ScaleLayout, ZeroLabelAndLogDecimals)
{
    const struct { double lo, hi; int dec; const char* zero; } zeros[] = {
        {-10000, 10000, 2, "0.00"}, {-50000, 50000, 2, "0.00"}, {-50000, 50000.5, 2, "0.0"},
        {-50000, 50000.5, 0, "0"},  {-3, 3, 1, "0.0"}};
    for (const auto& z : zeros) {
        TScaleLayoutInput in = Range(z.lo, z.hi);
        in.DecPlaces = z.dec;
        std::string label = "none";
        for (const TScaleTick& t : LayoutScale(in).Ticks)
            if (t.Labelled && t.ReportValue == 0)
                label = t.Label;
        EXPECT_EQ(label, z.zero) << z.lo << ".." << z.hi << " dec " << z.dec;
    }
    const struct { int dec; double lo, hi; int m; } logs[] = {
        {3, 1, 1000, 3},          {-2, 1, 1000, 0},   {-2, 0.9, 1000, 1}, {-2, 1000, 0.01, 3},
        {-2, 1, 1e6 + 1, -1},     {-2, 1, 1e6, 0}, {-2, 1, 1 + 2e-4, 0}, {-2, 1, 1 + 5e-5, -1}};
    for (const auto& l : logs)
        EXPECT_EQ(CalcLogM(l.dec, l.lo, l.hi), l.m) << l.lo << ".." << l.hi;
}

TEST(ScaleLayout, InscriptionsAndUserTexts)
{
    EXPECT_EQ(AddScaleInscription("100", "& Hz"), "100 Hz");
    EXPECT_EQ(AddScaleInscription("100", "f = "), "f = 100");
    EXPECT_EQ(AddScaleInscription("100", "<&>&"), "<100>&");
    EXPECT_EQ(AddScaleInscription("", "& Hz"), "");
    EXPECT_EQ(ExtractUserText("a|b|c", 1), "a");
    EXPECT_EQ(ExtractUserText("a|b|c", 3), "c");
    EXPECT_EQ(ExtractUserText("a|b|c", 7), "c");
    EXPECT_EQ(ExtractUserText("", 2), "");

    TScaleLayoutInput unit = Range(0, 100);
    unit.ScaleInscript = "& Hz";
    EXPECT_EQ(Labels(LayoutScale(unit)).back(), "100 Hz");
    TScaleLayoutInput user = Range(0, 100, ftUserText);
    user.UserTickText = "low|mid|high";
    EXPECT_EQ(Labels(LayoutScale(user)), (Texts{"low", "mid", "high", "high", "high", "high"}));
    TScaleLayoutInput logUser = Range(1, 1000, ftUserText);
    logUser.Logarithmic = true;
    logUser.UserTickText = "one|ten";
    EXPECT_EQ(Labels(LayoutScale(logUser)), (Texts{"one", "ten", "ten", "ten"}));
    EXPECT_TRUE(Labels(LayoutScale(Range(0, 100, ftNoFigs))).empty());
}

TEST(ScaleLayout, RecordedPositions)
{
    std::vector<double> fives;
    for (int v = 0; v <= 100; v += 5)
        fives.push_back(v);
    const std::vector<double> twenties = {0, 20, 40, 60, 80, 100};
    std::vector<double> vertical = fives;
    vertical.insert(vertical.end(), twenties.begin(), twenties.end());

    TScaleLayoutInput noShort = Range(0, 100);
    noShort.ShortTicks = false;
    TScaleLayoutInput vert = Range(0, 100);
    vert.Vertical = true;
    EXPECT_EQ(Recorded(LayoutScale(Range(0, 100))), fives);
    EXPECT_EQ(Recorded(LayoutScale(noShort)), twenties);
    EXPECT_EQ(Recorded(LayoutScale(vert)), vertical);

    // Logarithmic 1..100 with intermediates: horizontally the unlabelled ones are reported but
    // neither drawn nor recorded without short ticks; vertically they are left out.
    TScaleLayoutInput log = Range(1, 100, ftNum, 5);
    log.Logarithmic = true;
    log.ShortTicks = false;
    const TScaleLayout h = LayoutScale(log);
    EXPECT_EQ(Recorded(h), (std::vector<double>{1, 2, 5, 10, 20, 50, 100}));
    EXPECT_EQ(h.Ticks.size(), 19u);
    EXPECT_EQ(h.Ticks[2].Length, TTickLength::None);
    EXPECT_TRUE(h.Ticks[2].Report);
    log.Vertical = true;
    EXPECT_EQ(LayoutScale(log).Ticks.size(), 7u);
    log.ShortTicks = true;
    const TScaleLayout v = LayoutScale(log);
    EXPECT_EQ(Recorded(v).size(), 19u);
    EXPECT_EQ(v.Ticks[2].Length, TTickLength::Long);
}

TEST(ScaleLayout, TimeOfDay)
{
    EXPECT_EQ(TimeString(2.9996, true), " 00:00:03.000");
    EXPECT_EQ(TimeString(2.9996, false), " 00:00:03");
    EXPECT_EQ(TimeString(-7.999999999999999, true), "-00:00:08.000");
    EXPECT_EQ(TimeString(3723.25, true), " 01:02:03.250");
    EXPECT_EQ(TimeString(-0.5, true), "-00:00:00.500");
    EXPECT_EQ(TimeString(360000, false), " 100:00:00");

    // 3600 s over 3 ticks: 1200 s per tick, step 1200 s with short steps of 200 s.
    const TScaleLayout hour = LayoutScale(Range(0, 3600, ftTime));
    EXPECT_EQ(Labels(hour), (Texts{" 00:00:00", " 00:20:00", " 00:40:00", " 01:00:00"}));
    EXPECT_EQ(Recorded(hour).size(), 19u);
    EXPECT_EQ(Recorded(hour)[1], 200.0);
    // 2 s over 4 ticks: steps of 0.5 s, with milliseconds.
    EXPECT_EQ(Labels(LayoutScale(Range(0, 2, ftTime, 4))),
              (Texts{" 00:00:00.000", " 00:00:00.500", " 00:00:01.000", " 00:00:01.500", " 00:00:02.000"}));
    // Ten days over 3 ticks: more than a day per tick, numeric labels.
    EXPECT_EQ(Labels(LayoutScale(Range(0, 864000, ftTime))).front(), "0");
    // A negative range: every label a whole number of milliseconds, the last one included.
    EXPECT_EQ(Labels(LayoutScale(Range(-8, -7.996, ftTime))),
              (Texts{"-00:00:08.000", "-00:00:07.999", "-00:00:07.998", "-00:00:07.997", "-00:00:07.996"}));
}

TEST(ScaleLayout, DateAndTime)
{
    const double jan1 = 36526;  // 1 Jan 2000
    EXPECT_EQ(Range(5, 1, ftDateTime).LabelType, ftDateTime);
    EXPECT_EQ(LayoutScale(Range(jan1 + 1, jan1, ftDateTime)).Message, (Texts{"invalid", "DateTime", "scale"}));
    EXPECT_EQ(LayoutScale(Range(-700000, jan1, ftDateTime)).Message, (Texts{"invalid", "DateTime", "scale"}));
    const Texts below = {"DateTime", "range is", "below 1", "second"};
    TScaleLayoutInput twoSeconds = Range(jan1, jan1 + 2.0 / 86400, ftDateTime);
    EXPECT_EQ(LayoutScale(twoSeconds).Message, below);
    EXPECT_TRUE(LayoutScale(twoSeconds).Ticks.empty());
    twoSeconds.Vertical = true;  // hundredths of a second: steps of 0.5 s
    const TScaleLayout hundredths = LayoutScale(twoSeconds);
    EXPECT_TRUE(hundredths.Message.empty());
    EXPECT_EQ(Labels(hundredths), (Texts{"00:00:00.0", "00:00:00.500", "00:00:01.0", "00:00:01.500", "00:00:02.0"}));

    // 6 pm to 6 am: steps of 3 hours, a date line at the first tick and after midnight.
    const TScaleLayout night = LayoutScale(Range(jan1 + 0.75, jan1 + 1.25, ftDateTime));
    EXPECT_EQ(Labels(night), (Texts{"18:00", "21:00", "00:00", "03:00", "06:00"}));
    Texts dateLines;
    for (const TScaleTick& t : night.Ticks)
        if (!t.DateLine.empty())
            dateLines.push_back(t.Label + " " + t.DateLine);
    EXPECT_EQ(dateLines, (Texts{"18:00 01-Jan-2000", "00:00 02-Jan-2000"}));
    EXPECT_EQ(Recorded(night).size(), 13u);  // short ticks every hour

    // Before the origin: the whole day -2 (28 Dec 1899) is the first tick.
    TScaleLayoutInput before = Range(-2, -1.5, ftDateTime);
    before.ShortTicks = false;
    const TScaleLayout dec28 = LayoutScale(before);
    ASSERT_FALSE(dec28.Ticks.empty());
    EXPECT_EQ(dec28.Ticks.front().Value, -2.0);
    EXPECT_EQ(dec28.Ticks.front().DateLine, "28-Dec-1899");

    // 14 days: steps of 3 days counted from 1 January, short ticks daily.
    EXPECT_EQ(Labels(LayoutScale(Range(jan1, jan1 + 14, ftDateTime))),
              (Texts{"01-Jan-2000", "04-Jan-2000", "07-Jan-2000", "10-Jan-2000", "13-Jan-2000"}));
    // A year: steps of 4 months, short ticks monthly.
    EXPECT_EQ(Labels(LayoutScale(Range(jan1, jan1 + 366, ftDateTime))),
              (Texts{"Jan-2000", "May-2000", "Sep-2000", "Jan-2001"}));
    // 100 years over 3 ticks (33 years each): steps of 20 years with short steps of 10.
    EXPECT_EQ(Labels(LayoutScale(Range(jan1, jan1 + 36525, ftDateTime))),
              (Texts{"2000", "2020", "2040", "2060", "2080", "2100"}));
}

TEST(ScaleLayout, DatesStopAtTheEndOf9999)
{
    const double lastDay = 2958465;  // 31 Dec 9999
    const struct { double lo, hi; const char* level; } cases[] = {
        {2900000, 3000000, "years"},
        {lastDay - 200, lastDay + 300, "months"},
        {lastDay - 5, lastDay + 20, "days"},
        {lastDay + 0.5, lastDay + 1.5, "hours"},
        {lastDay + 2, 3000000, "nothing left"},
    };
    for (const auto& c : cases) {
        const TScaleLayout l = LayoutScale(Range(c.lo, c.hi, ftDateTime));
        EXPECT_TRUE(l.Message.empty()) << c.level;
        EXPECT_LT(l.Ticks.size(), 200u) << c.level;
        for (const TScaleTick& t : l.Ticks)
            EXPECT_LT(t.Value, lastDay + 1) << c.level;
    }
    EXPECT_EQ(Labels(LayoutScale(Range(2900000, 3000000, ftDateTime))).back(), "9950");
}

TEST(ScaleLayout, RangesThatAreNotFiniteGetNoTicks)
{
    // Tick counts out of the scale's limits are taken as 2..10.
    for (int n : {-5, 0, 1000})
        for (TFigType type : {ftNum, ftTime, ftDateTime})
            EXPECT_LE(LayoutScale(Range(0, 3000000, type, n)).Ticks.size(), 200u) << n;

    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const double tiny = std::numeric_limits<double>::denorm_min();
    const struct { double lo, hi; } ranges[] = {
        {-1e308, 1e308}, {0, inf}, {nan, 1}, {inf, inf}, {0, tiny}, {1e17, 1e17 + 64}, {1e-300, 1e300}};
    for (const auto& r : ranges) {
        for (TFigType type : {ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText}) {
            for (bool log : {false, true}) {
                for (bool vertical : {false, true}) {
                    TScaleLayoutInput in = Range(r.lo, r.hi, type, 10);
                    in.Logarithmic = log;
                    in.Vertical = vertical;
                    const TScaleLayout l = LayoutScale(in);
                    const bool finite = std::isfinite(r.lo) && std::isfinite(r.hi) && std::isfinite(r.hi - r.lo);
                    EXPECT_LE(l.Ticks.size(), finite ? 20000u : 0u) << r.lo << ".." << r.hi << " type " << type;
                    if (!finite && type == ftDateTime) {
                        EXPECT_EQ(l.Message, (Texts{"invalid", "DateTime", "scale"}));
                    }
                }
            }
        }
    }
}

}  // namespace
