#include "basLapText.h"

#include "basDate.h"
#include "basRuntime.h"
#include "basText.h"

using namespace Qt::StringLiterals;

namespace basLapText {

namespace {

int fieldValue(QStringView text) {
    return static_cast<int>(basRuntime::roundHalfEven(basRuntime::leadingNumber(text)));
}

// An eight-character text "hh?nn?ss" as a time; fields above 59 carry over.
QString fieldsToTime(const QString& text, QStringView format) {
    const int h = fieldValue(QStringView(text).mid(0, 2));
    const int n = fieldValue(QStringView(text).mid(3, 2));
    const int s = fieldValue(QStringView(text).mid(6, 2));
    return basDate::format(basDate::fromSeconds(qint64(h) * 3600 + qint64(n) * 60 + s), format);
}

// The last step of every path: a time text takes the form, any other text stays as it is.
QString applyFormat(const QString& text, QStringView format) {
    if (const auto value = basDate::recognize(text))
        return basDate::format(*value, format);
    return text;
}

QString alignSeconds(const QString& t) {
    switch (t.size()) {
    case 1:
        return u"00:00:0"_s + t;
    case 2:
        return u"00:00:"_s + t;
    case 3:
        return u"00:0"_s + t.mid(0, 1) + u':' + t.mid(1, 2);
    case 4:
        return u"00:"_s + t.mid(0, 2) + u':' + t.mid(2, 2);
    case 5:
        return u"0"_s + t.mid(0, 1) + u':' + t.mid(1, 2) + u':' + t.mid(3, 2);
    case 6:
        return t.mid(0, 2) + u':' + t.mid(2, 2) + u':' + t.mid(4, 2);
    default:
        return t;
    }
}

QString alignMinutes(const QString& t) {
    switch (t.size()) {
    case 2:
        return t + u":00:00"_s;
    case 3:
        return u"0"_s + t.mid(0, 1) + u':' + t.mid(1, 2) + u":00"_s;
    case 4:
        return t.mid(0, 2) + u':' + t.mid(2, 2) + u":00"_s;
    case 5:
    case 6:
        return alignSeconds(t);
    default:
        return t;
    }
}

QString numberToTime(const QString& aligned, QStringView format) {
    if (aligned.size() == 8)
        return fieldsToTime(aligned, format);
    return applyFormat(aligned, format);
}

QString removeNameMarks(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u':' || c == u'/' || c == u'|' || c == u'>' || c == u'<' || c == u'\'' || c == u'"')
            continue;
        out += c;
    }
    return out;
}

} // namespace

QString NormalizeTime(QStringView text, bool secondsMode, QStringView FormatExpression) {
    QString t = text.trimmed().toString();
    const qsizetype paren = t.indexOf(u'(');
    if (paren >= 0)
        t = t.left(paren).trimmed(); // a remark after the time must not leave a blank behind
    const bool number = basRuntime::isNumeric(t) && basRuntime::numericValue(t) >= 0;
    QString out;
    if (!secondsMode) {
        out = number ? numberToTime(alignMinutes(t), FormatExpression) : applyFormat(t, FormatExpression);
    } else if (number) {
        out = numberToTime(alignSeconds(t), FormatExpression);
    } else if (!basDate::isDate(t)) {
        const QString quote = u"\""_s;
        if (basRuntime::like(t, u"#:##"))
            t = u"00:0"_s + t;
        else if (basRuntime::like(t, u"##:##"))
            t = u"00:"_s + t;
        else if (basRuntime::like(t, QString(u"#:##'##"_s + quote)))
            t = u"0"_s + t.mid(0, 1) + u':' + t.mid(2, 2) + u':' + t.mid(5, 2);
        else if (basRuntime::like(t, QString(u"##:##'##"_s + quote)))
            t = t.mid(0, 2) + u':' + t.mid(3, 2) + u':' + t.mid(6, 2);
        else if (basRuntime::like(t, u"###:##"))
            t = basDate::format(basDate::fromSeconds(qint64(fieldValue(QStringView(t).mid(0, 3))) * 60 +
                                                     fieldValue(QStringView(t).mid(4, 2))),
                                FormatExpression);
        if (t.size() == 8 && t.contains(u':'))
            out = fieldsToTime(t, FormatExpression);
        else
            out = applyFormat(t, FormatExpression);
    } else if (t.count(u':') == 1) {
        out = applyFormat(u"0:"_s + t, FormatExpression);
    } else {
        out = applyFormat(t, FormatExpression);
    }
    return basText::toNarrow(out);
}

std::optional<double> TimeOf(QStringView text) {
    return basDate::recognize(text);
}

double StatusCode(QStringView resultText) {
    const QString t = basText::toNarrow(resultText.trimmed()).toUpper();
    if (t.isEmpty())
        return 98;
    if (t.contains(u'\'') || t.contains(u':'))
        return 0;
    if (t == u"DNS"_s)
        return 99;
    if (t.startsWith(u'P'))
        return basRuntime::leadingNumber(QStringView(t).mid(1));
    if (t == u"MP"_s)
        return 30;
    if (t == u"DNF"_s)
        return 90;
    if (basRuntime::like(t, u"?CL"))
        return 91;
    if (t == u"DNQ"_s)
        return 92;
    if (t.startsWith(u'D'))
        return 93;
    return 98;
}

double ResultKey(QStringView resultText) {
    // Taken to the whole second, so that equal times give equal keys.
    if (const auto time = TimeOf(resultText))
        return basDate::fromSeconds(basDate::toSeconds(*time));
    return StatusCode(resultText);
}

QString DeriveFileName(QStringView text) {
    qsizetype cut = text.lastIndexOf(u'\\');
    if (cut < 0)
        cut = text.lastIndexOf(u'/');
    if (cut < 0)
        cut = text.lastIndexOf(u':');
    const QStringView component = text.mid(cut + 1);

    qsizetype folderEnd = text.lastIndexOf(u'\\');
    if (folderEnd < 0)
        folderEnd = text.lastIndexOf(u':');
    QString folder = text.left(folderEnd + 1).toString();
    if (!folder.isEmpty() && !folder.endsWith(u'\\') && !folder.endsWith(u'/'))
        folder += u'\\';
    return basText::toNarrow(QString(folder + removeNameMarks(component))).toLower();
}

QString DataSetFileName(QStringView name) {
    return removeNameMarks(basText::toNarrow(name).toLower());
}

QString MergeName(QStringView name) {
    return basText::removeSpaces(basText::toNarrow(name).toLower());
}

} // namespace basLapText
