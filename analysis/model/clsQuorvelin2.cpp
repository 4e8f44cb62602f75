#include "clsQuorvelin2.h"

#include "ProjectError.h"
#include "basAutomation.h"
#include "basQuorvelin2.h"
#include "basRuntime.h"
#include "clsAnalyzer.h"
#include "clsResultsHolder.h"
#include "clsSegmentData.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {
const bool registered = basAutomation::registerShared<clsQuorvelin2>();

#define QV_STRINGIFY2(x) #x
#define QV_STRINGIFY(x) QV_STRINGIFY2(x)
#ifndef QUORVELIN2_VERSION_MAJOR
#error "the build must define QUORVELIN2_VERSION_MAJOR, QUORVELIN2_VERSION_MINOR and QUORVELIN2_BUILD"
#endif
constexpr int VersionMajor = QUORVELIN2_VERSION_MAJOR;
constexpr int VersionMinor = QUORVELIN2_VERSION_MINOR;
const char* const BuildNumber = QV_STRINGIFY(QUORVELIN2_BUILD);

QString expressionOf(const QString& position, const QString& course, const QString& name,
                     const QString& fileName, qint32 runners) {
    return position + u',' + course + u',' + name + u',' + fileName + u',' + QString::number(runners);
}
} // namespace

clsQuorvelin2::clsQuorvelin2()
    : m_fileControl(std::make_unique<clsFileControl>(this)),
      m_graphicControl(std::make_unique<clsGraphicControl>(this)),
      m_htmlControl(std::make_unique<clsHtmlControl>(this)),
      m_textControl(std::make_unique<clsTextControl>(this)),
      m_configControl(std::make_unique<clsConfigControl>(this)) {
    basQuorvelin2::SetCurrentRoot(this);
    Clear();
}

clsQuorvelin2::~clsQuorvelin2() {
    // The controls go first, while the data set they reach is still whole.
    m_configControl.reset();
    m_textControl.reset();
    m_htmlControl.reset();
    m_graphicControl.reset();
    m_fileControl.reset();
    basQuorvelin2::ReleaseCurrentRoot(this);
}

QString clsQuorvelin2::ErrorComment() const {
    return basQuorvelin2::ErrorComment();
}

std::shared_ptr<clsAnalyzer> clsQuorvelin2::NewAnalyzer() const {
    return std::make_shared<clsAnalyzer>();
}

std::shared_ptr<clsResultsHolder> clsQuorvelin2::NewResultsHolder() const {
    return std::make_shared<clsResultsHolder>();
}

std::shared_ptr<clsClassData> clsQuorvelin2::AddClass(const QString& ClassName) {
    if (ClassPtr existing = m_classes.Item(ClassName))
        return existing;
    // An empty name is no key of the list: look for the class by its name instead, so that
    // runners without a class all go to one class.
    if (ClassName.isEmpty()) {
        for (const auto& entry : m_classes) {
            if (entry.value->ClassName().isEmpty())
                return entry.value;
        }
    }
    auto classData = std::make_shared<clsClassData>();
    classData->setClassName(ClassName);
    m_classes.Add(classData, ClassName);
    return classData;
}

void clsQuorvelin2::RemoveClass(const QString& ClassName) {
    m_classes.Remove(ClassName);
}

void clsQuorvelin2::RenameClass(const QString& OldName, const QString& NewName) {
    int position = 0;
    for (int i = 1; i <= m_classes.Count(); ++i) {
        if (m_classes.Item(i)->ClassName() == OldName) {
            position = i;
            break;
        }
    }
    if (position == 0)
        return;
    // Re-inserting under a name another class holds would drop this class.
    const int holder = m_classes.IndexOf(NewName);
    if (holder != 0 && holder != position)
        throw ProjectError(ProjectError::DuplicateKey, u"This key is already associated with an element of "
                                                       u"this collection: "_s +
                                                           NewName);
    const ClassPtr classData = m_classes.Item(position);
    m_classes.Remove(position);
    classData->setClassName(NewName);
    if (m_classes.isEmpty())
        m_classes.Add(classData, NewName);
    else if (position > 1)
        m_classes.AddAfter(position - 1, classData, NewName);
    else
        m_classes.AddBefore(1, classData, NewName);
    for (int i = 1; i <= classData->LapCount(); ++i)
        classData->LapData(i)->setClassName(NewName);
}

std::shared_ptr<clsClassData> clsQuorvelin2::ClassData(const QVariant& ClassID) const {
    if (ClassID.typeId() == QMetaType::QString)
        return m_classes.Item(ClassID.toString());
    bool ok = false;
    const double position = ClassID.toDouble(&ok);
    if (!ok)
        return nullptr;
    return m_classes.Item(static_cast<int>(basRuntime::roundHalfEven(position)));
}

std::shared_ptr<clsCourseData> clsQuorvelin2::AddCourse(qint32 CourseIndex) {
    const QString key = QString::number(CourseIndex);
    if (CoursePtr existing = m_courses.Item(key))
        return existing;
    auto course = std::make_shared<clsCourseData>();
    course->setCourseIndex(CourseIndex);
    m_courses.Add(course, key);
    return course;
}

void clsQuorvelin2::RemoveCourse(qint32 CourseIndex) {
    m_courses.Remove(QString::number(CourseIndex));
}

