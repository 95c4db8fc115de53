// The salience contour view: the nearest-neighbour grid against a brute-force estimate, the
// colour coding and legend, the plots' stale state, the mouse over the map and the surface's
// labels and view snapping, the hidden controls, and the notes of the note-by-octave cells.
#include <QMouseEvent>
#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "midi/Form45.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedMidiStreamOutput.h"
#include "support/TempDir.h"
#include "views/SalienceForms.h"
#include "views/Smooth3DInterpolation.h"

using namespace oxw;
using views::TSmooth3DInterpolation;

namespace {

QColor Rgb(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

class ContourView : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.SetDialogs(&dialogs);
        auto out = std::make_unique<platform::ScriptedMidiStreamOutput>();
        midi = out.get();
        panel = std::make_unique<midi::TForm45>(nullptr, std::move(out));
        grid.SetMidiPanel(panel.get());
        view.SetNoteSound(&grid);
        for (int n = 1; n <= 12; ++n)
            for (int k = 1; k <= 11; ++k) view.FreqArray[n][k] = 16.3516 * std::pow(2.0, (n - 1) / 12.0 + (k - 2));
    }
    // The 84 note/octave rows with the given saliences, row (octave - 1) * 12 + note.
    void Load(const std::vector<double>& salience)
    {
        TNTabEd* t = view.MeanPitchSalienceNTabEd1;
        for (int o = 1; o <= 7; ++o)
            for (int n = 1; n <= 12; ++n) {
                const int r = (o - 1) * 12 + n;
                t->SetElem(1, r, n);
                t->SetElem(2, r, o);
                t->SetElem(3, r, salience[static_cast<std::size_t>(r - 1)]);
            }
        view.MeanPitchSalienceClick();
    }
    static double S(int row) { return row * 37 % 80 / 100.0; }  // a stepped salience of row (octave - 1) * 12 + note
    static std::vector<double> Stepped() { std::vector<double> s(84); for (int r = 1; r <= 84; ++r) s[r - 1] = S(r); return s; }
    QString Path(const std::string& name) const { return QString::fromStdString((dir / name).string()); }
    void Write(const std::string& name, const std::string& bytes) { std::ofstream(dir / name, std::ios::binary) << bytes; }
    QStringList Open(QPushButton* button, const std::string& name)  // the messages shown
    {
        dialogs.Messages.clear();
        dialogs.FileAnswers = {Path(name)};
        button->click();
        return dialogs.Messages;
    }
    static std::vector<double> RandomSaliences()
    {
        std::mt19937 gen(20261206);
        std::uniform_real_distribution<double> u(0.0, 0.8);
        std::vector<double> s(84);
        for (double& v : s) v = u(gen);
        return s;
    }
    int Items(TrcItem kind, int cls) const
    {
        int count = 0;
        for (int i = 0; i < view.RCCPlot->NumItems(); ++i) {
            const TrcChartItem it = view.RCCPlot->GetItemParams(i);
            count += it.ItemKind == kind && it.ItemClass == cls;
        }
        return count;
    }

    views::TMeanPitchSalienceChart grid;
    std::unique_ptr<midi::TForm45> panel;
    platform::ScriptedMidiStreamOutput* midi = nullptr;
    test::TempDir dir{"contour"};
    platform::ScriptedDialogs dialogs;
    TSmooth3DInterpolation view;
};

// The estimate at (x, y) written out: all 84 distances on the standardised columns, the later
// row first among equal distances, the five nearest, Gaussian weights with smoothing 1.5.
double BruteForce(const std::vector<double>& s, double x, double y)
{
    std::vector<double> nx(84), ny(84);
    for (int r = 0; r < 84; ++r) nx[r] = r % 12 + 1, ny[r] = r / 12 + 1;
    auto standardise = [](std::vector<double>& v, double& mean, double& sd) {
        mean = std::accumulate(v.begin(), v.end(), 0.0) / v.size();
        double ss = 0;
        for (double a : v) ss += (a - mean) * (a - mean);
        sd = std::sqrt(ss / (v.size() - 1));
        for (double& a : v) a = (a - mean) / sd;
    };
    double mx, sx, my, sy;
    standardise(nx, mx, sx);
    standardise(ny, my, sy);
    const double qx = (x - mx) / sx, qy = (y - my) / sy;
    std::vector<std::pair<double, int>> d;
    for (int r = 0; r < 84; ++r) d.push_back({std::hypot(nx[r] - qx, ny[r] - qy), -r});
    std::sort(d.begin(), d.end());
    double mean = 0;
    for (int i = 0; i < 5; ++i) mean += d[i].first / 5;
    if (mean == 0) mean = 0.001;
    double sw = 0, swt = 0;
    for (int i = 0; i < 5; ++i) {
        const double w = std::exp(-std::pow(1.5 * d[i].first / mean, 2));
        sw += w;
        swt += w * s[static_cast<std::size_t>(-d[i].second)];
    }
    return swt / sw;
}

