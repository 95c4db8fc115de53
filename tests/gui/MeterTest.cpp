// TMeter: layout by the formulas of each arc, pixels at positions worked out from the centre,
// the radius and theta(v) = (arc/2 + 90) - (v - min)/(max - min) * arc, thresholds and events.
#include "controls/Meter.h"

#include <QColor>
#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Canvas.h"

namespace {

QColor At(const QImage& im, QPoint p) { return QColor(im.pixel(p)); }

// The pixel at distance d from the centre in the direction of value v (default 0..1, 90 degrees).
QPoint PixelOf(const TMeter& m, double v, double d)
{
    const double lo = m.MeterMinValue(), hi = m.MeterMaxValue();
    const double theta = (m.MeterAngle() / 2.0 + 90) - (v - lo) / (hi - lo) * m.MeterAngle();
    const double rad = theta * std::numbers::pi / 180;
    return {int(std::lround(m.OriginX() + d * std::cos(rad))), int(std::lround(m.OriginY() - d * std::sin(rad)))};
}

TEST(Meter, LayoutPerArc)
{
    // 297 x 209, rims 10 (bottom), 10 (side), 8 (top): R0 = 175, W/2 = 148.5, W div 2 = 148.
    const struct { TMeterLayout layout; int angle; double radius; int cy; } cases[] = {
        {mlCirc90, 90, 175, 191},                    // min(175, 130.5 * 1.414)
        {mlCirc120, 120, 130.5 * 1.1547, 191},
        {mlCirc180, 180, 130, 191},                  // min(148 - 18, 175)
        {mlCirc270, 270, 175 / 1.7071, 119},         // centre y = Round(16 + 102.51)
        {mlCirc300, 300, 175 / 1.866, 110},
        {mlCirc360, 360, 87.5, 104},                 // Round(103.5): halves to even
    };
    for (const auto& c : cases) {
        TMeter m;
        m.SetMeterLayout(c.layout);
        EXPECT_DOUBLE_EQ(m.ScaleRadius(), c.radius) << c.layout;
        EXPECT_EQ(std::tuple(m.MeterAngle(), m.OriginX(), m.OriginY()), std::tuple(c.angle, 148, c.cy)) << c.layout;
    }
    TMeter narrow;
    narrow.resize(400, 100);  // the height limits: R0 = 100 - 34
    EXPECT_DOUBLE_EQ(narrow.ScaleRadius(), 66);
    EXPECT_EQ(narrow.OriginY(), 82);
    narrow.resize(30, 209);  // narrower than the rims: nothing painted
    EXPECT_LT(narrow.ScaleRadius(), 0);
    EXPECT_TRUE(narrow.PaintImage().isNull());
}

TEST(Meter, NeedleOutlinePassesThroughComputedPixels)
{
    const struct { double value; QPoint pixel; } cases[] = {
        {1, {219, 120}}, {0.5, {148, 91}}, {0, {77, 120}},
    };
    for (const auto& c : cases) {
        TMeter m;
        m.SetValue(c.value);
        const QImage im = m.PaintImage();
        EXPECT_EQ(PixelOf(m, c.value, 100), c.pixel);
        EXPECT_EQ(At(im, c.pixel), QColor(Qt::black)) << c.value;
        EXPECT_EQ(At(im, PixelOf(m, c.value + (c.value < 0.5 ? 0.25 : -0.25), 100)), QColor(Qt::white)) << c.value;
    }
}

// The questionnaire's meter (0..3, thresholds 1.11 and 1.63, scale hidden, bands silver,
// yellow, olive), here with a band width of 50 % of the radius.
struct QuestionnaireMeter : TMeter {
    QuestionnaireMeter()
    {
        SetMeterMaxValue(3);
        SetThresholdHigh(1.63);
        SetThresholdLow(1.11);
        SetLimWatchHighOn(true);
        SetLimWatchLowOn(true);
        SetScaleVisible(false);
        SetScaleBkVisible(true);
        SetColorSclBkLow(clSilver);
        SetColorSclBkNorm(clYellow);
        SetColorSclBkHigh(clOlive);
        SetScaleBkWidth(50);
    }
};

TEST(Meter, BandsInTheRingBetweenTheDiscAndTheRadius)
{
    QuestionnaireMeter m;
    const QImage im = m.PaintImage();
    // Ring from Round(50 * 175 / 100) = 88 to Round(175 + 4) = 179 pixels.
    // Inside the disc (60) and beyond the pies (182) white.
    const struct { double v, d; QColor c; } pixels[] = {{0.5, 130, Qt::lightGray}, {1.4, 130, Qt::yellow},
        {2.5, 130, QColor(128, 128, 0)}, {1.4, 60, Qt::white}, {1.4, 182, Qt::white}};
    for (const auto& p : pixels)
        EXPECT_EQ(At(im, PixelOf(m, p.v, p.d)), p.c) << p.v << " at " << p.d;
}

TEST(Meter, ValueLightsTheLampsAndFiresTheEvents)
{
    QuestionnaireMeter m;
    std::string events;
    m.OnOverFlow = [&](TMeter*) { events += 'O'; };
    m.OnUnderFlow = [&](TMeter*) { events += 'U'; };
    m.OnNormalRange = [&](TMeter*) { events += 'N'; };
    const struct { double set, stored; bool high, low; const char* events; } steps[] = {
        {2.5, 2.5, true, false, "O"},
        {2.5, 2.5, true, false, ""},     // the same value: nothing
        {1.4, 1.4, false, false, "N"},
        {1.63, 1.63, true, false, "O"},  // at a threshold the lamp lights
        {1.11, 1.11, false, true, "U"},
        {-4, 0, false, true, "U"},       // clamped into the range
        {7, 3, true, false, "O"},
        {std::numeric_limits<double>::quiet_NaN(), 3, true, false, ""},  // ignored
    };
    // High lamp: a 10 x 10 square at (297 - 10 - 18, 8 + 8); low lamp at (10 + 8, 16).
    const QPoint high(274, 21), low(23, 21);
    for (const auto& s : steps) {
        events.clear();
        m.SetValue(s.set);
        EXPECT_EQ(std::tuple(m.Value(), m.Overflow(), m.Underflow(), events), std::tuple(s.stored, s.high, s.low, std::string(s.events)))
            << s.set;
        const QImage im = m.PaintImage();
        EXPECT_EQ(At(im, high), s.high ? QColor(Qt::red) : QColor(128, 128, 128)) << s.set;
        EXPECT_EQ(At(im, low), s.low ? QColor(Qt::red) : QColor(128, 128, 128)) << s.set;
    }
    // A hidden first needle fires nothing and is still drawn.
    m.NeedleLayoutRef().SetVisible(false);
    events.clear();
    m.SetValue(1.4);
    EXPECT_EQ(events, "");
    EXPECT_FALSE(m.Overflow());
    EXPECT_EQ(At(m.PaintImage(), PixelOf(m, 1.4, 60)), QColor(Qt::black));
    // Thresholds set on their own report too.
    m.SetThresholdLow(2);
    EXPECT_TRUE(m.Underflow());
    EXPECT_EQ(events, "U");
    m.SetThresholdHigh(1);  // the low threshold makes way
    EXPECT_EQ(m.ThresholdLow(), 1);
    EXPECT_TRUE(m.Overflow());
}

TEST(Meter, RangeEndsKeepTheirOrderAndCarryTheValues)
{
    TMeter m;
    m.SetThresholdLow(0.3);
    m.SetThresholdHigh(0.7);
    m.SetValue(0.5);
    auto state = [&] { return std::tuple(m.MeterMinValue(), m.MeterMaxValue(), m.Value(), m.ThresholdLow(), m.ThresholdHigh()); };
    m.SetMeterMinValue(5);  // at or above the maximum: the maximum becomes 6
    EXPECT_EQ(state(), std::tuple(5.0, 6.0, 5.0, 5.0, 5.0));
    m.SetMeterMaxValue(-2);  // the mirror
    EXPECT_EQ(state(), std::tuple(-3.0, -2.0, -2.0, -2.0, -2.0));
    m.SetMeterMinValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(m.MeterMinValue(), -3);
    // While loading the setters only store; Loaded clamps the value.
    TMeter loading;
    loading.BeginLoading();
    loading.SetValue(2.5);
    loading.SetThresholdHigh(2);
    loading.SetMeterMaxValue(3);
    EXPECT_EQ(loading.Value(), 2.5);
    loading.SetMeterMaxValue(2);
    loading.Loaded();
    EXPECT_EQ(std::pair(loading.Value(), loading.ThresholdHigh()), std::pair(2.0, 2.0));
}

TEST(Meter, PixelToValueAlongTheArc)
{
    TMeter m;
    m.SetMeterMaxValue(3);
    const struct { int x, y; bool in; double value; } cases[] = {
        {148, 50, true, 1.5},     // straight above the centre: the middle
        {248, 91, true, 3},       // 45 degrees to the right: the maximum end
        {48, 91, true, 0},
        {248, 191, false, 0},     // level with the centre: outside the arc
        {148, 250, false, 0},
    };
    for (const auto& c : cases) {
        double v = -1;
        EXPECT_EQ(m.ConvertPixelToValue(c.x, c.y, v), c.in) << c.x << "," << c.y;
        EXPECT_NEAR(v, c.value, 1e-12) << c.x << "," << c.y;
    }
    bool inMeter = false;
    double moved = -1;
    m.OnMouseMoveInMeter = [&](TMeter*, bool in, Qt::KeyboardModifiers, double v) {
        inMeter = in;
        moved = v;
    };
    QMouseEvent move(QEvent::MouseMove, QPointF(148, 50), QPointF(148, 50), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&m, &move);
    EXPECT_TRUE(inMeter);
    EXPECT_DOUBLE_EQ(moved, 1.5);
}

TEST(Meter, ScaleLabelsAndTicksFromTheScaleRule)
{
    TMeter m;
    std::vector<QString> labels;
    m.OnBeforeDrawScaleLabel = [&](oxw::platform::Canvas&, QString& text, int, int) {
        labels.push_back(text);
        if (text == "1.0") text.clear();  // an emptied label is not drawn
    };
    const QImage im = m.PaintImage();
    EXPECT_EQ(labels, (std::vector<QString>{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
    // Straight up from the centre (148, 191) the scale line lies at y = 191 - 175 = 16; the short
    // tick at 0.5 (step 0.2 / 4) reaches 4 pixels in, a long tick 8.
    EXPECT_EQ(At(im, {148, 18}), QColor(0, 0, 128));
    EXPECT_EQ(At(im, {148, 20}), QColor(Qt::white));
    TMeter two;
    two.SetMeterMaxValue(2);  // step 0.5: a long tick at the middle
    const QImage twoIm = two.PaintImage();
    EXPECT_EQ(At(twoIm, {148, 22}), QColor(0, 0, 128));
    EXPECT_EQ(At(twoIm, {148, 24}), QColor(Qt::white));
}

// Each limit: the last value taken and the first refused (held at the limit), at both ends.
TEST(Meter, SetterLimits)
{
    TMeter m;
    TNeedleLayout& n = m.NeedleLayoutRef();
    const struct { const char* what; std::function<void(int)> set; std::function<double()> get; int lo, hi; } cases[] = {
        {"DecPlaces", [&](int v) { m.SetMeterDecPlaces(v); }, [&] { return m.MeterDecPlaces(); }, 0, 4},
        {"NrTicks", [&](int v) { m.SetMeterNrTicks(v); }, [&] { return m.MeterNrTicks(); }, 2, 21},
        {"ScaleBkWidth", [&](int v) { m.SetScaleBkWidth(v); }, [&] { return m.ScaleBkWidth(); }, 0, 100},
        {"NeedleLength", [&](int v) { n.SetPercentNeedleLength(v); }, [&] { return n.PercentNeedleLength(); }, 0, 100},
        {"HeadAngle", [&](int v) { n.SetHeadAngle(v); }, [&] { return n.HeadAngle(); }, 0, 180},
    };
    for (const auto& c : cases) {
        for (const auto& [in, out] : {std::pair{c.lo - 1, c.lo}, {c.lo, c.lo}, {c.hi, c.hi}, {c.hi + 1, c.hi}}) {
            c.set(in);
            EXPECT_EQ(c.get(), out) << c.what << " " << in;
        }
    }
}

TEST(Meter, RangesWithoutWidthDrawNoTicksAndPutEverythingAtTheMinimum)
{
    TMeter m;
    m.SetValue(0.5);
    m.SetScaleBkVisible(true);
    m.SetMeterMinValue(1e17);  // the maximum 1E17 + 1 equals 1E17
    EXPECT_EQ(m.MeterMaxValue(), m.MeterMinValue());
    std::vector<QString> labels;
    m.OnBeforeDrawScaleLabel = [&](oxw::platform::Canvas&, QString& text, int, int) { labels.push_back(text); };
    const QImage im = m.PaintImage();
    EXPECT_TRUE(labels.empty());
    EXPECT_EQ(At(im, {77, 120}), QColor(Qt::black));  // the needle at the minimum end
}

TEST(Meter, SecondNeedleOnlyWhenShown)
{
    TMeter m;
    m.SetValueSec(1);
    const QPoint atMax = PixelOf(m, 1, 100);
    EXPECT_EQ(At(m.PaintImage(), atMax), QColor(Qt::white));
    m.NeedleLayoutSecRef().SetVisible(true);
    EXPECT_EQ(At(m.PaintImage(), atMax), QColor(Qt::black));
    int changes = m.PaintRequests();
    TNeedleLayout look;
    look.SetColorOutline(clRed);
    m.SetNeedleLayout(look);
    EXPECT_GT(m.PaintRequests(), changes);
    EXPECT_EQ(At(m.PaintImage(), PixelOf(m, 0, 100)), QColor(Qt::red));
}

}  // namespace
