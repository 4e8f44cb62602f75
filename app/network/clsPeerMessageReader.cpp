#include "clsPeerMessageReader.h"

#include <QStringList>

#include <algorithm>

using basPeerMessage::CloseMarker;
using basPeerMessage::OpenMarker;

clsPeerMessageReader::Arrival clsPeerMessageReader::feed(const QByteArray& arrival) {
    Arrival a;
    const qsizetype start = m_text.size();
    qsizetype i = 0;
    const qsizetype n = arrival.size();
    const auto unit = [](char low, char high) {
        return QChar(static_cast<char16_t>(static_cast<uchar>(low) | static_cast<uchar>(high) << 8));
    };
    if (m_hasOddByte && n > 0) {
        m_text.append(unit(m_oddByte, arrival[0]));
        m_hasOddByte = false;
        i = 1;
    }
    for (; i + 1 < n; i += 2)
        m_text.append(unit(arrival[i], arrival[i + 1]));
    if (i < n) {
        // The second half of this character comes with the next arrival.
        m_oddByte = arrival[i];
        m_hasOddByte = true;
    }

    a.buffered = bytes();
    // End markers are found from the left, as the split finds them (a text like
    // "/mk2cd/mk2cd/" holds one, not two). The text before this arrival holds none, so the
    // first can start at most a marker's length before the new text.
    const qsizetype length = CloseMarker.size();
    qsizetype end = -1;
    for (qsizetype at = m_text.indexOf(CloseMarker, std::max<qsizetype>(0, start - (length - 1))); at >= 0;
         at = m_text.indexOf(CloseMarker, at + length))
        end = at + length;
    if (end >= 0) {
        const QString taken = m_text.left(end);
        m_text.remove(0, end);
        a.arrived = true;
        for (const QString& piece : taken.split(CloseMarker)) {
            if (piece.isEmpty())
                continue;
            const QStringList fields = piece.split(OpenMarker);
            if (fields.size() >= 3)
                a.messages.push_back({fields[0], fields[1], fields[2]});
        }
    }
    a.overflow = bytes() > m_maxBufferBytes;
    return a;
}

void clsPeerMessageReader::clear() {
    m_text.clear();
    m_hasOddByte = false;
    m_oddByte = 0;
}
