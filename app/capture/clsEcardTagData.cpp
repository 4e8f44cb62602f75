#include "clsEcardTagData.h"

#include "ProjectError.h"
#include "basDate.h"
#include "basRuntime.h"
#include "basText.h"

#include <QStringList>

#include <cmath>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// One frame byte as one character of the system code page; a byte that is no character on
// its own (a lead byte of a double-byte character) shows as "?".
QChar decodeByte(uchar b) {
    if (b < 0x80)
        return QChar(char16_t(b));
    if (b >= 0xA1 && b <= 0xDF)
        return QChar(char16_t(0xFF61 + (b - 0xA1)));
    const char c = static_cast<char>(b);
    const QString s = basText::fromWindows31J(QByteArrayView(&c, 1));
    if (s.size() == 1 && s[0] != QChar(QChar::ReplacementCharacter))
        return s[0];
    return u'?';
}

QChar charOfByte(uchar b) {
    static const std::array<QChar, 256> table = [] {
        std::array<QChar, 256> t;
        for (int i = 0; i < 256; ++i)
            t[static_cast<size_t>(i)] = decodeByte(static_cast<uchar>(i));
        return t;
    }();
    return table[b];
}

QString textOfBytes(const QByteArray& frame, int firstByte, int count) {
    QString out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out += charOfByte(static_cast<uchar>(frame[firstByte - 1 + i]));
    return out;
}

// A display text inside the extended line: the characters that delimit the line's fields, and
// line ends, would make the stored line read back as another record, so they are replaced.
QString safeDisplay(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c == u',')
            c = u'，';
        else if (c == u'(')
            c = u'（';
        else if (c == u')')
            c = u'）';
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    return out;
}

// The numeric value of a text as a 32-bit integer, ties to even; nothing when out of range.
std::optional<qint32> toInt32(double value) {
    const double r = basRuntime::roundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(r);
}

// A punch time of a stored line, as whole seconds of an elapsed time.
std::optional<qint64> elapsedSecondsOf(QStringView text) {
    std::optional<double> v = basDate::parse(text, basDate::Form::HhNnSs);
    if (!v)
        v = basDate::recognize(text);
    if (!v || basDate::datePart(*v) != 0 || *v < 0)
        return std::nullopt;
    return basDate::toSeconds(*v);
}

qint64 timeOfDaySeconds(double dateValue) {
    return basDate::toSeconds(basDate::timePart(dateValue));
}

} // namespace

clsEcardTagData::clsEcardTagData() = default;

double clsEcardTagData::ActivateTime() const {
    return basDate::fromSeconds(m_activateSeconds);
}

void clsEcardTagData::setActivateTime(double value) {
    m_activateSeconds = basDate::toSeconds(value);
}

void clsEcardTagData::setReadingUnitPosIndex(qint32 value) {
    if (value < 0 || value > RecordCount)
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
    m_readingUnitPosIndex = value;
}

QString clsEcardTagData::Display(int index) const {
    if (index < 1 || index > DisplayCount)
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
    return m_display[static_cast<size_t>(index - 1)];
}

void clsEcardTagData::setDisplay(int index, const QString& text) {
    if (index < 1 || index > DisplayCount)
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
    m_display[static_cast<size_t>(index - 1)] = text;
}

void clsEcardTagData::checkRecord(int index) {
    if (index < 1 || index > RecordCount)
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
}

qint32 clsEcardTagData::ControlNum(int index) const {
    checkRecord(index);
    return m_code[static_cast<size_t>(index - 1)];
}

double clsEcardTagData::ControlTime(int index) const {
    checkRecord(index);
    return basDate::fromSeconds(m_seconds[static_cast<size_t>(index - 1)]);
}

qint32 clsEcardTagData::ControlSeconds(int index) const {
    checkRecord(index);
    return m_seconds[static_cast<size_t>(index - 1)];
}

void clsEcardTagData::setPunch(int index, qint32 code, qint32 elapsedSeconds) {
    checkRecord(index);
    m_code[static_cast<size_t>(index - 1)] = code;
    m_seconds[static_cast<size_t>(index - 1)] = elapsedSeconds;
}

void clsEcardTagData::Clear() {
    for (QString& d : m_display)
        d.clear();
    m_emitSystem.clear();
    m_productionWeek = 0;
    m_productionYear = 0;
    m_ecardNo = 0;
    m_readTime = 0;
    m_activateSeconds = 0;
    m_code.fill(0);
    m_seconds.fill(0);
}

QString clsEcardTagData::UniqueKey() const {
    return basDate::format(m_readTime, basDate::Form::YyMmDdHhNnSsPacked) + QString::number(m_ecardNo);
}

QString clsEcardTagData::StockKey() const {
    QString key = QString::number(m_ecardNo);
    key.reserve(key.size() + 10 * RecordCount);
    for (int i = 0; i < RecordCount; ++i) {
        if (i > 0 && m_code[static_cast<size_t>(i)] == 0)
            break;
        key += QString::number(m_code[static_cast<size_t>(i)]);
        key += basDate::format(basDate::fromSeconds(m_seconds[static_cast<size_t>(i)]),
                               basDate::Form::HNnSsPacked);
    }
    return key;
}

