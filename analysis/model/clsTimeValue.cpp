#include "clsTimeValue.h"

#include "basDate.h"
#include "basRuntime.h"

#include <cmath>

using namespace Qt::StringLiterals;

QString clsTimeValue::ToString(const QString& FormatExpression, bool Compact, const QString& NoDataValue,
                               const QString& SkipValue, const QString& DisqValue) const {
    if (m_value == 0)
        return NoDataValue;
    if (m_value == -2)
        return DisqValue;
    if (m_value == -1)
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
        QString text = sign;
        text.reserve(8);
        if (seconds < 60) {
            basRuntime::appendNumber(text, seconds);
            return text;
        }
        basRuntime::appendNumber(text, seconds / 60);
        text += QChar(static_cast<char16_t>(u'0' + seconds % 60 / 10));
        text += QChar(static_cast<char16_t>(u'0' + seconds % 10));
        return text;
    }
    // The usual forms within a day straight from the seconds; others through the formatter.
    const qint64 seconds = basDate::toSeconds(magnitude);
    const bool twoDigitHours = FormatExpression == u"hh:nn:ss"_s;
    if ((twoDigitHours || FormatExpression == u"h:nn:ss"_s) && seconds < basDate::SecondsPerDay) {
        QString text = sign;
        text.reserve(9);
        const auto twoDigits = [&](qint64 v) {
            text += QChar(static_cast<char16_t>(u'0' + v / 10));
            text += QChar(static_cast<char16_t>(u'0' + v % 10));
        };
        if (twoDigitHours)
            twoDigits(seconds / 3600);
        else
            basRuntime::appendNumber(text, seconds / 3600);
        text += u':';
        twoDigits(seconds / 60 % 60);
        text += u':';
        twoDigits(seconds % 60);
        return text;
    }
    return sign + basDate::format(magnitude, FormatExpression);
}

QString clsTimeValue::compactForm(double value) {
    const double magnitude = std::fabs(value);
    const qint64 seconds = basDate::toSeconds(magnitude);
    // Within a day the parts come straight from the seconds (grids and exports write thousands).
    if (seconds < basDate::SecondsPerDay) {
        QString text;
        text.reserve(9);
        if (value < 0 && seconds != 0)
            text += u'-';
        const auto twoDigits = [&](qint64 v) {
            text += QChar(static_cast<char16_t>(u'0' + v / 10));
            text += QChar(static_cast<char16_t>(u'0' + v % 10));
        };
        if (seconds < 3600) {
            basRuntime::appendNumber(text, seconds / 60);
        } else {
            basRuntime::appendNumber(text, seconds / 3600);
            text += u':';
            twoDigits(seconds / 60 % 60);
        }
        text += u':';
        twoDigits(seconds % 60);
        return text;
    }
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
