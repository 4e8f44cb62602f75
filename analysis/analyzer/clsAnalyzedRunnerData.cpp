#include "clsAnalyzedRunnerData.h"

#include "ProjectError.h"
#include "basAutomation.h"
#include "basLegTime.h"

using namespace Qt::StringLiterals;

namespace {
const bool registered = basAutomation::registerShared<clsAnalyzedRunnerData>();
} // namespace

clsAnalyzedRunnerData::clsAnalyzedRunnerData() : m_lap(std::make_shared<clsLapData>()) {
    resetAnalysis();
}

size_t clsAnalyzedRunnerData::slot(qint32 index) {
    if (index < 0 || index >= TableSize)
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
    return static_cast<size_t>(index);
}

void clsAnalyzedRunnerData::resetAnalysis() {
    m_modifiedLapSeconds.fill(0);
    m_modifiedSplitSeconds.fill(0);
    m_lapRank.fill(0);
    m_splitRank.fill(0);
    m_modifiedLapRank.fill(0);
    m_modifiedSplitRank.fill(0);
    m_missTime.fill(clsMissTimeValue::Initial);
    m_lapRelative.fill(0);
    m_missTimeTotal = clsMissTimeValue::Initial;
    m_missRate = 0;
    m_timeWithoutMiss = 0;
    m_totalTimeRelative = 0;
    m_cruiseSpeed = 0;
    m_firstHalfCruiseSpeed = 0;
    m_secondHalfCruiseSpeed = 0;
}

clsLegRankValue clsAnalyzedRunnerData::SplitRank(qint32 Index) const {
    return clsLegRankValue(m_splitRank[slot(Index)]);
}
clsLegRankValue clsAnalyzedRunnerData::LapRank(qint32 Index) const {
    return clsLegRankValue(m_lapRank[slot(Index)]);
}
clsLegRankValue clsAnalyzedRunnerData::ModifiedSplitRank(qint32 Index) const {
    return clsLegRankValue(m_modifiedSplitRank[slot(Index)]);
}
clsLegRankValue clsAnalyzedRunnerData::ModifiedLapRank(qint32 Index) const {
    return clsLegRankValue(m_modifiedLapRank[slot(Index)]);
}
qint32 clsAnalyzedRunnerData::TotalLapTo(qint32 Index) const {
    return m_totalLapTo[slot(Index)];
}
qint32 clsAnalyzedRunnerData::TotalLapFrom(qint32 Index) const {
    return m_totalLapFrom[slot(Index)];
}
bool clsAnalyzedRunnerData::IsValidLapTime(qint32 Index) const {
    return m_validLap[slot(Index)];
}
bool clsAnalyzedRunnerData::IsValidSplitTime(qint32 Index) const {
    return m_validSplit[slot(Index)];
}
clsPercentValue clsAnalyzedRunnerData::LapRelative(qint32 Index) const {
    return clsPercentValue(m_lapRelative[slot(Index)]);
}

clsTimeValue* clsAnalyzedRunnerData::LapTime(qint32 Index) const {
    slot(Index);
    // Leg 31 lies beyond every record; it reads as nothing, like leg 0.
    if (Index > clsLapData::MaxLegs)
        return nullptr;
    return m_lap->Lap(Index);
}

clsTimeValue clsAnalyzedRunnerData::SplitTime(qint32 Index) const {
    return clsTimeValue(m_splitValue[slot(Index)]);
}
clsTimeValue clsAnalyzedRunnerData::ModifiedLapTime(qint32 Index) const {
    return clsTimeValue(basLegTime::daysOf(m_modifiedLapSeconds[slot(Index)]));
}
clsTimeValue clsAnalyzedRunnerData::ModifiedSplitTime(qint32 Index) const {
    return clsTimeValue(basLegTime::daysOf(m_modifiedSplitSeconds[slot(Index)]));
}
clsMissTimeValue clsAnalyzedRunnerData::MissTime(qint32 Index) const {
    return clsMissTimeValue(m_missTime[slot(Index)]);
}

QString clsAnalyzedRunnerData::Result() const {
    const QString own = m_lap->Result();
    if (!own.isEmpty())
        return own;
    const int last = m_lap->LegCount();
    if (last >= 1 && last < TableSize && m_validSplit[static_cast<size_t>(last)])
        return clsTimeValue(m_splitValue[static_cast<size_t>(last)])
            .ToString(u"h:nn:ss"_s, false, u"－"_s, u"↓"_s, u"×"_s);
    return QString();
}

void clsAnalyzedRunnerData::setTotalLapTo(int index, qint32 value) {
    m_totalLapTo[slot(index)] = value;
}
void clsAnalyzedRunnerData::setTotalLapFrom(int index, qint32 value) {
    m_totalLapFrom[slot(index)] = value;
}
void clsAnalyzedRunnerData::setIsValidLapTime(int index, bool value) {
    m_validLap[slot(index)] = value;
}
void clsAnalyzedRunnerData::setIsValidSplitTime(int index, bool value) {
    m_validSplit[slot(index)] = value;
}
