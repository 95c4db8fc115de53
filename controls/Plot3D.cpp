// TPlot3D: properties, the grid's change notice, the mouse and the cell under the pointer; see
// Plot3D.h. The projection and the painting are in Plot3DPaint.cpp.
#include "controls/Plot3D.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

// The angle wrapped into 0..360: v >= 360 and v < 0 by whole turns (360 -> 0, -30 -> 330).
double WrapAngle(double v)
{
    if (v >= 360) return std::fmod(v, 360.0);
    if (v < 0) return std::fmod(v, 360.0) + 360.0;
    return v;
}

// One turn back into 0..360 after a drag: above 360 minus 360, below 0 plus 360.
double WrapOnce(double v)
{
    if (v > 360) return v - 360;
    if (v < 0) return v + 360;
    return v;
}

int Sign(std::int64_t v) { return (v > 0) - (v < 0); }

}  // namespace

TPlot3D::TPlot3D(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // moves without a button feed the hit test and the drag anchors
    resize(defWidth, defHeight);
    FCentX = width() / 2;
    FCentY = height() / 2;
    GridMat.SetOnChange([this] { GridMatChanged(); });
    GridMatChanged();
    CalcRotMatrix();
    SetCubeCorners();
    FSuppressPaint = false;
}

TPlot3D::~TPlot3D() { GridMat.SetOnChange(nullptr); }

// ---- grid and geometry ----

void TPlot3D::GridMatChanged()
{
    SetCubeCorners();
    GridMat.MinMax(1, 1, GridMat.NrOfColumns(), GridMat.NrOfRows(), FMinZ, FMaxZ);
    for (TIntMatrix* map : {&ProjMapX, &ProjMapY, &ProjMapZ}) map->Resize(GridMat.NrOfColumns(), GridMat.NrOfRows());
}

void TPlot3D::SetCubeCorners()
{
    const double half = P3BoxSize / 2;
    for (int k = 0; k < 8; ++k) {
        CubeCorners[static_cast<std::size_t>(k)] = {k < 4 ? -half : half, (k & 2) != 0 ? half : -half,
                                                    (k & 1) != 0 ? half : -half};
    }
}

void TPlot3D::CalcRotMatrix()
{
    const double a = FViewAngle[0] * std::numbers::pi / 180.0;
    const double c = FViewAngle[2] * std::numbers::pi / 180.0;
    FRotMat = {{{std::cos(c), -std::sin(c), 0.0},
                {std::cos(a) * std::sin(c), std::cos(c) * std::cos(a), -std::sin(a)},
                {std::sin(a) * std::sin(c), std::sin(a) * std::cos(c), std::cos(a)}}};
    for (auto& row : FRotMat) {
        for (double& e : row) {
            if (std::fabs(e) < 1e-6) e = 0.0;
        }
    }
}

void TPlot3D::AdjustScaling()
{
    FCalibZk = P3BoxSize / (FRangeHigh[2] - FRangeLow[2]);
    FCalibZd = -P3BoxSize / 2 - FCalibZk * FRangeLow[2];
}

// ---- painting requests ----

void TPlot3D::Paint()
{
    if (FSuppressPaint || !isVisible()) return;
    GrafBmp = PaintImage();
    ++paintCount_;
    update();
}

void TPlot3D::paintEvent(QPaintEvent* /*event*/)
{
    if (GrafBmp.size() != size() && !FSuppressPaint) {
        GrafBmp = PaintImage();
        ++paintCount_;
    }
    QPainter(this).drawImage(0, 0, GrafBmp);
}

void TPlot3D::SetSuppressPaint(bool on)
{
    if (on == FSuppressPaint) return;
    FSuppressPaint = on;
    if (!on) Paint();
}

// ---- view ----

void TPlot3D::SetViewAngleX(double v)
{
    if (!std::isfinite(v) || v == FViewAngle[0]) return;
    FViewAngle[0] = WrapAngle(v);
    CalcRotMatrix();
    Paint();
}

