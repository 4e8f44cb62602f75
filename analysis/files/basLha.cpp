#include "basLha.h"

#include "basText.h"
#include "basTextFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <archive.h>
#include <archive_entry.h>

#include <clocale>
#include <locale.h>

#include <algorithm>
#include <array>
#include <vector>

using namespace Qt::StringLiterals;

namespace basLha {

namespace {

int dictionaryBitsOf(const QByteArray& method) {
    if (method == "-lh6-")
        return 15;
    if (method == "-lh7-")
        return 16;
    return 13;
}

quint16 crcTableEntry(quint16 i) {
    quint16 r = i;
    for (int k = 0; k < 8; ++k)
        r = (r & 1) ? quint16((r >> 1) ^ 0xA001) : quint16(r >> 1);
    return r;
}

void putLe16(QByteArray& b, quint32 v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void putLe32(QByteArray& b, quint32 v) {
    putLe16(b, v & 0xFFFF);
    putLe16(b, v >> 16);
}

// libarchive turns stored names into wide text through the thread's locale and refuses
// names it cannot convert. Reading them as Latin-1 under a UTF-8 locale hands over the stored
// bytes one to one; the bytes are then read as UTF-8 when they are valid UTF-8, otherwise as
// Windows-31J (what Japanese archivers store).
class Utf8LocaleScope {
public:
    Utf8LocaleScope() {
        m_locale = newlocale(LC_ALL_MASK, "C.UTF-8", locale_t(nullptr));
        if (m_locale)
            m_previous = uselocale(m_locale);
    }
    ~Utf8LocaleScope() {
        if (m_locale) {
            uselocale(m_previous);
            freelocale(m_locale);
        }
    }
    Utf8LocaleScope(const Utf8LocaleScope&) = delete;
    Utf8LocaleScope& operator=(const Utf8LocaleScope&) = delete;

private:
    locale_t m_locale = locale_t(nullptr);
    locale_t m_previous = locale_t(nullptr);
};

QString decodeName(const char* utf8OfLatin1) {
    if (!utf8OfLatin1)
        return {};
    const QByteArray bytes = QString::fromUtf8(utf8OfLatin1).toLatin1();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return basText::fromWindows31J(bytes);
}

Result failure(const QString& text) {
    return Result{false, text};
}

} // namespace

quint16 crc16(const QByteArray& data, quint16 crc) {
    static const std::array<quint16, 256> table = [] {
        std::array<quint16, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = crcTableEntry(quint16(i));
        return t;
    }();
    for (char ch : data)
        crc = quint16(table[(crc ^ quint8(ch)) & 0xFF] ^ (crc >> 8));
    return crc;
}

QByteArray encodeEntry(const Entry& entry, const QByteArray& methodIn) {
    QByteArray method = methodIn;
    QByteArray packed;
    if (method != "-lh0-") {
        const int dicBits = dictionaryBitsOf(method);
        packed = compressLh(entry.data, dicBits);
        if (method.isEmpty() && packed.size() >= entry.data.size())
            method = "-lh0-";
        else
            method = dicBits == 16 ? "-lh7-" : dicBits == 15 ? "-lh6-" : "-lh5-";
    }
    if (method == "-lh0-")
        packed = entry.data;

    const QByteArray name = basText::toWindows31J(entry.name);
    QByteArray ext;
    // Common header (carries the header CRC), then the file name.
    ext.append(char(0x00));
    putLe16(ext, 0);
    putLe16(ext, quint32(1 + name.size() + 2));
    ext.append(char(0x01));
    ext.append(name);
    putLe16(ext, 0); // no further extended header

    QByteArray header;
    putLe16(header, 0); // total header size, filled below
    header.append(method);
    putLe32(header, quint32(packed.size()));
    putLe32(header, quint32(entry.data.size()));
    putLe32(header, quint32(entry.mtime));
    header.append(char(0x20)); // archive attribute
    header.append(char(0x02)); // header level
    putLe16(header, crc16(entry.data));
    header.append('M');
    putLe16(header, 1 + 2 + 2); // size of the common extended header
    header.append(ext);
    // A first byte of zero would read as the end mark; such headers get one padding byte.
    if ((header.size() & 0xFF) == 0)
        header.append(char(0x00));
    const qsizetype total = header.size();
    header[0] = char(total & 0xFF);
    header[1] = char((total >> 8) & 0xFF);
    const quint16 headerCrc = crc16(header);
    const qsizetype crcAt = 26 + 1; // after the first next-size field and the type byte
    header[crcAt] = char(headerCrc & 0xFF);
    header[crcAt + 1] = char(headerCrc >> 8);
    return header + packed;
}

QByteArray encodeArchive(const QVector<Entry>& entries) {
    QByteArray out;
    for (const Entry& e : entries)
        out += encodeEntry(e);
    out.append(char(0x00));
    return out;
}

Result readArchive(const QByteArray& bytes, QVector<Entry>* entries, qint64 maxEntryBytes) {
    entries->clear();
    const Utf8LocaleScope scope;
    archive* a = archive_read_new();
    archive_read_support_format_lha(a);
    archive_read_set_options(a, "hdrcharset=ISO-8859-1");
    if (archive_read_open_memory(a, bytes.constData(), size_t(bytes.size())) != ARCHIVE_OK) {
        const QString err = QString::fromLocal8Bit(archive_error_string(a));
        archive_read_free(a);
        return failure(err.isEmpty() ? u"not an LHA archive"_s : err);
    }
    Result result;
    archive_entry* e = nullptr;
    for (;;) {
        const int rc = archive_read_next_header(a, &e);
        if (rc == ARCHIVE_EOF)
            break;
        if (rc < ARCHIVE_WARN) {
            result = failure(QString::fromLocal8Bit(archive_error_string(a)));
            break;
        }
        if (archive_entry_filetype(e) != AE_IFREG)
            continue;
        const qint64 size = archive_entry_size_is_set(e) ? qint64(archive_entry_size(e)) : -1;
        if (size > maxEntryBytes) {
            result = failure(u"archive member too large"_s);
            break;
        }
        Entry entry;
        entry.name = decodeName(archive_entry_pathname_utf8(e));
        entry.mtime = archive_entry_mtime_is_set(e) ? qint64(archive_entry_mtime(e)) : 0;
        if (size > 0)
            entry.data.reserve(size);
        char buf[16384];
        la_ssize_t got = 0;
        bool bad = false;
        while ((got = archive_read_data(a, buf, sizeof buf)) > 0) {
            if (entry.data.size() + got > maxEntryBytes) {
                bad = true;
                break;
            }
            entry.data.append(buf, got);
        }
        if (got < 0 || bad) {
            result = failure(bad ? u"archive member too large"_s
                                 : QString::fromLocal8Bit(archive_error_string(a)));
            break;
        }
        entries->append(entry);
    }
    archive_read_free(a);
    return result;
}

Result readArchiveFile(const QString& path, QVector<Entry>* entries) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return failure(f.errorString());
    return readArchive(f.readAll(), entries);
}

QString safeFileName(const QString& storedName) {
    QString name = storedName;
    const qsizetype cut = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (cut >= 0)
        name = name.mid(cut + 1);
    // A drive prefix such as C: must not survive either.
    if (const qsizetype colon = name.lastIndexOf(u':'); colon >= 0)
        name = name.mid(colon + 1);
    if (name.isEmpty() || name == u"."_s || name == u".."_s || name.contains(QChar(0)))
        return {};
    return name;
}

Result extractAll(const QString& archivePath, const QString& folder, QStringList* written) {
    QVector<Entry> entries;
    Result r = readArchiveFile(archivePath, &entries);
    // Whatever was readable before a damaged part is still unpacked.
    QDir dir(folder);
    for (const Entry& e : entries) {
        const QString name = safeFileName(e.name);
        if (name.isEmpty())
            continue;
        const QString target = dir.filePath(name);
        QFile::remove(target); // a link left there is replaced, not followed
        QFile f(target);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            r = failure(f.errorString());
            continue;
        }
        f.write(e.data);
        f.close();
        if (e.mtime > 0)
            f.setFileTime(QDateTime::fromSecsSinceEpoch(e.mtime, Qt::UTC), QFileDevice::FileModificationTime);
        if (written)
            written->append(name);
    }
    return r;
}

