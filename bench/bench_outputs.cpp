// Text outputs and the analysis grid on a generated class of 2,000 runners over 30 legs.
// Targets: each text 20 ms at most, the grid (into a grid that records every cell) 50 ms.
#include "bench_outputs.h"
#include "clsGraphicControl.h"
#include "clsTextControl.h"
#include "clsTextGrid.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

constexpr int Runners = 2000;

void BM_TextMail(benchmark::State& state) {
    benchoutputs::DataSet d(Runners);
    for (auto _ : state)
        benchmark::DoNotOptimize(d.root->TextControl()->OutputTextMail(d.analyzer));
}

void BM_TextResult(benchmark::State& state) {
    benchoutputs::DataSet d(Runners);
    for (auto _ : state)
        benchmark::DoNotOptimize(d.root->TextControl()->OutputTextResult(d.results));
}

void BM_CsvVennel(benchmark::State& state) {
    benchoutputs::DataSet d(Runners);
    const QVariant analyzer = QVariant::fromValue(d.analyzer);
    for (auto _ : state)
        benchmark::DoNotOptimize(d.root->TextControl()->OutputCsvVennelMacro(analyzer));
}

void BM_CsvSplitsBrowser(benchmark::State& state) {
    benchoutputs::DataSet d(Runners);
    const QVariant analyzer = QVariant::fromValue(d.analyzer);
    for (auto _ : state)
        benchmark::DoNotOptimize(d.root->TextControl()->OutputCsvSplitsBrowser(analyzer));
}

void BM_DrawGrid(benchmark::State& state) {
    benchoutputs::DataSet d(Runners);
    clsTextGrid grid;
    for (auto _ : state) {
        d.root->GraphicControl()->DrawGrid(d.analyzer, &grid);
        benchmark::DoNotOptimize(grid.cell(5, 1).text);
    }
}

} // namespace

BENCHMARK(BM_TextMail)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextResult)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvVennel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvSplitsBrowser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawGrid)->Unit(benchmark::kMillisecond);

// Charts are painted with fonts, so the program runs a GUI application on the offscreen platform.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
