// Field texts of the display controls and the table editor, and the number readers of the
// numeric input. Expected texts are worked out by hand from the decimal value of the literal.
#include <gtest/gtest.h>

#include <optional>

#include <limits>
#include <string>

#include "numeric/NumberFormat.h"

namespace {

using namespace oxw::numeric;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumberText, StrffFixedExponentAndZeroFill)
{
    const struct { double r; int width, decP; std::string text; } cases[] = {
        {2.5, 6, 2, "  2.50"},
        {2.5, -6, 2, "002.50"},
        {-3.5, -6, 1, "-003.5"},
        {3.14159, 8, 2, "    3.14"},
        {-5, -5, 0, "-0005"},
        {7, 1, 0, "7"},
        {-12.345, 2, 2, "-12.35"},          // never cut, half away from zero
        {123456.7, 7, -2, " 1.2E+05"},      // two-digit exponent
        {-0.000123, 7, -2, "-1.2E-04"},
        {0.0, 7, -2, " 0.0E+00"},
        {99.96, 7, -2, " 1.0E+02"},
        {1e150, 7, -2, "********"},         // the exponent needs three digits
        {1e-100, 7, -2, "********"},
        {123456.7, 1, -1, " 1.2E+0005"},    // -1: the uncut four-digit exponent
        {123456.7, 12, -3, " 1.235E+0005"},
        {1e36, 9, 2, " 1.0E+0036"},         // 1E36 and beyond: exponent form
        {-2e40, 12, 0, "-2.000E+0040"},
        {9.99e35, 1, 0, "999" + std::string(33, '0')},
        {1.5, -10, -2, "01.500E+00"},      // zero fill of the exponent form
        {-1.5, -10, -2, "-1.500E+00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strff(c.r, c.width, c.decP), c.text) << c.r << " W=" << c.width << " D=" << c.decP;
}

TEST(NumberText, NotFiniteIsNeverCutStarredOrZeroFilled)
{
    const struct { double r; int width, decP; std::string text; } cases[] = {
        {kNan, 6, 2, "   Nan"},  {kNan, -6, 2, "   Nan"}, {kInf, 1, -2, "+Inf"},
        {-kInf, 7, -2, "   -Inf"}, {-kInf, -2, -1, "-Inf"}, {kInf, 3, 0, "+Inf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strff(c.r, c.width, c.decP), c.text) << c.r << " W=" << c.width << " D=" << c.decP;
    EXPECT_EQ(FormatData(kNan, 1, 3), "    Nan");
    EXPECT_EQ(FormatData(-kInf, 1, -1), "   -Inf");
}

TEST(NumberText, HugeWidthsAndDecimalsStayBounded)
{
    EXPECT_EQ(strff(1, std::numeric_limits<int>::max(), 0).size(), 1000u);
    EXPECT_EQ(strff(1, std::numeric_limits<int>::min(), 0), std::string(999, '0') + "1");
    EXPECT_EQ(strff(1, 1, std::numeric_limits<int>::max()).size(), 1002u);
    EXPECT_EQ(FormatData(1e300, std::numeric_limits<int>::max(), -1).size(), 1000u);
}

TEST(NumberText, FormatDataFixedWithinBoundsElseExponent)
{
    const struct { double data; int width, decP; std::string text; } cases[] = {
        {1234.5678, 1, 3, "1234.568"},
        {123456.7, 1, 3, " 1.2E+05"},
        {0.0004, 1, 3, " 4.0E-04"},
        {0, 1, 3, "0.000"},
        {99999.999, 1, 3, "99999.999"},   // the bounds at three decimals
        {0.001, 1, 3, "0.001"},
        {100000, 1, 3, " 1.0E+05"},
        {0.0009, 1, 3, " 9.0E-04"},
        {-0.001, 1, 3, "-0.001"},
        {999999999, 1, 0, "999999999"},
        {0.5, 1, 0, " 5.0E-01"},
        {0.99999999, 1, 8, "0.99999999"},
        {1, 1, 8, " 1.0E+00"},
        {2.5, 1, -1, " 2.5E+00"},         // outside 0..8: always the exponent form
        {2.5, 4, 9, " 2.500E+00"},        // max(NumWidth, 2) significant digits
        {-2.5, 6, -1, "-2.50000E+00"},
        {12.5, 8, 2, "   12.50"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatData(c.data, c.width, c.decP), c.text) << c.data << " W=" << c.width << " D=" << c.decP;
}

TEST(NumberText, GeneralAndExponentTexts)
{
    const struct { double x; int p; std::string general, exponent; } cases[] = {
        {3.14159, 3, "3.14", "3.14E+000"},
        {3.14159, 0, "3", "3E+000"},
        {100, 2, "1E2", "1.0E+002"},      // three digits before the point need precision 3
        {100, 3, "100", "1.00E+002"},
        {123456, 3, "1.23E5", "1.23E+005"},
        {0.00001, 2, "0.00001", "1.0E-005"},
        {0.0000099, 2, "9.9E-6", "9.9E-006"},
        {-2.5, 15, "-2.5", "-2.50000000000000E+000"},
        {0.125, 2, "0.13", "1.3E-001"},   // half away from zero on the decimal value
        {0, 4, "0", "0.000E+000"},
        {1e300, 2, "1E300", "1.0E+300"},
        {kNan, 3, "Nan", "Nan"},
        {-kInf, 3, "-Inf", "-Inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatGeneral(c.x, c.p), c.general) << c.x << " p=" << c.p;
        EXPECT_EQ(formatExponent(c.x, c.p), c.exponent) << c.x << " p=" << c.p;
    }
}

TEST(NumberText, ScanFPNumPhaseTable)
{
    const struct { std::string text; bool allowExp; int decPChar, idx; double value; int idxAfter; } cases[] = {
        {"12.5e3", true, 3, 1, 12500, 7},    // Idx after the 3
        {"7,", true, 3, 1, 7, 3},            // a trailing point: past the end
        {"- ", true, 3, 1, 0.0, 2},          // error on the blank
        {"1,5,7", true, 3, 1, 1.5, 4},       // a second point ends the number
        {"1.5.7", true, 1, 1, 0.0, 4},       // ... but is an error for a single point character
        {"1,5", true, 1, 1, 1, 2},           // ',' is another character with DecPChar 1
        {"1.5", true, 2, 1, 1, 2},           // '.' with DecPChar 2
        {"1e999", true, 3, 1, 1.7e308, 6},   // limited to the largest number
        {"-1E999", true, 1, 1, -1.7e308, 7},
        {"1e-999", true, 1, 1, 0.0, 7},
        {"2e5", false, 1, 1, 2, 2},          // no exponent: 'e' ends the number
        {"  -.5x", true, 1, 1, -0.5, 6},     // blanks, sign, point first
        {"+3", true, 1, 1, 3, 3},
        {".", true, 1, 1, 0.0, 2},
        {"e5", true, 1, 1, 0.0, 1},          // an 'E' first is an error
        {"1e", true, 1, 1, 0.0, 3},          // exponent without digits
        {"1e+", true, 1, 1, 0.0, 4},
        {"1e+x", true, 1, 1, 0.0, 4},
        {"1.e2", true, 1, 1, 100, 5},
        {"3E-2;", true, 1, 1, 0.03, 5},
        {"4E2.", true, 1, 1, 400, 4},        // a point ends the exponent
        {"ab12.5", true, 1, 3, 12.5, 7},     // starting inside the text
        {"12", true, 1, 0, 0.0, 0},          // an Idx outside the text reads nothing
        {"12", true, 1, 3, 0.0, 3},
        {"12", true, 1, -7, 0.0, -7},
        {"", true, 1, 1, 0.0, 1},
        {"1e" + std::string(30, '0') + "5", true, 1, 1, 100000, 34},  // leading exponent zeros
        {"0." + std::string(29, '0') + "1e30", true, 1, 1, 1, 36},
    };
    for (const auto& c : cases) {
        int idx = c.idx;
        EXPECT_DOUBLE_EQ(ScanFPNum(c.text, c.allowExp, c.decPChar, idx), c.value) << '"' << c.text << '"';
        EXPECT_EQ(idx, c.idxAfter) << '"' << c.text << '"';
    }
    int idx = 1;
    EXPECT_EQ(ScanFPNum(std::string(400, '9'), true, 1, idx), 1.7e308);
    EXPECT_EQ(idx, 401);
}

TEST(NumberText, IntegerReadersRejectDigitsBeyond32Bits)
{
    enum Reader { Dec, Hex, Oct, Bin };
    const struct { Reader reader; std::string text; std::int32_t value; int idxAfter; } cases[] = {
        {Dec, "  -42x", -42, 6},
        {Dec, "+7", 7, 3},
        {Dec, "2147483647", 2147483647, 11},
        {Dec, "-2147483648", -2147483647 - 1, 12},
        {Dec, "2147483648", 214748364, 10},    // the last digit does not fit
        {Dec, "4294967301", 429496730, 10},    // 2^32 + 5 is never read as 5
        {Dec, "-", 0, 2},
        {Hex, "$ff", 255, 4},
        {Hex, "FFFFFFFF", -1, 9},              // two's complement
        {Hex, "7fffffffG", 2147483647, 9},
        {Hex, "100000000", 268435456, 9},      // a ninth significant digit does not fit
        {Hex, "000000000001", 1, 13},          // leading zeros do
        {Oct, "17", 15, 3},
        {Oct, "37777777777", -1, 12},
        {Oct, "40000000000", 0x20000000, 11},
        {Oct, "18", 1, 2},
        {Bin, "101", 5, 4},
        {Bin, std::string(32, '1'), -1, 33},
        {Bin, "1" + std::string(32, '0'), std::int32_t(0x80000000u), 33},
        {Bin, "102", 2, 3},
    };
    for (const auto& c : cases) {
        int idx = 1;
        std::int32_t v = 0;
        switch (c.reader) {
        case Dec: v = ScanDecimal(c.text, idx); break;
        case Hex: v = ScanHex(c.text, idx); break;
        case Oct: v = ScanOctal(c.text, idx); break;
        case Bin: v = ScanBin(c.text, idx); break;
        }
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(idx, c.idxAfter) << c.text;
    }
}

TEST(NumberText, ReplaceCharInString)
{
    EXPECT_EQ(ReplaceCharInString("1,5,7", ',', '.'), "1.5.7");
    EXPECT_EQ(ReplaceCharInString("", ',', '.'), "");
}

// A whole text as one number, as typed into a cell or a name edit.
TEST(NumberText, TextToFloatTakesOnlyAWholeFiniteDecimalNumber)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"2.5", 2.5},    {" -1e2 ", -100.0}, {"+7", 7.0},       {".5", 0.5},   {"5.", 5.0},
        {"1E30", 1e30},  {"\t3\t", 3.0},    {"1e-5", 1e-5},    {"", {}},      {" ", {}},
        {"abc", {}},     {"12abc", {}},      {"1.2.3", {}},     {"2,5", {}},   {"inf", {}},
        {"-inf", {}},    {"nan", {}},        {"Infinity", {}},  {"0x10", {}},  {"1e400", {}},
        {"+-1", {}},     {"- 1", {}},        {"1 2", {}},       {".", {}},     {"e5", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToFloat(c.text), c.value) << "'" << c.text << "'";
}

}  // namespace
