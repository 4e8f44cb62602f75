#include "clsDateValue.h"

#include "basDate.h"

QString clsDateValue::ToString(const QString& FormatExpression) const {
    if (m_value == 0)
        return QString();
    return basDate::format(m_value, FormatExpression);
}
