#pragma once
// The IOF XML 2.0.3 ResultList document of an event, for exchange with other orienteering
// software. Written only.

#include "Quorvelin2Global.h"

#include <QByteArray>
#include <QString>

#include <utility>

class clsQuorvelin2;
class clsLapData;

namespace basIofResultList {

QV_EXPORT QByteArray write(const clsQuorvelin2& root);
QV_EXPORT bool save(const clsQuorvelin2& root, const QString& fileName);

// The pieces the document is made of, for the tests.
QV_EXPORT QString minutesAndSeconds(qint64 seconds);       // 3907 -> "65:07"
QV_EXPORT QString competitorStatus(const clsLapData& lap); // "OK", "Disqualified", ...
QV_EXPORT QString sexAttribute(const QString& sex);        // "M", "F" or empty

// Shared with the 3.0 document: the family and given name of a runner name, and the total time
// (the result when it is a time, else the sum of the positive legs).
QV_EXPORT std::pair<QString, QString> nameParts(const QString& runnerName);
QV_EXPORT qint64 totalSeconds(const clsLapData& lap);

} // namespace basIofResultList
