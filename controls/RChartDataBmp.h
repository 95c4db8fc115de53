#pragma once
// TDataBmpPainter: one drawing of a chart's data area onto the data bitmap (ConstructDataBmp):
// the grid of the active layer, every item in list order, the 30 text labels, the frame.
// Private to the chart's implementation.
//
// Items are converted with the mapping of their own layer, limited to -30000..30000 pixels and
// shifted into the bitmap. Runs of line-to items become polylines of at most MaxPPa vertices.
// Pen, brush and font attributes are written to the canvas only when they change (the Last...
// cache). Items hidden by class or layer, and items with a coordinate that is not finite, are
// skipped without ending a polyline.
#include <QPoint>

#include <vector>

#include "controls/RChart.h"

class TDataBmpPainter {
public:
    using Canvas = oxw::platform::Canvas;

    TDataBmpPainter(TCustomRChart& chart, Canvas& cv, int PosX, int PosY, bool BlkWhite);
    void Run(int FirstItem);

private:
    // grid (RChartGrid.cpp)
    void ConstructGrid();
    double FirstGridLocation(const TScaleProps& axis, const TScale& scale, double g, double low) const;
    double NextGridLocation(double x, bool LogLin, double dx, int index, bool ynotx) const;
    void GridLine(int L, double x1, double y1, double x2, double y2);

    // items (RChartDataBmp.cpp)
    void DrawItem(const TrcChartItem& item);
    void DrawRectItem(const TrcChartItem& item, TColor col);
    void DrawBar3D(const TrcChartItem& item, TColor col);
    void DrawTextItem(const TrcChartItem& item, TColor col);
    void DrawRectFrame(const TrcChartItem& item);
    void DrawRelPix(const TrcChartItem& item, TColor col, bool line);
    void DrawArrow(const TrcChartItem& item, TColor col);
    void EnterPolyline(QPoint p);
    void FinishPolyLine();
    QPoint Pix(int layer, double x, double y) const;
    void PenUpdate(TColor col, TPenStyle style);
    void SetPenColor(TColor c);
    void SetBrushColor(TColor c);
    void SetPenStyle(TPenStyle s);
    void FillColors(TColor col, TColor fill, TColor& c1, TColor& c2) const;
    void SetAreaPen(const TrcChartItem& item, TColor c1, TColor c2);
    bool CornerRule(QPoint& p, QPoint& q, TColor c1);

    // text labels and frame (RChartTextLabels.cpp)
    void DrawTextLabels();
    void DrawTextLabel(const TTextLabel& label);
    void DrawFrame();

    TCustomRChart& C;
    Canvas* cv;
    int PosX, PosY;
    bool BlkWhite;
    std::vector<QPoint> FPoly;  // the polyline buffer (FNumPPa = its size)
    QPoint LastMoveTo;
    TColor LastPenCol = 0, LastBrushCol = 0, LastFontCol = 0;
    TPenStyle LastPenStyle = psSolid;
    int LastLWidth = 1;
};
