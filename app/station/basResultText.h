#pragma once

// The texts the main window shows for a card read: the card, name and results labels, the
// lines of the results label (widths counted in Windows-31J bytes) and the counts.

#include <QString>

namespace basResultText {

inline const QString CrLf = QStringLiteral("\r\n");
inline const QString AlreadyRead = QStringLiteral("※読み込み済み");

// "[番号] " and the number, while a card is being read.
QString readingText(qint32 ecardNo);
// Number, then name and club, or "未登録" without a name record.
QString nameLabelText(qint32 ecardNo, bool hasName, const QString& runnerName, const QString& clubName);
// The card's stored text, then its three display lines.
QString cardLabelText(const QString& emitSystem, const QString& display1, const QString& display2,
                      const QString& display3);
// Trimmed, then cut or padded with spaces to exactly width bytes.
QString padBytes(const QString& text, int width, bool rightAligned);
// One line of the results label, CR LF included.
QString resultLine(const QString& courseName, const QString& result, const QString& rank);
QString readCountText(int reads);
QString nameCountText(int names);

} // namespace basResultText
