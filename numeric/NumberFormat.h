// Number-to-text conversions shared by every report, log and trace writer.
//
// All texts use a point as the decimal separator, whatever the user's locale:
// the result files must read the same on every machine.
//
// Rounding rule. A double is taken at its shortest round-trip decimal value
// (the fewest digits that read back as the same double, as std::to_chars
// gives them), and that decimal string is rounded half away from zero. So
// 0.125 at 2 decimals is "0.13" and 2.675 at 2 decimals is "2.68", as the
// reader of the file expects from the literal value, although the nearest
// doubles lie just below those ties (printf would write "0.12" and "2.67").
//
// Sign rule. A negative value keeps its minus sign even when it rounds to
// zero: -0.004 at 2 decimals is "-0.00". Negative zero itself is zero and is
// written without a sign.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace oxw::numeric {

// Fixed field W:D: fixed-point text with `decimals` digits after the point,
// rounded half away from zero, right-aligned in `width` characters and never
// cut. Not finite: "Nan", "+Inf" or "-Inf", right-aligned in `width`.
// A negative `decimals` counts as 0.
std::string fixedField(double x, int width, int decimals);

// Integer field W: decimal integer right-aligned in `width` characters
// (width 0: no padding), never cut.
std::string intField(long long v, int width);

// Exponent field W: a blank or a minus sign, one digit, a point, further
// digits up to n = width - 8 mantissa digits in all (n limited to 2..18),
// "E", the exponent's sign and four exponent digits; n + 8 characters,
// right-aligned in `width` and never cut. The mantissa is rounded half away
// from zero (9.96 with 2 digits is " 1.0E+0001"); zero is " 0.0E+0000".
// Not finite: "Nan", "+Inf" or "-Inf", right-aligned in `width`.
std::string expField(double x, int width);

// Fixed text with precision p and d decimals, as used in log texts and in
// texts handed to other windows: the value is rounded to at most `precision`
// significant digits and to `decimals` decimals (whichever keeps fewer
// digits) and written with exactly `decimals` decimals, no padding. When the
// rounded value has more than `precision` digits before the point it is
// written in the general exponent form instead ("1.2346E5", see floatToStr).
// `precision` is limited to 1..18, `decimals` to 0..18.
// Not finite: "NAN", "INF" or "-INF".
std::string floatToStrF(double x, int precision, int decimals);

// General text: the value rounded to 15 significant digits, trailing zeros
// and a bare point dropped ("440", "0.1", "0.333333333333333"). Values with
// more than 15 digits before the point or below 0.0001 in magnitude are
// written as mantissa, "E", a minus sign for a negative exponent and the
// exponent without leading zeros ("1E15", "1.5E-7"). Zero is "0".
// Not finite: "NAN", "INF" or "-INF".
std::string floatToStr(double x);

// floatToStr(x) written at `out`, which has room for kFloatToStrRoom characters; returns the
// end of the text. The array dumps write one per spectrum line: the fast path builds no string.
inline constexpr int kFloatToStrRoom = 64;
char* writeFloatToStr(char* out, double x);
// floatToStr(x) appended to `to`, without a string of its own.
inline void appendFloatToStr(std::string& to, double x)
{
    char buf[kFloatToStrRoom];
    to.append(buf, writeFloatToStr(buf, x));
}

// Two implementations write every text above: the fast one (the default) formats the digits of
// one std::to_chars call into a character buffer; the plain one builds the text digit by digit
// and is kept as the reference the fast one is checked against. Both give the same text.
enum class NumberTextPath { Fast, Plain };
void SetNumberTextPath(NumberTextPath path);
NumberTextPath GetNumberTextPath();

// ---- Number text of the display controls and the table editor ----

// General text "%g" with at most `precision` significant digits (1..18; 0 counts as 1), rounded
// half away from zero, trailing zeros and a bare point dropped: fixed-point when the rounded
// value has at most `precision` digits before the point and is at least 0.00001 in magnitude,
// else mantissa, "E", a minus sign for a negative exponent and the exponent without leading
// zeros ("1.23E5", "1E-7"). Zero is "0". Not finite: "Nan", "+Inf" or "-Inf".
std::string formatGeneral(double x, int precision);

