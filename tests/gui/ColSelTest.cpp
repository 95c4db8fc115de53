// The colour table and the colour selector: the 47 entries by index and name, system entries
// through the application's palette, the selection rules and the picture of one list entry.
#include "controls/ColSel.h"
#include "controls/ColorTable.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPalette>

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(ColorTable, FortySevenNamedEntries)
{
    // Ordinary entries as red, green, blue; system entries by their colour index.
    struct Entry { int r, g, b; int system; const char* name; };
    constexpr int kNo = -1;
    const Entry table[NumPredefinedColors] = {
        {0, 0, 0, kNo, "clBlack"}, {128, 0, 0, kNo, "clMaroon"}, {0, 128, 0, kNo, "clGreen"},
        {128, 128, 0, kNo, "clOlive"}, {0, 0, 128, kNo, "clNavy"}, {128, 0, 128, kNo, "clPurple"},
        {0, 128, 128, kNo, "clTeal"}, {128, 128, 128, kNo, "clGray"}, {192, 192, 192, kNo, "clSilver"},
        {255, 0, 0, kNo, "clRed"}, {0, 255, 0, kNo, "clLime"}, {255, 255, 0, kNo, "clYellow"},
        {0, 0, 255, kNo, "clBlue"}, {255, 0, 255, kNo, "clFuchsia"}, {0, 255, 255, kNo, "clAqua"},
        {255, 255, 255, kNo, "clWhite"}, {192, 220, 192, kNo, "clMoneyGreen"}, {166, 202, 240, kNo, "clSkyBlue"},
        {255, 251, 240, kNo, "clCream"}, {160, 160, 164, kNo, "clMedGray"},
        {0, 0, 0, 10, "clActiveBorder"}, {0, 0, 0, 2, "clActiveCaption"}, {0, 0, 0, 12, "clAppWorkSpace"},
        {0, 0, 0, 1, "clBackground"}, {0, 0, 0, 15, "clBtnFace"}, {0, 0, 0, 20, "clBtnHighlight"},
        {0, 0, 0, 16, "clBtnShadow"}, {0, 0, 0, 18, "clBtnText"}, {0, 0, 0, 9, "clCaptionText"},
        {0, 0, 0, kNo, "clDefault"}, {0, 0, 0, 17, "clGrayText"}, {0, 0, 0, 13, "clHighlight"},
        {0, 0, 0, 14, "clHighlightText"}, {0, 0, 0, 11, "clInactiveBorder"}, {0, 0, 0, 3, "clInactiveCaption"},
        {0, 0, 0, 19, "clInactiveCaptionText"}, {0, 0, 0, 24, "clInfoBk"}, {0, 0, 0, 23, "clInfoText"},
        {0, 0, 0, 4, "clMenu"}, {0, 0, 0, 7, "clMenuText"}, {0, 0, 0, kNo, "clNone"},
        {0, 0, 0, 0, "clScrollBar"}, {0, 0, 0, 21, "cl3DDkShadow"}, {0, 0, 0, 22, "cl3DLight"},
        {0, 0, 0, 5, "clWindow"}, {0, 0, 0, 6, "clWindowFrame"}, {0, 0, 0, 8, "clWindowText"},
    };
    for (int i = 1; i <= NumPredefinedColors; ++i) {
        const Entry& e = table[i - 1];
        const TColor expected = std::string(e.name) == "clDefault" ? 0x20000000u
                              : std::string(e.name) == "clNone"    ? 0x1FFFFFFFu
                              : e.system >= 0 ? 0x80000000u + static_cast<TColor>(e.system)
                                              : static_cast<TColor>(e.r + 256 * e.g + 65536 * e.b);
        EXPECT_EQ(PredefinedColor(i), expected) << i;
        EXPECT_EQ(ColorToString(PredefinedColor(i)), e.name) << i;
    }
    EXPECT_EQ(PredefinedColor(0), clBlack);
    EXPECT_EQ(PredefinedColor(48), clBlack);
    EXPECT_EQ(ColorToString(RGB(1, 2, 3)), "$00030201");
    // System entries take their value from the palette of the running application.
    EXPECT_EQ(ToQColor(PredefinedColor(25)), QApplication::palette().color(QPalette::Active, QPalette::Button));
}

