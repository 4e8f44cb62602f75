#pragma once

// Brevanto2.ini of a data folder: event name, event date and class-assignment pattern, three
// Windows-31J lines rewritten whole (atomically) on every change.

#include "basPenacheckRule.h"
#include "basTextFile.h"

#include <QString>

class clsEventSettingFile final {
public:
    static inline const QString FileName = QStringLiteral("Brevanto2.ini");
    static inline const QString DefaultEventName = QStringLiteral("名称未設定");
    static constexpr qint32 DefaultPenacheckRule = basPenacheckRule::BestFitting;

    QString EventName = DefaultEventName;
    double EventDate = 0; // date value, 0 = not set
    qint32 PenacheckRule = DefaultPenacheckRule;

    static QString pathIn(const QString& folder);

    // A missing file, or one that cannot be read as three lines, gives the defaults.
    static clsEventSettingFile read(const QString& folder);
    basTextFile::Result write(const QString& folder) const;
};
