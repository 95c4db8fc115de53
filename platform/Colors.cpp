// Colour conversion of the library colours; see Colors.h.
#include "platform/Colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace {

struct SystemColor {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    QRgb fallback;  // the classic desktop colour when there is no application palette
};

// System colour index -> palette entry.
constexpr std::array<SystemColor, 25> kSystemColors = {{
    {QPalette::Active, QPalette::Midlight, 0xFFC8C8C8},        // clScrollBar
    {QPalette::Active, QPalette::Window, 0xFF000000},          // clBackground
    {QPalette::Active, QPalette::Highlight, 0xFF99B4D1},       // clActiveCaption
    {QPalette::Inactive, QPalette::Mid, 0xFFBFCDDB},           // clInactiveCaption
    {QPalette::Active, QPalette::Window, 0xFFF0F0F0},          // clMenu
    {QPalette::Active, QPalette::Base, 0xFFFFFFFF},            // clWindow
    {QPalette::Active, QPalette::WindowText, 0xFF646464},      // clWindowFrame
    {QPalette::Active, QPalette::WindowText, 0xFF000000},      // clMenuText
    {QPalette::Active, QPalette::Text, 0xFF000000},            // clWindowText
    {QPalette::Active, QPalette::HighlightedText, 0xFF000000}, // clCaptionText
    {QPalette::Active, QPalette::Window, 0xFFB4B4B4},          // clActiveBorder
    {QPalette::Inactive, QPalette::Window, 0xFFF4F7FC},        // clInactiveBorder
    {QPalette::Active, QPalette::Mid, 0xFFABABAB},             // clAppWorkSpace
    {QPalette::Active, QPalette::Highlight, 0xFF0078D7},       // clHighlight
    {QPalette::Active, QPalette::HighlightedText, 0xFFFFFFFF}, // clHighlightText
    {QPalette::Active, QPalette::Button, 0xFFF0F0F0},          // clBtnFace
    {QPalette::Active, QPalette::Dark, 0xFFA0A0A0},            // clBtnShadow
    {QPalette::Disabled, QPalette::Text, 0xFF6D6D6D},          // clGrayText
    {QPalette::Active, QPalette::ButtonText, 0xFF000000},      // clBtnText
    {QPalette::Inactive, QPalette::WindowText, 0xFF000000},    // clInactiveCaptionText
    {QPalette::Active, QPalette::Light, 0xFFFFFFFF},           // clBtnHighlight
    {QPalette::Active, QPalette::Shadow, 0xFF696969},          // cl3DDkShadow
    {QPalette::Active, QPalette::Midlight, 0xFFE3E3E3},        // cl3DLight
    {QPalette::Active, QPalette::ToolTipText, 0xFF000000},     // clInfoText
    {QPalette::Active, QPalette::ToolTipBase, 0xFFFFFFE1},     // clInfoBk
}};

}  // namespace

QRgb ColorToRGB(TColor color)
{
    if ((color & clSystemColor) == 0)
        return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
    const std::size_t index = color & 0xFF;
    if (index >= kSystemColors.size())
        return qRgb(0, 0, 0);
    const SystemColor& s = kSystemColors[index];
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return s.fallback;
    return QGuiApplication::palette().color(s.group, s.role).rgb() | 0xFF000000u;
}

QColor ToQColor(TColor color) { return QColor::fromRgb(ColorToRGB(color)); }

TColor FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }
