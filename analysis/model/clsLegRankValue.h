#pragma once

#include "Quorvelin2Global.h"

#include <QMetaType>
#include <QVariant>

// A rank on a leg or split; 0 = no rank.
class QV_EXPORT clsLegRankValue {
    Q_GADGET
public:
    clsLegRankValue() = default;
    explicit clsLegRankValue(qint32 value) : m_value(value) {}

    Q_INVOKABLE qint32 Value() const { return m_value; }
    Q_INVOKABLE QVariant ToString(bool UseHyphen = true, bool UseParentheses = false) const;

    // Set by the analysis only; not part of the automation interface.
    void setValue(qint32 value) { m_value = value; }

private:
    qint32 m_value = 0;
};
