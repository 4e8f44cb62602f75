#pragma once

#include "Quorvelin2Global.h"

#include "clsTimeValue.h"

#include <QMetaType>
#include <QString>

#include <array>
#include <memory>
#include <optional>

// One runner of a class: who it is, the published result and rank, and the time of every leg.
// Held by reference (std::shared_ptr) by its class and by analyzers and results holders.
class QV_EXPORT clsLapData {
    Q_GADGET
public:
    static constexpr int MaxLegs = 30;

    Q_INVOKABLE QString RunnerName() const { return m_runnerName; }
    Q_INVOKABLE void setRunnerName(const QString& RunnerName) {
        m_runnerName = RunnerName;
        m_mergeName.reset();
    }
    Q_INVOKABLE QString ClubName() const { return m_clubName; }
    Q_INVOKABLE void setClubName(const QString& ClubName) { m_clubName = ClubName; }
    Q_INVOKABLE QString Rank() const { return m_rank; }
    Q_INVOKABLE void setRank(const QString& Rank) { m_rank = Rank; }
    Q_INVOKABLE qint32 ID() const { return m_id; }
    Q_INVOKABLE void setID(qint32 ID) { m_id = ID; }
    Q_INVOKABLE qint32 Ecard() const { return m_ecard; }
    Q_INVOKABLE void setEcard(qint32 Ecard) { m_ecard = Ecard; }
    // The start time object of the record (value 0 = none).
    Q_INVOKABLE clsTimeValue* StartTime() { return &m_startTime; }
    Q_INVOKABLE void setStartTime(const clsTimeValue& StartTime) { m_startTime = StartTime; }
    Q_INVOKABLE QString RankFix() const { return m_rankFix; }
    Q_INVOKABLE void setRankFix(const QString& RankFix) { m_rankFix = RankFix; }
    Q_INVOKABLE QString Seed() const { return m_seed; }
    Q_INVOKABLE void setSeed(const QString& Seed) { m_seed = Seed; }
    Q_INVOKABLE QString Age() const { return m_age; }
    Q_INVOKABLE void setAge(const QString& Age) { m_age = Age; }
    Q_INVOKABLE QString Sex() const { return m_sex; }
    Q_INVOKABLE void setSex(const QString& Sex) { m_sex = Sex; }
    Q_INVOKABLE qint32 SerialNum() const { return m_serialNum; }
    Q_INVOKABLE QString ClassName() const { return m_className; }
    // The time object of leg Index (1 to 30); reading a leg beyond LegCount extends LegCount to
    // it. Index 0 holds no object (nothing is returned); other indexes raise a subscript error.
    Q_INVOKABLE clsTimeValue* Lap(qint32 Index);
    Q_INVOKABLE void setLegCount(qint32 LegCount);
    Q_INVOKABLE qint32 LegCount() const { return m_legCount; }
    Q_INVOKABLE QString Result() const { return m_result; }
    // Stores the text narrow and upper case with its time normalised; a time of 0 or less is
    // stored as "DISQ", a text that is no time keeps the text and gets the result time -2.
    Q_INVOKABLE void setResult(const QString& Result);

    // Reserved to the library.
    void setSerialNum(qint32 serialNum) { m_serialNum = serialNum; }
    void setClassName(const QString& className) { m_className = className; }
    // The time parsed from Result, or -2 when Result is not a time.
    double ResultTime() const { return m_resultTime; }
    // The value of leg Index without extending LegCount (0 outside 1 to 30).
    double LapValue(int Index) const;
    // The runner name as merging by name compares it (kept until the name changes).
    const QString& mergeName() const;
    // Merges another record's data into this one by the rules of a load mode's flags.
    void mergeFrom(clsLapData& other, bool priorityNewData);

private:
    QString m_runnerName;
    mutable std::optional<QString> m_mergeName;
    QString m_clubName;
    QString m_rank;
    qint32 m_id = 0;
    qint32 m_ecard = 0;
    clsTimeValue m_startTime;
    QString m_rankFix;
    QString m_seed;
    QString m_age;
    QString m_sex;
    QString m_className;
    QString m_result;
    double m_resultTime = 0;
    qint32 m_legCount = 0;
    std::array<clsTimeValue, MaxLegs + 1> m_laps{};
    qint32 m_serialNum = 0;
};
