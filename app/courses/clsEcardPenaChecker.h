#pragma once

// Matches the punch records of one card read against one class: finds the record that punched
// every course position (start unit, controls, finish unit), counts the missed controls and
// classifies the read for that class as "OK", "P<n>", "DNF" or "DNQ".
//
// Checking many classes against one read: prepare the read once (clsEcardPunchIndex) and call
// CheckStatus per class for the status alone, or Execute(prepared) for the full check. Both
// give exactly what Execute() gives. A checker is a small value and may be copied.

#include "clsEcardCourseData.h"
#include "clsEcardPunchIndex.h"
#include "clsEcardTagData.h"

#include <QString>

#include <array>
#include <memory>

class clsEcardPenaChecker {
public:
    static constexpr qint32 StatusOK = 0;
    static constexpr qint32 StatusDNF = 98;
    static constexpr qint32 StatusDNQ = 99;

    clsEcardPenaChecker();
    clsEcardPenaChecker(std::shared_ptr<clsEcardTagData> tagData,
                        std::shared_ptr<clsEcardCourseData> courseData);

    // "OK", "P" and the number of missed controls, "DNF" or "DNQ"; empty before Execute.
    QString PenaCheckResult() const { return m_result; }
    void setPenaCheckResult(const QString& value) { m_result = value; }
    // 0 OK, 1-49 missed controls, 98 DNF, 99 DNQ.
    qint32 PenaCheckStatus() const { return m_status; }
    void setPenaCheckStatus(qint32 value) { m_status = value; }
    std::shared_ptr<clsEcardTagData> TagData() const { return m_tagData; }
    void setTagData(std::shared_ptr<clsEcardTagData> value) { m_tagData = std::move(value); }
    std::shared_ptr<clsEcardCourseData> CourseData() const { return m_courseData; }
    void setCourseData(std::shared_ptr<clsEcardCourseData> value) { m_courseData = std::move(value); }
    // Runs the check of TagData against CourseData (without a card every position is missed).
    void Execute();
    // Position 0-51: clock time at which it was punched, 0 when not found.
    double PostTime(int Index) const;
    // Position 0-51: found on the card.
    bool PostChecked(int Index) const;
    // Record 1-50: used for a course position.
    bool IsValidPanch(int PanchIndex) const;
    // Record 1-50: the position it was used for; 0 when unused or used for the start.
    qint32 ControlIndex(int PanchIndex) const;
    double FinishUnitTime() const;
    double StartUnitTime() const;

    // The same check on a prepared read, which also becomes TagData.
    void Execute(const clsEcardPunchIndex& card);
    // The status alone of a prepared read against a class, without a checker's state.
    static qint32 CheckStatus(const clsEcardPunchIndex& card, const clsEcardCourseData& course);
    // The result text of a status.
    static QString StatusText(qint32 status);
    // Whole-second forms: clock time of a position (0 when not found), the record matched to a
    // position (0 when none), and the result time, finish less start (elapsed seconds).
    qint64 PostSeconds(int Index) const;
    int MatchedRecord(int Index) const;
    qint64 ResultSeconds() const;

private:
    void reset();
    void run(const clsEcardPunchIndex& card, const clsEcardCourseData& course);
    static void checkPosition(int index);
    static void checkRecord(int index);

    static constexpr int Positions = clsEcardCourseData::PositionCount;
    static constexpr int Records = clsEcardTagData::RecordCount;

    QString m_result;
    qint32 m_status = 0;
    std::shared_ptr<clsEcardTagData> m_tagData;
    std::shared_ptr<clsEcardCourseData> m_courseData;
    int m_controlCount = 0;
    qint64 m_activateSeconds = 0;
    std::array<qint32, Positions> m_elapsed{};   // elapsed seconds of the matched record
    std::array<qint8, Positions> m_matched{};    // record matched to the position, 0 = none
    std::array<qint8, Records + 1> m_position{}; // position a record was used for
    std::array<bool, Records + 1> m_valid{};
};
