#pragma once
// Reading IOF XML ResultList documents of version 3.0 and 2.0.3 into the root object's classes,
// courses and lap records.

#include "Quorvelin2Global.h"
#include "basFileCommon.h"

#include <QByteArray>
#include <QString>

namespace basIofReader {

// The document is read whole before anything changes, so a refused document loses nothing; in
// load mode 0 the root is cleared only then. Raises basFileCommon::LoadError when the bytes are
// not a readable result list. Documents that declare entities are refused: nothing is expanded
// and nothing outside the document is read.
void load(const basFileCommon::LoadContext& context, const QString& fileName, const QString& fileData);
QV_EXPORT void loadBytes(const basFileCommon::LoadContext& context, const QByteArray& bytes);

// The file kind of an IOF result list by its root element and namespace: 8 for 3.0, 7 for
// 2.0.3, 0 for anything else (other documents, other files, unreadable files).
QV_EXPORT qint32 documentKind(const QByteArray& bytes);
QV_EXPORT qint32 fileKind(const QString& path);

} // namespace basIofReader
