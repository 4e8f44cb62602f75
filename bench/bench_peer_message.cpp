// The peer link's message reader: a stream of requests as arrivals of a few bytes, and one
// long message a peer drips in two bytes at a time up to the buffer's cap. The drip costs time
// in proportion to its length, not to its square: the end marker is looked for in the new text.
#include "basPeerMessage.h"
#include "clsPeerMessageReader.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

void BM_PeerMessageRequests(benchmark::State& state) {
    QByteArray stream;
    for (int i = 0; i < 1000; ++i)
        stream += basPeerMessage::encodeMessage(
            u"RequestData"_s, u"0"_s,
            basPeerMessage::requestBody(i, u"FolderNameData"_s,
                                        u"%1,山田 太郎,東京OLクラブ"_s.arg(401000 + i)));
    const qsizetype chunk = state.range(0);
    for (auto _ : state) {
        clsPeerMessageReader reader;
        size_t messages = 0;
        for (qsizetype at = 0; at < stream.size(); at += chunk)
            messages += reader.feed(stream.mid(at, chunk)).messages.size();
        if (messages != 1000)
            state.SkipWithError("messages lost");
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(BM_PeerMessageRequests)->Arg(7)->Arg(1460)->Unit(benchmark::kMicrosecond);

void BM_PeerMessageDrip(benchmark::State& state) {
    const qsizetype bytes = state.range(0);
    const QByteArray two = basPeerMessage::encode(u"x"_s);
    for (auto _ : state) {
        clsPeerMessageReader reader;
        for (qsizetype at = 0; at < bytes; at += 2)
            benchmark::DoNotOptimize(reader.feed(two));
        if (reader.bytes() != bytes)
            state.SkipWithError("bytes lost");
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_PeerMessageDrip)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
