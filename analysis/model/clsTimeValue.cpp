#include "clsTimeValue.h"

#include "basConstants.h"
#include "basDate.h"
#include "basText.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A time text put together on the stack and appended in one piece: appending a character at a
// time costs a capacity check each, and exports and grids write tens of thousands of times.
class TimeText {
public:
    void put(char16_t c) { m_text[m_size++] = c; }
    void twoDigits(qint64 v) {
        put(static_cast<char16_t>(u'0' + v / 10));
        put(static_cast<char16_t>(u'0' + v % 10));
    }
    // A count of hours, minutes or seconds (never negative).
    void number(qint64 v) {
        char16_t digits[20];
        int n = 0;
        do {
            digits[n++] = static_cast<char16_t>(u'0' + v % 10);
            v /= 10;
        } while (v != 0);
        while (n > 0)
            put(digits[--n]);
    }
    void appendTo(QString& out) const { basText::appendShort(out, QStringView(m_text, m_size)); }

private:
    char16_t m_text[32];
    qsizetype m_size = 0;
};

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
    TimeText text;
    // A value within a second below zero shows no sign: it formats as zero anyway.
    if (value <= -basDate::fromSeconds(1))
        text.put(u'-');
    if (FormatExpression == u"plane"_s) {
        const qint64 seconds = basDate::toSeconds(magnitude) % basDate::SecondsPerDay;
        if (seconds < 60) {
            text.number(seconds);
        } else {
            text.number(seconds / 60);
            text.twoDigits(seconds % 60);
        }
        text.appendTo(out);
        return;
    }
    // The usual forms within a day straight from the seconds; others through the formatter.
    const qint64 seconds = basDate::toSeconds(magnitude);
    const bool twoDigitHours = FormatExpression == u"hh:nn:ss"_s;
    if ((twoDigitHours || FormatExpression == u"h:nn:ss"_s) && seconds < basDate::SecondsPerDay) {
        if (twoDigitHours)
            text.twoDigits(seconds / 3600);
        else
            text.number(seconds / 3600);
        text.put(u':');
        text.twoDigits(seconds / 60 % 60);
        text.put(u':');
        text.twoDigits(seconds % 60);
        text.appendTo(out);
        return;
    }
    text.appendTo(out);
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
        TimeText text;
        if (value < 0 && seconds != 0)
            text.put(u'-');
        if (seconds < 3600) {
            text.number(seconds / 60);
        } else {
            text.number(seconds / 3600);
            text.put(u':');
            text.twoDigits(seconds / 60 % 60);
        }
        text.put(u':');
        text.twoDigits(seconds % 60);
        text.appendTo(out);
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
