#pragma once

// A root object with classes filled from leg times written in seconds (-1 and -2 stay codes).

#include "basDate.h"
#include "clsQuorvelin2.h"

#include <QString>

#include <initializer_list>
#include <memory>

namespace analysisfixture {

inline double legValue(double seconds) {
    return seconds < 0 ? seconds : basDate::fromSeconds(static_cast<qint64>(seconds));
}

inline std::shared_ptr<clsLapData> addRunner(clsClassData& cls, const QString& name, const QString& result,
                                             std::initializer_list<double> legs,
                                             const QString& rank = QString(),
                                             const QString& sex = QString()) {
    auto lap = cls.AddLap();
    lap->setRunnerName(name);
    lap->setResult(result);
    lap->setRank(rank);
    lap->setSex(sex);
    int j = 1;
    for (double s : legs)
        lap->Lap(j++)->setValue(legValue(s));
    return lap;
}

inline double seconds(double days) {
    return days * static_cast<double>(basDate::SecondsPerDay);
}

} // namespace analysisfixture
