#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

// Points the system's temporary folder (TMPDIR) at another folder for one scope.
class TempFolderScope {
public:
    explicit TempFolderScope(const QString& path) : m_old(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", QFile::encodeName(path));
    }
    ~TempFolderScope() { qputenv("TMPDIR", m_old); }
    TempFolderScope(const TempFolderScope&) = delete;
    TempFolderScope& operator=(const TempFolderScope&) = delete;

private:
    QByteArray m_old;
};