TEST_F(ContourView, GridEqualsBruteForceEstimate)
{
    const std::vector<double> s = RandomSaliences();
    Load(s);
    EXPECT_EQ(view.TEData->GetNrRows(), 84);
    EXPECT_EQ(view.BButExecute->text(), "Wait - Building Chart");
    EXPECT_FALSE(view.BButExecute->isEnabled());
    EXPECT_EQ(view.PageControl1->currentWidget(), view.TS3DPlot);
    // The map's ranges: the data's with a 2 % rim.
    TScaleProps* sx = view.RCCPlot->GetScalePropsX1();
    TScaleProps* sy = view.RCCPlot->GetScalePropsY1();
    EXPECT_TRUE(std::abs(sx->RangeLow() - 0.78) < 1e-12 && std::abs(sx->RangeHigh() - 12.22) < 1e-12 &&
                std::abs(sy->RangeLow() - 0.88) < 1e-12 && std::abs(sy->RangeHigh() - 7.12) < 1e-12);
    EXPECT_TRUE(Items(tkRect, 0) == 900 && Items(tkMarkAt, 99) == 84);
    EXPECT_EQ(view.RCCPlot->GetItemParams(900 + 83).mark, 7);

    const TMatrix& g = view.Plot3D1->GridMat;
    ASSERT_EQ(g.NrOfColumns(), 30);
    ASSERT_EQ(g.NrOfRows(), 30);
    const double dx = (12.22 - 0.78) / 30, dy = (7.12 - 0.88) / 30;
    for (int i = 1; i <= 30; ++i)
        for (int j = 1; j <= 30; ++j) {
            const double xi = 0.78 + i * dx, yj = 0.88 + j * dy;
            const double ref = BruteForce(s, xi, yj);
            ASSERT_NEAR(g.GetVal(31 - i, j), ref, 1e-12) << i << "," << j;
            // The rectangle of node (i, j) spans one step each way in the node's colour.
            const TrcChartItem rect = view.RCCPlot->GetItemParams((i - 1) * 30 + j - 1);
            ASSERT_TRUE(std::abs(rect.x - (xi - dx)) < 1e-9 && std::abs(rect.y2 - (yj + dy)) < 1e-9 &&
                        rect.FillColor == view.CalcColorCoding(ref)) << i << "," << j;
        }
    const double lo = *std::min_element(s.begin(), s.end()), hi = *std::max_element(s.begin(), s.end());
    EXPECT_TRUE(view.LegendLow() == lo && view.LegendHigh() == hi);
    EXPECT_TRUE(view.Plot3D1->RangeXLow() == 12 && view.Plot3D1->RangeXHigh() == 1 &&
                view.Plot3D1->RangeYLow() == 1 && view.Plot3D1->RangeYHigh() == 7);
    EXPECT_NEAR(view.Plot3D1->RangeZLow(), (lo + hi) / 2 - 100 * (hi - lo) / 2 / 90, 1e-12);
    EXPECT_NEAR(view.Plot3D1->RangeZHigh(), (lo + hi) / 2 + 100 * (hi - lo) / 2 / 90, 1e-12);

    // The surface's cells take the legend colours of their values: the pixel at the centre of a
    // cell's four projected corners, seen from straight above (no cell hides another).
    view.Plot3D1->SetViewAngleX(0);
    const QImage im = view.Plot3D1->PaintImage();
    const TIntMatrix& mx = view.Plot3D1->ProjMapX;
    const TIntMatrix& my = view.Plot3D1->ProjMapY;
    int matches = 0, checked = 0;
    for (int c = 2; c <= 28; c += 2)
        for (int r = 2; r <= 28; r += 2) {
            const int px = (mx.GetVal(c, r) + mx.GetVal(c + 1, r) + mx.GetVal(c, r + 1) + mx.GetVal(c + 1, r + 1)) / 4;
            const int py = (my.GetVal(c, r) + my.GetVal(c + 1, r) + my.GetVal(c, r + 1) + my.GetVal(c + 1, r + 1)) / 4;
            if (px < 0 || py < 0 || px >= im.width() || py >= im.height()) continue;
            ++checked;
            matches += im.pixelColor(px, py) == Rgb(view.CalcColorCoding(g.GetVal(c, r)));
        }
    EXPECT_TRUE(checked > 100 && matches > 0.9 * checked) << matches << " of " << checked;
}

