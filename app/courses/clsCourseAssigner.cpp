#include "clsCourseAssigner.h"

#include <bit>

#include "basPenacheckRule.h"
#include "clsEcardCourseData.h"
#include "clsEcardPunchIndex.h"
#include "clsEcardTagData.h"
#include "clsSpecificData.h"

namespace {
constexpr qint32 StatusDnf = 98;
constexpr qint32 StatusDnq = 99;
} // namespace

clsCourseAssigner::Compiled::Compiled(const clsEcardCourseData& course, int position)
    : tablePosition(position), controlCount(course.ControlCount()), forbidControl(course.ForbidControl()),
      upperName(course.CourseName().toUpper()) {
    const int positions = controlCount + 2;
    codes.resize(static_cast<size_t>(positions));
    kinds.resize(static_cast<size_t>(positions));
    for (int p = 0; p < positions; ++p) {
        const int k = course.UnitCodeKind(p);
        kinds[static_cast<size_t>(p)] = k;
        for (int j = 0; j < k; ++j)
            codes[static_cast<size_t>(p)][static_cast<size_t>(j)] = course.UnitCode(p, j + 1);
    }
}

quint64 clsCourseAssigner::Compiled::fits(const clsEcardPunchIndex& card, int position) const {
    const auto& c = codes[static_cast<size_t>(position)];
    quint64 m = 0;
    for (int j = 0; j < kinds[static_cast<size_t>(position)]; ++j)
        m |= card.mask(c[static_cast<size_t>(j)]);
    return m;
}

qint32 clsCourseAssigner::Compiled::status(const clsEcardPunchIndex& card, qint32 bound) const {
    const int cc = controlCount;
    // Records below `limit` may still be matched; bit r stands for record r.
    int limit = card.limit();
    int startRecord = 0;
    int missed = 0;
    bool lastMissing = false;
    // Last position first, each matched to the latest fitting record before the one matched
    // after it. Moving the following position forwards again, as the checker does, changes
    // which record it uses, never whether it is found.
    for (int b = cc + 1; b >= 0; --b) {
        const quint64 below = limit >= 64 ? ~quint64(0) : (quint64(1) << limit) - 1;
        const quint64 m = fits(card, b) & below & ~quint64(1);
        if (m == 0) {
            if (b == cc + 1 || b == 0)
                return StatusDnq;
            if (b == cc) {
                lastMissing = true;
                if (bound < StatusDnf)
                    return StatusDnf;
            }
            ++missed;
            if (!lastMissing && missed > bound)
                return missed;
            continue;
        }
        limit = 63 - std::countl_zero(m);
        if (b == 0)
            startRecord = limit;
    }
    if (lastMissing)
        return StatusDnf;
    if (cc != 0)
        return missed;
    if (!forbidControl)
        return 0;
    // The finish punch must be the record right after the start punch: the checker moves the
    // finish onto the first fitting record after the start.
    return (fits(card, 1) >> (startRecord + 1)) & 1 ? 0 : StatusDnq;
}

void clsCourseAssigner::setCourses(const std::vector<CoursePtr>& courses) {
    m_courses.clear();
    m_courses.reserve(courses.size());
    for (size_t i = 0; i < courses.size(); ++i) {
        const CoursePtr& c = courses[i];
        if (c && c->IsLiftUpStart() && c->IsPunchingFinish())
            m_courses.emplace_back(*c, static_cast<int>(i));
    }
}

qint32 clsCourseAssigner::Status(const clsEcardPunchIndex& card, const clsEcardCourseData& course) {
    return Compiled(course).status(card, StatusDnq);
}

std::vector<int> clsCourseAssigner::Select(const clsEcardPunchIndex& card, const clsSpecificData* specific,
                                           qint32 rule) const {
    std::vector<int> selected;
    if (specific && specific->CourseList) {
        QStringList wanted;
        for (const QString& name : *specific->CourseList)
            wanted.append(name.toUpper());
        for (const Compiled& c : m_courses) {
            if (wanted.contains(c.upperName))
                selected.push_back(c.tablePosition);
        }
        return selected;
    }
    if (m_courses.empty())
        return selected;
    if (rule == basPenacheckRule::AllClasses) {
        for (const Compiled& c : m_courses)
            selected.push_back(c.tablePosition);
        return selected;
    }
    if (rule == basPenacheckRule::BestFitting) {
        // The kept class is the first of the lowest status and, among those, the most controls.
        // Looking only at classes up to a ceiling of status finds the same class whenever one is
        // below it, and leaves every other class at its first missing control. Most reads are
        // OK for their class; most of the rest miss a few controls.
        for (const qint32 ceiling : {qint32(0), qint32(49), StatusDnq}) {
            const Compiled* best = nullptr;
            qint32 bestStatus = ceiling;
            for (const Compiled& c : m_courses) {
                // A later class replaces the kept one only with a strictly lower status, or an
                // equal one and strictly more controls.
                const qint32 bound =
                    !best ? ceiling : (c.controlCount > best->controlCount ? bestStatus : bestStatus - 1);
                if (bound < 0)
                    continue;
                const qint32 s = c.status(card, bound);
                if (s <= bound) {
                    best = &c;
                    bestStatus = s;
                }
            }
            if (best) {
                selected.push_back(best->tablePosition);
                return selected;
            }
        }
        return selected; // not reached: the last ceiling admits every status
    }
    for (const Compiled& c : m_courses) {
        if (c.status(card, rule) <= rule)
            selected.push_back(c.tablePosition);
    }
    return selected;
}
