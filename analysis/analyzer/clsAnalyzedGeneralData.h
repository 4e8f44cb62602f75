#pragma once

#include "Quorvelin2Global.h"

#include "clsAnalyzedRunnerData.h"
#include "clsPercentValue.h"

#include <QMetaType>
#include <QVariant>

#include <array>
#include <memory>

class clsAnalyzer;

// The per-leg values of one analysis: the best runners of every leg, their mean (the upper lap
// average), each leg's share of the course, and the leg difficulty. Legs 0 to 31, positions 0
// to 6; other indexes raise a subscript error.
class QV_EXPORT clsAnalyzedGeneralData {
    Q_GADGET
public:
    static constexpr int TableSize = 32;
    static constexpr int UpperCount = 6;
    using RunnerPtr = std::shared_ptr<clsAnalyzedRunnerData>;

    Q_INVOKABLE clsPercentValue LegDifficulty(qint32 LegIndex) const;
    Q_INVOKABLE bool IsUpperLapExists(qint32 LegIndex, qint32 RankIndex) const;
    Q_INVOKABLE QVariant UpperLapAverage(qint32 LegIndex) const;
    Q_INVOKABLE float LegLength(qint32 LegIndex) const;
    Q_INVOKABLE double UpperLapTotal() const;
    Q_INVOKABLE std::shared_ptr<clsAnalyzedRunnerData> UpperLapObject(qint32 LegIndex,
                                                                      qint32 RankIndex) const;

    // Reserved to the library.
    void setAnalyzer(const std::weak_ptr<clsAnalyzer>& analyzer, int legCount);
    std::shared_ptr<clsAnalyzer> Analyzer() const { return m_analyzer.lock(); }
    int legCount() const { return m_legCount; }
    void setUpperLapObject(qint32 LegIndex, qint32 RankIndex, const RunnerPtr& runner);

private:
    friend class clsAnalyzer;

    static size_t leg(qint32 index);
    static size_t position(qint32 index);

    std::array<std::array<RunnerPtr, UpperCount + 1>, TableSize> m_upper{};
    std::array<double, TableSize> m_upperAverageSeconds{};
    double m_upperTotalSeconds = 0;
    std::array<float, TableSize> m_legLength{};
    std::weak_ptr<clsAnalyzer> m_analyzer;
    int m_legCount = 0;
    std::array<float, TableSize> m_legDifficulty{};
};