TEST_F(ContourView, ColourCodingOverTheLegend)
{
    std::vector<double> s(84, 0.5);
    s[0] = 0.0;
    s[83] = 1.0;
    Load(s);
    ASSERT_EQ(view.LegendLow(), 0.0);
    ASSERT_EQ(view.LegendHigh(), 1.0);
    const struct { double v; TColor expected; } cases[] = {
        {0.0, 0xFF8080}, {0.25, 0xC0C080}, {0.5, 0x80FF80}, {0.75, 0x80C0C0},
        {1.0, 0x8080FF}, {-3.0, 0xFF8080}, {7.0, 0x8080FF}};
    for (const auto& c : cases) EXPECT_EQ(view.CalcColorCoding(c.v), c.expected) << c.v;

    // The legend: 500 lines of width 3 from low to high, the captions as written.
    TRChart& legend = *view.RCColCode;
    EXPECT_TRUE(legend.ItemCount(tkLine) == 500 && legend.GetItemParams(0).LWid == 3);
    EXPECT_EQ(legend.Caption(),
              "Salience Color Coding (Note: this scale is variable, depending on the range of values displayed.)");
    const QString xCaption = legend.GetScalePropsX1()->Caption();
    EXPECT_EQ(xCaption.size(), 6 * 38 + 7);
    EXPECT_TRUE(xCaption.startsWith("Low" + QString(35, ' ') + "Slight") &&
                xCaption.endsWith("Strong" + QString(32, ' ') + "High   "));
    EXPECT_EQ(legend.GetItemParams(125).Color, 0xC0C080u);  // x = 0.25
    EXPECT_TRUE(legend.GetItemParams(250).Color == 0x80FF80u && legend.GetItemParams(250).x == 0.5);

    // All saliences equal: a legend of +-0.1 around them, every rectangle in the middle colour.
    Load(std::vector<double>(84, 0.0));
    EXPECT_DOUBLE_EQ(view.LegendLow(), -0.1);
    EXPECT_DOUBLE_EQ(view.LegendHigh(), 0.1);
    EXPECT_NEAR(view.Plot3D1->RangeZLow(), -0.1 * 100 / 90, 1e-15);
    EXPECT_NEAR(view.Plot3D1->RangeZHigh(), 0.1 * 100 / 90, 1e-15);
    for (int i = 0; i < 900; ++i) {
        const TrcChartItem it = view.RCCPlot->GetItemParams(i);
        ASSERT_TRUE(it.ItemKind == tkRect && it.FillColor == 0x80FF80u) << i;
    }
    // A legend of zero width (the middle half of the values all equal, coded by their
    // interquartile spread) gives the middle colour everywhere.
    view.RGColorScale->button(1)->setChecked(true);
    view.BButExecuteClick();
    EXPECT_EQ(view.LegendLow(), view.LegendHigh());
    for (double v : {0.0, 0.5, 1.0}) EXPECT_EQ(view.CalcColorCoding(v), 0x80FF80u);
}

TEST_F(ContourView, DataChangeAsksForRecalculation)
{
    Load(RandomSaliences());
    EXPECT_FALSE(view.RCCPlot->isHidden() || view.Plot3D1->isHidden());
    view.TEData->SetElem(3, 5, 0.95);
    EXPECT_TRUE(view.RCCPlot->isHidden() && view.Plot3D1->isHidden() && view.BButExecute->isEnabled());
    EXPECT_EQ(view.RecalculationRequiredMap->text(), "Recalculation required");
    EXPECT_FALSE(view.RecalculationRequiredMap->isHidden());
    view.BButExecute->click();
    EXPECT_FALSE(view.RCCPlot->isHidden() || view.BButExecute->isEnabled());
    EXPECT_EQ(view.LegendHigh(), 0.95);

    // Showing the window resets the colours and recalculates.
    view.CSMid->SetSelColor(clBlack);
    view.TEData->SetElem(3, 5, 0.97);
    view.show();
    EXPECT_EQ(view.CalcColorCoding((view.LegendLow() + view.LegendHigh()) / 2), 0x80FF80u);
    EXPECT_EQ(view.LegendHigh(), 0.97);
    EXPECT_FALSE(view.Plot3D1->isHidden() || view.BButExecute->isEnabled());
    EXPECT_EQ(view.TEData->PopupDMask(), 0);
    view.hide();
}

