#pragma once

#include "Quorvelin2Global.h"

#include "KeyedList.h"
#include "clsClassData.h"
#include "clsConfigControl.h"
#include "clsCourseData.h"
#include "clsEventData.h"
#include "clsFileControl.h"
#include "clsGraphicControl.h"
#include "clsHtmlControl.h"
#include "clsMetaData.h"
#include "clsTextControl.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class clsAnalyzer;
class clsResultsHolder;
class clsSegmentData;

// The library's root object: the event, the metadata, the classes, the courses, the common
// course segments and one control each for files, graphics, HTML, text and settings. Creating
// one makes it the current root object of its thread.
class QV_EXPORT clsQuorvelin2 : public QObject {
    Q_OBJECT
public:
    using ClassPtr = std::shared_ptr<clsClassData>;
    using CoursePtr = std::shared_ptr<clsCourseData>;
    using SegmentPtr = std::shared_ptr<clsSegmentData>;

    clsQuorvelin2();
    ~clsQuorvelin2() override;

    Q_INVOKABLE QString FileName() const { return m_fileName; }
    Q_INVOKABLE void setFileName(const QString& FileName) { m_fileName = FileName; }
    Q_INVOKABLE double FileDate() const { return m_fileDate; }
    Q_INVOKABLE void setFileDate(double FileDate) { m_fileDate = FileDate; }
    Q_INVOKABLE QString ErrorComment() const;
    // A new, empty analyzer (results holder) on every call.
    Q_INVOKABLE std::shared_ptr<clsAnalyzer> NewAnalyzer() const;
    Q_INVOKABLE std::shared_ptr<clsResultsHolder> NewResultsHolder() const;
    Q_INVOKABLE std::shared_ptr<clsEventData> EventData() const { return m_eventData; }
    Q_INVOKABLE clsFileControl* FileControl() const { return m_fileControl.get(); }
    Q_INVOKABLE clsGraphicControl* GraphicControl() const { return m_graphicControl.get(); }
    Q_INVOKABLE clsHtmlControl* HtmlControl() const { return m_htmlControl.get(); }
    Q_INVOKABLE clsTextControl* TextControl() const { return m_textControl.get(); }
    Q_INVOKABLE clsConfigControl* ConfigControl() const { return m_configControl.get(); }
    Q_INVOKABLE std::shared_ptr<clsMetaData> MetaData() const { return m_metaData; }
    // The class of that name, created and appended when there is none.
    Q_INVOKABLE std::shared_ptr<clsClassData> AddClass(const QString& ClassName);
    Q_INVOKABLE void RemoveClass(const QString& ClassName);
    // Renames the first class named OldName in place; raises DuplicateKey when another class
    // already has the name NewName.
    Q_INVOKABLE void RenameClass(const QString& OldName, const QString& NewName);
    // By 1-based position (a number) or by name (a text); nothing when there is no such class.
    Q_INVOKABLE std::shared_ptr<clsClassData> ClassData(const QVariant& ClassID) const;
    Q_INVOKABLE qint32 ClassCount() const { return m_classes.Count(); }
    Q_INVOKABLE bool IsClassExists(const QString& ClassName) const { return m_classes.Contains(ClassName); }
    Q_INVOKABLE std::shared_ptr<clsCourseData> AddCourse(qint32 CourseIndex);
    Q_INVOKABLE void RemoveCourse(qint32 CourseIndex);
    // By 1-based position (a number) or by key (the index as a text); nothing when missing.
    Q_INVOKABLE std::shared_ptr<clsCourseData> CourseData(const QVariant& CourseID) const;
    Q_INVOKABLE qint32 CourseCount() const { return m_courses.Count(); }
    Q_INVOKABLE void ClearCourse();
    Q_INVOKABLE bool IsCourseExists(qint32 CourseIndex) const;
    // Class expressions "position,,name,file name,runners" for every class, then course
    // expressions ",course,name/name,file_file,runners" for courses two or more classes share.
    Q_INVOKABLE QStringList ClassAndCourseList() const;
    Q_INVOKABLE void SeparateClassAndCourseValue(const QString& Expression, QString& ValueName,
                                                 qint32& ClassIndex, qint32& CourseNum, QString& FileName,
                                                 qint32& RunnerCount) const;
    Q_INVOKABLE void SortLap();
    // A comma-separated list of 1-based positions that come first, in that order; raises a
    // subscript error (list unchanged) for a position outside 1 to ClassCount and a duplicate-key
    // error for a position given twice.
    Q_INVOKABLE void SortClass(const QString& OrderExpression);
    // 1-based; a position that does not exist raises a subscript error.
    Q_INVOKABLE std::shared_ptr<clsSegmentData> SegmentData(qint32 Index) const;
    Q_INVOKABLE qint32 SegmentCount() const { return static_cast<qint32>(m_segments.size()); }
    // Rebuilds the segment list from the courses as they are now.
    Q_INVOKABLE void MakeSegmentSet();
    Q_INVOKABLE void Clear();
    // "2.16 ( Build n )", or "2.16" without the build.
    Q_INVOKABLE QString Version(bool WithTestBuild = true) const;

    // Library-internal: adds an existing class (course) under its own name (index); false when
    // the key exists already.
    bool AddClassObject(const ClassPtr& classData);
    bool AddCourseObject(const CoursePtr& courseData);
    const KeyedList<ClassPtr>& Classes() const { return m_classes; }
    const KeyedList<CoursePtr>& Courses() const { return m_courses; }
    const std::vector<SegmentPtr>& Segments() const { return m_segments; }
    void setSegments(std::vector<SegmentPtr> segments) { m_segments = std::move(segments); }

private:
    QString m_fileName;
    double m_fileDate = 0;
    KeyedList<ClassPtr> m_classes;
    KeyedList<CoursePtr> m_courses;
    std::vector<SegmentPtr> m_segments;
    std::shared_ptr<clsEventData> m_eventData;
    std::unique_ptr<clsFileControl> m_fileControl;
    std::unique_ptr<clsGraphicControl> m_graphicControl;
    std::unique_ptr<clsHtmlControl> m_htmlControl;
    std::unique_ptr<clsTextControl> m_textControl;
    std::unique_ptr<clsConfigControl> m_configControl;
    std::shared_ptr<clsMetaData> m_metaData;
};
