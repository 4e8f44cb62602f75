// The results engine at the size of the largest events: the full rebuild after an edit of the
// classes, opening a data folder from its files, and one new card read.

#include "basResultRebuild.h"
#include "basText.h"
#include "clsCourseDataTable.h"
#include "clsEcardTagStock.h"
#include "clsEventGenerator.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"
#include "clsResultManager.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

#include <time.h>

using namespace Qt::StringLiterals;

namespace {

clsEventGenerator::Options optionsFor(int reads, int classes) {
    clsEventGenerator::Options o;
    o.seed = 20240602;
    o.readCount = reads;
    o.classCount = classes;
    o.minControls = 5;
    o.maxControls = 50;
    o.averageControls = 25;
    o.penacheckRule = -9;
    return o;
}

// An event loaded into memory the way the data folder would load it.
struct LoadedEvent {
    clsEventGenerator::Event event;
    clsEcardTagStock stock;
    std::shared_ptr<clsNameDataTable> names = std::make_shared<clsNameDataTable>(u"/nonexistent"_s);
    std::shared_ptr<clsCourseDataTable> courses = std::make_shared<clsCourseDataTable>();
    std::shared_ptr<clsOtherDataTable> other = std::make_shared<clsOtherDataTable>();

    LoadedEvent(int reads, int classes) : event(clsEventGenerator(optionsFor(reads, classes)).generate()) {
        stock.LoadLines(event.ecardLines());
        for (const QString& l : std::as_const(event.courseLines))
            courses->AddByString(l);
        names->loadBytes(basText::toWindows31J(event.nameLines.join(u"\r\n"_s)), false);
        for (const QString& l : std::as_const(event.otherLines))
            other->readLine(l);
    }
};

LoadedEvent& eventFor(int reads, int classes) {
    static std::map<std::pair<int, int>, std::unique_ptr<LoadedEvent>> cache;
    auto& slot = cache[{reads, classes}];
    if (!slot)
        slot = std::make_unique<LoadedEvent>(reads, classes);
    return *slot;
}

void BM_FullRebuild(benchmark::State& state) {
    LoadedEvent& ev = eventFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    clsResultManager manager;
    for (auto _ : state) {
        basResultRebuild::RefreshData(manager, ev.stock.TagTable(), ev.names, ev.courses, ev.other,
                                      ev.event.penacheckRule);
        benchmark::DoNotOptimize(manager.ResultDataList().size());
    }
    state.counters["reads"] = ev.stock.TagTable().Count();
    state.counters["results"] = static_cast<double>(manager.ResultDataList().size());
}

void BM_OpenDataFolder(benchmark::State& state) {
    const int reads = static_cast<int>(state.range(0));
    LoadedEvent& ev = eventFor(reads, 300);
    QTemporaryDir dir;
    if (!clsEventGenerator::writeDataFolder(ev.event, dir.path())) {
        state.SkipWithError("cannot write the data folder");
        return;
    }
    const QString folder = dir.path() + u"/"_s;
    // Thread CPU time of each step, summed over the iterations, to show where the time goes.
    double phase[5] = {};
    const auto cpuNow = [] {
        timespec ts;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    };
    for (auto _ : state) {
        auto names = std::make_shared<clsNameDataTable>(u"/nonexistent"_s);
        clsEcardTagStock stock;
        auto courses = std::make_shared<clsCourseDataTable>();
        auto other = std::make_shared<clsOtherDataTable>();
        clsResultManager manager;
        names->Clear();
        stock.Clear();
        courses->Clear();
        other->Clear();
        manager.Clear();
        double t = cpuNow();
        const auto lap = [&](int i) {
            const double n = cpuNow();
            phase[i] += n - t;
            t = n;
        };
        names->OpenFolder(folder);
        lap(0);
        stock.OpenFolder(folder);
        lap(1);
        courses->OpenFolder(folder);
        lap(2);
        other->OpenFolder(folder);
        lap(3);
        basResultRebuild::RefreshData(manager, stock.TagTable(), names, courses, other,
                                      ev.event.penacheckRule);
        lap(4);
        benchmark::DoNotOptimize(manager.ResultDataList().size());
        state.counters["results"] = static_cast<double>(manager.ResultDataList().size());
    }
    const char* labels[] = {"name_ms", "ecard_ms", "course_ms", "other_ms", "rebuild_ms"};
    for (int i = 0; i < 5; ++i)
        state.counters[labels[i]] = phase[i] / static_cast<double>(state.iterations());
}

void BM_AddCard(benchmark::State& state) {
    LoadedEvent& ev = eventFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    clsResultManager manager;
    basResultRebuild::RefreshData(manager, ev.stock.TagTable(), ev.names, ev.courses, ev.other,
                                  ev.event.penacheckRule);
    // New reads: the event's cards read once more a day later.
    std::vector<std::shared_ptr<clsEcardTagData>> fresh;
    for (const auto& e : ev.stock.TagTable()) {
        auto copy = std::make_shared<clsEcardTagData>(*e.value);
        copy->setReadTime(copy->ReadTime() + 1);
        fresh.push_back(copy);
        if (fresh.size() == 4096)
            break;
    }
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(manager.Add(fresh[next++ % fresh.size()]).size());
        manager.Refresh();
    }
}

} // namespace

BENCHMARK(BM_FullRebuild)->Args({2000, 50})->Args({20000, 300})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDataFolder)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddCard)->Args({20000, 300})->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
