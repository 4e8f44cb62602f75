#include "CclsSort.h"

#include <algorithm>
#include <bit>
#include <cmath>

using namespace Qt::StringLiterals;

CclsSort::CclsSort() {
    for (int k = 0; k < 31; ++k)
        m_steps[static_cast<size_t>(k)] = qint32(1) << k;
    Clear();
}

void CclsSort::AddString(double SortKey, const QString& Item) {
    const QString lookup = Item.toCaseFolded();
    if (m_lookup.contains(lookup))
        throw ProjectError(ProjectError::DuplicateKey,
                           u"This key is already associated with an element of this collection"_s);
    CclsSortItem item;
    item.kind = CclsSortItem::Kind::String;
    item.text = Item;
    add(SortKey, std::move(item), lookup);
}

void CclsSort::AddLong(double SortKey, qint32 Item) {
    CclsSortItem item;
    item.kind = CclsSortItem::Kind::Long;
    item.number = Item;
    add(SortKey, std::move(item));
}

void CclsSort::startBlock(size_t size) {
    m_blocks.push_back(std::make_shared<CclsSortLine[]>(size));
    m_blockSize = size;
    m_blockUsed = 0;
}

CclsSortLine* CclsSort::newLine() {
    if (m_blocks.empty() || m_blockUsed == m_blockSize)
        startBlock(m_blocks.empty() ? 8 : std::min<size_t>(m_blockSize * 2, 256));
    CclsSortLine* line = &m_blocks.back()[m_blockUsed++];
    line->m_block = static_cast<quint32>(m_blocks.size() - 1);
    return line;
}

// The search's first step grows with the list: one level more at counts 4, 8, 16, ...
void CclsSort::advanceLevel() {
    if (m_level + 2 <= 30 && m_steps[static_cast<size_t>(m_level + 2)] == m_count)
        ++m_level;
}

void CclsSort::add(double key, CclsSortItem item, const QString& lookupKey) {
    CclsSortLine* newLine = this->newLine();
    newLine->SortKey = key;
    newLine->Item = std::move(item);
    if (!lookupKey.isEmpty())
        m_lookup.insert(lookupKey, newLine);

    advanceLevel();

    const auto keyAt = [this](int p) {
        ++m_comparisons;
        return m_lines[static_cast<size_t>(p - 1)]->SortKey;
    };
    const auto insertBefore = [this, newLine](int p) { m_lines.insert(m_lines.begin() + (p - 1), newLine); };

    if (m_count == 0) {
        m_lines.push_back(newLine);
        ++m_count;
        return;
    }
    int k = m_level;
    int p = 1;
    int step = m_steps[static_cast<size_t>(k)];
    for (;;) {
        // Forward phase: run ahead until a key not less than the new one.
        for (;;) {
            if (p > m_count)
                p = m_count;
            if (keyAt(p) >= key)
                break;
            if (p == m_count) {
                m_lines.push_back(newLine);
                ++m_count;
                return;
            }
            p += step;
        }
        if (k == 0) {
            insertBefore(p);
            ++m_count;
            return;
        }
        k = std::max(k - 1, 0);
        step = m_steps[static_cast<size_t>(k)];
        // Backward phase: run back until a key less than the new one.
        for (;;) {
            if (p < 1)
                p = 1;
            if (keyAt(p) < key)
                break;
            if (p == 1) {
                insertBefore(1);
                ++m_count;
                return;
            }
            p -= step;
        }
        k = std::max(k - 1, 0);
        step = m_steps[static_cast<size_t>(k)];
    }
}

namespace {

// A key as an unsigned integer in the same order as the doubles (-0 and +0 alike).
quint64 orderedBits(double key) {
    const quint64 bits = std::bit_cast<quint64>(key + 0.0);
    return (bits >> 63) ? ~bits : bits | (quint64(1) << 63);
}

struct SortEntry {
    quint64 bits;
    quint32 index;
};

void insertionSort(SortEntry* first, SortEntry* last) {
    for (SortEntry* k = first + 1; k < last; ++k) {
        const SortEntry e = *k;
        SortEntry* j = k;
        for (; j > first && e.bits < (j - 1)->bits; --j)
            *j = *(j - 1);
        *j = e;
    }
}

// Stable ascending order by bits. One counting pass spreads the keys over about as many buckets
// as there are keys, by their leading differing bits; each bucket, mostly of one key or two,
// is then finished by a stable sort.
void stableSortByBits(std::vector<SortEntry>& entries) {
    const size_t n = entries.size();
    if (n < 32) {
        insertionSort(entries.data(), entries.data() + n);
        return;
    }
    quint64 lo = entries[0].bits, hi = lo;
    for (const SortEntry& e : entries) {
        lo = std::min(lo, e.bits);
        hi = std::max(hi, e.bits);
    }
    if (lo == hi)
        return;
    const int bucketBits = std::clamp(static_cast<int>(std::bit_width(n)), 4, 16);
    const int shift = std::max(0, static_cast<int>(std::bit_width(hi - lo)) - bucketBits);
    const auto bucketOf = [lo, shift](const SortEntry& e) {
        return static_cast<size_t>((e.bits - lo) >> shift);
    };
    std::vector<quint32> start((size_t(1) << bucketBits) + 1, 0);
    for (const SortEntry& e : entries)
        ++start[bucketOf(e) + 1];
    for (size_t b = 1; b < start.size(); ++b)
        start[b] += start[b - 1];
    std::vector<SortEntry> spread(n);
    std::vector<quint32> next(start.begin(), start.end() - 1);
    for (const SortEntry& e : entries)
        spread[next[bucketOf(e)]++] = e;
    for (size_t b = 0; b + 1 < start.size(); ++b) {
        SortEntry* const first = spread.data() + start[b];
        SortEntry* const last = spread.data() + start[b + 1];
        if (last - first > 24)
            std::stable_sort(first, last,
                             [](const SortEntry& x, const SortEntry& y) { return x.bits < y.bits; });
        else if (last - first > 1)
            insertionSort(first, last);
    }
    entries.swap(spread);
}

} // namespace

