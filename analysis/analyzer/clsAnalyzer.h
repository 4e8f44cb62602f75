#pragma once

#include "Quorvelin2Global.h"

#include "basDataSetFields.h"
#include "clsAnalyzedGeneralData.h"
#include "clsAnalyzedRunnerData.h"
#include "clsLapData.h"

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

// Split analysis of a set of runners: result order and ranks, leg and split ranks, the upper
// lap averages, modified times over skipped controls, relatives, cruise speed, miss times and
// totals; on request half-course speeds, leg difficulty and the Bostrime coordinates.
class QV_EXPORT clsAnalyzer : public std::enable_shared_from_this<clsAnalyzer> {
    Q_GADGET
public:
    using RunnerPtr = std::shared_ptr<clsAnalyzedRunnerData>;

    clsAnalyzer();

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
    Q_INVOKABLE bool IsExecuted() const { return m_isExecuted; }
    Q_INVOKABLE QString ClassInfo() const;
    Q_INVOKABLE void AddLap(const std::shared_ptr<clsLapData>& LapObject);
    Q_INVOKABLE void AddClass(const QVariant& ClassID);
    Q_INVOKABLE void AddCourse(qint32 CourseNum);
    Q_INVOKABLE void Clear();
    Q_INVOKABLE qint32 Count() const { return static_cast<qint32>(m_selection.size()); }
    Q_INVOKABLE std::shared_ptr<clsAnalyzedRunnerData> Item(qint32 Index) const;
    Q_INVOKABLE qint32 FullSetCount() const { return static_cast<qint32>(m_fullSet.size()); }
    Q_INVOKABLE std::shared_ptr<clsAnalyzedRunnerData> FullSetItem(qint32 Index) const;
    Q_INVOKABLE std::shared_ptr<clsAnalyzedGeneralData> GeneralData() const { return m_general; }
    Q_INVOKABLE void setDataSetName(const QString& DataSetName);
    Q_INVOKABLE QString DataSetName() const { return m_fields.name; }
    Q_INVOKABLE void Execute();
    Q_INVOKABLE void ExtraAnalyze();
    Q_INVOKABLE void Bostrime();
    Q_INVOKABLE void SelectItem(qint32 SerialNum);
    Q_INVOKABLE void SelectSort();
    Q_INVOKABLE void SelectAll();
    Q_INVOKABLE void SelectNone();

    // Reserved to the library.
    basDataSetFields::Fields& fields() { return m_fields; }
    // The number of legs the last analysis covered.
    int legCount() const { return m_legs; }

private:
    // The runner's result key, and whether its result is a time; kept with the result text.
    double resultKey(clsAnalyzedRunnerData& runner) const;
    bool resultIsTime(clsAnalyzedRunnerData& runner) const;
    // Pace against the upper averages on the best legs between from and to that make up the
    // share limit of the course.
    double cruiseSpeed(const clsAnalyzedRunnerData& runner, int from, int to, double limit) const;

    // The steps of Execute, in their order.
    struct LegRanker; // ranks the selected runners leg by leg
    void orderResults();
    void chooseRanks();
    void rankLegsAndUpperAverages(LegRanker& ranker);
    void rankSplits(LegRanker& ranker);
    bool shareOutSkipRanges();
    void rankModifiedTimes(LegRanker& ranker, bool skipRanges);
    void analyseRunner(clsAnalyzedRunnerData& runner);

    basDataSetFields::Fields m_fields;
    std::vector<RunnerPtr> m_selection;
    std::vector<RunnerPtr> m_fullSet;
    std::shared_ptr<clsAnalyzedGeneralData> m_general;
    bool m_isExecuted = false;
    int m_legs = 0;
};
