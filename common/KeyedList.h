#pragma once

// The keyed collection every Part uses: insertion order, 1-based positions, optional text keys
// compared without regard to letter case. A missing key or position gives nothing (a
// default-constructed value: a null pointer, an empty text) instead of failing.

#include <QHash>
#include <QString>

#include <algorithm>
#include <vector>

template <typename T> class KeyedList {
public:
    struct Entry {
        QString key; // empty when the item was added without a key
        T value;
    };

    int Count() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }

    // Adds at the end. A key that is already present refuses the addition (returns false).
    bool Add(const T& value, const QString& key = QString()) { return insertAt(Count(), value, key); }
    // Adds before / after a 1-based position (a position outside 1..Count refuses).
    bool AddBefore(int position, const T& value, const QString& key = QString()) {
        if (position < 1 || position > Count())
            return false;
        return insertAt(position - 1, value, key);
    }
    bool AddAfter(int position, const T& value, const QString& key = QString()) {
        if (position < 1 || position > Count())
            return false;
        return insertAt(position, value, key);
    }

    T Item(int position) const {
        if (position < 1 || position > Count())
            return T();
        return m_entries[static_cast<size_t>(position - 1)].value;
    }
    T Item(const QString& key) const {
        const int p = IndexOf(key);
        return p ? m_entries[static_cast<size_t>(p - 1)].value : T();
    }
    QString Key(int position) const {
        if (position < 1 || position > Count())
            return QString();
        return m_entries[static_cast<size_t>(position - 1)].key;
    }
    bool Contains(const QString& key) const { return IndexOf(key) != 0; }
    // 1-based position of a key, 0 when missing.
    int IndexOf(const QString& key) const {
        if (key.isEmpty())
            return 0;
        ensureIndex();
        const auto it = m_index.constFind(key.toCaseFolded());
        return it == m_index.constEnd() ? 0 : *it + 1;
    }

    bool Remove(const QString& key) { return Remove(IndexOf(key)); }
    bool Remove(int position) {
        if (position < 1 || position > Count())
            return false;
        const auto at = m_entries.begin() + (position - 1);
        const bool keyed = !at->key.isEmpty();
        m_entries.erase(at);
        if (keyed || position <= Count())
            m_indexValid = false;
        return true;
    }
    void Clear() {
        m_entries.clear();
        m_index.clear();
        m_indexValid = true;
    }

    // Replaces the value at a position, keeping its key.
    bool setItem(int position, const T& value) {
        if (position < 1 || position > Count())
            return false;
        m_entries[static_cast<size_t>(position - 1)].value = value;
        return true;
    }

    void reserve(int n) { m_entries.reserve(static_cast<size_t>(n)); }

    // Iteration over the entries in order (for (const auto& e : list) e.key, e.value).
    auto begin() const { return m_entries.cbegin(); }
    auto end() const { return m_entries.cend(); }

    // Reorders the items (keys travel with them) by a strict weak ordering on values, stably.
    template <typename Less> void stableSort(Less less) {
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [&](const Entry& a, const Entry& b) { return less(a.value, b.value); });
        m_indexValid = false;
    }

private:
    bool insertAt(int index, const T& value, const QString& key) {
        if (!key.isEmpty() && Contains(key))
            return false;
        const bool atEnd = index == Count();
        m_entries.insert(m_entries.begin() + index, Entry{key, value});
        if (atEnd && m_indexValid) {
            if (!key.isEmpty())
                m_index.insert(key.toCaseFolded(), index);
        } else {
            m_indexValid = false;
        }
        return true;
    }

    void ensureIndex() const {
        if (m_indexValid)
            return;
        m_index.clear();
        for (int i = 0; i < Count(); ++i) {
            const QString& k = m_entries[static_cast<size_t>(i)].key;
            if (!k.isEmpty())
                m_index.insert(k.toCaseFolded(), i);
        }
        m_indexValid = true;
    }

    std::vector<Entry> m_entries;
    mutable QHash<QString, int> m_index;
    mutable bool m_indexValid = true;
};
