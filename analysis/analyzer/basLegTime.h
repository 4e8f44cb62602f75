#pragma once

// Analysis times are counted in seconds: whole seconds for the recorded legs, splits and
// results, real seconds for what is derived from averages and ratios. This is where they turn
// into the library's day values and back.

#include "basDate.h"

namespace basLegTime {

inline double daysOf(qint64 wholeSeconds) {
    return basDate::fromSeconds(wholeSeconds);
}
inline double daysOf(double realSeconds) {
    return realSeconds / static_cast<double>(basDate::SecondsPerDay);
}
inline qint64 secondsOf(double days) {
    return basDate::toSeconds(days);
}

} // namespace basLegTime
