#include "clsAnalyzedGeneralData.h"

#include "ProjectError.h"
#include "basAutomation.h"
#include "basLegTime.h"

using namespace Qt::StringLiterals;

namespace {
const bool registered = basAutomation::registerShared<clsAnalyzedGeneralData>();

[[noreturn]] void raiseSubscript() {
    throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
}
} // namespace

size_t clsAnalyzedGeneralData::leg(qint32 index) {
    if (index < 0 || index >= TableSize)
        raiseSubscript();
    return static_cast<size_t>(index);
}

size_t clsAnalyzedGeneralData::position(qint32 index) {
    if (index < 0 || index > UpperCount)
        raiseSubscript();
    return static_cast<size_t>(index);
}

clsPercentValue clsAnalyzedGeneralData::LegDifficulty(qint32 LegIndex) const {
    return clsPercentValue(m_legDifficulty[leg(LegIndex)]);
}

bool clsAnalyzedGeneralData::IsUpperLapExists(qint32 LegIndex, qint32 RankIndex) const {
    return m_upper[leg(LegIndex)][position(RankIndex)] != nullptr;
}

QVariant clsAnalyzedGeneralData::UpperLapAverage(qint32 LegIndex) const {
    return QVariant(basLegTime::daysOf(m_upperAverageSeconds[leg(LegIndex)]));
}

float clsAnalyzedGeneralData::LegLength(qint32 LegIndex) const {
    return m_legLength[leg(LegIndex)];
}

double clsAnalyzedGeneralData::UpperLapTotal() const {
    return basLegTime::daysOf(m_upperTotalSeconds);
}

std::shared_ptr<clsAnalyzedRunnerData> clsAnalyzedGeneralData::UpperLapObject(qint32 LegIndex,
                                                                              qint32 RankIndex) const {
    return m_upper[leg(LegIndex)][position(RankIndex)];
}

void clsAnalyzedGeneralData::setAnalyzer(const std::weak_ptr<clsAnalyzer>& analyzer, int legCount) {
    m_analyzer = analyzer;
    m_legCount = legCount;
}

void clsAnalyzedGeneralData::setUpperLapObject(qint32 LegIndex, qint32 RankIndex, const RunnerPtr& runner) {
    m_upper[leg(LegIndex)][position(RankIndex)] = runner;
}
