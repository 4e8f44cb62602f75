#include "basEcard250Port.h"

#include "clsEcard250FrameReader.h"

#include <QSerialPort>

using namespace Qt::StringLiterals;

namespace basEcard250Port {

bool open(QSerialPort& port, const QString& device) {
    if (port.isOpen())
        port.close();
    port.setPortName(device);
    // Set before opening: the port takes them on as it opens and fails when one does not hold.
    port.setBaudRate(QSerialPort::Baud9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::TwoStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return !device.isEmpty() && port.open(QIODevice::ReadOnly);
}

QString droppedText(const clsEcard250FrameReader& reader) {
    if (reader.droppedFrames() == 0)
        return {};
    return u"不良フレーム %1 (合計値の誤り %2、途切れ %3)"_s.arg(reader.droppedFrames())
        .arg(reader.wrongSumFrames())
        .arg(reader.brokenFrames());
}

} // namespace basEcard250Port
