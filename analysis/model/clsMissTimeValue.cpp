#include "clsMissTimeValue.h"

#include "clsTimeValue.h"

QString clsMissTimeValue::ToString(const QString& FormatExpression, bool Compact, const QString& NoDataValue,
                                   const QString& SkipValue) const {
    if (m_value == Initial || m_value == -2)
        return NoDataValue;
    if (m_value == -1)
        return SkipValue;
    return clsTimeValue::formatTime(m_value, FormatExpression, Compact);
}

void clsMissTimeValue::appendTo(QString& out, const QString& FormatExpression, bool Compact,
                                QStringView NoDataValue, QStringView SkipValue) const {
    if (m_value == Initial || m_value == -2)
        out += NoDataValue;
    else if (m_value == -1)
        out += SkipValue;
    else
        clsTimeValue::appendTime(out, m_value, FormatExpression, Compact);
}
