#pragma once
// Conversions of settings texts and the engine's rounding rules.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace oxw::engine {

// The text without the blanks before and after it.
std::string_view TrimBlanks(std::string_view text);

// Strict conversions of a settings text; throw std::invalid_argument with the runtime's message
// ("'abc' is not a valid integer value") when the text does not convert.
int StrToInt(std::string_view text);
// The same for texts that hold a byte position, count or rate, which may pass 2^31.
std::int64_t StrToInt64(std::string_view text);
double StrToFloat(std::string_view text);
// A whole number's text (blanks around it, one sign, digits) as a number; one too large for 64
// bits reads as an infinity of its sign. Nothing for a text that is no whole number.
std::optional<double> WholeNumber(std::string_view text);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline std::int64_t RoundHalfEven(double x) { return static_cast<std::int64_t>(std::nearbyint(x)); }

// RoundHalfEven((a + b) / 2.0) in integers: a tie (an odd sum) goes to the even neighbour of
// the floor of the half.
inline int HalfSumRoundHalfEven(int a, int b) {
    const int sum = a + b;
    const int floorHalf = sum >> 1;
    return floorHalf + (sum & floorHalf & 1);
}

}  // namespace oxw::engine
