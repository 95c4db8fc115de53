// The contour view's hidden controls called directly: the parameter inputs' formats and limits,
// the colour presets and ".cpc" files, the ASC data import, the read-outs and the further data
// sets.
#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "support/TempDir.h"
#include "views/Smooth3DInterpolation.h"

using namespace oxw;

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ContourHidden : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.SetDialogs(&dialogs);
        std::mt19937 gen(7);
        std::uniform_real_distribution<double> u(0.0, 0.8);
        TNTabEd* t = view.MeanPitchSalienceNTabEd1;
        for (int r = 1; r <= 84; ++r) {
            s.push_back(u(gen));
            t->SetElem(1, r, (r - 1) % 12 + 1);
            t->SetElem(2, r, (r - 1) / 12 + 1);
            t->SetElem(3, r, s.back());
        }
        view.MeanPitchSalienceClick();
    }
    QString Path(const std::string& name) const { return QString::fromStdString((dir / name).string()); }

    test::TempDir dir{"contour"};
    platform::ScriptedDialogs dialogs;
    views::TSmooth3DInterpolation view;
    std::vector<double> s;  // salience of row (octave - 1) * 12 + note
};

TEST_F(ContourHidden, ParameterInputsKeepTheirFormatsAndLimits)
{
    const struct { TNumIO* io; const char *text, *kept; } cases[] = {
        {view.NIONumNb, "1000", "1000"}, {view.NIONumNb, "1001", "5"}, {view.NIONumNb, "2.5", "5"},
        {view.NIONumNb, "$10", "5"},     {view.NIONumNb, "0", "5"},     {view.NIOResol, "250", "250"},
        {view.NIOResol, "251", "30"},    {view.NIOResol, "0", "30"},    {view.NIOSmooth, "10", "10"},
        {view.NIOSmooth, "10.5", "1.5"},
    };
    view.CBoxAutoCalc->setChecked(false);  // no grid of 250 x 250 for the limits
    for (const auto& c : cases) {
        c.io->SetText(c.kept);  // the design value, or the accepted one
        c.io->SetText(c.text);
        EXPECT_EQ(c.io->Text(), c.kept) << c.text;
    }
    view.NIOResol->SetText("30");
    view.NIOSmooth->SetText("1.5");
    EXPECT_TRUE(view.RCCPlot->isHidden() && view.BButExecute->isEnabled());
    view.CBoxAutoCalc->setChecked(true);

    // One neighbour, recalculated at once: each node takes the salience of the nearest note and
    // octave (on the regular grid the nearest point lies nearest along each axis).
    view.NIONumNb->SetText("1");
    const TMatrix& g = view.Plot3D1->GridMat;
    const double dx = (12.22 - 0.78) / 30, dy = (7.12 - 0.88) / 30;
    int checked = 0;
    for (int i = 1; i <= 30; ++i)
        for (int j = 1; j <= 30; ++j) {
            const double x = std::clamp(0.78 + i * dx, 1.0, 12.0), y = std::clamp(0.88 + j * dy, 1.0, 7.0);
            if (std::abs(x - std::floor(x) - 0.5) < 1e-6 || std::abs(y - std::floor(y) - 0.5) < 1e-6) continue;
            const long n = std::lround(x), o = std::lround(y);
            ASSERT_DOUBLE_EQ(g.GetVal(31 - i, j), s[static_cast<std::size_t>((o - 1) * 12 + n - 1)]) << i << "," << j;
            ++checked;
        }
    EXPECT_GT(checked, 800);
}

