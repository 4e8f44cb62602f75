#include "XmlPullReader.h"

#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Names in ASCII only; documents with other names go to QXmlStreamReader.
bool isNameStart(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':';
}
bool isNameChar(char16_t c) {
    return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}

bool isPubidChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           QStringView(u" \r\n-'()+,./:=?;!*#@$_%").contains(QChar(c));
}

// A system identifier as QXmlStreamReader takes it for certain: printable ASCII without markup
// characters (it refuses some that XML allows there).
void systemLiteral(QStringView uri) {
    for (const QChar c : uri)
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F || QStringView(u"<>&[]%").contains(c))
            throw XmlPullReader::Unsupported{};
}

bool validCodePoint(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

const QString XmlNamespace = u"http://www.w3.org/XML/1998/namespace"_s;

} // namespace

QStringView XmlPullReader::Attributes::value(QStringView qualifiedName) const {
    for (const Attribute& a : m_items)
        if (a.qualifiedName == qualifiedName)
            return a.value;
    return {};
}

std::optional<QString> XmlPullReader::decode(const QByteArray& bytes) {
    // Other encodings announce themselves with a byte order mark or zero bytes at the start.
    for (qsizetype i = 0; i < std::min<qsizetype>(4, bytes.size()); ++i)
        if (bytes[i] == '\0' || uchar(bytes[i]) == 0xFE || uchar(bytes[i]) == 0xFF)
            return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

XmlPullReader::XmlPullReader(QStringView document) : m_doc(document) {
    m_bindings.reserve(8);
    m_open.reserve(16);
}

void XmlPullReader::skipSpace() {
    while (m_pos < m_doc.size() && isSpace(m_doc[m_pos].unicode()))
        ++m_pos;
}

bool XmlPullReader::space() {
    const qsizetype from = m_pos;
    skipSpace();
    return m_pos > from;
}

QStringView XmlPullReader::readName() {
    const qsizetype from = m_pos;
    if (m_pos >= m_doc.size() || !isNameStart(m_doc[m_pos].unicode()))
        unsupported();
    ++m_pos;
    while (m_pos < m_doc.size() && isNameChar(m_doc[m_pos].unicode()))
        ++m_pos;
    if (m_pos < m_doc.size() && m_doc[m_pos].unicode() >= 0x80)
        unsupported();
    return m_doc.sliced(from, m_pos - from);
}

// Characters that XML does not allow, or lone surrogates.
void XmlPullReader::checkChars(QStringView s) const {
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c >= 0x20 && c < 0xD800)
            continue;
        if (c < 0x20) {
            if (!isSpace(c))
                unsupported();
        } else if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= s.size() || !QChar::isLowSurrogate(s[i + 1].unicode()))
                unsupported();
            ++i;
        } else if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            unsupported();
        }
    }
}

// A quoted literal; with normalize, an attribute value: references replaced, white space made
// spaces (a line end one space), '<' refused.
QStringView XmlPullReader::readQuoted(bool normalize, QString* owned) {
    const QChar quote = at(m_pos);
    if (quote != u'"' && quote != u'\'')
        unsupported();
    const qsizetype from = ++m_pos;
    const qsizetype end = m_doc.indexOf(quote, from);
    if (end < 0)
        unsupported();
    m_pos = end + 1;
    const QStringView raw = m_doc.sliced(from, end - from);
    checkChars(raw);
    if (!normalize)
        return raw;
    bool plain = true;
    for (const QChar c : raw) {
        if (c == u'<')
            unsupported();
        if (c == u'&' || c == u'\t' || c == u'\n' || c == u'\r')
            plain = false;
    }
    if (plain)
        return raw;
    owned->clear();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'&') {
            const qsizetype saved = m_pos;
            m_pos = from + i;
            appendReference(*owned);
            i = m_pos - from - 1;
            m_pos = saved;
        } else if (c == u'\r') {
            *owned += u' ';
            if (i + 1 < raw.size() && raw[i + 1] == u'\n')
                ++i;
        } else {
            *owned += isSpace(c.unicode()) ? QChar(u' ') : c;
        }
    }
    return *owned;
}

