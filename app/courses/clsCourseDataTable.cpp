#include "clsCourseDataTable.h"

#include "basRuntime.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

clsCourseDataTable::clsCourseDataTable() = default;

void clsCourseDataTable::Clear() {
    m_list.Clear();
}

QString clsCourseDataTable::FilePath() const {
    // The folder may end in a backslash or "/"; one separator of this platform joins the two.
    if (m_dataFolder.isEmpty())
        return FileName;
    QString base = m_dataFolder;
    if (base.endsWith(u'\\') || base.endsWith(u'/'))
        base.chop(1);
    return base + u'/' + FileName;
}

bool clsCourseDataTable::AddByString(const QString& Expression) {
    const QStringList pieces = Expression.split(u',');
    const qsizetype b = pieces.size() - 1;
    const QString name = pieces[0].trimmed();
    if (name.isEmpty() || b < 2)
        return false;
    const qsizetype controls = b - 2;
    if (controls > clsEcardCourseData::MaxControlCount || m_list.Contains(name)) {
        m_keptLines.append(Expression.trimmed());
        return false;
    }
    auto course = std::make_shared<clsEcardCourseData>();
    course->setCourseName(name);
    course->setControlCount(static_cast<qint32>(controls));
    if (controls == 0)
        course->setForbidControl(true);
    for (qsizetype i = 1; i <= b; ++i)
        course->AddUnitCode(static_cast<qint32>(i - 1), basRuntime::leadingLong(pieces[i].trimmed()));
    course->setCourseNumber(CourseCount() + 1);
    m_list.Add(course, name);
    return true;
}

basTextFile::Result clsCourseDataTable::OpenFolder(const QString& DataFolder) {
    m_dataFolder = DataFolder;
    m_keptLines.clear();
    const QString path = FilePath();
    if (!QFileInfo::exists(path))
        return {};
    QStringList lines;
    const basTextFile::Result read = basTextFile::readLines(path, &lines);
    if (!read)
        return read;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (!t.isEmpty())
            AddByString(t);
    }
    return {};
}

basTextFile::Result clsCourseDataTable::Save() const {
    QStringList lines;
    lines.reserve(m_list.Count() + m_keptLines.size());
    for (const auto& entry : m_list) {
        const clsEcardCourseData& c = *entry.value;
        QString line = c.CourseName();
        for (int p = 0; p <= c.ControlCount() + 1; ++p)
            line += u',' + QString::number(c.UnitCode(p, 1));
        lines.append(line);
    }
    lines.append(m_keptLines);
    return basTextFile::writeLines(FilePath(), lines);
}
