#include "clsNameData.h"

clsNameData::clsNameData(qint32 ecardNo, const QString& runnerName, const QString& clubName)
    : EcardNo(ecardNo), RunnerName(runnerName), ClubName(clubName) {}
