#include "basTypedResult.h"

#include "basDate.h"
#include "basRuntime.h"
#include "basText.h"

using namespace Qt::StringLiterals;

namespace basTypedResult {

namespace {

QString trimSpaces(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == u' ')
        ++from;
    while (to > from && text[to - 1] == u' ')
        --to;
    return text.mid(from, to - from).toString();
}

bool allDigits(QStringView text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

TypedTime understood(qint64 seconds) {
    seconds %= basDate::SecondsPerDay;
    if (seconds < 0)
        seconds += basDate::SecondsPerDay;
    TypedTime t;
    t.isTime = true;
    t.seconds = static_cast<qint32>(seconds);
    t.text = basDate::format(basDate::fromSeconds(seconds), basDate::Form::HhNnSs);
    return t;
}

std::optional<TypedTime> recognizedTime(QStringView text) {
    const auto value = basDate::recognize(text);
    if (!value)
        return std::nullopt;
    return understood(basDate::toSeconds(basDate::timePart(*value)));
}

// Digit strings of 1 to 6 digits stand for the last digits of "hh:nn:ss".
QString expandDigits(const QString& d) {
    switch (d.size()) {
    case 1:
        return u"00:00:0"_s + d;
    case 2:
        return u"00:00:"_s + d;
    case 3:
        return u"00:0"_s + d.mid(0, 1) + u':' + d.mid(1, 2);
    case 4:
        return u"00:"_s + d.mid(0, 2) + u':' + d.mid(2, 2);
    case 5:
        return u"0"_s + d.mid(0, 1) + u':' + d.mid(1, 2) + u':' + d.mid(3, 2);
    case 6:
        return d.mid(0, 2) + u':' + d.mid(2, 2) + u':' + d.mid(4, 2);
    default:
        return d;
    }
}

QString fromPatterns(const QString& t) {
    using basRuntime::like;
    if (like(t, u"#:##"))
        return u"00:0"_s + t;
    if (like(t, u"##:##"))
        return u"00:"_s + t;
    if (like(t, u"#:##'##\""))
        return u"0"_s + t.mid(0, 1) + u':' + t.mid(2, 2) + u':' + t.mid(5, 2);
    if (like(t, u"##:##'##\""))
        return t.mid(0, 2) + u':' + t.mid(3, 2) + u':' + t.mid(6, 2);
    if (like(t, u"###:##"))
        return understood(t.mid(0, 3).toInt() * 60 + t.mid(4, 2).toInt()).text;
    return t;
}

TypedTime finish(const QString& t) {
    // "hh:nn:ss" with any two-digit fields, carried over (75 seconds are 1:15).
    if (t.size() == 8 && t.contains(u':')) {
        const QStringView v(t);
        const QStringView h = v.mid(0, 2), n = v.mid(3, 2), s = v.mid(6, 2);
        if (allDigits(h) && allDigits(n) && allDigits(s))
            return understood(h.toInt() * 3600LL + n.toInt() * 60LL + s.toInt());
    }
    if (auto r = recognizedTime(t))
        return *r;
    TypedTime unchanged;
    unchanged.text = t;
    return unchanged;
}

} // namespace

TypedTime ReadTypedTime(QStringView input) {
    // Full-width digits and marks read as their half-width forms, as the number test does.
    QString t = trimSpaces(basText::toNarrow(input));
    if (const qsizetype paren = t.indexOf(u'('); paren >= 0)
        t = trimSpaces(QStringView(t).left(paren));

    if (basRuntime::isNumeric(t)) {
        if (allDigits(t))
            t = expandDigits(t);
        return finish(t);
    }
    if (basDate::isDate(t)) {
        if (t.count(u':') == 1) {
            if (auto r = recognizedTime(QString(u"0:"_s + t)))
                return *r;
        }
        return *recognizedTime(t);
    }
    return finish(fromPatterns(t));
}

float ResultOrderKey(QStringView result) {
    const QString t = basText::toNarrow(trimSpaces(result).toUpper());
    if (t.isEmpty())
        return 0.0f;
    if (const TypedTime typed = ReadTypedTime(t); typed.isTime)
        return static_cast<float>(basDate::fromSeconds(typed.seconds));
    if (t == u"DNF"_s)
        return 98.0f;
    if (t.startsWith(u'P')) {
        // A number below 1 would rank the text among the times.
        const qint32 n = basRuntime::leadingLong(QStringView(t).mid(1));
        return n >= 1 ? static_cast<float>(n) : 99.0f;
    }
    return 99.0f;
}

} // namespace basTypedResult
