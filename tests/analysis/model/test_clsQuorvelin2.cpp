#include "ProjectError.h"
#include "ProjectErrorCheck.h"
#include "basDate.h"
#include "basQuorvelin2.h"
#include "clsQuorvelin2.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList classNames(const clsQuorvelin2& root) {
    QStringList names;
    for (int i = 1; i <= root.ClassCount(); ++i)
        names << root.ClassData(i)->ClassName();
    return names;
}

TEST(clsQuorvelin2, SerialNumbersRunAcrossClassesAndRestartAfterClear) {
    clsQuorvelin2 root;
    auto a = root.AddClass(u"A"_s);
    auto b = root.AddClass(u"B"_s);
    EXPECT_EQ(a->AddLap()->SerialNum(), 1);
    EXPECT_EQ(b->AddLap()->SerialNum(), 2);
    EXPECT_EQ(a->AddLap()->SerialNum(), 3);
    EXPECT_TRUE(b->AddLapObject(std::make_shared<clsLapData>()));
    EXPECT_EQ(b->LapData(2)->SerialNum(), 4);
    root.Clear();
    EXPECT_EQ(root.ClassCount(), 0);
    EXPECT_EQ(root.AddClass(u"A"_s)->AddLap()->SerialNum(), 1);
}

TEST(clsQuorvelin2, ClearResetsTheDataSet) {
    clsQuorvelin2 root;
    root.setFileName(u"x.lxm"_s);
    root.setFileDate(45000);
    root.EventData()->setEventName(u"E"_s);
    root.MetaData()->setCreateApplication(u"App"_s);
    root.AddCourse(1);
    auto event = root.EventData();
    root.Clear();
    EXPECT_EQ(root.FileName(), QString());
    EXPECT_EQ(root.FileDate(), 0);
    EXPECT_EQ(root.CourseCount(), 0);
    EXPECT_NE(root.EventData(), event);
    EXPECT_EQ(root.EventData()->EventName(), QString());
    EXPECT_EQ(root.MetaData()->CreateApplication(), QString());
}

TEST(clsQuorvelin2, AddClassTwiceGivesTheSameObject) {
    clsQuorvelin2 root;
    auto first = root.AddClass(u"M21"_s);
    EXPECT_EQ(root.AddClass(u"M21"_s), first);
    EXPECT_EQ(root.AddClass(u"m21"_s), first); // keys ignore case
    EXPECT_EQ(root.ClassCount(), 1);
    EXPECT_TRUE(root.IsClassExists(u"m21"_s));
    EXPECT_FALSE(root.IsClassExists(u"W21"_s));
    EXPECT_EQ(root.ClassData(u"M21"_s), first);
    EXPECT_EQ(root.ClassData(1), first);
    EXPECT_EQ(root.ClassData(2), nullptr);
    EXPECT_EQ(root.ClassData(u"W21"_s), nullptr);
    root.RemoveClass(u"W21"_s); // missing: ignored
    EXPECT_EQ(root.ClassCount(), 1);
    root.RemoveClass(u"m21"_s);
    EXPECT_EQ(root.ClassCount(), 0);
    EXPECT_FALSE(root.AddClassObject(nullptr));
}

TEST(clsQuorvelin2, RunnersWithoutAClassShareOneClass) {
    clsQuorvelin2 root;
    root.AddClass(u"A"_s);
    auto unnamed = root.AddClass(QString());
    EXPECT_EQ(root.AddClass(QString()), unnamed);
    EXPECT_EQ(root.ClassCount(), 2);
    auto other = std::make_shared<clsClassData>();
    EXPECT_FALSE(root.AddClassObject(other));
    EXPECT_EQ(root.ClassCount(), 2);
}

