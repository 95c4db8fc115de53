// The contour view's hidden controls: the parameter inputs, the colour presets and ".cpc" files,
// the ASC data import, the further data sets and the read-outs.
#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "support/TempDir.h"
#include "views/Smooth3DInterpolation.h"

using namespace oxw;

namespace {

class ContourHidden : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.SetDialogs(&dialogs);
        for (int r = 1; r <= 84; ++r)
            for (int c = 1; c <= 3; ++c)
                view.MeanPitchSalienceNTabEd1->SetElem(c, r, c == 1 ? (r - 1) % 12 + 1 : c == 2 ? (r - 1) / 12 + 1 : S(r));
        view.MeanPitchSalienceClick();
    }
    QString Path(const std::string& name) const { return QString::fromStdString((dir / name).string()); }
    void Write(const std::string& name, const std::string& bytes) { std::ofstream(dir / name, std::ios::binary) << bytes; }
    QStringList Open(QPushButton* button, const std::string& name)
    {
        dialogs.Messages.clear();
        dialogs.FileAnswers = {Path(name)};
        button->click();
        return dialogs.Messages;
    }

    test::TempDir dir{"contour"};
    platform::ScriptedDialogs dialogs;
    views::TSmooth3DInterpolation view;
    static double S(int row) { return row * 37 % 80 / 100.0; }  // salience of row (octave - 1) * 12 + note
};

TEST_F(ContourHidden, ParameterInputsKeepTheirFormatsAndLimits)
{
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

TEST_F(ContourHidden, ColourPresetsAndFiles)
{
    auto colours = [&](double lo, double hi) {
        return std::vector<TColor>{view.CalcColorCoding(lo), view.CalcColorCoding((lo + hi) / 2), view.CalcColorCoding(hi)};
    };
    const std::vector<TColor> defaults{0xFF8080, 0x80FF80, 0x8080FF}, gray{0x000000, 0xC0C0C0, 0xFFFFFF};
    view.BButGrayScale->click();
    EXPECT_EQ(colours(view.LegendLow(), view.LegendHigh()), gray);
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
        EXPECT_EQ(colours(view.LegendLow(), view.LegendHigh()), f.good ? gray : defaults) << f.bytes;
    }
    EXPECT_EQ(dialogs.Filters.back(), "Contour Plot Colors|*.cpc");
}

TEST_F(ContourHidden, DataFromAnAscFile)
{
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

TEST_F(ContourHidden, ReadOutsFollowThePointerAndTheView)
{
    // Over the map: the position, and the value of the rectangle drawn last under the pointer.
    for (const auto& [x, y] : {std::pair{3.02, 4.98}, {0.8, 0.9}, {12.2, 7.1}}) {
        view.RCCPlotMouseMoveInChart(x, y);
        EXPECT_TRUE(view.NLabX->Value() == x && view.NLabY->Value() == y && !view.NLabZ->Empty());
        TColor shown = 1;
        for (int i = 0; i < view.RCCPlot->NumItems(); ++i)
            if (const TrcChartItem it = view.RCCPlot->GetItemParams(i);
                it.ItemKind == tkRect && it.x <= x && x <= it.x2 && it.y <= y && y <= it.y2)
                shown = it.FillColor;
        EXPECT_EQ(view.CalcColorCoding(view.NLabZ->Value()), shown) << x << "," << y;
    }
    view.RCCPlotMouseMoveInChart(0.5, 3.0);  // over the margin
    EXPECT_TRUE(view.NLabX->Value() == 0.5 && view.NLabZ->Empty());

    for (const auto& [bar, v] : {std::pair{view.ScrBarAngleZ, 200}, {view.ScrBarAngleX, 30}, {view.ScrBarMagnif, 50}, {view.ScrBarZScale, 120}})
        bar->setValue(v);
    auto shown = [&] { return std::tuple(view.NLabAngleZ->Value(), view.NLabAngleX->Value(), view.NLabMagnif->Value()); };
    EXPECT_TRUE(shown() == std::tuple(200.0, 30.0, 0.5) && view.NLabZScale->Value() == 120);
    TPlot3D& plot = *view.Plot3D1;  // turned with the mouse
    plot.resize(400, 300);
    for (const auto& [type, at] : {std::pair{QEvent::MouseButtonPress, QPointF(100, 100)}, {QEvent::MouseMove, QPointF(140, 80)}}) {
        QMouseEvent e(type, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&plot, &e);
    }
    EXPECT_NE(plot.ViewAngleZ(), 200);
    EXPECT_EQ(shown(), std::tuple(plot.ViewAngleZ(), plot.ViewAngleX(), plot.Magnification()));
}

}  // namespace
