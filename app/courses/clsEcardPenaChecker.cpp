#include "clsEcardPenaChecker.h"

#include "ProjectError.h"
#include "basDate.h"

#include <bit>

using namespace Qt::StringLiterals;

namespace {

// Records 1 .. r-1.
inline quint64 recordsBelow(int r) {
    return r <= 1 ? 0 : ((quint64(1) << r) - 1) & ~quint64(1);
}

inline quint64 positionMask(const clsEcardPunchIndex& card, const clsEcardCourseData& course, int p) {
    const int kinds = course.kinds(p);
    quint64 m = card.mask(course.code(p, 0));
    for (int k = 1; k < kinds; ++k)
        m |= card.mask(course.code(p, k));
    return kinds ? m : 0;
}

inline int highestRecord(quint64 m) {
    return 63 - std::countl_zero(m);
}

inline int lowestRecord(quint64 m) {
    return std::countr_zero(m);
}

struct Frame {
    int cc, top, bottom;
};

inline Frame frameOf(const clsEcardCourseData& course) {
    const int cc = course.ControlCount();
    return {cc, course.IsPunchingFinish() ? cc + 1 : cc, course.IsLiftUpStart() ? 0 : 1};
}

// Classification of a course with controls, or of one without them that allows any punch.
inline qint32 statusOf(const clsEcardCourseData& course, const Frame& f, bool finishFound, bool startFound,
                       bool lastFound, int missed) {
    if (course.IsPunchingFinish() && !finishFound)
        return clsEcardPenaChecker::StatusDNQ;
    if (course.IsLiftUpStart() && !startFound)
        return clsEcardPenaChecker::StatusDNQ;
    if (f.cc != 0) {
        if (!lastFound)
            return clsEcardPenaChecker::StatusDNF;
        return missed;
    }
    return clsEcardPenaChecker::StatusOK;
}

[[noreturn]] void outOfRange() {
    throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
}

} // namespace

clsEcardPenaChecker::clsEcardPenaChecker() = default;

clsEcardPenaChecker::clsEcardPenaChecker(std::shared_ptr<clsEcardTagData> tagData,
                                         std::shared_ptr<clsEcardCourseData> courseData)
    : m_tagData(std::move(tagData)), m_courseData(std::move(courseData)) {}

QString clsEcardPenaChecker::StatusText(qint32 status) {
    if (status == StatusOK)
        return u"OK"_s;
    if (status == StatusDNF)
        return u"DNF"_s;
    if (status == StatusDNQ)
        return u"DNQ"_s;
    return u"P"_s + QString::number(status);
}

void clsEcardPenaChecker::reset() {
    m_elapsed.fill(0);
    m_matched.fill(0);
    m_position.fill(0);
    m_valid.fill(false);
    m_result.clear();
    m_status = 0;
    m_controlCount = 0;
    m_activateSeconds = 0;
}

void clsEcardPenaChecker::Execute() {
    Execute(clsEcardPunchIndex(m_tagData));
}

void clsEcardPenaChecker::Execute(const clsEcardPunchIndex& card) {
    reset();
    m_tagData = card.card();
    if (m_courseData)
        run(card, *m_courseData);
}

void clsEcardPenaChecker::run(const clsEcardPunchIndex& card, const clsEcardCourseData& course) {
    m_activateSeconds = card.activateSeconds();
    const Frame f = frameOf(course);
    m_controlCount = f.cc;

    quint64 open = recordsBelow(card.limit());
    int missed = 0;
    for (int b = f.top; b >= f.bottom; --b) {
        const quint64 fits = positionMask(card, course, b) & open;
        if (!fits) {
            ++missed;
            continue;
        }
        const int r = highestRecord(fits);
        m_matched[static_cast<size_t>(b)] = static_cast<qint8>(r);
        m_elapsed[static_cast<size_t>(b)] = card.elapsedSeconds(r);
        m_valid[static_cast<size_t>(r)] = true;
        m_position[static_cast<size_t>(r)] = static_cast<qint8>(b);
        // The following position may move to an earlier record once this one is fixed.
        if (b + 1 <= f.top) {
            const int next = m_matched[static_cast<size_t>(b + 1)];
            if (next != 0) {
                const quint64 between = recordsBelow(next) & ~recordsBelow(r + 1);
                const quint64 nextFits = positionMask(card, course, b + 1) & between;
                if (nextFits) {
                    const int moved = lowestRecord(nextFits);
                    m_valid[static_cast<size_t>(next)] = false;
                    m_position[static_cast<size_t>(next)] = 0;
                    m_matched[static_cast<size_t>(b + 1)] = static_cast<qint8>(moved);
                    m_elapsed[static_cast<size_t>(b + 1)] = card.elapsedSeconds(moved);
                    m_valid[static_cast<size_t>(moved)] = true;
                    m_position[static_cast<size_t>(moved)] = static_cast<qint8>(b + 1);
                }
            }
        }
        open = recordsBelow(r);
    }

    const bool finishFound = m_matched[static_cast<size_t>(f.cc + 1)] != 0;
    const bool startFound = m_matched[0] != 0;
    const bool lastFound = m_matched[static_cast<size_t>(f.cc)] != 0;
    m_status = statusOf(course, f, finishFound, startFound, lastFound, missed);
    if (m_status == StatusOK && f.cc == 0 && course.ForbidControl()) {
        const int start = m_matched[0];
        if (start == 0) {
            m_status = 0; // no start record: the result stays empty
            return;
        }
        const bool finishNext = start + 1 <= Records && m_valid[static_cast<size_t>(start + 1)] &&
                                m_position[static_cast<size_t>(start + 1)] == 1;
        m_status = finishNext ? StatusOK : StatusDNQ;
    }
    m_result = StatusText(m_status);
}

