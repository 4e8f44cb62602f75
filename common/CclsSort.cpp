#include "CclsSort.h"

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

CclsSort::LinePtr CclsSort::newLine() {
    if (!m_block || m_blockUsed == m_block->lines.size()) {
        const size_t size = m_block ? std::min<size_t>(m_block->lines.size() * 2, 256) : 8;
        m_block = std::make_shared<LineBlock>(size);
        m_blockUsed = 0;
    }
    return LinePtr(m_block, &m_block->lines[m_blockUsed++]);
}

void CclsSort::add(double key, CclsSortItem item, const QString& lookupKey) {
    LinePtr newLine = this->newLine();
    newLine->SortKey = key;
    newLine->Item = std::move(item);
    if (!lookupKey.isEmpty())
        m_lookup.insert(lookupKey, newLine);

    if (m_level + 2 <= 30 && m_steps[static_cast<size_t>(m_level + 2)] == m_count)
        ++m_level;

    const auto keyAt = [this](int p) {
        ++m_comparisons;
        return m_lines[static_cast<size_t>(p - 1)]->SortKey;
    };
    const auto insertBefore = [this, &newLine](int p) { m_lines.insert(m_lines.begin() + (p - 1), newLine); };

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
    return m_lines[static_cast<size_t>(position - 1)];
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
    m_block.reset();
    m_blockUsed = 0;
    m_lookup.clear();
    m_count = 0;
    m_level = 0;
}