void TPlot3D::SetViewAngleZ(double v)
{
    if (!std::isfinite(v) || v == FViewAngle[2]) return;
    FViewAngle[2] = WrapAngle(v);
    CalcRotMatrix();
    Paint();
}

void TPlot3D::SetMagnification(double m)
{
    if (!std::isfinite(m)) return;
    FMagnify = std::clamp(m, MinMagnify, MaxMagnify);
    Paint();
}

void TPlot3D::SetScaleFactX(double f)
{
    if (!std::isfinite(f)) return;
    FSclXIntern = f;
    Paint();
}

void TPlot3D::SetScaleFactY(double f)
{
    if (!std::isfinite(f)) return;
    FSclYIntern = f;
    Paint();
}

void TPlot3D::SetScaleFactZ(double f)
{
    if (!std::isfinite(f)) return;
    FSclZIntern = f;
    Paint();
}

void TPlot3D::SetCentX(int x)
{
    if (x == FCentX) return;
    FCentX = std::clamp(x, -width(), 2 * width());
    Paint();
}

void TPlot3D::SetCentY(int y)
{
    if (y == FCentY) return;
    FCentY = std::clamp(y, -height(), 2 * height());
    Paint();
}

void TPlot3D::Reset()
{
    FCentX = width() / 2;
    FCentY = height() / 2;
    FSclXIntern = FSclYIntern = FSclZIntern = 1;
    FViewAngle = {66, 0, 135};
    FMagnify = 1;
    CalcRotMatrix();
    Paint();
}

// ---- ranges ----

void TPlot3D::SetRangeLow(int axis, double v)
{
    if (!std::isfinite(v)) return;
    const auto a = static_cast<std::size_t>(axis);
    FRangeLow[a] = v == FRangeHigh[a] ? v - 1 : v;
    AdjustScaling();
    Paint();
}

void TPlot3D::SetRangeHigh(int axis, double v)
{
    if (!std::isfinite(v)) return;
    const auto a = static_cast<std::size_t>(axis);
    FRangeHigh[a] = v == FRangeLow[a] ? v + 1 : v;
    AdjustScaling();
    Paint();
}

void TPlot3D::SetRange(double xLow, double xHigh, double yLow, double yHigh, double zLow, double zHigh)
{
    const std::array<double, 3> lows{xLow, yLow, zLow}, highs{xHigh, yHigh, zHigh};
    for (std::size_t a = 0; a < 3; ++a) {
        if (!std::isfinite(lows[a]) || !std::isfinite(highs[a])) return;
    }
    for (std::size_t a = 0; a < 3; ++a) {
        const bool equal = lows[a] == highs[a];
        FRangeLow[a] = equal ? lows[a] - 0.5 : lows[a];
        FRangeHigh[a] = equal ? highs[a] + 0.5 : highs[a];
    }
    AdjustScaling();
    Paint();
}

// ---- colours ----

void TPlot3D::SetColorScaleLow(double v)
{
    if (!(v < FColorScaleHigh) || !std::isfinite(v)) return;
    FColorScaleLow = v;
    Paint();
}

void TPlot3D::SetColorScaleHigh(double v)
{
    if (!(v > FColorScaleLow) || !std::isfinite(v)) return;
    FColorScaleHigh = v;
    Paint();
}

void TPlot3D::SetColorCodingMode(TColorCodingMode m)
{
    if (m == FColorCodingMode) return;
    FColorCodingMode = m;
    Paint();
}

void TPlot3D::SetColorHigh(TColor c)
{
    FColorFillHigh = c;
    Paint();
}

void TPlot3D::SetColorMid(TColor c)
{
    FColorFillMid = c;
    Paint();
}

void TPlot3D::SetColorLow(TColor c)
{
    FColorFillLow = c;
    Paint();
}

void TPlot3D::SetColorCodeAvg(bool on)
{
    if (on == FColorCodeAvg) return;
    FColorCodeAvg = on;
    Paint();
}

