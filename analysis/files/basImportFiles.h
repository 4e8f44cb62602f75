#pragma once
// Result texts of other timing software and import-only runner lists.

#include "Quorvelin2Global.h"

#include "basFileCommon.h"

#include <QStringList>

namespace basImportFiles {

// OEvent split times: line 2 holds "Split times of". Raises basFileCommon::LoadError when the
// marker is missing or the data cannot be read (more than 30 legs and the like).
QV_EXPORT void loadOEvent(const basFileCommon::LoadContext& context, const QStringList& lines);
// The SPORTident results printout: line 3 holds "SPORTident results". Read by character and
// Windows-31J byte columns anchored on the column header in line 6.
QV_EXPORT void loadSportIdent(const basFileCommon::LoadContext& context, const QStringList& lines);
// A list that completes club and sex of runners already loaded; never adds a runner.
QV_EXPORT void loadImportOnly(const basFileCommon::LoadContext& context, const QStringList& lines);

// A part of a line counted in Windows-31J bytes (a double-byte character that the range would
// split is left out).
QV_EXPORT QString byteMid(const QString& line, int start, int length);

} // namespace basImportFiles
