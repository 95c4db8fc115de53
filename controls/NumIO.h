#pragma once
// TNumIO: a one-line edit that holds only numbers of one kind within a range. Every change of
// the text is checked at once: a text that is not a valid number in RangeLow..RangeHigh is
// replaced by the last valid text, the caret goes back one place (undoing the typed
// character), and with Beep a system beep sounds. OnChange is raised for accepted texts only.
#include <QLineEdit>
#include <QString>

#include <functional>

// Kinds of number accepted:
//   itExp       decimal number with optional exponent      itFloat  decimal number, no exponent
//   itFixPoint  decimal number with one point and at most FixPointDecPlaces decimals, written
//               with exactly that many
//   itInt       optional sign and decimal digits, -2147483648..2147483647
//   itHex       optional '$' and hexadecimal digits        itOct    optional '&' and octal digits
//   itBin       optional '%' and binary digits (the three: 32-bit two's complement)
//   itDynamic   by the first character: '$' hexadecimal, '%' binary, '&' octal, else itExp
enum TInFormat { itExp, itFloat, itFixPoint, itInt, itHex, itOct, itBin, itDynamic };
// Decimal point: '.', ',', either, or the system's (',' when the system uses ',', else '.').
enum TDecPSep { dsDot, dsComma, dsBoth, dsSystem };

class TNumIO : public QLineEdit {
    Q_OBJECT
public:
    explicit TNumIO(QWidget* parent = nullptr);

    // Setting a new format or point, or either range end, forgets the last valid text and
    // checks the text.
    TInFormat InputFormat() const { return FInputFormat; }
    void SetInputFormat(TInFormat f);
    TDecPSep DecPlaceSep() const { return FDecPlaceSep; }
    void SetDecPlaceSep(TDecPSep s);
    // Decimals of itFixPoint, limited to 1..8; no check.
    int FixPointDecPlaces() const { return FFixPointDecPlaces; }
    void SetFixPointDecPlaces(int d);
    // The range stays ordered: a low end at or above the high end takes the high end's place
    // and the old high end becomes the low end (and the mirror for RangeHigh).
    double RangeLow() const { return FRangeLow; }
    void SetRangeLow(double v);
    double RangeHigh() const { return FRangeHigh; }
    void SetRangeHigh(double v);
    bool Beep() const { return FBeep; }
    void SetBeep(bool on) { FBeep = on; }

    // The number in the text, converted as the check converts it; 0 when it does not convert.
    double Value() const;
    QString Text() const { return text(); }
    void SetText(const QString& t) { setText(t); }

    // Converts a text as the check does: leading blanks are dropped, an inner blank rejects it,
    // an empty text is 0; the whole text must be read. itExp accepts a half-typed exponent
    // ("1e", "1e-"). Integer kinds reject values beyond 32 bits.
    bool ConvertNumString(const QString& Instring, double& DReslt) const;

    // Copies the format, Beep, the range and the decimal point of `source`.
    void Assign(const TNumIO& source);

    std::function<void(TNumIO* Sender)> OnChange;

private:
    void Change();
    bool CheckFixPoint(QString& text, int caret);
    void Reject(int caret);
    void Recheck();
    int DecPChar() const;

    TInFormat FInputFormat = itDynamic;
    TDecPSep FDecPlaceSep = dsDot;
    int FFixPointDecPlaces = 2;
    double FRangeLow = 0.0;
    double FRangeHigh = 0.0;
    bool FBeep = false;
    QString lastValid_;
    bool checking_ = false;
};
