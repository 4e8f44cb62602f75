#pragma once

// Every class definition of the open data folder, in table order, keyed by class name
// (without regard to letter case), and the file Course.txt that stores them.

#include "KeyedList.h"
#include "basTextFile.h"
#include "clsEcardCourseData.h"

#include <QString>
#include <QStringList>

#include <memory>

class clsCourseDataTable {
public:
    using CourseCollection = KeyedList<std::shared_ptr<clsEcardCourseData>>;
    static inline const QString FileName = QStringLiteral("Course.txt");

    clsCourseDataTable();

    // Replaces the list by an empty one. Lines kept from the loaded file (see KeptLines) stay,
    // so that rebuilding the table from an editor and saving does not drop them.
    void Clear();
    const CourseCollection& CourseList() const { return m_list; }
    // Rewrites Course.txt in the stored folder as a whole (atomically). On failure the result
    // carries the system's description and the old file is left as it was.
    basTextFile::Result Save() const;
    // Adds one definition from its text form "name,start,control...,finish". Returns false when
    // the line gives no definition: fewer than three fields or an empty name (dropped), or a
    // name already in the table or more than 50 controls (kept, see KeptLines).
    bool AddByString(const QString& Expression);
    // Remembers the folder and loads its Course.txt; a missing file loads nothing and is no
    // error, an unreadable one gives the system's description.
    basTextFile::Result OpenFolder(const QString& DataFolder);
    qint32 CourseCount() const { return m_list.Count(); }
    // By 1-based number or by class name; null when there is none.
    std::shared_ptr<clsEcardCourseData> CourseData(int Index) const { return m_list.Item(Index); }
    std::shared_ptr<clsEcardCourseData> CourseData(const QString& Index) const { return m_list.Item(Index); }

    // Lines of the loaded file that name a class already defined above them or hold more than
    // 50 controls. They take no part in checking, and Save writes them back unchanged after
    // the definitions, so a file written by other means loses nothing here.
    QStringList KeptLines() const { return m_keptLines; }
    QString DataFolder() const { return m_dataFolder; }
    QString FilePath() const;

private:
    CourseCollection m_list;
    QStringList m_keptLines;
    QString m_dataFolder;
};
