// The punch check at the size of the largest events: every stored read against every class,
// as a full rebuild of the results does it.
#include "LiteralPenaCheck.h"
#include "clsCourseDataTable.h"
#include "clsEcardPenaChecker.h"
#include "clsEcardPunchIndex.h"
#include "clsEcardTagStock.h"
#include "clsEventGenerator.h"

#include <benchmark/benchmark.h>

#include <map>
#include <utility>

namespace {

struct Fixture {
    std::vector<std::shared_ptr<clsEcardTagData>> reads;
    clsCourseDataTable table;
};

const Fixture& fixture(int reads, int classes) {
    static std::map<std::pair<int, int>, Fixture> cache;
    auto [it, fresh] = cache.try_emplace({reads, classes});
    if (fresh) {
        clsEventGenerator::Options o;
        o.seed = 42;
        o.readCount = reads;
        o.classCount = classes;
        const auto ev = clsEventGenerator(o).generate();
        it->second.reads = ev.storedReads();
        for (const QString& line : ev.courseLines)
            it->second.table.AddByString(line);
    }
    return it->second;
}

void setCounters(benchmark::State& state, const Fixture& f) {
    const double pairs = static_cast<double>(f.reads.size()) * f.table.CourseCount();
    state.counters["pairs"] = pairs;
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * pairs));
}

// Status of every read in every class, each read prepared once.
void BM_CheckStatusAll(benchmark::State& state) {
    const Fixture& f = fixture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    clsEcardPunchIndex index;
    for (auto _ : state) {
        qint64 sum = 0;
        for (const auto& tag : f.reads) {
            index.prepare(tag);
            for (const auto& e : f.table.CourseList())
                sum += clsEcardPenaChecker::CheckStatus(index, *e.value);
        }
        benchmark::DoNotOptimize(sum);
    }
    setCounters(state, f);
}
BENCHMARK(BM_CheckStatusAll)->Args({2000, 50})->Args({20000, 300})->Unit(benchmark::kMillisecond);

// The full check (matched records, times, text) of every read in every class.
void BM_ExecuteAll(benchmark::State& state) {
    const Fixture& f = fixture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    clsEcardPunchIndex index;
    clsEcardPenaChecker checker;
    for (auto _ : state) {
        qint64 sum = 0;
        for (const auto& tag : f.reads) {
            index.prepare(tag);
            for (const auto& e : f.table.CourseList()) {
                checker.setCourseData(e.value);
                checker.Execute(index);
                sum += checker.PenaCheckStatus();
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    setCounters(state, f);
}
BENCHMARK(BM_ExecuteAll)->Args({2000, 50})->Args({20000, 300})->Unit(benchmark::kMillisecond);

// The check as literally written, for comparison.
void BM_LiteralAll(benchmark::State& state) {
    const Fixture& f = fixture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        qint64 sum = 0;
        for (const auto& tag : f.reads) {
            for (const auto& e : f.table.CourseList()) {
                LiteralPenaCheck c;
                c.run(*tag, *e.value);
                sum += c.status;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    setCounters(state, f);
}
BENCHMARK(BM_LiteralAll)->Args({2000, 50})->Unit(benchmark::kMillisecond);

// Loading the card store from Ecard.txt lines of the largest event (part of opening its folder).
void BM_LoadEcardLines(benchmark::State& state) {
    clsEventGenerator::Options o;
    o.seed = 42;
    o.readCount = static_cast<int>(state.range(0));
    o.classCount = 300;
    const QStringList lines = clsEventGenerator(o).generate().ecardLines();
    for (auto _ : state) {
        clsEcardTagStock stock;
        stock.LoadLines(lines);
        benchmark::DoNotOptimize(stock.TagTable().Count());
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(BM_LoadEcardLines)->Arg(20000)->Unit(benchmark::kMillisecond);

// Generating the largest event (setup cost of the other benchmarks and the demo).
void BM_GenerateEvent(benchmark::State& state) {
    for (auto _ : state) {
        clsEventGenerator::Options o;
        o.seed = 9;
        o.readCount = static_cast<int>(state.range(0));
        o.classCount = 300;
        benchmark::DoNotOptimize(clsEventGenerator(o).generate());
    }
}
BENCHMARK(BM_GenerateEvent)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
