// The chart's text labels (drawn after the items, label 1 on top) and the data area's frame.
#include "controls/RChartDataBmp.h"

#include <QStringList>

#include <algorithm>

using oxw::platform::FarClamp;

void TDataBmpPainter::DrawTextLabels()
{
    for (int ix = MaxTxtLbl; ix >= 1; --ix) {
        const TTextLabel& label = *C.FTextLabels[static_cast<std::size_t>(ix)];
        if (label.Mode() != tlOff && C.LayerVisible(label.Layer()) && label.Visible())
            DrawTextLabel(label);
    }
}

void TDataBmpPainter::DrawTextLabel(const TTextLabel& label)
{
    const QPoint anchor = C.LabelPixel(label);  // control pixels
    long long x1 = anchor.x(), y1 = anchor.y();
    x1 += PosX - C.FLRim;  // into the bitmap
    y1 += PosY - C.FTRim;

    cv->Font = label.Font();
    cv->Pen.Color = label.ColorBorder();
    cv->Pen.Style = psSolid;
    cv->Brush.Color = label.ColorBkg();
    cv->Brush.Style = label.Transparent() ? bsClear : bsSolid;
    const QStringList lines = label.Caption().split(QLatin1Char('\n'));
    const long long nl = lines.size();
    long long tw = 0;
    for (const QString& line : lines)
        tw = std::max<long long>(tw, cv->TextWidth(line));
    if (tw == 0)
        tw = cv->TextWidth(label.Caption());
    const long long th = cv->TextHeight(label.Caption());

    if (label.VerticalAlignment() == vaTop)
        y1 += th;
    else if (label.VerticalAlignment() == vaCenter)
        y1 += th / 2;
    if (label.Alignment() == taRightJustify)
        x1 -= tw;
    else if (label.Alignment() == taCenter)
        x1 -= tw / 2;

    auto box = [&](long long dx, long long dy) {
        cv->Rectangle(FarClamp(x1 - 4 + dx), FarClamp(y1 - nl * th - 2 + dy), FarClamp(x1 + tw + 4 + dx), FarClamp(y1 + 2 + dy));
    };
    switch (label.Mode()) {
    case tlsimple:
        if (!label.Transparent()) {
            cv->Pen.Color = label.ColorBkg();
            box(0, 0);
        }
        break;
    case tlBox: box(0, 0); break;
    case tlUnderline:
        if (!label.Transparent()) {
            cv->Pen.Color = label.ColorBkg();
            box(0, 0);
        }
        cv->Pen.Color = label.ColorBorder();
        cv->MoveTo(FarClamp(x1), FarClamp(y1));
        cv->LineTo(FarClamp(x1 + tw), FarClamp(y1));
        break;
    case tlShadow:
        cv->Pen.Color = cv->Brush.Color = label.ColorShadow();
        box(label.ShadowDx(), label.ShadowDy());
        cv->Pen.Color = label.ColorBorder();
        cv->Brush.Color = label.ColorBkg();
        box(0, 0);
        break;
    default: break;
    }

    if (nl == 1) {
        cv->TextOut(FarClamp(x1), FarClamp(y1 - th), label.Caption());
        return;
    }
    for (long long k = 0; k < nl; ++k) {
        const QString& line = lines[static_cast<qsizetype>(k)];
        const long long w = cv->TextWidth(line);
        const long long o = label.Alignment() == taRightJustify ? tw - w : (label.Alignment() == taCenter ? (tw - w) / 2 : 0);
        cv->TextOut(FarClamp(x1 + o), FarClamp(y1 - nl * th + k * th), line);
    }
}

void TDataBmpPainter::DrawFrame()
{
    const int dw = C.DataWidth(), dh = C.DataHeight();
    cv->Pen.Color = C.FChartFrameColor;
    cv->Pen.Style = psSolid;
    cv->MoveTo(PosX, PosY);
    cv->LineTo(PosX + dw, PosY);
    cv->LineTo(PosX + dw, PosY + dh);
    cv->LineTo(PosX, PosY + dh);
    cv->LineTo(PosX, PosY);
}
