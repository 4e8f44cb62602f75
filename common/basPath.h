#pragma once

// Folder and file parts of path texts. Both "\" and "/" separate folders, so names written on
// other systems read the same way here; ":" ends a drive name.

#include <QString>

namespace basPath {

// The text after the last "\" (else "/", else ":"); the whole name when none occurs.
QString fileNamePart(const QString& name);
// The text up to and including the last "\" (else "/", else ":"); empty when none occurs.
QString folderPart(const QString& name);
// A folder path with a separator at its end: "/" is added unless it ends in "\" or "/".
QString withTrailingSeparator(const QString& folder);
// The folder of a path chosen on this machine, ending in a separator: the text up to the
// later of its last "\" and last "/" (else its last ":"). A chosen path may mix both kinds,
// so neither is preferred.
QString folderOf(const QString& path);

} // namespace basPath
