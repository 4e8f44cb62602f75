// Split analysis on generated classes of n runners over 30 legs: Execute, again and on a new
// analyzer (target for 2,000 runners: 20 ms), ExtraAnalyze, and the Bostrime map (2,000
// runners: 0.5 s at most).
#include "LapDataGenerator.h"
#include "clsAnalyzer.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

namespace {

struct Prepared {
    std::shared_ptr<clsQuorvelin2> root = std::make_shared<clsQuorvelin2>();
    std::shared_ptr<clsAnalyzer> analyzer = std::make_shared<clsAnalyzer>();

    explicit Prepared(int runners) {
        lapdatagenerator::Options o;
        o.runners = runners;
        o.legs = 30;
        o.seed = static_cast<unsigned>(runners);
        lapdatagenerator::GenerateClass(*root, QStringLiteral("Open"), o);
        analyzer->AddClass(QStringLiteral("Open"));
    }
};

void BM_Execute(benchmark::State& state) {
    Prepared p(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        p.analyzer->Execute();
        benchmark::DoNotOptimize(p.analyzer->Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A new analyzer each time: the result texts are read for the first time as well.
void BM_ExecuteFresh(benchmark::State& state) {
    Prepared p(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto analyzer = std::make_shared<clsAnalyzer>();
        analyzer->AddClass(QStringLiteral("Open"));
        state.ResumeTiming();
        analyzer->Execute();
        benchmark::DoNotOptimize(analyzer->Count());
        state.PauseTiming();
        analyzer.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ExtraAnalyze(benchmark::State& state) {
    Prepared p(static_cast<int>(state.range(0)));
    p.analyzer->Execute();
    for (auto _ : state) {
        p.analyzer->ExtraAnalyze();
        benchmark::DoNotOptimize(p.analyzer->GeneralData()->LegDifficulty(1).Value());
    }
}

void BM_Bostrime(benchmark::State& state) {
    Prepared p(static_cast<int>(state.range(0)));
    p.analyzer->Execute();
    for (auto _ : state) {
        p.analyzer->Bostrime();
        benchmark::DoNotOptimize(p.analyzer->Item(1)->BostrimeX());
    }
}

} // namespace

BENCHMARK(BM_Execute)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecuteFresh)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtraAnalyze)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bostrime)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
