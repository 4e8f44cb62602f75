#pragma once

// One read of one E-card: card number, production week and year, up to 50 punch records
// (control code and elapsed time since the card was started), the card's texts, the read time
// and the clock time at which the card's elapsed-time counter stood at zero.
//
// Filled from a reading-unit frame (setReadData) or from a stored text line (setRegnlyFormat);
// writes itself back as a text line and names itself by two keys.
//
// Elapsed times are kept as whole seconds; the date-value getters convert on the way out.

#include <QByteArray>
#include <QString>

#include <array>

class clsEcardTagData {
public:
    static constexpr int RecordCount = 50;
    static constexpr int DisplayCount = 3;
    static constexpr int FrameSize = 217;

    clsEcardTagData();

    qint32 EcardNo() const { return m_ecardNo; }
    void setEcardNo(qint32 value) { m_ecardNo = value; }
    qint32 ProductionWeek() const { return m_productionWeek; }
    void setProductionWeek(qint32 value) { m_productionWeek = value; }
    qint32 ProductionYear() const { return m_productionYear; }
    void setProductionYear(qint32 value) { m_productionYear = value; }
    QString EmitSystem() const { return m_emitSystem; }
    void setEmitSystem(const QString& value) { m_emitSystem = value; }
    // Local date and time of the read (date value).
    double ReadTime() const { return m_readTime; }
    void setReadTime(double value) { m_readTime = value; }
    // Clock time (date value, time of day, may be negative) at which the elapsed time was zero.
    double ActivateTime() const;
    void setActivateTime(double value);
    // Position 1-50 of the reading unit's own record (the last non-empty one); 0 when none.
    qint32 ReadingUnitPosIndex() const { return m_readingUnitPosIndex; }
    void setReadingUnitPosIndex(qint32 value); // 0-50, otherwise ProjectError::OutOfRange
    bool IsValid() const { return m_isValid; }
    // Display line 1-3; another index raises ProjectError::OutOfRange.
    QString Display(int index) const;
    // Punch record 1-50; another index raises ProjectError::OutOfRange.
    qint32 ControlNum(int index) const;
    double ControlTime(int index) const;
    // Names one read: read time "yymmddhhnnss" and the card number.
    QString UniqueKey() const;
    // Names one card content: card number, then code and "hnnss" time of every written record.
    QString StockKey() const;
    // The text line; writing parses a line in the plain or the extended form.
    QString RegnlyFormat() const;
    void setRegnlyFormat(const QString& line);
    // The text line with the three display lines in brackets, as Ecard.txt stores it.
    QString ExtendRegnlyFormat() const;
    // Decodes an unscrambled, sum-checked 217-byte frame; TagReadTime 0 means now.
    void setReadData(double TagReadTime, const QByteArray& frame);

    // Beyond the stored members: whole-second access for the punch checker, and the write side
    // of the records for code that builds reads (the generator, tests).
    qint32 ControlSeconds(int index) const;
    qint64 ActivateSeconds() const { return m_activateSeconds; }
    void setPunch(int index, qint32 code, qint32 elapsedSeconds);
    void setDisplay(int index, const QString& text);
    // Empties every field except ReadingUnitPosIndex and IsValid (done at the start of each fill).
    void Clear();

private:
    QString buildLine(bool extended) const;
    static void checkRecord(int index);

    std::array<QString, DisplayCount> m_display;
    std::array<qint32, RecordCount> m_code{};
    std::array<qint32, RecordCount> m_seconds{};
    QString m_emitSystem;
    qint32 m_ecardNo = 0;
    qint32 m_productionWeek = 0;
    qint32 m_productionYear = 0;
    double m_readTime = 0;
    qint64 m_activateSeconds = 0;
    qint32 m_readingUnitPosIndex = 0;
    bool m_isValid = false;
};
