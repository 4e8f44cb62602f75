#pragma once

// Saving the hand-over data set as a lap file through the analysis library's file control.

#include <QString>

class clsQuorvelin2;

namespace basLapExport {

// The library's save filter ("text|pattern|text|pattern") in the dialogs' form.
QString saveFilter(clsQuorvelin2& root);
// The 1-based filter whose pattern matches the file's extension (1 when none does).
int filterIndexOf(const QString& libraryFilter, const QString& path);
// Saves with the file kind of the filter the extension picks; false with a reason otherwise.
bool save(clsQuorvelin2& root, const QString& path, QString* error);
// Saves as an IOF XML 3.0 result list whatever the extension; false with a reason otherwise.
bool saveIof3(clsQuorvelin2& root, const QString& path, QString* error);

} // namespace basLapExport
