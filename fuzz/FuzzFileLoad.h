#pragma once
// One load of fuzzed text through the file control into a fresh root object. The first byte
// picks the load mode, so merging paths are reached too.

#include "basText.h"
#include "clsQuorvelin2.h"

#include <QString>

#include <cstddef>
#include <cstdint>

inline void fuzzLoad(const uint8_t* data, size_t size, const QString& name, qint32 kind, bool windows31J) {
    if (size < 2)
        return;
    static const qint32 modes[] = {0, 1, 16, 17, 0x1011, 0x4011, 0x2010};
    const qint32 mode = modes[data[0] % (sizeof modes / sizeof modes[0])];
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString text = windows31J ? basText::fromWindows31J(bytes) : QString::fromUtf8(bytes);
    if (text.isEmpty())
        return;
    clsQuorvelin2 root;
    // A second load merges into what the first one left.
    root.FileControl()->LoadLapFile(name, kind, 0, text);
    root.FileControl()->LoadLapFile(name, kind, mode, text);
}
