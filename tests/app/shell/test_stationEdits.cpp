// Every edit of the finish station through its one method: stored in its file, told to the
// result manager, and nothing changed when the file cannot be written.

#include "ShellFixture.h"
#include "basText.h"
#include "clsCourseDataTable.h"
#include "clsEcardTagStock.h"
#include "clsFinishStation.h"
#include "clsNameDataTable.h"
#include "clsOtherDataTable.h"
#include "clsResultManager.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

const QString FirstRead = u"261208100000401001"_s;
const QString SecondRead = u"261208100500401001"_s;
const std::vector<int> M21A{31, 32, 33};

struct StationEditTest : ::testing::Test {
    TestFolder home;
    ScriptedPrompt prompt;
    std::unique_ptr<clsFinishStation> station;
    QString otherTxt;
    QString nameCsv =
        u"Ｅカード番号,名前,所属\r\n401001,山田 太郎,東京OLクラブ\r\n402001,伊藤 花子,みちの会\r\n"_s;
    // The event's and the application's folders of the current case.
    QString event, app;

    void write(const QString& name, const QString& text) {
        home.write(event.mid(home.path().size() + 1) + u'/' + name, sjis(text));
    }
    // A fresh pair of folders for case n, then the station on the event.
    void open(int n = 0) {
        event = home.file(u"event%1"_s.arg(n));
        app = home.file(u"app%1"_s.arg(n));
        QDir().mkpath(event);
        QDir().mkpath(app);
        write(u"Course.txt"_s, u"M21A,0,31,32,33,100\r\nW21A,0,31,33,100\r\n"_s);
        write(u"Name.csv"_s, nameCsv);
        // 401001 read twice (two runs), 402001 once and faster than both.
        write(u"Ecard.txt"_s, cardLine(401001, coursePunches(M21A, 100, 3000), 0) + u";\r\n"_s +
                                  cardLine(401001, coursePunches(M21A, 100, 3300), 5) + u";\r\n"_s +
                                  cardLine(402001, coursePunches(M21A, 100, 2800), 6) + u";\r\n"_s);
        if (!otherTxt.isEmpty())
            write(u"Other.txt"_s, otherTxt);
        station = std::make_unique<clsFinishStation>(&prompt, app);
        station->openFolder(event, -9);
    }
    std::shared_ptr<clsEcardTagData> read(const QString& key) const {
        for (const auto& entry : station->TagStock()->TagTable())
            if (entry.value->UniqueKey() == key)
                return entry.value;
        ADD_FAILURE() << "no read " << key.toStdString();
        return std::make_shared<clsEcardTagData>();
    }
    QStringList column(int course, QString (clsResultData::*get)() const) const {
        QStringList cells;
        const auto list = station->ResultManager()->ResultList(course);
        for (int i = 1; i <= list->Count(); ++i)
            cells << (*list->ObjectItem<clsResultData>(i).*get)();
        return cells;
    }
    QStringList namesOf(const QString& key) const {
        QStringList names;
        for (const auto& r : station->ResultManager()->ResultDataListOfEcard(key))
            names << r->RunnerName();
        return names;
    }
    static QString file(const QString& folder, const QString& name) {
        QFile f(QDir(folder).filePath(name));
        return f.open(QIODevice::ReadOnly) ? basText::fromWindows31J(f.readAll()) : QString();
    }
};

