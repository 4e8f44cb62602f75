#include "clsFileControl.h"

#include "FileControlHost.h"
#include "ProjectError.h"
#include "basConstants.h"
#include "basFileCommon.h"
#include "basFileName.h"
#include "basHtmlOutput.h"
#include "basImportFiles.h"
#include "basIof3ResultList.h"
#include "basIofReader.h"
#include "basIofResultList.h"
#include "basLapFile.h"
#include "basLha.h"
#include "basLxmFile.h"
#include "basQuorvelin2.h"
#include "basTextFile.h"
#include "clsQuorvelin2.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <optional>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

const QString CannotOpen = u"ファイルを開けません"_s;
const QString Crlf = u"\r\n"_s;

QString loaderComment(const QString& loader, const QString& description) {
    return CannotOpen + Crlf + u"clsFileControl."_s + loader + Crlf + description;
}

// The lines of a lap or import text that name its kind, tested in this order.
struct HeadTest {
    int line; // 0-based
    qint32 kind;
    bool (*matches)(const QString& line);
};
const HeadTest HeadTests[] = {
    {0, QV_FILETYPE_QUORVELIN1, [](const QString& l) { return l.contains(u"$LAPFILE Ver=2"_s); }},
    {0, QV_FILETYPE_IMPORT_ONLY,
     [](const QString& l) { return l.compare(u"$IMPORT_ONLY"_s, Qt::CaseInsensitive) == 0; }},
    {0, QV_FILETYPE_QUORVELIN2, [](const QString& l) { return l.contains(u"xml"_s); }},
    {1, QV_FILETYPE_OEVENT, [](const QString& l) { return l.contains(u"Split times of"_s); }},
    {2, QV_FILETYPE_SPORTIDENT, [](const QString& l) { return l.contains(u"SPORTident results"_s); }},
};
constexpr size_t FirstLineTests = 3;

// Runs the head tests [from, to) on the lines: the kind of the first that matches, kind 1
// when a test's line is not there, nothing when none matches.
std::optional<qint32> kindOfHead(const QStringList& lines, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        const HeadTest& t = HeadTests[i];
        if (lines.size() <= t.line)
            return QV_FILETYPE_UNKNOWN;
        if (t.matches(lines[t.line]))
            return t.kind;
    }
    return std::nullopt;
}

QString tooShortComment() {
    return u"ファイルタイプ判別に失敗しました"_s + Crlf + u"clsFileControl.DetectFileType"_s;
}

// Detection of a text handed over as file data: CR LF lines (bare CR line ends made CR LF in
// the text itself), at least three of them.
qint32 kindOfData(QString& data) {
    QStringList lines = data.split(Crlf);
    if (lines.size() == 1) {
        lines = data.split(u'\r');
        data = lines.join(Crlf);
    }
    if (lines.size() < 3) {
        basQuorvelin2::SetErrorComment(tooShortComment());
        return QV_FILETYPE_UNKNOWN;
    }
    return kindOfHead(lines, 0, std::size(HeadTests)).value_or(QV_FILETYPE_QUORVELIN1);
}

QString describe(const std::exception& e) {
    if (const auto* load = dynamic_cast<const basFileCommon::LoadError*>(&e))
        return load->description();
    if (const auto* project = dynamic_cast<const ProjectError*>(&e))
        return project->description();
    return QString::fromLocal8Bit(e.what());
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

bool clsFileControl::OutputHtml(const QString& OutputFolder, const QString& IndexFile,
                                const QString& AnalysisFile, const QString& ResultFile,
                                const QString& Lap2File, const QString& Lap1File, bool OfficialSite,
                                bool IndexFileAddMode, const QString& ActiveXFile,
                                const QString& ActiveXAddress, bool AnalysisIncludeCourse,
                                bool ResultIncludeCourse, const QString& LegDataFile,
                                bool LegDataIncludeCourse, const QString& ChartFile, bool ChartIncludeCourse,
                                const QString& ChartOption, const QString& LinkStyleFile) {
    return basHtmlOutput::OutputHtml(*this, {OutputFolder, IndexFile, AnalysisFile, ResultFile, Lap2File,
                                             Lap1File, OfficialSite, IndexFileAddMode, ActiveXFile,
                                             ActiveXAddress, AnalysisIncludeCourse, ResultIncludeCourse,
                                             LegDataFile, LegDataIncludeCourse, ChartFile, ChartIncludeCourse,
                                             ChartOption, LinkStyleFile});
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
            m_root->MakeSegmentSet();
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
    case QV_FILETYPE_IOF_XML_20_RESULT:
    case QV_FILETYPE_IOF_XML_30_RESULT:
        // Clears the data set in mode 0 itself, once the document has been read.
        result = LoadIofResultList(fileName, LoadMode, fileData);
        if (result && LoadMode == QV_LOADMODE_NORMAL)
            m_root->MakeSegmentSet();
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
    if (!FileData.isEmpty())
        return kindOfData(FileData);
    try {
        if (!QFile::exists(FileName))
            throw basFileCommon::LoadError(u"File not found: "_s + FileName);
        const QString text = basFileCommon::readText(FileName);
        const QStringList lines = basTextFile::splitLines(text);
        if (!lines.isEmpty())
            if (const auto kind = kindOfHead(lines, 0, FirstLineTests))
                return *kind;
        if (!text.contains(u'\r') && text.contains(u'\n')) {
            // Bare LF line ends: the loader reads the text made CR LF.
            QString converted = QString(text).replace(u'\n', Crlf);
            const qint32 kind = kindOfData(converted);
            FileData = converted;
            return kind;
        }
        const qint32 kind =
            kindOfHead(lines, FirstLineTests, std::size(HeadTests)).value_or(QV_FILETYPE_QUORVELIN1);
        if (kind == QV_FILETYPE_UNKNOWN)
            basQuorvelin2::SetErrorComment(tooShortComment());
        return kind;
    } catch (const std::exception& e) {
        basQuorvelin2::SetErrorComment(u"ファイルタイプが判別に失敗しました"_s + Crlf +
                                       u"clsFileControl.DetectFileType"_s + Crlf + describe(e));
        return QV_FILETYPE_UNKNOWN;
    }
}

bool clsFileControl::runLoader(const QString& loader, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        basQuorvelin2::SetErrorComment(loaderComment(loader, describe(e)));
        return false;
    }
}

