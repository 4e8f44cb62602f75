#include "basResultText.h"

#include "basRuntime.h"
#include "basText.h"

using namespace Qt::StringLiterals;

namespace basResultText {

QString readingText(qint32 ecardNo) {
    return u"[番号] "_s + QString::number(ecardNo);
}

QString nameLabelText(qint32 ecardNo, bool hasName, const QString& runnerName, const QString& clubName) {
    const QString number = u"番号     "_s + QString::number(ecardNo) + CrLf;
    if (!hasName)
        return number + u"氏名     未登録"_s;
    return number + u"氏名     "_s + runnerName + CrLf + u"所属     "_s + clubName;
}

QString cardLabelText(const QString& emitSystem, const QString& display1, const QString& display2,
                      const QString& display3) {
    return emitSystem.trimmed() + CrLf + QString(display1 + display2 + display3).trimmed();
}

QString padBytes(const QString& text, int width, bool rightAligned) {
    return basText::padToWidth(text.trimmed(), width,
                               rightAligned ? basText::Align::Right : basText::Align::Left);
}

QString resultLine(const QString& courseName, const QString& result, const QString& rank) {
    QString line = padBytes(courseName, 8, false) + padBytes(result, 8, true);
    if (basRuntime::isNumeric(rank))
        line += padBytes(rank, 5, true) + u"位"_s;
    else
        line += u"  "_s + rank;
    return line + CrLf;
}

QString readCountText(int reads) {
    return QString::number(reads) + u"枚"_s;
}

QString nameCountText(int names) {
    return QString::number(names) + u"件"_s;
}

} // namespace basResultText
