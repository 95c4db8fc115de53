#pragma once
// Drawing primitives of the component library on a Canvas: a rectangle of four lines, the
// shaded frames of the controls and the data-point marks of the charts. All follow the canvas's
// pixel rules (a line leaves out its end pixel; a box covers its left and top edges only).
#include <cstdint>

#include "numeric/VkrEnums.h"
#include "platform/Colors.h"

namespace oxw::platform {
class Canvas;
}

// With the current pen: (Left, Top) -> (Left, Bottom) -> (Right, Bottom) -> (Right, Top) ->
// (Left, Top), so every pixel of the border Left..Right x Top..Bottom.
void DrawRectangle(oxw::platform::Canvas& cv, int Left, int Top, int Right, int Bottom);

// A frame round Left..Right x Top..Bottom: fsNone nothing; fsSimple DrawRectangle in SimpleFCol;
// the four 3-D styles two one-pixel rings, each with a top-left and a bottom-right colour:
//   fsLowered  outer Gray / White,  inner Black / Silver
//   fsRaised   outer White / Black, inner Silver / Gray
//   fsEmbossed outer White / Gray,  inner Gray / White
//   fsEngraved outer Gray / White,  inner White / Gray
// The outer ring covers the border; the inner one lies one pixel inside it. The pen keeps the
// last colour used.
void DrawFrame(oxw::platform::Canvas& cv, TFrameStyle fs, int Left, int Top, int Right, int Bottom,
               TColor White, TColor Silver, TColor Gray, TColor Black, TColor SimpleFCol);

// A data-point mark centred on the pixel (x, y). Marks 0..47 are shapes in the pen colour:
//   0 the pixel itself;  1-3 upright and 4-6 diagonal crosses of 5, 7, 9 pixels;  7-9 filled and
//   10-12 hollow squares of 3, 5, 7;  13-15 filled diamonds;  16, 17 hollow circles;  18 a 7 x 7
//   checkerboard;  19 a hollow diamond;  20, 21 carets;  22, 23 Vs;  24, 26, 28 filled and 27
//   hollow discs;  25 a thick diagonal cross;  29-32 downward half-diamonds (filled, hollow);
//   33-36 triangles down and up (hollow, filled);  37 an inverted T;  38 an I-beam;  39 a circle
//   with a cross;  40-47 left and right triangles (hollow, filled).
// Filled shapes are filled in the pen colour (the brush colour is restored afterwards); hollow
// ones leave the brush solid. The pixel patterns (1-6, 18, 25) are drawn with the pen on a
// printer's canvas: each cross as two lines reaching 2, 3 or 4 pixels out from the centre, the
// checkerboard as 25 zero-length lines (dots), the thick cross as six lines. Marks 48..255 are
// the character of that code in the canvas font, its text cell centred on (x, y).
void DrawMarkOnCanvas(oxw::platform::Canvas& canv, std::uint8_t Mark, int x, int y);
