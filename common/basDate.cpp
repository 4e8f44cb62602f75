#include "basDate.h"

#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace basDate {
namespace {

// Constant-initialised, so that static initialisers elsewhere may already use the conversions.
constexpr QDate kEpoch = QDate::fromJulianDay(2415019); // 1899-12-30

std::function<QDateTime()>& clockFunction() {
    static std::function<QDateTime()> clock;
    return clock;
}

struct Parts {
    QDate date;
    int hour = 0, minute = 0, second = 0;
};

// Splits a value into its calendar day and time of day, rounded to the second.
Parts split(double value) {
    double days = std::trunc(value);
    qint64 seconds = std::llround(std::fabs(value - days) * SecondsPerDay);
    if (seconds >= SecondsPerDay) {
        seconds -= SecondsPerDay;
        days += 1;
    }
    Parts p;
    p.date = kEpoch.addDays(static_cast<qint64>(days));
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    return p;
}

QString twoDigits(int v) {
    return QString::number(v).rightJustified(2, u'0');
}

// The same as twoDigits, appended in place (the stored forms are written for every punch).
void appendTwoDigits(QString& out, int v) {
    if (v >= 0 && v < 100) {
        out += QChar(char16_t(u'0' + v / 10));
        out += QChar(char16_t(u'0' + v % 10));
    } else {
        out += twoDigits(v);
    }
}

// "h:n" or "h:n:s" with one or two ASCII digits per field, as the regular expressions of the
// time forms read them: the number of fields (missing ones 0), or 0 for another shape.
int clockFields(QStringView t, int (&fields)[3]) {
    fields[0] = fields[1] = fields[2] = 0;
    int count = 0;
    qsizetype i = 0;
    for (;;) {
        int digits = 0;
        while (i < t.size() && digits < 3 && t[i] >= u'0' && t[i] <= u'9') {
            fields[count] = fields[count] * 10 + (t[i].unicode() - u'0');
            ++digits;
            ++i;
        }
        if (digits < 1 || digits > 2)
            return 0;
        ++count;
        if (i == t.size())
            return count >= 2 ? count : 0;
        if (count == 3 || t[i] != u':')
            return 0;
        ++i;
    }
}

// "h:n:s" exactly.
bool splitClock(QStringView t, int* h, int* n, int* s) {
    int fields[3];
    if (clockFields(t, fields) != 3)
        return false;
    *h = fields[0];
    *n = fields[1];
    *s = fields[2];
    return true;
}

bool validTime(int h, int n, int s) {
    return h >= 0 && h < 24 && n >= 0 && n < 60 && s >= 0 && s < 60;
}

std::optional<double> makeDate(int y, int m, int d) {
    if (!QDate::isValid(y, m, d))
        return std::nullopt;
    return dateSerial(y, m, d);
}

std::optional<double> makeTime(int h, int n, int s) {
    if (!validTime(h, n, s))
        return std::nullopt;
    return timeSerial(h, n, s);
}

// Year text of one or two digits expands into the 1930-2029 window.
int yearOf(const QString& digits) {
    const int y = digits.toInt();
    return digits.size() <= 2 ? expandYear(y) : y;
}

std::optional<double> parseDateToken(const QString& token) {
    static const QRegularExpression slash(u"^(\\d{1,4})([/\\-])(\\d{1,2})\\2(\\d{1,2})$"_s);
    static const QRegularExpression kanji(u"^(\\d{1,4})年(\\d{1,2})月(\\d{1,2})日$"_s);
    auto m = slash.match(token);
    if (m.hasMatch())
        return makeDate(yearOf(m.captured(1)), m.captured(3).toInt(), m.captured(4).toInt());
    m = kanji.match(token);
    if (m.hasMatch())
        return makeDate(yearOf(m.captured(1)), m.captured(2).toInt(), m.captured(3).toInt());
    return std::nullopt;
}

std::optional<double> parseTimeToken(const QString& token) {
    static const QRegularExpression re(u"^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"_s);
    const auto m = re.match(token);
    if (!m.hasMatch())
        return std::nullopt;
    return makeTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

std::optional<double> combine(std::optional<double> date, std::optional<double> time) {
    if (!date || !time)
        return std::nullopt;
    return *date + *time;
}

} // namespace

double wholeSeconds(double value) {
    return fromSeconds(toSeconds(value));
}

double dateSerial(int year, int month, int day) {
    return static_cast<double>(kEpoch.daysTo(QDate(year, month, day)));
}

double timeSerial(int hour, int minute, int second) {
    return fromSeconds(qint64(hour) * 3600 + qint64(minute) * 60 + second);
}

double fromDate(QDate date) {
    return static_cast<double>(kEpoch.daysTo(date));
}

double fromTime(QTime time) {
    return time.msecsSinceStartOfDay() / (SecondsPerDay * 1000.0);
}

double fromDateTime(const QDateTime& dateTime) {
    const double days = fromDate(dateTime.date());
    const double fraction = fromTime(dateTime.time());
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime toDateTime(double value) {
    const Parts p = split(value);
    return QDateTime(p.date, QTime(p.hour, p.minute, p.second));
}

QDate toDate(double value) {
    return split(value).date;
}

QTime toTime(double value) {
    const Parts p = split(value);
    return QTime(p.hour, p.minute, p.second);
}

double datePart(double value) {
    return std::trunc(value);
}

double timePart(double value) {
    return std::fabs(value - std::trunc(value));
}

void setClock(std::function<QDateTime()> clock) {
    clockFunction() = std::move(clock);
}

double now() {
    const auto& clock = clockFunction();
    QDateTime t = clock ? clock() : QDateTime::currentDateTime();
    t.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return fromDateTime(t);
}

int expandYear(int year) {
    if (year < 0 || year > 99)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

QString format(double value, Form form) {
    // The forms written for every card read are built directly; they equal their expressions.
    switch (form) {
    case Form::YyMmDdHhNnSs:
    case Form::YyMmDdHhNnSsPacked: {
        const Parts p = split(value);
        const bool packed = form == Form::YyMmDdHhNnSsPacked;
        QString out;
        out.reserve(17);
        appendTwoDigits(out, p.date.year() % 100);
        if (!packed)
            out += u'/';
        appendTwoDigits(out, p.date.month());
        if (!packed)
            out += u'/';
        appendTwoDigits(out, p.date.day());
        if (!packed)
            out += u' ';
        appendTwoDigits(out, p.hour);
        if (!packed)
            out += u':';
        appendTwoDigits(out, p.minute);
        if (!packed)
            out += u':';
        appendTwoDigits(out, p.second);
        return out;
    }
    case Form::HhNnSs: {
        const Parts p = split(value);
        QString out;
        out.reserve(8);
        appendTwoDigits(out, p.hour);
        out += u':';
        appendTwoDigits(out, p.minute);
        out += u':';
        appendTwoDigits(out, p.second);
        return out;
    }
    case Form::HNnSsPacked: {
        const Parts p = split(value);
        QString out = QString::number(p.hour);
        appendTwoDigits(out, p.minute);
        appendTwoDigits(out, p.second);
        return out;
    }
    default:
        break;
    }
    switch (form) {
    case Form::YyMmDdHhNnSs:
        return format(value, u"yy/mm/dd hh:nn:ss");
    case Form::HhNnSs:
        return format(value, u"hh:nn:ss");
    case Form::HNnSs:
        return format(value, u"h:nn:ss");
    case Form::YyyyMmDd:
        return format(value, u"yyyy/mm/dd");
    case Form::YyyyMmDdKanji:
        return format(value, u"yyyy年mm月dd日");
    case Form::YyyyMmDdDash:
        return format(value, u"yyyy-mm-dd");
    case Form::YyMmDdHhNnSsPacked:
        return format(value, u"yymmddhhnnss");
    case Form::HNnSsPacked:
        return format(value, u"hnnss");
    case Form::HNn:
        return format(value, u"h:nn");
    }
    return {};
}

QString format(double value, QStringView expression) {
    const Parts p = split(value);
    QString out;
    out.reserve(expression.size() + 4);
    const auto startsWith = [&](qsizetype i, QStringView token) {
        return expression.mid(i).startsWith(token, Qt::CaseInsensitive);
    };
    for (qsizetype i = 0; i < expression.size();) {
        const QChar c = expression[i];
        if (c == u'\\' && i + 1 < expression.size()) {
            out += expression[i + 1];
            i += 2;
        } else if (c == u'"') {
            const qsizetype end = expression.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? expression.size() : end;
            out += expression.mid(i + 1, stop - i - 1);
            i = stop + 1;
        } else if (startsWith(i, u"yyyy")) {
            out += QString::number(p.date.year()).rightJustified(4, u'0');
            i += 4;
        } else if (startsWith(i, u"yy")) {
            out += twoDigits(p.date.year() % 100);
            i += 2;
        } else if (startsWith(i, u"mm")) {
            out += twoDigits(p.date.month());
            i += 2;
        } else if (startsWith(i, u"m")) {
            out += QString::number(p.date.month());
            i += 1;
        } else if (startsWith(i, u"dd")) {
            out += twoDigits(p.date.day());
            i += 2;
        } else if (startsWith(i, u"d")) {
            out += QString::number(p.date.day());
            i += 1;
        } else if (startsWith(i, u"hh")) {
            out += twoDigits(p.hour);
            i += 2;
        } else if (startsWith(i, u"h")) {
            out += QString::number(p.hour);
            i += 1;
        } else if (startsWith(i, u"nn")) {
            out += twoDigits(p.minute);
            i += 2;
        } else if (startsWith(i, u"n")) {
            out += QString::number(p.minute);
            i += 1;
        } else if (startsWith(i, u"ss")) {
            out += twoDigits(p.second);
            i += 2;
        } else if (startsWith(i, u"s")) {
            out += QString::number(p.second);
            i += 1;
        } else {
            out += c;
            i += 1;
        }
    }
    return out;
}

std::optional<double> parse(QStringView text, Form form) {
    const QString t = text.trimmed().toString();
    switch (form) {
    case Form::YyMmDdHhNnSs: {
        const qsizetype gap = t.indexOf(u' ');
        if (gap < 0)
            return std::nullopt;
        const QString datePartText = t.left(gap);
        if (datePartText.contains(u'-') || datePartText.contains(u'年'))
            return std::nullopt;
        return combine(parseDateToken(datePartText), parse(t.mid(gap + 1), Form::HhNnSs));
    }
    case Form::HhNnSs:
    case Form::HNnSs: {
        int h = 0, n = 0, sec = 0;
        if (!splitClock(t, &h, &n, &sec))
            return std::nullopt;
        return makeTime(h, n, sec);
    }
    case Form::YyyyMmDd:
    case Form::YyyyMmDdDash:
    case Form::YyyyMmDdKanji: {
        const QChar mark = form == Form::YyyyMmDd ? u'/' : form == Form::YyyyMmDdDash ? u'-' : u'年';
        if (!t.contains(mark))
            return std::nullopt;
        return parseDateToken(t);
    }
    case Form::YyMmDdHhNnSsPacked: {
        static const QRegularExpression re(u"^(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d)$"_s);
        const auto m = re.match(t);
        if (!m.hasMatch())
            return std::nullopt;
        return combine(makeDate(yearOf(m.captured(1)), m.captured(2).toInt(), m.captured(3).toInt()),
                       makeTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()));
    }
    case Form::HNnSsPacked: {
        static const QRegularExpression re(u"^(\\d{1,2})(\\d\\d)(\\d\\d)$"_s);
        const auto m = re.match(t);
        if (!m.hasMatch())
            return std::nullopt;
        return makeTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    }
    case Form::HNn: {
        static const QRegularExpression re(u"^(\\d{1,2}):(\\d{1,2})$"_s);
        const auto m = re.match(t);
        if (!m.hasMatch())
            return std::nullopt;
        return makeTime(m.captured(1).toInt(), m.captured(2).toInt(), 0);
    }
    }
    return std::nullopt;
}

std::optional<double> recognize(QStringView text) {
    // Leg and result times are nearly all "m:ss" or "h:mm:ss" in ASCII digits; those take a
    // direct path with the same outcome as the general one below.
    int fields[3];
    if (clockFields(text, fields) != 0)
        return makeTime(fields[0], fields[1], fields[2]);

    static const QRegularExpression blanks(u"\\s+"_s);
    const QStringList tokens = text.toString().split(blanks, Qt::SkipEmptyParts);
    if (tokens.isEmpty() || tokens.size() > 2)
        return std::nullopt;
    if (tokens.size() == 2)
        return combine(parseDateToken(tokens[0]), parseTimeToken(tokens[1]));
    if (tokens[0].contains(u':'))
        return parseTimeToken(tokens[0]);
    return parseDateToken(tokens[0]);
}

} // namespace basDate