TEST_F(StationEditTest, ANameGoesToItsFileAndReachesTheResultsItNames) {
    using Target = clsFinishStation::NameTarget;
    struct Case {
        const char* what;
        Target target;
        QString eventNames, appNames, other; // what the files end with (app, other: whole)
        QString first, second;               // the names of the two reads' results afterwards
    } cases[] = {
        {"data folder", Target::DataFolder, u"401001,山田 次郎,新クラブ\r\n"_s, QString(), QString(),
         u"山田 次郎"_s, u"山田 次郎"_s},
        {"application folder", Target::ApplicationFolder, u"402001,伊藤 花子,みちの会\r\n"_s,
         u"Ｅカード番号,名前,所属\r\n401001,山田 次郎,新クラブ\r\n"_s, QString(), u"山田 次郎"_s,
         u"山田 次郎"_s},
        {"this read only", Target::ThisRead, u"402001,伊藤 花子,みちの会\r\n"_s, QString(),
         u"SpecificData: UniqueKey=%1;NameData=山田 次郎,新クラブ;\r\n"_s.arg(FirstRead), u"山田 次郎"_s,
         u"山田 太郎"_s},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open(++n);
        const QStringList ranks = column(1, &clsResultData::Rank);
        ASSERT_EQ(ranks, (QStringList{u"1"_s, u"2"_s, u"3"_s}));
        ASSERT_TRUE(station->changeName(*read(FirstRead), c.target, u"山田 次郎"_s, u"新クラブ"_s));
        EXPECT_TRUE(file(event, u"Name.csv"_s).endsWith(c.eventNames));
        EXPECT_EQ(file(app, u"Name.csv"_s), c.appNames);
        EXPECT_EQ(file(event, u"Other.txt"_s), c.other);
        EXPECT_EQ(namesOf(FirstRead), QStringList{c.first});
        EXPECT_EQ(namesOf(SecondRead), QStringList{c.second});
        // Names move no result: the ranks stay, also after the next ranking.
        station->ResultManager()->Refresh();
        EXPECT_EQ(column(1, &clsResultData::Rank), ranks);
        EXPECT_TRUE(prompt.asked().empty());
    }
}

TEST_F(StationEditTest, TheReadsOwnNameKeepsItsClassListAndReferenceMark) {
    otherTxt = u"SpecificData: UniqueKey=%1;CourseList=M21A;NotCompete=True;\r\n"_s.arg(FirstRead);
    open();
    ASSERT_EQ(column(1, &clsResultData::Rank), (QStringList{u"1"_s, u"参考"_s, u"2"_s}));
    ASSERT_TRUE(
        station->changeName(*read(FirstRead), clsFinishStation::NameTarget::ThisRead, u"別名"_s, u"C"_s));
    EXPECT_TRUE(
        file(event, u"Other.txt"_s)
            .endsWith(
                u"SpecificData: UniqueKey=%1;NameData=別名,C;CourseList=M21A;NotCompete=True;\r\n"_s.arg(
                    FirstRead)));
    station->ResultManager()->Refresh();
    EXPECT_EQ(column(1, &clsResultData::Rank), (QStringList{u"1"_s, u"参考"_s, u"2"_s}));
    EXPECT_EQ(column(1, &clsResultData::RunnerName),
              (QStringList{u"伊藤 花子"_s, u"別名"_s, u"山田 太郎"_s}));
}

TEST_F(StationEditTest, AReadsClassesAndMarkAreStoredAndTheResultsRebuilt) {
    open();
    struct Step {
        const char* what;
        std::optional<QStringList> classes;
        bool notCompete;
        QString line;
        QStringList m21a, w21a; // ranks of the class lists afterwards
    } steps[] = {
        {"W21A only, as reference",
         QStringList{u"W21A"_s},
         true,
         u"SpecificData: UniqueKey=%1;CourseList=W21A;NotCompete=True;\r\n"_s,
         {u"1"_s, u"2"_s},
         {u"参考"_s}},
        {"no class at all",
         QStringList{},
         false,
         u"SpecificData: UniqueKey=%1;CourseList=;\r\n"_s,
         {u"1"_s, u"2"_s},
         {}},
        {"the pattern decides again",
         std::nullopt,
         false,
         u"SpecificData: UniqueKey=%1;\r\n"_s,
         {u"1"_s, u"2"_s, u"3"_s},
         {}},
    };
    QString expected;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        ASSERT_TRUE(station->specifyClasses(FirstRead, s.classes, s.notCompete));
        expected += s.line.arg(FirstRead);
        EXPECT_EQ(file(event, u"Other.txt"_s), expected);
        EXPECT_EQ(column(1, &clsResultData::Rank), s.m21a);
        EXPECT_EQ(column(2, &clsResultData::Rank), s.w21a);
    }
}

