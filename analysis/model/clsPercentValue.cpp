#include "clsPercentValue.h"

#include "basConstants.h"
#include "basRuntime.h"

QString clsPercentValue::ToString(const QString& FormatExpression, const QString& NoDataValue,
                                  const QString& SkipValue) const {
    if (m_value == 0 || m_value == Quorvelin2::TimeDisq)
        return NoDataValue;
    if (m_value == Quorvelin2::TimeSkip)
        return SkipValue;
    QString out;
    out.reserve(8);
    appendTo(out, FormatExpression, NoDataValue, SkipValue);
    return out;
}

void clsPercentValue::appendTo(QString& out, QStringView FormatExpression, QStringView NoDataValue,
                               QStringView SkipValue) const {
    if (m_value == 0 || m_value == Quorvelin2::TimeDisq) {
        out += NoDataValue;
        return;
    }
    if (m_value == Quorvelin2::TimeSkip) {
        out += SkipValue;
        return;
    }
    // The ratio is a single; its percentage is taken in single precision before formatting.
    const float percent = m_value * 100.0f;
    basRuntime::appendFormattedNumber(out, static_cast<double>(percent), FormatExpression);
}
