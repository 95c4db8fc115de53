#pragma once
// Texts of the hidden carrier edits through which numbers and answer flags reach the assessment
// windows. A carrier holds "not available" until written; a number is fixed-point text with the
// locale's decimal separator, written and read back here; an answer flag holds "True" while its
// option is chosen.

#include <QString>

#include <optional>

namespace oxw::assessment {

// Text of a carrier edit that nothing has written yet.
inline constexpr const char* kNotAvailable = "not available";
// Text of an answer flag that is set.
inline constexpr const char* kFlagSet = "True";

// Fixed text of a value with at most `precision` digits before the exponent form and `decimals`
// decimals, with the locale's decimal separator; "not available" for a value that is not finite.
QString CarrierFixedText(double value, int precision, int decimals);

// The number a carrier holds, read with the locale's decimal separator (blanks around it
// allowed, no group separators); nullopt for "not available" and for any other text that is not
// a finite number.
std::optional<double> CarrierNumber(const QString& text);

// Whether an answer flag is set: its text is "True" exactly.
inline bool CarrierFlag(const QString& text) { return text == QLatin1String(kFlagSet); }

}  // namespace oxw::assessment
