#pragma once
// Canvas: drawing into a QImage with the pixel rules of the desktop the library was written
// for, so that computed pixel positions hold:
// - a line (MoveTo/LineTo, Polyline) covers its start pixel and leaves out its end pixel;
// - Rectangle, Ellipse, FillRect, Pie cover x1..x2-1 and y1..y2-1 of their bounding box (left
//   and top edges, not right and bottom); the pen outlines inside that box;
// - Polygon fills its interior and outlines every edge, vertices included;
// - Arc and Pie run counter-clockwise (on screen) from the radial through (x3, y3) to the radial
//   through (x4, y4);
// - TextOut puts the top-left corner of the text cell at (x, y), rotated counter-clockwise by
//   Font.Orientation tenths of a degree about that point; with a solid brush the text cell is
//   filled in the brush colour first, with a clear brush the text is drawn alone.
// No antialiasing. The pen mode applies to pen and brush: pmCopy paints, pmNot inverts the
// pixels under the figure, pmXor combines them with the colour by exclusive or.
// Coordinates of any size are accepted; what lies outside the image (or the clip rectangle) is
// not drawn and costs nothing.
//
// A printer's canvas draws onto a printer (or a PDF writer) in the device's own pixels instead:
// lines, figures and text go to the device through Qt's painter, the pen modes all paint as
// pmCopy, a zero-length line is a dot of the pen's width, and nothing can be read back (Pixel
// gives clBlack). IsPrinter and the device's resolution let drawing code size things for paper.
#include <QFont>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

#include "platform/Colors.h"

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TPenMode { pmCopy, pmNot, pmXor };
enum TBrushStyle { bsSolid, bsClear };

namespace oxw::platform {

// A pixel coordinate or length limited to +-2^24: beyond that nothing drawn on any image
// changes, and sums of a few such values still fit an int.
constexpr int kFarCoordinate = 1 << 24;
constexpr int FarClamp(long long v)
{
    return static_cast<int>(v < -kFarCoordinate ? -kFarCoordinate : (v > kFarCoordinate ? kFarCoordinate : v));
}

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

struct TCanvasFont {
    QFont Font;
    TColor Color = clBlack;
    int Orientation = 0;  // tenths of a degree, counter-clockwise
};

class Canvas {
public:
    // Draws into `image` (converted to 32-bit RGB if it is not), which must outlive the canvas.
    explicit Canvas(QImage& image);
    // Draws onto `printer` (a QPrinter or QPdfWriter), which must outlive the canvas; the canvas
    // is the printer's painter from construction to destruction.
    explicit Canvas(QPagedPaintDevice& printer);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    virtual ~Canvas();

    TPen Pen;
    TBrush Brush;
    TCanvasFont Font;

    int Width() const { return device_.width(); }
    int Height() const { return device_.height(); }

    // Whether this is a printer's canvas, and the device's resolution in pixels per inch.
    bool IsPrinter() const { return image_ == nullptr; }
    int PixelsPerInchX() const { return device_.logicalDpiX(); }
    int PixelsPerInchY() const { return device_.logicalDpiY(); }
    // Sets the font's size to `source`'s size in points (a size given in pixels counts at the
    // screen's resolution), as pixels at this canvas's vertical resolution: text keeps its size
    // in points on any device.
    void SetFontSizeFrom(const QFont& source);

    // Limits all drawing to the rectangle x1..x2-1, y1..y2-1; nothing: the whole image.
    void SetClipRect(std::optional<QRect> clip);

    QPoint PenPos() const { return penPos_; }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y);
    // Virtual so that a test can record the polylines a control draws.
    virtual void Polyline(const std::vector<QPoint>& points);
    void Polygon(const std::vector<QPoint>& points);
    void Rectangle(int x1, int y1, int x2, int y2);
    void FillRect(int x1, int y1, int x2, int y2);  // brush only, no outline
    void Ellipse(int x1, int y1, int x2, int y2);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

    TColor Pixel(int x, int y) const;  // clBlack outside the image and on a printer
    void SetPixel(int x, int y, TColor color);

    void TextOut(int x, int y, const QString& text);
    // TextOut clipped to the rectangle x1..x2-1, y1..y2-1.
    void TextRect(int x1, int y1, int x2, int y2, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // Bitmaps: drawn at their own size with the top-left corner at (x, y), or stretched over
    // x1..x2-1, y1..y2-1. DrawAnd and DrawOr combine their pixels with the image's (a mask and
    // the picture of a transparent image).
    void Draw(int x, int y, const QImage& picture);
    void StretchDraw(int x1, int y1, int x2, int y2, const QImage& picture);
    void DrawAnd(int x, int y, const QImage& picture);
    void DrawOr(int x, int y, const QImage& picture);

private:
    void Begin();  // the painter on the device, without antialiasing
    bool ThinSolidPen() const { return Pen.Style == psSolid && Pen.Width <= 1; }
    void Segment(QPoint from, QPoint to);  // one line without its end pixel, with the pen
    void Plot(int x, int y, QRgb rgb);
    void ApplyPen();   // the painter's pen and mode for the figures Qt draws
    void ApplyBrush();
    void ApplyMode();
    void Compose(QPainter::CompositionMode mode);  // a printer paints every mode as a copy
    QRect Visible() const;

    QImage* image_ = nullptr;  // none on a printer
    QPaintDevice& device_;
    QPainter painter_;
    QPoint penPos_;
    std::optional<QRect> clip_;
};

}  // namespace oxw::platform
