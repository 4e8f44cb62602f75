#pragma once

#include <QString>

namespace basDataSetFields {

// The naming and course facts of a data set, common to the analyzer and the results holder.
struct Fields {
    QString fileName;
    bool isMix = false;
    qint32 controlCount = 0;
    qint32 length = 0;
    qint32 climb = 0;
    qint32 cutOffRank = 0;
    QString name;
};

} // namespace basDataSetFields
