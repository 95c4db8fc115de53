// TNumLab: the read-out; see NumLab.h.
#include "controls/NumLab.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "numeric/DateTimeFormat.h"
#include "numeric/NumberFormat.h"
#include "numeric/Rounding.h"
#include "platform/Canvas.h"
#include "controls/StoreChanged.h"

using namespace oxw::numeric;
using oxw::controls::Store;
using oxw::platform::Canvas;

namespace {

const QString kDegree = QStringLiteral("\u00B0");
// The sample whose height sets the vertical placement of every text.
const QString kHeightSample = QStringLiteral("(8g]}\u00DC\u00C4\u00A7");

// The rounded value as 32-bit two's complement, when it lies in -2^31 .. 2^32 - 1.
std::optional<std::uint32_t> Word32(double v)
{
    const std::optional<std::int64_t> r = RoundChecked<std::int64_t>(v);
    if (!r || *r < -2147483648LL || *r > 4294967295LL)
        return std::nullopt;
    return static_cast<std::uint32_t>(*r);
}

// The last `digits` digits of u in base 2^bits (leading zeros included).
QString LowDigits(std::uint32_t u, int digits, int bits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    QString s(digits, QChar('0'));
    std::uint64_t rest = u;
    for (int i = digits - 1; i >= 0; --i) {
        s[i] = QChar(kDigits[rest & ((1u << bits) - 1)]);
        rest >>= bits;
    }
    return s;
}

QString Str(const std::string& s) { return QString::fromStdString(s); }

// Whole degrees of v, when they fit 64 bits.
std::optional<std::int64_t> WholeDegrees(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    return RoundChecked<std::int64_t>(std::trunc(v));
}

}  // namespace

TNumLab::TNumLab(QWidget* parent) : QWidget(parent)
{
    resize(160, 28);
    setMouseTracking(true);
}

void TNumLab::Changed()
{
    ++paintRequests_;
    update();
}

void TNumLab::SetValue(double v) { if (Store(FValue, v)) Changed(); }
void TNumLab::SetDisplayType(TDisplay t) { if (Store(FDisplayType, t)) Changed(); }

void TNumLab::SetPrecision(int p)
{
    if (p >= 0 && Store(FPrecision, std::min(p, 15)))
        Changed();
}

void TNumLab::SetLeftSpace(int s)
{
    if (s >= 0 && Store(FLeftSpace, std::min(s, width())))
        Changed();
}

void TNumLab::SetLabelWidth(int w) { if (Store(FLabelWidth, w)) Changed(); }
void TNumLab::SetLeftText(const QString& t) { if (Store(FLeftText, t)) Changed(); }
void TNumLab::SetRightText(const QString& t) { if (Store(FRightText, t)) Changed(); }
void TNumLab::SetLeftTextAlignment(TAlignment a) { if (Store(FLeftTextAlignment, a)) Changed(); }
void TNumLab::SetRightTextAlignment(TAlignment a) { if (Store(FRightTextAlignment, a)) Changed(); }
void TNumLab::SetAlignment(TAlignment a) { if (Store(FAlignment, a)) Changed(); }
void TNumLab::SetFrameStyle(TFrameStyle s) { if (Store(FFrameStyle, s)) Changed(); }
void TNumLab::SetColorLabBakG(TColor c) { if (Store(FColorLabBakG, c)) Changed(); }
void TNumLab::SetColorLabText(TColor c) { if (Store(FColorLabText, c)) Changed(); }
void TNumLab::SetColorOutBakG(TColor c) { if (Store(FColorOutBakG, c)) Changed(); }
void TNumLab::SetColorOutText(TColor c) { if (Store(FColorOutText, c)) Changed(); }
void TNumLab::SetComma(bool on) { if (Store(FComma, on)) Changed(); }
void TNumLab::SetForcePlusSign(bool on) { if (Store(FForcePlusSign, on)) Changed(); }
void TNumLab::SetEmpty(bool on) { if (Store(FEmpty, on)) Changed(); }
void TNumLab::SetDTFormat(const QString& f) { if (Store(FDTFormat, f)) Changed(); }
void TNumLab::SetStateText(const QString& t) { if (Store(FStateText, t)) Changed(); }
void TNumLab::SetOverflowIndicator(const QString& t) { if (Store(FOverflowIndicator, t)) Changed(); }

