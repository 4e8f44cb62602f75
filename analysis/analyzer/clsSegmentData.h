#pragma once

#include "Quorvelin2Global.h"

#include "KeyedList.h"
#include "clsAnalyzer.h"
#include "clsResultsHolder.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class clsQuorvelin2;

// A run of three or more consecutive points that two or more courses share. It hands out an
// analyzer or a results holder over the segment part of every runner of the classes that run
// it, as derived lap records of their own.
class QV_EXPORT clsSegmentData {
    Q_GADGET
public:
    // The entries "class name;start leg", one per class.
    Q_INVOKABLE QStringList TargetClassList() const;
    // Replaces the entries; each is keyed by the text before its ";" (a repeated key is skipped).
    Q_INVOKABLE void setTargetClassList(const QStringList& TargetClassList);
    Q_INVOKABLE qint32 ControlCount() const { return m_controlCount; }
    Q_INVOKABLE QString SegmentName() const { return m_segmentName; }
    Q_INVOKABLE std::shared_ptr<clsAnalyzer> Analyzer(const QString& SexOption = QString()) const;
    Q_INVOKABLE std::shared_ptr<clsResultsHolder> ResultsHolder(const QString& SexOption = QString()) const;

    // Reserved to the library.
    void setControlCount(qint32 controlCount) { m_controlCount = controlCount; }
    void setSegmentName(const QString& name) { m_segmentName = name; }
    // False when the class is listed already.
    bool addTargetClass(const QString& className, qint32 startLeg);
    const KeyedList<QString>& targetClasses() const { return m_targetClasses; }

    // Every common run of every pair of the root's courses, as a new segment list.
    static std::vector<std::shared_ptr<clsSegmentData>> MakeSegmentSet(const clsQuorvelin2& root);
    // The segment part of a runner's record from start leg s over legs legs: a new record.
    static std::shared_ptr<clsLapData> DeriveLap(clsLapData& record, int s, int legs);

private:
    template <typename Set> void fill(Set& set, const QString& sexOption) const;

    KeyedList<QString> m_targetClasses;
    qint32 m_controlCount = 0;
    QString m_segmentName;
};
