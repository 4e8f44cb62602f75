#pragma once

#include "clsNameData.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// What was decided for one card read only: its own name, its classes, the reference mark.
class clsSpecificData {
public:
    QString EcardTagUniqueKey;
    bool IsNotCompete = false;
    // No list: the assignment pattern applies. An empty list: the read counts in no class.
    std::optional<QStringList> CourseList;
    clsNameDataPtr NameData; // its EcardNo is not kept in Other.txt

    // True when the list names this class (names compared in upper case).
    bool listsCourse(const QString& courseName) const;
};

using clsSpecificDataPtr = std::shared_ptr<clsSpecificData>;
