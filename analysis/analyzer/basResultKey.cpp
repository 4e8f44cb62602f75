#include "basResultKey.h"

#include "basDate.h"
#include "basLapText.h"

namespace basResultKey {

double StatusCode(QStringView resultText) {
    return basLapText::StatusCode(resultText);
}

bool IsTimeText(QStringView resultText) {
    return basDate::recognize(resultText).has_value();
}

qint64 TimeSeconds(QStringView resultText) {
    const auto value = basDate::recognize(resultText);
    return value ? basDate::toSeconds(*value) : 0;
}

double ResultKey(QStringView resultText) {
    return basLapText::ResultKey(resultText);
}

} // namespace basResultKey
