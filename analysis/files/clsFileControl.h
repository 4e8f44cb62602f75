#pragma once

#include "Quorvelin2Global.h"

#include <QObject>
#include <QString>
#include <QVariant>

class clsQuorvelin2;
class FileControlHost;

// The library's door for lap files: loads any supported kind into the root object's classes by
// a load mode, saves in the library's formats (optionally packed into an LHA archive) and tells
// file dialogs their filters. The root creates one and keeps it for its lifetime.
class QV_EXPORT clsFileControl : public QObject {
    Q_OBJECT
public:
    explicit clsFileControl(clsQuorvelin2* root);

    // 1
    Q_INVOKABLE bool ProgressVisible() const { return m_progressVisible; }
    Q_INVOKABLE void setProgressVisible(bool ProgressVisible) { m_progressVisible = ProgressVisible; }
    // 2 OutputHtml belongs to the HTML output and joins here with it.
    // 3 True when the file was loaded. FileData, when not empty, is the file's whole text
    // (lines separated by CR LF) read instead of the file; FileName still decides by extension.
    Q_INVOKABLE bool LoadLapFile(const QString& FileName, qint32 LapFileType = 0, qint32 LoadMode = 0,
                                 const QString& FileData = QString());
    // 4 True when the file was written (and, for a .lzh name, packed into that archive).
    Q_INVOKABLE bool SaveLapFile(const QString& FileName, qint32 LapFileType = 0, qint32 SaveMode = 0);
    // 5 The file kind the n-th filter of FileSaveFilter stands for (1-based); 0 for others.
    Q_INVOKABLE qint32 FileSaveMode(const QVariant& FilterIndex) const;
    // 6, 7
    Q_INVOKABLE QString FileSaveFilter() const;
    Q_INVOKABLE QString FileLoadFilter() const;

    // Library side: the host that shows progress, the archive choice and messages; none by
    // default (silent work). The host must outlive its installation.
    void setHost(FileControlHost* host) { m_host = host; }
    FileControlHost* host() const { return m_host; }
    clsQuorvelin2* root() const { return m_root; }

    // The folder archives are unpacked into and lap files are written to before packing.
    static QString WorkFolder();
    // The file kind of a name and its text (the file is read when FileData is empty). May
    // rewrite FileData into CR LF lines. Sets the error comment when it fails (kind 1).
    qint32 DetectFileType(const QString& FileName, QString& FileData);

signals:
    void Progress(qint32 Percent);

private:
    bool LoadQuorvelin2(const QString& FileName, qint32 LoadMode, const QString& FileData);
    bool LoadQuorvelin1(const QString& FileName, qint32 LoadMode, const QString& FileData);
    bool LoadSportIdent(const QString& FileName, qint32 LoadMode, const QString& FileData);
    bool LoadOEvent(const QString& FileName, qint32 LoadMode, const QString& FileData);
    bool LoadImportOnly(const QString& FileName, qint32 LoadMode, const QString& FileData);
    bool SaveQuorvelin2(const QString& FileName, qint32 SaveMode);
    bool SaveQuorvelin1(const QString& FileName);
    bool SaveIofResultList(const QString& FileName, qint32 SaveMode);
    QVariant ExtractFromArchive(const QString& ArchiveName);
    bool AddToArchive(const QString& FileName, const QString& ArchiveName);

    void beginProgress();
    void endProgress();
    void message(const QString& text);

    clsQuorvelin2* m_root;
    FileControlHost* m_host = nullptr;
    bool m_progressVisible = false;
    bool m_progressShown = false;
};
