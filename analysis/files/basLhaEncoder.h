#pragma once
// The LHA coding of a byte stream: matches in a sliding window, sent as static Huffman blocks
// (-lh5-, -lh6-, -lh7-). It knows no archive and no file; basLha builds the archives on it.

#include "Quorvelin2Global.h"

#include <QByteArray>

namespace basLhaEncoder {

// Packs bytes with the -lh5- method (8 KiB window, static Huffman blocks).
QV_EXPORT QByteArray compressLh5(const QByteArray& data);
// The same coding with another window: dictionaryBits 13 gives -lh5- (8 KiB), 15 gives -lh6-
// (32 KiB) and 16 gives -lh7- (64 KiB); any other value is taken as 13.
QV_EXPORT QByteArray compressLh(const QByteArray& data, int dictionaryBits);

} // namespace basLhaEncoder
