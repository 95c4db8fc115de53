// TPlot3D: the projection and the painting, in this order: background, the three box faces at
// the nearest corner (shaded by their depth), the hidden box lines, the cells from far to near,
// the box lines at the nearest corner, the three axes, then the outer frame; see Plot3D.h.
#include <QFont>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <vector>

#include "controls/DrawBase.h"
#include "controls/Plot3D.h"
#include "numeric/NumberFormat.h"
#include "numeric/Rounding.h"
#include "numeric/ScaleParams.h"
#include "platform/Canvas.h"

using oxw::numeric::RoundChecked;
using oxw::platform::Canvas;

namespace {

// Corner k of the box has x = bit 2, y = bit 1, z = bit 0 of k (1 = the high side).
constexpr int CubeNeighbors[8][3] = {{1, 2, 4}, {0, 3, 5}, {0, 3, 6}, {1, 2, 7},
                                     {0, 5, 6}, {1, 4, 7}, {2, 4, 7}, {3, 5, 6}};
constexpr int CubeFaces[6][4] = {{1, 5, 7, 3}, {2, 3, 7, 6}, {2, 6, 4, 0}, {0, 4, 5, 1}, {4, 5, 7, 6}, {0, 1, 3, 2}};
constexpr int CubeNbFaces[8][3] = {{5, 3, 2}, {0, 3, 5}, {1, 2, 5}, {0, 1, 5}, {3, 4, 2}, {0, 3, 4}, {1, 2, 4}, {0, 4, 1}};
constexpr int CubeCorrespondingZ[8] = {1, 0, 3, 2, 5, 4, 7, 6};
constexpr int CubeCorrespondingY[8] = {2, 3, 0, 1, 6, 7, 4, 5};
constexpr int CubeCorrespondingX[8] = {4, 5, 6, 7, 0, 1, 2, 3};
constexpr int axTickSize = 8;
// Marks a grid point of ProjMapX/ProjMapY that did not project (a value that is not finite).
constexpr int kUnprojected = INT_MIN;

double UnitX(int k) { return (k & 4) != 0 ? 1.0 : -1.0; }
double UnitY(int k) { return (k & 2) != 0 ? 1.0 : -1.0; }
double UnitZ(int k) { return (k & 1) != 0 ? 1.0 : -1.0; }

int Round(double v) { return oxw::numeric::RoundClamped<int>(v); }

}  // namespace

QString P3AxisLabel(double t, double low, double high, int m)
{
    const double span = high - low;
    QString text;
    if (std::fabs(t / span) < 1e-14) {
        text = std::fabs(span) > 100000 ? (m == 0 ? QStringLiteral("0") : QStringLiteral("0.0"))
                                        : QString::fromStdString(oxw::numeric::strff(0.0, 1, m));
    } else {
        text = QString::fromStdString(oxw::numeric::strff(t, 1, m));
    }
    text.truncate(14);
    return text;
}

bool TPlot3D::Project(P3 p, QPoint& screen) const
{
    const auto& R = FRotMat;
    const double x = (FSclXIntern * p.x * R[0][0] + FSclYIntern * p.y * R[0][1] + FSclZIntern * p.z * R[0][2]) * FMagnify + FCentX;
    const double y = (FSclXIntern * p.x * R[1][0] + FSclYIntern * p.y * R[1][1] + FSclZIntern * p.z * R[1][2]) * FMagnify + FCentY;
    const auto sx = RoundChecked<int>(x), sy = RoundChecked<int>(y);
    if (!sx || !sy) return false;
    // Far points are pulled in to the canvas's limit; what lies that far out is never seen.
    screen = {oxw::platform::FarClamp(*sx), oxw::platform::FarClamp(*sy)};
    return true;
}

double TPlot3D::Depth(P3 p) const { return FRotMat[2][0] * p.x + FRotMat[2][1] * p.y + FRotMat[2][2] * p.z; }

