#pragma once

// Results typed in by hand: reading a typed elapsed time, and the order key of a result text
// in a class list (times in days first, then failures by status).

#include <QString>
#include <QStringView>

namespace basTypedResult {

struct TypedTime {
    QString text;        // "hh:nn:ss" when understood, otherwise the input as trimmed
    bool isTime = false; // the text was understood as a time
    qint32 seconds = 0;  // the time of day of that text, 0-86399
};

// Reads "12345", "5", "23:45", "1:75", "123:45", "1:23:45 (2)", "1:23'45\"" and the like.
TypedTime ReadTypedTime(QStringView input);

// The sort key of a result text: 0 for an empty text, the time in days for a time, 98 for
// "DNF", the number after a leading "P" (99 when there is none), 99 for anything else.
float ResultOrderKey(QStringView result);

} // namespace basTypedResult
