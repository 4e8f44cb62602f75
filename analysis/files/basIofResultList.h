#pragma once
// The IOF XML 2.0.3 ResultList document of an event, for exchange with other orienteering
// software. Written only.

#include "Quorvelin2Global.h"

#include <QByteArray>
#include <QString>

class clsQuorvelin2;
class clsLapData;

namespace basIofResultList {

QV_EXPORT QByteArray write(const clsQuorvelin2& root);
QV_EXPORT bool save(const clsQuorvelin2& root, const QString& fileName);

// The pieces the document is made of, for the tests.
QV_EXPORT QString minutesAndSeconds(qint64 seconds);       // 3907 -> "65:07"
QV_EXPORT QString competitorStatus(const clsLapData& lap); // "OK", "Disqualified", ...
QV_EXPORT QString sexAttribute(const QString& sex);        // "M", "F" or empty

} // namespace basIofResultList