QImage TPlot3D::PaintImage()
{
    QImage image(size().expandedTo({1, 1}), QImage::Format_RGB32);
    Canvas cv(image);
    cv.Pen = {FColorBakGnd, 1, psSolid, pmCopy};
    cv.Brush = {FColorBakGnd, bsSolid};
    cv.FillRect(0, 0, image.width(), image.height());
    ConstructDataBmp(cv);
    DrawFrame(cv, FFrameStyle, 0, 0, width() - 1, height() - 1, 0xFFFFFF, 0xC0C0C0, 0x808080, 0, FFrameCol);
    return image;
}

void TPlot3D::ConstructDataBmp(Canvas& cv)
{
    // The farthest unit corner (the first of the smallest depth) and the nearest one across.
    int farthest = 0;
    double least = 2147483647.0;
    for (int k = 0; k < 8; ++k) {
        const double d = Depth({UnitX(k), UnitY(k), UnitZ(k)});
        if (d < least) {
            least = d;
            farthest = k;
        }
    }
    const int nearest = 7 - farthest;
    const bool box = FBoundBox != bbNone;
    if (box) {
        DrawBoxFaces(cv, nearest);
        DrawBoxLines(cv, farthest, FColorCubeHidLin);
    }
    DrawCells(cv);
    if (box) DrawBoxLines(cv, nearest, FColorCubeFrame);
    DrawAxes(cv, nearest);
    if (OnDataRendered) OnDataRendered(this, cv);
}

void TPlot3D::DrawBoxFaces(Canvas& cv, int nearest)
{
    cv.Pen.Color = FColorCubeFrame;
    cv.Brush.Style = FBoundBox == bbFaces ? bsSolid : bsClear;
    const QRgb low = ColorToRGB(FColorCubeFaceLo), high = ColorToRGB(FColorCubeFaceHi);
    for (int f : CubeNbFaces[nearest]) {
        std::vector<QPoint> quad;
        double depths = 0;
        for (int k : CubeFaces[f]) {
            const auto& c = CubeCorners[static_cast<std::size_t>(k)];
            QPoint p;
            if (!Project({c[0], c[1], c[2]}, p)) return;
            quad.push_back(p);
            depths += Depth({UnitX(k), UnitY(k), UnitZ(k)});
        }
        // The shade 0..200 of the face: the sum of its corners' depths times 50.
        const int fc = Round(depths * 50);
        const auto channel = [fc](int lo, int hi) { return lo + (hi - lo) * fc / 200; };
        cv.Brush.Color = RGB(channel(qRed(low), qRed(high)), channel(qGreen(low), qGreen(high)),
                             channel(qBlue(low), qBlue(high)));
        cv.Polygon(quad);
    }
    cv.Brush.Style = bsSolid;
}

void TPlot3D::DrawBoxLines(Canvas& cv, int corner, TColor color)
{
    cv.Pen.Color = color;
    const auto& from = CubeCorners[static_cast<std::size_t>(corner)];
    QPoint a;
    if (!Project({from[0], from[1], from[2]}, a)) return;
    for (int n = 2; n >= 0; --n) {
        const auto& to = CubeCorners[static_cast<std::size_t>(CubeNeighbors[corner][n])];
        QPoint b;
        if (!Project({to[0], to[1], to[2]}, b)) continue;
        cv.MoveTo(a.x(), a.y());
        cv.LineTo(b.x(), b.y());
    }
}

TColor TPlot3D::CalcColorCoding(double v) const
{
    if (!std::isfinite(v)) return FColorFillLow;
    v = std::clamp(v, FColorScaleLow, FColorScaleHigh);
    const double t = (v - FColorScaleLow) / (FColorScaleHigh - FColorScaleLow);
    TColor c1 = FColorFillLow, c2 = FColorFillHigh;
    double f = t;
    if (FColorCodingMode == ccmThreeColors) {
        if (t < 0.5) {
            c2 = FColorFillMid;
            f = 2 * t;
        } else {
            c1 = FColorFillMid;
            f = 2 * (t - 0.5);
        }
    }
    const auto channel = [f](int a, int b) { return Round(f * (b - a) + a); };
    return RGB(channel(GetRValue(c1), GetRValue(c2)), channel(GetGValue(c1), GetGValue(c2)),
               channel(GetBValue(c1), GetBValue(c2)));
}

