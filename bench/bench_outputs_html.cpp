// The published page set of a generated event: every class's result, lap analysis, leg data and
// chart pages with charts 0, 2 and 5, and the index. Target: 2,000 runners in 50 classes within
// 3 s. The second argument is the number of threads (0: one per core); files and progress are
// the same for any number. 20,000 runners in 300 classes run once. CPU is the whole process's
// time, on all threads; most of it packs the PNG images.
#include "LapDataGenerator.h"
#include "basHtmlOutput.h"
#include "clsFileControl.h"
#include "clsQuorvelin2.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <memory>

namespace {

std::unique_ptr<clsQuorvelin2> event(int runners, int classes) {
    auto root = std::make_unique<clsQuorvelin2>();
    root->EventData()->setEventName(QStringLiteral("ベンチマーク大会"));
    for (int c = 0; c < classes; ++c) {
        lapdatagenerator::Options o;
        o.runners = runners / classes + (c < runners % classes ? 1 : 0);
        o.legs = 8 + c % 17;
        o.seed = static_cast<unsigned>(c + 1);
        auto cls = lapdatagenerator::GenerateClass(*root, QStringLiteral("Class%1").arg(c + 1), o);
        cls->setLength(2000 + 100 * (c % 40));
        cls->setClimb(50 + 5 * (c % 20));
    }
    return root;
}

void BM_OutputHtml(benchmark::State& state) {
    const auto root = event(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    QTemporaryDir dir;
    basHtmlOutput::Parameters p;
    p.OutputFolder = dir.path();
    p.IndexFile = QStringLiteral("index.html");
    p.ResultFile = QStringLiteral("*_result.html");
    p.AnalysisFile = QStringLiteral("*_lap.html");
    p.LegDataFile = QStringLiteral("*_leg.html");
    p.ChartFile = QStringLiteral("*_chart.html");
    p.ChartOption = QStringLiteral("0,2,5");
    basHtmlOutput::Settings s;
    s.colourSeed = 1;
    s.threads = static_cast<int>(state.range(2));
    for (auto _ : state)
        if (!basHtmlOutput::OutputHtml(*root->FileControl(), p, s))
            state.SkipWithError("the page set was not written");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_OutputHtml)
    ->ArgNames({"runners", "classes", "threads"})
    ->Args({2000, 50, 0})
    ->Args({2000, 50, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_OutputHtml)
    ->ArgNames({"runners", "classes", "threads"})
    ->Args({20000, 300, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
