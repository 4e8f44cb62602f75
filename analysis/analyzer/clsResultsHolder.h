#pragma once

#include "Quorvelin2Global.h"

#include "CclsSort.h"
#include "basDataSetFields.h"
#include "clsLapData.h"

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <memory>

// A result list of one or more classes, a course, a segment or a selection: the lap records in
// result order with competition ranks, without split analysis.
class QV_EXPORT clsResultsHolder {
    Q_GADGET
public:
    Q_INVOKABLE QString DataSetFileName() const { return m_fields.fileName; }
    Q_INVOKABLE void setDataSetFileName(const QString& DataSetFileName) {
        m_fields.fileName = DataSetFileName;
    }
    Q_INVOKABLE bool DataSetIsMix() const { return m_fields.isMix; }
    Q_INVOKABLE void setDataSetIsMix(bool DataSetIsMix) { m_fields.isMix = DataSetIsMix; }
    Q_INVOKABLE qint32 ControlCount() const { return m_fields.controlCount; }
    Q_INVOKABLE void setControlCount(qint32 ControlCount) { m_fields.controlCount = ControlCount; }
    Q_INVOKABLE qint32 Length() const { return m_fields.length; }
    Q_INVOKABLE void setLength(qint32 Length) { m_fields.length = Length; }
    Q_INVOKABLE qint32 Climb() const { return m_fields.climb; }
    Q_INVOKABLE void setClimb(qint32 Climb) { m_fields.climb = Climb; }
    Q_INVOKABLE qint32 CutOffRank() const { return m_fields.cutOffRank; }
    Q_INVOKABLE void setCutOffRank(qint32 CutOffRank) { m_fields.cutOffRank = CutOffRank; }
    Q_INVOKABLE QString ClassInfo() const;
    Q_INVOKABLE void AddClass(const QVariant& ClassID);
    // A record without a result is not added.
    Q_INVOKABLE void AddLap(const std::shared_ptr<clsLapData>& LapObject);
    Q_INVOKABLE void AddCourse(qint32 CourseNum);
    Q_INVOKABLE void Clear();
    Q_INVOKABLE qint32 Count() const { return m_selection.Count(); }
    Q_INVOKABLE std::shared_ptr<clsLapData> Item(qint32 Index) const;
    // The competition rank of a selected record with a time result; empty for a status.
    Q_INVOKABLE QString RankInDataSet(qint32 Index) const;
    Q_INVOKABLE void CalcRank();
    Q_INVOKABLE bool RankIsAvalilable() const { return m_rankIsAvailable; }
    Q_INVOKABLE qint32 FullSetCount() const { return m_fullSet.Count(); }
    Q_INVOKABLE std::shared_ptr<clsLapData> FullSetItem(qint32 Index) const;
    Q_INVOKABLE void setDataSetName(const QString& DataSetName);
    Q_INVOKABLE QString DataSetName() const { return m_fields.name; }
    Q_INVOKABLE void SelectItem(qint32 SerialNum);
    Q_INVOKABLE void SelectAll();
    Q_INVOKABLE void SelectNone();

    // Reserved to the library.
    basDataSetFields::Fields& fields() { return m_fields; }

private:
    static std::shared_ptr<clsLapData> recordAt(const CclsSort& sort, qint32 index);

    basDataSetFields::Fields m_fields;
    CclsSort m_selection;
    CclsSort m_fullSet;
    bool m_rankIsAvailable = false;
};