// The reference at m_pos appended to out: a predefined entity or a character reference.
void XmlPullReader::appendReference(QString& out) {
    const qsizetype semicolon = m_doc.indexOf(u';', m_pos);
    if (semicolon < 0 || semicolon - m_pos > 12)
        unsupported();
    const QStringView ref = m_doc.sliced(m_pos + 1, semicolon - m_pos - 1);
    m_pos = semicolon + 1;
    if (ref == u"lt")
        out += u'<';
    else if (ref == u"gt")
        out += u'>';
    else if (ref == u"amp")
        out += u'&';
    else if (ref == u"apos")
        out += u'\'';
    else if (ref == u"quot")
        out += u'"';
    else if (ref.size() >= 2 && ref[0] == u'#') {
        const bool hex = ref[1] == u'x';
        const QStringView digits = ref.sliced(hex ? 2 : 1);
        if (digits.isEmpty())
            unsupported();
        char32_t v = 0;
        for (const QChar c : digits) {
            int d = -1;
            if (c >= u'0' && c <= u'9')
                d = c.unicode() - u'0';
            else if (hex && c >= u'a' && c <= u'f')
                d = c.unicode() - u'a' + 10;
            else if (hex && c >= u'A' && c <= u'F')
                d = c.unicode() - u'A' + 10;
            if (d < 0)
                unsupported();
            v = v * (hex ? 16 : 10) + char32_t(d);
            if (v > 0x10FFFF)
                unsupported();
        }
        if (!validCodePoint(v))
            unsupported();
        out += QStringView(QChar::fromUcs4(v));
    } else {
        unsupported(); // declared entities are QXmlStreamReader's to judge
    }
}

QStringView XmlPullReader::resolve(QStringView prefix) const {
    if (prefix == u"xml")
        return XmlNamespace;
    for (auto b = m_bindings.rbegin(); b != m_bindings.rend(); ++b)
        if (b->prefix == prefix)
            return b->uri;
    if (!prefix.isEmpty())
        unsupported();
    return {};
}

void XmlPullReader::readDeclaration() {
    // <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, in this order, each but the
    // version optional.
    m_pos += 5;
    QString scratch;
    const auto attribute = [&](QStringView name) -> std::optional<QStringView> {
        const qsizetype saved = m_pos;
        if (!space() || !m_doc.sliced(m_pos).startsWith(name)) {
            m_pos = saved;
            return std::nullopt;
        }
        m_pos += name.size();
        skipSpace();
        if (at(m_pos) != u'=')
            unsupported();
        ++m_pos;
        skipSpace();
        return readQuoted(false, &scratch);
    };
    if (attribute(u"version") != QStringView(u"1.0"))
        unsupported();
    if (const auto encoding = attribute(u"encoding");
        encoding && encoding->compare(u"utf-8", Qt::CaseInsensitive) != 0)
        unsupported();
    if (const auto standalone = attribute(u"standalone");
        standalone && *standalone != u"yes" && *standalone != u"no")
        unsupported();
    skipSpace();
    if (!startsWith(u"?>"))
        unsupported();
    m_pos += 2;
}

XmlPullReader::TokenType XmlPullReader::readNext() {
    m_text = {};
    switch (m_token) {
    case NoToken:
        if (startsWith(u"<?xml") && isSpace(at(m_pos + 5).unicode()))
            readDeclaration();
        return m_token = StartDocument;
    case EndDocument:
        return m_token;
    case StartElement:
        if (m_pendingEnd) {
            m_pendingEnd = false;
            return m_token = EndElement;
        }
        break;
    default:
        break;
    }
    if (m_token == EndElement) {
        m_bindings.resize(m_open.back().bindings);
        m_open.pop_back();
    }
    if (m_pos >= m_doc.size()) {
        if (!m_rootSeen || !m_open.empty())
            unsupported();
        return m_token = EndDocument;
    }
    if (m_doc[m_pos] == u'<')
        return m_token = readMarkup();
    return m_token = readText();
}

XmlPullReader::TokenType XmlPullReader::readMarkup() {
    const QChar next = at(m_pos + 1);
    if (next == u'/')
        return readEndTag();
    if (next == u'?')
        return readProcessingInstruction();
    if (next == u'!') {
        if (startsWith(u"<!--"))
            return readComment();
        if (startsWith(u"<![CDATA["))
            return readCData();
        if (startsWith(u"<!DOCTYPE"))
            return readDoctype();
        unsupported();
    }
    return readStartTag();
}

