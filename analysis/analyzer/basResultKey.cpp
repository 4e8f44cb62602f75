#include "basResultKey.h"

#include "basDate.h"
#include "basRuntime.h"
#include "basText.h"

using namespace Qt::StringLiterals;

namespace basResultKey {

double StatusCode(QStringView resultText) {
    const QString text = basText::toNarrow(resultText.trimmed()).toUpper();
    if (text.isEmpty())
        return 98;
    if (text.contains(u'\'') || text.contains(u':'))
        return 0;
    if (text == u"DNS"_s)
        return 99;
    if (basRuntime::like(text, u"P*"))
        return basRuntime::leadingNumber(QStringView(text).mid(1));
    if (text == u"MP"_s)
        return 30;
    if (text == u"DNF"_s)
        return 90;
    if (basRuntime::like(text, u"?CL"))
        return 91;
    if (text == u"DNQ"_s)
        return 92;
    if (basRuntime::like(text, u"D*"))
        return 93;
    return 98;
}

bool IsTimeText(QStringView resultText) {
    return basDate::recognize(resultText).has_value();
}

qint64 TimeSeconds(QStringView resultText) {
    const auto value = basDate::recognize(resultText);
    return value ? basDate::toSeconds(*value) : 0;
}

double ResultKey(QStringView resultText) {
    if (const auto value = basDate::recognize(resultText))
        return basDate::fromSeconds(basDate::toSeconds(*value));
    return StatusCode(resultText);
}

} // namespace basResultKey
