#include "clsMissTimeValue.h"

#include "basConstants.h"
#include "clsTimeValue.h"

QString clsMissTimeValue::ToString(const QString& FormatExpression, bool Compact, const QString& NoDataValue,
                                   const QString& SkipValue) const {
    if (m_value == Initial || m_value == Quorvelin2::TimeDisq)
        return NoDataValue;
    if (m_value == Quorvelin2::TimeSkip)
        return SkipValue;
    return clsTimeValue::formatTime(m_value, FormatExpression, Compact);
}