Result addFile(const QString& archivePath, const QString& filePath) {
    QFile in(filePath);
    if (!in.open(QIODevice::ReadOnly))
        return failure(in.errorString());
    Entry added;
    added.name = QFileInfo(filePath).fileName();
    added.data = in.readAll();
    added.mtime = QFileInfo(filePath).lastModified().toSecsSinceEpoch();

    QVector<Entry> entries;
    if (QFileInfo::exists(archivePath)) {
        // A damaged archive is left as it is rather than replaced by a smaller one.
        if (Result r = readArchiveFile(archivePath, &entries); !r)
            return r;
    }
    bool replaced = false;
    for (Entry& e : entries) {
        if (e.name.compare(added.name, Qt::CaseInsensitive) == 0) {
            e = added;
            replaced = true;
        }
    }
    if (!replaced)
        entries.append(added);
    const basTextFile::Result w = basTextFile::writeBytes(archivePath, encodeArchive(entries));
    return Result{w.ok, w.error};
}

QString quotePath(const QString& path) {
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
        return path;
    return u'"' + path + u'"';
}

QStringList splitCommandLine(const QString& commandLine) {
    QStringList items;
    QString current;
    bool quoted = false;
    bool any = false;
    for (QChar c : commandLine) {
        if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c == u' ' && !quoted) {
            if (any)
                items.append(current);
            current.clear();
            any = false;
        } else {
            current.append(c);
            any = true;
        }
    }
    if (any)
        items.append(current);
    return items;
}

Result run(const QString& commandLine) {
    const QStringList items = splitCommandLine(commandLine);
    if (items.size() == 5 && items[0] == u"e"_s && items[1] == u"-m"_s && items[4] == u"*.*"_s)
        return extractAll(items[2], items[3]);
    if (items.size() == 3 && items[0] == u"a"_s)
        return addFile(items[1], items[2]);
    return failure(u"unknown command"_s);
}

} // namespace basLha
