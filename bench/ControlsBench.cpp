// Speed of the controls where callers lean on them: a full offscreen repaint of a 100 x 100-cell
// 3-D surface (goal: under 50 ms), one cell hit test over those cells on a mouse move (goal:
// under 5 ms), and rows appended one at a time into a hidden table editor, as each block of a
// run appends one (goal: under 1 s for 100,000, and the same time per row for 800,000).
#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cmath>

#include <sys/resource.h>

#include "controls/NTabEd.h"
#include "controls/Plot3D.h"

namespace {

// 101 x 101 grid points: 100 x 100 cells of a smooth surface, three colours.
void FillSurface(TPlot3D& plot)
{
    plot.SetSuppressPaint(true);
    plot.GridMat.Resize(101, 101);
    for (int c = 1; c <= 101; ++c) {
        for (int r = 1; r <= 101; ++r) plot.GridMat.SetVal(c, r, std::sin(c * 0.1) * std::cos(r * 0.13));
    }
    plot.SetColorCodingMode(ccmThreeColors);
    plot.SetColorScaleLow(-1);
    plot.SetColorScaleHigh(1);
    plot.SetSuppressPaint(false);
}

void BM_Plot3DRepaint100x100(benchmark::State& state)
{
    TPlot3D plot;
    FillSurface(plot);
    for (auto _ : state) benchmark::DoNotOptimize(plot.PaintImage());
}
BENCHMARK(BM_Plot3DRepaint100x100)->Unit(benchmark::kMillisecond);

void BM_Plot3DHitTest100x100(benchmark::State& state)
{
    TPlot3D plot;
    FillSurface(plot);
    plot.PaintImage();
    int hits = 0;
    plot.OnMouseMoveOverPlot = [&](TPlot3D*, bool over, TPlot3D::TShift, int, int) { hits += over; };
    const QPointF at(330, 260);
    QMouseEvent move(QEvent::MouseMove, at, plot.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    for (auto _ : state) QApplication::sendEvent(&plot, &move);
    state.counters["hits"] = hits;
}
BENCHMARK(BM_Plot3DHitTest100x100)->Unit(benchmark::kMillisecond);

// Minor page faults of the process so far.
long MinorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Rows appended one at a time: the time and page faults per row stay the same for 100,000 rows
// (about 80 minutes of sound at one row per 50 ms) and for 800,000.
void BM_NTabEdAppendRows(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    long faults = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TNTabEd table;
        table.SetNrCols(3);
        table.SetNrRows(1);
        table.hide();
        const long faultsBefore = MinorFaults();
        state.ResumeTiming();
        for (int i = 0; i < rows; ++i) {
            const int last = table.GetNrRows();
            table.SetElem(1, last, i * 0.05);
            table.SetElem(2, last, 60.0 + std::sin(i * 0.01));
            table.SetNrRows(last + 1);
        }
        benchmark::DoNotOptimize(table.GetElem(2, rows));
        faults += MinorFaults() - faultsBefore;
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["faults_per_row"] =
        benchmark::Counter(static_cast<double>(faults) / rows, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_NTabEdAppendRows)->Arg(100000)->Arg(800000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
