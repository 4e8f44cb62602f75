#include "FuzzFileLoad.h"
#include "XmlPullReader.h"
#include "basIofReader.h"

#include <QXmlStreamReader>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// The elements of a document in order, as one reader sees them; false when it refuses the document.
template <typename Reader> bool elements(Reader& xml, QStringList& names) {
    while (!xml.atEnd()) {
        if (xml.readNext() == Reader::StartElement)
            names << xml.qualifiedName().toString();
        if (xml.hasError())
            return false;
    }
    return true;
}

// Whatever the pull reader takes, QXmlStreamReader takes too, with the same elements: the
// loader leaves it every document the pull reader refuses, never the other way round.
void compareReaders(const QByteArray& bytes) {
    const std::optional<QString> text = XmlPullReader::decode(bytes);
    if (!text)
        return;
    QStringList fast, reference;
    try {
        XmlPullReader xml(*text);
        elements(xml, fast);
    } catch (const XmlPullReader::Unsupported&) {
        return;
    }
    QXmlStreamReader xml(bytes);
    if (!elements(xml, reference) || fast != reference)
        std::abort();
}

} // namespace

// IOF XML result lists of either version, as text through the file control (twice, the second
// load merging) and as bytes through the kind detection the hosts use; the two XML readers held
// against each other.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const qint32 kind = data[0] & 0x80 ? 7 : 8;
    fuzzLoad(data, size, u"f.xml"_s, kind, false);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    basIofReader::documentKind(bytes);
    compareReaders(bytes);
    return 0;
}
