#include "clsEcard250FrameReader.h"

#include "basDate.h"

#include <algorithm>
#include <cstring>

clsEcard250FrameReader::clsEcard250FrameReader(QObject* parent) : QObject(parent) {}

void clsEcard250FrameReader::setClock(std::function<double()> clock) {
    m_clock = std::move(clock);
}

double clsEcard250FrameReader::now() const {
    return m_clock ? m_clock() : basDate::now();
}

QByteArray clsEcard250FrameReader::scramble(const QByteArray& bytes) {
    QByteArray out = bytes;
    for (char& b : out)
        b = static_cast<char>(scramble(static_cast<quint8>(b)));
    return out;
}

void clsEcard250FrameReader::seal(QByteArray& frame) {
    if (frame.size() < FrameSize)
        frame.append(FrameSize - frame.size(), '\0');
    frame.truncate(FrameSize);
    frame[0] = static_cast<char>(FrameStart);
    frame[1] = static_cast<char>(FrameStart);
    quint32 header = 0;
    for (int i = 2; i < HeaderSize - 1; ++i)
        header += static_cast<quint8>(frame[i]);
    frame[HeaderSize - 1] = static_cast<char>((256 - header % 256) % 256);
    quint32 all = 0;
    for (int i = 0; i < FrameSize - 1; ++i)
        all += static_cast<quint8>(frame[i]);
    frame[FrameSize - 1] = static_cast<char>((256 - all % 256) % 256);
}

bool clsEcard250FrameReader::sumsHold(const QByteArray& frame) {
    if (frame.size() != FrameSize || static_cast<quint8>(frame[0]) != FrameStart ||
        static_cast<quint8>(frame[1]) != FrameStart)
        return false;
    quint32 header = 0;
    quint32 all = 0;
    for (int i = 0; i < FrameSize; ++i) {
        const quint8 b = static_cast<quint8>(frame[i]);
        if (i >= 2 && i < HeaderSize)
            header += b;
        all += b;
    }
    return header % 256 == 0 && all % 256 == 0;
}

bool clsEcard250FrameReader::transmittable(const QByteArray& frame) {
    if (frame.size() != FrameSize)
        return false;
    // Positions 11-216 are checked against the byte before; 217 completes the frame first.
    for (int p = HeaderSize + 1; p < FrameSize; ++p)
        if (static_cast<quint8>(frame[p - 2]) == 0xFF && static_cast<quint8>(frame[p - 1]) == 0xFF)
            return false;
    return true;
}

void clsEcard250FrameReader::feed(const QByteArray& bytes) {
    feed(bytes.constData(), bytes.size());
}

void clsEcard250FrameReader::feed(const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i)
        treat(scramble(static_cast<quint8>(data[i])));
}

void clsEcard250FrameReader::treat(quint8 c) {
    if (!m_inFrame) {
        m_writeIndex = m_writeIndex % HeaderSize + 1;
        m_window[static_cast<size_t>(m_writeIndex)] = c;
        // Oldest first: the slot after the write index.
        const auto w = [this](int k) {
            return m_window[static_cast<size_t>((m_writeIndex + k - 1) % HeaderSize + 1)];
        };
        if (w(1) != FrameStart || w(2) != FrameStart)
            return;
        quint32 sum = 0;
        for (int k = 3; k <= HeaderSize; ++k)
            sum += w(k);
        if (sum % 256 != 0)
            return;

        m_headerTime = now();
        m_sum = 0;
        for (int k = 1; k <= HeaderSize; ++k) {
            m_frame[static_cast<size_t>(k)] = w(k);
            m_sum += w(k);
        }
        m_position = HeaderSize;
        m_inFrame = true;
        // The window starts empty: left-over header bytes would otherwise join the next
        // bytes into a false header now and then, and the frame behind it would be lost.
        m_window.fill(0);
        m_writeIndex = 0;
        const qint32 number = m_frame[3] + 256 * m_frame[4] + 65536 * m_frame[5];
        if (number != m_lastHeaderNo) {
            m_lastHeaderNo = number;
            m_lastHeaderTime = m_headerTime;
            emit Reading(number);
        }
        return;
    }

    ++m_position;
    m_frame[static_cast<size_t>(m_position)] = c;
    m_sum += c;
    if (m_position == FrameSize) {
        m_inFrame = false;
        m_position = 0;
        complete();
        return;
    }
    // Two 0xFF bytes in a row are the start of another frame. The header part is exempt: a
    // second copy collected without header search holds the same header bytes as the first,
    // which passed the window unchecked (a card number ending in 0xFF is legitimate).
    if (m_position > HeaderSize && m_frame[static_cast<size_t>(m_position - 1)] == 0xFF && c == 0xFF) {
        m_inFrame = false;
        m_position = 0;
        m_window.fill(0);
        m_window[1] = FrameStart;
        m_window[2] = FrameStart;
        m_writeIndex = 2;
        ++m_broken;
        emit FrameDropped();
    }
}

void clsEcard250FrameReader::complete() {
    if (m_sum % 256 != 0) {
        ++m_wrongSums;
        emit FrameDropped();
        return;
    }
    const quint8* frame = m_frame.data() + 1;
    if (std::memcmp(frame, m_previous.data(), FrameSize) != 0) {
        // First copy: the unit sends the second one right behind it.
        std::memcpy(m_previous.data(), frame, FrameSize);
        m_inFrame = true;
        m_position = 0;
        m_sum = 0;
        return;
    }
    if (std::memcmp(frame, m_delivered.data(), FrameSize) == 0)
        return; // the same content again without another card in between
    deliver();
}

void clsEcard250FrameReader::deliver() {
    std::memcpy(m_delivered.data(), m_frame.data() + 1, FrameSize);
    const QByteArray bytes(reinterpret_cast<const char*>(m_frame.data() + 1), FrameSize);
    auto tag = std::make_shared<clsEcardTagData>();
    const qint32 number = m_frame[3] + 256 * m_frame[4] + 65536 * m_frame[5];
    // The read counts from the moment the card was first laid on the unit.
    tag->setReadData(number == m_lastHeaderNo ? m_lastHeaderTime : now(), bytes);
    emit ReadTag(tag);
}
