#include "ProjectError.h"
#include "ProjectErrorCheck.h"
#include "TestFolder.h"
#include "clsCourseDataTable.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct CodesOf {
    QString name;
    int controlCount;
    bool forbid;
    std::vector<int> codes; // first code of every position
};

CodesOf describe(const clsEcardCourseData& c) {
    CodesOf d{c.CourseName(), c.ControlCount(), c.ForbidControl(), {}};
    for (int p = 0; p <= c.ControlCount() + 1; ++p)
        d.codes.push_back(c.UnitCode(p, 1));
    return d;
}

TEST(CourseData, UnitCodesPerPosition) {
    clsEcardCourseData c;
    c.setControlCount(2);
    EXPECT_FALSE(c.IsLiftUpStart());
    EXPECT_FALSE(c.IsPunchingFinish());
    c.AddUnitCode(0, 0);
    c.AddUnitCode(1, 31);
    c.AddUnitCode(1, 41);
    c.AddUnitCode(1, 51);
    EXPECT_PROJECT_ERROR(c.AddUnitCode(1, 61), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(c.AddUnitCode(52, 1), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(c.AddUnitCode(-1, 1), ProjectError::OutOfRange);
    c.AddUnitCode(3, 100);
    EXPECT_TRUE(c.IsLiftUpStart());
    EXPECT_TRUE(c.IsPunchingFinish());
    EXPECT_EQ(c.UnitCodeKind(1), 3);
    EXPECT_EQ(c.UnitCode(1, 2), 41);
    EXPECT_EQ(c.UnitCode(2, 1), 0);
    EXPECT_EQ(c.UnitCodeKind(2), 0);
    EXPECT_PROJECT_ERROR(c.UnitCode(1, 4), ProjectError::OutOfRange);
    EXPECT_PROJECT_ERROR(c.setControlCount(51), ProjectError::OutOfRange);
    // ForbidControl holds only without controls.
    c.setForbidControl(true);
    EXPECT_FALSE(c.ForbidControl());
    c.setControlCount(0);
    c.setForbidControl(true);
    EXPECT_TRUE(c.ForbidControl());
    c.setControlCount(1);
    EXPECT_FALSE(c.ForbidControl());
    c.setCourseNumber(7);
    EXPECT_EQ(c.CourseNumber(), 7);
    c.Clear();
    EXPECT_EQ(c.ControlCount(), 0);
    EXPECT_FALSE(c.IsLiftUpStart());
    EXPECT_EQ(c.UnitCodeKind(1), 0);
}

TEST(CourseDataTable, LinesGiveDefinitions) {
    struct Row {
        QString line;
        bool added;
        CodesOf want;
    } rows[] = {
        {u"A,0,31,32,100"_s, true, {u"A"_s, 2, false, {0, 31, 32, 100}}},
        {u"A,0,100"_s, true, {u"A"_s, 0, true, {0, 100}}},
        {u"A , 0 , 31 , 100"_s, true, {u"A"_s, 1, false, {0, 31, 100}}},
        {u"M21E,1,x31,2.5,3.5,7"_s,
         true,
         {u"M21E"_s, 3, false, {1, 0, 2, 4, 7}}}, // leading number, ties to even
        {u"B,,5,"_s, true, {u"B"_s, 1, false, {0, 5, 0}}},
        {u"A,0"_s, false, {}},
        {u",0,31,100"_s, false, {}},
        {u"A"_s, false, {}},
        {u""_s, false, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line.toStdString());
        clsCourseDataTable table;
        EXPECT_EQ(table.AddByString(r.line), r.added);
        ASSERT_EQ(table.CourseCount(), r.added ? 1 : 0);
        EXPECT_TRUE(table.KeptLines().isEmpty());
        if (!r.added)
            continue;
        const auto c = table.CourseData(1);
        const CodesOf d = describe(*c);
        EXPECT_EQ(d.name, r.want.name);
        EXPECT_EQ(d.controlCount, r.want.controlCount);
        EXPECT_EQ(d.forbid, r.want.forbid);
        EXPECT_EQ(d.codes, r.want.codes);
        EXPECT_TRUE(c->IsLiftUpStart());
        EXPECT_TRUE(c->IsPunchingFinish());
        EXPECT_EQ(c->CourseNumber(), 1);
    }
}

TEST(CourseDataTable, LookupByNumberAndName) {
    clsCourseDataTable table;
    table.AddByString(u"M21A,0,31,100"_s);
    table.AddByString(u"W21A,0,32,100"_s);
    EXPECT_EQ(table.CourseData(u"m21a"_s), table.CourseData(1));
    EXPECT_EQ(table.CourseData(2)->CourseNumber(), 2);
    EXPECT_EQ(table.CourseData(3), nullptr);
    EXPECT_EQ(table.CourseData(0), nullptr);
    EXPECT_EQ(table.CourseData(u"X"_s), nullptr);
    table.Clear();
    EXPECT_EQ(table.CourseCount(), 0);
}

TEST(CourseDataTable, FileRoundTripAndUnusualLines) {
    TestFolder dir;
    dir.write(u"Course.txt"_s, "M21A , 0 , 31 , 32 , 100\r\n"
                               "\r\n"
                               "  W21A,0,40,100  \r\n"
                               "broken\r\n"
                               "m21a,0,55,100\r\n"
                               "Open,0,100\r\n");
    QByteArray longLine = "Long,0";
    for (int i = 1; i <= 51; ++i)
        longLine += "," + QByteArray::number(30 + i);
    longLine += ",100";
    QByteArray content = dir.read(u"Course.txt"_s) + longLine + "\r\n";
    dir.write(u"Course.txt"_s, content);

    clsCourseDataTable table;
    ASSERT_TRUE(table.OpenFolder(dir.path() + u"\\"_s));
    ASSERT_EQ(table.CourseCount(), 3);
    EXPECT_EQ(describe(*table.CourseData(1)).codes, (std::vector<int>{0, 31, 32, 100}));
    EXPECT_EQ(table.CourseData(2)->CourseName(), u"W21A"_s);
    EXPECT_TRUE(table.CourseData(u"open"_s)->ForbidControl());
    // The second M21A and the line with 51 controls take no part, but are not lost.
    EXPECT_EQ(table.KeptLines(), (QStringList{u"m21a,0,55,100"_s, QString::fromLatin1(longLine)}));

    ASSERT_TRUE(table.Save());
    EXPECT_EQ(dir.read(u"Course.txt"_s),
              "M21A,0,31,32,100\r\nW21A,0,40,100\r\nOpen,0,100\r\nm21a,0,55,100\r\n" + longLine + "\r\n");

    // Rebuilt from an editor: cleared, filled again, saved. The kept lines stay with the file.
    table.Clear();
    table.AddByString(u"New,0,77,100"_s);
    ASSERT_TRUE(table.Save());
    EXPECT_EQ(dir.read(u"Course.txt"_s), "New,0,77,100\r\nm21a,0,55,100\r\n" + longLine + "\r\n");

    clsCourseDataTable again;
    ASSERT_TRUE(again.OpenFolder(dir.path() + u"/"_s));
    EXPECT_EQ(again.CourseCount(), 2);
    EXPECT_EQ(again.CourseData(2)->CourseName(), u"m21a"_s);
    EXPECT_TRUE(again.KeptLines().size() == 1);
}

TEST(CourseDataTable, MissingFileLeavesTheTableAndUnwritableFolderFails) {
    TestFolder dir;
    clsCourseDataTable table;
    table.AddByString(u"A,0,100"_s);
    EXPECT_TRUE(table.OpenFolder(dir.path()));
    EXPECT_EQ(table.CourseCount(), 1);
    EXPECT_FALSE(dir.exists(u"Course.txt"_s));
    ASSERT_TRUE(table.OpenFolder(dir.file(u"no/such/folder"_s)));
    const auto saved = table.Save();
    EXPECT_FALSE(saved);
    EXPECT_FALSE(saved.error.isEmpty());
}

TEST(CourseDataTable, AlternativeCodesAreNotWritten) {
    TestFolder dir;
    clsCourseDataTable table;
    table.OpenFolder(dir.path());
    table.AddByString(u"A,0,31,100"_s);
    table.CourseData(1)->AddUnitCode(1, 41);
    ASSERT_TRUE(table.Save());
    EXPECT_EQ(dir.read(u"Course.txt"_s), "A,0,31,100\r\n");
}

} // namespace
