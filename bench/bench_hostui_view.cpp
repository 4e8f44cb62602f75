// Choosing a class in the analysis view.
// The path a user waits for: the class's analyzer executed and analysed further, its results
// ranked and the lap analysis grid filled, for a class of 500 runners over 30 legs.
#include "LapDataGenerator.h"
#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "ctlAnalysisGrid.h"
#include "ctlClassCombo.h"
#include "ctlQuorvelinView.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ViewChooseClass(benchmark::State& state) {
    auto root = std::make_shared<clsQuorvelin2>();
    lapdatagenerator::Options o;
    o.runners = static_cast<int>(state.range(0));
    o.legs = static_cast<int>(state.range(1));
    lapdatagenerator::GenerateClass(*root, QStringLiteral("M21A"), o);
    ctlQuorvelinView view;
    view.resize(1200, 800);
    view.setQuorvelin2Object(root);
    for (auto _ : state) {
        view.classCombo()->chooseEntry(0);
        if (!view.Analyzer()) {
            state.SkipWithError("no class was chosen");
            break;
        }
        benchmark::DoNotOptimize(view.analysisGrid()->rowCount());
    }
    state.counters["grid_rows"] = view.analysisGrid()->rowCount();
}
BENCHMARK(BM_ViewChooseClass)->Args({500, 30})->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
