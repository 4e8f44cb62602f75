#pragma once

// Small builders for cards and classes used by the course tests.

#include "basDate.h"
#include "clsEcardCourseData.h"
#include "clsEcardTagData.h"

#include <memory>
#include <vector>

// A read whose record i carries codes[i-1], punched a minute apart from elapsed 0; the reading
// unit's record is the last non-zero code, as a frame gives it.
inline std::shared_ptr<clsEcardTagData> cardOf(const std::vector<int>& codes, double readTime = 45000.5) {
    auto t = std::make_shared<clsEcardTagData>();
    t->setReadTime(readTime);
    int last = 0;
    for (size_t k = 0; k < codes.size(); ++k) {
        const int i = static_cast<int>(k) + 1;
        t->setPunch(i, codes[k], 60 * (i - 1));
        if (codes[k] != 0)
            last = i;
    }
    t->setReadingUnitPosIndex(last);
    if (last)
        t->setActivateTime(basDate::timePart(readTime) - t->ControlTime(last));
    return t;
}

// A class from its codes per position (start, controls..., finish); an empty position stays
// without a code.
inline std::shared_ptr<clsEcardCourseData> courseOf(const std::vector<std::vector<int>>& positions,
                                                    bool forbid = false) {
    auto c = std::make_shared<clsEcardCourseData>();
    c->setCourseName(QStringLiteral("T"));
    c->setControlCount(static_cast<qint32>(positions.size()) - 2);
    for (size_t p = 0; p < positions.size(); ++p)
        for (int code : positions[p])
            c->AddUnitCode(static_cast<qint32>(p), code);
    c->setForbidControl(forbid);
    return c;
}

inline std::vector<std::vector<int>> simpleCourse(const std::vector<int>& codes) {
    std::vector<std::vector<int>> positions;
    for (int c : codes)
        positions.push_back({c});
    return positions;
}