TEST_F(ContourView, MouseShowsFrequencyAndPlaysTheNote)
{
    Load(RandomSaliences());
    const TTextLabel& label = view.RCCPlot->TextLabels(1);
    // A null caption: the label hidden; a null note: nothing plays.
    const struct { double x, y; const char *caption, *note; } cases[] = {
        {3.02, 4.98, "Freq 587", "62 : mgD : D5"}, {3.03, 4.98, "Freq 587", nullptr},
        {1.0, 1.0, "Freq 33", "12 : mgC : C1"},    {12.0, 7.02, "Freq 3951", "95 : mgB : B7"},
        {0.4, 3.0, nullptr, nullptr},  {12.6, 3.0, nullptr, nullptr}, {5.0, 9.7, nullptr, nullptr},
        {5.0, -1.6, nullptr, nullptr}, {-1e9, 1e9, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        panel->NotePan->clear();
        view.RCCPlotMouseMoveInChart(c.x, c.y);
        EXPECT_EQ(label.Visible(), c.caption != nullptr) << c.x << "," << c.y;
        EXPECT_TRUE(!c.caption || (label.Caption() == c.caption && label.ColorBkg() == clYellow &&
                                   label.PosX() == c.x && label.PosY() == c.y)) << c.x << "," << c.y;
        EXPECT_EQ(panel->NotePan->text(), c.note ? c.note : "") << c.x << "," << c.y;
        // The read-outs: the position, and over the map the value of the rectangle drawn last under the pointer.
        TColor shown = 1;
        for (int i = 0; i < view.RCCPlot->NumItems(); ++i)
            if (const TrcChartItem it = view.RCCPlot->GetItemParams(i);
                it.ItemKind == tkRect && it.x <= c.x && c.x <= it.x2 && it.y <= c.y && c.y <= it.y2)
                shown = it.FillColor;
        EXPECT_TRUE(view.NLabX->Value() == c.x && view.NLabY->Value() == c.y && view.NLabZ->Empty() == !c.caption) << c.x;
        EXPECT_EQ(c.caption ? view.CalcColorCoding(view.NLabZ->Value()) : shown, shown) << c.x << "," << c.y;
    }
}

// A left click on a cell Edit<note 1..12><row 00..06> of the note-by-octave window plays that
// note in octave 7 - row when the cell holds a number above 9.99999e-05.
TEST_F(ContourView, SalienceCellsPlayTheirNoteAboveTheLowSalienceLimit)
{
    auto n = [](double v) { return QLocale().toString(v, 'g', 6); };
    const struct { const char* cell; QString text; Qt::MouseButton button; const char* caption; } cases[] = {
        {"Edit106", n(0.0001), Qt::LeftButton, "12 : mgC : C1"}, {"Edit1200", n(0.5), Qt::LeftButton, "95 : mgB : B7"},
        {"Edit1103", " " + n(1.5) + " ", Qt::LeftButton, "58 : mgA# : A#4"}, {"Edit500", n(0.5), Qt::RightButton, ""},
        {"Edit106", n(9.99999e-05), Qt::LeftButton, ""}, {"Edit706", "n/a", Qt::LeftButton, ""}};
    for (const auto& c : cases) {
        auto* cell = grid.findChild<QLineEdit*>(c.cell);
        cell->setText(c.text);
        panel->NotePan->clear();
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), cell->mapToGlobal(QPointF(2, 2)), c.button, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(cell, &release);
        EXPECT_EQ(panel->NotePan->text(), c.caption) << c.cell << " " << c.text.toStdString();
    }
}

