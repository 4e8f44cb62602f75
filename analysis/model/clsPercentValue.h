#pragma once

#include "Quorvelin2Global.h"

#include <QMetaType>
#include <QString>
#include <QStringView>

// A ratio (1 = 100 %): 0 and -2 mean no data, -1 a skipped leg.
class QV_EXPORT clsPercentValue {
    Q_GADGET
public:
    clsPercentValue() = default;
    explicit clsPercentValue(float value) : m_value(value) {}

    Q_INVOKABLE float Value() const { return m_value >= 0 ? m_value : 0.0f; }
    Q_INVOKABLE QString ToString(const QString& FormatExpression = QStringLiteral("#0"),
                                 const QString& NoDataValue = QStringLiteral("－"),
                                 const QString& SkipValue = QStringLiteral("↓")) const;

    // ToString's text appended to out, for outputs that write many values.
    void appendTo(QString& out, QStringView FormatExpression, QStringView NoDataValue,
                  QStringView SkipValue) const;

    // Set by the analysis only; not part of the automation interface.
    void setValue(float value) { m_value = value; }
    float storedValue() const { return m_value; }

private:
    float m_value = 0;
};
