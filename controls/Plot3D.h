#pragma once
// TPlot3D: a surface z = f(column, row), held in the grid matrix GridMat, shown as a mesh of
// coloured quadrilateral cells in parallel projection inside an optional bounding box with three
// labelled axes. The user turns, zooms and shifts the view with the mouse; the control reports
// which cell lies under the pointer.
//
// Geometry. The box spans -150..+150 box units on each axis. Grid column i of NC lies at box
// x = (i - NC/2 - 0.5) * 300/(NC - 1) (column 1 at -150, column NC at +150), rows likewise in y; a
// value v at box z = CalibZk * v + CalibZd, which maps RangeZLow to -150 and RangeZHigh to +150
// (values outside the z range are drawn outside the box). The x and y ranges only label the axes.
// With a = ViewAngleX and c = ViewAngleZ (degrees) the rotation matrix is
//   R11 = cos c, R12 = -sin c, R13 = 0; R21 = cos a sin c, R22 = cos c cos a, R23 = -sin a;
//   R31 = sin a sin c, R32 = sin a cos c, R33 = cos a   (elements below 1e-6 in size are 0),
// and a box point (px, py, pz) lands on the pixel
//   x = Round((sx px R11 + sy py R12 + sz pz R13) m + CentX), y = Round((sx px R21 + ...) m + CentY)
// with the stretch factors ScaleFactX/Y/Z (sx, sy, sz) and the magnification m, rounding halves
// to even; its depth R31 px + R32 py + R33 pz grows towards the viewer. Cells are painted from
// far to near, so the nearest one painted last wins the hit test.
//
// Every setter paints at once (unless SuppressPaint is set or the control is hidden). Values
// that are not finite are ignored by every setter of a real number; cells with a corner that is
// not finite (or that projects beyond the pixel range) are neither painted nor hit.
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

#include "numeric/VkrEnums.h"
#include "numeric/VkrMatrix.h"
#include "platform/Colors.h"

namespace oxw::platform {
class Canvas;
}

enum TColorCodingMode { ccmTwoColors, ccmThreeColors };
enum TP3ScaleKind { p3skX, p3skY, p3skZ };
// The four screen corners of a cell.
using TQuad = std::array<QPoint, 4>;

// The label of tick value t on an axis over low..high with m decimals (strff(t, 1, m), at most 14
// characters); a value within 1e-14 of the span from 0 is written as 0, on a span above 100000
// as "0" (m = 0) or "0.0".
QString P3AxisLabel(double t, double low, double high, int m);

class TPlot3D : public QWidget {
    Q_OBJECT
public:
    // The mouse buttons and keys held during a mouse event.
    struct TShift {
        Qt::MouseButtons Buttons;
        Qt::KeyboardModifiers Keys;
    };
    using TMouseActionEvent = std::function<void(TPlot3D* Sender, int& CenterX, int& CenterY, double& RotXAngle,
                                                 double& RotZAngle, double& Magnification, TShift Shift)>;
    using TMouseMoveOverPlotEvent =
        std::function<void(TPlot3D* Sender, bool OverPlot, TShift Shift, int MouseCellX, int MouseCellY)>;
    using TBeforeRenderPolygonEvent = std::function<void(TPlot3D* Sender, oxw::platform::Canvas& Canvas, bool& Handled,
                                                         int CellX, int CellY, const TQuad& Quad, TColor& Color)>;
    using TBeforeDrawScaleLabelEvent = std::function<void(TPlot3D* Sender, oxw::platform::Canvas& Canvas,
                                                          TP3ScaleKind ScaleKind, QString& Text, int X, int Y)>;
    using TRenderEvent = std::function<void(TPlot3D* Sender, oxw::platform::Canvas& Canvas)>;

    static constexpr double MaxMagnify = 100.0;
    static constexpr double MinMagnify = 0.001;
    static constexpr double P3BoxSize = 300.0;
    static constexpr int defWidth = 650;
    static constexpr int defHeight = 500;

