#pragma once

// The key that orders runners by result: the result time when the result text is a time,
// otherwise a status code counted in days, so every timed runner sorts before every status.

#include "Quorvelin2Global.h"

#include <QString>
#include <QStringView>

namespace basResultKey {

// The key in days. A time is taken to the whole second, so equal times give equal keys.
QV_EXPORT double ResultKey(QStringView resultText);

// The status code of a result text that is not a time (0 for a text that looks like a broken
// time, 98 for an empty or unknown text).
QV_EXPORT double StatusCode(QStringView resultText);

// True when the text is a time (or date) the runtime recognises; its value in whole seconds.
QV_EXPORT bool IsTimeText(QStringView resultText);
QV_EXPORT qint64 TimeSeconds(QStringView resultText);

// True when a key is a status rather than a time.
inline bool IsStatusKey(double key) {
    return key >= 1;
}

} // namespace basResultKey