TEST(clsQuorvelin2, SortClass) {
    struct Case {
        QString expression;
        QStringList expected;
    };
    const Case cases[] = {
        {u"3,1"_s, {u"C"_s, u"A"_s, u"B"_s, u"D"_s}},     {u""_s, {u"A"_s, u"B"_s, u"C"_s, u"D"_s}},
        {u"4,3,2,1"_s, {u"D"_s, u"C"_s, u"B"_s, u"A"_s}}, {u"0,2,,-1"_s, {u"B"_s, u"A"_s, u"C"_s, u"D"_s}},
        {u" 2 , 4"_s, {u"B"_s, u"D"_s, u"A"_s, u"C"_s}},
    };
    for (const auto& c : cases) {
        clsQuorvelin2 root;
        for (const QString& n : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
            root.AddClass(n);
        root.SortClass(c.expression);
        EXPECT_EQ(classNames(root), c.expected) << c.expression.toStdString();
        for (const QString& n : c.expected)
            EXPECT_EQ(root.ClassData(n)->ClassName(), n)
                << "look-up by name after " << c.expression.toStdString();
    }
}

TEST(clsQuorvelin2, SortClassRejectsBadPositionsAndKeepsTheList) {
    struct Case {
        QString expression;
        ProjectError::Number number;
    };
    const Case cases[] = {
        {u"5"_s, ProjectError::OutOfRange},
        {u"1,9"_s, ProjectError::OutOfRange},
        {u"2,2"_s, ProjectError::DuplicateKey},
    };
    for (const auto& c : cases) {
        clsQuorvelin2 root;
        for (const QString& n : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
            root.AddClass(n);
        EXPECT_PROJECT_ERROR(root.SortClass(c.expression), c.number) << c.expression.toStdString();
        EXPECT_EQ(classNames(root), (QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s}));
    }
}

TEST(clsQuorvelin2, RenameClassKeepsThePositionAndRenamesRecords) {
    struct Case {
        QString oldName;
        QString newName;
        QStringList expected;
    };
    const Case cases[] = {
        {u"A"_s, u"X"_s, {u"X"_s, u"B"_s, u"C"_s}},
        {u"B"_s, u"X"_s, {u"A"_s, u"X"_s, u"C"_s}},
        {u"C"_s, u"X"_s, {u"A"_s, u"B"_s, u"X"_s}},
        {u"b"_s, u"X"_s, {u"A"_s, u"B"_s, u"C"_s}}, // names compare exactly
        {u"B"_s, u"b"_s, {u"A"_s, u"b"_s, u"C"_s}}, // a change of case is a rename
        {u"Q"_s, u"X"_s, {u"A"_s, u"B"_s, u"C"_s}},
    };
    for (const auto& c : cases) {
        clsQuorvelin2 root;
        for (const QString& n : {u"A"_s, u"B"_s, u"C"_s})
            root.AddClass(n)->AddLap();
        root.RenameClass(c.oldName, c.newName);
        EXPECT_EQ(classNames(root), c.expected) << c.oldName.toStdString();
        for (const QString& n : c.expected) {
            auto cls = root.ClassData(n);
            ASSERT_NE(cls, nullptr) << n.toStdString();
            EXPECT_EQ(cls->LapData(1)->ClassName(), n);
            EXPECT_EQ(cls->FileName(), n.toLower());
        }
    }
    clsQuorvelin2 single;
    single.AddClass(u"A"_s);
    single.RenameClass(u"A"_s, u"Z"_s);
    EXPECT_EQ(classNames(single), QStringList{u"Z"_s});
}

TEST(clsQuorvelin2, RenameClassOntoAnotherClassNameLosesNothing) {
    clsQuorvelin2 root;
    root.AddClass(u"A"_s)->AddLap();
    root.AddClass(u"B"_s);
    EXPECT_PROJECT_ERROR(root.RenameClass(u"A"_s, u"b"_s), ProjectError::DuplicateKey);
    EXPECT_EQ(classNames(root), (QStringList{u"A"_s, u"B"_s}));
    EXPECT_EQ(root.ClassData(u"A"_s)->LapCount(), 1);
}

TEST(clsQuorvelin2, CoursesByIndexAndPosition) {
    clsQuorvelin2 root;
    auto c5 = root.AddCourse(5);
    auto c2 = root.AddCourse(2);
    EXPECT_EQ(root.AddCourse(5), c5);
    EXPECT_EQ(root.CourseCount(), 2);
    EXPECT_EQ(c5->CourseIndex(), 5);
    EXPECT_EQ(root.CourseData(1), c5);
    EXPECT_EQ(root.CourseData(u"2"_s), c2);
    EXPECT_EQ(root.CourseData(u"7"_s), nullptr);
    EXPECT_EQ(root.CourseData(3), nullptr);
    EXPECT_TRUE(root.IsCourseExists(2));
    EXPECT_FALSE(root.IsCourseExists(1));
    root.RemoveCourse(9);
    root.RemoveCourse(5);
    EXPECT_EQ(root.CourseCount(), 1);
    EXPECT_FALSE(root.AddCourseObject(c2));
    root.ClearCourse();
    EXPECT_EQ(root.CourseCount(), 0);
    EXPECT_TRUE(root.AddCourseObject(c2));
}

TEST(clsCourseData, StartFinishAndTable) {
    clsCourseData course;
    course.setControlCount(3);
    course.setControlNum(0, 77);
    for (int i = 1; i <= 4; ++i)
        course.setControlNum(i, 100 + i);
    struct Case {
        int index;
        qint32 code;
    };
    const Case cases[] = {{0, 0}, {1, 101}, {3, 103}, {4, 9999}, {50, 9999}, {51, 9999}};
    for (const auto& c : cases)
        EXPECT_EQ(course.ControlNum(c.index), c.code) << c.index;
    EXPECT_PROJECT_ERROR(course.setControlNum(51, 1), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(course.setControlNum(-1, 1), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(course.ControlNum(-1), ProjectError::OutOfRange);
    course.setControlCount(60);
    EXPECT_EQ(course.ControlNum(50), 0);
    EXPECT_PROJECT_ERROR(course.ControlNum(51), ProjectError::OutOfRange);
}

TEST(clsQuorvelin2, ClassAndCourseListAndItsSeparation) {
    clsQuorvelin2 root;
    struct ClassSpec {
        QString name;
        qint32 course;
        int runners;
    };
    for (const ClassSpec& s : {ClassSpec{u"M21"_s, 1, 12}, ClassSpec{u"W21"_s, 1, 8},
                               ClassSpec{u"M35"_s, 2, 5}, ClassSpec{u"Open"_s, 0, 1}}) {
        auto c = root.AddClass(s.name);
        c->setCourseNum(s.course);
        for (int i = 0; i < s.runners; ++i)
            c->AddLap();
    }
    const QStringList list = root.ClassAndCourseList();
    EXPECT_EQ(list, (QStringList{u"1,,M21,m21,12"_s, u"2,,W21,w21,8"_s, u"3,,M35,m35,5"_s,
                                 u"4,,Open,open,1"_s, u",1,M21/W21,m21_w21,20"_s}));

    struct Case {
        QString expression;
        QString valueName;
        qint32 classIndex;
        qint32 courseNum;
        QString fileName;
        qint32 runners;
    };
    const Case cases[] = {
        {u",1,M21/W21,m21_w21,20"_s, u"M21/W21"_s, 0, 1, u"m21_w21"_s, 20},
        {u"3,,M35,m35,5"_s, u"M35"_s, 3, 0, u"m35"_s, 5},
        {u"2"_s, u""_s, 2, 0, u""_s, 0},
        {u""_s, u""_s, 0, 0, u""_s, 0},
    };
    for (const auto& c : cases) {
        QString valueName = u"old"_s, fileName = u"old"_s;
        qint32 classIndex = -1, courseNum = -1, runners = -1;
        root.SeparateClassAndCourseValue(c.expression, valueName, classIndex, courseNum, fileName, runners);
        EXPECT_EQ(valueName, c.valueName) << c.expression.toStdString();
        EXPECT_EQ(classIndex, c.classIndex) << c.expression.toStdString();
        EXPECT_EQ(courseNum, c.courseNum) << c.expression.toStdString();
        EXPECT_EQ(fileName, c.fileName) << c.expression.toStdString();
        EXPECT_EQ(runners, c.runners) << c.expression.toStdString();
    }
}

TEST(clsQuorvelin2, ASingleClassWithSeparatorsInItsNameIsNoSharedCourse) {
    clsQuorvelin2 root;
    auto c = root.AddClass(u"M/W_21"_s);
    c->setCourseNum(1);
    c->setFileName(u"m_w21"_s);
    const QStringList list = root.ClassAndCourseList();
    EXPECT_EQ(list, QStringList{u"1,,M/W_21,m_w21,0"_s});
}

TEST(clsQuorvelin2, VersionAndEventText) {
    clsQuorvelin2 root;
    EXPECT_EQ(root.Version(false), u"2.16"_s);
    EXPECT_EQ(root.Version(), u"2.16 ( Build "_s + QString::number(QUORVELIN2_BUILD) + u" )"_s);

    struct Case {
        QString name;
        QString terrain;
        double date;
        QString expected;
    };
    const double day = basDate::dateSerial(2024, 11, 3);
    const Case cases[] = {
        {u"Cup"_s, u""_s, 0, u"Cup"_s},
        {u"Cup"_s, u"Forest"_s, 0, u"Cup [Forest] "_s},
        {u"Cup"_s, u""_s, day, u"Cup 2024年11月03日"_s},
        {u"Cup"_s, u"Forest"_s, day, u"Cup [Forest]  2024年11月03日"_s},
    };
    for (const auto& c : cases) {
        clsEventData e;
        e.setEventName(c.name);
        e.setTerrain(c.terrain);
        e.EventDate()->setValue(c.date);
        EXPECT_EQ(e.ToString(), c.expected);
    }
}

TEST(basQuorvelin2, FactoryAndCurrentRoot) {
    EXPECT_EQ(basQuorvelin2::CreateObject(u"Quorvelin2.clsUnknown"), nullptr);
    auto first = basQuorvelin2::CreateObject(u"Quorvelin2.clsQuorvelin2");
    ASSERT_NE(first, nullptr);
    auto* root1 = qobject_cast<clsQuorvelin2*>(first.get());
    ASSERT_NE(root1, nullptr);
    EXPECT_EQ(basQuorvelin2::CurrentRoot(), root1);
    EXPECT_EQ(root1->FileControl()->root(), root1);
    EXPECT_EQ(root1->ConfigControl()->root(), root1);
    {
        clsQuorvelin2 second;
        EXPECT_EQ(basQuorvelin2::CurrentRoot(), &second);
    }
    // The newer root ended: no dangling current root.
    EXPECT_EQ(basQuorvelin2::CurrentRoot(), nullptr);
    basQuorvelin2::SetErrorComment(u"failed"_s);
    EXPECT_EQ(root1->ErrorComment(), u"failed"_s);
    basQuorvelin2::SetErrorComment(QString());
}

} // namespace