void TNumLab::SetColorScheme(TColorScheme s)
{
    if (!Store(FColorScheme, s))
        return;
    FColGrayLine = s == csBWG ? clGray : clBtnShadow;
    FColWhiteLine = s == csBWG ? clWhite : clBtnHighlight;
    Changed();
}

bool TNumLab::FormatText(QString& text) const
{
    const double v = FValue;
    const int p = FPrecision;
    const int degP = std::clamp(p, 0, 8);
    switch (FDisplayType) {
    case dtFloat: text = Str(formatGeneral(v, p)); return true;
    case dtFixP: text = Str(fixedField(v, 0, p)); return true;
    case dtExp: text = Str(formatExponent(v, p)); return true;
    case dtHex:
    case dtBin:
    case dtOct: {
        const std::optional<std::uint32_t> u = Word32(v);
        if (!u)
            return false;
        if (FDisplayType == dtHex) text = LowDigits(*u, std::min(p, 8), 4);
        else if (FDisplayType == dtBin) text = LowDigits(*u, std::min(p, 32), 1);
        else text = LowDigits(*u, std::min(p, 12), 3);
        return true;
    }
    case dtZeroInt: {
        const std::optional<std::int32_t> r = RoundChecked<std::int32_t>(v);
        if (!r)
            return false;
        const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(*r));
        text = (*r < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude).rightJustified(p, '0');
        return true;
    }
    case dtInt: {
        const std::optional<std::int64_t> r = RoundChecked<std::int64_t>(v);
        if (!r)
            return false;
        text = QString::number(*r);
        return true;
    }
    case dtDateTime: {
        const std::optional<std::string> s = FormatDateTime(FDTFormat.toStdString(), v);
        if (!s)
            return false;
        text = Str(*s);
        return true;
    }
    case dtState: text = FStateText; return true;
    case dtDeg:
        if (!std::isfinite(v))
            return false;
        text = Str(fixedField(v, 0, degP)) + kDegree;
        return true;
    case dtDegMin:
    case dtDegMinSec: {
        const std::optional<std::int64_t> deg = WholeDegrees(v);
        if (!deg)
            return false;
        const double a = std::fabs(v);
        const double minutes = (a - std::trunc(a)) * 60;
        text = QString::number(*deg) + kDegree + ' ';
        if (FDisplayType == dtDegMin) {
            text += Str(fixedField(minutes, degP + 3, degP)) + '\'';
        } else {
            const double whole = std::trunc(minutes);
            text += Str(intField(static_cast<long long>(whole), 2)) + "' " +
                    Str(fixedField((minutes - whole) * 60, degP + 3, degP)) + '"';
        }
        return true;
    }
    }
    return false;
}

QString TNumLab::DisplayText()
{
    QString text;
    if (!FormatText(text))
        text = FOverflowIndicator;
    const bool plain = FDisplayType != dtDateTime && FDisplayType != dtHex && FDisplayType != dtBin &&
                       FDisplayType != dtState;
    if (plain) {
        if (FComma)
            text.replace('.', ',');
        else
            text.replace(',', '.');
        if (FForcePlusSign && FValue > 0)
            text.prepend('+');
    }
    if (OnBeforeDisplay)
        OnBeforeDisplay(this, text);
    return text;
}

bool TNumLab::TooWide(const QString& text) const
{
    return QFontMetrics(font()).horizontalAdvance(text) > FLabelWidth - 6LL;
}

QString TNumLab::ShownText()
{
    const QString text = DisplayText();
    return (FDisplayType != dtState && TooWide(text)) ? FOverflowIndicator : text;
}

