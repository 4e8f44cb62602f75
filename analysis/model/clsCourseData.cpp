#include "clsCourseData.h"

#include "ProjectError.h"
#include "basAutomation.h"

using namespace Qt::StringLiterals;

namespace {
const bool registered = basAutomation::registerShared<clsCourseData>();

void checkPosition(qint32 index) {
    if (index < 0 || index > clsCourseData::MaxPosition)
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
}
} // namespace

qint32 clsCourseData::ControlNum(qint32 Index) const {
    if (Index == 0)
        return 0;
    if (Index > m_controlCount)
        return FinishCode;
    checkPosition(Index);
    return m_codes[static_cast<size_t>(Index)];
}

void clsCourseData::setControlNum(qint32 Index, qint32 ControlNum) {
    checkPosition(Index);
    m_codes[static_cast<size_t>(Index)] = ControlNum;
}