TEST_F(StationEditTest, TypedResultsAreNormalisedStoredAndRanked) {
    open();
    struct Case {
        QString typed, stored;
    } cases[] = {{u"12345"_s, u"01:23:45"_s}, {u"dnf"_s, u"dnf"_s}, {u"1:75"_s, u"00:02:15"_s}};
    for (const Case& c : cases) {
        clsFinishStation::TypedResult typed{u"W21A"_s, u"森本 剛"_s, u"山岳会"_s, c.typed, false};
        ASSERT_TRUE(station->addOtherResult(typed)) << c.typed.toStdString();
        EXPECT_EQ(station->OtherDataTable()->OtherResultDataList().back()->Result, c.stored);
    }
    EXPECT_TRUE(
        file(event, u"Other.txt"_s)
            .startsWith(u"OtherResultData: Result=01:23:45;CourseName=W21A;NameData=森本 剛,山岳会;\r\n"_s));
    EXPECT_EQ(column(2, &clsResultData::Result), (QStringList{u"00:02:15"_s, u"01:23:45"_s, u"dnf"_s}));
    EXPECT_EQ(column(2, &clsResultData::Rank), (QStringList{u"1"_s, u"2"_s, QString()}));
}

TEST_F(StationEditTest, AnEditThatCannotBeWrittenChangesNothing) {
    using Target = clsFinishStation::NameTarget;
    struct Case {
        const char* what;
        QString blocked; // made a folder, so that appending to it fails
        std::function<bool(clsFinishStation&, const clsEcardTagData&)> edit;
    } cases[] = {
        {"name in the data folder", u"event/Name.csv"_s,
         [](clsFinishStation& s, const clsEcardTagData& t) {
             return s.changeName(t, Target::DataFolder, u"X"_s, u"Y"_s);
         }},
        {"name in the application folder", u"app/Name.csv"_s,
         [](clsFinishStation& s, const clsEcardTagData& t) {
             return s.changeName(t, Target::ApplicationFolder, u"X"_s, u"Y"_s);
         }},
        {"name of this read", u"event/Other.txt"_s,
         [](clsFinishStation& s, const clsEcardTagData& t) {
             return s.changeName(t, Target::ThisRead, u"X"_s, u"Y"_s);
         }},
        {"classes of this read", u"event/Other.txt"_s,
         [](clsFinishStation& s, const clsEcardTagData& t) {
             return s.specifyClasses(t.UniqueKey(), QStringList{}, true);
         }},
        {"typed result", u"event/Other.txt"_s,
         [](clsFinishStation& s, const clsEcardTagData&) {
             return s.addOtherResult({u"M21A"_s, u"X"_s, u"Y"_s, u"1"_s, false});
         }},
    };
    size_t n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open(static_cast<int>(++n));
        const QDir folder(c.blocked.startsWith(u"app/"_s) ? app : event);
        const QString blocked = c.blocked.section(u'/', 1);
        QFile::remove(folder.filePath(blocked)); // loaded already
        ASSERT_TRUE(folder.mkpath(blocked));
        const auto results = station->ResultManager()->ResultDataList();
        prompt.answerMessage(UserPrompt::Ok);
        EXPECT_FALSE(c.edit(*station, *read(FirstRead)));
        EXPECT_EQ(prompt.asked().size(), n) << "one message";
        EXPECT_EQ(station->NameDataTable()->NameData(401001)->RunnerName, u"山田 太郎"_s);
        EXPECT_TRUE(station->OtherDataTable()->SpecificDataTable().isEmpty());
        EXPECT_TRUE(station->OtherDataTable()->OtherResultDataList().empty());
        EXPECT_EQ(station->ResultManager()->ResultDataList(), results) << "no rebuild";
        EXPECT_EQ(namesOf(FirstRead), QStringList{u"山田 太郎"_s});
    }
}

TEST_F(StationEditTest, WhatATableCannotLoadIsShownWhenTheFolderOpens) {
    nameCsv = u"番号,氏名,所属\r\n401001,山田 太郎,東京OLクラブ\r\n"_s;
    prompt.answerMessage(UserPrompt::Ok);
    open();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, clsNameDataTable::headerMessage());
    EXPECT_EQ(prompt.asked()[0].buttons, UserPrompt::Buttons::Ok);
    EXPECT_EQ(station->NameDataTable()->NameDataTable().Count(), 0);
    EXPECT_EQ(namesOf(FirstRead), QStringList{u"(401001)"_s}) << "the cards are loaded all the same";
}

} // namespace
