#pragma once

// Windows-31J text files with CR LF line ends: the event's data files are read whole,
// appended to one line at a time, or rewritten whole.

#include "Result.h"

#include <QString>
#include <QStringList>

namespace basTextFile {

using Result = ::Result;

// Splits text at CR LF, bare CR or bare LF; a final line end does not make an empty last line.
QStringList splitLines(const QString& text);

// Reads the whole file as Windows-31J and splits it into lines. A missing file is an error.
Result readLines(const QString& path, QStringList* lines);

// Appends one line and its CR LF to the file (created when missing), then flushes it to disk
// and closes it, so the line survives a power cut once this returns true.
Result appendLine(const QString& path, const QString& line);

// Replaces the file with these lines, each ended by CR LF. The new content is written to a
// temporary file beside it and renamed over the old one, so a crash leaves the old file or
// the new one, never a part of either.
Result writeLines(const QString& path, const QStringList& lines);

// The same for bytes.
Result writeBytes(const QString& path, const QByteArray& bytes);

} // namespace basTextFile
