#pragma once

#include "CclsSort.h"
#include "KeyedList.h"
#include "clsCourseAssigner.h"
#include "clsEcardPunchIndex.h"
#include "clsOtherResultData.h"
#include "clsResultData.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class clsCourseDataTable;
class clsEcardCourseData;
class clsEcardTagData;
class clsNameDataTable;
class clsOtherDataTable;

// Turns card reads and typed results into one ranked list per class of the course table.
class clsResultManager {
public:
    using ResultDataPtr = std::shared_ptr<clsResultData>;
    using ResultDataVector = std::vector<ResultDataPtr>;

    void Clear();
    // The results of one card read, one per class it counts in (possibly none).
    ResultDataVector Add(const std::shared_ptr<clsEcardTagData>& card);
    // The result of one typed result; none when its class is not in the course table.
    ResultDataPtr AddOtherResultData(const clsOtherResultDataPtr& other);
    // Ranks every class list anew.
    void Refresh();
    const ResultDataVector& ResultDataList() const { return m_all; }
    ResultDataVector ResultDataListOfEcard(const QString& EcardUniqueKey) const;
    ResultDataVector ResultDataListOfEcardAll(qint32 EcardNo) const;
    // By 1-based position in the course table or by class name; none when there is no such class.
    std::shared_ptr<CclsSort> ResultList(int course) const;
    std::shared_ptr<CclsSort> ResultList(const QString& course) const;
    // One new empty class list per class, a new empty all-results list. The classes are read
    // now: set the table again after editing it.
    void setCourseDataTable(std::shared_ptr<clsCourseDataTable> table);
    void setOtherDataTable(std::shared_ptr<clsOtherDataTable> table) { m_otherTable = std::move(table); }
    void setPenacheckRule(qint32 rule) { m_rule = rule; }
    void setNameDataTable(std::shared_ptr<clsNameDataTable> table) { m_nameTable = std::move(table); }

    // Edits made outside the manager, told to it so that the next Refresh ranks what they touched.
    // A name record now in effect for a card number: every result of that number, over all reads,
    // takes it (names do not change ranks).
    void NameDataChanged(qint32 EcardNo, const clsNameDataPtr& name);
    // New specific data of one read: the read's results take it and their lists are ranked anew.
    void SpecificDataChanged(const QString& EcardUniqueKey, const clsSpecificDataPtr& specific);
    // A result whose qualification, text, specific data or rank was changed by hand.
    void ResultChanged(const clsResultData& result);

    qint32 PenacheckRule() const { return m_rule; }
    const std::shared_ptr<clsCourseDataTable>& CourseDataTable() const { return m_courseTable; }

private:
    ResultDataPtr makeCardResult(const std::shared_ptr<clsEcardPenaChecker>& checker,
                                 const clsNameDataPtr& name, const clsSpecificDataPtr& specific) const;
    void enter(const ResultDataPtr& result, int coursePosition);
    // The position of the result's class list; -1 when it has none here.
    int positionOf(const clsResultData& result) const;

    std::shared_ptr<clsCourseDataTable> m_courseTable;
    std::shared_ptr<clsOtherDataTable> m_otherTable;
    KeyedList<std::shared_ptr<CclsSort>> m_classLists;
    ResultDataVector m_all;
    qint32 m_rule = 0;
    std::shared_ptr<clsNameDataTable> m_nameTable;

    // The classes as set, in table order, each with its own list (also when a name repeats).
    std::vector<std::shared_ptr<clsEcardCourseData>> m_courses;
    std::vector<std::shared_ptr<CclsSort>> m_listOfCourse;
    // Lists added to or told of a change since the last ranking; the others keep their ranks.
    std::vector<char> m_dirty;
    bool m_rankAll = true;
    clsCourseAssigner m_assigner;
    clsEcardPunchIndex m_punchIndex;
    // Positions in the all-results list by the read's UniqueKey, made as far as asked for: the
    // list only grows until it is replaced.
    mutable QHash<QString, std::vector<size_t>> m_byUniqueKey;
    mutable size_t m_indexedUpTo = 0;
};
