// Saving and loading a large event: 20,000 runners in 100 classes with 30 legs each.

#include "XmlPullReader.h"
#include "basDate.h"
#include "clsQuorvelin2.h"

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Classes = 100;
constexpr int RunnersPerClass = 200;
constexpr int Legs = 30;

void fill(clsQuorvelin2& root) {
    root.EventData()->setEventName(u"Bench"_s);
    root.EventData()->EventDate()->setValue(basDate::dateSerial(2025, 5, 5));
    root.MetaData()->setCreateApplication(u"Brevanto2"_s);
    for (int c = 1; c <= Classes; ++c) {
        auto cls = root.AddClass(u"Class %1"_s.arg(c));
        cls->setControlCount(Legs - 1);
        cls->setCourseNum(c);
        cls->setLength(3000 + c);
        auto course = root.AddCourse(c);
        course->setControlCount(Legs - 1);
        for (int i = 1; i < Legs; ++i)
            course->setControlNum(i, 31 + (i * 7 + c) % 60);
        for (int r = 1; r <= RunnersPerClass; ++r) {
            auto lap = cls->AddLap();
            lap->setRunnerName(u"選手 %1-%2"_s.arg(c).arg(r));
            lap->setClubName(u"Club %1"_s.arg(r % 37));
            lap->setID(c * 1000 + r);
            lap->setEcard(200000 + c * 1000 + r);
            qint64 total = 0;
            for (int i = 1; i <= Legs; ++i) {
                const qint64 s = 60 + (r * 13 + i * 29 + c) % 400;
                total += s;
                lap->Lap(i)->setValue(r % 50 == 0 && i == 3 ? -2 : basDate::fromSeconds(s));
            }
            lap->setResult(r % 50 == 0 ? u"1P"_s : basDate::format(basDate::fromSeconds(total), u"h:nn:ss"));
            lap->StartTime()->setValue(basDate::timeSerial(10, r % 60, 0));
        }
    }
}

struct Event {
    QTemporaryDir dir;
    clsQuorvelin2 root;
    QString lxm, lap, iof, iof3;
    Event() {
        fill(root);
        lxm = dir.filePath(u"event.lxm"_s);
        lap = dir.filePath(u"event.lap"_s);
        iof = dir.filePath(u"event.xml"_s);
        iof3 = dir.filePath(u"event3.xml"_s);
        root.FileControl()->SaveLapFile(lxm);
        root.FileControl()->SaveLapFile(lap);
        root.FileControl()->SaveLapFile(iof3, 8);
    }
};

Event& event() {
    static Event e;
    return e;
}

void BM_SaveLxm(benchmark::State& state) {
    Event& e = event();
    for (auto _ : state)
        benchmark::DoNotOptimize(e.root.FileControl()->SaveLapFile(e.lxm));
}

void BM_LoadLxm(benchmark::State& state) {
    Event& e = event();
    clsQuorvelin2 target;
    for (auto _ : state)
        if (!target.FileControl()->LoadLapFile(e.lxm))
            state.SkipWithError("load failed");
}

// Reading the bytes and walking every token: what any load of the file costs at least.
void xmlBaseline(benchmark::State& state, const QString& path) {
    QFile f(path);
    for (auto _ : state) {
        f.open(QIODevice::ReadOnly);
        QXmlStreamReader xml(f.readAll());
        f.close();
        qint64 elements = 0;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement)
                ++elements;
        benchmark::DoNotOptimize(elements);
    }
}

void BM_XmlBaseline(benchmark::State& state) {
    xmlBaseline(state, event().lxm);
}

// QXmlStreamReader on the IOF XML 3.0 result list: the reference its load is held to.
void BM_XmlBaselineIof3(benchmark::State& state) {
    xmlBaseline(state, event().iof3);
}

// The same bytes decoded and walked by the pull reader the IOF load uses.
void BM_XmlPullIof3(benchmark::State& state) {
    QFile f(event().iof3);
    for (auto _ : state) {
        f.open(QIODevice::ReadOnly);
        const std::optional<QString> text = XmlPullReader::decode(f.readAll());
        f.close();
        if (!text) {
            state.SkipWithError("not UTF-8");
            break;
        }
        XmlPullReader xml(*text);
        qint64 elements = 0;
        while (!xml.atEnd())
            if (xml.readNext() == XmlPullReader::StartElement)
                ++elements;
        benchmark::DoNotOptimize(elements);
    }
}

void BM_SaveIof3(benchmark::State& state) {
    Event& e = event();
    for (auto _ : state)
        benchmark::DoNotOptimize(e.root.FileControl()->SaveLapFile(e.iof3, 8));
}

void BM_LoadIof3(benchmark::State& state) {
    Event& e = event();
    clsQuorvelin2 target;
    for (auto _ : state)
        if (!target.FileControl()->LoadLapFile(e.iof3, 8))
            state.SkipWithError("load failed");
}

void BM_SaveLap(benchmark::State& state) {
    Event& e = event();
    for (auto _ : state)
        benchmark::DoNotOptimize(e.root.FileControl()->SaveLapFile(e.lap));
}

void BM_LoadLap(benchmark::State& state) {
    Event& e = event();
    clsQuorvelin2 target;
    for (auto _ : state)
        if (!target.FileControl()->LoadLapFile(e.lap))
            state.SkipWithError("load failed");
}

void BM_SaveIof(benchmark::State& state) {
    Event& e = event();
    for (auto _ : state)
        benchmark::DoNotOptimize(e.root.FileControl()->SaveLapFile(e.iof));
}

} // namespace

BENCHMARK(BM_SaveLxm)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadLxm)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_XmlBaseline)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveLap)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadLap)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveIof)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_XmlBaselineIof3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_XmlPullIof3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveIof3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadIof3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
