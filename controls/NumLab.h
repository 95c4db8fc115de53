#pragma once
// TNumLab: a read-out. A framed value box showing one number in one of 13 formats, a text to
// its left and an optional text to its right. The box starts LeftSpace pixels from the left and
// is LabelWidth pixels wide; a value text wider than LabelWidth - 6 pixels shows the
// OverflowIndicator instead (dtState's text is drawn clipped). Every setter stores and repaints
// only when the value differs from the stored one.
#include <QString>
#include <QWidget>

#include <functional>

#include "numeric/VkrEnums.h"
#include "platform/Colors.h"

// Formats of the value, p = Precision:
//   dtFloat     at most p significant digits, trailing zeros removed ("%g")
//   dtFixP      p decimals ("%f")
//   dtExp       p significant digits and an exponent of at least three digits ("%e")
//   dtHex       the last min(p, 8) upper-case hexadecimal digits of the rounded value
//   dtZeroInt   the rounded value zero-padded to p digits
//   dtInt       the rounded value
//   dtDateTime  a date-time number formatted with DTFormat
//   dtState     StateText
//   dtBin, dtOct the last min(p, 32) binary or min(p, 12) octal digits of the rounded value
//   dtDeg       degrees with p decimals and a degree sign
//   dtDegMin    whole degrees, minutes with p decimals
//   dtDegMinSec whole degrees, whole minutes, seconds with p decimals
// Hexadecimal, binary and octal take -2147483648..4294967295 (negative values in 32-bit two's
// complement), dtZeroInt the 32-bit range; dtInt and the degree formats the 64-bit range, and
// dtDateTime the years 1..9999. Outside these, and for values that are not finite, the text is
// the OverflowIndicator.
enum TDisplay {
    dtFloat, dtFixP, dtExp, dtHex, dtZeroInt, dtInt, dtDateTime, dtState, dtBin, dtOct, dtDeg,
    dtDegMin, dtDegMinSec
};

class TNumLab : public QWidget {
    Q_OBJECT
public:
    using TBeforeDisplayEvent = std::function<void(TNumLab* Sender, QString& Text)>;

    // 160 x 28 pixels, dtFixP with 2 decimals, a lowered box from 35 to 115.
    explicit TNumLab(QWidget* parent = nullptr);

    double Value() const { return FValue; }
    void SetValue(double v);
    TDisplay DisplayType() const { return FDisplayType; }
    void SetDisplayType(TDisplay t);
    int Precision() const { return FPrecision; }  // negative values ignored, above 15 stored as 15
    void SetPrecision(int p);
    int LeftSpace() const { return FLeftSpace; }  // negative values ignored, at most the width
    void SetLeftSpace(int s);
    int LabelWidth() const { return FLabelWidth; }
    void SetLabelWidth(int w);
    QString LeftText() const { return FLeftText; }
    void SetLeftText(const QString& t);
    QString RightText() const { return FRightText; }
    void SetRightText(const QString& t);
    TAlignment LeftTextAlignment() const { return FLeftTextAlignment; }
    void SetLeftTextAlignment(TAlignment a);
    TAlignment RightTextAlignment() const { return FRightTextAlignment; }
    void SetRightTextAlignment(TAlignment a);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle s);
    // csBWG: frame lines grey 0x808080 and white; csSystem: clBtnShadow and clBtnHighlight.
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme s);
    TColor ColorLabBakG() const { return FColorLabBakG; }
    void SetColorLabBakG(TColor c);
    TColor ColorLabText() const { return FColorLabText; }
    void SetColorLabText(TColor c);
    TColor ColorOutBakG() const { return FColorOutBakG; }
    void SetColorOutBakG(TColor c);
    TColor ColorOutText() const { return FColorOutText; }
    void SetColorOutText(TColor c);
    bool Comma() const { return FComma; }  // ',' instead of '.' as the decimal point
    void SetComma(bool on);
    bool ForcePlusSign() const { return FForcePlusSign; }
    void SetForcePlusSign(bool on);
    bool Empty() const { return FEmpty; }  // the box without a value
    void SetEmpty(bool on);
    QString DTFormat() const { return FDTFormat; }
    void SetDTFormat(const QString& f);
    QString StateText() const { return FStateText; }
    void SetStateText(const QString& t);
    QString OverflowIndicator() const { return FOverflowIndicator; }
    void SetOverflowIndicator(const QString& t);
    // The area under the mouse: 0 left text, 1 value box, 2 right text.
    int MouseAreaCode() const { return FMouseAreaCode; }

    TBeforeDisplayEvent OnBeforeDisplay;

    // The value's text by format, decimal point and plus sign, after OnBeforeDisplay.
    QString DisplayText();
    // The text drawn in the box: DisplayText, or the OverflowIndicator when it is too wide.
    QString ShownText();

    // Copies the settings of `source` (not its events), then repaints.
    void Assign(const TNumLab& source);

    QImage PaintImage();
    int PaintRequests() const { return paintRequests_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Changed();
    bool FormatText(QString& text) const;  // false: no text for the value in this format
    bool TooWide(const QString& text) const;

    double FValue = 0.0;
    TDisplay FDisplayType = dtFixP;
    int FPrecision = 2;
    int FLeftSpace = 35;
    int FLabelWidth = 80;
    QString FLeftText, FRightText;
    TAlignment FLeftTextAlignment = taRightJustify;
    TAlignment FRightTextAlignment = taLeftJustify;
    TAlignment FAlignment = taCenter;
    TFrameStyle FFrameStyle = fsLowered;
    TColorScheme FColorScheme = csBWG;
    TColor FColorLabBakG = clBtnFace, FColorLabText = clBlack;
    TColor FColorOutBakG = clBtnFace, FColorOutText = clBlack;
    TColor FColBlackLine = 0, FColGrayLine = 0x808080, FColWhiteLine = 0xFFFFFF;
    bool FComma = false, FForcePlusSign = false, FEmpty = false;
    QString FDTFormat = QStringLiteral("mmm-dd, yyyy");
    QString FStateText = QStringLiteral("undefined");
    QString FOverflowIndicator = QStringLiteral("*********");
    int FMouseAreaCode = 0;
    int paintRequests_ = 0;
};
