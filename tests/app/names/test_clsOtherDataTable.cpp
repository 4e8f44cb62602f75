#include "TestFolder.h"
#include "Windows31J.h"
#include "clsOtherDataTable.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

clsOtherDataTable loaded(const QStringList& lines) {
    clsOtherDataTable t;
    for (const QString& l : lines)
        t.readLine(l);
    return t;
}

} // namespace

TEST(OtherDataTableRead, SpecificDataLines) {
    struct Case {
        const char* what;
        QStringList lines;
        QString key;
        bool present;
        QString runner; // "-" for no name record
        QString club;
        std::optional<QStringList> courses;
        bool notCompete;
    } cases[] = {
        {"everything",
         {u"SpecificData: UniqueKey=030514235345401739;NameData=山田,OLC;CourseList=A,B;NotCompete=True;"_s},
         u"030514235345401739"_s,
         true,
         u"山田"_s,
         u"OLC"_s,
         QStringList{u"A"_s, u"B"_s},
         true},
        {"key only", {u"SpecificData: UniqueKey=K1;"_s}, u"K1"_s, true, u"-"_s, {}, std::nullopt, false},
        {"later line replaces as a whole",
         {u"SpecificData: UniqueKey=K1;NameData=N,C;"_s, u"SpecificData: UniqueKey=K1;CourseList=B;"_s},
         u"K1"_s,
         true,
         u"-"_s,
         {},
         QStringList{u"B"_s},
         false},
        {"TRUE in capitals clears",
         {u"SpecificData: UniqueKey=K;NotCompete=TRUE;"_s},
         u"K"_s,
         true,
         u"-"_s,
         {},
         std::nullopt,
         false},
        {"lower-case true sets",
         {u"SpecificData: UniqueKey=K;NotCompete=true;"_s},
         u"K"_s,
         true,
         u"-"_s,
         {},
         std::nullopt,
         true},
        {"blank class list part dropped",
         {u"SpecificData: UniqueKey=K;CourseList=A, ,B;"_s},
         u"K"_s,
         true,
         u"-"_s,
         {},
         QStringList{u"A"_s, u"B"_s},
         false},
        {"empty class list is a list",
         {u"SpecificData: UniqueKey=K;CourseList=;"_s},
         u"K"_s,
         true,
         u"-"_s,
         {},
         QStringList{},
         false},
        {"blanks around head, items and values",
         {u"  SpecificData  :  UniqueKey = K ;  NameData = N , C  ; CourseList = A ,B ;"_s},
         u"K"_s,
         true,
         u"N"_s,
         u"C"_s,
         QStringList{u"A"_s, u"B"_s},
         false},
        {"later item overwrites within the line",
         {u"SpecificData: UniqueKey=X;UniqueKey=K;NotCompete=True;NotCompete=no"_s},
         u"K"_s,
         true,
         u"-"_s,
         {},
         std::nullopt,
         false},
        {"unknown key ignored",
         {u"SpecificData: UniqueKey=K;Colour=red;Result=1:00:00"_s},
         u"K"_s,
         true,
         u"-"_s,
         {},
         std::nullopt,
         false},
        {"item without = ignored",
         {u"SpecificData: UniqueKey=K;CourseList;"_s},
         u"K"_s,
         true,
         u"-"_s,
         {},
         std::nullopt,
         false},
        {"name with one field",
         {u"SpecificData: UniqueKey=K;NameData=Solo;"_s},
         u"K"_s,
         true,
         u"Solo"_s,
         u""_s,
         std::nullopt,
         false},
        {"head is case-sensitive", {u"specificdata: UniqueKey=K;"_s}, u"K"_s, false, {}, {}, {}, false},
        {"no colon", {u"SpecificData UniqueKey=K;"_s}, u"K"_s, false, {}, {}, {}, false},
        {"no key", {u"SpecificData: NameData=N,C;"_s}, QString(), false, {}, {}, {}, false},
    };
    for (const Case& c : cases) {
        const clsOtherDataTable t = loaded(c.lines);
        const clsSpecificDataPtr d = t.SpecificData(c.key);
        EXPECT_EQ(t.OtherResultDataList().size(), 0u) << c.what;
        if (!c.present) {
            EXPECT_FALSE(d) << c.what;
            EXPECT_EQ(t.SpecificDataTable().Count(), 0) << c.what;
            continue;
        }
        ASSERT_TRUE(d) << c.what;
        EXPECT_EQ(t.SpecificDataTable().Count(), 1) << c.what;
        EXPECT_EQ(d->EcardTagUniqueKey, c.key) << c.what;
        if (c.runner == u"-"_s) {
            EXPECT_FALSE(d->NameData) << c.what;
        } else {
            ASSERT_TRUE(d->NameData) << c.what;
            EXPECT_EQ(d->NameData->RunnerName, c.runner) << c.what;
            EXPECT_EQ(d->NameData->ClubName, c.club) << c.what;
            EXPECT_EQ(d->NameData->EcardNo, 0) << c.what;
        }
        EXPECT_EQ(d->CourseList, c.courses) << c.what;
        EXPECT_EQ(d->IsNotCompete, c.notCompete) << c.what;
    }
}

