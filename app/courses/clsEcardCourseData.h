#pragma once

// One class's course: the start unit (position 0), the controls 1..ControlCount in course
// order and the finish unit (position ControlCount + 1), each allowing up to three codes.

#include <QString>

#include <array>

class clsEcardCourseData {
public:
    static constexpr int MaxControlCount = 50;
    static constexpr int PositionCount = MaxControlCount + 2; // positions 0..51
    static constexpr int MaxKinds = 3;

    clsEcardCourseData();

    // Empties the definition: no codes, no controls, no name.
    void Clear();
    QString CourseName() const { return m_courseName; }
    void setCourseName(const QString& value) { m_courseName = value; }
    // 1-based position in the table.
    qint32 CourseNumber() const;
    void setCourseNumber(qint32 value);
    // 0-50; another value raises ProjectError::OutOfRange. Non-zero clears ForbidControl.
    qint32 ControlCount() const { return m_controlCount; }
    void setControlCount(qint32 value);
    // Appends an allowed code to a position 0-51; a fourth code or another position raises
    // ProjectError::OutOfRange.
    void AddUnitCode(qint32 ControlIndex, qint32 UnitCode);
    // Number of codes a position 0-51 allows (0-3).
    qint32 UnitCodeKind(qint32 ControlIndex) const;
    // Allowed code KindIndex 1-3 of a position; 0 where the position has fewer codes.
    qint32 UnitCode(qint32 ControlIndex, qint32 KindIndex) const;
    bool IsLiftUpStart() const { return m_kinds[0] > 0; }
    bool IsPunchingFinish() const { return m_kinds[static_cast<size_t>(m_controlCount + 1)] > 0; }
    // Without controls only: no other punch may lie between the start and the finish punch.
    bool ForbidControl() const { return m_forbidControl; }
    void setForbidControl(bool value) { m_forbidControl = m_controlCount == 0 && value; }

    // Unchecked access for the punch checker (position 0-51, kind 0-2).
    int kinds(int position) const { return m_kinds[static_cast<size_t>(position)]; }
    qint32 code(int position, int kind) const {
        return m_codes[static_cast<size_t>(position)][static_cast<size_t>(kind)];
    }

private:
    static void checkPosition(qint32 position);

    QString m_courseName;
    QString m_courseNumber; // kept as text, as the table numbers it
    qint32 m_controlCount = 0;
    bool m_forbidControl = false;
    std::array<std::array<qint32, MaxKinds>, PositionCount> m_codes{};
    std::array<int, PositionCount> m_kinds{};
};
