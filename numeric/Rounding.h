#pragma once
// Rounding of doubles to integers as the component library rounds: to the nearest integer,
// halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
//
// A value that has no integer of the target type (NaN, an infinity, a value beyond the type's
// range) is never converted: RoundChecked gives nothing for it, RoundClamped the nearest end of
// the type's range (0 for NaN). A plain cast would be undefined behaviour there.
#include <cmath>
#include <concepts>
#include <limits>
#include <optional>

namespace oxw::numeric {

namespace detail {
// Exclusive upper bound of T as a double: 2^(bits of T's value range), exactly representable.
template <std::integral T>
constexpr double kRoundUpperBound = 2.0 * (static_cast<double>(std::numeric_limits<T>::max() / 2) + 1.0);
template <std::integral T>
constexpr double kRoundLowerBound = static_cast<double>(std::numeric_limits<T>::min());
}  // namespace detail

// The nearest integer of type T (halves to even), or nothing when there is none.
template <std::integral T>
std::optional<T> RoundChecked(double x)
{
    const double r = std::nearbyint(x);  // the default rounding mode takes halves to even
    if (r >= detail::kRoundLowerBound<T> && r < detail::kRoundUpperBound<T>)
        return static_cast<T>(r);
    return std::nullopt;  // NaN fails both comparisons
}

// The nearest integer of type T (halves to even); beyond T's range the nearest end of it,
// NaN gives 0.
template <std::integral T>
T RoundClamped(double x)
{
    if (std::isnan(x))
        return 0;
    if (const auto r = RoundChecked<T>(x))
        return *r;
    return x < 0 ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
}

}  // namespace oxw::numeric
