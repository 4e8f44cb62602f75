// The typed-time reader on any text: a time it understands is always a valid "hh:nn:ss" of
// that many seconds, and reading its own answer again gives the same answer.
#include "basDate.h"
#include "basText.h"
#include "basTypedResult.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& text : {QString::fromUtf8(bytes), basText::fromWindows31J(bytes)}) {
        const auto r = basTypedResult::ReadTypedTime(text);
        if (!r.isTime)
            continue;
        if (r.seconds < 0 || r.seconds >= 86400 || r.text.size() != 8)
            std::abort();
        const auto parsed = basDate::parse(r.text, basDate::Form::HhNnSs);
        if (!parsed || basDate::toSeconds(*parsed) != r.seconds)
            std::abort();
        const auto again = basTypedResult::ReadTypedTime(r.text);
        if (!again.isTime || again.text != r.text || again.seconds != r.seconds)
            std::abort();
    }
    return 0;
}
