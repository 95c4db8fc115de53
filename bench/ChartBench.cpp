// Speed of the 2-D chart on the offscreen platform: a full repaint of 10,000 items (line-to
// runs, marks and rectangles), and 1,600 ShowGraf calls on a shown chart of 5,000 items as the
// audibility chart makes them (one per row, the events processed afterwards). Aims: under
// 50 ms per full repaint, under 1 s for the 1,600 calls in all.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>

#include "controls/RChart.h"

namespace {

// `n` items on a 600 x 400 chart: runs of 100 line-to points after a move, a mark every
// tenth point, a rectangle every fiftieth.
void Fill(TRChart& chart, int n)
{
    chart.resize(600, 400);
    chart.SetRange(1, 0, 0, 100, 100);
    int added = 0;
    for (int i = 0; added < n; ++i) {
        const double x = (i % 1000) / 10.0, y = 50 + 40 * std::sin(i / 37.0);
        if (i % 100 == 0) {
            chart.MoveTo(x, y);
        } else if (i % 50 == 25) {
            chart.SetFillColor(static_cast<TColor>(i * 2654435761u) & 0xFFFFFF);
            chart.Rectangle(x, y, x + 2, y + 5);
        } else if (i % 10 == 5) {
            chart.MarkAt(x, y, static_cast<std::uint8_t>(i % 48));
        } else {
            chart.DrawTo(x, y);
        }
        ++added;
    }
}

void BM_FullRepaint10000Items(benchmark::State& state)
{
    TRChart chart;
    Fill(chart, 10000);
    for (auto _ : state) {
        chart.Paint();
        benchmark::DoNotOptimize(chart.PaintImage().constBits());
    }
    state.counters["items"] = chart.NumItems();
}
BENCHMARK(BM_FullRepaint10000Items)->Unit(benchmark::kMillisecond);

void BM_ShowGraf1600CallsOn5000Items(benchmark::State& state)
{
    TRChart chart;
    Fill(chart, 5000);
    chart.show();
    QApplication::processEvents();
    for (auto _ : state) {
        for (int i = 0; i < 1600; ++i)
            chart.ShowGraf();
        QApplication::processEvents();
    }
    state.counters["data_renders"] = chart.DataRenderCount();
}
BENCHMARK(BM_ShowGraf1600CallsOn5000Items)->Unit(benchmark::kMillisecond);

// The same calls with the events processed after every one: a data-area render each time.
void BM_ShowGrafWithEventsEachCall(benchmark::State& state)
{
    TRChart chart;
    Fill(chart, 5000);
    chart.show();
    QApplication::processEvents();
    for (auto _ : state) {
        for (int i = 0; i < 1600; ++i) {
            chart.ShowGraf();
            QApplication::processEvents();
        }
    }
}
BENCHMARK(BM_ShowGrafWithEventsEachCall)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
