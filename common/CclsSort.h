#pragma once

#include "CclsSortLine.h"
#include "ProjectError.h"

#include <QHash>

#include <array>
#include <memory>
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
    const std::vector<LinePtr>& LineSet() const { return m_lines; }
    void CalcRankOrder();
    void Clear();

    // Key comparisons made by additions since creation, for measuring the search.
    qint64 comparisonCount() const { return m_comparisons; }

private:
    void add(double key, CclsSortItem item, const QString& lookupKey = QString());
    const CclsSortLine& line(int position) const;

    // Lines are carved out of blocks so that adding one costs no allocation of its own; each
    // handed-out pointer shares ownership of its block, so a line outlives Clear while held.
    // Blocks grow from 8 lines to 256, so small lists stay small.
    struct LineBlock {
        explicit LineBlock(size_t n) : lines(n) {}
        std::vector<CclsSortLine> lines;
    };
    LinePtr newLine();

    std::shared_ptr<LineBlock> m_block;
    size_t m_blockUsed = 0;
    std::vector<LinePtr> m_lines;
    QHash<QString, LinePtr> m_lookup;
    int m_count = 0;
    int m_level = 0;
    std::array<qint32, 31> m_steps{};
    qint64 m_comparisons = 0;
};
