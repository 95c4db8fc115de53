#pragma once
// JPEG pictures of the form designs, decoded with libjpeg into a QImage (24-bit RGB). Grey and
// colour pictures, baseline or progressive, are read; anything else fails cleanly: a null image
// and the reason, never a message on the console or the end of the program. Data that libjpeg
// only warns about (a picture cut short, corrupt entropy data) counts as a failure too, so a
// damaged picture never shows as a half-grey one.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace oxw::platform {

// Largest picture taken, in pixels (width x height); larger ones are refused before any pixel
// memory is taken.
inline constexpr long long kMaxJpegPixels = 1LL << 26;

// The picture held in `data`; a null image on failure, with libjpeg's reason in *error.
QImage DecodeJpeg(const QByteArray& data, QString* error = nullptr);

// The picture of a file or of a resource (":/forms/..."); a null image on failure, with
// "Picture \"<fileName>\": <reason>" in *error.
QImage LoadJpeg(const QString& fileName, QString* error = nullptr);

}  // namespace oxw::platform
