#pragma once

// Small rules shared by the data files of an event folder.

#include <QString>
#include <QStringView>

namespace basDataFile {

// The file's path in a folder. The folder may end in "\" or "/" (the data folder control keeps
// a trailing "\"); either way exactly one separator of this platform joins the two.
QString pathInFolder(const QString& folder, const QString& fileName);

// Removes half-width spaces at both ends only (tabs and other blanks stay).
QString trimSpaces(QStringView text);

} // namespace basDataFile
