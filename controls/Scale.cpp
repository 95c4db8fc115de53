// TScale: the axis scale control; see Scale.h.
#include "controls/Scale.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "controls/DrawBase.h"
#include "controls/ScaleLayout.h"
#include "numeric/Rounding.h"
#include "platform/Canvas.h"
#include "controls/StoreChanged.h"

using oxw::controls::Store;

using oxw::controls::TScaleLayout;
using oxw::controls::TScaleTick;
using oxw::controls::TTickLength;
using oxw::platform::FarClamp;

namespace {

constexpr int kLongTickX = 7, kLongTickY = 6, kShortTick = 4;
constexpr int kLabelGap = 8;  // between a vertical scale's base line and its labels

}  // namespace

TScale::TScale(QWidget* parent) : QWidget(parent)
{
    resize(400, 400);
    FDTFormat.SetTimeFormat(tfHHMMSS);
    FDTFormat.SetDateSeparator('-');
    FDTFormat.SetTimeSeparator(':');
    FDTFormat.SetYearLength(ylYYYY);
    FDTFormat.SetMonthName(true);
    FDTFormat.SetDateForTime(dtOnePerDay);
    FDTFormat.SetDateOrder(doDDMMYY);
    FDTFormat.OnChange = [this] { Changed(); };
    AdjustScalePars();
    FSuppressPaint = false;
}

TScale::~TScale() = default;

// ---- setters ----

void TScale::SetScaleType(TScaleType t)
{
    if (!Store(FScaleType, t))
        return;
    AdjustScalePars();
    TriggerPaint();
}

void TScale::SetCaption(const QString& t) { FUnitLabel = t; TriggerPaint(); }
void TScale::SetCaptionPosX(int x) { FLblPosX = x; TriggerPaint(); }
void TScale::SetCaptionPosY(int y) { FLblPosY = y; TriggerPaint(); }
void TScale::SetCaptionAlignment(TAlignment a) { FLblAlign = a; TriggerPaint(); }
void TScale::SetCaptionAnchor(TScaleUnitAnchor a) { FLblAnchor = a; TriggerPaint(); }
void TScale::SetShowBaseLine(bool on) { FDrawBaseLine = on; TriggerPaint(); }
void TScale::SetTransparent(bool on) { FTransparent = on; TriggerPaint(); }
void TScale::SetUserTickText(const QString& t) { FUserTicktext = t; TriggerPaint(); }
void TScale::SetScaleInscript(const QString& t) { FScaleInscript = t; TriggerPaint(); }

void TScale::SetMarginLeft(int m) { FMarginLeft = std::max(m, 0); AdjustScalePars(); TriggerPaint(); }
void TScale::SetMarginRight(int m) { FMarginRight = std::max(m, 0); AdjustScalePars(); TriggerPaint(); }
void TScale::SetMarginTop(int m) { FMarginTop = std::max(m, 0); AdjustScalePars(); TriggerPaint(); }
void TScale::SetMarginBottom(int m) { FMarginBottom = std::max(m, 0); AdjustScalePars(); TriggerPaint(); }

void TScale::SetRangeHigh(double v)
{
    FRangeHigh = v;
    if (FRangeHigh == FRangeLow)
        FRangeLow = FRangeHigh + 1.0;
    AdjustScalePars();
    TriggerPaint();
}

void TScale::SetRangeLow(double v)
{
    FRangeLow = v;
    if (FRangeLow == FRangeHigh)
        FRangeHigh = FRangeLow + 1.0;
    AdjustScalePars();
    TriggerPaint();
}

void TScale::SetDecPlaces(int d)
{
    FDecPlaces = std::clamp(d, -3, 12);
    AdjustScalePars();
    TriggerPaint();
}

void TScale::SetLogarithmic(bool on)
{
    if (!on)
        FAxLog = false;
    else if (FNotYetLoaded || (FRangeLow >= SmallPosNum && FRangeHigh >= SmallPosNum && FLabelType != ftDateTime))
        FAxLog = true;
    AdjustScalePars();
    TriggerPaint();
}

