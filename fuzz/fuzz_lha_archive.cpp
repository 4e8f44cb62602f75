#include "basLha.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

// Arbitrary bytes as an archive (nothing may crash, no name may leave the folder), and the
// same bytes packed by our writer, with each method it has, and read back (they must come back
// unchanged).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QVector<basLha::Entry> entries;
    basLha::readArchive(bytes, &entries, 1 << 20);
    for (const basLha::Entry& e : entries) {
        const QString safe = basLha::safeFileName(e.name);
        if (safe.contains(u'/') || safe.contains(u'\\') || safe == QStringLiteral(".."))
            std::abort();
    }
    static QTemporaryDir work;
    if (!entries.isEmpty() && work.isValid()) {
        const QString archive = work.filePath(QStringLiteral("in.lzh"));
        QFile f(archive);
        if (f.open(QIODevice::WriteOnly)) {
            f.write(bytes);
            f.close();
            QDir(work.filePath(QStringLiteral("out"))).removeRecursively();
            QDir().mkpath(work.filePath(QStringLiteral("out")));
            basLha::extractAll(archive, work.filePath(QStringLiteral("out")));
        }
    }

    // Every window size the writer has; the first byte picks one, so each run packs once.
    static const QByteArray methods[] = {QByteArray(), "-lh5-", "-lh6-", "-lh7-"};
    const QByteArray& method = methods[size > 0 ? data[0] % 4 : 0];
    const basLha::Entry entry{QStringLiteral("fuzz.lap"), bytes, 0};
    const QByteArray packed = method.isEmpty() ? basLha::encodeArchive({entry})
                                               : basLha::encodeEntry(entry, method) + QByteArray(1, '\0');
    QVector<basLha::Entry> back;
    if (!basLha::readArchive(packed, &back).ok || back.size() != 1 || back[0].data != bytes)
        std::abort();
    return 0;
}