    // 650 x 500, a 1 x 1 grid of 0.0, angles X 60 and Z 15, ranges -1..1, box with faces.
    explicit TPlot3D(QWidget* parent = nullptr);
    ~TPlot3D() override;

    // The surface: GridMat.GetVal(col, row), col 1..NrOfColumns along x, row 1..NrOfRows along y.
    // Every change of it updates the value range and the projection maps, without painting:
    // fill it with SuppressPaint set and clear that afterwards.
    TMatrix GridMat;
    // Per grid point, from the last painting: screen x, screen y and painting rank.
    TIntMatrix ProjMapX, ProjMapY, ProjMapZ;

    // ---- view ----
    double ViewAngleX() const { return FViewAngle[0]; }
    double ViewAngleZ() const { return FViewAngle[2]; }
    // A changed value is wrapped into 0..360 (360 -> 0, -30 -> 330).
    void SetViewAngleX(double v);
    void SetViewAngleZ(double v);
    double Magnification() const { return FMagnify; }
    void SetMagnification(double m);  // limited to 0.001..100
    double ScaleFactX() const { return FSclXIntern; }
    double ScaleFactY() const { return FSclYIntern; }
    double ScaleFactZ() const { return FSclZIntern; }
    void SetScaleFactX(double f);
    void SetScaleFactY(double f);
    void SetScaleFactZ(double f);
    int CentX() const { return FCentX; }
    int CentY() const { return FCentY; }
    // A changed value is limited to -Width..2 Width (-Height..2 Height).
    void SetCentX(int x);
    void SetCentY(int y);
    // Centre, stretch factors 1, angles X 66 and Z 135, magnification 1.
    void Reset();
    // The rotation matrix element (i, k), 1-based.
    double RotMat(int i, int k) const { return FRotMat[i - 1][k - 1]; }

    // ---- ranges ----
    double RangeXLow() const { return FRangeLow[0]; }
    double RangeXHigh() const { return FRangeHigh[0]; }
    double RangeYLow() const { return FRangeLow[1]; }
    double RangeYHigh() const { return FRangeHigh[1]; }
    double RangeZLow() const { return FRangeLow[2]; }
    double RangeZHigh() const { return FRangeHigh[2]; }
    // A low end equal to the high one is stored as value - 1, a high end equal to the low one as
    // value + 1; other values are stored as they are (also low above high).
    void SetRangeXLow(double v) { SetRangeLow(0, v); }
    void SetRangeXHigh(double v) { SetRangeHigh(0, v); }
    void SetRangeYLow(double v) { SetRangeLow(1, v); }
    void SetRangeYHigh(double v) { SetRangeHigh(1, v); }
    void SetRangeZLow(double v) { SetRangeLow(2, v); }
    void SetRangeZHigh(double v) { SetRangeHigh(2, v); }
    // All six at once; equal ends of an axis become value - 0.5 .. value + 0.5.
    void SetRange(double xLow, double xHigh, double yLow, double yHigh, double zLow, double zHigh);
    double CalibZk() const { return FCalibZk; }
    double CalibZd() const { return FCalibZd; }
    // The smallest and largest value of GridMat.
    double MinZ() const { return FMinZ; }
    double MaxZ() const { return FMaxZ; }