void TScale::SetLabelType(TFigType t)
{
    FLabelType = t;
    if (t == ftDateTime) {
        FAxLog = false;
        AdjustScalePars();
    }
    if (t == ftTime)
        FDecPlaces = 4;
    TriggerPaint();
}

void TScale::SetDateFormat(const TDTLabel& f) { FDTFormat.Assign(f); }  // repaints through OnChange

void TScale::SetShortTicks(bool on) { if (Store(FShortTicks, on)) TriggerPaint(); }
void TScale::SetColorBackGnd(TColor c) { if (Store(FColorBG, c)) TriggerPaint(); }
void TScale::SetColorScale(TColor c) { if (Store(FColorFG, c)) TriggerPaint(); }
void TScale::SetFrameStyle(TFrameStyle s) { if (Store(FFrameStyle, s)) TriggerPaint(); }
void TScale::SetIsHelperComponent(bool on) { if (Store(FIsHelper, on)) TriggerPaint(); }

void TScale::SetColorScheme(TColorScheme s)
{
    if (!Store(FColorScheme, s))
        return;
    FColGrayLine = s == csSystem ? clBtnShadow : 0x808080;
    FColWhiteLine = s == csSystem ? clBtnHighlight : 0xFFFFFF;
    TriggerPaint();
}

void TScale::SetMinTicks(int n)
{
    FNumTicks = std::clamp(n, 2, 10);
    TriggerPaint();
}

void TScale::SetVisible(bool on)
{
    FVisible = on;
    if (parentWidget() != nullptr)
        QWidget::setVisible(on);
    TriggerPaint();
}

void TScale::SetSuppressPaint(bool on)
{
    if (!Store(FSuppressPaint, on))
        return;
    if (!on)
        TriggerPaint();
}

void TScale::ForcePaint()
{
    const bool suppressed = FSuppressPaint;
    FSuppressPaint = false;
    Paint();
    FSuppressPaint = suppressed;
}

void TScale::UseForeignCanvas(Canvas* canvas, int x, int y)
{
    FForeignCv = canvas;
    FForCvPosX = x;
    FForCvPosY = y;
}

void TScale::SetBounds(int x, int y, int w, int h)
{
    setGeometry(x, y, std::max(w, 0), std::max(h, 0));
    AdjustScalePars();
    TriggerPaint();
}

void TScale::resizeEvent(QResizeEvent* /*event*/) { AdjustScalePars(); }

void TScale::Loaded()
{
    FNotYetLoaded = false;
    AdjustScalePars();
    TriggerPaint();
}

void TScale::Assign(const TScale& source)
{
    FFrameStyle = source.FFrameStyle;
    FColorFG = source.FColorFG;
    FColorBG = source.FColorBG;
    FColBlackLine = source.FColBlackLine;
    FColGrayLine = source.FColGrayLine;
    FColWhiteLine = source.FColWhiteLine;
    FColorScheme = source.FColorScheme;
    OnScaleTickDrawn = source.OnScaleTickDrawn;
    FAxLog = source.FAxLog;
    FTransf_k = source.FTransf_k;
    FTransf_d = source.FTransf_d;
    FRangeHigh = source.FRangeHigh;
    FRangeLow = source.FRangeLow;
    FShortTicks = source.FShortTicks;
    FTickCount = source.FTickCount;
    FNumTicks = source.FNumTicks;
    FDecPlaces = source.FDecPlaces;
    FDrawBaseLine = source.FDrawBaseLine;
    FTransparent = source.FTransparent;
    FLabelType = source.FLabelType;
    TChangeEvent repaint = std::move(FDTFormat.OnChange);
    FDTFormat.Assign(source.FDTFormat);
    FDTFormat.OnChange = std::move(repaint);
    FMarginTop = source.FMarginTop;
    FMarginBottom = source.FMarginBottom;
    FMarginRight = source.FMarginRight;
    FMarginLeft = source.FMarginLeft;
    FLblPosX = source.FLblPosX;
    FLblPosY = source.FLblPosY;
    FUserTicktext = source.FUserTicktext;
    FScaleInscript = source.FScaleInscript;
    FScaleTickPos = source.FScaleTickPos;
    FUnitLabel = source.FUnitLabel;
    FLblAnchor = source.FLblAnchor;
    FLblAlign = source.FLblAlign;
    FForeignCv = source.FForeignCv;
    FForCvPosX = source.FForCvPosX;
    FForCvPosY = source.FForCvPosY;
    FScaleType = source.FScaleType;
    FSuppressPaint = source.FSuppressPaint;
    TriggerPaint();
}

