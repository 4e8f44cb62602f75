#include "basRuntime.h"

#include "ProjectError.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace basRuntime {
namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Reads a number at the start of text (after blanks); returns the characters consumed (0 when
// there is no number) and the value.
qsizetype scanNumber(QStringView text, bool allowGrouping, double* value) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    // A plain integer (what the stored files hold) is read without building a text; anything
    // that may continue it (a point, an exponent, a grouping comma) takes the full reading.
    {
        qsizetype k = i;
        const bool negative = k < text.size() && text[k] == u'-';
        if (k < text.size() && (text[k] == u'+' || text[k] == u'-'))
            ++k;
        qint64 whole = 0;
        int count = 0;
        while (k < text.size() && isDigit(text[k]) && count < 16) {
            whole = whole * 10 + (text[k].unicode() - u'0');
            ++count;
            ++k;
        }
        const auto continues = [&](QChar c) {
            return isDigit(c) || c == u'.' || c == u'e' || c == u'E' || c == u'd' || c == u'D' ||
                   (c == u',' && allowGrouping);
        };
        if (count > 0 && count <= 15 && (k == text.size() || !continues(text[k]))) {
            *value = negative ? -static_cast<double>(whole) : static_cast<double>(whole);
            return k;
        }
    }
    QString digits;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        digits += text[i];
        ++i;
    }
    bool anyDigit = false;
    bool point = false;
    qsizetype end = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            digits += c;
            anyDigit = true;
            end = i + 1;
        } else if (c == u'.' && !point) {
            point = true;
            digits += c;
            if (anyDigit)
                end = i + 1;
        } else if (c == u',' && allowGrouping && anyDigit && !point && i + 1 < text.size() &&
                   isDigit(text[i + 1])) {
            continue;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        *value = 0;
        return 0;
    }
    // Exponent: only taken when digits follow.
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        qsizetype j = i + 1;
        QString exponent = u"e"_s;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            exponent += text[j++];
        const qsizetype firstDigit = j;
        while (j < text.size() && isDigit(text[j]))
            exponent += text[j++];
        if (j > firstDigit) {
            digits += exponent;
            end = j;
        }
    }
    bool ok = false;
    *value = digits.toDouble(&ok);
    if (!ok)
        *value = 0;
    return end;
}

bool likeFrom(QStringView text, qsizetype ti, QStringView pattern, qsizetype pi);

// Matches a bracket list at pattern[pi] == '['; returns the index after ']' or -1 if malformed.
qsizetype bracketEnd(QStringView pattern, qsizetype pi) {
    const qsizetype close = pattern.indexOf(u']', pi + 1);
    return close < 0 ? -1 : close + 1;
}

bool inList(QChar c, QStringView list) {
    bool negate = false;
    if (!list.isEmpty() && list[0] == u'!') {
        negate = true;
        list = list.mid(1);
    }
    bool found = false;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i + 2 < list.size() && list[i + 1] == u'-') {
            if (c >= list[i] && c <= list[i + 2])
                found = true;
            i += 2;
        } else if (list[i] == c) {
            found = true;
        }
    }
    return found != negate;
}

bool likeFrom(QStringView text, qsizetype ti, QStringView pattern, qsizetype pi) {
    while (pi < pattern.size()) {
        const QChar p = pattern[pi];
        if (p == u'*') {
            while (pi < pattern.size() && pattern[pi] == u'*')
                ++pi;
            if (pi == pattern.size())
                return true;
            for (qsizetype k = ti; k <= text.size(); ++k)
                if (likeFrom(text, k, pattern, pi))
                    return true;
            return false;
        }
        if (ti >= text.size())
            return false;
        const QChar c = text[ti];
        if (p == u'?') {
            ++pi;
        } else if (p == u'#') {
            if (!isDigit(c))
                return false;
            ++pi;
        } else if (p == u'[') {
            const qsizetype end = bracketEnd(pattern, pi);
            if (end < 0 || !inList(c, pattern.mid(pi + 1, end - pi - 2)))
                return false;
            pi = end;
        } else {
            if (c != p)
                return false;
            ++pi;
        }
        ++ti;
    }
    return ti == text.size();
}

} // namespace

double leadingNumber(QStringView text) {
    double value = 0;
    scanNumber(text, false, &value);
    return value;
}

double leadingNumberWithRadix(QStringView text) {
    qsizetype at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t'))
        ++at;
    if (at + 1 >= text.size() || text[at] != u'&')
        return leadingNumber(text);
    const QChar kind = text[at + 1].toUpper();
    const int radix = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (radix == 0)
        return leadingNumber(text);
    quint64 value = 0;
    for (at += 2; at < text.size(); ++at) {
        const int digit = QStringView(text.mid(at, 1)).toInt(nullptr, radix);
        if (digit == 0 && text[at] != u'0')
            break;
        value = value * static_cast<quint64>(radix) + static_cast<quint64>(digit);
        if (value > 0xffffffffULL)
            return 0;
    }
    if (value <= 0xffff)
        return static_cast<qint16>(static_cast<quint16>(value));
    return static_cast<qint32>(static_cast<quint32>(value));
}

bool isNumeric(QStringView text) {
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return false;
    double value = 0;
    return scanNumber(t, true, &value) == t.size();
}

