// TNumIO: the checked numeric edit; see NumIO.h.
#include "controls/NumIO.h"

#include <QApplication>
#include <QLocale>

#include <algorithm>
#include <string>

#include "numeric/NumberFormat.h"

using namespace oxw::numeric;

TNumIO::TNumIO(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

void TNumIO::SetInputFormat(TInFormat f)
{
    if (f == FInputFormat)
        return;
    FInputFormat = f;
    Recheck();
}

void TNumIO::SetDecPlaceSep(TDecPSep s)
{
    if (s == FDecPlaceSep)
        return;
    FDecPlaceSep = s;
    Recheck();
}

void TNumIO::SetFixPointDecPlaces(int d) { FFixPointDecPlaces = std::clamp(d, 1, 8); }

void TNumIO::SetRangeLow(double v)
{
    if (v < FRangeHigh) {
        FRangeLow = v;
    } else {
        FRangeLow = FRangeHigh;
        FRangeHigh = v;
    }
    Recheck();
}

void TNumIO::SetRangeHigh(double v)
{
    if (v > FRangeLow) {
        FRangeHigh = v;
    } else {
        FRangeHigh = FRangeLow;
        FRangeLow = v;
    }
    Recheck();
}

void TNumIO::Recheck()
{
    lastValid_.clear();
    Change();
}

void TNumIO::Assign(const TNumIO& s)
{
    FInputFormat = s.FInputFormat;
    FBeep = s.FBeep;
    FRangeLow = s.FRangeLow;
    FRangeHigh = s.FRangeHigh;
    FDecPlaceSep = s.FDecPlaceSep;
}

int TNumIO::DecPChar() const
{
    switch (FDecPlaceSep) {
    case dsComma: return 2;
    case dsBoth: return 3;
    case dsSystem: return QLocale::system().decimalPoint() == QStringLiteral(",") ? 2 : 1;
    default: return 1;
    }
}

bool TNumIO::ConvertNumString(const QString& Instring, double& DReslt) const
{
    DReslt = 0.0;
    QString s = Instring;
    while (s.startsWith(' '))
        s.remove(0, 1);
    if (s.contains(' '))
        return false;
    s = s.toLower();
    if (s.isEmpty())
        return true;
    TInFormat format = FInputFormat;
    if (format == itDynamic)
        format = s[0] == '$' ? itHex : s[0] == '%' ? itBin : s[0] == '&' ? itOct : itExp;
    if (format == itExp) {
        if (s.endsWith('e'))
            s.chop(1);
        else if (s.endsWith(QStringLiteral("e-")) || s.endsWith(QStringLiteral("e+")))
            s.chop(2);
    }
    auto dropPrefix = [&s](QChar c) {
        if (s.startsWith(c))
            s.remove(0, 1);
    };
    if (format == itHex) dropPrefix('$');
    if (format == itOct) dropPrefix('&');
    if (format == itBin) dropPrefix('%');
    const std::string text = s.toStdString();
    int idx = 1;
    switch (format) {
    case itInt: DReslt = ScanDecimal(text, idx); break;
    case itHex: DReslt = ScanHex(text, idx); break;
    case itOct: DReslt = ScanOctal(text, idx); break;
    case itBin: DReslt = ScanBin(text, idx); break;
    case itExp: DReslt = ScanFPNum(text, true, DecPChar(), idx); break;
    default: DReslt = ScanFPNum(text, false, DecPChar(), idx); break;
    }
    if (idx == static_cast<int>(text.size()) + 1)
        return true;
    DReslt = 0.0;
    return false;
}

double TNumIO::Value() const
{
    double v = 0.0;
    return ConvertNumString(text(), v) ? v : 0.0;
}

// The fixed-point rules before conversion: a text without a point, or with a second one, gives
// way to the last valid text; decimals beyond FixPointDecPlaces are cut off. False when the
// text was restored.
bool TNumIO::CheckFixPoint(QString& text, int caret)
{
    const int point = text.indexOf('.');
    const int validPoint = lastValid_.indexOf('.');
    if (point < 0 || text.indexOf('.', point + 1) >= 0) {
        setText(lastValid_);
        if (point < 0)
            setCursorPosition(validPoint == 0 ? 1 : (validPoint < 0 ? int(lastValid_.size()) : validPoint));
        else
            setCursorPosition(validPoint + 1);
        return false;
    }
    if (text.size() - point - 1 > FFixPointDecPlaces) {
        text.truncate(point + 1 + FFixPointDecPlaces);
        setText(text);
        setCursorPosition(std::min<int>(caret, text.size()));
    }
    return true;
}

void TNumIO::Reject(int caret)
{
    setText(lastValid_);
    setCursorPosition(std::max(caret - 1, 0));
    repaint();
    if (FBeep)
        QApplication::beep();
}

void TNumIO::Change()
{
    if (checking_)
        return;
    checking_ = true;
    QString t = text();
    const int caret = cursorPosition();
    if (FInputFormat == itFixPoint && !CheckFixPoint(t, caret)) {
        checking_ = false;
        return;
    }
    double v = 0.0;
    if (ConvertNumString(t, v)) {
        if (FInputFormat == itFixPoint) {
            t = QString::fromStdString(strff(v, 1, FFixPointDecPlaces));
            setText(t);
            setCursorPosition(std::min<int>(caret, t.size()));
        }
        if (FRangeLow <= v && v <= FRangeHigh) {
            lastValid_ = t;
            checking_ = false;
            if (OnChange)
                OnChange(this);
            return;
        }
    }
    Reject(caret);
    checking_ = false;
}
