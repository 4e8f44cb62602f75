#pragma once

#include <QString>

#include <memory>
#include <typeinfo>

// The payload of a sorted line: a text, a 32-bit integer or an object reference.
struct CclsSortItem {
    enum class Kind { Empty, String, Long, Object };
    Kind kind = Kind::Empty;
    QString text;
    qint32 number = 0;
    std::shared_ptr<void> object;
    const std::type_info* objectType = nullptr;
};

// One element of a CclsSort.
class CclsSortLine {
public:
    double SortKey = 0;
    qint32 RankOrder = 0;
    CclsSortItem Item;
};