// Sets the application's button face colour for the life of the object.
class ButtonFace {
public:
    explicit ButtonFace(const QColor& c) : saved_(QApplication::palette())
    {
        QPalette p = saved_;
        p.setColor(QPalette::Button, c);
        QApplication::setPalette(p);
    }
    ~ButtonFace() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

TEST(ColSel, SelectionRules)
{
    TColSel sel;
    EXPECT_EQ(sel.count(), 20);
    EXPECT_EQ(sel.SelColorIx(), 1);
    EXPECT_EQ(sel.SelColor(), clBlack);
    EXPECT_EQ(sel.currentIndex(), 0);

    {
        const ButtonFace silverFace(QColor(192, 192, 192));
        sel.SetNumColors(47);
        sel.SetSelColor(clSilver);
        EXPECT_EQ(sel.SelColorIx(), 9);
        sel.SetSelColor(clBtnFace);  // the same RGB value: the first match wins
        EXPECT_EQ(sel.SelColorIx(), 9);
        EXPECT_EQ(sel.currentIndex(), 8);
    }

    sel.SetSelColor(RGB(1, 2, 3));  // not listed: the selected entry changes
    EXPECT_EQ(sel.SelColorIx(), 9);
    EXPECT_EQ(sel.SelColor(), RGB(1, 2, 3));
    EXPECT_EQ(sel.ColorNames(9), "$00030201");
    EXPECT_EQ(sel.itemText(8), "$00030201");
    EXPECT_EQ(sel.count(), 47);

    sel.SetNumColors(20);
    sel.SetSelColor(clWhite);
    EXPECT_EQ(sel.SelColorIx(), 16);
    sel.SetSelColor(clNone);  // not listed among 20, and not white: replaces entry 16
    EXPECT_EQ(sel.SelColorIx(), 16);
    EXPECT_EQ(sel.Colors(16), clNone);
    EXPECT_EQ(sel.ColorNames(16), "clNone");

    // 1..255 entries: the last taken and the first refused at each end.
    for (const auto& [n, kept] : {std::pair{0, 20}, {1, 1}, {256, 1}, {255, 255}}) {
        sel.SetNumColors(n);
        EXPECT_EQ(sel.NumColors(), kept) << n;
    }
    EXPECT_EQ(sel.count(), 255);
    int clicks = 0;
    sel.OnClick = [&](TColSel*) { ++clicks; };
    emit sel.activated(3);
    EXPECT_EQ(sel.SelColorIx(), 4);
    EXPECT_EQ(sel.SelColor(), clOlive);
    EXPECT_EQ(clicks, 1);
    // Entry 255, the last, takes an unlisted colour; indices 0 and 256 read black without a name.
    emit sel.activated(254);
    sel.SetSelColor(RGB(1, 2, 4));
    EXPECT_EQ(std::pair(sel.Colors(255), sel.ColorNames(255)), std::pair(RGB(1, 2, 4), QString("$00040201")));
    EXPECT_EQ(std::pair(sel.Colors(1), sel.ColorNames(1)), std::pair(clBlack, QString("clBlack")));
    for (int ix : {0, 256})
        EXPECT_EQ(std::pair(sel.Colors(ix), sel.ColorNames(ix)), std::pair(clBlack, QString())) << ix;
    sel.SetNumColors(5);
    EXPECT_EQ(sel.count(), 5);
    EXPECT_EQ(sel.SelColorIx(), 1);

    sel.SetColorBarWidth(-3);
    EXPECT_EQ(sel.ColorBarWidth(), 30);
}

TEST(ColSel, ListEntryPicture)
{
    // Entry 12 (blue) in 120 x 16: the bar covers x 3..32, y 2..13 with a black outline; the
    // name starts at x 36.
    TColSel sel;
    const QImage on = sel.ItemImage(12, QSize(120, 16));
    auto at = [](const QImage& im, int x, int y) { return FromQColor(QColor(im.pixel(x, y))); };
    const TColor window = FromQColor(ToQColor(clWindow));
    const struct { int x, y; TColor c; } pixels[] = {{31, 12, clBlue}, {3, 8, clBlack}, {32, 8, clBlack},
        {10, 2, clBlack}, {10, 13, clBlack}, {2, 8, window}, {33, 8, window}, {10, 14, window}};
    for (const auto& p : pixels)
        EXPECT_EQ(at(on, p.x, p.y), p.c) << p.x << "," << p.y;
    auto count = [&](const QImage& im, TColor c) {
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 36; x < 120; ++x)
                n += at(im, x, y) == c;
        return n;
    };
    EXPECT_GT(count(on, clBlack), 10);  // the name

