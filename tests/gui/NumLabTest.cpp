// TNumLab: texts of every display type, the frame pixels of the box and the overflow rule.
#include "controls/NumLab.h"

#include <QColor>
#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

// Readable texts in failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const QString kStars = "*********";

TEST(NumLab, TextsByDisplayType)
{
    const struct { TDisplay type; int precision; double value; bool comma, plus; QString text; } cases[] = {
        {dtFixP, 2, 3.14159, false, false, "3.14"},
        {dtFixP, 2, 3.14159, true, false, "3,14"},
        {dtFixP, 2, 3.14159, false, true, "+3.14"},
        {dtFixP, 2, 0, false, true, "0.00"},            // 0 never gets a '+'
        {dtFixP, 0, -2.5, false, false, "-3"},          // half away from zero
        {dtFloat, 3, 1234.5, false, false, "1.23E3"},
        {dtFloat, 6, 0.5, true, false, "0,5"},
        {dtExp, 3, 314.159, false, false, "3.14E+002"},
        {dtHex, 4, 255, false, false, "00FF"},
        {dtHex, 4, 70000, false, false, "1170"},        // the last four digits of 11170
        {dtHex, 0, 255, false, false, ""},
        {dtHex, 8, -1, false, true, "FFFFFFFF"},        // two's complement, no '+'
        {dtHex, 12, 4294967295.0, false, false, "FFFFFFFF"},
        {dtHex, 4, 4294967296.0, false, false, kStars},
        {dtZeroInt, 5, 42, false, false, "00042"},
        {dtZeroInt, 5, -42, false, false, "-00042"},
        {dtZeroInt, 5, 3e9, false, false, kStars},
        {dtInt, 2, 2.5, false, false, "2"},             // halves to even
        {dtInt, 2, -1e15, false, false, "-1000000000000000"},
        {dtBin, 8, 5, false, false, "00000101"},
        {dtBin, 15, -1, false, false, QString(15, '1')},  // at most 15 digits (Precision)
        {dtOct, 4, 15, false, false, "0017"},
        {dtOct, 12, -1, false, false, "037777777777"},
        {dtDeg, 1, 12.25, false, false, "12.3\u00B0"},
        {dtDeg, 1, 12.25, true, false, "12,3\u00B0"},
        {dtDegMin, 1, 12.5, false, false, "12\u00B0 30.0'"},  // a blank after the degree sign
        {dtDegMin, 1, -0.5, false, false, "0\u00B0 30.0'"},   // the sign is lost, as designed
        {dtDegMin, 20, 1.25, false, false, "1\u00B0 15.00000000'"},  // decimals at most 8
        {dtDegMinSec, 1, 12.5125, false, false, "12\u00B0 30' 45.0\""},
        {dtDateTime, 2, 36526.75, false, true, "Jan-01, 2000"},
        {dtState, 2, 1, false, true, "undefined"},
    };
    for (const auto& c : cases) {
        TNumLab lab;
        lab.SetDisplayType(c.type);
        lab.SetPrecision(c.precision);
        lab.SetValue(c.value);
        lab.SetComma(c.comma);
        lab.SetForcePlusSign(c.plus);
        EXPECT_EQ(lab.DisplayText(), c.text) << c.type << " p=" << c.precision << " v=" << c.value;
    }
}

TEST(NumLab, ValuesWithoutATextShowTheOverflowIndicator)
{
    const struct { TDisplay type; double value; } cases[] = {
        {dtInt, kNan}, {dtInt, kInf}, {dtInt, 1e19}, {dtInt, -1e300},
        {dtDateTime, kNan}, {dtDateTime, -kInf}, {dtDateTime, 1e10}, {dtDateTime, -700000},
        {dtDeg, kNan}, {dtDegMin, kInf}, {dtDegMinSec, 1e20}, {dtDegMin, -1e19},
        {dtHex, kNan}, {dtBin, -kInf}, {dtOct, -3e9}, {dtZeroInt, kNan},
    };
    for (const auto& c : cases) {
        TNumLab lab;
        lab.SetDisplayType(c.type);
        lab.SetValue(c.value);
        EXPECT_EQ(lab.DisplayText(), kStars) << c.type << " v=" << c.value;
        lab.PaintImage();  // paints without failing
    }
    TNumLab plain;  // the other formats have texts for them
    plain.SetValue(kNan);
    EXPECT_EQ(plain.DisplayText(), "Nan");
    plain.SetDisplayType(dtFloat);
    plain.SetValue(-kInf);
    EXPECT_EQ(plain.DisplayText(), "-Inf");
}

