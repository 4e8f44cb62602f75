#pragma once

// The class-assignment patterns: their values, their texts in the pattern list, and which
// punch-check statuses each lets through.

#include <QList>
#include <QString>

namespace basPenacheckRule {

inline constexpr qint32 BestFitting = -9;
inline constexpr qint32 AllClasses = -1;
inline constexpr qint32 NotFailed = 0;
inline constexpr qint32 StartAndFinish = 98;

// The values in the order of the pattern list: -9, -1, 0, 1 ... 9, 98.
QList<qint32> Values();
// The text of a pattern in the list; empty for a value that is no pattern.
QString Text(qint32 rule);
bool IsValid(qint32 rule);
// A class with this status is selected by a pattern other than the best-fitting one.
bool Selects(qint32 rule, qint32 status);

} // namespace basPenacheckRule
