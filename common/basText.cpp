#include "basText.h"

#include <array>

#include <QStringDecoder>
#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace basText {
namespace {

// Full-width forms of the half-width katakana block U+FF61..U+FF9F, in code order.
constexpr char16_t kKanaWide[] = u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナ"
                                 u"ニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
constexpr int kKanaCount = 0xFF9F - 0xFF61 + 1;
static_assert(sizeof(kKanaWide) / sizeof(char16_t) - 1 == kKanaCount);

constexpr char16_t kVoiceMark = 0xFF9E;     // ﾞ
constexpr char16_t kSemiVoiceMark = 0xFF9F; // ﾟ

// Kana whose voiced form is the next code point (ウ+ﾞ is ヴ, handled apart).
bool takesVoiceMark(char16_t wide) {
    return QStringView(u"カキクケコサシスセソタチツテトハヒフヘホ").contains(QChar(wide));
}
// Kana whose semi-voiced form is two code points on.
bool takesSemiVoiceMark(char16_t wide) {
    return QStringView(u"ハヒフヘホ").contains(QChar(wide));
}

int kanaIndexOfWide(char16_t wide) {
    for (int i = 0; i < kKanaCount; ++i)
        if (kKanaWide[i] == wide)
            return i;
    return -1;
}

} // namespace

QString toWide(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u' ') {
            out += QChar(0x3000);
        } else if (c >= 0x21 && c <= 0x7E) {
            out += QChar(char16_t(c - 0x21 + 0xFF01));
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            char16_t wide = kKanaWide[c - 0xFF61];
            const char16_t next = i + 1 < text.size() ? text[i + 1].unicode() : 0;
            if (next == kVoiceMark && (takesVoiceMark(wide) || wide == u'ウ')) {
                wide = wide == u'ウ' ? u'ヴ' : char16_t(wide + 1);
                ++i;
            } else if (next == kSemiVoiceMark && takesSemiVoiceMark(wide)) {
                wide = char16_t(wide + 2);
                ++i;
            }
            out += QChar(wide);
        } else {
            out += QChar(c);
        }
    }
    return out;
}

QString toNarrow(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == 0x3000) {
            out += u' ';
        } else if (c >= 0xFF01 && c <= 0xFF5E) {
            out += QChar(char16_t(c - 0xFF01 + 0x21));
        } else if (const int k = kanaIndexOfWide(c); k >= 0) {
            out += QChar(char16_t(0xFF61 + k));
        } else if (c == u'ヴ') {
            out += u"ｳﾞ"_s;
        } else if (takesVoiceMark(char16_t(c - 1))) {
            out += QChar(char16_t(0xFF61 + kanaIndexOfWide(char16_t(c - 1))));
            out += QChar(kVoiceMark);
        } else if (takesSemiVoiceMark(char16_t(c - 2))) {
            out += QChar(char16_t(0xFF61 + kanaIndexOfWide(char16_t(c - 2))));
            out += QChar(kSemiVoiceMark);
        } else {
            out += qc;
        }
    }
    return out;
}

QString removeSpaces(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != QChar(0x3000) && c != QChar(0))
            out += c;
    return out;
}

QByteArray toWindows31J(QStringView text) {
    QStringEncoder encoder("windows-31j");
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError())
        return bytes;
    // Rare: encode character by character so that each unmappable one becomes "?".
    bytes.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder one("windows-31j");
        const QByteArray b = one.encode(text.mid(i, len));
        bytes += one.hasError() ? QByteArray("?") : b;
        i += len - 1;
    }
    return bytes;
}

QString fromWindows31J(QByteArrayView bytes) {
    QStringDecoder decoder("windows-31j");
    return decoder.decode(bytes);
}

int byteWidth(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F))
        return 1;
    if (c.isSurrogate())
        return 1;
    // Encoding a character is slow; each thread remembers the widths it has asked for.
    thread_local std::array<qint8, 0x10000> widths{};
    qint8& w = widths[u];
    if (w == 0)
        w = static_cast<qint8>(toWindows31J(QStringView(&c, 1)).size());
    return w;
}

int byteWidth(QStringView text) {
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80) { // most text: one byte each, no call
            ++width;
            continue;
        }
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++width; // not in the code page: written as "?"
            ++i;
        } else {
            width += byteWidth(text[i]);
        }
    }
    return width;
}

QString leftBytes(QStringView text, int bytes) {
    int width = 0;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const int w = byteWidth(text[i]);
        if (width + w > bytes)
            break;
        width += w;
    }
    return text.left(i).toString();
}

QString padToWidth(QStringView text, int width, Align align) {
    const int w = byteWidth(text);
    if (w > width) {
        QString cut = leftBytes(text, width);
        const int shortBy = width - byteWidth(cut);
        cut += QString(shortBy, u' ');
        return cut;
    }
    const QString pad(width - w, u' ');
    return align == Align::Left ? text.toString() + pad : pad + text.toString();
}

QString fitToWidth(QStringView text, int width, Align align) {
    const QStringView t = text.trimmed();
    const int w = byteWidth(t);
    if (w > width)
        return leftBytes(t, width);
    const QString pad(width - w, u' ');
    return align == Align::Left ? t.toString() + pad : pad + t.toString();
}

} // namespace basText