TEST(NumLab, LoweredBoxPixels)
{
    TNumLab lab;  // 160 x 28
    const QImage im = lab.PaintImage();
    // Rectangle 35..116 x 0..26 in grey, black line at x = 36, white line at x = 117.
    EXPECT_EQ(QColor(im.pixel(35, 10)), QColor(128, 128, 128));
    EXPECT_EQ(QColor(im.pixel(36, 10)), QColor(Qt::black));
    EXPECT_EQ(QColor(im.pixel(117, 10)), QColor(Qt::white));
    EXPECT_EQ(QColor(im.pixel(60, 1)), QColor(Qt::black));
    EXPECT_EQ(QColor(im.pixel(60, 27)), QColor(Qt::white));
    lab.SetFrameStyle(fsRaised);
    const QImage raised = lab.PaintImage();
    EXPECT_EQ(QColor(raised.pixel(36, 10)), QColor(Qt::white));
    EXPECT_EQ(QColor(raised.pixel(117, 10)), QColor(Qt::black));
}

TEST(NumLab, TooWideTextsShowStarsExceptTheStateText)
{
    TNumLab lab;
    lab.SetLabelWidth(30);
    lab.SetValue(123456789.0);
    EXPECT_EQ(lab.DisplayText(), "123456789.00");
    EXPECT_EQ(lab.ShownText(), kStars);
    lab.SetDisplayType(dtState);
    lab.SetStateText("a very long state text");
    EXPECT_EQ(lab.ShownText(), "a very long state text");
    lab.SetDisplayType(dtDateTime);
    lab.SetValue(36526.75);
    lab.SetLabelWidth(400);
    EXPECT_EQ(lab.ShownText(), "Jan-01, 2000");
    lab.OnBeforeDisplay = [](TNumLab*, QString& text) { text = "<" + text + ">"; };
    EXPECT_EQ(lab.ShownText(), "<Jan-01, 2000>");
}

TEST(NumLab, SettersStoreLimitAndRepaintOnlyOnChange)
{
    TNumLab lab;
    const int paints = lab.PaintRequests();
    lab.SetValue(0);  // the value shown: no repaint
    lab.SetPrecision(2);
    EXPECT_EQ(lab.PaintRequests(), paints);
    // Precision 0..15 (below: ignored), LeftSpace 0..Width (160; below: ignored).
    const struct { bool precision; int in, kept; } cases[] = {
        {true, -1, 2}, {true, 0, 0}, {true, 15, 15}, {true, 16, 15},
        {false, -1, 35}, {false, 0, 0}, {false, 160, 160}, {false, 161, 160}};
    for (const auto& c : cases) {
        c.precision ? lab.SetPrecision(c.in) : lab.SetLeftSpace(c.in);
        EXPECT_EQ(c.precision ? lab.Precision() : lab.LeftSpace(), c.kept) << c.precision << " " << c.in;
    }
    EXPECT_EQ(lab.PaintRequests(), paints + 4);
}

TEST(NumLab, MouseAreaCodeByPosition)
{
    TNumLab lab;
    const struct { int x, code; } cases[] = {{10, 0}, {35, 0}, {36, 1}, {115, 1}, {116, 2}};
    for (const auto& c : cases) {
        QMouseEvent move(QEvent::MouseMove, QPointF(c.x, 10), QPointF(c.x, 10), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&lab, &move);
        EXPECT_EQ(lab.MouseAreaCode(), c.code) << c.x;
    }
}

}  // namespace
