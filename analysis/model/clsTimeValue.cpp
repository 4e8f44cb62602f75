#include "clsTimeValue.h"

#include "basConstants.h"
#include "basDate.h"
#include "basRuntime.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

void appendTwoDigits(QString& out, qint64 v) {
    out += QChar(static_cast<char16_t>(u'0' + v / 10));
    out += QChar(static_cast<char16_t>(u'0' + v % 10));
}

} // namespace

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

void clsTimeValue::appendTo(QString& out, const QString& FormatExpression, bool Compact,
                            QStringView NoDataValue, QStringView SkipValue, QStringView DisqValue) const {
    if (m_value == 0)
        out += NoDataValue;
    else if (m_value == -2)
        out += DisqValue;
    else if (m_value == -1)
        out += SkipValue;
    else
        appendTime(out, m_value, FormatExpression, Compact);
}

QString clsTimeValue::formatTime(double value, const QString& FormatExpression, bool Compact) {
    // Room for the usual forms: appending a character at a time would reallocate several times.
    QString text;
    text.reserve(16);
    appendTime(text, value, FormatExpression, Compact);
    return text;
}

void clsTimeValue::appendTime(QString& out, double value, const QString& FormatExpression, bool Compact) {
    if (Compact) {
        appendCompact(out, value);
        return;
    }
    const double magnitude = std::fabs(value);
    // A value within a second below zero shows no sign: it formats as zero anyway.
    if (value <= -basDate::fromSeconds(1))
        out += u'-';
    if (FormatExpression == u"plane"_s) {
        const qint64 seconds = basDate::toSeconds(magnitude) % basDate::SecondsPerDay;
        if (seconds < 60) {
            basRuntime::appendNumber(out, seconds);
            return;
        }
        basRuntime::appendNumber(out, seconds / 60);
        appendTwoDigits(out, seconds % 60);
        return;
    }
    // The usual forms within a day straight from the seconds; others through the formatter.
    const qint64 seconds = basDate::toSeconds(magnitude);
    const bool twoDigitHours = FormatExpression == u"hh:nn:ss"_s;
    if ((twoDigitHours || FormatExpression == u"h:nn:ss"_s) && seconds < basDate::SecondsPerDay) {
        if (twoDigitHours)
            appendTwoDigits(out, seconds / 3600);
        else
            basRuntime::appendNumber(out, seconds / 3600);
        out += u':';
        appendTwoDigits(out, seconds / 60 % 60);
        out += u':';
        appendTwoDigits(out, seconds % 60);
        return;
    }
    out += basDate::format(magnitude, FormatExpression);
}

QString clsTimeValue::compactForm(double value) {
    QString text;
    text.reserve(16);
    appendCompact(text, value);
    return text;
}

void clsTimeValue::appendCompact(QString& out, double value) {
    const double magnitude = std::fabs(value);
    const qint64 seconds = basDate::toSeconds(magnitude);
    // Within a day the parts come straight from the seconds (grids and exports write thousands).
    if (seconds < basDate::SecondsPerDay) {
        if (value < 0 && seconds != 0)
            out += u'-';
        if (seconds < 3600) {
            basRuntime::appendNumber(out, seconds / 60);
        } else {
            basRuntime::appendNumber(out, seconds / 3600);
            out += u':';
            appendTwoDigits(out, seconds / 60 % 60);
        }
        out += u':';
        appendTwoDigits(out, seconds % 60);
        return;
    }
    QString text;
    if (seconds < 600)
        text = basDate::format(magnitude, u"n:ss");
    else if (seconds < 3600)
        text = basDate::format(magnitude, u"nn:ss");
    else
        text = basDate::format(magnitude, u"h:nn:ss");
    if (value < 0 && text != u"0:00"_s)
        out += u'-';
    out += text;
}
