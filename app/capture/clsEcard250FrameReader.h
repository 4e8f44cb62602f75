#pragma once

// The byte stream of the model-250 reading unit, without the port: bytes in, cards out.
//
// The unit sends every card as a scrambled 217-byte frame, twice back to back. The reader
// unscrambles each byte, looks for a frame header in a ten-byte window, collects frames,
// checks their sums and delivers a card once two equal copies followed each other, and not
// again while the same content comes back without another card in between.
//
// The frame constants and the scrambling are public so that anything writing frames (the
// simulator, tests) uses the same rules as the reader.

#include "clsEcardTagData.h"

#include <QByteArray>
#include <QObject>

#include <array>
#include <functional>
#include <memory>

class clsEcard250FrameReader : public QObject {
    Q_OBJECT

public:
    static constexpr int FrameSize = clsEcardTagData::FrameSize; // 217
    static constexpr int HeaderSize = 10;
    static constexpr quint8 ScrambleKey = 0xDF;
    static constexpr quint8 FrameStart = 0xFF; // bytes 1 and 2 after unscrambling

    explicit clsEcard250FrameReader(QObject* parent = nullptr);

    // Treats received bytes in arrival order; raises Reading and ReadTag as they come.
    void feed(const QByteArray& bytes);
    void feed(const char* data, qsizetype size);

    // The clock for header and read times (date values); empty restores the system clock.
    void setClock(std::function<double()> clock);

    // Card number of the last header whose number differed from the one before (0 at start).
    qint32 lastHeaderCardNumber() const { return m_lastHeaderNo; }
    bool inFrame() const { return m_inFrame; }
    // Frames dropped since the reader was made: complete frames whose sum was wrong, and frames
    // broken off by the start of another. A noisy line shows here; a quiet unit does not.
    quint64 wrongSumFrames() const { return m_wrongSums; }
    quint64 brokenFrames() const { return m_broken; }
    quint64 droppedFrames() const { return m_wrongSums + m_broken; }

    // Scrambling is its own inverse.
    static quint8 scramble(quint8 byte) { return byte ^ ScrambleKey; }
    static QByteArray scramble(const QByteArray& bytes);
    // Sets the check bytes of an unscrambled frame (217 bytes, bytes 1-2 are the frame start):
    // byte 10 so that bytes 3-10 sum to 0 modulo 256, byte 217 so that all bytes do.
    static void seal(QByteArray& frame);
    // Both sums of an unscrambled frame hold.
    static bool sumsHold(const QByteArray& frame);
    // The reader receives the frame as it is: no two 0xFF bytes in a row after the header,
    // which would be taken for the start of another frame.
    static bool transmittable(const QByteArray& frame);

signals:
    void Reading(qint32 EcardNo);
    void ReadTag(std::shared_ptr<clsEcardTagData> TagData);
    // A frame was dropped; the counts above say which kind.
    void FrameDropped();

private:
    void treat(quint8 c);
    void complete();
    void deliver();
    double now() const;

    using Frame = std::array<quint8, FrameSize>;

    std::array<quint8, HeaderSize + 1> m_window{}; // slots 1-10
    int m_writeIndex = 0;                          // 0-10
    std::array<quint8, FrameSize + 1> m_frame{};   // positions 1-217
    bool m_inFrame = false;
    int m_position = 0;
    quint32 m_sum = 0;
    Frame m_previous{};
    Frame m_delivered{};
    qint32 m_lastHeaderNo = 0;
    double m_headerTime = 0;
    double m_lastHeaderTime = 0;
    std::function<double()> m_clock;
    quint64 m_wrongSums = 0;
    quint64 m_broken = 0;
};