TEST(OtherDataTableRead, OtherResultLines) {
    struct Case {
        QString line;
        bool present;
        QString result, course, runner, club;
        bool notCompete;
    } cases[] = {
        {u"OtherResultData: Result=01:23:45;CourseName=M21A;NameData=山田,OLC;"_s, true, u"01:23:45"_s,
         u"M21A"_s, u"山田"_s, u"OLC"_s, false},
        {u"OtherResultData: Result=DNF;CourseName=W;NameData=A,B;NotCompete=True;"_s, true, u"DNF"_s, u"W"_s,
         u"A"_s, u"B"_s, true},
        {u"OtherResultData: CourseName=W"_s, true, u""_s, u"W"_s, u""_s, u""_s, false},
        {u"OtherResultData: Result=1;UniqueKey=K;CourseList=A;"_s, true, u"1"_s, u""_s, u""_s, u""_s, false},
        {u"Other: Result=1;"_s, false, {}, {}, {}, {}, false},
        {u""_s, false, {}, {}, {}, {}, false},
    };
    for (const Case& c : cases) {
        const clsOtherDataTable t = loaded({c.line});
        EXPECT_EQ(t.SpecificDataTable().Count(), 0) << c.line.toStdString();
        if (!c.present) {
            EXPECT_TRUE(t.OtherResultDataList().empty()) << c.line.toStdString();
            continue;
        }
        ASSERT_EQ(t.OtherResultDataList().size(), 1u) << c.line.toStdString();
        const auto& d = t.OtherResultDataList().front();
        EXPECT_EQ(d->Result, c.result) << c.line.toStdString();
        EXPECT_EQ(d->CourseName, c.course) << c.line.toStdString();
        ASSERT_TRUE(d->NameData);
        EXPECT_EQ(d->NameData->RunnerName, c.runner) << c.line.toStdString();
        EXPECT_EQ(d->NameData->ClubName, c.club) << c.line.toStdString();
        EXPECT_EQ(d->IsNotCompete, c.notCompete) << c.line.toStdString();
    }
}

TEST(OtherDataTableWrite, LinesAsWritten) {
    clsSpecificData s;
    s.EcardTagUniqueKey = u"K"_s;
    EXPECT_EQ(clsOtherDataTable::specificLine(s), u"SpecificData: UniqueKey=K;"_s);
    s.NameData = std::make_shared<clsNameData>(5, u"N"_s, u"C"_s);
    s.CourseList = QStringList{};
    EXPECT_EQ(clsOtherDataTable::specificLine(s), u"SpecificData: UniqueKey=K;NameData=N,C;CourseList=;"_s);
    s.CourseList = QStringList{u"A"_s, u"B"_s};
    s.IsNotCompete = true;
    EXPECT_EQ(clsOtherDataTable::specificLine(s),
              u"SpecificData: UniqueKey=K;NameData=N,C;CourseList=A,B;NotCompete=True;"_s);

    clsOtherResultData o;
    o.Result = u"01:23:45"_s;
    o.CourseName = u"M21"_s;
    o.NameData = std::make_shared<clsNameData>(0, u"N"_s, u"C"_s);
    EXPECT_EQ(clsOtherDataTable::otherResultLine(o),
              u"OtherResultData: Result=01:23:45;CourseName=M21;NameData=N,C;"_s);
    o.IsNotCompete = true;
    EXPECT_EQ(clsOtherDataTable::otherResultLine(o),
              u"OtherResultData: Result=01:23:45;CourseName=M21;NameData=N,C;NotCompete=True;"_s);
}