    sel.SetEnabled(false);
    const QImage off = sel.ItemImage(12, QSize(120, 16));
    EXPECT_EQ(at(off, 10, 8), clSilver);
    EXPECT_EQ(at(off, 3, 8), clGray);
    EXPECT_EQ(at(off, 1, 1), clSilver);
    EXPECT_GT(count(off, clGray), 10);
}

// An editable colour's mark in a 120 x 16 entry, through (5, 4), (5, 11), (8, 11), (11, 8), (11, 7), (8, 4): white up to
// brightness sqrt(R² + B² + 2G²) / 2 = 180, black above; only when enabled with a bar of 12 pixels or more.
TEST(ColSel, EditableMark)
{
    const struct { TColor color; int barWidth; bool editable, enabled; TColor mark; } cases[] = {
        {RGB(180, 180, 180), 30, true, true, clWhite}, {RGB(181, 181, 181), 12, true, true, clBlack},
        {clYellow, 11, true, true, clYellow}, {clYellow, 30, false, true, clYellow}, {clYellow, 30, true, false, clSilver}};
    for (const auto& c : cases) {
        TColSel sel;
        sel.SetSelColor(c.color);  // its own entry, or entry 1 takes it
        sel.SetColorBarWidth(c.barWidth);
        sel.SetIsUserEditable(sel.SelColorIx(), c.editable);
        sel.SetEnabled(c.enabled);
        const QImage im = sel.ItemImage(sel.SelColorIx() - 1, QSize(120, 16));
        for (const auto& [x, y] : {std::pair{5, 4}, {5, 11}, {7, 11}, {9, 10}, {11, 8}, {11, 7}, {10, 6}, {8, 4}, {8, 8}, {12, 8}})
            EXPECT_EQ(FromQColor(QColor(im.pixel(x, y))), (x == 8 && y == 8) || x == 12 ? (c.enabled ? c.color : clSilver) : c.mark)
                << c.color << " bar " << c.barWidth << " at " << x << "," << y;
    }
}

// Dropping the list down with the mouse over the colour bar offers the colour dialog for an
// editable selected colour; the colour chosen replaces the entry's colour and name.
TEST(ColSel, DropDownOffersTheColourDialog)
{
    oxw::platform::ScriptedDialogs dialogs;
    TColSel sel;
    sel.SetDialogs(&dialogs);
    sel.SetSelColor(clRed);  // entry 10
    sel.SetIsUserEditable(10, true);
    dialogs.ColorAnswers = {std::nullopt, QColor(1, 2, 3)};
    // Beyond the bar: no dialog; cancelled: unchanged; answered; not editable: no dialog.
    for (int x : {30, 5, 29, -5}) {
        if (x < 0) sel.SetSelColor(clBlue);
        QMouseEvent move(QEvent::MouseMove, QPointF(std::abs(x), 10), QPointF(std::abs(x), 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&sel, &move);
        sel.showPopup();
        sel.hidePopup();
        EXPECT_TRUE(x != 5 || (sel.SelColor() == clRed && sel.itemText(9) == "clRed")) << "cancelled";
    }
    EXPECT_EQ(dialogs.ColorRequests, QList<QColor>({QColor(255, 0, 0), QColor(255, 0, 0)}));
    EXPECT_EQ(std::tuple(sel.Colors(10), sel.ColorNames(10), sel.itemText(9)), std::tuple(RGB(1, 2, 3), QString("$00030201"), QString("$00030201")));
}

}  // namespace
