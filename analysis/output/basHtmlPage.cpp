#include "basHtmlPage.h"

#include "clsQuorvelin2.h"

#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace basHtmlPage {

QString Escape(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] != u'&' && text[i] != u'<' && text[i] != u'>' && text[i] != u'"')
        ++i;
    if (i == text.size())
        return text.toString();
    QString out;
    out.reserve(text.size() + 16);
    out.append(text.left(i));
    for (; i < text.size(); ++i) {
        switch (text[i].unicode()) {
        case u'&':
            out += u"&amp;"_s;
            break;
        case u'<':
            out += u"&lt;"_s;
            break;
        case u'>':
            out += u"&gt;"_s;
            break;
        case u'"':
            out += u"&quot;"_s;
            break;
        default:
            out += text[i];
        }
    }
    return out;
}

QString Quoted(QStringView text) {
    return u'"' + Escape(text) + u'"';
}

QString head(const clsQuorvelin2& root, const Head& h) {
    const QString crlf = QString::fromUtf16(Crlf);
    QString out = u"<head>"_s + crlf;
    out +=
        u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset="_s + h.encoding + u"\">"_s + crlf;
    out += u"<meta name=\"generator\" content=\"Quorvelin Ver."_s + root.Version() + u"\">"_s + crlf;
    if (!h.title.isEmpty())
        out += u"<title>"_s + Escape(h.title) + u"</title>"_s + crlf;
    if (h.styleBlock) {
        out += u"<style type=\"text/css\">"_s + crlf + u"<!--"_s + crlf;
        out += u"table { border-width: 0px 0px 1px 1px ; border-color: black }"_s + crlf;
        out += u"td { "_s + h.fontStyle + u"border-width: 1px 1px 0px 0px ; border-color: black }"_s + crlf;
        if (!h.extraStyle.isEmpty())
            out += h.extraStyle + crlf;
        out += u"-->"_s + crlf + u"</style>"_s + crlf;
    }
    // The style sheet's address is the host's own text, as given.
    if (!h.linkStyleFile.isEmpty())
        out += u"<link rel=\"stylesheet\" type=\"text/css\" href=\""_s + h.linkStyleFile + u"\">"_s + crlf;
    out += u"</head>"_s;
    return out;
}

QString frame(const QString& headText, const QString& content, const QString& bodyTag) {
    const QString crlf = QString::fromUtf16(Crlf);
    QString out;
    out.reserve(headText.size() + content.size() + 64);
    out += u"<html>"_s + crlf + headText + crlf + bodyTag + crlf + content + crlf + u"</body>"_s + crlf +
           u"</html>"_s;
    return out;
}

QString creditLine(const clsQuorvelin2& root) {
    const QString crlf = QString::fromUtf16(Crlf);
    return u"<br>"_s + crlf + u"<i>Made with Quorvelin Ver."_s + root.Version() + u"</i><br>"_s + crlf +
           u"<small>解析の考え方を一緒に練ってくださった皆様に感謝します。</small>"_s;
}

QString sectionHead(quint32 colour, int columns, const QString& className, const QString& text) {
    return u"<tr bgcolor=\"#"_s + QString::number(colour, 16).toUpper() + u"\"><td colspan=\""_s +
           QString::number(columns) + u"\" class=\""_s + className + u"\">"_s + text + u"</td></tr>"_s;
}

QByteArray encode(QStringView page) {
    QStringEncoder encoder("windows-31j");
    QByteArray bytes = encoder.encode(page);
    if (!encoder.hasError())
        return bytes;
    // A name in a script the code page lacks: such characters become references the browser
    // shows as they were.
    bytes.clear();
    bytes.reserve(page.size() * 2);
    for (qsizetype i = 0; i < page.size(); ++i) {
        if (page[i].unicode() < 0x80) {
            bytes += static_cast<char>(page[i].unicode());
            continue;
        }
        qsizetype len = 1;
        if (page[i].isHighSurrogate() && i + 1 < page.size() && page[i + 1].isLowSurrogate())
            len = 2;
        QStringEncoder one("windows-31j");
        const QByteArray b = one.encode(page.mid(i, len));
        if (one.hasError()) {
            const char32_t code = len == 2 ? QChar::surrogateToUcs4(page[i], page[i + 1]) : page[i].unicode();
            bytes += "&#" + QByteArray::number(static_cast<qulonglong>(code)) + ';';
        } else {
            bytes += b;
        }
        i += len - 1;
    }
    return bytes;
}

} // namespace basHtmlPage
