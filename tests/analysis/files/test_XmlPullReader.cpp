#include "XmlPullReader.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The tokens a reader gives, one line each, in a form both readers can be held to: the text
// between two tags joined into one line (the readers cut it at different places), nothing but
// markup outside the root element.
template <typename Reader> QStringList tokens(Reader& xml) {
    QStringList out;
    QString text;
    int depth = 0;
    const auto flush = [&] {
        if (!text.isNull())
            out << u"T:"_s + text;
        text = QString();
    };
    while (!xml.atEnd()) {
        const auto t = xml.readNext();
        if (xml.hasError())
            break;
        if (t == Reader::Characters) {
            if (depth > 0)
                text += xml.text();
            continue;
        }
        flush();
        if (t == Reader::StartElement) {
            ++depth;
            QString line = u"S:{"_s + xml.namespaceUri() + u'}' + xml.name();
            if constexpr (std::is_same_v<Reader, QXmlStreamReader>) {
                for (const QXmlStreamAttribute& a : xml.attributes())
                    line += u' ' + a.qualifiedName() + u"=["_s + a.value() + u']';
            } else {
                for (const XmlPullReader::Attribute& a : xml.attributes().all())
                    line += u' ' + a.qualifiedName + u"=["_s + a.value + u']';
            }
            out << line;
        } else if (t == Reader::EndElement) {
            --depth;
            out << u"E:{"_s + xml.namespaceUri() + u'}' + xml.name();
        } else if (t == Reader::Comment) {
            out << u"C:"_s + xml.text();
        } else if (t == Reader::ProcessingInstruction) {
            out << u"P"_s;
        } else if (t == Reader::DTD) {
            out << u"D"_s;
        }
    }
    return out;
}

enum class Expect {
    Same,      // both read it, to the same tokens
    Malformed, // QXmlStreamReader reports an error; the pull reader leaves it
    Left,      // well-formed, but the pull reader leaves it to QXmlStreamReader
};

TEST(XmlPullReader, AgreesWithQXmlStreamReader) {
    struct Case {
        const char* what;
        QByteArray bytes;
        Expect expect;
    };
    const std::vector<Case> cases = {
        {"entities and character references", "<a>x &lt; &gt; &amp; &apos; &quot; &#65;&#x42;&#x1F600; y</a>",
         Expect::Same},
        {"CDATA", "<a>one<![CDATA[<b>&amp; ]] ]>\r\n]]>two</a>", Expect::Same},
        {"comments and instructions",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- c1 --><?pi data?>\n<a><!--in-->t<?x y?>u</a>\n"
         "<!-- after -->\n",
         Expect::Same},
        {"attributes in both quotes", "<a x=\"1\" y='2 \"q\"' z=\"a&amp;b&#10;c\td\r\ne\" w = 'x&lt;'/>",
         Expect::Same},
        {"empty elements and white space", "<a>\n  <b/>\r\n  <c></c>\r<d> x\r\n </d><e\n/></a>\n",
         Expect::Same},
        {"namespaces",
         "<r xmlns=\"urn:a\" xmlns:p=\"urn:p\" iofVersion=\"3.0\"><p:b p:x=\"1\" y=\"2\" xml:lang=\"ja\"/>"
         "<c xmlns=\"\"><d/></c><p:e xmlns:p=\"urn:q\"/></r>",
         Expect::Same},
        {"document type without subset",
         "<?xml version='1.0' standalone='no'?>\n<!DOCTYPE ResultList SYSTEM \"IOFdata.dtd\">\n<ResultList/>",
         Expect::Same},
        {"byte order mark and Japanese",
         "\xEF\xBB\xBF<a n=\"\xE9\x81\xB8\xE6\x89\x8B\">\xE6\x97\xA5\xE6\x9C\xAC</a>", Expect::Same},
        {"tags torn", "<a><b></a></b>", Expect::Malformed},
        {"not closed", "<a><b/>", Expect::Malformed},
        {"no root", "<!-- only -->", Expect::Malformed},
        {"two roots", "<a/><b/>", Expect::Malformed},
        {"text after the root", "<a/>x", Expect::Malformed},
        {"undeclared entity", "<a>&nbsp;</a>", Expect::Malformed},
        {"bare ampersand", "<a>fish & chips</a>", Expect::Malformed},
        {"undeclared prefix", "<p:a/>", Expect::Malformed},
        {"attribute twice", "<a x=\"1\" x='2'/>", Expect::Malformed},
        {"namespace declared twice", "<a xmlns:p=\"u\" xmlns:p=\"v\"/>", Expect::Left},
        {"attribute twice by namespace", "<a xmlns:p=\"u\" xmlns:q=\"u\" p:x=\"1\" q:x=\"2\"/>",
         Expect::Malformed},
        {"CDATA end in text", "<a>x ]]> y</a>", Expect::Malformed},
        {"control character", "<a>\x01</a>", Expect::Malformed},
        {"less-than in a value", "<a x=\"<\"/>", Expect::Malformed},
        {"character reference to nothing", "<a>&#0;</a>", Expect::Malformed},
        {"broken UTF-8", "<a>\xC3\x28</a>", Expect::Malformed},
        {"markup in the system identifier", "<!DOCTYPE a SYSTEM \"x<y\"><a/>", Expect::Malformed},
        {"internal subset", "<!DOCTYPE a [<!ELEMENT a ANY>]><a/>", Expect::Left},
        {"another encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>", Expect::Left},
        {"a name beyond ASCII", "<\xC3\xA9t\xC3\xA9/>", Expect::Left},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QXmlStreamReader reference(c.bytes);
        const QStringList expected = tokens(reference);
        EXPECT_EQ(reference.hasError(), c.expect == Expect::Malformed)
            << reference.errorString().toStdString();

        const std::optional<QString> text = XmlPullReader::decode(c.bytes);
        QStringList got;
        bool left = !text;
        if (text) {
            try {
                XmlPullReader xml(*text);
                got = tokens(xml);
            } catch (const XmlPullReader::Unsupported&) {
                left = true;
            }
        }
        EXPECT_EQ(left, c.expect != Expect::Same);
        if (c.expect == Expect::Same) {
            EXPECT_EQ(got, expected);
        }
    }
}

// The calls the IOF reader makes, on one document: element text with children skipped, and the
// next start element at each level.
TEST(XmlPullReader, ElementTextAndNavigation) {
    const QString doc = u"<r><a>x<b>skipped</b>y<!--c-->z</a><c><d/></c><e>tail</e></r>"_s;
    XmlPullReader xml(doc);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), u"r"_s);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.readElementText(XmlPullReader::SkipChildElements), u"xyz"_s);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), u"c"_s);
    xml.skipCurrentElement();
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.readElementText(XmlPullReader::SkipChildElements), u"tail"_s);
    EXPECT_FALSE(xml.readNextStartElement());
    EXPECT_EQ(xml.tokenType(), XmlPullReader::EndElement);
    EXPECT_EQ(xml.name(), u"r"_s);
    EXPECT_FALSE(xml.readNextStartElement());
    EXPECT_TRUE(xml.atEnd());
}

} // namespace
