#include "engine/Convert.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace oxw::engine {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

namespace {

// Reads a whole number's text (blanks around it, one sign, digits) into v: std::errc() when it
// does, result_out_of_range for a number beyond Int, invalid_argument for any other text.
template <class Int>
std::errc ReadWhole(std::string_view text, Int& v) {
    std::string_view t = TrimBlanks(text);
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
        if (!t.empty() && t.front() == '-') return std::errc::invalid_argument;
    }
    const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    return t.empty() || p != t.data() + t.size() ? std::errc::invalid_argument : ec;
}

template <class Int>
Int WholeText(std::string_view text) {
    Int v = 0;
    if (ReadWhole(text, v) != std::errc()) {
        throw std::invalid_argument("'" + std::string(text) + "' is not a valid integer value");
    }
    return v;
}

}  // namespace

std::optional<double> WholeNumber(std::string_view text) {
    std::int64_t v = 0;
    const std::errc ec = ReadWhole(text, v);
    if (ec == std::errc()) return static_cast<double>(v);
    if (ec != std::errc::result_out_of_range) return std::nullopt;
    return TrimBlanks(text).front() == '-' ? -HUGE_VAL : HUGE_VAL;
}

int StrToInt(std::string_view text) { return WholeText<int>(text); }

std::int64_t StrToInt64(std::string_view text) { return WholeText<std::int64_t>(text); }

double StrToFloat(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    double v = 0;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || p != t.data() + t.size()) {
        throw std::invalid_argument("'" + std::string(text) + "' is not a valid floating point value");
    }
    return v;
}

}  // namespace oxw::engine
