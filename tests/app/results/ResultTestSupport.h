#pragma once

// Builders for the result tests: classes from their codes, reads from codes and elapsed times.

#include "basDate.h"
#include "clsCourseDataTable.h"
#include "clsEcardTagData.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

// A read of card `number` at `readTime` whose records are (code, elapsed seconds) pairs; the
// reading unit's record 250 is added behind them.
inline std::shared_ptr<clsEcardTagData> readOf(qint32 number, const std::vector<std::pair<int, int>>& punches,
                                               double readTime = 45000.5) {
    auto t = std::make_shared<clsEcardTagData>();
    t->setEcardNo(number);
    t->setReadTime(readTime);
    int i = 0;
    int last = 0;
    for (const auto& [code, seconds] : punches) {
        t->setPunch(++i, code, seconds);
        last = seconds;
    }
    t->setPunch(++i, 250, last + 6);
    t->setReadingUnitPosIndex(i);
    t->setActivateTime(basDate::timePart(readTime) - t->ControlTime(i));
    return t;
}

// A read that ran 0, the controls and 100 in `seconds` from start to finish.
inline std::shared_ptr<clsEcardTagData> runOf(qint32 number, const std::vector<int>& controls, int seconds,
                                              double readTime = 45000.5) {
    std::vector<std::pair<int, int>> punches{{0, 0}};
    int t = 0;
    for (int c : controls)
        punches.emplace_back(c, t += 1);
    punches.emplace_back(100, seconds);
    return readOf(number, punches, readTime);
}

inline std::shared_ptr<clsCourseDataTable> tableOf(const std::vector<QString>& lines) {
    auto table = std::make_shared<clsCourseDataTable>();
    for (const QString& l : lines)
        table->AddByString(l);
    return table;
}
