// The reading-unit panel on a pseudo-terminal: how long after the last byte of a card's second
// copy the card is raised, and what an idle connected port costs. Then the whole finish window
// of a large event with live results on: how long after the last byte the card's result is on
// screen while the pages are being written.
#include "ctlEcard250Reader.h"

#include "UserPrompt.h"
#include "basEcard250Wire.h"
#include "clsEcard250FrameReader.h"
#include "clsEventGenerator.h"
#include "clsLivePublisher.h"
#include "clsMachineSettings.h"
#include "ctlDataFolder.h"
#include "frmMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Pty {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    QString path;
    Pty() {
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            path = QString::fromLocal8Bit(ptsname(master));
    }
    ~Pty() { ::close(master); }
    void write(const QByteArray& b) const {
        for (qsizetype at = 0; at < b.size();) {
            const ssize_t n = ::write(master, b.constData() + at, static_cast<size_t>(b.size() - at));
            if (n <= 0)
                return;
            at += n;
        }
    }
};

QByteArray pairOf(qint32 number) {
    clsEcardTagData t;
    t.setEcardNo(number);
    t.setProductionYear(2020);
    t.setPunch(1, 0, 0);
    t.setPunch(2, 31, 60 + number % 500);
    t.setPunch(3, 250, 700);
    const QByteArray f = clsEcard250FrameReader::scramble(basEcard250Wire::frameOf(t));
    return f + f;
}

void pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void BM_LastByteToReadTag(benchmark::State& state) {
    Pty pty;
    ctlEcard250Reader panel;
    panel.setDevicePath(pty.path);
    panel.Connect();
    if (!panel.IsConnected()) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    int delivered = 0;
    QObject::connect(&panel, &ctlEcard250Reader::ReadTag, [&](auto) { ++delivered; });
    qint32 number = 1000;
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QByteArray bytes = pairOf(++number);
        pty.write(bytes.left(bytes.size() - 1));
        pump(5); // all but the last byte are in
        const int before = delivered;
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        pty.write(bytes.right(1));
        while (delivered == before && t.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        worst = std::max(worst, static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    state.counters["worst_ms"] = worst;
    state.counters["delivered"] = delivered;
}
BENCHMARK(BM_LastByteToReadTag)->Unit(benchmark::kMicrosecond)->Iterations(200)->UseRealTime();

void BM_IdleConnectedPort(benchmark::State& state) {
    Pty pty;
    ctlEcard250Reader panel;
    panel.setDevicePath(pty.path);
    panel.Connect();
    double cpu = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        // A real event loop: it sleeps until something happens.
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        cpu = cpuSeconds() - start;
    }
    state.counters["cpu_ms_per_idle_s"] = cpu * 1000;
}
BENCHMARK(BM_IdleConnectedPort)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Answers every question with OK and counts them: a message during the benchmark is a failure.
class CountingPrompt final : public UserPrompt {
public:
    int asked = 0;
    Answer message(const QString&, Buttons, Icon, const QString&) override { return ++asked, Ok; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return ++asked, std::nullopt;
    }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override {
        return ++asked, std::nullopt;
    }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&) override {
        return ++asked, std::nullopt;
    }
    std::optional<QString> chooseFolder(const QString&, const QString&) override {
        return ++asked, std::nullopt;
    }
};

// The main window on a generated event of 2,000 reads in 50 classes: not publishing (-1), and
// publishing into a folder every 200 ms (ten times as often as it ships) so that writes overlap
// the cards.
void BM_LastByteToResultPublishing(benchmark::State& state) {
    QTemporaryDir dir;
    const QString data = dir.filePath(u"event"_s);
    QDir().mkpath(data);
    clsEventGenerator::Options o;
    o.seed = 2;
    const clsEventGenerator::Event event = clsEventGenerator(o).generate();
    if (!clsEventGenerator::writeDataFolder(event, data)) {
        state.SkipWithError("cannot write the event");
        return;
    }
    Pty pty;
    CountingPrompt prompt;
    clsMachineSettings settings(dir.filePath(u"settings.conf"_s));
    frmMain window(&prompt, &settings, dir.path());
    window.show();
    window.ReaderPanel()->setDevicePath(pty.path);
    window.DataFolderControl()->SelectFolder(data + u'/');
    if (!window.ReaderPanel()->IsConnected()) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    clsLivePublisher& publisher = *window.publisher();
    const bool publishing = state.range(0) >= 0;
    if (publishing) {
        publisher.setInterval(static_cast<int>(state.range(0)));
        publisher.setFolder(dir.filePath(u"www"_s));
    }
    state.SetLabel(publishing ? "publishing" : "not publishing");
    // Connected after the window's own handler: it runs once the labels have been painted.
    int shown = 0;
    QObject::connect(window.ReaderPanel(), &ctlEcard250Reader::ReadTag, [&](auto) { ++shown; });
    pump(3000); // the first pages
    const int writesBefore = publisher.writeCount();
    qint32 number = 9000000;
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QByteArray bytes = pairOf(++number);
        pty.write(bytes.left(bytes.size() - 1));
        pump(5);
        const int before = shown;
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        pty.write(bytes.right(1));
        while (shown == before && t.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        worst = std::max(worst, static_cast<double>(t.nsecsElapsed()) / 1e6);
        state.PauseTiming();
        pump(20); // the next runner steps up
        state.ResumeTiming();
    }
    state.counters["worst_ms"] = worst;
    state.counters["shown"] = shown;
    state.counters["page_writes"] = publisher.writeCount() - writesBefore;
    state.counters["messages"] = prompt.asked;
    state.counters["write_failed"] = publisher.lastError().isEmpty() ? 0 : 1;
}
BENCHMARK(BM_LastByteToResultPublishing)
    ->Arg(-1)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
