#include "clsFileControl.h"

#include "FileControlHost.h"
#include "ProjectError.h"
#include "basConstants.h"
#include "basFileCommon.h"
#include "basFileName.h"
#include "basImportFiles.h"
#include "basIofResultList.h"
#include "basLapFile.h"
#include "basLha.h"
#include "basLxmFile.h"
#include "basQuorvelin2.h"
#include "clsQuorvelin2.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

const QString CannotOpen = u"ファイルを開けません"_s;
const QString Crlf = u"\r\n"_s;

QString loaderComment(const QString& loader, const QString& description) {
    return CannotOpen + Crlf + u"clsFileControl."_s + loader + Crlf + description;
}

// Lines as the detection reads them: a line ends at CR, LF or CR LF.
QStringList detectionLines(const QString& text) {
    QStringList lines;
    QString current;
    bool ended = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << current;
            current.clear();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ended = true;
        } else {
            current.append(c);
            ended = false;
        }
    }
    if (!current.isEmpty() || (!ended && !text.isEmpty()))
        lines << current;
    return lines;
}

} // namespace

clsFileControl::clsFileControl(clsQuorvelin2* root) : m_root(root) {}

QString clsFileControl::WorkFolder() {
    QString temp = QDir::tempPath();
    if (const qsizetype nul = temp.indexOf(QChar(0)); nul >= 0)
        temp.truncate(nul);
    return basFileName::WithTrailingSeparator(temp) + u"Quorvelin2"_s;
}

void clsFileControl::beginProgress() {
    m_progressShown = m_progressVisible && m_host;
    if (m_progressShown)
        m_host->showProgress();
    emit Progress(0);
}

void clsFileControl::endProgress() {
    if (m_progressShown)
        m_host->closeProgress();
    m_progressShown = false;
    emit Progress(100);
}

void clsFileControl::message(const QString& text) {
    if (m_host)
        m_host->message(text, QCoreApplication::applicationName());
    else
        basQuorvelin2::SetErrorComment(text);
}

bool clsFileControl::LoadLapFile(const QString& FileName, qint32 LapFileType, qint32 LoadMode,
                                 const QString& FileData) {
    basQuorvelin2::SetErrorComment(QString());
    QString fileName = FileName;
    QString fileData = FileData;
    if (basFileName::Extension(fileName) == u"lzh"_s) {
        fileName = ExtractFromArchive(fileName).toString();
        if (fileName.isEmpty())
            return false;
    }
    qint32 kind = LapFileType;
    if (kind == QV_FILETYPE_AUTODETECT)
        kind = DetectFileType(fileName, fileData);
    // The data set is cleared only once the file is known to load, so a refused file
    // (unknown kind, an import-only list without the additional mode) loses nothing.
    const bool importOnlyAllowed = (LoadMode & QV_LOADMODE_APPEND) != 0;
    const bool goesAhead = (kind >= QV_FILETYPE_QUORVELIN2 && kind <= QV_FILETYPE_OEVENT) ||
                           (kind == QV_FILETYPE_IMPORT_ONLY && importOnlyAllowed);
    if (LoadMode == QV_LOADMODE_NORMAL && goesAhead) {
        m_root->Clear();
    }
    bool result = false;
    switch (kind) {
    case QV_FILETYPE_QUORVELIN2:
        result = LoadQuorvelin2(fileName, LoadMode, fileData);
        if (LoadMode == QV_LOADMODE_NORMAL)
            QMetaObject::invokeMethod(m_root, "MakeSegmentSet");
        break;
    case QV_FILETYPE_QUORVELIN1:
        result = LoadQuorvelin1(fileName, LoadMode, fileData);
        break;
    case QV_FILETYPE_SPORTIDENT:
        result = LoadSportIdent(fileName, LoadMode, fileData);
        break;
    case QV_FILETYPE_OEVENT:
        result = LoadOEvent(fileName, LoadMode, fileData);
        break;
    case QV_FILETYPE_IMPORT_ONLY:
        if (importOnlyAllowed) {
            result = LoadImportOnly(fileName, LoadMode, fileData);
        } else {
            basQuorvelin2::SetErrorComment(u"このファイルは追加読み込み専用です"_s);
            result = false;
        }
        break;
    default:
        result = false;
        break;
    }
    if (result) {
        m_root->SortLap();
        m_root->setFileName(fileName);
    }
    return result;
}

