#include "clsResultManager.h"

#include "basDate.h"
#include "basTypedResult.h"
#include "clsCourseDataTable.h"
#include "clsEcardCourseData.h"
#include "clsEcardTagData.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"

#include <algorithm>

using namespace Qt::StringLiterals;

void clsResultManager::Clear() {
    m_courseTable.reset();
    m_otherTable.reset();
    m_classLists.Clear();
    m_nameTable.reset();
    m_all.clear();
    m_rule = 0;
    m_courses.clear();
    m_listOfCourse.clear();
    m_dirty.clear();
    m_assigner.setCourses({});
    m_byUniqueKey.clear();
    m_indexedUpTo = 0;
    m_rankAll = true;
}

void clsResultManager::setCourseDataTable(std::shared_ptr<clsCourseDataTable> table) {
    m_courseTable = std::move(table);
    m_classLists.Clear();
    m_courses.clear();
    m_listOfCourse.clear();
    m_dirty.clear();
    m_all = {};
    m_byUniqueKey.clear();
    m_indexedUpTo = 0;
    m_rankAll = true;
    if (m_courseTable) {
        const int n = m_courseTable->CourseCount();
        m_classLists.reserve(n);
        m_courses.reserve(static_cast<size_t>(n));
        m_listOfCourse.reserve(static_cast<size_t>(n));
        for (const auto& entry : m_courseTable->CourseList()) {
            auto list = std::make_shared<CclsSort>();
            m_courses.push_back(entry.value);
            m_listOfCourse.push_back(list);
            m_dirty.push_back(1);
            m_classLists.Add(list, entry.value ? entry.value->CourseName() : QString());
        }
    }
    m_assigner.setCourses(m_courses);
}

clsResultManager::ResultDataPtr
clsResultManager::makeCardResult(const std::shared_ptr<clsEcardPenaChecker>& checker,
                                 const clsNameDataPtr& name, const clsSpecificDataPtr& specific) const {
    auto result = std::make_shared<clsResultData>();
    result->setPenaChecker(checker);
    result->setNameData(name);
    result->setSpecificData(specific);
    const qint32 status = checker->PenaCheckStatus();
    if (status != 0) {
        result->setResultListOrderKey(static_cast<float>(status));
        result->setResult(checker->PenaCheckResult());
        result->setIsNotQualify(true);
    } else {
        // From whole seconds, so that equal times give equal keys to the last bit.
        const double elapsed = basDate::fromSeconds(checker->ResultSeconds());
        result->setResultListOrderKey(static_cast<float>(elapsed));
        result->setResult(basDate::format(elapsed, basDate::Form::HNnSs));
        result->setIsNotQualify(false);
    }
    return result;
}

void clsResultManager::enter(const ResultDataPtr& result, int coursePosition) {
    m_listOfCourse[static_cast<size_t>(coursePosition)]->AddObject(result->ResultListOrderKey(), result);
    m_dirty[static_cast<size_t>(coursePosition)] = 1;
    m_all.push_back(result);
}

int clsResultManager::positionOf(const clsResultData& result) const {
    const std::shared_ptr<clsEcardCourseData> course = result.CourseData();
    for (size_t i = 0; i < m_courses.size(); ++i)
        if (course && m_courses[i] == course)
            return static_cast<int>(i);
    return -1;
}

void clsResultManager::NameDataChanged(qint32 EcardNo, const clsNameDataPtr& name) {
    for (const ResultDataPtr& r : ResultDataListOfEcardAll(EcardNo))
        r->setNameData(name);
}

void clsResultManager::SpecificDataChanged(const QString& EcardUniqueKey,
                                           const clsSpecificDataPtr& specific) {
    for (const ResultDataPtr& r : ResultDataListOfEcard(EcardUniqueKey)) {
        r->setSpecificData(specific);
        ResultChanged(*r);
    }
}

void clsResultManager::ResultChanged(const clsResultData& result) {
    const int position = positionOf(result);
    if (position >= 0)
        m_dirty[static_cast<size_t>(position)] = 1;
    else
        m_rankAll = true; // not one of ours as far as we can tell: rank everything
}