// Exponent text "%e" with `precision` significant digits (1..18; 0 counts as 1): a minus sign
// for negative values, one digit, a point and the further digits (no point for one digit), "E",
// the exponent's sign and at least three exponent digits ("3.14E+000", "-1.0E-005").
// Not finite: "Nan", "+Inf" or "-Inf".
std::string formatExponent(double x, int precision);

// Fixed or exponent text of width W = |FieldWidth| (widths above 1000 count as 1000):
// - DecP >= 0: fixedField(r, W, DecP); values of 1E36 and above in magnitude take the exponent
//   form expField(r, W) instead.
// - DecP = -2: expField(r, W + 2) with the first two of its four exponent digits removed; when
//   they were not both "0" (an exponent of 100 or more in magnitude) every character of the
//   shortened text becomes '*'. So strff(123456.7, 7, -2) is " 1.2E+05".
// - any other negative DecP: expField(r, W), the four-digit exponent uncut.
// FieldWidth < 0: the leading blanks become '0', and a '-' right after them becomes '0' while
// the first character becomes '-' (strff(-3.5, -6, 1) is "-003.5").
// Not finite: "Nan", "+Inf" or "-Inf" right-aligned in W, never cut, starred or zero-filled.
std::string strff(double r, int FieldWidth, int DecP);

// Cell text of the table editor with NDecP decimals. NDecP outside 0..8: the exponent form
// strff(data, NumWidth + 6, -2), max(NumWidth, 2) significant digits and a two-digit exponent.
// NDecP 0..8: strff(data, NumWidth, NDecP) for 0 and for magnitudes within L..U (L = 10^-NDecP,
// U = 10^(9 - NDecP) - L: 99999.999 and 0.001 at 3 decimals), else the exponent form.
std::string FormatData(double data, int NumWidth, int NDecP);

// Reads one decimal number of `text` starting at the 1-based position Idx: blanks, an optional
// sign, digits, a decimal point and digits, and with AllowExp an exponent ("E", optional sign,
// digits; either case). DecPChar selects the point: 1 '.', 2 ',', any other value either, where
// a second point ends the number. Returns the number, 0.0 when the text is not a number there,
// limited to -1.7E308..1.7E308. Idx is left on the character that stopped the scan (the first one
// after the number, or the offending one); Length + 1 when the text ran out. An Idx outside
// 1..Length reads nothing and stays.
double ScanFPNum(std::string_view text, bool AllowExp, int DecPChar, int& Idx);

// Integer readers of the numeric input, from the 1-based position Idx: leading blanks, then
// digits of their base. ScanDecimal takes one optional '-' or '+' first; ScanHex skips one '$'
// and takes 0-9, A-F in either case. Hexadecimal, octal and binary texts are 32-bit two's
// complement ("FFFFFFFF" is -1). A digit that would take the value beyond 32 bits (decimal
// outside -2147483648..2147483647, more than 32 bits of the other bases) is not read. Idx is
// left on the first character not read.
std::int32_t ScanDecimal(std::string_view text, int& Idx);
std::int32_t ScanHex(std::string_view text, int& Idx);
std::int32_t ScanOctal(std::string_view text, int& Idx);
std::int32_t ScanBin(std::string_view text, int& Idx);

// The number a whole text stands for: blanks (and TABs) around it, an optional sign, decimal
// digits with at most one '.', an optional exponent ("e" or "E", optional sign, digits). Nothing
// for any other text: words such as "inf" or "nan", hexadecimal, a second number, and values
// beyond the double range.
std::optional<double> TextToFloat(std::string_view text);

// `text` with every OldChar replaced by NewChar.
std::string ReplaceCharInString(std::string_view text, char OldChar, char NewChar);

}  // namespace oxw::numeric
