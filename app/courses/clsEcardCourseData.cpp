#include "clsEcardCourseData.h"

#include "ProjectError.h"
#include "basRuntime.h"

using namespace Qt::StringLiterals;

namespace {
[[noreturn]] void outOfRange() {
    throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
}
} // namespace

clsEcardCourseData::clsEcardCourseData() = default;

void clsEcardCourseData::Clear() {
    m_courseName.clear();
    m_controlCount = 0;
    m_forbidControl = false;
    for (auto& p : m_codes)
        p.fill(0);
    m_kinds.fill(0);
}

qint32 clsEcardCourseData::CourseNumber() const {
    return basRuntime::leadingLong(m_courseNumber);
}

void clsEcardCourseData::setCourseNumber(qint32 value) {
    m_courseNumber = QString::number(value);
}

void clsEcardCourseData::setControlCount(qint32 value) {
    if (value < 0 || value > MaxControlCount)
        outOfRange();
    m_controlCount = value;
    if (value != 0)
        m_forbidControl = false;
}

void clsEcardCourseData::checkPosition(qint32 position) {
    if (position < 0 || position >= PositionCount)
        outOfRange();
}

void clsEcardCourseData::AddUnitCode(qint32 ControlIndex, qint32 UnitCode) {
    checkPosition(ControlIndex);
    int& n = m_kinds[static_cast<size_t>(ControlIndex)];
    if (n >= MaxKinds)
        outOfRange();
    m_codes[static_cast<size_t>(ControlIndex)][static_cast<size_t>(n)] = UnitCode;
    ++n;
}

qint32 clsEcardCourseData::UnitCodeKind(qint32 ControlIndex) const {
    checkPosition(ControlIndex);
    return m_kinds[static_cast<size_t>(ControlIndex)];
}

qint32 clsEcardCourseData::UnitCode(qint32 ControlIndex, qint32 KindIndex) const {
    checkPosition(ControlIndex);
    if (KindIndex < 1 || KindIndex > MaxKinds)
        outOfRange();
    return m_codes[static_cast<size_t>(ControlIndex)][static_cast<size_t>(KindIndex - 1)];
}