qint32 clsFileControl::DetectFileType(const QString& FileName, QString& FileData) {
    const QString ext = basFileName::Extension(FileName);
    if (ext == u"xml"_s || ext == u"lxm"_s)
        return QV_FILETYPE_QUORVELIN2;
    const QString tooShort =
        u"ファイルタイプ判別に失敗しました"_s + Crlf + u"clsFileControl.DetectFileType"_s;
    auto byLines = [&](QString& data) -> qint32 {
        QStringList lines = data.split(Crlf);
        if (lines.size() == 1) {
            lines = data.split(u'\r');
            data = lines.join(Crlf);
        }
        if (lines.size() < 3) {
            basQuorvelin2::SetErrorComment(tooShort);
            return QV_FILETYPE_UNKNOWN;
        }
        if (lines[0].contains(u"$LAPFILE Ver=2"_s))
            return QV_FILETYPE_QUORVELIN1;
        // An import-only list handed over as text is still an import-only list.
        if (lines[0].compare(u"$IMPORT_ONLY"_s, Qt::CaseInsensitive) == 0)
            return QV_FILETYPE_IMPORT_ONLY;
        if (lines[0].contains(u"xml"_s))
            return QV_FILETYPE_QUORVELIN2;
        if (lines[1].contains(u"Split times of"_s))
            return QV_FILETYPE_OEVENT;
        if (lines[2].contains(u"SPORTident results"_s))
            return QV_FILETYPE_SPORTIDENT;
        return QV_FILETYPE_QUORVELIN1;
    };
    if (!FileData.isEmpty())
        return byLines(FileData);
    try {
        if (!QFile::exists(FileName))
            throw basFileCommon::LoadError(u"File not found: "_s + FileName);
        const QString text = basFileCommon::readText(FileName);
        const QStringList lines = detectionLines(text);
        const QString first = lines.value(0);
        if (first.contains(u"$LAPFILE Ver=2"_s))
            return QV_FILETYPE_QUORVELIN1;
        if (first.compare(u"$IMPORT_ONLY"_s, Qt::CaseInsensitive) == 0)
            return QV_FILETYPE_IMPORT_ONLY;
        if (first.contains(u"xml"_s))
            return QV_FILETYPE_QUORVELIN2;
        if (!text.contains(u'\r') && text.contains(u'\n')) {
            // Bare LF line ends: the loader reads the text made CR LF.
            QString converted = QString(text).replace(u'\n', Crlf);
            const qint32 kind = byLines(converted);
            FileData = converted;
            return kind;
        }
        if (lines.size() < 2) {
            QString single = text;
            const qint32 kind = byLines(single);
            FileData = single.isEmpty() ? FileData : single;
            return kind;
        }
        if (lines[1].contains(u"Split times of"_s))
            return QV_FILETYPE_OEVENT;
        if (lines.size() < 3) {
            basQuorvelin2::SetErrorComment(tooShort);
            return QV_FILETYPE_UNKNOWN;
        }
        if (lines[2].contains(u"SPORTident results"_s))
            return QV_FILETYPE_SPORTIDENT;
        return QV_FILETYPE_QUORVELIN1;
    } catch (const std::exception& e) {
        const QString description = dynamic_cast<const basFileCommon::LoadError*>(&e)
                                        ? static_cast<const basFileCommon::LoadError&>(e).description()
                                        : QString::fromLocal8Bit(e.what());
        basQuorvelin2::SetErrorComment(u"ファイルタイプが判別に失敗しました"_s + Crlf +
                                       u"clsFileControl.DetectFileType"_s + Crlf + description);
        return QV_FILETYPE_UNKNOWN;
    }
}

namespace {

template <typename Body> bool runLoader(clsFileControl& control, const QString& loader, Body&& body) {
    try {
        body();
        return true;
    } catch (const basFileCommon::LoadError& e) {
        basQuorvelin2::SetErrorComment(loaderComment(loader, e.description()));
    } catch (const ProjectError& e) {
        basQuorvelin2::SetErrorComment(loaderComment(loader, e.description()));
    } catch (const std::exception& e) {
        basQuorvelin2::SetErrorComment(loaderComment(loader, QString::fromLocal8Bit(e.what())));
    }
    (void)control;
    return false;
}

} // namespace

