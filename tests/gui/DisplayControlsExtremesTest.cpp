// The display controls with every setter at the ends of what it accepts: painting must not fail
// (the sanitizer build checks for undefined behaviour on the way) and values stay finite.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cmath>
#include <limits>

#include "controls/Meter.h"
#include "controls/NumIO.h"
#include "controls/NumLab.h"
#include "controls/ProgBar.h"

namespace {

constexpr int kInts[] = {INT_MIN, -1000000, -1, 0, 1, 1000000, INT_MAX};
constexpr double kDoubles[] = {-std::numeric_limits<double>::infinity(), -1.7e308, -0.5, 0, 1e-300, 3, 1.7e308,
                               std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};

TEST(DisplayControlsExtremes, ProgBarMeterNumLabNumIO)
{
    for (int i : kInts) {
        for (TDirection d : {dirUpward, dirDownward, dirLeftward, dirRightward}) {
            TProgBar bar;
            bar.SetDirection(d);
            bar.SetShowColorGradient(i % 2 != 0);
            bar.SetColorMapMode(static_cast<TColorMapping>(std::abs(i % 3)));
            for (auto set : {&TProgBar::SetMarginLeft, &TProgBar::SetMarginRight, &TProgBar::SetMarginTop,
                             &TProgBar::SetMarginBottom, &TProgBar::SetGridDist, &TProgBar::SetTextDecPlaces,
                             &TProgBar::SetTextAngle, &TProgBar::SetTextPosX, &TProgBar::SetTextPosY})
                (bar.*set)(i);
            for (double v : kDoubles) {
                bar.SetValue(v);
                bar.SetMin(-v);
                bar.PaintImage();
            }
        }
        for (TMeterLayout l : {mlCirc90, mlCirc180, mlCirc360}) {
            TMeter m;
            m.SetMeterLayout(l);
            m.SetRimBottom(i);
            m.SetRimSide(i / 3);
            m.SetRimTop(i / 7);
            m.SetAnchorSize(i);
            m.SetMeterNrTicks(i);
            m.SetMeterDecPlaces(i);
            m.SetScaleBkVisible(true);
            m.SetScaleBkWidth(i);
            TNeedleLayout n;
            for (auto set : {&TNeedleLayout::SetHeadSize, &TNeedleLayout::SetThickness, &TNeedleLayout::SetHeadMidLeng,
                             &TNeedleLayout::SetShadowDx, &TNeedleLayout::SetShadowDy,
                             &TNeedleLayout::SetPercentNeedleLength, &TNeedleLayout::SetHeadAngle})
                (n.*set)(i);
            m.SetNeedleLayout(n);
            m.resize(297, 209 + (i & 1));  // the layout follows the rims at a resize
            for (double v : kDoubles) {
                m.SetMeterMaxValue(v);
                m.SetMeterMinValue(-v);
                m.SetThresholdLow(v);
                m.SetThresholdHigh(-v);
                m.SetValue(v);
                m.PaintImage();
                double read = 0;
                m.ConvertPixelToValue(i, -(i / 2), read);
            }
        }
        TNumLab lab;
        lab.SetLabelWidth(i);
        lab.SetLeftSpace(i);
        lab.SetPrecision(i);
        lab.SetLeftText("L");
        lab.SetRightText("R");
        for (int t = dtFloat; t <= dtDegMinSec; ++t) {
            lab.SetDisplayType(static_cast<TDisplay>(t));
            for (double v : kDoubles) {
                lab.SetValue(v);
                lab.PaintImage();
            }
        }
    }
    for (double v : kDoubles) {
        TNumIO edit;
        edit.SetRangeLow(v);
        edit.SetRangeHigh(-v);
        edit.SetFixPointDecPlaces(static_cast<int>(v > 0 ? 1e9 : -1e9));
        for (int f = itExp; f <= itDynamic; ++f) {
            edit.SetInputFormat(static_cast<TInFormat>(f));
            for (const QString& t : {QString(400, '9'), "$" + QString(40, 'f'), QString("1e99999999")}) {
                edit.SetText(t);
                EXPECT_TRUE(std::isfinite(edit.Value()));
            }
        }
    }
}

}  // namespace