TEST_F(ContourView, SurfaceLabelsAndViewSnapping)
{
    const struct { TP3ScaleKind kind; const char *in, *out; } labels[] = {
        {p3skX, "11.0", "A# "}, {p3skX, "0.0", "C "}, {p3skX, "1.0", "C "},  {p3skX, "2.0", "C#"},
        {p3skX, "12.0", "B "},  {p3skX, "13.0", ""},  {p3skX, "-1.0", ""},   {p3skY, "3.0", "Octave 3"},
        {p3skY, "3.5", "Octave 3.5"}, {p3skZ, "0.125", "Salience 0.125"}};
    for (const auto& l : labels) {
        QString text = l.in;
        TSmooth3DInterpolation::RelabelScale(l.kind, text);
        EXPECT_EQ(text, l.out) << l.in;
    }

    Load(RandomSaliences());
    view.show();
    view.PageControl1->setCurrentWidget(view.TS3DPlot);
    TPlot3D& plot = *view.Plot3D1;
    plot.SetViewAngleX(37.6);
    plot.SetViewAngleZ(400.4);  // wraps to 40.4
    plot.SetMagnification(1.234);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&plot, &release);
    EXPECT_EQ(plot.ViewAngleX(), 38);
    EXPECT_EQ(plot.ViewAngleZ(), 40);
    EXPECT_EQ(plot.Magnification(), 1.0);

    // The read-outs follow the scroll bars and a turn with the mouse.
    for (const auto& [bar, v] : {std::pair{view.ScrBarAngleZ, 200}, {view.ScrBarAngleX, 30}, {view.ScrBarMagnif, 50}, {view.ScrBarZScale, 120}})
        bar->setValue(v);
    auto shown = [&] { return std::tuple(view.NLabAngleZ->Value(), view.NLabAngleX->Value(), view.NLabMagnif->Value()); };
    EXPECT_TRUE(shown() == std::tuple(200.0, 30.0, 0.5) && view.NLabZScale->Value() == 120);
    plot.resize(400, 300);
    for (const auto& [type, at] : {std::pair{QEvent::MouseButtonPress, QPointF(100, 100)}, {QEvent::MouseMove, QPointF(140, 80)}}) {
        QMouseEvent e(type, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&plot, &e);
    }
    EXPECT_NE(plot.ViewAngleZ(), 200);
    EXPECT_EQ(shown(), std::tuple(plot.ViewAngleZ(), plot.ViewAngleX(), plot.Magnification()));
    view.hide();
}

TEST_F(ContourView, ParameterInputsKeepTheirFormatsAndLimits)
{
    Load(Stepped());
    // The neighbours: whole numbers up to 1000; each text after the kept one.
    view.CBoxAutoCalc->setChecked(false);
    for (const auto& [text, kept] : {std::pair{"1000", "1000"}, {"1001", "5"}, {"2.5", "5"}, {"0", "5"}}) {
        view.NIONumNb->SetText(kept);
        view.NIONumNb->SetText(text);
        EXPECT_EQ(view.NIONumNb->Text(), kept) << text;
    }
    EXPECT_TRUE(view.RCCPlot->isHidden() && view.BButExecute->isEnabled());  // awaiting the calculation
    EXPECT_EQ(view.RGWeighting->button(2)->parent()->property("title").toString() + "|" +
              view.RGColorScale->button(1)->parent()->property("title").toString(), "Weighting|Color Coding");
    view.CBoxAutoCalc->setChecked(true);
    // One neighbour, recalculated at once: node (6, 15), x = 0.78 + 6 * 11.44 / 30 = 3.07 (stored
    // reversed), y = 0.88 + 15 * 6.24 / 30 = 4, takes the salience of D in octave 4.
    view.NIONumNb->SetText("1");
    EXPECT_DOUBLE_EQ(view.Plot3D1->GridMat.GetVal(25, 15), S(3 * 12 + 3));
}