void TNumLab::Assign(const TNumLab& s)
{
    FLeftSpace = s.FLeftSpace;
    FEmpty = s.FEmpty;
    FLabelWidth = s.FLabelWidth;
    FPrecision = s.FPrecision;
    FLeftText = s.FLeftText;
    FRightText = s.FRightText;
    FFrameStyle = s.FFrameStyle;
    FAlignment = s.FAlignment;
    FLeftTextAlignment = s.FLeftTextAlignment;
    FRightTextAlignment = s.FRightTextAlignment;
    FOverflowIndicator = s.FOverflowIndicator;
    FValue = s.FValue;
    FStateText = s.FStateText;
    FColorLabBakG = s.FColorLabBakG;
    FColorLabText = s.FColorLabText;
    FColorOutBakG = s.FColorOutBakG;
    FColorOutText = s.FColorOutText;
    FColBlackLine = s.FColBlackLine;
    FColGrayLine = s.FColGrayLine;
    FColWhiteLine = s.FColWhiteLine;
    FColorScheme = s.FColorScheme;
    FDisplayType = s.FDisplayType;
    Changed();
}

QImage TNumLab::PaintImage()
{
    const int w = std::max(width(), 1), h = std::max(height(), 1);
    const int ls = FLeftSpace, lw = oxw::platform::FarClamp(FLabelWidth);  // any width: beyond 2^24 it looks the same
    QImage image(w, h, QImage::Format_RGB32);
    {
        Canvas cv(image);
        cv.Font.Font = font();
        const int th = cv.TextHeight(kHeightSample);
        const int th2 = h - 4;
        const int y = (h - th) / 2;
        cv.Brush.Color = FColorOutBakG;
        cv.FillRect(0, 0, w, h);
        cv.Brush.Style = bsClear;
        cv.Font.Color = FColorOutText;
        if (!FLeftText.isEmpty()) {
            const int tw = cv.TextWidth(FLeftText);
            const int x = FLeftTextAlignment == taLeftJustify ? 7
                          : FLeftTextAlignment == taRightJustify ? ls - 5 - tw : (ls - tw) / 2;
            cv.TextOut(x, y, FLeftText);
        }
        if (!FRightText.isEmpty()) {
            const int tw = cv.TextWidth(FRightText);
            const int x = FRightTextAlignment == taLeftJustify ? ls + lw + 7
                          : FRightTextAlignment == taRightJustify ? w - 6 - tw
                                                                  : ls + lw + 1 + (w - ls - lw - tw) / 2;
            cv.TextOut(x, y, FRightText);
        }
        cv.Brush.Style = bsSolid;
        cv.Brush.Color = FColorLabBakG;
        if (FFrameStyle == fsNone || FFrameStyle == fsSimple) {
            cv.Pen.Color = FFrameStyle == fsNone ? FColorLabBakG : FColGrayLine;
            cv.Rectangle(ls, 0, ls + lw + 2, h);
        } else {
            cv.Pen.Color = FFrameStyle == fsEmbossed ? FColWhiteLine : FColGrayLine;
            cv.Rectangle(ls, 0, ls + lw + 2, h - 1);
            const TColor upperLeft = FFrameStyle == fsLowered ? FColBlackLine
                                     : FFrameStyle == fsEmbossed ? FColGrayLine : FColWhiteLine;
            const TColor lowerRight = FFrameStyle == fsRaised ? FColBlackLine
                                      : FFrameStyle == fsEmbossed ? FColGrayLine : FColWhiteLine;
            cv.Pen.Color = upperLeft;
            cv.Polyline({{ls + 1, th2 + 1}, {ls + 1, 1}, {ls + lw + 1, 1}});
            cv.Pen.Color = lowerRight;
            cv.Polyline({{ls + 1, th2 + 3}, {ls + lw + 2, th2 + 3}, {ls + lw + 2, 0}});
        }
        if (!FEmpty) {
            const QString text = ShownText();
            const int tw = cv.TextWidth(text);
            const int x = FAlignment == taLeftJustify ? ls + 4
                          : FAlignment == taRightJustify ? ls + lw - 2 - tw : ls + 2 + (lw - tw) / 2;
            cv.Brush.Style = bsClear;
            cv.Font.Color = FColorLabText;
            cv.TextRect(ls + 3, 2, ls + lw - 1, th2 + 1, x, y, text);
        }
    }
    return image;
}

void TNumLab::paintEvent(QPaintEvent* /*event*/)
{
    if (isVisible())
        QPainter(this).drawImage(0, 0, PaintImage());
}

void TNumLab::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    FMouseAreaCode = x > FLeftSpace + FLabelWidth ? 2 : (x > FLeftSpace ? 1 : 0);
    QWidget::mouseMoveEvent(event);
}