QString clsEcardTagData::buildLine(bool extended) const {
    QString line = basDate::format(m_readTime, basDate::Form::YyMmDdHhNnSs);
    line.reserve(64 + 16 * RecordCount);
    if (extended) {
        line += u", ["_s;
        for (const QString& d : m_display)
            line += safeDisplay(d);
        line += u"] Card No. ("_s;
    } else {
        line += u", Card No. ("_s;
    }
    line += QString::number(m_ecardNo) + u"), ("_s + QString::number(m_productionYear) + u",Week "_s +
            QString::number(m_productionWeek) + u")"_s;
    for (int i = 0; i < RecordCount; ++i) {
        if (i > 0 && m_code[static_cast<size_t>(i)] == 0)
            break;
        line +=
            u", "_s + QString::number(m_code[static_cast<size_t>(i)]) + u", "_s +
            basDate::format(basDate::fromSeconds(m_seconds[static_cast<size_t>(i)]), basDate::Form::HhNnSs);
    }
    return line;
}

QString clsEcardTagData::RegnlyFormat() const {
    return buildLine(false);
}

QString clsEcardTagData::ExtendRegnlyFormat() const {
    return buildLine(true);
}

void clsEcardTagData::setRegnlyFormat(const QString& text) {
    Clear();
    m_isValid = false;
    m_readingUnitPosIndex = 0;
    QStringView line(text);
    if (line.endsWith(u';'))
        line.chop(1);
    const QList<QStringView> f = line.split(u',');
    const qsizetype n = f.size() - 1;
    if (n < 4)
        return;

    const std::optional<double> readTime = basDate::recognize(f[0]);
    if (!readTime)
        return;
    m_readTime = *readTime;

    QString numberPiece = f[1].toString();
    numberPiece.replace(u'(', u',').replace(u')', u',');
    const QStringList numberParts = numberPiece.split(u',');
    if (numberParts.size() < 2 || !basRuntime::isNumeric(numberParts[1]))
        return;
    const std::optional<qint32> ecardNo = toInt32(basRuntime::numericValue(numberParts[1]));
    if (!ecardNo)
        return;
    m_ecardNo = *ecardNo;

    const std::optional<qint32> year = toInt32(basRuntime::leadingNumber(f[2].trimmed().mid(1)));
    if (!year)
        return;
    m_productionYear = *year;

    const QStringView weekPiece = f[3].trimmed();
    if (weekPiece.size() < 5)
        return;
    const std::optional<qint32> week =
        toInt32(basRuntime::leadingNumber(weekPiece.mid(4).chopped(1).trimmed()));
    if (!week)
        return;
    m_productionWeek = *week;

    // From here on a fault marks the record invalid but the rest of the pairs is still read.
    bool fault = false;
    const qsizetype pairs = (n - 2) / 2;
    for (qsizetype k = 1; k <= pairs; ++k) {
        const qsizetype u = 2 * k + 2;
        if (k > RecordCount) {
            fault = true;
            break;
        }
        const size_t slot = static_cast<size_t>(k - 1);
        if (const std::optional<qint32> code = toInt32(basRuntime::leadingNumber(f[u])))
            m_code[slot] = *code;
        else
            fault = true;
        std::optional<qint64> seconds;
        if (u + 1 <= n)
            seconds = elapsedSecondsOf(f[u + 1]);
        if (seconds)
            m_seconds[slot] = static_cast<qint32>(*seconds);
        else
            fault = true;
    }
    m_readingUnitPosIndex = static_cast<qint32>(std::min<qsizetype>(pairs, RecordCount));
    m_activateSeconds =
        timeOfDaySeconds(m_readTime) - m_seconds[static_cast<size_t>(m_readingUnitPosIndex - 1)];
    m_isValid = !fault;
}

void clsEcardTagData::setReadData(double TagReadTime, const QByteArray& data) {
    const double readTime = TagReadTime == 0 ? basDate::now() : TagReadTime;
    // A short frame cannot come from the link, which counts 217 bytes; missing bytes read as 0.
    QByteArray frame = data.left(FrameSize);
    if (frame.size() < FrameSize)
        frame.append(FrameSize - frame.size(), '\0');
    const auto byte = [&](int number) { return static_cast<int>(static_cast<uchar>(frame[number - 1])); };

    Clear();
    m_readTime = readTime;
    m_ecardNo = byte(3) + 256 * byte(4) + 65536 * byte(5);
    const int yearByte = byte(8);
    m_productionYear = yearByte > 80 ? yearByte + 1900 : yearByte + 2000;
    m_productionWeek = byte(7);

    m_readingUnitPosIndex = 0;
    const qint64 dayOffset = timeOfDaySeconds(m_readTime);
    for (int i = 1; i <= RecordCount; ++i) {
        const int code = byte(3 * i + 8);
        if (code > 250)
            continue;
        const size_t slot = static_cast<size_t>(i - 1);
        m_code[slot] = code;
        m_seconds[slot] = byte(3 * i + 9) + 256 * byte(3 * i + 10);
        if (code != 0) {
            m_readingUnitPosIndex = i;
            m_activateSeconds = dayOffset - m_seconds[slot];
        }
    }
    // Records at the end that carry no time were never punched.
    for (int i = m_readingUnitPosIndex; i >= 1; --i) {
        const size_t slot = static_cast<size_t>(i - 1);
        if (m_seconds[slot] != 0)
            break;
        m_code[slot] = 0;
        m_readingUnitPosIndex = i;
    }

    m_emitSystem = textOfBytes(frame, 161, 32);
    for (int j = 1; j <= DisplayCount; ++j)
        m_display[static_cast<size_t>(j - 1)] = textOfBytes(frame, 8 * j + 185, 8);
    m_isValid = true;
}