double numericValue(QStringView text) {
    const QStringView t = text.trimmed();
    double value = 0;
    if (t.isEmpty() || scanNumber(t, true, &value) != t.size())
        return 0;
    return value;
}

double roundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

qint32 toLong(double value) {
    const double r = roundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        throw ProjectError(ProjectError::Overflow, u"Overflow"_s);
    return static_cast<qint32>(r);
}

qint32 leadingLong(QStringView text) {
    const double r = roundHalfEven(leadingNumber(text));
    if (r <= std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    if (r >= std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    return static_cast<qint32>(r);
}

void appendNumber(QString& out, qint64 value) {
    // Written from the right end of the buffer, sign included, and appended in one piece.
    char16_t digits[21];
    qsizetype first = 21;
    // Counted on the negative side, so that the smallest value needs no special case.
    qint64 v = value < 0 ? value : -value;
    do {
        digits[--first] = static_cast<char16_t>(u'0' - v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0)
        digits[--first] = u'-';
    out.append(QStringView(digits + first, 21 - first));
}

namespace {

// The patterns of every percentage ("#0", "#0.0") by a short way with the same rounding as the
// general one; false, with nothing appended, for other patterns and huge values.
bool appendPercentPattern(QString& out, double value, QStringView expression) {
    if (expression != u"#0" && expression != u"#0.0")
        return false;
    const bool oneDecimal = expression.size() == 4;
    const double magnitude = std::fabs(value) * (oneDecimal ? 10.0 : 1.0);
    const double rounded = std::floor(magnitude + 0.5 + magnitude * 1e-15);
    if (!(rounded < 1e15))
        return false;
    const auto n = static_cast<qint64>(rounded);
    if (value < 0 && n != 0)
        out += u'-';
    appendNumber(out, oneDecimal ? n / 10 : n);
    if (oneDecimal) {
        out += u'.';
        out += QChar(static_cast<char16_t>(u'0' + n % 10));
    }
    return true;
}

} // namespace

void appendFormattedNumber(QString& out, double value, QStringView expression) {
    if (!appendPercentPattern(out, value, expression))
        out += formatNumber(value, expression);
}

QString formatNumber(double value, QStringView expression) {
    if (expression == u"#0" || expression == u"#0.0") {
        QString out;
        out.reserve(8);
        if (appendPercentPattern(out, value, expression))
            return out;
    }
    const qsizetype point = expression.indexOf(u'.');
    const QStringView intPattern = point < 0 ? expression : expression.left(point);
    const QStringView fracPattern = point < 0 ? QStringView() : expression.mid(point + 1);
    int decimals = 0;
    for (QChar c : fracPattern)
        if (c == u'0' || c == u'#')
            ++decimals;
    int minIntDigits = 0;
    bool grouping = false;
    for (QChar c : intPattern) {
        if (c == u'0')
            ++minIntDigits;
        else if (c == u',')
            grouping = true;
    }
    // Half away from zero at the last decimal; the small nudge keeps values such as 2.675
    // (stored a hair below) rounding as they read.
    const double scale = std::pow(10.0, decimals);
    const double magnitude = std::fabs(value) * scale;
    const double rounded = std::floor(magnitude + 0.5 + magnitude * 1e-15);
    const bool negative = value < 0 && rounded != 0;
    QString digits = QString::number(rounded, 'f', 0);
    while (digits.size() < decimals + 1)
        digits.prepend(u'0');
    QString intDigits = digits.left(digits.size() - decimals);
    QString fracDigits = digits.right(decimals);
    if (intDigits == u"0"_s && minIntDigits == 0)
        intDigits.clear();
    while (intDigits.size() < minIntDigits)
        intDigits.prepend(u'0');
    // Optional decimals ("#") drop trailing zeros.
    int optionalTail = 0;
    for (qsizetype i = fracPattern.size() - 1; i >= 0; --i) {
        if (fracPattern[i] == u'#')
            ++optionalTail;
        else if (fracPattern[i] == u'0')
            break;
    }
    while (optionalTail-- > 0 && fracDigits.endsWith(u'0'))
        fracDigits.chop(1);
    if (grouping) {
        for (qsizetype i = intDigits.size() - 3; i > 0; i -= 3)
            intDigits.insert(i, u',');
    }
    // Literal characters of the pattern stand before and after the number.
    QString prefix, suffix;
    const auto isPlaceholder = [](QChar c) { return c == u'0' || c == u'#' || c == u',' || c == u'.'; };
    qsizetype first = 0;
    while (first < expression.size() && !isPlaceholder(expression[first]))
        prefix += expression[first++];
    qsizetype last = expression.size() - 1;
    while (last >= first && !isPlaceholder(expression[last]))
        --last;
    suffix = expression.mid(last + 1).toString();
    // Quotes only mark literal text.
    prefix.remove(u'"');
    suffix.remove(u'"');
    QString out = prefix;
    if (negative)
        out += u'-';
    out += intDigits;
    if (point >= 0 && !fracDigits.isEmpty())
        out += u'.' + fracDigits;
    else if (point >= 0 && decimals == 0)
        out += u'.';
    out += suffix;
    return out;
}

bool like(QStringView text, QStringView pattern) {
    return likeFrom(text, 0, pattern, 0);
}

} // namespace basRuntime
