// The contour view's calculation: the nearest-neighbour grid over the note/octave data, the
// contour map and the surface drawn from it, the colour legend, and the mouse over the map.
#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
#include <cmath>

#include "numeric/NearestNeighbors.h"
#include "views/SalienceForms.h"
#include "views/Smooth3DInterpolation.h"

namespace oxw::views {

namespace {

constexpr double RimPercent = 0.02;
constexpr int LegendResolution = 500;
constexpr std::uint8_t DataMarkClass = 99;

int RoundEven(double v) { return static_cast<int>(std::lrint(v)); }

int Channel(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// Each channel Round(f (end - start) + start), f in 0..1.
TColor Blend(TColor start, TColor end, double f)
{
    TColor out = 0;
    for (int shift : {0, 8, 16}) {
        const int a = Channel(start, shift), b = Channel(end, shift);
        out |= static_cast<TColor>(RoundEven(f * (b - a) + a)) << shift;
    }
    return out;
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

TColor TSmooth3DInterpolation::CalcColorCoding(double value) const
{
    const TColor low = CSLow->SelColor(), mid = CSMid->SelColor(), high = CSHigh->SelColor();
    if (!(legendHi_ > legendLo_)) return mid;  // a legend without width: its middle
    const double v = std::clamp(value, legendLo_, legendHi_);
    double t = (v - legendLo_) / (legendHi_ - legendLo_);
    if (t >= 0.5) return Blend(mid, high, 2 * (t - 0.5));
    return Blend(low, mid, 2 * t);
}

void TSmooth3DInterpolation::DisplayPlots()
{
    const WaitCursor wait;
    QCoreApplication::processEvents();
    RCCPlot->ClearGraf();

    const int n = TEData->GetNrRows();
    TMatrix data;
    data.Resize(3, n);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= n; ++r) data.SetVal(c, r, TEData->GetElem(Varix[static_cast<std::size_t>(c)], r));
    for (std::size_t c = 1; c <= 3; ++c) {
        data.MinMax(static_cast<int>(c), 1, static_cast<int>(c), n, mins[c], maxs[c]);
        if (mins[c] == maxs[c]) {
            mins[c] -= 0.1;
            maxs[c] += 0.1;
        }
    }
    double q1 = 0, q2 = 0, q3 = 0;
    data.Quartiles(3, 1, 3, n, q1, q2, q3);

    const double xRim = RimPercent * (maxs[1] - mins[1]), yRim = RimPercent * (maxs[2] - mins[2]);
    TScaleProps* sx = RCCPlot->GetScalePropsX1();
    TScaleProps* sy = RCCPlot->GetScalePropsY1();
    sx->SetRangeLow(mins[1] - xRim);
    sx->SetRangeHigh(maxs[1] + xRim);
    sy->SetRangeLow(mins[2] - yRim);
    sy->SetRangeHigh(maxs[2] + yRim);
    if (RGColorScale->checkedId() == 1) {
        legendLo_ = q2 - std::fabs(q3 - q1);
        legendHi_ = q2 + std::fabs(q3 - q1);
    } else {
        legendLo_ = mins[3];
        legendHi_ = maxs[3];
    }

    TMatrix xy;
    xy.Resize(2, n);
    xy.CopyFrom(&data, 1, 1, 2, n, 1, 1);
    TVector means, sds;
    means.Resize(2);
    sds.Resize(2);
    xy.StandardizeColumns(&means, &sds);
    for (int c = 1; c <= 2; ++c)
        if (sds.GetVal(c) == 0.0) {
            // A constant column stays as it is: measure it, like the query, from its mean.
            sds.SetVal(c, 1.0);
            for (int r = 1; r <= n; ++r) xy.SetVal(c, r, xy.GetVal(c, r) - means.GetVal(c));
        }
    TVector z;
    z.Resize(std::max(1, n));
    data.CopyColToVec(&z, 3, 1, n);
    FillGrid(xy, z, means, sds);
    MarkData(data);
    sx->SetCaption(QStringLiteral("Note"));
    sy->SetCaption(QStringLiteral("Octave"));
    RCCPlot->ShowGraf();
}

void TSmooth3DInterpolation::FillGrid(const TMatrix& xy, const TVector& z, const TVector& means,
                                      const TVector& sds)
{
    const int res = std::max(1, RoundEven(NIOResol->Value()));
    const int k = RoundEven(NIONumNb->Value());
    const double smooth = NIOSmooth->Value();
    const auto mode = static_cast<TKnnWMode>(std::max(0, RGWeighting->checkedId()));
    const double xRim = RimPercent * (maxs[1] - mins[1]), yRim = RimPercent * (maxs[2] - mins[2]);
    const double xLow = mins[1] - xRim, xSpan = maxs[1] + xRim - xLow;
    const double yLow = mins[2] - yRim, ySpan = maxs[2] + yRim - yLow;
    const double diffx = xSpan / res, diffy = ySpan / res;

    // The legend doubles as a progress bar.
    RCColCode->SetDataColor(clBlue);
    RCColCode->SetFillColor(clBlue);
    RCColCode->ClearGraf();
    RCColCode->GetScalePropsX1()->SetLabelType(ftNoFigs);
    RCColCode->GetScalePropsX1()->SetRangeLow(legendLo_);
    RCColCode->GetScalePropsX1()->SetRangeHigh(legendHi_);
    RCColCode->SetCaption(QStringLiteral("... interpolating 3D values"));
    const double w = (legendHi_ - legendLo_) / res;

    RCCPlot->SetClassDefault(0);
    Plot3D1->SetSuppressPaint(true);
    Plot3D1->SetColorLow(CalcColorCoding(mins[3]));
    Plot3D1->SetColorMid(CalcColorCoding((legendLo_ + legendHi_) / 2));
    Plot3D1->SetColorHigh(CalcColorCoding(maxs[3]));
    Plot3D1->GridMat.Resize(res, res);
    TVector query;
    query.Resize(2);
    for (int i = 1; i <= res; ++i) {
        RCColCode->Rectangle(legendLo_ + (i - 1) * w, 0, legendLo_ + i * w, 1);
        RCColCode->ShowGraf();
        QCoreApplication::processEvents();
        const double xi = xLow + i * xSpan / res;
        for (int j = 1; j <= res; ++j) {
            const double yj = yLow + j * ySpan / res;
            query.SetVal(1, (xi - means.GetVal(1)) / sds.GetVal(1));
            query.SetVal(2, (yj - means.GetVal(2)) / sds.GetVal(2));
            double est = 0, meanDist = 0;
            EstimateByKNN(xy, z, k, mode, smooth, query, est, meanDist);
            const TColor color = CalcColorCoding(est);
            RCCPlot->SetDataColor(color);
            RCCPlot->SetFillColor(color);
            RCCPlot->Rectangle(xi - diffx, yj - diffy, xi + diffx, yj + diffy);
            Plot3D1->GridMat.SetVal(res - i + 1, j, est);
        }
    }
    Plot3D1->SetRange(maxs[1], mins[1], mins[2], maxs[2], mins[3], maxs[3]);
    ApplyZScale();
    Plot3D1->SetColorScaleLow(mins[3]);
    Plot3D1->SetColorScaleHigh(maxs[3]);
    Plot3D1->SetColorScaleLow(mins[3]);  // taken only below the high end: set again after it
    Plot3D1->SetSuppressPaint(false);
}

void TSmooth3DInterpolation::ApplyZScale()
{
    const double p = ScrBarZScale->value();
    const double mid = (maxs[3] + mins[3]) / 2, half = (maxs[3] - mins[3]) / 2;
    Plot3D1->SetRangeZLow(mid - 100 * half / p);
    Plot3D1->SetRangeZHigh(mid + 100 * half / p);
}

void TSmooth3DInterpolation::MarkData(const TMatrix& data)
{
    RCCPlot->RemoveItemsByClass(DataMarkClass);
    if (!CBoxShowData->isChecked()) return;
    RCCPlot->SetClassDefault(DataMarkClass);
    RCCPlot->SetDataColor(clBlack);
    for (int r = 1; r <= data.NrOfRows(); ++r) RCCPlot->MarkAt(data.GetVal(1, r), data.GetVal(2, r), 7);
}

void TSmooth3DInterpolation::DisplayColorCoding()
{
    RCColCode->ClearGraf();
    TScaleProps* x = RCColCode->GetScalePropsX1();
    x->SetLabelType(ftNum);
    RCColCode->SetCaption(QStringLiteral(
        "Salience Color Coding (Note: this scale is variable, depending on the range of values displayed.)"));
    QString caption;
    for (const char* word : {"Low", "Slight", "Moderate", "Prominent", "Bright", "Strong"})
        caption += QString::fromLatin1(word).leftJustified(38, QLatin1Char(' '));
    x->SetCaption(caption + QStringLiteral("High   "));
    RCColCode->SetLineWidth(3);
    const double step = (legendHi_ - legendLo_) / LegendResolution;
    const int half = LegendResolution / 2;
    const TColor low = CSLow->SelColor(), mid = CSMid->SelColor(), high = CSHigh->SelColor();
    for (int i = 1; i <= half; ++i) {
        RCColCode->SetDataColor(Blend(low, mid, 2.0 * (i - 1) / LegendResolution));
        const double at = legendLo_ + (i - 1) * step;
        RCColCode->Line(at, 0, at, 1);
    }
    for (int i = 1; i <= half; ++i) {
        RCColCode->SetDataColor(Blend(mid, high, 2.0 * (i - 1) / LegendResolution));
        const double at = legendLo_ + (i + half - 1) * step;
        RCColCode->Line(at, 0, at, 1);
    }
    RCColCode->ShowGraf();
}

bool TSmooth3DInterpolation::MapValueAt(double x, double y, double& z)
{
    const TMatrix& grid = Plot3D1->GridMat;
    const int res = grid.NrOfColumns();
    const TScaleProps* sx = RCCPlot->GetScalePropsX1();
    const TScaleProps* sy = RCCPlot->GetScalePropsY1();
    if (!(x >= sx->RangeLow() && x <= sx->RangeHigh() && y >= sy->RangeLow() && y <= sy->RangeHigh()))
        return false;
    // Node i's rectangle reaches from node i - 1 to node i + 1 and is drawn over node i - 1's:
    // from node i - 1 (included) to node i the map shows node i.
    const auto node = [res](double v, double low, double high) {
        return std::clamp(static_cast<int>(std::floor((v - low) / (high - low) * res)) + 1, 1, res);
    };
    const int i = node(x, sx->RangeLow(), sx->RangeHigh()), j = node(y, sy->RangeLow(), sy->RangeHigh());
    z = grid.GetVal(res - i + 1, j);
    return true;
}

void TSmooth3DInterpolation::RCCPlotMouseMoveInChart(double x, double y)
{
    NLabX->SetValue(x);
    NLabY->SetValue(y);
    double z = 0;
    const bool onMap = MapValueAt(x, y, z);
    NLabZ->SetEmpty(!onMap);
    if (onMap) NLabZ->SetValue(z);
    TTextLabel& label = RCCPlot->TextLabels(1);
    label.SetVisible(false);
    const long col = std::lrint(x), octaveColumn = std::lrint(y) + 2;
    // Over the margins the pointer may lie beyond the table: the label stays hidden there.
    if (col >= 1 && col <= 12 && octaveColumn >= 1 && octaveColumn <= 11 && std::isfinite(x) && std::isfinite(y)) {
        label.SetMode(tlBox);
        label.SetAttachToData(tlamBoth);
        label.SetPosX(x);
        label.SetPosY(y);
        label.SetCaption(QStringLiteral("Freq ") +
                         QString::number(FreqArray[static_cast<std::size_t>(col)][static_cast<std::size_t>(octaveColumn)], 'f', 0));
        label.SetColorBkg(clYellow);
        label.SetVisible(true);
    }
    const long bigX = std::lrint(100 * x), bigY = std::lrint(100 * y);
    const long note = std::lrint(bigX / 100.0), octave = std::lrint(bigY / 100.0);
    const bool noteHit = note >= 1 && note <= 12 && std::labs(bigX - 100 * note) <= 2;
    const bool octaveHit = octave >= 1 && octave <= 7 && std::labs(bigY - 100 * octave) <= 2;
    if (noteHit && octaveHit && noteSound_)
        noteSound_->MakeTheSound(static_cast<int>(octave), static_cast<int>(note - 1),
                                 QString::fromLatin1(kNoteNames[note - 1]));
}

void TSmooth3DInterpolation::RelabelScale(TP3ScaleKind kind, QString& text)
{
    if (kind == p3skX) {
        bool ok = false;
        const double v = text.toDouble(&ok);
        const long n = ok ? std::lrint(v) * 10 : -1;
        static const char* const kLabels[12] = {"C ", "C#", "D ", "D#", "E ", "F ", "F#", "G ", "G#", "A ", "A# ", "B "};
        text = n < 0 || n > 120 ? QString() : QString::fromLatin1(kLabels[n <= 10 ? 0 : (n - 1) / 10]);
    } else if (kind == p3skY) {
        if (text.endsWith(QStringLiteral(".0"))) text.chop(2);
        text.prepend(QStringLiteral("Octave "));
    } else {
        text.prepend(QStringLiteral("Salience "));
    }
}

}  // namespace oxw::views
