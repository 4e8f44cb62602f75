#pragma once

#include <QMetaType>
#include <QString>

// Time lost on a leg: -10 (the initial value) and -2 mean no data, -1 a skipped leg.
class clsMissTimeValue {
    Q_GADGET
public:
    static constexpr double Initial = -10;

    clsMissTimeValue() = default;
    explicit clsMissTimeValue(double value) : m_value(value) {}

    Q_INVOKABLE double Value() const { return m_value == Initial ? 0 : m_value; }
    Q_INVOKABLE QString ToString(const QString& FormatExpression = QStringLiteral("hh:nn:ss"),
                                 bool Compact = false, const QString& NoDataValue = QStringLiteral("－"),
                                 const QString& SkipValue = QStringLiteral("↓")) const;

    // ToString's text appended to out, for outputs that write many values.
    void appendTo(QString& out, const QString& FormatExpression, bool Compact, QStringView NoDataValue,
                  QStringView SkipValue) const;

    // Set by the analysis only; not part of the automation interface.
    void setValue(double value) { m_value = value; }
    double storedValue() const { return m_value; }

private:
    double m_value = Initial;
};
