#pragma once

// The peer link's messages as they go on the wire, apart from any socket. A message is text
// sent as UTF-16LE bytes (no byte-order mark, no length): command, key and data, each followed
// by a marker. Requests and answers carry a body of their own fields. No text may contain a
// marker; a receiver splits on them.

#include <QByteArray>
#include <QString>

namespace basPeerMessage {

inline const QString OpenMarker = QStringLiteral("/mk2od/");
inline const QString CloseMarker = QStringLiteral("/mk2cd/");
inline const QString RecordMarker = QStringLiteral("/mk2rd/");

struct Message {
    QString command;
    QString key;
    QString data;
    bool operator==(const Message&) const = default;
};

struct Request {
    qint32 id = 0;
    QString target;
    QString option;
};

struct Answer {
    qint32 id = 0;
    QString answer;
};

QString message(const QString& command, const QString& key, const QString& data);
// UTF-16LE, two bytes per character.
QByteArray encode(const QString& text);
// A whole message, ready to send.
QByteArray encodeMessage(const QString& command, const QString& key, const QString& data);

QString requestBody(qint32 RequestID, const QString& TargetValue, const QString& OptionValue);
QString answerBody(qint32 RequestID, const QString& answer);
// The first fields of a body; missing ones are empty, the number is the leading one.
Request parseRequest(const QString& body);
Answer parseAnswer(const QString& body);

} // namespace basPeerMessage
