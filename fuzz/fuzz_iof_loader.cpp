#include "FuzzFileLoad.h"
#include "basIofReader.h"

using namespace Qt::StringLiterals;

// IOF XML result lists of either version, as text through the file control (twice, the second
// load merging) and as bytes through the kind detection the hosts use.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const qint32 kind = data[0] & 0x80 ? 7 : 8;
    fuzzLoad(data, size, u"f.xml"_s, kind, false);
    basIofReader::documentKind(QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    return 0;
}
