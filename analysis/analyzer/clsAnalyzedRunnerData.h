#pragma once

#include "Quorvelin2Global.h"

#include "clsLapData.h"
#include "clsLegRankValue.h"
#include "clsMissTimeValue.h"
#include "clsPercentValue.h"
#include "clsTimeValue.h"

#include <QMetaType>
#include <QString>

#include <array>
#include <memory>

class clsAnalyzer;

// One runner's analysis. Read-only outside the library except the Bostrime coordinates; the
// analyzer fills it. Per-leg tables run 0 to 31 with leg i at i; an index outside raises a
// subscript error.
class QV_EXPORT clsAnalyzedRunnerData {
    Q_GADGET
public:
    static constexpr int TableSize = 32;

    clsAnalyzedRunnerData();

    Q_INVOKABLE double BostrimeX() const { return m_bostrimeX; }
    Q_INVOKABLE double BostrimeY() const { return m_bostrimeY; }
    Q_INVOKABLE void setBostrimeX(double BostrimeX) { m_bostrimeX = BostrimeX; }
    Q_INVOKABLE void setBostrimeY(double BostrimeY) { m_bostrimeY = BostrimeY; }
    Q_INVOKABLE clsLegRankValue SplitRank(qint32 Index) const;
    Q_INVOKABLE clsLegRankValue LapRank(qint32 Index) const;
    Q_INVOKABLE clsLegRankValue ModifiedSplitRank(qint32 Index) const;
    Q_INVOKABLE clsLegRankValue ModifiedLapRank(qint32 Index) const;
    Q_INVOKABLE qint32 TotalLapTo(qint32 Index) const;
    Q_INVOKABLE qint32 TotalLapFrom(qint32 Index) const;
    Q_INVOKABLE bool IsValidLapTime(qint32 Index) const;
    Q_INVOKABLE bool IsValidSplitTime(qint32 Index) const;
    Q_INVOKABLE QString RankInDataSet() const { return m_rankInDataSet; }
    Q_INVOKABLE QString Rank() const { return m_rank; }
    Q_INVOKABLE clsPercentValue CruiseSpeed() const { return clsPercentValue(m_cruiseSpeed); }
    Q_INVOKABLE clsPercentValue FirstHalfCruiseSpeed() const {
        return clsPercentValue(m_firstHalfCruiseSpeed);
    }
    Q_INVOKABLE clsPercentValue SecondHalfCruiseSpeed() const {
        return clsPercentValue(m_secondHalfCruiseSpeed);
    }
    Q_INVOKABLE clsPercentValue TotalTimeRelative() const { return clsPercentValue(m_totalTimeRelative); }
    Q_INVOKABLE clsPercentValue LapRelative(qint32 Index) const;
    // The lap record's own leg-time object (codes included).
    Q_INVOKABLE clsTimeValue* LapTime(qint32 Index) const;
    Q_INVOKABLE qint32 SerialNum() const { return m_lap->SerialNum(); }
    Q_INVOKABLE clsTimeValue SplitTime(qint32 Index) const;
    Q_INVOKABLE clsTimeValue ModifiedLapTime(qint32 Index) const;
    Q_INVOKABLE clsTimeValue ModifiedSplitTime(qint32 Index) const;
    Q_INVOKABLE clsMissTimeValue MissTime(qint32 Index) const;
    Q_INVOKABLE clsMissTimeValue MissTimeTotal() const { return clsMissTimeValue(m_missTimeTotal); }
    Q_INVOKABLE clsPercentValue MissRate() const { return clsPercentValue(m_missRate); }
    Q_INVOKABLE clsTimeValue TotalTimeWithoutMiss() const { return clsTimeValue(m_timeWithoutMiss); }
    Q_INVOKABLE QString RunnerName() const { return m_lap->RunnerName(); }
    Q_INVOKABLE QString ClubName() const { return m_lap->ClubName(); }
    // The record's result, or when it has none and its last split is valid, that split.
    Q_INVOKABLE QString Result() const;
    Q_INVOKABLE QString ResultRank() const { return m_lap->Rank(); }
    Q_INVOKABLE double StartTime() const { return m_lap->StartTime()->Value(); }
    Q_INVOKABLE std::shared_ptr<clsLapData> OtherData() const { return m_lap; }

    // Reserved to the library.
    void setOtherData(const std::shared_ptr<clsLapData>& lap) { m_lap = lap; }
    void setRankInDataSet(const QString& rank) { m_rankInDataSet = rank; }
    void setRank(const QString& rank) { m_rank = rank; }
    void setTotalLapTo(int index, qint32 value);
    void setTotalLapFrom(int index, qint32 value);
    void setIsValidLapTime(int index, bool value);
    void setIsValidSplitTime(int index, bool value);

private:
    friend class clsAnalyzer;

    static size_t slot(qint32 index);
    void resetAnalysis();

    std::shared_ptr<clsLapData> m_lap;
    QString m_rank;
    QString m_rankInDataSet;

    // Filled when the runner is added.
    std::array<double, TableSize> m_lapValue{};   // the record's leg value as added (codes included)
    std::array<qint64, TableSize> m_lapSeconds{}; // whole seconds of a positive leg
    std::array<double, TableSize> m_splitValue{}; // split as a day value, or the leg's code
    std::array<qint64, TableSize> m_splitSeconds{};
    std::array<bool, TableSize> m_validSplit{};
    std::array<bool, TableSize> m_validLap{};
    std::array<qint32, TableSize> m_totalLapFrom{};
    std::array<qint32, TableSize> m_totalLapTo{};

    // Filled by the analysis; seconds are real where they come from shares and ratios.
    std::array<double, TableSize> m_modifiedLapSeconds{};
    std::array<double, TableSize> m_modifiedSplitSeconds{};
    std::array<qint32, TableSize> m_lapRank{};
    std::array<qint32, TableSize> m_splitRank{};
    std::array<qint32, TableSize> m_modifiedLapRank{};
    std::array<qint32, TableSize> m_modifiedSplitRank{};
    std::array<double, TableSize> m_missTime{}; // stored miss value: a day value or a code
    std::array<float, TableSize> m_lapRelative{};
    double m_missTimeTotal = clsMissTimeValue::Initial;
    float m_missRate = 0;
    double m_timeWithoutMiss = 0;
    float m_totalTimeRelative = 0;
    float m_cruiseSpeed = 0;
    float m_firstHalfCruiseSpeed = 0;
    float m_secondHalfCruiseSpeed = 0;
    double m_bostrimeX = 0;
    double m_bostrimeY = 0;

    // The result key of the last analysis, kept with the text it was made from.
    QString m_keyText;
    double m_key = 0;
    bool m_resultIsTime = false;
    qint64 m_resultSeconds = 0;
    bool m_keyKnown = false;
};