TEST_F(ContourHidden, ColourPresetsAndFiles)
{
    const double lo = view.LegendLow(), mid = (lo + view.LegendHigh()) / 2, hi = view.LegendHigh();
    auto colours = [&] {
        return std::vector<TColor>{view.CalcColorCoding(lo), view.CalcColorCoding(mid), view.CalcColorCoding(hi)};
    };
    const std::vector<TColor> defaults{0xFF8080, 0x80FF80, 0x8080FF}, gray{0x000000, 0xC0C0C0, 0xFFFFFF};
    view.BButGrayScale->click();
    EXPECT_EQ(colours(), gray);
    EXPECT_EQ(view.RCColCode->GetItemParams(0).Color, 0u);  // the legend redrawn at once
    dialogs.SaveFileAnswers = {Path("gray.cpc"), std::nullopt, Path("no/such.cpc")};
    view.BButStoreColors->click();
    view.BButStoreColors->click();  // cancelled: nothing written
    view.BButStoreColors->click();  // a folder that does not exist
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].startsWith("Cannot write file \"" + Path("no/such.cpc") + "\": "));
    EXPECT_EQ(ReadFile(dir / "gray.cpc"), "0\r\n12632256\r\n16777215\r\n");
    EXPECT_EQ(dialogs.SaveFilters, QStringList(3, "Contour Plot Colors|*.cpc"));
    view.BButDefaultColors->click();
    EXPECT_EQ(colours(), defaults);

    const struct { const char* bytes; bool good; } files[] = {
        {"0\n12632256\n16777215\n", true}, {" 0 \r\n12632256\r\n16777215", true},
        {"0\r\n12632256\r\n", false},      {"0\r\n12632256\r\n16777215\r\n1\r\n", false},
        {"0\r\n\r\n12632256\r\n16777215\r\n", false}, {"0\r\n0xC0C0C0\r\n16777215\r\n", false},
        {"0\r\n1.5\r\n16777215\r\n", false}, {"0\r\n99999999999\r\n16777215\r\n", false}, {"", false},
    };
    for (const auto& f : files) {
        view.BButDefaultColors->click();
        WriteFile(dir / "c.cpc", f.bytes);
        dialogs.Messages.clear();
        dialogs.FileAnswers = {Path("c.cpc")};
        view.BButLoadColors->click();
        EXPECT_EQ(colours(), f.good ? gray : defaults) << f.bytes;
        EXPECT_EQ(dialogs.Messages, f.good ? QStringList() : QStringList(
            "The file \"" + Path("c.cpc") + "\" holds no contour plot colors: it must have three lines, each "
            "the decimal number of one color (low, middle, high).")) << f.bytes;
    }
    view.BButDefaultColors->click();
    dialogs.Messages.clear();
    dialogs.FileAnswers = {Path("none.cpc")};
    view.BButLoadColors->click();
    EXPECT_EQ(dialogs.Messages, QStringList("Cannot open file \"" + Path("none.cpc") + "\": No such file or directory."));
    EXPECT_EQ(colours(), defaults);
    EXPECT_EQ(dialogs.Filters.back(), "Contour Plot Colors|*.cpc");
}

TEST_F(ContourHidden, DataFromAnAscFile)
{
    const std::string header = "points\r\n3\r\n5\r\nFALSE TRUE FALSE\r\nNote Octave Salience\r\n";
    const std::string rows = "1 1 0.2\r\n12 1 0.4\r\n1 7 0.6\r\n12 7 0.8\r\n6 4 0.1\r\n";
    std::string lf = header + rows;
    for (std::size_t at; (at = lf.find('\r')) != std::string::npos;) lf.erase(at, 1);
    const struct { const char* name; std::string bytes; const char* why; } bad[] = {
        {"lf.asc", lf, "its lines do not end in CR LF, or its table has no columns or no rows"},
        {"word.asc", header + "1 1 0.2\r\n12 one 0.4\r\n", "a number is unreadable or missing"},
    };
    for (const auto& b : bad) {
        WriteFile(dir / b.name, b.bytes);
        dialogs.Messages.clear();
        dialogs.FileAnswers = {Path(b.name)};
        view.BButLoadData->click();
        EXPECT_EQ(dialogs.Messages, QStringList("Cannot load file \"" + Path(b.name) + "\": " + b.why + "."));
        EXPECT_TRUE(view.TEData->GetNrRows() == 84 && view.TEData->GetElem(3, 84) == s[83] &&
                    view.TEData->GetElem(2, 2) == 1.0 && !view.RCCPlot->isHidden()) << b.name;
    }
    dialogs.Messages.clear();
    dialogs.FileAnswers = {Path("none.asc")};
    view.BButLoadData->click();
    EXPECT_EQ(dialogs.Messages, QStringList("Cannot open file \"" + Path("none.asc") + "\": No such file or directory."));
    EXPECT_EQ(view.TEData->GetNrRows(), 84);

    WriteFile(dir / "good.asc", header + rows);
    dialogs.FileAnswers = {Path("good.asc")};
    view.BButLoadData->click();
    EXPECT_EQ(dialogs.Filters.back(), "Data (ASC Format)|*.asc");
    EXPECT_TRUE(view.TEData->GetNrCols() == 3 && view.TEData->GetNrRows() == 5);
    EXPECT_TRUE(view.TEData->GetColName(3) == "Salience" && view.TEData->GetElem(1, 2) == 12 &&
                view.TEData->GetElem(3, 5) == 0.1);
    // Recalculated over the new points.
    EXPECT_TRUE(view.LegendLow() == 0.1 && view.LegendHigh() == 0.8);
    EXPECT_EQ(view.RCCPlot->ItemCount(tkMarkAt), 5);
    EXPECT_FALSE(view.RCCPlot->isHidden() || view.BButExecute->isEnabled());

    // A table of two columns, then the salience again: all three columns come back.
    WriteFile(dir / "two.asc", "c\r\n2\r\n1\r\nFALSE FALSE FALSE\r\n1 2\r\n");
    dialogs.FileAnswers = {Path("two.asc")};
    view.BButLoadData->click();
    ASSERT_EQ(view.TEData->GetNrCols(), 2);
    view.MeanPitchSalienceClick();
    EXPECT_TRUE(view.TEData->GetNrRows() == 84 && view.TEData->GetElem(3, 84) == s[83]);
}

