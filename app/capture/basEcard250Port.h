#pragma once

// The reading unit's serial line, set up in one place for every reader of it: 9600 baud, no
// parity, 8 data bits, 2 stop bits, no flow control, opened for reading only (nothing is ever
// sent to the unit). Also the status texts that tell an operator how the line stands.

#include <QString>

class QSerialPort;
class clsEcard250FrameReader;

namespace basEcard250Port {

inline const QString TextConnecting = QStringLiteral("　 接続中です ...");
inline const QString TextCannotConnect = QStringLiteral("× 接続できません");
inline const QString TextConnected = QStringLiteral("○ 接続しました");
inline const QString TextNotConnected = QStringLiteral("× 接続していません");

// Opens the device with the unit's line settings; false when it cannot (the port's
// errorString() says why) or when no device is named.
bool open(QSerialPort& port, const QString& device);

// The frames the reader dropped, by kind; empty while there are none.
QString droppedText(const clsEcard250FrameReader& reader);

} // namespace basEcard250Port
