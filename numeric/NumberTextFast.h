#pragma once
// The fast path of the number texts of NumberFormat.h: the same texts, written into a caller's
// character buffer. The digits come from one std::to_chars call (the shortest round-trip
// decimal) and are rounded half away from zero on those decimal digits, so a tie of the decimal
// value (0.125 at 2 decimals) goes up, as the plain path does it, not to the even neighbour.
// FloatToStr (15 significant digits, the array dumps' text) first tries the digits of one
// scaled product: exact in 128-bit integers for magnitudes 1e-13 .. 1e15, where it settles
// every value but those on the edge of a rounding interval, else in extended precision, which
// settles the values clear of a rounding tie (about nine in ten); it writes the digits eight at
// a time. FixedText and FloatToStrF round the exact product |x| 10^decimals where no tie lies
// within half a unit in the last place of x and at most 18 digits (and the precision) remain.
// Each writer returns the end of its text, or nullptr when the text would not fit its buffer
// (fixed fields with more than kFastDigits digits before or after the point), in which case
// the caller takes the plain path.
namespace oxw::numeric::fasttext {

inline constexpr int kFastDigits = 24;
// Room every writer below needs; the texts themselves are shorter (a writer may store past the
// end of its text, within this room).
inline constexpr int kBufferSize = 64;

// The unpadded text of fixedField (the padding is the caller's).
char* FixedText(char* out, double x, int decimals);
// The unpadded text of expField with n mantissa digits (2..18).
char* ExpText(char* out, double x, int n);
char* FloatToStrF(char* out, double x, int precision, int decimals);
char* FloatToStr(char* out, double x);

}  // namespace oxw::numeric::fasttext