void CclsSort::AddLongs(const std::vector<std::pair<double, qint32>>& items) {
    // Into an empty list the items are ordered in one stable sort and laid down in place; a list
    // that already holds lines, or a key that does not compare (NaN), takes single additions.
    const size_t n = items.size();
    std::vector<SortEntry> entries;
    bool single = m_count != 0;
    if (!single) {
        // Equal keys stand latest first, so the stable sort takes the items in reverse.
        entries.resize(n);
        for (size_t k = 0; k < n && !single; ++k) {
            const size_t from = n - 1 - k;
            single = std::isnan(items[from].first);
            entries[k] = {orderedBits(items[from].first), static_cast<quint32>(from)};
        }
    }
    if (single) {
        for (const auto& [key, number] : items)
            AddLong(key, number);
        return;
    }
    if (n == 0)
        return;
    stableSortByBits(entries);

    startBlock(n);
    CclsSortLine* block = m_blocks.back().get();
    const auto blockIndex = static_cast<quint32>(m_blocks.size() - 1);
    m_lines.reserve(n);
    for (size_t p = 0; p < n; ++p) {
        CclsSortLine& line = block[p];
        const auto& [key, number] = items[entries[p].index];
        line.SortKey = key;
        line.Item.kind = CclsSortItem::Kind::Long;
        line.Item.number = number;
        line.m_block = blockIndex;
        m_lines.push_back(&line);
    }
    m_blockUsed = n;
    m_count = static_cast<int>(n);
    // The search depth single additions would have reached: it grows at counts 4, 8, 16, ...
    while (m_level + 2 <= 30 && m_steps[static_cast<size_t>(m_level + 2)] <= m_count - 1)
        ++m_level;
}

const CclsSortLine& CclsSort::line(int position) const {
    if (position < 1 || position > m_count)
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
    return *m_lines[static_cast<size_t>(position - 1)];
}

qint32 CclsSort::RankOrder(const QString& Item) const {
    const auto it = m_lookup.constFind(Item.toCaseFolded());
    if (it == m_lookup.constEnd())
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
    return (*it)->RankOrder;
}

QString CclsSort::StringItem(int position) const {
    const CclsSortItem& item = line(position).Item;
    switch (item.kind) {
    case CclsSortItem::Kind::String:
        return item.text;
    case CclsSortItem::Kind::Long:
        return QString::number(item.number);
    default:
        throw ProjectError(ProjectError::TypeMismatch, u"Type mismatch"_s);
    }
}

qint32 CclsSort::LongItem(int position) const {
    const CclsSortItem& item = line(position).Item;
    if (item.kind != CclsSortItem::Kind::Long)
        throw ProjectError(ProjectError::TypeMismatch, u"Type mismatch"_s);
    return item.number;
}

double CclsSort::SortKey(int position) const {
    return line(position).SortKey;
}

CclsSort::LinePtr CclsSort::LineObject(int position) const {
    line(position);
    CclsSortLine* l = m_lines[static_cast<size_t>(position - 1)];
    return LinePtr(m_blocks[l->m_block], l);
}

void CclsSort::CalcRankOrder() {
    double remembered = 0;
    qint32 rank = 0;
    for (int p = 1; p <= m_count; ++p) {
        CclsSortLine& l = *m_lines[static_cast<size_t>(p - 1)];
        if (p == 1 || l.SortKey != remembered) {
            rank = p;
            remembered = l.SortKey;
        }
        l.RankOrder = rank;
    }
}

void CclsSort::Clear() {
    m_lines.clear();
    m_blocks.clear();
    m_blockSize = 0;
    m_blockUsed = 0;
    m_lookup.clear();
    m_count = 0;
    m_level = 0;
}
