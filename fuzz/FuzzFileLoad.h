#pragma once
// One load of fuzzed text through the file control into a fresh root object. The first byte
// picks the load mode, so merging paths are reached too.

#include "basConstants.h"
#include "basText.h"
#include "clsQuorvelin2.h"

#include <QString>

#include <cstddef>
#include <cstdint>

inline void fuzzLoad(const uint8_t* data, size_t size, const QString& name, qint32 kind, bool windows31J) {
    if (size < 2)
        return;
    using namespace Quorvelin2;
    static const qint32 modes[] = {QV_LOADMODE_NORMAL,
                                   QV_LOADMODE_APPEND,
                                   QV_LOADMODE_MERGE_ID,
                                   QV_LOADMODE_MERGE_NAME,
                                   QV_LOADMODE_NOTADD_NEWDATA | QV_LOADMODE_MERGE_NAME,
                                   QV_LOADMODE_PRIORITY_NEWDATA | QV_LOADMODE_MERGE_NAME,
                                   QV_LOADMODE_PRIORITY_ORIGINAL | QV_LOADMODE_MERGE_ID};
    const qint32 mode = modes[data[0] % (sizeof modes / sizeof modes[0])];
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString text = windows31J ? basText::fromWindows31J(bytes) : QString::fromUtf8(bytes);
    if (text.isEmpty())
        return;
    clsQuorvelin2 root;
    // A second load merges into what the first one left.
    root.FileControl()->LoadLapFile(name, kind, QV_LOADMODE_NORMAL, text);
    root.FileControl()->LoadLapFile(name, kind, mode, text);
}
