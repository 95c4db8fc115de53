// Date-time numbers and their texts; rules in DateTimeFormat.h.
#include "numeric/DateTimeFormat.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "numeric/Rounding.h"

namespace oxw::numeric {
namespace {

constexpr std::int64_t kMSecsPerDay = 86400000;
constexpr std::int64_t kFirstDay = -693593;  // 1 Jan 0001
constexpr std::int64_t kLastDay = 2958465;   // 31 Dec 9999
constexpr std::int64_t kOriginFromEpoch = -25569;  // 30 Dec 1899 counted from 1 Jan 1970

constexpr std::array<const char*, 12> kMonthNames = {"January", "February", "March",     "April",
                                                     "May",     "June",     "July",      "August",
                                                     "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};

// Proleptic Gregorian calendar from days since 1 Jan 1970 (H. Hinnant's civil_from_days).
void civilFromDays(std::int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

std::int64_t daysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void appendNumber(std::string& out, int v, int digits)
{
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < digits)
        s.insert(0, static_cast<std::size_t>(digits) - s.size(), '0');
    out += s;
}

bool startsWithNoCase(std::string_view text, std::size_t pos, std::string_view word)
{
    if (text.size() - pos < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[pos + i])) != word[i])
            return false;
    return true;
}

// Does an am/pm marker follow at or after pos?
bool twelveHourClock(std::string_view pattern, std::size_t pos)
{
    for (std::size_t i = pos; i < pattern.size(); ++i) {
        if (pattern[i] == '"' || pattern[i] == '\'') {  // skip literals
            const std::size_t close = pattern.find(pattern[i], i + 1);
            if (close == std::string_view::npos)
                return false;
            i = close;
        } else if (startsWithNoCase(pattern, i, "AM/PM") || startsWithNoCase(pattern, i, "A/P") ||
                   startsWithNoCase(pattern, i, "AMPM")) {
            return true;
        }
    }
    return false;
}

class Formatter {
public:
    explicit Formatter(const TDateTimeParts& t) : t_(t) {}

    void run(std::string_view pattern, std::string& out, int depth = 0)
    {
        char last = 0;  // last pattern letter, to read "m" after "h" as minutes
        std::size_t i = 0;
        while (i < pattern.size()) {
            const char raw = pattern[i];
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
            if (raw == '"' || raw == '\'') {
                const std::size_t close = pattern.find(raw, i + 1);
                const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
                out.append(pattern.substr(i + 1, end - i - 1));
                i = end + 1;
                continue;
            }
            if (c == 'A') {
                i += amPm(pattern, i, out);
                continue;
            }
            std::size_t count = 1;
            if (c >= 'A' && c <= 'Z')
                while (i + count < pattern.size() &&
                       std::toupper(static_cast<unsigned char>(pattern[i + count])) == c)
                    ++count;
            const char token = (c == 'M' && last == 'H') ? 'N' : c;
            if (c >= 'A' && c <= 'Z')
                last = c;
            field(token, static_cast<int>(count), pattern, i, out, depth);
            i += count;
        }
    }

private:
    // One run of `count` equal letters (or any other character); i is its position.
    void field(char token, int count, std::string_view pattern, std::size_t i, std::string& out, int depth)
    {
        switch (token) {
        case 'D':
            if (count <= 2) appendNumber(out, t_.Day, count);
            else if (count == 3) out.append(kDayNames[t_.DayOfWeek - 1], 3);
            else if (count == 4) out += kDayNames[t_.DayOfWeek - 1];
            else nested(count == 5 ? "m/d/yyyy" : "dddd, mmmm d, yyyy", out, depth);
            break;
        case 'M':
            if (count <= 2) appendNumber(out, t_.Month, count);
            else if (count == 3) out.append(kMonthNames[t_.Month - 1], 3);
            else out += kMonthNames[t_.Month - 1];
            break;
        case 'Y':
            if (count <= 2) appendNumber(out, t_.Year % 100, 2);
            else appendNumber(out, t_.Year, 4);
            break;
        case 'H': {
            int h = t_.Hour;
            if (twelveHourClock(pattern, i)) {
                h %= 12;
                if (h == 0) h = 12;
            }
            appendNumber(out, h, count >= 2 ? 2 : 1);
            break;
        }
        case 'N': appendNumber(out, t_.Minute, count >= 2 ? 2 : 1); break;
        case 'S': appendNumber(out, t_.Second, count >= 2 ? 2 : 1); break;
        case 'Z': appendNumber(out, t_.MSec, count >= 3 ? 3 : 1); break;
        case 'T': nested(count == 1 ? "h:nn AM/PM" : "h:nn:ss AM/PM", out, depth); break;
        case 'C':
            nested("m/d/yyyy", out, depth);
            if (t_.Hour != 0 || t_.Minute != 0 || t_.Second != 0 || t_.MSec != 0)
                nested(" h:nn:ss AM/PM", out, depth);
            break;
        default: out.append(static_cast<std::size_t>(count), pattern[i]); break;
        }
    }