std::shared_ptr<clsCourseData> clsQuorvelin2::CourseData(const QVariant& CourseID) const {
    if (CourseID.typeId() == QMetaType::QString)
        return m_courses.Item(CourseID.toString());
    bool ok = false;
    const double position = CourseID.toDouble(&ok);
    if (!ok)
        return nullptr;
    return m_courses.Item(static_cast<int>(basRuntime::roundHalfEven(position)));
}

void clsQuorvelin2::ClearCourse() {
    m_courses.Clear();
    m_segments.clear();
}

bool clsQuorvelin2::IsCourseExists(qint32 CourseIndex) const {
    return m_courses.Contains(QString::number(CourseIndex));
}

QStringList clsQuorvelin2::ClassAndCourseList() const {
    struct CourseEntry {
        qint32 course;
        QString name;
        QString fileName;
        qint32 runners;
        int classes;
    };
    QStringList list;
    std::vector<CourseEntry> courses;
    for (int i = 1; i <= m_classes.Count(); ++i) {
        const ClassPtr c = m_classes.Item(i);
        list.append(
            expressionOf(QString::number(i), QString(), c->ClassName(), c->FileName(), c->LapCount()));
        if (c->CourseNum() == 0)
            continue;
        auto it = std::find_if(courses.begin(), courses.end(),
                               [&](const CourseEntry& e) { return e.course == c->CourseNum(); });
        if (it == courses.end()) {
            courses.push_back({c->CourseNum(), c->ClassName(), c->FileName(), c->LapCount(), 1});
        } else {
            it->name += u'/' + c->ClassName();
            it->fileName += u'_' + c->FileName();
            it->runners += c->LapCount();
            ++it->classes;
        }
    }
    // Only shared courses: a single class whose own name holds "/" and "_" is no course entry.
    for (const CourseEntry& e : courses) {
        if (e.classes >= 2)
            list.append(expressionOf(QString(), QString::number(e.course), e.name, e.fileName, e.runners));
    }
    return list;
}

void clsQuorvelin2::SeparateClassAndCourseValue(const QString& Expression, QString& ValueName,
                                                qint32& ClassIndex, qint32& CourseNum, QString& FileName,
                                                qint32& RunnerCount) const {
    const QStringList fields = Expression.split(u',');
    ClassIndex = basRuntime::leadingLong(fields.value(0));
    CourseNum = basRuntime::leadingLong(fields.value(1));
    ValueName = fields.value(2);
    FileName = fields.value(3);
    RunnerCount = basRuntime::leadingLong(fields.value(4));
}

void clsQuorvelin2::SortLap() {
    for (const auto& entry : m_classes)
        entry.value->SortLap();
}

void clsQuorvelin2::SortClass(const QString& OrderExpression) {
    const int count = m_classes.Count();
    std::vector<int> order;
    QSet<int> used;
    for (const QString& field : OrderExpression.split(u',')) {
        const int n = basRuntime::leadingLong(field);
        if (n <= 0)
            continue;
        if (n > count)
            throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
        if (used.contains(n))
            throw ProjectError(ProjectError::DuplicateKey,
                               u"Class position given twice: "_s + QString::number(n));
        used.insert(n);
        order.push_back(n);
    }
    for (int i = 1; i <= count; ++i) {
        if (!used.contains(i))
            order.push_back(i);
    }
    KeyedList<ClassPtr> sorted;
    for (const int n : order)
        sorted.Add(m_classes.Item(n), m_classes.Key(n));
    m_classes = std::move(sorted);
}

std::shared_ptr<clsSegmentData> clsQuorvelin2::SegmentData(qint32 Index) const {
    if (Index < 1 || Index > SegmentCount())
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
    return m_segments[static_cast<size_t>(Index - 1)];
}

void clsQuorvelin2::MakeSegmentSet() {
    m_segments = clsSegmentData::MakeSegmentSet(*this);
}

void clsQuorvelin2::Clear() {
    basQuorvelin2::ResetSerialNumber();
    m_classes = KeyedList<ClassPtr>();
    m_courses = KeyedList<CoursePtr>();
    m_segments.clear();
    m_eventData = std::make_shared<clsEventData>();
    m_metaData = std::make_shared<clsMetaData>();
    m_fileName.clear();
    m_fileDate = 0;
}

QString clsQuorvelin2::Version(bool WithTestBuild) const {
    QString text = QString::number(VersionMajor) + u'.' + u"%1"_s.arg(VersionMinor, 2, 10, QLatin1Char('0'));
    if (WithTestBuild)
        text += u" ( Build "_s + QString::fromLatin1(BuildNumber) + u" )"_s;
    return text;
}

bool clsQuorvelin2::AddClassObject(const ClassPtr& classData) {
    if (!classData)
        return false;
    if (classData->ClassName().isEmpty()) {
        for (const auto& entry : m_classes) {
            if (entry.value->ClassName().isEmpty())
                return false;
        }
    }
    return m_classes.Add(classData, classData->ClassName());
}

bool clsQuorvelin2::AddCourseObject(const CoursePtr& courseData) {
    if (!courseData)
        return false;
    return m_courses.Add(courseData, QString::number(courseData->CourseIndex()));
}
