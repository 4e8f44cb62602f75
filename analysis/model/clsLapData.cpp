#include "clsLapData.h"

#include "ProjectError.h"
#include "basAutomation.h"
#include "basConstants.h"
#include "basLapText.h"
#include "basText.h"

using namespace Qt::StringLiterals;

namespace {
const bool registered = basAutomation::registerShared<clsLapData>();

void raiseSubscript() {
    throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
}
} // namespace

clsTimeValue* clsLapData::Lap(qint32 Index) {
    if (Index < 0 || Index > MaxLegs)
        raiseSubscript();
    if (Index > m_legCount)
        m_legCount = Index;
    if (Index == 0)
        return nullptr;
    return &m_laps[static_cast<size_t>(Index)];
}

void clsLapData::setLegCount(qint32 LegCount) {
    // Legs beyond the table could never be read back.
    if (LegCount < 0 || LegCount > MaxLegs)
        raiseSubscript();
    m_legCount = LegCount;
}

double clsLapData::LapValue(int Index) const {
    if (Index < 1 || Index > MaxLegs)
        return 0;
    return m_laps[static_cast<size_t>(Index)].Value();
}

void clsLapData::setResult(const QString& Result) {
    const QString converted = basText::toNarrow(Result).toUpper();
    const QString normalised = basLapText::NormalizeTime(converted, true, u"h:nn:ss");
    const auto time = basLapText::TimeOf(normalised);
    if (!time) {
        m_result = converted;
        m_resultTime = Quorvelin2::TimeDisq;
        return;
    }
    m_resultTime = *time;
    m_result = *time <= 0 ? u"DISQ"_s : normalised;
}

const QString& clsLapData::mergeName() const {
    if (!m_mergeName)
        m_mergeName = basLapText::MergeName(m_runnerName);
    return *m_mergeName;
}

void clsLapData::mergeFrom(clsLapData& other, bool priorityNewData) {
    const auto takeText = [&](QString& mine, const QString& theirs) {
        if (mine.isEmpty() || (!theirs.isEmpty() && priorityNewData))
            mine = theirs;
    };
    const auto takeNumber = [&](auto& mine, auto theirs) {
        if (mine == 0 || (theirs != 0 && priorityNewData))
            mine = theirs;
    };
    takeText(m_age, other.m_age);
    takeText(m_clubName, other.m_clubName);
    takeNumber(m_id, other.m_id);
    takeNumber(m_ecard, other.m_ecard);
    takeText(m_rank, other.m_rank);
    if (m_result.isEmpty() || (!other.m_result.isEmpty() && priorityNewData)) {
        m_result = other.m_result;
        m_resultTime = other.m_resultTime;
    }
    takeText(m_runnerName, other.m_runnerName);
    m_mergeName.reset();
    takeText(m_seed, other.m_seed);
    takeText(m_sex, other.m_sex);
    if (m_startTime.Value() == 0 || (other.m_startTime.Value() != 0 && priorityNewData))
        m_startTime = other.m_startTime;
    if (m_legCount == 0 || (other.m_legCount != 0 && priorityNewData)) {
        for (int i = 1; i <= other.m_legCount; ++i)
            *Lap(i) = *other.Lap(i);
    }
}