#define QV_CONTEXT(mode)                                                                                     \
    basFileCommon::LoadContext ctx {                                                                         \
        *m_root, mode, m_progressVisible, [this](int p) { emit Progress(p); },                               \
            [this](int p) {                                                                                  \
                if (m_progressShown)                                                                         \
                    m_host->setProgress(p);                                                                  \
            },                                                                                               \
            [this](const QString& text) { message(text); }                                                   \
    }

bool clsFileControl::LoadQuorvelin2(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    QV_CONTEXT(LoadMode);
    beginProgress();
    const bool ok = runLoader(*this, u"LoadQuorvelin2"_s, [&] { basLxmFile::load(ctx, FileName, FileData); });
    endProgress();
    return ok;
}

bool clsFileControl::LoadQuorvelin1(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    QV_CONTEXT(LoadMode);
    QStringList lines;
    bool missing = false;
    if (!runLoader(*this, u"LoadQuorvelin1"_s,
                   [&] { lines = basFileCommon::readLines(FileName, FileData, &missing); }))
        return false;
    if (missing)
        return false;
    beginProgress();
    bool loaded = false;
    const bool ok = runLoader(*this, u"LoadQuorvelin1"_s,
                              [&] { loaded = basLapFile::load(ctx, lines) == basLapFile::Outcome::Loaded; });
    endProgress();
    return ok && loaded;
}

bool clsFileControl::LoadSportIdent(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    QV_CONTEXT(LoadMode);
    beginProgress();
    const bool ok = runLoader(*this, u"LoadSportIdent"_s, [&] {
        bool missing = false;
        const QStringList lines = basFileCommon::readLines(FileName, FileData, &missing);
        if (missing)
            throw basFileCommon::LoadError(u"File not found: "_s + FileName);
        basImportFiles::loadSportIdent(ctx, lines);
        QMetaObject::invokeMethod(m_root, "MakeSegmentSet");
    });
    endProgress();
    return ok;
}

bool clsFileControl::LoadOEvent(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    QV_CONTEXT(LoadMode);
    beginProgress();
    const bool ok = runLoader(*this, u"LoadOEvent"_s, [&] {
        bool missing = false;
        const QStringList lines = basFileCommon::readLines(FileName, FileData, &missing);
        if (missing)
            throw basFileCommon::LoadError(u"File not found: "_s + FileName);
        basImportFiles::loadOEvent(ctx, lines);
    });
    endProgress();
    return ok;
}

bool clsFileControl::LoadImportOnly(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    QV_CONTEXT(LoadMode);
    beginProgress();
    const bool ok = runLoader(*this, u"LoadImportOnly"_s, [&] {
        bool missing = false;
        const QStringList lines = basFileCommon::readLines(FileName, FileData, &missing);
        if (missing)
            throw basFileCommon::LoadError(u"File not found: "_s + FileName);
        basImportFiles::loadImportOnly(ctx, lines);
    });
    endProgress();
    return ok;
}

#undef QV_CONTEXT

bool clsFileControl::SaveLapFile(const QString& FileName, qint32 LapFileType, qint32 SaveMode) {
    const QString ext = basFileName::Extension(FileName);
    qint32 kind = LapFileType;
    if (kind == QV_FILETYPE_AUTODETECT)
        kind = ext == u"lap"_s   ? QV_FILETYPE_QUORVELIN1
               : ext == u"xml"_s ? QV_FILETYPE_IOF_XML_20_RESULT
                                 : QV_FILETYPE_QUORVELIN2;
    QString target = FileName;
    QString archive;
    if (ext == u"lzh"_s) {
        archive = FileName;
        const QString suffix = kind == QV_FILETYPE_QUORVELIN1          ? u".lap"_s
                               : kind == QV_FILETYPE_IOF_XML_20_RESULT ? u".xml"_s
                                                                       : u".lxm"_s;
        QDir().mkpath(WorkFolder());
        target = basFileName::WithTrailingSeparator(WorkFolder()) +
                 basFileName::WithoutExtension(basFileName::FileNamePart(FileName)) + suffix;
    }
    bool result = false;
    switch (kind) {
    case QV_FILETYPE_QUORVELIN1:
        result = SaveQuorvelin1(target);
        break;
    case QV_FILETYPE_IOF_XML_20_RESULT:
        result = SaveIofResultList(target, SaveMode);
        break;
    default:
        result = SaveQuorvelin2(target, SaveMode);
        break;
    }
    // A file that did not reach its archive is not reported as saved.
    if (result && !archive.isEmpty())
        result = AddToArchive(target, archive);
    return result;
}

