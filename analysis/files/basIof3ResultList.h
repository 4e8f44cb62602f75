#pragma once
// The IOF XML 3.0 ResultList document of an event: what result services, split viewers and
// route services of other orienteering software read.

#include "Quorvelin2Global.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

class clsQuorvelin2;
class clsLapData;

namespace basIof3ResultList {

inline constexpr QStringView Namespace = u"http://www.orienteering.org/datastandard/3.0";

QV_EXPORT QByteArray write(const clsQuorvelin2& root);
QV_EXPORT bool save(const clsQuorvelin2& root, const QString& fileName);

// The runner's Status: OK, MissingPunch, DidNotFinish, DidNotStart, Disqualified, NotCompeting
// or OverTime.
QV_EXPORT QString resultStatus(const clsLapData& lap);

} // namespace basIof3ResultList
