#pragma once
// Tick and label layout of an axis scale (TScale): which ticks one painting draws, at which
// values, how long, with which labels and date lines, which positions it records and which it
// reports through OnScaleTickDrawn. The scale maps the values to pixels and draws; nothing here
// knows about pixels or fonts.
//
// Numeric axes (ftNum, ftNoFigs, ftUserText):
// - linear: labelled ticks every CalcScalePars step from the first step multiple at or beyond
//   RangeLow, short ticks (ShortTicks) at 1/4 or 1/5 of it; labels with CalcM decimals; a tick
//   within 1E-14 of the span from 0 is labelled as 0 ("0.0" above a span of 100000 unless the
//   labels have no decimals).
// - logarithmic: 1, 2, 5 (labelled) and 3, 4, 6 .. 9 (short) times each decade when MinTicks
//   exceeds the number of decades by more than 1/2, else the decades alone; less than one decade
//   is laid out linearly on the logarithmic mapping. A range with an end at or below 0 gets no
//   ticks.
// Time axes (ftTime, values in seconds): steps of 1 ms .. 12 h from a fixed table, labels
// " hh:mm:ss" (and ".mmm" for steps up to 0.5 s), a minus sign for negative times; for a step
// of a day or more, or below 1 ms, the numeric layout is used.
// Date-time axes (ftDateTime, days since 30 Dec 1899): hours, minutes, seconds or hundredths
// of a day with date lines, days, months or years; ranges outside 1 Jan 0001 .. about 10113 or
// reversed are "invalid DateTime scale", and no tick lies beyond 31 Dec 9999.
//
// A range with an end or span that is not finite gets no ticks (a date-time one its message).
// Every tick loop also ends after 10000 candidates or when the value stops moving.
#include <string>
#include <vector>

#include "controls/ChartSettings.h"
#include "numeric/VkrEnums.h"

namespace oxw::controls {

struct TScaleLayoutInput {
    double RangeLow = 0.0;
    double RangeHigh = 100.0;
    bool Logarithmic = false;
    bool ShortTicks = true;
    int MinTicks = 3;   // taken as 2..10
    int DecPlaces = -2; // -3..12
    TFigType LabelType = ftNum;
    bool Vertical = false;  // sctYL, sctYR
    std::string UserTickText;
    std::string ScaleInscript;
    TDTLabel DateFormat;
};

enum class TTickLength { None, Short, Long };

struct TScaleTick {
    double Value = 0.0;        // where the tick is drawn and what is recorded
    double ReportValue = 0.0;  // what OnScaleTickDrawn is given (0 for a tick labelled as 0)
    TTickLength Length = TTickLength::None;
    bool Record = false;       // among the tick positions (while fewer than 50 are recorded)
    bool Report = false;       // fires OnScaleTickDrawn
    bool Labelled = false;
    std::string Label;
    std::string DateLine;      // empty: none
};

struct TScaleLayout {
    std::vector<TScaleTick> Ticks;  // in drawing order
    // A message written instead of ticks, in the pieces a vertical scale writes one per line
    // ("invalid", "DateTime", "scale"); a horizontal scale joins them with blanks.
    std::vector<std::string> Message;
};

TScaleLayout LayoutScale(const TScaleLayoutInput& in);

// ---- pieces of the layout ----

// Label text of a number: DecP >= 0 fixed-point with DecP decimals, DecP = -1 the exponent form
// " 1.0E+05" (all '*' for an exponent of three digits), other negative DecP the four-digit
// exponent form; never narrower than its digits.
std::string RCSpecStrf(double r, int FieldWidth, int DecP);
// Decimals of a logarithmic scale over lo..hi: DecPlaces itself unless -2; then -1 for a span
// of 1E6 or more or 1E-4 or less, 0 for lo >= 1, else 1 - Round(log10 lo).
int CalcLogM(int DecPlaces, double lo, double hi);
// The label inside ScaleInscript: at its first "&", or after the whole text when it has none.
// An empty label stays empty.
std::string AddScaleInscription(const std::string& label, const std::string& inscript);
// Item ix (1-based) of a text of items separated by "|"; the last item beyond the last.
std::string ExtractUserText(const std::string& text, int ix);
// A blank (or "-" below 0), hours, minutes and seconds of |Time| seconds with at least two
// digits each, and with Showmsec a point and three digits of milliseconds; |Time| is rounded
// to whole milliseconds first.
std::string TimeString(double Time, bool Showmsec);
// Day, month ("mm", or "mmm" with MonthName) and year (none, "yy", "yyyy") of a time-axis date
// in DateOrder, joined by DateSeparator; without a year, day and month only.
std::string FormatDateStr(double DT, bool MonthName, TYearLength YearLength, TDateOrder DateOrder,
                          char DateSeparator);

}  // namespace oxw::controls
