#include "views/ContourColorFile.h"

#include <cstdint>
#include <limits>

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace oxw::views {

namespace {

// A file of three colour lines is a few dozen bytes; anything much longer is no colour file.
constexpr qint64 kMaxFileSize = 256;

std::optional<TColor> ColorOfLine(QString line)
{
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    bool ok = false;
    const qlonglong v = line.trimmed().toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<TColor>(static_cast<std::int32_t>(v));
}

}  // namespace

QString StoreContourColors(const QString& path, const TContourColors& colors)
{
    QByteArray text;
    for (TColor c : {colors.Low, colors.Mid, colors.High})
        text += QByteArray::number(static_cast<std::int32_t>(c)) + "\r\n";
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()) return {};
    return QStringLiteral("Cannot write file \"%1\": %2.").arg(path, file.errorString());
}

std::optional<TContourColors> LoadContourColors(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot open file \"%1\": %2.").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    QStringList lines = QString::fromLatin1(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();  // the last line's end
    std::optional<TColor> c[3];
    if (bytes.size() <= kMaxFileSize && lines.size() == 3)
        for (int i = 0; i < 3; ++i) c[i] = ColorOfLine(lines[i]);
    if (!c[0] || !c[1] || !c[2]) {
        error = QStringLiteral("The file \"%1\" holds no contour plot colors: it must have three lines, "
                               "each the decimal number of one color (low, middle, high).")
                    .arg(path);
        return std::nullopt;
    }
    return TContourColors{*c[0], *c[1], *c[2]};
}

}  // namespace oxw::views
