#pragma once

// One connection's receiving side of the peer link, without the socket: bytes in as they
// arrive, complete messages out. An arrival may end in the middle of a character (the odd
// byte waits for its other half) or of a message (the text waits for its end marker).
// Everything up to the last end marker is taken at once, so complete messages are never held
// back by a fragment behind them. Text left waiting is capped: a peer that never ends a
// message is to be dropped, not buffered without bound.

#include "basPeerMessage.h"

#include <QByteArray>
#include <QString>

#include <vector>

class clsPeerMessageReader {
public:
    static constexpr qint64 DefaultMaxBufferBytes = 1 << 20;

    struct Arrival {
        // Pieces with at least three fields, in order; further fields are ignored.
        std::vector<basPeerMessage::Message> messages;
        // An end marker came: the buffer held one or more complete message blocks.
        bool arrived = false;
        // Bytes held after the arrival, before the complete blocks were taken.
        qint64 buffered = 0;
        // What stays behind exceeds the cap.
        bool overflow = false;
    };

    Arrival feed(const QByteArray& bytes);
    void clear();
    // Bytes held: the waiting text and an odd byte.
    qint64 bytes() const { return m_text.size() * 2 + (m_hasOddByte ? 1 : 0); }

    qint64 maxBufferBytes() const { return m_maxBufferBytes; }
    void setMaxBufferBytes(qint64 bytes) { m_maxBufferBytes = bytes; }

private:
    QString m_text;
    char m_oddByte = 0;
    bool m_hasOddByte = false;
    qint64 m_maxBufferBytes = DefaultMaxBufferBytes;
};
