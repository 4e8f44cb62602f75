#pragma once

#include "Quorvelin2Global.h"

#include <QMetaType>
#include <QString>

// A date value; 0 = no date.
class QV_EXPORT clsDateValue {
    Q_GADGET
public:
    clsDateValue() = default;
    explicit clsDateValue(double value) : m_value(value) {}

    Q_INVOKABLE double Value() const { return m_value; }
    Q_INVOKABLE void setValue(double Value) { m_value = Value; }
    Q_INVOKABLE QString ToString(const QString& FormatExpression = QStringLiteral("yyyy/mm/dd")) const;

private:
    double m_value = 0;
};
