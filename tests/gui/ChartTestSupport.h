#pragma once
// Helpers of the chart tests: the standard 280 x 200 chart (margins 50/20/20/40, so the data
// area runs over pixels 50..260 and 160..20), pixel reads, and a canvas that records polylines.
#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPdfWriter>

#include <vector>

#include "controls/RChart.h"
#include "platform/Canvas.h"

namespace charttest {

// A 280 x 200 chart with x over xLo..xHi and y over yLo..yHi on layer 1.
inline void Standard(TCustomRChart& chart, double xLo = 0, double xHi = 10, double yLo = 0, double yHi = 100)
{
    chart.resize(280, 200);
    chart.SetRange(1, xLo, yLo, xHi, yHi);
}

inline TColor At(const QImage& image, int x, int y) { return FromQColor(QColor(image.pixel(x, y))); }

// A canvas that records every polyline before drawing it.
class RecordingCanvas : public oxw::platform::Canvas {
public:
    using Canvas::Canvas;
    void Polyline(const std::vector<QPoint>& points) override
    {
        Polylines.push_back(points);
        Canvas::Polyline(points);
    }
    std::vector<std::vector<QPoint>> Polylines;
};

// A printer: a PDF writer at the given resolution, writing into memory.
struct PdfPage {
    explicit PdfPage(int dpi) : writer(&buffer) { buffer.open(QIODevice::WriteOnly); writer.setResolution(dpi); }
    QBuffer buffer;
    QPdfWriter writer;
};

// Records the polylines of the chart's next data-area render.
struct PolylineRecorder {
    explicit PolylineRecorder(TCustomRChart& chart) : image(chart.width(), chart.height(), QImage::Format_RGB32), canvas(image)
    {
        chart.OnBeforeRenderData = [this](TCustomRChart*, oxw::platform::Canvas*& cv, int, int) { cv = &canvas; };
    }
    QImage image;
    RecordingCanvas canvas;
};

}  // namespace charttest
