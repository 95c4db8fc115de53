#pragma once
// Contour plot colour files (".cpc"): three text lines, each the decimal number of one colour
// (a TColor as a signed 32-bit value), low, middle and high in this order.

#include <optional>

#include <QString>

#include "platform/Colors.h"

namespace oxw::views {

inline constexpr const char* kContourColorFilter = "Contour Plot Colors|*.cpc";

struct TContourColors {
    TColor Low = 0, Mid = 0, High = 0;
};

// Writes the three lines, each ended by CR LF, in place of the file's old text. Returns an
// empty text, or the message why the file was not written (an old file is then left as it was).
QString StoreContourColors(const QString& path, const TContourColors& colors);

// Reads a file written by StoreContourColors (lines may end in CR LF or LF; blanks around a
// number are allowed). Anything else is refused: nullopt, with the message in `error`.
std::optional<TContourColors> LoadContourColors(const QString& path, QString& error);

}  // namespace oxw::views