void TPlot3D::DrawCells(Canvas& cv)
{
    const int nc = GridMat.NrOfColumns(), nr = GridMat.NrOfRows();
    if (nc < 2 || nr < 2) return;
    cv.Brush = {FColorFillHigh, bsSolid};
    cv.Pen.Color = FColorMesh;
    const double ax = FViewAngle[0], az = FViewAngle[2];
    const bool yup = (ax > 180) != (az < 90 || az > 270);
    const bool xup = (ax > 180) == (az > 180);
    const double sclX = P3BoxSize / (nc - 1), sclY = P3BoxSize / (nr - 1);
    const auto boxX = [&](int col) { return (col - nc / 2.0 - 0.5) * sclX; };
    const auto boxY = [&](int row) { return (row - nr / 2.0 - 0.5) * sclY; };
    for (int i = 1; i <= nr - 1; ++i) {
        const int r = yup ? i : nr - i;
        for (int k = 1; k <= nc - 1; ++k) {
            const int c = xup ? k : nc - k;
            const int cols[4] = {c, c + 1, c + 1, c};
            const int rows[4] = {r, r, r + 1, r + 1};
            const int ranks[4] = {(i - 1) * nc + k, (i - 1) * nc + k + 1, i * nc + k + 1, i * nc + k};
            TQuad quad;
            double sum = 0, maximum = -HUGE_VAL;
            bool drawn = true;
            for (int q = 0; q < 4; ++q) {
                const double v = GridMat.GetVal(cols[q], rows[q]);
                const double z = FCalibZk * v + FCalibZd;
                QPoint p;
                if (std::isfinite(z) && Project({boxX(cols[q]), boxY(rows[q]), z}, p)) {
                    ProjMapX.SetVal(cols[q], rows[q], p.x());
                    ProjMapY.SetVal(cols[q], rows[q], p.y());
                } else {
                    ProjMapX.SetVal(cols[q], rows[q], kUnprojected);
                    ProjMapY.SetVal(cols[q], rows[q], kUnprojected);
                    drawn = false;
                }
                ProjMapZ.SetVal(cols[q], rows[q], ranks[q]);
                quad[static_cast<std::size_t>(q)] = p;
                sum += v;
                maximum = std::max(maximum, v);
            }
            if (!drawn) continue;  // a corner that is not finite: the cell is left out
            TColor color = CalcColorCoding(FColorCodeAvg ? sum / 4 : maximum);
            bool handled = false;
            if (OnBeforeRenderPolygon) OnBeforeRenderPolygon(this, cv, handled, c, r, quad, color);
            if (handled) continue;
            cv.Brush.Color = color;
            if (!FMeshVisible) cv.Pen.Color = color;
            cv.Polygon({quad.begin(), quad.end()});
        }
    }
}

void TPlot3D::DrawAxes(Canvas& cv, int nearest)
{
    const auto corner = [this](int k) {
        const auto& c = CubeCorners[static_cast<std::size_t>(k)];
        return P3{c[0], c[1], c[2]};
    };
    const auto draw = [&](TP3ScaleKind kind, int a, int b) {
        QPoint pa, pb;
        if (!Project(corner(a), pa) || !Project(corner(b), pb)) return;
        DrawAxis(cv, kind, pa, pb, FRangeLow[kind], FRangeHigh[kind]);
    };
    if (FAxisVisible[0]) {
        int a = CubeCorrespondingZ[nearest], b = CubeCorrespondingX[a];
        if (corner(a).x > corner(b).x) std::swap(a, b);
        draw(p3skX, a, b);
    }
    if (FAxisVisible[1]) {
        int a = CubeCorrespondingZ[nearest], b = CubeCorrespondingY[a];
        if (corner(a).y > corner(b).y) std::swap(a, b);
        draw(p3skY, a, b);
    }
    if (FAxisVisible[2]) {
        // The unit corner farthest to the right on screen (the first such: a low-z corner).
        int a = 0;
        double most = -2147483647.0;
        for (int k = 0; k < 8; ++k) {
            const double x = FRotMat[0][0] * UnitX(k) + FRotMat[0][1] * UnitY(k) + FRotMat[0][2] * UnitZ(k);
            if (x > most) {
                most = x;
                a = k;
            }
        }
        draw(p3skZ, a, CubeCorrespondingZ[a]);
    }
}