// ---- mapping ----

void TScale::AdjustScalePars()
{
    if (FNotYetLoaded || FRangeHigh == FRangeLow)
        return;
    const bool horizontal = Horizontal();
    const long long L = horizontal ? 0LL + width() - FMarginLeft - FMarginRight - 1
                                   : 0LL + height() - FMarginTop - FMarginBottom - 1;
    if (L <= 0) {
        FTransf_k = 0.0;
        FTransf_d = (horizontal ? width() : height()) / 2.0;
        return;
    }
    const double len = static_cast<double>(L);
    double lo = FRangeLow, hi = FRangeHigh;
    if (FAxLog) {
        if (!(lo > 0.0 && hi > 0.0))
            return;
        lo = std::log(lo);
        hi = std::log(hi);
    }
    if (horizontal) {
        FTransf_k = len / (hi - lo);
        FTransf_d = FMarginLeft - FTransf_k * lo;
    } else {
        FTransf_k = len / (lo - hi);
        FTransf_d = FMarginTop - FTransf_k * hi;
    }
}

int TScale::R2M(double v) const
{
    double p = 0.0;
    if (!FAxLog)
        p = FTransf_k * v + FTransf_d;
    else if (v > SmallPosNum)
        p = FTransf_k * std::log(v) + FTransf_d;
    else
        p = FRangeHigh < FRangeLow ? width() : 0.0;
    if (p > 2147483647.0)
        p = 2147483647.0;
    if (p < -2147483647.0)
        p = -2147483647.0;
    return oxw::numeric::RoundClamped<int>(p);  // NaN gives 0
}

double TScale::TickPos(int ix) const
{
    return ix >= 1 && ix <= FTickCount ? FScaleTickPos[static_cast<std::size_t>(ix - 1)] : 0.0;
}

// ---- painting ----

void TScale::TriggerPaint()
{
    if (FTransparent && !FIsHelper)
        update();
    else
        Paint();
}

void TScale::Paint()
{
    if (!CanPaint())
        return;
    ++paintCount_;
    if (FForeignCv != nullptr) {
        RenderOn(*FForeignCv, FForCvPosX, FForCvPosY);
        return;
    }
    ownPicture_ = PaintImage();
    update();
}

void TScale::paintEvent(QPaintEvent* /*event*/)
{
    // A transparent scale draws when its widget repaints; an opaque one shows its last picture.
    if (FTransparent && !FIsHelper && CanPaint()) {
        ++paintCount_;
        if (FForeignCv != nullptr)
            RenderOn(*FForeignCv, FForCvPosX, FForCvPosY);
        else
            ownPicture_ = PaintImage();
    }
    if (FForeignCv == nullptr && !ownPicture_.isNull())
        QPainter(this).drawImage(0, 0, ownPicture_);
}