void TPlot3D::SetMeshVisible(bool on)
{
    if (on == FMeshVisible) return;
    FMeshVisible = on;
    Paint();
}

void TPlot3D::SetColorMesh(TColor c)
{
    FColorMesh = c;
    Paint();
}

void TPlot3D::SetColorBakGnd(TColor c)
{
    FColorBakGnd = c;
    Paint();
}

void TPlot3D::SetColorFrame(TColor c)
{
    FFrameCol = c;
    Paint();
}

void TPlot3D::SetFrameStyle(TFrameStyle s)
{
    if (s == FFrameStyle) return;
    FFrameStyle = s;
    Paint();
}

void TPlot3D::SetBoundBoxStyle(TBoundingBox b)
{
    if (b == FBoundBox) return;
    FBoundBox = b;
    Paint();
}

void TPlot3D::SetColorCubeFrame(TColor c)
{
    FColorCubeFrame = c;
    Paint();
}

void TPlot3D::SetColorCubeHidLin(TColor c)
{
    FColorCubeHidLin = c;
    Paint();
}

void TPlot3D::SetColorCubeFaceHigh(TColor c)
{
    FColorCubeFaceHi = c;
    Paint();
}

void TPlot3D::SetColorCubeFaceLow(TColor c)
{
    FColorCubeFaceLo = c;
    Paint();
}

void TPlot3D::SetColorScheme(TColorScheme s)
{
    if (s == FColorScheme) return;
    FColorScheme = s;
    FColGrayLine = s == csBWG ? 0x808080 : clBtnShadow;
    FColWhiteLine = s == csBWG ? 0xFFFFFF : clBtnHighlight;
    Paint();
}

// ---- axes ----

void TPlot3D::SetAxisColor(int axis, TColor c)
{
    FAxisColor[static_cast<std::size_t>(axis)] = c;
    Paint();
}

void TPlot3D::SetAxisVisible(int axis, bool on)
{
    FAxisVisible[static_cast<std::size_t>(axis)] = on;
    Paint();
}

void TPlot3D::SetDecPlace(int axis, int d)
{
    FDecPlace[static_cast<std::size_t>(axis)] = std::clamp(d, -2, 12);
    Paint();
}

void TPlot3D::SetMinTick(int axis, int n)
{
    const auto a = static_cast<std::size_t>(axis);
    if (n == FNTicks[a]) return;
    FNTicks[a] = std::clamp(n, 2, 20);
    Paint();
}

// ---- mouse ----

void TPlot3D::TakeAnchors(QPoint at)
{
    MouseAnchorX = at.x();
    MouseAnchorY = at.y();
    FCentXAnchor = FCentX;
    FCentYAnchor = FCentY;
    FMagAnchor = FMagnify;
    FAngleAnchor[0] = FViewAngle[0];
    FAngleAnchor[2] = FViewAngle[2];
}

void TPlot3D::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    // A drag starts where the button went down, also when no move without a button came first.
    TakeAnchors(event->position().toPoint());
}

void TPlot3D::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    const QPoint at = event->position().toPoint();
    const TShift shift{event->buttons(), event->modifiers()};
    if ((shift.Buttons & (Qt::LeftButton | Qt::RightButton)) == 0) TakeAnchors(at);
    MouseEffect(at, shift);
    MouseMoveOverPlot(at, shift);
}