qint32 clsEcardPenaChecker::CheckStatus(const clsEcardPunchIndex& card, const clsEcardCourseData& course) {
    const Frame f = frameOf(course);
    if (f.cc == 0 && course.ForbidControl()) {
        // Depends on the exact records chosen for start and finish: take the full check.
        clsEcardPenaChecker c;
        c.run(card, course);
        return c.m_status;
    }
    // First the positions whose codes the card holds at all (no dependency between them), then
    // the backward search over those only: a wrong class has few of them.
    std::array<quint64, clsEcardCourseData::PositionCount> fitsOf;
    std::array<int, clsEcardCourseData::PositionCount> positionOf;
    int present = 0;
    for (int b = f.top; b >= f.bottom; --b) {
        const quint64 m = positionMask(card, course, b);
        fitsOf[static_cast<size_t>(present)] = m;
        positionOf[static_cast<size_t>(present)] = b;
        present += m != 0;
    }
    int missed = (f.top - f.bottom + 1) - present;
    quint64 open = recordsBelow(card.limit());
    quint64 found = 0;
    for (int j = 0; j < present; ++j) {
        const quint64 fits = fitsOf[static_cast<size_t>(j)] & open;
        const quint64 hit = fits != 0;
        missed += static_cast<int>(hit ^ 1);
        found |= hit << positionOf[static_cast<size_t>(j)];
        const quint64 below = (quint64(1) << (63 - std::countl_zero(fits | 1))) - 1;
        open = hit ? below : open;
    }
    const auto has = [&](int p) { return (found >> p) & 1; };
    return statusOf(course, f, has(f.cc + 1), has(0), has(f.cc), missed);
}

void clsEcardPenaChecker::checkPosition(int index) {
    if (index < 0 || index >= Positions)
        outOfRange();
}

void clsEcardPenaChecker::checkRecord(int index) {
    if (index < 1 || index > Records)
        outOfRange();
}

qint64 clsEcardPenaChecker::PostSeconds(int Index) const {
    checkPosition(Index);
    if (m_matched[static_cast<size_t>(Index)] == 0)
        return 0;
    return m_activateSeconds + m_elapsed[static_cast<size_t>(Index)];
}

double clsEcardPenaChecker::PostTime(int Index) const {
    checkPosition(Index);
    if (m_matched[static_cast<size_t>(Index)] == 0)
        return 0;
    return basDate::fromSeconds(PostSeconds(Index));
}

bool clsEcardPenaChecker::PostChecked(int Index) const {
    checkPosition(Index);
    return m_matched[static_cast<size_t>(Index)] != 0;
}

int clsEcardPenaChecker::MatchedRecord(int Index) const {
    checkPosition(Index);
    return m_matched[static_cast<size_t>(Index)];
}

bool clsEcardPenaChecker::IsValidPanch(int PanchIndex) const {
    checkRecord(PanchIndex);
    return m_valid[static_cast<size_t>(PanchIndex)];
}

qint32 clsEcardPenaChecker::ControlIndex(int PanchIndex) const {
    checkRecord(PanchIndex);
    return m_position[static_cast<size_t>(PanchIndex)];
}

double clsEcardPenaChecker::FinishUnitTime() const {
    return PostTime(m_controlCount + 1);
}

double clsEcardPenaChecker::StartUnitTime() const {
    return PostTime(0);
}

qint64 clsEcardPenaChecker::ResultSeconds() const {
    return PostSeconds(m_controlCount + 1) - PostSeconds(0);
}