TEST(OtherDataTableFolder, RoundTripOnRealFiles) {
    TestFolder folder;
    const QByteArray existing = sjis(u"garbage line\r\nSpecificData: UniqueKey=OLD;NameData=古い,X;\r\n"_s);
    folder.write(u"Other.txt"_s, existing);
    clsOtherDataTable table;
    table.OpenFolder(folder.path() + u"\\"_s);
    ASSERT_TRUE(table.SpecificData(u"OLD"_s));

    auto s = std::make_shared<clsSpecificData>();
    s->EcardTagUniqueKey = u"OLD"_s;
    s->CourseList = QStringList{};
    s->IsNotCompete = true;
    ASSERT_TRUE(table.AddSpecificData(s));
    auto o = std::make_shared<clsOtherResultData>();
    o->Result = u"DNF"_s;
    o->CourseName = u"Ｍ２１"_s;
    o->NameData = std::make_shared<clsNameData>(0, u"山田"_s, u"所属"_s);
    ASSERT_TRUE(table.AddOtherResultData(o));
    EXPECT_EQ(table.SpecificData(u"OLD"_s).get(), s.get());
    EXPECT_EQ(table.SpecificDataTable().Count(), 1);

    EXPECT_EQ(folder.read(u"Other.txt"_s),
              existing + sjis(u"SpecificData: UniqueKey=OLD;CourseList=;NotCompete=True;\r\n"
                              u"OtherResultData: Result=DNF;CourseName=Ｍ２１;NameData=山田,所属;\r\n"_s));

    clsOtherDataTable reloaded;
    reloaded.OpenFolder(folder.path());
    const clsSpecificDataPtr r = reloaded.SpecificData(u"OLD"_s);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->NameData);
    EXPECT_EQ(r->CourseList, std::optional<QStringList>(QStringList{}));
    EXPECT_TRUE(r->IsNotCompete);
    ASSERT_EQ(reloaded.OtherResultDataList().size(), 1u);
    EXPECT_EQ(reloaded.OtherResultDataList()[0]->CourseName, u"Ｍ２１"_s);
    EXPECT_EQ(reloaded.OtherResultDataList()[0]->NameData->RunnerName, u"山田"_s);
    reloaded.Clear();
    EXPECT_EQ(reloaded.SpecificDataTable().Count(), 0);
    EXPECT_TRUE(reloaded.OtherResultDataList().empty());
}

TEST(OtherDataTableFolder, MissingFileAndFileErrors) {
    TestFolder folder;
    clsOtherDataTable table;
    EXPECT_TRUE(table.OpenFolder(folder.file(u"nowhere"_s)));
    EXPECT_EQ(table.SpecificDataTable().Count(), 0);

    auto s = std::make_shared<clsSpecificData>();
    s->EcardTagUniqueKey = u"K"_s;
    for (const Result& r :
         {table.AddSpecificData(s), table.AddOtherResultData(std::make_shared<clsOtherResultData>())}) {
        EXPECT_FALSE(r);
        EXPECT_FALSE(r.error.isEmpty());
    }
    EXPECT_FALSE(table.SpecificData(u"K"_s));
    EXPECT_TRUE(table.OtherResultDataList().empty());
}

TEST(OtherDataTableFolder, LoadFromBytesNeverFails) {
    clsOtherDataTable table;
    table.loadBytes(QByteArray("\x82\xA0:;;==;\r\nSpecificData:;;;\r\nOtherResultData:\r\n\xFF\xFF\xFF"));
    EXPECT_EQ(table.SpecificDataTable().Count(), 0);
    EXPECT_EQ(table.OtherResultDataList().size(), 1u);
}
