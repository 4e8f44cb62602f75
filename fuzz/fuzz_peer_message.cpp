// Arbitrary bytes from a peer: the reader takes them whole or in arrivals of any size alike,
// holds no more than it reports, hands out fields without markers, and what the writer makes
// of its messages reads back the same.
#include "basPeerMessage.h"
#include "clsPeerMessageReader.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using basPeerMessage::Message;

std::vector<Message> feedAll(clsPeerMessageReader& reader, const QByteArray& bytes, unsigned seed) {
    std::vector<Message> out;
    qsizetype at = 0;
    while (at < bytes.size()) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype length = static_cast<qsizetype>((seed >> 16) % 23 + 1);
        const clsPeerMessageReader::Arrival a = reader.feed(bytes.mid(at, length));
        if (a.buffered < reader.bytes() || a.overflow != (reader.bytes() > reader.maxBufferBytes()))
            std::abort();
        out.insert(out.end(), a.messages.begin(), a.messages.end());
        at += length;
    }
    return out;
}

bool hasMarker(const QString& field) {
    return field.contains(basPeerMessage::OpenMarker) || field.contains(basPeerMessage::CloseMarker);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    clsPeerMessageReader whole;
    const clsPeerMessageReader::Arrival once = whole.feed(bytes);
    clsPeerMessageReader pieces;
    const std::vector<Message> split = feedAll(pieces, bytes, data[0]);
    if (split != once.messages || pieces.bytes() != whole.bytes())
        std::abort();

    QByteArray again;
    for (const Message& m : once.messages) {
        if (hasMarker(m.command) || hasMarker(m.key) || hasMarker(m.data))
            std::abort();
        again += basPeerMessage::encodeMessage(m.command, m.key, m.data);
    }
    clsPeerMessageReader back;
    if (back.feed(again).messages != once.messages || back.bytes() != 0)
        std::abort();
    return 0;
}
