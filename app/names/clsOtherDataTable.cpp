#include "clsOtherDataTable.h"

#include "CclsSplit.h"
#include "basDataFile.h"
#include "basText.h"
#include "basTextFile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

clsNameDataPtr nameFromValue(const QString& value) {
    const CclsSplit fields(value, u","_s);
    return std::make_shared<clsNameData>(0, fields.Value(0), fields.Value(1));
}

QStringList courseListFromValue(const QString& value) {
    QStringList list;
    const CclsSplit parts(value, u","_s);
    for (int i = 0; i <= parts.Bound(); ++i) {
        const QString name = parts.Value(i);
        if (!name.isEmpty())
            list.append(name);
    }
    return list;
}

bool notCompeteValue(const QString& value) {
    return value == u"True"_s || value == u"true"_s;
}

QString nameValue(const clsNameDataPtr& name) {
    return name ? name->RunnerName + u',' + name->ClubName : u","_s;
}

} // namespace

void clsOtherDataTable::Clear() {
    m_specific.Clear();
    m_otherResults.clear();
}

Result clsOtherDataTable::OpenFolder(const QString& DataFolder) {
    m_folder = DataFolder;
    if (DataFolder.isEmpty())
        return {};
    const QString path = basDataFile::pathInFolder(DataFolder, QString::fromUtf16(FileName));
    if (!QFileInfo(path).isFile())
        return {};
    QStringList lines;
    if (Result r = basTextFile::readLines(path, &lines); !r)
        return r;
    for (const QString& line : std::as_const(lines))
        readLine(line);
    return {};
}

void clsOtherDataTable::loadBytes(const QByteArray& bytes) {
    const QStringList lines = basTextFile::splitLines(basText::fromWindows31J(bytes));
    for (const QString& line : lines)
        readLine(line);
}

bool clsOtherDataTable::readLine(const QString& line) {
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        return false;
    const QString head = basDataFile::trimSpaces(QStringView(line).left(colon));
    const bool specific = head == u"SpecificData"_s;
    if (!specific && head != u"OtherResultData"_s)
        return false;

    // Later items with the same key overwrite earlier ones within the line.
    QString uniqueKey, courseName, result;
    bool hasUniqueKey = false;
    clsNameDataPtr name;
    std::optional<QStringList> courseList;
    bool notCompete = false;
    const CclsSplit items(basDataFile::trimSpaces(QStringView(line).mid(colon + 1)), u";"_s);
    for (int i = 0; i <= items.Bound(); ++i) {
        const QString item = items.Value(i);
        const qsizetype eq = item.indexOf(u'=');
        // An item without "=" carries no value; reading it as an empty one could, for a class
        // list, take a read out of every class.
        if (eq < 0)
            continue;
        const QString k = basDataFile::trimSpaces(QStringView(item).left(eq));
        const QString v = basDataFile::trimSpaces(QStringView(item).mid(eq + 1));
        if (k == u"NameData"_s) {
            name = nameFromValue(v);
        } else if (k == u"NotCompete"_s) {
            notCompete = notCompeteValue(v);
        } else if (specific && k == u"UniqueKey"_s) {
            uniqueKey = v;
            hasUniqueKey = true;
        } else if (specific && k == u"CourseList"_s) {
            courseList = courseListFromValue(v);
        } else if (!specific && k == u"CourseName"_s) {
            courseName = v;
        } else if (!specific && k == u"Result"_s) {
            result = v;
        }
    }

    if (specific) {
        // Without its read's key the record could never be found again.
        if (!hasUniqueKey || uniqueKey.isEmpty())
            return true;
        auto data = std::make_shared<clsSpecificData>();
        data->EcardTagUniqueKey = uniqueKey;
        data->IsNotCompete = notCompete;
        data->CourseList = std::move(courseList);
        data->NameData = std::move(name);
        enterSpecific(data);
    } else {
        auto data = std::make_shared<clsOtherResultData>();
        data->CourseName = courseName;
        data->IsNotCompete = notCompete;
        data->NameData = name ? name : std::make_shared<clsNameData>();
        data->Result = result;
        m_otherResults.push_back(std::move(data));
    }
    return true;
}

clsSpecificDataPtr clsOtherDataTable::SpecificData(const QString& EcardUniqueKey) const {
    return m_specific.Item(EcardUniqueKey);
}

void clsOtherDataTable::enterSpecific(const clsSpecificDataPtr& data) {
    m_specific.Remove(data->EcardTagUniqueKey);
    m_specific.Add(data, data->EcardTagUniqueKey);
}

QString clsOtherDataTable::specificLine(const clsSpecificData& data) {
    QString line = u"SpecificData: UniqueKey="_s + data.EcardTagUniqueKey + u';';
    if (data.NameData)
        line += u"NameData="_s + nameValue(data.NameData) + u';';
    if (data.CourseList)
        line += u"CourseList="_s + data.CourseList->join(u',') + u';';
    if (data.IsNotCompete)
        line += u"NotCompete=True;"_s;
    return line;
}

QString clsOtherDataTable::otherResultLine(const clsOtherResultData& data) {
    QString line = u"OtherResultData: Result="_s + data.Result + u";CourseName="_s + data.CourseName +
                   u";NameData="_s + nameValue(data.NameData) + u';';
    if (data.IsNotCompete)
        line += u"NotCompete=True;"_s;
    return line;
}

Result clsOtherDataTable::append(const QString& line) {
    if (m_folder.isEmpty())
        return Result::failure(u"フォルダが選択されていないため Other.txt に保存できません。"_s);
    return basTextFile::appendLine(basDataFile::pathInFolder(m_folder, QString::fromUtf16(FileName)), line);
}

Result clsOtherDataTable::AddSpecificData(const clsSpecificDataPtr& NewSpecificData) {
    if (!NewSpecificData || NewSpecificData->EcardTagUniqueKey.isEmpty())
        return Result::failure(QString());
    if (Result r = append(specificLine(*NewSpecificData)); !r)
        return r;
    enterSpecific(NewSpecificData);
    return {};
}

Result clsOtherDataTable::AddOtherResultData(const clsOtherResultDataPtr& NewOtherResultData) {
    if (!NewOtherResultData)
        return Result::failure(QString());
    if (Result r = append(otherResultLine(*NewOtherResultData)); !r)
        return r;
    m_otherResults.push_back(NewOtherResultData);
    return {};
}
