// The chart's item list: what each adder stores, growth and counters, removal, the nearest-item
// search, and charts that share one list.
#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <tuple>
#include <utility>

#include "ChartTestSupport.h"
#include "controls/RChart.h"
#include "platform/Dialogs.h"

namespace {

using charttest::Standard;

void ExpectSameItem(const TrcChartItem& a, const TrcChartItem& e, const char* what)
{
    auto fields = [](const TrcChartItem& i) {
        return std::tie(i.x, i.y, i.x2, i.y2, i.Color, i.FillColor, i.PenStyle, i.Tag, i.LWid, i.ItemClass,
                        i.ItemKind, i.Layer, i.Transp, i.SizeOrAngle, i.Depth, i.mark);
    };
    EXPECT_EQ(fields(a), fields(e)) << what;
}

// Each adder writes the common attributes and its own fields; the other fields of the slot keep
// what it held. The slot is first filled by a 3-D bar, which is then removed (a second item
// keeps the list, and so its storage, alive).
TEST(RChartItems, EachAdderStoresExactlyItsFields)
{
    struct Case {
        const char* what;
        void (*add)(TRChart&);
        TrcChartItem expect;  // over the bar's leftovers
    };
    TrcChartItem bar;  // what the removed bar leaves in slot 1
    bar.x = 1, bar.y = 2, bar.x2 = 3, bar.y2 = 4, bar.FillColor = 0x111111, bar.Depth = 9, bar.SizeOrAngle = 45;
    auto over = [&](TrcItem kind, std::initializer_list<std::pair<double TrcChartItem::*, double>> coords) {
        TrcChartItem e = bar;
        e.ItemKind = kind;
        e.Color = 0x123456, e.PenStyle = psDash, e.LWid = 3, e.Tag = 77, e.ItemClass = 9, e.Layer = 4;
        for (auto [field, value] : coords)
            e.*field = value;
        return e;
    };
    using I = TrcChartItem;
    TrcChartItem mark = over(tkMarkAt, {{&I::x, 5}, {&I::y, 6}});
    mark.mark = 26;
    TrcChartItem rect = over(tkRect, {{&I::x, 5}, {&I::y, 6}, {&I::x2, 7}, {&I::y2, 8}});
    rect.FillColor = 0x654321, rect.Transp = true;
    TrcChartItem bar3d = over(tk3DBar, {{&I::x, 5}, {&I::y, 6}, {&I::x2, 7}, {&I::y2, 8}});
    bar3d.FillColor = 0x654321, bar3d.Depth = -4, bar3d.SizeOrAngle = 180;
    const Case cases[] = {
        {"MarkAt", [](TRChart& c) { c.MarkAt(5, 6, 26); }, mark},
        {"MoveTo", [](TRChart& c) { c.MoveTo(5, 6); }, over(tkMoveTo, {{&I::x, 5}, {&I::y, 6}})},
        {"DrawTo", [](TRChart& c) { c.DrawTo(5, 6); }, over(tkLineto, {{&I::x, 5}, {&I::y, 6}})},
        {"Line", [](TRChart& c) { c.Line(5, 6, 7, 8); }, over(tkLine, {{&I::x, 5}, {&I::y, 6}, {&I::x2, 7}, {&I::y2, 8}})},
        {"Rectangle", [](TRChart& c) { c.Rectangle(5, 6, 7, 8); }, rect},
        {"Bar3D", [](TRChart& c) { c.Bar3D(5, 6, 7, 8, -4, 200); }, bar3d},
    };
    for (const Case& c : cases) {
        TRChart chart;
        chart.SetFillColor(0x111111);
        chart.MoveTo(0, 0);
        chart.Bar3D(1, 2, 3, 4, 9, 45);
        chart.RemoveLastItem();
        chart.SetDataColor(0x123456);
        chart.SetPenStyle(psDash);
        chart.SetLineWidth(3);
        chart.SetFillColor(0x654321);
        chart.SetDataTag(77);
        chart.SetClassDefault(9);
        chart.SetClassDefault(255);  // ignored
        chart.SetTransparentItems(true);
        chart.SetActiveLayer(4);
        c.add(chart);
        ASSERT_EQ(chart.NumItems(), 2) << c.what;
        ExpectSameItem(chart.GetItemParams(1), c.expect, c.what);
    }
}

TEST(RChartItems, GrowthCountersAndRemoval)
{
    TRChart chart;
    EXPECT_EQ(chart.GetTypeOfLastItem(), tkNone);
    // AllocSize 1..1000000: the last taken and the first refused at each end.
    for (const auto& [n, kept] : {std::pair{0, 1000}, {1, 1}, {1000001, 1}, {1000000, 1000000}, {1000, 1000}}) {
        chart.SetAllocSize(n);
        EXPECT_EQ(chart.AllocSize(), kept) << n;
    }
    for (int i = 0; i < 1001; ++i) {
        chart.SetClassDefault(static_cast<std::uint8_t>(i % 3));
        i % 2 ? chart.DrawTo(i, i) : chart.MarkAt(i, i, 1);
    }
    auto state = [&] {
        return std::tuple(chart.NumItems(), chart.Capacity(), chart.ItemCount(tkMarkAt), chart.ItemCount(tkLineto),
                          chart.GetTypeOfLastItem());
    };
    EXPECT_EQ(state(), std::tuple(1001, 2000, 501, 500, tkMarkAt));
    chart.RemoveLastItem();
    EXPECT_EQ(state(), std::tuple(1000, 2000, 500, 500, tkLineto));
    EXPECT_EQ(chart.RemoveItemsByClass(255), 0);  // no wildcard: no item has class 255
    EXPECT_EQ(chart.RemoveItemsByClass(1), 333);  // i = 1, 4, 7 ... 997
    EXPECT_EQ(state(), std::tuple(667, 2000, 334, 333, tkLineto));  // 166 marks and 167 line-tos gone
    // Order kept: 0, 2, 3, 5 ... 999; outside the list an empty item.
    EXPECT_EQ(std::tuple(chart.GetItemParams(1).x, chart.GetItemParams(2).x, chart.GetItemParams(666).x),
              std::tuple(2.0, 3.0, 999.0));
    for (int ix : {-1, 667, 1999})
        EXPECT_EQ(chart.GetItemParams(ix).ItemKind, tkNone) << ix;
    chart.ClearGraf();
    EXPECT_EQ(state(), std::tuple(0, 0, 0, 0, tkNone));
    chart.MoveTo(0, 0);
    chart.RemoveLastItem();  // the list empties: storage and counters go
    EXPECT_EQ(std::pair(chart.Capacity(), chart.ItemCount(tkMoveTo)), std::pair(0, 0));
}

// 280 x 200, x 0..10 (21 px per unit), y 0..100 (1.4 px per unit).
TEST(RChartItems, NearestItemOnTheScreen)
{
    const double none = std::sqrt(1.7e308);
    struct Case { const char* what; TrcItem filter; std::uint8_t cls; double mx, my; int expect; double dist; };
    const Case cases[] = {
        {"any kind: the first of two on one pixel", tkEverything, 255, 5, 50, 1, 0},
        {"not the move-to", tkNotMoveTo, 255, 0, 0, 1, std::hypot(105, 70)},
        {"class 3 only", tkEverything, 3, 5, 50, 3, std::hypot(21, 0)},
        {"kind DrawTo", tkLineto, 255, 9, 50, 4, std::hypot(21 * 1, 0)},
        {"no kind", tkNone, 255, 5, 50, -1, none},
        {"no class 7", tkEverything, 7, 5, 50, -1, none},
        // Items 100,000 px and 60,000 px off: the squares exceed 32 bits, the nearer still wins.
        {"far off", tkMarkAt, 5, 5, 50, 6, 60000},
    };
    TRChart chart;
    Standard(chart);
    chart.MoveTo(0, 0);            // 0: (50, 160)
    chart.MarkAt(5, 50, 1);        // 1: (155, 90)
    chart.MarkAt(5.01, 50.2, 1);   // 2: the same pixel
    chart.SetClassDefault(3);
    chart.MarkAt(6, 50, 1);        // 3: 21 px right of item 1
    chart.SetClassDefault(0);
    chart.DrawTo(10, 50);          // 4
    chart.SetClassDefault(5);
    chart.MarkAt(5 + 100000 / 21.0, 50, 2);  // 5
    chart.MarkAt(5, 50 - 60000 / 1.4, 2);    // 6
    chart.MarkAt(std::nan(""), 50, 2);       // no pixel: skipped
    chart.MarkAt(5, std::numeric_limits<double>::infinity(), 2);
    for (const Case& c : cases) {
        double dist = 0;
        EXPECT_EQ(chart.FindNearestItemScreen(c.mx, c.my, c.filter, c.cls, dist), c.expect) << c.what;
        EXPECT_NEAR(dist, c.dist, c.dist * 1e-9 + 1e-9) << c.what;
    }
    TRChart empty;
    double dist = 0;
    EXPECT_EQ(empty.FindNearestItemScreen(0, 0, tkEverything, 255, dist), -1);
    EXPECT_NEAR(dist, 1.3038404810405297e154, 1e145);
}

// Sharing: the refusals as message boxes, the redirection to the owner, the four users.
TEST(RChartItems, SharingRefusalsAndOwners)
{
    oxw::platform::ScriptedDialogs dialogs;
    std::unique_ptr<TRChart> charts[6];
    for (auto& c : charts) {
        c = std::make_unique<TRChart>();
        c->SetDialogs(&dialogs);
    }
    TRChart &a = *charts[0], &b = *charts[1], &c = *charts[2], &d = *charts[3], &e = *charts[4], &f = *charts[5];
    a.SetUseDataOf(&a);
    b.SetUseDataOf(&a);
    c.SetUseDataOf(&a);
    d.SetUseDataOf(&b);  // redirected: D becomes A's third user
    EXPECT_EQ(d.UseDataOf(), &a);
    EXPECT_EQ(a.DataUsersNum(), 3);
    EXPECT_EQ(a.DataUser(2), &d);
    a.SetUseDataOf(nullptr);  // A has users of its own
    e.SetUseDataOf(&a);
    f.SetUseDataOf(&c);  // a fifth user
    EXPECT_EQ(f.UseDataOf(), nullptr);
    EXPECT_EQ(a.DataUsersNum(), 4);
    EXPECT_EQ(dialogs.Messages, (QStringList{"RChart: Cannot share data with myself",
                                             "RChart: Cannot use foreign data. Other RCharts are using my own data.",
                                             "RChart: Max. number of data shares exceeded"}));

    // An item added through any chart of the group shows in all, with the same counters.
    d.MarkAt(1, 2, 3);
    b.DrawTo(4, 5);
    for (TRChart* chart : {&a, &b, &c, &d, &e}) {
        EXPECT_EQ(chart->NumItems(), 2);
        EXPECT_EQ(chart->ItemCount(tkMarkAt), 1);
        EXPECT_EQ(chart->ItemCount(tkLineto), 1);
        EXPECT_EQ(chart->Capacity(), 1000);
    }

    // C leaves: the later users move up; C keeps what it shows.
    c.SetUseDataOf(nullptr);
    EXPECT_EQ(a.DataUsersNum(), 3);
    EXPECT_EQ(a.DataUser(1), &d);
    EXPECT_EQ(c.NumItems(), 2);
    charts[0].reset();  // the owner goes: its users keep their items
    EXPECT_EQ(b.UseDataOf(), nullptr);
    EXPECT_EQ(b.NumItems(), 2);
    EXPECT_EQ(b.GetItemParams(1).x, 4.0);
}

// One list per sharing group: a clear through a user empties the owner's list too (capacity
// included), so the owner's next item goes into storage of its own; a detached chart keeps its
// own copy, which the former owner no longer rewrites; the counters are right at once.
TEST(RChartItems, SharedListStaysOneList)
{
    oxw::platform::ScriptedDialogs dialogs;
    TRChart a, b;
    a.SetDialogs(&dialogs);
    b.SetDialogs(&dialogs);
    a.MarkAt(1, 1, 1);
    b.SetUseDataOf(&a);
    EXPECT_EQ(b.ItemCount(tkMarkAt), 1);  // at once, not at the next change
    b.ClearGraf();
    EXPECT_EQ(a.Capacity(), 0);
    EXPECT_EQ(a.NumItems(), 0);
    a.MarkAt(2, 2, 1);
    EXPECT_EQ(a.Capacity(), 1000);
    EXPECT_EQ(b.GetItemParams(0).x, 2.0);

    a.SetClassDefault(4);
    a.DrawTo(3, 3);
    b.SetUseDataOf(nullptr);
    EXPECT_EQ(a.RemoveItemsByClass(0), 1);
    EXPECT_EQ(a.NumItems(), 1);
    ASSERT_EQ(b.NumItems(), 2);
    EXPECT_EQ(b.GetItemParams(0).x, 2.0);  // untouched by A's compaction
    EXPECT_EQ(b.GetItemParams(1).x, 3.0);
    EXPECT_EQ(b.ItemCount(tkMarkAt), 1);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

}  // namespace
