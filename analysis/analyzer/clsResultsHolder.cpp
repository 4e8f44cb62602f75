#include "clsResultsHolder.h"

#include "basAutomation.h"
#include "basDataSet.h"
#include "basResultKey.h"

namespace {
const bool registered = basAutomation::registerShared<clsResultsHolder>();
} // namespace

QString clsResultsHolder::ClassInfo() const {
    return basDataSet::ClassInfo(m_fields.length, m_fields.climb);
}

void clsResultsHolder::AddClass(const QVariant& ClassID) {
    basDataSet::AddClass(*this, ClassID);
}

void clsResultsHolder::AddLap(const std::shared_ptr<clsLapData>& LapObject) {
    if (!LapObject || LapObject->Result().isEmpty())
        return;
    const double key = basResultKey::ResultKey(LapObject->Result());
    m_selection.AddObject(key, LapObject);
    m_fullSet.AddObject(key, LapObject);
}

void clsResultsHolder::AddCourse(qint32 CourseNum) {
    basDataSet::AddCourse(*this, CourseNum);
}

void clsResultsHolder::Clear() {
    m_selection.Clear();
    m_fullSet.Clear();
    m_fields.name.clear();
    m_fields.fileName.clear();
    m_fields.isMix = false;
}

std::shared_ptr<clsLapData> clsResultsHolder::recordAt(const CclsSort& sort, qint32 index) {
    if (index < 1 || index > sort.Count())
        return nullptr;
    return sort.ObjectItem<clsLapData>(index);
}

std::shared_ptr<clsLapData> clsResultsHolder::Item(qint32 Index) const {
    return recordAt(m_selection, Index);
}

std::shared_ptr<clsLapData> clsResultsHolder::FullSetItem(qint32 Index) const {
    return recordAt(m_fullSet, Index);
}

QString clsResultsHolder::RankInDataSet(qint32 Index) const {
    const std::shared_ptr<clsLapData> record = Item(Index);
    if (!record || !basResultKey::IsTimeText(record->Result()))
        return QString();
    return QString::number(m_selection.LineObject(Index)->RankOrder);
}

void clsResultsHolder::CalcRank() {
    if (m_selection.Count() == 0)
        return;
    m_selection.CalcRankOrder();
    m_fullSet.CalcRankOrder();
    int published = 0;
    for (qint32 p = 1; p <= m_selection.Count(); ++p)
        if (!m_selection.ObjectItem<clsLapData>(p)->Rank().isEmpty())
            ++published;
    m_rankIsAvailable = static_cast<double>(published) / m_selection.Count() >= 0.5;
}

void clsResultsHolder::setDataSetName(const QString& DataSetName) {
    m_fields.name = DataSetName;
    m_fields.fileName = basDataSet::FileNameOf(DataSetName);
    m_fields.isMix = true;
}

void clsResultsHolder::SelectItem(qint32 SerialNum) {
    for (qint32 p = 1; p <= m_fullSet.Count(); ++p) {
        const auto record = m_fullSet.ObjectItem<clsLapData>(p);
        if (record->SerialNum() == SerialNum)
            m_selection.AddObject(m_fullSet.SortKey(p), record);
    }
}

void clsResultsHolder::SelectAll() {
    m_selection.Clear();
    for (qint32 p = 1; p <= m_fullSet.Count(); ++p)
        m_selection.AddObject(m_fullSet.SortKey(p), m_fullSet.ObjectItem<clsLapData>(p));
}

void clsResultsHolder::SelectNone() {
    m_selection.Clear();
}
