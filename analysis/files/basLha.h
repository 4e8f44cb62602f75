#pragma once
// LHA archives (.lzh): reading every common method through libarchive, and a small writer of
// our own that produces level-2 headers around the -lh5- packing of basLhaEncoder (stored as
// -lh0- when packing would not make the entry smaller; -lh6- and -lh7- on request, so that
// their read paths can be checked). On top of both sits the archiver's command-line form.

#include "Quorvelin2Global.h"
#include "Result.h"
#include "basLhaEncoder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace basLha {

struct Entry {
    QString name;     // file name as stored (no folder part for entries we write)
    QByteArray data;  // the original bytes
    qint64 mtime = 0; // modification time, seconds since 1970-01-01 UTC
};

using Result = ::Result;

// The packing itself (basLhaEncoder), named here too for the archive's callers.
using basLhaEncoder::compressLh;
using basLhaEncoder::compressLh5;
// CRC-16 as LHA uses it (polynomial 0xA001, reflected, initial value 0).
QV_EXPORT quint16 crc16(const QByteArray& data, quint16 crc = 0);

// One archive member: level-2 header and packed data. method is "-lh0-", "-lh5-", "-lh6-"
// or "-lh7-" (anything else packs as -lh5-); an empty method picks -lh5- unless the stored
// form is not larger.
QV_EXPORT QByteArray encodeEntry(const Entry& entry, const QByteArray& method = {});
// A whole archive: the members followed by the end mark.
QV_EXPORT QByteArray encodeArchive(const QVector<Entry>& entries);

// Reads every regular file of an archive held in memory. Entries larger than maxEntryBytes
// are refused (the archive is then reported as damaged).
QV_EXPORT Result readArchive(const QByteArray& bytes, QVector<Entry>* entries,
                             qint64 maxEntryBytes = 64 << 20);
QV_EXPORT Result readArchiveFile(const QString& path, QVector<Entry>* entries);

// The part of a stored name that may be written into a folder: the last component after any
// "/" or "\". Empty when nothing safe remains ("", ".", "..").
QV_EXPORT QString safeFileName(const QString& storedName);

// Unpacks every regular file of the archive into folder, without the stored folders. A name
// that would leave the folder is reduced to its last component or skipped; existing files of
// the same name are replaced (never followed through a link). The names written are returned.
QV_EXPORT Result extractAll(const QString& archivePath, const QString& folder,
                            QStringList* written = nullptr);
// Adds the file to the archive under its file name, replacing a member of the same name; the
// archive is created when it does not exist. The archive is rewritten whole (atomically).
QV_EXPORT Result addFile(const QString& archivePath, const QString& filePath);

// The command-line quoting rule: a path that does not both begin and end with a double quote
// is enclosed in double quotes; one that does is used unchanged.
QV_EXPORT QString quotePath(const QString& path);
// Splits a command line into items at spaces; double quotes group an item and are removed.
QV_EXPORT QStringList splitCommandLine(const QString& commandLine);
// Runs an archiver command line: "e -m <archive> <folder> *.*" unpacks all files into the
// folder, "a <archive> <file>" adds the file. Anything else fails.
QV_EXPORT Result run(const QString& commandLine);

} // namespace basLha