XmlPullReader::TokenType XmlPullReader::readStartTag() {
    if (m_open.empty() && m_rootSeen)
        unsupported(); // a second root
    ++m_pos;
    const QStringView qname = readName();
    const size_t outside = m_bindings.size();
    m_attributes.m_items.clear();
    m_ownedValues.clear();
    m_names.clear();
    for (;;) {
        const bool separated = space();
        const QChar c = at(m_pos);
        if (c == u'>' || c == u'/')
            break;
        if (!separated)
            unsupported();
        Attribute a;
        a.qualifiedName = readName();
        skipSpace();
        if (at(m_pos) != u'=')
            unsupported();
        ++m_pos;
        skipSpace();
        m_ownedValues.emplace_back();
        a.value = readQuoted(true, &m_ownedValues.back());
        m_names.push_back({QStringView(), a.qualifiedName});
        const qsizetype colon = a.qualifiedName.indexOf(u':');
        if (colon >= 0) {
            a.prefix = a.qualifiedName.first(colon);
            a.name = a.qualifiedName.sliced(colon + 1);
            if (a.prefix.isEmpty() || a.name.isEmpty() || a.name.contains(u':'))
                unsupported();
        } else {
            a.name = a.qualifiedName;
        }
        if (a.qualifiedName == u"xmlns") {
            if (a.value.data() != m_doc.data() + (m_pos - 1 - a.value.size()))
                unsupported(); // a namespace name with references
            m_bindings.push_back({QStringView(), a.value});
        } else if (a.prefix == u"xmlns") {
            if (a.value.isEmpty() || a.name == u"xml" || a.name == u"xmlns" ||
                a.value.data() != m_doc.data() + (m_pos - 1 - a.value.size()))
                unsupported();
            m_bindings.push_back({a.name, a.value});
        } else {
            m_attributes.m_items.push_back(a);
        }
    }
    if (at(m_pos) == u'/') {
        if (at(m_pos + 1) != u'>')
            unsupported();
        m_pos += 2;
        m_pendingEnd = true;
    } else {
        ++m_pos;
        m_pendingEnd = false;
    }
    // An attribute given twice, by its name or (through two prefixes of one namespace) by its
    // namespace and local name; sorted, so that many attributes cost no more than their count.
    const auto twice = [this] {
        if (m_names.size() < 2)
            return false;
        std::sort(m_names.begin(), m_names.end());
        return std::adjacent_find(m_names.begin(), m_names.end()) != m_names.end();
    };
    if (twice())
        unsupported();
    m_names.clear();
    // Prefixes resolve once all the element's own declarations are known.
    for (const Attribute& a : m_attributes.m_items)
        if (!a.prefix.isEmpty())
            m_names.push_back({resolve(a.prefix), a.name});
    if (twice())
        unsupported();
    m_names.clear();
    const qsizetype colon = qname.indexOf(u':');
    QStringView prefix;
    m_name = qname;
    if (colon >= 0) {
        prefix = qname.first(colon);
        m_name = qname.sliced(colon + 1);
        if (prefix.isEmpty() || m_name.isEmpty() || m_name.contains(u':') || prefix == u"xmlns" ||
            prefix == u"xml")
            unsupported();
    }
    m_namespaceUri = resolve(prefix);
    m_qualifiedName = qname;
    m_open.push_back({qname, outside});
    m_rootSeen = true;
    return StartElement;
}

XmlPullReader::TokenType XmlPullReader::readEndTag() {
    m_pos += 2;
    const QStringView qname = readName();
    skipSpace();
    if (at(m_pos) != u'>' || m_open.empty() || m_open.back().qualifiedName != qname)
        unsupported();
    ++m_pos;
    const qsizetype colon = qname.indexOf(u':');
    m_name = colon >= 0 ? qname.sliced(colon + 1) : qname;
    m_qualifiedName = qname;
    m_namespaceUri = resolve(colon >= 0 ? qname.first(colon) : QStringView());
    return EndElement;
}

XmlPullReader::TokenType XmlPullReader::readText() {
    const qsizetype from = m_pos;
    const qsizetype size = m_doc.size();
    const QChar* d = m_doc.data();
    bool plain = true;
    qsizetype i = from;
    for (; i < size; ++i) {
        const char16_t c = d[i].unicode();
        if (c >= 0x20 && c < 0xD800 && c != u'<' && c != u'&' && c != u']')
            continue;
        if (c == u'<')
            break;
        if (c == u'&' || c == u'\r') {
            plain = false;
        } else if (c == u']') {
            if (i + 2 < size && d[i + 1] == u']' && d[i + 2] == u'>')
                unsupported();
        } else if (c < 0x20) {
            if (c != u'\t' && c != u'\n')
                unsupported();
        } else if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= size || !QChar::isLowSurrogate(d[i + 1].unicode()))
                unsupported();
            ++i;
        } else if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            unsupported();
        }
    }
    m_pos = i;
    const QStringView raw = m_doc.sliced(from, i - from);
    if (m_open.empty()) {
        // Outside the root only white space.
        for (const QChar c : raw)
            if (!isSpace(c.unicode()))
                unsupported();
    }
    if (plain) {
        m_text = raw;
        return Characters;
    }
    m_textBuffer.clear();
    for (qsizetype k = 0; k < raw.size(); ++k) {
        const QChar c = raw[k];
        if (c == u'&') {
            const qsizetype saved = m_pos;
            m_pos = from + k;
            appendReference(m_textBuffer);
            k = m_pos - from - 1;
            m_pos = saved;
        } else if (c == u'\r') {
            m_textBuffer += u'\n';
            if (k + 1 < raw.size() && raw[k + 1] == u'\n')
                ++k;
        } else {
            m_textBuffer += c;
        }
    }
    m_text = m_textBuffer;
    return Characters;
}

