#pragma once

#include "clsEcardPenaChecker.h"
#include "clsNameData.h"
#include "clsSpecificData.h"

#include <QString>

#include <memory>

class clsEcardCourseData;
class clsEcardTagData;

// One result of one runner in one class: a card read checked against the class, or a result
// typed in by hand. Whoever changes a result held by a result manager tells the manager
// (clsResultManager::ResultChanged), so that its next ranking covers the change.
class clsResultData {
public:
    bool IsNotQualify() const { return m_isNotQualify; }
    void setIsNotQualify(bool value) { m_isNotQualify = value; }
    float ResultListOrderKey() const { return m_orderKey; }
    void setResultListOrderKey(float value) { m_orderKey = value; }
    QString Result() const { return m_result; }
    const QString& resultText() const { return m_result; }
    void setResult(const QString& value) { m_result = value; }
    // A decimal number, empty, or "参考".
    QString Rank() const;
    void setRank(const QString& value);
    // No object for a typed result (its checker holds no card).
    std::shared_ptr<clsEcardPenaChecker> PenaChecker() const;
    void setPenaChecker(std::shared_ptr<clsEcardPenaChecker> value) { m_checker = std::move(value); }
    void setNameData(clsNameDataPtr value) { m_nameData = std::move(value); }
    void setSpecificData(clsSpecificDataPtr value) { m_specificData = std::move(value); }
    std::shared_ptr<clsEcardCourseData> CourseData() const;
    std::shared_ptr<clsEcardTagData> TagData() const;
    // The read's own name, else the name record of the card number, else "(" number ")".
    QString RunnerName() const;
    QString ClubName() const;
    bool IsNotCompete() const { return m_specificData && m_specificData->IsNotCompete; }

    // The rank as a number, without making its text (ranking many lists at once).
    void setRankNumber(qint32 rank) {
        m_rankNumber = rank;
        m_rankText.clear();
    }

private:
    clsNameDataPtr nameInEffect() const;

    bool m_isNotQualify = false;
    float m_orderKey = 0;
    QString m_result;
    QString m_rankText;
    qint32 m_rankNumber = 0; // used while m_rankText is empty; 0: no rank
    std::shared_ptr<clsEcardPenaChecker> m_checker;
    clsNameDataPtr m_nameData;
    clsSpecificDataPtr m_specificData;
};
