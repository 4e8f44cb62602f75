#pragma once

#include "Quorvelin2Global.h"

#include "clsLapData.h"

#include <QMetaType>
#include <QString>

#include <memory>
#include <vector>

// One competition class: its course facts and its runners' lap records, in the order added or
// sorted. Held by reference (std::shared_ptr) by the root object.
class QV_EXPORT clsClassData {
    Q_GADGET
public:
    using LapPtr = std::shared_ptr<clsLapData>;

    Q_INVOKABLE qint32 ControlCount() const { return m_controlCount; }
    Q_INVOKABLE void setControlCount(qint32 ControlCount) { m_controlCount = ControlCount; }
    Q_INVOKABLE qint32 CourseNum() const { return m_courseNum; }
    Q_INVOKABLE void setCourseNum(qint32 CourseNum) { m_courseNum = CourseNum; }
    Q_INVOKABLE qint32 Length() const { return m_length; }
    Q_INVOKABLE void setLength(qint32 Length) { m_length = Length; }
    Q_INVOKABLE qint32 Climb() const { return m_climb; }
    Q_INVOKABLE void setClimb(qint32 Climb) { m_climb = Climb; }
    Q_INVOKABLE qint32 CutOffRank() const { return m_cutOffRank; }
    Q_INVOKABLE void setCutOffRank(qint32 CutOffRank) { m_cutOffRank = CutOffRank; }
    Q_INVOKABLE QString ClassName() const { return m_className; }
    // "4200m ↑150m"; empty when no length is given.
    Q_INVOKABLE QString ClassInfo() const;
    // An empty text derives the file name from the class name again.
    Q_INVOKABLE void setFileName(const QString& FileName);
    Q_INVOKABLE QString FileName() const { return m_fileName; }
    // Adds or merges an existing record by the load mode (QvLapFileLoadModeCosnt); true when the
    // record was added as a new runner.
    Q_INVOKABLE bool AddLapObject(const std::shared_ptr<clsLapData>& LapObject, qint32 LapFileLoadMode = 0);
    Q_INVOKABLE std::shared_ptr<clsLapData> AddLap();
    Q_INVOKABLE void RemoveLap(qint32 Index);
    Q_INVOKABLE void ClearLap();
    // 1-based; nothing when out of range.
    Q_INVOKABLE std::shared_ptr<clsLapData> LapData(qint32 Index) const;
    Q_INVOKABLE qint32 LapCount() const { return static_cast<qint32>(m_laps.size()); }
    // Orders the records by result key; equal keys end up in reverse order of their positions.
    Q_INVOKABLE void SortLap();

    // Reserved to the library: the name is given by AddClass and RenameClass, and it renames
    // the file name too.
    void setClassName(const QString& className);

private:
    LapPtr findMatch(const clsLapData& record, qint32 match) const;

    qint32 m_controlCount = 0;
    qint32 m_courseNum = 0;
    qint32 m_length = 0;
    qint32 m_climb = 0;
    qint32 m_cutOffRank = 0;
    QString m_className;
    QString m_fileName;
    std::vector<LapPtr> m_laps;
};
