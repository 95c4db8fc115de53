// Date-time numbers (days since 30 Dec 1899) and the pattern formatter. Calendar facts: day
// 36526 is Saturday 1 Jan 2000; day 0 is Saturday 30 Dec 1899.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "numeric/DateTimeFormat.h"

namespace {

using namespace oxw::numeric;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(DateTimeFormat, PatternLetters) {
    const double noon2000 = 36526.5;            // Sat 1 Jan 2000 12:00
    const double t = 36558.0 + (13 * 3600 + 5 * 60 + 9.042) / 86400.0;  // Wed 2 Feb 2000 13:05:09.042
    const struct { std::string pattern; double dt; std::string text; } cases[] = {
        {"mmm-dd, yyyy", 36526.75, "Jan-01, 2000"}, {"d/m/yy", t, "2/2/00"},
        {"dd.mm.yyyy", t, "02.02.2000"}, {"ddd dddd", t, "Wed Wednesday"}, {"mmmm", t, "February"},
        {"hh:nn:ss", t, "13:05:09"}, {"h:n:s", t, "13:5:9"},
        {"hh\":\"nn\":\"ss.zz", t, "13:05:09.42"}, {"ss.zzz", t, "09.042"},
        {"hh:mm", t, "13:05"},                  // m right after an hour is the minute
        {"h\"h\"nn", t, "13h05"}, {"h\":\"nnam/pm", t, "1:05pm"},
        {"hAM/PM", noon2000 - 0.5, "12AM"}, {"ha/p", t, "1p"}, {"h ampm", noon2000, "12 PM"},
        {"'at' hh", t, "at 13"}, {"yyyy mm d \" at \" hh nn ss", t, "2000 02 2  at  13 05 09"},
        {"c", noon2000, "1/1/2000 12:00:00 PM"}, {"c", 36526, "1/1/2000"}, {"ddddd", t, "2/2/2000"},
        {"dddddd", t, "Wednesday, February 2, 2000"}, {"t", t, "1:05 PM"}, {"tt", t, "1:05:09 PM"},
        {"dd mmm yyyy hh:nn", -2.75, "28 Dec 1899 18:00"},  // integral part day, fraction forward
        {"dd mmm yyyy hh:nn", -0.5, "30 Dec 1899 12:00"}, {"dd mmm yyyy", 0, "30 Dec 1899"},
        {"yyyy-mm-dd", -693593, "0001-01-01"},
        {"yyyy-mm-dd hh:nn:ss", 2958465.99999, "9999-12-31 23:59:59"},
        {"yyyy-mm-dd", 60, "1900-02-28"},
        {"yyyy-mm-dd", 61, "1900-03-01"},       // 1900 had no 29 February
        {"hh:nn:ss.zzz", 0.99999999999, "00:00:00.000"},  // rounds into the next day
        {"x#-", 0, "x#-"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, c.dt), c.text) << c.pattern << " " << c.dt;
}

TEST(DateTimeFormat, NoTextOutsideTheCalendar) {
    for (double dt : {-693594.0, 2958466.0, 1e10, -1e300, kNan, std::numeric_limits<double>::infinity()})
        EXPECT_EQ(FormatDateTime("yyyy", dt), std::nullopt) << dt;
    EXPECT_EQ(DecodeDateTime(-693593.9999999999), std::nullopt);
}

TEST(DateTimeFormat, LinearTimeAxisValues) {
    const struct { double dt; std::string text; } cases[] = {
        {-2.75, "27 Dec 1899 06:00"},  // 2.75 days before the origin
        {-1.25, "28 Dec 1899 18:00"}, {-0.25, "29 Dec 1899 18:00"}, {-2.0, "28 Dec 1899 00:00"},
        {5e-9, "30 Dec 1899 00:00"}, {1.5, "31 Dec 1899 12:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTimeVKR("dd mmm yyyy hh:nn", c.dt), c.text) << c.dt;
    const auto dec28 = DecodeDateTimeVKR(-1.25);
    ASSERT_TRUE(dec28.has_value());
    EXPECT_EQ(std::pair(dec28->Day, dec28->Hour), std::pair(28, 18));
}

TEST(DateTimeFormat, EncodeAndDecodeAgree) {
    EXPECT_EQ(std::tuple(EncodeDate(2000, 1, 1), EncodeDate(1899, 12, 30), EncodeDate(1, 1, 1),
                         EncodeDate(9999, 12, 31)),
              std::tuple(36526, 0, -693593, 2958465));
    for (double day = -693593; day <= 2958465; day += 997) {
        const auto t = DecodeDateTime(day);
        ASSERT_TRUE(t.has_value()) << day;
        EXPECT_EQ(EncodeDate(t->Year, t->Month, t->Day), day);
    }
    EXPECT_EQ(DecodeDateTime(36526)->DayOfWeek, 7);  // Saturday 1 Jan 2000
    EXPECT_EQ(DecodeDateTime(-1)->DayOfWeek, 6);     // Friday 29 Dec 1899
}

}  // namespace
