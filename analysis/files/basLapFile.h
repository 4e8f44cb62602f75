#pragma once
// The text lap file (.lap, Windows-31J) and the comma- or space-separated result lists that the
// same reader takes after their preparation.

#include "basFileCommon.h"

#include <QString>
#include <QStringList>

class clsQuorvelin2;

namespace basLapFile {

QStringList lines(const clsQuorvelin2& root);
bool save(const clsQuorvelin2& root, const QString& fileName);

enum class Outcome { Loaded, Refused };
// Reads the lines into the root. Refused: a list made with this library's own text output,
// or a list without field names (the context's message has been shown). Raises
// basFileCommon::LoadError on a run-time failure (a leg number outside 1 to 30 and the like).
Outcome load(const basFileCommon::LoadContext& context, QStringList lines);

} // namespace basLapFile
