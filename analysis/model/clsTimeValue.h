#pragma once

#include <QMetaType>
#include <QString>

// A time (day fraction) or one of the leg codes: 0 no data, -1 skipped, -2 disqualified.
class clsTimeValue {
    Q_GADGET
public:
    clsTimeValue() = default;
    explicit clsTimeValue(double value) : m_value(value) {}

    Q_INVOKABLE double Value() const { return m_value; }
    Q_INVOKABLE void setValue(double Value) { m_value = Value; }
    Q_INVOKABLE QString ToString(const QString& FormatExpression = QStringLiteral("hh:nn:ss"),
                                 bool Compact = false, const QString& NoDataValue = QStringLiteral("－"),
                                 const QString& SkipValue = QStringLiteral("↓"),
                                 const QString& DisqValue = QStringLiteral("×")) const;

    // ToString's text appended to out, for outputs that write many values.
    void appendTo(QString& out, const QString& FormatExpression, bool Compact, QStringView NoDataValue,
                  QStringView SkipValue, QStringView DisqValue) const;

    // The text of a time that is not a code: the "plane" form, the compact form or a format
    // expression; shared with the miss time.
    static QString formatTime(double value, const QString& FormatExpression, bool Compact);
    static void appendTime(QString& out, double value, const QString& FormatExpression, bool Compact);
    static QString compactForm(double value);
    static void appendCompact(QString& out, double value);

    friend bool operator==(const clsTimeValue& a, const clsTimeValue& b) { return a.m_value == b.m_value; }

private:
    double m_value = 0;
};