bool clsFileControl::load(const QString& loader, qint32 LoadMode,
                          const std::function<void(const basFileCommon::LoadContext&)>& body) {
    const basFileCommon::LoadContext context{
        *m_root,
        LoadMode,
        m_progressVisible,
        [this](int p) { emit Progress(p); },
        [this](int p) {
            if (m_progressShown)
                m_host->setProgress(p);
        },
        [this](const QString& text) { message(text); },
    };
    beginProgress();
    const bool ok = runLoader(loader, [&] { body(context); });
    endProgress();
    return ok;
}

bool clsFileControl::loadLines(
    const QString& loader, const QString& FileName, qint32 LoadMode, const QString& FileData,
    const std::function<void(const basFileCommon::LoadContext&, const QStringList&)>& body) {
    return load(loader, LoadMode, [&](const basFileCommon::LoadContext& context) {
        bool missing = false;
        const QStringList lines = basFileCommon::readLines(FileName, FileData, &missing);
        if (missing)
            throw basFileCommon::LoadError(u"File not found: "_s + FileName);
        body(context, lines);
    });
}

bool clsFileControl::LoadQuorvelin2(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    return load(u"LoadQuorvelin2"_s, LoadMode, [&](const basFileCommon::LoadContext& context) {
        basLxmFile::load(context, FileName, FileData);
    });
}

bool clsFileControl::LoadQuorvelin1(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    // The lines are read before the progress starts: a missing file is refused without a
    // comment and without progress.
    QStringList lines;
    bool missing = false;
    if (!runLoader(u"LoadQuorvelin1"_s,
                   [&] { lines = basFileCommon::readLines(FileName, FileData, &missing); }) ||
        missing)
        return false;
    bool loaded = false;
    const bool ok = load(u"LoadQuorvelin1"_s, LoadMode, [&](const basFileCommon::LoadContext& context) {
        loaded = basLapFile::load(context, lines) == basLapFile::Outcome::Loaded;
    });
    return ok && loaded;
}

bool clsFileControl::LoadSportIdent(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    return loadLines(u"LoadSportIdent"_s, FileName, LoadMode, FileData,
                     [this](const basFileCommon::LoadContext& context, const QStringList& lines) {
                         basImportFiles::loadSportIdent(context, lines);
                         m_root->MakeSegmentSet();
                     });
}

bool clsFileControl::LoadOEvent(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    return loadLines(u"LoadOEvent"_s, FileName, LoadMode, FileData, basImportFiles::loadOEvent);
}

bool clsFileControl::LoadImportOnly(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    return loadLines(u"LoadImportOnly"_s, FileName, LoadMode, FileData, basImportFiles::loadImportOnly);
}

bool clsFileControl::LoadIofResultList(const QString& FileName, qint32 LoadMode, const QString& FileData) {
    return load(u"LoadIofResultList"_s, LoadMode, [&](const basFileCommon::LoadContext& context) {
        basIofReader::load(context, FileName, FileData);
    });
}

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
        const bool iof = kind == QV_FILETYPE_IOF_XML_20_RESULT || kind == QV_FILETYPE_IOF_XML_30_RESULT;
        const QString suffix = kind == QV_FILETYPE_QUORVELIN1 ? u".lap"_s : iof ? u".xml"_s : u".lxm"_s;
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
    case QV_FILETYPE_IOF_XML_30_RESULT:
        result = basIof3ResultList::save(*m_root, target);
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
    basLha::extractAll(ArchiveName, work); // a damaged archive shows as an empty listing
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
    return basLha::addFile(ArchiveName, FileName).ok;
}
