#include "assessment/CarrierText.h"

#include <QLocale>

#include <cmath>

#include "numeric/NumberFormat.h"

namespace oxw::assessment {

QString CarrierFixedText(double value, int precision, int decimals)
{
    if (!std::isfinite(value)) return QString::fromLatin1(kNotAvailable);
    QString text = QString::fromStdString(numeric::floatToStrF(value, precision, decimals));
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

std::optional<double> CarrierNumber(const QString& text)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace oxw::assessment
