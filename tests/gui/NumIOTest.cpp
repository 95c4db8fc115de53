// TNumIO: texts typed into the edit key by key, the check's rejections and caret, the readers'
// 32-bit limit and the range ends.
#include "controls/NumIO.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>
#include <utility>

static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// Types `keys` at the caret, one key event per character.
void Type(TNumIO& edit, const QString& keys)
{
    for (QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&edit, &press);
    }
}

void Backspace(TNumIO& edit)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(&edit, &press);
}

// An input set up in the order of the form designs.
struct Input : TNumIO {
    Input(TInFormat format, double low, double high, const QString& text = QString())
    {
        SetBeep(false);
        SetDecPlaceSep(dsDot);
        SetInputFormat(format);
        SetRangeHigh(high);
        SetRangeLow(low);
        SetText(text);
        OnChange = [this](TNumIO*) { ++changes; };
    }
    int changes = 0;
};

// A refused key leaves the text and puts the caret back by one; OnChange fires per accepted key.
TEST(NumIO, TypedCharactersAreCheckedOneByOne)
{
    Input edit(itInt, 1, 1000);
    const struct { const char* keys; const char* text; int caret, changes; double value; } steps[] = {
        {"5", "5", 1, 1, 5}, {"a", "5", 1, 1, 5}, {"0", "50", 2, 2, 50}, {"00", "500", 3, 3, 500}};  // 5000 > 1000
    for (const auto& k : steps) {
        Type(edit, k.keys);
        EXPECT_EQ(std::tuple(edit.Text(), edit.cursorPosition(), edit.changes, edit.Value()),
                  std::tuple(QString(k.text), k.caret, k.changes, k.value)) << k.keys;
    }
}

TEST(NumIO, TextsByFormat)
{
    const struct { TInFormat format; double low, high; QString text; bool accepted; double value; } cases[] = {
        {itExp, -10, 10, "-", true, 0},          // half-typed numbers count as 0
        {itExp, -10, 10, ".", true, 0},
        {itExp, 1, 10, "-", false, 0},           // ... when 0 lies in the range
        {itExp, 0, 1e6, "1e", true, 1},
        {itExp, 0, 1e6, "1e-", true, 1},
        {itExp, 0, 1e6, "1e5", true, 100000},
        {itExp, 0, 10, "  2.5", true, 2.5},      // leading blanks dropped
        {itFloat, 0, 1e6, "1e5", false, 0},      // no exponent
        {itDynamic, 0, 1000, "$ff", true, 255},
        {itDynamic, 0, 1000, "%101", true, 5},
        {itDynamic, 0, 1000, "&17", true, 15},
        {itDynamic, 0, 1000, "12 3", false, 0},  // an inner blank
        {itDynamic, 0, 1000, "&18", false, 0},
        {itHex, -5, 5, "FFFFFFFF", true, -1},    // two's complement
        {itHex, -1e10, 1e10, "100000000", false, 0},  // more than 32 bits
        {itOct, -1e10, 1e10, "40000000000", false, 0},
        {itBin, -1e10, 1e10, "1" + QString(32, '0'), false, 0},
        {itInt, 1, 1000, "4294967301", false, 0},     // 2^32 + 5: never read as 5
        {itInt, -1e10, 1e10, "2147483648", false, 0},
        {itInt, -1e10, 1e10, "-2147483648", true, -2147483648.0},
        {itInt, 0, 10, "+7", true, 7},
        {itInt, 1, 1000, "1000", true, 1000},   // both range ends are taken
        {itInt, 1, 1000, "1001", false, 0},
        {itInt, 1, 1000, "1", true, 1},
        {itInt, 1, 1000, "0", false, 0},
    };
    for (const auto& c : cases) {
        Input edit(c.format, c.low, c.high);
        double v = -1;
        EXPECT_EQ(edit.ConvertNumString(c.text, v) && c.low <= v && v <= c.high, c.accepted) << c.text.toStdString();
        edit.SetText(c.text);
        EXPECT_EQ(edit.Text(), c.accepted ? c.text : QString()) << c.text.toStdString();
        EXPECT_EQ(edit.Value(), c.value) << c.text.toStdString();
        EXPECT_EQ(edit.changes, c.accepted ? 1 : 0) << c.text.toStdString();
    }
}

TEST(NumIO, ValueConvertsAsTheCheckDoes)
{
    Input dot(itExp, 0, 10, "2");
    Type(dot, ",");  // with dsDot a comma is no decimal point: refused
    EXPECT_EQ(std::pair(dot.Text(), dot.Value()), std::pair(QString("2"), 2.0));
    Input comma(itExp, 0, 10);
    comma.SetDecPlaceSep(dsComma);
    comma.SetText("2,5");
    EXPECT_EQ(std::pair(comma.Text(), comma.Value()), std::pair(QString("2,5"), 2.5));
    comma.SetDecPlaceSep(dsBoth);
    comma.SetText("2.25");
    EXPECT_EQ(comma.Value(), 2.25);
    Input big(itInt, 1, 1000, "5");
    big.SetText("4294967301");  // refused: the text before stays
    EXPECT_EQ(std::pair(big.Text(), big.Value()), std::pair(QString("5"), 5.0));
}

TEST(NumIO, FixedPointKeepsOnePointAndItsDecimals)
{
    Input edit(itFixPoint, -100, 100);
    edit.SetFixPointDecPlaces(2);
    edit.SetText("3.1");  // rewritten with two decimals
    EXPECT_EQ(edit.Text(), "3.10");
    edit.setCursorPosition(4);
    Type(edit, "7");      // a third decimal is cut off
    EXPECT_EQ(edit.Text(), "3.10");
    edit.setCursorPosition(2);
    Backspace(edit);      // deleting the point restores the text, caret before the point
    EXPECT_EQ(edit.Text(), "3.10");
    EXPECT_EQ(edit.cursorPosition(), 1);
    edit.setCursorPosition(4);
    Type(edit, ".");      // a second point: restored, caret after the point
    EXPECT_EQ(edit.Text(), "3.10");
    EXPECT_EQ(edit.cursorPosition(), 2);
    edit.setCursorPosition(0);
    Type(edit, "-");
    EXPECT_EQ(edit.Text(), "-3.10");
    EXPECT_DOUBLE_EQ(edit.Value(), -3.1);
    for (const auto& [in, kept] : {std::pair{0, 1}, {1, 1}, {8, 8}, {9, 8}}) {
        edit.SetFixPointDecPlaces(in);
        EXPECT_EQ(edit.FixPointDecPlaces(), kept) << in;
    }
}

TEST(NumIO, RangeEndsStayOrdered)
{
    TNumIO edit;
    auto range = [&] { return std::pair(edit.RangeLow(), edit.RangeHigh()); };
    edit.SetRangeLow(10);  // 10 is not below the high end 0: the range becomes 0..10
    EXPECT_EQ(range(), std::pair(0.0, 10.0));
    edit.SetRangeHigh(5);
    EXPECT_EQ(range(), std::pair(0.0, 5.0));
    edit.SetRangeHigh(20);
    edit.SetRangeLow(10);
    EXPECT_EQ(range(), std::pair(10.0, 20.0));
    edit.SetRangeHigh(5);  // RangeHigh := 5 while RangeLow is 10 gives 5..10
    EXPECT_EQ(range(), std::pair(5.0, 10.0));
}

}  // namespace
