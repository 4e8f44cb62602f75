// The reading-unit panel on a pseudo-terminal: how long after the last byte of a card's second
// copy the card is raised, how long until the main window shows its result (with and without
// lap tickets written to a folder), and what an idle connected port costs. Then the whole finish
// window of a large event with live results on: how long after the last byte the card's result
// is on screen while the pages are being written.
#include "ctlEcard250Reader.h"

#include "UserPrompt.h"
#include "basEcard250Wire.h"
#include "clsEcard250FrameReader.h"
#include "clsEcardTagData.h"
#include "clsEventGenerator.h"
#include "clsLivePublisher.h"
#include "clsMachineSettings.h"
#include "clsTicketPrinter.h"
#include "ctlDataFolder.h"
#include "frmMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
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

// A runner's card of the bench event's one class, M21A (start, 31, finish 100).
QByteArray finishedCard(qint32 number) {
    clsEcardTagData t;
    t.setEcardNo(number);
    t.setProductionYear(2020);
    t.setPunch(1, 0, 0);
    t.setPunch(2, 31, 200 + number % 300);
    t.setPunch(3, 100, 900 + number % 500);
    t.setPunch(4, 250, 910 + number % 500);
    const QByteArray f = clsEcard250FrameReader::scramble(basEcard250Wire::frameOf(t));
    return f + f;
}

class SilentPrompt final : public UserPrompt {
public:
    Answer message(const QString&, Buttons, Icon, const QString&) override { return Ok; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }
};

// The main window on an event folder, its reading unit on a pseudo-terminal: from the last byte
// of a card to its result in the results label (the first figure), and with tickets on, to its
// PDF ticket in the folder (ticket_ms).
void BM_LastByteToResultShown(benchmark::State& state) {
    const bool tickets = state.range(0) != 0;
    QTemporaryDir home;
    const QString event = home.filePath(u"event"_s);
    QDir().mkpath(event);
    QDir().mkpath(home.filePath(u"tickets"_s));
    QFile course(QDir(event).filePath(u"Course.txt"_s));
    if (!course.open(QIODevice::WriteOnly) || course.write("M21A,0,31,100\r\n") < 0) {
        state.SkipWithError("cannot write the event");
        return;
    }
    course.close();
    clsMachineSettings settings(home.filePath(u"machine.conf"_s));
    SilentPrompt prompt;
    frmMain main(&prompt, &settings, home.path());
    Pty pty;
    main.ReaderPanel()->setDevicePath(pty.path);
    main.DataFolderControl()->SelectFolder(event + u'/');
    main.show();
    if (!main.ReaderPanel()->IsConnected()) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    QElapsedTimer sinceLastByte;
    double ticketWorst = 0, ticketSum = 0;
    int printed = 0;
    main.Tickets()->setFolder(home.filePath(u"tickets"_s));
    main.Tickets()->setPaper(clsLapTicket::Paper::Roll80);
    main.Tickets()->setEnabled(tickets);
    QObject::connect(main.Tickets(), &clsTicketPrinter::printed, [&] {
        const double ms = static_cast<double>(sinceLastByte.nsecsElapsed()) / 1e6;
        ticketWorst = std::max(ticketWorst, ms);
        ticketSum += ms;
        ++printed;
    });
    // Connected after the window: called once the window has set and repainted its labels.
    double shownMs = 0;
    int shown = 0;
    QObject::connect(main.ReaderPanel(), &ctlEcard250Reader::ReadTag, [&] {
        shownMs = static_cast<double>(sinceLastByte.nsecsElapsed()) / 1e6;
        ++shown;
    });
    qint32 number = 500000;
    double worst = 0;
    for (auto _ : state) {
        const QByteArray bytes = finishedCard(++number);
        pty.write(bytes.left(bytes.size() - 1));
        pump(5);
        const int before = shown;
        const int ticketsBefore = printed;
        sinceLastByte.start();
        pty.write(bytes.right(1));
        while (shown == before && sinceLastByte.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (shown == before || !main.lastTag() || main.lastTag()->EcardNo() != number) {
            state.SkipWithError("the card was not shown");
            return;
        }
        state.SetIterationTime(shownMs / 1000);
        worst = std::max(worst, shownMs);
        // The ticket goes out behind the screen; the next card comes after it, as the next
        // card's own bytes take half a second on the wire.
        while (tickets && printed == ticketsBefore && sinceLastByte.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    state.counters["worst_ms"] = worst;
    state.counters["tickets"] = printed;
    if (printed > 0) {
        state.counters["ticket_ms"] = ticketSum / printed;
        state.counters["ticket_worst_ms"] = ticketWorst;
    }
}
BENCHMARK(BM_LastByteToResultShown)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(100)
    ->UseManualTime();

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
