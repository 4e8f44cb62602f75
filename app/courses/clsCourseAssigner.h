#pragma once

// Decides the classes a card read counts in: by the read's own class list when it has one,
// otherwise by the event's assignment pattern over the punch-check statuses.
//
// The statuses are found on the read's punch index (built once per read and shared by every
// class), and a class that can no longer beat the pattern (or the best class
// so far) is left as soon as that is certain. The classes chosen are those the punch checker
// run on every class would choose.

#include <QString>

#include <array>
#include <memory>
#include <vector>

class clsEcardCourseData;
class clsEcardPunchIndex;
class clsEcardTagData;
class clsSpecificData;

class clsCourseAssigner {
public:
    using CoursePtr = std::shared_ptr<clsEcardCourseData>;

    // Takes the classes in course-table order; only those with a start and a finish unit code
    // take part. The definitions are read now: set them again after a class is edited.
    void setCourses(const std::vector<CoursePtr>& courses);
    int CourseCount() const { return static_cast<int>(m_courses.size()); }

    // The table positions (0-based, ascending; with the best-fitting pattern at most one) of the
    // classes selected for this read.
    std::vector<int> Select(const clsEcardPunchIndex& card, const clsSpecificData* specific,
                            qint32 rule) const;

    // The punch-check status (0 OK, 1-49 missed controls, 98 DNF, 99 DNQ) of a read for one
    // class with a start and a finish unit code, as the punch checker gives it.
    static qint32 Status(const clsEcardPunchIndex& card, const clsEcardCourseData& course);

    struct Compiled {
        explicit Compiled(const clsEcardCourseData& course, int tablePosition = 0);
        // The status, or a value above `bound` as soon as the status must exceed it.
        qint32 status(const clsEcardPunchIndex& card, qint32 bound) const;
        // The records fitting a position, as a bit mask of record numbers.
        quint64 fits(const clsEcardPunchIndex& card, int position) const;

        int tablePosition = 0;
        int controlCount = 0;
        bool forbidControl = false;
        QString upperName;
        std::vector<std::array<qint32, 3>> codes; // per position 0 .. controlCount + 1
        std::vector<int> kinds;
    };

private:
    std::vector<Compiled> m_courses;
};
