#pragma once

// Text rules of lap records: the time-text normalisation used by the records and the file
// importers, the result key that orders runners, and the names derived for output files.

#include "Quorvelin2Global.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace basLapText {

// Turns the many ways result files write a time into one form. In seconds mode a bare number
// is read as h/m/s digits aligned to the right ("512" -> 0:05:12); in minutes mode as h/m
// ("123" -> 1:23:00). FormatExpression is a time format such as "h:nn:ss".
QV_EXPORT QString NormalizeTime(QStringView text, bool secondsMode, QStringView FormatExpression);

// The time a text stands for when it is a valid time (or date) text.
QV_EXPORT std::optional<double> TimeOf(QStringView text);

// The order key of a result text: its time when it is a time, else a status code in days so that
// every timed runner comes first (DNS 99, P<n> n, MP 30, DNF 90, ?CL 91, DNQ 92, D* 93, else 98;
// a text with "'" or ":" that is not a time 0).
QV_EXPORT double ResultKey(QStringView resultText);
// The status code of a result text that is not a time (0 for a text that looks like a broken
// time, 98 for an empty or unknown text).
QV_EXPORT double StatusCode(QStringView resultText);

// The file name a class (or an explicit file name text) gives its output files: the last path
// component without the characters :/|><'" behind its folder part, narrow and lower case.
QV_EXPORT QString DeriveFileName(QStringView text);

// A data-set name made into a file name: narrow, lower case, without :/|><'" (no path rules).
QV_EXPORT QString DataSetFileName(QStringView name);

// A runner name as merging compares it: narrow, lower case, without spaces of either width
// and without NUL characters.
QV_EXPORT QString MergeName(QStringView name);

} // namespace basLapText
