#pragma once
// A pull reader for the XML that result lists are written in, over text already in memory: the
// tokens and calls of QXmlStreamReader that the IOF reader uses, at a fraction of its cost.
//
// It takes UTF-8 documents made of elements, attributes, text, the predefined entities,
// character references, CDATA sections, comments, processing instructions, namespaces and a
// document type declaration without an internal subset. Anything else, and every malformed
// document, raises Unsupported: the caller then reads the document with QXmlStreamReader,
// which words the error. So nothing it accepts is refused there.

#include "Quorvelin2Global.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>
#include <vector>

class QV_EXPORT XmlPullReader {
public:
    enum TokenType {
        NoToken,
        Invalid,
        StartDocument,
        EndDocument,
        StartElement,
        EndElement,
        Characters,
        Comment,
        DTD,
        EntityReference,
        ProcessingInstruction
    };
    enum ReadElementTextBehaviour { SkipChildElements };

    struct Unsupported {};

    struct Attribute {
        QStringView qualifiedName;
        QStringView prefix;
        QStringView name;
        QStringView value;
    };

    class Attributes {
    public:
        QStringView value(QStringView qualifiedName) const;
        const std::vector<Attribute>& all() const { return m_items; }

    private:
        friend class XmlPullReader;
        std::vector<Attribute> m_items;
    };

    // The text of UTF-8 bytes (a byte order mark dropped); nothing when the bytes are not
    // well-formed UTF-8 or may be in another encoding.
    static std::optional<QString> decode(const QByteArray& bytes);

    // The document must outlive the reader; views it returns point into it.
    explicit XmlPullReader(QStringView document);

    TokenType readNext();
    TokenType tokenType() const { return m_token; }
    bool atEnd() const { return m_token == EndDocument; }
    bool hasError() const { return false; }
    bool readNextStartElement();
    void skipCurrentElement();
    QString readElementText(ReadElementTextBehaviour behaviour);

    QStringView name() const { return m_name; }
    QStringView qualifiedName() const { return m_qualifiedName; }
    QStringView namespaceUri() const { return m_namespaceUri; }
    QStringView text() const { return m_text; }
    const Attributes& attributes() const { return m_attributes; }

private:
    struct Binding {
        QStringView prefix, uri;
    };
    struct Open {
        QStringView qualifiedName;
        size_t bindings; // namespace bindings in force outside the element
    };

    [[noreturn]] static void unsupported() { throw Unsupported{}; }
    bool startsWith(QStringView s) const { return m_doc.sliced(m_pos).startsWith(s); }
    QChar at(qsizetype i) const { return i < m_doc.size() ? m_doc[i] : QChar(); }
    void skipSpace();
    bool space();
    QStringView readName();
    QStringView readQuoted(bool normalize, QString* owned);
    void checkChars(QStringView s) const;
    QStringView resolve(QStringView prefix) const;

    void readDeclaration();
    TokenType readMarkup();
    TokenType readStartTag();
    TokenType readEndTag();
    TokenType readText();
    TokenType readComment();
    TokenType readProcessingInstruction();
    TokenType readCData();
    TokenType readDoctype();
    void appendReference(QString& out);

    QStringView m_doc;
    qsizetype m_pos = 0;
    TokenType m_token = NoToken;
    bool m_rootSeen = false;
    bool m_doctypeSeen = false;
    bool m_pendingEnd = false; // an empty element's end comes next
    QStringView m_name, m_qualifiedName, m_namespaceUri, m_text;
    Attributes m_attributes;
    std::vector<QString> m_ownedValues;
    QString m_textBuffer;
    std::vector<std::pair<QStringView, QStringView>> m_names; // of a start tag's attributes
    std::vector<Binding> m_bindings;
    std::vector<Open> m_open;
};