bool TPlot3D::MouseEffect(QPoint at, TShift shift)
{
    const int w = width(), h = height();
    if (w <= 0 || h <= 0 || at.x() < 0 || at.x() > w || at.y() < 0 || at.y() > h) return false;
    const bool left = (shift.Buttons & Qt::LeftButton) != 0;
    const bool right = (shift.Buttons & Qt::RightButton) != 0;
    int cx = FCentX, cy = FCentY;
    double ax = FViewAngle[0], az = FViewAngle[2], mag = FMagnify;
    const auto turnZ = [&] { return WrapOnce((MouseAnchorX - at.x()) * 360 / static_cast<double>(w) + FAngleAnchor[2]); };
    const auto turnX = [&] { return WrapOnce((MouseAnchorY - at.y()) * 360 / static_cast<double>(h) + FAngleAnchor[0]); };
    const auto zoom = [&] {
        double d = (MaxMagnify - MinMagnify) * (MouseAnchorY - at.y()) / h / 2;
        if (FMagAnchor + d > MaxMagnify) d = MaxMagnify - FMagAnchor;
        if (FMagAnchor + d < MinMagnify) d = MinMagnify - FMagAnchor;
        return FMagAnchor + d;
    };
    bool rotating = false;
    switch (FMouseAction) {
    case maRotate:
        if (!left) return false;
        az = std::clamp(turnZ(), FViewAngLimLow[2], FViewAngLimHigh[2]);
        ax = std::clamp(turnX(), FViewAngLimLow[0], FViewAngLimHigh[0]);
        rotating = true;
        break;
    case maRotXOnly:
        if (!left) return false;
        ax = WrapOnce((at.y() - MouseAnchorY) * 360 / static_cast<double>(h) + FAngleAnchor[0]);
        rotating = true;
        break;
    case maRotZOnly:
        if (!left) return false;
        az = turnZ();
        rotating = true;
        break;
    case maZoom:
        if (!left) return false;
        mag = zoom();
        break;
    case maPan:
        if (!left) return false;
        cx = FCentXAnchor - (MouseAnchorX - at.x());
        cy = FCentYAnchor - (MouseAnchorY - at.y());
        break;
    case maRotAndZoom:
        if (left) {
            az = turnZ();
            ax = turnX();
            rotating = true;
        } else if (right) {
            mag = zoom();
        } else {
            return false;
        }
        break;
    default:
        return false;
    }
    if (rotating) FViewAngle[1] = 0;
    if (OnMouseAction) OnMouseAction(this, cx, cy, ax, az, mag, shift);
    // A handler may restrain the new values; values that are not finite are not taken.
    FCentX = cx;
    FCentY = cy;
    if (std::isfinite(ax)) FViewAngle[0] = ax;
    if (std::isfinite(az)) FViewAngle[2] = az;
    if (std::isfinite(mag)) FMagnify = mag;
    if (rotating) CalcRotMatrix();
    Paint();
    return true;
}

void TPlot3D::MouseMoveOverPlot(QPoint at, TShift shift)
{
    const std::int64_t mx = at.x(), my = at.y();
    int best = -2147483647, cellX = 0, cellY = 0;
    bool over = false;
    const int nc = GridMat.NrOfColumns(), nr = GridMat.NrOfRows();
    for (int i = 1; i < nc; ++i) {
        for (int j = 1; j < nr; ++j) {
            const QPoint corner[4] = {{ProjMapX.GetVal(i, j), ProjMapY.GetVal(i, j)},
                                      {ProjMapX.GetVal(i, j + 1), ProjMapY.GetVal(i, j + 1)},
                                      {ProjMapX.GetVal(i + 1, j + 1), ProjMapY.GetVal(i + 1, j + 1)},
                                      {ProjMapX.GetVal(i + 1, j), ProjMapY.GetVal(i + 1, j)}};
            int sum = 0;
            bool drawn = true;
            for (int e = 0; e < 4; ++e) {
                const QPoint p = corner[e], q = corner[(e + 1) % 4];
                if (p.x() == INT_MIN) drawn = false;
                sum += Sign((std::int64_t{q.x()} - p.x()) * (my - p.y()) - (std::int64_t{q.y()} - p.y()) * (mx - p.x()));
            }
            if (drawn && std::abs(sum) >= 3 && ProjMapZ.GetVal(i, j) > best) {
                best = ProjMapZ.GetVal(i, j);
                cellX = i;
                cellY = j;
                over = true;
            }
        }
    }
    if (OnMouseMoveOverPlot) OnMouseMoveOverPlot(this, over, shift, cellX, cellY);
}
