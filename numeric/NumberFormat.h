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

#include <string>

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

// Two implementations write every text above: the fast one (the default) formats the digits of
// one std::to_chars call into a character buffer; the plain one builds the text digit by digit
// and is kept as the reference the fast one is checked against. Both give the same text.
enum class NumberTextPath { Fast, Plain };
void SetNumberTextPath(NumberTextPath path);
NumberTextPath GetNumberTextPath();

}  // namespace oxw::numeric
