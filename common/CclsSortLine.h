#pragma once

#include <QString>

#include <memory>
#include <typeinfo>

// The payload of a sorted line: a text, a 32-bit integer or an object reference.
struct CclsSortItem {
    enum class Kind { Empty, String, Long, Object };
    Kind kind = Kind::Empty;
    qint32 number = 0;
    QString text;
    std::shared_ptr<void> object;
    const std::type_info* objectType = nullptr;
};

class CclsSort;

// One element of a CclsSort.
class CclsSortLine {
public:
    double SortKey = 0;
    qint32 RankOrder = 0;

private:
    friend class CclsSort;
    quint32 m_block = 0; // which of the list's blocks holds this line

public:
    CclsSortItem Item;
};