TEST_F(ContourHidden, ReadOutsFollowThePointerAndTheView)
{
    // Over the map: the position, and the value of the rectangle drawn last under the pointer.
    TRChart& map = *view.RCCPlot;
    for (const auto& [x, y] : {std::pair{3.02, 4.98}, {0.8, 0.9}, {12.2, 7.1}, {6.1, 4.05}}) {
        view.RCCPlotMouseMoveInChart(x, y);
        EXPECT_TRUE(view.NLabX->Value() == x && view.NLabY->Value() == y && !view.NLabZ->Empty());
        TColor shown = 1;
        for (int i = 0; i < map.NumItems(); ++i) {
            const TrcChartItem it = map.GetItemParams(i);
            if (it.ItemKind == tkRect && it.x <= x && x <= it.x2 && it.y <= y && y <= it.y2) shown = it.FillColor;
        }
        EXPECT_EQ(view.CalcColorCoding(view.NLabZ->Value()), shown) << x << "," << y;
    }
    view.RCCPlotMouseMoveInChart(0.5, 3.0);  // over the margin
    EXPECT_TRUE(view.NLabX->Value() == 0.5 && view.NLabZ->Empty());

    view.ScrBarAngleZ->setValue(200);
    view.ScrBarAngleX->setValue(30);
    view.ScrBarMagnif->setValue(50);
    view.ScrBarZScale->setValue(120);
    EXPECT_TRUE(view.NLabAngleZ->Value() == 200 && view.NLabAngleX->Value() == 30 &&
                view.NLabMagnif->Value() == 0.5 && view.NLabZScale->Value() == 120);
    EXPECT_EQ(view.NLabAngleZ->DisplayText(), "200.00");

    // Turning the surface with the mouse.
    TPlot3D& plot = *view.Plot3D1;
    plot.resize(400, 300);
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), plot.mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&plot, &e);
    };
    send(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    send(QEvent::MouseMove, {140, 80}, Qt::LeftButton);
    EXPECT_NE(plot.ViewAngleZ(), 200);
    EXPECT_TRUE(view.NLabAngleZ->Value() == plot.ViewAngleZ() && view.NLabAngleX->Value() == plot.ViewAngleX() &&
                view.NLabMagnif->Value() == plot.Magnification());
}

TEST_F(ContourHidden, FurtherDataSetsShowTheirEmptyTables)
{
    for (int i = 0; i < views::TSmooth3DInterpolation::NumDataSets; ++i) {
        view.MeanPitchSalienceClick();  // back to the salience
        platform::RadioButton* button = view.DataSetButtons[static_cast<std::size_t>(i)];
        button->click();
        const TNTabEd& table = *view.DataSetTables[static_cast<std::size_t>(i)];
        EXPECT_TRUE(table.isHidden() && !button->isChecked());
        EXPECT_EQ(view.TEData->GetNrRows(), table.GetNrRows());
        EXPECT_TRUE(view.TEData->GetElem(3, 1) == 0 && view.LegendLow() == -0.1 && view.LegendHigh() == 0.1);
        EXPECT_FALSE(view.Plot3D1->isHidden() || view.BButExecute->isEnabled());
    }
}

}  // namespace