    // ---- colours ----
    double ColorScaleLow() const { return FColorScaleLow; }
    double ColorScaleHigh() const { return FColorScaleHigh; }
    // Taken only when strictly below ColorScaleHigh (above ColorScaleLow).
    void SetColorScaleLow(double v);
    void SetColorScaleHigh(double v);
    TColorCodingMode ColorCodingMode() const { return FColorCodingMode; }
    void SetColorCodingMode(TColorCodingMode m);
    TColor ColorHigh() const { return FColorFillHigh; }
    TColor ColorMid() const { return FColorFillMid; }
    TColor ColorLow() const { return FColorFillLow; }
    void SetColorHigh(TColor c);
    void SetColorMid(TColor c);
    void SetColorLow(TColor c);
    // Colour a cell by the mean of its corners instead of their maximum.
    bool ColorCodeAvg() const { return FColorCodeAvg; }
    void SetColorCodeAvg(bool on);
    // The colour of value v: v limited to ColorScaleLow..High, then two colours (Low to High) or
    // three (Low to Mid in the lower half, Mid to High in the upper), per channel Round(f (c2 -
    // c1) + c1). A value that is not finite gets ColorLow.
    TColor CalcColorCoding(double v) const;
    bool MeshVisible() const { return FMeshVisible; }
    void SetMeshVisible(bool on);
    TColor ColorMesh() const { return FColorMesh; }
    void SetColorMesh(TColor c);
    TColor ColorBakGnd() const { return FColorBakGnd; }
    void SetColorBakGnd(TColor c);
    TColor ColorFrame() const { return FFrameCol; }
    void SetColorFrame(TColor c);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle s);
    TBoundingBox BoundBoxStyle() const { return FBoundBox; }
    void SetBoundBoxStyle(TBoundingBox b);
    TColor ColorCubeFrame() const { return FColorCubeFrame; }
    TColor ColorCubeHidLin() const { return FColorCubeHidLin; }
    TColor ColorCubeFaceHigh() const { return FColorCubeFaceHi; }
    TColor ColorCubeFaceLow() const { return FColorCubeFaceLo; }
    void SetColorCubeFrame(TColor c);
    void SetColorCubeHidLin(TColor c);
    void SetColorCubeFaceHigh(TColor c);
    void SetColorCubeFaceLow(TColor c);
    // The line colours of the colour scheme (not used by the painting).
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme s);

    // ---- axes ----
    TColor ColorXCoords() const { return FAxisColor[0]; }
    TColor ColorYCoords() const { return FAxisColor[1]; }
    TColor ColorZCoords() const { return FAxisColor[2]; }
    void SetColorXCoords(TColor c) { SetAxisColor(0, c); }
    void SetColorYCoords(TColor c) { SetAxisColor(1, c); }
    void SetColorZCoords(TColor c) { SetAxisColor(2, c); }
    bool VisibleXCoords() const { return FAxisVisible[0]; }
    bool VisibleYCoords() const { return FAxisVisible[1]; }
    bool VisibleZCoords() const { return FAxisVisible[2]; }
    void SetVisibleXCoords(bool on) { SetAxisVisible(0, on); }
    void SetVisibleYCoords(bool on) { SetAxisVisible(1, on); }
    void SetVisibleZCoords(bool on) { SetAxisVisible(2, on); }
    // Label decimals, -2 (automatic) .. 12.
    int DecPlaceX() const { return FDecPlace[0]; }
    int DecPlaceY() const { return FDecPlace[1]; }
    int DecPlaceZ() const { return FDecPlace[2]; }
    void SetDecPlaceX(int d) { SetDecPlace(0, d); }
    void SetDecPlaceY(int d) { SetDecPlace(1, d); }
    void SetDecPlaceZ(int d) { SetDecPlace(2, d); }
    // Minimum tick counts, 2..20.
    int MinTickX() const { return FNTicks[0]; }
    int MinTickY() const { return FNTicks[1]; }
    int MinTickZ() const { return FNTicks[2]; }
    void SetMinTickX(int n) { SetMinTick(0, n); }
    void SetMinTickY(int n) { SetMinTick(1, n); }
    void SetMinTickZ(int n) { SetMinTick(2, n); }

    // ---- mouse and painting ----
    TMouseActMode MouseAction() const { return FMouseAction; }
    void SetMouseAction(TMouseActMode m) { FMouseAction = m; }
    bool SuppressPaint() const { return FSuppressPaint; }
    void SetSuppressPaint(bool on);

    // Builds the picture (filling the projection maps and firing the painting events) and
    // returns it; works also while hidden or suppressed.
    QImage PaintImage();
    // Pictures built for the screen since creation.
    int PaintCount() const { return paintCount_; }

    TMouseActionEvent OnMouseAction;
    TMouseMoveOverPlotEvent OnMouseMoveOverPlot;
    TBeforeRenderPolygonEvent OnBeforeRenderPolygon;
    TBeforeDrawScaleLabelEvent OnBeforeDrawScaleLabel;
    TRenderEvent OnDataRendered;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    struct P3 {
        double x, y, z;
    };

    void Paint();
    void GridMatChanged();
    void CalcRotMatrix();
    void AdjustScaling();
    void SetCubeCorners();
    void SetRangeLow(int axis, double v);
    void SetRangeHigh(int axis, double v);
    void SetAxisColor(int axis, TColor c);
    void SetAxisVisible(int axis, bool on);
    void SetDecPlace(int axis, int d);
    void SetMinTick(int axis, int n);
    void TakeAnchors(QPoint at);
    bool MouseEffect(QPoint at, TShift shift);
    void MouseMoveOverPlot(QPoint at, TShift shift);

    // Painting (Plot3DPaint.cpp).
    bool Project(P3 p, QPoint& screen) const;
    double Depth(P3 p) const;
    void ConstructDataBmp(oxw::platform::Canvas& cv);
    void DrawBoxFaces(oxw::platform::Canvas& cv, int nearest);
    void DrawBoxLines(oxw::platform::Canvas& cv, int corner, TColor color);
    void DrawCells(oxw::platform::Canvas& cv);
    void DrawAxes(oxw::platform::Canvas& cv, int nearest);
    void DrawAxis(oxw::platform::Canvas& cv, TP3ScaleKind kind, QPoint low, QPoint high, double rangeLow,
                  double rangeHigh);

    std::array<std::array<double, 3>, 8> CubeCorners{};
    QImage GrafBmp;
    TColor FFrameCol = 0;
    TMouseActMode FMouseAction = maRotate;
    std::array<double, 3> FRangeLow{-1, -1, -1};
    std::array<double, 3> FRangeHigh{1, 1, 1};
    std::array<TColor, 3> FAxisColor{0x0000FF, 0xFF0000, 0};
    TColor FColorCubeFrame = 0x404040;
    TColor FColorCubeHidLin = 0xB0B0B0;
    TColor FColorCubeFaceHi = 0xFEEEEE;
    TColor FColorCubeFaceLo = 0xC0C0C0;
    std::array<int, 3> FDecPlace{1, 1, 2};
    TBoundingBox FBoundBox = bbFaces;
    TColor FColorBakGnd = 0xFFFFFF;
    TColor FColorMesh = 0;
    TColor FColorFillHigh = 0x00FFFF;
    TColor FColorFillMid = 0xFF0000;
    TColor FColorFillLow = 0;
    double FColorScaleLow = 0;
    double FColorScaleHigh = 100;
    TColorCodingMode FColorCodingMode = ccmTwoColors;
    TColor FColBlackLine = 0, FColGrayLine = 0x808080, FColWhiteLine = 0xFFFFFF;
    TColorScheme FColorScheme = csSystem;
    TFrameStyle FFrameStyle = fsLowered;
    std::array<double, 3> FViewAngle{60, 0, 15};
    std::array<double, 3> FViewAngLimLow{0, 0, 0};
    std::array<double, 3> FViewAngLimHigh{360, 360, 360};
    std::array<bool, 3> FAxisVisible{true, true, true};
    double FMagnify = 1;
    double FMagAnchor = 1;
    bool FMeshVisible = true;
    std::array<int, 3> FNTicks{3, 3, 3};
    double FCalibZk = 150;
    double FCalibZd = 0;
    bool FColorCodeAvg = false;
    int FCentX = defWidth / 2;
    int FCentY = defHeight / 2;
    int FCentXAnchor = 0, FCentYAnchor = 0;
    std::array<double, 3> FAngleAnchor{60, 0, 15};
    double FMinZ = 0, FMaxZ = 0;
    double FSclXIntern = 1, FSclYIntern = 1, FSclZIntern = 1;
    bool FSuppressPaint = true;
    std::array<std::array<double, 3>, 3> FRotMat{};
    int MouseAnchorX = 0, MouseAnchorY = 0;
    int paintCount_ = 0;
};
