#pragma once
// The XML lap file (.lxm): the library's own file, everything the root object holds.

#include "basFileCommon.h"

#include <QByteArray>
#include <QString>

class clsQuorvelin2;

namespace basLxmFile {

// The document for the root's data; saveMode 1 (FULL) adds rank fix and age.
QByteArray write(const clsQuorvelin2& root, qint32 saveMode);
bool save(const clsQuorvelin2& root, const QString& fileName, qint32 saveMode);

// Reads a document (the file data text when not empty, else the file) into the root by the
// context's load mode. Raises basFileCommon::LoadError for malformed XML, a wrong root
// element, a leg index outside 1 to 30 and any other failure while reading.
void load(const basFileCommon::LoadContext& context, const QString& fileName, const QString& fileData);
// The same on bytes already read.
void loadBytes(const basFileCommon::LoadContext& context, const QByteArray& bytes);

} // namespace basLxmFile
