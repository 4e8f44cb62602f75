#pragma once

#include <QString>
#include <QStringList>

// A text cut into items at a delimiter; items are read by position, trimmed, and positions
// that do not exist read as empty text.
class CclsSplit {
public:
    CclsSplit() = default;
    CclsSplit(const QString& text, const QString& Delimiter) { setExpression(Delimiter, text); }

    void setExpression(const QString& Delimiter, const QString& text);
    QString Expression(const QString& Delimiter) const;
    QString AfterValue(int Position, const QString& Delimiter) const;
    QString Value(int Position) const;
    void setValue(int Position, const QString& text);
    int Bound() const { return static_cast<int>(m_items.size()) - 1; }

private:
    QStringList m_items;
};
