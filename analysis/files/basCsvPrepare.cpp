#include "basCsvPrepare.h"

#include "basRuntime.h"
#include "basText.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basCsvPrepare {

namespace {

QString numberText(int value) {
    const QString digits = QString::number(value);
    return value < 10 ? basText::toWide(digits) : digits;
}

bool isOneOf(const QString& key, std::initializer_list<QStringView> words) {
    return std::any_of(words.begin(), words.end(), [&](QStringView w) { return key == w; });
}

} // namespace

QString LegLabel(int controlCount, bool withStart, int leg) {
    const QString to = leg - 1 == controlCount ? u"◎"_s : numberText(leg);
    if (!withStart)
        return u"→"_s + to;
    const QString from = leg == 1 ? u"△"_s : numberText(leg - 1);
    return from + u"→"_s + to;
}

QString fieldKey(const QString& field) {
    return basText::toNarrow(field).toUpper();
}

int fieldScore(const QString& field) {
    const QString key = fieldKey(field);
    if (isOneOf(key, {u"名前", u"ｸﾗｽ", u"氏名", u"所属", u"年齢", u"順位", u"RANK", u"NAME", u"CLASS", u"**",
                      u"記録", u"総ﾀｲﾑ", u"成績", u"TOTAL", u"S", u"G", u"F", u"◎", u"AGE"}) ||
        basRuntime::like(key, u"ｽﾀｰﾄ*") || basRuntime::like(key, u"ｺﾞｰﾙ*") || basRuntime::like(key, u"*→#") ||
        basRuntime::like(key, u"*-#"))
        return 10;
    if (basRuntime::isNumeric(key))
        return basRuntime::numericValue(key) > 20 ? 0 : 1;
    return -1;
}

int largestHeaderNumber(const QString& line) {
    QString text = basText::toNarrow(line);
    text.replace(u'-', u',').replace(u'→', u',');
    double best = 0;
    bool any = false;
    for (const QString& f : text.split(u',')) {
        if (!basRuntime::isNumeric(f))
            continue;
        const double v = basRuntime::numericValue(f);
        if (!any || v > best)
            best = v;
        any = true;
    }
    if (!any || best < -1e9 || best > 1e9)
        return 0;
    return int(basRuntime::roundHalfEven(best));
}

QString canonicalField(const QString& field, int n) {
    const QString key = fieldKey(field.trimmed());
    if (isOneOf(key, {u"ｸﾗｽ", u"CLASS", u"**", u"ｸﾗｽ名"}))
        return u"クラス"_s;
    if (isOneOf(key, {u"名前", u"NAMAE", u"NAME", u"氏名"}))
        return u"名前"_s;
    if (isOneOf(key, {u"所属", u"SYOZOKU", u"SHOZOKU"}))
        return u"所属"_s;
    if (isOneOf(key, {u"記録", u"総ﾀｲﾑ", u"ﾀｲﾑ", u"成績", u"時間", u"TIME", u"TOTAL", u"T", u"TT"}))
        return u"総タイム"_s;
    if (isOneOf(key, {u"F", u"◎"}))
        return LegLabel(n, true, n + 1);
    if (isOneOf(key, {u"START", u"ｽﾀｰﾄ", u"STARTTIME", u"ｽﾀｰﾄ時間", u"ｽﾀｰﾄ時刻"}))
        return u"スタート時刻"_s;
    if (isOneOf(key, {u"RANK", u"順位", u"ORDER", u"POSITION"}))
        return u"順位"_s;
    if (isOneOf(key, {u"SEED", u"ｼｰﾄﾞ"}))
        return u"シード"_s;
    if (basRuntime::isNumeric(key)) {
        const double v = basRuntime::numericValue(key);
        if (v >= -1e6 && v <= 1e6)
            return LegLabel(n, true, int(basRuntime::roundHalfEven(v)));
    }
    const qsizetype sep = std::min<qsizetype>(key.indexOf(u'-') < 0 ? key.size() : key.indexOf(u'-'),
                                              key.indexOf(u'→') < 0 ? key.size() : key.indexOf(u'→'));
    if (sep < key.size()) {
        const QString a = key.left(sep);
        const QString b = key.mid(sep + 1);
        if (a.isEmpty() || a == u"△"_s || a == u"S"_s || basRuntime::isNumeric(a)) {
            if (isOneOf(b, {u"G", u"F", u"◎"}))
                return LegLabel(n, true, n + 1);
            return LegLabel(n, true, basRuntime::leadingLong(b));
        }
    }
    return field;
}

bool isHeaderLine(const QString& line) {
    const QString key = fieldKey(line);
    return key.contains(u"NAME"_s) || key.contains(u"氏名"_s) || key.contains(u"名前"_s) ||
           key.contains(u"NAMAE"_s);
}

QString normaliseHeaderLine(const QString& line, bool addClassColumn) {
    const int n = largestHeaderNumber(line);
    QStringList fields = line.split(u',');
    bool hasClass = false;
    for (QString& f : fields) {
        f = canonicalField(f, n);
        hasClass = hasClass || f == u"クラス"_s;
    }
    if (addClassColumn && !hasClass)
        fields.append(u"クラス"_s);
    return fields.join(u',');
}

QStringList transpose(const QStringList& lines) {
    QList<QStringList> table;
    qsizetype width = 0;
    for (const QString& l : lines) {
        table.append(l.split(u','));
        width = std::max(width, table.last().size());
    }
    QStringList out;
    for (qsizetype k = 0; k < width; ++k) {
        QStringList row;
        for (const QStringList& fields : table)
            row.append(k < fields.size() ? fields[k] : QString());
        out.append(row.join(u','));
    }
    return out;
}

Outcome prepare(QStringList& lines) {
    QStringList work = lines;
    const bool anyComma =
        std::any_of(work.begin(), work.end(), [](const QString& l) { return l.contains(u','); });
    if (!anyComma) {
        // Aligned columns often start with spaces; those must not make an empty first field.
        static const QRegularExpression spaces(u" +"_s);
        for (QString& l : work)
            l = l.trimmed().replace(spaces, u","_s);
    }
    int columnScore = 0;
    int rowScore = 0;
    for (const QString& l : work)
        columnScore += fieldScore(l.section(u',', 0, 0));
    if (!work.isEmpty())
        for (const QString& f : work.first().split(u','))
            rowScore += fieldScore(f);
    if (columnScore <= 0 && rowScore <= 0)
        return Outcome::NoFieldNames;
    if (columnScore >= rowScore)
        work = transpose(work);
    for (QString& l : work)
        if (isHeaderLine(l))
            l = normaliseHeaderLine(l, true);
    lines = work;
    return Outcome::Ready;
}

} // namespace basCsvPrepare
