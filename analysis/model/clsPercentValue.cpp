#include "clsPercentValue.h"

#include "basConstants.h"
#include "basRuntime.h"

QString clsPercentValue::ToString(const QString& FormatExpression, const QString& NoDataValue,
                                  const QString& SkipValue) const {
    if (m_value == 0 || m_value == Quorvelin2::TimeDisq)
        return NoDataValue;
    if (m_value == Quorvelin2::TimeSkip)
        return SkipValue;
    // The ratio is a single; its percentage is taken in single precision before formatting.
    const float percent = m_value * 100.0f;
    return basRuntime::formatNumber(static_cast<double>(percent), FormatExpression);
}
