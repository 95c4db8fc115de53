#pragma once
// TColSel: a drop-down list of colours. Each entry shows a colour bar and the colour's name;
// entry k (0-based) always shows colour k + 1 of the selector's own table of 255 colours, whose
// entries 1..47 start as the library's colour table (ColorTable.h) and 48..255 as black.
// NumColors of them are listed (20 after creation, colour 1 selected).
#include <QComboBox>
#include <QImage>
#include <QString>

#include <array>
#include <functional>

#include "platform/Colors.h"

namespace oxw::platform {
class Canvas;
class Dialogs;
}

class TColSel : public QComboBox {
    Q_OBJECT
public:
    static constexpr int MaxColors = 255;

    explicit TColSel(QWidget* parent = nullptr);

    // The selected colour. Setting one selects the first listed entry of the same RGB value
    // (system colours by their current value, so clSilver finds entry 9 before clBtnFace);
    // a colour not listed replaces the selected entry's colour and name instead.
    TColor SelColor() const { return FColors[static_cast<std::size_t>(FSelColorIx)]; }
    void SetSelColor(TColor c);
    // 1-based index of the selected colour.
    int SelColorIx() const { return FSelColorIx; }

    // 1..255; other values are ignored. Reselects colour 1 and reloads the list.
    int NumColors() const { return FNumColors; }
    void SetNumColors(int n);
    // Width of the colour bar in pixels; negative values are ignored.
    int ColorBarWidth() const { return FColorBarWidth; }
    void SetColorBarWidth(int w);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool on);

    // Colour ix (1..255) of the table and its name; clBlack and "" outside.
    TColor Colors(int ix) const;
    QString ColorNames(int ix) const;
    // 1 while the mouse is over the colour bar, else 0.
    int MouseAreaCode() const { return FMouseAreaCode; }
    // Whether the user may change colour ix (1..255) in the colour dialog: dropping the list
    // down with the mouse over the colour bar opens it when the selected colour is editable.
    // All colours start as not editable; false outside 1..255, where setting is ignored.
    bool IsUserEditable(int ix) const;
    void SetIsUserEditable(int ix, bool on);
    // Where the colour dialog goes; nullptr: the platform's own.
    void SetDialogs(oxw::platform::Dialogs* dialogs) { FDialogs = dialogs; }

    // Draws list entry Index into Rect (right and bottom edges outside): the colour bar from
    // (Left + 3, Top + 2) to (Left + 3 + ColorBarWidth, Bottom - 2) with a black outline, then
    // the name 3 pixels right of the bar, vertically centred, black on the control's colour.
    // An editable colour on an enabled control with a bar of at least 12 pixels carries a
    // closed mark in its bar through (Left + 5, Top + 4), (Left + 5, Bottom - 5),
    // (Left + 8, Bottom - 5), (Left + 11, Bottom - 8), (Left + 11, Top + 7), (Left + 8, Top + 4):
    // white on a colour of brightness sqrt(R² + B² + 2G²) / 2 up to 180, black on a brighter one.
    // Disabled: the bar's surroundings silver, the bar a grey outline, the name grey on silver.
    // The canvas's brush and font colours are restored.
    void DrawItem(oxw::platform::Canvas& cv, int Index, const QRect& Rect) const;
    // The picture of list entry Index in a box of the given size, on the control's colour.
    QImage ItemImage(int Index, const QSize& size) const;

    // Fired when the user picks an entry, after it has become the selected one.
    std::function<void(TColSel* Sender)> OnClick;

    // Drops the list down, first offering the colour dialog for an editable selected colour
    // when the mouse is over the colour bar: a chosen colour replaces the selected entry's
    // colour and name.
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void LoadColorsIntoComboList();
    void Click(int entry);
    void DropDown();
    void DrawEditableMark(oxw::platform::Canvas& cv, int i, const QRect& Rect) const;

    int FColorBarWidth = 30;
    int FSelColorIx = 1;
    int FNumColors = 20;
    bool FEnabled = true;
    int FMouseAreaCode = 0;
    std::array<TColor, MaxColors + 1> FColors{};  // 1-based
    std::array<QString, MaxColors + 1> FColorNames;
    std::array<bool, MaxColors + 1> FIsUserEditable{};
    oxw::platform::Dialogs* FDialogs = nullptr;
};
