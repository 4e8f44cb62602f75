#include "CclsSplit.h"

void CclsSplit::setExpression(const QString& Delimiter, const QString& text) {
    if (text.isEmpty()) {
        m_items.clear();
        return;
    }
    m_items = Delimiter.isEmpty() ? QStringList{text}
                                  : text.split(Delimiter, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QString CclsSplit::Expression(const QString& Delimiter) const {
    return m_items.join(Delimiter);
}

QString CclsSplit::AfterValue(int Position, const QString& Delimiter) const {
    if (Position < 0 || Position > Bound())
        return QString();
    return m_items.mid(Position).join(Delimiter);
}

QString CclsSplit::Value(int Position) const {
    if (Position < 0 || Position > Bound())
        return QString();
    return m_items[Position].trimmed();
}

void CclsSplit::setValue(int Position, const QString& text) {
    if (Position < 0)
        return;
    if (Position <= Bound()) {
        m_items[Position] = text.trimmed();
        return;
    }
    if (text.isEmpty())
        return;
    while (m_items.size() < Position)
        m_items.append(QString());
    m_items.append(text.trimmed());
}