QImage TScale::PaintImage()
{
    QImage picture(std::max(width(), 0), std::max(height(), 0), QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    picture.fill(palette().color(QPalette::Window));
    Canvas cv(picture);
    RenderOn(cv, 0, 0);
    return picture;
}

void TScale::RenderOn(Canvas& target, int posX, int posY)
{
    target.Font.Font = font();
    target.Font.Color = FColorFG;
    if (OnBeforeScaleRendered)
        OnBeforeScaleRendered(this, target);
    if (FTransparent) {
        target.Pen.Color = FColorFG;
        DrawScale(target, posX, posY);
        if (OnAfterScaleRendered)
            OnAfterScaleRendered(this, target);
        return;
    }
    QImage bitmap(std::max(width(), 0), std::max(height(), 0), QImage::Format_RGB32);
    if (bitmap.isNull())
        return;
    {
        Canvas cv(bitmap);
        cv.Font.Font = font();
        cv.Font.Color = FColorFG;
        cv.Pen.Color = cv.Brush.Color = FColorBG;
        cv.Rectangle(0, 0, width(), height());
        cv.Pen.Color = FColorFG;
        DrawScale(cv, 0, 0);
        if (OnAfterScaleRendered)
            OnAfterScaleRendered(this, cv);
        DrawFrame(cv, FFrameStyle, 0, 0, width() - 1, height() - 1, FColWhiteLine, clSilver, FColGrayLine,
                  FColBlackLine, FColBlackLine);
    }
    target.Draw(posX, posY, bitmap);
}

void TScale::DrawScale(Canvas& cv, int posX, int posY)
{
    long long base = 0;
    switch (FScaleType) {
    case sctXB: base = 0LL + posY + height() - FMarginBottom - 1; break;
    case sctXT: base = 0LL + posY + FMarginTop; break;
    case sctYL: base = 0LL + posX + FMarginLeft; break;
    default: base = 0LL + posX + width() - FMarginRight - 1; break;
    }
    if (cv.IsPrinter())
        cv.SetFontSizeFrom(font());  // the labels keep their size in points on paper
    cv.Brush.Style = FTransparent ? bsClear : bsSolid;
    FTickCount = 0;
    FScaleTickPos.assign(MaxTickPos, 0.0);

    oxw::controls::TScaleLayoutInput in;
    in.RangeLow = FRangeLow;
    in.RangeHigh = FRangeHigh;
    in.Logarithmic = FAxLog;
    in.ShortTicks = FShortTicks;
    in.MinTicks = FNumTicks;
    in.DecPlaces = FDecPlaces;
    in.LabelType = FLabelType;
    in.Vertical = !Horizontal();
    in.UserTickText = FUserTicktext.toStdString();
    in.ScaleInscript = FScaleInscript.toStdString();
    in.DateFormat.Assign(FDTFormat);
    const TScaleLayout layout = oxw::controls::LayoutScale(in);

    const int b = FarClamp(base);
    DrawMessage(cv, layout, b);
    DrawTicks(cv, layout, b);
    if (!FUnitLabel.isEmpty())
        DrawCaption(cv, b);
    if (FDrawBaseLine)
        DrawBaseLine(cv, b);
}

void TScale::RecordTick(double value)
{
    if (FTickCount < MaxTickPos)
        FScaleTickPos[static_cast<std::size_t>(FTickCount++)] = value;
}

void TScale::DrawTicks(Canvas& cv, const TScaleLayout& layout, int base)
{
    for (const TScaleTick& tick : layout.Ticks)
        DrawTick(cv, tick, base);
}

void TScale::DrawTick(Canvas& cv, const TScaleTick& tick, int base)
{
    const int p = R2M(tick.Value);
    if (tick.Record)
        RecordTick(tick.Value);
    const int length = tick.Length == TTickLength::Long    ? (Horizontal() ? kLongTickX : kLongTickY)
                     : tick.Length == TTickLength::Short ? kShortTick
                                                         : 0;
    const int outward = FScaleType == sctXB || FScaleType == sctYR ? -1 : 1;  // sign of the tick's direction
    if (length > 0) {
        if (Horizontal()) {
            cv.MoveTo(p, base);
            cv.LineTo(p, base + outward * length);
        } else {
            cv.MoveTo(base, p);
            cv.LineTo(base + outward * length, p);
        }
    }
    if (tick.Labelled && !tick.Label.empty())
        DrawLabel(cv, QString::fromStdString(tick.Label), p, base, 0);
    if (!tick.DateLine.empty())
        DrawLabel(cv, QString::fromStdString(tick.DateLine), p, base, 1);
    if (tick.Report && OnScaleTickDrawn)
        OnScaleTickDrawn(this, cv, FScaleType, tick.ReportValue, Horizontal() ? p : base, Horizontal() ? base : p);
}

// A tick label (line 0) or a date line (line 1) of the tick at pixel `at` along the scale.
void TScale::DrawLabel(Canvas& cv, const QString& text, long long at, int base, int line)
{
    const long long w = cv.TextWidth(text), th = cv.TextHeight(text);
    long long left = 0, top = 0;
    if (Horizontal()) {
        const long long h = w / 2;
        left = at + h < width() - 2 ? at - std::min(h, at - 2) : width() - 2 * h - 2;
        top = FScaleType == sctXT ? base + kLongTickX + line * th : base - kLongTickX - th - line * th;
    } else {
        top = line == 0 ? at - cv.TextHeight("0") / 2 : at - 3 * (th / 2);
        left = FScaleType == sctYR ? base - kLabelGap - w : base + kLabelGap;
    }
    cv.TextOut(FarClamp(left), FarClamp(top), text);
}

void TScale::DrawMessage(Canvas& cv, const TScaleLayout& layout, int base)
{
    if (layout.Message.empty())
        return;
    const long long middle = R2M((FRangeLow + FRangeHigh) / 2.0);
    if (Horizontal()) {
        QStringList words;
        for (const std::string& w : layout.Message)
            words << QString::fromStdString(w);
        const QString text = words.join(' ');
        cv.TextOut(FarClamp(middle - cv.TextWidth(text) / 2), FarClamp(0LL + base + kLongTickX), text);
        return;
    }
    const long long th = cv.TextHeight("T");
    long long top = middle - th;
    for (const std::string& piece : layout.Message) {
        const QString text = QString::fromStdString(piece);
        const long long left = FScaleType == sctYR ? base - 2LL - cv.TextWidth(text) : base + 2LL;
        cv.TextOut(FarClamp(left), FarClamp(top), text);
        top += th;
    }
}

void TScale::DrawCaption(Canvas& cv, int base)
{
    const long long w = cv.TextWidth(FUnitLabel);
    long long x = FLblPosX, y = FLblPosY;
    if (Horizontal()) {
        y += base;
        x += FLblAnchor == uaSclTopLft ? FMarginLeft
           : FLblAnchor == uaSclCenter ? FMarginLeft + (0LL + width() - FMarginLeft - FMarginRight) / 2
                                       : 0LL + width() - FMarginRight;
    } else {
        x += base;
        y += FLblAnchor == uaSclTopLft ? FMarginTop
           : FLblAnchor == uaSclCenter ? FMarginTop + (0LL + height() - FMarginTop - FMarginBottom) / 2
                                       : 0LL + height() - FMarginBottom;
    }
    if (FLblAlign == taRightJustify)
        x -= w;
    else if (FLblAlign == taCenter)
        x -= w / 2;
    cv.TextOut(FarClamp(x), FarClamp(y), FUnitLabel);
}

void TScale::DrawBaseLine(Canvas& cv, int base)
{
    if (Horizontal()) {
        cv.MoveTo(FMarginLeft, base);
        cv.LineTo(FarClamp(0LL + width() - FMarginRight - 1), base);
    } else {
        cv.MoveTo(base, FMarginTop);
        cv.LineTo(base, FarClamp(0LL + height() - FMarginBottom - 1));
    }
}