clsResultManager::ResultDataVector clsResultManager::Add(const std::shared_ptr<clsEcardTagData>& card) {
    ResultDataVector made;
    if (!card || m_courses.empty())
        return made;
    const clsNameDataPtr name = m_nameTable ? m_nameTable->NameData(card->EcardNo()) : nullptr;
    clsSpecificDataPtr specific;
    if (m_otherTable && !m_otherTable->SpecificDataTable().isEmpty())
        specific = m_otherTable->SpecificData(card->UniqueKey());

    m_punchIndex.prepare(card);
    const std::vector<int> selected = m_assigner.Select(m_punchIndex, specific.get(), m_rule);
    made.reserve(selected.size());
    for (const int position : selected) {
        auto checker = std::make_shared<clsEcardPenaChecker>();
        checker->setCourseData(m_courses[static_cast<size_t>(position)]);
        checker->Execute(m_punchIndex);
        ResultDataPtr result = makeCardResult(checker, name, specific);
        made.push_back(result);
        enter(result, position);
    }
    return made;
}

clsResultManager::ResultDataPtr clsResultManager::AddOtherResultData(const clsOtherResultDataPtr& other) {
    if (!other || !m_courseTable)
        return {};
    const std::shared_ptr<clsEcardCourseData> course = m_courseTable->CourseData(other->CourseName);
    if (!course)
        return {};
    int position = -1;
    for (size_t i = 0; i < m_courses.size(); ++i) {
        if (m_courses[i] == course) {
            position = static_cast<int>(i);
            break;
        }
    }
    if (position < 0)
        return {}; // a class added to the table after it was set here has no list yet

    auto result = std::make_shared<clsResultData>();
    auto checker = std::make_shared<clsEcardPenaChecker>();
    checker->setCourseData(course);
    result->setPenaChecker(checker);
    result->setNameData(other->NameData);
    if (other->IsNotCompete) {
        auto specific = std::make_shared<clsSpecificData>();
        specific->IsNotCompete = true;
        result->setSpecificData(specific);
    }
    result->setResult(other->Result);
    const float key = basTypedResult::ResultOrderKey(other->Result);
    result->setResultListOrderKey(key);
    result->setIsNotQualify(key >= 1.0f);
    enter(result, position);
    return result;
}

namespace {

// Equality without the ordering comparison that QString's operator!= runs.
bool sameText(const QString& a, const QString& b) {
    return a.size() == b.size() && std::equal(a.constData(), a.constData() + a.size(), b.constData());
}

} // namespace

void clsResultManager::Refresh() {
    static const QString reference = u"参考"_s;
    const bool all = m_rankAll;
    for (size_t k = 0; k < m_listOfCourse.size(); ++k) {
        if (!all && !m_dirty[k])
            continue;
        m_dirty[k] = 0;
        const std::shared_ptr<CclsSort>& list = m_listOfCourse[k];
        qint32 n = 0;
        qint32 previousRank = 0;
        const QString* previousText = nullptr; // none yet: differs from every text
        for (const CclsSortLine* line : list->LineSet()) {
            auto* r = static_cast<clsResultData*>(line->Item.object.get());
            if (r->IsNotQualify()) {
                r->setRank(QString());
            } else if (r->IsNotCompete()) {
                r->setRank(reference);
            } else {
                ++n;
                const QString& text = r->resultText();
                if (!previousText || !sameText(text, *previousText)) {
                    previousRank = n;
                    previousText = &text;
                }
                r->setRankNumber(previousRank);
            }
        }
    }
    m_rankAll = false;
}

clsResultManager::ResultDataVector
clsResultManager::ResultDataListOfEcard(const QString& EcardUniqueKey) const {
    for (; m_indexedUpTo < m_all.size(); ++m_indexedUpTo) {
        if (const std::shared_ptr<clsEcardTagData> tag = m_all[m_indexedUpTo]->TagData())
            m_byUniqueKey[tag->UniqueKey()].push_back(m_indexedUpTo);
    }
    ResultDataVector list;
    const auto it = m_byUniqueKey.constFind(EcardUniqueKey);
    if (it != m_byUniqueKey.constEnd()) {
        list.reserve(it->size());
        for (const size_t i : *it)
            list.push_back(m_all[i]);
    }
    return list;
}

clsResultManager::ResultDataVector clsResultManager::ResultDataListOfEcardAll(qint32 EcardNo) const {
    ResultDataVector list;
    for (const ResultDataPtr& r : m_all) {
        const std::shared_ptr<clsEcardTagData> tag = r->TagData();
        if (tag && tag->EcardNo() == EcardNo)
            list.push_back(r);
    }
    return list;
}

std::shared_ptr<CclsSort> clsResultManager::ResultList(int course) const {
    if (course < 1 || course > static_cast<int>(m_listOfCourse.size()))
        return {};
    return m_listOfCourse[static_cast<size_t>(course - 1)];
}

std::shared_ptr<CclsSort> clsResultManager::ResultList(const QString& course) const {
    return m_classLists.Item(course);
}
