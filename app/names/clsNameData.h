#pragma once

#include <QString>

#include <memory>

// One runner known by the number of the E-card.
class clsNameData {
public:
    clsNameData() = default;
    clsNameData(qint32 ecardNo, const QString& runnerName, const QString& clubName);

    qint32 EcardNo = 0; // 0: no number; such a record is never stored in a table
    QString RunnerName;
    QString ClubName;
};

using clsNameDataPtr = std::shared_ptr<clsNameData>;
