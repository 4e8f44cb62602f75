#include "basPeerMessage.h"

#include "basRuntime.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace basPeerMessage {

namespace {

QString field(const QStringList& fields, qsizetype i) {
    return i < fields.size() ? fields[i] : QString();
}

} // namespace

QString message(const QString& command, const QString& key, const QString& data) {
    return command + OpenMarker + key + OpenMarker + data + CloseMarker;
}

QByteArray encode(const QString& text) {
    QByteArray bytes;
    bytes.resize(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        bytes[2 * i] = static_cast<char>(u & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(u >> 8);
    }
    return bytes;
}

QByteArray encodeMessage(const QString& command, const QString& key, const QString& data) {
    return encode(message(command, key, data));
}

QString requestBody(qint32 RequestID, const QString& TargetValue, const QString& OptionValue) {
    return QString::number(RequestID) + RecordMarker + TargetValue + RecordMarker + OptionValue +
           RecordMarker + u"-1"_s;
}

QString answerBody(qint32 RequestID, const QString& answer) {
    return QString::number(RequestID) + RecordMarker + answer;
}

Request parseRequest(const QString& body) {
    const QStringList fields = body.split(RecordMarker);
    return {basRuntime::leadingLong(field(fields, 0)), field(fields, 1), field(fields, 2)};
}

Answer parseAnswer(const QString& body) {
    const QStringList fields = body.split(RecordMarker);
    return {basRuntime::leadingLong(field(fields, 0)), field(fields, 1)};
}

} // namespace basPeerMessage
