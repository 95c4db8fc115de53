#pragma once
// Conversions of settings texts and the engine's rounding rules.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace oxw::engine {

// Strict conversions of a settings text; throw std::invalid_argument with the runtime's message
// ("'abc' is not a valid integer value") when the text does not convert.
int StrToInt(std::string_view text);
double StrToFloat(std::string_view text);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline std::int64_t RoundHalfEven(double x) { return static_cast<std::int64_t>(std::nearbyint(x)); }

}  // namespace oxw::engine
