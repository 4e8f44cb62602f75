#include "clsSpecificData.h"

bool clsSpecificData::listsCourse(const QString& courseName) const {
    if (!CourseList)
        return false;
    const QString wanted = courseName.toUpper();
    for (const QString& name : *CourseList) {
        if (name.toUpper() == wanted)
            return true;
    }
    return false;
}
