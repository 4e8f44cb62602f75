// Ten clients each send 10,000 requests over loopback to one listening peer link, keeping a
// window of requests in flight; every answer must come back to the client that asked, with
// its own request number and the text made from its own request.
#include "ctlSimpleNetwork.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTimer>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int Clients = 10;
constexpr int RequestsPerClient = 10000;
constexpr int Window = 64;

struct Client {
    ctlSimpleNetwork net;
    int index = 0;
    int sent = 0;
    int answered = 0;
    QHash<qint32, QString> pending; // request number -> the answer it must get
    qint64 misrouted = 0;

    void sendMore() {
        while (sent < RequestsPerClient && pending.size() < Window) {
            const qint32 id = index * 1000000 + sent + 1;
            const QString option = u"%1,runner %2,club %3"_s.arg(id).arg(sent).arg(index);
            pending.insert(id, u"OK:"_s + option);
            net.SendRequestToRemote(u"ApplicationNameData"_s, option, id);
            ++sent;
        }
    }
};

void BM_PeerLinkSoak(benchmark::State& state) {
    qint64 lost = 0, misrouted = 0, answers = 0;
    double seconds = 0;
    for (auto _ : state) {
        ctlSimpleNetwork server;
        server.StartListen(0);
        if (!server.IsListen()) {
            state.SkipWithError("cannot listen");
            return;
        }
        QObject::connect(
            &server, &ctlSimpleNetwork::DataRequested,
            [](const QString&, const QString& option, int, QString& answer) { answer = u"OK:"_s + option; });

        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < Clients; ++i) {
            auto c = std::make_unique<Client>();
            c->index = i + 1;
            Client* raw = c.get();
            QObject::connect(&raw->net, &ctlSimpleNetwork::DataAnswered,
                             [raw](qint32 id, const QString& answer) {
                                 const auto it = raw->pending.find(id);
                                 if (it == raw->pending.end() || *it != answer) {
                                     ++raw->misrouted;
                                 } else {
                                     raw->pending.erase(it);
                                     ++raw->answered;
                                 }
                                 raw->sendMore();
                             });
            QObject::connect(&raw->net, &ctlSimpleNetwork::Connected, [raw] { raw->sendMore(); });
            c->net.OpenLink(u"127.0.0.1"_s, server.ListenPort());
            clients.push_back(std::move(c));
        }

        QElapsedTimer timer;
        timer.start();
        auto finished = [&] {
            for (const auto& c : clients)
                if (c->answered + c->misrouted < RequestsPerClient)
                    return false;
            return true;
        };
        // Bounded: a stalled link ends the run and shows as lost requests.
        QTimer wake; // keeps the loop waking up to look at the clock
        wake.start(100);
        while (!finished() && timer.elapsed() < 120000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

        lost = misrouted = answers = 0;
        for (const auto& c : clients) {
            answers += c->answered;
            misrouted += c->misrouted;
            lost += RequestsPerClient - c->answered - c->misrouted;
        }
        for (auto& c : clients)
            c->net.CloseLink();
        server.StopListen();
    }
    state.counters["requests"] = static_cast<double>(Clients) * RequestsPerClient;
    state.counters["answered"] = static_cast<double>(answers);
    state.counters["lost"] = static_cast<double>(lost);
    state.counters["misrouted"] = static_cast<double>(misrouted);
    state.counters["requests_per_s"] = seconds > 0 ? static_cast<double>(answers) / seconds : 0;
    if (lost || misrouted)
        state.SkipWithError("requests lost or misrouted");
}

BENCHMARK(BM_PeerLinkSoak)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
