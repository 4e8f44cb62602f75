#include "clsNameDataTable.h"

#include "basDataFile.h"
#include "basRuntime.h"
#include "basText.h"
#include "basTextFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString key(qint32 ecardNo) {
    return QString::number(ecardNo);
}

void replaceIn(clsNameDataTable::Table& table, const clsNameDataPtr& data) {
    const QString k = key(data->EcardNo);
    table.Remove(k);
    table.Add(data, k);
}

} // namespace

clsNameDataTable::clsNameDataTable(const QString& applicationFolder)
    : m_applicationFolderPath(applicationFolder) {
    if (m_applicationFolderPath.isEmpty() && QCoreApplication::instance())
        m_applicationFolderPath = QCoreApplication::applicationDirPath();
    Clear();
}

void clsNameDataTable::Clear() {
    m_applicationFolder.Clear();
    m_dataFolder.Clear();
    m_all.Clear();
    m_folder.clear();
}

clsNameDataPtr clsNameDataTable::NameData(qint32 EcardNo) const {
    return m_all.Item(key(EcardNo));
}

std::vector<Result> clsNameDataTable::OpenFolder(const QString& DataFolder) {
    m_folder = DataFolder;
    std::vector<Result> failures;
    const auto load = [&](const QString& folder, bool applicationFolder) {
        if (folder.isEmpty())
            return;
        if (Result r =
                loadFile(basDataFile::pathInFolder(folder, QString::fromUtf16(FileName)), applicationFolder);
            !r)
            failures.push_back(std::move(r));
    };
    load(m_applicationFolderPath, true);
    load(DataFolder, false);
    return failures;
}

QString clsNameDataTable::headerMessage() {
    return u"Name.csv の１行目は\n  \" Ｅカード番号,氏名,所属 \"\nでなければなりません。"_s;
}

bool clsNameDataTable::isValidHeader(const QString& line) {
    const QStringList fields = line.split(u',');
    if (fields.size() < 3)
        return false;
    const QString f1 = basText::toWide(fields[0]);
    const QString f2 = basText::toWide(fields[1]);
    const QString f3 = basText::toWide(fields[2]);
    return (f1 == u"Ｅカード番号"_s || f1 == u"Ｅカード"_s) && (f2 == u"氏名"_s || f2 == u"名前"_s) &&
           (f3 == u"クラブ名"_s || f3 == u"所属"_s);
}

clsNameDataPtr clsNameDataTable::parseLine(const QString& line) {
    const QString trimmed = basDataFile::trimSpaces(line);
    if (trimmed.isEmpty())
        return {};
    const QList<QStringView> fields = QStringView(trimmed).split(u',');
    const qint32 number = basRuntime::leadingLong(fields.value(0));
    if (number == 0)
        return {};
    return std::make_shared<clsNameData>(number, fields.value(1).toString(), fields.value(2).toString());
}

QString clsNameDataTable::recordLine(const clsNameData& data) {
    return QString::number(data.EcardNo) + u',' + data.RunnerName + u',' + data.ClubName;
}

Result clsNameDataTable::loadBytes(const QByteArray& bytes, bool applicationFolder) {
    return loadLines(basTextFile::splitLines(basText::fromWindows31J(bytes)), applicationFolder);
}

Result clsNameDataTable::loadFile(const QString& path, bool applicationFolder) {
    if (!QFileInfo(path).isFile())
        return {};
    QStringList lines;
    if (Result r = basTextFile::readLines(path, &lines); !r)
        return r;
    return loadLines(lines, applicationFolder);
}

Result clsNameDataTable::loadLines(const QStringList& lines, bool applicationFolder) {
    if (lines.isEmpty())
        return {};
    if (!isValidHeader(lines.first()))
        return Result::failure(headerMessage());
    // A later line with the same number replaces an earlier one and moves to the end, in the
    // file's table and in the combined one. Done in one pass: removing from a keyed table one
    // record at a time costs a re-index each.
    std::vector<clsNameDataPtr> records;
    records.reserve(static_cast<size_t>(lines.size()));
    QHash<QString, qsizetype> lastLine;
    lastLine.reserve(lines.size());
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (clsNameDataPtr data = parseLine(lines[i])) {
            lastLine.insert(key(data->EcardNo), static_cast<qsizetype>(records.size()));
            records.push_back(std::move(data));
        }
    }
    const auto rebuilt = [&](const Table& table) {
        Table out;
        out.reserve(table.Count() + static_cast<int>(lastLine.size()));
        for (const auto& e : table) {
            if (!lastLine.contains(e.key))
                out.Add(e.value, e.key);
        }
        for (size_t i = 0; i < records.size(); ++i) {
            const QString k = key(records[i]->EcardNo);
            if (lastLine.value(k) == static_cast<qsizetype>(i))
                out.Add(records[i], k);
        }
        return out;
    };
    m_all = rebuilt(m_all);
    Table& own = applicationFolder ? m_applicationFolder : m_dataFolder;
    own = rebuilt(own);
    return {};
}

void clsNameDataTable::enter(const clsNameDataPtr& data, bool applicationFolder) {
    replaceIn(m_all, data);
    replaceIn(applicationFolder ? m_applicationFolder : m_dataFolder, data);
}

Result clsNameDataTable::AddToDataFolder(const clsNameDataPtr& NewNameData) {
    return append(m_folder, NewNameData, false);
}

Result clsNameDataTable::AddToApplicationFolder(const clsNameDataPtr& NewNameData) {
    return append(m_applicationFolderPath, NewNameData, true);
}

Result clsNameDataTable::append(const QString& folder, const clsNameDataPtr& data, bool applicationFolder) {
    // A record without a number could never be read back; nothing is written for it.
    if (!data || data->EcardNo == 0)
        return Result::failure(QString());
    if (folder.isEmpty())
        return Result::failure(u"フォルダが選択されていないため Name.csv に保存できません。"_s);
    const QString path = basDataFile::pathInFolder(folder, QString::fromUtf16(FileName));
    // An existing but empty file gets the header too, or its records would be refused on the
    // next load.
    const QFileInfo info(path);
    if (!info.exists() || (info.isFile() && info.size() == 0)) {
        if (Result r = basTextFile::appendLine(path, QString::fromUtf16(HeaderLine)); !r)
            return r;
    }
    if (Result r = basTextFile::appendLine(path, recordLine(*data)); !r)
        return r;
    enter(data, applicationFolder);
    return {};
}
