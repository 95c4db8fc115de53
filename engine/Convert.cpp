#include "engine/Convert.h"

#include <charconv>
#include <stdexcept>

namespace oxw::engine {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

namespace {

template <class Int>
Int WholeText(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    Int v = 0;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || p != t.data() + t.size()) {
        throw std::invalid_argument("'" + std::string(text) + "' is not a valid integer value");
    }
    return v;
}

}  // namespace

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