qint32 clsFileControl::FileSaveMode(const QVariant& FilterIndex) const {
    bool ok = false;
    const int index = FilterIndex.toInt(&ok);
    if (!ok)
        return QV_FILETYPE_AUTODETECT;
    switch (index) {
    case 1:
    case 4:
    case 5:
        return QV_FILETYPE_QUORVELIN2;
    case 2:
        return QV_FILETYPE_QUORVELIN1;
    case 3:
        return QV_FILETYPE_IOF_XML_20_RESULT;
    default:
        return QV_FILETYPE_AUTODETECT;
    }
}

QString clsFileControl::FileSaveFilter() const {
    return u"ラップファイル (*.lxm)|*.lxm|ラップファイル(Ver.1形式) (*.lap)|*.lap|IOF標準形式 (ResultList) "
           u"(*.xml)|*.xml|"
           u"ラップファイル(XML形式) (*.xml)|*.xml|ラップファイル(LHA圧縮) (*.lzh)|*.lzh"_s;
}

QString clsFileControl::FileLoadFilter() const {
    return u"クォルベリン２ファイル (*.lxm)|*.lxm|ラップファイル "
           u"(*.lxm,*.xml,*.lap,*.csv,*.txt)|*.lxm;*.lap;*.xml;*.csv;*.txt|"
           u"書庫ファイル (*.lzh)|*.lzh|全てのファイル (*.*)|*.*"_s;
}

bool clsFileControl::SaveQuorvelin2(const QString& FileName, qint32 SaveMode) {
    return basLxmFile::save(*m_root, FileName, SaveMode);
}

bool clsFileControl::SaveQuorvelin1(const QString& FileName) {
    return basLapFile::save(*m_root, FileName);
}

bool clsFileControl::SaveIofResultList(const QString& FileName, qint32 SaveMode) {
    (void)SaveMode; // the format has one form
    return basIofResultList::save(*m_root, FileName);
}

QVariant clsFileControl::ExtractFromArchive(const QString& ArchiveName) {
    const QString work = WorkFolder();
    QDir().mkpath(work);
    QDir dir(work);
    const QStringList lapPatterns = {u"*.lap"_s, u"*.lxm"_s};
    for (const QString& f : dir.entryList(QStringList{u"*.lxm"_s}, QDir::Files | QDir::System | QDir::Hidden))
        dir.remove(f);
    for (const QString& f : dir.entryList(QStringList{u"*.lap"_s}, QDir::Files | QDir::System | QDir::Hidden))
        dir.remove(f);
    const QString command = QString(u"e -m "_s + basLha::quotePath(ArchiveName) + u' ' +
                                    basLha::quotePath(basFileName::WithTrailingSeparator(work)) + u" *.*"_s)
                                .trimmed();
    basLha::run(command); // a damaged archive shows as an empty listing
    for (const QString& f : dir.entryList(QStringList{u"*.lzh"_s}, QDir::Files | QDir::System | QDir::Hidden))
        dir.remove(f);
    const QStringList files = dir.entryList(lapPatterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (files.isEmpty())
        return QString();
    const QString folder = basFileName::WithTrailingSeparator(work);
    if (files.size() == 1)
        return QString(folder + files.first());
    QString chosen;
    if (m_host) {
        if (const auto answer = m_host->chooseFile(work, files); answer && files.contains(*answer))
            chosen = *answer;
    } else {
        chosen = files.first();
    }
    return chosen.isEmpty() ? QString() : QString(folder + chosen);
}

bool clsFileControl::AddToArchive(const QString& FileName, const QString& ArchiveName) {
    const QString command =
        QString(u"a "_s + basLha::quotePath(ArchiveName) + u' ' + basLha::quotePath(FileName)).trimmed();
    return basLha::run(command).ok;
}
