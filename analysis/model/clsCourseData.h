#pragma once

#include "Quorvelin2Global.h"

#include <QMetaType>

#include <array>
#include <memory>

// One course: a control sequence that one or more classes run. Position 0 is the start,
// 1 to ControlCount the controls, ControlCount + 1 the finish.
class QV_EXPORT clsCourseData {
    Q_GADGET
public:
    static constexpr int MaxPosition = 50;
    static constexpr qint32 FinishCode = 9999;

    Q_INVOKABLE qint32 CourseIndex() const { return m_courseIndex; }
    Q_INVOKABLE void setCourseIndex(qint32 CourseIndex) { m_courseIndex = CourseIndex; }
    Q_INVOKABLE qint32 ControlCount() const { return m_controlCount; }
    Q_INVOKABLE void setControlCount(qint32 ControlCount) { m_controlCount = ControlCount; }
    // 0 at the start, 9999 beyond the last control, else the stored code (a subscript error
    // outside the table of positions 0 to 50).
    Q_INVOKABLE qint32 ControlNum(qint32 Index) const;
    Q_INVOKABLE void setControlNum(qint32 Index, qint32 ControlNum);

private:
    qint32 m_courseIndex = 0;
    qint32 m_controlCount = 0;
    std::array<qint32, MaxPosition + 1> m_codes{};
};
