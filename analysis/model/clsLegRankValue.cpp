#include "clsLegRankValue.h"

using namespace Qt::StringLiterals;

QVariant clsLegRankValue::ToString(bool UseHyphen, bool UseParentheses) const {
    QString text;
    if (m_value != 0)
        text = QString::number(m_value);
    else if (UseHyphen)
        text = u"-"_s;
    if (UseParentheses && !text.isEmpty())
        text += u')';
    return text;
}