TEST_F(ContourView, ColourPresetsAndFiles)
{
    Load(Stepped());  // a map, recalculated on a preset
    auto colours = [&] {
        const double lo = view.LegendLow(), hi = view.LegendHigh();
        return std::vector<TColor>{view.CalcColorCoding(lo), view.CalcColorCoding((lo + hi) / 2), view.CalcColorCoding(hi)};
    };
    const std::vector<TColor> defaults{0xFF8080, 0x80FF80, 0x8080FF}, gray{0x000000, 0xC0C0C0, 0xFFFFFF};
    view.BButGrayScale->click();
    EXPECT_EQ(colours(), gray);
    EXPECT_EQ(view.RCColCode->GetItemParams(0).Color, 0u);  // the legend redrawn at once
    dialogs.SaveFileAnswers = {Path("gray.cpc"), std::nullopt, Path("no/such.cpc")};  // the second cancelled
    for (int i = 0; i < 3; ++i) view.BButStoreColors->click();
    EXPECT_EQ(dialogs.SaveFilters, QStringList(3, "Contour Plot Colors|*.cpc"));
    EXPECT_TRUE(dialogs.Messages.size() == 1 && dialogs.Messages[0].startsWith("Cannot write file \"" + Path("no/such.cpc") + "\": "));
    std::ifstream stored(dir / "gray.cpc", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stored), {}), "0\r\n12632256\r\n16777215\r\n");

    const QString refused = "The file \"" + Path("c.cpc") + "\" holds no contour plot colors: it must have three "
                            "lines, each the decimal number of one color (low, middle, high).";
    const struct { const char* bytes; bool good; } files[] = {
        {"0\n12632256\n16777215", true}, {"0\r\n12632256\r\n", false}, {"0\r\n12632256\r\n16777215\r\n1\r\n", false},
        {"0\r\n12632256\r\n0xFFFFFF\r\n", false}, {"0\r\n99999999999\r\n16777215\r\n", false}};
    for (const auto& f : files) {
        view.BButDefaultColors->click();
        Write("c.cpc", f.bytes);
        EXPECT_EQ(Open(view.BButLoadColors, "c.cpc"), f.good ? QStringList() : QStringList(refused)) << f.bytes;
        EXPECT_EQ(colours(), f.good ? gray : defaults) << f.bytes;
    }
    EXPECT_EQ(dialogs.Filters.back(), "Contour Plot Colors|*.cpc");
    // An editable colour of a selector is offered in the window's colour dialog.
    view.CSHigh->SetIsUserEditable(view.CSHigh->SelColorIx(), true);
    QMouseEvent overBar(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.CSHigh, &overBar);
    view.CSHigh->showPopup();
    view.CSHigh->hidePopup();
    EXPECT_EQ(dialogs.ColorRequests, QList<QColor>{ToQColor(view.CSHigh->SelColor())});
}

TEST_F(ContourView, DataFromAnAscFile)
{
    Load(Stepped());
    const std::string header = "points\r\n3\r\n5\r\nFALSE TRUE FALSE\r\nNote Octave Salience\r\n";
    Write("word.asc", header + "1 1 0.2\r\n12 one 0.4\r\n");
    std::filesystem::create_directory(dir / "folder.asc");
    const struct { const char *name, *message; } bad[] = {{"word.asc", "Cannot load file \"%1\": a number is unreadable or missing."},
        {"none.asc", "Cannot open file \"%1\": No such file or directory."}, {"folder.asc", "Cannot open file \"%1\": Is a directory."}};
    for (const auto& b : bad) {
        EXPECT_EQ(Open(view.BButLoadData, b.name), QStringList(QString(b.message).arg(Path(b.name))));
        EXPECT_TRUE(view.TEData->GetNrRows() == 84 && view.TEData->GetElem(3, 84) == S(84) &&
                    view.TEData->GetElem(2, 2) == 1.0 && !view.RCCPlot->isHidden()) << b.name;
    }
    Write("good.asc", header + "1 1 0.2\r\n12 1 0.4\r\n1 7 0.6\r\n12 7 0.8\r\n6 4 0.1\r\n");
    EXPECT_TRUE(Open(view.BButLoadData, "good.asc").isEmpty());
    EXPECT_EQ(dialogs.Filters.back(), "Data (ASC Format)|*.asc");
    EXPECT_TRUE(view.TEData->GetNrCols() == 3 && view.TEData->GetNrRows() == 5 && view.TEData->GetColName(3) == "Salience" &&
                view.TEData->GetElem(1, 2) == 12 && view.TEData->GetElem(3, 5) == 0.1);
    EXPECT_TRUE(view.LegendLow() == 0.1 && view.LegendHigh() == 0.8 && view.RCCPlot->ItemCount(tkMarkAt) == 5 &&
                !view.RCCPlot->isHidden() && !view.BButExecute->isEnabled());
    // A table of two columns, then the salience again: all three columns come back.
    Write("two.asc", "c\r\n2\r\n1\r\nFALSE FALSE FALSE\r\n1 2\r\n");
    Open(view.BButLoadData, "two.asc");
    view.MeanPitchSalienceClick();
    EXPECT_TRUE(view.TEData->GetNrCols() == 3 && view.TEData->GetNrRows() == 84 && view.TEData->GetElem(3, 84) == S(84));
    view.DataSetButtons[5]->click();  // the last further data set: its empty table, recalculated
    EXPECT_TRUE(!view.DataSetButtons[5]->isChecked() && view.DataSetTables[5]->isHidden() && view.TEData->GetElem(3, 1) == 0 &&
                view.LegendLow() == -0.1 && view.LegendHigh() == 0.1 && !view.BButExecute->isEnabled());
}

}  // namespace
