#pragma once
// Types of the 2-D chart (TRChart): the chart item record and its kinds, the enumerations of the
// chart's properties, the mouse's shift state, the chart's exception class and its limits.
#include <array>
#include <cstdint>

#include "numeric/VkrBase.h"
#include "numeric/VkrEnums.h"
#include "platform/Canvas.h"

// The exception class of the chart unit.
class EVKRRChartError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// Kinds of chart items (values 0..14). tkEverything and tkNotMoveTo are search filters only and
// never stand in a list; tkRectFrame, tkText, tkEllipse and the pixel-relative kinds and arrows
// are drawn when present, though no adder of the chart creates them.
enum TrcItem : std::uint8_t {
    tkNone, tkMarkAt, tkLine, tkLineto, tkRect, tkRectFrame, tk3DBar, tkText, tkMoveTo, tkEllipse,
    tkEverything, tkNotMoveTo, tkMoveRelPix, tkLineRelPix, tkArrow
};
inline constexpr int NumItemKinds = 15;

// One chart item, a plain record copied by value. Coordinates are world units of the item's
// layer; an adder writes only the fields of its kind (see TCustomRChart's adders).
struct TrcChartItem {
    double x = 0.0;   // first point
    double y = 0.0;
    double x2 = 0.0;  // second point, opposite corner or radii
    double y2 = 0.0;
    TColor Color = 0;         // pen colour
    TColor FillColor = 0;     // fill of rectangles and bars
    TColor ShadowColor = 0;   // bevel colours of tkRectFrame
    TColor HiLightColor = 0;
    TPenStyle PenStyle = psSolid;
    int Tag = 0;              // application data
    int LWid = 0;             // pen width, pixels
    std::uint8_t ItemClass = 0;
    TrcItem ItemKind = tkNone;
    int Layer = 0;            // 1..16
    bool Transp = false;      // rectangle outline only
    TFrameStyle FrameStyle = fsNone;
    std::array<char, 16> Text{};  // at most 15 characters and a terminating zero
    int SizeOrAngle = 0;      // tk3DBar: viewing angle 0..180 degrees; marks and texts: size
    int Depth = 0;            // tk3DBar: depth in pixels
    std::uint8_t mark = 0;    // tkMarkAt: shape code
};

// A rectangle in world units (zoom history: x low, y high, x high, y low).
struct TRectDouble {
    double Left = 0.0;
    double Top = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
};

enum GridStyleType {
    gsNone, gsPoints, gsVertLines, gsHorizLines, gsLines, gsVertDotLines, gsHorizDotLines, gsDotLines
};
enum TCaptionAnchorHoriz { cahControlLeft, cahChartLeft, cahChartCenter, cahChartRight, cahControlRight };
enum TCaptionAnchorVert { cavControlTop, cavChartTop, cavChartCenter, cavChartBottom, cavControlBottom };
enum TTextBkg { tbClear, tbSolid };
enum TrcLayout {
    rcl_X1Bottom_Y1Left, rcl_X1Bottom_Y2Left, rcl_X1Bottom_Y3Left, rcl_X1Bottom_Y4Left,
    rcl_X1Bottom_Y2Both, rcl_X2Bottom_Y2Left, rcl_X2Both_Y2Both
};
// Which part of the data area the background's area colour fills.
enum TBGAreaMode { bamNone, bamLeft, bamRight, bamTop, bamBottom, bamVStripe, bamHStripe, bamRect };
enum TScaleLocationHoriz { slTop, slBottom };
enum TScaleLocationVert { slLeft, slRight };

// Font styles of text items, a set of flags.
enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

// Mouse buttons and the shift state of mouse messages (a set of flags).
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = unsigned;

inline constexpr int MaxDataUsers = 4;   // charts that may show one chart's items
inline constexpr int MaxCrossH = 4;
inline constexpr int MaxTxtLbl = 30;
inline constexpr int MaxZoomStack = 16;
inline constexpr int MaxPPa = 200;        // vertices per polyline batch
inline constexpr int MaxGridLines = 1000; // grid lines per direction (grid points in all)
inline constexpr double SmallPosNum = 1e-100;  // smallest value a logarithmic axis accepts
// Item pixels are limited to this range before drawing.
inline constexpr int MinInt16 = -30000;
inline constexpr int MaxInt16 = 30000;

// Limits both pixel coordinates to -30000..30000.
inline void LimitToINteger(int& x, int& y)
{
    x = x < MinInt16 ? MinInt16 : (x > MaxInt16 ? MaxInt16 : x);
    y = y < MinInt16 ? MinInt16 : (y > MaxInt16 ? MaxInt16 : y);
}