XmlPullReader::TokenType XmlPullReader::readComment() {
    const qsizetype from = m_pos + 4;
    const qsizetype dashes = m_doc.indexOf(u"--", from);
    if (dashes < 0 || at(dashes + 2) != u'>')
        unsupported();
    m_text = m_doc.sliced(from, dashes - from);
    checkChars(m_text);
    m_pos = dashes + 3;
    return Comment;
}

XmlPullReader::TokenType XmlPullReader::readProcessingInstruction() {
    m_pos += 2;
    const QStringView target = readName();
    if (target.compare(u"xml", Qt::CaseInsensitive) == 0 || target.contains(u':'))
        unsupported();
    const qsizetype end = m_doc.indexOf(u"?>", m_pos);
    if (end < 0 || (end > m_pos && !isSpace(m_doc[m_pos].unicode())))
        unsupported();
    checkChars(m_doc.sliced(m_pos, end - m_pos));
    m_pos = end + 2;
    m_name = target;
    return ProcessingInstruction;
}

XmlPullReader::TokenType XmlPullReader::readCData() {
    if (m_open.empty())
        unsupported();
    const qsizetype from = m_pos + 9;
    const qsizetype end = m_doc.indexOf(u"]]>", from);
    if (end < 0)
        unsupported();
    const QStringView raw = m_doc.sliced(from, end - from);
    checkChars(raw);
    m_pos = end + 3;
    if (!raw.contains(u'\r')) {
        m_text = raw;
        return Characters;
    }
    m_textBuffer.clear();
    for (qsizetype k = 0; k < raw.size(); ++k) {
        if (raw[k] == u'\r') {
            m_textBuffer += u'\n';
            if (k + 1 < raw.size() && raw[k + 1] == u'\n')
                ++k;
        } else {
            m_textBuffer += raw[k];
        }
    }
    m_text = m_textBuffer;
    return Characters;
}

XmlPullReader::TokenType XmlPullReader::readDoctype() {
    // <!DOCTYPE name (SYSTEM "uri" | PUBLIC "id" "uri")? >; an internal subset is not read here.
    if (m_rootSeen || m_doctypeSeen)
        unsupported();
    m_doctypeSeen = true;
    m_pos += 9;
    if (!space())
        unsupported();
    m_name = readName();
    const bool separated = space();
    QString scratch;
    if (separated && startsWith(u"SYSTEM")) {
        m_pos += 6;
        if (!space())
            unsupported();
        systemLiteral(readQuoted(false, &scratch));
    } else if (separated && startsWith(u"PUBLIC")) {
        m_pos += 6;
        if (!space())
            unsupported();
        for (const QChar c : readQuoted(false, &scratch))
            if (!isPubidChar(c.unicode()))
                unsupported();
        if (!space())
            unsupported();
        systemLiteral(readQuoted(false, &scratch));
    }
    skipSpace();
    if (at(m_pos) != u'>')
        unsupported();
    ++m_pos;
    return DTD;
}

bool XmlPullReader::readNextStartElement() {
    for (;;) {
        switch (readNext()) {
        case StartElement:
            return true;
        case EndElement:
        case EndDocument:
            return false;
        default:
            break;
        }
    }
}

void XmlPullReader::skipCurrentElement() {
    int depth = 1;
    while (depth > 0) {
        const TokenType t = readNext();
        if (t == EndElement)
            --depth;
        else if (t == StartElement)
            ++depth;
        else if (t == EndDocument)
            unsupported();
    }
}

QString XmlPullReader::readElementText(ReadElementTextBehaviour) {
    if (m_token != StartElement)
        return QString();
    QString result;
    for (;;) {
        switch (readNext()) {
        case Characters:
            result += m_text;
            break;
        case EndElement:
            return result;
        case StartElement:
            skipCurrentElement();
            break;
        case EndDocument:
            unsupported();
        default:
            break;
        }
    }
}