    void nested(std::string_view pattern, std::string& out, int depth)
    {
        if (depth < 2)
            run(pattern, out, depth + 1);
    }

    // am/pm, a/p, ampm or a plain 'a' at pos; returns the characters used.
    std::size_t amPm(std::string_view pattern, std::size_t pos, std::string& out) const
    {
        const bool pm = t_.Hour >= 12;
        if (startsWithNoCase(pattern, pos, "AM/PM")) {
            out.append(pattern.substr(pos + (pm ? 3 : 0), 2));
            return 5;
        }
        if (startsWithNoCase(pattern, pos, "A/P")) {
            out += pattern[pos + (pm ? 2 : 0)];
            return 3;
        }
        if (startsWithNoCase(pattern, pos, "AMPM")) {
            out += pm ? "PM" : "AM";
            return 4;
        }
        out += pattern[pos];
        return 1;
    }

    const TDateTimeParts& t_;
};

}  // namespace

std::optional<TDateTimeParts> DecodeDateTime(double dt)
{
    if (!(dt > kFirstDay - 1 && dt < kLastDay + 1))  // also refuses NaN and infinities
        return std::nullopt;
    const std::optional<std::int64_t> total = RoundChecked<std::int64_t>(dt * static_cast<double>(kMSecsPerDay));
    if (!total)
        return std::nullopt;
    const std::int64_t day = *total / kMSecsPerDay;  // the integral part is the day
    if (day < kFirstDay || day > kLastDay)
        return std::nullopt;
    std::int64_t ms = std::llabs(*total % kMSecsPerDay);  // the fraction counts forward
    TDateTimeParts t;
    civilFromDays(day + kOriginFromEpoch, t.Year, t.Month, t.Day);
    t.DayOfWeek = static_cast<int>(((day % 7) + 7 + 6) % 7) + 1;  // day 0 was a Saturday
    t.Hour = static_cast<int>(ms / 3600000);
    ms %= 3600000;
    t.Minute = static_cast<int>(ms / 60000);
    ms %= 60000;
    t.Second = static_cast<int>(ms / 1000);
    t.MSec = static_cast<int>(ms % 1000);
    return t;
}

double EncodeDate(int year, int month, int day)
{
    return static_cast<double>(daysFromCivil(year, month, day) - kOriginFromEpoch);
}

std::optional<std::string> FormatDateTime(std::string_view pattern, double dt)
{
    const std::optional<TDateTimeParts> t = DecodeDateTime(dt);
    if (!t)
        return std::nullopt;
    std::string out;
    Formatter(*t).run(pattern, out);
    return out;
}

namespace {

// A linear time-axis number in the day-plus-forward-fraction convention.
double FromAxisTime(double dt)
{
    if (std::fabs(dt) < 1e-8)
        dt = 0.0;
    if (dt < 0.0) {
        const double frac = dt - std::trunc(dt);
        dt = std::floor(dt) - frac - (frac <= -1e-8 ? 1.0 : 0.0);
    }
    return dt;
}

}  // namespace

std::optional<std::string> FormatDateTimeVKR(std::string_view pattern, double dt)
{
    return FormatDateTime(pattern, FromAxisTime(dt));
}

std::optional<TDateTimeParts> DecodeDateTimeVKR(double dt) { return DecodeDateTime(FromAxisTime(dt)); }

}  // namespace oxw::numeric
