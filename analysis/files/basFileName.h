#pragma once
// Name rules of lap files: extension, file name part, folder part. Both "\" and "/" separate
// folders, so names written on other systems are read the same way.

#include "Quorvelin2Global.h"

#include <QString>

namespace basFileName {

// The characters after the last dot, lower case; empty without a dot, and empty for a name
// that is an existing folder (unless it holds "*" or "?").
QV_EXPORT QString Extension(const QString& name);
// The text after the last "\" (else "/", else ":"); the whole name when none occurs.
QV_EXPORT QString FileNamePart(const QString& name);
// The name without its extension and the dot before it.
QV_EXPORT QString WithoutExtension(const QString& name);
// The text up to and including the last "\" (else "/", else ":"); empty when none occurs.
QV_EXPORT QString FolderPart(const QString& name);
// A folder path with a separator at its end.
QV_EXPORT QString WithTrailingSeparator(const QString& folder);

} // namespace basFileName
