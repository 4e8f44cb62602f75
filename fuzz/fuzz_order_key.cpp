// The order key of any result text is a number: below 1 exactly for qualifying texts (empty or
// a time), and then the time read from the text.
#include "basDate.h"
#include "basTypedResult.h"

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const float key = basTypedResult::ResultOrderKey(text);
    if (!std::isfinite(key) || key < 0)
        std::abort();
    if (key < 1) {
        // A time of whole seconds of one day, on the scale of card results.
        const qint64 seconds = std::llround(double(key) * 86400.0);
        if (seconds < 0 || seconds >= 86400 || static_cast<float>(basDate::fromSeconds(seconds)) != key)
            std::abort();
    }
    if (key >= 1 && key != std::round(key))
        std::abort();
    return 0;
}
