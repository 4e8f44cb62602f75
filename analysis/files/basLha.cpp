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
#include <queue>
#include <vector>

using namespace Qt::StringLiterals;

namespace basLha {

namespace {

// Shared by -lh5-, -lh6- and -lh7-; only the window and the position tree differ.
constexpr int MaxMatch = 256;
constexpr int Threshold = 3;
constexpr int NC = 256 + MaxMatch - Threshold + 1; // 510 literal and length codes
constexpr int NT = 19;                             // code-length codes
constexpr int CBit = 9;
constexpr int TBit = 5;
constexpr int MaxCodeLength = 16;
constexpr int BlockCodes = 16384;

class BitWriter {
public:
    void put(int bits, quint32 value) {
        for (int i = bits - 1; i >= 0; --i) {
            m_acc = quint8((m_acc << 1) | ((value >> i) & 1));
            if (++m_count == 8) {
                m_out.append(char(m_acc));
                m_acc = 0;
                m_count = 0;
            }
        }
    }
    QByteArray finish() {
        if (m_count > 0)
            put(8 - m_count, 0);
        return m_out;
    }

private:
    QByteArray m_out;
    quint8 m_acc = 0;
    int m_count = 0;
};

// Code lengths of a Huffman code over freq, none longer than MaxCodeLength. With fewer than
// two used symbols every length stays 0 (the format then sends the symbol itself).
std::vector<int> huffmanLengths(const std::vector<quint32>& freqIn) {
    const int n = int(freqIn.size());
    std::vector<int> len(n, 0);
    std::vector<quint32> freq = freqIn;
    for (;;) {
        struct Node {
            quint64 weight;
            int index;
        };
        auto cmp = [](const Node& a, const Node& b) {
            return a.weight != b.weight ? a.weight > b.weight : a.index > b.index;
        };
        std::priority_queue<Node, std::vector<Node>, decltype(cmp)> heap(cmp);
        std::vector<int> parent;
        parent.reserve(2 * n);
        for (int i = 0; i < n; ++i) {
            parent.push_back(-1);
            if (freq[i] > 0)
                heap.push({freq[i], i});
        }
        if (heap.size() < 2)
            return len;
        while (heap.size() > 1) {
            const Node a = heap.top();
            heap.pop();
            const Node b = heap.top();
            heap.pop();
            const int id = int(parent.size());
            parent.push_back(-1);
            parent[a.index] = id;
            parent[b.index] = id;
            heap.push({a.weight + b.weight, id});
        }
        int longest = 0;
        for (int i = 0; i < n; ++i) {
            if (freq[i] == 0) {
                len[i] = 0;
                continue;
            }
            int depth = 0;
            for (int p = parent[i]; p >= 0; p = parent[p])
                ++depth;
            len[i] = depth;
            longest = std::max(longest, depth);
        }
        if (longest <= MaxCodeLength)
            return len;
        // Too deep: flatten the frequencies and build again.
        for (auto& f : freq)
            if (f > 0)
                f = (f + 1) / 2;
    }
}

// Not every decoder accepts the format's single-symbol form of a tree, so a tree always gets
// at least two codes (an unused one costs a bit or two in the block header).
void ensureTwoSymbols(std::vector<quint32>& freq) {
    const auto used = std::count_if(freq.begin(), freq.end(), [](quint32 f) { return f > 0; });
    if (used >= 2)
        return;
    if (used == 0) {
        freq[0] = freq[1] = 1;
        return;
    }
    freq[freq[0] > 0 ? 1 : 0] = 1;
}

// Canonical codes: by length, then by symbol, as decoders rebuild them from the lengths.
std::vector<quint32> canonicalCodes(const std::vector<int>& len) {
    std::array<quint32, MaxCodeLength + 2> count{};
    for (int l : len)
        if (l > 0)
            ++count[l];
    std::array<quint32, MaxCodeLength + 2> next{};
    quint32 code = 0;
    for (int l = 1; l <= MaxCodeLength; ++l) {
        code = (code + count[l - 1]) << 1;
        next[l] = code;
    }
    std::vector<quint32> codes(len.size(), 0);
    for (size_t i = 0; i < len.size(); ++i)
        if (len[i] > 0)
            codes[i] = next[len[i]]++;
    return codes;
}

struct Token {
    quint16 code; // 0..255 literal, 256.. match length - 3 + 256
    quint16 pos;  // distance - 1 for a match (a 64 KiB window still fits)
};

struct Window {
    int dicBits; // the window is 1 << dicBits bytes
    int np;      // position classes: distance - 1 has at most dicBits bits
    int pBit;    // bits of the position tree's length count, wide enough for np
};

Window windowFor(int dictionaryBits) {
    switch (dictionaryBits) {
    case 15:
        return {15, 16, 5};
    case 16:
        return {16, 17, 5};
    default:
        return {13, 14, 4};
    }
}

int dictionaryBitsOf(const QByteArray& method) {
    if (method == "-lh6-")
        return 15;
    if (method == "-lh7-")
        return 16;
    return 13;
}

int positionClass(quint32 p) {
    int c = 0;
    while (p) {
        p >>= 1;
        ++c;
    }
    return c;
}

void writePtLengths(BitWriter& out, const std::vector<int>& len, int nbit, int special) {
    int n = int(len.size());
    while (n > 0 && len[n - 1] == 0)
        --n;
    out.put(nbit, quint32(n));
    int i = 0;
    while (i < n) {
        const int k = len[i++];
        if (k <= 6)
            out.put(3, quint32(k));
        else
            out.put(k - 3, 0xFFFEu);
        if (i == special) {
            while (i < 6 && len[i] == 0)
                ++i;
            out.put(2, quint32(i - special));
        }
    }
}

void sendBlock(BitWriter& out, const std::vector<Token>& tokens, const Window& window) {
    std::vector<quint32> cFreq(NC, 0), pFreq(window.np, 0);
    for (const Token& t : tokens) {
        ++cFreq[t.code];
        if (t.code >= 256)
            ++pFreq[positionClass(t.pos)];
    }
    out.put(16, quint32(tokens.size()));
    ensureTwoSymbols(cFreq);
    ensureTwoSymbols(pFreq);

    const std::vector<int> cLen = huffmanLengths(cFreq);
    const std::vector<quint32> cCode = canonicalCodes(cLen);
    const bool cSingle = std::all_of(cLen.begin(), cLen.end(), [](int l) { return l == 0; });
    if (cSingle) {
        const int root =
            int(std::find_if(cFreq.begin(), cFreq.end(), [](quint32 f) { return f > 0; }) - cFreq.begin());
        out.put(TBit, 0);
        out.put(TBit, 0);
        out.put(CBit, 0);
        out.put(CBit, quint32(root < NC ? root : 0));
    } else {
        int n = NC;
        while (n > 0 && cLen[n - 1] == 0)
            --n;
        // Run-length form of the code lengths and the frequencies of its symbols.
        struct Item {
            int sym;
            int extraBits;
            quint32 extra;
        };
        std::vector<Item> items;
        std::vector<quint32> tFreq(NT, 0);
        int i = 0;
        while (i < n) {
            const int k = cLen[i++];
            if (k == 0) {
                int count = 1;
                while (i < n && cLen[i] == 0) {
                    ++i;
                    ++count;
                }
                if (count <= 2) {
                    for (int j = 0; j < count; ++j)
                        items.push_back({0, 0, 0});
                    tFreq[0] += quint32(count);
                } else if (count <= 18) {
                    items.push_back({1, 4, quint32(count - 3)});
                    ++tFreq[1];
                } else if (count == 19) {
                    items.push_back({0, 0, 0});
                    items.push_back({1, 4, 15});
                    ++tFreq[0];
                    ++tFreq[1];
                } else {
                    items.push_back({2, CBit, quint32(count - 20)});
                    ++tFreq[2];
                }
            } else {
                items.push_back({k + 2, 0, 0});
                ++tFreq[k + 2];
            }
        }
        ensureTwoSymbols(tFreq);
        const std::vector<int> tLen = huffmanLengths(tFreq);
        const std::vector<quint32> tCode = canonicalCodes(tLen);
        const bool tSingle = std::all_of(tLen.begin(), tLen.end(), [](int l) { return l == 0; });
        if (tSingle) {
            out.put(TBit, 0);
            out.put(TBit, quint32(items.empty() ? 0 : items.front().sym));
        } else {
            writePtLengths(out, tLen, TBit, 3);
        }
        out.put(CBit, quint32(n));
        for (const Item& it : items) {
            if (tLen[it.sym] > 0)
                out.put(tLen[it.sym], tCode[it.sym]);
            if (it.extraBits > 0)
                out.put(it.extraBits, it.extra);
        }
    }

    const std::vector<int> pLen = huffmanLengths(pFreq);
    const std::vector<quint32> pCode = canonicalCodes(pLen);
    const bool pSingle = std::all_of(pLen.begin(), pLen.end(), [](int l) { return l == 0; });
    if (pSingle) {
        const auto it = std::find_if(pFreq.begin(), pFreq.end(), [](quint32 f) { return f > 0; });
        out.put(window.pBit, 0);
        out.put(window.pBit, quint32(it == pFreq.end() ? 0 : it - pFreq.begin()));
    } else {
        writePtLengths(out, pLen, window.pBit, -1);
    }

    for (const Token& t : tokens) {
        if (cLen[t.code] > 0)
            out.put(cLen[t.code], cCode[t.code]);
        if (t.code >= 256) {
            const int c = positionClass(t.pos);
            if (pLen[c] > 0)
                out.put(pLen[c], pCode[c]);
            if (c > 1)
                out.put(c - 1, t.pos);
        }
    }
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

QByteArray compressLh5(const QByteArray& data) {
    return compressLh(data, 13);
}

QByteArray compressLh(const QByteArray& data, int dictionaryBits) {
    const Window window = windowFor(dictionaryBits);
    const int dicSize = 1 << window.dicBits;
    const int size = int(data.size());
    const auto* bytes = reinterpret_cast<const quint8*>(data.constData());
    // Hash chains over three-byte prefixes.
    constexpr int HashBits = 15;
    std::vector<int> head(1 << HashBits, -1);
    std::vector<int> prev(size > 0 ? size : 1, -1);
    auto hashAt = [&](int i) {
        return ((quint32(bytes[i]) << 10) ^ (quint32(bytes[i + 1]) << 5) ^ bytes[i + 2]) &
               ((1u << HashBits) - 1);
    };
    auto insert = [&](int i) {
        if (i + 2 < size) {
            const quint32 h = hashAt(i);
            prev[i] = head[h];
            head[h] = i;
        }
    };

    BitWriter out;
    std::vector<Token> block;
    block.reserve(BlockCodes);
    int pos = 0;
    while (pos < size) {
        int bestLen = 0;
        int bestDist = 0;
        if (pos + 2 < size) {
            const int limit = std::min(MaxMatch, size - pos);
            int chain = 128;
            for (int cand = head[hashAt(pos)]; cand >= 0 && pos - cand <= dicSize && chain-- > 0;
                 cand = prev[cand]) {
                if (bytes[cand + bestLen] != bytes[pos + bestLen])
                    continue;
                int l = 0;
                while (l < limit && bytes[cand + l] == bytes[pos + l])
                    ++l;
                if (l > bestLen) {
                    bestLen = l;
                    bestDist = pos - cand;
                    if (l == limit)
                        break;
                }
            }
        }
        if (bestLen >= Threshold) {
            block.push_back({quint16(bestLen - Threshold + 256), quint16(bestDist - 1)});
            for (int k = 0; k < bestLen; ++k)
                insert(pos + k);
            pos += bestLen;
        } else {
            block.push_back({bytes[pos], 0});
            insert(pos);
            ++pos;
        }
        if (int(block.size()) == BlockCodes) {
            sendBlock(out, block, window);
            block.clear();
        }
    }
    if (!block.empty())
        sendBlock(out, block, window);
    return out.finish();
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
