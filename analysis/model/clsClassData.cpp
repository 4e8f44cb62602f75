#include "clsClassData.h"

#include "CclsSort.h"
#include "basAutomation.h"
#include "basConstants.h"
#include "basLapText.h"
#include "basQuorvelin2.h"

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {
const bool registered = basAutomation::registerShared<clsClassData>();
} // namespace

QString clsClassData::ClassInfo() const {
    if (m_length == 0)
        return QString();
    QString text = QString::number(m_length) + u"m"_s;
    if (m_climb != 0)
        text += u" ↑"_s + QString::number(m_climb) + u"m"_s;
    return text;
}

void clsClassData::setFileName(const QString& FileName) {
    m_fileName = basLapText::DeriveFileName(FileName.isEmpty() ? m_className : FileName);
}

void clsClassData::setClassName(const QString& className) {
    m_className = className;
    m_fileName = basLapText::DeriveFileName(className);
}

clsClassData::LapPtr clsClassData::findMatch(const clsLapData& record, qint32 match) const {
    if (match == QV_LOADMODE_MERGE_ID) {
        // A record without an ID is no one in particular: it matches nobody.
        if (record.ID() == 0)
            return nullptr;
        for (const LapPtr& lap : m_laps) {
            if (lap->ID() == record.ID())
                return lap;
        }
        return nullptr;
    }
    const QString& name = record.mergeName();
    if (name.isEmpty())
        return nullptr;
    for (const LapPtr& lap : m_laps) {
        if (lap->mergeName() == name)
            return lap;
    }
    return nullptr;
}

bool clsClassData::AddLapObject(const std::shared_ptr<clsLapData>& LapObject, qint32 LapFileLoadMode) {
    if (!LapObject)
        return false;
    LapObject->setClassName(m_className);
    const qint32 match = LapFileLoadMode & LoadModeMatchMask;
    if (match == QV_LOADMODE_MERGE_ID || match == QV_LOADMODE_MERGE_NAME) {
        if (const LapPtr existing = findMatch(*LapObject, match)) {
            existing->mergeFrom(*LapObject, (LapFileLoadMode & QV_LOADMODE_PRIORITY_NEWDATA) != 0);
            return false;
        }
        if (LapFileLoadMode & QV_LOADMODE_NOTADD_NEWDATA)
            return false;
    }
    LapObject->setSerialNum(basQuorvelin2::NextSerialNumber());
    m_laps.push_back(LapObject);
    return true;
}

std::shared_ptr<clsLapData> clsClassData::AddLap() {
    auto lap = std::make_shared<clsLapData>();
    lap->setClassName(m_className);
    lap->setSerialNum(basQuorvelin2::NextSerialNumber());
    m_laps.push_back(lap);
    return lap;
}

void clsClassData::RemoveLap(qint32 Index) {
    if (Index < 1 || Index > LapCount())
        return;
    m_laps.erase(m_laps.begin() + (Index - 1));
}

void clsClassData::ClearLap() {
    m_laps.clear();
}

std::shared_ptr<clsLapData> clsClassData::LapData(qint32 Index) const {
    if (Index < 1 || Index > LapCount())
        return nullptr;
    return m_laps[static_cast<size_t>(Index - 1)];
}

void clsClassData::SortLap() {
    CclsSort sort;
    for (const LapPtr& lap : m_laps)
        sort.AddObject(basLapText::ResultKey(lap->Result()), lap);
    std::vector<LapPtr> sorted;
    sorted.reserve(m_laps.size());
    for (int i = 1; i <= sort.Count(); ++i)
        sorted.push_back(sort.ObjectItem<clsLapData>(i));
    m_laps = std::move(sorted);
}