void TPlot3D::DrawAxis(Canvas& cv, TP3ScaleKind kind, QPoint low, QPoint high, double rangeLow, double rangeHigh)
{
    QFont font = this->font();
    font.setPointSize(8);
    font.setStyleStrategy(QFont::NoAntialias);
    cv.Font.Font = font;
    const TColor color = FAxisColor[kind];
    cv.Pen.Color = color;
    cv.Font.Color = color;
    cv.Brush.Style = bsClear;
    const int m = oxw::numeric::CalcM(FDecPlace[kind], rangeLow, rangeHigh);
    long double t0 = 0, dist = 0;
    std::uint16_t divi = 1;
    oxw::numeric::CalcScalePars(FNTicks[kind], rangeLow, rangeHigh, t0, dist, divi);
    const double sign = rangeHigh > rangeLow ? 1 : -1;
    const double span = rangeHigh - rangeLow;
    const int th = cv.TextHeight(QStringLiteral("0"));
    const double ax = FViewAngle[0];
    const double z = FViewAngle[2] * std::numbers::pi / 180.0;
    const bool below = ax <= 90 || (ax > 180 && ax <= 270);
    for (int i = 0; i <= 1000; ++i) {
        const double t = static_cast<double>(t0 + i * dist);
        const double f = (t - rangeLow) / span;
        const auto px = RoundChecked<int>(f * (high.x() - low.x())), py = RoundChecked<int>(f * (high.y() - low.y()));
        if (!px || !py) break;
        const QPoint p(oxw::platform::FarClamp(std::int64_t{*px} + low.x()),
                       oxw::platform::FarClamp(std::int64_t{*py} + low.y()));
        QPoint e = p + QPoint(axTickSize, 0);
        int offset = -(th / 2);
        if (kind != p3skZ) {
            e = below ? p + QPoint(0, axTickSize) : p - QPoint(0, axTickSize);
            offset = below ? 0 : -th;
        }
        cv.MoveTo(p.x(), p.y());
        cv.LineTo(e.x(), e.y());
        QString text = P3AxisLabel(t, rangeLow, rangeHigh, m);
        if (OnBeforeDrawScaleLabel) OnBeforeDrawScaleLabel(this, cv, kind, text, p.x(), p.y());
        const int w2 = cv.TextWidth(text) / 2;
        const int s = ax <= 180 ? 1 : -1;
        int x = e.x() + 3;
        if (kind == p3skX) {
            const int shift = s * Round(std::sin(z) * w2);
            x = (FViewAngle[2] <= 90 || FViewAngle[2] > 270) ? e.x() - w2 - shift : e.x() - w2 + shift;
        } else if (kind == p3skY) {
            const int shift = s * Round(std::cos(z) * w2);
            x = FViewAngle[2] <= 180 ? e.x() - w2 + shift : e.x() - w2 - shift;
        }
        cv.TextOut(x, e.y() + offset, text);
        const double next = static_cast<double>(t0 + (i + 1) * dist);
        if (dist == 0 || !(sign * (next - rangeHigh) <= sign * 0.001 * static_cast<double>(dist))) break;
    }
    cv.Brush.Style = bsSolid;
}
