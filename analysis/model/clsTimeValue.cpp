#include "clsTimeValue.h"

#include "basConstants.h"
#include "basDate.h"

#include <cmath>

using namespace Qt::StringLiterals;

QString clsTimeValue::ToString(const QString& FormatExpression, bool Compact, const QString& NoDataValue,
                               const QString& SkipValue, const QString& DisqValue) const {
    if (m_value == 0)
        return NoDataValue;
    if (m_value == Quorvelin2::TimeDisq)
        return DisqValue;
    if (m_value == Quorvelin2::TimeSkip)
        return SkipValue;
    return formatTime(m_value, FormatExpression, Compact);
}

QString clsTimeValue::formatTime(double value, const QString& FormatExpression, bool Compact) {
    if (Compact)
        return compactForm(value);
    const double magnitude = std::fabs(value);
    // A value within a second below zero shows no sign: it formats as zero anyway.
    const QString sign = value <= -basDate::fromSeconds(1) ? u"-"_s : QString();
    if (FormatExpression == u"plane"_s) {
        const qint64 seconds = basDate::toSeconds(magnitude) % basDate::SecondsPerDay;
        if (seconds < 60)
            return sign + QString::number(seconds);
        return sign + QString::number(seconds / 60) + u"%1"_s.arg(seconds % 60, 2, 10, QLatin1Char('0'));
    }
    return sign + basDate::format(magnitude, FormatExpression);
}

QString clsTimeValue::compactForm(double value) {
    const double magnitude = std::fabs(value);
    const qint64 seconds = basDate::toSeconds(magnitude);
    QString text;
    if (seconds < 600)
        text = basDate::format(magnitude, u"n:ss");
    else if (seconds < 3600)
        text = basDate::format(magnitude, u"nn:ss");
    else
        text = basDate::format(magnitude, u"h:nn:ss");
    if (value < 0 && text != u"0:00"_s)
        text.prepend(u'-');
    return text;
}
