#pragma once

#include "CclsSortLine.h"
#include "ProjectError.h"

#include <QHash>

#include <array>
#include <memory>
#include <utility>
#include <vector>

// A list kept in ascending key order while lines are added one at a time, with competition
// ranks. A new line goes before the first line whose key is greater than or equal to its own,
// so equal keys stand in reverse order of adding (the most recently added first).
class CclsSort {
public:
    using LinePtr = std::shared_ptr<CclsSortLine>;

    CclsSort();

    // Adds a line whose text is also its unique look-up key (a duplicate raises DuplicateKey).
    void AddString(double SortKey, const QString& Item);
    template <typename T> void AddObject(double SortKey, const std::shared_ptr<T>& Item) {
        CclsSortItem item;
        item.kind = CclsSortItem::Kind::Object;
        item.object = std::static_pointer_cast<void>(std::const_pointer_cast<std::remove_const_t<T>>(Item));
        item.objectType = &typeid(std::remove_const_t<T>);
        add(SortKey, std::move(item));
    }
    void AddLong(double SortKey, qint32 Item);
    // Adds (key, number) pairs exactly as AddLong would one at a time in this order, without a
    // shift of the list per item: into an empty list they are ordered in one stable pass.
    void AddLongs(const std::vector<std::pair<double, qint32>>& items);

    // The rank of the line whose look-up key is this text (an unknown text raises OutOfRange).
    qint32 RankOrder(const QString& Item) const;
    QString StringItem(int position) const;
    qint32 LongItem(int position) const;
    // The object at a position, as the type it was added with (another type raises TypeMismatch).
    template <typename T> std::shared_ptr<T> ObjectItem(int position) const {
        const CclsSortItem& item = line(position).Item;
        if (item.kind != CclsSortItem::Kind::Object || item.objectType == nullptr ||
            *item.objectType != typeid(std::remove_const_t<T>))
            throw ProjectError(ProjectError::TypeMismatch, QStringLiteral("Type mismatch"));
        return std::static_pointer_cast<T>(item.object);
    }
    double SortKey(int position) const;
    int Count() const { return m_count; }
    LinePtr LineObject(int position) const;
    const std::vector<CclsSortLine*>& LineSet() const { return m_lines; }
    void CalcRankOrder();
    void Clear();

    // Key comparisons made by the search of single additions since creation.
    qint64 comparisonCount() const { return m_comparisons; }

private:
    void add(double key, CclsSortItem item, const QString& lookupKey = QString());
    const CclsSortLine& line(int position) const;

    // Lines are carved out of blocks so that adding one costs no allocation of its own; each
    // handed-out pointer shares ownership of its block, so a line outlives Clear while held.
    // Blocks grow from 8 lines to 256, so small lists stay small; a bulk addition takes one block
    // of its own size.
    CclsSortLine* newLine();
    void startBlock(size_t size);
    void advanceLevel();

    std::vector<std::shared_ptr<CclsSortLine[]>> m_blocks;
    size_t m_blockSize = 0; // lines in the last block
    size_t m_blockUsed = 0;
    std::vector<CclsSortLine*> m_lines;
    QHash<QString, CclsSortLine*> m_lookup;
    int m_count = 0;
    int m_level = 0;
    std::array<qint32, 31> m_steps{};
    qint64 m_comparisons = 0;
};
